#include "reader/PadSection.h"

namespace orvik {

std::uint8_t PadShapeFromWord(std::string_view word) noexcept { return word == "SQ" ? 2 : 1; }

TLegacyLayer PadLayerFromWord(std::string_view word) noexcept {
  if (word == "TL") return layer::TopLayer;
  if (word == "BL") return layer::BottomLayer;
  return layer::MultiLayer;
}

void ApplyRecord(const TPadRecord& record, TPcbPad& pad) {
  pad.TopShape = record.Shape;
  pad.TopXSize = ScaleMils(record.XSize);
  pad.TopYSize = ScaleMils(record.YSize);
  pad.HoleSize = ScaleMils(record.HoleSize);
  pad.SetLegacyLayer(record.Layer);
  pad.Name = record.Name.View();
  pad.X = ScaleMils(record.X);
  pad.Y = ScaleMils(record.Y);
  pad.Net = record.NetNumber;
  pad.Component = record.ComponentNumber;
  pad.MidXSize = pad.TopXSize;
  pad.MidYSize = pad.TopYSize;
  pad.MidShape = pad.TopShape;
  pad.BotXSize = pad.TopXSize;
  pad.BotYSize = pad.TopYSize;
  pad.BotShape = pad.TopShape;
}

void TPadSection::ReadRecords() {
  TPadRecord record;
  record.Shape = PadShapeFromWord(Tokens.ReadToken());
  record.XSize = Tokens.ReadInteger();
  record.YSize = Tokens.ReadInteger();
  record.HoleSize = Tokens.ReadInteger();
  record.Layer = PadLayerFromWord(Tokens.ReadToken());
  Tokens.ReadToken();
  record.Name = Tokens.ReadToken();
  record.X = Tokens.ReadInteger();
  record.Y = Tokens.ReadInteger();
  record.NetNumber = Tokens.ReadInteger();
  record.ComponentNumber = Tokens.ReadInteger();
  Tokens.ReadInteger();
  KeepRecord(record);
}

}  // namespace orvik
