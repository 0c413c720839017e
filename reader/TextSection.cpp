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

void TTextSection::ReadRecords() {
  TTextRecord record;
  record.Text = Tokens.ReadToken();
  record.Height = Tokens.ReadInteger();
  const TTextRotation rotation = TextRotationFromCode(Tokens.ReadInteger());
  record.Rotation = rotation.Degrees;
  record.Mirrored = rotation.Mirrored;
  record.Width = Tokens.ReadInteger();
  record.Layer = CompactLayerToLegacy(static_cast<std::uint8_t>(Tokens.ReadInteger()));
  record.X = Tokens.ReadInteger();
  record.Y = Tokens.ReadInteger();
  for (int i = 0; i < 4; ++i) Tokens.ReadInteger();
  record.TrailingNumber = Tokens.ReadInteger();
  Tokens.ReadInteger();
  KeepRecord(record);
}

}  // namespace orvik
