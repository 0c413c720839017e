#include "host/kovlan/ObjectStore.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace kovlan {
namespace {

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

// Where a component's record keeps the handles of its two texts.
uint32_t TextHandleOffset(TextRole role) {
  static const uint32_t kDesignator = FieldOf(Api::QueryComponent, "designatorHandle").offset;
  static const uint32_t kComment = FieldOf(Api::QueryComponent, "commentHandle").offset;
  return role == TextRole::Designator ? kDesignator : kComment;
}

}  // namespace

// The objects live in arena memory: their destructors (which free long
// membership lists) run here, before the arena goes.
void ObjectStore::DestroyObjects() noexcept {
  for (uint32_t i = 0; i < objectCount_; ++i) chunks_[i >> kChunkBits][i & kChunkMask].~HostObject();
  chunks_.clear();
  objectCount_ = 0;
}

void ObjectStore::Reset() {
  DestroyObjects();
  chunks_.shrink_to_fit();
  std::fill(std::begin(kindCounts_), std::end(kindCounts_), 0);
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
  HostObject& board = AppendObject();
  board.kind = kBoardKind;
  board.data = arena_.Allocate(layout.Size(kBoardKind));
  board.keyed = arena_.Allocate(layout.KeyedSize(kBoardKind));
}

HostObject& ObjectStore::AppendObject() {
  const uint32_t i = objectCount_;
  if ((i >> kChunkBits) == chunks_.size()) {
    // Raw room for a chunk of objects; each is constructed when appended.
    chunks_.push_back(reinterpret_cast<HostObject*>(arena_.Allocate(sizeof(HostObject) << kChunkBits)));
  }
  HostObject* object = new (&chunks_[i >> kChunkBits][i & kChunkMask]) HostObject();
  ++objectCount_;
  return *object;
}

uint32_t ObjectStore::Create(uint8_t kind) {
  if (!IsObjectKind(kind) || objectCount_ >= std::numeric_limits<uint32_t>::max() - 3) return 0;
  const HostObject& t = Template(kind);
  HostObject& object = AppendObject();
  object.kind = kind;
  object.role = t.role;
  object.link[0] = t.link[0];
  object.link[1] = t.link[1];
  object.base = t.base;
  // Templates have neither members nor memberships; keyed records stay the
  // template's until the object's own differ.
  const uint32_t size = StorageLayout::Get().Size(kind);
  object.data = arena_.Allocate(size);
  if (size != 0) std::memcpy(object.data, t.data, size);
  ++kindCounts_[kind];
  const uint32_t handle = objectCount_;
  if (kind == ORVIK_KIND_COMPONENT) {
    // A new component comes with its designator and comment texts.
    const uint32_t designator = Create(ORVIK_KIND_TEXT);
    const uint32_t comment = Create(ORVIK_KIND_TEXT);
    uint8_t* record = RecordForWrite(*Find(handle), ExchangeOf(Api::QueryComponent), 0);
    std::memcpy(record + TextHandleOffset(TextRole::Designator), &designator, 4);
    std::memcpy(record + TextHandleOffset(TextRole::Comment), &comment, 4);
    LinkText(handle, designator, TextRole::Designator);
    LinkText(handle, comment, TextRole::Comment);
  }
  return handle;
}

int32_t ObjectStore::Count(uint8_t kind) const {
  if (kind != 0) return kindCounts_[kind];
  return static_cast<int32_t>(objectCount_) - 1;  // all but the board
}

int32_t ObjectStore::AddToContainer(uint32_t container, uint32_t object) {
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

const uint8_t* ObjectStore::SimpleStackRecord(const HostObject& object, const Exchange& ex, int32_t key,
                                              uint8_t* scratch, const uint8_t* shared) const {
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

void ObjectStore::OwnKeyedRecords(HostObject& object) {
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

uint8_t* ObjectStore::RecordForWrite(HostObject& object, const Exchange& ex, int32_t key) {
  const int32_t offset = StorageLayout::Get().Offset(object.kind, ex.api);
  if (offset < 0) return nullptr;
  if (!ex.keyed) return object.data + offset;
  if (object.keyed == nullptr) OwnKeyedRecords(object);
  return object.keyed + offset + static_cast<uint32_t>(key - ex.keyMin) * ex.recordSize;
}

void ObjectStore::ReadValue(const HostObject& object, const uint8_t* record, const Field& f, void* out) const {
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

void ObjectStore::WriteValue(HostObject& object, uint8_t* record, const Field& f, const void* in) {
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

void ObjectStore::AfterWrite(const Exchange& ex, uint32_t handle, HostObject& object) {
  if (ex.api == Api::QueryComponent) {
    LinkText(handle, ComponentText(object, TextRole::Designator), TextRole::Designator);
    LinkText(handle, ComponentText(object, TextRole::Comment), TextRole::Comment);
  } else if (ex.api == Api::QueryPad) {
    ApplySimpleStack(object);
  }
}

uint32_t ObjectStore::ComponentText(const HostObject& component, TextRole role) const {
  uint32_t text;
  std::memcpy(
      &text, component.data + StorageLayout::Get().Offset(component.kind, Api::QueryComponent) + TextHandleOffset(role),
      sizeof text);
  return text;
}

// Makes `text` show the component's designator or comment. The text that
// showed it before is released, and the text stops showing anything else.
void ObjectStore::LinkText(uint32_t component, uint32_t text, TextRole role) {
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
void ObjectStore::ApplySimpleStack(HostObject& pad) {
  const StorageLayout& layout = StorageLayout::Get();
  const Exchange& modeEx = ExchangeOf(Api::QueryPadStackMode);
  const uint8_t stackMode = pad.data[layout.Offset(pad.kind, modeEx.api) + modeEx.fields[0].offset];
  if (stackMode == 2) return;
  struct PadFields {
    uint32_t xs[3], ys[3], shape[3];
  };
  static const PadFields kFields = [] {
    auto at = [](std::string_view name) { return FieldOf(Api::QueryPad, name).offset; };
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

}  // namespace kovlan
