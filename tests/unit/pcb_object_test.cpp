#include "RTL/RT_PCB/PcbObject.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "RTL/RT_PCB/PcbApi.h"
#include "RTL/RT_PCB/PcbFill.h"
#include "RTL/RT_PCB/PcbTrack.h"
#include "orvik/kovlan.h"
#include "tests/support/StandInHost.h"

namespace orvik {
namespace {

TEST(PcbObject, RoundingIsHalfToEvenAndSaturating) {
  const std::pair<double, std::int32_t> cases[] = {
      {0.5, 0},
      {1.5, 2},
      {2.5, 2},
      {-0.5, 0},
      {-1.5, -2},
      {2.4999, 2},
      {-7.6, -8},
      {2147483646.6, 2147483647},
      {1e300, INT32_MAX},
      {-1e300, INT32_MIN},
      {std::numeric_limits<double>::infinity(), INT32_MAX},
      {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(RoundToInt32(value), expected) << value;
  EXPECT_EQ(MilsToCoord(20), 200000);
  EXPECT_EQ(MilsToCoord(-1.25), -12500);
  EXPECT_EQ(MilsToCoord(std::nan("")), 0);
  EXPECT_EQ(MilsToCoord(1e9), INT32_MAX);
}

TEST(PcbObject, WholeMilLengthsWrapModulo2To32) {
  EXPECT_EQ(ScaleMils(5), 50000);
  EXPECT_EQ(ScaleMils(-5), -50000);
  EXPECT_EQ(ScaleMils(300000), -1294967296);  // 3e9 - 2^32
  EXPECT_EQ(ScaleMils(INT32_MIN), 0);
  EXPECT_EQ(IntMin(-3, 2), -3);
  EXPECT_EQ(IntMax(-3, 2), 2);
}

TEST(PcbObject, FreshObjectReadsNeutral) {
  TPCBObject o(77);
  EXPECT_EQ(o.GetHandle(), 77u);
  EXPECT_TRUE(o.GetNotFlag0100());
  EXPECT_EQ(o.GetLayer(), 0);
  const std::int32_t ints[] = {o.GetObjectId(),  o.GetX(),        o.GetY(),        o.GetX2(),       o.GetY2(),
                               o.GetFlags(),     o.GetIndex(),    o.GetAuxByte(),  o.GetNet(),      o.GetComponent(),
                               o.GetParam1(),    o.GetParam2(),   o.GetParam3(),   o.GetTopXSize(), o.GetTopYSize(),
                               o.GetMidXSize(),  o.GetMidYSize(), o.GetBotXSize(), o.GetBotYSize(), o.GetHoleSize(),
                               o.GetTopShape(),  o.GetMidShape(), o.GetBotShape(), o.GetWidth(),    o.GetShape(),
                               o.GetSize(),      o.GetXSize(),    o.GetYSize(),    o.GetRadius(),   o.GetLineWidth(),
                               o.GetTextOption()};
  for (std::size_t i = 0; i < std::size(ints); ++i) EXPECT_EQ(ints[i], 0) << "getter #" << i;
  const bool flags[] = {o.GetFlag0010(), o.GetBit2_10(),      o.GetBit2_01(),      o.GetBit2_02(),
                        o.GetBit2_08(),  o.GetBit2_20(),      o.GetBit2_40(),      o.GetFlag0008(),
                        o.GetBit3Any(),  o.GetBit3_02(),      o.GetBit3_04(),      o.GetFlag0800(),
                        o.GetFlag2000(), o.GetStackOption1(), o.GetStackOption2(), o.GetFlag1000(),
                        o.GetFlag4000(), o.GetFlag8000(),     o.GetViaOption1(),   o.GetViaOption2(),
                        o.GetMirrored(), o.GetFromToFlag1(),  o.GetFromToFlag2()};
  for (std::size_t i = 0; i < std::size(flags); ++i) EXPECT_FALSE(flags[i]) << "flag #" << i;
  EXPECT_EQ(o.GetRotation(), 0.0);
  EXPECT_EQ(o.GetStartAngle(), 0.0);
  EXPECT_EQ(o.GetEndAngle(), 0.0);
  EXPECT_EQ(o.GetName(), "");
  EXPECT_EQ(o.GetText(), "");
}

TEST(PcbObject, LayerAccessorsSpeakLegacyNumbers) {
  TPCBObject o(1);
  o.SetLegacyLayer(74);
  EXPECT_EQ(o.GetLayer(), 74);
  o.SetLegacyLayer(90);
  EXPECT_EQ(o.GetLayer(), 0);
  o.LayerId = SignalLayer(40);
  EXPECT_EQ(o.LegacyLayer(), 31);
  o.LayerId = 0x01010000;
  EXPECT_THROW(o.GetLayer(), EAssertionFailed);
}

TEST(PcbObject, MoveByShiftsReferencePointAndWraps) {
  TPCBObject o(1);
  o.X = 3;
  o.Y = 4;
  o.MoveBy(10, -20);
  EXPECT_EQ(o.X, 13);
  EXPECT_EQ(o.Y, -16);
  o.X = INT32_MAX;
  o.MoveBy(1, 0);
  EXPECT_EQ(o.X, INT32_MIN);
}

TEST(PcbObject, BaseCornersCollapseToTruncatedCentre) {
  TPCBObject o(1);
  o.X = 7;
  o.Y = -5;
  // GetX2/GetY2 are X/Y, so H = 0: the rotation is ignored and every X slot
  // gives 2 * (7 div 2), every Y slot 2 * (-5 div 2).
  for (std::int32_t x : {o.RotatedCornerX1(0), o.RotatedCornerX2(0), o.RotatedCornerX3(0), o.RotatedCornerX4(0)}) {
    EXPECT_EQ(x, 6);
  }
  for (std::int32_t y : {o.RotatedCornerY1(0), o.RotatedCornerY2(0), o.RotatedCornerY3(0), o.RotatedCornerY4(0)}) {
    EXPECT_EQ(y, -4);
  }
  // An expansion grows both extents (W = H = 6), so the rotated rule applies.
  EXPECT_EQ(o.RotatedCornerX1(3), 3);
  EXPECT_EQ(o.RotatedCornerY1(3), -7);
  EXPECT_EQ(o.RotatedCornerX4(3), 9);
  EXPECT_EQ(o.RotatedCornerY4(3), -1);
}

struct FillCornerCase {
  double rotation;
  std::int32_t expansion;
  std::int32_t expected[8];  // X1, Y1, X2, Y2, X3, Y3, X4, Y4
};

TEST(PcbObject, FillCornersFollowRotationAndExpansion) {
  const FillCornerCase cases[] = {
      {0.0, 0, {0, 0, 100, 0, 0, 50, 100, 50}},
      {0.0, 10, {-10, -10, 110, -10, -10, 60, 110, 60}},
      {90.0, 0, {75, -25, 75, 75, 25, -25, 25, 75}},
      {180.0, 0, {100, 50, 0, 50, 100, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    TPcbFill f(1);
    f.X2 = 100;
    f.Y2 = 50;
    f.Rotation = c.rotation;
    const std::int32_t e = c.expansion;
    const std::int32_t got[8] = {f.RotatedCornerX1(e), f.RotatedCornerY1(e), f.RotatedCornerX2(e),
                                 f.RotatedCornerY2(e), f.RotatedCornerX3(e), f.RotatedCornerY3(e),
                                 f.RotatedCornerX4(e), f.RotatedCornerY4(e)};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(got[i], c.expected[i]) << "rotation " << c.rotation << " value " << i;
  }
}

TEST(PcbObject, FlatFillIgnoresRotation) {
  TPcbFill f(1);
  f.X = 0;
  f.Y = 8;
  f.X2 = 100;
  f.Y2 = 8;
  f.Rotation = 45.0;
  EXPECT_EQ(f.RotatedCornerX1(0), 0);
  EXPECT_EQ(f.RotatedCornerX2(0), 100);
  EXPECT_EQ(f.RotatedCornerX3(0), 0);
  EXPECT_EQ(f.RotatedCornerX4(0), 100);
  EXPECT_EQ(f.RotatedCornerY2(0), 8);
}

TEST(PcbObject, LayerFilteredOperationsAnswerOnTheOwnLayerOnly) {
  TPcbTrack t(1);
  t.SetLegacyLayer(1);
  t.X = 10;
  t.Y = 20;
  t.X2 = 110;
  t.Y2 = 20;
  t.Width = 8;
  EXPECT_EQ(t.GetWidthOnLayer(1), 8);
  EXPECT_EQ(t.GetXOnLayer(1), 10);
  EXPECT_EQ(t.GetYOnLayer(1), 20);
  EXPECT_EQ(t.GetX2OnLayer(1), 110);
  EXPECT_EQ(t.GetY2OnLayer(1), 20);
  EXPECT_EQ(t.RotatedCornerX2OnLayer(1, 0), 110);
  for (int l = 0; l <= 255; ++l) {
    if (l == 1) continue;
    const auto layer = static_cast<TLegacyLayer>(l);
    EXPECT_EQ(t.GetSizeOnLayer(layer), 0);
    EXPECT_EQ(t.GetWidthOnLayer(layer), 0);
    EXPECT_EQ(t.GetXOnLayer(layer), 0);
    EXPECT_EQ(t.RotatedCornerX2OnLayer(layer, 0), 0);
  }
}

// Host-backed: the two flag setters that write the object back at once.
using PcbObjectHost = test::FreshHost;

TEST_F(PcbObjectHost, FlagSettersWriteBackAtOnce) {
  TPcbTrack t(pcbapi::CreateObject(4));
  ASSERT_NE(t.Handle, 0u);
  KvHost_SetJournal(1);
  t.SetFlag0010(true);
  EXPECT_EQ(test::JournalLines(), std::vector<std::string>{}) << "SetFlag0010 only changes the client copy";

  t.SetFlag0008(true);
  EXPECT_FALSE(test::JournalLines("PcbApi_QueryTrack").empty());
  std::uint16_t flags = 0;
  ASSERT_EQ(KvHost_ReadAttribute(t.Handle, "PcbApi_QueryTrack", 0, &flags, sizeof flags), 2);
  EXPECT_EQ(flags, 0x0018);

  t.SetNotFlag0100(false);
  EXPECT_FALSE(t.GetNotFlag0100());
  ASSERT_EQ(KvHost_ReadAttribute(t.Handle, "PcbApi_QueryTrack", 0, &flags, sizeof flags), 2);
  EXPECT_EQ(flags, 0x0118);
  t.SetNotFlag0100(true);
  ASSERT_EQ(KvHost_ReadAttribute(t.Handle, "PcbApi_QueryTrack", 0, &flags, sizeof flags), 2);
  EXPECT_EQ(flags, 0x0018);
}

TEST_F(PcbObjectHost, BaseExchangeUsesThePrimitiveQuery) {
  const std::uint32_t handle = pcbapi::CreateObject(4);
  ASSERT_NE(handle, 0u);
  TPCBObject o(handle);
  o.Flags = 0x1234;
  o.Index = -7;
  o.LayerId = 57;
  o.Net = 11;
  o.Component = 12;
  o.AuxByte = 0xA5;
  o.BitField2 = 0x41;
  o.BitField3 = 0x0102;
  EXPECT_EQ(o.SyncWithHost(smWrite), 0);
  TPCBObject back(handle);
  EXPECT_EQ(back.SyncWithHost(smRead), 0);
  EXPECT_EQ(back.Flags, 0x1234);
  EXPECT_EQ(back.Index, -7);
  EXPECT_EQ(back.LayerId, 57u);
  EXPECT_EQ(back.Net, 11);
  EXPECT_EQ(back.Component, 12);
  EXPECT_EQ(back.AuxByte, 0xA5);
  EXPECT_EQ(back.BitField2, 0x41);
  EXPECT_EQ(back.BitField3, 0x0102);
}

}  // namespace
}  // namespace orvik
