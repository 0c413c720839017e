// Board preview: number and text formatting, layer handling, and the SVG
// and HTML the writers make from a geometry model.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "host/orvik-host/BoardPreview.h"
#include "host/orvik-host/BoardScene.h"
#include "host/orvik-host/HtmlPage.h"
#include "host/orvik-host/Markup.h"

namespace orvik::host {
namespace {

constexpr int64_t kMil = kUnitsPerMil;

Primitive On(int layer, Shape shape, std::string net = {}, std::string component = {}) {
  Primitive p;
  p.layer = layer;
  p.net = std::move(net);
  p.component = std::move(component);
  p.shape = std::move(shape);
  return p;
}

// A scene whose layers are exactly those of its primitives, in drawing order.
BoardScene SceneOf(std::vector<Primitive> primitives) {
  BoardScene scene;
  for (const Primitive& p : primitives) {
    bool known = false;
    for (const SceneLayer& l : scene.layers) known = known || l.number == p.layer;
    if (!known) scene.layers.push_back({p.layer, DefaultLayerName(p.layer)});
  }
  SortLayersForDrawing(scene.layers);
  scene.primitives = std::move(primitives);
  return scene;
}

TEST(PreviewMarkup, FormatsInternalUnitsAsMils) {
  const struct {
    int64_t units;
    const char* mils;
  } cases[] = {{0, "0"},
               {10000, "1"},
               {12500, "1.25"},
               {-10000, "-1"},
               {3, "0.0003"},
               {-3, "-0.0003"},
               {1234567, "123.4567"},
               {200000, "20"},
               {std::numeric_limits<int64_t>::min(), "-922337203685477.5808"}};
  for (const auto& c : cases) EXPECT_EQ(FormatMils(c.units), c.mils) << c.units;
  EXPECT_EQ(FormatMils(12499.6), "1.25");
  EXPECT_EQ(FormatMils(std::numeric_limits<double>::quiet_NaN()), "0");
  EXPECT_EQ(FormatMils(std::numeric_limits<double>::infinity()), "0");
  EXPECT_EQ(FormatMils(-1e300), "-100000000000");
  EXPECT_EQ(FormatNumber(-0.00001), "0");
  EXPECT_EQ(FormatNumber(22.5), "22.5");
}

TEST(PreviewMarkup, EscapesMarkupAndNonAsciiBytes) {
  const struct {
    std::string in;
    const char* out;
  } cases[] = {{"GND", "GND"},
               {"<a&b>", "&lt;a&amp;b&gt;"},
               {"\"q\" 'a'", "&quot;q&quot; &#39;a&#39;"},
               {"caf\xE9", "caf&#xE9;"},
               {std::string("a\x01z\0", 4), "a&#xFFFD;z&#xFFFD;"},
               {"tab\there", "tab\there"}};
  for (const auto& c : cases) EXPECT_EQ(Escaped(c.in), c.out) << c.in;
}

TEST(PreviewScene, LegacyLayerOfIdentifiers) {
  const struct {
    uint32_t id;
    int legacy;
  } cases[] = {{0, 0},
               {1, 1},
               {32, 32},
               {74, 74},
               {82, 82},
               {83, 0},
               {0x0101'0001, 1},
               {0x0101'0005, 5},
               {0x0101'FFFF, 32},
               {0x0101'0020, 0},
               {0x0104'0002, 40},
               {0x0104'0011, 0},
               {0x0400'0003, 59},
               {0x0200'0001, 0}};
  for (const auto& c : cases) EXPECT_EQ(LegacyLayerOf(c.id), c.legacy) << std::hex << c.id;
}

TEST(PreviewScene, DefaultLayerNames) {
  EXPECT_EQ(DefaultLayerName(1), "TopLayer");
  EXPECT_EQ(DefaultLayerName(2), "MidLayer1");
  EXPECT_EQ(DefaultLayerName(32), "BottomLayer");
  EXPECT_EQ(DefaultLayerName(38), "BottomSolder");
  EXPECT_EQ(DefaultLayerName(40), "InternalPlane2");
  EXPECT_EQ(DefaultLayerName(56), "KeepOutLayer");
  EXPECT_EQ(DefaultLayerName(58), "Mechanical2");
  EXPECT_EQ(DefaultLayerName(74), "MultiLayer");
  EXPECT_EQ(DefaultLayerName(82), "ViaHoleLayer");
}

TEST(PreviewSvg, TrackIsRoundCappedLineInMils) {
  const BoardScene scene =
      SceneOf({On(kTopLayer, TrackShape{200 * kMil, 800 * kMil, 700 * kMil, 825 * kMil, 12 * kMil}, "VCC")});
  const std::string svg = BoardSvg(scene);
  EXPECT_NE(svg.find("<line data-kind=\"track\" data-layer=\"TopLayer\" data-net=\"VCC\" data-component=\"\" "
                     "x1=\"200\" y1=\"800\" x2=\"700\" y2=\"825\" stroke=\"currentColor\" stroke-width=\"12\" "
                     "stroke-linecap=\"round\""),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("data-width=\"12\""), std::string::npos);
}

TEST(PreviewSvg, BoardIsFlippedSoThatYRunsUp) {
  // Extent 0..1000 x 0..500 mil: the view box shows board Y as -y.
  const BoardScene scene = SceneOf({On(kTopLayer, FillShape{0, 0, 1000 * kMil, 500 * kMil, 0})});
  const ViewBox box = SceneViewBox(scene);
  const double margin = 1000 * 0.03 + 20;
  EXPECT_DOUBLE_EQ(box.x, -margin);
  EXPECT_DOUBLE_EQ(box.y, -500 - margin);
  EXPECT_DOUBLE_EQ(box.width, 1000 + 2 * margin);
  EXPECT_DOUBLE_EQ(box.height, 500 + 2 * margin);
  const std::string svg = BoardSvg(scene);
  EXPECT_NE(svg.find("viewBox=\"-50 -550 1100 600\""), std::string::npos) << svg;
  EXPECT_NE(svg.find("<g id=\"board\" transform=\"scale(1 -1)\">"), std::string::npos);
  EXPECT_NE(svg.find("width=\"1200\" height=\"655\""), std::string::npos);
}

TEST(PreviewSvg, ArcPaths) {
  const struct {
    ArcShape arc;
    const char* path;
  } cases[] = {
      // Full circles: two half arcs, whatever the turn count.
      {{100 * kMil, 0, 10 * kMil, 0, 360, kMil}, "M110 0A10 10 0 1 1 90 0A10 10 0 1 1 110 0Z"},
      {{100 * kMil, 0, 10 * kMil, 45, 45, kMil}, "M110 0A10 10 0 1 1 90 0A10 10 0 1 1 110 0Z"},
      // Counterclockwise with Y up: a quarter from 0 to 90 degrees.
      {{0, 0, 10 * kMil, 0, 90, kMil}, "M10 0A10 10 0 0 1 0 10"},
      {{0, 0, 10 * kMil, 180, 270, kMil}, "M-10 0A10 10 0 0 1 0 -10"},
      // More than half a turn takes the large arc; across 0 degrees wraps.
      {{0, 0, 10 * kMil, 0, 270, kMil}, "M10 0A10 10 0 1 1 0 -10"},
      {{0, 0, 10 * kMil, 270, 90, kMil}, "M0 -10A10 10 0 0 1 0 10"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ArcPath(c.arc), c.path) << c.arc.startAngle << ".." << c.arc.endAngle;
  }
}

TEST(PreviewSvg, PadOutlineByShapeCodeWithHoleAndRotation) {
  PadShape round{0, 0, 60 * kMil, 60 * kMil, 0, kShapeRound, 0, 0, "1"};
  EXPECT_EQ(PadPath(round),
            "M0 -30L0 -30A30 30 0 0 1 30 0L30 0A30 30 0 0 1 0 30L0 30A30 30 0 0 1 -30 0L-30 0A30 30 0 0 1 0 -30Z");

  PadShape rect{0, 0, 50 * kMil, 20 * kMil, 0, kShapeRectangle, 0, 0, "2"};
  EXPECT_EQ(PadPath(rect), "M-25 -10L25 -10L25 10L-25 10Z");
  rect.shape = 7;  // unknown codes draw as rectangles
  EXPECT_EQ(PadPath(rect), "M-25 -10L25 -10L25 10L-25 10Z");

  // Oval: the smaller side rounds fully.
  PadShape oval{0, 0, 50 * kMil, 20 * kMil, 0, kShapeRound, 0, 0, "3"};
  EXPECT_NE(PadPath(oval).find("A10 10 "), std::string::npos);

  PadShape rounded{0, 0, 40 * kMil, 20 * kMil, 0, kShapeRoundedRectangle, 40, 0, "4"};
  EXPECT_NE(PadPath(rounded).find("A4 4 "), std::string::npos);  // 40 % of 10
  rounded.cornerPercent = 0;
  EXPECT_NE(PadPath(rounded).find("A5 5 "), std::string::npos);

  PadShape drilled{0, 0, 60 * kMil, 60 * kMil, 35 * kMil, kShapeRectangle, 0, 0, "5"};
  EXPECT_EQ(PadPath(drilled), "M-30 -30L30 -30L30 30L-30 30ZM17.5 0A17.5 17.5 0 1 1 -17.5 0A17.5 17.5 0 1 1 17.5 0Z");

  PadShape turned{120 * kMil, 80 * kMil, 60 * kMil, 30 * kMil, 0, kShapeRectangle, 0, 45, "6"};
  const std::string svg = BoardSvg(SceneOf({On(kMultiLayer, turned, "GND", "U1")}));
  EXPECT_NE(svg.find("transform=\"translate(120 80) rotate(45)\""), std::string::npos) << svg;
  EXPECT_NE(svg.find("fill-rule=\"evenodd\""), std::string::npos);
  EXPECT_NE(svg.find("data-component=\"U1\""), std::string::npos);
}

TEST(PreviewSvg, ViaIsRingAroundItsHole) {
  const ViaShape via{10 * kMil, 20 * kMil, 40 * kMil, 20 * kMil};
  EXPECT_EQ(ViaPath(via), "M30 20A20 20 0 1 1 -10 20A20 20 0 1 1 30 20ZM20 20A10 10 0 1 1 0 20A10 10 0 1 1 20 20Z");
}

TEST(PreviewSvg, FillsAndTextsKeepTheirOrientation) {
  const std::string svg = BoardSvg(SceneOf({
      On(kTopLayer, FillShape{300 * kMil, 200 * kMil, 100 * kMil, 100 * kMil, 30}),
      On(kTopOverlay, TextShape{10 * kMil, 20 * kMil, 60 * kMil, 8 * kMil, 90, false, "R1"}),
      On(kTopOverlay + 1, TextShape{10 * kMil, 20 * kMil, 40 * kMil, 8 * kMil, 0, true, "REV"}),
  }));
  EXPECT_NE(svg.find("x=\"100\" y=\"100\" width=\"200\" height=\"100\" transform=\"rotate(30 200 150)\""),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("transform=\"translate(10 20) rotate(90) scale(1 -1)\" font-size=\"60\""), std::string::npos);
  EXPECT_NE(svg.find("transform=\"translate(10 20) scale(-1 -1)\" font-size=\"40\""), std::string::npos);
}

TEST(PreviewSvg, LayersAreGroupedBottomToTop) {
  const std::string svg = BoardSvg(SceneOf({
      On(57, TrackShape{0, 0, kMil, kMil, kMil}),
      On(kTopOverlay, TrackShape{0, 0, kMil, kMil, kMil}),
      On(kMultiLayer, ViaShape{0, 0, 4 * kMil, 2 * kMil}),
      On(kTopLayer, TrackShape{0, 0, kMil, kMil, kMil}),
      On(3, TrackShape{0, 0, kMil, kMil, kMil}),
      On(kBottomLayer, TrackShape{0, 0, kMil, kMil, kMil}),
      On(kTopLayer, TrackShape{0, 0, 2 * kMil, kMil, kMil}),
      On(34, TrackShape{0, 0, kMil, kMil, kMil}),
  }));
  const char* order[] = {"id=\"layer-34\"", "id=\"layer-32\"", "id=\"layer-3\"", "id=\"layer-1\"",
                         "id=\"layer-74\"", "id=\"layer-33\"", "id=\"layer-57\""};
  std::size_t last = 0;
  for (const char* group : order) {
    const std::size_t at = svg.find(group);
    ASSERT_NE(at, std::string::npos) << group;
    EXPECT_GT(at, last) << group;
    EXPECT_EQ(svg.find(group, at + 1), std::string::npos) << "one group per layer: " << group;
    last = at;
  }
  EXPECT_NE(svg.find("data-layer=\"TopLayer\" data-layer-number=\"1\" color=\"#e04040\""), std::string::npos);
  EXPECT_NE(svg.find("data-layer=\"BottomLayer\" data-layer-number=\"32\" color=\"#3c64e6\""), std::string::npos);
}

TEST(PreviewSvg, HostTextIsEscapedEverywhere) {
  BoardScene scene =
      SceneOf({On(kTopOverlay, TextShape{0, 0, 50 * kMil, 0, 0, false, "<b>&\"x\"</b>"}, "N\"1<", "U&1")});
  scene.layers.front().name = "Top\"Silk<";
  scene.unplaced = 3;
  const std::string svg = BoardSvg(scene);
  EXPECT_EQ(svg.find("<b>"), std::string::npos);
  EXPECT_NE(svg.find(">&lt;b&gt;&amp;&quot;x&quot;&lt;/b&gt;</text>"), std::string::npos) << svg;
  EXPECT_NE(svg.find("data-net=\"N&quot;1&lt;\" data-component=\"U&amp;1\""), std::string::npos);
  EXPECT_NE(svg.find("data-layer=\"Top&quot;Silk&lt;\""), std::string::npos);
  EXPECT_NE(svg.find("data-unplaced=\"3\""), std::string::npos);

  const std::string html = BoardHtml(scene, "</title><script>x</script>");
  EXPECT_EQ(html.find("<script>x"), std::string::npos);
  EXPECT_NE(html.find("&lt;/title&gt;&lt;script&gt;x&lt;/script&gt; - board preview</title>"), std::string::npos);
}

TEST(PreviewHtml, PageIsSelfContained) {
  const std::string html = BoardHtml(SceneOf({On(kTopLayer, TrackShape{0, 0, kMil, kMil, kMil}, "GND")}), "b.pcb");
  EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(html.find("<svg xmlns=\"http://www.w3.org/2000/svg\""), std::string::npos);
  EXPECT_EQ(html.find("<?xml"), std::string::npos);
  for (const char* external : {"src=", "<link", "href=", "url(", "import(", "fetch("}) {
    EXPECT_EQ(html.find(external), std::string::npos) << external;
  }
  // The only address is the SVG namespace.
  EXPECT_EQ(html.find("http", html.find("http") + 1), std::string::npos);
  for (const char* part : {"id=\"layers\"", "id=\"info\"", "window.orvikPreview", "'wheel'", "'pointerover'"}) {
    EXPECT_NE(html.find(part), std::string::npos) << part;
  }
  for (unsigned char c : html) EXPECT_LT(c, 0x80);
}

}  // namespace
}  // namespace orvik::host
