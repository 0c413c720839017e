// The reading pass as an observer sees it: every token with its offset and
// uncut length, the driver's decision on it, numbers that read as 0, and
// line and column of offsets under LF, CR LF and lone CR line ends.
#include "reader/ReaderObserver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reader/LineIndex.h"
#include "reader/OrvikFile.h"
#include "reader/RecordLayout.h"
#include "tests/fixtures/ReaderTestFiles.h"
#include "tests/support/StandInHost.h"

namespace orvik {
namespace {

using testing::TempFile;

// Writes each event as text: "TOKEN@LINE:COLUMN", "<end>@..." for the end
// of the data, then "record KEYWORD" (the keyword of the layout the driver
// passed), "skip" or "nan" for what followed.
class RecordingObserver final : public TReaderObserver {
 public:
  explicit RecordingObserver(std::string_view content) : lines_(content) {}

  void OnToken(const TTokenEvent& token) override {
    const TTextPosition at = lines_.PositionOf(token.Offset);
    const std::string text = token.EndOfData ? "<end>" : std::string(token.Text);
    events.push_back(text + "@" + std::to_string(at.Line) + ":" + std::to_string(at.Column));
    fullLengths.push_back(token.FullLength);
  }
  void OnNotNumber() override { events.emplace_back("nan"); }
  void OnRecordStart(const TRecordLayout& layout) override {
    events.push_back("record " + std::string(layout.Keyword));
  }
  void OnLineSkipped() override { events.emplace_back("skip"); }

  std::vector<std::string> events;
  std::vector<std::size_t> fullLengths;

 private:
  TLineIndex lines_;
};

class ReaderObserverTest : public test::FreshHost {
 protected:
  static RecordingObserver Observe(const std::string& content) {
    TempFile file(content);
    RecordingObserver observer(content);
    TOrvikFile driver(file.Path());
    driver.ReadOnly(observer);
    return observer;
  }
};

TEST_F(ReaderObserverTest, TokensDecisionsAndPositionsUnderEveryLineEnd) {
  const std::vector<std::string> expected = {"NET@1:1", "record NET", "A@1:5", "1@1:7",   "0@1:9",      "0@1:11",
                                             "0@1:13",  "FOO@2:1",    "skip",  "NET@3:1", "record NET", "B@3:5",
                                             "x@3:7",   "nan",        "0@3:9", "0@3:11",  "0@3:13"};
  for (const char* end : {"\n", "\r\n", "\r"}) {
    SCOPED_TRACE(::testing::Message() << "line end " << (end[0] == '\n' ? "LF" : end[1] == '\n' ? "CR LF" : "CR"));
    const std::string content = std::string("NET A 1 0 0 0") + end + "FOO bar" + end + "NET B x 0 0 0";
    EXPECT_EQ(Observe(content).events, expected);
  }
}

TEST_F(ReaderObserverTest, ARecordCutShortByTheEndOfTheDataGetsEndTokens) {
  const RecordingObserver observer = Observe("NET A");
  const std::vector<std::string> expected = {"NET@1:1", "record NET", "A@1:5", "<end>@1:6", "nan", "<end>@1:6",
                                             "nan",     "<end>@1:6",  "nan",   "<end>@1:6", "nan"};
  EXPECT_EQ(observer.events, expected);
}

TEST_F(ReaderObserverTest, FullLengthCountsTheCharactersACutDropped) {
  struct Case {
    const char* name;
    std::string field;
    std::size_t kept;
    std::size_t full;
  };
  const std::vector<Case> cases = {
      {"short bare", "abc", 3, 3},
      {"bare 300", std::string(300, 'b'), 255, 300},
      {"quoted 300", "\"" + std::string(300, 'q') + "\"", 254, 300},
      {"quoted 254", "\"" + std::string(254, 'q') + "\"", 254, 254},
      {"quoted 255", "\"" + std::string(255, 'q') + "\"", 254, 255},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const RecordingObserver observer = Observe("TEXT " + c.field + " 1 0 0 0 0 0 0 0 0 0 0 0\n");
    ASSERT_GE(observer.fullLengths.size(), 2u);
    EXPECT_EQ(observer.events.at(2).find('@'), c.kept);
    EXPECT_EQ(observer.fullLengths[1], c.full);
  }
}

TEST_F(ReaderObserverTest, OffsetsStayRightAcrossTheFileBuffer) {
  // Past the text file's 64 KiB block.
  const std::string padding(70000, ' ');
  const RecordingObserver observer = Observe(padding + "\nZZ\r\n  NET N 5 0 0 0");
  ASSERT_GE(observer.events.size(), 4u);
  EXPECT_EQ(observer.events[0], "ZZ@2:1");
  EXPECT_EQ(observer.events[1], "skip");
  EXPECT_EQ(observer.events[2], "NET@3:3");
}

TEST(LineIndexTest, LineAndColumnOfOffsets) {
  struct Case {
    const char* name;
    std::string text;
    std::uint64_t offset;
    std::uint32_t line;
    std::uint32_t column;
  };
  const std::vector<Case> cases = {
      {"start", "ab\ncd", 0, 1, 1},
      {"LF itself ends its line", "ab\ncd", 2, 1, 3},
      {"after LF", "ab\ncd", 3, 2, 1},
      {"CR LF is one line end", "ab\r\ncd", 4, 2, 1},
      {"the LF of CR LF", "ab\r\ncd", 3, 1, 4},
      {"lone CR", "ab\rcd", 4, 2, 2},
      {"LF CR is two line ends", "a\n\rb", 3, 3, 1},
      {"blank lines", "\n\n\nx", 3, 4, 1},
      {"past the end", "ab\ncd", 9, 2, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TTextPosition at = TLineIndex(c.text).PositionOf(c.offset);
    EXPECT_EQ(at.Line, c.line);
    EXPECT_EQ(at.Column, c.column);
  }
}

TEST(LineIndexTest, LineCountIgnoresTheEmptyLineAfterAFinalLineEnd) {
  EXPECT_EQ(TLineIndex("").LineCount(), 0u);
  EXPECT_EQ(TLineIndex("a").LineCount(), 1u);
  EXPECT_EQ(TLineIndex("a\r\n").LineCount(), 1u);
  EXPECT_EQ(TLineIndex("a\r\nb").LineCount(), 2u);
  EXPECT_EQ(TLineIndex("a\r\r").LineCount(), 2u);
}

}  // namespace
}  // namespace orvik
