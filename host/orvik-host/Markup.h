// Text pieces of the SVG and HTML writers: escaped markup text and
// locale-independent decimal numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvik::host {

// Appends `text` (8-bit host text, Windows-1252) as XML/HTML character data
// or attribute value: markup characters become entities, characters
// 0x80..0xFF become references to the code points they decode to, and control characters
// other than tab and line breaks (not allowed in XML) become U+FFFD. The
// result is plain ASCII, valid whatever the input bytes.
void AppendEscaped(std::string& out, std::string_view text);
std::string Escaped(std::string_view text);
// The same for text that is UTF-8 already (of a page declared UTF-8): its
// characters beyond ASCII stay as they are.
void AppendEscapedUtf8(std::string& out, std::string_view utf8);

// A length in internal units as mils: at most four decimals, no trailing
// zeros, no "-0" (12500 -> "1.25", -10000 -> "-1", 3 -> "0.0003").
std::string FormatMils(int64_t units);
// `units` rounded to a whole number of internal units, then FormatMils;
// not-a-number and infinities give "0", magnitudes are capped at 1e15.
std::string FormatMils(double units);
// A plain number (angles, percentages) with at most four decimals.
std::string FormatNumber(double value);

}  // namespace orvik::host
