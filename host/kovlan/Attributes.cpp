#include "host/kovlan/Attributes.h"

#include <cstring>
#include <type_traits>

namespace kovlan {
namespace {

// Calls fn(T{}) with the C++ type T of a numeric field type; false for
// text and blocks.
template <typename Fn>
bool WithNumericType(FieldType type, Fn&& fn) {
  switch (type) {
    case FieldType::U8:
      fn(uint8_t{});
      return true;
    case FieldType::U16:
      fn(uint16_t{});
      return true;
    case FieldType::I16:
      fn(int16_t{});
      return true;
    case FieldType::U32:
      fn(uint32_t{});
      return true;
    case FieldType::I32:
      fn(int32_t{});
      return true;
    case FieldType::I64:
      fn(int64_t{});
      return true;
    case FieldType::F64:
      fn(double{});
      return true;
    case FieldType::Str:
    case FieldType::Block:
      return false;
  }
  return false;
}

// The field at `position` and the bytes an inspection call moves for it
// (`width`), when `size` bytes hold them; null otherwise.
const Field* PositionedField(const Exchange& ex, int32_t position, int32_t size, uint32_t& width) {
  if (position < 0 || static_cast<std::size_t>(position) >= ex.fields.size()) return nullptr;
  const Field& f = ex.fields[static_cast<std::size_t>(position)];
  width = f.base == BaseField::LegacyLayer ? 1u : f.width;
  return size >= 0 && static_cast<uint32_t>(size) >= width ? &f : nullptr;
}

// WriteField and WriteDefault once the object (or template) is known.
int32_t WritePositioned(ObjectStore& objects, HostObject& object, const Exchange& ex, int32_t key, int32_t position,
                        const void* in, int32_t size) {
  uint32_t width = 0;
  const Field* f = PositionedField(ex, position, size, width);
  if (f == nullptr) return -1;
  if (f->base == BaseField::LegacyLayer) {
    object.base.layerId = *static_cast<const uint8_t*>(in);
  } else {
    objects.WriteValue(object, objects.RecordForWrite(object, ex, key), *f, in);
  }
  return static_cast<int32_t>(width);
}

}  // namespace

int64_t ReadInteger(const void* p, FieldType type) {
  int64_t out = 0;
  WithNumericType(type, [&](auto zero) {
    decltype(zero) v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::is_floating_point_v<decltype(v)>) {
      out = v > -9.2e18 && v < 9.2e18 ? static_cast<int64_t>(v) : 0;
    } else {
      out = v;
    }
  });
  return out;
}

bool FieldValue(const ObjectStore& objects, uint32_t handle, Api api, int32_t key, std::string_view name,
                int64_t* out) {
  const Exchange& ex = ExchangeOf(api);
  const Field* f = &FieldOf(api, name);
  const HostObject* object = objects.Find(handle);
  if (object == nullptr || !ex.HeldBy(object->kind)) return false;
  if (f->base == BaseField::LegacyLayer) {
    *out = LegacyFromLayerId(object->base.layerId);
    return true;
  }
  if (f->type == FieldType::Str || f->type == FieldType::Block) return false;
  uint8_t value[8] = {};
  if (f->base != BaseField::None) {
    objects.ReadValue(*object, nullptr, *f, value);
  } else {
    if (!ex.KeyValid(key)) return false;
    uint8_t scratch[ObjectStore::kScratchSize];
    const uint8_t* record = objects.RecordForRead(*object, ex, key, scratch);
    if (record == nullptr) return false;
    objects.ReadValue(*object, record, *f, value);
  }
  *out = ReadInteger(value, f->type);
  return true;
}

bool FieldString(const ObjectStore& objects, uint32_t handle, Api api, int32_t key, std::string_view name,
                 std::string* out) {
  const Exchange& ex = ExchangeOf(api);
  const Field* f = &FieldOf(api, name);
  const HostObject* object = objects.Find(handle);
  if (object == nullptr || !ex.HeldBy(object->kind)) return false;
  if (!ex.KeyValid(key) || f->type != FieldType::Str) return false;
  uint8_t scratch[ObjectStore::kScratchSize];
  const uint8_t* record = objects.RecordForRead(*object, ex, key, scratch);
  if (record == nullptr) return false;
  out->assign(objects.StoredString(record, *f));
  return true;
}

void SetFieldValue(ObjectStore& objects, HostObject& object, Api api, int32_t key, std::string_view name,
                   double value) {
  const Exchange& ex = ExchangeOf(api);
  const Field* f = &FieldOf(api, name);
  if (f->base == BaseField::LegacyLayer) {
    object.base.layerId = static_cast<uint32_t>(value);
    return;
  }
  uint8_t converted[8] = {};
  const bool numeric = WithNumericType(f->type, [&](auto zero) {
    const auto v = static_cast<decltype(zero)>(value);
    std::memcpy(converted, &v, sizeof v);
  });
  if (!numeric) return;
  uint8_t* record = nullptr;
  if (f->base == BaseField::None) {
    if (!ex.KeyValid(key)) return;
    record = objects.RecordForWrite(object, ex, key);
    if (record == nullptr) return;
  }
  objects.WriteValue(object, record, *f, converted);
}

void SetFieldText(ObjectStore& objects, HostObject& object, Api api, int32_t key, std::string_view name,
                  std::string_view text) {
  const Exchange& ex = ExchangeOf(api);
  const Field* f = &FieldOf(api, name);
  if (f->type != FieldType::Str || !ex.KeyValid(key)) return;
  uint8_t* record = objects.RecordForWrite(object, ex, key);
  if (record == nullptr) return;
  OrvikShortString s{};
  const std::size_t n = text.size() < 255 ? text.size() : 255;
  s.length = static_cast<uint8_t>(n);
  std::memcpy(s.text, text.data(), n);
  objects.WriteValue(object, record, *f, &s);
}

int32_t ReadField(const ObjectStore& objects, uint32_t handle, const Exchange& ex, int32_t key, int32_t position,
                  void* out, int32_t size) {
  const HostObject* object = objects.Find(handle);
  if (object == nullptr || out == nullptr || !ex.HeldBy(object->kind) || !ex.KeyValid(key)) return -1;
  uint32_t width = 0;
  const Field* f = PositionedField(ex, position, size, width);
  if (f == nullptr) return -1;
  if (f->base == BaseField::LegacyLayer) {
    *static_cast<uint8_t*>(out) = LegacyFromLayerId(object->base.layerId);
  } else {
    uint8_t scratch[ObjectStore::kScratchSize];
    const uint8_t* record = objects.RecordForRead(*object, ex, key, scratch);
    if (f->type == FieldType::Str) {
      // The whole short string, its unused tail cleared.
      std::memset(out, 0, width);
    }
    objects.ReadValue(*object, record, *f, out);
  }
  return static_cast<int32_t>(width);
}

int32_t WriteField(ObjectStore& objects, uint32_t handle, const Exchange& ex, int32_t key, int32_t position,
                   const void* in, int32_t size) {
  HostObject* object = objects.Find(handle);
  if (object == nullptr || in == nullptr || !ex.HeldBy(object->kind) || !ex.KeyValid(key)) return -1;
  return WritePositioned(objects, *object, ex, key, position, in, size);
}

int32_t WriteDefault(ObjectStore& objects, uint8_t kind, const Exchange& ex, int32_t position, const void* in,
                     int32_t size) {
  if (!IsObjectKind(kind) || in == nullptr || !ex.HeldBy(kind) || ex.keyed) return -1;
  return WritePositioned(objects, objects.Template(kind), ex, 0, position, in, size);
}

}  // namespace kovlan
