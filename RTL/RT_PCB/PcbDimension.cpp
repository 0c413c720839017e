#include "RTL/RT_PCB/PcbDimension.h"

#include <algorithm>

#include "RTL/RT_PCB/PcbApi.h"

namespace orvik {

TPcbCoordinate::TPcbCoordinate(std::uint32_t handle) : TPcbGroupObject(handle) { ObjectId = kObjectId; }

std::int32_t TPcbCoordinate::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  auto& v = CoordinateValues;
  return pcbapi::QueryCoordinate(mode, Handle, &Flags, &Index, &AuxByte, &X, &Y, &LayerId, &v[0], &v[1], &v[2], &v[3],
                                 &v[4], &v[5]);
}

TPcbDimension::TPcbDimension(std::uint32_t handle) : TPcbGroupObject(handle) { ObjectId = kObjectId; }

std::int32_t TPcbDimension::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  auto& d = DimensionValues;
  const std::int32_t mainResult = pcbapi::QueryDimension(mode, Handle, &Flags, &Index, &AuxByte, &X, &Y, &d[0], &d[1],
                                                         &LayerId, &d[2], &d[3], &d[4], &d[5], &d[6], &DimensionByte);

  // The table has a fixed size; a larger count is cut to it, a negative one
  // exchanges nothing.
  ReferenceCount = std::clamp(ReferenceCount, 0, kMaxReferences);
  pcbapi::References_Count(mode, Handle, &ReferenceCount);
  ReferenceCount = std::clamp(ReferenceCount, 0, kMaxReferences);
  for (std::int32_t i = 0; i < ReferenceCount; ++i) {
    auto& r = References[static_cast<std::size_t>(i)];
    pcbapi::References_At(mode, Handle, i, &r.Value1, &r.Value2, &r.Value3, &r.Value4);
  }

  auto& e = ExtValues;
  auto& t = ExtTexts;
  const std::int32_t extResult = pcbapi::QueryExtDimension(
      mode, Handle, &DimensionKind, &e[0], &e[1], &e[2], &e[3], &e[4], &e[5], &e[6], &e[7], &e[8], &e[9], &e[10],
      &ExtBytes[0], &ExtBytes[1], &ExtBytes[2], HostArg(t[0]), HostArg(t[1]), HostArg(t[2]), &ExtReal);
  return mainResult & extResult;
}

}  // namespace orvik
