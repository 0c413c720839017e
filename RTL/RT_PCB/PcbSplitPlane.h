// A split plane: a region of an internal plane that belongs to one net.
#pragma once

#include <cstdint>

#include "RTL/RT_PCB/PcbGroupObject.h"
#include "RTL/RT_PCB/PcbPolygon.h"

namespace orvik {

class TPcbSplitPlane : public TPcbGroupObject {
 public:
  static constexpr std::uint8_t kObjectId = ORVIK_KIND_SPLIT_PLANE;

  explicit TPcbSplitPlane(std::uint32_t handle);

  // QuerySplitPlane; the vertex block crosses whole.
  std::int32_t SyncWithHost(TSyncMode mode) override;

  std::int32_t SplitPlaneValue = 0;
  TVertices Vertices = MakeVertices();
  std::uint8_t ByteAfterVertices = 0;
};

}  // namespace orvik
