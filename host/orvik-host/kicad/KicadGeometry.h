// Plane geometry of the KiCad export, in whole nanometres: turning points
// about a centre, the three points KiCad keeps of an arc, the corners of a
// turned rectangle. Sines and cosines of multiples of 90 degrees are exact.
#pragma once

#include <array>
#include <cstdint>

namespace orvik::host::kicad {

struct Point {
  int64_t x = 0, y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Sine and cosine of an angle in degrees; exactly 0 and +-1 at multiples of
// 90 degrees, so that right-angled turns keep whole coordinates.
void SinCosDegrees(double degrees, double& sine, double& cosine) noexcept;

// `p` turned by `degrees` counterclockwise about `centre` in a plane whose
// Y axis points up, rounded to whole nanometres.
Point Turned(Point p, Point centre, double degrees) noexcept;

// The point at `degrees` on the circle about `centre` with `radius` (Y up).
Point OnCircle(Point centre, int64_t radius, double degrees) noexcept;

// An arc drawn counterclockwise (Y up) from `startDegrees` to `endDegrees`
// about `centre`: its start, middle and end points.
struct ArcPoints {
  Point start, mid, end;
};
ArcPoints ArcThrough(Point centre, int64_t radius, double startDegrees, double endDegrees) noexcept;

// The sweep of such an arc in degrees, in (0, 360]: equal start and end
// angles make a full circle.
double ArcSweep(double startDegrees, double endDegrees) noexcept;

// The centre of the circle through three points, as KiCad finds it from an
// arc's start, middle and end; false when they lie on one line.
bool CircleCentre(Point a, Point b, Point c, double& x, double& y) noexcept;

// The corners of the rectangle between two corners, turned by `degrees`
// about its centre (Y up), counterclockwise from the lower left.
std::array<Point, 4> TurnedRectangle(Point corner1, Point corner2, double degrees) noexcept;

}  // namespace orvik::host::kicad
