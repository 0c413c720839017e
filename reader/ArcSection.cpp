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

void TArcSection::ReadRecords() {
  TArcRecord record;
  record.Radius = Tokens.ReadInteger();
  record.StartAngle = Tokens.ReadInteger();
  const std::int32_t sweep = Tokens.ReadInteger();
  record.EndAngle = sweep == 0 ? 360.0 : sweep;
  record.Width = Tokens.ReadInteger();
  record.Layer = CompactLayerToLegacy(static_cast<std::uint8_t>(Tokens.ReadInteger()));
  record.X = Tokens.ReadInteger();
  record.Y = Tokens.ReadInteger();
  record.NetNumber = Tokens.ReadInteger();
  record.ComponentNumber = Tokens.ReadInteger();
  Tokens.ReadInteger();
  // The sum of two 32-bit values is exact in a double.
  record.EndAngle = NormalizeAngle(record.StartAngle + record.EndAngle);
  KeepRecord(record);
}

}  // namespace orvik
