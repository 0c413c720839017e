// What a text on a side's silkscreen must keep clear of: the side's other
// silkscreen, its mask openings (the pads) and the board edge, indexed by
// place so that a footprint's reference finds a free spot in time linear in
// the board.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "host/orvik-host/kicad/KicadGeometry.h"

namespace orvik::host::kicad {

class SilkscreenIndex {
 public:
  enum Side : uint8_t { kTop = 1, kBottom = 2, kBothSides = 3 };

  // Items are expected within `extent` (host nanometres); those beyond it
  // are still found, in the cells at its border.
  explicit SilkscreenIndex(const Box& extent);

  void AddBox(const Box& box, uint8_t sides);
  // A stroke from `a` to `b`, `halfWidth` to either side.
  void AddStroke(Point a, Point b, int64_t halfWidth, uint8_t sides);

  // How many items on `side` come within `box`; counting stops at `limit`.
  // Each cell and item looked at takes one from `budget`; once it is spent
  // the answer is `limit`, as if the box were covered.
  int Count(const Box& box, Side side, int limit, int64_t& budget);

 private:
  struct Item {
    Box box;  // around the item
    Point a, b;
    int64_t halfWidth = 0;
    bool stroke = false;
  };
  struct CellRange {
    int64_t x0, y0, x1, y1;
    [[nodiscard]] int64_t Cells() const noexcept { return (x1 - x0 + 1) * (y1 - y0 + 1); }
  };

  // Each side's items by place.
  struct Grid {
    std::vector<std::vector<uint32_t>> cells;  // item indices per cell, row by row
    std::vector<uint32_t> large;               // items covering too many cells to file
  };

  [[nodiscard]] CellRange CellsOf(const Box& box) const noexcept;
  [[nodiscard]] static bool Touches(const Item& item, const Box& box) noexcept;
  void File(const CellRange& range, uint8_t sides);
  void Insert(const Item& item, uint8_t sides);

  Point origin_;
  int64_t cell_ = 1;  // nm
  int64_t columns_ = 1, rows_ = 1;
  std::vector<Item> items_;
  std::array<Grid, 2> grids_;   // top, bottom
  std::vector<uint32_t> seen_;  // per item: the last query that looked at it
  uint32_t query_ = 0;
};

}  // namespace orvik::host::kicad
