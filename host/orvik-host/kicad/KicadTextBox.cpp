#include "host/orvik-host/kicad/KicadTextBox.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace orvik::host::kicad {

namespace {

// In thousandths of the character height: the widest advance (KiCad's 'm'
// takes 1.25), the strokes above and below the baseline, and the distance
// between lines.
constexpr int64_t kAdvance = 1300;
constexpr int64_t kAscent = 1100, kDescent = 300;          // from the baseline
constexpr int64_t kCentreAbove = 600, kCentreBelow = 800;  // from the middle of a line
constexpr int64_t kLineSpacing = 1620;

int64_t Of(int64_t thousandths, int64_t size) { return size / 1000 * thousandths + size % 1000 * thousandths / 1000; }

}  // namespace

Box TextBox(const TextGeometry& g, std::string_view text) noexcept {
  std::size_t longest = 0, lines = 1, current = 0;
  for (const char c : text) {
    if (c == '\n') {
      ++lines;
      current = 0;
    } else {
      longest = std::max(longest, ++current);
    }
  }
  const int64_t size = std::max<int64_t>(g.size, 0), half = std::max<int64_t>(g.thickness, 0) / 2 + 1;
  const int64_t width = Of(kAdvance, size) * static_cast<int64_t>(std::min<std::size_t>(longest, 1 << 20));
  const int64_t extraLines = Of(kLineSpacing, size) * static_cast<int64_t>(std::min<std::size_t>(lines - 1, 1 << 20));
  // Along the baseline (x) and across it (y, up), before mirroring and
  // turning about the anchor.
  int64_t left = -half, right = width + half, bottom = -Of(kDescent, size) - extraLines - half,
          top = Of(kAscent, size) + half;
  if (g.anchorKind == TextAnchor::kCentre) {
    left = -width / 2 - half;
    right = width / 2 + half;
    bottom = -Of(kCentreBelow, size) - extraLines / 2 - half;
    top = Of(kCentreAbove, size) + extraLines / 2 + half;
  }
  if (g.mirrored) {
    const int64_t mirroredLeft = -right;
    right = -left;
    left = mirroredLeft;
  }
  Box box;
  double s = 0, c = 1;
  SinCosDegrees(g.degrees, s, c);
  if (s == 0 && c == 1) {
    box.Add({g.anchor.x + left, g.anchor.y + bottom});
    box.Add({g.anchor.x + right, g.anchor.y + top});
    return box;
  }
  const std::array<Point, 4> corners{Point{left, bottom}, Point{right, bottom}, Point{right, top}, Point{left, top}};
  for (const Point& corner : corners) {
    const auto x = static_cast<double>(corner.x), y = static_cast<double>(corner.y);
    box.Add({g.anchor.x + std::llround(x * c - y * s), g.anchor.y + std::llround(x * s + y * c)});
  }
  return box;
}

}  // namespace orvik::host::kicad
