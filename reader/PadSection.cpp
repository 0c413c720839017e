#include "reader/PadSection.h"

namespace orvik {

std::uint8_t PadShapeFromWord(std::string_view word) noexcept {
  return word == kPadShapeSquare ? kPadShapeCodeSquare : kPadShapeCodeRound;
}

TLegacyLayer PadLayerFromWord(std::string_view word) noexcept {
  if (word == kPadSideTop) return layer::TopLayer;
  if (word == kPadSideBottom) return layer::BottomLayer;
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

// The pad object holds every name the record keeps.
static_assert(kPadRecordNameLength <= decltype(TPcbPad::Name)::kCapacity);

namespace {

void SetShape(TPadRecord& record, std::string_view word) { record.Shape = PadShapeFromWord(word); }
void SetSide(TPadRecord& record, std::string_view word) { record.Layer = PadLayerFromWord(word); }

}  // namespace

void TPadSection::ReadRecords() {
  using R = TPadRecord;
  R record;
  ReadFields<&SetShape, &R::XSize, &R::YSize, &R::HoleSize, &SetSide, kDropField, &R::Name, &R::X, &R::Y, &R::NetNumber,
             &R::ComponentNumber, kDropField>(record);
  KeepRecord(record);
}

}  // namespace orvik
