#include "host/orvik-host/kicad/KicadReport.h"

namespace orvik::host::kicad {

namespace {

struct ChangeInfo {
  Change change;
  ChangeClass changeClass;
  const char* description;
  bool objectLeftOut = false;  // an object of the host's board the KiCad board lacks
};

// One row per change, in the order of the enumeration.
constexpr ChangeInfo kChanges[] = {
    {Change::kPlaneAsPowerLayer, ChangeClass::kApproximated,
     "internal planes written as power layers of positive copper"},
    {Change::kPadStackDiffers, ChangeClass::kApproximated, "pads whose size or shape differs per layer (top used)"},
    {Change::kOctagonalPad, ChangeClass::kApproximated, "octagonal pads as chamfered rectangles"},
    {Change::kUnknownPadShape, ChangeClass::kApproximated, "pads of other shapes as rectangles"},
    {Change::kOneSidePadHole, ChangeClass::kApproximated, "holes of one-side pads dropped"},
    {Change::kFullCircleAsTwoArcs, ChangeClass::kApproximated, "full copper circles as two track arcs"},
    {Change::kArcAsSegment, ChangeClass::kApproximated, "arcs as segments (zero radius, or too flat)"},
    {Change::kComponentCopperNet, ChangeClass::kApproximated,
     "component copper lines, arcs and fills without their net"},
    {Change::kOneLayerVia, ChangeClass::kApproximated, "one-layer vias as through vias"},
    {Change::kComponentSide, ChangeClass::kApproximated, "components on neither side placed on the top"},
    {Change::kNetWithoutName, ChangeClass::kRenamed, "nets without a name"},
    {Change::kNetNameTaken, ChangeClass::kRenamed, "nets of a name taken by an earlier net"},
    {Change::kNulCharacter, ChangeClass::kRenamed, "names and texts with NUL characters"},
    {Change::kLayerNameNotKept, ChangeClass::kRenamed, "layer names not kept"},
    {Change::kPadSizeToMinimum, ChangeClass::kClamped, "pad sizes of zero or less to 1 um"},
    {Change::kNegativeSize, ChangeClass::kClamped, "negative widths, drills and text sizes to 0"},
    {Change::kCornerRatio, ChangeClass::kClamped, "corner radii to half the smaller side"},
    {Change::kFreePadInFootprint, ChangeClass::kMoved, "free pads into one-pad footprints"},
    {Change::kComponentVia, ChangeClass::kMoved, "component vias onto the board"},
    {Change::kMultiLayerObject, ChangeClass::kMoved, "MultiLayer lines, arcs, fills and texts onto a user layer"},
    {Change::kSharedLayer, ChangeClass::kMoved, "host layers onto a KiCad layer shared with another"},
    {Change::kPadOffCopper, ChangeClass::kMoved, "pads without a hole on MultiLayer, or off copper, onto F.Cu"},
    {Change::kLabelTooSmall, ChangeClass::kMoved,
     "references and values too small to read, at 1 mm on the side's silkscreen and fabrication layers"},
    {Change::kReferenceOverSilk, ChangeClass::kMoved, "references placed over other silkscreen"},
    {Change::kBoardOutline, ChangeClass::kAdded, "a board outline on Edge.Cuts around everything exported"},
    {Change::kPlaneZone, ChangeClass::kAdded, "internal planes as zones of their net over the board outline"},
    {Change::kEmptyFill, ChangeClass::kLeftOut, "fills of zero width or height", true},
    {Change::kBeyondCoordinateRange, ChangeClass::kLeftOut, "objects beyond KiCad's coordinate range", true},
    {Change::kNotOnBoard, ChangeClass::kLeftOut, "primitives on no board or no layer", true},
    {Change::kUnusedInnerLayer, ChangeClass::kLeftOut, "inner layers of the host's stack that hold nothing"},
    {Change::kPlaneWithoutNet, ChangeClass::kLeftOut, "internal planes whose net is not on the board, left empty"},
};
static_assert(std::size(kChanges) == static_cast<std::size_t>(Change::kCount));
constexpr bool InEnumerationOrder() {
  for (std::size_t i = 0; i < std::size(kChanges); ++i) {
    if (static_cast<std::size_t>(kChanges[i].change) != i) return false;
  }
  return true;
}
static_assert(InEnumerationOrder());
constexpr bool ObjectsLeftOutAreLeftOut() {
  for (const ChangeInfo& info : kChanges) {
    if (info.objectLeftOut && info.changeClass != ChangeClass::kLeftOut) return false;
  }
  return true;
}
static_assert(ObjectsLeftOutAreLeftOut());

constexpr const char* kClassNames[] = {"approximated", "renamed", "clamped", "moved", "added", "left out"};
static_assert(std::size(kClassNames) == static_cast<std::size_t>(ChangeClass::kCount));

struct WrittenName {
  Written kind;
  const char* name;
};
constexpr WrittenName kWrittenNames[] = {
    {Written::kNets, "nets"},
    {Written::kFootprints, "footprints"},
    {Written::kFreePadFootprints, "free-pad footprints"},
    {Written::kPads, "pads"},
    {Written::kVias, "vias"},
    {Written::kTrackSegments, "track segments"},
    {Written::kTrackArcs, "track arcs"},
    {Written::kZones, "zones"},
    {Written::kTexts, "texts"},
    {Written::kGraphics, "graphics"},
    {Written::kFootprintTexts, "footprint texts"},
    {Written::kFootprintGraphics, "footprint graphics"},
};
static_assert(std::size(kWrittenNames) == static_cast<std::size_t>(Written::kCount));

}  // namespace

ChangeClass ClassOf(Change change) { return kChanges[static_cast<std::size_t>(change)].changeClass; }

const char* Describe(Change change) { return kChanges[static_cast<std::size_t>(change)].description; }

const char* ClassName(ChangeClass changeClass) { return kClassNames[static_cast<std::size_t>(changeClass)]; }

bool LeavesObjectOut(Change change) { return kChanges[static_cast<std::size_t>(change)].objectLeftOut; }

int64_t KicadReport::ObjectsLeftOut() const {
  int64_t total = 0;
  for (std::size_t c = 0; c < changes.size(); ++c) {
    if (LeavesObjectOut(static_cast<Change>(c))) total += changes[c];
  }
  return total;
}

const char* WrittenKindName(Written kind) { return kWrittenNames[static_cast<std::size_t>(kind)].name; }

void PrintKicadReport(std::FILE* out, const KicadReport& report) {
  std::fprintf(out, "KiCad board %s: %d copper layers, page %s%s, written in ", report.path.c_str(),
               report.copperLayers, report.page.c_str(),
               report.pageOverflow ? " (the board is larger than the page)" : "");
  if (report.seconds < 1.0) {
    std::fprintf(out, "%.1f ms\n", report.seconds * 1000.0);
  } else {
    std::fprintf(out, "%.2f s\n", report.seconds);
  }
  std::fprintf(out, "KiCad objects written:");
  bool first = true;
  for (const WrittenName& w : kWrittenNames) {
    std::fprintf(out, "%s %s %lld", first ? "" : ",", w.name, static_cast<long long>(report.Of(w.kind)));
    first = false;
  }
  std::fputc('\n', out);
  for (std::size_t c = 0; c < std::size(kClassNames); ++c) {
    bool any = false;
    for (const ChangeInfo& info : kChanges) {
      if (static_cast<std::size_t>(info.changeClass) != c || report.Of(info.change) == 0) continue;
      std::fprintf(out, "%s %s %lld", any ? "," : (std::string("KiCad ") + kClassNames[c] + ":").c_str(),
                   info.description, static_cast<long long>(report.Of(info.change)));
      any = true;
    }
    if (any) std::fputc('\n', out);
  }
  bool changed = false;
  for (const int64_t count : report.changes) changed = changed || count != 0;
  if (!changed) std::fprintf(out, "KiCad changes: none\n");
}

}  // namespace orvik::host::kicad
