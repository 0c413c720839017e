// The record layouts against what reads them: every reader takes exactly its
// layout's fields, as integers where the layout says so; keywords are found
// through the table; and the file check names fields and limits by it.
#include "reader/RecordLayout.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "orvik/kovlan.h"
#include "reader/FileCheck.h"
#include "reader/OrvikFile.h"
#include "reader/ReaderObserver.h"
#include "tests/fixtures/ReaderTestFiles.h"

namespace orvik {
namespace {

using testing::TempFile;

// Counts, per record, the tokens that follow its keyword and those of them
// that were read as integers and were no number.
class FieldCounter final : public TReaderObserver {
 public:
  struct Record {
    std::size_t Tokens = 0;
    std::size_t NotNumbers = 0;
  };
  void OnToken(const TTokenEvent& token) override {
    endOfData_ = token.EndOfData;
    if (!records.empty()) ++records.back().Tokens;
  }
  void OnNotNumber() override { ++records.back().NotNumbers; }
  void OnRecordStart(const TRecordLayout&) override { records.emplace_back(); }
  // The driver's last look, at the end of the data, finds no keyword.
  void OnLineSkipped() override { EXPECT_TRUE(endOfData_) << "a line was skipped"; }

  std::vector<Record> records;

 private:
  bool endOfData_ = false;
};

// A record of the layout's kind whose integer fields are "x" (no number)
// and whose other fields are the first word the field knows, or "w".
std::string SampleRecord(const TRecordLayout& layout, std::size_t notNumber = 0) {
  std::string line(layout.Keyword);
  for (std::size_t k = 1; k <= layout.Fields.size(); ++k) {
    const TFieldLayout& field = layout.Fields[k - 1];
    line += ' ';
    if (IsIntegerField(field.Kind)) {
      line += notNumber == 0 || k == notNumber ? "x" : "1";
    } else {
      line += field.Words.empty() ? std::string("w") : std::string(field.Words.front());
    }
  }
  return line + "\r\n";
}

class RecordLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override { KvHost_Reset(); }
};

TEST_F(RecordLayoutTest, EveryReaderTakesItsLayoutsFieldsAndReadsItsIntegersAsIntegers) {
  for (const TRecordLayout& layout : kRecordLayouts) {
    SCOPED_TRACE(layout.Keyword);
    // Two records: the second keyword must be the token right after the
    // first record's last field.
    const std::string content = SampleRecord(layout) + SampleRecord(layout);
    TempFile file(content);
    FieldCounter counter;
    TOrvikFile driver(file.Path());
    driver.ReadOnly(counter);
    std::size_t integers = 0;
    for (const TFieldLayout& field : layout.Fields) integers += IsIntegerField(field.Kind) ? 1 : 0;
    ASSERT_EQ(counter.records.size(), 2u);
    // The first record's tokens end with the second's keyword.
    EXPECT_EQ(counter.records[0].Tokens, layout.Fields.size() + 1);
    EXPECT_EQ(counter.records[0].NotNumbers, integers);
    EXPECT_EQ(driver.Sections().Of(layout.Kind).RecordCount(), 2u);
  }
}

TEST_F(RecordLayoutTest, KeywordsAreFoundWithoutRegardToCase) {
  struct Case {
    std::string_view keyword;
    const TRecordLayout* layout;
  };
  const Case cases[] = {
      {"ARC", &LayoutOf(TRecordKind::Arc)},
      {"line", &LayoutOf(TRecordKind::Track)},
      {"Comp", &LayoutOf(TRecordKind::Component)},
      {"pOlY", &LayoutOf(TRecordKind::Polygon)},
      {"", nullptr},
      {"PNT", nullptr},
      {"NETS", nullptr},
      {"AR", nullptr},
  };
  for (const Case& c : cases) EXPECT_EQ(FindRecordLayout(c.keyword), c.layout) << c.keyword;
}

TEST_F(RecordLayoutTest, TheCheckNamesEachIntegerFieldByItsLayout) {
  for (const TRecordLayout& layout : kRecordLayouts) {
    for (std::size_t k = 1; k <= layout.Fields.size(); ++k) {
      const TFieldLayout& field = layout.Fields[k - 1];
      if (!IsIntegerField(field.Kind)) continue;
      SCOPED_TRACE(std::string(layout.Keyword) + " field " + std::to_string(k));
      TempFile file(SampleRecord(layout, k));
      const TFileCheck check = CheckFile(file.Path());
      std::vector<std::string> messages;
      for (const TFinding& finding : check.Findings) {
        if (finding.Kind == TFindingKind::NotNumber) messages.push_back(finding.Message);
      }
      const std::string expected =
          std::string(layout.Keyword) + " " + std::string(field.Name) + " is 'x', not a number: it reads as 0";
      EXPECT_EQ(messages, std::vector<std::string>{expected});
    }
  }
}

TEST_F(RecordLayoutTest, TheCheckReportsEachTextCutAtItsLayoutsLimit) {
  // Field positions and limits as the importer keeps them.
  struct Case {
    std::string_view line;
    std::size_t length;
    std::string_view expected;
  };
  const Case cases[] = {
      {"TEXT @ 60 0 0 33 0 0 0 0 0 0 0 0", 300, "TEXT text is 300 characters long: the importer keeps the first 254"},
      {"COMP @ L C P S 0 0 0 0 0 0 1 0", 255,
       "COMP designator is 255 characters long: the importer keeps the first 254"},
      {"COMP D L @ P S 0 0 0 0 0 0 1 0", 260, "COMP comment is 260 characters long: the importer keeps the first 254"},
      {"COMP D L C @ S 0 0 0 0 0 0 1 0", 251, "COMP pattern is 251 characters long: the importer keeps the first 250"},
      {"PAD SQ 60 60 30 TL 0 @ 0 0 0 0 0", 5, "PAD name is 5 characters long: the importer keeps the first 4"},
      {"NET @ 1 0 0 0", 256, "NET name is 256 characters long: the importer keeps the first 255"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    std::string line(c.line);
    line.replace(line.find('@'), 1, std::string(c.length, 'T'));
    TempFile file(line + "\r\n");
    const TFileCheck check = CheckFile(file.Path());
    std::vector<std::string> messages;
    for (const TFinding& finding : check.Findings) {
      if (finding.Kind == TFindingKind::TextCut) messages.push_back(finding.Message);
    }
    EXPECT_EQ(messages, std::vector<std::string>{std::string(c.expected)});
  }
}

TEST_F(RecordLayoutTest, TheCheckTellsWhatTheReaderMakesOfAnUnknownPadWord) {
  struct Case {
    std::string_view line;
    std::vector<std::string> expected;  // pad-shape and pad-side messages, in file order
  };
  const Case cases[] = {
      {"PAD SQ 60 60 30 TL 0 P1 0 0 0 0 0", {}},
      {"PAD EL 60 60 30 BL 0 P1 0 0 0 0 0", {}},
      {"PAD EL 60 60 30 MULTI 0 P1 0 0 0 0 0", {}},
      {"PAD RD 60 60 30 TL 0 P1 0 0 0 0 0", {"pad shape 'RD' is unknown (SQ or EL): the pad is made round"}},
      {"PAD SQ 60 60 30 tl 0 P1 0 0 0 0 0", {"pad side 'tl' is unknown (TL, BL or MULTI): the pad goes on MultiLayer"}},
      {"PAD sq 60 60 30 ML 0 P1 0 0 0 0 0",
       {"pad shape 'sq' is unknown (SQ or EL): the pad is made round",
        "pad side 'ML' is unknown (TL, BL or MULTI): the pad goes on MultiLayer"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TempFile file(std::string(c.line) + "\r\n");
    const TFileCheck check = CheckFile(file.Path());
    std::vector<std::string> messages;
    for (const TFinding& finding : check.Findings) {
      if (finding.Kind == TFindingKind::PadShape || finding.Kind == TFindingKind::PadSide) {
        messages.push_back(finding.Message);
      }
    }
    EXPECT_EQ(messages, c.expected);
  }
}

}  // namespace
}  // namespace orvik
