// The record layouts against what reads them: each reader keeps every field
// in its own member and takes exactly its record's fields; keywords are found
// through the table; and the file check names fields and limits by it.
#include "reader/RecordLayout.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "orvik/kovlan.h"
#include "reader/FileCheck.h"
#include "reader/OrvikFile.h"
#include "reader/ReaderObserver.h"
#include "reader/Sections.h"
#include "tests/fixtures/ReaderTestFiles.h"

namespace orvik {
namespace {

using testing::TempFile;
using namespace std::string_view_literals;

class RecordLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override { KvHost_Reset(); }
};

// Watches a reading pass in which every line holds whole records: a reader
// that took too few or too many tokens would leave the driver a token that is
// no keyword, and the driver would skip the rest of the line.
class NoLineSkipped final : public TReaderObserver {
 public:
  void OnToken(const TTokenEvent& token) override { endOfData_ = token.EndOfData; }
  void OnNotNumber() override { ADD_FAILURE() << "a field is no number"; }
  void OnRecordStart(const TRecordLayout&) override {}
  // The driver's last look, at the end of the data, finds no keyword.
  void OnLineSkipped() override { EXPECT_TRUE(endOfData_) << "a line was skipped"; }

 private:
  bool endOfData_ = false;
};

// The records that the reading pass keeps from `content`.
class Reading {
 public:
  explicit Reading(std::string_view content) : file_(content), driver_(file_.Path()) { driver_.ReadOnly(observer_); }
  const TSections& Sections() const noexcept { return driver_.Sections(); }

 private:
  TempFile file_;
  NoLineSkipped observer_;
  TOrvikFile driver_;
};

// Every member a record keeps, to compare records whole.
auto Kept(const TArcRecord& r) {
  return std::tuple(r.Radius, r.StartAngle, r.EndAngle, r.Width, int{r.Layer}, r.X, r.Y, r.NetNumber,
                    r.ComponentNumber);
}
auto Kept(const TPadRecord& r) {
  return std::tuple(int{r.Shape}, r.XSize, r.YSize, r.HoleSize, int{r.Layer}, r.Name.View(), r.X, r.Y, r.NetNumber,
                    r.ComponentNumber);
}
auto Kept(const TViaRecord& r) { return std::tuple(r.Size, r.HoleSize, r.X, r.Y, r.NetNumber, r.ComponentNumber); }
auto Kept(const TTrackRecord& r) {
  return std::tuple(r.Width, int{r.Layer}, r.X1, r.Y1, r.X2, r.Y2, r.NetNumber, r.ComponentNumber);
}
auto Kept(const TTextRecord& r) {
  return std::tuple(r.Text.View(), r.Height, r.Rotation, r.Mirrored, r.Width, int{r.Layer}, r.X, r.Y, r.TrailingNumber);
}
auto Kept(const TFillRecord& r) {
  return std::tuple(int{r.Layer}, r.X1, r.Y1, r.X2, r.Y2, r.NetNumber, r.ComponentNumber);
}
auto Kept(const TNetRecord& r) { return std::tuple(r.Name.View(), r.Number); }
auto Kept(const TComponentRecord& r) {
  return std::tuple(r.Designator.View(), r.Comment.View(), r.Pattern.View(), r.X, r.Y, r.Number, int{r.Layer});
}
auto Kept(const TPolygonRecord& r) {
  return std::tuple(int{r.Layer}, r.VertexCount, r.NetNumber, r.ComponentNumber, r.PointX, r.PointY, r.PointsRead);
}

template <class Records, class Record>
void ExpectRecords(const Records& records, std::initializer_list<Record> expected) {
  ASSERT_EQ(records.size(), expected.size());
  std::size_t i = 0;
  for (const Record& e : expected) {
    EXPECT_EQ(Kept(records[i]), Kept(e)) << "record " << i;
    ++i;
  }
}

// Each record kind, two records on one line: every field has a value of its
// own, so a field stored in the wrong member shows, and the second record
// starts right after the first one's last field. Layer fields 16 and 22 read
// as legacy layers 32 and 38.

TEST_F(RecordLayoutTest, ArcFields) {
  const Reading read("ARC 101 102 103 104 16 106 107 108 109 110 ARC 201 202 203 204 22 206 207 208 209 210\r\n");
  // The end angle is start plus sweep, folded into 0..360.
  ExpectRecords(read.Sections().Arc.Records, {TArcRecord{.Radius = 101,
                                                         .StartAngle = 102,
                                                         .EndAngle = 205,
                                                         .Width = 104,
                                                         .Layer = 32,
                                                         .X = 106,
                                                         .Y = 107,
                                                         .NetNumber = 108,
                                                         .ComponentNumber = 109},
                                              TArcRecord{.Radius = 201,
                                                         .StartAngle = 202,
                                                         .EndAngle = 45,
                                                         .Width = 204,
                                                         .Layer = 38,
                                                         .X = 206,
                                                         .Y = 207,
                                                         .NetNumber = 208,
                                                         .ComponentNumber = 209}});
}

TEST_F(RecordLayoutTest, PadFields) {
  const Reading read(
      "PAD SQ 102 103 104 BL S1 N7 108 109 110 111 112 PAD EL 202 203 204 TL S2 P8 208 209 210 211 212\r\n");
  // SQ is square (2), EL round (1); BL is BottomLayer (32), TL TopLayer (1).
  ExpectRecords(read.Sections().Pad.Records, {TPadRecord{.Shape = 2,
                                                         .XSize = 102,
                                                         .YSize = 103,
                                                         .HoleSize = 104,
                                                         .Layer = 32,
                                                         .Name = "N7"sv,
                                                         .X = 108,
                                                         .Y = 109,
                                                         .NetNumber = 110,
                                                         .ComponentNumber = 111},
                                              TPadRecord{.Shape = 1,
                                                         .XSize = 202,
                                                         .YSize = 203,
                                                         .HoleSize = 204,
                                                         .Layer = 1,
                                                         .Name = "P8"sv,
                                                         .X = 208,
                                                         .Y = 209,
                                                         .NetNumber = 210,
                                                         .ComponentNumber = 211}});
}

TEST_F(RecordLayoutTest, ViaFields) {
  const Reading read("VIA S1 102 103 R4 105 106 107 108 109 VIA S2 202 203 R5 205 206 207 208 209\r\n");
  ExpectRecords(
      read.Sections().Via.Records,
      {TViaRecord{.Size = 102, .HoleSize = 103, .X = 105, .Y = 106, .NetNumber = 107, .ComponentNumber = 108},
       TViaRecord{.Size = 202, .HoleSize = 203, .X = 205, .Y = 206, .NetNumber = 207, .ComponentNumber = 208}});
}

TEST_F(RecordLayoutTest, TrackFields) {
  const Reading read("LINE 101 16 103 104 105 106 107 108 109 LINE 201 22 203 204 205 206 207 208 209\r\n");
  ExpectRecords(read.Sections().Track.Records, {TTrackRecord{.Width = 101,
                                                             .Layer = 32,
                                                             .X1 = 103,
                                                             .Y1 = 104,
                                                             .X2 = 105,
                                                             .Y2 = 106,
                                                             .NetNumber = 107,
                                                             .ComponentNumber = 108},
                                                TTrackRecord{.Width = 201,
                                                             .Layer = 38,
                                                             .X1 = 203,
                                                             .Y1 = 204,
                                                             .X2 = 205,
                                                             .Y2 = 206,
                                                             .NetNumber = 207,
                                                             .ComponentNumber = 208}});
}

TEST_F(RecordLayoutTest, TextFields) {
  const Reading read(
      "TEXT T1 102 5 104 16 106 107 108 109 110 111 112 113 TEXT U2 202 2 204 22 206 207 208 209 210 211 212 213\r\n");
  // Rotation code 5 is 90 degrees mirrored, 2 is 180 degrees.
  ExpectRecords(read.Sections().Text.Records, {TTextRecord{.Text = "T1"sv,
                                                           .Height = 102,
                                                           .Rotation = 90,
                                                           .Mirrored = true,
                                                           .Width = 104,
                                                           .Layer = 32,
                                                           .X = 106,
                                                           .Y = 107,
                                                           .TrailingNumber = 112},
                                               TTextRecord{.Text = "U2"sv,
                                                           .Height = 202,
                                                           .Rotation = 180,
                                                           .Mirrored = false,
                                                           .Width = 204,
                                                           .Layer = 38,
                                                           .X = 206,
                                                           .Y = 207,
                                                           .TrailingNumber = 212}});
}

TEST_F(RecordLayoutTest, FillFields) {
  const Reading read("FILL 16 102 103 104 105 106 107 108 FILL 22 202 203 204 205 206 207 208\r\n");
  ExpectRecords(
      read.Sections().Fill.Records,
      {TFillRecord{.Layer = 32, .X1 = 102, .Y1 = 103, .X2 = 104, .Y2 = 105, .NetNumber = 106, .ComponentNumber = 107},
       TFillRecord{.Layer = 38, .X1 = 202, .Y1 = 203, .X2 = 204, .Y2 = 205, .NetNumber = 206, .ComponentNumber = 207}});
}

TEST_F(RecordLayoutTest, NetFields) {
  const Reading read("NET GND 102 103 104 105 NET VCC 202 203 204 205\r\n");
  ExpectRecords(read.Sections().Net.Records,
                {TNetRecord{.Name = "GND"sv, .Number = 102}, TNetRecord{.Name = "VCC"sv, .Number = 202}});
}

TEST_F(RecordLayoutTest, ComponentFields) {
  const Reading read(
      "COMP U1 L1 C1 P1 S1 106 107 108 109 110 111 112 16 COMP U2 L2 C2 P2 S2 206 207 208 209 210 211 212 22\r\n");
  ExpectRecords(
      read.Sections().Component.Records,
      {TComponentRecord{
           .Designator = "U1"sv, .Comment = "C1"sv, .Pattern = "P1"sv, .X = 106, .Y = 107, .Number = 112, .Layer = 32},
       TComponentRecord{.Designator = "U2"sv,
                        .Comment = "C2"sv,
                        .Pattern = "P2"sv,
                        .X = 206,
                        .Y = 207,
                        .Number = 212,
                        .Layer = 38}});
}

TEST_F(RecordLayoutTest, PolygonFields) {
  // Points are read only after a vertex count of 4.
  const Reading read(
      "POLY 16 4 103 104 105 PNT 111 112 PNT 113 114 PNT 115 116 PNT 117 118 POLY 22 202 203 204 205\r\n");
  ExpectRecords(read.Sections().Polygon.Records, {TPolygonRecord{.Layer = 32,
                                                                 .VertexCount = 4,
                                                                 .NetNumber = 103,
                                                                 .ComponentNumber = 104,
                                                                 .PointX = {111, 113, 115, 117},
                                                                 .PointY = {112, 114, 116, 118},
                                                                 .PointsRead = 4},
                                                  TPolygonRecord{.Layer = 38,
                                                                 .VertexCount = 202,
                                                                 .NetNumber = 203,
                                                                 .ComponentNumber = 204,
                                                                 .PointX = {},
                                                                 .PointY = {},
                                                                 .PointsRead = 0}});
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

TEST_F(RecordLayoutTest, TheCheckNamesEachIntegerFieldThatIsNoNumber) {
  // Every integer field of each record kind is a letter of its own.
  struct Case {
    std::string_view line;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"ARC a b c d e f g h i j",
       {"ARC radius is 'a', not a number: it reads as 0", "ARC start angle is 'b', not a number: it reads as 0",
        "ARC sweep is 'c', not a number: it reads as 0", "ARC width is 'd', not a number: it reads as 0",
        "ARC layer is 'e', not a number: it reads as 0", "ARC X is 'f', not a number: it reads as 0",
        "ARC Y is 'g', not a number: it reads as 0", "ARC net is 'h', not a number: it reads as 0",
        "ARC component is 'i', not a number: it reads as 0", "ARC reserved is 'j', not a number: it reads as 0"}},
      {"PAD SQ a b c TL S N d e f g h",
       {"PAD X size is 'a', not a number: it reads as 0", "PAD Y size is 'b', not a number: it reads as 0",
        "PAD hole size is 'c', not a number: it reads as 0", "PAD X is 'd', not a number: it reads as 0",
        "PAD Y is 'e', not a number: it reads as 0", "PAD net is 'f', not a number: it reads as 0",
        "PAD component is 'g', not a number: it reads as 0", "PAD reserved is 'h', not a number: it reads as 0"}},
      {"VIA S a b R c d e f g",
       {"VIA size is 'a', not a number: it reads as 0", "VIA hole size is 'b', not a number: it reads as 0",
        "VIA X is 'c', not a number: it reads as 0", "VIA Y is 'd', not a number: it reads as 0",
        "VIA net is 'e', not a number: it reads as 0", "VIA component is 'f', not a number: it reads as 0",
        "VIA reserved is 'g', not a number: it reads as 0"}},
      {"LINE a b c d e f g h i",
       {"LINE width is 'a', not a number: it reads as 0", "LINE layer is 'b', not a number: it reads as 0",
        "LINE X1 is 'c', not a number: it reads as 0", "LINE Y1 is 'd', not a number: it reads as 0",
        "LINE X2 is 'e', not a number: it reads as 0", "LINE Y2 is 'f', not a number: it reads as 0",
        "LINE net is 'g', not a number: it reads as 0", "LINE component is 'h', not a number: it reads as 0",
        "LINE reserved is 'i', not a number: it reads as 0"}},
      {"TEXT T a b c d e f g h i j k l",
       {"TEXT height is 'a', not a number: it reads as 0", "TEXT rotation is 'b', not a number: it reads as 0",
        "TEXT width is 'c', not a number: it reads as 0", "TEXT layer is 'd', not a number: it reads as 0",
        "TEXT X is 'e', not a number: it reads as 0", "TEXT Y is 'f', not a number: it reads as 0",
        "TEXT flags is 'g', not a number: it reads as 0", "TEXT reserved is 'h', not a number: it reads as 0",
        "TEXT reserved is 'i', not a number: it reads as 0", "TEXT reserved is 'j', not a number: it reads as 0",
        "TEXT number is 'k', not a number: it reads as 0", "TEXT reserved is 'l', not a number: it reads as 0"}},
      {"FILL a b c d e f g h",
       {"FILL layer is 'a', not a number: it reads as 0", "FILL X1 is 'b', not a number: it reads as 0",
        "FILL Y1 is 'c', not a number: it reads as 0", "FILL X2 is 'd', not a number: it reads as 0",
        "FILL Y2 is 'e', not a number: it reads as 0", "FILL net is 'f', not a number: it reads as 0",
        "FILL component is 'g', not a number: it reads as 0", "FILL reserved is 'h', not a number: it reads as 0"}},
      {"NET N a b c d",
       {"NET number is 'a', not a number: it reads as 0", "NET class is 'b', not a number: it reads as 0",
        "NET flags is 'c', not a number: it reads as 0", "NET reserved is 'd', not a number: it reads as 0"}},
      {"COMP D L C P S a b c d e f g h",
       {"COMP X is 'a', not a number: it reads as 0", "COMP Y is 'b', not a number: it reads as 0",
        "COMP rotation is 'c', not a number: it reads as 0", "COMP mirror is 'd', not a number: it reads as 0",
        "COMP flags is 'e', not a number: it reads as 0", "COMP reserved is 'f', not a number: it reads as 0",
        "COMP number is 'g', not a number: it reads as 0", "COMP layer is 'h', not a number: it reads as 0"}},
      {"POLY a b c d e",
       {"POLY layer is 'a', not a number: it reads as 0", "POLY vertex count is 'b', not a number: it reads as 0",
        "POLY net is 'c', not a number: it reads as 0", "POLY component is 'd', not a number: it reads as 0",
        "POLY reserved is 'e', not a number: it reads as 0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TempFile file(std::string(c.line) + "\r\n");
    const TFileCheck check = CheckFile(file.Path());
    std::vector<std::string> messages;
    for (const TFinding& finding : check.Findings) {
      if (finding.Kind == TFindingKind::NotNumber) messages.push_back(finding.Message);
    }
    EXPECT_EQ(messages, c.expected);
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
