#include "reader/TextSection.h"

#include "reader/Conversions.h"
#include "reader/LayerMaps.h"

namespace orvik {

void ApplyRecord(const TTextRecord& record, TPcbText& text) {
  text.Text = record.Text.View();
  text.Height = ScaleMils(record.Height);
  text.Rotation = record.Rotation;
  text.Mirrored = record.Mirrored ? 1 : 0;
  text.Width = ScaleMils(record.Width);
  text.SetLegacyLayer(MapFileLayer(record.Layer));
  text.X = ScaleMils(record.X);
  text.Y = ScaleMils(record.Y);
  if (text.Width == 0) text.Width = DefaultTextWidth(text.Height);
}

namespace {

void SetRotation(TTextRecord& record, std::int32_t code) {
  const TTextRotation rotation = TextRotationFromCode(code);
  record.Rotation = rotation.Degrees;
  record.Mirrored = rotation.Mirrored;
}

}  // namespace

// The layout's limit is what the text object holds.
static_assert(FindField(TRecordKind::Text, "text")->Keeps == decltype(TPcbText::Text)::kCapacity);

void TTextSection::ReadRecords() {
  using R = TTextRecord;
  R record;
  ReadFields<&R::Text, &R::Height, &SetRotation, &R::Width, &R::Layer, &R::X, &R::Y, kDropField, kDropField, kDropField,
             kDropField, &R::TrailingNumber, kDropField>(record);
  KeepRecord(record);
}

}  // namespace orvik
