// Where the board lands in KiCad: the page size, and the point of the page
// that the host's origin maps to. Host coordinates (Y up, nanometres) map
// to KiCad's (Y down): x' = origin.x + x, y' = origin.y - y.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/orvik-host/kicad/KicadGeometry.h"

namespace orvik::host::kicad {

// KiCad keeps coordinates within about +-1518 mm (it clamps beyond); the
// export keeps everything within this, and leaves out what lies beyond.
inline constexpr int64_t kCoordinateLimit = 1500000000;  // nm

struct Page {
  const char* name = "A4";  // a KiCad paper name, landscape
  int64_t width = 0;        // nm
  int64_t height = 0;
};

class Placement {
 public:
  // From the extreme points of everything to be written (host nanometres,
  // any order). The board's box is centred on the smallest landscape A-size
  // page that holds it with a margin, or, when it is larger than A0, on
  // KiCad's origin, so that the most of it stays within the coordinate
  // limit. When the points span more than the limit allows, the box is
  // taken around the median point, so that a few far-off objects do not
  // move the board away. The origin is a whole millimetre.
  static Placement Around(std::vector<Point> points);
  // The same for a box known to span no more than the limit allows
  // (minimum and maximum corners, host nanometres); an empty board when
  // `empty`.
  static Placement ForBox(Point min, Point max, bool empty);
  // True when a box spans more than the limit allows, so that Around must
  // look at the points.
  static bool NeedsPoints(Point min, Point max) noexcept {
    return max.x - min.x > 2 * kCoordinateLimit || max.y - min.y > 2 * kCoordinateLimit;
  }

  [[nodiscard]] Point ToKicad(Point host) const noexcept { return {origin_.x + host.x, origin_.y - host.y}; }
  // A length along KiCad's axes from a host offset (Y flips).
  [[nodiscard]] static Point Offset(Point host) noexcept { return {host.x, -host.y}; }
  [[nodiscard]] static bool Within(Point kicad) noexcept {
    return kicad.x >= -kCoordinateLimit && kicad.x <= kCoordinateLimit && kicad.y >= -kCoordinateLimit &&
           kicad.y <= kCoordinateLimit;
  }
  [[nodiscard]] const Page& PageSize() const noexcept { return page_; }
  // KiCad position of the host's origin; written as the board's auxiliary
  // axis origin.
  [[nodiscard]] Point Origin() const noexcept { return origin_; }
  // True when the board is larger than the largest page.
  [[nodiscard]] bool Overflows() const noexcept { return overflows_; }

 private:
  Page page_;
  Point origin_;
  bool overflows_ = false;
};

}  // namespace orvik::host::kicad
