// The KiCad export's pieces: units and tokens, geometry, placement, layer
// mapping and net names.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "host/orvik-host/kicad/KicadFormat.h"
#include "host/orvik-host/kicad/KicadGeometry.h"
#include "host/orvik-host/kicad/KicadLayers.h"
#include "host/orvik-host/kicad/KicadNetNames.h"
#include "host/orvik-host/kicad/KicadPlacement.h"

namespace orvik::host::kicad {
namespace {

TEST(KicadFormat, HostUnitsToNanometres) {
  const struct {
    int64_t units;
    int64_t nm;
  } cases[] = {{0, 0},
               {1, 3},
               {-1, -3},
               {2, 5},  // 5.08
               {10000, 25400},
               {-10000, -25400},
               {25, 64},
               {-25, -64},  // 63.5: halves away from zero
               {2147483647, 5454608463},
               {-2147483648LL, -5454608466}};
  for (const auto& c : cases) EXPECT_EQ(NanometresOf(c.units), c.nm) << c.units;
}

TEST(KicadFormat, MillimetresFromWholeNanometres) {
  const struct {
    int64_t nm;
    const char* mm;
  } cases[] = {{0, "0"},
               {25400, "0.0254"},
               {-25400, "-0.0254"},
               {1000000, "1"},
               {152, "0.000152"},
               {1, "0.000001"},
               {-1, "-0.000001"},
               {123456789, "123.456789"},
               {1500000000, "1500"},
               {std::numeric_limits<int64_t>::min(), "-9223372036854.775808"}};
  for (const auto& c : cases) EXPECT_EQ(Millimetres(c.nm), c.mm) << c.nm;
}

TEST(KicadFormat, AnglesInThousandthsOfADegree) {
  const struct {
    double degrees;
    int64_t milli;
    const char* text;
  } cases[] = {{0, 0, "0"},          {90, 90000, "90"},      {-90, 270000, "270"},
               {360, 0, "0"},        {22.5, 22500, "22.5"},  {0.0004, 0, "0"},
               {0.0006, 1, "0.001"}, {725.25, 5250, "5.25"}, {std::numeric_limits<double>::quiet_NaN(), 0, "0"},
               {1e300, 0, "0"}};
  for (const auto& c : cases) {
    EXPECT_EQ(MillidegreesOf(c.degrees), c.milli) << c.degrees;
    std::string text;
    AppendDegrees(text, MillidegreesOf(c.degrees));
    EXPECT_EQ(text, c.text) << c.degrees;
  }
}

TEST(KicadFormat, QuotedStringsReadBackByKicad) {
  const struct {
    std::string in;
    const char* out;
  } cases[] = {{"", R"("")"},
               {"GND", R"("GND")"},
               {"a\"b\\c", R"("a\"b\\c")"},
               {"two\nlines\r", R"("two\nlines\r")"},
               {std::string("\x01\t\x1f", 3), R"("\x01\x09\x1f")"},
               {"\xE2\x82\xAC", "\"\xE2\x82\xAC\""}};
  for (const auto& c : cases) {
    std::string out;
    AppendQuoted(out, c.in);
    EXPECT_EQ(out, c.out) << c.in;
  }
}

TEST(KicadFormat, TstampCarriesRoleAndHandle) {
  std::string out;
  AppendTstamp(out, Role::kSecondHalf, 0xABCDEFu);
  EXPECT_EQ(out, "(tstamp 4f52564b-0001-4000-8000-000000abcdef)");
}

TEST(KicadGeometry, QuarterTurnsAreExact) {
  for (int quarter = -8; quarter <= 8; ++quarter) {
    double s = 0, c = 0;
    SinCosDegrees(90.0 * quarter, s, c);
    const int q = ((quarter % 4) + 4) % 4;
    EXPECT_EQ(s, (std::array<double, 4>{0, 1, 0, -1}[q])) << quarter;
    EXPECT_EQ(c, (std::array<double, 4>{1, 0, -1, 0}[q])) << quarter;
  }
  EXPECT_EQ(Turned({1000, 0}, {0, 0}, 90), (Point{0, 1000}));
  EXPECT_EQ(Turned({7, 3}, {5, 5}, 180), (Point{3, 7}));
  double s = 0, c = 0;
  SinCosDegrees(30, s, c);
  EXPECT_NEAR(s, 0.5, 1e-15);
  SinCosDegrees(-135, s, c);
  EXPECT_NEAR(s, -0.70710678118654752, 1e-15);
  EXPECT_NEAR(c, -0.70710678118654752, 1e-15);
}

TEST(KicadGeometry, ArcPointsCounterclockwiseFromStartToEnd) {
  const ArcPoints quarter = ArcThrough({0, 0}, 1000, 0, 90);
  EXPECT_EQ(quarter.start, (Point{1000, 0}));
  EXPECT_EQ(quarter.mid, (Point{707, 707}));
  EXPECT_EQ(quarter.end, (Point{0, 1000}));
  // Through zero, and the long way round when the end comes first.
  EXPECT_EQ(ArcThrough({0, 0}, 1000, 270, 90).mid, (Point{1000, 0}));
  EXPECT_EQ(ArcThrough({0, 0}, 1000, 90, 0).mid, (Point{-707, -707}));
  EXPECT_EQ(ArcSweep(10, 10), 360.0);
  EXPECT_EQ(ArcSweep(0, 360), 360.0);
  EXPECT_EQ(ArcSweep(350, 10), 20.0);
  double x = 0, y = 0;
  ASSERT_TRUE(CircleCentre(quarter.start, quarter.mid, quarter.end, x, y));
  EXPECT_NEAR(x, 0, 1);
  EXPECT_NEAR(y, 0, 1);
  EXPECT_FALSE(CircleCentre({0, 0}, {1, 1}, {2, 2}, x, y));
}

TEST(KicadGeometry, TurnedRectangleKeepsWholeCornersUnturned) {
  const auto plain = TurnedRectangle({10, 40}, {0, 20}, 0);
  EXPECT_EQ(plain[0], (Point{0, 20}));
  EXPECT_EQ(plain[2], (Point{10, 40}));
  const auto quarter = TurnedRectangle({0, 0}, {40, 20}, 90);
  EXPECT_EQ(quarter[0], (Point{30, -10}));
  EXPECT_EQ(quarter[2], (Point{10, 30}));
}

TEST(KicadPlacement, SmallBoardsLandCentredOnTheSmallestPage) {
  const Placement demo = Placement::ForBox({0, 0}, {50800000, 38100000}, false);
  EXPECT_STREQ(demo.PageSize().name, "A4");
  EXPECT_FALSE(demo.Overflows());
  const Point centre = demo.ToKicad({25400000, 19050000});
  EXPECT_NEAR(static_cast<double>(centre.x), 148500000, 500000);
  EXPECT_NEAR(static_cast<double>(centre.y), 105000000, 500000);
  EXPECT_EQ(demo.Origin().x % 1000000, 0);
  // Y runs down.
  EXPECT_LT(demo.ToKicad({0, 1000}).y, demo.ToKicad({0, 0}).y);
  EXPECT_STREQ(Placement::ForBox({0, 0}, {500000000, 400000000}, false).PageSize().name, "A2");
  EXPECT_STREQ(Placement::ForBox({0, 0}, {600000000, 400000000}, false).PageSize().name, "A1");
  const Placement huge = Placement::ForBox({0, 0}, {2000000000, 1600000000}, false);
  EXPECT_TRUE(huge.Overflows());
  EXPECT_TRUE(Placement::Within(huge.ToKicad({0, 0})));
  EXPECT_TRUE(Placement::Within(huge.ToKicad({2000000000, 1600000000})));
}

TEST(KicadPlacement, FarOffObjectsDoNotMoveTheBoard) {
  std::vector<Point> points;
  for (int i = 0; i < 10; ++i) points.push_back({i * 1000000, i * 1000000});
  points.push_back({5000000000, 0});
  const Placement p = Placement::Around(points);
  EXPECT_STREQ(p.PageSize().name, "A4");
  EXPECT_TRUE(Placement::Within(p.ToKicad({0, 0})));
  EXPECT_FALSE(Placement::Within(p.ToKicad({5000000000, 0})));
}

TEST(KicadLayers, TableCoversEveryLegacyLayerOnce) {
  int next = 0;
  for (const LayerMapping& m : kLayerMappings) {
    EXPECT_EQ(m.first, next);
    EXPECT_GE(m.last, m.first);
    next = m.last + 1;
  }
  EXPECT_EQ(next, ORVIK_LEGACY_LAYER_COUNT);
}

std::array<std::string, ORVIK_LEGACY_LAYER_COUNT> DefaultNames() {
  std::array<std::string, ORVIK_LEGACY_LAYER_COUNT> names;
  for (unsigned i = 0; i < names.size(); ++i) names[i] = OrvikLegacyLayerName(i);
  return names;
}

TEST(KicadLayers, PlanMapsByTheTable) {
  LayerPlan plan({ORVIK_LAYER_TopLayer, ORVIK_LAYER_MidLayer1, ORVIK_LAYER_InternalPlane1, ORVIK_LAYER_BottomLayer},
                 DefaultNames());
  plan.Use(ORVIK_LAYER_MidLayer14, LayerUse::kLine);
  plan.Use(ORVIK_LAYER_InternalPlane1, LayerUse::kFill);
  for (const int shared : {ORVIK_LAYER_DrillGuide, ORVIK_LAYER_KeepOutLayer, ORVIK_LAYER_Mechanical10,
                           ORVIK_LAYER_DrillDrawing, ORVIK_LAYER_MultiLayer}) {
    plan.Use(shared, LayerUse::kLine);
  }
  plan.Finish();
  const struct {
    int legacy;
    LayerUse use;
    int kicad;
  } cases[] = {{ORVIK_LAYER_TopLayer, LayerUse::kLine, kFCu},
               {ORVIK_LAYER_BottomLayer, LayerUse::kLine, kBCu},
               {ORVIK_LAYER_MidLayer1, LayerUse::kLine, kNoKicadLayer},  // in the stack, but holds nothing
               {ORVIK_LAYER_InternalPlane1, LayerUse::kFill, 1},
               {ORVIK_LAYER_MidLayer14, LayerUse::kLine, 2},  // after the stack
               {ORVIK_LAYER_TopOverlay, LayerUse::kText, kFSilkS},
               {ORVIK_LAYER_BottomOverlay, LayerUse::kLine, kBSilkS},
               {ORVIK_LAYER_TopPaste, LayerUse::kFill, kFPaste},
               {ORVIK_LAYER_BottomPaste, LayerUse::kFill, kBPaste},
               {ORVIK_LAYER_TopSolder, LayerUse::kFill, kFMask},
               {ORVIK_LAYER_BottomSolder, LayerUse::kFill, kBMask},
               {ORVIK_LAYER_Mechanical1, LayerUse::kLine, kEdgeCuts},
               {ORVIK_LAYER_Mechanical1, LayerUse::kText, kUser1},
               {ORVIK_LAYER_Mechanical1, LayerUse::kFill, kUser1},
               {ORVIK_LAYER_Mechanical2, LayerUse::kLine, kUser1 + 1},
               {ORVIK_LAYER_Mechanical9, LayerUse::kLine, kUser1 + 8},
               {ORVIK_LAYER_DrillGuide, LayerUse::kLine, kDwgsUser},
               {ORVIK_LAYER_KeepOutLayer, LayerUse::kLine, kCmtsUser},
               {ORVIK_LAYER_Mechanical10, LayerUse::kLine, kEco1User},
               {ORVIK_LAYER_DrillDrawing, LayerUse::kLine, kEco2User},
               {ORVIK_LAYER_MultiLayer, LayerUse::kLine, kEco2User},  // shares
               {ORVIK_LAYER_NoLayer, LayerUse::kLine, kNoKicadLayer}};
  for (const auto& c : cases) EXPECT_EQ(plan.LayerOf(c.legacy, c.use), c.kicad) << c.legacy;
  EXPECT_EQ(plan.CopperCount(), 4);
  EXPECT_EQ(plan.UnusedStackLayers(), 1);
  EXPECT_EQ(plan.InternalPlaneCount(), 1);
  EXPECT_EQ(plan.SharedLayerCount(), 2);
  const std::string layers = plan.LayersSection();
  EXPECT_NE(layers.find(R"((1 "In1.Cu" power "InternalPlane1"))"), std::string::npos) << layers;
  EXPECT_NE(layers.find(R"((2 "In2.Cu" signal "MidLayer14"))"), std::string::npos);
  EXPECT_NE(layers.find(R"((37 "F.SilkS" user "TopOverlay"))"), std::string::npos);
  EXPECT_NE(layers.find(R"((44 "Edge.Cuts" user))"), std::string::npos);
  EXPECT_EQ(layers.find("In3.Cu"), std::string::npos);
}

// The copper the file uses, or the host's whole stack: inner layers in the
// stack's order, then the others in use by number, made even.
TEST(KicadLayers, UsedOrWholeStack) {
  const std::vector<int> stack = {ORVIK_LAYER_TopLayer,       ORVIK_LAYER_MidLayer1, ORVIK_LAYER_InternalPlane1,
                                  ORVIK_LAYER_InternalPlane2, ORVIK_LAYER_MidLayer2, ORVIK_LAYER_BottomLayer};
  const struct {
    bool wholeStack;
    std::vector<int> used;
    std::vector<int> inner;  // the legacy layers on In1.Cu, In2.Cu, ...
    int copper;
    int unused;
  } cases[] = {
      {false, {}, {}, 2, 4},
      {false, {ORVIK_LAYER_MidLayer2, ORVIK_LAYER_MidLayer1}, {ORVIK_LAYER_MidLayer1, ORVIK_LAYER_MidLayer2}, 4, 2},
      {false,
       {ORVIK_LAYER_MidLayer5, ORVIK_LAYER_InternalPlane2},
       {ORVIK_LAYER_InternalPlane2, ORVIK_LAYER_MidLayer5},
       4,
       3},
      {false, {ORVIK_LAYER_MidLayer9}, {ORVIK_LAYER_MidLayer9}, 4, 4},
      {true,
       {ORVIK_LAYER_MidLayer9},
       {ORVIK_LAYER_MidLayer1, ORVIK_LAYER_InternalPlane1, ORVIK_LAYER_InternalPlane2, ORVIK_LAYER_MidLayer2,
        ORVIK_LAYER_MidLayer9},
       8,
       0},
  };
  for (const auto& c : cases) {
    LayerPlan plan(stack, DefaultNames(), c.wholeStack);
    for (const int layer : c.used) plan.Use(layer, LayerUse::kLine);
    plan.Finish();
    for (std::size_t i = 0; i < c.inner.size(); ++i) {
      EXPECT_EQ(plan.LayerOf(c.inner[i], LayerUse::kLine), static_cast<int>(i + 1)) << c.inner[i];
    }
    EXPECT_EQ(plan.CopperCount(), c.copper) << c.used.size();
    EXPECT_EQ(plan.UnusedStackLayers(), c.unused) << c.used.size();
    int planes = 0;
    for (const int layer : c.inner) planes += OrvikIsInternalPlane(layer) ? 1 : 0;
    EXPECT_EQ(static_cast<int>(plan.Planes().size()), planes);
  }
}

TEST(KicadLayers, HostNamesThatClashAreNotKept) {
  auto names = DefaultNames();
  names[ORVIK_LAYER_TopOverlay] = "B.Cu";
  names[ORVIK_LAYER_BottomOverlay] = "";
  names[ORVIK_LAYER_TopPaste] = "BottomLayer";  // taken by the bottom copper
  LayerPlan plan({}, names);
  plan.Finish();
  EXPECT_EQ(plan.NamesNotKept(), 3);
  EXPECT_EQ(plan.CopperCount(), 2);
  EXPECT_NE(plan.LayersSection().find(R"((37 "F.SilkS" user "F.Silkscreen"))"), std::string::npos);
}

TEST(KicadNetNames, DistinctNonEmptyUtf8) {
  const std::vector<SourceNet> nets = {{1, "GND"},  {2, "GND"}, {3, ""},    {4, "GND#2"},
                                       {5, "\x80"}, {6, "#3"},  {7, "GND"}, {8, std::string("a\0b", 3)}};
  const NetNames n = NameNets(nets);
  const std::vector<std::string> want = {"GND",
                                         "GND#3",
                                         "#3#2",
                                         "GND#2",
                                         "\xE2\x82\xAC",
                                         "#3",
                                         "GND#4",
                                         "a\xEF\xBF\xBD"
                                         "b"};
  EXPECT_EQ(n.names, want);
  EXPECT_EQ(n.empty, 1);
  EXPECT_EQ(n.duplicates, 2);
  EXPECT_EQ(n.nulReplaced, 1);
}

}  // namespace
}  // namespace orvik::host::kicad
