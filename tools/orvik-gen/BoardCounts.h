// How many records of each kind a generated board holds.
#pragma once

#include <cstdint>

namespace orvik::gen {

struct BoardCounts {
  std::uint32_t components = 0;
  std::uint32_t pads = 0;
  std::uint32_t nets = 0;
  std::uint32_t tracks = 0;
  std::uint32_t arcs = 0;
  std::uint32_t vias = 0;
  std::uint32_t texts = 0;
  std::uint32_t fills = 0;
  std::uint32_t polygons = 0;

  // Records as the importer counts them: every keyword line except the
  // polygon points, which belong to their POLY record.
  [[nodiscard]] std::uint64_t Records() const noexcept;

  // The counts that go with a number of components: per component six pads,
  // twenty track segments, ten arcs, six vias, three texts and one net; a
  // fill for every fifth and a polygon for every tenth.
  [[nodiscard]] static BoardCounts ForComponents(std::uint32_t components) noexcept;

  // Scale 1 is 5000 components, about 10 MB of text.
  [[nodiscard]] static BoardCounts ForScale(std::uint32_t scale) noexcept;

  bool operator==(const BoardCounts&) const = default;
};

// Limits of the command line: they keep every number in the file within 32
// bits and the generator's memory (about 24 bytes per pad) bounded.
inline constexpr std::uint32_t kComponentsPerScale = 5000;
inline constexpr std::uint32_t kMaxScale = 1000;
inline constexpr std::uint32_t kMaxComponents = kComponentsPerScale * kMaxScale;
inline constexpr std::uint32_t kMaxCount = 100'000'000;

}  // namespace orvik::gen
