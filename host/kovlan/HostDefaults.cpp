// The state of a fresh host: the default board with its layer stack and
// options, and the values every new object of a kind starts with.
#include <cstring>
#include <string>

#include "host/kovlan/Host.h"

namespace kovlan {
namespace {

const char* const kLegacyFixedNames[] = {"TopOverlay",  "BottomOverlay", "TopPaste",
                                         "BottomPaste", "TopSolder",     "BottomSolder"};
const char* const kLegacyTailNames[] = {"DrillDrawing",  "MultiLayer",     "ConnectLayer", "BackGroundLayer",
                                        "DRCErrorLayer", "HighlightLayer", "GridColor1",   "GridColor10",
                                        "PadHoleLayer",  "ViaHoleLayer"};

std::string LegacyLayerName(int layer) {
  if (layer == 1) return "TopLayer";
  if (layer >= 2 && layer <= 31) return "MidLayer" + std::to_string(layer - 1);
  if (layer == 32) return "BottomLayer";
  if (layer >= 33 && layer <= 38) return kLegacyFixedNames[layer - 33];
  if (layer >= 39 && layer <= 54) return "InternalPlane" + std::to_string(layer - 38);
  if (layer == 55) return "DrillGuide";
  if (layer == 56) return "KeepOutLayer";
  if (layer >= 57 && layer <= 72) return "Mechanical" + std::to_string(layer - 56);
  if (layer >= 73 && layer <= 82) return kLegacyTailNames[layer - 73];
  return "NoLayer";
}

// The copper stack of the default board, top to bottom.
constexpr int kStack[] = {1, 2, 39, 40, 3, 32};

constexpr uint8_t kTextKind = 5;
constexpr uint32_t kTopLayer = 1;
constexpr uint32_t kTopOverlay = 33;
constexpr uint32_t kMultiLayer = 74;

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
  Seed(board, Api::QueryBoard, 0, "currentLayerId", kTopLayer);

  for (int layer = 1; layer <= kMaxLegacyLayer; ++layer) {
    const bool plane = layer >= 39 && layer <= 54;
    const Api api = plane ? Api::QueryInternalPlane : Api::QueryLayer;
    SeedText(board, api, layer, "name", LegacyLayerName(layer));
    Seed(board, api, layer, "copperThickness", 14000);
    if (plane) SeedText(board, api, layer, "netName", layer == 39 ? "GND" : layer == 40 ? "VCC" : "(No Net)");
    SeedText(board, Api::QueryLayerDielectric, layer, "material", "FR-4");
    Seed(board, Api::QueryLayerDielectric, layer, "dielectricType", 1);
    Seed(board, Api::QueryLayerDielectric, layer, "dielectricConstant", 4.8);
    Seed(board, Api::QueryLayerDielectric, layer, "height", 126000);
    const bool shown = (layer >= 33 && layer <= 38) || layer == 56 || layer == 57 || layer == 74;
    Seed(board, Api::QueryBoardLayerInfo, layer, "info", shown ? 1 : 0);
  }
  for (std::size_t i = 0; i < std::size(kStack); ++i) {
    const int layer = kStack[i];
    const Api api = layer >= 39 && layer <= 54 ? Api::QueryInternalPlane : Api::QueryLayer;
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
  Seed(board, Api::QueryBoardLayerPairAt, 0, "layer1", 1);
  Seed(board, Api::QueryBoardLayerPairAt, 0, "layer2", 32);
}

void Host::SeedTemplates() {
  HostObject& arc = Template(1);
  arc.base.layerId = kTopLayer;
  Seed(arc, Api::QueryArc, 0, "radius", 100000);
  Seed(arc, Api::QueryArc, 0, "endAngle", 360.0);
  Seed(arc, Api::QueryArc, 0, "width", 100000);

  HostObject& pad = Template(2);
  pad.base.layerId = kMultiLayer;
  for (const char* size : {"topXSize", "topYSize", "midXSize", "midYSize", "botXSize", "botYSize"}) {
    Seed(pad, Api::QueryPad, 0, size, 600000);
  }
  for (const char* shape : {"topShape", "midShape", "botShape"}) Seed(pad, Api::QueryPad, 0, shape, 1);
  Seed(pad, Api::QueryPad, 0, "holeSize", 300000);

  HostObject& via = Template(3);
  via.base.layerId = kMultiLayer;
  Seed(via, Api::QueryVia, 0, "size", 500000);
  Seed(via, Api::QueryVia, 0, "holeSize", 280000);

  for (int layer = 1; layer <= 32; ++layer) {
    for (auto [object, size] : {std::pair{&pad, 600000}, std::pair{&via, 500000}}) {
      Seed(*object, Api::QueryPadOrViaSizeOnLayer, layer, "xSize", size);
      Seed(*object, Api::QueryPadOrViaSizeOnLayer, layer, "ySize", size);
      Seed(*object, Api::QueryPadOrViaShapeOnLayer, layer, "shape", 1);
    }
  }

  HostObject& track = Template(4);
  track.base.layerId = kTopLayer;
  Seed(track, Api::QueryTrack, 0, "width", 100000);

  HostObject& text = Template(kTextKind);
  text.base.layerId = kTopOverlay;
  Seed(text, Api::QueryText, 0, "height", 600000);
  Seed(text, Api::QueryText, 0, "width", 100000);
  SeedText(text, Api::QueryTrueTypeTextInfo, 0, "fontName", "Arial");

  for (uint8_t kind : {6, 10, 11, 21, 22, 26}) Template(kind).base.layerId = kTopLayer;
  Template(9).base.layerId = kTopLayer;
  for (uint8_t kind : {13, 14}) Template(kind).base.layerId = kTopOverlay;
}

}  // namespace kovlan
