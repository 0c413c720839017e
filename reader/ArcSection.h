// ARC records: circular arcs given by centre, radius, start angle and sweep.
#pragma once

#include <cstdint>

#include "RTL/RT_PCB/Layers.h"
#include "RTL/RT_PCB/PcbArc.h"
#include "reader/Section.h"

namespace orvik {

// One ARC record; lengths in mils, angles in degrees.
struct TArcRecord {
  std::int32_t Radius = 0;
  double StartAngle = 0.0;  // as read, may lie outside 0..360
  double EndAngle = 0.0;    // start + sweep folded into 0..360
  std::int32_t Width = 0;
  TLegacyLayer Layer = 0;  // after CompactLayerToLegacy
  std::int32_t X = 0;      // centre
  std::int32_t Y = 0;
  std::int32_t NetNumber = 0;
  std::int32_t ComponentNumber = 0;
};

// Sets an arc from a record: mils to host units, angles unchanged (degrees),
// the layer through MapFileLayer.
void ApplyRecord(const TArcRecord& record, TPcbArc& arc);

class TArcSection final : public TRecordSection<TArcRecord, TPcbArc, TRecordKind::Arc> {
 public:
  using TRecordSection::TRecordSection;
  // A sweep of 0 is a full turn.
  void ReadRecords() override;
};

}  // namespace orvik
