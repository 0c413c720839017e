#include "tools/orvik-gen/Footprints.h"

#include <array>

namespace orvik::gen {

namespace {

using enum PadLayout;

// Weights give a mean close to six pins per component: mostly passives,
// some small ICs, a few large ones, connectors and holes.
constexpr std::array kKinds = {
    FootprintKind{"", "J", "CONN", kSingleRow, 0, 0, 100, 100, 62, 62, 40},
    FootprintKind{"R0402", "R", "RES", kTwoPin, 2, 12, 0, 40, 20, 24, 0},
    FootprintKind{"C0402", "C", "CAP", kTwoPin, 2, 12, 0, 40, 20, 24, 0},
    FootprintKind{"R0603", "R", "RES", kTwoPin, 2, 14, 0, 60, 30, 35, 0},
    FootprintKind{"C0603", "C", "CAP", kTwoPin, 2, 12, 0, 60, 30, 35, 0},
    FootprintKind{"C0805", "C", "CAP", kTwoPin, 2, 5, 0, 80, 40, 50, 0},
    FootprintKind{"L1210", "L", "IND", kTwoPin, 2, 1, 0, 130, 50, 100, 0},
    FootprintKind{"SOD123", "D", "DIODE", kTwoPin, 2, 4, 0, 140, 35, 50, 0},
    FootprintKind{"SOT23", "Q", "TRANS", kDualRow, 3, 8, 74, 90, 30, 40, 0},
    FootprintKind{"SOT23-5", "U", "IC", kDualRow, 5, 3, 38, 110, 24, 40, 0},
    FootprintKind{"SOIC8", "U", "IC", kDualRow, 8, 7, 50, 210, 24, 70, 0},
    FootprintKind{"SOIC14", "U", "IC", kDualRow, 14, 3, 50, 210, 24, 70, 0},
    FootprintKind{"TSSOP20", "U", "IC", kDualRow, 20, 3, 26, 240, 14, 60, 0},
    FootprintKind{"QFP32", "U", "IC", kQuad, 32, 2, 32, 300, 16, 60, 0},
    FootprintKind{"QFP64", "U", "IC", kQuad, 64, 2, 20, 440, 12, 60, 0},
    FootprintKind{"DIP8", "U", "IC", kDualRow, 8, 1, 100, 300, 60, 60, 35},
    FootprintKind{"DIP14", "U", "IC", kDualRow, 14, 1, 100, 300, 60, 60, 35},
    FootprintKind{"HDR1X4", "J", "CONN", kSingleRow, 4, 2, 100, 100, 62, 62, 40},
    FootprintKind{"HDR2X10", "J", "CONN", kDoubleRow, 20, 1, 100, 100, 62, 62, 40},
    FootprintKind{"MH125", "MH", "HOLE", kSingle, 1, 1, 0, 0, 200, 200, 125},
};

constexpr std::uint32_t TotalWeight() {
  std::uint32_t total = 0;
  for (const auto& k : kKinds) total += k.weight;
  return total;
}

constexpr std::uint32_t kTotalWeight = TotalWeight();
static_assert(kTotalWeight > 0);

// Offset of item `i` of `n` evenly spaced by `pitch`, centred on 0.
constexpr std::int32_t Centered(std::uint32_t i, std::uint32_t n, std::int32_t pitch) {
  return static_cast<std::int32_t>((2 * static_cast<std::int64_t>(i) - (static_cast<std::int64_t>(n) - 1)) * pitch / 2);
}

// Smallest r with r * r >= n.
std::uint32_t IntSqrtCeil(std::uint32_t n) {
  std::uint32_t lo = 0;
  std::uint32_t hi = 65536;
  while (lo < hi) {
    const std::uint32_t mid = lo + (hi - lo) / 2;
    if (static_cast<std::uint64_t>(mid) * mid >= n) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

}  // namespace

std::span<const FootprintKind> Footprints::Kinds() noexcept { return kKinds; }

std::uint32_t Footprints::MeanPinsTimes100() noexcept {
  std::uint32_t pins = 0;
  for (const auto& k : kKinds) pins += std::uint32_t{k.weight} * k.pins;
  return pins * 100 / kTotalWeight;
}

std::size_t Footprints::Choose(SplitMix64& random) noexcept {
  std::uint32_t pick = random.Below(kTotalWeight);
  for (std::size_t i = 0; i < kKinds.size(); ++i) {
    if (pick < kKinds[i].weight) return i;
    pick -= kKinds[i].weight;
  }
  return kKinds.size() - 1;
}

PadLayout Footprints::LayoutFor(const FootprintKind& kind, std::uint32_t pins) noexcept {
  if (kind.pins != 0) return kind.layout;
  if (pins <= 1) return kSingle;
  if (pins <= 20) return kSingleRow;
  if (pins <= 80) return kDoubleRow;
  return kGrid;
}

PadPlacement Footprints::Place(const FootprintKind& kind, std::uint32_t pins, std::uint32_t index) noexcept {
  PadPlacement p;
  p.xSize = kind.padAlong;
  p.ySize = kind.padAcross;
  const std::int32_t halfSpan = kind.span / 2;
  switch (LayoutFor(kind, pins)) {
    case kTwoPin:
      p.dx = index == 0 ? -halfSpan : halfSpan;
      p.xSize = kind.padAcross;
      p.ySize = kind.padAlong;
      break;
    case kDualRow: {
      const std::uint32_t bottom = (pins + 1) / 2;
      if (index < bottom) {
        p.dx = Centered(index, bottom, kind.pitch);
        p.dy = -halfSpan;
      } else {
        const std::uint32_t top = pins - bottom;
        p.dx = Centered(top - 1 - (index - bottom), top, kind.pitch);
        p.dy = halfSpan;
      }
      break;
    }
    case kQuad: {
      const std::uint32_t perSide = pins / 4 > 0 ? pins / 4 : 1;
      const std::uint32_t side = (index / perSide) % 4;
      const std::int32_t along = Centered(index % perSide, perSide, kind.pitch);
      switch (side) {
        case 0:
          p.dx = along;
          p.dy = -halfSpan;
          break;
        case 1:
          p.dx = halfSpan;
          p.dy = along;
          break;
        case 2:
          p.dx = -along;
          p.dy = halfSpan;
          break;
        default:
          p.dx = -halfSpan;
          p.dy = -along;
          break;
      }
      if (side % 2 == 1) {
        p.xSize = kind.padAcross;
        p.ySize = kind.padAlong;
      }
      break;
    }
    case kSingleRow:
      p.dx = Centered(index, pins, kind.pitch);
      break;
    case kDoubleRow: {
      const std::uint32_t columns = (pins + 1) / 2;
      p.dx = Centered(index / 2, columns, kind.pitch);
      p.dy = index % 2 == 0 ? -halfSpan : halfSpan;
      break;
    }
    case kGrid: {
      constexpr std::int32_t kBallPitch = 40;
      const std::uint32_t side = IntSqrtCeil(pins);
      p.dx = Centered(index % side, side, kBallPitch);
      p.dy = Centered(index / side, side, kBallPitch);
      p.xSize = 24;
      p.ySize = 24;
      break;
    }
    case kSingle:
      break;
  }
  return p;
}

}  // namespace orvik::gen
