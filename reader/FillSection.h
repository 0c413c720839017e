// FILL records: solid rectangles given by two corners.
#pragma once

#include <cstdint>

#include "RTL/RT_PCB/Layers.h"
#include "RTL/RT_PCB/PcbFill.h"
#include "reader/Section.h"

namespace orvik {

// One FILL record; coordinates in mils, corners in file order.
struct TFillRecord {
  TLegacyLayer Layer = 0;  // after CompactLayerToLegacy
  std::int32_t X1 = 0;
  std::int32_t Y1 = 0;
  std::int32_t X2 = 0;
  std::int32_t Y2 = 0;
  std::int32_t NetNumber = 0;
  std::int32_t ComponentNumber = 0;
};

// Sets a fill from a record: mils to host units, the corners unsorted, the
// layer through MapFileLayer; the rotation stays the host's.
void ApplyRecord(const TFillRecord& record, TPcbFill& fill);

class TFillSection final : public TRecordSection<TFillRecord, TPcbFill, TRecordKind::Fill> {
 public:
  using TRecordSection::TRecordSection;
  void ReadRecords() override;
};

}  // namespace orvik
