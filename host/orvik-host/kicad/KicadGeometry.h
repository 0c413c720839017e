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

// An axis-aligned box, empty until a point is added; edges belong to it.
struct Box {
  Point min, max;
  bool empty = true;

  void Add(Point p) noexcept;
  void Merge(const Box& other) noexcept;
  // Grown by `by` on every side (shrunk for a negative `by`, never past its
  // centre).
  [[nodiscard]] Box Grown(int64_t by) const noexcept;
  [[nodiscard]] bool Overlaps(const Box& other) const noexcept;
  [[nodiscard]] int64_t Width() const noexcept { return empty ? 0 : max.x - min.x; }
  [[nodiscard]] int64_t Height() const noexcept { return empty ? 0 : max.y - min.y; }
  [[nodiscard]] Point Centre() const noexcept { return {min.x + Width() / 2, min.y + Height() / 2}; }
  static Box Around(Point centre, int64_t halfWidth, int64_t halfHeight) noexcept;
};

// The box around a rectangle of half sizes `halfX` and `halfY` about
// `centre`, turned by `degrees`.
Box TurnedBox(Point centre, int64_t halfX, int64_t halfY, double degrees) noexcept;
// The box around an arc drawn as ArcThrough draws it, its stroke included.
Box ArcBox(Point centre, int64_t radius, double startDegrees, double endDegrees, int64_t width) noexcept;
// True when the stroke from `a` to `b`, `halfWidth` to either side, comes
// within `box`.
bool SegmentTouches(Point a, Point b, int64_t halfWidth, const Box& box) noexcept;

}  // namespace orvik::host::kicad
