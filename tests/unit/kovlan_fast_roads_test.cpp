// The stand-in module answers its hottest exchanges on fast roads while no
// fault is switched on: the four per-layer pad and via reads (also without
// a journal) and every object's unkeyed exchange, typed at compile time.
// With a fault on, everything goes through the table-driven exchange. Both
// roads must give the same status and values for every object, layer, mode
// and query, refusals included.
#define ORVIK_PCBAPI_DECLARE_EXPORTS
#include "orvik/pcbapi.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "RTL/RT_PCB/PcbPad.h"
#include "orvik/kovlan.h"
#include "tests/support/StandInHost.h"

namespace {

constexpr uint8_t kPad = 2, kVia = 3, kTrack = 4, kNet = 8;
constexpr int32_t kUntouched = 0x5A5A5A5A;

// What one read answered: its status and the values it wrote (or left).
struct Answer {
  int32_t status;
  int32_t first;
  int32_t second;
  bool operator==(const Answer&) const = default;
};

std::string Describe(uint32_t handle, int layer, int query) {
  return "handle " + std::to_string(handle) + " layer " + std::to_string(layer) + " query " + std::to_string(query);
}

// Every query on every layer 0..85 of every handle, in a fixed order.
std::vector<Answer> ReadAll(const std::vector<uint32_t>& handles) {
  std::vector<Answer> answers;
  for (const uint32_t handle : handles) {
    for (int layer = 0; layer <= 85; ++layer) {
      const auto l = static_cast<uint8_t>(layer);
      int32_t x = kUntouched, y = kUntouched, radius = kUntouched;
      uint8_t shape = 0xA5, percent = 0xA5;
      answers.push_back({PcbApi_QueryPadOrViaShapeOnLayer(handle, l, &shape), shape, 0});
      answers.push_back({PcbApi_QueryPadOrViaSizeOnLayer(handle, l, &x, &y), x, y});
      answers.push_back({PcbApi_QueryPadCornerRadiusOnLayer(handle, l, &radius), radius, 0});
      answers.push_back({PcbApi_QueryPadCRPercentageOnLayer(handle, l, &percent), percent, 0});
    }
    // A missing value address is refused on both roads.
    int32_t x = kUntouched;
    answers.push_back({PcbApi_QueryPadOrViaShapeOnLayer(handle, 1, nullptr), 0, 0});
    answers.push_back({PcbApi_QueryPadOrViaSizeOnLayer(handle, 1, &x, nullptr), x, 0});
    answers.push_back({PcbApi_QueryPadCornerRadiusOnLayer(handle, 1, nullptr), 0, 0});
    answers.push_back({PcbApi_QueryPadCRPercentageOnLayer(handle, 1, nullptr), 0, 0});
  }
  return answers;
}

class KovlanLayerReadsTest : public orvik::test::FreshHost {
 protected:
  // Pads and vias in each state their stack can be in, and handles that
  // are no pad or via, or no object at all.
  std::vector<uint32_t> Objects() {
    std::vector<uint32_t> handles = {0, KvHost_BoardHandle(), PcbApi_CreateObject(kPad)};

    // A simple stack: the pad record's top, mid and bottom show on 1..32.
    orvik::TPcbPad simple(PcbApi_CreateObject(kPad));
    simple.SyncWithHost(orvik::smRead);
    simple.TopXSize = 800000;
    simple.TopYSize = 700000;
    simple.MidXSize = 400000;
    simple.MidYSize = 300000;
    simple.BotXSize = 200000;
    simple.BotYSize = 100000;
    simple.TopShape = 2;
    simple.MidShape = 3;
    simple.BotShape = 9;
    simple.SyncWithHost(orvik::smWrite);
    handles.push_back(simple.Handle);

    // A full stack: per-layer values of the pad's own.
    const uint32_t full = PcbApi_CreateObject(kPad);
    uint8_t mode = 2;
    PcbApi_QueryPadStackMode(ORVIK_SM_WRITE, full, &mode);
    for (uint8_t layer = 0; layer <= 82; layer += 7) {
      PcbApi_SetPadSizeOnLayer(full, layer, 1000 + layer, 2000 + layer);
      PcbApi_SetPadShapeOnLayer(full, layer, static_cast<uint8_t>(layer % 10));
      PcbApi_SetCRPctOnLayer(full, layer, static_cast<uint8_t>(layer));
    }
    handles.push_back(full);

    handles.push_back(PcbApi_CreateObject(kVia));
    handles.push_back(PcbApi_CreateObject(kTrack));
    handles.push_back(PcbApi_CreateObject(kNet));
    handles.push_back(static_cast<uint32_t>(KvHost_ObjectCount(0) + 2));  // past the last object
    return handles;
  }
};

TEST_F(KovlanLayerReadsTest, FastRoadAnswersAsTheGeneralExchange) {
  const std::vector<uint32_t> handles = Objects();
  const std::vector<Answer> fast = ReadAll(handles);

  // This switch changes no per-layer value, but any switch that is on sends
  // every exchange down the general road.
  ASSERT_EQ(KvHost_SetFault("class-member-always", 1), 0);
  const std::vector<Answer> general = ReadAll(handles);
  ASSERT_EQ(KvHost_SetFault("class-member-always", 0), 0);

  // So does the journal, which records each read.
  KvHost_SetJournal(1);
  const std::vector<Answer> journalled = ReadAll(handles);
  KvHost_SetJournal(0);
  EXPECT_EQ(KvHost_JournalCount(), static_cast<int32_t>(journalled.size()));

  ASSERT_EQ(fast.size(), general.size());
  ASSERT_EQ(fast.size(), journalled.size());
  const std::size_t perHandle = fast.size() / handles.size();
  for (std::size_t i = 0; i < fast.size(); ++i) {
    const std::size_t h = i / perHandle;
    const auto layer = static_cast<int>((i % perHandle) / 4);
    const std::string where = Describe(handles[h], layer, static_cast<int>(i % 4));
    EXPECT_EQ(fast[i], general[i]) << where;
    EXPECT_EQ(fast[i], journalled[i]) << where;
  }

  // The stacks were read, not refused: the simple stack shows on 1..32.
  const std::size_t simple = 3 * perHandle;
  EXPECT_EQ(fast[simple + 1 * 4 + 1], (Answer{0, 800000, 700000}));
  EXPECT_EQ(fast[simple + 17 * 4 + 1], (Answer{0, 400000, 300000}));
  EXPECT_EQ(fast[simple + 32 * 4 + 1], (Answer{0, 200000, 100000}));
  EXPECT_EQ(fast[simple + 32 * 4 + 0], (Answer{0, 9, 0}));
  const std::size_t full = 4 * perHandle;
  EXPECT_EQ(fast[full + 14 * 4 + 1], (Answer{0, 1014, 2014}));
}

// The leaf road is taken only while no switch is on and no journal is
// kept, and the host learns of each change at once: a switch turned on or
// off, the journal, a reset.
TEST_F(KovlanLayerReadsTest, SwitchesAndTheJournalTakeEffectOnTheNextRead) {
  const uint32_t pad = PcbApi_CreateObject(kPad);
  auto read = [&] {
    int32_t x = kUntouched, y = kUntouched;
    return Answer{PcbApi_QueryPadOrViaSizeOnLayer(pad, 40, &x, &y), x, y};
  };
  const Answer stored = read();
  ASSERT_EQ(stored.status, 0);

  ASSERT_EQ(KvHost_SetFault("query-status", 7), 0);
  EXPECT_EQ(read(), (Answer{7, kUntouched, kUntouched}));
  ASSERT_EQ(KvHost_SetFault("query-status", 0), 0);
  EXPECT_EQ(read(), stored);

  ASSERT_EQ(KvHost_SetFault("query-status", 9), 0);
  KvHost_Reset();  // switches everything off
  const uint32_t fresh = PcbApi_CreateObject(kPad);
  int32_t x = kUntouched, y = kUntouched;
  EXPECT_EQ(PcbApi_QueryPadOrViaSizeOnLayer(fresh, 40, &x, &y), 0);

  KvHost_SetJournal(1);
  read();
  EXPECT_EQ(KvHost_JournalCount(), 1);
  KvHost_SetJournal(0);
  read();
  EXPECT_EQ(KvHost_JournalCount(), 1);
}

// Writes and reads of both bit-field exchanges on objects of every kind,
// in every mode (valid or not), in a fixed order; what each call answered
// and what a read delivered.
std::vector<Answer> BitFieldRound() {
  std::vector<uint32_t> handles = {0, KvHost_BoardHandle()};
  for (uint8_t kind = 1; kind <= 26; ++kind) handles.push_back(PcbApi_CreateObject(kind));
  handles.push_back(static_cast<uint32_t>(KvHost_ObjectCount(0) + 2));
  std::vector<Answer> answers;
  int32_t seed = 1;
  for (const uint32_t handle : handles) {
    for (uint8_t mode = 0; mode <= 3; ++mode) {
      uint8_t bits2 = static_cast<uint8_t>(seed * 37);
      uint16_t bits3 = static_cast<uint16_t>(seed * 4099);
      ++seed;
      answers.push_back({PcbApi_GetObjectBitField2(mode, handle, &bits2), bits2, 0});
      answers.push_back({PcbApi_GetObjectBitField3(mode, handle, &bits3), bits3, 0});
      uint8_t read2 = 0xEE;
      uint16_t read3 = 0xEEEE;
      answers.push_back({PcbApi_GetObjectBitField2(ORVIK_SM_READ, handle, &read2), read2, 0});
      answers.push_back({PcbApi_GetObjectBitField3(ORVIK_SM_READ, handle, &read3), read3, 0});
    }
    answers.push_back({PcbApi_GetObjectBitField2(ORVIK_SM_READ, handle, nullptr), 0, 0});
    answers.push_back({PcbApi_GetObjectBitField3(ORVIK_SM_WRITE, handle, nullptr), 0, 0});
  }
  return answers;
}

using KovlanBitFields = orvik::test::FreshHost;

TEST_F(KovlanBitFields, FastRoadAnswersAsTheGeneralExchange) {
  const std::vector<Answer> fast = BitFieldRound();
  KvHost_Reset();
  ASSERT_EQ(KvHost_SetFault("class-member-always", 1), 0);
  const std::vector<Answer> general = BitFieldRound();
  ASSERT_EQ(fast.size(), general.size());
  for (std::size_t i = 0; i < fast.size(); ++i) EXPECT_EQ(fast[i], general[i]) << "call " << i;
  // Written values were kept: a track (kind 4, handle 2 + 4) reads back
  // what mode 0 wrote.
  const std::size_t perHandle = 4 * 4 + 2;
  const std::size_t track = (2 + 3) * perHandle;
  EXPECT_EQ(fast[track + 0].status, 0);
  EXPECT_EQ(fast[track + 2].first, fast[track + 0].first);
  EXPECT_EQ(fast[track + 3].first, fast[track + 1].first);
}

}  // namespace
