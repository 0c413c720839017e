// Where KiCad's stroke font puts a text's strokes: a box a little larger
// than what KiCad 6 draws (measured against its own overlap check), for
// placing texts clear of others and for the board's extent.
#pragma once

#include <cstdint>
#include <string_view>

#include "host/orvik-host/kicad/KicadGeometry.h"

namespace orvik::host::kicad {

enum class TextAnchor : uint8_t {
  kLeftBottom,  // the baseline's start, as the export writes host texts
  kCentre       // the middle of the text, KiCad's own footprint texts
};

struct TextGeometry {
  Point anchor;           // host nanometres, Y up
  int64_t size = 0;       // character height, nm
  int64_t thickness = 0;  // stroke width, nm
  double degrees = 0;     // counterclockwise
  bool mirrored = false;
  TextAnchor anchorKind = TextAnchor::kLeftBottom;
};

// The box around `text` (one character per byte, lines split at '\n').
Box TextBox(const TextGeometry& geometry, std::string_view text) noexcept;

}  // namespace orvik::host::kicad
