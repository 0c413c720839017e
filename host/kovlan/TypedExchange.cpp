#include "host/kovlan/TypedExchange.h"

#include "host/kovlan/Board.h"

namespace kovlan {
namespace {

constexpr bool IsWrite(uint8_t mode) { return mode == ORVIK_SM_WRITE || mode == ORVIK_SM_REBIND; }

// Copies an attribute of a fixed width in either direction; false for the
// moves that need more than a copy (strings, blocks, the legacy layer).
bool CopyFixed(FieldOp op, void* to, const void* from) noexcept {
  switch (op) {
    case FieldOp::Copy1:
      std::memcpy(to, from, 1);
      return true;
    case FieldOp::Copy2:
      std::memcpy(to, from, 2);
      return true;
    case FieldOp::Copy4:
      std::memcpy(to, from, 4);
      return true;
    case FieldOp::Copy8:
      std::memcpy(to, from, 8);
      return true;
    default:
      return false;
  }
}

}  // namespace

TypedExchange::TypedExchange() {
  for (std::size_t i = 0; i < std::size(kLayerReads); ++i) layerReads_[i] = MakeLayerReadInfo(kLayerReads[i]);
}

void TypedExchange::Reset(const ObjectStore& objects) {
  for (LayerReadInfo& info : layerReads_) {
    for (uint8_t kind = 0; kind < 4; ++kind) {
      info.shared[kind] = info.offset[kind] < 0 ? nullptr : objects.SharedKeyedRecords(kind) + info.offset[kind];
    }
  }
}

TypedExchange::LayerReadInfo TypedExchange::MakeLayerReadInfo(Api api) {
  const Exchange& ex = ExchangeOf(api);
  LayerReadInfo info;
  info.plain = ex.holder == Holder::Object && ex.keyed && ex.keyMin == 0 && ex.keyMax == kMaxLegacyLayer &&
               !ex.skipPlanes && !ex.onlyPlanes && ex.fields.size() <= 2 && (ex.kinds & ~0xFu) == 0;
  for (const Field& f : ex.fields) info.plain = info.plain && !f.inBase && f.op != FieldOp::String;
  if (!info.plain) return info;
  for (uint8_t kind = 0; kind < 4; ++kind) {
    if (((ex.kinds >> kind) & 1u) != 0) info.offset[kind] = StorageLayout::Get().Offset(kind, api);
  }
  info.recordSize = ex.recordSize;
  for (std::size_t i = 0; i < ex.fields.size(); ++i) info.fieldAt[i] = ex.fields[i].offset;
  return info;
}

int32_t TypedExchange::TransferAll(ObjectStore& objects, const Exchange& ex, uint8_t mode, uint32_t handle, int32_t key,
                                   std::span<void* const> addresses) {
  if (faults::Active()) [[unlikely]] {
    if (const int32_t status = faults::QueryStatus(); status != 0) return status;
  }
  if (mode > ORVIK_SM_REBIND || ex.holder == Holder::None || addresses.size() != ex.fields.size()) return 1;
  HostObject* object = objects.Find(handle);
  if (object == nullptr || !ex.HeldBy(object->kind) || !ex.KeyValid(key)) return 1;
  for (void* p : addresses) {
    if (p == nullptr) return 1;
  }
  const bool write = IsWrite(mode);
  if (const int32_t status = board::CheckLayerPairs(ex, *object, key, addresses, write); status != 0) return status;
  const Field* const fields = ex.fields.data();
  if (write) {
    uint8_t* record = objects.RecordForWrite(*object, ex, key);
    if (record == nullptr) return 1;
    uint8_t* const homes[2] = {record, reinterpret_cast<uint8_t*>(&object->base)};
    for (std::size_t i = 0; i < addresses.size(); ++i) {
      const Field& f = fields[i];
      uint8_t* to = homes[f.inBase] + f.at;
      const void* from = addresses[i];
      if (CopyFixed(f.op, to, from)) continue;
      if (f.op == FieldOp::LegacyLayer) {
        object->base.layerId = *static_cast<const uint8_t*>(from);
      } else {
        objects.WriteValue(*object, record, f, from);
      }
    }
    objects.AfterWrite(ex, handle, *object);
  } else {
    uint8_t scratch[ObjectStore::kScratchSize];
    const uint8_t* record = objects.RecordForRead(*object, ex, key, scratch);
    if (record == nullptr) return 1;
    const uint8_t* const homes[2] = {record, reinterpret_cast<const uint8_t*>(&object->base)};
    for (std::size_t i = 0; i < addresses.size(); ++i) {
      const Field& f = fields[i];
      const uint8_t* from = homes[f.inBase] + f.at;
      void* to = addresses[i];
      if (CopyFixed(f.op, to, from)) continue;
      if (f.op == FieldOp::LegacyLayer) {
        *static_cast<uint8_t*>(to) = LegacyFromLayerId(object->base.layerId);
      } else {
        objects.ReadValue(*object, record, f, to);
      }
    }
    if (faults::Active()) [[unlikely]]
      faults::AfterRead(ex, key, addresses);
  }
  return 0;
}

}  // namespace kovlan
