// Polygons and the board outline: shapes whose vertex data the host keeps in
// one opaque block.
#pragma once

#include <cstdint>
#include <memory>

#include "RTL/RT_PCB/PcbGroupObject.h"
#include "orvik/abi.h"

namespace orvik {

inline constexpr std::size_t kVerticesSize = ORVIK_VERTICES_SIZE;

// The host's opaque vertex block, zero-filled on the heap.
using TVertices = std::unique_ptr<std::uint8_t[]>;
inline TVertices MakeVertices() { return std::make_unique<std::uint8_t[]>(kVerticesSize); }

class TPcbPolygon : public TPcbGroupObject {
 public:
  static constexpr std::uint8_t kObjectId = ORVIK_KIND_POLYGON;

  explicit TPcbPolygon(std::uint32_t handle);

  // QueryPolygon; the vertex block crosses whole.
  std::int32_t SyncWithHost(TSyncMode mode) override;

  std::uint8_t PolygonByte1 = 0;
  std::uint8_t PolygonByte2 = 0;
  std::uint8_t PolygonByte3 = 0;
  std::uint8_t PolygonByte4 = 0;
  std::int32_t PolygonValue1 = 0;
  std::int32_t PolygonValue2 = 0;
  std::int32_t PolygonValue3 = 0;
  std::int32_t PolygonValue4 = 0;
  TVertices Vertices = MakeVertices();
  std::uint8_t ByteAfterVertices = 0;
  std::uint16_t WordAfterVertices = 0;
};

// The board's outline: a polygon of its own kind.
class TPcbBoardOutline : public TPcbPolygon {
 public:
  static constexpr std::uint8_t kObjectId = ORVIK_KIND_BOARD_OUTLINE;

  explicit TPcbBoardOutline(std::uint32_t handle);
};

}  // namespace orvik
