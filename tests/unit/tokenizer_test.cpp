// Token, integer and progress rules of the reader's tokenizer, read from
// temporary files.
#include "reader/Tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "orvik/kovlan.h"
#include "platform/TextFile.h"
#include "tests/fixtures/ReaderTestFiles.h"
#include "tests/support/StandInHost.h"

namespace orvik {
namespace {

using testing::HostProgressCounts;
using testing::TempFile;

// `body` between double quotes.
std::string Quoted(const std::string& body) {
  std::string text(1, '"');
  text += body;
  text += '"';
  return text;
}

class TokenizerTest : public test::FreshHost {
 protected:
  // All tokens up to the end of the data.
  static std::vector<std::string> Tokens(std::string_view content) {
    TempFile file(content);
    platform::TextFile text;
    text.Assign(file.Path());
    text.Reset();
    TTokenizer tokens(text, TProgressRule::EveryCharacter);
    std::vector<std::string> result;
    while (!text.Eof()) result.emplace_back(tokens.ReadToken());
    text.Close();
    return result;
  }
};

struct TokenCase {
  const char* name;
  std::string content;
  std::vector<std::string> expected;
};

TEST_F(TokenizerTest, SplitsTokensByTheRules) {
  const std::string a300(300, 'a');
  const std::vector<TokenCase> cases = {
      {"spaces and blank lines separate", "ARC  1\r\n\r\n  2", {"ARC", "1", "2"}},
      {"LF alone separates", "A\nB\n", {"A", "B"}},
      {"NUL separates", std::string("A\0B", 3), {"A", "B"}},
      {"TAB belongs to the token", "ARC\t1 2", {"ARC\t1", "2"}},
      // Long tokens are scanned eight characters at a time: control
      // characters and high bytes inside, and ends at every place in a word.
      {"control characters and high bytes belong to long tokens",
       "abcdefg\t\x01\x1F\x7F\x80\xFFhij\x19k 1234567\n12345678\r\n123456789\x1A",
       {"abcdefg\t\x01\x1F\x7F\x80\xFFhij\x19k", "1234567", "12345678", "123456789"}},
      {"NUL ends a long token", std::string("abcdefghij\0klmnopqrstu v", 25), {"abcdefghij", "klmnopqrstu", "v"}},
      {"commas belong to the token", "1,2 3", {"1,2", "3"}},
      {"quoted token keeps blanks", "\"two  words\" x", {"two  words", "x"}},
      {"backslash-quote becomes a quote", "\"a\\\"b\" x", {"a\"b", "x"}},
      {"other backslashes stay", "\"a\\b\" c", {"a\\b", "c"}},
      {"missing closing quote ends at the line end", "\"open end\r\nnext", {"open end", "next"}},
      {"empty quoted token", "\"\" x", {"", "x"}},
      {"lone quote at the end of a line", "\"\r\nx", {"\"", "x"}},
      {"bare token loses a trailing quote", "ab\" c", {"ab", "c"}},
      {"closing quote ends the token", "\"ab\"cd", {"ab", "cd"}},
      {"0x1A ends the data", "abc \x1A def", {"abc"}},
      {"0x1A ends a token", "abc\x1A def", {"abc"}},
      {"bare token keeps 255 characters", a300 + " z", {std::string(255, 'a'), "z"}},
      {"quoted token keeps 254 characters", Quoted(a300) + " z", {std::string(254, 'a'), "z"}},
      {"quoted token of exactly 254", Quoted(std::string(254, 'b')), {std::string(254, 'b')}},
      {"quoted token of 253", Quoted(std::string(253, 'b')), {std::string(253, 'b')}},
      {"trailing whitespace gives an empty last token", "A \r\n", {"A", ""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Tokens(c.content), c.expected) << c.name;
  }
}

TEST_F(TokenizerTest, EndOfDataGivesEmptyTokensAndZeros) {
  TempFile file("7");
  platform::TextFile text;
  text.Assign(file.Path());
  text.Reset();
  TTokenizer tokens(text, TProgressRule::EveryCharacter);
  EXPECT_EQ(tokens.ReadInteger(), 7);
  EXPECT_EQ(tokens.ReadToken(), "");
  EXPECT_EQ(tokens.ReadInteger(), 0);
  EXPECT_TRUE(text.Eof());
}

TEST_F(TokenizerTest, ReportsWhetherTheTokenConsumedALineFeed) {
  TempFile file("A\nB C\r\nD");
  platform::TextFile text;
  text.Assign(file.Path());
  text.Reset();
  TTokenizer tokens(text, TProgressRule::EveryCharacter);
  EXPECT_EQ(tokens.ReadToken(), "A");
  EXPECT_TRUE(tokens.TokenEndedAtLineFeed());
  EXPECT_EQ(tokens.ReadToken(), "B");
  EXPECT_FALSE(tokens.TokenEndedAtLineFeed());
  EXPECT_EQ(tokens.ReadToken(), "C");  // ends before the CR
  EXPECT_FALSE(tokens.TokenEndedAtLineFeed());
  EXPECT_EQ(tokens.ReadToken(), "D");
  EXPECT_FALSE(tokens.TokenEndedAtLineFeed());
}

struct IntegerCase {
  const char* token;
  bool valid;
  std::int32_t value;
};

TEST(ParseIntegerTest, ConvertsDecimalAndHexadecimalTokens) {
  const IntegerCase cases[] = {
      {"123", true, 123},
      {"007", true, 7},
      {"-45", true, -45},
      {"+7", true, 7},
      {" 12", true, 12},
      {"$1F", true, 31},
      {"x1f", true, 31},
      {"X1F", true, 31},
      {"0x1F", true, 31},
      {"0X1f", true, 31},
      {"-$1F", true, -31},
      {"$7FFFFFFF", true, 2147483647},
      {"$80000000", true, INT32_MIN},
      {"$FFFFFFFF", true, -1},
      {"$000000001", true, 1},
      {"$100000000", false, 0},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, INT32_MIN},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"99999999999999999999", false, 0},
      {"12a", false, 0},
      {"1.5", false, 0},
      {"1 2", false, 0},
      {"12 ", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {"$", false, 0},
      {"0x", false, 0},
      {"$G", false, 0},
      {"--1", false, 0},
      {"\t1", false, 0},
  };
  for (const auto& c : cases) {
    std::int32_t value = 12345;
    EXPECT_EQ(ParseInteger(c.token, value), c.valid) << '"' << c.token << '"';
    EXPECT_EQ(value, c.value) << '"' << c.token << '"';
  }
}

TEST_F(TokenizerTest, ReadIntegerTurnsMalformedTokensIntoZero) {
  TempFile file("12a -5 \"42\" $1F 1.0");
  platform::TextFile text;
  text.Assign(file.Path());
  text.Reset();
  TTokenizer tokens(text, TProgressRule::EveryCharacter);
  EXPECT_EQ(tokens.ReadInteger(), 0);
  EXPECT_EQ(tokens.ReadInteger(), -5);
  EXPECT_EQ(tokens.ReadInteger(), 42);
  EXPECT_EQ(tokens.ReadInteger(), 31);
  EXPECT_EQ(tokens.ReadInteger(), 0);
}

// Progress steps counted by hand for small inputs.
struct ProgressCase {
  const char* name;
  std::string content;
  TProgressRule rule;
  int tokens;   // ReadToken calls
  int updates;  // expected Percent_Update calls
};

TEST_F(TokenizerTest, CountsProgressStepsPerConsumedCharacter) {
  const ProgressCase cases[] = {
      // A, B, the space; then space, quote, c, space, d, quote; then CR, LF, 5.
      {"every character", "AB  \"c d\"\r\n5", TProgressRule::EveryCharacter, 3, 12},
      // A, B (the CR stays unread); then CR, LF, and nothing more to read.
      {"line end left unread", "AB\r\n", TProgressRule::EveryCharacter, 1, 2},
      {"then the line end", "AB\r\n", TProgressRule::EveryCharacter, 2, 4},
      // Driver: neither skipped whitespace nor a first character counts:
      // E, Y, the space; then nothing after X.
      {"after first", "  KEY X\r\n", TProgressRule::AfterFirst, 2, 3},
      // Driver: "AB" then the quoted token: c, space, d, quote.
      {"after first, quoted", "AB\n\"c d\"", TProgressRule::AfterFirst, 2, 6},
  };
  for (const auto& c : cases) {
    KvHost_Reset();
    TempFile file(c.content);
    platform::TextFile text;
    text.Assign(file.Path());
    text.Reset();
    TTokenizer tokens(text, c.rule);
    for (int i = 0; i < c.tokens; ++i) tokens.ReadToken();
    EXPECT_EQ(HostProgressCounts().Updates, c.updates) << c.name;
  }
}

// The reader walks the file a block at a time. Every token kind, a CR LF
// and the end-of-data byte, with each of their characters in turn placed at
// the block boundary, read exactly as they do within a block: the same
// tokens, line-feed flags, progress steps and final position.
TEST_F(TokenizerTest, TokensReadTheSameAcrossTheFileBufferBoundary) {
  const std::string tail =
      "P \"q \\\" d\" BARE\r\nNEXT -12 \t\n\"open\r\nLAST\n\x1A"
      "after";
  struct Reading {
    std::vector<std::string> tokens;
    std::vector<bool> endedAtLineFeed;
    std::int32_t updates = 0;
    std::uint64_t position = 0;
  };
  auto read = [](const std::string& content, std::size_t skipTokens) {
    KvHost_Reset();
    TempFile file(content);
    platform::TextFile text;
    text.Assign(file.Path());
    text.Reset();
    TTokenizer tokens(text, TProgressRule::EveryCharacter);
    Reading r;
    for (std::size_t i = 0; !text.Eof(); ++i) {
      const std::string token(tokens.ReadToken());
      if (i < skipTokens) continue;
      r.tokens.push_back(token);
      r.endedAtLineFeed.push_back(tokens.TokenEndedAtLineFeed());
    }
    r.updates = HostProgressCounts().Updates;
    r.position = text.Position();
    text.Close();
    return r;
  };
  const Reading alone = read(tail, 0);
  ASSERT_EQ(alone.tokens, (std::vector<std::string>{"P", "q \" d", "BARE", "NEXT", "-12", "\t", "open", "LAST"}));
  for (std::size_t at = 0; at < tail.size(); ++at) {
    // One filler token, then tail[at] as the first character of a block.
    const std::size_t before = platform::TextFile::kBufferSize - at;
    std::string content(before, ' ');
    content[0] = 'F';
    content += tail;
    const Reading shifted = read(content, 1);
    EXPECT_EQ(shifted.tokens, alone.tokens) << "boundary before character " << at;
    EXPECT_EQ(shifted.endedAtLineFeed, alone.endedAtLineFeed) << "boundary before character " << at;
    EXPECT_EQ(shifted.updates, alone.updates + static_cast<std::int32_t>(before)) << at;
    EXPECT_EQ(shifted.position, alone.position + before) << at;
  }
}

}  // namespace
}  // namespace orvik
