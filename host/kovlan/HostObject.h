// One object of the in-memory host (the board included): its kind, the
// attributes every object carries once, and one block holding the records of
// every exchange its kind takes part in, laid out by StorageLayout.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "host/kovlan/ApiTable.h"

namespace kovlan {

struct BaseValues {
  uint16_t flags = 0;
  int16_t index = 0;
  uint32_t layerId = 0;
  int32_t net = 0;
  int32_t component = 0;
  uint8_t auxByte = 0;
  uint8_t bits2 = 0;
  uint16_t bits3 = 0;
};

// How a text shows a component.
enum class TextRole : uint8_t { None, Designator, Comment };

struct HostObject {
  uint8_t kind = 0;
  TextRole role = TextRole::None;
  // A text: link[0] is the component it shows. A component: link[0] and
  // link[1] are the texts showing its designator and its comment.
  uint32_t link[2] = {0, 0};
  BaseValues base;
  std::unique_ptr<uint8_t[]> data;
  std::vector<uint32_t> members;   // objects added to this container, in order
  std::vector<uint32_t> memberOf;  // containers this object was added to, in order

  // Deep copy (used to stamp new objects from their kind's template).
  HostObject Clone() const;
};

// Where each exchange's records sit within an object's block, per kind.
class StorageLayout {
 public:
  static const StorageLayout& Get();

  // Offset of the exchange's records in an object of `kind`, -1 if the kind
  // does not take part in it.
  int32_t Offset(uint8_t kind, Api api) const;
  // Block size of an object of `kind`.
  uint32_t Size(uint8_t kind) const;

  // Address of the value of field `f` of record `key`, null if not held.
  static void* FieldAddress(HostObject& object, const Exchange& ex, int32_t key, const Field& f);

 private:
  StorageLayout();
  static int Slot(uint8_t kind);
  static constexpr int kSlots = kMaxObjectKind + 2;  // kinds 0..26 and the board

  int32_t offsets_[kSlots][kApiCount];
  uint32_t sizes_[kSlots];
};

// Legacy layer number of a host layer identifier (0 when it has none).
uint8_t LegacyFromLayerId(uint32_t layerId);

}  // namespace kovlan
