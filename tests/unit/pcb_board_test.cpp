// The board mirror: defaults, the whole-board exchange, layer pairs and
// their names, and the stack walk.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "RTL/RT_PCB/PcbApi.h"
#include "RTL/RT_PCB/PcbBoard.h"
#include "orvik/kovlan.h"
#include "pcb_sync_slots.h"
#include "tests/support/StandInHost.h"

namespace orvik {
namespace {

using test::JournalLines;
using testing::Field;
using testing::SlotGroup;
using testing::SyncSlot;
using testing::Text;

// ---------------------------------------------------------------- pure ----

TEST(PcbBoardPure, NewBoardHasItsDefaults) {
  const TPcbBoard board(77);
  EXPECT_EQ(board.BoardHandle, 77u);
  for (const TDielectric* d : {&board.TopDielectric, &board.BottomDielectric}) {
    EXPECT_EQ(d->Material, "FR-4");
    EXPECT_EQ(d->DielectricType, 1);
    EXPECT_EQ(d->DielectricConstant, 4.8);
    EXPECT_EQ(d->Height, 126000);
  }
  EXPECT_EQ(board.SplitPlaneMode, 1);
  EXPECT_EQ(board.CurrentLayer, 0);
  EXPECT_TRUE(board.LayerPairs.empty());
  EXPECT_EQ(board.Layers[0], nullptr);
  for (int n = 1; n <= 82; ++n) {
    const TLayerObject* layer = board.Layers[static_cast<std::size_t>(n)].get();
    ASSERT_NE(layer, nullptr) << n;
    EXPECT_EQ(layer->Layer, n);
    EXPECT_EQ(layer->BoardHandle, 77u);
    EXPECT_EQ(layer->LayerName.View(), LegacyLayerName(static_cast<TLegacyLayer>(n)));
    EXPECT_EQ(layer->CopperThickness, 14000);
    EXPECT_EQ(layer->Dielectric.Material, "FR-4");
    EXPECT_EQ(layer->Dielectric.DielectricType, 1);
    EXPECT_EQ(layer->Dielectric.DielectricConstant, 4.8);
    EXPECT_EQ(layer->Dielectric.Height, 126000);
    EXPECT_EQ(layer->PrevLayer, 0);
    EXPECT_EQ(layer->NextLayer, 0);
    const auto* plane = dynamic_cast<const TInternalPlane*>(layer);
    EXPECT_EQ(plane != nullptr, n >= 39 && n <= 54) << n;
    if (plane != nullptr) {
      EXPECT_EQ(plane->NetName, "(No Net)");
    }
  }
  EXPECT_EQ(board.Layers[1]->LayerName, "TopLayer");
  EXPECT_EQ(board.Layers[54]->LayerName, "InternalPlane16");
}

TEST(PcbBoardPure, NewLayerPairIsEmptyOnNoLayer) {
  const TPcblayerPair pair;
  EXPECT_TRUE(pair.PairName.empty());
  EXPECT_EQ(pair.Layer1, layer::NoLayer);
  EXPECT_EQ(pair.Layer2, layer::NoLayer);
  EXPECT_EQ(pair.PairByte1, 0);
  EXPECT_EQ(pair.PairByte2, 0);
}

// Links `order` top to bottom; every other layer gets a layer above it so
// that the walk starts at order[0].
void LinkStack(TPcbBoard& board, const std::vector<int>& order) {
  for (int n = 1; n <= 82; ++n) board.Layers[static_cast<std::size_t>(n)]->PrevLayer = 82;
  for (std::size_t i = 0; i < order.size(); ++i) {
    auto& layer = *board.Layers[static_cast<std::size_t>(order[i])];
    layer.PrevLayer = static_cast<TLegacyLayer>(i == 0 ? 0 : order[i - 1]);
    layer.NextLayer = static_cast<TLegacyLayer>(i + 1 < order.size() ? order[i + 1] : 0);
  }
}

TEST(PcbBoardPure, WalkFollowsTheStack) {
  TPcbBoard board(1);
  EXPECT_EQ(board.GetFirstLayer(), board.Layers[1].get());  // every layer is a head: number order
  LinkStack(board, {33, 1, 39, 2, 32, 34});
  EXPECT_EQ(board.GetFirstLayer(), board.Layers[33].get());
  EXPECT_EQ(board.GetNextLayer(board.Layers[39].get()), board.Layers[2].get());
  EXPECT_EQ(board.GetNextLayer(board.Layers[34].get()), nullptr);
  EXPECT_EQ(board.GetNextLayer(nullptr), nullptr);

  const TLegacyLayerSet set = ElectricalLayerSet();
  struct Case {
    int layer;
    int position;
  };
  for (const Case c : {Case{1, 1}, Case{39, 2}, Case{2, 3}, Case{32, 4},  // in the stack and the set
                       Case{33, 0}, Case{34, 0}, Case{57, 0},             // not in the set
                       Case{3, 4}}) {                                     // in the set, not in the stack
    EXPECT_EQ(board.CountLayersUpTo(set, board.Layers[static_cast<std::size_t>(c.layer)].get()), c.position) << c.layer;
  }
  EXPECT_EQ(board.CountLayersUpTo(set, nullptr), 0);
}

TEST(PcbBoardPure, WalkEndsOnALoopingStack) {
  TPcbBoard board(1);
  LinkStack(board, {1, 2, 3});
  board.Layers[3]->NextLayer = 2;  // 1 -> 2 -> 3 -> 2 -> ...
  const TLegacyLayerSet set = ElectricalLayerSet();
  EXPECT_EQ(board.CountLayersUpTo(set, board.Layers[32].get()), 3);
  EXPECT_EQ(board.CountLayersUpTo(set, board.Layers[3].get()), 3);

  board.Layers[3]->NextLayer = 3;  // a layer below itself
  EXPECT_EQ(board.CountLayersUpTo(set, board.Layers[32].get()), 3);

  // A stack without a head is never walked.
  board.Layers[1]->PrevLayer = 3;
  EXPECT_EQ(board.GetFirstLayer(), nullptr);
  EXPECT_EQ(board.CountLayersUpTo(set, board.Layers[1].get()), 0);
}

TEST(PcbBoardPure, WalkEndsAtALinkAboveTheLastLayer) {
  TPcbBoard board(1);
  LinkStack(board, {1, 2});
  for (const int link : {83, 200, 255}) {
    board.Layers[2]->NextLayer = static_cast<TLegacyLayer>(link);
    EXPECT_EQ(board.GetNextLayer(board.Layers[2].get()), nullptr) << link;
    EXPECT_EQ(board.CountLayersUpTo(ElectricalLayerSet(), board.Layers[32].get()), 2) << link;
  }
}

// ---------------------------------------------------------- with host ----

using PcbBoardHost = test::FreshHost;

TEST_F(PcbBoardHost, AddObjectPutsTheObjectOnTheBoard) {
  TPcbBoard board(pcbapi::GetCurrentBoardHandle());
  ASSERT_EQ(board.BoardHandle, KvHost_BoardHandle());

  KvHost_SetJournal(1);
  EXPECT_EQ(board.AddObject(0), 1);
  EXPECT_EQ(JournalLines(), std::vector<std::string>{});

  const std::uint32_t track = pcbapi::CreateObject(4);
  ASSERT_NE(track, 0u);
  EXPECT_EQ(board.AddObject(track), 0);
  EXPECT_EQ(test::Members(board.BoardHandle), std::vector<std::uint32_t>{track});
}

TEST_F(PcbBoardHost, ReadRunsTheStepsInOrder) {
  TPcbBoard board(KvHost_BoardHandle());
  KvHost_SetJournal(1);
  board.SyncWithHost(smRead);
  std::vector<std::string> names;
  for (const std::string& line : JournalLines()) {
    std::string name = line.substr(0, line.find(' '));
    if (names.empty() || names.back() != name) names.push_back(name);
  }
  const std::vector<std::string> expected = {
      "PcbApi_QueryBoard",
      "PcbApi_QueryBoardLayerInfo",
      // each layer: its own query, then its dielectric
      "PcbApi_QueryLayer",
      "PcbApi_QueryLayerDielectric",
  };
  ASSERT_GE(names.size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 4), expected);
  const std::vector<std::string> tail = {"PcbApi_QueryBoardSplitPlaneMode",
                                         "PcbApi_QueryBoardGridsEx",
                                         "PcbApi_QueryBoardOutputOptions",
                                         "PcbApi_QueryBoardOutputOptionsPlotLayers",
                                         "PcbApi_QueryBoardOutputOptionsFlipLayers",
                                         "PcbApi_QueryBoardGerberOptions",
                                         "PcbApi_QueryBoardPrinterOptions",
                                         "PcbApi_QueryBoardPrinterOptionsPlotterPen",
                                         "PcbApi_QueryBoardPrinterOptionsCompositeLayer",
                                         "PcbApi_QueryBoardAdvancedPlacerOptions",
                                         "PcbApi_QueryBoardEngineeringChangeOrderOptions",
                                         "PcbApi_QueryBoardLayerPairsCount"};
  const auto start = std::find(names.begin(), names.end(), tail.front());
  ASSERT_NE(start, names.end());
  ASSERT_GE(static_cast<std::size_t>(names.end() - start), tail.size());
  EXPECT_EQ(std::vector<std::string>(start, start + static_cast<std::ptrdiff_t>(tail.size())), tail);
  EXPECT_EQ(names.back(), "PcbApi_QueryBoardExternalDielectrics");

  int layerCalls = 0, planeCalls = 0, penCalls = 0, plotCalls = 0;
  for (const std::string& line : JournalLines()) {
    const std::string name = line.substr(0, line.find(' '));
    layerCalls += name == "PcbApi_QueryLayer";
    planeCalls += name == "PcbApi_QueryInternalPlane";
    penCalls += name == "PcbApi_QueryBoardPrinterOptionsPlotterPen";
    plotCalls += name == "PcbApi_QueryBoardOutputOptionsPlotLayers";
  }
  EXPECT_EQ(layerCalls, 82 - 16);
  EXPECT_EQ(planeCalls, 16);
  EXPECT_EQ(penCalls, 8);
  EXPECT_EQ(plotCalls, 109);
}

std::vector<SlotGroup> BoardSlots(TPcbBoard& b) {
  auto& g = b.General;
  auto& gr = b.Grids;
  auto& o = b.OutputOptions;
  auto& ge = b.GerberOptions;
  auto& p = b.PrinterOptions;
  auto& t = b.TopDielectric;
  auto& bo = b.BottomDielectric;
  std::vector<SlotGroup> groups;
  groups.push_back(
      {"PcbApi_QueryBoard",
       -1,
       {Field(0, g.Value1), Text(1, g.Text), Field(2, g.Byte1), Field(3, g.Values[0]), Field(4, g.Values[1]),
        Field(5, g.Values[2]), Field(6, g.Values[3]), Field(7, g.Byte2), Field(9, b.LastValue)}});
  groups.push_back({"PcbApi_QueryBoardSplitPlaneMode", -1, {Field(0, b.SplitPlaneMode)}});
  groups.push_back({"PcbApi_QueryBoardGridsEx",
                    -1,
                    {Field(0, gr.Bytes[0]), Field(1, gr.Bytes[1]), Field(2, gr.Bytes[2]), Field(3, gr.Bytes[3]),
                     Field(4, gr.Grids1[0]), Field(5, gr.Grids1[1]), Field(6, gr.Grids1[2]), Field(7, gr.Grids1[3]),
                     Field(8, gr.Value), Field(9, gr.Byte), Field(10, gr.Grids2[0]), Field(11, gr.Grids2[1]),
                     Field(12, gr.Grids2[2]), Field(13, gr.Grids2[3])}});
  SlotGroup output{"PcbApi_QueryBoardOutputOptions", -1, {Field(0, o.Values[0]), Field(1, o.Values[1])}};
  for (int i = 0; i < 22; ++i) output.slots.push_back(Field(2 + i, o.Bytes[static_cast<std::size_t>(i)]));
  groups.push_back(std::move(output));
  groups.push_back(
      {"PcbApi_QueryBoardGerberOptions",
       -1,
       {Field(0, ge.Bytes1[0]), Field(1, ge.Bytes1[1]), Field(2, ge.Bytes1[2]), Field(3, ge.Bytes1[3]),
        Field(4, ge.Bytes1[4]), Field(5, ge.Bytes1[5]), Field(6, ge.Bytes1[6]), Field(7, ge.Values1[0]),
        Field(8, ge.Values1[1]), Field(9, ge.Values1[2]), Field(10, ge.Values1[3]), Field(11, ge.Values1[4]),
        Text(12, ge.Text), Field(13, ge.Value6), Field(14, ge.Bytes2[0]), Field(15, ge.Bytes2[1]),
        Field(16, ge.Values2[0]), Field(17, ge.Values2[1]), Field(18, ge.Byte10)}});
  groups.push_back({"PcbApi_QueryBoardPrinterOptions",
                    -1,
                    {Text(0, p.Texts[0]),     Text(1, p.Texts[1]),    Text(2, p.Texts[2]),    Field(3, p.Bytes1[0]),
                     Field(4, p.Bytes1[1]),   Field(5, p.Bytes1[2]),  Field(6, p.Bytes1[3]),  Field(7, p.Bytes1[4]),
                     Field(8, p.Bytes1[5]),   Field(9, p.Value1),     Field(10, p.Reals1[0]), Field(11, p.Reals1[1]),
                     Field(12, p.Reals1[2]),  Field(13, p.Block),     Field(14, p.Bytes2[0]), Field(15, p.Bytes2[1]),
                     Field(16, p.Reals2[0]),  Field(17, p.Reals2[1]), Field(18, p.Reals2[2]), Field(19, p.Values2[0]),
                     Field(20, p.Values2[1]), Field(21, p.Bytes3[0]), Field(22, p.Bytes3[1]), Field(23, p.Bytes3[2]),
                     Field(24, p.Bytes3[3]),  Field(25, p.Bytes3[4])}});
  groups.push_back(
      {"PcbApi_QueryBoardAdvancedPlacerOptions",
       -1,
       {Text(0, b.PlacerOptions.Texts[0]), Text(1, b.PlacerOptions.Texts[1]), Field(2, b.PlacerOptions.Bytes[0]),
        Field(3, b.PlacerOptions.Bytes[1]), Field(4, b.PlacerOptions.Bytes[2]), Field(5, b.PlacerOptions.Bytes[3])}});
  groups.push_back({"PcbApi_QueryBoardEngineeringChangeOrderOptions",
                    -1,
                    {Field(0, b.EcoOptions.Byte), Text(1, b.EcoOptions.Text)}});
  groups.push_back(
      {"PcbApi_QueryBoardExternalDielectrics",
       -1,
       {Text(0, t.Material), Field(1, t.DielectricType), Field(2, t.DielectricConstant), Field(3, t.Height),
        Text(4, bo.Material), Field(5, bo.DielectricType), Field(6, bo.DielectricConstant), Field(7, bo.Height)}});
  // Per-layer values, sampled on an ordinary layer and an internal plane.
  for (const int n : {5, 40}) {
    auto& layer = *b.Layers[static_cast<std::size_t>(n)];
    SlotGroup own{n == 40 ? "PcbApi_QueryInternalPlane" : "PcbApi_QueryLayer",
                  n,
                  {Text(0, layer.LayerName), Field(1, layer.CopperThickness), Field(2, layer.LayerByte1),
                   Field(3, layer.LayerByte2)}};
    if (n == 40) {
      own.slots.push_back(Text(6, static_cast<TInternalPlane&>(layer).NetName));
    } else {
      own.slots.push_back(Field(6, layer.LayerByte3));
    }
    groups.push_back(std::move(own));
    groups.push_back({"PcbApi_QueryLayerDielectric",
                      n,
                      {Text(0, layer.Dielectric.Material), Field(1, layer.Dielectric.DielectricType),
                       Field(2, layer.Dielectric.DielectricConstant), Field(3, layer.Dielectric.Height)}});
    groups.push_back({"PcbApi_QueryBoardLayerInfo", n, {Field(2, b.LayerInfo[static_cast<std::size_t>(n)])}});
    auto& composite = p.CompositeLayers[static_cast<std::size_t>(n)];
    groups.push_back({"PcbApi_QueryBoardPrinterOptionsCompositeLayer",
                      n,
                      {Field(0, composite.Value1), Field(1, composite.Value2), Field(2, composite.Byte),
                       Field(3, composite.Value3)}});
    groups.push_back(
        {"PcbApi_QueryBoardOutputOptionsPlotLayers", n, {Field(0, o.PlotLayers[static_cast<std::size_t>(n)])}});
    groups.push_back(
        {"PcbApi_QueryBoardOutputOptionsFlipLayers", n, {Field(0, o.FlipLayers[static_cast<std::size_t>(n)])}});
  }
  groups.push_back(
      {"PcbApi_QueryBoardPrinterOptionsPlotterPen", 7, {Field(0, p.Pens[7].Value1), Field(1, p.Pens[7].Value2)}});
  return groups;
}

TEST_F(PcbBoardHost, WritePutsEveryValueAtItsPosition) {
  TPcbBoard board(KvHost_BoardHandle());
  board.SyncWithHost(smRead);
  board.CurrentLayer = 57;
  testing::ExpectWritten([&](TSyncMode mode) { board.SyncWithHost(mode); }, board.BoardHandle, BoardSlots(board));
  std::uint32_t current = 0;
  EXPECT_EQ(KvHost_ReadAttribute(board.BoardHandle, "PcbApi_QueryBoard", 8, &current, sizeof current), 4);
  EXPECT_EQ(current, 57u);  // the legacy-coded identifier of Mechanical1
}

TEST_F(PcbBoardHost, ReadFillsEveryValueFromItsPosition) {
  TPcbBoard board(KvHost_BoardHandle());
  const std::uint32_t mechanical100 = 0x04000064;
  ASSERT_EQ(KvHost_WriteAttribute(board.BoardHandle, "PcbApi_QueryBoard", 8, &mechanical100, 4), 4);
  testing::ExpectRead([&](TSyncMode mode) { board.SyncWithHost(mode); }, board.BoardHandle, BoardSlots(board));
  EXPECT_EQ(board.CurrentLayer, 72);  // clamped to Mechanical16
  EXPECT_EQ(board.Grids.Copy7, board.Grids.Grids1[2]);
  EXPECT_EQ(board.Grids.Copy13, board.Grids.Grids2[2]);
}

// ---------------------------------------------------------- layer pairs ---

TEST_F(PcbBoardHost, ReadNamesPairsTopOfStackFirst) {
  struct Case {
    TLayerId layer1, layer2;
    const char* name;
  };
  const Case cases[] = {
      {layer::TopLayer, layer::BottomLayer, "TopLayer - BottomLayer"},
      {layer::BottomLayer, layer::TopLayer, "TopLayer - BottomLayer"},
      {layer::TopLayer, layer::TopLayer, "TopLayer - TopLayer"},
      // Neither layer is electrical: both at position 0, Layer2 first.
      {57, 58, "Mechanical2 - Mechanical1"},
      {layer::TopOverlay, layer::BottomOverlay, "BottomOverlay - TopOverlay"},
      // A side that converts to NoLayer goes by that name, at position 0.
      {layer::NoLayer, layer::BottomLayer, "NoLayer - BottomLayer"},
      {layer::TopLayer, layer::NoLayer, "NoLayer - TopLayer"},
  };
  std::vector<std::uint32_t> ids;
  for (const Case& c : cases) {
    ids.push_back(c.layer1);
    ids.push_back(c.layer2);
  }
  ASSERT_EQ(KvHost_SetLayerPairs(static_cast<std::int32_t>(std::size(cases)), ids.data()), 0);

  TPcbBoard board(KvHost_BoardHandle());
  board.SyncWithHost(smRead);
  ASSERT_EQ(board.LayerPairs.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(board.LayerPairs[i].Layer1, cases[i].layer1) << i;
    EXPECT_EQ(board.LayerPairs[i].Layer2, cases[i].layer2) << i;
    EXPECT_EQ(board.LayerPairs[i].PairName.Str(), cases[i].name) << i;
  }

  // A second read replaces the pairs instead of adding to them.
  board.SyncWithHost(smRead);
  EXPECT_EQ(board.LayerPairs.size(), std::size(cases));
}

TEST_F(PcbBoardHost, DefaultBoardHasTheTopBottomPair) {
  TPcbBoard board(KvHost_BoardHandle());
  board.SyncWithHost(smRead);
  ASSERT_FALSE(board.LayerPairs.empty());
  EXPECT_EQ(board.LayerPairs[0].PairName, "TopLayer - BottomLayer");
}

TEST_F(PcbBoardHost, PairNamesFollowTheHostsStackAndLayerNames) {
  // MidLayer1 on top, then the bottom layer, then the top layer.
  ASSERT_EQ(KvHost_SetLayerLink(2, 0, 32), 0);
  ASSERT_EQ(KvHost_SetLayerLink(32, 2, 1), 0);
  ASSERT_EQ(KvHost_SetLayerLink(1, 32, 0), 0);
  OrvikShortString name{};
  name.length = 6;
  std::memcpy(name.text, "Bottom", 6);
  ASSERT_EQ(KvHost_WriteLayerAttribute(KvHost_BoardHandle(), "PcbApi_QueryLayer", 32, 0, &name, sizeof name), 256);
  const std::uint32_t ids[] = {layer::TopLayer, layer::BottomLayer};
  ASSERT_EQ(KvHost_SetLayerPairs(1, ids), 0);

  TPcbBoard board(KvHost_BoardHandle());
  board.SyncWithHost(smRead);
  EXPECT_EQ(board.GetFirstLayer(), board.Layers[2].get());
  ASSERT_EQ(board.LayerPairs.size(), 1u);
  EXPECT_EQ(board.LayerPairs[0].PairName, "Bottom - TopLayer");
}

TEST_F(PcbBoardHost, FailedCountLeavesNoPairs) {
  TPcbBoard board(0xDEAD);  // no such board: every host call fails
  board.LayerPairs.emplace_back();
  board.LayerPairs.emplace_back();
  board.SyncWithHost(smRead);
  EXPECT_TRUE(board.LayerPairs.empty());
}

TEST_F(PcbBoardHost, WrittenPairsReadBack) {
  TPcbBoard board(KvHost_BoardHandle());
  board.SyncWithHost(smRead);
  board.LayerPairs.clear();
  for (const auto& [l1, l2, b1, b2] : {std::tuple<TLayerId, TLayerId, int, int>{1, 32, 7, 9}, {3, 40, 11, 13}}) {
    TPcblayerPair pair;
    pair.Layer1 = l1;
    pair.Layer2 = l2;
    pair.PairByte1 = static_cast<std::uint8_t>(b1);
    pair.PairByte2 = static_cast<std::uint8_t>(b2);
    board.LayerPairs.push_back(pair);
  }
  board.SyncWithHost(smWrite);

  TPcbBoard again(KvHost_BoardHandle());
  again.SyncWithHost(smRead);
  ASSERT_EQ(again.LayerPairs.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(again.LayerPairs[i].Layer1, board.LayerPairs[i].Layer1);
    EXPECT_EQ(again.LayerPairs[i].Layer2, board.LayerPairs[i].Layer2);
    EXPECT_EQ(again.LayerPairs[i].PairByte1, board.LayerPairs[i].PairByte1);
    EXPECT_EQ(again.LayerPairs[i].PairByte2, board.LayerPairs[i].PairByte2);
  }
}

}  // namespace
}  // namespace orvik
