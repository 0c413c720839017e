#include "reader/TrackSection.h"

#include "reader/LayerMaps.h"

namespace orvik {

void ApplyRecord(const TTrackRecord& record, TPcbTrack& track) {
  track.Width = ScaleMils(record.Width);
  track.SetLegacyLayer(MapFileLayer(record.Layer));
  track.X = ScaleMils(record.X1);
  track.Y = ScaleMils(record.Y1);
  track.X2 = ScaleMils(record.X2);
  track.Y2 = ScaleMils(record.Y2);
  track.Net = record.NetNumber;
  track.Component = record.ComponentNumber;
  if (track.Width == 0) track.Width = MilsToCoord(0.001);
}

void TTrackSection::ReadRecords() {
  TTrackRecord record;
  record.Width = Tokens.ReadInteger();
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
