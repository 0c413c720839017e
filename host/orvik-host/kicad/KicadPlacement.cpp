#include "host/orvik-host/kicad/KicadPlacement.h"

#include <algorithm>
#include <array>

namespace orvik::host::kicad {

namespace {

constexpr int64_t kMillimetre = 1000000;
constexpr int64_t kMargin = 10 * kMillimetre;

// KiCad's landscape A-size pages, smallest first.
constexpr std::array<Page, 5> kPages{{{"A4", 297 * kMillimetre, 210 * kMillimetre},
                                      {"A3", 420 * kMillimetre, 297 * kMillimetre},
                                      {"A2", 594 * kMillimetre, 420 * kMillimetre},
                                      {"A1", 841 * kMillimetre, 594 * kMillimetre},
                                      {"A0", 1189 * kMillimetre, 841 * kMillimetre}}};

int64_t WholeMillimetres(int64_t nm) {
  const int64_t half = kMillimetre / 2;
  return (nm >= 0 ? (nm + half) / kMillimetre : -((-nm + half) / kMillimetre)) * kMillimetre;
}

int64_t Median(std::vector<Point>& points, int64_t Point::*axis) {
  const auto middle = points.begin() + static_cast<std::ptrdiff_t>(points.size() / 2);
  std::nth_element(points.begin(), middle, points.end(),
                   [axis](const Point& a, const Point& b) { return a.*axis < b.*axis; });
  return (*middle).*axis;
}

}  // namespace

Placement Placement::Around(std::vector<Point> points) {
  Box box;
  for (const Point& p : points) box.Add(p);
  if (!box.empty && NeedsPoints(box.min, box.max)) {
    const int64_t mx = Median(points, &Point::x);
    const int64_t my = Median(points, &Point::y);
    box = Box{};
    for (const Point& p : points) {
      if (p.x >= mx - kCoordinateLimit && p.x <= mx + kCoordinateLimit && p.y >= my - kCoordinateLimit &&
          p.y <= my + kCoordinateLimit) {
        box.Add(p);
      }
    }
  }
  return ForBox(box.min, box.max, box.empty);
}

Placement Placement::ForBox(Point min, Point max, bool empty) {
  // Halves of values within +-2^40 nm; no overflow.
  const Point centre = empty ? Point{} : Point{min.x / 2 + max.x / 2, min.y / 2 + max.y / 2};
  const int64_t width = empty ? 0 : max.x - min.x;
  const int64_t height = empty ? 0 : max.y - min.y;

  Placement placement;
  placement.page_ = kPages.back();
  Point target{0, 0};  // where the centre goes in KiCad
  placement.overflows_ = true;
  for (const Page& page : kPages) {
    if (width + 2 * kMargin <= page.width && height + 2 * kMargin <= page.height) {
      placement.page_ = page;
      target = {page.width / 2, page.height / 2};
      placement.overflows_ = false;
      break;
    }
  }
  placement.origin_ = {WholeMillimetres(target.x - centre.x), WholeMillimetres(target.y + centre.y)};
  return placement;
}

}  // namespace orvik::host::kicad
