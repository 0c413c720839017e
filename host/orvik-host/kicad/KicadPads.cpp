#include "host/orvik-host/kicad/KicadPads.h"

#include <algorithm>

#include "host/orvik-host/kicad/KicadFormat.h"

namespace orvik::host::kicad {

PadLayout LayOutPad(const Primitive& p, const PadShape& pad, const PadStack& stack, const LayerPlan& plan) {
  PadLayout l;
  const int64_t hole = NanometresOf(pad.holeSize);
  l.negativeHole = hole < 0;
  l.hole = std::max<int64_t>(hole, 0);
  l.face = stack.top;
  const int layer = p.layer;
  if (layer == ORVIK_LAYER_MultiLayer && l.hole > 0) {
    l.through = true;
    l.stackDiffers = !(stack.bottom == stack.top) || stack.innerDiffers;
  } else if (layer == ORVIK_LAYER_MultiLayer) {
    l.offCopper = true;
  } else if (layer == ORVIK_LAYER_BottomLayer) {
    l.face = stack.bottom;
    l.copper = kBCu;
  } else if (MappingOf(layer).rule == LayerRule::kInner) {
    l.copper = plan.LayerOf(layer, LayerUse::kLine);
  } else if (layer != ORVIK_LAYER_TopLayer) {
    l.offCopper = true;
  }
  l.holeDropped = !l.through && l.hole > 0;
  l.xSize = NanometresOf(l.face.xSize);
  l.ySize = NanometresOf(l.face.ySize);
  if (l.xSize < kMinimumPadSize || l.ySize < kMinimumPadSize) {
    l.sizeRaised = true;
    l.xSize = std::max(l.xSize, kMinimumPadSize);
    l.ySize = std::max(l.ySize, kMinimumPadSize);
  }
  return l;
}

Box PadBox(const PadShape& pad, const PadLayout& layout) noexcept {
  return TurnedBox({NanometresOf(pad.x), NanometresOf(pad.y)}, layout.xSize / 2 + 1, layout.ySize / 2 + 1,
                   pad.rotation);
}

}  // namespace orvik::host::kicad
