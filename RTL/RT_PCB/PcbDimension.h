// Measurement objects: coordinate markers and dimensions with their table of
// referenced objects.
#pragma once

#include <array>
#include <cstdint>

#include "RTL/RT_PCB/PcbGroupObject.h"
#include "RTL/RT_PCB/ShortString.h"

namespace orvik {

class TPcbCoordinate : public TPcbGroupObject {
 public:
  static constexpr std::uint8_t kObjectId = ORVIK_KIND_COORDINATE;

  explicit TPcbCoordinate(std::uint32_t handle);

  // QueryCoordinate: Flags, Index, AuxByte, X, Y, LayerId, the six values.
  std::int32_t SyncWithHost(TSyncMode mode) override;

  std::array<std::int32_t, 6> CoordinateValues{};
};

// One object a dimension refers to; its values are the host's.
struct TDimensionReference {
  std::int32_t Value1 = 0;
  std::int32_t Value2 = 0;
  std::int32_t Value3 = 0;
  std::int32_t Value4 = 0;
};

class TPcbDimension : public TPcbGroupObject {
 public:
  static constexpr std::uint8_t kObjectId = ORVIK_KIND_DIMENSION;
  static constexpr std::int32_t kMaxReferences = 200;

  explicit TPcbDimension(std::uint32_t handle);

  // QueryDimension, the reference table, QueryExtDimension. At most
  // kMaxReferences entries cross, whatever count the host reports; the
  // count kept is the number of entries held. Returns the bitwise and of
  // the two dimension statuses.
  std::int32_t SyncWithHost(TSyncMode mode) override;

  std::uint8_t DimensionKind = 8;
  // The extended values, in exchange order.
  std::array<std::int32_t, 11> ExtValues{};
  std::array<std::uint8_t, 3> ExtBytes{};
  std::array<ShortString<255>, 3> ExtTexts;
  double ExtReal = 0.0;
  // The main exchange's own values: two before LayerId, five after it.
  std::array<std::int32_t, 7> DimensionValues{};
  std::uint8_t DimensionByte = 0;
  std::array<TDimensionReference, kMaxReferences> References{};
  std::int32_t ReferenceCount = 0;
};

}  // namespace orvik
