#include "reader/PolygonSection.h"

#include "reader/LayerMaps.h"

namespace orvik {

void ApplyRecord(const TPolygonRecord& record, TPcbFill& fill) {
  std::int32_t minX = record.PointX[0], maxX = record.PointX[0];
  std::int32_t minY = record.PointY[0], maxY = record.PointY[0];
  for (int k = 1; k < record.PointsRead && k < kPolygonPointCount; ++k) {
    minX = IntMin(minX, record.PointX[k]);
    maxX = IntMax(maxX, record.PointX[k]);
    minY = IntMin(minY, record.PointY[k]);
    maxY = IntMax(maxY, record.PointY[k]);
  }
  fill.SetLegacyLayer(MapFileLayer(record.Layer));
  fill.X = ScaleMils(minX);
  fill.Y = ScaleMils(minY);
  fill.X2 = ScaleMils(maxX);
  fill.Y2 = ScaleMils(maxY);
  fill.Net = record.NetNumber;
  fill.Component = record.ComponentNumber;
}

void TPolygonSection::ReadRecords() {
  using R = TPolygonRecord;
  R record;
  ReadFields<&R::Layer, &R::VertexCount, &R::NetNumber, &R::ComponentNumber, kDropField>(record);
  if (record.VertexCount == kPolygonPointCount) {
    for (int k = 0; k < kPolygonPointCount; ++k) {
      if (Tokens.ReadToken() != LayoutOf(kRecordKind).PointKeyword) break;
      record.PointX[k] = Tokens.ReadInteger();
      record.PointY[k] = Tokens.ReadInteger();
      record.PointsRead = k + 1;
    }
  }
  KeepRecord(record);
}

void TPolygonSection::CreateObjects() {
  Objects.reserve(Objects.size() + Records.size());
  for (const TPolygonRecord& record : Records) {
    if (record.PointsRead == 0) continue;
    auto fill = NewHostObject<TPcbFill>(LayoutOf(kRecordKind).Object);
    ApplyRecord(record, *fill);
    fill->SyncWithHost(smWrite);
    Objects.push_back(std::move(fill));
  }
}

}  // namespace orvik
