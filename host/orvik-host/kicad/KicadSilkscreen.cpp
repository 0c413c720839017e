#include "host/orvik-host/kicad/KicadSilkscreen.h"

#include <algorithm>
#include <cmath>

namespace orvik::host::kicad {

namespace {

constexpr int64_t kMinimumCell = 2000000;   // nm
constexpr int64_t kMaxCellsAcross = 1024;   // per axis
constexpr int64_t kMaxCellsPerItem = 4096;  // beyond, an item is checked by every query

// The grids of the sides an item is on.
template <typename Fn>
void ForSides(uint8_t sides, Fn&& fn) {
  if ((sides & SilkscreenIndex::kTop) != 0) fn(0);
  if ((sides & SilkscreenIndex::kBottom) != 0) fn(1);
}

}  // namespace

SilkscreenIndex::SilkscreenIndex(const Box& extent) {
  if (extent.empty) return;
  origin_ = extent.min;
  const int64_t span = std::max(extent.Width(), extent.Height());
  cell_ = std::max(kMinimumCell, span / kMaxCellsAcross + 1);
  columns_ = extent.Width() / cell_ + 1;
  rows_ = extent.Height() / cell_ + 1;
  for (Grid& grid : grids_) grid.cells.resize(static_cast<std::size_t>(columns_ * rows_));
}

SilkscreenIndex::CellRange SilkscreenIndex::CellsOf(const Box& box) const noexcept {
  auto column = [this](int64_t x) { return std::clamp((x - origin_.x) / cell_, int64_t{0}, columns_ - 1); };
  auto row = [this](int64_t y) { return std::clamp((y - origin_.y) / cell_, int64_t{0}, rows_ - 1); };
  return {column(box.min.x), row(box.min.y), column(box.max.x), row(box.max.y)};
}

void SilkscreenIndex::File(const CellRange& range, uint8_t sides) {
  const auto index = static_cast<uint32_t>(items_.size() - 1);
  ForSides(sides, [&](std::size_t g) {
    for (int64_t y = range.y0; y <= range.y1; ++y) {
      for (int64_t x = range.x0; x <= range.x1; ++x) {
        std::vector<uint32_t>& cell = grids_[g].cells[static_cast<std::size_t>(y * columns_ + x)];
        if (cell.empty() || cell.back() != index) cell.push_back(index);
      }
    }
  });
}

void SilkscreenIndex::Insert(const Item& item, uint8_t sides) {
  if (item.box.empty || grids_[0].cells.empty() || (sides & kBothSides) == 0) return;
  items_.push_back(item);
  seen_.push_back(0);
  const CellRange whole = CellsOf(item.box);
  if (whole.Cells() <= kMaxCellsPerItem) {
    File(whole, sides);
    return;
  }
  // A long stroke: the cells along it, in pieces of about a cell.
  const double length = std::hypot(static_cast<double>(item.b.x - item.a.x), static_cast<double>(item.b.y - item.a.y));
  const int64_t pieces = static_cast<int64_t>(length / static_cast<double>(cell_)) + 1;
  const int64_t reach = item.halfWidth + cell_;
  if (!item.stroke || pieces * ((2 * reach) / cell_ + 2) * ((2 * reach) / cell_ + 2) > kMaxCellsPerItem) {
    ForSides(sides, [&](std::size_t g) { grids_[g].large.push_back(static_cast<uint32_t>(items_.size() - 1)); });
    return;
  }
  for (int64_t i = 0; i <= pieces; ++i) {
    const double t = static_cast<double>(i) / static_cast<double>(pieces);
    const Point p{item.a.x + static_cast<int64_t>(std::llround(t * static_cast<double>(item.b.x - item.a.x))),
                  item.a.y + static_cast<int64_t>(std::llround(t * static_cast<double>(item.b.y - item.a.y)))};
    File(CellsOf(Box::Around(p, reach, reach)), sides);
  }
}

void SilkscreenIndex::AddBox(const Box& box, uint8_t sides) {
  Item item;
  item.box = box;
  Insert(item, sides);
}

void SilkscreenIndex::AddStroke(Point a, Point b, int64_t halfWidth, uint8_t sides) {
  Item item;
  item.box.Add(a);
  item.box.Add(b);
  item.halfWidth = std::max<int64_t>(halfWidth, 0);
  item.box = item.box.Grown(item.halfWidth);
  item.a = a;
  item.b = b;
  item.stroke = true;
  Insert(item, sides);
}

bool SilkscreenIndex::Touches(const Item& item, const Box& box) noexcept {
  if (!item.box.Overlaps(box)) return false;
  return !item.stroke || SegmentTouches(item.a, item.b, item.halfWidth, box);
}

int SilkscreenIndex::Count(const Box& box, Side side, int limit, int64_t& budget) {
  const Grid& grid = grids_[side == kBottom ? 1 : 0];
  if (box.empty || grid.cells.empty() || limit <= 0) return 0;
  if (++query_ == 0) {
    std::fill(seen_.begin(), seen_.end(), 0);
    query_ = 1;
  }
  int count = 0;
  auto look = [&](uint32_t index) {
    if (--budget < 0) {
      count = limit;
      return true;
    }
    if (seen_[index] == query_) return false;
    seen_[index] = query_;
    if (Touches(items_[index], box)) ++count;
    return count >= limit;
  };
  const CellRange range = CellsOf(box);
  for (int64_t y = range.y0; y <= range.y1; ++y) {
    for (int64_t x = range.x0; x <= range.x1; ++x) {
      if (--budget < 0) return limit;
      for (const uint32_t index : grid.cells[static_cast<std::size_t>(y * columns_ + x)]) {
        if (look(index)) return count;
      }
    }
  }
  for (const uint32_t index : grid.large) {
    if (look(index)) return count;
  }
  return count;
}

}  // namespace orvik::host::kicad
