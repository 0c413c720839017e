// TPcbFill: a filled rectangle with corners (X, Y) and (X2, Y2), turned by
// Rotation degrees.
#pragma once

#include "RTL/RT_PCB/PcbObject.h"

namespace orvik {

class TPcbFill : public TPCBObject {
 public:
  explicit TPcbFill(std::uint32_t handle) noexcept;

  std::int32_t SyncWithHost(TSyncMode mode) override;
  void MoveBy(std::int32_t dx, std::int32_t dy) override;
  std::int32_t GetX2() const override;
  std::int32_t GetY2() const override;
  std::int32_t GetParam1() const override;
  double GetRotation() const override;
  void SetX2(std::int32_t value) override;
  void SetY2(std::int32_t value) override;
  void SetParam1(std::int32_t value) override;
  void SetRotation(double value) override;

  std::int32_t X2 = 0;
  std::int32_t Y2 = 0;
  std::int32_t Param1 = 0;  // the host's; forwarded only
  double Rotation = 0.0;    // degrees
};

}  // namespace orvik
