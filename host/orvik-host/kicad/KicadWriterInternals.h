// The KiCad board writer's one class, shared by the files that define its
// parts: set-up and sections (KicadBoardWriter.cpp), footprints with their
// pads and labels (KicadFootprintWriter.cpp), and the line, arc, fill and
// via items (KicadItemWriter.cpp). Nothing outside them includes it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/orvik-host/kicad/KicadBoardWriter.h"
#include "host/orvik-host/kicad/KicadFormat.h"
#include "host/orvik-host/kicad/KicadGeometry.h"
#include "host/orvik-host/kicad/KicadLayers.h"
#include "host/orvik-host/kicad/KicadNetNames.h"
#include "host/orvik-host/kicad/KicadPads.h"
#include "host/orvik-host/kicad/KicadPlacement.h"
#include "host/orvik-host/kicad/KicadSilkscreen.h"
#include "host/orvik-host/kicad/KicadTextBox.h"

namespace orvik::host::kicad::detail {

inline Point HostPoint(int64_t x, int64_t y) { return {NanometresOf(x), NanometresOf(y)}; }

// How a footprint child's coordinates are written: relative to the
// footprint's anchor, before its rotation; board items absolutely.
class Frame {
 public:
  Frame(const Placement& placement, std::optional<Point> anchor, int64_t millidegrees)
      : placement_(placement), anchor_(anchor), degrees_(static_cast<double>(millidegrees) / 1000.0) {}

  [[nodiscard]] Point operator()(Point host) const {
    if (!anchor_) return placement_.ToKicad(host);
    const Point turned = Turned(host, *anchor_, -degrees_);
    return Placement::Offset({turned.x - anchor_->x, turned.y - anchor_->y});
  }
  [[nodiscard]] bool InFootprint() const noexcept { return anchor_.has_value(); }

 private:
  const Placement& placement_;
  std::optional<Point> anchor_;  // host nanometres
  double degrees_;
};

inline int64_t NonNegative(int64_t v, KicadReport& report) {
  if (v >= 0) return v;
  ++report.Count(Change::kNegativeSize);
  return 0;
}

class BoardWriter {
 public:
  BoardWriter(const KicadSource& source, const KicadSink& sink, KicadReport& report, const KicadOptions& options)
      : source_(source),
        sink_(sink),
        report_(report),
        options_(options),
        plan_(source.copperStack, source.layerNames, options.hostStack) {}

  bool Write();

 private:
  // A footprint's reference and value as the host has them, or where the
  // host's texts are too small to read, placed anew.
  struct Labels {
    bool newReference = false, newValue = false;
    Point reference, value;  // centres, host nanometres
    Box pads;                // the footprint's written pads (host nanometres)
    bool throughHole = false;
  };
  // A text to write: host text, geometry in host nanometres.
  struct TextItem {
    std::string_view text;
    TextGeometry geometry;
    int layer = kNoKicadLayer;
    bool hidden = false;
  };

  // Set-up.
  void PlanLayers();
  void Place();
  void NameNetsOnce();
  void PlanLabels();
  void AddToSilkscreen(SilkscreenIndex& index, const Primitive& p, int layer, Box* footprint);
  // Sections.
  void Header();
  void Footprints();
  void Component(std::size_t index);
  void FreePad(std::size_t index);
  void Attributes(const Labels& labels, bool freePad);
  void Graphics();
  void Tracks();
  void Zones();
  void Outline();
  void PlaneZones();

  // Objects.
  bool InRange(std::initializer_list<Point> hostPoints) const;
  // A line, arc, fill or text drawn as a board or footprint graphic (copper
  // tracks, arcs and fills of the board go to Tracks and Zones).
  void Drawing(const Primitive& p, int layer, const Frame& frame);
  // A line or arc item: a track item on board copper, else a board or
  // footprint graphic; its stroke, layer, net and tstamp close it.
  void OpenStroke(bool inFootprint, bool track, const char* trackItem, const char* graphicItem);
  void CloseStroke(const Primitive& p, int64_t width, int layer, bool track, Role role);
  void Line(const Primitive& p, Point a, Point b, int64_t width, int layer, const Frame& frame, Role role);
  // These three write nothing, and count it, for what lies out of range
  // (or, for fills, encloses no area); false then.
  bool Segment(const Primitive& p, const TrackShape& track, int layer, const Frame& frame);
  bool Arc(const Primitive& p, const ArcShape& arc, int layer, const Frame& frame);
  void ArcPiece(const Primitive& p, Point centre, int64_t radius, double start, double end, int64_t width, int layer,
                const Frame& frame, Role role);
  bool Polygon(const Primitive& p, const FillShape& fill, int layer, const Frame& frame);
  void Zone(const Primitive& p, const FillShape& fill, int layer);
  // The corners of a fill that KiCad can hold; when it cannot, none, and
  // with `count` the reason is counted.
  std::optional<std::array<Point, 4>> FillCorners(const FillShape& fill, bool count);
  // A host text as written: its sizes (negative ones counted as clamped).
  TextItem HostText(const TextShape& t, int layer);
  // An empty, hidden reference or value of KiCad's size at `anchor`, on the
  // side's fabrication layer, for a footprint the host has no text for.
  static TextItem HiddenLabel(Point anchor, bool bottom);
  void Text(const TextItem& t, const Frame& frame, const char* fpKind, Role role, uint32_t handle);
  // The pad primitive at `index`, laid out as PlanLabels laid it out.
  void Pad(std::size_t index, const Frame& frame);
  void Via(const Primitive& p, const ViaShape& via);
  [[nodiscard]] const PadLayout& LayOut(std::size_t index) const {
    return padLayouts_[static_cast<std::size_t>(source_.padStackOf[index])];
  }
  // Everything written widens the board's extent; what is written on
  // Edge.Cuts is the board's own outline.
  void Extent(const Box& host, int layer);

  // Pieces.
  void Xy(const char* key, Point kicad);
  void At(Point kicad, int64_t millidegrees);
  void Points(const std::array<Point, 4>& hostCorners, const Frame& frame);
  void KicadPoints(const std::array<Point, 4>& kicadCorners);
  // "(zone (net N) (net_name ...) (layer ...) (tstamp ...) (hatch ...)".
  void ZoneHeader(int32_t netCode, int layer, Role role, uint32_t handle);
  void Net(uint32_t handle, bool withName);
  [[nodiscard]] int32_t NetCode(uint32_t handle) const;  // 0 for none
  [[nodiscard]] std::string_view NetName(int32_t code) const;
  void LayerName(int layer);
  void Width(int64_t nm);
  void Tstamp(Role role, uint32_t handle) { AppendTstamp(out_, role, handle); }
  std::string Text(std::string_view host);
  void Flush(bool force = false);

  // The KiCad layer of a non-pad primitive, kNoKicadLayer when it has none.
  [[nodiscard]] int LayerOf(const Primitive& p) const;
  [[nodiscard]] bool OnBoard(std::size_t index) const { return owner_[index] < 0; }
  [[nodiscard]] Box ToKicad(const Box& host) const;

  const KicadSource& source_;
  const KicadSink& sink_;
  KicadReport& report_;
  KicadOptions options_;
  LayerPlan plan_;
  std::optional<Placement> placement_;
  NetNames netNames_;
  std::unordered_map<uint32_t, int32_t> netCodes_;  // net handle -> KiCad net number
  std::vector<int32_t> owner_;                      // per primitive: component index, -1 for the board
  std::vector<Labels> labels_;                      // per component
  std::vector<PadLayout> padLayouts_;               // per pad, as KicadSource::padStacks
  Box points_;                                      // the points that place the board (host nanometres)
  Box extent_;                                      // everything written (host nanometres)
  Box edge_;                                        // what is written on Edge.Cuts
  Box outline_;                                     // the board's outline (KiCad nanometres), once written
  int zones_ = 0;                                   // written so far, for their priorities
  std::string out_;
  bool ok_ = true;
};

}  // namespace orvik::host::kicad::detail
