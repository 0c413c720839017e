#include "RTL/RT_PCB/PcbRegion.h"

#include "RTL/RT_PCB/PcbApi.h"

namespace orvik {

TPCBRegion::TPCBRegion(std::uint32_t handle) noexcept : TPCBObject(handle) { ObjectId = ORVIK_KIND_REGION; }

std::int32_t TPCBRegion::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  return pcbapi::QueryRegion(mode, Handle, &RegionFlag, &Flags, &Index, &LayerId, &Net, &AuxByte, &Component,
                             &RegionParam6, &RegionParam5, &RegionParam1, &RegionParam2, &RegionParam3, &RegionParam4);
}

}  // namespace orvik
