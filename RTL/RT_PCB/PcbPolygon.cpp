#include "RTL/RT_PCB/PcbPolygon.h"

#include "RTL/RT_PCB/PcbApi.h"

namespace orvik {

TPcbPolygon::TPcbPolygon(std::uint32_t handle) : TPcbGroupObject(handle) { ObjectId = kObjectId; }

std::int32_t TPcbPolygon::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  return pcbapi::QueryPolygon(mode, Handle, &Flags, &Index, &LayerId, &Net, &AuxByte, &PolygonByte2, &PolygonByte3,
                              &PolygonByte4, &PolygonValue1, &PolygonValue2, &ByteAfterVertices, &WordAfterVertices,
                              &PolygonValue3, &PolygonByte1, &PolygonValue4, Vertices.get());
}

TPcbBoardOutline::TPcbBoardOutline(std::uint32_t handle) : TPcbPolygon(handle) { ObjectId = kObjectId; }

}  // namespace orvik
