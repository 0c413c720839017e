#include "host/orvik-host/kicad/KicadFormat.h"

#include <charconv>
#include <cmath>

namespace orvik::host::kicad {

namespace {

// `magnitude` / 10^decimals with the fraction's trailing zeros removed.
void AppendScaled(std::string& out, bool negative, uint64_t magnitude, int decimals, uint64_t scale) {
  const uint64_t whole = magnitude / scale;
  uint64_t fraction = magnitude % scale;
  if (negative && magnitude != 0) out += '-';
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, whole);
  out.append(buf, r.ptr);
  if (fraction == 0) return;
  char digits[8] = {};
  for (int i = decimals - 1; i >= 0; --i) {
    digits[i] = static_cast<char>('0' + fraction % 10);
    fraction /= 10;
  }
  int length = decimals;
  while (digits[length - 1] == '0') --length;
  out += '.';
  out.append(digits, static_cast<std::size_t>(length));
}

constexpr int64_t kFullTurn = 360000;   // millidegrees
constexpr double kLargestAngle = 1e12;  // degrees; beyond, the angle is meaningless anyway
constexpr char kHexDigits[] = "0123456789abcdef";

void AppendHex(std::string& out, uint64_t value, int digits) {
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kHexDigits[(value >> shift) & 15];
}

}  // namespace

void AppendMillimetres(std::string& out, int64_t nanometres) {
  const bool negative = nanometres < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(nanometres) : static_cast<uint64_t>(nanometres);
  AppendScaled(out, negative, magnitude, 6, 1000000);
}

std::string Millimetres(int64_t nanometres) {
  std::string out;
  AppendMillimetres(out, nanometres);
  return out;
}

int64_t MillidegreesOf(double degrees) noexcept {
  if (!std::isfinite(degrees) || std::fabs(degrees) > kLargestAngle) return 0;
  // Reduce first so that the rounding works on a small number.
  const double reduced = std::fmod(degrees, 360.0);  // exact
  int64_t m = std::llround(reduced * 1000.0);
  m %= kFullTurn;
  return m < 0 ? m + kFullTurn : m;
}

void AppendRatio(std::string& out, int64_t thousandths) {
  const bool negative = thousandths < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(thousandths) : static_cast<uint64_t>(thousandths);
  AppendScaled(out, negative, magnitude, 3, 1000);
}

void AppendDegrees(std::string& out, int64_t millidegrees) { AppendRatio(out, millidegrees); }

void AppendQuoted(std::string& out, std::string_view utf8) {
  out += '"';
  for (const char c : utf8) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (b < 0x20) {
      out += "\\x";
      AppendHex(out, b, 2);
    } else {
      out += c;
    }
  }
  out += '"';
}

void AppendTstamp(std::string& out, Role role, uint32_t handle) {
  out += "(tstamp 4f52564b-";
  AppendHex(out, static_cast<uint16_t>(role), 4);
  out += "-4000-8000-";
  AppendHex(out, handle, 12);
  out += ')';
}

}  // namespace orvik::host::kicad
