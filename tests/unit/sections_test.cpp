// Section readers: record parsing from files, the stateless conversions,
// and the objects created in the stand-in host.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "RTL/RT_PCB/PcbComponent.h"
#include "RTL/RT_PCB/PcbText.h"
#include "orvik/kovlan.h"
#include "platform/TextFile.h"
#include "reader/ArcSection.h"
#include "reader/ComponentSection.h"
#include "reader/Conversions.h"
#include "reader/FillSection.h"
#include "reader/LayerMaps.h"
#include "reader/NetSection.h"
#include "reader/PadSection.h"
#include "reader/PolygonSection.h"
#include "reader/TextSection.h"
#include "reader/TrackSection.h"
#include "reader/ViaSection.h"
#include "tests/fixtures/ReaderTestFiles.h"
#include "tests/support/StandInHost.h"

namespace orvik {
namespace {

using testing::HostProgressCounts;
using testing::TempFile;

// A section that has read `records` records from `content`.
template <class Section>
struct Loaded {
  Loaded(std::string_view content, int records) : file(content) {
    text.Assign(file.Path());
    text.Reset();
    for (int i = 0; i < records; ++i) section.ReadRecords();
  }
  // Creates the host objects of the records read; returns the first.
  template <class Object>
  const Object& Create() {
    section.CreateObjects();
    return At<Object>(0);
  }
  template <class Object>
  const Object& At(std::size_t i) const {
    return dynamic_cast<const Object&>(*section.Objects.at(i));
  }
  TempFile file;
  platform::TextFile text;
  Section section{text};
};

// Where an object lies and what it belongs to, compared in one go.
struct Placement {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  int Layer = 0;  // legacy layer number
  std::int32_t Net = 0;
  std::int32_t Component = 0;
  bool operator==(const Placement&) const = default;
  friend std::ostream& operator<<(std::ostream& os, const Placement& p) {
    return os << "{X " << p.X << ", Y " << p.Y << ", layer " << p.Layer << ", net " << p.Net << ", component "
              << p.Component << "}";
  }
};

Placement PlacementOf(const TPCBObject& o) { return {o.X, o.Y, o.LegacyLayer(), o.Net, o.Component}; }

using SectionsTest = test::FreshHost;

// ---- Layer maps --------------------------------------------------------

TEST(LayerMapsTest, MapFileLayerUsesTheLowSevenBits) {
  const std::pair<int, int> cases[] = {{0, 1},   {1, 32}, {2, 39},  {7, 5},    {8, 33},  {15, 74},  {16, 73},
                                       {17, 56}, {22, 9}, {23, 15}, {127, 15}, {128, 1}, {143, 74}, {255, 15}};
  for (const auto& [file, legacy] : cases) {
    EXPECT_EQ(MapFileLayer(static_cast<std::uint8_t>(file)), legacy) << file;
  }
}

TEST(LayerMapsTest, CompactLayerToLegacyFollowsItsTable) {
  const std::pair<int, int> cases[] = {{0, 0},   {1, 1},   {15, 15}, {16, 32}, {17, 33}, {22, 38},
                                       {23, 39}, {26, 42}, {27, 55}, {28, 56}, {29, 57}, {32, 60},
                                       {33, 73}, {34, 74}, {42, 82}, {43, 0},  {255, 0}};
  for (const auto& [compact, legacy] : cases) {
    EXPECT_EQ(CompactLayerToLegacy(static_cast<std::uint8_t>(compact)), legacy) << compact;
  }
}

TEST(LayerMapsTest, EffectiveLayerOfAFileLayerNumber) {
  // The record keeps CompactLayerToLegacy of the low 8 bits; creation maps
  // that through MapFileLayer.
  const std::pair<std::int32_t, int> cases[] = {{0, 1},   {1, 32},  {2, 39}, {7, 5},   {8, 33},  {15, 74},  {16, 15},
                                                {17, 15}, {42, 15}, {43, 1}, {255, 1}, {256, 1}, {257, 32}, {-1, 1}};
  for (const auto& [file, legacy] : cases) {
    const auto compact = CompactLayerToLegacy(static_cast<std::uint8_t>(file));
    EXPECT_EQ(MapFileLayer(compact), legacy) << file;
  }
}

// ---- Conversions -------------------------------------------------------

double LoopNormalizeAngle(double a) {
  if (a > 720) a = a - 360 * std::trunc(a / 360);
  while (a > 360) a -= 360;
  while (a < 0) a += 360;
  return a;
}

TEST(ConversionsTest, NormalizeAngleMatchesTheLoopsExactly) {
  std::vector<double> values;
  for (int a = -1500; a <= 1500; ++a) values.push_back(a);
  const double anchors[] = {-4294967296.0, -2147483648.0, -2147483647.0, 2147483647.0,
                            2147483648.0,  4294967294.0,  4294967295.0,  4294967296.0};
  for (double anchor : anchors) {
    for (int d = -400; d <= 400; d += 67) values.push_back(anchor + d);
  }
  // A spread of sums of two 32-bit values (the loops are slow for large
  // negative values, so only a few).
  std::uint32_t seed = 12345;
  for (int i = 0; i < 60; ++i) {
    seed = seed * 1664525u + 1013904223u;
    const auto x = static_cast<std::int32_t>(seed);
    seed = seed * 1664525u + 1013904223u;
    const auto y = static_cast<std::int32_t>(seed);
    values.push_back(static_cast<double>(x) + static_cast<double>(y));
  }
  for (double v : values) {
    EXPECT_EQ(NormalizeAngle(v), LoopNormalizeAngle(v)) << v;
  }
}

TEST(ConversionsTest, NormalizeAngleKeepsThreeSixty) {
  EXPECT_EQ(NormalizeAngle(360), 360);
  EXPECT_EQ(NormalizeAngle(720), 360);
  EXPECT_EQ(NormalizeAngle(1080), 0);
  EXPECT_EQ(NormalizeAngle(-360), 0);
  EXPECT_EQ(NormalizeAngle(450.5), 90.5);
}

TEST(ConversionsTest, DefaultTextWidthGrowsWithTheHeight) {
  const std::pair<std::int32_t, std::int32_t> cases[] = {
      {0, 60000},      {300000, 60000}, {300010, 60001},   {500000, 73333},  {599990, 79999},
      {600000, 80000}, {799990, 80000}, {1000000, 100000}, {-500000, 60000},
  };
  for (const auto& [height, width] : cases) EXPECT_EQ(DefaultTextWidth(height), width) << height;
}

TEST(ConversionsTest, TextRotationCodes) {
  struct Case {
    std::int32_t code;
    double degrees;
    bool mirrored;
  };
  const Case cases[] = {{0, 0, false},  {1, 90, false}, {3, 270, false},  {4, 0, true},   {5, 90, true},
                        {7, 270, true}, {8, 0, true},   {-1, 270, false}, {-4, 0, false}, {INT32_MIN, 0, false}};
  for (const auto& c : cases) {
    const TTextRotation r = TextRotationFromCode(c.code);
    EXPECT_EQ(r.Degrees, c.degrees) << c.code;
    EXPECT_EQ(r.Mirrored, c.mirrored) << c.code;
  }
}

// ---- Track, arc, via ---------------------------------------------------

TEST_F(SectionsTest, ArcAnglesAreFoldedAtTheEndOfTheRecord) {
  struct Case {
    std::int32_t start, sweep;
    double end;
  };
  const Case cases[] = {{0, 0, 360}, {90, 360, 90}, {90, 0, 90}, {10, -20, 350}, {400, 10, 50}, {0, 1000, 280}};
  for (const auto& c : cases) {
    const std::string record = "100 " + std::to_string(c.start) + " " + std::to_string(c.sweep) + " 10 0 5 6 0 0 0\r\n";
    Loaded<TArcSection> arc(record, 1);
    ASSERT_EQ(arc.section.Records.size(), 1u);
    EXPECT_EQ(arc.section.Records[0].StartAngle, c.start) << record;
    EXPECT_EQ(arc.section.Records[0].EndAngle, c.end) << record;
  }
}

TEST_F(SectionsTest, FullCircleArcInTheHost) {
  Loaded<TArcSection> arc("100 0 0 10 0 5 6 0 0 0\r\n", 1);
  const auto& a = arc.Create<TPcbArc>();
  EXPECT_EQ(a.StartAngle, 0.0);
  EXPECT_EQ(a.EndAngle, 360.0);
  EXPECT_EQ(a.Radius, 1000000);
  EXPECT_EQ(a.Width, 100000);
  EXPECT_EQ(PlacementOf(a), (Placement{.X = 50000, .Y = 60000, .Layer = 1}));
  EXPECT_EQ(KvHost_ObjectKind(a.Handle), 1);
  std::int32_t radius = 0;
  ASSERT_EQ(KvHost_ReadAttribute(a.Handle, "PcbApi_QueryArc", 8, &radius, sizeof radius), 4);
  EXPECT_EQ(radius, 1000000);
}

TEST_F(SectionsTest, TrackRecordAndObject) {
  // Split over two lines; the ninth value is read and dropped.
  Loaded<TTrackSection> track("0 1 10 20\r\n30 40 7 8 99\r\n", 1);
  const TTrackRecord& r = track.section.Records.at(0);
  EXPECT_EQ(r.Width, 0);
  EXPECT_EQ(r.Layer, 1);
  EXPECT_EQ(r.X1, 10);
  EXPECT_EQ(r.Y2, 40);
  EXPECT_EQ(r.NetNumber, 7);
  EXPECT_EQ(r.ComponentNumber, 8);
  EXPECT_TRUE(track.text.Eoln());  // the CR after the ninth value is left

  const auto& t = track.Create<TPcbTrack>();
  EXPECT_EQ(t.Width, 10);  // zero width becomes 0.001 mil
  EXPECT_EQ(PlacementOf(t), (Placement{.X = 100000, .Y = 200000, .Layer = 32, .Net = 7, .Component = 8}));
  EXPECT_EQ(t.X2, 300000);
  EXPECT_EQ(t.Y2, 400000);
}

TEST_F(SectionsTest, LengthsWrapModulo32Bits) {
  Loaded<TTrackSection> track("268435456 0 214749 0 0 0 0 0 0", 1);
  const auto& t = track.Create<TPcbTrack>();
  EXPECT_EQ(t.Width, 10);  // 2^28 x 10000 wraps to 0, then the zero-width rule
  EXPECT_EQ(t.X, static_cast<std::int32_t>(214749u * 10000u));
}

TEST_F(SectionsTest, ViaWordsNeverMatter) {
  Loaded<TViaSection> via("anything 50 28 \"any word\" 100 200 3 4 0\r\n", 1);
  const auto& v = via.Create<TPcbVia>();
  EXPECT_EQ(v.Size, 500000);
  EXPECT_EQ(v.HoleSize, 280000);
  EXPECT_EQ(PlacementOf(v), (Placement{.X = 1000000, .Y = 2000000, .Layer = 74, .Net = 3, .Component = 4}));
}

TEST_F(SectionsTest, EndOfFileInTheMiddleOfARecordKeepsIt) {
  Loaded<TTrackSection> track("25 0 10", 1);
  ASSERT_EQ(track.section.Records.size(), 1u);
  const TTrackRecord& r = track.section.Records[0];
  EXPECT_EQ(r.Width, 25);
  EXPECT_EQ(r.X1, 10);
  EXPECT_EQ(r.Y1, 0);
  EXPECT_EQ(r.ComponentNumber, 0);

  Loaded<TNetSection> net("\"GND", 1);
  ASSERT_EQ(net.section.Records.size(), 1u);
  EXPECT_EQ(net.section.Records[0].Name, "GND");
  EXPECT_EQ(net.section.Records[0].Number, 0);
}

TEST_F(SectionsTest, ProgressOneStepPerCharacterAndPerRecord) {
  // "1 2 3 4 5 6 7 8 9" is 17 characters, all consumed; the CR LF stays.
  Loaded<TTrackSection> track("1 2 3 4 5 6 7 8 9\r\n", 1);
  EXPECT_EQ(HostProgressCounts().Updates, 17 + 1);
  KvHost_Reset();
  track.section.CreateObjects();
  EXPECT_EQ(HostProgressCounts().Updates, 1);
}

// ---- Pad ----------------------------------------------------------------

TEST(PadWordsTest, ShapeAndSideCodesAreExact) {
  EXPECT_EQ(PadShapeFromWord("SQ"), 2);
  EXPECT_EQ(PadShapeFromWord("EL"), 1);
  EXPECT_EQ(PadShapeFromWord("sq"), 1);
  EXPECT_EQ(PadShapeFromWord(""), 1);
  EXPECT_EQ(PadShapeFromWord("SQX"), 1);
  EXPECT_EQ(PadLayerFromWord("TL"), 1);
  EXPECT_EQ(PadLayerFromWord("BL"), 32);
  EXPECT_EQ(PadLayerFromWord("tl"), 74);
  EXPECT_EQ(PadLayerFromWord("ML"), 74);
  EXPECT_EQ(PadLayerFromWord(""), 74);
  EXPECT_EQ(PadShapeName(2), "square");
  EXPECT_EQ(PadShapeName(1), "round");
}

TEST_F(SectionsTest, PadSizesOnThreeLayers) {
  Loaded<TPadSection> pad(
      "SQ 60 40 30 TL x PIN12 100 200 3 4 0\r\n"
      "EL 50 50 28 BL x 1 0 0 0 0 0\r\n"
      "RD 10 10 5 ML x \"A B C\" 0 0 0 0 0\r\n",
      3);
  ASSERT_EQ(pad.section.Records.size(), 3u);
  EXPECT_EQ(pad.section.Records[0].Name, "PIN1");
  EXPECT_EQ(pad.section.Records[1].Name, "1");
  EXPECT_EQ(pad.section.Records[2].Name, "A B ");

  const auto& p = pad.Create<TPcbPad>();
  // One size and shape on all three layers.
  struct Layer {
    const char* name;
    std::int32_t xSize, ySize;
    std::uint8_t shape;
  };
  for (const Layer& l :
       {Layer{"top", p.TopXSize, p.TopYSize, p.TopShape}, Layer{"mid", p.MidXSize, p.MidYSize, p.MidShape},
        Layer{"bottom", p.BotXSize, p.BotYSize, p.BotShape}}) {
    EXPECT_EQ(l.xSize, 600000) << l.name;
    EXPECT_EQ(l.ySize, 400000) << l.name;
    EXPECT_EQ(l.shape, 2) << l.name;
  }
  EXPECT_EQ(p.HoleSize, 300000);
  EXPECT_EQ(p.Name, "PIN1");
  EXPECT_EQ(PlacementOf(p), (Placement{.X = 1000000, .Y = 2000000, .Layer = 1, .Net = 3, .Component = 4}));

  const auto& bottom = pad.At<TPcbPad>(1);
  EXPECT_EQ(bottom.LegacyLayer(), 32);  // no file layer map on pads
  EXPECT_EQ(bottom.TopShape, 1);
  EXPECT_EQ(bottom.HoleSize, 280000);
  EXPECT_EQ(pad.At<TPcbPad>(2).LegacyLayer(), 74);
}

// ---- Text and fill ---------------------------------------------------------

TEST_F(SectionsTest, TextWidthsFromHeightsAndRotationCodes) {
  Loaded<TTextSection> text(
      "\"Hello board\" 50 5 0 8 10 20 0 0 0 0 77 0\r\n"
      "T2 30 3 0 0 0 0 0 0 0 0 0 0\r\n"
      "T3 60 8 0 0 0 0 0 0 0 0 0 0\r\n"
      "T4 100 0 12 0 0 0 0 0 0 0 0 0\r\n"
      "T5 0 0 0 0 0 0 0 0 0 0 0 0\r\n",
      5);
  ASSERT_EQ(text.section.Records.size(), 5u);
  EXPECT_EQ(text.section.Records[0].TrailingNumber, 77);

  const auto& hello = text.Create<TPcbText>();
  EXPECT_EQ(hello.Text, "Hello board");
  EXPECT_EQ(hello.Height, 500000);
  // File layer 8: TopOverlay.
  EXPECT_EQ(PlacementOf(hello), (Placement{.X = 100000, .Y = 200000, .Layer = 33}));

  // Widths follow the heights except where the record gives one (the
  // fourth); rotation codes carry the mirroring.
  struct Expected {
    std::int32_t width;
    double rotation;
    std::uint8_t mirrored;
  };
  const Expected expected[] = {{73333, 90.0, 1}, {60000, 270.0, 0}, {80000, 0.0, 1}, {120000, 0.0, 0}, {60000, 0.0, 0}};
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const auto& t = text.At<TPcbText>(i);
    EXPECT_EQ(t.Width, expected[i].width) << i;
    EXPECT_EQ(t.Rotation, expected[i].rotation) << i;
    EXPECT_EQ(t.Mirrored, expected[i].mirrored) << i;
  }
}

TEST_F(SectionsTest, TextIsCutTo254Characters) {
  Loaded<TTextSection> text(std::string(300, 'x') + " 10 0 0 0 0 0 0 0 0 0 0 0", 1);
  EXPECT_EQ(text.section.Records.at(0).Text.size(), 255u);
  EXPECT_EQ(text.Create<TPcbText>().Text.size(), 254u);
}

TEST_F(SectionsTest, FillCornersKeepTheirFileOrder) {
  Loaded<TFillSection> fill("1 100 50 0 0 3 4 0\r\n", 1);
  const auto& f = fill.Create<TPcbFill>();
  EXPECT_EQ(PlacementOf(f), (Placement{.X = 1000000, .Y = 500000, .Layer = 32, .Net = 3, .Component = 4}));
  EXPECT_EQ(f.X2, 0);
  EXPECT_EQ(f.Y2, 0);
}

// ---- Net, component, polygon -------------------------------------------

TEST_F(SectionsTest, NetNumbersMatchByTheirLow16Bits) {
  Loaded<TNetSection> net("\"VCC 3V3\" 65537 0 0 0\r\nGND 2 0 0 0\r\nDUP 2 0 0 0\r\n", 3);
  EXPECT_EQ(net.section.Records.at(0).Name, "VCC 3V3");
  const auto& vcc = net.Create<TPcbNet>();
  EXPECT_EQ(vcc.Name, "VCC 3V3");
  EXPECT_EQ(vcc.Index, 1);

  EXPECT_EQ(FindNetByNumber(net.section, 1), &vcc);
  EXPECT_EQ(FindNetByNumber(net.section, 65537), nullptr);
  EXPECT_EQ(FindNetByNumber(net.section, -1), nullptr);
  EXPECT_EQ(FindNetByNumber(net.section, 3), nullptr);
  EXPECT_EQ(FindNetByNumber(net.section, 2), &net.At<TPcbNet>(1));  // the first of two
}

TEST_F(SectionsTest, ComponentNumbersAbove32767MatchAsUnsigned) {
  Loaded<TComponentSection> comp("U1 x IC SO8 x 0 0 0 0 0 0 40000 0\r\n", 1);
  EXPECT_EQ(comp.Create<TPcbComponent>().Index, static_cast<std::int16_t>(40000 - 65536));
  EXPECT_NE(FindComponentByNumber(comp.section, 40000), nullptr);
  EXPECT_EQ(FindComponentByNumber(comp.section, 40000 - 65536), nullptr);
}

TEST_F(SectionsTest, ComponentTextsLieOnTopOverlayAtTheOrigin) {
  const std::string designator(300, 'D');
  const std::string pattern(260, 'P');
  Loaded<TComponentSection> comp(designator + " skip \"74HC00 quad\" " + pattern + " skip 100 200 1 2 3 4 7 1\r\n", 1);
  const TComponentRecord& r = comp.section.Records.at(0);
  EXPECT_EQ(r.Comment, "74HC00 quad");
  EXPECT_EQ(r.Number, 7);
  EXPECT_EQ(r.Layer, 1);

  const auto& c = comp.Create<TPcbComponent>();
  // File layer 1: BottomLayer.
  EXPECT_EQ(PlacementOf(c), (Placement{.X = 1000000, .Y = 2000000, .Layer = 32}));
  EXPECT_EQ(c.Index, 7);
  EXPECT_EQ(c.Pattern.size(), 250u);
  ASSERT_NE(c.DesignatorHandle, 0u);
  ASSERT_NE(c.CommentHandle, 0u);

  struct Expected {
    std::uint32_t handle;
    std::size_t length;
  };
  for (const Expected& e : {Expected{c.DesignatorHandle, 254}, Expected{c.CommentHandle, 11}}) {
    TPcbText t(e.handle);
    t.SyncWithHost(smRead);
    EXPECT_EQ(t.Text.size(), e.length);
    EXPECT_EQ(PlacementOf(t), (Placement{.X = 1000000, .Y = 2000000, .Layer = 33}));
    EXPECT_EQ(t.Height, 60);
    EXPECT_EQ(t.Width, 10);
    EXPECT_EQ(t.Rotation, 0.0);
    EXPECT_EQ(t.Mirrored, 0);
    EXPECT_EQ(t.TextOption, 1);
  }
  EXPECT_EQ(HostProgressCounts().Updates, static_cast<int>(comp.text.Size()) - 2 + 1 + 1);
}

TEST_F(SectionsTest, PolygonBecomesItsBoundingFill) {
  Loaded<TPolygonSection> poly(
      "0 4 5 0 0\r\nPNT 0 0\r\nPNT 100 0\r\nPNT 100 50\r\nPNT 0 50\r\n"
      "1 4 0 0 0 PNT 100 50 PNT 0 0 PNT 0 50 PNT 100 0\r\n",
      2);
  poly.section.CreateObjects();
  ASSERT_EQ(poly.section.Objects.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    const auto& f = poly.At<TPcbFill>(i);
    EXPECT_EQ(f.X, 0);
    EXPECT_EQ(f.Y, 0);
    EXPECT_EQ(f.X2, 1000000);
    EXPECT_EQ(f.Y2, 500000);
  }
  EXPECT_EQ(poly.At<TPcbFill>(0).Net, 5);
  EXPECT_EQ(poly.At<TPcbFill>(1).LegacyLayer(), 32);
}

TEST_F(SectionsTest, PolygonWithoutAllItsPoints) {
  // Negative points, a stop after two points, and vertex counts other
  // than 4.
  Loaded<TPolygonSection> poly(
      "0 4 0 0 0 PNT -10 -20 PNT -30 -5 STOP\r\n"
      "0 3 0 0 0\r\n"
      "0 4 0 0 0 pnt 1 2\r\n",
      3);
  ASSERT_EQ(poly.section.Records.size(), 3u);
  EXPECT_EQ(poly.section.Records[0].PointsRead, 2);
  EXPECT_EQ(poly.section.Records[1].PointsRead, 0);
  EXPECT_EQ(poly.section.Records[2].PointsRead, 0);
  // "STOP" was consumed by the first record.
  EXPECT_EQ(poly.section.Records[1].VertexCount, 3);

  poly.section.CreateObjects();
  ASSERT_EQ(poly.section.Objects.size(), 1u);  // no fill from records without points
  const auto& f = poly.At<TPcbFill>(0);
  EXPECT_EQ(f.X, -300000);
  EXPECT_EQ(f.Y, -200000);
  EXPECT_EQ(f.X2, -100000);
  EXPECT_EQ(f.Y2, -50000);
  EXPECT_EQ(KvHost_ObjectCount(6), 1);
}

}  // namespace
}  // namespace orvik
