#include "reader/NetSection.h"

#include "reader/ObjectLookup.h"

namespace orvik {

void ApplyRecord(const TNetRecord& record, TPcbNet& net) {
  net.Name = record.Name.View();
  net.Index = static_cast<std::int16_t>(static_cast<std::uint16_t>(record.Number));
}

void TNetSection::ReadRecords() {
  TNetRecord record;
  record.Name = Tokens.ReadToken();
  record.Number = Tokens.ReadInteger();
  for (int i = 0; i < 3; ++i) Tokens.ReadInteger();
  KeepRecord(record);
}

TPcbNet* FindNetByNumber(const TSection& netSection, std::int32_t number) noexcept {
  return FindObjectByNumber<TPcbNet>(netSection, number);
}

}  // namespace orvik
