// How a host pad lands in KiCad: through-hole or surface, on which copper,
// with which face of its stack and which sizes, and what that changes. The
// writer writes and counts it; the reference placement keeps clear of it.
#pragma once

#include <cstdint>

#include "host/orvik-host/BoardScene.h"
#include "host/orvik-host/kicad/KicadGeometry.h"
#include "host/orvik-host/kicad/KicadLayers.h"
#include "host/orvik-host/kicad/KicadSource.h"

namespace orvik::host::kicad {

inline constexpr int64_t kMinimumPadSize = 1000;  // nm: what KiCad pins smaller pads to

struct PadLayout {
  bool through = false;          // a plated hole through every copper layer
  int copper = kFCu;             // a surface pad's copper layer (F.Cu, B.Cu or an inner one)
  PadFace face;                  // the face of the stack written
  int64_t xSize = 0, ySize = 0;  // nm, at least kMinimumPadSize
  int64_t hole = 0;              // nm, drilled only when `through`
  // What differs from the host.
  bool negativeHole = false;  // set to 0
  bool sizeRaised = false;    // to kMinimumPadSize
  bool offCopper = false;     // no hole on MultiLayer, or on a layer without copper: onto F.Cu
  bool holeDropped = false;   // a hole in a one-side pad
  bool stackDiffers = false;  // a through pad whose faces differ: the top's used

  // The side whose silkscreen and mask the pad is on (top for inner pads,
  // which have neither, or both for a through pad).
  [[nodiscard]] bool OnTop() const noexcept { return through || copper != kBCu; }
  [[nodiscard]] bool OnBottom() const noexcept { return through || copper == kBCu; }
  [[nodiscard]] bool HasMask() const noexcept { return through || copper == kFCu || copper == kBCu; }
};

PadLayout LayOutPad(const Primitive& p, const PadShape& pad, const PadStack& stack, const LayerPlan& plan);

// The box around the pad's copper (host nanometres).
Box PadBox(const PadShape& pad, const PadLayout& layout) noexcept;

}  // namespace orvik::host::kicad
