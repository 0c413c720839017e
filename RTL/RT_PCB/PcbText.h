// TPcbText: a string drawn at (X, Y), with its TrueType and bar-code
// settings. Its height is the object's size; its stroke width is reached
// through GetWidth, GetLineWidth and SetLineWidth.
#pragma once

#include <array>

#include "RTL/RT_PCB/PcbObject.h"
#include "RTL/RT_PCB/ShortString.h"

namespace orvik {

class TPcbText : public TPCBObject {
 public:
  explicit TPcbText(std::uint32_t handle) noexcept;

  // Returns the TrueType exchange's status, or 1 when the bar-code exchange
  // answers 1; the main text exchange's status is not reported.
  std::int32_t SyncWithHost(TSyncMode mode) override;
  std::int32_t GetParam2() const override;
  std::int32_t GetParam3() const override;
  double GetRotation() const override;
  std::int32_t GetWidth() const override;
  std::int32_t GetSize() const override;
  std::int32_t GetLineWidth() const override;
  std::int32_t GetTextOption() const override;
  bool GetMirrored() const override;
  std::string GetText() override;
  void SetParam2(std::int32_t value) override;
  void SetParam3(std::int32_t value) override;
  void SetRotation(double value) override;
  void SetSize(std::int32_t value) override;
  void SetLineWidth(std::int32_t value) override;
  void SetTextOption(std::int32_t value) override;
  void SetMirrored(bool value) override;
  void SetText(std::string_view value) override;  // keeps the first 254 characters

  std::int32_t Height = 0;
  std::int32_t TextOption = 0;
  double Rotation = 0.0;  // degrees
  std::uint8_t Mirrored = 0;
  ShortString<254> Text;
  std::int32_t Width = 0;   // stroke width
  std::int32_t Param2 = 0;  // the host's; forwarded only
  std::int32_t Param3 = 0;
  ShortString<254> DisplayText;  // the host's display form, refreshed by every exchange
  std::uint8_t TrueTypeKind = 0;
  ShortString<255> FontName{"Arial"};
  std::uint8_t TrueTypeFlag1 = 0;
  std::uint8_t TrueTypeFlag2 = 0;
  std::uint8_t TrueTypeFlag3 = 0;
  std::int32_t TrueTypeValue = 200000;  // 20 mils
  std::array<std::uint8_t, 4> BarCodeInfo{};
};

}  // namespace orvik
