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

}  // namespace orvik::host::kicad
