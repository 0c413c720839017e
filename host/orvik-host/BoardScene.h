// A drawable model of an imported board: its primitives with their
// geometry in internal units (10000 to the mil), the layer each is on, and
// the names of their net and component. The preview writers draw from it;
// SceneReader fills it from the host module.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "orvik/layers.h"

namespace orvik::host {

// Internal units per mil.
inline constexpr int64_t kUnitsPerMil = 10000;

// Legacy layer numbers (0..82) of the layers the preview treats specially.
inline constexpr int kTopLayer = ORVIK_LAYER_TopLayer;
inline constexpr int kBottomLayer = ORVIK_LAYER_BottomLayer;
inline constexpr int kTopOverlay = ORVIK_LAYER_TopOverlay;
inline constexpr int kMultiLayer = ORVIK_LAYER_MultiLayer;
inline constexpr int kMaxLayer = ORVIK_LEGACY_LAYER_COUNT - 1;

// Pad shape codes of the host; the preview draws every code but round and
// rounded rectangle as a rectangle.
inline constexpr uint8_t kShapeRound = 1;
inline constexpr uint8_t kShapeRectangle = 2;
inline constexpr uint8_t kShapeOctagon = 3;
inline constexpr uint8_t kShapeRoundedRectangle = 9;

struct TrackShape {
  int64_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  int64_t width = 0;
};

// Drawn counterclockwise (board Y up) from startAngle to endAngle, degrees.
struct ArcShape {
  int64_t x = 0, y = 0;
  int64_t radius = 0;
  double startAngle = 0;
  double endAngle = 0;
  int64_t width = 0;
};

struct PadShape {
  int64_t x = 0, y = 0;
  int64_t xSize = 0, ySize = 0;  // on the layer drawn
  int64_t holeSize = 0;
  uint8_t shape = kShapeRound;
  int cornerPercent = 0;  // rounded rectangles: radius as percent of half the smaller side
  double rotation = 0;    // degrees, counterclockwise
  std::string name;
};

struct ViaShape {
  int64_t x = 0, y = 0;
  int64_t size = 0;
  int64_t holeSize = 0;
};

// The rectangle between two corners, turned about its centre.
struct FillShape {
  int64_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  double rotation = 0;
};

// Text whose baseline starts at (x, y).
struct TextShape {
  int64_t x = 0, y = 0;
  int64_t height = 0;
  int64_t strokeWidth = 0;
  double rotation = 0;
  bool mirrored = false;
  std::string text;  // 8-bit characters as the host holds them
};

using Shape = std::variant<TrackShape, ArcShape, PadShape, ViaShape, FillShape, TextShape>;

struct Primitive {
  uint32_t handle = 0;
  int layer = 0;  // legacy layer number
  std::string net;
  std::string component;
  Shape shape;
  uint32_t netHandle = 0;        // the net it belongs to, 0 for none
  uint32_t componentHandle = 0;  // the component it belongs to, 0 for none
};

struct SceneLayer {
  int number = 0;  // legacy layer number
  std::string name;
};

// An axis-aligned box in internal units; empty until something is added.
struct Bounds {
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  bool empty = true;

  void Add(double x, double y);
  void Add(const Bounds& other);
};

struct BoardScene {
  std::vector<SceneLayer> layers;     // every layer that holds a primitive, in drawing order
  std::vector<Primitive> primitives;  // in handle order
  int32_t unplaced = 0;               // primitives left out: on no board, or on no known layer
};

// "track", "arc", "pad", "via", "fill" or "text".
std::string_view KindName(const Shape& shape);

// Box around everything the shape paints (text estimated from its height
// and length).
Bounds ShapeBounds(const Shape& shape);
Bounds SceneBounds(const BoardScene& scene);

// Legacy layer number of a host layer identifier: legacy-coded values are
// their own number; signal, internal-plane and mechanical partition codes
// are converted. 0 when the identifier names no legacy layer.
int LegacyLayerOf(uint32_t layerId);

// Drawing rank: lower ranks are drawn first (further from the viewer). The
// board is seen from the top: bottom side layers, bottom copper, inner
// layers, top copper, multi-layer, top side layers, then drawing layers.
int LayerDrawRank(int layer);

// The layer's built-in name, as the host names it by default ("TopLayer",
// "MidLayer1", ...); "Layer<n>" outside 0..82.
std::string DefaultLayerName(int layer);

struct LayerStyle {
  const char* color;  // #rrggbb
  double opacity;     // of the whole layer group
};
LayerStyle StyleOfLayer(int layer);

// Sorts `layers` into drawing order (by rank, then number).
void SortLayersForDrawing(std::vector<SceneLayer>& layers);

}  // namespace orvik::host
