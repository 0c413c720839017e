// COMP records: components with their designator and comment texts.
#pragma once

#include <cstdint>

#include "RTL/RT_PCB/Layers.h"
#include "RTL/RT_PCB/PcbComponent.h"
#include "RTL/RT_PCB/PcbText.h"
#include "RTL/RT_PCB/ShortString.h"
#include "reader/ObjectLookup.h"
#include "reader/Section.h"

namespace orvik {

// One COMP record; coordinates in mils.
struct TComponentRecord {
  ShortString<255> Designator;
  ShortString<255> Comment;
  ShortString<255> Pattern;
  std::int32_t X = 0;  // origin
  std::int32_t Y = 0;
  std::int32_t Number = 0;
  TLegacyLayer Layer = 0;  // after CompactLayerToLegacy
};

// Sets a component from a record: the pattern cut to 250 characters, mils to
// host units, the number's low 16 bits as Index, the layer through
// MapFileLayer. Rotation and texts are left alone.
void ApplyRecord(const TComponentRecord& record, TPcbComponent& component);

// Gives a designator or comment text its fixed format at the component's
// origin (host units): TopOverlay, upright, not mirrored, height 60 and
// width 10 host units; then writes it to the host.
void PositionComponentText(TPcbText& text, std::int32_t x, std::int32_t y);

class TComponentSection final : public TSectionOf<TComponentRecord, TRecordKind::Component> {
 public:
  using TSectionOf::TSectionOf;
  void ReadRecords() override;
  // One component per record, each with its designator and comment texts;
  // then the number index over them.
  void CreateObjects() override;

  // Components by number, built by CreateObjects (FindComponentByNumber).
  TNumberIndex<TPcbComponent> NumberIndex;
};

// The first component among the section's objects whose Index, read as
// 0..65535, equals `number`; nil when none does. Constant time through the
// section's index once CreateObjects has run; a scan of the list otherwise.
TPcbComponent* FindComponentByNumber(const TComponentSection& components, std::int32_t number) noexcept;

}  // namespace orvik
