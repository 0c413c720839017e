#include "host/orvik-host/Markup.h"

#include <charconv>
#include <cmath>

#include "host/common/Windows1252.h"

namespace orvik::host {

namespace {

constexpr double kLargest = 1e15;  // well inside int64 after scaling by 10000

// `scaled` / 10000 with the fraction's trailing zeros removed.
std::string FormatTenThousandths(int64_t scaled) {
  const bool negative = scaled < 0;
  // Magnitude without overflow for INT64_MIN.
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
  const uint64_t whole = magnitude / 10000;
  uint64_t fraction = magnitude % 10000;
  std::string out;
  if (negative && magnitude != 0) out += '-';
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, whole);
  out.append(buf, r.ptr);
  if (fraction != 0) {
    char digits[5] = {'0', '0', '0', '0', '\0'};
    for (int i = 3; i >= 0; --i) {
      digits[i] = static_cast<char>('0' + fraction % 10);
      fraction /= 10;
    }
    int length = 4;
    while (digits[length - 1] == '0') --length;
    out += '.';
    out.append(digits, static_cast<std::size_t>(length));
  }
  return out;
}

int64_t RoundCapped(double v) {
  if (!std::isfinite(v)) return 0;
  if (v > kLargest) v = kLargest;
  if (v < -kLargest) v = -kLargest;
  return std::llround(v);
}

// Appends the entity of a markup character or the replacement of a control
// character that XML does not allow; false for any other character.
bool AppendSpecial(std::string& out, char c) {
  const auto b = static_cast<unsigned char>(c);
  switch (c) {
    case '&':
      out += "&amp;";
      return true;
    case '<':
      out += "&lt;";
      return true;
    case '>':
      out += "&gt;";
      return true;
    case '"':
      out += "&quot;";
      return true;
    case '\'':
      out += "&#39;";
      return true;
    default:
      break;
  }
  if ((b < 0x20 && c != '\t' && c != '\n' && c != '\r') || b == 0x7F) {
    out += "&#xFFFD;";
    return true;
  }
  return false;
}

}  // namespace

void AppendEscapedUtf8(std::string& out, std::string_view utf8) {
  for (const char c : utf8) {
    if (!AppendSpecial(out, c)) out += c;
  }
}

void AppendEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (AppendSpecial(out, c)) continue;
    if (b >= 0x80) {
      static const char kHex[] = "0123456789ABCDEF";
      const char32_t codePoint = text::Windows1252CodePoint(b);
      out += "&#x";
      if (codePoint > 0xFF) {
        out += kHex[(codePoint >> 12) & 15];
        out += kHex[(codePoint >> 8) & 15];
      }
      out += kHex[(codePoint >> 4) & 15];
      out += kHex[codePoint & 15];
      out += ';';
    } else {
      out += c;
    }
  }
}

std::string Escaped(std::string_view text) {
  std::string out;
  AppendEscaped(out, text);
  return out;
}

std::string FormatMils(int64_t units) { return FormatTenThousandths(units); }

std::string FormatMils(double units) { return FormatTenThousandths(RoundCapped(units)); }

std::string FormatNumber(double value) {
  if (!std::isfinite(value)) return "0";
  return FormatTenThousandths(RoundCapped(value * 10000.0));
}

}  // namespace orvik::host
