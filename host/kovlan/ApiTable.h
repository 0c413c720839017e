// The stored exchanges of the module: for every query entry point that
// carries attributes, the attribute fields (name, type, width, offset within
// one record) derived from the entry point's prototype, who holds the values
// (an object of certain kinds, or the board) and whether they are kept per
// layer or index; and every entry point's exported name.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <string_view>

#include "orvik/layers.h"
#include "orvik/objectkinds.h"
#include "orvik/pcbapi.h"
#include "orvik/pcbapi_names.h"

namespace kovlan {

// One id per prototype of pcbapi.h, in its order.
enum class Api : uint8_t {
#define KOVLAN_API_ENUM(ret, name, params) name,
  ORVIK_PCBAPI_PROTOTYPES(KOVLAN_API_ENUM)
#undef KOVLAN_API_ENUM
      Count
};
inline constexpr int kApiCount = static_cast<int>(Api::Count);

namespace detail {
struct EntryPointName {
  std::string_view name;      // as in the prototypes
  std::string_view exported;  // the export's name
};
inline constexpr EntryPointName kEntryPointNames[] = {
#define KOVLAN_ENTRY_POINT_NAME(name, exported) {#name, exported},
    ORVIK_PCBAPI_ENTRY_POINTS(KOVLAN_ENTRY_POINT_NAME)
#undef KOVLAN_ENTRY_POINT_NAME
};
constexpr std::string_view ExportedName(std::string_view name) {
  for (const EntryPointName& e : kEntryPointNames) {
    if (e.name == name) return e.exported;
  }
  return {};
}
// The exported name of every prototype, from the module's list of names.
inline constexpr std::string_view kExportNames[] = {
#define KOVLAN_EXPORT_NAME(ret, name, params) ExportedName(#name),
    ORVIK_PCBAPI_PROTOTYPES(KOVLAN_EXPORT_NAME)
#undef KOVLAN_EXPORT_NAME
};
static_assert(std::size(kExportNames) == kApiCount);
static_assert(
    [] {
      for (const std::string_view name : kExportNames) {
        if (name.empty()) return false;
      }
      return true;
    }(),
    "every prototype names an entry point of pcbapi_names.h");
}  // namespace detail

// The exported name of an entry point, e.g. "PcbApi_QueryTrack".
constexpr std::string_view ExportName(Api api) { return detail::kExportNames[static_cast<std::size_t>(api)]; }

enum class FieldType : uint8_t { U8, U16, I16, U32, I32, I64, F64, Str, Block };

// Attributes that every object holds once, whichever exchange carries them.
enum class BaseField : uint8_t { None, Flags, Index, LayerId, LegacyLayer, Net, Component, AuxByte, Bits2, Bits3 };

enum class Holder : uint8_t {
  None,    // not a stored exchange
  Object,  // an object of one of `kinds`
  Board    // the board
};

// Internal kind code of the board in the handle table.
inline constexpr uint8_t kBoardKind = 0xFF;
// Bit k set: k is the number of an object kind.
inline constexpr uint32_t kObjectKinds = 0
#define KOVLAN_KIND_BIT(name, number, text) | (1u << (number))
    ORVIK_OBJECT_KINDS(KOVLAN_KIND_BIT)
#undef KOVLAN_KIND_BIT
    ;
// Highest ObjectId of an object kind.
inline constexpr uint8_t kMaxObjectKind = ORVIK_KIND_MAX;
static_assert(static_cast<int>(std::bit_width(kObjectKinds)) - 1 == ORVIK_KIND_MAX,
              "ORVIK_KIND_MAX is the highest kind of the table");
// The highest legacy layer number.
inline constexpr int kMaxLegacyLayer = ORVIK_LEGACY_LAYER_COUNT - 1;

// Bytes a stored string takes in a record: the id of its text in the host's
// string pool (0 is the empty string), not the 256 bytes of the exchange.
inline constexpr uint32_t kStoredStringWidth = 4;

// Attributes that every object holds once, whichever exchange carries them.
struct BaseValues {
  uint16_t flags = 0;
  int16_t index = 0;
  uint32_t layerId = 0;
  int32_t net = 0;
  int32_t component = 0;
  uint8_t auxByte = 0;
  uint8_t bits2 = 0;
  uint16_t bits3 = 0;
};

// How an exchange moves one attribute (precomputed per field).
enum class FieldOp : uint8_t { Copy1, Copy2, Copy4, Copy8, CopyN, String, LegacyLayer };

struct Field {
  std::string_view name;
  FieldType type;
  BaseField base;
  uint32_t width;       // bytes exchanged (a string: a whole OrvikShortString)
  uint32_t offset;      // within one stored record; unused for base fields
  uint32_t baseOffset;  // base fields: offset within BaseValues
  FieldOp op;           // how an exchange moves it
  bool inBase;          // held in BaseValues, not in the record
  uint32_t at;          // baseOffset or offset
};

struct Exchange {
  Api api;
  std::string_view name;  // exported name, e.g. "PcbApi_QueryTrack"
  Holder holder;
  uint32_t kinds;  // bit k set: objects of ObjectId k
  bool keyed;      // one record per key (layer or index)
  int16_t keyMin;
  int16_t keyMax;
  bool skipPlanes;  // the planes' keys are not valid
  bool onlyPlanes;  // only the planes' keys are valid
  std::span<const Field> fields;
  uint32_t recordSize;  // bytes of one stored record (own fields only)

  uint32_t KeyCount() const { return keyed ? static_cast<uint32_t>(keyMax - keyMin + 1) : 1u; }
  uint32_t StorageSize() const { return recordSize * KeyCount(); }
  bool KeyValid(int32_t key) const {
    if (!keyed) return true;
    if (key < keyMin || key > keyMax) return false;
    const bool plane = OrvikIsInternalPlane(key);
    if (skipPlanes && plane) return false;
    if (onlyPlanes && !plane) return false;
    return true;
  }
  bool HeldBy(uint8_t kind) const {
    if (holder == Holder::Board) return kind == kBoardKind;
    if (holder == Holder::Object) return kind <= 31 && (kinds & (1u << kind)) != 0;
    return false;
  }
  // The field called `fieldName`; null when the exchange has none.
  const Field* Find(std::string_view fieldName) const {
    for (const Field& f : fields) {
      if (f.name == fieldName) return &f;
    }
    return nullptr;
  }
};

namespace detail {
const Exchange* BuildExchanges();
// All exchanges, built once on first use.
inline const Exchange* Exchanges() {
  static const Exchange* const table = BuildExchanges();
  return table;
}
}  // namespace detail

// The exchange of an entry point (holder None for those that store nothing).
inline const Exchange& ExchangeOf(Api api) { return detail::Exchanges()[static_cast<std::size_t>(api)]; }
// By exported name; null when unknown or not stored.
const Exchange* FindExchange(std::string_view exportedName);
// The field `name` of the exchange of `api`, for the host's own code, which
// names only fields that exist: a missing one is a defect in the host, and
// the program stops with a message naming it.
const Field& FieldOf(Api api, std::string_view name);
// Byte width of a field type (0 for blocks, whose width is per field).
uint32_t TypeWidth(FieldType type);
// Legacy layer number of a host layer identifier (0 when it has none): what
// a legacy-layer attribute reads.
uint8_t LegacyFromLayerId(uint32_t layerId);

}  // namespace kovlan
