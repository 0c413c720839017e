// The host's legacy layers mapped to KiCad 6's layers: the mapping table,
// and the plan that applies it to one board (which inner copper layers it
// has, in which order, and which user layers stand for the host's other
// drawing layers).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "orvik/layers.h"

namespace orvik::host::kicad {

// KiCad 6's layer numbers in a board file; In1.Cu..In30.Cu are 1..30.
enum KicadLayer : int {
  kNoKicadLayer = -1,
  kFCu = 0,
  kBCu = 31,
  kBAdhes = 32,
  kFAdhes = 33,
  kBPaste = 34,
  kFPaste = 35,
  kBSilkS = 36,
  kFSilkS = 37,
  kBMask = 38,
  kFMask = 39,
  kDwgsUser = 40,
  kCmtsUser = 41,
  kEco1User = 42,
  kEco2User = 43,
  kEdgeCuts = 44,
  kMargin = 45,
  kBCrtYd = 46,
  kFCrtYd = 47,
  kBFab = 48,
  kFFab = 49,
  kUser1 = 50,  // User.1..User.9 are 50..58
  kLastKicadLayer = 58
};
inline constexpr int kMaxInnerCopper = 30;

// The layer's name in a board file ("F.Cu", "In3.Cu", "User.2"); "" when
// the number names no layer.
std::string KicadLayerName(int layer);
constexpr bool IsCopper(int layer) noexcept { return layer >= kFCu && layer <= kBCu; }

// How a group of legacy layers maps.
enum class LayerRule : uint8_t {
  kFixed,        // to one KiCad layer
  kInner,        // inner copper in use: In1.Cu..., densely, in stack order, then by number
  kMechanical1,  // Edge.Cuts for lines and arcs, User.1 for texts and fills
  kShared,       // Dwgs.User, Cmts.User, Eco1.User, Eco2.User in order of number; more share Eco2.User
  kMulti,        // through-hole pads on every copper layer; other objects as kShared
  kNone          // not a board layer: objects on it are left out
};

// One row of the mapping table: legacy layers first..last (numbers, see
// orvik/layers.h). For kFixed rows, `kicad` is the layer of `first`;
// further layers of the row follow it one by one.
struct LayerMapping {
  int first;
  int last;
  LayerRule rule;
  int kicad;
};

// The mapping table, every legacy layer 0..82 in exactly one row.
// clang-format off
inline constexpr LayerMapping kLayerMappings[] = {
    {ORVIK_LAYER_NoLayer,        ORVIK_LAYER_NoLayer,        LayerRule::kNone,        kNoKicadLayer},
    {ORVIK_LAYER_TopLayer,       ORVIK_LAYER_TopLayer,       LayerRule::kFixed,       kFCu},
    {ORVIK_LAYER_MidLayer1,      ORVIK_LAYER_MidLayer30,     LayerRule::kInner,       kNoKicadLayer},
    {ORVIK_LAYER_BottomLayer,    ORVIK_LAYER_BottomLayer,    LayerRule::kFixed,       kBCu},
    {ORVIK_LAYER_TopOverlay,     ORVIK_LAYER_TopOverlay,     LayerRule::kFixed,       kFSilkS},
    {ORVIK_LAYER_BottomOverlay,  ORVIK_LAYER_BottomOverlay,  LayerRule::kFixed,       kBSilkS},
    {ORVIK_LAYER_TopPaste,       ORVIK_LAYER_TopPaste,       LayerRule::kFixed,       kFPaste},
    {ORVIK_LAYER_BottomPaste,    ORVIK_LAYER_BottomPaste,    LayerRule::kFixed,       kBPaste},
    {ORVIK_LAYER_TopSolder,      ORVIK_LAYER_TopSolder,      LayerRule::kFixed,       kFMask},
    {ORVIK_LAYER_BottomSolder,   ORVIK_LAYER_BottomSolder,   LayerRule::kFixed,       kBMask},
    {ORVIK_LAYER_InternalPlane1, ORVIK_LAYER_InternalPlane16, LayerRule::kInner,      kNoKicadLayer},
    {ORVIK_LAYER_DrillGuide,     ORVIK_LAYER_KeepOutLayer,   LayerRule::kShared,      kNoKicadLayer},
    {ORVIK_LAYER_Mechanical1,    ORVIK_LAYER_Mechanical1,    LayerRule::kMechanical1, kEdgeCuts},
    {ORVIK_LAYER_Mechanical2,    ORVIK_LAYER_Mechanical9,    LayerRule::kFixed,       kUser1 + 1},
    {ORVIK_LAYER_Mechanical10,   ORVIK_LAYER_DrillDrawing,   LayerRule::kShared,      kNoKicadLayer},
    {ORVIK_LAYER_MultiLayer,     ORVIK_LAYER_MultiLayer,     LayerRule::kMulti,       kNoKicadLayer},
    {ORVIK_LAYER_ConnectLayer,   ORVIK_LAYER_ViaHoleLayer,   LayerRule::kShared,      kNoKicadLayer},
};
// clang-format on

// The row of a legacy layer (the NoLayer row for numbers past 82).
const LayerMapping& MappingOf(int legacy);

// What an object on a layer is, for the layers that tell kinds apart.
enum class LayerUse : uint8_t { kLine, kText, kFill };

// One board's layers. Build it with the copper stack and every (layer, use)
// an object will be written with, then ask it where objects go.
class LayerPlan {
 public:
  // `stack`: the board's copper layers in stack order (legacy numbers);
  // `names`: the host's layer names (8-bit), indexed by legacy layer;
  // `wholeStack`: keep every inner layer of the stack, not only those in use.
  LayerPlan(const std::vector<int>& stack, const std::array<std::string, ORVIK_LEGACY_LAYER_COUNT>& names,
            bool wholeStack = false);

  // Records that an object will be written on `legacy` as `use`.
  void Use(int legacy, LayerUse use);
  // Assigns the inner copper and shared layers; call once, after every Use.
  void Finish();

  // The KiCad layer of an object on `legacy`; kNoKicadLayer when it has none.
  [[nodiscard]] int LayerOf(int legacy, LayerUse use) const;

  // Even number of copper layers, 2..32.
  [[nodiscard]] int CopperCount() const noexcept { return copperCount_; }
  // The "(layers ...)" section, with the host's names as user names.
  [[nodiscard]] std::string LayersSection() const;

  // Legacy layers that share a KiCad layer with another one, internal
  // planes written as (positive) power layers.
  [[nodiscard]] int SharedLayerCount() const noexcept { return sharedCount_; }
  [[nodiscard]] int InternalPlaneCount() const noexcept { return planeCount_; }
  // Host layer names not kept as KiCad user names (empty, or the same as a
  // KiCad layer name or another kept name).
  [[nodiscard]] int NamesNotKept() const noexcept { return namesNotKept_; }
  // Inner layers of the stack left out because nothing is on them.
  [[nodiscard]] int UnusedStackLayers() const noexcept { return unusedStackLayers_; }
  // The internal planes written, with their KiCad layers, in stack order.
  struct Plane {
    int legacy;
    int kicad;
  };
  [[nodiscard]] const std::vector<Plane>& Planes() const noexcept { return planes_; }

 private:
  std::vector<int> stack_;
  bool wholeStack_;
  std::vector<Plane> planes_;
  std::array<std::string, ORVIK_LEGACY_LAYER_COUNT> names_;  // UTF-8
  std::array<uint8_t, ORVIK_LEGACY_LAYER_COUNT> uses_{};     // bit per LayerUse
  std::array<int, ORVIK_LEGACY_LAYER_COUNT> assigned_{};     // inner and shared layers, after Finish
  std::array<bool, kMaxInnerCopper + 1> power_{};            // by KiCad inner layer: an internal plane
  std::array<std::string, kLastKicadLayer + 1> userNames_;
  int copperCount_ = 2;
  int sharedCount_ = 0;
  int planeCount_ = 0;
  int namesNotKept_ = 0;
  int unusedStackLayers_ = 0;
};

}  // namespace orvik::host::kicad
