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

// Layer partition tags of partition-coded identifiers (high 16 bits).
constexpr uint32_t kSignalTag = 0x0101;
constexpr uint32_t kPlaneTag = 0x0104;
constexpr uint32_t kMechanicalTag = 0x0400;
constexpr uint32_t kLastSignal = 0xFFFF;  // the bottom layer

constexpr std::array<const char*, 9> kFixedNames{"TopOverlay",  "BottomOverlay", "TopPaste", "BottomPaste",
                                                 "TopSolder",   "BottomSolder",  "",         "DrillGuide",
                                                 "KeepOutLayer"};
constexpr std::array<const char*, 10> kHighNames{"DrillDrawing",  "MultiLayer",     "ConnectLayer", "BackGroundLayer",
                                                 "DRCErrorLayer", "HighlightLayer", "GridColor1",   "GridColor10",
                                                 "PadHoleLayer",  "ViaHoleLayer"};

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
  if (tag == kSignalTag) {
    if (number == kLastSignal) return kBottomLayer;
    return number >= 1 && number < static_cast<uint32_t>(kBottomLayer) ? static_cast<int>(number) : 0;
  }
  if (tag == kPlaneTag) return number >= 1 && number <= 16 ? static_cast<int>(38 + number) : 0;
  if (tag == kMechanicalTag) return number >= 1 && number <= 16 ? static_cast<int>(56 + number) : 0;
  return 0;
}

int LayerDrawRank(int layer) {
  // Bottom side first, then copper from the bottom up, then the top side.
  constexpr int kBottomSide[] = {34, 36, 38};
  constexpr int kTopSide[] = {37, 35, 33};
  constexpr int kDrawing[] = {55, 73, 56};
  int rank = 0;
  for (const int l : kBottomSide) {
    if (layer == l) return rank;
    ++rank;
  }
  if (layer == kBottomLayer) return rank;
  ++rank;
  if (layer >= 39 && layer <= 54) return rank + (54 - layer);  // planes, the last one lowest
  rank += 16;
  if (layer >= 2 && layer <= 31) return rank + (31 - layer);  // mid layers, MidLayer30 lowest
  rank += 30;
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
  if (layer >= 57 && layer <= 72) return rank + (layer - 57);
  rank += 16;
  return rank + std::clamp(layer, 0, 1000);  // everything else, by number
}

std::string DefaultLayerName(int layer) {
  if (layer == 0) return "NoLayer";
  if (layer == kTopLayer) return "TopLayer";
  if (layer >= 2 && layer <= 31) return "MidLayer" + std::to_string(layer - 1);
  if (layer == kBottomLayer) return "BottomLayer";
  if (layer >= 33 && layer <= 38) return kFixedNames[static_cast<std::size_t>(layer - 33)];
  if (layer >= 39 && layer <= 54) return "InternalPlane" + std::to_string(layer - 38);
  if (layer == 55 || layer == 56) return kFixedNames[static_cast<std::size_t>(layer - 48)];
  if (layer >= 57 && layer <= 72) return "Mechanical" + std::to_string(layer - 56);
  if (layer >= 73 && layer <= kMaxLayer) return kHighNames[static_cast<std::size_t>(layer - 73)];
  return "Layer" + std::to_string(layer);
}

LayerStyle StyleOfLayer(int layer) {
  if (layer == kTopLayer) return {"#e04040", 0.85};
  if (layer == kBottomLayer) return {"#3c64e6", 0.85};
  if (layer >= 2 && layer <= 31) return {kInnerColors[static_cast<std::size_t>(layer - 2) % kInnerColors.size()], 0.7};
  if (layer >= 39 && layer <= 54) {
    return {kInnerColors[static_cast<std::size_t>(layer - 39 + 3) % kInnerColors.size()], 0.5};
  }
  switch (layer) {
    case 33:
      return {"#f2e33c", 1.0};  // top overlay: yellow
    case 34:
      return {"#ececec", 0.9};  // bottom overlay: white
    case 35:
      return {"#8f8f80", 0.55};  // pastes and solder masks: muted
    case 36:
      return {"#80808f", 0.55};
    case 37:
      return {"#7a5a8a", 0.5};
    case 38:
      return {"#5a7a8a", 0.5};
    case 55:
      return {"#b0703c", 0.9};
    case 56:
      return {"#d04cd0", 0.9};  // keep-out: magenta
    case 73:
      return {"#c8a880", 0.9};
    case kMultiLayer:
      return {"#d4a23a", 0.95};  // pads and vias: gold
    default:
      break;
  }
  if (layer >= 57 && layer <= 72) return {"#a0a0a0", 0.9};  // mechanical: grey
  return {"#909090", 0.8};
}

void SortLayersForDrawing(std::vector<SceneLayer>& layers) {
  std::sort(layers.begin(), layers.end(), [](const SceneLayer& a, const SceneLayer& b) {
    const int ra = LayerDrawRank(a.number), rb = LayerDrawRank(b.number);
    return ra != rb ? ra < rb : a.number < b.number;
  });
}

}  // namespace orvik::host
