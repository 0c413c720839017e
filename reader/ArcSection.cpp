#include "reader/ArcSection.h"

#include "reader/Conversions.h"
#include "reader/LayerMaps.h"

namespace orvik {

void ApplyRecord(const TArcRecord& record, TPcbArc& arc) {
  arc.Radius = ScaleMils(record.Radius);
  arc.StartAngle = record.StartAngle;
  arc.EndAngle = record.EndAngle;
  arc.Width = ScaleMils(record.Width);
  arc.SetLegacyLayer(MapFileLayer(record.Layer));
  arc.X = ScaleMils(record.X);
  arc.Y = ScaleMils(record.Y);
  arc.Net = record.NetNumber;
  arc.Component = record.ComponentNumber;
}

namespace {

// The sweep, until the start angle is added.
void SetSweep(TArcRecord& record, std::int32_t sweep) { record.EndAngle = sweep == 0 ? 360.0 : sweep; }

}  // namespace

void TArcSection::ReadRecords() {
  using R = TArcRecord;
  R record;
  ReadFields<&R::Radius, &R::StartAngle, &SetSweep, &R::Width, &R::Layer, &R::X, &R::Y, &R::NetNumber,
             &R::ComponentNumber, kDropField>(record);
  // The sum of two 32-bit values is exact in a double.
  record.EndAngle = NormalizeAngle(record.StartAngle + record.EndAngle);
  KeepRecord(record);
}

}  // namespace orvik
