// A small, portable pseudo-random generator. The sequence depends only on the
// seed, never on the standard library, so a board generated from a seed is
// the same file on every platform.
#pragma once

#include <cstdint>

namespace orvik::gen {

class SplitMix64 {
 public:
  explicit constexpr SplitMix64(std::uint64_t seed) noexcept : state_(seed) {}

  constexpr std::uint64_t Next() noexcept {
    state_ += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // Uniform in [0, n); 0 when n is 0. Multiply-shift on the high 32 bits, so
  // no 128-bit arithmetic is needed on 32-bit targets.
  constexpr std::uint32_t Below(std::uint32_t n) noexcept {
    return static_cast<std::uint32_t>(((Next() >> 32) * n) >> 32);
  }

  // Uniform in [lo, hi]; lo when hi < lo.
  constexpr std::int32_t Between(std::int32_t lo, std::int32_t hi) noexcept {
    if (hi <= lo) return lo;
    const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo) + 1;
    if (span > 0xFFFFFFFFull) return static_cast<std::int32_t>(lo + static_cast<std::int64_t>(Next() % span));
    return static_cast<std::int32_t>(lo + static_cast<std::int64_t>(Below(static_cast<std::uint32_t>(span))));
  }

  // True with the given probability in percent.
  constexpr bool Percent(std::uint32_t percent) noexcept { return Below(100) < percent; }

 private:
  std::uint64_t state_;
};

}  // namespace orvik::gen
