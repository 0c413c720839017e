#include "host/orvik-host/kicad/KicadLabels.h"

#include <algorithm>
#include <climits>

namespace orvik::host::kicad {

namespace {

// Between the pads' (or footprint's) extent and the reference, and kept
// around the reference from everything else.
constexpr int64_t kGap = 250000;        // nm
constexpr int64_t kClearance = 100000;  // nm
// Spots tried on each side: at the extent, then rings further out, each a
// text's height away from the last.
constexpr int kRings = 3;
constexpr int64_t kStep = 10000;  // nm
// Cells and items one reference may look at: a few dozen spots on a crowded
// board take some thousands; it bounds the time a board of long texts or
// much overlapping silkscreen can take.
constexpr int64_t kBudget = 2000;
// Spots are told apart by their overlaps up to this many; beyond, all are
// equally bad, and counting further only costs time.
constexpr int kMostOverlapsCounted = 4;

int64_t Rounded(int64_t nm) { return (nm >= 0 ? nm + kStep / 2 : nm - kStep / 2) / kStep * kStep; }

}  // namespace

TextGeometry LabelGeometry(Point centre, bool bottom) noexcept {
  TextGeometry g;
  g.anchor = centre;
  g.size = kLabelSize;
  g.thickness = kLabelThickness;
  g.mirrored = bottom;
  g.anchorKind = TextAnchor::kCentre;
  return g;
}

LabelSpot LabelPlacer::PlaceReference(std::string_view text, const Box& pads, const Box& footprint, Point origin,
                                      bool bottom) {
  const SilkscreenIndex::Side side = bottom ? SilkscreenIndex::kBottom : SilkscreenIndex::kTop;
  // The text's box about its centre.
  const Box shape = TextBox(LabelGeometry({0, 0}, bottom), text);
  const int64_t across = shape.Height() + kGap, along = shape.Width() / 2;
  LabelSpot best;
  int fewest = INT_MAX;  // no spot tried yet
  int64_t budget = kBudget;
  // True when the search is over: a free spot, or the budget spent.
  auto tryAt = [&](Point wanted) {
    const Point centre{origin.x + Rounded(wanted.x - origin.x), origin.y + Rounded(wanted.y - origin.y)};
    const Box box = TextBox(LabelGeometry(centre, bottom), text);
    const int overlaps = index_.Count(box.Grown(kClearance), side, std::min(fewest, kMostOverlapsCounted), budget);
    if (fewest == INT_MAX || overlaps < fewest) {
      fewest = std::max(overlaps, budget < 0 ? 1 : 0);
      best = {centre, box, fewest == 0};
    }
    return fewest == 0 || budget < 0;
  };
  for (const Box* extent : {&pads, &footprint}) {
    const bool same = extent != &pads && !pads.empty && footprint.min == pads.min && footprint.max == pads.max;
    if (extent->empty || same) continue;
    const Point c = extent->Centre();
    for (int ring = 0; ring < kRings; ++ring) {
      const int64_t d = kGap + ring * across;
      for (const int64_t shift : {int64_t{0}, -along, along}) {
        const Point candidates[] = {
            {c.x + shift, extent->max.y + d - shape.min.y},  // above (Y up)
            {c.x + shift, extent->min.y - d - shape.max.y},  // below
            {extent->max.x + d - shape.min.x, c.y + shift},  // right
            {extent->min.x - d - shape.max.x, c.y + shift},  // left
        };
        for (const Point& centre : candidates) {
          if (tryAt(centre)) {
            index_.AddBox(best.box, side);
            return best;
          }
        }
      }
    }
  }
  index_.AddBox(best.box, side);
  return best;
}

}  // namespace orvik::host::kicad
