#include "reader/NetSection.h"

#include "reader/ObjectLookup.h"

namespace orvik {

void ApplyRecord(const TNetRecord& record, TPcbNet& net) {
  net.Name = record.Name.View();
  net.Index = static_cast<std::int16_t>(static_cast<std::uint16_t>(record.Number));
}

// The layout's limit is what the net object holds.
static_assert(FindField(TRecordKind::Net, "name")->Keeps == decltype(TPcbNet::Name)::kCapacity);

void TNetSection::ReadRecords() {
  using R = TNetRecord;
  R record;
  ReadFields<&R::Name, &R::Number, kDropField, kDropField, kDropField>(record);
  KeepRecord(record);
}

void TNetSection::CreateObjects() {
  TRecordSection::CreateObjects();
  if constexpr (!kListScanLookup) NumberIndex.Build(Objects);
}

TPcbNet* FindNetByNumber(const TNetSection& nets, std::int32_t number) noexcept {
  return LookupObjectByNumber(nets.NumberIndex, nets, number);
}

}  // namespace orvik
