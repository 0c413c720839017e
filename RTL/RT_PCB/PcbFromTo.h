// Connections between two points of a net: the host's from-to, and the
// manual from-to that names its ends.
#pragma once

#include <cstdint>

#include "RTL/RT_PCB/PcbObject.h"
#include "RTL/RT_PCB/ShortString.h"

namespace orvik {

class TPcbFromTo : public TPCBObject {
 public:
  static constexpr std::uint8_t kObjectId = ORVIK_KIND_FROM_TO;

  explicit TPcbFromTo(std::uint32_t handle);

  // QueryFromTo: Index, X, Y, FromToByte1, X2, Y2, FromToByte2, Net.
  std::int32_t SyncWithHost(TSyncMode mode) override;
  std::int32_t GetX2() const override;
  std::int32_t GetY2() const override;
  void SetX2(std::int32_t value) override;
  void SetY2(std::int32_t value) override;
  bool GetFromToFlag1() const override;
  bool GetFromToFlag2() const override;
  void SetFromToByte1(std::uint8_t value) override;
  void SetFromToByte2(std::uint8_t value) override;

  std::int32_t X2 = 0;
  std::int32_t Y2 = 0;
  std::uint8_t FromToByte1 = 0;
  std::uint8_t FromToByte2 = 0;
};

class TPcbManualFromTo : public TPCBObject {
 public:
  static constexpr std::uint8_t kObjectId = ORVIK_KIND_MANUAL_FROM_TO;

  explicit TPcbManualFromTo(std::uint32_t handle);

  // QueryManualFromTo: Index, the three texts, the value.
  std::int32_t SyncWithHost(TSyncMode mode) override;

  ShortString<255> Text1;
  ShortString<255> Text2;
  ShortString<255> Text3;
  std::int32_t ManualValue = 0;
};

}  // namespace orvik
