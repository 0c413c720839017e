// A footprint's reference and value where the host's designator and comment
// texts are too small to read: KiCad's footprint convention (1 mm high,
// 0.15 mm stroke), the reference on the silkscreen of the footprint's side
// beside its pads where it overlaps no other silkscreen, no pad and no board
// edge, the value on the side's fabrication layer over the pads.
#pragma once

#include <string_view>

#include "host/orvik-host/kicad/KicadGeometry.h"
#include "host/orvik-host/kicad/KicadSilkscreen.h"
#include "host/orvik-host/kicad/KicadTextBox.h"

namespace orvik::host::kicad {

inline constexpr int64_t kLabelSize = 1000000;      // nm
inline constexpr int64_t kLabelThickness = 150000;  // nm
// Texts smaller than 1 mil (0.0254 mm), the least size KiCad gives a text,
// cannot be read on anything KiCad draws or plots.
inline constexpr int64_t kSmallestReadableText = 25400;  // nm

struct LabelSpot {
  Point centre;      // host nanometres
  Box box;           // what its strokes cover
  bool free = true;  // clear of everything it must keep clear of
};

// The geometry of a label of KiCad's size centred at `centre`.
TextGeometry LabelGeometry(Point centre, bool bottom) noexcept;

// Finds each reference a spot in turn; each placed reference is kept clear
// of by the later ones.
class LabelPlacer {
 public:
  explicit LabelPlacer(SilkscreenIndex& index) noexcept : index_(index) {}

  // Tries above, below, right of and left of the pads' extent, then of the
  // whole footprint's (pads and its own silkscreen); the first free spot
  // wins, else the one with the fewest overlaps. `footprint` holds at
  // least the footprint's `origin`, from which the spot lies a whole number
  // of hundredths of a millimetre.
  LabelSpot PlaceReference(std::string_view text, const Box& pads, const Box& footprint, Point origin, bool bottom);

 private:
  SilkscreenIndex& index_;
};

}  // namespace orvik::host::kicad
