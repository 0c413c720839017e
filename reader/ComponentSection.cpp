#include "reader/ComponentSection.h"

#include <string_view>

#include "reader/LayerMaps.h"
#include "reader/ObjectLookup.h"

namespace orvik {

namespace {

// Host units as they stand, not mils.
constexpr std::int32_t kComponentTextHeight = 60;
constexpr std::int32_t kComponentTextWidth = 10;

// Wraps the text object behind `handle`, creating one first when the
// component has none, and gives it `value`.
TPcbText BindComponentText(std::uint32_t& handle, std::string_view value) {
  if (handle == 0) handle = pcbapi::CreateObject(ORVIK_KIND_TEXT);
  TPcbText text(handle);
  text.SyncWithHost(smRead);
  text.Text = value;
  text.SyncWithHost(smWrite);
  return text;
}

}  // namespace

void ApplyRecord(const TComponentRecord& record, TPcbComponent& component) {
  component.Pattern = record.Pattern.View();
  component.X = ScaleMils(record.X);
  component.Y = ScaleMils(record.Y);
  component.Index = static_cast<std::int16_t>(static_cast<std::uint16_t>(record.Number));
  component.SetLegacyLayer(MapFileLayer(record.Layer));
}

void PositionComponentText(TPcbText& text, std::int32_t x, std::int32_t y) {
  text.X = x;
  text.Y = y;
  text.Mirrored = 0;
  text.Rotation = 0.0;
  text.TextOption = 1;
  text.SetLegacyLayer(layer::TopOverlay);
  text.Height = kComponentTextHeight;
  text.Width = kComponentTextWidth;
  text.SyncWithHost(smWrite);
}

void TComponentSection::ReadRecords() {
  TComponentRecord record;
  record.Designator = Tokens.ReadToken();
  Tokens.ReadToken();
  record.Comment = Tokens.ReadToken();
  record.Pattern = Tokens.ReadToken();
  Tokens.ReadToken();
  record.X = Tokens.ReadInteger();
  record.Y = Tokens.ReadInteger();
  for (int i = 0; i < 4; ++i) Tokens.ReadInteger();
  record.Number = Tokens.ReadInteger();
  record.Layer = CompactLayerToLegacy(static_cast<std::uint8_t>(Tokens.ReadInteger()));
  KeepRecord(record);
}

void TComponentSection::CreateObjects() {
  Objects.reserve(Objects.size() + Records.size());
  for (const TComponentRecord& record : Records) {
    auto component = NewHostObject<TPcbComponent>(ORVIK_KIND_COMPONENT);
    TPcbText designator = BindComponentText(component->DesignatorHandle, record.Designator.View());
    TPcbText comment = BindComponentText(component->CommentHandle, record.Comment.View());
    ApplyRecord(record, *component);
    component->SyncWithHost(smWrite);
    PositionComponentText(designator, component->X, component->Y);
    PositionComponentText(comment, component->X, component->Y);
    Objects.push_back(std::move(component));
    pcbapi::Percent_Update();
  }
  if constexpr (!kListScanLookup) NumberIndex.Build(Objects);
}

TPcbComponent* FindComponentByNumber(const TSection& componentSection, std::int32_t number) noexcept {
  const auto* components = dynamic_cast<const TComponentSection*>(&componentSection);
  return LookupObjectByNumber<TPcbComponent>(components != nullptr ? &components->NumberIndex : nullptr,
                                             componentSection, number);
}

}  // namespace orvik
