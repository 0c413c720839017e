// The footprint kinds that generated components use, and where their pads
// lie relative to the component's origin.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "tools/orvik-gen/Random.h"

namespace orvik::gen {

enum class PadLayout : std::uint8_t {
  kTwoPin,     // chip parts: two pads `span` apart along X
  kDualRow,    // SOT, SOIC, DIP: pin 1 bottom left, counter-clockwise
  kQuad,       // QFP: a quarter of the pins on each side
  kSingleRow,  // 1xN headers
  kDoubleRow,  // 2xN headers
  kGrid,       // ball grids: square array
  kSingle,     // mounting holes and test points
};

struct FootprintKind {
  std::string_view pattern;  // footprint name, "" for a header sized by its pins
  std::string_view prefix;   // designator prefix
  std::string_view family;   // the component record's second word
  PadLayout layout;
  std::uint16_t pins;      // 0 for a header sized by its pins
  std::uint16_t weight;    // relative frequency on a board
  std::int32_t pitch;      // between neighbouring pins, mils
  std::int32_t span;       // between rows, or between the pads of a two-pin part
  std::int32_t padAlong;   // pad size along its row
  std::int32_t padAcross;  // pad size across its row
  std::int32_t hole;       // drill, 0 for surface-mount pads
};

// Pad centre offset and size for one pin, before the component's rotation.
struct PadPlacement {
  std::int32_t dx = 0;
  std::int32_t dy = 0;
  std::int32_t xSize = 0;
  std::int32_t ySize = 0;
};

class Footprints {
 public:
  [[nodiscard]] static std::span<const FootprintKind> Kinds() noexcept;
  // Kinds()[kVariableHeader] has no fixed pin count.
  static constexpr std::size_t kVariableHeader = 0;
  // Average pins per component over the weighted kinds, times 100.
  [[nodiscard]] static std::uint32_t MeanPinsTimes100() noexcept;

  // A kind drawn by weight; never the variable header.
  [[nodiscard]] static std::size_t Choose(SplitMix64& random) noexcept;

  // The layout a kind uses for `pins` pins (variable headers switch from one
  // row to two rows to a grid as they grow).
  [[nodiscard]] static PadLayout LayoutFor(const FootprintKind& kind, std::uint32_t pins) noexcept;

  // Where pin `index` (0-based) of `pins` lies.
  [[nodiscard]] static PadPlacement Place(const FootprintKind& kind, std::uint32_t pins, std::uint32_t index) noexcept;
};

}  // namespace orvik::gen
