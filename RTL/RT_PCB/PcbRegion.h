// TPCBRegion: a region whose attributes the host keeps; the client forwards
// them. X and Y are not exchanged.
#pragma once

#include "RTL/RT_PCB/PcbObject.h"

namespace orvik {

class TPCBRegion : public TPCBObject {
 public:
  explicit TPCBRegion(std::uint32_t handle) noexcept;

  std::int32_t SyncWithHost(TSyncMode mode) override;

  std::int32_t RegionParam1 = 0;
  std::int32_t RegionParam2 = 0;
  std::int32_t RegionParam3 = 0;
  std::int32_t RegionParam4 = 0;
  std::uint8_t RegionFlag = 0;
  std::int32_t RegionParam5 = 0;
  std::int32_t RegionParam6 = 0;
};

}  // namespace orvik
