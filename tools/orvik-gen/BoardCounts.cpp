#include "tools/orvik-gen/BoardCounts.h"

#include <algorithm>

namespace orvik::gen {

namespace {

std::uint32_t Times(std::uint32_t n, std::uint32_t numerator, std::uint32_t denominator) noexcept {
  const std::uint64_t value = static_cast<std::uint64_t>(n) * numerator / denominator;
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(value, kMaxCount));
}

}  // namespace

std::uint64_t BoardCounts::Records() const noexcept {
  return std::uint64_t{components} + pads + nets + tracks + arcs + vias + texts + fills + polygons;
}

BoardCounts BoardCounts::ForComponents(std::uint32_t components) noexcept {
  BoardCounts c;
  c.components = std::min(components, kMaxComponents);
  c.pads = Times(c.components, 6, 1);
  c.nets = c.components;
  c.tracks = Times(c.components, 20, 1);
  c.arcs = Times(c.components, 10, 1);
  c.vias = Times(c.components, 6, 1);
  c.texts = Times(c.components, 3, 1);
  c.fills = Times(c.components, 1, 5);
  c.polygons = Times(c.components, 1, 10);
  return c;
}

BoardCounts BoardCounts::ForScale(std::uint32_t scale) noexcept {
  return ForComponents(std::min(scale, kMaxScale) * kComponentsPerScale);
}

}  // namespace orvik::gen
