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
  using R = TFillRecord;
  R record;
  ReadFields<&R::Layer, &R::X1, &R::Y1, &R::X2, &R::Y2, &R::NetNumber, &R::ComponentNumber, kDropField>(record);
  KeepRecord(record);
}

}  // namespace orvik
