// The version resource reader on resources built here: a well-formed one
// reads back as written, and damaged ones throw EPeFormat instead of reading
// outside the data.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/pe/VersionInfo.h"

namespace orvik::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& out, std::uint32_t v) {
  Put16(out, static_cast<std::uint16_t>(v));
  Put16(out, static_cast<std::uint16_t>(v >> 16));
}
void Align(Bytes& out) {
  while (out.size() % 4 != 0) out.push_back(0);
}

// One block as the resource compiler lays it out; `valueLength` counts
// 16-bit units for text, bytes otherwise.
Bytes Block(const std::u16string& key, bool text, const Bytes& value, std::uint16_t valueLength,
            const std::vector<Bytes>& children = {}) {
  Bytes out(6);
  for (char16_t c : key) Put16(out, static_cast<std::uint16_t>(c));
  Put16(out, 0);
  Align(out);
  out.insert(out.end(), value.begin(), value.end());
  for (const Bytes& child : children) {
    Align(out);
    out.insert(out.end(), child.begin(), child.end());
  }
  const std::size_t length = out.size();
  out[0] = static_cast<std::uint8_t>(length);
  out[1] = static_cast<std::uint8_t>(length >> 8);
  out[2] = static_cast<std::uint8_t>(valueLength);
  out[3] = static_cast<std::uint8_t>(valueLength >> 8);
  out[4] = text ? 1 : 0;
  return out;
}

Bytes String(const std::u16string& key, const std::u16string& value) {
  Bytes text;
  for (char16_t c : value) Put16(text, static_cast<std::uint16_t>(c));
  Put16(text, 0);
  return Block(key, true, text, static_cast<std::uint16_t>(value.size() + 1));
}

Bytes Resource(std::uint32_t signature = VersionInfo::kSignature) {
  Bytes fixed;
  for (std::uint32_t v : {signature, 0x00010000u, 0x00010002u, 0x00030004u, 0x00050006u, 0x00070008u, 0x3Fu, 0u,
                          0x00040004u, VersionInfo::kFileTypeDll, 0u, 0u, 0u})
    Put32(fixed, v);
  Bytes translation;
  Put16(translation, 0x0409);
  Put16(translation, 1200);
  const Bytes table = Block(u"040904B0", true, {}, 0, {String(u"FileVersion", u"1.2.3"), String(u"ProductName", u"P")});
  return Block(u"VS_VERSION_INFO", false, fixed, 52,
               {Block(u"StringFileInfo", true, {}, 0, {table}),
                Block(u"VarFileInfo", true, {}, 0, {Block(u"Translation", false, translation, 4)})});
}

TEST(VersionInfo, ReadsBackWhatWasWritten) {
  const VersionInfo info = VersionInfo::Parse(Resource());
  EXPECT_EQ(std::vector<std::uint16_t>(info.fileVersion, info.fileVersion + 4),
            (std::vector<std::uint16_t>{1, 2, 3, 4}));
  EXPECT_EQ(std::vector<std::uint16_t>(info.productVersion, info.productVersion + 4),
            (std::vector<std::uint16_t>{5, 6, 7, 8}));
  EXPECT_EQ(info.fileType, VersionInfo::kFileTypeDll);
  ASSERT_EQ(info.strings.size(), 1u);
  const auto& table = info.strings.at(u"040904B0");
  EXPECT_EQ(table.size(), 2u);
  EXPECT_EQ(table.at(u"FileVersion"), u"1.2.3");
  EXPECT_EQ(table.at(u"ProductName"), u"P");
  EXPECT_EQ(info.translations, (std::vector<std::pair<std::uint16_t, std::uint16_t>>{{0x0409, 1200}}));
}

// Offsets into Resource(): the root block's header and key, the fixed
// information, the StringFileInfo block and the first string's block.
constexpr std::size_t kRootValueLength = 2;
constexpr std::size_t kRootType = 4;
constexpr std::size_t kRootKey = 6;
constexpr std::size_t kFixed = 40;
constexpr std::size_t kStringFileInfo = kFixed + 52;
constexpr std::size_t kTable = kStringFileInfo + 36;
constexpr std::size_t kFirstString = kTable + 24;

TEST(VersionInfo, DamagedResourcesThrow) {
  const Bytes good = Resource();
  // The offsets above point where they say.
  ASSERT_EQ(good[kStringFileInfo + 6], 'S');
  ASSERT_EQ(good[kTable + 6], '0');
  ASSERT_EQ(good[kFirstString + 6], 'F');
  struct Damage {
    const char* what;
    std::size_t at;
    std::uint16_t value;
  };
  const Damage damages[] = {
      {"root longer than the data", 0, 0xFFFF},
      {"root shorter than its header", 0, 4},
      {"unknown block type", kRootType, 2},
      {"fixed information shorter than its structure", kRootValueLength, 20},
      {"fixed information past the block", kRootValueLength, 0xFFF0},
      {"other root key", kRootKey, 'X'},
      {"bad signature", kFixed, 0},
      {"child longer than its parent", kStringFileInfo, 0x7FFF},
      {"string table longer than its parent", kTable, 0x0400},
      {"string value past its block", kFirstString + 2, 0x0100},
      {"string shorter than its header", kFirstString, 2},
  };
  for (const Damage& d : damages) {
    SCOPED_TRACE(d.what);
    Bytes bad = good;
    bad[d.at] = static_cast<std::uint8_t>(d.value);
    bad[d.at + 1] = static_cast<std::uint8_t>(d.value >> 8);
    EXPECT_THROW(VersionInfo::Parse(bad), EPeFormat);
  }
  // A key whose terminator is missing runs to the block's end.
  Bytes unterminated = Block(u"VS_VERSION_INFO", false, {}, 0);
  unterminated.resize(unterminated.size() - 4);
  unterminated[0] = static_cast<std::uint8_t>(unterminated.size());
  EXPECT_THROW(VersionInfo::Parse(unterminated), EPeFormat);
  for (std::size_t size = 0; size < good.size(); ++size) {
    EXPECT_THROW(VersionInfo::Parse(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size))), EPeFormat)
        << size << " bytes";
  }
}

// Any byte changed to any of a few values: the reader reads or throws
// EPeFormat, and stays inside the data (the sanitizer builds check that).
TEST(VersionInfo, EveryChangedByteReadsOrThrows) {
  const Bytes good = Resource();
  for (std::size_t at = 0; at < good.size(); ++at) {
    for (std::uint8_t value : {0x00, 0x01, 0x7F, 0xFF}) {
      Bytes changed = good;
      changed[at] = value;
      try {
        (void)VersionInfo::Parse(changed);
      } catch (const EPeFormat&) {
      }
    }
  }
}

}  // namespace
}  // namespace orvik::test
