// The board preview as SVG: one group per layer in drawing order, board
// coordinates in mils with Y up, every drawn element tagged with data
// attributes (kind, layer, net, component and its main values in mils).
#pragma once

#include <string>

#include "host/orvik-host/BoardScene.h"

namespace orvik::host {

struct SvgOptions {
  int maxPixels = 1200;        // width or height of the picture, whichever is larger
  bool xmlDeclaration = true;  // false when the SVG is embedded in a page
};

// The whole <svg> element. Unplaced primitives are not drawn; the root's
// data-unplaced attribute counts them. Equal scenes give equal text.
std::string BoardSvg(const BoardScene& scene, const SvgOptions& options = {});

// The view box "x y width height" in mils of the flipped board: the scene's
// bounds plus a margin (a fixed 1000 x 1000 mil box for an empty scene).
struct ViewBox {
  double x = 0, y = 0, width = 0, height = 0;  // mils
};
ViewBox SceneViewBox(const BoardScene& scene);

// The path data of one primitive's outline, in mils of board coordinates:
// arcs (a full circle as two half arcs), pads (about their centre, before
// rotation), vias (ring). Exposed for tests.
std::string ArcPath(const ArcShape& arc);
std::string PadPath(const PadShape& pad);
std::string ViaPath(const ViaShape& via);

}  // namespace orvik::host
