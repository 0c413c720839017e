#include "host/kovlan/Board.h"

#include <cstring>
#include <string>

#include "host/kovlan/Attributes.h"

namespace kovlan::board {
namespace {

// The copper stack of the default board, top to bottom.
constexpr int kStack[] = {ORVIK_LAYER_TopLayer,       ORVIK_LAYER_MidLayer1, ORVIK_LAYER_InternalPlane1,
                          ORVIK_LAYER_InternalPlane2, ORVIK_LAYER_MidLayer2, ORVIK_LAYER_BottomLayer};

}  // namespace

void Seed(ObjectStore& objects) {
  HostObject& board = *objects.Find(kBoardHandle);
  auto set = [&](Api api, int32_t key, std::string_view name, double value) {
    SetFieldValue(objects, board, api, key, name, value);
  };
  auto setText = [&](Api api, int32_t key, std::string_view name, std::string_view text) {
    SetFieldText(objects, board, api, key, name, text);
  };
  setText(Api::QueryBoard, 0, "s1", "PCB1");
  set(Api::QueryBoard, 0, "currentLayerId", ORVIK_LAYER_TopLayer);

  for (int layer = 1; layer <= kMaxLegacyLayer; ++layer) {
    const Api api = LayerApi(layer);
    setText(api, layer, "name", OrvikLegacyLayerName(static_cast<unsigned>(layer)));
    set(api, layer, "copperThickness", 14000);
    if (OrvikIsInternalPlane(layer))
      setText(api, layer, "netName",
              layer == ORVIK_LAYER_InternalPlane1   ? "GND"
              : layer == ORVIK_LAYER_InternalPlane2 ? "VCC"
                                                    : "(No Net)");
    setText(Api::QueryLayerDielectric, layer, "material", "FR-4");
    set(Api::QueryLayerDielectric, layer, "dielectricType", 1);
    set(Api::QueryLayerDielectric, layer, "dielectricConstant", 4.8);
    set(Api::QueryLayerDielectric, layer, "height", 126000);
    // Shown: the overlays, pastes and masks, the keep-out, the first mechanical layer and the multi-layer.
    const bool shown = (layer >= ORVIK_LAYER_TopOverlay && layer <= ORVIK_LAYER_BottomSolder) ||
                       layer == ORVIK_LAYER_KeepOutLayer || layer == ORVIK_LAYER_Mechanical1 ||
                       layer == ORVIK_LAYER_MultiLayer;
    set(Api::QueryBoardLayerInfo, layer, "info", shown ? 1 : 0);
  }
  for (std::size_t i = 0; i < std::size(kStack); ++i) {
    const int layer = kStack[i];
    set(LayerApi(layer), layer, "prevLayer", i == 0 ? 0 : kStack[i - 1]);
    set(LayerApi(layer), layer, "nextLayer", i + 1 == std::size(kStack) ? 0 : kStack[i + 1]);
    set(Api::QueryBoardLayerInfo, layer, "info", 1);
  }

  for (const char* side : {"top", "bottom"}) {
    const std::string s(side);
    setText(Api::QueryBoardExternalDielectrics, 0, s + "Material", "FR-4");
    set(Api::QueryBoardExternalDielectrics, 0, s + "Type", 1);
    set(Api::QueryBoardExternalDielectrics, 0, s + "Constant", 4.8);
    set(Api::QueryBoardExternalDielectrics, 0, s + "Height", 126000);
  }
  set(Api::QueryBoardSplitPlaneMode, 0, "splitPlaneMode", 1);
  for (const char* grid : {"f1", "f2", "f3", "f4", "f5", "f6", "f7", "f8"}) {
    set(Api::QueryBoardGridsEx, 0, grid, 50000.0);
  }
  for (int pen = 1; pen <= 8; ++pen) {
    set(Api::QueryBoardPrinterOptionsPlotterPen, pen, "v1", pen);
    set(Api::QueryBoardPrinterOptionsPlotterPen, pen, "v2", 100000);
  }
  for (int layer : kStack) set(Api::QueryBoardOutputOptionsPlotLayers, layer, "plot", 1);

  set(Api::QueryBoardLayerPairsCount, 0, "count", 1);
  set(Api::QueryBoardLayerPairAt, 0, "layer1", ORVIK_LAYER_TopLayer);
  set(Api::QueryBoardLayerPairAt, 0, "layer2", ORVIK_LAYER_BottomLayer);
}

int32_t SetLayerLink(ObjectStore& objects, int32_t layer, int32_t prev, int32_t next) {
  if (layer < 1 || layer > kMaxLegacyLayer || prev < 0 || prev > kMaxLegacyLayer || next < 0 ||
      next > kMaxLegacyLayer) {
    return 1;
  }
  HostObject& board = *objects.Find(kBoardHandle);
  SetFieldValue(objects, board, LayerApi(layer), layer, "prevLayer", prev);
  SetFieldValue(objects, board, LayerApi(layer), layer, "nextLayer", next);
  return 0;
}

int32_t SetLayerPairs(ObjectStore& objects, int32_t count, const uint32_t* layerIds) {
  const Exchange& at = ExchangeOf(Api::QueryBoardLayerPairAt);
  if (count < 0 || count > at.keyMax + 1 || (count > 0 && layerIds == nullptr)) return 1;
  const Exchange& countEx = ExchangeOf(Api::QueryBoardLayerPairsCount);
  WriteField(objects, kBoardHandle, countEx, 0, 0, &count, 4);
  for (int32_t i = 0; i < count; ++i) {
    WriteField(objects, kBoardHandle, at, i, 0, &layerIds[2 * i], 4);
    WriteField(objects, kBoardHandle, at, i, 1, &layerIds[2 * i + 1], 4);
  }
  return 0;
}

int32_t CheckLayerPairExchange(const Exchange& ex, const HostObject& board, int32_t key,
                               std::span<void* const> addresses, bool write) {
  int32_t count;
  if (ex.api == Api::QueryBoardLayerPairsCount) {
    if (!write) return 0;
    std::memcpy(&count, addresses[0], 4);
    return count >= 0 && count <= ExchangeOf(Api::QueryBoardLayerPairAt).keyMax + 1 ? 0 : 1;
  }
  if (ex.api == Api::QueryBoardLayerPairAt) {
    const Exchange& countEx = ExchangeOf(Api::QueryBoardLayerPairsCount);
    std::memcpy(&count, board.data + StorageLayout::Get().Offset(board.kind, countEx.api) + countEx.fields[0].offset,
                4);
    return key < count ? 0 : 1;
  }
  return 0;
}

}  // namespace kovlan::board
