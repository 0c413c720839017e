#include "host/kovlan/Host.h"

#include "host/kovlan/Faults.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace kovlan {
namespace {

constexpr bool IsWrite(uint8_t mode) { return mode == ORVIK_SM_WRITE || mode == ORVIK_SM_REBIND; }

constexpr bool IsObjectKind(uint8_t kind) {
  switch (kind) {
#define KOVLAN_KIND_CASE(name, number, text) case number:
    ORVIK_OBJECT_KINDS(KOVLAN_KIND_CASE)
#undef KOVLAN_KIND_CASE
    return true;
    default:
      return false;
  }
}

// Kinds that can be put into a net or a component.
constexpr bool IsPrimitiveKind(uint8_t kind) {
  switch (kind) {
    case ORVIK_KIND_ARC:
    case ORVIK_KIND_PAD:
    case ORVIK_KIND_VIA:
    case ORVIK_KIND_TRACK:
    case ORVIK_KIND_TEXT:
    case ORVIK_KIND_FILL:
    case ORVIK_KIND_POLYGON:
    case ORVIK_KIND_REGION:
    case ORVIK_KIND_COMPONENT_BODY:
    case ORVIK_KIND_SPLIT_PLANE:
      return true;
    default:
      return false;
  }
}

// memcpy with the common widths spelled out, so that they need no call.
inline void CopyWidth(void* to, const void* from, uint32_t width) {
  switch (width) {
    case 1:
      std::memcpy(to, from, 1);
      return;
    case 2:
      std::memcpy(to, from, 2);
      return;
    case 4:
      std::memcpy(to, from, 4);
      return;
    case 8:
      std::memcpy(to, from, 8);
      return;
    default:
      std::memcpy(to, from, width);
  }
}

template <typename T>
T Load(const void* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
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

int FieldPosition(const Exchange& ex, std::string_view name) {
  for (std::size_t i = 0; i < ex.fields.size(); ++i) {
    if (ex.fields[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

Host& Host::CreateInstance() {
  static Host host;
  instance_ = &host;
  RefreshPlain();
  return host;
}

Host::Host() {
  for (std::size_t i = 0; i < std::size(kLayerReads); ++i) layerReads_[i] = MakeLayerReadInfo(kLayerReads[i]);
  Reset();
}

Host::~Host() {
  plain_ = nullptr;
  DestroyObjects();
}

// The objects live in arena memory: their destructors (which free long
// membership lists) run here, before the arena goes.
void Host::DestroyObjects() noexcept {
  for (uint32_t i = 0; i < objectCount_; ++i) chunks_[i >> kChunkBits][i & kChunkMask].~HostObject();
  chunks_.clear();
  objectCount_ = 0;
}

void Host::Reset() {
  DestroyObjects();
  chunks_.shrink_to_fit();
  std::fill(std::begin(kindCounts_), std::end(kindCounts_), 0);
  classMembers_.clear();
  templates_.clear();
  arena_.Clear();
  strings_.Clear();
  const StorageLayout& layout = StorageLayout::Get();
  templates_.resize(kMaxObjectKind + 1);
  for (uint8_t k = 0; k <= kMaxObjectKind; ++k) {
    templates_[k].kind = k;
    templates_[k].data = arena_.Allocate(layout.Size(k));
    templates_[k].keyed = arena_.Allocate(layout.KeyedSize(k));
  }
  SeedTemplates();

  HostObject& board = AppendObject();
  board.kind = kBoardKind;
  board.data = arena_.Allocate(layout.Size(kBoardKind));
  board.keyed = arena_.Allocate(layout.KeyedSize(kBoardKind));
  SeedBoard(board);

  progressOpen_ = false;
  progressMessage_.clear();
  progressTotal_ = progressDone_ = 0;
  progressInits_ = progressUpdates_ = progressFinishes_ = 0;
  progressCallback_ = nullptr;
  progressContext_ = nullptr;
  journalOn_ = false;
  journal_.clear();
  for (LayerReadInfo& info : layerReads_) {
    for (uint8_t kind = 0; kind < 4; ++kind) {
      info.shared[kind] = info.offset[kind] < 0 ? nullptr : templates_[kind].keyed + info.offset[kind];
    }
  }
  RefreshPlain();
}

HostObject& Host::Template(uint8_t kind) { return templates_[kind]; }

HostObject& Host::AppendObject() {
  const uint32_t i = objectCount_;
  if ((i >> kChunkBits) == chunks_.size()) {
    // Raw room for a chunk of objects; each is constructed when appended.
    chunks_.push_back(reinterpret_cast<HostObject*>(arena_.Allocate(sizeof(HostObject) << kChunkBits)));
  }
  HostObject* object = new (&chunks_[i >> kChunkBits][i & kChunkMask]) HostObject();
  ++objectCount_;
  return *object;
}

uint32_t Host::CreateObject(uint8_t kind) {
  if (!IsObjectKind(kind) || objectCount_ >= std::numeric_limits<uint32_t>::max() - 3) return 0;
  const HostObject& t = Template(kind);
  const StorageLayout& layout = StorageLayout::Get();
  HostObject& object = AppendObject();
  object.kind = kind;
  object.role = t.role;
  object.link[0] = t.link[0];
  object.link[1] = t.link[1];
  object.base = t.base;
  // Templates have neither members nor memberships; keyed records stay the
  // template's until the object's own differ.
  const uint32_t size = layout.Size(kind);
  object.data = arena_.Allocate(size);
  if (size != 0) std::memcpy(object.data, t.data, size);
  ++kindCounts_[kind];
  const uint32_t handle = objectCount_;
  if (kind == ORVIK_KIND_COMPONENT) {
    // A new component comes with its designator and comment texts.
    const uint32_t designator = CreateObject(ORVIK_KIND_TEXT);
    const uint32_t comment = CreateObject(ORVIK_KIND_TEXT);
    HostObject& component = *Find(handle);
    const Exchange& ex = ExchangeOf(Api::QueryComponent);
    uint8_t* record = RecordForWrite(component, ex, 0);
    std::memcpy(record + ex.fields[static_cast<std::size_t>(FieldPosition(ex, "designatorHandle"))].offset, &designator,
                4);
    std::memcpy(record + ex.fields[static_cast<std::size_t>(FieldPosition(ex, "commentHandle"))].offset, &comment, 4);
    LinkText(handle, designator, TextRole::Designator);
    LinkText(handle, comment, TextRole::Comment);
  }
  return handle;
}

int32_t Host::ObjectCount(uint8_t kind) const {
  if (kind != 0) return kindCounts_[kind];
  return static_cast<int32_t>(objectCount_) - 1;  // all but the board
}

Host::LayerReadInfo Host::MakeLayerReadInfo(Api api) {
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

const uint8_t* Host::SimpleStackRecord(const HostObject& object, const Exchange& ex, int32_t key, uint8_t* scratch,
                                       const uint8_t* shared) const {
  // A pad's layers 1..32 show its saved simple stack.
  SimpleStack stack;
  std::memcpy(&stack, object.data + StorageLayout::Get().SimpleStackOffset(), sizeof stack);
  const std::size_t part = SimpleStack::PartOf(key);
  std::memcpy(scratch, shared, ex.recordSize);
  if (ex.api == Api::QueryPadOrViaSizeOnLayer) {
    std::memcpy(scratch + ex.fields[0].offset, &stack.xSize[part], 4);
    std::memcpy(scratch + ex.fields[1].offset, &stack.ySize[part], 4);
  } else {
    std::memcpy(scratch + ex.fields[0].offset, &stack.shape[part], 1);
  }
  return scratch;
}

void Host::OwnKeyedRecords(HostObject& object) {
  const StorageLayout& layout = StorageLayout::Get();
  const uint32_t size = layout.KeyedSize(object.kind);
  if (object.keyed != nullptr || size == 0) return;
  uint8_t* own = arena_.Allocate(size);
  std::memcpy(own, templates_[object.kind].keyed, size);
  if (object.simpleStack) {
    // Write the saved stack out into the records, as it shows.
    const Exchange& sizeEx = ExchangeOf(Api::QueryPadOrViaSizeOnLayer);
    const Exchange& shapeEx = ExchangeOf(Api::QueryPadOrViaShapeOnLayer);
    for (int layer = ORVIK_LAYER_TopLayer; layer <= ORVIK_LAYER_BottomLayer; ++layer) {
      uint8_t scratch[kScratchSize];
      for (const Exchange* ex : {&sizeEx, &shapeEx}) {
        const uint8_t* shown = RecordForRead(object, *ex, layer, scratch);
        const uint32_t at = static_cast<uint32_t>(layout.Offset(object.kind, ex->api)) +
                            static_cast<uint32_t>(layer - ex->keyMin) * ex->recordSize;
        std::memcpy(own + at, shown, ex->recordSize);
      }
    }
    object.simpleStack = false;
  }
  object.keyed = own;
}

uint8_t* Host::RecordForWrite(HostObject& object, const Exchange& ex, int32_t key) {
  const int32_t offset = StorageLayout::Get().Offset(object.kind, ex.api);
  if (offset < 0) return nullptr;
  if (!ex.keyed) return object.data + offset;
  if (object.keyed == nullptr) OwnKeyedRecords(object);
  return object.keyed + offset + static_cast<uint32_t>(key - ex.keyMin) * ex.recordSize;
}

void Host::ReadValue(const HostObject& object, const uint8_t* record, const Field& f, void* out) const {
  if (f.base != BaseField::None) {
    CopyWidth(out, reinterpret_cast<const uint8_t*>(&object.base) + f.baseOffset, f.width);
  } else if (f.type == FieldType::Str) {
    const std::string_view text = StoredString(record, f);
    auto* s = static_cast<uint8_t*>(out);
    s[0] = static_cast<uint8_t>(text.size());
    if (!text.empty()) std::memcpy(s + 1, text.data(), text.size());
  } else {
    CopyWidth(out, record + f.offset, f.width);
  }
}

void Host::WriteValue(HostObject& object, uint8_t* record, const Field& f, const void* in) {
  if (f.base != BaseField::None) {
    CopyWidth(reinterpret_cast<uint8_t*>(&object.base) + f.baseOffset, in, f.width);
  } else if (f.type == FieldType::Str) {
    const auto* s = static_cast<const uint8_t*>(in);
    const std::string_view text(reinterpret_cast<const char*>(s + 1), s[0]);
    // Most writes send back the text the object holds: no need to look it up.
    if (StoredString(record, f) == text) return;
    const uint32_t id = strings_.Intern(text);
    std::memcpy(record + f.offset, &id, sizeof id);
  } else {
    CopyWidth(record + f.offset, in, f.width);
  }
}

std::string_view Host::StoredString(const uint8_t* record, const Field& f) const {
  uint32_t id;
  std::memcpy(&id, record + f.offset, sizeof id);
  return strings_.View(id);
}

int32_t Host::AddToContainer(uint32_t container, uint32_t object) {
  HostObject* c = Find(container);
  HostObject* o = Find(object);
  if (c == nullptr || o == nullptr || container == object || o->kind == kBoardKind) return 1;
  if (c->kind == ORVIK_KIND_NET || c->kind == ORVIK_KIND_COMPONENT) {
    if (!IsPrimitiveKind(o->kind)) return 2;
  } else if (c->kind != kBoardKind) {
    return 2;
  }
  // An object belongs to few containers: look there, not through the members.
  if (std::find(o->memberOf.begin(), o->memberOf.end(), container) != o->memberOf.end()) return 3;
  c->members.push_back(object);
  o->memberOf.push_back(container);
  return 0;
}

namespace {
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

int32_t Host::TransferAll(const Exchange& ex, uint8_t mode, uint32_t handle, int32_t key,
                          std::span<void* const> addresses) {
  if (faults::Active()) [[unlikely]] {
    if (const int32_t status = faults::QueryStatus(); status != 0) return status;
  }
  if (mode > ORVIK_SM_REBIND || ex.holder == Holder::None || addresses.size() != ex.fields.size()) return 1;
  HostObject* object = Find(handle);
  if (object == nullptr || !ex.HeldBy(object->kind) || !ex.KeyValid(key)) return 1;
  for (void* p : addresses) {
    if (p == nullptr) return 1;
  }
  const bool write = IsWrite(mode);
  if (write) {
    if (const int32_t status = CheckWrite(ex, *object, key, addresses); status != 0) return status;
  } else if (ex.api == Api::QueryBoardLayerPairAt) {
    if (const int32_t status = CheckWrite(ex, *object, key, addresses); status != 0) return status;
  }
  if (write) {
    uint8_t* record = RecordForWrite(*object, ex, key);
    if (record == nullptr) return 1;
    uint8_t* const homes[2] = {record, reinterpret_cast<uint8_t*>(&object->base)};
    const Field* const fields = ex.fields.data();
    for (std::size_t i = 0; i < addresses.size(); ++i) {
      const Field& f = fields[i];
      uint8_t* to = homes[f.inBase] + f.at;
      const void* from = addresses[i];
      if (CopyFixed(f.op, to, from)) continue;
      if (f.op == FieldOp::LegacyLayer) {
        object->base.layerId = *static_cast<const uint8_t*>(from);
      } else {
        WriteValue(*object, record, f, from);
      }
    }
    AfterWrite(ex, handle, *object);
  } else {
    uint8_t scratch[kScratchSize];
    const uint8_t* record = RecordForRead(*object, ex, key, scratch);
    if (record == nullptr) return 1;
    const uint8_t* const homes[2] = {record, reinterpret_cast<const uint8_t*>(&object->base)};
    const Field* const fields = ex.fields.data();
    for (std::size_t i = 0; i < addresses.size(); ++i) {
      const Field& f = fields[i];
      const uint8_t* from = homes[f.inBase] + f.at;
      void* to = addresses[i];
      if (CopyFixed(f.op, to, from)) continue;
      if (f.op == FieldOp::LegacyLayer) {
        *static_cast<uint8_t*>(to) = LegacyFromLayerId(object->base.layerId);
      } else {
        ReadValue(*object, record, f, to);
      }
    }
    if (faults::Active()) [[unlikely]]
      faults::AfterRead(ex, key, addresses);
  }
  return 0;
}

int32_t Host::CheckWrite(const Exchange& ex, HostObject& object, int32_t key, std::span<void* const> addresses) const {
  if (ex.api == Api::QueryBoardLayerPairsCount) {
    int32_t count;
    std::memcpy(&count, addresses[0], 4);
    const Exchange& at = ExchangeOf(Api::QueryBoardLayerPairAt);
    return count >= 0 && count <= at.keyMax + 1 ? 0 : 1;
  }
  if (ex.api == Api::QueryBoardLayerPairAt) {
    const Exchange& countEx = ExchangeOf(Api::QueryBoardLayerPairsCount);
    int32_t count;
    std::memcpy(&count, object.data + StorageLayout::Get().Offset(object.kind, countEx.api) + countEx.fields[0].offset,
                4);
    return key < count ? 0 : 1;
  }
  return 0;
}

void Host::AfterWrite(const Exchange& ex, uint32_t handle, HostObject& object) {
  if (ex.api == Api::QueryComponent) {
    int64_t designator = 0, comment = 0;
    FieldValue(handle, Api::QueryComponent, 0, "designatorHandle", &designator);
    FieldValue(handle, Api::QueryComponent, 0, "commentHandle", &comment);
    LinkText(handle, static_cast<uint32_t>(designator), TextRole::Designator);
    LinkText(handle, static_cast<uint32_t>(comment), TextRole::Comment);
  } else if (ex.api == Api::QueryPad) {
    ApplySimpleStack(object);
  }
}

// Makes `text` show the component's designator or comment. The text that
// showed it before is released, and the text stops showing anything else.
void Host::LinkText(uint32_t component, uint32_t text, TextRole role) {
  HostObject* c = Find(component);
  if (c == nullptr) return;
  const int slot = role == TextRole::Designator ? 0 : 1;
  HostObject* target = Find(text);
  if (target != nullptr && target->kind != ORVIK_KIND_TEXT) target = nullptr;
  if (c->link[slot] != 0 && c->link[slot] != text) {
    HostObject* old = Find(c->link[slot]);
    if (old != nullptr && old->link[0] == component && old->role == role) {
      old->link[0] = 0;
      old->role = TextRole::None;
    }
  }
  c->link[slot] = target != nullptr ? text : 0;
  if (target == nullptr) return;
  if (target->link[0] != 0 && (target->link[0] != component || target->role != role)) {
    HostObject* previous = Find(target->link[0]);
    const int previousSlot = target->role == TextRole::Designator ? 0 : 1;
    if (previous != nullptr && previous->link[previousSlot] == text) previous->link[previousSlot] = 0;
  }
  target->link[0] = component;
  target->role = role;
}

// Unless the pad keeps a full per-layer stack (stack mode 2), its top, mid
// and bottom sizes and shapes make up the per-layer stack (layers 1..32).
// A pad whose keyed records are still its template's saves the nine values
// instead of writing 32 layers.
void Host::ApplySimpleStack(HostObject& pad) {
  const StorageLayout& layout = StorageLayout::Get();
  const Exchange& modeEx = ExchangeOf(Api::QueryPadStackMode);
  const uint8_t stackMode = pad.data[layout.Offset(pad.kind, modeEx.api) + modeEx.fields[0].offset];
  if (stackMode == 2) return;
  struct PadFields {
    uint32_t xs[3], ys[3], shape[3];
  };
  static const PadFields kFields = [] {
    const Exchange& padEx = ExchangeOf(Api::QueryPad);
    auto at = [&](std::string_view name) {
      return padEx.fields[static_cast<std::size_t>(FieldPosition(padEx, name))].offset;
    };
    return PadFields{{at("topXSize"), at("midXSize"), at("botXSize")},
                     {at("topYSize"), at("midYSize"), at("botYSize")},
                     {at("topShape"), at("midShape"), at("botShape")}};
  }();
  const uint8_t* record = pad.data + layout.Offset(pad.kind, Api::QueryPad);
  SimpleStack stack;
  for (int part = 0; part < 3; ++part) {
    std::memcpy(&stack.xSize[part], record + kFields.xs[part], 4);
    std::memcpy(&stack.ySize[part], record + kFields.ys[part], 4);
    stack.shape[part] = record[kFields.shape[part]];
  }
  if (pad.keyed == nullptr) {
    std::memcpy(pad.data + layout.SimpleStackOffset(), &stack, sizeof stack);
    pad.simpleStack = true;
    return;
  }
  const Exchange& sizeEx = ExchangeOf(Api::QueryPadOrViaSizeOnLayer);
  const Exchange& shapeEx = ExchangeOf(Api::QueryPadOrViaShapeOnLayer);
  for (int layer = ORVIK_LAYER_TopLayer; layer <= ORVIK_LAYER_BottomLayer; ++layer) {
    const std::size_t part = SimpleStack::PartOf(layer);
    uint8_t* size = RecordForWrite(pad, sizeEx, layer);
    std::memcpy(size + sizeEx.fields[0].offset, &stack.xSize[part], 4);
    std::memcpy(size + sizeEx.fields[1].offset, &stack.ySize[part], 4);
    RecordForWrite(pad, shapeEx, layer)[shapeEx.fields[0].offset] = stack.shape[part];
  }
}

int32_t Host::ReadField(uint32_t handle, const Exchange& ex, int32_t key, int32_t position, void* out, int32_t size) {
  HostObject* object = Find(handle);
  if (object == nullptr || out == nullptr || !ex.HeldBy(object->kind) || !ex.KeyValid(key) || position < 0 ||
      static_cast<std::size_t>(position) >= ex.fields.size()) {
    return -1;
  }
  const Field& f = ex.fields[static_cast<std::size_t>(position)];
  const uint32_t width = f.base == BaseField::LegacyLayer ? 1u : f.width;
  if (size < 0 || static_cast<uint32_t>(size) < width) return -1;
  if (f.base == BaseField::LegacyLayer) {
    *static_cast<uint8_t*>(out) = LegacyFromLayerId(object->base.layerId);
  } else {
    uint8_t scratch[kScratchSize];
    const uint8_t* record = RecordForRead(*object, ex, key, scratch);
    if (f.type == FieldType::Str) {
      // The whole short string, its unused tail cleared.
      std::memset(out, 0, width);
    }
    ReadValue(*object, record, f, out);
  }
  return static_cast<int32_t>(width);
}

int32_t Host::WriteField(uint32_t handle, const Exchange& ex, int32_t key, int32_t position, const void* in,
                         int32_t size) {
  HostObject* object = Find(handle);
  if (object == nullptr || in == nullptr || !ex.HeldBy(object->kind) || !ex.KeyValid(key) || position < 0 ||
      static_cast<std::size_t>(position) >= ex.fields.size()) {
    return -1;
  }
  const Field& f = ex.fields[static_cast<std::size_t>(position)];
  const uint32_t width = f.base == BaseField::LegacyLayer ? 1u : f.width;
  if (size < 0 || static_cast<uint32_t>(size) < width) return -1;
  if (f.base == BaseField::LegacyLayer) {
    object->base.layerId = *static_cast<const uint8_t*>(in);
  } else {
    WriteValue(*object, RecordForWrite(*object, ex, key), f, in);
  }
  return static_cast<int32_t>(width);
}

int32_t Host::WriteDefault(uint8_t kind, const Exchange& ex, int32_t position, const void* in, int32_t size) {
  if (!IsObjectKind(kind) || in == nullptr || !ex.HeldBy(kind) || ex.keyed || position < 0 ||
      static_cast<std::size_t>(position) >= ex.fields.size()) {
    return -1;
  }
  const Field& f = ex.fields[static_cast<std::size_t>(position)];
  const uint32_t width = f.base == BaseField::LegacyLayer ? 1u : f.width;
  if (size < 0 || static_cast<uint32_t>(size) < width) return -1;
  HostObject& t = Template(kind);
  if (f.base == BaseField::LegacyLayer) {
    t.base.layerId = *static_cast<const uint8_t*>(in);
  } else {
    WriteValue(t, RecordForWrite(t, ex, 0), f, in);
  }
  return static_cast<int32_t>(width);
}

bool Host::FieldValue(uint32_t handle, Api api, int32_t key, std::string_view name, int64_t* out) const {
  const Exchange& ex = ExchangeOf(api);
  const int pos = FieldPosition(ex, name);
  auto* object = const_cast<HostObject*>(Find(handle));
  if (pos < 0 || object == nullptr || !ex.HeldBy(object->kind)) return false;
  const Field& f = ex.fields[static_cast<std::size_t>(pos)];
  if (f.base == BaseField::LegacyLayer) {
    *out = LegacyFromLayerId(object->base.layerId);
    return true;
  }
  if (f.type == FieldType::Str || f.type == FieldType::Block) return false;
  uint8_t value[8] = {};
  if (f.base != BaseField::None) {
    ReadValue(*object, nullptr, f, value);
  } else {
    if (!ex.KeyValid(key)) return false;
    uint8_t scratch[kScratchSize];
    const uint8_t* record = RecordForRead(*object, ex, key, scratch);
    if (record == nullptr) return false;
    ReadValue(*object, record, f, value);
  }
  *out = ReadInteger(value, f.type);
  return true;
}

bool Host::FieldString(uint32_t handle, Api api, int32_t key, std::string_view name, std::string* out) const {
  const Exchange& ex = ExchangeOf(api);
  const int pos = FieldPosition(ex, name);
  auto* object = const_cast<HostObject*>(Find(handle));
  if (pos < 0 || object == nullptr || !ex.HeldBy(object->kind)) return false;
  const Field& f = ex.fields[static_cast<std::size_t>(pos)];
  if (!ex.KeyValid(key) || f.type != FieldType::Str) return false;
  uint8_t scratch[kScratchSize];
  const uint8_t* record = RecordForRead(*object, ex, key, scratch);
  if (record == nullptr) return false;
  out->assign(StoredString(record, f));
  return true;
}

std::string Host::DisplayText(uint32_t handle) const {
  const HostObject* o = Find(handle);
  std::string text;
  if (o == nullptr) return text;
  if (o->kind == ORVIK_KIND_COMPONENT) {
    int64_t designator = 0;
    FieldValue(handle, Api::QueryComponent, 0, "designatorHandle", &designator);
    const HostObject* d = Find(static_cast<uint32_t>(designator));
    if (d != nullptr && d->kind == ORVIK_KIND_TEXT)
      FieldString(static_cast<uint32_t>(designator), Api::QueryText, 0, "text", &text);
    return text;
  }
  FieldString(handle, Api::QueryText, 0, "text", &text);
  return text;
}

int32_t Host::DisplayString(char* buffer256, uint32_t handle) {
  const HostObject* o = Find(handle);
  if (buffer256 == nullptr || o == nullptr || (o->kind != ORVIK_KIND_TEXT && o->kind != ORVIK_KIND_COMPONENT)) return 1;
  const std::string text = DisplayText(handle);
  const std::size_t n = std::min<std::size_t>(text.size(), ORVIK_DISPLAY_STRING_SIZE - 1);
  std::memcpy(buffer256, text.data(), n);
  buffer256[n] = '\0';
  return 0;
}

int32_t Host::BoundingRectangle(uint32_t handle, int32_t* b1, int32_t* b2, int32_t* b3, int32_t* b4) {
  const HostObject* o = Find(handle);
  if (o == nullptr || o->kind == kBoardKind || !b1 || !b2 || !b3 || !b4) return 1;
  int64_t left = 0, bottom = 0, right = 0, top = 0;
  auto get = [&](Api api, std::string_view name) {
    int64_t v = 0;
    FieldValue(handle, api, 0, name, &v);
    return v;
  };
  auto around = [&](int64_t x, int64_t y, int64_t half) {
    left = x - half;
    right = x + half;
    bottom = y - half;
    top = y + half;
  };
  switch (o->kind) {
    case 1:
      around(get(Api::QueryArc, "x"), get(Api::QueryArc, "y"),
             get(Api::QueryArc, "radius") + get(Api::QueryArc, "width") / 2);
      break;
    case 2: {
      int64_t half = 0;
      for (const char* name : {"topXSize", "topYSize", "midXSize", "midYSize", "botXSize", "botYSize"}) {
        half = std::max(half, get(Api::QueryPad, name) / 2);
      }
      around(get(Api::QueryPad, "x"), get(Api::QueryPad, "y"), half);
      break;
    }
    case 3:
      around(get(Api::QueryVia, "x"), get(Api::QueryVia, "y"), get(Api::QueryVia, "size") / 2);
      break;
    case 4: {
      const int64_t half = get(Api::QueryTrack, "width") / 2;
      const int64_t x1 = get(Api::QueryTrack, "x1"), x2 = get(Api::QueryTrack, "x2");
      const int64_t y1 = get(Api::QueryTrack, "y1"), y2 = get(Api::QueryTrack, "y2");
      left = std::min(x1, x2) - half;
      right = std::max(x1, x2) + half;
      bottom = std::min(y1, y2) - half;
      top = std::max(y1, y2) + half;
      break;
    }
    case 5:
      left = right = get(Api::QueryText, "x");
      bottom = top = get(Api::QueryText, "y");
      top += get(Api::QueryText, "height");
      break;
    case 6: {
      const int64_t x1 = get(Api::QueryFill, "x1"), x2 = get(Api::QueryFill, "x2");
      const int64_t y1 = get(Api::QueryFill, "y1"), y2 = get(Api::QueryFill, "y2");
      left = std::min(x1, x2);
      right = std::max(x1, x2);
      bottom = std::min(y1, y2);
      top = std::max(y1, y2);
      break;
    }
    case 9:
      around(get(Api::QueryComponent, "x"), get(Api::QueryComponent, "y"), 0);
      break;
    default:
      break;
  }
  auto clamp = [](int64_t v) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
  };
  *b1 = clamp(left);
  *b2 = clamp(bottom);
  *b3 = clamp(right);
  *b4 = clamp(top);
  return 0;
}

int32_t Host::ClassMemberAt(uint32_t classHandle, int32_t index, OrvikShortString* name) {
  const HostObject* o = Find(classHandle);
  if (o == nullptr || o->kind != ORVIK_KIND_CLASS || name == nullptr || index < 0) return 1;
  for (const auto& [handle, members] : classMembers_) {
    if (handle != classHandle) continue;
    if (static_cast<std::size_t>(index) >= members.size()) return 1;
    const std::string& m = members[static_cast<std::size_t>(index)];
    name->length = static_cast<uint8_t>(m.size());
    std::memcpy(name->text, m.data(), m.size());
    return 0;
  }
  return 1;
}

int32_t Host::AddClassMember(uint32_t classHandle, const OrvikShortString* name) {
  const HostObject* o = Find(classHandle);
  if (o == nullptr || o->kind != ORVIK_KIND_CLASS || name == nullptr) return 1;
  std::string member(name->text, name->length);
  for (auto& [handle, members] : classMembers_) {
    if (handle == classHandle) {
      members.push_back(std::move(member));
      return 0;
    }
  }
  classMembers_.emplace_back(classHandle, std::vector<std::string>{std::move(member)});
  return 0;
}

int32_t Host::RemoveClassMembers(uint32_t classHandle) {
  const HostObject* o = Find(classHandle);
  if (o == nullptr || o->kind != ORVIK_KIND_CLASS) return 1;
  std::erase_if(classMembers_, [classHandle](const auto& entry) { return entry.first == classHandle; });
  return 0;
}

int32_t Host::SetLayerLink(int32_t layer, int32_t prev, int32_t next) {
  if (layer < 1 || layer > kMaxLegacyLayer || prev < 0 || prev > kMaxLegacyLayer || next < 0 ||
      next > kMaxLegacyLayer) {
    return 1;
  }
  const bool plane = IsPlaneLayer(layer);
  const Exchange& ex = ExchangeOf(plane ? Api::QueryInternalPlane : Api::QueryLayer);
  const uint8_t p = static_cast<uint8_t>(prev), n = static_cast<uint8_t>(next);
  WriteField(kBoardHandle, ex, layer, FieldPosition(ex, "prevLayer"), &p, 1);
  WriteField(kBoardHandle, ex, layer, FieldPosition(ex, "nextLayer"), &n, 1);
  return 0;
}

int32_t Host::SetLayerPairs(int32_t count, const uint32_t* layerIds) {
  const Exchange& at = ExchangeOf(Api::QueryBoardLayerPairAt);
  if (count < 0 || count > at.keyMax + 1 || (count > 0 && layerIds == nullptr)) return 1;
  const Exchange& countEx = ExchangeOf(Api::QueryBoardLayerPairsCount);
  WriteField(kBoardHandle, countEx, 0, 0, &count, 4);
  for (int32_t i = 0; i < count; ++i) {
    WriteField(kBoardHandle, at, i, 0, &layerIds[2 * i], 4);
    WriteField(kBoardHandle, at, i, 1, &layerIds[2 * i + 1], 4);
  }
  return 0;
}

void Host::Notify(int32_t event) {
  if (progressCallback_ != nullptr) {
    progressCallback_(event, progressMessage_.c_str(), progressDone_, progressTotal_, progressContext_);
  }
}

void Host::ProgressInit(const OrvikShortString* message, int32_t total) {
  progressMessage_.assign(message != nullptr ? message->text : "", message != nullptr ? message->length : 0u);
  progressTotal_ = total;
  progressDone_ = 0;
  progressOpen_ = true;
  CountUp(progressInits_);
  Notify(KVHOST_PROGRESS_INIT);
}

void Host::ProgressFinish() {
  CountUp(progressFinishes_);
  if (!progressOpen_) return;
  Notify(KVHOST_PROGRESS_FINISH);
  progressOpen_ = false;
}

void Host::SetProgressCallback(KvHostProgressFn cb, void* ctx) {
  progressCallback_ = cb;
  progressContext_ = ctx;
}

int32_t Host::ProgressState(char* message, int32_t size, int32_t* done, int32_t* total) const {
  if (message != nullptr && size > 0) {
    const std::size_t n = std::min<std::size_t>(progressMessage_.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(message, progressMessage_.data(), n);
    message[n] = '\0';
  }
  if (done != nullptr) *done = progressDone_;
  if (total != nullptr) *total = progressTotal_;
  return progressOpen_ ? 1 : 0;
}

void Host::ProgressCounts(int32_t* inits, int32_t* updates, int32_t* finishes) const {
  if (inits != nullptr) *inits = progressInits_;
  if (updates != nullptr) *updates = progressUpdates_;
  if (finishes != nullptr) *finishes = progressFinishes_;
}

int32_t Host::JournalEntry(int32_t i, char* out, int32_t size) const {
  if (i < 0 || static_cast<std::size_t>(i) >= journal_.size() || out == nullptr || size <= 0) return -1;
  const std::string& line = journal_[static_cast<std::size_t>(i)];
  if (line.size() >= static_cast<std::size_t>(size)) return -1;
  std::memcpy(out, line.c_str(), line.size() + 1);
  return static_cast<int32_t>(line.size());
}

void Host::AppendScalar(std::string& line, std::string_view text) {
  line += ' ';
  line += text;
}

void Host::AppendScalar(std::string& line, const OrvikShortString* text) {
  line += ' ';
  if (text != nullptr) line.append(text->text, text->length);
}

}  // namespace kovlan
