// Where an object's records sit: for every kind, the offset of each
// exchange's records in the object's unkeyed or keyed block and the sizes
// of both blocks; and the pad's saved simple stack, which the unkeyed block
// of a pad also holds.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/kovlan/ApiTable.h"

namespace kovlan {

// The saved top, mid and bottom sizes and shapes of a pad whose layers 1..32
// follow them (ObjectStore::ApplySimpleStack).
struct SimpleStack {
  int32_t xSize[3];
  int32_t ySize[3];
  uint8_t shape[3];

  // Which of the three a layer 1..32 shows: top (1), mid (2..31), bottom (32).
  static constexpr std::size_t PartOf(int32_t layer) noexcept {
    return layer == ORVIK_LAYER_TopLayer ? 0 : layer == ORVIK_LAYER_BottomLayer ? 2 : 1;
  }
};

// Where each exchange's records sit within an object's blocks, per kind.
class StorageLayout {
 public:
  static const StorageLayout& Get() {
    static const StorageLayout layout;
    return layout;
  }

  // Offset of the exchange's records in the unkeyed or the keyed block of
  // an object of `kind`, -1 if the kind does not take part in it.
  int32_t Offset(uint8_t kind, Api api) const { return offsets_[Slot(kind)][static_cast<int>(api)]; }
  // Block sizes of an object of `kind`.
  uint32_t Size(uint8_t kind) const { return sizes_[Slot(kind)]; }
  uint32_t KeyedSize(uint8_t kind) const { return keyedSizes_[Slot(kind)]; }
  // Offset of a pad's saved simple stack in its unkeyed block.
  uint32_t SimpleStackOffset() const { return simpleStackOffset_; }

 private:
  StorageLayout();
  static int Slot(uint8_t kind) {
    if (kind == kBoardKind) return kSlots - 1;
    return kind <= kMaxObjectKind ? kind : 0;
  }
  static constexpr int kSlots = kMaxObjectKind + 2;  // kinds 0..26 and the board

  int32_t offsets_[kSlots][kApiCount];
  uint32_t sizes_[kSlots];
  uint32_t keyedSizes_[kSlots];
  uint32_t simpleStackOffset_ = 0;
};

}  // namespace kovlan
