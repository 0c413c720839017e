// The import driver against the stand-in host: keyword dispatch, line
// skipping, commit order, attachment to nets and components, progress and
// failures.
#include "reader/OrvikFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "orvik/kovlan.h"
#include "platform/TextFile.h"
#include "tests/fixtures/ReaderTestFiles.h"
#include "tests/support/StandInHost.h"

namespace orvik {
namespace {

using test::JournalLines;
using test::Members;
using test::Memberships;
using testing::HostProgressCounts;
using testing::TempFile;

struct ProgressEvent {
  std::int32_t Event;
  std::string Message;
  std::int32_t Done;
  std::int32_t Total;
};

void ORVIK_STDCALL RecordProgress(std::int32_t event, const char* message, std::int32_t done, std::int32_t total,
                                  void* ctx) {
  static_cast<std::vector<ProgressEvent>*>(ctx)->push_back({event, message ? message : "", done, total});
}

// One finished import; the driver (and its client objects) stays alive for
// inspection.
struct Imported {
  explicit Imported(std::string_view content) : file(content), driver(std::make_unique<TOrvikFile>(file.Path())) {
    driver->Import();
  }
  const TSection& Section(TRecordKind kind) const { return driver->Sections().Of(kind); }
  std::uint32_t Handle(TRecordKind kind, std::size_t i) const { return Section(kind).Objects.at(i)->Handle; }

  TempFile file;
  std::unique_ptr<TOrvikFile> driver;
};

std::vector<int> Kinds(const std::vector<std::uint32_t>& handles) {
  std::vector<int> kinds;
  for (std::uint32_t h : handles) kinds.push_back(KvHost_ObjectKind(h));
  return kinds;
}

std::string Lines(const std::vector<std::string>& lines, std::string_view end) {
  std::string text;
  for (const auto& line : lines) text += line + std::string(end);
  return text;
}

constexpr const char* kTrack = "LINE 10 0 0 0 100 0 0 0 0";

using DriverTest = test::FreshHost;

TEST_F(DriverTest, FileOfUnknownKeywordsAddsNothing) {
  std::vector<ProgressEvent> events;
  KvHost_SetProgressCallback(RecordProgress, &events);
  {
    Imported imported("ORVIK ASCII PCB\r\nFOO 1 2\r\nBAR LINE 10 0 0 0 100 0 0 0 0\r\n");
    EXPECT_TRUE(Members(KvHost_BoardHandle()).empty());
    EXPECT_EQ(KvHost_ObjectCount(0), 0);

    std::vector<ProgressEvent> inits;
    std::copy_if(events.begin(), events.end(), std::back_inserter(inits),
                 [](const ProgressEvent& e) { return e.Event == KVHOST_PROGRESS_INIT; });
    ASSERT_EQ(inits.size(), 2u);
    EXPECT_EQ(inits[0].Message, "Loading " + imported.file.Path() + " (Orvik)");
    EXPECT_EQ(inits[0].Total, 57);
    EXPECT_EQ(inits[1].Message, "Adding primitives to board...");
    EXPECT_EQ(inits[1].Total, 0);
  }
  const auto counts = HostProgressCounts();
  EXPECT_EQ(counts.Inits, 2);
  EXPECT_EQ(counts.Finishes, 2);
  EXPECT_EQ(KvHost_ProgressOpen(), 0);
}

TEST_F(DriverTest, KeywordForms) {
  struct Case {
    const char* name;
    std::string content;
    int tracks;
    int vias;
  };
  const std::string t = kTrack;
  const Case cases[] = {
      {"upper case", t + "\r\n", 1, 0},
      {"lower case", "line 10 0 0 0 100 0 0 0 0\r\n", 1, 0},
      {"mixed case", "Line 10 0 0 0 100 0 0 0 0\r\n", 1, 0},
      {"quoted", "\"LINE\" 10 0 0 0 100 0 0 0 0\r\n", 1, 0},
      {"followed by a TAB", "LINE\t10 0 0 0 100 0 0 0 0\r\n", 0, 0},
      {"after an unknown word", "FOO " + t + "\r\n", 0, 0},
      {"surplus word skips the rest", t + " junk " + t + "\r\n" + t + "\r\n", 2, 0},
      {"surplus keyword is read", t + " VIA x 50 28 x 0 0 0 0 0\r\n", 1, 1},
      {"short record loses the next one", "LINE 10 0 0 0 100 0 0 0\r\n" + t + "\r\n", 1, 0},
      {"record split over lines", "LINE 10 0 0\r\n0 100 0\r\n0 0 0\r\n", 1, 0},
  };
  for (const auto& c : cases) {
    KvHost_Reset();
    Imported imported(c.content);
    EXPECT_EQ(KvHost_ObjectCount(4), c.tracks) << c.name;
    EXPECT_EQ(KvHost_ObjectCount(3), c.vias) << c.name;
  }
}

TEST_F(DriverTest, EveryLineEndStyleEndsLinesOnce) {
  const std::vector<std::string> lines = {
      "ORVIK ASCII PCB 1.0",
      "HEADER",
      kTrack,
      "JUNK words LINE 1 2",
      "UNKNOWN",
      "LINE 10 0 0 0 200 0 0 0 0",
      "TRAILING   ",
      "VIA x 50 28 x 0 0 0 0 0",
      "UNKNOWN",
  };
  for (const char* end : {"\n", "\r", "\r\n"}) {
    for (const std::string& content : {Lines(lines, end), Lines(lines, end) + "NET LAST 1 0 0 0"}) {
      KvHost_Reset();
      Imported imported(content);
      EXPECT_EQ(KvHost_ObjectCount(4), 2) << ::testing::PrintToString(content);
      EXPECT_EQ(KvHost_ObjectCount(3), 1) << ::testing::PrintToString(content);
    }
  }
  // A keyword line right after an unknown last word of a CR-only line.
  KvHost_Reset();
  Imported imported("X\rLINE 10 0 0 0 100 0 0 0 0\rY Z\rLINE 10 0 0 0 100 0 0 0 0");
  EXPECT_EQ(KvHost_ObjectCount(4), 2);
}

TEST_F(DriverTest, ProgressStepsOfASmallFile) {
  std::vector<ProgressEvent> events;
  KvHost_SetProgressCallback(RecordProgress, &events);
  // Driver: "X" nothing, "LINE" I, N, E and the space (4); the track reader
  // its 17 characters and the record (18); committing: one creation and one
  // placing step.
  { Imported imported("X\r\nLINE 1 0 0 0 0 0 0 0 0\r\n"); }
  const auto counts = HostProgressCounts();
  EXPECT_EQ(counts.Updates, 4 + 18 + 2);
  EXPECT_EQ(counts.Inits, 2);
  EXPECT_EQ(counts.Finishes, 2);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().Event, KVHOST_PROGRESS_FINISH);
}

// Every kind on net 1; the component's own pad lies in component 1.
const char* const kAllKinds =
    "ORVIK\r\n"
    "ARC 10 0 90 1 0 0 0 1 0 0\r\n"
    "PAD SQ 60 60 30 TL x 1 0 0 1 0 0\r\n"
    "VIA x 50 28 x 0 0 1 0 0\r\n"
    "LINE 10 0 0 0 100 0 1 0 0\r\n"
    "TEXT hello 50 0 0 8 0 0 0 0 0 0 0 0\r\n"
    "FILL 0 0 0 10 10 1 0 0\r\n"
    "POLY 0 4 1 0 0\r\nPNT 0 0\r\nPNT 10 0\r\nPNT 10 10\r\nPNT 0 10\r\n"
    "PAD EL 60 60 30 TL x 2 100 0 1 1 0\r\n"
    "NET N1 1 0 0 0\r\n"
    "COMP U1 x IC DIP8 x 0 0 0 0 0 0 1 0\r\n";

TEST_F(DriverTest, CommitCreatesGroupsFirstAndAddsThemLast) {
  KvHost_SetJournal(1);
  Imported imported(kAllKinds);

  std::vector<int> created;
  const std::string prefix = "PcbApi_CreateObject ";
  for (const std::string& line : JournalLines(prefix)) created.push_back(std::stoi(line.substr(prefix.size())));
  // The component's designator and comment texts (if the host gives it none)
  // come before the net.
  const auto net = std::find(created.begin(), created.end(), 8);
  ASSERT_NE(net, created.end());
  created.erase(std::remove(created.begin(), net, 5), net);
  EXPECT_EQ(created, (std::vector<int>{9, 8, 1, 2, 2, 3, 4, 5, 6, 6}));

  // Primitives in section order, then components, then nets.
  EXPECT_EQ(Kinds(Members(KvHost_BoardHandle())), (std::vector<int>{1, 2, 3, 4, 5, 6, 6, 9, 8}));
  const std::uint32_t netHandle = imported.Handle(TRecordKind::Net, 0);
  EXPECT_EQ(Kinds(Members(netHandle)), (std::vector<int>{1, 2, 2, 3, 4, 6, 6}));
  const std::uint32_t compHandle = imported.Handle(TRecordKind::Component, 0);
  EXPECT_EQ(Members(compHandle), (std::vector<std::uint32_t>{imported.Handle(TRecordKind::Pad, 1)}));
  EXPECT_EQ(Memberships(imported.Handle(TRecordKind::Pad, 1)), (std::vector<std::uint32_t>{netHandle, compHandle}));
}

TEST_F(DriverTest, AttachmentRules) {
  Imported imported(
      "NET FIRST 3 0 0 0\r\n"
      "NET SECOND 3 0 0 0\r\n"
      "NET WIDE 65537 0 0 0\r\n"
      "LINE 10 15 0 0 100 0 3 0 0\r\n"          // 0: MultiLayer: placed nowhere
      "LINE 10 0 0 0 100 0 0 0 0\r\n"           // 1: net 0, component 0: the board only
      "LINE 10 0 0 0 100 0 3 0 0\r\n"           // 2: the first net numbered 3
      "LINE 10 0 0 0 100 0 1 0 0\r\n"           // 3: net 65537 by its low 16 bits
      "LINE 10 0 0 0 100 0 65537 0 0\r\n"       // 4: no net
      "LINE 10 0 0 0 100 0 -1 0 0\r\n"          // 5: no net
      "LINE 10 0 0 0 100 0 0 5 0\r\n"           // 6: unknown component: nowhere
      "PAD SQ 60 60 30 ML x 1 0 0 3 0 0\r\n");  // MultiLayer pads are placed
  const std::uint32_t board = KvHost_BoardHandle();
  const std::uint32_t first = imported.Handle(TRecordKind::Net, 0);
  const std::uint32_t wide = imported.Handle(TRecordKind::Net, 2);
  auto track = [&](std::size_t i) { return imported.Handle(TRecordKind::Track, i); };

  EXPECT_EQ(KvHost_ObjectCount(4), 7);
  EXPECT_TRUE(Memberships(track(0)).empty());
  EXPECT_EQ(Memberships(track(1)), (std::vector<std::uint32_t>{board}));
  EXPECT_EQ(Memberships(track(2)), (std::vector<std::uint32_t>{first, board}));
  EXPECT_EQ(Memberships(track(3)), (std::vector<std::uint32_t>{wide, board}));
  EXPECT_EQ(Memberships(track(4)), (std::vector<std::uint32_t>{board}));
  EXPECT_EQ(Memberships(track(5)), (std::vector<std::uint32_t>{board}));
  EXPECT_TRUE(Memberships(track(6)).empty());
  EXPECT_EQ(Members(first),
            (std::vector<std::uint32_t>{imported.Handle(TRecordKind::Pad, 0), track(2)}));  // pads placed first
  EXPECT_TRUE(Members(imported.Handle(TRecordKind::Net, 1)).empty());
}

TEST_F(DriverTest, RefdesAndTypeTextsBindToTheirComponent) {
  // Texts take no component from the file; let the host give every new text
  // component number 7.
  const std::int32_t seven = 7;
  ASSERT_EQ(KvHost_SetDefault(5, "PcbApi_QueryText", 5, &seven, sizeof seven), 4);
  KvHost_SetJournal(1);
  Imported imported(
      "COMP U7 x IC SO8 x 10 20 0 0 0 0 7 0\r\n"
      "TEXT .REFDES 50 0 0 8 0 0 0 0 0 0 0 0\r\n"
      "TEXT .TYPE 50 0 0 8 0 0 0 0 0 0 0 0\r\n"
      "TEXT .refdes 50 0 0 8 0 0 0 0 0 0 0 0\r\n");
  const std::uint32_t comp = imported.Handle(TRecordKind::Component, 0);
  std::uint32_t designator = 0, comment = 0;
  ASSERT_EQ(KvHost_ReadAttribute(comp, "PcbApi_QueryComponent", 4, &designator, sizeof designator), 4);
  ASSERT_EQ(KvHost_ReadAttribute(comp, "PcbApi_QueryComponent", 5, &comment, sizeof comment), 4);
  EXPECT_EQ(designator, imported.Handle(TRecordKind::Text, 0));
  EXPECT_EQ(comment, imported.Handle(TRecordKind::Text, 1));

  // No text is added to the component or the board.
  EXPECT_TRUE(Members(comp).empty());
  for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(Memberships(imported.Handle(TRecordKind::Text, i)).empty()) << i;
  EXPECT_EQ(Kinds(Members(KvHost_BoardHandle())), (std::vector<int>{9}));

  // One rebinding exchange per text of the component, matched or not.
  EXPECT_EQ(JournalLines("PcbApi_QueryComponent 2 ").size(), 3u);
}

TEST_F(DriverTest, MissingFileRaisesWithoutOpeningProgress) {
  TOrvikFile driver((std::filesystem::temp_directory_path() / "orvik_reader_no_such_file.pcb").string());
  EXPECT_THROW(driver.Import(), platform::EInOutError);
  EXPECT_EQ(HostProgressCounts().Inits, 0);
  EXPECT_EQ(KvHost_ProgressOpen(), 0);
}

#ifdef __linux__
TEST_F(DriverTest, ReadFailureClosesTheOpenRange) {
  // A regular file whose first read fails.
  TOrvikFile driver("/proc/self/mem");
  EXPECT_THROW(driver.Import(), platform::EInOutError);
  const auto counts = HostProgressCounts();
  EXPECT_EQ(counts.Inits, 1);
  EXPECT_EQ(counts.Finishes, 1);
  EXPECT_EQ(KvHost_ProgressOpen(), 0);
}

TEST_F(DriverTest, HugeFileOpensTheRangeWithTheLargestTotal) {
  std::vector<ProgressEvent> events;
  KvHost_SetProgressCallback(RecordProgress, &events);
  TempFile file("\x1A");
  std::error_code error;
  std::filesystem::resize_file(file.Path(), 3'000'000'000ull, error);  // sparse
  if (error) GTEST_SKIP() << "cannot create a sparse file: " << error.message();
  TOrvikFile driver(file.Path());
  driver.Import();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front().Event, KVHOST_PROGRESS_INIT);
  EXPECT_EQ(events.front().Total, 2147483647);
}
#endif

TEST_F(DriverTest, DemoBoardImports) {
  TOrvikFile driver(std::string(ORVIK_SOURCE_DIR) + "/examples/demo-board.pcb");
  driver.Import();
  EXPECT_EQ(KvHost_ObjectCount(9), 3);
  EXPECT_GE(KvHost_ObjectCount(8), 3);
  EXPECT_GT(KvHost_ObjectCount(2), 0);
  EXPECT_GT(KvHost_ObjectCount(1), 0);
  EXPECT_GT(KvHost_ObjectCount(3), 0);
  EXPECT_GT(KvHost_ObjectCount(4), 0);
  EXPECT_EQ(driver.Sections().Polygon.Objects.size(), 1u);
  EXPECT_EQ(KvHost_ProgressOpen(), 0);
}

}  // namespace
}  // namespace orvik
