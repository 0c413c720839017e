// Stateless conversions of file values into host values that the section
// readers share: angle folding, default text stroke width and text rotation
// codes.
#pragma once

#include <cstdint>

namespace orvik {

// Rounds to the nearest integer, halves to even.
double RoundHalfEven(double value) noexcept;

// Folds an angle in degrees into 0..360: above 720 it is first reduced by
// whole turns (toward zero), then turns are taken off while it exceeds 360
// and added while it is negative. Exactly 360 stays 360; 720 gives 360 but
// 1080 gives 0. Constant time; for integral arguments (every value a record
// can produce) the result is exact.
double NormalizeAngle(double degrees) noexcept;

// Stroke width, in host units, for a text of the given height in host units
// whose record gives no width: 6 mils while a tenth of the height is at most
// 3 mils, growing to 8 mils as it reaches 6 mils, 8 mils below 8 mils, and a
// tenth of the height beyond.
std::int32_t DefaultTextWidth(std::int32_t heightCoord) noexcept;

// A text record's rotation code: the two lowest bits give the angle in
// quarter turns; codes above 3 mirror the text.
struct TTextRotation {
  double Degrees = 0.0;
  bool Mirrored = false;
};
TTextRotation TextRotationFromCode(std::int32_t code) noexcept;

}  // namespace orvik
