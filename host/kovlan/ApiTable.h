// The stored exchanges of the module: for every query entry point that
// carries attributes, the attribute fields (name, type, width, offset within
// one record) derived from the entry point's prototype, who holds the values
// (an object of certain kinds, or the board) and whether they are kept per
// layer or index.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "orvik/pcbapi.h"

namespace kovlan {

// One id per prototype of pcbapi.h, in its order.
enum class Api : uint8_t {
#define KOVLAN_API_ENUM(ret, name, params) name,
  ORVIK_PCBAPI_PROTOTYPES(KOVLAN_API_ENUM)
#undef KOVLAN_API_ENUM
      Count
};
inline constexpr int kApiCount = static_cast<int>(Api::Count);

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
// Highest ObjectId of an object kind.
inline constexpr uint8_t kMaxObjectKind = 26;
// Legacy layer numbers.
inline constexpr int kMaxLegacyLayer = 82;

struct Field {
  std::string_view name;
  FieldType type;
  BaseField base;
  uint32_t width;
  uint32_t offset;  // within one record; unused for base fields
};

struct Exchange {
  Api api;
  std::string_view name;  // exported name, e.g. "PcbApi_QueryTrack"
  Holder holder;
  uint32_t kinds;  // bit k set: objects of ObjectId k
  bool keyed;      // one record per key (layer or index)
  int16_t keyMin;
  int16_t keyMax;
  bool skipPlanes;  // keys 39..54 are not valid
  bool onlyPlanes;  // only keys 39..54 are valid
  std::span<const Field> fields;
  uint32_t recordSize;  // bytes of one record (own fields only)

  uint32_t KeyCount() const { return keyed ? static_cast<uint32_t>(keyMax - keyMin + 1) : 1u; }
  uint32_t StorageSize() const { return recordSize * KeyCount(); }
  bool KeyValid(int32_t key) const;
  bool HeldBy(uint8_t kind) const;
};

// The exchange of an entry point (holder None for those that store nothing).
const Exchange& ExchangeOf(Api api);
// By exported name; null when unknown or not stored.
const Exchange* FindExchange(std::string_view exportedName);
// Byte width of a field type (0 for blocks, whose width is per field).
uint32_t TypeWidth(FieldType type);

}  // namespace kovlan
