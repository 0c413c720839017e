// Whole imports through the built plug-in into the stand-in host module, as
// a host runs them: the program exports the file-existence test, links the
// host module and loads the plug-in at run time.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "orvik/kovlan.h"
#include "tests/e2e/PluginTest.h"
#include "tests/support/StandInHost.h"

namespace orvik::test {
namespace {

enum Kind : uint8_t { kArc = 1, kPad = 2, kVia = 3, kTrack = 4, kText = 5, kFill = 6, kNet = 8, kComponent = 9 };

template <class T>
T Attribute(uint32_t handle, const char* entryPoint, int32_t position) {
  T value{};
  EXPECT_EQ(KvHost_ReadAttribute(handle, entryPoint, position, &value, sizeof value),
            static_cast<int32_t>(sizeof value))
      << entryPoint << " #" << position;
  return value;
}

std::string StringAttribute(uint32_t handle, const char* entryPoint, int32_t position) {
  const auto s = Attribute<OrvikShortString>(handle, entryPoint, position);
  return std::string(s.text, s.length);
}

std::vector<uint32_t> OfKind(const std::vector<uint32_t>& handles, uint8_t kind) {
  std::vector<uint32_t> out;
  for (uint32_t h : handles) {
    if (KvHost_ObjectKind(h) == kind) out.push_back(h);
  }
  return out;
}

struct ProgressCounts {
  int32_t inits = -1, updates = -1, finishes = -1;
};
ProgressCounts Progress() {
  ProgressCounts c;
  KvHost_ProgressCounts(&c.inits, &c.updates, &c.finishes);
  return c;
}

class Import : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    KvHost_Reset();
    board_ = KvHost_BoardHandle();
    ASSERT_NE(board_, 0u);
  }

  uint32_t board_ = 0;
};

class DemoBoard : public Import {
 protected:
  void SetUp() override {
    Import::SetUp();
    const std::string demo = NarrowName(ProgramDirectory() / "testdata" / "demo-board.pcb");
    ASSERT_TRUE(plugin_.Recognised(demo));
    ASSERT_TRUE(plugin_.Import(demo));
    boardMembers_ = Members(board_);
  }
  uint32_t NetNamed(const std::string& name) {
    for (uint32_t net : OfKind(boardMembers_, kNet)) {
      if (StringAttribute(net, "PcbApi_QueryNet", 1) == name) return net;
    }
    ADD_FAILURE() << "no net " << name;
    return 0;
  }
  std::vector<uint32_t> boardMembers_;
};

TEST_F(DemoBoard, CreatesEveryRecordAndPlacesThePrimitives) {
  struct Expected {
    Kind kind;
    int32_t created;
    std::size_t onBoard;
  };
  // Pads belong to their components; the components' designator and comment
  // texts are created but not added to the board.
  const Expected expected[] = {{kArc, 3, 3},  {kPad, 6, 0},  {kVia, 2, 2}, {kTrack, 8, 8},
                               {kText, 9, 3}, {kFill, 3, 3}, {kNet, 3, 3}, {kComponent, 3, 3}};
  for (const Expected& e : expected) {
    EXPECT_EQ(KvHost_ObjectCount(e.kind), e.created) << "kind " << int{e.kind};
    EXPECT_EQ(OfKind(boardMembers_, e.kind).size(), e.onBoard) << "kind " << int{e.kind};
  }
  EXPECT_EQ(KvHost_ObjectCount(0), 37);
  EXPECT_EQ(boardMembers_.size(), 25u);
  // Components, then nets, join the board after every primitive.
  ASSERT_EQ(boardMembers_.size(), 25u);
  for (std::size_t i = 19; i < 22; ++i) EXPECT_EQ(KvHost_ObjectKind(boardMembers_[i]), kComponent) << i;
  for (std::size_t i = 22; i < 25; ++i) EXPECT_EQ(KvHost_ObjectKind(boardMembers_[i]), kNet) << i;
}

TEST_F(DemoBoard, TakesLengthsInMilsTimesTenThousand) {
  const std::vector<uint32_t> vias = OfKind(boardMembers_, kVia);
  ASSERT_EQ(vias.size(), 2u);
  EXPECT_EQ(Attribute<int32_t>(vias[0], "PcbApi_QueryVia", 6), 1400 * 10000);
  EXPECT_EQ(Attribute<int32_t>(vias[0], "PcbApi_QueryVia", 7), 400 * 10000);
  EXPECT_EQ(Attribute<int32_t>(vias[0], "PcbApi_QueryVia", 8), 40 * 10000);
  EXPECT_EQ(Attribute<int32_t>(vias[0], "PcbApi_QueryVia", 9), 20 * 10000);

  const std::vector<uint32_t> tracks = OfKind(boardMembers_, kTrack);
  ASSERT_EQ(tracks.size(), 8u);
  EXPECT_EQ(Attribute<int32_t>(tracks[0], "PcbApi_QueryTrack", 6), 200 * 10000);
  EXPECT_EQ(Attribute<int32_t>(tracks[0], "PcbApi_QueryTrack", 7), 800 * 10000);
  EXPECT_EQ(Attribute<int32_t>(tracks[0], "PcbApi_QueryTrack", 8), 700 * 10000);
  EXPECT_EQ(Attribute<int32_t>(tracks[0], "PcbApi_QueryTrack", 9), 800 * 10000);
  EXPECT_EQ(Attribute<int32_t>(tracks[0], "PcbApi_QueryTrack", 10), 12 * 10000);

  const std::vector<uint32_t> texts = OfKind(boardMembers_, kText);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(StringAttribute(texts[1], "PcbApi_QueryText", 12), "Orvik demo board");
}

TEST_F(DemoBoard, PrimitivesJoinTheirNetsAndComponents) {
  const std::map<std::string, std::size_t> netSizes = {{"VCC", 4}, {"LED A", 3}, {"GND", 10}};
  for (const auto& [name, size] : netSizes) EXPECT_EQ(Members(NetNamed(name)).size(), size) << name;

  // Every pad is in one net, then one component of two pads.
  int padsNamedA = 0;
  for (uint32_t component : OfKind(boardMembers_, kComponent)) {
    const std::vector<uint32_t> pads = Members(component);
    ASSERT_EQ(pads.size(), 2u);
    for (uint32_t pad : pads) {
      EXPECT_EQ(KvHost_ObjectKind(pad), kPad);
      const std::vector<uint32_t> containers = Memberships(pad);
      ASSERT_EQ(containers.size(), 2u);
      EXPECT_EQ(KvHost_ObjectKind(containers[0]), kNet);
      EXPECT_EQ(containers[1], component);
      if (StringAttribute(pad, "PcbApi_QueryPad", 18) == "A") {
        ++padsNamedA;
        EXPECT_EQ(containers[0], NetNamed("LED A"));
        const auto designator = Attribute<uint32_t>(component, "PcbApi_QueryComponent", 4);
        EXPECT_EQ(StringAttribute(designator, "PcbApi_QueryText", 12), "D1");
      }
    }
  }
  EXPECT_EQ(padsNamedA, 1);

  // A primitive without a net or component goes straight to the board.
  const std::vector<uint32_t> arcs = OfKind(boardMembers_, kArc);
  ASSERT_EQ(arcs.size(), 3u);
  EXPECT_EQ(Memberships(arcs[0]), (std::vector<uint32_t>{NetNamed("GND"), board_}));
  EXPECT_EQ(Memberships(arcs[1]), std::vector<uint32_t>{board_});
}

TEST_F(DemoBoard, ClosesBothProgressRangesAndDumpsTheBoard) {
  EXPECT_EQ(KvHost_ProgressOpen(), 0);
  const ProgressCounts progress = Progress();
  EXPECT_EQ(progress.inits, 2);
  EXPECT_EQ(progress.finishes, 2);
  EXPECT_GT(progress.updates, 0);

  const std::string json = NarrowName(dir_.Path() / "board.json");
  ASSERT_EQ(KvHost_DumpJson(json.c_str()), 0);
  std::ifstream in(json, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("LED A"), std::string::npos);
}

TEST_F(Import, UnrecognisedFileTouchesNothing) {
  KvHost_SetJournal(1);
  EXPECT_FALSE(plugin_.Import(dir_.WriteFile("other.pcb", "ACCEL\nLINE 12 0 0 0 10 10 0 0 0\n")));
  SetExistAnswer(ExistAnswer::No);
  EXPECT_FALSE(plugin_.Import(dir_.WriteFile("board.pcb", "ORVIK\nLINE 12 0 0 0 10 10 0 0 0\n")));
  EXPECT_EQ(JournalLines(), std::vector<std::string>{});
  EXPECT_EQ(KvHost_ObjectCount(0), 0);
  EXPECT_EQ(Progress().inits, 0);
}

TEST_F(Import, FileWithoutRecordsLeavesTheBoardEmpty) {
  const std::string name = dir_.WriteFile("empty.pcb", "ORVIK ASCII PCB\nBOARD 1 2\nno records here\n");
  for (const char* second : {"", "anything"}) {
    EXPECT_TRUE(plugin_.Import(name, second));
    EXPECT_EQ(KvHost_ObjectCount(0), 0);
    EXPECT_TRUE(Members(board_).empty());
    EXPECT_EQ(KvHost_ProgressOpen(), 0);
  }
  EXPECT_EQ(Progress().inits, 4);
  EXPECT_EQ(Progress().finishes, 4);
}

TEST_F(Import, SecondArgumentDoesNotChangeTheResult) {
  const std::string name = dir_.WriteFile("board.pcb", "ORVIK\nNET GND 1 0 0 0\nLINE 10 0 0 0 100 0 1 0 0\n");
  for (const std::string& second : {std::string(), std::string(255, '\x01'), std::string("board.pcb")}) {
    KvHost_Reset();
    EXPECT_TRUE(plugin_.Import(name, second));
    EXPECT_EQ(KvHost_ObjectCount(kTrack), 1);
    EXPECT_EQ(KvHost_ObjectCount(kNet), 1);
  }
}

TEST_F(Import, FailureInsideTheImportReturnsFalse) {
  // A layer pair on a layer that cannot be classified makes reading the
  // board fail; the failure must stay inside the plug-in.
  const uint32_t pair[] = {0xFF000001u, 1u};
  ASSERT_EQ(KvHost_SetLayerPairs(1, pair), 0);
  const std::string name = dir_.WriteFile("board.pcb", "ORVIK\nLINE 10 0 0 0 100 0 0 0 0\n");
  EXPECT_FALSE(plugin_.Import(name));
  EXPECT_EQ(KvHost_ProgressOpen(), 0);
  EXPECT_EQ(KvHost_ObjectCount(0), 0);

  // The next import, on a sound board, runs normally.
  KvHost_Reset();
  EXPECT_TRUE(plugin_.Import(name));
  EXPECT_EQ(KvHost_ObjectCount(kTrack), 1);
}

}  // namespace
}  // namespace orvik::test
