// Host text to Unicode: the host's strings are 8-bit text in the Windows
// ANSI code page 1252. Every writer that turns host text into UTF-8, JSON
// escapes or markup references (board dump, check report, previews, KiCad
// board) decodes it here. Header-only, so that the Kovlan module and the
// orvik-host program each compile it in without a library between them.
//
// Bytes 0x00..0x7F are ASCII and 0xA0..0xFF are the Latin-1 code points of
// the same number. 0x80..0x9F hold the code page's typographic characters
// (euro sign, dashes, quotes, ...); the five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) decode to the C1 control code
// points of the same number, as the Windows conversion functions and the
// WHATWG encoding standard do. Every byte thus has one code point and
// distinct texts stay distinct.
#pragma once

#include <string>
#include <string_view>

namespace orvik::text {

// The code point of one host byte.
constexpr char32_t Windows1252CodePoint(unsigned char byte) noexcept {
  constexpr char32_t kHigh[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
  };
  return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : char32_t{byte};
}

// Appends a code point below U+10000 (all that the code page yields) as
// UTF-8.
inline void AppendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

inline void AppendWindows1252AsUtf8(std::string& out, std::string_view text) {
  for (const char c : text) AppendUtf8(out, Windows1252CodePoint(static_cast<unsigned char>(c)));
}

inline std::string Windows1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendWindows1252AsUtf8(out, text);
  return out;
}

}  // namespace orvik::text
