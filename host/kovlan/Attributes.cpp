#include "host/kovlan/Attributes.h"

#include <cstring>

namespace kovlan {
namespace {

template <typename T>
T Load(const void* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

template <typename T>
void Store(void* p, double value) {
  const auto v = static_cast<T>(value);
  std::memcpy(p, &v, sizeof v);
}

// A stored value as an integer; a float outside the int64 range (or NaN)
// reads as 0 rather than converting with undefined behaviour.
int64_t ReadInteger(const void* p, FieldType type) {
  switch (type) {
    case FieldType::U8:
      return Load<uint8_t>(p);
    case FieldType::U16:
      return Load<uint16_t>(p);
    case FieldType::I16:
      return Load<int16_t>(p);
    case FieldType::U32:
      return Load<uint32_t>(p);
    case FieldType::I32:
      return Load<int32_t>(p);
    case FieldType::I64:
      return Load<int64_t>(p);
    case FieldType::F64: {
      const double v = Load<double>(p);
      return v > -9.2e18 && v < 9.2e18 ? static_cast<int64_t>(v) : 0;
    }
    default:
      return 0;
  }
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
  void* p = nullptr;
  if (f->base != BaseField::None) {
    p = reinterpret_cast<uint8_t*>(&object.base) + f->baseOffset;
  } else {
    if (!ex.KeyValid(key)) return;
    uint8_t* record = objects.RecordForWrite(object, ex, key);
    if (record == nullptr) return;
    p = record + f->offset;
  }
  switch (f->type) {
    case FieldType::U8:
      return Store<uint8_t>(p, value);
    case FieldType::U16:
      return Store<uint16_t>(p, value);
    case FieldType::I16:
      return Store<int16_t>(p, value);
    case FieldType::U32:
      return Store<uint32_t>(p, value);
    case FieldType::I32:
      return Store<int32_t>(p, value);
    case FieldType::I64:
      return Store<int64_t>(p, value);
    case FieldType::F64:
      return Store<double>(p, value);
    case FieldType::Str:
    case FieldType::Block:
      return;
  }
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
