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

// The layout's limits are what the objects hold: the designator and the
// comment become texts.
static_assert(FindField(TRecordKind::Component, "designator")->Keeps == decltype(TPcbText::Text)::kCapacity);
static_assert(FindField(TRecordKind::Component, "comment")->Keeps == decltype(TPcbText::Text)::kCapacity);
static_assert(FindField(TRecordKind::Component, "pattern")->Keeps == decltype(TPcbComponent::Pattern)::kCapacity);

void TComponentSection::ReadRecords() {
  using R = TComponentRecord;
  R record;
  ReadFields<&R::Designator, kDropField, &R::Comment, &R::Pattern, kDropField, &R::X, &R::Y, kDropField, kDropField,
             kDropField, kDropField, &R::Number, &R::Layer>(record);
  KeepRecord(record);
}

void TComponentSection::CreateObjects() {
  Objects.reserve(Objects.size() + Records.size());
  for (const TComponentRecord& record : Records) {
    auto component = NewHostObject<TPcbComponent>(LayoutOf(kRecordKind).Object);
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

TPcbComponent* FindComponentByNumber(const TComponentSection& components, std::int32_t number) noexcept {
  return LookupObjectByNumber(components.NumberIndex, components, number);
}

}  // namespace orvik
