// The state of a fresh host: the default board with its layer stack and
// options, and the values every new object of a kind starts with.
#include <cstring>
#include <string>

#include "host/kovlan/Host.h"

namespace kovlan {
namespace {

// The copper stack of the default board, top to bottom.
constexpr int kStack[] = {ORVIK_LAYER_TopLayer,       ORVIK_LAYER_MidLayer1, ORVIK_LAYER_InternalPlane1,
                          ORVIK_LAYER_InternalPlane2, ORVIK_LAYER_MidLayer2, ORVIK_LAYER_BottomLayer};

const Field* FindField(const Exchange& ex, std::string_view name) {
  for (const Field& f : ex.fields) {
    if (f.name == name) return &f;
  }
  return nullptr;
}

}  // namespace

void Host::Seed(HostObject& object, Api api, int32_t key, std::string_view name, double value) {
  const Exchange& ex = ExchangeOf(api);
  const Field* f = FindField(ex, name);
  if (f == nullptr) return;
  if (f->base == BaseField::LegacyLayer) {
    object.base.layerId = static_cast<uint32_t>(value);
    return;
  }
  void* p = nullptr;
  if (f->base != BaseField::None) {
    p = reinterpret_cast<uint8_t*>(&object.base) + f->baseOffset;
  } else {
    if (!ex.KeyValid(key)) return;
    uint8_t* record = RecordForWrite(object, ex, key);
    if (record == nullptr) return;
    p = record + f->offset;
  }
  switch (f->type) {
    case FieldType::U8:
      *static_cast<uint8_t*>(p) = static_cast<uint8_t>(value);
      break;
    case FieldType::U16: {
      const auto v = static_cast<uint16_t>(value);
      std::memcpy(p, &v, sizeof v);
      break;
    }
    case FieldType::I16: {
      const auto v = static_cast<int16_t>(value);
      std::memcpy(p, &v, sizeof v);
      break;
    }
    case FieldType::U32: {
      const auto v = static_cast<uint32_t>(value);
      std::memcpy(p, &v, sizeof v);
      break;
    }
    case FieldType::I32: {
      const auto v = static_cast<int32_t>(value);
      std::memcpy(p, &v, sizeof v);
      break;
    }
    case FieldType::I64: {
      const auto v = static_cast<int64_t>(value);
      std::memcpy(p, &v, sizeof v);
      break;
    }
    case FieldType::F64:
      std::memcpy(p, &value, sizeof value);
      break;
    case FieldType::Str:
    case FieldType::Block:
      break;
  }
}

void Host::SeedText(HostObject& object, Api api, int32_t key, std::string_view name, std::string_view text) {
  const Exchange& ex = ExchangeOf(api);
  const Field* f = FindField(ex, name);
  if (f == nullptr || f->type != FieldType::Str) return;
  if (!ex.KeyValid(key)) return;
  uint8_t* record = RecordForWrite(object, ex, key);
  if (record == nullptr) return;
  OrvikShortString s{};
  const std::size_t n = text.size() < 255 ? text.size() : 255;
  s.length = static_cast<uint8_t>(n);
  std::memcpy(s.text, text.data(), n);
  WriteValue(object, record, *f, &s);
}

void Host::SeedBoard(HostObject& board) {
  SeedText(board, Api::QueryBoard, 0, "s1", "PCB1");
  Seed(board, Api::QueryBoard, 0, "currentLayerId", ORVIK_LAYER_TopLayer);

  for (int layer = 1; layer <= kMaxLegacyLayer; ++layer) {
    const bool plane = IsPlaneLayer(layer);
    const Api api = plane ? Api::QueryInternalPlane : Api::QueryLayer;
    SeedText(board, api, layer, "name", OrvikLegacyLayerName(static_cast<unsigned>(layer)));
    Seed(board, api, layer, "copperThickness", 14000);
    if (plane)
      SeedText(board, api, layer, "netName",
               layer == ORVIK_LAYER_InternalPlane1   ? "GND"
               : layer == ORVIK_LAYER_InternalPlane2 ? "VCC"
                                                     : "(No Net)");
    SeedText(board, Api::QueryLayerDielectric, layer, "material", "FR-4");
    Seed(board, Api::QueryLayerDielectric, layer, "dielectricType", 1);
    Seed(board, Api::QueryLayerDielectric, layer, "dielectricConstant", 4.8);
    Seed(board, Api::QueryLayerDielectric, layer, "height", 126000);
    // Shown: the overlays, pastes and masks, the keep-out, the first mechanical layer and the multi-layer.
    const bool shown = (layer >= ORVIK_LAYER_TopOverlay && layer <= ORVIK_LAYER_BottomSolder) ||
                       layer == ORVIK_LAYER_KeepOutLayer || layer == ORVIK_LAYER_Mechanical1 ||
                       layer == ORVIK_LAYER_MultiLayer;
    Seed(board, Api::QueryBoardLayerInfo, layer, "info", shown ? 1 : 0);
  }
  for (std::size_t i = 0; i < std::size(kStack); ++i) {
    const int layer = kStack[i];
    const Api api = IsPlaneLayer(layer) ? Api::QueryInternalPlane : Api::QueryLayer;
    Seed(board, api, layer, "prevLayer", i == 0 ? 0 : kStack[i - 1]);
    Seed(board, api, layer, "nextLayer", i + 1 == std::size(kStack) ? 0 : kStack[i + 1]);
    Seed(board, Api::QueryBoardLayerInfo, layer, "info", 1);
  }

  for (const char* side : {"top", "bottom"}) {
    const std::string s(side);
    SeedText(board, Api::QueryBoardExternalDielectrics, 0, s + "Material", "FR-4");
    Seed(board, Api::QueryBoardExternalDielectrics, 0, s + "Type", 1);
    Seed(board, Api::QueryBoardExternalDielectrics, 0, s + "Constant", 4.8);
    Seed(board, Api::QueryBoardExternalDielectrics, 0, s + "Height", 126000);
  }
  Seed(board, Api::QueryBoardSplitPlaneMode, 0, "splitPlaneMode", 1);
  for (const char* grid : {"f1", "f2", "f3", "f4", "f5", "f6", "f7", "f8"}) {
    Seed(board, Api::QueryBoardGridsEx, 0, grid, 50000.0);
  }
  for (int pen = 1; pen <= 8; ++pen) {
    Seed(board, Api::QueryBoardPrinterOptionsPlotterPen, pen, "v1", pen);
    Seed(board, Api::QueryBoardPrinterOptionsPlotterPen, pen, "v2", 100000);
  }
  for (int layer : kStack) Seed(board, Api::QueryBoardOutputOptionsPlotLayers, layer, "plot", 1);

  Seed(board, Api::QueryBoardLayerPairsCount, 0, "count", 1);
  Seed(board, Api::QueryBoardLayerPairAt, 0, "layer1", ORVIK_LAYER_TopLayer);
  Seed(board, Api::QueryBoardLayerPairAt, 0, "layer2", ORVIK_LAYER_BottomLayer);
}

void Host::SeedTemplates() {
  HostObject& arc = Template(ORVIK_KIND_ARC);
  arc.base.layerId = ORVIK_LAYER_TopLayer;
  Seed(arc, Api::QueryArc, 0, "radius", 100000);
  Seed(arc, Api::QueryArc, 0, "endAngle", 360.0);
  Seed(arc, Api::QueryArc, 0, "width", 100000);

  HostObject& pad = Template(ORVIK_KIND_PAD);
  pad.base.layerId = ORVIK_LAYER_MultiLayer;
  for (const char* size : {"topXSize", "topYSize", "midXSize", "midYSize", "botXSize", "botYSize"}) {
    Seed(pad, Api::QueryPad, 0, size, 600000);
  }
  for (const char* shape : {"topShape", "midShape", "botShape"}) Seed(pad, Api::QueryPad, 0, shape, 1);
  Seed(pad, Api::QueryPad, 0, "holeSize", 300000);

  HostObject& via = Template(ORVIK_KIND_VIA);
  via.base.layerId = ORVIK_LAYER_MultiLayer;
  Seed(via, Api::QueryVia, 0, "size", 500000);
  Seed(via, Api::QueryVia, 0, "holeSize", 280000);

  for (int layer = ORVIK_LAYER_TopLayer; layer <= ORVIK_LAYER_BottomLayer; ++layer) {
    for (auto [object, size] : {std::pair{&pad, 600000}, std::pair{&via, 500000}}) {
      Seed(*object, Api::QueryPadOrViaSizeOnLayer, layer, "xSize", size);
      Seed(*object, Api::QueryPadOrViaSizeOnLayer, layer, "ySize", size);
      Seed(*object, Api::QueryPadOrViaShapeOnLayer, layer, "shape", 1);
    }
  }

  HostObject& track = Template(ORVIK_KIND_TRACK);
  track.base.layerId = ORVIK_LAYER_TopLayer;
  Seed(track, Api::QueryTrack, 0, "width", 100000);

  HostObject& text = Template(ORVIK_KIND_TEXT);
  text.base.layerId = ORVIK_LAYER_TopOverlay;
  Seed(text, Api::QueryText, 0, "height", 600000);
  Seed(text, Api::QueryText, 0, "width", 100000);
  SeedText(text, Api::QueryTrueTypeTextInfo, 0, "fontName", "Arial");

  for (uint8_t kind : {ORVIK_KIND_FILL, ORVIK_KIND_POLYGON, ORVIK_KIND_REGION, ORVIK_KIND_EMBEDDED_BOARD,
                       ORVIK_KIND_SPLIT_PLANE, ORVIK_KIND_BOARD_OUTLINE, ORVIK_KIND_COMPONENT}) {
    Template(kind).base.layerId = ORVIK_LAYER_TopLayer;
  }
  for (uint8_t kind : {ORVIK_KIND_DIMENSION, ORVIK_KIND_COORDINATE})
    Template(kind).base.layerId = ORVIK_LAYER_TopOverlay;
}

}  // namespace kovlan
