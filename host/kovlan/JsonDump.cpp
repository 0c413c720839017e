#include "host/kovlan/JsonDump.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <span>
#include <string>

#include "host/common/JsonString.h"
#include "host/kovlan/Attributes.h"
#include "host/kovlan/Board.h"
#include "host/kovlan/ObjectServices.h"

namespace kovlan {
namespace {

// The kind's name in the dump. Objects are created only as kinds of the
// table, so every kind has a name.
const char* KindName(uint8_t kind) { return kind == kBoardKind ? "board" : OrvikObjectKindName(kind); }

class JsonWriter {
 public:
  std::string out;

  void Raw(std::string_view s) { out += s; }
  void Key(std::string_view key) {
    String(key);
    out += ':';
  }
  void Int(int64_t v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
  }
  void Double(double v) {
    if (!std::isfinite(v)) {
      String(std::isnan(v) ? "nan" : (v > 0 ? "inf" : "-inf"));
      return;
    }
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
  }
  void String(std::string_view s) { orvik::json::AppendString(out, s, orvik::json::kBoardDumpStyle); }
  void Hex(const uint8_t* p, uint32_t n) {
    while (n > 0 && p[n - 1] == 0) --n;  // trailing zeros carry nothing
    static const char kDigits[] = "0123456789abcdef";
    out += '"';
    for (uint32_t i = 0; i < n; ++i) {
      out += kDigits[p[i] >> 4];
      out += kDigits[p[i] & 15];
    }
    out += '"';
  }
  void Handles(std::span<const uint32_t> handles);
};

// The members of one JSON object or array: the separator goes before every
// member but the first.
class Listing {
 public:
  explicit Listing(JsonWriter& w, std::string_view separator = ",") : w_(w), separator_(separator) {}
  // Starts the next array element.
  void Next() {
    if (!first_) w_.Raw(separator_);
    first_ = false;
  }
  // Starts the next object member: its key and the colon.
  void Member(std::string_view key) {
    Next();
    w_.Key(key);
  }

 private:
  JsonWriter& w_;
  std::string_view separator_;
  bool first_ = true;
};

void JsonWriter::Handles(std::span<const uint32_t> handles) {
  Raw("[");
  Listing list(*this);
  for (const uint32_t h : handles) {
    list.Next();
    Int(h);
  }
  Raw("]");
}

// The value of field `f` of a stored record.
void FieldJson(JsonWriter& w, const ObjectStore& objects, const HostObject& o, const uint8_t* record, const Field& f) {
  if (f.base == BaseField::LegacyLayer) {
    w.Int(LegacyFromLayerId(o.base.layerId));
    return;
  }
  if (f.type == FieldType::Str) {
    w.String(objects.StoredString(record, f));
    return;
  }
  if (f.type == FieldType::Block) {
    w.Hex(record + f.offset, f.width);
    return;
  }
  uint8_t value[8] = {};
  objects.ReadValue(o, record, f, value);
  if (f.type == FieldType::F64) {
    double v;
    std::memcpy(&v, value, sizeof v);
    w.Double(v);
    return;
  }
  w.Int(ReadInteger(value, f.type));
}

void RecordJson(JsonWriter& w, const ObjectStore& objects, const HostObject& o, const uint8_t* record,
                const Exchange& ex) {
  w.Raw("{");
  Listing fields(w);
  for (const Field& f : ex.fields) {
    fields.Member(f.name);
    FieldJson(w, objects, o, record, f);
  }
  w.Raw("}");
}

// A stored record of zero bytes only (an empty string is stored as 0).
bool RecordIsZero(const uint8_t* record, const Exchange& ex) {
  for (uint32_t i = 0; i < ex.recordSize; ++i) {
    if (record[i] != 0) return false;
  }
  return true;
}

// Every exchange the object takes part in, by entry-point name; keyed ones
// list their non-empty records by key.
void AttributesJson(JsonWriter& w, const ObjectStore& objects, const HostObject& o) {
  uint8_t scratch[ObjectStore::kScratchSize];
  w.Raw("{");
  Listing exchanges(w);
  for (int a = 0; a < kApiCount; ++a) {
    const Exchange& ex = ExchangeOf(static_cast<Api>(a));
    if (!ex.HeldBy(o.kind)) continue;
    exchanges.Member(ex.name);
    if (!ex.keyed) {
      RecordJson(w, objects, o, objects.RecordForRead(o, ex, 0, scratch), ex);
      continue;
    }
    w.Raw("{");
    Listing keys(w);
    for (int32_t key = ex.keyMin; key <= ex.keyMax; ++key) {
      if (!ex.KeyValid(key)) continue;
      const uint8_t* record = objects.RecordForRead(o, ex, key, scratch);
      if (RecordIsZero(record, ex)) continue;
      keys.Member(std::to_string(key));
      RecordJson(w, objects, o, record, ex);
    }
    w.Raw("}");
  }
  w.Raw("}");
}

void LayerStackJson(JsonWriter& w, const ObjectStore& objects) {
  auto link = [&](int layer, std::string_view name) {
    int64_t v = 0;
    FieldValue(objects, kBoardHandle, board::LayerApi(layer), layer, name, &v);
    return static_cast<int>(v);
  };
  // The copper chain: from the first layer (by number) that has no layer
  // above but one below, down along the links; a cycle ends the walk.
  int first = 0;
  for (int layer = 1; layer <= kMaxLegacyLayer && first == 0; ++layer) {
    if (link(layer, "prevLayer") == 0 && link(layer, "nextLayer") != 0) first = layer;
  }
  w.Raw("[");
  Listing layers(w);
  bool visited[kMaxLegacyLayer + 1] = {};
  for (int layer = first; layer >= 1 && layer <= kMaxLegacyLayer && !visited[layer]; layer = link(layer, "nextLayer")) {
    visited[layer] = true;
    layers.Next();
    std::string name;
    FieldString(objects, kBoardHandle, board::LayerApi(layer), layer, "name", &name);
    w.Raw("{");
    Listing fields(w);
    fields.Member("layer");
    w.Int(layer);
    fields.Member("name");
    w.String(name);
    fields.Member("prev");
    w.Int(link(layer, "prevLayer"));
    fields.Member("next");
    w.Int(link(layer, "nextLayer"));
    w.Raw("}");
  }
  w.Raw("]");
}

void LayerPairsJson(JsonWriter& w, const ObjectStore& objects) {
  int64_t count = 0;
  FieldValue(objects, kBoardHandle, Api::QueryBoardLayerPairsCount, 0, "count", &count);
  w.Raw("[");
  Listing pairs(w);
  for (int32_t i = 0; i < count; ++i) {
    int64_t l1 = 0, l2 = 0;
    FieldValue(objects, kBoardHandle, Api::QueryBoardLayerPairAt, i, "layer1", &l1);
    FieldValue(objects, kBoardHandle, Api::QueryBoardLayerPairAt, i, "layer2", &l2);
    pairs.Next();
    w.Raw("{");
    Listing fields(w);
    fields.Member("layer1");
    w.Int(l1);
    fields.Member("layer2");
    w.Int(l2);
    w.Raw("}");
  }
  w.Raw("]");
}

std::string BoardJson(const ObjectStore& objects) {
  JsonWriter w;
  const HostObject& board = *objects.Find(kBoardHandle);
  w.Raw("{\n");
  w.Key("board");
  w.Raw("{");
  Listing boardFields(w);
  boardFields.Member("handle");
  w.Int(kBoardHandle);
  boardFields.Member("layerStack");
  LayerStackJson(w, objects);
  boardFields.Member("layerPairs");
  LayerPairsJson(w, objects);
  boardFields.Member("members");
  w.Handles(board.members.View());
  boardFields.Member("attributes");
  AttributesJson(w, objects, board);
  w.Raw("},\n");

  w.Key("objects");
  w.Raw("[\n");
  Listing listed(w, ",\n");
  std::vector<uint32_t> nets, components;
  for (uint32_t h = 1; h <= objects.HandleLimit(); ++h) {
    const HostObject* found = objects.Find(h);
    if (found == nullptr || found->kind == kBoardKind) continue;
    const HostObject& o = *found;
    if (o.kind == ORVIK_KIND_NET) nets.push_back(h);
    if (o.kind == ORVIK_KIND_COMPONENT) components.push_back(h);
    listed.Next();
    w.Raw("{");
    Listing fields(w);
    fields.Member("handle");
    w.Int(h);
    fields.Member("kind");
    w.String(KindName(o.kind));
    fields.Member("memberOf");
    w.Handles(o.memberOf.View());
    if (o.kind == ORVIK_KIND_TEXT && o.role != TextRole::None) {
      fields.Member(o.role == TextRole::Designator ? "designatorOf" : "commentOf");
      w.Int(o.link[0]);
    }
    fields.Member("attributes");
    AttributesJson(w, objects, o);
    w.Raw("}");
  }
  w.Raw("\n],\n");

  auto groups = [&](std::string_view key, const std::vector<uint32_t>& handles, Api api, std::string_view nameField) {
    w.Key(key);
    w.Raw("[");
    Listing list(w, ",\n");
    for (const uint32_t handle : handles) {
      list.Next();
      std::string name;
      if (api == Api::QueryNet) {
        FieldString(objects, handle, api, 0, nameField, &name);
      } else {
        name = DisplayText(objects, handle);
      }
      w.Raw("{");
      Listing fields(w);
      fields.Member("handle");
      w.Int(handle);
      fields.Member(nameField);
      w.String(name);
      fields.Member("members");
      const HostObject* group = objects.Find(handle);
      w.Handles(group != nullptr ? group->members.View() : std::span<const uint32_t>());
      w.Raw("}");
    }
    w.Raw("]");
  };
  groups("nets", nets, Api::QueryNet, "name");
  w.Raw(",\n");
  groups("components", components, Api::QueryComponent, "designator");
  w.Raw("\n}\n");
  return std::move(w.out);
}

}  // namespace

int32_t DumpJson(const ObjectStore& objects, const char* path) {
  const std::string json = BoardJson(objects);
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file(std::fopen(path, "wb"));
  if (!file) return 1;
  if (std::fwrite(json.data(), 1, json.size(), file.get()) != json.size()) return 1;
  return std::fflush(file.get()) == 0 ? 0 : 1;
}

}  // namespace kovlan
