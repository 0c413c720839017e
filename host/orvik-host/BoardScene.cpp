#include "host/orvik-host/BoardScene.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace orvik::host {

namespace {

constexpr double kDegrees = std::numbers::pi / 180.0;

// Rough advance of one character, as a fraction of the text height.
constexpr double kCharAdvance = 0.6;

// Adds the corners of the box (-hw..hw, -hh..hh) turned by `degrees` about
// the origin and moved to (cx, cy).
void AddTurnedBox(Bounds& b, double cx, double cy, double hw, double hh, double degrees) {
  const double c = std::cos(degrees * kDegrees);
  const double s = std::sin(degrees * kDegrees);
  for (const double sx : {-1.0, 1.0}) {
    for (const double sy : {-1.0, 1.0}) {
      const double x = sx * hw, y = sy * hh;
      b.Add(cx + x * c - y * s, cy + x * s + y * c);
    }
  }
}

void AddCircle(Bounds& b, double cx, double cy, double r) {
  b.Add(cx - r, cy - r);
  b.Add(cx + r, cy + r);
}

double Finite(double v) { return std::isfinite(v) ? v : 0.0; }

struct ShapeBoundsVisitor {
  Bounds b;

  void operator()(const TrackShape& t) {
    const double r = static_cast<double>(t.width) / 2;
    AddCircle(b, static_cast<double>(t.x1), static_cast<double>(t.y1), r);
    AddCircle(b, static_cast<double>(t.x2), static_cast<double>(t.y2), r);
  }
  // The whole circle: arcs are rarely large enough for the difference to matter.
  void operator()(const ArcShape& a) {
    AddCircle(b, static_cast<double>(a.x), static_cast<double>(a.y),
              static_cast<double>(a.radius) + static_cast<double>(a.width) / 2);
  }
  void operator()(const PadShape& p) {
    AddTurnedBox(b, static_cast<double>(p.x), static_cast<double>(p.y), static_cast<double>(p.xSize) / 2,
                 static_cast<double>(p.ySize) / 2, Finite(p.rotation));
  }
  void operator()(const ViaShape& v) {
    AddCircle(b, static_cast<double>(v.x), static_cast<double>(v.y), static_cast<double>(v.size) / 2);
  }
  void operator()(const FillShape& f) {
    const double cx = (static_cast<double>(f.x1) + static_cast<double>(f.x2)) / 2;
    const double cy = (static_cast<double>(f.y1) + static_cast<double>(f.y2)) / 2;
    AddTurnedBox(b, cx, cy, std::abs(static_cast<double>(f.x2) - static_cast<double>(f.x1)) / 2,
                 std::abs(static_cast<double>(f.y2) - static_cast<double>(f.y1)) / 2, Finite(f.rotation));
  }
  void operator()(const TextShape& t) {
    const double h = static_cast<double>(t.height);
    const double w = h * kCharAdvance * static_cast<double>(t.text.size()) * (t.mirrored ? -1.0 : 1.0);
    const double c = std::cos(Finite(t.rotation) * kDegrees);
    const double s = std::sin(Finite(t.rotation) * kDegrees);
    const double x0 = static_cast<double>(t.x), y0 = static_cast<double>(t.y);
    for (const auto& [x, y] : std::array<std::pair<double, double>, 4>{{{0, 0}, {w, 0}, {0, h}, {w, h}}}) {
      b.Add(x0 + x * c - y * s, y0 + x * s + y * c);
    }
  }
};

struct KindVisitor {
  std::string_view operator()(const TrackShape&) const { return "track"; }
  std::string_view operator()(const ArcShape&) const { return "arc"; }
  std::string_view operator()(const PadShape&) const { return "pad"; }
  std::string_view operator()(const ViaShape&) const { return "via"; }
  std::string_view operator()(const FillShape&) const { return "fill"; }
  std::string_view operator()(const TextShape&) const { return "text"; }
};

constexpr uint32_t kLastSignal = ORVIK_PARTITION_MAX_NUMBER;  // the bottom layer

constexpr bool IsMid(int layer) { return layer >= ORVIK_LAYER_MidLayer1 && layer <= ORVIK_LAYER_MidLayer30; }
constexpr bool IsMechanical(int layer) { return layer >= ORVIK_LAYER_Mechanical1 && layer <= ORVIK_LAYER_Mechanical16; }

// The legacy layer of the number-th layer of a group first..last; 0 past it.
constexpr int InGroup(uint32_t number, int first, int last) {
  return number >= 1 && number <= static_cast<uint32_t>(last - first + 1) ? first + static_cast<int>(number) - 1 : 0;
}

// Hues for inner copper layers, repeated as needed.
constexpr std::array<const char*, 6> kInnerColors{"#e08a2e", "#3cb44b", "#a05ad2", "#2ab0b0", "#d2508c", "#9cb43c"};

}  // namespace

void Bounds::Add(double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  if (empty) {
    minX = maxX = x;
    minY = maxY = y;
    empty = false;
    return;
  }
  minX = std::min(minX, x);
  maxX = std::max(maxX, x);
  minY = std::min(minY, y);
  maxY = std::max(maxY, y);
}

void Bounds::Add(const Bounds& other) {
  if (other.empty) return;
  Add(other.minX, other.minY);
  Add(other.maxX, other.maxY);
}

std::string_view KindName(const Shape& shape) { return std::visit(KindVisitor{}, shape); }

Bounds ShapeBounds(const Shape& shape) {
  ShapeBoundsVisitor v;
  std::visit(v, shape);
  return v.b;
}

Bounds SceneBounds(const BoardScene& scene) {
  Bounds b;
  for (const Primitive& p : scene.primitives) b.Add(ShapeBounds(p.shape));
  return b;
}

int LegacyLayerOf(uint32_t layerId) {
  const uint32_t tag = layerId >> 16;
  const uint32_t number = layerId & 0xFFFF;
  if (tag == 0) return number <= static_cast<uint32_t>(kMaxLayer) ? static_cast<int>(number) : 0;
  if (tag == ORVIK_PARTITION_TAG_SIGNAL) {
    if (number == kLastSignal) return kBottomLayer;
    return number >= 1 && number < static_cast<uint32_t>(kBottomLayer) ? static_cast<int>(number) : 0;
  }
  if (tag == ORVIK_PARTITION_TAG_INTERNAL_PLANE)
    return InGroup(number, ORVIK_LAYER_InternalPlane1, ORVIK_LAYER_InternalPlane16);
  if (tag == ORVIK_PARTITION_TAG_MECHANICAL) return InGroup(number, ORVIK_LAYER_Mechanical1, ORVIK_LAYER_Mechanical16);
  return 0;
}

int LayerDrawRank(int layer) {
  // Bottom side first, then copper from the bottom up, then the top side.
  constexpr int kBottomSide[] = {ORVIK_LAYER_BottomOverlay, ORVIK_LAYER_BottomPaste, ORVIK_LAYER_BottomSolder};
  constexpr int kTopSide[] = {ORVIK_LAYER_TopSolder, ORVIK_LAYER_TopPaste, ORVIK_LAYER_TopOverlay};
  constexpr int kDrawing[] = {ORVIK_LAYER_DrillGuide, ORVIK_LAYER_DrillDrawing, ORVIK_LAYER_KeepOutLayer};
  int rank = 0;
  for (const int l : kBottomSide) {
    if (layer == l) return rank;
    ++rank;
  }
  if (layer == kBottomLayer) return rank;
  ++rank;
  if (OrvikIsInternalPlane(layer)) return rank + (ORVIK_LAYER_InternalPlane16 - layer);  // planes, the last one lowest
  rank += ORVIK_LAYER_InternalPlane16 - ORVIK_LAYER_InternalPlane1 + 1;
  if (IsMid(layer)) return rank + (ORVIK_LAYER_MidLayer30 - layer);  // mid layers, MidLayer30 lowest
  rank += ORVIK_LAYER_MidLayer30 - ORVIK_LAYER_MidLayer1 + 1;
  if (layer == kTopLayer) return rank;
  ++rank;
  if (layer == kMultiLayer) return rank;
  ++rank;
  for (const int l : kTopSide) {
    if (layer == l) return rank;
    ++rank;
  }
  for (const int l : kDrawing) {
    if (layer == l) return rank;
    ++rank;
  }
  if (IsMechanical(layer)) return rank + (layer - ORVIK_LAYER_Mechanical1);
  rank += ORVIK_LAYER_Mechanical16 - ORVIK_LAYER_Mechanical1 + 1;
  return rank + std::clamp(layer, 0, 1000);  // everything else, by number
}

std::string DefaultLayerName(int layer) {
  if (layer >= 0 && layer <= kMaxLayer) return OrvikLegacyLayerName(static_cast<unsigned>(layer));
  return "Layer" + std::to_string(layer);
}

LayerStyle StyleOfLayer(int layer) {
  if (layer == kTopLayer) return {"#e04040", 0.85};
  if (layer == kBottomLayer) return {"#3c64e6", 0.85};
  if (IsMid(layer)) {
    return {kInnerColors[static_cast<std::size_t>(layer - ORVIK_LAYER_MidLayer1) % kInnerColors.size()], 0.7};
  }
  if (OrvikIsInternalPlane(layer)) {
    return {kInnerColors[static_cast<std::size_t>(layer - ORVIK_LAYER_InternalPlane1 + 3) % kInnerColors.size()], 0.5};
  }
  switch (layer) {
    case ORVIK_LAYER_TopOverlay:
      return {"#f2e33c", 1.0};  // top overlay: yellow
    case ORVIK_LAYER_BottomOverlay:
      return {"#ececec", 0.9};  // bottom overlay: white
    case ORVIK_LAYER_TopPaste:
      return {"#8f8f80", 0.55};  // pastes and solder masks: muted
    case ORVIK_LAYER_BottomPaste:
      return {"#80808f", 0.55};
    case ORVIK_LAYER_TopSolder:
      return {"#7a5a8a", 0.5};
    case ORVIK_LAYER_BottomSolder:
      return {"#5a7a8a", 0.5};
    case ORVIK_LAYER_DrillGuide:
      return {"#b0703c", 0.9};
    case ORVIK_LAYER_KeepOutLayer:
      return {"#d04cd0", 0.9};  // keep-out: magenta
    case ORVIK_LAYER_DrillDrawing:
      return {"#c8a880", 0.9};
    case kMultiLayer:
      return {"#d4a23a", 0.95};  // pads and vias: gold
    default:
      break;
  }
  if (IsMechanical(layer)) return {"#a0a0a0", 0.9};  // mechanical: grey
  return {"#909090", 0.8};
}

void SortLayersForDrawing(std::vector<SceneLayer>& layers) {
  std::sort(layers.begin(), layers.end(), [](const SceneLayer& a, const SceneLayer& b) {
    const int ra = LayerDrawRank(a.number), rb = LayerDrawRank(b.number);
    return ra != rb ? ra < rb : a.number < b.number;
  });
}

}  // namespace orvik::host
