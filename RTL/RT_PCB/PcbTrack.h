// TPcbTrack: a straight segment from (X, Y) to (X2, Y2).
#pragma once

#include "RTL/RT_PCB/PcbObject.h"

namespace orvik {

class TPcbTrack : public TPCBObject {
 public:
  explicit TPcbTrack(std::uint32_t handle) noexcept;

  std::int32_t SyncWithHost(TSyncMode mode) override;
  void MoveBy(std::int32_t dx, std::int32_t dy) override;
  std::int32_t GetX2() const override;
  std::int32_t GetY2() const override;
  std::int32_t GetParam1() const override;
  std::int32_t GetParam2() const override;
  std::int32_t GetParam3() const override;
  std::int32_t GetWidth() const override;
  void SetX2(std::int32_t value) override;
  void SetY2(std::int32_t value) override;
  void SetParam1(std::int32_t value) override;
  void SetParam2(std::int32_t value) override;
  void SetParam3(std::int32_t value) override;
  void SetWidth(std::int32_t value) override;

  std::int32_t X2 = 0;
  std::int32_t Y2 = 0;
  std::int32_t Width = 0;
  std::int32_t Param1 = 0;  // Param1..3 are the host's; forwarded only
  std::int32_t Param2 = 0;
  std::int32_t Param3 = 0;
};

}  // namespace orvik
