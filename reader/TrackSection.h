// LINE records: straight tracks.
#pragma once

#include <cstdint>

#include "RTL/RT_PCB/Layers.h"
#include "RTL/RT_PCB/PcbTrack.h"
#include "reader/LayerMaps.h"
#include "reader/Section.h"

namespace orvik {

// One LINE record; lengths in mils as in the file.
struct TTrackRecord {
  std::int32_t Width = 0;
  TLegacyLayer Layer = 0;  // after CompactLayerToLegacy
  std::int32_t X1 = 0;
  std::int32_t Y1 = 0;
  std::int32_t X2 = 0;
  std::int32_t Y2 = 0;
  std::int32_t NetNumber = 0;        // 0 = none
  std::int32_t ComponentNumber = 0;  // 0 = none
};

// The legacy layer a track made from `record` lies on: the file layer
// through MapFileLayer.
inline TLegacyLayer TrackLayer(const TTrackRecord& record) noexcept { return MapFileLayer(record.Layer); }

// A track on MultiLayer is made but placed nowhere: not on the board, in no
// net and in no component.
constexpr bool TrackIsPlacedNowhere(TLegacyLayer trackLayer) noexcept { return trackLayer == layer::MultiLayer; }

// Sets a track from a record: mils to host units (x10000, wrapping), the
// layer through MapFileLayer, a zero width to 10 host units (0.001 mil).
void ApplyRecord(const TTrackRecord& record, TPcbTrack& track);

class TTrackSection final : public TRecordSection<TTrackRecord, TPcbTrack, TRecordKind::Track> {
 public:
  using TRecordSection::TRecordSection;
  void ReadRecords() override;
};

}  // namespace orvik
