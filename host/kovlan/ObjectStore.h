// The objects of the in-memory host, the board included, by handle in
// constant time: their record blocks (arena), their strings (pool), the
// templates new objects are stamped from, and their containers and
// memberships. A record is reached here; what an exchange moves in or out
// of it is TypedExchange's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "host/kovlan/ApiTable.h"
#include "host/kovlan/Arena.h"
#include "host/kovlan/HostObject.h"
#include "host/kovlan/StorageLayout.h"
#include "host/kovlan/StringPool.h"

namespace kovlan {

// The board's handle: the first object of every store.
inline constexpr uint32_t kBoardHandle = 1;

// Whether `kind` is the number of an object kind.
constexpr bool IsObjectKind(uint8_t kind) { return kind < 32 && ((kObjectKinds >> kind) & 1u) != 0; }

class ObjectStore {
 public:
  ObjectStore() = default;
  ObjectStore(const ObjectStore&) = delete;
  ObjectStore& operator=(const ObjectStore&) = delete;
  ~ObjectStore() { DestroyObjects(); }

  // Empties the store down to the board and the templates, all blank: the
  // defaults are SeedTemplates' and SeedBoard's.
  void Reset();

  // --- Objects
  HostObject* Find(uint32_t handle) {
    if (handle == 0 || handle > objectCount_) return nullptr;
    return &chunks_[(handle - 1) >> kChunkBits][(handle - 1) & kChunkMask];
  }
  const HostObject* Find(uint32_t handle) const { return const_cast<ObjectStore*>(this)->Find(handle); }
  // The highest handle in use.
  uint32_t HandleLimit() const { return objectCount_; }
  // A new object of `kind` stamped from its template; a component comes
  // with its designator and comment texts. 0 for a number that names no
  // kind, or when the handles run out.
  uint32_t Create(uint8_t kind);
  // Objects of `kind` created; for 0, all but the board.
  int32_t Count(uint8_t kind) const;
  // Puts `object` into a net, a component or the board: 0, or 1 for an
  // unknown handle, 2 for a kind that does not go there, 3 when it is there.
  int32_t AddToContainer(uint32_t container, uint32_t object);
  // The object new objects of `kind` are stamped from.
  HostObject& Template(uint8_t kind) { return templates_[kind]; }
  // The keyed records that objects of `kind` share until theirs differ.
  const uint8_t* SharedKeyedRecords(uint8_t kind) const { return templates_[kind].keyed; }

  // --- Records
  // The stored record of an exchange for reading: in the object's blocks,
  // in its template's keyed block, or (a pad's simple stack) made up in
  // `scratch` (at least kScratchSize bytes). Null when not held.
  static constexpr std::size_t kScratchSize = 64;
  const uint8_t* RecordForRead(const HostObject& object, const Exchange& ex, int32_t key, uint8_t* scratch) const {
    const int32_t offset = StorageLayout::Get().Offset(object.kind, ex.api);
    if (offset < 0) return nullptr;
    if (!ex.keyed) return object.data + offset;
    const uint32_t at = static_cast<uint32_t>(offset) + static_cast<uint32_t>(key - ex.keyMin) * ex.recordSize;
    if (object.keyed != nullptr) return object.keyed + at;
    const uint8_t* shared = templates_[object.kind].keyed + at;
    if (!object.simpleStack || key < 1 || key > 32 ||
        (ex.api != Api::QueryPadOrViaSizeOnLayer && ex.api != Api::QueryPadOrViaShapeOnLayer)) {
      return shared;
    }
    return SimpleStackRecord(object, ex, key, scratch, shared);
  }
  // The object's own record for writing; gives the object keyed records of
  // its own first when it shares its template's. Null when not held.
  uint8_t* RecordForWrite(HostObject& object, const Exchange& ex, int32_t key);
  // One attribute between a stored record and an exchange address (a
  // string: a whole OrvikShortString at the address).
  void ReadValue(const HostObject& object, const uint8_t* record, const Field& f, void* out) const;
  void WriteValue(HostObject& object, uint8_t* record, const Field& f, const void* in);
  // The text of a stored string field.
  std::string_view StoredString(const uint8_t* record, const Field& f) const {
    uint32_t id;
    std::memcpy(&id, record + f.offset, sizeof id);
    return strings_.View(id);
  }
  // What a write of `ex` changes beyond its record: a component's text
  // links, a pad's simple stack.
  void AfterWrite(const Exchange& ex, uint32_t handle, HostObject& object);

 private:
  static constexpr uint32_t kChunkBits = 12;
  static constexpr uint32_t kChunkMask = (1u << kChunkBits) - 1;

  void DestroyObjects() noexcept;
  // A new object in the handle table (handle = count after the call).
  HostObject& AppendObject();
  // Gives `object` keyed records of its own (a copy of what it shows).
  void OwnKeyedRecords(HostObject& object);
  const uint8_t* SimpleStackRecord(const HostObject& object, const Exchange& ex, int32_t key, uint8_t* scratch,
                                   const uint8_t* shared) const;
  void ApplySimpleStack(HostObject& pad);
  // The text showing a component's designator or comment, by its record.
  uint32_t ComponentText(const HostObject& component, TextRole role) const;
  void LinkText(uint32_t component, uint32_t text, TextRole role);

  // Objects by handle (index + 1; the board is handle 1), in chunks so that
  // growing never moves them.
  std::vector<HostObject*> chunks_;  // each in the arena; destroyed by Reset
  uint32_t objectCount_ = 0;
  int32_t kindCounts_[256] = {};
  Arena arena_;
  StringPool strings_;
  std::vector<HostObject> templates_;
};

// The values every new object of a kind starts with (ObjectDefaults.cpp).
void SeedTemplates(ObjectStore& objects);

}  // namespace kovlan
