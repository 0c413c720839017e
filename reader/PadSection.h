// PAD records: component pads with one shape and size on every layer.
#pragma once

#include <cstdint>
#include <string_view>

#include "RTL/RT_PCB/Layers.h"
#include "RTL/RT_PCB/PcbPad.h"
#include "RTL/RT_PCB/ShortString.h"
#include "reader/Section.h"

namespace orvik {

// The characters of a pad name the importer keeps.
inline constexpr std::size_t kPadRecordNameLength = FindField(TRecordKind::Pad, "name")->Keeps;

// The host's pad shape codes that the importer gives.
inline constexpr std::uint8_t kPadShapeCodeRound = 1;
inline constexpr std::uint8_t kPadShapeCodeSquare = 2;

// A shape code as reports name it: "square" for kPadShapeCodeSquare,
// "round" for any other (the importer gives no other).
constexpr std::string_view PadShapeName(std::uint8_t shape) noexcept {
  return shape == kPadShapeCodeSquare ? "square" : "round";
}

// One PAD record; lengths in mils.
struct TPadRecord {
  std::uint8_t Shape = kPadShapeCodeRound;
  std::int32_t XSize = 0;
  std::int32_t YSize = 0;
  std::int32_t HoleSize = 0;
  TLegacyLayer Layer = layer::MultiLayer;  // TopLayer, BottomLayer or MultiLayer
  ShortString<kPadRecordNameLength> Name;
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::int32_t NetNumber = 0;
  std::int32_t ComponentNumber = 0;
};

// Shape word: exactly kPadShapeSquare ("SQ") gives kPadShapeCodeSquare,
// anything else kPadShapeCodeRound.
std::uint8_t PadShapeFromWord(std::string_view word) noexcept;
// Side word: exactly kPadSideTop ("TL") gives TopLayer, kPadSideBottom
// ("BL") BottomLayer, anything else MultiLayer.
TLegacyLayer PadLayerFromWord(std::string_view word) noexcept;

// Sets a pad from a record: mils to host units, the legacy layer as it
// stands (no file layer map), the top shape and size copied to mid and
// bottom.
void ApplyRecord(const TPadRecord& record, TPcbPad& pad);

class TPadSection final : public TRecordSection<TPadRecord, TPcbPad, TRecordKind::Pad> {
 public:
  using TRecordSection::TRecordSection;
  void ReadRecords() override;
};

}  // namespace orvik
