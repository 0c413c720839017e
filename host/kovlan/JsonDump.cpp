#include "host/kovlan/JsonDump.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <span>

namespace kovlan {
namespace {

const char* KindName(uint8_t kind) {
  static const char* const kNames[] = {"none",
                                       "arc",
                                       "pad",
                                       "via",
                                       "track",
                                       "text",
                                       "fill",
                                       "fromTo",
                                       "net",
                                       "component",
                                       "polygon",
                                       "region",
                                       "componentBody",
                                       "dimension",
                                       "coordinate",
                                       "class",
                                       "rule",
                                       "manualFromTo",
                                       "differentialPair",
                                       "violation",
                                       "embedded",
                                       "embeddedBoard",
                                       "splitPlane",
                                       "kind23",
                                       "kind24",
                                       "kind25",
                                       "boardOutline"};
  if (kind == kBoardKind) return "board";
  return kind < std::size(kNames) ? kNames[kind] : "unknown";
}

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
  void String(std::string_view s) {
    out += '"';
    for (const char c : s) {
      const auto b = static_cast<unsigned char>(c);
      if (c == '"' || c == '\\') {
        out += '\\';
        out += c;
      } else if (b < 0x20 || b >= 0x80) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\u%04X", b);
        out += buf;
      } else {
        out += c;
      }
    }
    out += '"';
  }
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
  void Handles(std::span<const uint32_t> handles) {
    out += '[';
    for (std::size_t i = 0; i < handles.size(); ++i) {
      if (i != 0) out += ',';
      Int(handles[i]);
    }
    out += ']';
  }
};

void FieldJson(JsonWriter& w, const Host& host, const HostObject& o, const uint8_t* record, const Field& f) {
  w.Key(f.name);
  if (f.base == BaseField::LegacyLayer) {
    w.Int(LegacyFromLayerId(o.base.layerId));
    return;
  }
  if (f.type == FieldType::Str) {
    w.String(host.StoredString(record, f));
    return;
  }
  uint8_t value[8] = {};
  const void* p = value;
  if (f.type == FieldType::Block) {
    p = record + f.offset;
  } else {
    host.ReadValue(o, record, f, value);
  }
  switch (f.type) {
    case FieldType::U8:
      w.Int(*static_cast<const uint8_t*>(p));
      return;
    case FieldType::U16: {
      uint16_t v;
      std::memcpy(&v, p, sizeof v);
      w.Int(v);
      return;
    }
    case FieldType::I16: {
      int16_t v;
      std::memcpy(&v, p, sizeof v);
      w.Int(v);
      return;
    }
    case FieldType::U32: {
      uint32_t v;
      std::memcpy(&v, p, sizeof v);
      w.Int(v);
      return;
    }
    case FieldType::I32: {
      int32_t v;
      std::memcpy(&v, p, sizeof v);
      w.Int(v);
      return;
    }
    case FieldType::I64: {
      int64_t v;
      std::memcpy(&v, p, sizeof v);
      w.Int(v);
      return;
    }
    case FieldType::F64: {
      double v;
      std::memcpy(&v, p, sizeof v);
      w.Double(v);
      return;
    }
    case FieldType::Str:
      return;
    case FieldType::Block:
      w.Hex(static_cast<const uint8_t*>(p), f.width);
      return;
  }
}

void RecordJson(JsonWriter& w, const Host& host, const HostObject& o, const uint8_t* record, const Exchange& ex) {
  w.Raw("{");
  for (std::size_t i = 0; i < ex.fields.size(); ++i) {
    if (i != 0) w.Raw(",");
    FieldJson(w, host, o, record, ex.fields[i]);
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
void AttributesJson(JsonWriter& w, const Host& host, const HostObject& o) {
  uint8_t scratch[Host::kScratchSize];
  w.Raw("{");
  bool first = true;
  for (int a = 0; a < kApiCount; ++a) {
    const Exchange& ex = ExchangeOf(static_cast<Api>(a));
    if (!ex.HeldBy(o.kind)) continue;
    if (!first) w.Raw(",");
    first = false;
    w.Key(ex.name);
    if (!ex.keyed) {
      RecordJson(w, host, o, host.RecordForRead(o, ex, 0, scratch), ex);
      continue;
    }
    w.Raw("{");
    bool firstKey = true;
    for (int32_t key = ex.keyMin; key <= ex.keyMax; ++key) {
      if (!ex.KeyValid(key)) continue;
      const uint8_t* record = host.RecordForRead(o, ex, key, scratch);
      if (RecordIsZero(record, ex)) continue;
      if (!firstKey) w.Raw(",");
      firstKey = false;
      w.Key(std::to_string(key));
      RecordJson(w, host, o, record, ex);
    }
    w.Raw("}");
  }
  w.Raw("}");
}

void LayerStackJson(JsonWriter& w, Host& host) {
  const uint32_t board = host.BoardHandle();
  auto link = [&](int layer, std::string_view name) {
    int64_t v = 0;
    host.FieldValue(board, layer >= 39 && layer <= 54 ? Api::QueryInternalPlane : Api::QueryLayer, layer, name, &v);
    return static_cast<int>(v);
  };
  // The copper chain: from the first layer (by number) that has no layer
  // above but one below, down along the links; a cycle ends the walk.
  int first = 0;
  for (int layer = 1; layer <= kMaxLegacyLayer && first == 0; ++layer) {
    if (link(layer, "prevLayer") == 0 && link(layer, "nextLayer") != 0) first = layer;
  }
  w.Raw("[");
  bool visited[kMaxLegacyLayer + 1] = {};
  for (int layer = first; layer >= 1 && layer <= kMaxLegacyLayer && !visited[layer]; layer = link(layer, "nextLayer")) {
    visited[layer] = true;
    if (layer != first) w.Raw(",");
    std::string name;
    host.FieldString(board, layer >= 39 && layer <= 54 ? Api::QueryInternalPlane : Api::QueryLayer, layer, "name",
                     &name);
    w.Raw("{");
    w.Key("layer");
    w.Int(layer);
    w.Raw(",");
    w.Key("name");
    w.String(name);
    w.Raw(",");
    w.Key("prev");
    w.Int(link(layer, "prevLayer"));
    w.Raw(",");
    w.Key("next");
    w.Int(link(layer, "nextLayer"));
    w.Raw("}");
  }
  w.Raw("]");
}

void LayerPairsJson(JsonWriter& w, Host& host) {
  const uint32_t board = host.BoardHandle();
  int64_t count = 0;
  host.FieldValue(board, Api::QueryBoardLayerPairsCount, 0, "count", &count);
  w.Raw("[");
  for (int32_t i = 0; i < count; ++i) {
    int64_t l1 = 0, l2 = 0;
    host.FieldValue(board, Api::QueryBoardLayerPairAt, i, "layer1", &l1);
    host.FieldValue(board, Api::QueryBoardLayerPairAt, i, "layer2", &l2);
    if (i != 0) w.Raw(",");
    w.Raw("{");
    w.Key("layer1");
    w.Int(l1);
    w.Raw(",");
    w.Key("layer2");
    w.Int(l2);
    w.Raw("}");
  }
  w.Raw("]");
}

}  // namespace

std::string BoardJson(Host& host) {
  JsonWriter w;
  const uint32_t boardHandle = host.BoardHandle();
  HostObject& board = *host.Find(boardHandle);
  w.Raw("{\n");
  w.Key("board");
  w.Raw("{");
  w.Key("handle");
  w.Int(boardHandle);
  w.Raw(",");
  w.Key("layerStack");
  LayerStackJson(w, host);
  w.Raw(",");
  w.Key("layerPairs");
  LayerPairsJson(w, host);
  w.Raw(",");
  w.Key("members");
  w.Handles(board.members.View());
  w.Raw(",");
  w.Key("attributes");
  AttributesJson(w, host, board);
  w.Raw("},\n");

  w.Key("objects");
  w.Raw("[\n");
  bool first = true;
  std::vector<uint32_t> nets, components;
  for (uint32_t h = 1; h <= host.HandleLimit(); ++h) {
    const HostObject* found = host.Find(h);
    if (found == nullptr || found->kind == kBoardKind) continue;
    const HostObject& o = *found;
    if (o.kind == 8) nets.push_back(h);
    if (o.kind == 9) components.push_back(h);
    if (!first) w.Raw(",\n");
    first = false;
    w.Raw("{");
    w.Key("handle");
    w.Int(h);
    w.Raw(",");
    w.Key("kind");
    w.String(KindName(o.kind));
    w.Raw(",");
    w.Key("memberOf");
    w.Handles(o.memberOf.View());
    if (o.kind == 5 && o.role != TextRole::None) {
      w.Raw(",");
      w.Key(o.role == TextRole::Designator ? "designatorOf" : "commentOf");
      w.Int(o.link[0]);
    }
    w.Raw(",");
    w.Key("attributes");
    AttributesJson(w, host, o);
    w.Raw("}");
  }
  w.Raw("\n],\n");

  auto groups = [&](std::string_view key, const std::vector<uint32_t>& handles, Api api, std::string_view nameField) {
    w.Key(key);
    w.Raw("[");
    for (std::size_t i = 0; i < handles.size(); ++i) {
      if (i != 0) w.Raw(",\n");
      std::string name;
      if (api == Api::QueryNet) {
        host.FieldString(handles[i], api, 0, nameField, &name);
      } else {
        name = host.DisplayText(handles[i]);
      }
      w.Raw("{");
      w.Key("handle");
      w.Int(handles[i]);
      w.Raw(",");
      w.Key(nameField);
      w.String(name);
      w.Raw(",");
      w.Key("members");
      const HostObject* group = host.Find(handles[i]);
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

int32_t DumpJson(Host& host, const char* path) {
  const std::string json = BoardJson(host);
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file(std::fopen(path, "wb"));
  if (!file) return 1;
  if (std::fwrite(json.data(), 1, json.size(), file.get()) != json.size()) return 1;
  return std::fflush(file.get()) == 0 ? 0 : 1;
}

}  // namespace kovlan
