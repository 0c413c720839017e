#include "host/kovlan/ApiTable.h"

#include <array>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <type_traits>
#include <vector>

namespace kovlan {
namespace {

// Attribute types from the prototype: every parameter that is the address
// of writable storage is one attribute.
template <typename T>
constexpr bool kIsAttribute = std::is_pointer_v<T> && !std::is_const_v<std::remove_pointer_t<T>>;

template <typename T>
constexpr FieldType TypeCode() {
  if constexpr (std::is_same_v<T, uint8_t>) return FieldType::U8;
  if constexpr (std::is_same_v<T, uint16_t>) return FieldType::U16;
  if constexpr (std::is_same_v<T, int16_t>) return FieldType::I16;
  if constexpr (std::is_same_v<T, uint32_t>) return FieldType::U32;
  if constexpr (std::is_same_v<T, int32_t>) return FieldType::I32;
  if constexpr (std::is_same_v<T, int64_t>) return FieldType::I64;
  if constexpr (std::is_same_v<T, double>) return FieldType::F64;
  if constexpr (std::is_same_v<T, OrvikShortString>) return FieldType::Str;
  return FieldType::Block;  // char: a raw buffer
}

template <typename Sig>
struct AttributeTypes;

template <typename R, typename... A>
struct AttributeTypes<R(A...)> {
  static constexpr int kCount = (0 + ... + (kIsAttribute<A> ? 1 : 0));
  static constexpr std::array<FieldType, kCount> kTypes = [] {
    std::array<FieldType, kCount> out{};
    std::size_t i = 0;
    ((kIsAttribute<A> ? (out[i++] = TypeCode<std::remove_pointer_t<A>>(), 0) : 0), ...);
    return out;
  }();
};

constexpr std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '(')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == ')')) s.remove_suffix(1);
  return s;
}

// Calls fn(name) for every attribute parameter of a stringized parameter
// list such as "(uint8_t mode, uint32_t handle, int32_t* x)".
template <typename Fn>
constexpr void ForEachAttributeName(std::string_view params, Fn&& fn) {
  params = Trim(params);
  while (!params.empty()) {
    const std::size_t comma = params.find(',');
    const std::string_view param = Trim(params.substr(0, comma));
    params = comma == std::string_view::npos ? std::string_view{} : params.substr(comma + 1);
    if (param.find('*') == std::string_view::npos || param.starts_with("const")) continue;
    const std::size_t space = param.find_last_of(" *");
    fn(param.substr(space + 1));
  }
}

constexpr int CountAttributeNames(std::string_view params) {
  int n = 0;
  ForEachAttributeName(params, [&n](std::string_view) { ++n; });
  return n;
}

// The prototypes' parameter names and types must describe the same
// attributes.
#define KOVLAN_CHECK_NAMES(ret, name, params)                                                \
  static_assert(CountAttributeNames(#params) == AttributeTypes<PcbApi_##name##_sig>::kCount, \
                "attribute names of " #name);
ORVIK_PCBAPI_PROTOTYPES(KOVLAN_CHECK_NAMES)
#undef KOVLAN_CHECK_NAMES

struct Prototype {
  std::string_view params;
  std::span<const FieldType> types;
};

#define KOVLAN_PROTOTYPE(ret, name, params) Prototype{#params, AttributeTypes<PcbApi_##name##_sig>::kTypes},
const Prototype kPrototypes[] = {ORVIK_PCBAPI_PROTOTYPES(KOVLAN_PROTOTYPE)};
#undef KOVLAN_PROTOTYPE
static_assert(std::size(kPrototypes) == kApiCount);

constexpr uint32_t Kind(int k) { return 1u << k; }
constexpr uint32_t kArc = Kind(ORVIK_KIND_ARC), kPad = Kind(ORVIK_KIND_PAD), kVia = Kind(ORVIK_KIND_VIA),
                   kTrack = Kind(ORVIK_KIND_TRACK), kText = Kind(ORVIK_KIND_TEXT), kFill = Kind(ORVIK_KIND_FILL),
                   kFromTo = Kind(ORVIK_KIND_FROM_TO), kNet = Kind(ORVIK_KIND_NET),
                   kComponent = Kind(ORVIK_KIND_COMPONENT), kPolygon = Kind(ORVIK_KIND_POLYGON),
                   kRegion = Kind(ORVIK_KIND_REGION), kDimension = Kind(ORVIK_KIND_DIMENSION),
                   kCoordinate = Kind(ORVIK_KIND_COORDINATE), kClass = Kind(ORVIK_KIND_CLASS),
                   kRule = Kind(ORVIK_KIND_RULE), kManualFromTo = Kind(ORVIK_KIND_MANUAL_FROM_TO),
                   kViolation = Kind(ORVIK_KIND_VIOLATION), kEmbedded = Kind(ORVIK_KIND_EMBEDDED),
                   kEmbeddedBoard = Kind(ORVIK_KIND_EMBEDDED_BOARD), kSplitPlane = Kind(ORVIK_KIND_SPLIT_PLANE),
                   kBoardOutline = Kind(ORVIK_KIND_BOARD_OUTLINE);

struct Config {
  Holder holder = Holder::None;
  uint32_t kinds = 0;
  bool keyed = false;
  int16_t keyMin = 0;
  int16_t keyMax = 0;
  bool skipPlanes = false;
  bool onlyPlanes = false;
};

constexpr Config Obj(uint32_t kinds) { return {Holder::Object, kinds}; }
constexpr Config ObjKeyed(uint32_t kinds, int16_t lo, int16_t hi) { return {Holder::Object, kinds, true, lo, hi}; }
constexpr Config Board() { return {Holder::Board, 0}; }
constexpr Config BoardKeyed(int16_t lo, int16_t hi) { return {Holder::Board, 0, true, lo, hi}; }

Config ConfigOf(Api api) {
  switch (api) {
    case Api::GetObjectBitField2:
    case Api::GetObjectBitField3:
    case Api::QueryPrimitive:
      return Obj(kObjectKinds);
    case Api::QueryPad:
    case Api::QueryPadStackMode:
      return Obj(kPad);
    case Api::QueryPadOrViaShapeOnLayer:
    case Api::QueryPadOrViaSizeOnLayer:
      return ObjKeyed(kPad | kVia, 0, kMaxLegacyLayer);
    case Api::QueryPadCornerRadiusOnLayer:
    case Api::QueryPadCRPercentageOnLayer:
      return ObjKeyed(kPad, 0, kMaxLegacyLayer);
    case Api::QueryVia:
      return Obj(kVia);
    case Api::QueryTrack:
      return Obj(kTrack);
    case Api::QueryArc:
      return Obj(kArc);
    case Api::QueryText:
    case Api::QueryTrueTypeTextInfo:
    case Api::QueryBarCodeTextInfo:
      return Obj(kText);
    case Api::QueryFill:
      return Obj(kFill);
    case Api::QueryRegion:
      return Obj(kRegion);
    case Api::QueryNet:
      return Obj(kNet);
    case Api::QueryComponent:
    case Api::QueryComponentEx:
    case Api::QueryComponentSourceLinks:
    case Api::QueryDefaultPCB3DModel:
    case Api::QueryComponentKind:
    case Api::QueryComponentChannelOffset:
      return Obj(kComponent);
    case Api::QueryPolygon:
      return Obj(kPolygon | kBoardOutline);
    case Api::QuerySplitPlane:
      return Obj(kSplitPlane);
    case Api::QueryClass:
      return Obj(kClass);
    case Api::QueryFromTo:
      return Obj(kFromTo);
    case Api::QueryManualFromTo:
      return Obj(kManualFromTo);
    case Api::QueryCoordinate:
      return Obj(kCoordinate);
    case Api::QueryDimension:
    case Api::QueryExtDimension:
    case Api::References_Count:
      return Obj(kDimension);
    case Api::References_At:
      return ObjKeyed(kDimension, 0, 199);
    case Api::QueryEmbeddedBoard:
      return Obj(kEmbeddedBoard);
    case Api::QueryEmbedded:
      return Obj(kEmbedded);
    case Api::QueryRule:
      return Obj(kRule);
    case Api::QueryViolation:
      return Obj(kViolation);
    case Api::QueryBoard:
    case Api::QueryBoardExternalDielectrics:
    case Api::QueryBoardSplitPlaneMode:
    case Api::QueryBoardGridsEx:
    case Api::QueryBoardOutputOptions:
    case Api::QueryBoardGerberOptions:
    case Api::QueryBoardPrinterOptions:
    case Api::QueryBoardAdvancedPlacerOptions:
    case Api::QueryBoardEngineeringChangeOrderOptions:
    case Api::QueryBoardLayerPairsCount:
      return Board();
    case Api::QueryBoardLayerInfo:
    case Api::QueryLayerDielectric:
    case Api::QueryBoardPrinterOptionsCompositeLayer:
      return BoardKeyed(1, kMaxLegacyLayer);
    case Api::QueryLayer: {
      Config c = BoardKeyed(1, kMaxLegacyLayer);
      c.skipPlanes = true;
      return c;
    }
    case Api::QueryInternalPlane: {
      Config c = BoardKeyed(ORVIK_LAYER_InternalPlane1, ORVIK_LAYER_InternalPlane16);
      c.onlyPlanes = true;
      return c;
    }
    case Api::QueryBoardOutputOptionsPlotLayers:
    case Api::QueryBoardOutputOptionsFlipLayers:
      return BoardKeyed(0, 255);
    case Api::QueryBoardPrinterOptionsPlotterPen:
      return BoardKeyed(1, 8);
    case Api::QueryBoardLayerPairAt:
      return BoardKeyed(0, 255);
    default:
      return {};
  }
}

uint32_t BlockWidth(std::string_view name) {
  if (name == "vertices") return ORVIK_VERTICES_SIZE;
  if (name == "buffer4096") return ORVIK_EMBEDDED_BUFFER_SIZE;
  if (name == "block27") return ORVIK_PRINTER_BLOCK_SIZE;
  return 0;
}

BaseField BaseFieldOf(Api api, std::string_view name, FieldType type) {
  struct Rule {
    std::string_view name;
    FieldType type;
    BaseField base;
  };
  static constexpr Rule kRules[] = {
      {"flags", FieldType::U16, BaseField::Flags},     {"index", FieldType::I16, BaseField::Index},
      {"layerId", FieldType::U32, BaseField::LayerId}, {"legacyLayer", FieldType::U8, BaseField::LegacyLayer},
      {"net", FieldType::I32, BaseField::Net},         {"component", FieldType::I32, BaseField::Component},
      {"auxByte", FieldType::U8, BaseField::AuxByte},
  };
  if (api == Api::GetObjectBitField2) return BaseField::Bits2;
  if (api == Api::GetObjectBitField3) return BaseField::Bits3;
  for (const Rule& r : kRules) {
    if (r.name == name && r.type == type) return r.base;
  }
  return BaseField::None;
}

uint32_t BaseOffsetOf(BaseField base) {
  switch (base) {
    case BaseField::Flags:
      return offsetof(BaseValues, flags);
    case BaseField::Index:
      return offsetof(BaseValues, index);
    case BaseField::LayerId:
    case BaseField::LegacyLayer:
      return offsetof(BaseValues, layerId);
    case BaseField::Net:
      return offsetof(BaseValues, net);
    case BaseField::Component:
      return offsetof(BaseValues, component);
    case BaseField::AuxByte:
      return offsetof(BaseValues, auxByte);
    case BaseField::Bits2:
      return offsetof(BaseValues, bits2);
    case BaseField::Bits3:
      return offsetof(BaseValues, bits3);
    case BaseField::None:
      break;
  }
  return 0;
}

struct Tables {
  std::array<std::vector<Field>, kApiCount> fields;
  std::array<Exchange, kApiCount> exchanges{};

  Tables() {
    for (int i = 0; i < kApiCount; ++i) {
      const Api api = static_cast<Api>(i);
      const Prototype& proto = kPrototypes[i];
      const Config config = ConfigOf(api);
      std::vector<Field>& list = fields[static_cast<std::size_t>(i)];
      uint32_t offset = 0;
      if (config.holder != Holder::None) {
        std::size_t n = 0;
        ForEachAttributeName(proto.params, [&](std::string_view name) {
          const FieldType type = proto.types[n++];
          Field f{name, type, BaseField::None, TypeWidth(type), 0, 0, FieldOp::CopyN, false, 0};
          if (type == FieldType::Block) f.width = BlockWidth(name);
          if (type == FieldType::U8 && BlockWidth(name) != 0) {
            f.type = FieldType::Block;
            f.width = BlockWidth(name);
          }
          if (config.holder == Holder::Object) f.base = BaseFieldOf(api, name, f.type);
          if (f.base == BaseField::None) {
            f.offset = offset;
            // A string is stored as its pool id.
            offset += f.type == FieldType::Str ? kStoredStringWidth : f.width;
          } else {
            f.baseOffset = BaseOffsetOf(f.base);
          }
          f.inBase = f.base != BaseField::None;
          f.at = f.inBase ? f.baseOffset : f.offset;
          if (f.base == BaseField::LegacyLayer) {
            f.op = FieldOp::LegacyLayer;
          } else if (!f.inBase && f.type == FieldType::Str) {
            f.op = FieldOp::String;
          } else {
            f.op = f.width == 1   ? FieldOp::Copy1
                   : f.width == 2 ? FieldOp::Copy2
                   : f.width == 4 ? FieldOp::Copy4
                   : f.width == 8 ? FieldOp::Copy8
                                  : FieldOp::CopyN;
          }
          list.push_back(f);
        });
      }
      exchanges[static_cast<std::size_t>(i)] =
          Exchange{api,           ExportName(api), config.holder,     config.kinds,      config.keyed,
                   config.keyMin, config.keyMax,   config.skipPlanes, config.onlyPlanes, std::span<const Field>(list),
                   offset};
    }
  }
};

const Tables& GetTables() {
  static const Tables tables;
  return tables;
}

}  // namespace

uint32_t TypeWidth(FieldType type) {
  switch (type) {
    case FieldType::U8:
      return 1;
    case FieldType::U16:
    case FieldType::I16:
      return 2;
    case FieldType::U32:
    case FieldType::I32:
      return 4;
    case FieldType::I64:
    case FieldType::F64:
      return 8;
    case FieldType::Str:
      return sizeof(OrvikShortString);
    case FieldType::Block:
      return 0;
  }
  return 0;
}

const Exchange* detail::BuildExchanges() { return GetTables().exchanges.data(); }

const Exchange* FindExchange(std::string_view exportedName) {
  for (const Exchange& e : GetTables().exchanges) {
    if (e.holder != Holder::None && e.name == exportedName) return &e;
  }
  return nullptr;
}

const Field& FieldOf(Api api, std::string_view name) {
  const Exchange& ex = ExchangeOf(api);
  const Field* f = ex.Find(name);
  if (f == nullptr) [[unlikely]] {
    std::fprintf(stderr, "kovlan: %.*s has no field %.*s\n", static_cast<int>(ex.name.size()), ex.name.data(),
                 static_cast<int>(name.size()), name.data());
    std::abort();
  }
  return *f;
}

uint8_t LegacyFromLayerId(uint32_t layerId) {
  const uint32_t tag = layerId >> 16;
  if (tag == 0) return (layerId & 0xFFFFu) <= kMaxLegacyLayer ? static_cast<uint8_t>(layerId) : 0;
  if ((layerId & 0xFFFFu) == 0) return 0;
  if (tag == ORVIK_PARTITION_TAG_SIGNAL) {
    // The last signal number is the bottom layer; others are mid layers past the legacy range.
    return (layerId & 0xFFFFu) == ORVIK_PARTITION_MAX_NUMBER ? ORVIK_LAYER_BottomLayer : ORVIK_LAYER_MidLayer30;
  }
  if (tag == ORVIK_PARTITION_TAG_INTERNAL_PLANE) return ORVIK_LAYER_InternalPlane16;
  if (tag == ORVIK_PARTITION_TAG_MECHANICAL) return ORVIK_LAYER_Mechanical16;
  return 0;
}

}  // namespace kovlan
