// Where the KiCad export puts what it adds: boxes and strokes, the extent
// of KiCad's texts, the silkscreen index, reference placement and the pad
// layout both share.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "host/orvik-host/kicad/KicadGeometry.h"
#include "host/orvik-host/kicad/KicadLabels.h"
#include "host/orvik-host/kicad/KicadPads.h"
#include "host/orvik-host/kicad/KicadSilkscreen.h"
#include "host/orvik-host/kicad/KicadTextBox.h"

namespace orvik::host::kicad {
namespace {

constexpr int64_t kMm = 1000000;

Box BoxOf(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
  Box b;
  b.Add({x0, y0});
  b.Add({x1, y1});
  return b;
}

TEST(KicadBox, GrowsMergesAndOverlapsEdgesIncluded) {
  Box b = BoxOf(0, 0, 10, 4);
  EXPECT_EQ(b.Grown(2).min, (Point{-2, -2}));
  EXPECT_EQ(b.Grown(-10).Height(), 0);  // shrinks to its centre line, not past it
  EXPECT_TRUE(b.Overlaps(BoxOf(10, 4, 20, 20)));
  EXPECT_FALSE(b.Overlaps(BoxOf(11, 0, 20, 4)));
  EXPECT_FALSE(b.Overlaps(Box{}));
  b.Merge(Box{});
  EXPECT_EQ(b.max, (Point{10, 4}));
  b.Merge(BoxOf(-5, 1, 2, 9));
  EXPECT_EQ(b.min, (Point{-5, 0}));
  EXPECT_EQ(b.max, (Point{10, 9}));
}

TEST(KicadBox, ArcBoxHoldsTheExtremesItPasses) {
  // A quarter from 0 to 90 degrees: its ends only; from 45 to 135 the top.
  const Box quarter = ArcBox({0, 0}, 1000, 0, 90, 0);
  EXPECT_EQ(quarter.min, (Point{0, 0}));
  EXPECT_EQ(quarter.max, (Point{1000, 1000}));
  const Box top = ArcBox({0, 0}, 1000, 45, 135, 0);
  EXPECT_EQ(top.max.y, 1000);
  EXPECT_EQ(top.min.y, 707);
  // A full circle, its stroke included.
  const Box circle = ArcBox({0, 0}, 1000, 10, 10, 200);
  EXPECT_EQ(circle.min, (Point{-1100, -1100}));
  EXPECT_EQ(circle.max, (Point{1100, 1100}));
}

TEST(KicadBox, SegmentTouchesWithItsWidth) {
  const Box box = BoxOf(0, 0, 10, 10);
  const struct {
    Point a, b;
    int64_t half;
    bool touches;
  } cases[] = {
      {{-20, 5}, {30, 5}, 0, true},      // straight through
      {{-20, -20}, {30, 30}, 0, true},   // diagonally through
      {{-20, 15}, {30, 15}, 0, false},   // above
      {{-20, 15}, {30, 15}, 5, true},    // above, but wide enough
      {{20, -20}, {40, 20}, 0, false},   // beside
      {{5, 5}, {6, 6}, 0, true},         // inside
      {{-20, 41}, {41, -20}, 0, false},  // across a corner, clear of it
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SegmentTouches(c.a, c.b, c.half, box), c.touches)
        << c.a.x << "," << c.a.y << " " << c.b.x << "," << c.b.y;
  }
}

TEST(KicadTextBox, AnchorsMirrorsAndTurns) {
  TextGeometry g;
  g.size = kMm;
  g.thickness = 0;
  const Box plain = TextBox(g, "AB");  // from the baseline's start, Y up
  EXPECT_EQ(plain.min.x, -1);
  EXPECT_EQ(plain.max.x, 2600001);   // two of the widest characters
  EXPECT_LT(plain.min.y, -kMm / 4);  // descenders
  EXPECT_GT(plain.max.y, kMm);
  g.mirrored = true;
  const Box mirrored = TextBox(g, "AB");
  EXPECT_EQ(mirrored.max.x, 1);
  EXPECT_EQ(mirrored.min.x, -2600001);
  g.mirrored = false;
  g.degrees = 90;
  const Box turned = TextBox(g, "AB");
  EXPECT_EQ(turned.max.y, plain.max.x);
  EXPECT_EQ(turned.min.x, -plain.max.y);
  g.degrees = 0;
  g.anchorKind = TextAnchor::kCentre;
  const Box centred = TextBox(g, "AB");
  EXPECT_EQ(centred.min.x, -centred.max.x);
  EXPECT_EQ(TextBox(g, "AB\nCD").Height(), centred.Height() + 1620000);
}

int Count(SilkscreenIndex& index, const Box& box, SilkscreenIndex::Side side, int limit) {
  int64_t budget = 1000000;
  return index.Count(box, side, limit, budget);
}

TEST(KicadSilkscreen, CountsBySideAndStopsAtTheLimit) {
  SilkscreenIndex index(BoxOf(0, 0, 100 * kMm, 100 * kMm));
  index.AddBox(BoxOf(10 * kMm, 10 * kMm, 12 * kMm, 12 * kMm), SilkscreenIndex::kTop);
  index.AddBox(BoxOf(11 * kMm, 11 * kMm, 13 * kMm, 13 * kMm), SilkscreenIndex::kBottom);
  index.AddBox(BoxOf(11 * kMm, 10 * kMm, 14 * kMm, 11 * kMm), SilkscreenIndex::kBothSides);
  const Box probe = BoxOf(11 * kMm, 10 * kMm, 12 * kMm, 12 * kMm);
  EXPECT_EQ(Count(index, probe, SilkscreenIndex::kTop, 10), 2);
  EXPECT_EQ(Count(index, probe, SilkscreenIndex::kBottom, 10), 2);
  EXPECT_EQ(Count(index, probe, SilkscreenIndex::kTop, 1), 1);
  EXPECT_EQ(Count(index, BoxOf(50 * kMm, 50 * kMm, 51 * kMm, 51 * kMm), SilkscreenIndex::kTop, 10), 0);
  // A spent budget answers as if the box were covered.
  int64_t budget = 2;
  EXPECT_EQ(index.Count(BoxOf(50 * kMm, 50 * kMm, 60 * kMm, 60 * kMm), SilkscreenIndex::kTop, 7, budget), 7);
  EXPECT_LT(budget, 0);
}

TEST(KicadSilkscreen, FindsLongStrokesAndLargeAndFarItemsAnywhereAlongThem) {
  SilkscreenIndex index(BoxOf(0, 0, 2000 * kMm, 2000 * kMm));
  // A stroke across the whole board, a box over most of it, one beyond it.
  index.AddStroke({0, 0}, {2000 * kMm, 2000 * kMm}, kMm / 10, SilkscreenIndex::kTop);
  index.AddBox(BoxOf(0, 1500 * kMm, 2000 * kMm, 2000 * kMm), SilkscreenIndex::kBottom);
  index.AddBox(BoxOf(5000 * kMm, 5000 * kMm, 5001 * kMm, 5001 * kMm), SilkscreenIndex::kTop);
  for (const int64_t at : {int64_t{3}, int64_t{777}, int64_t{1999}}) {
    EXPECT_EQ(Count(index, Box::Around({at * kMm, at * kMm}, kMm, kMm / 2), SilkscreenIndex::kTop, 5), 1) << at;
    EXPECT_EQ(Count(index, Box::Around({at * kMm, (at + 5) * kMm}, kMm, kMm / 2), SilkscreenIndex::kTop, 5), 0) << at;
  }
  EXPECT_EQ(Count(index, Box::Around({100 * kMm, 1800 * kMm}, kMm, kMm), SilkscreenIndex::kBottom, 5), 1);
  EXPECT_EQ(Count(index, Box::Around({5000 * kMm, 5000 * kMm}, kMm, kMm), SilkscreenIndex::kTop, 5), 1);
}

TEST(KicadLabels, ReferenceGoesToTheFirstFreeSideAndKeepsLaterOnesClear) {
  SilkscreenIndex index(BoxOf(0, 0, 50 * kMm, 50 * kMm));
  LabelPlacer placer(index);
  const Box pads = BoxOf(20 * kMm, 20 * kMm, 24 * kMm, 22 * kMm);
  const Point origin{22 * kMm + 3, 21 * kMm + 7};
  // Free: above the pads, a whole number of hundredths from the origin.
  const LabelSpot first = placer.PlaceReference("R1", pads, pads, origin, false);
  EXPECT_TRUE(first.free);
  EXPECT_GT(first.box.min.y, pads.max.y);
  EXPECT_EQ((first.centre.x - origin.x) % 10000, 0);
  EXPECT_EQ((first.centre.y - origin.y) % 10000, 0);
  // The same again: above is taken by the first, so below.
  const LabelSpot second = placer.PlaceReference("R2", pads, pads, origin, false);
  EXPECT_TRUE(second.free);
  EXPECT_LT(second.box.max.y, pads.min.y);
  // On the bottom side the top's references are no obstacle.
  const LabelSpot bottom = placer.PlaceReference("R3", pads, pads, origin, true);
  EXPECT_TRUE(bottom.free);
  EXPECT_GT(bottom.box.min.y, pads.max.y);
}

TEST(KicadLabels, NoFreeSpotTakesTheLeastCovered) {
  SilkscreenIndex index(BoxOf(0, 0, 50 * kMm, 50 * kMm));
  // Silkscreen everywhere, twice over except left of the pads.
  index.AddBox(BoxOf(0, 0, 50 * kMm, 50 * kMm), SilkscreenIndex::kTop);
  index.AddBox(BoxOf(18 * kMm, 0, 50 * kMm, 50 * kMm), SilkscreenIndex::kTop);
  LabelPlacer placer(index);
  const Box pads = BoxOf(20 * kMm, 20 * kMm, 24 * kMm, 22 * kMm);
  const LabelSpot spot = placer.PlaceReference("U1", pads, pads, pads.Centre(), false);
  EXPECT_FALSE(spot.free);
  EXPECT_LT(spot.box.max.x, pads.min.x);
}

// Thousands of items on every spot: the search stops when its budget is
// spent, and the reference still lands beside the pads, counted as covered.
TEST(KicadLabels, ACrowdedBoardCostsABoundedSearch) {
  SilkscreenIndex index(BoxOf(0, 0, 100 * kMm, 100 * kMm));
  for (int i = 0; i < 20000; ++i) index.AddBox(BoxOf(0, 0, 100 * kMm, 100 * kMm), SilkscreenIndex::kTop);
  LabelPlacer placer(index);
  const Box pads = BoxOf(20 * kMm, 20 * kMm, 24 * kMm, 22 * kMm);
  const LabelSpot spot = placer.PlaceReference(std::string(254, 'W'), pads, pads, pads.Centre(), false);
  EXPECT_FALSE(spot.free);
  EXPECT_GT(spot.box.min.y, pads.max.y);  // the first spot tried: above
}

TEST(KicadPads, LayoutBySideHoleAndStack) {
  const std::array<std::string, ORVIK_LEGACY_LAYER_COUNT> names{};
  LayerPlan plan({ORVIK_LAYER_TopLayer, ORVIK_LAYER_MidLayer3, ORVIK_LAYER_BottomLayer}, names);
  plan.Use(ORVIK_LAYER_MidLayer3, LayerUse::kLine);
  plan.Finish();
  PadStack stack;
  stack.top = {10000, 20000, 1, 0};
  stack.bottom = {30000, 30000, 2, 0};
  const struct {
    int layer;
    int64_t hole;  // host units
    bool through;
    int copper;
    int64_t xSize;  // nm
    bool offCopper, holeDropped, stackDiffers, negativeHole;
  } cases[] = {
      {ORVIK_LAYER_MultiLayer, 10000, true, kFCu, 25400, false, false, true, false},
      {ORVIK_LAYER_MultiLayer, 0, false, kFCu, 25400, true, false, false, false},
      {ORVIK_LAYER_MultiLayer, -5, false, kFCu, 25400, true, false, false, true},
      {ORVIK_LAYER_TopLayer, 10000, false, kFCu, 25400, false, true, false, false},
      {ORVIK_LAYER_BottomLayer, 0, false, kBCu, 76200, false, false, false, false},
      {ORVIK_LAYER_MidLayer3, 0, false, 1, 25400, false, false, false, false},
      {ORVIK_LAYER_TopOverlay, 0, false, kFCu, 25400, true, false, false, false},
  };
  for (const auto& c : cases) {
    Primitive p;
    p.layer = c.layer;
    PadShape pad;
    pad.holeSize = c.hole;
    const PadLayout l = LayOutPad(p, pad, stack, plan);
    SCOPED_TRACE(c.layer);
    EXPECT_EQ(l.through, c.through);
    EXPECT_EQ(l.copper, c.copper);
    EXPECT_EQ(l.xSize, c.xSize);
    EXPECT_EQ(l.offCopper, c.offCopper);
    EXPECT_EQ(l.holeDropped, c.holeDropped);
    EXPECT_EQ(l.stackDiffers, c.stackDiffers);
    EXPECT_EQ(l.negativeHole, c.negativeHole);
    EXPECT_GE(l.hole, 0);
  }
  // Sizes below KiCad's least are raised to it.
  stack.top = {0, 20000, 2, 0};
  Primitive p;
  p.layer = ORVIK_LAYER_TopLayer;
  const PadLayout tiny = LayOutPad(p, PadShape{}, stack, plan);
  EXPECT_TRUE(tiny.sizeRaised);
  EXPECT_EQ(tiny.xSize, kMinimumPadSize);
}

}  // namespace
}  // namespace orvik::host::kicad
