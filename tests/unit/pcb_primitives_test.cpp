#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "RTL/RT_PCB/PcbApi.h"
#include "RTL/RT_PCB/PcbArc.h"
#include "RTL/RT_PCB/PcbFill.h"
#include "RTL/RT_PCB/PcbPad.h"
#include "RTL/RT_PCB/PcbRegion.h"
#include "RTL/RT_PCB/PcbText.h"
#include "RTL/RT_PCB/PcbTrack.h"
#include "RTL/RT_PCB/PcbVia.h"
#include "orvik/kovlan.h"
#include "pcb_sync_slots.h"
#include "tests/support/StandInHost.h"

namespace orvik {
namespace {

using test::JournalLines;
using testing::ExpectRead;
using testing::ExpectWritten;
using testing::Field;
using testing::SlotGroup;
using testing::SyncSlot;
using testing::Text;

// ---------------------------------------------------------------------------
// Client-only behaviour

TEST(PcbPrimitives, ConstructorsSetKindsAndDefaults) {
  EXPECT_EQ(TPcbArc(1).ObjectId, 1);
  EXPECT_EQ(TPcbPad(1).ObjectId, 2);
  EXPECT_EQ(TPcbVia(1).ObjectId, 3);
  EXPECT_EQ(TPcbTrack(1).ObjectId, 4);
  EXPECT_EQ(TPcbFill(1).ObjectId, 6);
  EXPECT_EQ(TPCBRegion(1).ObjectId, 11);
  TPcbText t(9);
  EXPECT_EQ(t.ObjectId, 5);
  EXPECT_EQ(t.GetHandle(), 9u);
  EXPECT_EQ(t.FontName, "Arial");
  EXPECT_EQ(t.TrueTypeValue, 200000);
  EXPECT_EQ(t.TrueTypeKind, 0);
  EXPECT_EQ(t.TrueTypeFlag1 | t.TrueTypeFlag2 | t.TrueTypeFlag3 | t.BarCodeInfo[0], 0);
  EXPECT_EQ(t.GetText(), "");
}

TEST(PcbPrimitives, MovesShiftTheSecondPointOfTracksAndFillsOnly) {
  TPcbTrack track(1);
  track.X2 = 100;
  track.Y2 = 200;
  track.MoveBy(5, 7);
  EXPECT_EQ(track.X, 5);
  EXPECT_EQ(track.Y, 7);
  EXPECT_EQ(track.GetX2(), 105);
  EXPECT_EQ(track.GetY2(), 207);

  TPcbFill fill(1);
  fill.X2 = 10;
  fill.Y2 = 10;
  fill.MoveBy(-3, 4);
  EXPECT_EQ(fill.X, -3);
  EXPECT_EQ(fill.Y, 4);
  EXPECT_EQ(fill.X2, 7);
  EXPECT_EQ(fill.Y2, 14);

  TPcbText text(1);
  text.MoveBy(-3, 4);
  TPCBRegion region(1);
  region.MoveBy(-3, 4);
  EXPECT_EQ(text.X, -3);
  EXPECT_EQ(region.Y, 4);
}

TEST(PcbPrimitives, WidthAccessorsPerKind) {
  TPcbArc arc(1);
  arc.SetLineWidth(12);
  EXPECT_EQ(arc.GetWidth(), 0);
  EXPECT_EQ(arc.GetLineWidth(), 12);

  TPcbText text(1);
  text.SetWidth(40);  // not a text operation
  EXPECT_EQ(text.Width, 0);
  text.SetLineWidth(30);
  EXPECT_EQ(text.GetWidth(), 30);
  EXPECT_EQ(text.GetLineWidth(), 30);
  text.SetSize(600);
  text.SetLegacyLayer(33);
  EXPECT_EQ(text.GetSizeOnLayer(33), 600);
  EXPECT_EQ(text.GetWidthOnLayer(33), 30);
  EXPECT_EQ(text.GetSizeOnLayer(34), 0);

  TPcbTrack track(1);
  track.SetWidth(8);
  EXPECT_EQ(track.GetWidth(), 8);
}

TEST(PcbPrimitives, StringSettersKeepTheirLimits) {
  TPcbPad pad(1);
  pad.SetName(std::string(25, 'n'));
  EXPECT_EQ(pad.GetName(), std::string(20, 'n'));
  TPcbText text(1);
  text.SetText(std::string(300, 't'));
  EXPECT_EQ(text.GetText(), std::string(254, 't'));
}

struct AxisCase {
  std::int32_t xSize, ySize;
  double rotation;
  std::int32_t x1, y1, x2, y2;
};

TEST(PcbPrimitives, PadAxisEndPoints) {
  const AxisCase cases[] = {
      {60, 20, 0.0, -20, 0, 20, 0},  {20, 60, 0.0, 0, 20, 0, -20}, {40, 40, 30.0, 0, 0, 0, 0},
      {60, 20, 90.0, 0, -20, 0, 20}, {61, 20, 0.0, -20, 0, 20, 0}, {20, 60, 90.0, -20, 0, 20, 0},
  };
  for (const auto& c : cases) {
    TPcbPad pad(1);
    pad.XSizeOnLayer[1] = c.xSize;
    pad.YSizeOnLayer[1] = c.ySize;
    pad.Rotation = c.rotation;
    EXPECT_EQ(pad.GetXOnLayer(1), c.x1) << c.xSize << "x" << c.ySize << " @" << c.rotation;
    EXPECT_EQ(pad.GetYOnLayer(1), c.y1) << c.xSize << "x" << c.ySize << " @" << c.rotation;
    EXPECT_EQ(pad.GetX2OnLayer(1), c.x2) << c.xSize << "x" << c.ySize << " @" << c.rotation;
    EXPECT_EQ(pad.GetY2OnLayer(1), c.y2) << c.xSize << "x" << c.ySize << " @" << c.rotation;
  }
}

TEST(PcbPrimitives, PadCornersOnALayer) {
  TPcbPad pad(1);
  pad.X = 1000;
  pad.Y = 2000;
  pad.XSizeOnLayer[32] = 100;
  pad.YSizeOnLayer[32] = 50;
  const std::int32_t expected[8] = {950, 1975, 1050, 1975, 950, 2025, 1050, 2025};
  const std::int32_t got[8] = {pad.RotatedCornerX1OnLayer(32, 0), pad.RotatedCornerY1OnLayer(32, 0),
                               pad.RotatedCornerX2OnLayer(32, 0), pad.RotatedCornerY2OnLayer(32, 0),
                               pad.RotatedCornerX3OnLayer(32, 0), pad.RotatedCornerY3OnLayer(32, 0),
                               pad.RotatedCornerX4OnLayer(32, 0), pad.RotatedCornerY4OnLayer(32, 0)};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(got[i], expected[i]) << i;
  EXPECT_EQ(pad.RotatedCornerX1OnLayer(32, 5), 945);
  EXPECT_EQ(pad.RotatedCornerY4OnLayer(32, 5), 2030);
  // Y size + 2E = 0: the flat rule, no division by zero.
  pad.XSizeOnLayer[5] = 40;
  pad.YSizeOnLayer[5] = -10;
  pad.Rotation = 30.0;
  EXPECT_EQ(pad.RotatedCornerX1OnLayer(5, 5), 975);
  EXPECT_EQ(pad.RotatedCornerX2OnLayer(5, 5), 1025);
  EXPECT_EQ(pad.RotatedCornerY3OnLayer(5, 5), 2000);
}

TEST(PcbPrimitives, PadPerLayerOperationsOutsideTheStackGiveZero) {
  TPcbPad pad(1);
  pad.XSizeOnLayer.fill(70);
  pad.YSizeOnLayer.fill(30);
  pad.ShapeOnLayer.fill(2);
  pad.CornerRadiusOnLayer.fill(4);
  EXPECT_EQ(pad.GetWidthOnLayer(82), 30);
  EXPECT_EQ(pad.GetCornerRadiusOnLayer(82), 4);
  for (int l = 83; l <= 255; ++l) {
    const auto layer = static_cast<TLegacyLayer>(l);
    EXPECT_EQ(pad.GetXSizeOnLayer(layer), 0);
    EXPECT_EQ(pad.GetYSizeOnLayer(layer), 0);
    EXPECT_EQ(pad.GetShapeOnLayer(layer), 0);
    EXPECT_EQ(pad.GetWidthOnLayer(layer), 0);
    EXPECT_EQ(pad.GetCornerRadiusOnLayer(layer), 0);
    EXPECT_EQ(pad.RotatedCornerX1OnLayer(layer, 0), 0);
    EXPECT_EQ(pad.GetX2OnLayer(layer), 0);
  }
}

// ---------------------------------------------------------------------------
// Exchanges with the stand-in host

class PcbPrimitivesHost : public test::FreshHost {
 protected:
  template <class T>
  static std::function<void(TSyncMode)> Sync(T& object) {
    return [&object](TSyncMode mode) { object.SyncWithHost(mode); };
  }

  // Every attribute a kind exchanges: the two flag words every kind begins
  // with, then the kind's own queries. Checked in both directions.
  template <class T>
  static void ExpectExchanged(T& object, std::vector<SlotGroup> groups) {
    groups.insert(groups.begin(), {{"PcbApi_GetObjectBitField2", -1, {Field(0, object.BitField2)}},
                                   {"PcbApi_GetObjectBitField3", -1, {Field(0, object.BitField3)}}});
    ExpectWritten(Sync(object), object.Handle, groups);
    ExpectRead(Sync(object), object.Handle, groups);
  }

  // Flags, Index, LayerId, Net, AuxByte, Component: the common head of most queries.
  static std::vector<SyncSlot> CommonHead(TPCBObject& o, int first = 0) {
    return {Field(first, o.Flags),   Field(first + 1, o.Index),   Field(first + 2, o.LayerId),
            Field(first + 3, o.Net), Field(first + 4, o.AuxByte), Field(first + 5, o.Component)};
  }

  static std::vector<SyncSlot> Join(std::vector<SyncSlot> a, const std::vector<SyncSlot>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  }
};

TEST_F(PcbPrimitivesHost, TrackExchange) {
  TPcbTrack t(pcbapi::CreateObject(4));
  ASSERT_NE(t.Handle, 0u);
  const auto slots =
      Join(CommonHead(t), {Field(6, t.X), Field(7, t.Y), Field(8, t.X2), Field(9, t.Y2), Field(10, t.Width),
                           Field(11, t.Param1), Field(12, t.Param2), Field(13, t.Param3)});
  ExpectExchanged(t, {{"PcbApi_QueryTrack", -1, slots}});
}

TEST_F(PcbPrimitivesHost, ArcExchange) {
  TPcbArc a(pcbapi::CreateObject(1));
  ASSERT_NE(a.Handle, 0u);
  const auto slots = Join(CommonHead(a), {Field(6, a.X), Field(7, a.Y), Field(8, a.Radius), Field(9, a.StartAngle),
                                          Field(10, a.EndAngle), Field(11, a.Width), Field(12, a.Param1)});
  ExpectExchanged(a, {{"PcbApi_QueryArc", -1, slots}});
}

TEST_F(PcbPrimitivesHost, ViaExchange) {
  TPcbVia v(pcbapi::CreateObject(3));
  ASSERT_NE(v.Handle, 0u);
  // Position 2 (the legacy layer byte) is covered by the round-trip test.
  const std::vector<SyncSlot> slots = {
      Field(0, v.Flags),        Field(1, v.Index),       Field(3, v.Net),         Field(4, v.AuxByte),
      Field(5, v.Component),    Field(6, v.X),           Field(7, v.Y),           Field(8, v.Size),
      Field(9, v.HoleSize),     Field(10, v.ViaOption1), Field(11, v.ViaOption2), Field(12, v.StackOption1),
      Field(13, v.StackOption2)};
  ExpectExchanged(v, {{"PcbApi_QueryVia", -1, slots}});
}

TEST_F(PcbPrimitivesHost, ViaLayerTravelsAsALegacyByte) {
  TPcbVia v(pcbapi::CreateObject(3));
  ASSERT_NE(v.Handle, 0u);
  v.LayerId = SignalLayer(40);
  EXPECT_EQ(v.SyncWithHost(smWrite), 0);
  std::uint8_t sent = 0;
  ASSERT_EQ(KvHost_ReadAttribute(v.Handle, "PcbApi_QueryVia", 2, &sent, 1), 1);
  EXPECT_EQ(sent, 31);
  EXPECT_EQ(v.LayerId, 31u);

  const std::uint8_t multi = 74;
  ASSERT_EQ(KvHost_WriteAttribute(v.Handle, "PcbApi_QueryVia", 2, &multi, 1), 1);
  EXPECT_EQ(v.SyncWithHost(smRead), 0);
  EXPECT_EQ(v.LayerId, layer::MultiLayer);
}

TEST_F(PcbPrimitivesHost, ViaAsksTheHostForItsStackOnALayer) {
  TPcbVia v(pcbapi::CreateObject(3));
  ASSERT_NE(v.Handle, 0u);
  const std::int32_t size = 520000;
  const std::uint8_t shape = 3;
  ASSERT_EQ(KvHost_WriteLayerAttribute(v.Handle, "PcbApi_QueryPadOrViaSizeOnLayer", 1, 0, &size, 4), 4);
  ASSERT_EQ(KvHost_WriteLayerAttribute(v.Handle, "PcbApi_QueryPadOrViaShapeOnLayer", 1, 0, &shape, 1), 1);
  EXPECT_EQ(v.GetSizeOnLayer(1), size);
  EXPECT_EQ(v.GetShapeOnLayer(1), shape);
  TPcbVia unknown(0xFFFFFF00u);
  EXPECT_EQ(unknown.GetSizeOnLayer(1), 0);
  EXPECT_EQ(unknown.GetShapeOnLayer(1), 0);
}

TEST_F(PcbPrimitivesHost, PadExchange) {
  TPcbPad p(pcbapi::CreateObject(2));
  ASSERT_NE(p.Handle, 0u);
  const auto slots = Join(CommonHead(p), {Field(6, p.X),
                                          Field(7, p.Y),
                                          Field(8, p.TopXSize),
                                          Field(9, p.TopYSize),
                                          Field(10, p.MidXSize),
                                          Field(11, p.MidYSize),
                                          Field(12, p.BotXSize),
                                          Field(13, p.BotYSize),
                                          Field(14, p.HoleSize),
                                          Field(15, p.TopShape),
                                          Field(16, p.MidShape),
                                          Field(17, p.BotShape),
                                          Text(18, p.Name),
                                          Field(19, p.ByteA),
                                          Field(20, p.ByteB),
                                          Field(21, p.Rotation),
                                          Text(22, p.S1),
                                          Text(23, p.S2),
                                          Field(24, p.V1),
                                          Text(25, p.S3),
                                          Field(26, p.ByteC),
                                          Field(27, p.ByteD),
                                          Field(28, p.V2),
                                          Field(29, p.F1),
                                          Field(30, p.V3),
                                          Field(31, p.V4),
                                          Field(32, p.V5),
                                          Field(33, p.StackOption1),
                                          Field(34, p.StackOption2)});
  ExpectExchanged(p, {{"PcbApi_QueryPad", -1, slots}, {"PcbApi_QueryPadStackMode", -1, {Field(0, p.PadStackMode)}}});
}

TEST_F(PcbPrimitivesHost, PadReadsItsWholeStack) {
  TPcbPad p(pcbapi::CreateObject(2));
  ASSERT_NE(p.Handle, 0u);
  for (int l = 0; l <= kMaxLegacyLayer; ++l) {
    const std::uint8_t shape = static_cast<std::uint8_t>(l % 7 + 1), pct = static_cast<std::uint8_t>(l + 10);
    const std::int32_t xs = 1000 + l, ys = 2000 + l, radius = 3000 + l;
    ASSERT_EQ(KvHost_WriteLayerAttribute(p.Handle, "PcbApi_QueryPadOrViaShapeOnLayer", l, 0, &shape, 1), 1);
    ASSERT_EQ(KvHost_WriteLayerAttribute(p.Handle, "PcbApi_QueryPadOrViaSizeOnLayer", l, 0, &xs, 4), 4);
    ASSERT_EQ(KvHost_WriteLayerAttribute(p.Handle, "PcbApi_QueryPadOrViaSizeOnLayer", l, 1, &ys, 4), 4);
    ASSERT_EQ(KvHost_WriteLayerAttribute(p.Handle, "PcbApi_QueryPadCornerRadiusOnLayer", l, 0, &radius, 4), 4);
    ASSERT_EQ(KvHost_WriteLayerAttribute(p.Handle, "PcbApi_QueryPadCRPercentageOnLayer", l, 0, &pct, 1), 1);
  }
  EXPECT_EQ(p.SyncWithHost(smRead), 0);
  for (int l = 0; l <= kMaxLegacyLayer; ++l) {
    const auto layer = static_cast<TLegacyLayer>(l);
    EXPECT_EQ(p.GetShapeOnLayer(layer), l % 7 + 1) << l;
    EXPECT_EQ(p.GetXSizeOnLayer(layer), 1000 + l) << l;
    EXPECT_EQ(p.GetYSizeOnLayer(layer), 2000 + l) << l;
    EXPECT_EQ(p.GetCornerRadiusOnLayer(layer), 3000 + l) << l;
    EXPECT_EQ(p.CRPctOnLayer[layer], l + 10) << l;
  }
  EXPECT_EQ(p.TopCRPct, 11);
  EXPECT_EQ(p.MidCRPct, 41);  // layer 31 wins over layers 2..30
  EXPECT_EQ(p.BotCRPct, 42);
}

TEST_F(PcbPrimitivesHost, PadWritesTheFullStackInStackMode2) {
  TPcbPad p(pcbapi::CreateObject(2));
  ASSERT_NE(p.Handle, 0u);
  const std::int32_t seededRadius = 77;
  ASSERT_EQ(KvHost_WriteLayerAttribute(p.Handle, "PcbApi_QueryPadCornerRadiusOnLayer", 5, 0, &seededRadius, 4), 4);
  p.PadStackMode = 2;
  for (int l = 0; l <= kMaxLegacyLayer; ++l) {
    p.ShapeOnLayer[l] = static_cast<std::uint8_t>(l % 5 + 1);
    p.XSizeOnLayer[l] = 500 + l;
    p.YSizeOnLayer[l] = 600 + l;
    p.CRPctOnLayer[l] = static_cast<std::uint8_t>(l + 1);
    p.CornerRadiusOnLayer[l] = 9999;
  }
  EXPECT_EQ(p.SyncWithHost(smWrite), 0);
  for (int l = 0; l <= kMaxLegacyLayer; ++l) {
    std::uint8_t shape = 0, pct = 0;
    std::int32_t xs = 0, ys = 0;
    ASSERT_EQ(KvHost_ReadLayerAttribute(p.Handle, "PcbApi_QueryPadOrViaShapeOnLayer", l, 0, &shape, 1), 1);
    ASSERT_EQ(KvHost_ReadLayerAttribute(p.Handle, "PcbApi_QueryPadOrViaSizeOnLayer", l, 0, &xs, 4), 4);
    ASSERT_EQ(KvHost_ReadLayerAttribute(p.Handle, "PcbApi_QueryPadOrViaSizeOnLayer", l, 1, &ys, 4), 4);
    ASSERT_EQ(KvHost_ReadLayerAttribute(p.Handle, "PcbApi_QueryPadCRPercentageOnLayer", l, 0, &pct, 1), 1);
    EXPECT_EQ(shape, l % 5 + 1) << l;
    EXPECT_EQ(xs, 500 + l) << l;
    EXPECT_EQ(ys, 600 + l) << l;
    EXPECT_EQ(pct, l + 1) << l;
  }
  std::int32_t radius = 0;
  ASSERT_EQ(KvHost_ReadLayerAttribute(p.Handle, "PcbApi_QueryPadCornerRadiusOnLayer", 5, 0, &radius, 4), 4);
  EXPECT_EQ(radius, seededRadius) << "corner radii are not written";
}

TEST_F(PcbPrimitivesHost, PadInSimpleStackSendsCornerPercentagesPerRoundedLayer) {
  TPcbPad p(pcbapi::CreateObject(2));
  ASSERT_NE(p.Handle, 0u);
  p.PadStackMode = 0;
  p.TopCRPct = 10;
  p.BotCRPct = 30;
  p.MidCRPct = 20;
  p.ShapeOnLayer[1] = 9;
  p.ShapeOnLayer[7] = 9;
  p.ShapeOnLayer[32] = 9;
  p.ShapeOnLayer[40] = 2;
  KvHost_SetJournal(1);
  EXPECT_EQ(p.SyncWithHost(smWrite), 0);
  const std::string h = std::to_string(p.Handle);
  const std::vector<std::string> once = {"PcbApi_SetCRPctOnLayer " + h + " 1 10",
                                         "PcbApi_SetCRPctOnLayer " + h + " 32 30",
                                         "PcbApi_SetCRPctOnLayer " + h + " 2 20"};
  std::vector<std::string> expected;
  for (int i = 0; i < 3; ++i) expected.insert(expected.end(), once.begin(), once.end());
  EXPECT_EQ(JournalLines("PcbApi_SetCRPctOnLayer"), expected);
  EXPECT_TRUE(JournalLines("PcbApi_SetPadShapeOnLayer").empty());
  EXPECT_TRUE(JournalLines("PcbApi_SetPadSizeOnLayer").empty());
}

TEST_F(PcbPrimitivesHost, PadStopsBeforeTheStackWhenThePadQueryFails) {
  TPcbPad p(0xFFFFFF00u);
  KvHost_SetJournal(1);
  EXPECT_NE(p.SyncWithHost(smRead), 0);
  EXPECT_TRUE(JournalLines("PcbApi_QueryPadStackMode").empty());
  EXPECT_TRUE(JournalLines("PcbApi_QueryPadOrViaShapeOnLayer").empty());
}

TEST_F(PcbPrimitivesHost, TextExchange) {
  TPcbText t(pcbapi::CreateObject(5));
  ASSERT_NE(t.Handle, 0u);
  const auto text = Join(CommonHead(t), {Field(6, t.X), Field(7, t.Y), Field(8, t.Height), Field(9, t.TextOption),
                                         Field(10, t.Rotation), Field(11, t.Mirrored), Text(12, t.Text),
                                         Field(13, t.Width), Field(14, t.Param2), Field(15, t.Param3)});
  const std::vector<SyncSlot> trueType = {Field(0, t.TrueTypeKind),  Text(1, t.FontName),
                                          Field(2, t.TrueTypeFlag1), Field(3, t.TrueTypeFlag2),
                                          Field(4, t.TrueTypeFlag3), Field(5, t.TrueTypeValue)};
  const std::vector<SyncSlot> barCode = {Field(0, t.BarCodeInfo[0]), Field(1, t.BarCodeInfo[1]),
                                         Field(2, t.BarCodeInfo[2]), Field(3, t.BarCodeInfo[3])};
  ExpectExchanged(t, {{"PcbApi_QueryText", -1, text},
                      {"PcbApi_QueryTrueTypeTextInfo", -1, trueType},
                      {"PcbApi_QueryBarCodeTextInfo", -1, barCode}});
}

TEST_F(PcbPrimitivesHost, TextTakesTheHostsDisplayStringAndResult) {
  TPcbText t(pcbapi::CreateObject(5));
  ASSERT_NE(t.Handle, 0u);
  t.SetText("R12");
  t.DisplayText = "stale";
  EXPECT_EQ(t.SyncWithHost(smWrite), 0);
  ShortString<254> shown;
  pcbapi::GetDesignatorDisplayString(shown, t.Handle);
  EXPECT_EQ(t.DisplayText, shown.View());
  EXPECT_NE(t.DisplayText, "stale");

  // On a handle the host does not know, every exchange fails with status 1
  // and the result reports it.
  TPcbText unknown(0xFFFFFF00u);
  EXPECT_EQ(unknown.SyncWithHost(smRead), 1);
  EXPECT_EQ(unknown.FontName, "Arial");
}

// The result is the TrueType exchange's status, except that a bar-code
// answer of 1 replaces it. The host answers every query with one status
// (the "query-status" fault), so an absent entry point, which answers 0,
// gives the two exchanges different answers.
TEST_F(PcbPrimitivesHost, TextResultIsTheTrueTypeStatusUnlessTheBarCodeAnswersOne) {
  using pcbapi::Entry;
  struct Case {
    const char* name;
    std::int32_t hostStatus;  // what the host answers every query
    std::optional<Entry> absent;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"healthy host", 0, std::nullopt, 0},
      {"bar-code 1 over TrueType 0", 1, Entry::QueryTrueTypeTextInfo, 1},
      {"bar-code 2 leaves TrueType 0", 2, Entry::QueryTrueTypeTextInfo, 0},
      {"TrueType 1, bar-code 0", 1, Entry::QueryBarCodeTextInfo, 1},
      {"TrueType 2, bar-code 0", 2, Entry::QueryBarCodeTextInfo, 2},
      {"both 2", 2, std::nullopt, 2},
  };
  // Every slot filled again however the test ends.
  struct Rebind {
    ~Rebind() { pcbapi::LoadPcbApi(); }
  } rebind;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    KvHost_Reset();
    pcbapi::LoadPcbApi();
    TPcbText t(pcbapi::CreateObject(5));
    ASSERT_NE(t.Handle, 0u);
    ASSERT_EQ(KvHost_SetFault("query-status", c.hostStatus), 0);
    if (c.absent) pcbapi::testing::ClearSlot(*c.absent);
    EXPECT_EQ(t.SyncWithHost(smRead), c.expected);
  }
}

TEST_F(PcbPrimitivesHost, FillExchange) {
  TPcbFill f(pcbapi::CreateObject(6));
  ASSERT_NE(f.Handle, 0u);
  const auto slots = Join(CommonHead(f), {Field(6, f.X), Field(7, f.Y), Field(8, f.X2), Field(9, f.Y2),
                                          Field(10, f.Param1), Field(11, f.Rotation)});
  ExpectExchanged(f, {{"PcbApi_QueryFill", -1, slots}});
}

TEST_F(PcbPrimitivesHost, RegionExchange) {
  // Regions are never created by the import; the stand-in makes one on request.
  TPCBRegion r(pcbapi::CreateObject(11));
  ASSERT_NE(r.Handle, 0u);
  const auto slots =
      Join({Field(0, r.RegionFlag)},
           Join(CommonHead(r, 1), {Field(7, r.RegionParam6), Field(8, r.RegionParam5), Field(9, r.RegionParam1),
                                   Field(10, r.RegionParam2), Field(11, r.RegionParam3), Field(12, r.RegionParam4)}));
  ExpectExchanged(r, {{"PcbApi_QueryRegion", -1, slots}});
}

}  // namespace
}  // namespace orvik
