// TPcbArc: a circular arc about (X, Y). Its line width is reached through
// GetLineWidth/SetLineWidth; GetWidth stays 0.
#pragma once

#include "RTL/RT_PCB/PcbObject.h"

namespace orvik {

class TPcbArc : public TPCBObject {
 public:
  explicit TPcbArc(std::uint32_t handle) noexcept;

  std::int32_t SyncWithHost(TSyncMode mode) override;
  std::int32_t GetParam1() const override;
  std::int32_t GetRadius() const override;
  double GetStartAngle() const override;
  double GetEndAngle() const override;
  std::int32_t GetLineWidth() const override;
  void SetParam1(std::int32_t value) override;
  void SetRadius(std::int32_t value) override;
  void SetStartAngle(double value) override;
  void SetEndAngle(double value) override;
  void SetLineWidth(std::int32_t value) override;

  std::int32_t Radius = 0;
  double StartAngle = 0.0;  // degrees
  double EndAngle = 0.0;    // degrees
  std::int32_t Width = 0;
  std::int32_t Param1 = 0;  // the host's; forwarded only
};

}  // namespace orvik
