// VIA records: plated holes. A via keeps the layers the host gives it.
#pragma once

#include <cstdint>

#include "RTL/RT_PCB/PcbVia.h"
#include "reader/Section.h"

namespace orvik {

// One VIA record; lengths in mils.
struct TViaRecord {
  std::int32_t Size = 0;
  std::int32_t HoleSize = 0;
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::int32_t NetNumber = 0;
  std::int32_t ComponentNumber = 0;
};

// Sets a via from a record: mils to host units; no layer.
void ApplyRecord(const TViaRecord& record, TPcbVia& via);

class TViaSection final : public TRecordSection<TViaRecord, TPcbVia, TRecordKind::Via> {
 public:
  using TRecordSection::TRecordSection;
  void ReadRecords() override;
};

}  // namespace orvik
