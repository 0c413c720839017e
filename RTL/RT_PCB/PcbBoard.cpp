#include "RTL/RT_PCB/PcbBoard.h"

#include <algorithm>
#include <string>
#include <utility>

#include "RTL/RT_PCB/PcbApi.h"

namespace orvik {

namespace {

constexpr TLegacyLayer kFirstInternalPlane = 39;
constexpr TLegacyLayer kLastInternalPlane = 54;
// More drill pairs than this would be a host fault; the rest is not read.
constexpr std::int32_t kMaxLayerPairs = 65536;

}  // namespace

TLegacyLayerSet ElectricalLayerSet() noexcept {
  TLegacyLayerSet set;
  for (int l = 1; l <= 32; ++l) set.set(static_cast<std::size_t>(l));
  for (int l = kFirstInternalPlane; l <= kLastInternalPlane; ++l) set.set(static_cast<std::size_t>(l));
  return set;
}

TPcbBoard::TPcbBoard(std::uint32_t boardHandle) : BoardHandle(boardHandle) {
  for (int n = 1; n <= kMaxLegacyLayer; ++n) {
    const auto layer = static_cast<TLegacyLayer>(n);
    if (layer >= kFirstInternalPlane && layer <= kLastInternalPlane) {
      Layers[layer] = std::make_unique<TInternalPlane>(boardHandle, layer);
    } else {
      Layers[layer] = std::make_unique<TLayerObject>(boardHandle, layer);
    }
  }
}

std::int32_t TPcbBoard::AddObject(std::uint32_t handle) {
  if (handle == 0) return 1;
  return pcbapi::AddObjectToContainer(BoardHandle, handle);
}

TLayerObject* TPcbBoard::Layer(TLegacyLayer layer) const noexcept {
  if (layer == 0 || layer > kMaxLegacyLayer) return nullptr;
  return Layers[layer].get();
}

TLayerObject* TPcbBoard::GetFirstLayer() const noexcept {
  for (int n = 1; n <= kMaxLegacyLayer; ++n) {
    if (Layers[static_cast<std::size_t>(n)]->PrevLayer == 0) return Layers[static_cast<std::size_t>(n)].get();
  }
  return nullptr;
}

TLayerObject* TPcbBoard::GetNextLayer(const TLayerObject* layer) const noexcept {
  if (layer == nullptr) return nullptr;
  return Layer(layer->NextLayer);
}

std::int32_t TPcbBoard::CountLayersUpTo(const TLegacyLayerSet& set, const TLayerObject* layer) const noexcept {
  if (layer == nullptr || !set.test(layer->Layer)) return 0;
  std::bitset<kMaxLegacyLayer + 1> visited;
  std::int32_t count = 0;
  for (const TLayerObject* current = GetFirstLayer(); current != nullptr && !visited.test(current->Layer);
       current = GetNextLayer(current)) {
    visited.set(current->Layer);
    if (set.test(current->Layer)) ++count;
    if (current->Layer == layer->Layer) break;
  }
  return count;
}

std::int32_t TPcbBoard::SyncGeneral(TSyncMode mode) {
  TLayerId current = LayerIdFromLegacy(CurrentLayer);
  const std::int32_t result = pcbapi::QueryBoard(
      mode, BoardHandle, &General.Value1, HostArg(General.Text), &General.Byte1, &General.Values[0], &General.Values[1],
      &General.Values[2], &General.Values[3], &General.Byte2, &current, &LastValue);
  CurrentLayer = LegacyLayerFromLayerId(current);
  return result;
}

void TPcbBoard::SyncGrids(TSyncMode mode) {
  auto& g = Grids;
  pcbapi::QueryBoardGridsEx(mode, BoardHandle, &g.Bytes[0], &g.Bytes[1], &g.Bytes[2], &g.Bytes[3], &g.Grids1[0],
                            &g.Grids1[1], &g.Grids1[2], &g.Grids1[3], &g.Value, &g.Byte, &g.Grids2[0], &g.Grids2[1],
                            &g.Grids2[2], &g.Grids2[3]);
  g.Copy7 = g.Grids1[2];
  g.Copy13 = g.Grids2[2];
}

void TPcbBoard::SyncOutputOptions(TSyncMode mode) {
  auto& o = OutputOptions;
  auto& b = o.Bytes;
  pcbapi::QueryBoardOutputOptions(mode, BoardHandle, &o.Values[0], &o.Values[1], &b[0], &b[1], &b[2], &b[3], &b[4],
                                  &b[5], &b[6], &b[7], &b[8], &b[9], &b[10], &b[11], &b[12], &b[13], &b[14], &b[15],
                                  &b[16], &b[17], &b[18], &b[19], &b[20], &b[21]);
  for (int i = 1; i <= kOutputLayerCount; ++i) {
    pcbapi::QueryBoardOutputOptionsPlotLayers(mode, BoardHandle, static_cast<std::uint8_t>(i),
                                              &o.PlotLayers[static_cast<std::size_t>(i)]);
  }
  for (int i = 1; i <= kOutputLayerCount; ++i) {
    pcbapi::QueryBoardOutputOptionsFlipLayers(mode, BoardHandle, static_cast<std::uint8_t>(i),
                                              &o.FlipLayers[static_cast<std::size_t>(i)]);
  }
}

void TPcbBoard::SyncGerberOptions(TSyncMode mode) {
  auto& g = GerberOptions;
  pcbapi::QueryBoardGerberOptions(mode, BoardHandle, &g.Bytes1[0], &g.Bytes1[1], &g.Bytes1[2], &g.Bytes1[3],
                                  &g.Bytes1[4], &g.Bytes1[5], &g.Bytes1[6], &g.Values1[0], &g.Values1[1], &g.Values1[2],
                                  &g.Values1[3], &g.Values1[4], HostArg(g.Text), &g.Value6, &g.Bytes2[0], &g.Bytes2[1],
                                  &g.Values2[0], &g.Values2[1], &g.Byte10);
}

void TPcbBoard::SyncPrinterOptions(TSyncMode mode) {
  auto& p = PrinterOptions;
  pcbapi::QueryBoardPrinterOptions(mode, BoardHandle, HostArg(p.Texts[0]), HostArg(p.Texts[1]), HostArg(p.Texts[2]),
                                   &p.Bytes1[0], &p.Bytes1[1], &p.Bytes1[2], &p.Bytes1[3], &p.Bytes1[4], &p.Bytes1[5],
                                   &p.Value1, &p.Reals1[0], &p.Reals1[1], &p.Reals1[2], p.Block.data(), &p.Bytes2[0],
                                   &p.Bytes2[1], &p.Reals2[0], &p.Reals2[1], &p.Reals2[2], &p.Values2[0], &p.Values2[1],
                                   &p.Bytes3[0], &p.Bytes3[1], &p.Bytes3[2], &p.Bytes3[3], &p.Bytes3[4]);
  for (int pen = 1; pen <= kPlotterPenCount; ++pen) {
    auto& entry = p.Pens[static_cast<std::size_t>(pen)];
    pcbapi::QueryBoardPrinterOptionsPlotterPen(mode, BoardHandle, pen, &entry.Value1, &entry.Value2);
  }
  for (int n = 1; n <= kMaxLegacyLayer; ++n) {
    auto& entry = p.CompositeLayers[static_cast<std::size_t>(n)];
    pcbapi::QueryBoardPrinterOptionsCompositeLayer(mode, BoardHandle, static_cast<std::uint8_t>(n), &entry.Value1,
                                                   &entry.Value2, &entry.Byte, &entry.Value3);
  }
}

void TPcbBoard::NamePair(TPcblayerPair& pair) const {
  const TLegacyLayer legacy1 = LegacyLayerFromLayerId(pair.Layer1);
  const TLegacyLayer legacy2 = LegacyLayerFromLayerId(pair.Layer2);
  const TLegacyLayerSet set = ElectricalLayerSet();
  const TLayerObject* layer1 = Layer(legacy1);
  const TLayerObject* layer2 = Layer(legacy2);
  const std::int32_t position2 = CountLayersUpTo(set, layer2);
  const std::int32_t position1 = CountLayersUpTo(set, layer1);
  // A side without a layer object (NoLayer) goes by the legacy name.
  const std::string name1(layer1 != nullptr ? layer1->LayerName.View() : LegacyLayerName(legacy1));
  const std::string name2(layer2 != nullptr ? layer2->LayerName.View() : LegacyLayerName(legacy2));
  // The layer higher in the stack comes first; on a tie Layer2 does.
  pair.PairName = position2 <= position1 ? name2 + " - " + name1 : name1 + " - " + name2;
}

void TPcbBoard::ReadLayerPairs() {
  LayerPairs.clear();
  std::int32_t count = 0;
  if (pcbapi::QueryBoardLayerPairsCount(BoardHandle, &count, smRead) != 0) return;
  count = std::clamp(count, 0, kMaxLayerPairs);
  LayerPairs.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    TPcblayerPair pair;
    pcbapi::QueryBoardLayerPairAt(smRead, BoardHandle, i, &pair.Layer1, &pair.Layer2, &pair.PairByte2, &pair.PairByte1);
    NamePair(pair);
    LayerPairs.push_back(std::move(pair));
  }
}

void TPcbBoard::WriteLayerPairs() {
  auto count = static_cast<std::int32_t>(std::min<std::size_t>(LayerPairs.size(), kMaxLayerPairs));
  pcbapi::QueryBoardLayerPairsCount(BoardHandle, &count, smWrite);
  for (std::int32_t i = 0; i < count; ++i) {
    auto& pair = LayerPairs[static_cast<std::size_t>(i)];
    pcbapi::QueryBoardLayerPairAt(smWrite, BoardHandle, i, &pair.Layer1, &pair.Layer2, &pair.PairByte2,
                                  &pair.PairByte1);
  }
}

void TPcbBoard::SyncExternalDielectrics(TSyncMode mode) {
  auto& t = TopDielectric;
  auto& b = BottomDielectric;
  pcbapi::QueryBoardExternalDielectrics(mode, BoardHandle, HostArg(t.Material), &t.DielectricType,
                                        &t.DielectricConstant, &t.Height, HostArg(b.Material), &b.DielectricType,
                                        &b.DielectricConstant, &b.Height);
}

std::int32_t TPcbBoard::SyncWithHost(TSyncMode mode) {
  const std::int32_t result = SyncGeneral(mode);

  for (int n = 1; n <= kMaxLegacyLayer; ++n) {
    // Two per-layer values that the board does not keep; a write passes 0.
    std::uint8_t scratch = 0;
    pcbapi::QueryBoardLayerInfo(mode, BoardHandle, static_cast<std::uint8_t>(n), &scratch, &scratch,
                                &LayerInfo[static_cast<std::size_t>(n)]);
  }
  for (int n = 1; n <= kMaxLegacyLayer; ++n) Layers[static_cast<std::size_t>(n)]->SyncWithHost(mode);

  pcbapi::QueryBoardSplitPlaneMode(mode, BoardHandle, &SplitPlaneMode);
  SyncGrids(mode);
  SyncOutputOptions(mode);
  SyncGerberOptions(mode);
  SyncPrinterOptions(mode);
  auto& placer = PlacerOptions;
  pcbapi::QueryBoardAdvancedPlacerOptions(mode, BoardHandle, HostArg(placer.Texts[0]), HostArg(placer.Texts[1]),
                                          &placer.Bytes[0], &placer.Bytes[1], &placer.Bytes[2], &placer.Bytes[3]);
  pcbapi::QueryBoardEngineeringChangeOrderOptions(mode, BoardHandle, &EcoOptions.Byte, HostArg(EcoOptions.Text));

  if (mode == smRead) {
    ReadLayerPairs();
  } else {
    WriteLayerPairs();
  }

  SyncExternalDielectrics(mode);
  return result;
}

}  // namespace orvik
