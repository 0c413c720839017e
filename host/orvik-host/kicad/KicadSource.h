// What the KiCad export reads from the host module's board: the preview's
// geometry model of the placed primitives (the board's members and its
// components' members), plus what a KiCad board needs beyond a picture:
// the components with their designator and comment texts, the nets, every
// pad's stack and the board's copper layer stack.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "host/orvik-host/BoardScene.h"
#include "host/orvik-host/HostModules.h"

namespace orvik::host::kicad {

// A pad's size and shape on one layer.
struct PadFace {
  int64_t xSize = 0, ySize = 0;  // host units
  uint8_t shape = 0;             // host shape code
  uint8_t cornerPercent = 0;     // rounded rectangles: radius as percent of half the smaller side
  friend bool operator==(const PadFace&, const PadFace&) = default;
};

struct PadStack {
  PadFace top;
  PadFace bottom;
  bool innerDiffers = false;  // some inner layer's size or shape differs from the top's
};

struct SourceText {
  bool present = false;
  Primitive text;  // a TextShape
};

struct SourceComponent {
  uint32_t handle = 0;
  int64_t x = 0, y = 0;  // host units
  double rotation = 0;   // degrees, counterclockwise
  int layer = 0;         // legacy layer: BottomLayer for a bottom-side component
  std::string pattern;   // 8-bit host text
  SourceText designator;
  SourceText comment;
  std::vector<std::size_t> members;  // indices into the scene's primitives, in handle order
};

struct SourceNet {
  uint32_t handle = 0;
  std::string name;  // 8-bit host text, as held (may be empty)
};

struct KicadSource {
  const BoardScene& scene;                    // placed primitives in handle order (net and component handles set)
  std::vector<PadStack> padStacks{};          // one per pad primitive
  std::vector<int32_t> padStackOf{};          // per primitive: index into padStacks, -1 for other kinds
  std::vector<SourceComponent> components{};  // the board's components, in handle order
  std::vector<SourceNet> nets{};              // the board's nets and those its primitives join, in handle order
  std::vector<int> copperStack{};             // the board's copper layers, top to bottom (legacy numbers)
  std::array<std::string, ORVIK_LEGACY_LAYER_COUNT> layerNames{};  // 8-bit host names
  std::array<std::string, ORVIK_LEGACY_LAYER_COUNT> planeNets{};   // internal planes: the net's name (8-bit)
};

// Reads the module's current board beyond `scene`, which ReadBoardScene read
// from it and which the source refers to.
KicadSource ReadKicadSource(const KovlanApi& api, const BoardScene& scene);

}  // namespace orvik::host::kicad
