// What the KiCad export wrote, per kind, and every change it made on the
// way (approximated, renamed, clamped, moved or left out), with its printed
// form for the import summary.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

namespace orvik::host::kicad {

// Objects written, by KiCad kind.
enum class Written : uint8_t {
  kNets,               // besides net 0
  kFootprints,         // one per component
  kFreePadFootprints,  // one per pad without a component
  kPads,               //
  kVias,               //
  kTrackSegments,      // copper tracks on the board
  kTrackArcs,          // copper arcs on the board
  kZones,              // copper fills on the board
  kTexts,              // board texts
  kGraphics,           // board lines, arcs, circles and polygons
  kFootprintTexts,     // references, values and texts of components
  kFootprintGraphics,  // lines, arcs, circles and polygons of components
  kCount
};

enum class ChangeClass : uint8_t { kApproximated, kRenamed, kClamped, kMoved, kAdded, kLeftOut, kCount };

// Every change the export makes, each counted.
enum class Change : uint8_t {
  kPlaneAsPowerLayer,      // internal planes written as (positive) power layers
  kPadStackDiffers,        // pads whose size or shape differs per layer: the top's used
  kOctagonalPad,           // octagonal pads written as chamfered rectangles
  kUnknownPadShape,        // pad shapes KiCad lacks, written as rectangles
  kOneSidePadHole,         // holes of pads on one copper layer, dropped
  kFullCircleAsTwoArcs,    // full copper circles written as two track arcs
  kArcAsSegment,           // arcs written as segments: zero radius, or too flat for KiCad to keep the centre
  kComponentCopperNet,     // component copper lines, arcs and fills that lose their net (footprint graphics have none)
  kOneLayerVia,            // vias on one layer written as through vias
  kComponentSide,          // components on neither copper side, written on the top
  kNetWithoutName,         // nets without a name
  kNetNameTaken,           // nets whose name an earlier net has
  kNulCharacter,           // names and texts with NUL characters, written as U+FFFD
  kLayerNameNotKept,       // host layer names not kept as KiCad user names (empty or taken)
  kPadSizeToMinimum,       // pad sizes of zero or less, set to 1 um
  kNegativeSize,           // negative widths, drills and text sizes, set to 0
  kCornerRatio,            // corner radii above half the smaller side
  kFreePadInFootprint,     // pads without a component, each in a footprint of its own
  kComponentVia,           // component vias written as board vias
  kMultiLayerObject,       // lines, arcs, fills and texts on MultiLayer, on a user layer
  kSharedLayer,            // host layers sharing a KiCad layer with another
  kPadOffCopper,           // pads without a hole on MultiLayer, or on a layer without copper, on the top copper
  kLabelTooSmall,          // references and values too small to read, at KiCad's size on the side's silk and fab layers
  kReferenceOverSilk,      // such references with no free spot, placed over other silkscreen
  kBoardOutline,           // a board outline on Edge.Cuts around everything, where the board has none
  kPlaneZone,              // internal planes (whole host stack) filled as zones of their net
  kEmptyFill,              // fills of zero width or height, left out (KiCad cannot hold them)
  kBeyondCoordinateRange,  // objects beyond KiCad's coordinate range, left out
  kNotOnBoard,             // primitives on no board or no layer, left out
  kUnusedInnerLayer,       // inner layers of the host's stack that hold nothing, left out
  kPlaneWithoutNet,        // internal planes (whole host stack) whose net is not on the board, left empty
  kCount
};

struct KicadReport {
  std::string path;
  double seconds = 0;  // reading the board and writing the file
  int copperLayers = 2;
  std::string page;           // KiCad paper name
  bool pageOverflow = false;  // the board is larger than the largest page
  std::array<int64_t, static_cast<std::size_t>(Written::kCount)> written{};
  std::array<int64_t, static_cast<std::size_t>(Change::kCount)> changes{};

  int64_t& Count(Written w) { return written[static_cast<std::size_t>(w)]; }
  int64_t& Count(Change c) { return changes[static_cast<std::size_t>(c)]; }
  [[nodiscard]] int64_t Of(Written w) const { return written[static_cast<std::size_t>(w)]; }
  [[nodiscard]] int64_t Of(Change c) const { return changes[static_cast<std::size_t>(c)]; }
  // Objects of the host's board that the KiCad board lacks (the changes
  // for which LeavesObjectOut holds).
  [[nodiscard]] int64_t ObjectsLeftOut() const;
};

// The class and description of a change ("pads whose ..."), and a class's
// name ("left out").
ChangeClass ClassOf(Change change);
const char* Describe(Change change);
const char* ClassName(ChangeClass changeClass);
// True for the changes that leave an object of the host's board out of the
// KiCad board (of class "left out", which also counts layers that hold
// nothing).
bool LeavesObjectOut(Change change);
// A written kind's name ("track segments").
const char* WrittenKindName(Written kind);

// "KiCad board FILE: 6 copper layers, page A4, written in 1.2 ms", the
// written counts, then one
// line per class of change that happened, each change with its count.
void PrintKicadReport(std::FILE* out, const KicadReport& report);

}  // namespace orvik::host::kicad
