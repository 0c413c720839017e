// JSON string values for the stand-in host's board dump and orvik-host's
// check report. Header-only, so that the Kovlan module and the orvik-host
// program each compile it in without a library between them.
#pragma once

#include <string>
#include <string_view>

#include "host/common/Windows1252.h"

namespace orvik::json {

// How a writer spells its escapes. The board dump and the check report have
// always differed here, and both are compared byte for byte.
struct EscapeStyle {
  bool upperHex;      // \u00E9 rather than \u00e9
  bool escapeDelete;  // 0x7F as \u007f rather than as itself
};
inline constexpr EscapeStyle kBoardDumpStyle{.upperHex = true, .escapeDelete = false};
inline constexpr EscapeStyle kCheckReportStyle{.upperHex = false, .escapeDelete = true};

// Appends the escape "\uXXXX" of a code point below U+10000.
inline void AppendEscape(std::string& out, char32_t codePoint, EscapeStyle style) {
  const char* const digits = style.upperHex ? "0123456789ABCDEF" : "0123456789abcdef";
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += digits[(codePoint >> shift) & 15];
}

namespace detail {

// The quoting both kinds of text share: '"' and '\' take a backslash,
// control characters (and DEL where the style says so) become \uXXXX; bytes
// from 0x80 up are Windows-1252 text to decode, or UTF-8 to keep.
inline void AppendQuoted(std::string& out, std::string_view text, EscapeStyle style, bool windows1252) {
  out += '"';
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (b < 0x20 || (b == 0x7F && style.escapeDelete) || (b >= 0x80 && windows1252)) {
      AppendEscape(out, windows1252 ? text::Windows1252CodePoint(b) : b, style);
    } else {
      out += c;
    }
  }
  out += '"';
}

}  // namespace detail

// Appends `text` (8-bit host text, Windows-1252) as a quoted JSON string:
// bytes 0x80..0xFF become \uXXXX, the code point the byte decodes to. The
// result is plain ASCII, valid JSON whatever the input bytes.
inline void AppendString(std::string& out, std::string_view text, EscapeStyle style) {
  detail::AppendQuoted(out, text, style, true);
}

// Appends `utf8` (text already valid UTF-8) as a quoted JSON string in the
// check report's style (control characters and DEL escaped); the rest stays
// as it is.
inline void AppendUtf8String(std::string& out, std::string_view utf8) {
  detail::AppendQuoted(out, utf8, kCheckReportStyle, false);
}

}  // namespace orvik::json
