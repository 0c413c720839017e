// Imports of a realistic board against a faulty host: queries that fail,
// objects that cannot be made, over-long strings, foreign layer identifiers,
// odd pad stacks, broken layer links, endless class member lists, large
// reference counts, and every entry point missing in turn. Each import
// completes or fails cleanly: a definite result, no progress range left
// open, and a board that holds what the fault allows.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "RTL/RT_PCB/PcbApi.h"
#include "RTL/RT_PCB/PcbDimension.h"
#include "RTL/RT_PCB/PcbObjectClass.h"
#include "entry/ImportFile.h"
#include "orvik/kovlan.h"
#include "reader/OrvikFile.h"
#include "tests/fixtures/ReaderTestFiles.h"

namespace orvik {
namespace {

const std::string kDemoBoard = ORVIK_SOURCE_DIR "/examples/demo-board.pcb";

OrvikBool ORVIK_STDCALL Exists(const char*) { return 1; }

// The kinds the demo board holds, and how many of each.
// Texts at index 4, components at index 7.
constexpr std::array<std::uint8_t, 9> kKinds = {1, 2, 3, 4, 5, 6, 8, 9, 10};
struct BoardCounts {
  std::array<std::int32_t, kKinds.size()> PerKind{};
  std::int32_t BoardMembers = 0;
  bool operator==(const BoardCounts&) const = default;
};

BoardCounts CountBoard() {
  BoardCounts c;
  for (std::size_t i = 0; i < kKinds.size(); ++i) c.PerKind[i] = KvHost_ObjectCount(kKinds[i]);
  c.BoardMembers = KvHost_Members(KvHost_BoardHandle(), nullptr, 0);
  return c;
}

std::int32_t TrackWidth(std::size_t i) {
  std::vector<std::uint32_t> handles(64);
  handles.resize(static_cast<std::size_t>(KvHost_Members(KvHost_BoardHandle(), handles.data(), 64)));
  std::vector<std::uint32_t> tracks;
  for (std::uint32_t h : handles) {
    if (KvHost_ObjectKind(h) == 4) tracks.push_back(h);
  }
  std::int32_t width = -1;
  if (i < tracks.size()) KvHost_ReadAttribute(tracks[i], "PcbApi_QueryTrack", 10, &width, sizeof width);
  return width;
}

// Progress is balanced: every range opened was closed.
void ExpectProgressClosed() {
  EXPECT_EQ(KvHost_ProgressOpen(), 0);
  const testing::ProgressCounts c = testing::HostProgressCounts();
  EXPECT_EQ(c.Inits, c.Finishes);
}

// The board a healthy host ends up with.
BoardCounts HealthyBoard() {
  KvHost_Reset();
  EXPECT_TRUE(entry::ImportFile(Exists, kDemoBoard));
  return CountBoard();
}

enum class Outcome { Imports, Fails };
enum class Board { AsHealthy, Empty, SameCounts, OwnComponentTexts };

struct FaultCase {
  const char* Name;
  std::int32_t Value;
  Outcome Result;
  Board Contents;
};

class FaultyHost : public ::testing::TestWithParam<FaultCase> {
 protected:
  void TearDown() override { KvHost_Reset(); }
};

TEST_P(FaultyHost, ImportEndsCleanlyThroughTheEntryPath) {
  const FaultCase& f = GetParam();
  const BoardCounts healthy = HealthyBoard();
  const std::int32_t healthyWidth = TrackWidth(0);

  KvHost_Reset();
  ASSERT_EQ(KvHost_SetFault(f.Name, f.Value), 0);
  EXPECT_EQ(entry::ImportFile(Exists, kDemoBoard), f.Result == Outcome::Imports);
  ExpectProgressClosed();
  const BoardCounts got = CountBoard();
  switch (f.Contents) {
    case Board::AsHealthy:
      EXPECT_EQ(got, healthy);
      EXPECT_EQ(TrackWidth(0), healthyWidth);
      break;
    case Board::SameCounts:
      // The objects are made and placed; what they hold is what the host
      // kept.
      EXPECT_EQ(got, healthy);
      break;
    case Board::Empty:
      EXPECT_EQ(got, BoardCounts{});
      break;
    case Board::OwnComponentTexts: {
      // The host reports no designator or comment texts for the components,
      // so the import makes its own two per component; the rest as healthy.
      BoardCounts expected = healthy;
      expected.PerKind[4] += 2 * healthy.PerKind[7];
      EXPECT_EQ(got, expected);
      break;
    }
  }
}

TEST_P(FaultyHost, DriverRaisesOrCompletesWithProgressClosed) {
  const FaultCase& f = GetParam();
  KvHost_Reset();
  ASSERT_EQ(KvHost_SetFault(f.Name, f.Value), 0);
  bool raised = false;
  try {
    TOrvikFile driver(kDemoBoard);
    driver.Import();
  } catch (const std::exception&) {
    raised = true;
  }
  EXPECT_EQ(raised, f.Result == Outcome::Fails);
  ExpectProgressClosed();
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultyHost,
                         ::testing::Values(FaultCase{"query-status", 1, Outcome::Imports, Board::OwnComponentTexts},
                                           FaultCase{"query-status", -1, Outcome::Imports, Board::OwnComponentTexts},
                                           FaultCase{"create-object-zero", 1, Outcome::Imports, Board::Empty},
                                           FaultCase{"long-strings", 1, Outcome::Imports, Board::SameCounts},
                                           FaultCase{"layer-id", 0x05000000, Outcome::Fails, Board::Empty},
                                           FaultCase{"pad-stack-mode", 2, Outcome::Imports, Board::AsHealthy},
                                           FaultCase{"layer-links", 1, Outcome::Imports, Board::AsHealthy},
                                           FaultCase{"layer-links", 2, Outcome::Imports, Board::AsHealthy},
                                           FaultCase{"class-member-always", 1, Outcome::Imports, Board::AsHealthy},
                                           FaultCase{"reference-count", 1000, Outcome::Imports, Board::AsHealthy}),
                         [](const ::testing::TestParamInfo<FaultCase>& param) {
                           std::string name = param.param.Name;
                           for (char& c : name) {
                             if (c == '-') c = '_';
                           }
                           return name + "_" + std::to_string(param.index);
                         });

TEST(FaultyHostSwitches, UnknownNamesAreRefusedAndResetClearsAll) {
  KvHost_Reset();
  EXPECT_EQ(KvHost_SetFault("no-such-fault", 1), -1);
  EXPECT_EQ(KvHost_SetFault(nullptr, 1), -1);
  ASSERT_EQ(KvHost_SetFault("create-object-zero", 1), 0);
  KvHost_Reset();
  EXPECT_NE(pcbapi::CreateObject(4), 0u);
}

TEST(FaultyHostObjects, EndlessClassMemberListStopsAtTheLimit) {
  KvHost_Reset();
  const std::uint32_t handle = pcbapi::CreateObject(TPCBObjectClass::kObjectId);
  ASSERT_NE(handle, 0u);
  ASSERT_EQ(KvHost_SetFault("class-member-always", 1), 0);
  TPCBObjectClass objectClass(handle);
  objectClass.SyncWithHost(smRead);
  EXPECT_EQ(objectClass.Members.size(), static_cast<std::size_t>(TPCBObjectClass::kMaxMembers));
  KvHost_Reset();
}

TEST(FaultyHostObjects, DimensionReferenceCountIsCutToTheTable) {
  for (const std::int32_t count : {201, 1000, 0x7FFFFFFF, -5}) {
    SCOPED_TRACE(count);
    KvHost_Reset();
    const std::uint32_t handle = pcbapi::CreateObject(TPcbDimension::kObjectId);
    ASSERT_NE(handle, 0u);
    ASSERT_EQ(KvHost_SetFault("reference-count", count), 0);
    TPcbDimension dimension(handle);
    dimension.SyncWithHost(smRead);
    EXPECT_GE(dimension.ReferenceCount, 0);
    EXPECT_LE(dimension.ReferenceCount, TPcbDimension::kMaxReferences);
    dimension.SyncWithHost(smWrite);
  }
  KvHost_Reset();
}

// Every entry point missing in turn, as a module that does not export it.
TEST(FaultyHostMissingEntries, EachEntryPointAbsentInTurn) {
  for (int i = 0; i < pcbapi::kEntryCount; ++i) {
    const auto entry = static_cast<pcbapi::Entry>(i);
    SCOPED_TRACE(pcbapi::EntryName(entry));
    KvHost_Reset();
    pcbapi::LoadPcbApi();
    pcbapi::testing::ClearSlot(entry);
    ASSERT_FALSE(pcbapi::IsResolved(entry));
    const bool imported = entry::ImportFile(Exists, kDemoBoard);
    // A missing entry point answers its default; the import runs to its end.
    EXPECT_TRUE(imported);
    // Without Percent_Finish no range can be closed; with it, none stays open.
    if (entry != pcbapi::Entry::Percent_Finish && entry != pcbapi::Entry::Percent_Init) ExpectProgressClosed();
    if (entry == pcbapi::Entry::CreateObject) {
      EXPECT_EQ(CountBoard(), BoardCounts{});
    }
  }
  pcbapi::LoadPcbApi();
  KvHost_Reset();
}

// No entry point at all: the module as good as absent.
TEST(FaultyHostMissingEntries, AllEntryPointsAbsent) {
  KvHost_Reset();
  for (int i = 0; i < pcbapi::kEntryCount; ++i) pcbapi::testing::ClearSlot(static_cast<pcbapi::Entry>(i));
  EXPECT_TRUE(entry::ImportFile(Exists, kDemoBoard));
  EXPECT_EQ(CountBoard(), BoardCounts{});
  testing::ProgressCounts c = testing::HostProgressCounts();
  EXPECT_EQ(c.Inits + c.Updates + c.Finishes, 0);
  pcbapi::LoadPcbApi();
  KvHost_Reset();
}

}  // namespace
}  // namespace orvik
