#include "RTL/RT_PCB/PcbSplitPlane.h"

#include "RTL/RT_PCB/PcbApi.h"

namespace orvik {

TPcbSplitPlane::TPcbSplitPlane(std::uint32_t handle) : TPcbGroupObject(handle) { ObjectId = kObjectId; }

std::int32_t TPcbSplitPlane::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  return pcbapi::QuerySplitPlane(mode, Handle, &Flags, &Index, &LayerId, &Net, &AuxByte, &ByteAfterVertices,
                                 &SplitPlaneValue, Vertices.get());
}

}  // namespace orvik
