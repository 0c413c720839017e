#include "reader/TrackSection.h"

namespace orvik {

void ApplyRecord(const TTrackRecord& record, TPcbTrack& track) {
  track.Width = ScaleMils(record.Width);
  track.SetLegacyLayer(TrackLayer(record));
  track.X = ScaleMils(record.X1);
  track.Y = ScaleMils(record.Y1);
  track.X2 = ScaleMils(record.X2);
  track.Y2 = ScaleMils(record.Y2);
  track.Net = record.NetNumber;
  track.Component = record.ComponentNumber;
  if (track.Width == 0) track.Width = MilsToCoord(0.001);
}

void TTrackSection::ReadRecords() {
  using R = TTrackRecord;
  R record;
  ReadFields<&R::Width, &R::Layer, &R::X1, &R::Y1, &R::X2, &R::Y2, &R::NetNumber, &R::ComponentNumber, kDropField>(
      record);
  KeepRecord(record);
}

}  // namespace orvik
