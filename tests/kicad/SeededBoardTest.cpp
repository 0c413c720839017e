// The KiCad export of shapes an import never makes: a board imported
// through the built plug-in, then changed in the stand-in host directly
// (other pad shapes, per-layer stacks, zero sizes, far-off coordinates,
// other layers, an empty fill, duplicate, empty and 8-bit net names). Checks what the
// export counts as changed, and leaves the KiCad file, the board dump and
// the net names KiCad must show in $ORVIK_KICAD_SEEDED_DIR (when set) for
// kicad_proof.py to load.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/orvik-host/HostModules.h"
#include "host/orvik-host/SceneReader.h"
#include "host/orvik-host/kicad/KicadExport.h"
#include "orvik/kovlan.h"
#include "orvik/layers.h"
#include "orvik/objectkinds.h"
#include "tests/e2e/HostFileExistence.h"
#include "tests/support/Plugin.h"
#include "tests/support/TestPaths.h"

namespace orvik::test {
namespace {

using host::kicad::Change;
using host::kicad::KicadReport;
using host::kicad::Written;

// Every record carries its marker in a coordinate, so that the test finds
// the object it makes after the import.
const char* const kSeedBoard = R"(ORVIK ASCII PCB 1.0
COMP U1 LIB "value one" SO8 LIB 1000 1000 0 0 0 0 1 0
COMP U2 LIB "value two" SO8 LIB 2000 1000 0 0 0 0 2 0
NET DUP 1 0 0 0
NET TWIN 2 0 0 0
NET NONAME 3 0 0 0
NET EIGHTBIT 4 0 0 0
NET NUL 5 0 0 0
PAD SQ 60 60 30 MULTI STD 1 901 1000 1 1 0
PAD SQ 60 60 30 MULTI STD 2 1102 1000 2 1 0
PAD EL 40 80 0 TL SMD 3 1003 1100 3 1 0
PAD SQ 50 50 0 TL SMD 4 1004 900 4 1 0
PAD SQ 60 60 30 MULTI STD 1 1905 1000 1 2 0
PAD SQ 50 50 0 BL SMD 2 2106 1000 2 2 0
PAD SQ 50 50 0 TL SMD 5 2007 1100 5 2 0
PAD SQ 70 70 40 MULTI STD F 3008 3000 1 0 0
LINE 10 0 101 100 500 100 1 0 0
LINE 10 0 102 100 500 100 1 0 0
LINE 8 12 103 0 4000 0 0 0 0
LINE 8 8 104 50 300 50 0 0 0
LINE 8 8 105 60 300 60 0 0 0
LINE 8 8 106 70 300 70 0 0 0
LINE 8 8 107 75 300 75 0 0 0
LINE 8 8 108 77 300 77 0 0 0
LINE 10 16 109 80 300 80 2 0 0
LINE 8 8 950 950 1050 951 0 1 0
LINE 10 0 950 1050 1050 1052 1 1 0
ARC 50 0 90 10 1 601 600 2 0 0
ARC 0 0 90 10 1 702 700 2 0 0
ARC 50 0 360 10 0 803 800 2 0 0
ARC 40 0 1 10 1 904 900 2 0 0
ARC 30 0 360 8 9 1005 1500 0 0 0
ARC 20 0 360 8 0 1006 1000 1 1 0
VIA STD 40 20 ROUND 301 300 1 0 0
VIA STD 40 20 ROUND 302 300 1 0 0
VIA STD 40 20 ROUND 1003 1000 1 1 0
TEXT "rotated" 50 1 8 8 201 200 0 0 0 0 0 0
TEXT "mirrored" 50 6 8 9 202 300 0 0 0 0 0 0
TEXT "with nul" 50 0 8 8 203 400 0 0 0 0 0 0
TEXT "fourth" 40 0 8 8 1004 1200 0 0 0 0 1 0
FILL 0 101 400 300 500 1 0 0
FILL 13 102 600 300 700 0 0 0
FILL 12 103 800 300 900 0 0 0
FILL 8 950 950 1050 1004 0 1 0
FILL 8 105 1600 300 1700 0 0 0
FILL 0 106 1800 106 1900 1 0 0
)";

constexpr int32_t kMil = 10000;

OrvikShortString Short(const std::string& text) {
  OrvikShortString s{};
  s.length = static_cast<uint8_t>(text.size());
  text.copy(s.text, text.size());
  return s;
}

template <typename T>
void Write(uint32_t handle, const char* entryPoint, int32_t position, T value) {
  ASSERT_EQ(KvHost_WriteAttribute(handle, entryPoint, position, &value, sizeof value), int32_t{sizeof value})
      << entryPoint << " " << position;
}

template <typename T>
void WriteOnLayer(uint32_t handle, const char* entryPoint, int layer, int32_t position, T value) {
  ASSERT_EQ(KvHost_WriteLayerAttribute(handle, entryPoint, layer, position, &value, sizeof value),
            int32_t{sizeof value})
      << entryPoint << " " << layer;
}

template <typename T>
T Read(uint32_t handle, const char* entryPoint, int32_t position) {
  T value{};
  KvHost_ReadAttribute(handle, entryPoint, position, &value, sizeof value);
  return value;
}

// The object of `kind` whose attribute at `position` of `entryPoint` holds
// `marker` mils.
uint32_t Find(uint8_t kind, const char* entryPoint, int32_t position, int32_t marker) {
  for (uint32_t h = 1; h <= static_cast<uint32_t>(KvHost_ObjectCount(0)) + 2; ++h) {
    if (KvHost_ObjectKind(h) == kind && Read<int32_t>(h, entryPoint, position) == marker * kMil) return h;
  }
  ADD_FAILURE() << "no object of kind " << int{kind} << " at " << marker;
  return 0;
}

uint32_t NetNamed(const std::string& name) {
  for (uint32_t h = 1; h <= static_cast<uint32_t>(KvHost_ObjectCount(0)) + 2; ++h) {
    if (KvHost_ObjectKind(h) != ORVIK_KIND_NET) continue;
    const auto s = Read<OrvikShortString>(h, "PcbApi_QueryNet", 1);
    if (std::string(s.text, s.length) == name) return h;
  }
  ADD_FAILURE() << "no net " << name;
  return 0;
}

host::KovlanApi LinkedKovlan() {
  host::KovlanApi api;
#define ORVIK_TEST_KOVLAN_SLOT(name) api.name = &KvHost_##name;
  ORVIK_HOST_KOVLAN_EXPORTS(ORVIK_TEST_KOVLAN_SLOT)
#undef ORVIK_TEST_KOVLAN_SLOT
  return api;
}

// Positions of the attributes changed, after mode and handle.
constexpr int32_t kLayerId = 2, kX = 6, kTrackX1 = 6, kPadTopXSize = 8, kPadTopShape = 15, kArcRadius = 8,
                  kFillRotation = 11, kTextText = 12, kComponentLayer = 2, kComponentRotation = 12, kNetName = 1;
constexpr uint8_t kRoundedRectangle = 9, kOctagon = 3, kNoSuchShape = 7, kFullStack = 2;

class SeededBoard : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { plugin_ = std::make_unique<Plugin>(); }
  static void TearDownTestSuite() { plugin_.reset(); }

  void SetUp() override {
    SetExistAnswer(ExistAnswer::FileSystem);
    KvHost_Reset();
    ASSERT_TRUE(plugin_->Import(dir_.WriteFile("seed.pcb", kSeedBoard)));
    Seed();
  }

  void Seed() {
    // Pads of U1: rounded rectangle, octagon, (oval from the file), unknown.
    const uint32_t rounded = Find(ORVIK_KIND_PAD, "PcbApi_QueryPad", kX, 901);
    Write<uint8_t>(rounded, "PcbApi_QueryPad", kPadTopShape, kRoundedRectangle);
    WriteOnLayer<uint8_t>(rounded, "PcbApi_QueryPadCRPercentageOnLayer", ORVIK_LAYER_TopLayer, 0, 40);
    Write<uint8_t>(Find(ORVIK_KIND_PAD, "PcbApi_QueryPad", kX, 1102), "PcbApi_QueryPad", kPadTopShape, kOctagon);
    Write<uint8_t>(Find(ORVIK_KIND_PAD, "PcbApi_QueryPad", kX, 1004), "PcbApi_QueryPad", kPadTopShape, kNoSuchShape);
    // (The two above keep the file's other shape on the inner and bottom
    // layers: their stacks differ too.) U2: a per-layer stack whose bottom
    // differs, a zero size, a corner beyond half the side.
    const uint32_t stacked = Find(ORVIK_KIND_PAD, "PcbApi_QueryPad", kX, 1905);
    Write<uint8_t>(stacked, "PcbApi_QueryPadStackMode", 0, kFullStack);
    WriteOnLayer<int32_t>(stacked, "PcbApi_QueryPadOrViaSizeOnLayer", ORVIK_LAYER_TopLayer, 0, 60 * kMil);
    WriteOnLayer<int32_t>(stacked, "PcbApi_QueryPadOrViaSizeOnLayer", ORVIK_LAYER_TopLayer, 1, 60 * kMil);
    WriteOnLayer<uint8_t>(stacked, "PcbApi_QueryPadOrViaShapeOnLayer", ORVIK_LAYER_TopLayer, 0, 2);
    WriteOnLayer<int32_t>(stacked, "PcbApi_QueryPadOrViaSizeOnLayer", ORVIK_LAYER_BottomLayer, 0, 90 * kMil);
    Write<int32_t>(Find(ORVIK_KIND_PAD, "PcbApi_QueryPad", kX, 2106), "PcbApi_QueryPad", kPadTopXSize + 4, 0);
    const uint32_t wide = Find(ORVIK_KIND_PAD, "PcbApi_QueryPad", kX, 2007);
    Write<uint8_t>(wide, "PcbApi_QueryPad", kPadTopShape, kRoundedRectangle);
    WriteOnLayer<uint8_t>(wide, "PcbApi_QueryPadCRPercentageOnLayer", ORVIK_LAYER_TopLayer, 0, 150);
    // U1 turned a quarter, U2 on the bottom side.
    for (uint32_t h = 1; h <= static_cast<uint32_t>(KvHost_ObjectCount(0)); ++h) {
      if (KvHost_ObjectKind(h) != ORVIK_KIND_COMPONENT) continue;
      if (Read<int32_t>(h, "PcbApi_QueryComponent", 9) == 1000 * kMil) {
        Write<double>(h, "PcbApi_QueryComponent", kComponentRotation, 90.0);
      } else {
        Write<uint8_t>(h, "PcbApi_QueryComponent", kComponentLayer, ORVIK_LAYER_BottomLayer);
      }
    }
    // Far off: 5 m away.
    Write<int32_t>(Find(ORVIK_KIND_TRACK, "PcbApi_QueryTrack", kTrackX1, 102), "PcbApi_QueryTrack", kTrackX1,
                   2000000000);
    Write<int32_t>(Find(ORVIK_KIND_VIA, "PcbApi_QueryVia", kX, 302), "PcbApi_QueryVia", kX, -2000000000);
    // Layers the reader never uses: drill drawing, keep-out, two high
    // mechanical layers and the drill guide (five on four shared layers).
    const struct {
      int32_t marker;
      uint32_t layer;
    } moved[] = {{104, ORVIK_LAYER_DrillDrawing},
                 {105, ORVIK_LAYER_KeepOutLayer},
                 {106, ORVIK_LAYER_Mechanical10},
                 {107, ORVIK_LAYER_Mechanical16},
                 {108, ORVIK_LAYER_DrillGuide}};
    for (const auto& m : moved) {
      Write<uint32_t>(Find(ORVIK_KIND_TRACK, "PcbApi_QueryTrack", kTrackX1, m.marker), "PcbApi_QueryTrack", kLayerId,
                      m.layer);
    }
    // A fill on MultiLayer; turned fills.
    Write<uint32_t>(Find(ORVIK_KIND_FILL, "PcbApi_QueryFill", kTrackX1, 105), "PcbApi_QueryFill", kLayerId,
                    ORVIK_LAYER_MultiLayer);
    Write<double>(Find(ORVIK_KIND_FILL, "PcbApi_QueryFill", kTrackX1, 101), "PcbApi_QueryFill", kFillRotation, 30.0);
    Write<double>(Find(ORVIK_KIND_FILL, "PcbApi_QueryFill", kTrackX1, 102), "PcbApi_QueryFill", kFillRotation, 45.0);
    // An arc of 2.54 nm radius and one degree: its three points coincide.
    Write<int32_t>(Find(ORVIK_KIND_ARC, "PcbApi_QueryArc", kX, 904), "PcbApi_QueryArc", kArcRadius, 1);
    // A text holding NUL.
    Write<OrvikShortString>(Find(ORVIK_KIND_TEXT, "PcbApi_QueryText", kX, 203), "PcbApi_QueryText", kTextText,
                            Short(std::string("with\0nul", 8)));
    // Net names: a duplicate, an empty one, 8-bit text, NUL.
    Write(NetNamed("TWIN"), "PcbApi_QueryNet", kNetName, Short("DUP"));
    Write(NetNamed("NONAME"), "PcbApi_QueryNet", kNetName, Short(""));
    Write(NetNamed("EIGHTBIT"), "PcbApi_QueryNet", kNetName, Short("\x80uro\x96\xE9\x81"));
    Write(NetNamed("NUL"), "PcbApi_QueryNet", kNetName, Short(std::string("N\0L", 3)));
  }

  static std::unique_ptr<Plugin> plugin_;
  TempDir dir_;
};
std::unique_ptr<Plugin> SeededBoard::plugin_;

// The counts of both copper stacks: the layers in use (MidLayer14 only,
// made even), or the host's whole stack, whose first plane's net (DUP) is
// on the board and whose second plane's net (VCC) is not.
TEST_F(SeededBoard, ExportCountsEveryChange) {
  const char* outDir = std::getenv("ORVIK_KICAD_SEEDED_DIR");
  const std::filesystem::path out = outDir != nullptr ? std::filesystem::path(outDir) : dir_.Path();
  std::filesystem::create_directories(out);
  const host::KovlanApi api = LinkedKovlan();
  const OrvikShortString planeNet = Short("DUP");
  ASSERT_EQ(KvHost_WriteLayerAttribute(api.BoardHandle(), "PcbApi_QueryInternalPlane", ORVIK_LAYER_InternalPlane1, 6,
                                       &planeNet, sizeof planeNet),
            int32_t{sizeof planeNet});
  ASSERT_EQ(KvHost_DumpJson(NarrowName(out / "seeded.json").c_str()), 0);
  // The names KiCad must show: as held, renamed, and decoded.
  std::ofstream(out / "seeded-nets.json", std::ios::binary)
      << R"(["DUP", "DUP#2", "\u20acuro\u2013\u00e9\u0081", "N\ufffdL"])";

  const struct {
    Written kind;
    int64_t count;
  } written[] = {
      {Written::kNets, 5},      {Written::kFootprints, 2},     {Written::kFreePadFootprints, 1},
      {Written::kPads, 8},      {Written::kVias, 2},           {Written::kTrackSegments, 4},
      {Written::kTrackArcs, 3}, {Written::kZones, 1},          {Written::kTexts, 4},
      {Written::kGraphics, 10}, {Written::kFootprintTexts, 6}, {Written::kFootprintGraphics, 4},
  };
  struct Counted {
    Change change;
    int64_t count;
  };
  const Counted changes[] = {
      {Change::kPlaneAsPowerLayer, 0},     {Change::kPadStackDiffers, 3},    {Change::kOctagonalPad, 1},
      {Change::kUnknownPadShape, 1},       {Change::kOneSidePadHole, 0},     {Change::kFullCircleAsTwoArcs, 1},
      {Change::kArcAsSegment, 2},          {Change::kComponentCopperNet, 2}, {Change::kOneLayerVia, 0},
      {Change::kComponentSide, 0},         {Change::kNetWithoutName, 1},     {Change::kNetNameTaken, 1},
      {Change::kNulCharacter, 2},          {Change::kLayerNameNotKept, 0},   {Change::kPadSizeToMinimum, 1},
      {Change::kNegativeSize, 0},          {Change::kCornerRatio, 1},        {Change::kFreePadInFootprint, 1},
      {Change::kComponentVia, 1},          {Change::kMultiLayerObject, 1},   {Change::kSharedLayer, 3},
      {Change::kPadOffCopper, 0},          {Change::kLabelTooSmall, 4},      {Change::kReferenceOverSilk, 0},
      {Change::kBoardOutline, 0},          {Change::kPlaneZone, 0},          {Change::kEmptyFill, 1},
      {Change::kBeyondCoordinateRange, 2}, {Change::kNotOnBoard, 0},         {Change::kUnusedInnerLayer, 4},
      {Change::kPlaneWithoutNet, 0},
  };
  static_assert(std::size(changes) == static_cast<std::size_t>(Change::kCount));
  const struct {
    const char* file;
    bool hostStack;
    int copperLayers;
    std::vector<Counted> differences;  // from `changes`
  } stacks[] = {
      {"seeded.kicad_pcb", false, 4, {}},
      {"seeded-host-stack.kicad_pcb",
       true,
       8,  // the stack's four inner layers and MidLayer14, made even
       {{Change::kPlaneAsPowerLayer, 2},
        {Change::kUnusedInnerLayer, 0},
        {Change::kPlaneZone, 1},
        {Change::kPlaneWithoutNet, 1}}},
  };
  for (const auto& stack : stacks) {
    SCOPED_TRACE(stack.file);
    KicadReport report;
    std::string error;
    host::kicad::KicadOptions options;
    options.hostStack = stack.hostStack;
    ASSERT_TRUE(host::kicad::ExportKicadBoard(api, host::ReadBoardScene(api), NarrowName(out / stack.file), report,
                                              error, options))
        << error;
    for (const auto& w : written) EXPECT_EQ(report.Of(w.kind), w.count) << static_cast<int>(w.kind);
    for (Counted c : changes) {
      for (const Counted& d : stack.differences) c.count = d.change == c.change ? d.count : c.count;
      EXPECT_EQ(report.Of(c.change), c.count) << host::kicad::Describe(c.change);
    }
    EXPECT_EQ(report.copperLayers, stack.copperLayers);
    EXPECT_EQ(report.page, "A4");
  }
}

// Primitives the import creates but places in no container: a pad whose
// component number matches none (numbers match on 0..65535 only) and a
// track on MultiLayer. No walk of the board reaches them; the preview's and
// the export's counts must still say they were left out. The component's
// own designator and comment texts are shown with it, not left out.
const char* const kUnreachedBoard = R"(ORVIK ASCII PCB 1.0
COMP U1 LIB "value" SO8 LIB 1000 1000 0 0 0 0 1 0
PAD SQ 60 60 30 MULTI STD 1 1000 1000 0 1 0
PAD SQ 60 60 30 MULTI STD 2 2000 1000 0 70001 0
LINE 8 15 100 100 200 100 0 0 0
LINE 8 0 100 200 200 200 0 0 0
)";

TEST(UnreachedPrimitives, CountAsLeftOut) {
  SetExistAnswer(ExistAnswer::FileSystem);
  KvHost_Reset();
  TempDir dir;
  const Plugin plugin;
  ASSERT_TRUE(plugin.Import(dir.WriteFile("unreached.pcb", kUnreachedBoard)));
  ASSERT_EQ(KvHost_ObjectCount(ORVIK_KIND_PAD), 2);
  ASSERT_EQ(KvHost_ObjectCount(ORVIK_KIND_TRACK), 2);

  const host::KovlanApi api = LinkedKovlan();
  const host::BoardScene scene = host::ReadBoardScene(api);
  EXPECT_EQ(scene.primitives.size(), 2u);  // U1's pad and the track on TopLayer
  EXPECT_EQ(scene.unplaced, 2);

  KicadReport report;
  std::string error;
  ASSERT_TRUE(host::kicad::ExportKicadBoard(api, scene, NarrowName(dir.Path() / "unreached.kicad_pcb"), report, error))
      << error;
  EXPECT_EQ(report.Of(Written::kPads), 1);
  EXPECT_EQ(report.Of(Written::kTrackSegments), 1);
  EXPECT_EQ(report.Of(Written::kFootprintTexts), 2);
  EXPECT_EQ(report.Of(Change::kNotOnBoard), 2);
}

}  // namespace
}  // namespace orvik::test
