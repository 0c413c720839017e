// POLY records with their PNT points: each becomes the solid rectangle that
// bounds its points.
#pragma once

#include <array>
#include <cstdint>

#include "RTL/RT_PCB/Layers.h"
#include "RTL/RT_PCB/PcbFill.h"
#include "reader/Section.h"

namespace orvik {

inline constexpr int kPolygonPointCount = 4;

// One POLY record; coordinates in mils.
struct TPolygonRecord {
  TLegacyLayer Layer = 0;  // after CompactLayerToLegacy
  std::int32_t VertexCount = 0;
  std::int32_t NetNumber = 0;
  std::int32_t ComponentNumber = 0;
  std::array<std::int32_t, kPolygonPointCount> PointX{};
  std::array<std::int32_t, kPolygonPointCount> PointY{};
  int PointsRead = 0;  // 0..4; only these points count
};

// Sets a fill to the rectangle bounding the points that were read (at least
// one): smallest X and Y to the first corner, largest to the second, then
// mils to host units; the layer through MapFileLayer.
void ApplyRecord(const TPolygonRecord& record, TPcbFill& fill);

class TPolygonSection final : public TSectionOf<TPolygonRecord> {
 public:
  using TSectionOf::TSectionOf;
  // Layer, vertex count, net, component, one ignored integer; with a vertex
  // count of exactly 4, up to four "PNT X Y" points, stopping at the first
  // word that is not "PNT".
  void ReadRecords() override;
  // One fill per record from which at least one point was read; no progress
  // step.
  void CreateObjects() override;
};

}  // namespace orvik
