// POLY records with their PNT points: each becomes the solid rectangle that
// bounds its points.
#pragma once

#include <array>
#include <cstdint>

#include "RTL/RT_PCB/Layers.h"
#include "RTL/RT_PCB/PcbFill.h"
#include "reader/Section.h"

namespace orvik {

// The points a POLY record may have.
inline constexpr int kPolygonPointCount = static_cast<int>(LayoutOf(TRecordKind::Polygon).Points);

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

class TPolygonSection final : public TSectionOf<TPolygonRecord, TRecordKind::Polygon> {
 public:
  using TSectionOf::TSectionOf;
  // With a vertex count of exactly kPolygonPointCount, reads up to that many
  // points, stopping at the first word that is not the point keyword.
  void ReadRecords() override;
  // One fill per record from which at least one point was read; no progress
  // step.
  void CreateObjects() override;
};

}  // namespace orvik
