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
  TViaRecord record;
  Tokens.ReadToken();
  record.Size = Tokens.ReadInteger();
  record.HoleSize = Tokens.ReadInteger();
  Tokens.ReadToken();
  record.X = Tokens.ReadInteger();
  record.Y = Tokens.ReadInteger();
  record.NetNumber = Tokens.ReadInteger();
  record.ComponentNumber = Tokens.ReadInteger();
  Tokens.ReadInteger();
  KeepRecord(record);
}

}  // namespace orvik
