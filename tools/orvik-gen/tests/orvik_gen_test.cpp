#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tools/orvik-gen/BoardGenerator.h"
#include "tools/orvik-gen/CommandLine.h"
#include "tools/orvik-gen/RecordWriter.h"

namespace orvik::gen {
namespace {

std::string Generate(std::uint64_t seed, const BoardCounts& counts, std::size_t bufferSize = 1 << 16) {
  StringSink sink;
  RecordWriter writer(sink, bufferSize);
  BoardGenerator generator(seed, counts);
  EXPECT_TRUE(generator.Generate(writer));
  EXPECT_EQ(generator.Written(), counts);
  EXPECT_EQ(writer.BytesWritten(), sink.Text().size());
  return sink.Text();
}

std::uint64_t Fnv1a(std::string_view text) {
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (const char c : text) {
    h ^= static_cast<unsigned char>(c);
    h *= 0x100000001b3ull;
  }
  return h;
}

// Splits a line into blank-separated tokens; a token that starts with a
// double quote runs to the next double quote and keeps its blanks.
bool Tokenize(std::string_view line, std::vector<std::string_view>& tokens) {
  tokens.clear();
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ') {
      ++i;
      continue;
    }
    if (line[i] == '"') {
      const std::size_t close = line.find('"', i + 1);
      if (close == std::string_view::npos) return false;
      if (close + 1 < line.size() && line[close + 1] != ' ') return false;
      tokens.push_back(line.substr(i, close + 1 - i));
      i = close + 1;
      continue;
    }
    const std::size_t end = std::min(line.find(' ', i), line.size());
    tokens.push_back(line.substr(i, end - i));
    i = end;
  }
  return true;
}

bool ToInt(std::string_view token, std::int64_t& value) {
  if (token.empty()) return false;
  std::size_t i = token[0] == '-' ? 1 : 0;
  if (i == token.size()) return false;
  value = 0;
  for (; i < token.size(); ++i) {
    if (token[i] < '0' || token[i] > '9') return false;
    value = value * 10 + (token[i] - '0');
    if (value > 0x7FFFFFFF) return false;
  }
  if (token[0] == '-') value = -value;
  return true;
}

// Checks a generated file line by line and counts its records. Adds a
// failure for every malformed line, so a broken generator shows at once.
BoardCounts CheckBoard(const std::string& text, const BoardCounts& expected) {
  BoardCounts seen;
  std::set<std::int64_t> netNumbers;
  std::set<std::int64_t> componentNumbers;
  std::vector<std::string_view> t;
  std::size_t pointsPending = 0;
  std::size_t pos = 0;
  std::size_t lineNumber = 0;

  const std::map<std::string_view, std::size_t> tokenCounts = {
      {"NET", 5}, {"COMP", 13}, {"PAD", 12}, {"LINE", 9}, {"ARC", 10},
      {"VIA", 9}, {"TEXT", 13}, {"FILL", 8}, {"POLY", 5}, {"PNT", 2},
  };
  auto coordinate = [&](std::string_view token) {
    std::int64_t v = -1;
    EXPECT_TRUE(ToInt(token, v) && v >= 0 && v <= kMaxCoordinate) << "line " << lineNumber << ": " << token;
  };
  auto reference = [&](std::string_view token, std::uint32_t max) {
    std::int64_t v = -1;
    EXPECT_TRUE(ToInt(token, v) && v >= 0 && v <= max) << "line " << lineNumber << ": " << token;
  };

  while (pos < text.size()) {
    const std::size_t crlf = text.find("\r\n", pos);
    if (crlf == std::string::npos) {
      ADD_FAILURE() << "last line has no CR LF";
      break;
    }
    const std::string_view line(text.data() + pos, crlf - pos);
    pos = crlf + 2;
    ++lineNumber;
    if (line.find_first_of("\r\n") != std::string_view::npos) {
      ADD_FAILURE() << "line " << lineNumber << " holds a lone CR or LF";
      continue;
    }
    if (lineNumber == 1) {
      EXPECT_NE(line.find("ORVIK"), std::string_view::npos);
      continue;
    }
    if (!Tokenize(line, t) || t.empty()) {
      ADD_FAILURE() << "line " << lineNumber << " does not split: " << line;
      continue;
    }
    const auto count = tokenCounts.find(t[0]);
    if (count == tokenCounts.end()) {
      ADD_FAILURE() << "line " << lineNumber << " has an unknown keyword: " << line;
      continue;
    }
    if (t.size() != count->second + 1) {
      ADD_FAILURE() << "line " << lineNumber << " has " << t.size() - 1 << " fields: " << line;
      continue;
    }
    const std::string_view k = t[0];
    if (pointsPending > 0) {
      EXPECT_EQ(k, "PNT") << "line " << lineNumber;
      --pointsPending;
    }
    if (k == "NET") {
      std::int64_t n = 0;
      EXPECT_TRUE(ToInt(t[2], n));
      EXPECT_TRUE(netNumbers.insert(n).second) << "duplicate net " << n;
      ++seen.nets;
    } else if (k == "COMP") {
      std::int64_t n = 0;
      EXPECT_TRUE(ToInt(t[12], n));
      EXPECT_TRUE(componentNumbers.insert(n).second) << "duplicate component " << n;
      coordinate(t[6]);
      coordinate(t[7]);
      EXPECT_TRUE(t[13] == "0" || t[13] == "1") << line;
      ++seen.components;
    } else if (k == "PAD") {
      EXPECT_TRUE(t[1] == "SQ" || t[1] == "EL") << line;
      EXPECT_TRUE(t[5] == "TL" || t[5] == "BL" || t[5] == "MU") << line;
      EXPECT_LE(t[7].size(), 4u) << line;
      coordinate(t[8]);
      coordinate(t[9]);
      reference(t[10], expected.nets);
      reference(t[11], expected.components);
      ++seen.pads;
    } else if (k == "LINE") {
      std::int64_t width = 0;
      EXPECT_TRUE(ToInt(t[1], width) && width >= 5 && width <= 50) << line;
      for (int i = 3; i <= 6; ++i) coordinate(t[static_cast<std::size_t>(i)]);
      reference(t[7], expected.nets);
      reference(t[8], expected.components);
      ++seen.tracks;
    } else if (k == "ARC") {
      coordinate(t[6]);
      coordinate(t[7]);
      reference(t[8], expected.nets);
      reference(t[9], expected.components);
      ++seen.arcs;
    } else if (k == "VIA") {
      coordinate(t[5]);
      coordinate(t[6]);
      reference(t[7], expected.nets);
      ++seen.vias;
    } else if (k == "TEXT") {
      EXPECT_EQ(t[1].front(), '"') << line;
      coordinate(t[6]);
      coordinate(t[7]);
      ++seen.texts;
    } else if (k == "FILL") {
      for (int i = 2; i <= 5; ++i) coordinate(t[static_cast<std::size_t>(i)]);
      reference(t[6], expected.nets);
      reference(t[7], expected.components);
      ++seen.fills;
    } else if (k == "POLY") {
      EXPECT_EQ(t[2], "4") << line;
      reference(t[3], expected.nets);
      reference(t[4], expected.components);
      pointsPending = 4;
      ++seen.polygons;
    } else if (k == "PNT") {
      coordinate(t[1]);
      coordinate(t[2]);
    }
  }
  EXPECT_GE(lineNumber, 1u);
  EXPECT_EQ(pointsPending, 0u) << "a polygon lacks points";
  return seen;
}

BoardCounts Counts(std::uint32_t components, std::uint32_t pads, std::uint32_t nets, std::uint32_t tracks,
                   std::uint32_t arcs, std::uint32_t vias, std::uint32_t texts, std::uint32_t fills,
                   std::uint32_t polygons) {
  BoardCounts c;
  c.components = components;
  c.pads = pads;
  c.nets = nets;
  c.tracks = tracks;
  c.arcs = arcs;
  c.vias = vias;
  c.texts = texts;
  c.fills = fills;
  c.polygons = polygons;
  return c;
}

struct BoardCase {
  const char* name;
  BoardCounts counts;
};

const std::vector<BoardCase>& BoardCases() {
  static const std::vector<BoardCase> cases = {
      {"derived from 40 components", BoardCounts::ForComponents(40)},
      {"derived from 700 components", BoardCounts::ForComponents(700)},
      {"empty board", BoardCounts{}},
      {"no components: free pads and graphics", Counts(0, 50, 5, 30, 7, 3, 4, 2, 1)},
      {"components without pads", Counts(10, 0, 3, 100, 9, 4, 12, 1, 1)},
      {"many pads per component", Counts(20, 500, 7, 300, 20, 10, 30, 3, 2)},
      {"fewer pads than components", Counts(100, 30, 12, 200, 40, 5, 50, 0, 0)},
      {"one net only", Counts(30, 180, 1, 500, 60, 40, 90, 5, 3)},
      {"no nets", Counts(30, 180, 0, 500, 60, 40, 90, 5, 3)},
      {"fewer tracks than connections", Counts(50, 300, 50, 10, 2, 1, 5, 0, 0)},
      {"more vias than connections", Counts(60, 360, 60, 600, 90, 2000, 10, 0, 0)},
      {"more nets than pads", Counts(20, 60, 300, 400, 30, 20, 40, 2, 2)},
  };
  return cases;
}

TEST(BoardGeneratorTest, WritesWellFormedRecordsInTheRequestedCounts) {
  for (const BoardCase& c : BoardCases()) {
    SCOPED_TRACE(c.name);
    const std::string text = Generate(7, c.counts);
    EXPECT_EQ(CheckBoard(text, c.counts), c.counts);
  }
}

TEST(BoardGeneratorTest, SameSeedGivesSameBytesAndOtherSeedsDiffer) {
  for (const BoardCase& c : BoardCases()) {
    SCOPED_TRACE(c.name);
    const std::string first = Generate(11, c.counts);
    EXPECT_EQ(Generate(11, c.counts), first);
    if (c.counts.Records() > 0) {
      EXPECT_NE(Generate(12, c.counts), first);
    }
  }
  // A generator run twice writes the same text twice.
  const BoardCounts counts = BoardCounts::ForComponents(50);
  BoardGenerator generator(3, counts);
  StringSink a;
  StringSink b;
  RecordWriter wa(a);
  RecordWriter wb(b);
  ASSERT_TRUE(generator.Generate(wa));
  ASSERT_TRUE(generator.Generate(wb));
  EXPECT_EQ(a.Text(), b.Text());
}

TEST(BoardGeneratorTest, OutputDoesNotDependOnTheBufferSize) {
  const BoardCounts counts = BoardCounts::ForComponents(120);
  const std::string reference = Generate(5, counts, RecordWriter::kDefaultBufferSize);
  for (const std::size_t size : {std::size_t{1}, std::size_t{64}, std::size_t{65}, std::size_t{4099}}) {
    EXPECT_EQ(Generate(5, counts, size), reference) << "buffer " << size;
  }
}

// The exact bytes of one small board, the same on every platform and
// compiler. Changing the generator's output on purpose changes this value.
TEST(BoardGeneratorTest, KnownSeedGivesKnownBytes) {
  const std::string text = Generate(42, BoardCounts::ForComponents(25));
  EXPECT_EQ(Fnv1a(text), 0xe599b1a6ea37d6fdull)
      << std::hex << Fnv1a(text) << std::dec << " over " << text.size() << " bytes";
}

TEST(BoardGeneratorTest, ScaleOneIsAboutTenMegabytes) {
  const BoardCounts counts = BoardCounts::ForScale(1);
  EXPECT_EQ(counts.components, 5000u);
  EXPECT_EQ(counts.pads, 30000u);
  EXPECT_EQ(counts.tracks, 100000u);
  EXPECT_EQ(counts.nets, 5000u);
  const std::string text = Generate(1, counts);
  EXPECT_GT(text.size(), 8'500'000u);
  EXPECT_LT(text.size(), 11'500'000u);
}

TEST(BoardGeneratorTest, SignalNetsAreRoutedBetweenTheirPads) {
  const BoardCounts counts = BoardCounts::ForComponents(200);
  const std::string text = Generate(9, counts);
  std::map<std::string, int> padsPerNet;
  std::set<std::string> routedNets;
  std::vector<std::string_view> t;
  std::size_t pos = text.find("\r\n") + 2;
  while (pos < text.size()) {
    const std::size_t end = text.find("\r\n", pos);
    ASSERT_NE(end, std::string::npos);
    ASSERT_TRUE(Tokenize(std::string_view(text).substr(pos, end - pos), t));
    if (t[0] == "PAD" && t[10] != "0") ++padsPerNet[std::string(t[10])];
    if (t[0] == "LINE" && t[7] != "0") routedNets.insert(std::string(t[7]));
    pos = end + 2;
  }
  int multiPadNets = 0;
  for (const auto& [net, pads] : padsPerNet) {
    if (pads < 2) continue;
    ++multiPadNets;
    EXPECT_TRUE(routedNets.contains(net)) << "net " << net << " with " << pads << " pads has no track";
  }
  EXPECT_GT(multiPadNets, 150);
}

class FailingSink final : public OutputSink {
 public:
  bool Write(std::string_view) override { return false; }
};

TEST(BoardGeneratorTest, ReportsAFailingOutput) {
  FailingSink sink;
  RecordWriter writer(sink, 256);
  BoardGenerator generator(1, BoardCounts::ForComponents(20));
  EXPECT_FALSE(generator.Generate(writer));
  EXPECT_FALSE(writer.Ok());
}

struct CommandCase {
  std::vector<std::string_view> args;
  bool ok;
  std::uint64_t seed;
  std::uint32_t components;
  std::uint32_t pads;
};

TEST(GenCommandLineTest, ParsesOptionsAndRejectsBadOnes) {
  const std::vector<CommandCase> cases = {
      {{}, true, 1, 5000, 30000},
      {{"--seed", "18446744073709551615"}, true, UINT64_MAX, 5000, 30000},
      {{"--scale", "4"}, true, 1, 20000, 120000},
      {{"--components", "10", "--seed", "9"}, true, 9, 10, 60},
      {{"--pads", "7", "--components", "10"}, true, 1, 10, 7},
      {{"--components", "0"}, true, 1, 0, 0},
      {{"--seed", "18446744073709551616"}, false, 0, 0, 0},
      {{"--seed", "-1"}, false, 0, 0, 0},
      {{"--seed", "12x"}, false, 0, 0, 0},
      {{"--seed", ""}, false, 0, 0, 0},
      {{"--seed"}, false, 0, 0, 0},
      {{"--scale", "0"}, false, 0, 0, 0},
      {{"--scale", "1001"}, false, 0, 0, 0},
      {{"--components", "5000001"}, false, 0, 0, 0},
      {{"--tracks", "100000001"}, false, 0, 0, 0},
      {{"--scale", "2", "--components", "3"}, false, 0, 0, 0},
      {{"--bogus"}, false, 0, 0, 0},
      {{"-o"}, false, 0, 0, 0},
      {{"-o", ""}, false, 0, 0, 0},
  };
  for (const CommandCase& c : cases) {
    std::string joined;
    for (const auto a : c.args) joined += std::string(a) + " ";
    SCOPED_TRACE(joined);
    const GenParseResult r = ParseGenCommandLine(c.args);
    ASSERT_EQ(r.ok(), c.ok) << r.error;
    if (!c.ok) {
      EXPECT_FALSE(r.error.empty());
      continue;
    }
    EXPECT_EQ(r.options.seed, c.seed);
    EXPECT_EQ(r.options.counts.components, c.components);
    EXPECT_EQ(r.options.counts.pads, c.pads);
  }
  const std::vector<std::string_view> full = {"-o", "/tmp/x.pcb", "--summary", "--vias", "3", "--polygons", "0"};
  const GenParseResult r = ParseGenCommandLine(full);
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.options.outputPath, "/tmp/x.pcb");
  EXPECT_TRUE(r.options.summary);
  EXPECT_EQ(r.options.counts.vias, 3u);
  EXPECT_EQ(r.options.counts.polygons, 0u);
}

TEST(GenCommandLineTest, HelpAndVersionWinOverAnythingElse) {
  struct Case {
    std::vector<std::string_view> args;
    bool help;
    bool version;
  };
  const std::vector<Case> cases = {
      {{"--bogus", "--help"}, true, false},   {{"-h", "--seed"}, true, false},
      {{"--seed", "x", "-V"}, false, true},   {{"--version", "--scale", "0"}, false, true},
      {{"--version", "--help"}, true, false}, {{"--summary"}, false, false},
  };
  for (const Case& c : cases) {
    const GenParseResult r = ParseGenCommandLine(c.args);
    EXPECT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.options.help, c.help) << c.args.front();
    EXPECT_EQ(r.options.version, c.version) << c.args.front();
  }
}

}  // namespace
}  // namespace orvik::gen
