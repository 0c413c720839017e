#include "host/orvik-host/kicad/KicadGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvik::host::kicad {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
// Coordinates stay far inside this; it only keeps conversions defined.
constexpr double kLargest = 9e15;

int64_t Round(double v) noexcept {
  if (!std::isfinite(v)) return 0;
  return std::llround(std::clamp(v, -kLargest, kLargest));
}

}  // namespace

void SinCosDegrees(double degrees, double& sine, double& cosine) noexcept {
  if (!std::isfinite(degrees)) {
    sine = 0;
    cosine = 1;
    return;
  }
  // Quarter turns by exact reduction, the rest within (-45, 45] degrees,
  // where the library's sine and cosine are at their most accurate.
  double reduced = std::fmod(degrees, 360.0);  // exact
  if (reduced < 0) reduced += 360.0;
  double quarters = std::floor((reduced + 45.0) / 90.0);
  double rest = reduced - quarters * 90.0;  // exact: both are small multiples of powers of two apart
  if (rest <= -45.0) {
    rest += 90.0;
    quarters -= 1;
  }
  const double s = rest == 0 ? 0.0 : std::sin(rest * kRadiansPerDegree);
  const double c = rest == 0 ? 1.0 : std::cos(rest * kRadiansPerDegree);
  switch (static_cast<int>(quarters) & 3) {
    case 0:
      sine = s;
      cosine = c;
      break;
    case 1:
      sine = c;
      cosine = -s;
      break;
    case 2:
      sine = -s;
      cosine = -c;
      break;
    default:
      sine = -c;
      cosine = s;
      break;
  }
}

Point Turned(Point p, Point centre, double degrees) noexcept {
  double s = 0, c = 1;
  SinCosDegrees(degrees, s, c);
  const auto dx = static_cast<double>(p.x - centre.x);
  const auto dy = static_cast<double>(p.y - centre.y);
  return {centre.x + Round(dx * c - dy * s), centre.y + Round(dx * s + dy * c)};
}

Point OnCircle(Point centre, int64_t radius, double degrees) noexcept {
  double s = 0, c = 1;
  SinCosDegrees(degrees, s, c);
  const auto r = static_cast<double>(radius);
  return {centre.x + Round(r * c), centre.y + Round(r * s)};
}

double ArcSweep(double startDegrees, double endDegrees) noexcept {
  if (!std::isfinite(startDegrees) || !std::isfinite(endDegrees)) return 360.0;
  double sweep = std::fmod(endDegrees - startDegrees, 360.0);
  if (sweep <= 0) sweep += 360.0;
  return sweep;
}

ArcPoints ArcThrough(Point centre, int64_t radius, double startDegrees, double endDegrees) noexcept {
  const double start = std::isfinite(startDegrees) ? startDegrees : 0.0;
  const double sweep = ArcSweep(startDegrees, endDegrees);
  return {OnCircle(centre, radius, start), OnCircle(centre, radius, start + sweep / 2),
          OnCircle(centre, radius, start + sweep)};
}

bool CircleCentre(Point a, Point b, Point c, double& x, double& y) noexcept {
  // Relative to `a`, so that the products stay small.
  const auto bx = static_cast<double>(b.x - a.x), by = static_cast<double>(b.y - a.y);
  const auto cx = static_cast<double>(c.x - a.x), cy = static_cast<double>(c.y - a.y);
  const double d = 2 * (bx * cy - by * cx);
  if (d == 0) return false;
  const double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
  x = static_cast<double>(a.x) + (cy * b2 - by * c2) / d;
  y = static_cast<double>(a.y) + (bx * c2 - cx * b2) / d;
  return true;
}

std::array<Point, 4> TurnedRectangle(Point corner1, Point corner2, double degrees) noexcept {
  const int64_t x1 = std::min(corner1.x, corner2.x), x2 = std::max(corner1.x, corner2.x);
  const int64_t y1 = std::min(corner1.y, corner2.y), y2 = std::max(corner1.y, corner2.y);
  std::array<Point, 4> corners{Point{x1, y1}, Point{x2, y1}, Point{x2, y2}, Point{x1, y2}};
  double s = 0, c = 1;
  SinCosDegrees(degrees, s, c);
  if (s == 0 && c == 1) return corners;
  // About the centre, which may lie on a half nanometre.
  const double mx = (static_cast<double>(x1) + static_cast<double>(x2)) / 2;
  const double my = (static_cast<double>(y1) + static_cast<double>(y2)) / 2;
  for (Point& p : corners) {
    const double dx = static_cast<double>(p.x) - mx, dy = static_cast<double>(p.y) - my;
    p = {Round(mx + dx * c - dy * s), Round(my + dx * s + dy * c)};
  }
  return corners;
}

void Box::Add(Point p) noexcept {
  if (empty) {
    min = max = p;
    empty = false;
    return;
  }
  min = {std::min(min.x, p.x), std::min(min.y, p.y)};
  max = {std::max(max.x, p.x), std::max(max.y, p.y)};
}

void Box::Merge(const Box& other) noexcept {
  if (other.empty) return;
  Add(other.min);
  Add(other.max);
}

Box Box::Grown(int64_t by) const noexcept {
  if (empty) return *this;
  Box b = *this;
  const int64_t x = std::max(by, -(Width() / 2)), y = std::max(by, -(Height() / 2));
  b.min = {min.x - x, min.y - y};
  b.max = {max.x + x, max.y + y};
  return b;
}

bool Box::Overlaps(const Box& other) const noexcept {
  return !empty && !other.empty && min.x <= other.max.x && other.min.x <= max.x && min.y <= other.max.y &&
         other.min.y <= max.y;
}

Box Box::Around(Point centre, int64_t halfWidth, int64_t halfHeight) noexcept {
  Box b;
  b.Add({centre.x - halfWidth, centre.y - halfHeight});
  b.Add({centre.x + halfWidth, centre.y + halfHeight});
  return b;
}

Box TurnedBox(Point centre, int64_t halfX, int64_t halfY, double degrees) noexcept {
  Box b;
  for (const Point& corner :
       TurnedRectangle({centre.x - halfX, centre.y - halfY}, {centre.x + halfX, centre.y + halfY}, degrees)) {
    b.Add(corner);
  }
  return b;
}

Box ArcBox(Point centre, int64_t radius, double startDegrees, double endDegrees, int64_t width) noexcept {
  const ArcPoints points = ArcThrough(centre, radius, startDegrees, endDegrees);
  Box b;
  b.Add(points.start);
  b.Add(points.end);
  // The extreme points of the circle that the sweep passes.
  const double start = std::isfinite(startDegrees) ? startDegrees : 0.0;
  const double sweep = ArcSweep(startDegrees, endDegrees);
  double first = std::ceil(start / 90.0) * 90.0;
  for (int i = 0; i < 5 && first <= start + sweep; ++i, first += 90.0) b.Add(OnCircle(centre, radius, first));
  return b.Grown((width + 1) / 2);
}

bool SegmentTouches(Point a, Point b, int64_t halfWidth, const Box& box) noexcept {
  if (box.empty) return false;
  const Box grown = box.Grown(halfWidth);
  // Clip the centre line to the grown box (Liang-Barsky).
  const auto ax = static_cast<double>(a.x), ay = static_cast<double>(a.y);
  const double dx = static_cast<double>(b.x) - ax, dy = static_cast<double>(b.y) - ay;
  double t0 = 0, t1 = 1;
  const auto clip = [&](double p, double q) {
    if (p == 0) return q >= 0;
    const double t = q / p;
    if (p < 0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
    return true;
  };
  return clip(-dx, ax - static_cast<double>(grown.min.x)) && clip(dx, static_cast<double>(grown.max.x) - ax) &&
         clip(-dy, ay - static_cast<double>(grown.min.y)) && clip(dy, static_cast<double>(grown.max.y) - ay);
}

}  // namespace orvik::host::kicad
