#include "reader/FillSection.h"

#include "reader/LayerMaps.h"

namespace orvik {

void ApplyRecord(const TFillRecord& record, TPcbFill& fill) {
  fill.SetLegacyLayer(MapFileLayer(record.Layer));
  fill.X = ScaleMils(record.X1);
  fill.Y = ScaleMils(record.Y1);
  fill.X2 = ScaleMils(record.X2);
  fill.Y2 = ScaleMils(record.Y2);
  fill.Net = record.NetNumber;
  fill.Component = record.ComponentNumber;
}

void TFillSection::ReadRecords() {
  TFillRecord record;
  record.Layer = CompactLayerToLegacy(static_cast<std::uint8_t>(Tokens.ReadInteger()));
  record.X1 = Tokens.ReadInteger();
  record.Y1 = Tokens.ReadInteger();
  record.X2 = Tokens.ReadInteger();
  record.Y2 = Tokens.ReadInteger();
  record.NetNumber = Tokens.ReadInteger();
  record.ComponentNumber = Tokens.ReadInteger();
  Tokens.ReadInteger();
  KeepRecord(record);
}

}  // namespace orvik
