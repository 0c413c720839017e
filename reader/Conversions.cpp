#include "reader/Conversions.h"

#include <cmath>

namespace orvik {

namespace {

// Host units: 10000 to the mil.
constexpr std::int32_t kThreeMils = 30000;
constexpr std::int32_t kSixMils = 60000;
constexpr std::int32_t kEightMils = 80000;

// Integral doubles up to this magnitude convert to int64 exactly.
constexpr double kExactIntegerLimit = 9007199254740992.0;  // 2^53

}  // namespace

double RoundHalfEven(double value) noexcept {
  const double lower = std::floor(value);
  const double fraction = value - lower;
  if (fraction > 0.5) return lower + 1.0;
  if (fraction < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

double NormalizeAngle(double degrees) noexcept {
  if (std::isnan(degrees)) return degrees;
  if (std::floor(degrees) == degrees && std::fabs(degrees) <= kExactIntegerLimit) {
    const auto a = static_cast<std::int64_t>(degrees);
    if (a > 720) return static_cast<double>(a % 360);  // 0..359
    if (a > 360) return static_cast<double>(a - 360);  // 1..360
    if (a >= 0) return degrees;
    const std::int64_t r = a % 360;  // -359..0
    return static_cast<double>(r < 0 ? r + 360 : r);
  }
  // Fractional or huge values: the same steps, with the loops replaced by
  // their closed form.
  if (std::isinf(degrees)) return std::nan("");
  double a = degrees;
  if (a > 720) a -= 360 * std::trunc(a / 360);
  if (a > 360) a -= 360 * std::ceil((a - 360) / 360);
  if (a < 0) a += 360 * std::ceil(-a / 360);
  return a;
}

std::int32_t DefaultTextWidth(std::int32_t heightCoord) noexcept {
  const auto tenth = static_cast<std::int32_t>(RoundHalfEven(heightCoord * 0.1));
  if (tenth <= kThreeMils) return kSixMils;
  if (tenth < kSixMils) {
    return kSixMils + static_cast<std::int32_t>(RoundHalfEven(static_cast<double>((tenth - kThreeMils) * 2) / 3));
  }
  if (tenth < kEightMils) return kEightMils;
  return tenth;
}

TTextRotation TextRotationFromCode(std::int32_t code) noexcept {
  const std::uint32_t quarterTurns = static_cast<std::uint32_t>(code) & 3u;
  return {90.0 * quarterTurns, code > 3};
}

}  // namespace orvik
