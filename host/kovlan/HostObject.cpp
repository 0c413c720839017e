#include "host/kovlan/HostObject.h"

#include <cstring>

namespace kovlan {

HostObject HostObject::Clone() const {
  HostObject copy;
  copy.kind = kind;
  copy.role = role;
  copy.link[0] = link[0];
  copy.link[1] = link[1];
  copy.base = base;
  copy.members = members;
  copy.memberOf = memberOf;
  const uint32_t size = StorageLayout::Get().Size(kind);
  if (size != 0) {
    copy.data = std::make_unique<uint8_t[]>(size);
    if (data) std::memcpy(copy.data.get(), data.get(), size);
  }
  return copy;
}

StorageLayout::StorageLayout() {
  for (int s = 0; s < kSlots; ++s) {
    const uint8_t kind = s == kSlots - 1 ? kBoardKind : static_cast<uint8_t>(s);
    uint32_t size = 0;
    for (int a = 0; a < kApiCount; ++a) {
      const Exchange& ex = ExchangeOf(static_cast<Api>(a));
      if (s != 0 && ex.HeldBy(kind)) {
        offsets_[s][a] = static_cast<int32_t>(size);
        size += ex.StorageSize();
      } else {
        offsets_[s][a] = -1;
      }
    }
    sizes_[s] = size;
  }
}

const StorageLayout& StorageLayout::Get() {
  static const StorageLayout layout;
  return layout;
}

int StorageLayout::Slot(uint8_t kind) {
  if (kind == kBoardKind) return kSlots - 1;
  return kind <= kMaxObjectKind ? kind : 0;
}

int32_t StorageLayout::Offset(uint8_t kind, Api api) const { return offsets_[Slot(kind)][static_cast<int>(api)]; }

uint32_t StorageLayout::Size(uint8_t kind) const { return sizes_[Slot(kind)]; }

void* StorageLayout::FieldAddress(HostObject& object, const Exchange& ex, int32_t key, const Field& f) {
  switch (f.base) {
    case BaseField::Flags:
      return &object.base.flags;
    case BaseField::Index:
      return &object.base.index;
    case BaseField::LayerId:
    case BaseField::LegacyLayer:
      return &object.base.layerId;
    case BaseField::Net:
      return &object.base.net;
    case BaseField::Component:
      return &object.base.component;
    case BaseField::AuxByte:
      return &object.base.auxByte;
    case BaseField::Bits2:
      return &object.base.bits2;
    case BaseField::Bits3:
      return &object.base.bits3;
    case BaseField::None:
      break;
  }
  const int32_t offset = Get().Offset(object.kind, ex.api);
  if (offset < 0 || !object.data || !ex.KeyValid(key)) return nullptr;
  const uint32_t record = ex.keyed ? static_cast<uint32_t>(key - ex.keyMin) : 0u;
  return object.data.get() + static_cast<uint32_t>(offset) + record * ex.recordSize + f.offset;
}

uint8_t LegacyFromLayerId(uint32_t layerId) {
  const uint32_t tag = layerId >> 16;
  if (tag == 0) return (layerId & 0xFFFFu) <= kMaxLegacyLayer ? static_cast<uint8_t>(layerId) : 0;
  if ((layerId & 0xFFFFu) == 0) return 0;
  if (tag == 0x0101u) return (layerId & 0xFFFFu) == 0xFFFFu ? 32 : 31;  // mid layers past the legacy range
  if (tag == 0x0104u) return 54;
  if (tag == 0x0400u) return 72;
  return 0;
}

}  // namespace kovlan
