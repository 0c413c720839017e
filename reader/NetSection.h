// NET records: nets, numbered so that primitives can refer to them.
#pragma once

#include <cstdint>

#include "RTL/RT_PCB/PcbNet.h"
#include "RTL/RT_PCB/ShortString.h"
#include "reader/ObjectLookup.h"
#include "reader/Section.h"

namespace orvik {

// One NET record.
struct TNetRecord {
  ShortString<255> Name;
  std::int32_t Number = 0;
};

// Sets a net from a record: the name, and the number's low 16 bits as Index.
void ApplyRecord(const TNetRecord& record, TPcbNet& net);

class TNetSection final : public TRecordSection<TNetRecord, TPcbNet, TRecordKind::Net> {
 public:
  using TRecordSection::TRecordSection;
  void ReadRecords() override;
  // One net per record, then the number index over them.
  void CreateObjects() override;

  // Nets by number, built by CreateObjects (FindNetByNumber).
  TNumberIndex<TPcbNet> NumberIndex;
};

// The first net among the section's objects whose Index, read as 0..65535,
// equals `number`; nil when none does (always for negative numbers and
// numbers above 65535). Constant time through the section's index once
// CreateObjects has run; a scan of the list otherwise.
TPcbNet* FindNetByNumber(const TNetSection& nets, std::int32_t number) noexcept;

}  // namespace orvik
