// The one decoder of host text (Windows-1252) and the writers that use it:
// JSON escapes, markup references and check's text report.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "host/common/JsonString.h"
#include "host/common/Windows1252.h"
#include "host/orvik-host/CheckReport.h"
#include "host/orvik-host/Markup.h"

namespace orvik::text {
namespace {

// The code page's row 0x80..0x9F, written out from its published table; the
// five undefined bytes stand for themselves.
constexpr char32_t kRow80[32] = {
    U'\u20AC', 0x81,      U'\u201A', U'\u0192', U'\u201E', U'\u2026', U'\u2020', U'\u2021',
    U'\u02C6', U'\u2030', U'\u0160', U'\u2039', U'\u0152', 0x8D,      U'\u017D', 0x8F,
    0x90,      U'\u2018', U'\u2019', U'\u201C', U'\u201D', U'\u2022', U'\u2013', U'\u2014',
    U'\u02DC', U'\u2122', U'\u0161', U'\u203A', U'\u0153', 0x9D,      U'\u017E', U'\u0178',
};

TEST(Windows1252, EveryByteDecodesToItsCodePoint) {
  for (int b = 0; b < 0x80; ++b) EXPECT_EQ(Windows1252CodePoint(static_cast<unsigned char>(b)), char32_t(b)) << b;
  for (int b = 0x80; b < 0xA0; ++b) {
    EXPECT_EQ(Windows1252CodePoint(static_cast<unsigned char>(b)), kRow80[b - 0x80]) << b;
  }
  for (int b = 0xA0; b <= 0xFF; ++b) EXPECT_EQ(Windows1252CodePoint(static_cast<unsigned char>(b)), char32_t(b)) << b;
}

TEST(Windows1252, Utf8OfSamples) {
  const struct {
    std::string_view in;
    std::string_view utf8;
  } cases[] = {
      {"", ""},
      {"GND", "GND"},
      {std::string_view("a\0b", 3), std::string_view("a\0b", 3)},
      {"\x80", "\xE2\x82\xAC"},                      // euro sign
      {"\x96\x97", "\xE2\x80\x93\xE2\x80\x94"},      // en and em dash
      {"\x84q\x93", "\xE2\x80\x9Eq\xE2\x80\x9C"},    // low and high quotes
      {"\x81\x9D", "\xC2\x81\xC2\x9D"},              // undefined: C1 controls
      {"\xA0\xE9\xFF", "\xC2\xA0\xC3\xA9\xC3\xBF"},  // Latin-1 row
      {"\x83\x9F", "\xC6\x92\xC5\xB8"},              // two-byte forms above U+00FF
  };
  for (const auto& c : cases) EXPECT_EQ(Windows1252ToUtf8(c.in), c.utf8) << c.in;
}

// Every byte gives well-formed UTF-8 of the code point it decodes to, and
// distinct bytes give distinct texts.
TEST(Windows1252, EveryByteIsWellFormedUtf8) {
  std::string seen[256];
  for (int b = 0; b < 256; ++b) {
    const std::string utf8 = Windows1252ToUtf8(std::string(1, static_cast<char>(b)));
    const char32_t cp = Windows1252CodePoint(static_cast<unsigned char>(b));
    ASSERT_FALSE(utf8.empty());
    const auto lead = static_cast<unsigned char>(utf8[0]);
    char32_t decoded = 0;
    if (utf8.size() == 1) {
      EXPECT_LT(lead, 0x80);
      decoded = lead;
    } else if (utf8.size() == 2) {
      EXPECT_EQ(lead & 0xE0, 0xC0);
      decoded = (char32_t{lead} & 0x1F) << 6 | (static_cast<unsigned char>(utf8[1]) & 0x3F);
      EXPECT_GE(decoded, 0x80u);  // no overlong form
    } else {
      ASSERT_EQ(utf8.size(), 3u);
      EXPECT_EQ(lead & 0xF0, 0xE0);
      decoded = (char32_t{lead} & 0x0F) << 12 | (char32_t{static_cast<unsigned char>(utf8[1])} & 0x3F) << 6 |
                (static_cast<unsigned char>(utf8[2]) & 0x3F);
      EXPECT_GE(decoded, 0x800u);
    }
    for (std::size_t i = 1; i < utf8.size(); ++i) EXPECT_EQ(static_cast<unsigned char>(utf8[i]) & 0xC0, 0x80);
    EXPECT_EQ(decoded, cp) << b;
    seen[b] = utf8;
    for (int a = 0; a < b; ++a) EXPECT_NE(seen[a], utf8) << a << " " << b;
  }
}

// Each writer shows the same decoded code points, in its own spelling.
TEST(Windows1252, WritersShowTheDecodedCodePoints) {
  const std::string host = "\x80 \x81 \x96 \xE9";
  std::string dump, report;
  json::AppendString(dump, host, json::kBoardDumpStyle);
  json::AppendString(report, host, json::kCheckReportStyle);
  EXPECT_EQ(dump, R"("\u20AC \u0081 \u2013 \u00E9")");
  EXPECT_EQ(report, R"("\u20ac \u0081 \u2013 \u00e9")");
  EXPECT_EQ(host::Escaped(host), "&#x20AC; &#x81; &#x2013; &#xE9;");

  TFileCheck check;
  check.Findings.push_back({TFindingKind{}, 1, 2, "token '\x80\x96'"});
  const std::string text = host::CheckText(check, "f.pcb");
  EXPECT_NE(text.find("token '\xE2\x82\xAC\xE2\x80\x93'"), std::string::npos) << text;
}

}  // namespace
}  // namespace orvik::text
