#include "reader/ViaSection.h"

namespace orvik {

void ApplyRecord(const TViaRecord& record, TPcbVia& via) {
  via.Size = ScaleMils(record.Size);
  via.HoleSize = ScaleMils(record.HoleSize);
  via.X = ScaleMils(record.X);
  via.Y = ScaleMils(record.Y);
  via.Net = record.NetNumber;
  via.Component = record.ComponentNumber;
}

void TViaSection::ReadRecords() {
  using R = TViaRecord;
  R record;
  ReadFields<kDropField, &R::Size, &R::HoleSize, kDropField, &R::X, &R::Y, &R::NetNumber, &R::ComponentNumber,
             kDropField>(record);
  KeepRecord(record);
}

}  // namespace orvik
