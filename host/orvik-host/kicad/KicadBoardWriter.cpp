#include "host/orvik-host/kicad/KicadBoardWriter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <unordered_map>
#include <vector>

#include "host/orvik-host/kicad/KicadFormat.h"
#include "host/orvik-host/kicad/KicadGeometry.h"
#include "host/orvik-host/kicad/KicadLabels.h"
#include "host/orvik-host/kicad/KicadLayers.h"
#include "host/orvik-host/kicad/KicadNetNames.h"
#include "host/orvik-host/kicad/KicadPads.h"
#include "host/orvik-host/kicad/KicadPlacement.h"
#include "host/orvik-host/kicad/KicadSilkscreen.h"
#include "host/orvik-host/kicad/KicadTextBox.h"

namespace orvik::host::kicad {

namespace {

constexpr std::size_t kFlushSize = std::size_t{1} << 20;
// An arc whose centre, found back from its three points on whole
// nanometres, lies further off than this is written as a segment.
constexpr double kCentreTolerance = 500.0;  // nm
// Octagons: corners cut at a quarter of the smaller side.
constexpr int64_t kOctagonChamferThousandths = 250;
constexpr int64_t kHalf = 500;  // thousandths: KiCad's largest corner ratio
// The outline added to a board without one: this far around everything
// (KiCad 6 wants copper 0.01 mm from the edge's centre line, and no silk
// touching it), on whole millimetres, drawn at KiCad's usual edge width.
constexpr int64_t kOutlineMargin = 1000000;
constexpr int64_t kOutlineWidth = 100000;
// Arcs on the silkscreen are kept clear of as this many strokes a turn.
constexpr int kArcPiecesPerTurn = 32;

Point HostPoint(int64_t x, int64_t y) { return {NanometresOf(x), NanometresOf(y)}; }

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

int64_t NonNegative(int64_t v, KicadReport& report) {
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
  void Text(const TextItem& t, const Frame& frame, const char* fpKind, Role role, uint32_t handle);
  void Pad(const Primitive& p, const PadShape& pad, const PadStack& stack, const Frame& frame);
  void Via(const Primitive& p, const ViaShape& via);
  [[nodiscard]] PadLayout LayOut(std::size_t index) const;
  // Everything written widens the board's extent; what is written on
  // Edge.Cuts is the board's own outline.
  void Extent(const Box& host, int layer);

  // Pieces.
  void Xy(const char* key, Point kicad);
  void At(Point kicad, int64_t millidegrees);
  void Points(const std::array<Point, 4>& hostCorners, const Frame& frame);
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
  Box points_;                                      // the points that place the board (host nanometres)
  Box extent_;                                      // everything written (host nanometres)
  Box edge_;                                        // what is written on Edge.Cuts
  Box outline_;                                     // the board's outline (KiCad nanometres), once written
  int zones_ = 0;                                   // written so far, for their priorities
  std::string out_;
  bool ok_ = true;
};

LayerUse UseOf(const Shape& shape) {
  if (std::holds_alternative<FillShape>(shape)) return LayerUse::kFill;
  if (std::holds_alternative<TextShape>(shape)) return LayerUse::kText;
  return LayerUse::kLine;
}

int BoardWriter::LayerOf(const Primitive& p) const { return plan_.LayerOf(p.layer, UseOf(p.shape)); }

void BoardWriter::PlanLayers() {
  const std::vector<Primitive>& primitives = source_.scene.primitives;
  owner_.assign(primitives.size(), -1);
  for (std::size_t c = 0; c < source_.components.size(); ++c) {
    for (const std::size_t i : source_.components[c].members) owner_[i] = static_cast<int32_t>(c);
  }
  for (const Primitive& p : primitives) {
    if (std::holds_alternative<ViaShape>(p.shape)) continue;
    if (std::holds_alternative<PadShape>(p.shape)) {
      // Pads on inner copper need that layer; elsewhere they need none.
      if (MappingOf(p.layer).rule == LayerRule::kInner) plan_.Use(p.layer, LayerUse::kLine);
      continue;
    }
    plan_.Use(p.layer, UseOf(p.shape));
  }
  for (const SourceComponent& c : source_.components) {
    for (const SourceText* t : {&c.designator, &c.comment}) {
      if (t->present) plan_.Use(t->text.layer, LayerUse::kText);
    }
  }
  plan_.Finish();
  report_.copperLayers = plan_.CopperCount();
  report_.Count(Change::kPlaneAsPowerLayer) = plan_.InternalPlaneCount();
  report_.Count(Change::kSharedLayer) = plan_.SharedLayerCount();
  report_.Count(Change::kLayerNameNotKept) = plan_.NamesNotKept();
  report_.Count(Change::kUnusedInnerLayer) = plan_.UnusedStackLayers();
}

// Calls fn(point) for the points that outline each object in host
// nanometres.
template <typename Fn>
void ForEachPoint(const KicadSource& source, Fn&& fn) {
  for (const Primitive& p : source.scene.primitives) {
    if (const auto* t = std::get_if<TrackShape>(&p.shape)) {
      fn(HostPoint(t->x1, t->y1));
      fn(HostPoint(t->x2, t->y2));
    } else if (const auto* a = std::get_if<ArcShape>(&p.shape)) {
      const int64_t r = std::max<int64_t>(NanometresOf(a->radius), 0);
      const Point c = HostPoint(a->x, a->y);
      fn({c.x - r, c.y - r});
      fn({c.x + r, c.y + r});
    } else if (const auto* pad = std::get_if<PadShape>(&p.shape)) {
      fn(HostPoint(pad->x, pad->y));
    } else if (const auto* v = std::get_if<ViaShape>(&p.shape)) {
      fn(HostPoint(v->x, v->y));
    } else if (const auto* f = std::get_if<FillShape>(&p.shape)) {
      fn(HostPoint(f->x1, f->y1));
      fn(HostPoint(f->x2, f->y2));
    } else if (const auto* text = std::get_if<TextShape>(&p.shape)) {
      fn(HostPoint(text->x, text->y));
    }
  }
  for (const SourceComponent& c : source.components) fn(HostPoint(c.x, c.y));
}

void BoardWriter::Place() {
  ForEachPoint(source_, [this](Point p) { points_.Add(p); });
  if (!points_.empty && Placement::NeedsPoints(points_.min, points_.max)) {
    std::vector<Point> points;
    ForEachPoint(source_, [&](Point p) { points.push_back(p); });
    placement_ = Placement::Around(std::move(points));
  } else {
    placement_ = Placement::ForBox(points_.min, points_.max, points_.empty);
  }
  report_.page = placement_->PageSize().name;
  report_.pageOverflow = placement_->Overflows();
}

void BoardWriter::NameNetsOnce() {
  netNames_ = NameNets(source_.nets);
  for (std::size_t i = 0; i < source_.nets.size(); ++i) {
    netCodes_.emplace(source_.nets[i].handle, static_cast<int32_t>(i + 1));
  }
  report_.Count(Written::kNets) = static_cast<int64_t>(source_.nets.size());
  report_.Count(Change::kNetWithoutName) = netNames_.empty;
  report_.Count(Change::kNetNameTaken) = netNames_.duplicates;
  report_.Count(Change::kNulCharacter) += netNames_.nulReplaced;
}

// The sides whose silkscreen must keep clear of what is on a layer.
uint8_t SilkscreenSides(int layer) {
  switch (layer) {
    case kFSilkS:
    case kFMask:
      return SilkscreenIndex::kTop;
    case kBSilkS:
    case kBMask:
      return SilkscreenIndex::kBottom;
    case kEdgeCuts:
      return SilkscreenIndex::kBothSides;
    default:
      return 0;
  }
}

TextGeometry GeometryOf(const TextShape& t) {
  TextGeometry g;
  g.anchor = HostPoint(t.x, t.y);
  g.size = std::max<int64_t>(NanometresOf(t.height), 0);
  g.thickness = std::max<int64_t>(NanometresOf(t.strokeWidth), 0);
  g.degrees = t.rotation;
  g.mirrored = t.mirrored;
  return g;
}

bool Readable(const SourceText& t) {
  return NanometresOf(std::get<TextShape>(t.text.shape).height) >= kSmallestReadableText;
}

PadLayout BoardWriter::LayOut(std::size_t index) const {
  const Primitive& p = source_.scene.primitives[index];
  return LayOutPad(p, std::get<PadShape>(p.shape),
                   source_.padStacks[static_cast<std::size_t>(source_.padStackOf[index])], plan_);
}

void BoardWriter::AddToSilkscreen(SilkscreenIndex& index, const Primitive& p, int layer, Box* footprint) {
  const uint8_t sides = SilkscreenSides(layer);
  if (sides == 0) return;
  Box box;
  if (const auto* t = std::get_if<TrackShape>(&p.shape)) {
    const Point a = HostPoint(t->x1, t->y1), b = HostPoint(t->x2, t->y2);
    if (!InRange({a, b})) return;
    const int64_t half = std::max<int64_t>(NanometresOf(t->width), 0) / 2;
    index.AddStroke(a, b, half, sides);
    box.Add(a);
    box.Add(b);
    box = box.Grown(half);
  } else if (const auto* arc = std::get_if<ArcShape>(&p.shape)) {
    const Point centre = HostPoint(arc->x, arc->y);
    const int64_t radius = std::max<int64_t>(NanometresOf(arc->radius), 0);
    if (!InRange({{centre.x - radius, centre.y - radius}, {centre.x + radius, centre.y + radius}})) return;
    // As strokes between points on the arc, widened by how far the arc
    // bulges beyond them.
    const double start = std::isfinite(arc->startAngle) ? arc->startAngle : 0.0;
    const double sweep = ArcSweep(arc->startAngle, arc->endAngle);
    const int pieces = std::max(1, static_cast<int>(std::ceil(sweep / 360.0 * kArcPiecesPerTurn)));
    const double step = sweep / pieces;
    const auto bulge =
        static_cast<int64_t>(std::ceil(static_cast<double>(radius) * (1 - std::cos(step * std::numbers::pi / 360.0))));
    const int64_t half = std::max<int64_t>(NanometresOf(arc->width), 0) / 2 + bulge;
    Point from = OnCircle(centre, radius, start);
    for (int i = 1; i <= pieces; ++i) {
      const Point to = OnCircle(centre, radius, start + step * i);
      index.AddStroke(from, to, half, sides);
      from = to;
    }
    box = ArcBox(centre, radius, arc->startAngle, arc->endAngle, 2 * half);
  } else if (const auto* f = std::get_if<FillShape>(&p.shape)) {
    const auto corners = FillCorners(*f, false);
    if (!corners) return;
    for (const Point& c : *corners) box.Add(c);
    index.AddBox(box, sides);
  } else if (const auto* text = std::get_if<TextShape>(&p.shape)) {
    if (!InRange({HostPoint(text->x, text->y)})) return;
    box = TextBox(GeometryOf(*text), text->text);
    index.AddBox(box, sides);
  }
  if (footprint != nullptr) footprint->Merge(box);
}

void BoardWriter::PlanLabels() {
  const std::vector<Primitive>& primitives = source_.scene.primitives;
  labels_.assign(source_.components.size(), Labels{});
  std::vector<Box> bodies(source_.components.size());  // each footprint's own silkscreen on its side
  auto written = [this](const SourceComponent& c) { return InRange({HostPoint(c.x, c.y)}); };
  auto silkOf = [](const SourceComponent& c) { return c.layer == ORVIK_LAYER_BottomLayer ? kBSilkS : kFSilkS; };
  SilkscreenIndex silk(points_);
  for (std::size_t i = 0; i < primitives.size(); ++i) {
    const Primitive& p = primitives[i];
    const int32_t owner = owner_[i];
    if (std::holds_alternative<ViaShape>(p.shape)) continue;
    if (owner >= 0 && !written(source_.components[static_cast<std::size_t>(owner)])) continue;
    if (const auto* pad = std::get_if<PadShape>(&p.shape)) {
      if (!InRange({HostPoint(pad->x, pad->y)})) continue;
      const PadLayout layout = LayOut(i);
      const Box box = PadBox(*pad, layout);
      if (owner >= 0) {
        labels_[static_cast<std::size_t>(owner)].pads.Merge(box);
        labels_[static_cast<std::size_t>(owner)].throughHole |= layout.through;
      }
      if (layout.HasMask()) {
        silk.AddBox(box, static_cast<uint8_t>((layout.OnTop() ? SilkscreenIndex::kTop : 0) |
                                              (layout.OnBottom() ? SilkscreenIndex::kBottom : 0)));
      }
      continue;
    }
    const int layer = LayerOf(p);
    Box* body = nullptr;
    if (owner >= 0 && layer == silkOf(source_.components[static_cast<std::size_t>(owner)])) {
      body = &bodies[static_cast<std::size_t>(owner)];
    }
    AddToSilkscreen(silk, p, layer, body);
  }
  // The host's texts that stay where they are, then the new references.
  for (std::size_t c = 0; c < source_.components.size(); ++c) {
    const SourceComponent& component = source_.components[c];
    if (!written(component)) continue;
    for (const SourceText* t : {&component.designator, &component.comment}) {
      if (t->present && Readable(*t)) {
        AddToSilkscreen(silk, t->text, plan_.LayerOf(t->text.layer, LayerUse::kText), nullptr);
      }
    }
  }
  LabelPlacer placer(silk);
  for (std::size_t c = 0; c < source_.components.size(); ++c) {
    const SourceComponent& component = source_.components[c];
    if (!written(component)) continue;
    Labels& l = labels_[c];
    const Point anchor = HostPoint(component.x, component.y);
    const bool bottom = component.layer == ORVIK_LAYER_BottomLayer;
    if (component.designator.present && !Readable(component.designator)) {
      Box footprint = bodies[c];
      footprint.Merge(l.pads);
      footprint.Add(anchor);
      const LabelSpot spot = placer.PlaceReference(std::get<TextShape>(component.designator.text.shape).text, l.pads,
                                                   footprint, anchor, bottom);
      l.newReference = true;
      l.reference = spot.centre;
      ++report_.Count(Change::kLabelTooSmall);
      if (!spot.free) ++report_.Count(Change::kReferenceOverSilk);
    }
    if (component.comment.present && !Readable(component.comment)) {
      l.newValue = true;
      l.value = l.pads.empty ? anchor : l.pads.Centre();
      ++report_.Count(Change::kLabelTooSmall);
    }
  }
}

Box BoardWriter::ToKicad(const Box& host) const {
  Box kicad;
  if (host.empty) return kicad;
  kicad.Add(placement_->ToKicad(host.min));
  kicad.Add(placement_->ToKicad(host.max));
  return kicad;
}

void BoardWriter::Extent(const Box& host, int layer) {
  extent_.Merge(host);
  if (layer == kEdgeCuts) edge_.Merge(host);
}

std::string BoardWriter::Text(std::string_view host) {
  bool replaced = false;
  std::string text = KicadText(host, replaced);
  if (replaced) ++report_.Count(Change::kNulCharacter);
  return text;
}

void BoardWriter::Flush(bool force) {
  if (!ok_ || (!force && out_.size() < kFlushSize)) return;
  ok_ = sink_(out_);
  out_.clear();
}

void BoardWriter::Xy(const char* key, Point kicad) {
  out_ += '(';
  out_ += key;
  out_ += ' ';
  AppendMillimetres(out_, kicad.x);
  out_ += ' ';
  AppendMillimetres(out_, kicad.y);
  out_ += ')';
}

int32_t BoardWriter::NetCode(uint32_t handle) const {
  const auto it = netCodes_.find(handle);
  return it == netCodes_.end() ? 0 : it->second;
}

std::string_view BoardWriter::NetName(int32_t code) const {
  return code == 0 ? std::string_view() : netNames_.names[static_cast<std::size_t>(code - 1)];
}

void BoardWriter::Net(uint32_t handle, bool withName) {
  const int32_t code = NetCode(handle);
  out_ += " (net " + std::to_string(code);
  if (withName) {
    out_ += ' ';
    AppendQuoted(out_, NetName(code));
  }
  out_ += ')';
}

void BoardWriter::At(Point kicad, int64_t millidegrees) {
  out_ += "(at ";
  AppendMillimetres(out_, kicad.x);
  out_ += ' ';
  AppendMillimetres(out_, kicad.y);
  if (millidegrees != 0) {
    out_ += ' ';
    AppendDegrees(out_, millidegrees);
  }
  out_ += ')';
}

void BoardWriter::Points(const std::array<Point, 4>& hostCorners, const Frame& frame) {
  out_ += "(pts";
  for (const Point& c : hostCorners) {
    out_ += ' ';
    Xy("xy", frame(c));
  }
  out_ += ')';
}

void BoardWriter::LayerName(int layer) {
  out_ += "(layer ";
  AppendQuoted(out_, KicadLayerName(layer));
  out_ += ')';
}

void BoardWriter::Width(int64_t nm) {
  out_ += "(width ";
  AppendMillimetres(out_, nm);
  out_ += ')';
}

bool BoardWriter::InRange(std::initializer_list<Point> hostPoints) const {
  return std::all_of(hostPoints.begin(), hostPoints.end(),
                     [this](Point p) { return Placement::Within(placement_->ToKicad(p)); });
}

void BoardWriter::Header() {
  out_ += "(kicad_pcb (version 20211014) (generator orvik-host)\n\n";
  out_ += "  (general\n    (thickness 1.6)\n  )\n\n";
  out_ += "  (paper ";
  AppendQuoted(out_, placement_->PageSize().name);
  out_ += ")\n";
  out_ += plan_.LayersSection();
  out_ += "\n  (setup\n    (pad_to_mask_clearance 0)\n    ";
  Xy("aux_axis_origin", placement_->Origin());
  out_ += "\n  )\n\n";
  out_ += "  (net 0 \"\")\n";
  for (std::size_t i = 0; i < netNames_.names.size(); ++i) {
    out_ += "  (net " + std::to_string(i + 1) + " ";
    AppendQuoted(out_, netNames_.names[i]);
    out_ += ")\n";
  }
  out_ += '\n';
}

void BoardWriter::OpenStroke(bool inFootprint, bool track, const char* trackItem, const char* graphicItem) {
  out_ += inFootprint ? "    (fp_" : (track ? "  (" : "  (gr_");
  out_ += track ? trackItem : graphicItem;
  out_ += ' ';
}

void BoardWriter::CloseStroke(const Primitive& p, int64_t width, int layer, bool track, Role role) {
  out_ += ' ';
  if (track) {
    Width(width);
    out_ += ' ';
    LayerName(layer);
    Net(p.netHandle, false);
  } else {
    LayerName(layer);
    out_ += ' ';
    Width(width);
  }
  out_ += ' ';
  Tstamp(role, p.handle);
  out_ += ")\n";
}

void BoardWriter::Line(const Primitive& p, Point a, Point b, int64_t width, int layer, const Frame& frame, Role role) {
  const bool inFootprint = frame.InFootprint();
  const bool track = IsCopper(layer) && !inFootprint;
  OpenStroke(inFootprint, track, "segment", "line");
  Xy("start", frame(a));
  out_ += ' ';
  Xy("end", frame(b));
  CloseStroke(p, width, layer, track, role);
  ++report_.Count(track ? Written::kTrackSegments : (inFootprint ? Written::kFootprintGraphics : Written::kGraphics));
  Box box;
  box.Add(a);
  box.Add(b);
  Extent(box.Grown(width / 2 + 1), layer);
}

bool BoardWriter::Segment(const Primitive& p, const TrackShape& track, int layer, const Frame& frame) {
  const Point a = HostPoint(track.x1, track.y1), b = HostPoint(track.x2, track.y2);
  if (!InRange({a, b})) {
    ++report_.Count(Change::kBeyondCoordinateRange);
    return false;
  }
  Line(p, a, b, NonNegative(NanometresOf(track.width), report_), layer, frame, Role::kObject);
  return true;
}

void BoardWriter::ArcPiece(const Primitive& p, Point centre, int64_t radius, double start, double end, int64_t width,
                           int layer, const Frame& frame, Role role) {
  const ArcPoints points = ArcThrough(centre, radius, start, end);
  double cx = 0, cy = 0;
  const bool flat = radius == 0 || !CircleCentre(points.start, points.mid, points.end, cx, cy) ||
                    std::fabs(cx - static_cast<double>(centre.x)) > kCentreTolerance ||
                    std::fabs(cy - static_cast<double>(centre.y)) > kCentreTolerance;
  if (flat) {
    ++report_.Count(Change::kArcAsSegment);
    Line(p, points.start, points.end, width, layer, frame, role);
    return;
  }
  const bool inFootprint = frame.InFootprint();
  const bool track = IsCopper(layer) && !inFootprint;
  OpenStroke(inFootprint, track, "arc", "arc");
  Xy("start", frame(points.start));
  out_ += ' ';
  Xy("mid", frame(points.mid));
  out_ += ' ';
  Xy("end", frame(points.end));
  CloseStroke(p, width, layer, track, role);
  ++report_.Count(track ? Written::kTrackArcs : (inFootprint ? Written::kFootprintGraphics : Written::kGraphics));
  Extent(ArcBox(centre, radius, start, end, width + 2), layer);
}

bool BoardWriter::Arc(const Primitive& p, const ArcShape& arc, int layer, const Frame& frame) {
  const Point centre = HostPoint(arc.x, arc.y);
  const int64_t radius = NonNegative(NanometresOf(arc.radius), report_);
  const int64_t width = NonNegative(NanometresOf(arc.width), report_);
  if (!InRange({{centre.x - radius, centre.y - radius}, {centre.x + radius, centre.y + radius}})) {
    ++report_.Count(Change::kBeyondCoordinateRange);
    return false;
  }
  if (ArcSweep(arc.startAngle, arc.endAngle) < 360.0) {
    ArcPiece(p, centre, radius, arc.startAngle, arc.endAngle, width, layer, frame, Role::kObject);
    return true;
  }
  const bool inFootprint = frame.InFootprint();
  if (IsCopper(layer) && !inFootprint) {
    // A track circle keeps its net only as two arcs.
    ++report_.Count(Change::kFullCircleAsTwoArcs);
    const double start = std::isfinite(arc.startAngle) ? arc.startAngle : 0.0;
    ArcPiece(p, centre, radius, start, start + 180.0, width, layer, frame, Role::kObject);
    ArcPiece(p, centre, radius, start + 180.0, start + 360.0, width, layer, frame, Role::kSecondHalf);
    return true;
  }
  out_ += inFootprint ? "    (fp_circle " : "  (gr_circle ";
  Xy("center", frame(centre));
  out_ += ' ';
  Xy("end", frame({centre.x + radius, centre.y}));
  out_ += ' ';
  LayerName(layer);
  out_ += ' ';
  Width(width);
  out_ += " (fill none) ";
  Tstamp(Role::kObject, p.handle);
  out_ += ")\n";
  ++report_.Count(inFootprint ? Written::kFootprintGraphics : Written::kGraphics);
  Extent(Box::Around(centre, radius + width / 2 + 1, radius + width / 2 + 1), layer);
  return true;
}

// KiCad cannot hold a polygon without area (a zone of one fails its
// checks on load).
bool Empty(const FillShape& fill) {
  return NanometresOf(fill.x1) == NanometresOf(fill.x2) || NanometresOf(fill.y1) == NanometresOf(fill.y2);
}

std::optional<std::array<Point, 4>> BoardWriter::FillCorners(const FillShape& fill, bool count) {
  const auto corners = TurnedRectangle(HostPoint(fill.x1, fill.y1), HostPoint(fill.x2, fill.y2), fill.rotation);
  if (!InRange({corners[0], corners[1], corners[2], corners[3]})) {
    if (count) ++report_.Count(Change::kBeyondCoordinateRange);
    return std::nullopt;
  }
  if (Empty(fill)) {
    if (count) ++report_.Count(Change::kEmptyFill);
    return std::nullopt;
  }
  return corners;
}

Box CornersBox(const std::array<Point, 4>& corners) {
  Box box;
  for (const Point& c : corners) box.Add(c);
  return box;
}

bool BoardWriter::Polygon(const Primitive& p, const FillShape& fill, int layer, const Frame& frame) {
  const auto corners = FillCorners(fill, true);
  if (!corners) return false;
  const bool inFootprint = frame.InFootprint();
  out_ += inFootprint ? "    (fp_poly " : "  (gr_poly ";
  Points(*corners, frame);
  out_ += ' ';
  LayerName(layer);
  out_ += " (width 0) (fill solid) ";
  Tstamp(Role::kObject, p.handle);
  out_ += ")\n";
  ++report_.Count(inFootprint ? Written::kFootprintGraphics : Written::kGraphics);
  Extent(CornersBox(*corners), layer);
  return true;
}

// A fill's copper as a zone that keeps it through a refill: islands are
// never removed, pads connect solidly, and a later fill (drawn above an
// earlier one) takes precedence where fills of different nets overlap.
void BoardWriter::Zone(const Primitive& p, const FillShape& fill, int layer) {
  const auto corners = FillCorners(fill, true);
  if (!corners) return;
  const Frame frame(*placement_, std::nullopt, 0);
  const int32_t code = NetCode(p.netHandle);
  out_ += "  (zone (net " + std::to_string(code) + ") (net_name ";
  AppendQuoted(out_, NetName(code));
  out_ += ") ";
  LayerName(layer);
  out_ += ' ';
  Tstamp(Role::kObject, p.handle);
  out_ += " (hatch edge 0.508)\n    (priority " + std::to_string(++zones_) + ")\n";
  out_ +=
      "    (connect_pads yes (clearance 0))\n    (min_thickness 0.0254) (filled_areas_thickness no)\n    (fill yes "
      "(thermal_gap 0.508) (thermal_bridge_width 0.508) (island_removal_mode 1) (island_area_min 0))\n";
  out_ += "    (polygon\n      ";
  Points(*corners, frame);
  out_ += "\n    )\n    (filled_polygon\n      ";
  LayerName(layer);
  out_ += "\n      ";
  Points(*corners, frame);
  out_ += "\n    )\n  )\n";
  ++report_.Count(Written::kZones);
  Extent(CornersBox(*corners), layer);
}

BoardWriter::TextItem BoardWriter::HostText(const TextShape& t, int layer) {
  if (NanometresOf(t.height) < 0) ++report_.Count(Change::kNegativeSize);
  if (NanometresOf(t.strokeWidth) < 0) ++report_.Count(Change::kNegativeSize);
  return {t.text, GeometryOf(t), layer, false};
}

void BoardWriter::Text(const TextItem& t, const Frame& frame, const char* fpKind, Role role, uint32_t handle) {
  const TextGeometry& g = t.geometry;
  if (!InRange({g.anchor})) {
    ++report_.Count(Change::kBeyondCoordinateRange);
    return;
  }
  const bool inFootprint = fpKind != nullptr;
  out_ += inFootprint ? "    (fp_text " : "  (gr_text ";
  if (inFootprint) {
    out_ += fpKind;
    out_ += ' ';
  }
  AppendQuoted(out_, Text(t.text));
  out_ += ' ';
  At(frame(g.anchor), MillidegreesOf(g.degrees));
  out_ += ' ';
  LayerName(t.layer);
  if (t.hidden) out_ += " hide";
  std::string effects = "(effects (font (size ";
  AppendMillimetres(effects, g.size);
  effects += ' ';
  AppendMillimetres(effects, g.size);
  effects += ") (thickness ";
  AppendMillimetres(effects, g.thickness);
  effects += "))";
  if (g.anchorKind == TextAnchor::kLeftBottom) {
    effects += g.mirrored ? " (justify left bottom mirror))" : " (justify left bottom))";
  } else {
    effects += g.mirrored ? " (justify mirror))" : ")";
  }
  if (inFootprint) {
    out_ += "\n      " + effects + "\n      ";
    Tstamp(role, handle);
    out_ += "\n    )\n";
    ++report_.Count(Written::kFootprintTexts);
  } else {
    out_ += ' ';
    Tstamp(role, handle);
    out_ += "\n    " + effects + "\n  )\n";
    ++report_.Count(Written::kTexts);
  }
  if (!t.hidden) Extent(TextBox(g, t.text), t.layer);
}

void BoardWriter::Pad(const Primitive& p, const PadShape& pad, const PadStack& stack, const Frame& frame) {
  const PadLayout layout = LayOutPad(p, pad, stack, plan_);
  for (const auto& [happened, change] : {std::pair{layout.negativeHole, Change::kNegativeSize},
                                         {layout.stackDiffers, Change::kPadStackDiffers},
                                         {layout.offCopper, Change::kPadOffCopper},
                                         {layout.holeDropped, Change::kOneSidePadHole},
                                         {layout.sizeRaised, Change::kPadSizeToMinimum}}) {
    if (happened) ++report_.Count(change);
  }
  const bool through = layout.through;
  const PadFace& face = layout.face;
  const int64_t xSize = layout.xSize, ySize = layout.ySize;
  std::string layers = "*.Cu *.Mask";
  if (!through && layout.copper == kFCu) layers = "\"F.Cu\" \"F.Paste\" \"F.Mask\"";
  if (!through && layout.copper == kBCu) layers = "\"B.Cu\" \"B.Paste\" \"B.Mask\"";
  if (!through && layout.copper != kFCu && layout.copper != kBCu) {
    layers.clear();
    AppendQuoted(layers, KicadLayerName(layout.copper));
  }
  const char* shape = "rect";
  std::string extra;
  switch (face.shape) {
    case kShapeRound:
      shape = xSize == ySize ? "circle" : "oval";
      break;
    case kShapeRectangle:
      break;
    case kShapeRoundedRectangle: {
      shape = "roundrect";
      int64_t ratio = int64_t{face.cornerPercent} * 5;  // percent of half the smaller side, as a part of it
      if (ratio > kHalf) {
        ++report_.Count(Change::kCornerRatio);
        ratio = kHalf;
      }
      extra += " (roundrect_rratio ";
      AppendRatio(extra, ratio);
      extra += ')';
      break;
    }
    case kShapeOctagon:
      ++report_.Count(Change::kOctagonalPad);
      shape = "roundrect";
      extra += " (roundrect_rratio 0) (chamfer_ratio ";
      AppendRatio(extra, kOctagonChamferThousandths);
      extra += ") (chamfer top_left top_right bottom_left bottom_right)";
      break;
    default:
      ++report_.Count(Change::kUnknownPadShape);
      break;
  }

  out_ += "    (pad ";
  AppendQuoted(out_, Text(pad.name));
  out_ += through ? " thru_hole " : " smd ";
  out_ += shape;
  out_ += ' ';
  At(frame(HostPoint(pad.x, pad.y)), MillidegreesOf(pad.rotation));
  out_ += " (size ";
  AppendMillimetres(out_, xSize);
  out_ += ' ';
  AppendMillimetres(out_, ySize);
  out_ += ')';
  if (through) {
    out_ += " (drill ";
    AppendMillimetres(out_, layout.hole);
    out_ += ')';
  }
  out_ += " (layers ";
  out_ += layers;
  out_ += ')';
  out_ += extra;
  out_ += "\n     ";
  if (p.netHandle != 0) Net(p.netHandle, true);
  out_ += ' ';
  Tstamp(Role::kObject, p.handle);
  out_ += ")\n";
  ++report_.Count(Written::kPads);
  Extent(PadBox(pad, layout), layout.copper);
}

void BoardWriter::Via(const Primitive& p, const ViaShape& via) {
  const Point at = HostPoint(via.x, via.y);
  if (!InRange({at})) {
    ++report_.Count(Change::kBeyondCoordinateRange);
    return;
  }
  if (p.layer != ORVIK_LAYER_MultiLayer) ++report_.Count(Change::kOneLayerVia);
  out_ += "  (via ";
  Xy("at", placement_->ToKicad(at));
  out_ += " (size ";
  AppendMillimetres(out_, NonNegative(NanometresOf(via.size), report_));
  out_ += ") (drill ";
  AppendMillimetres(out_, NonNegative(NanometresOf(via.holeSize), report_));
  out_ += ") (layers \"F.Cu\" \"B.Cu\")";
  Net(p.netHandle, false);
  out_ += ' ';
  Tstamp(Role::kObject, p.handle);
  out_ += ")\n";
  ++report_.Count(Written::kVias);
  const int64_t half = std::max<int64_t>(NanometresOf(via.size), 0) / 2 + 1;
  Extent(Box::Around(at, half, half), kFCu);
}

void BoardWriter::Attributes(const Labels& labels, bool freePad) {
  // KiCad's own rule: through-hole when a pad has a plated hole, SMD when
  // all pads are surface pads.
  const char* type = labels.throughHole ? " through_hole" : (labels.pads.empty ? "" : " smd");
  if (*type == '\0' && !freePad) return;
  out_ += "    (attr";
  out_ += type;
  if (freePad) out_ += " board_only exclude_from_pos_files exclude_from_bom";
  out_ += ")\n";
}

void BoardWriter::Component(std::size_t index) {
  const SourceComponent& c = source_.components[index];
  const std::vector<Primitive>& primitives = source_.scene.primitives;
  const Point anchor = HostPoint(c.x, c.y);
  if (!InRange({anchor})) {
    for (const std::size_t i : c.members) {
      if (!std::holds_alternative<ViaShape>(primitives[i].shape)) ++report_.Count(Change::kBeyondCoordinateRange);
    }
    ++report_.Count(Change::kBeyondCoordinateRange);
    return;
  }
  const bool bottom = c.layer == ORVIK_LAYER_BottomLayer;
  if (!bottom && c.layer != ORVIK_LAYER_TopLayer) ++report_.Count(Change::kComponentSide);
  const int64_t angle = MillidegreesOf(c.rotation);
  const Frame frame(*placement_, anchor, angle);
  const Labels& labels = labels_[index];

  out_ += "  (footprint ";
  AppendQuoted(out_, Text(c.pattern));
  out_ += bottom ? " (layer \"B.Cu\")\n" : " (layer \"F.Cu\")\n";
  out_ += "    (tedit 0) ";
  Tstamp(Role::kObject, c.handle);
  out_ += "\n    ";
  At(placement_->ToKicad(anchor), angle);
  out_ += '\n';
  Attributes(labels, false);
  // Reference and value: the designator and comment texts (anew where too
  // small to read), or hidden texts when the component has none.
  const struct {
    const SourceText* text;
    const char* kind;
    Role role;
    bool placed;
    Point centre;
    int layer;
  } items[] = {
      {&c.designator, "reference", Role::kReference, labels.newReference, labels.reference, bottom ? kBSilkS : kFSilkS},
      {&c.comment, "value", Role::kValue, labels.newValue, labels.value, bottom ? kBFab : kFFab}};
  for (const auto& item : items) {
    if (!item.text->present) {
      TextGeometry hidden;
      hidden.anchor = anchor;
      hidden.size = kLabelSize;
      hidden.thickness = kLabelThickness;
      Text({"", hidden, bottom ? kBFab : kFFab, true}, frame, item.kind, item.role, c.handle);
      continue;
    }
    const auto& shape = std::get<TextShape>(item.text->text.shape);
    const uint32_t handle = item.text->text.handle;
    if (item.placed) {
      Text({shape.text, LabelGeometry(item.centre, bottom), item.layer, false}, frame, item.kind, Role::kObject,
           handle);
      continue;
    }
    const int layer = plan_.LayerOf(item.text->text.layer, LayerUse::kText);
    Text(HostText(shape, layer == kNoKicadLayer ? kFFab : layer), frame, item.kind, Role::kObject, handle);
  }
  for (const std::size_t i : c.members) {
    const Primitive& p = primitives[i];
    if (const auto* pad = std::get_if<PadShape>(&p.shape)) {
      if (!InRange({HostPoint(pad->x, pad->y)})) {
        ++report_.Count(Change::kBeyondCoordinateRange);
        continue;
      }
      Pad(p, *pad, source_.padStacks[static_cast<std::size_t>(source_.padStackOf[i])], frame);
      continue;
    }
    if (std::holds_alternative<ViaShape>(p.shape)) continue;  // with the board's vias
    const int layer = LayerOf(p);
    if (layer == kNoKicadLayer) {
      ++report_.Count(Change::kNotOnBoard);
      continue;
    }
    Drawing(p, layer, frame);
    Flush();
  }
  out_ += "  )\n\n";
  ++report_.Count(Written::kFootprints);
  Flush();
}

void BoardWriter::FreePad(std::size_t index) {
  const Primitive& p = source_.scene.primitives[index];
  const auto& pad = std::get<PadShape>(p.shape);
  const Point anchor = HostPoint(pad.x, pad.y);
  if (!InRange({anchor})) {
    ++report_.Count(Change::kBeyondCoordinateRange);
    return;
  }
  ++report_.Count(Change::kFreePadInFootprint);
  const bool bottom = p.layer == ORVIK_LAYER_BottomLayer;
  const Frame frame(*placement_, anchor, 0);
  out_ += bottom ? "  (footprint \"FreePad\" (layer \"B.Cu\")\n" : "  (footprint \"FreePad\" (layer \"F.Cu\")\n";
  out_ += "    (tedit 0) ";
  Tstamp(Role::kFootprint, p.handle);
  out_ += "\n    ";
  Xy("at", placement_->ToKicad(anchor));
  out_ += '\n';
  const PadLayout layout = LayOut(index);
  Labels labels;
  labels.pads = PadBox(pad, layout);
  labels.throughHole = layout.through;
  Attributes(labels, true);
  TextGeometry hidden;
  hidden.anchor = anchor;
  hidden.size = kLabelSize;
  hidden.thickness = kLabelThickness;
  Text({"", hidden, bottom ? kBFab : kFFab, true}, frame, "reference", Role::kReference, p.handle);
  Text({"", hidden, bottom ? kBFab : kFFab, true}, frame, "value", Role::kValue, p.handle);
  Pad(p, pad, source_.padStacks[static_cast<std::size_t>(source_.padStackOf[index])], frame);
  out_ += "  )\n\n";
  ++report_.Count(Written::kFreePadFootprints);
  Flush();
}

void BoardWriter::Footprints() {
  for (std::size_t c = 0; c < source_.components.size(); ++c) Component(c);
  const std::vector<Primitive>& primitives = source_.scene.primitives;
  for (std::size_t i = 0; i < primitives.size(); ++i) {
    if (OnBoard(i) && std::holds_alternative<PadShape>(primitives[i].shape)) FreePad(i);
  }
}

void BoardWriter::Drawing(const Primitive& p, int layer, const Frame& frame) {
  if (p.layer == ORVIK_LAYER_MultiLayer) ++report_.Count(Change::kMultiLayerObject);
  bool written = false;
  if (const auto* t = std::get_if<TrackShape>(&p.shape)) {
    written = Segment(p, *t, layer, frame);
  } else if (const auto* a = std::get_if<ArcShape>(&p.shape)) {
    written = Arc(p, *a, layer, frame);
  } else if (const auto* f = std::get_if<FillShape>(&p.shape)) {
    written = Polygon(p, *f, layer, frame);
  } else if (const auto* text = std::get_if<TextShape>(&p.shape)) {
    Text(HostText(*text, layer), frame, frame.InFootprint() ? "user" : nullptr, Role::kObject, p.handle);
    return;
  }
  // Footprint graphics hold no net; only a footprint draws on copper here.
  if (written && IsCopper(layer) && p.netHandle != 0) ++report_.Count(Change::kComponentCopperNet);
}

void BoardWriter::Graphics() {
  const Frame frame(*placement_, std::nullopt, 0);
  const std::vector<Primitive>& primitives = source_.scene.primitives;
  for (std::size_t i = 0; i < primitives.size(); ++i) {
    const Primitive& p = primitives[i];
    if (!OnBoard(i) || std::holds_alternative<PadShape>(p.shape) || std::holds_alternative<ViaShape>(p.shape)) {
      continue;
    }
    const int layer = LayerOf(p);
    if (layer == kNoKicadLayer) {
      ++report_.Count(Change::kNotOnBoard);
      continue;
    }
    // Copper lines, arcs and fills of the board are tracks and zones.
    if (IsCopper(layer) && !std::holds_alternative<TextShape>(p.shape)) continue;
    Drawing(p, layer, frame);
    Flush();
  }
  out_ += '\n';
}

void BoardWriter::Tracks() {
  const Frame frame(*placement_, std::nullopt, 0);
  const std::vector<Primitive>& primitives = source_.scene.primitives;
  for (std::size_t i = 0; i < primitives.size(); ++i) {
    const Primitive& p = primitives[i];
    if (const auto* v = std::get_if<ViaShape>(&p.shape)) {
      if (!OnBoard(i)) ++report_.Count(Change::kComponentVia);
      Via(p, *v);
      Flush();
      continue;
    }
    if (!OnBoard(i)) continue;
    const bool line = std::holds_alternative<TrackShape>(p.shape);
    if (!line && !std::holds_alternative<ArcShape>(p.shape)) continue;
    const int layer = LayerOf(p);
    if (!IsCopper(layer)) continue;
    if (const auto* t = std::get_if<TrackShape>(&p.shape)) {
      Segment(p, *t, layer, frame);
    } else {
      Arc(p, std::get<ArcShape>(p.shape), layer, frame);
    }
    Flush();
  }
  out_ += '\n';
}

void BoardWriter::Zones() {
  const std::vector<Primitive>& primitives = source_.scene.primitives;
  for (std::size_t i = 0; i < primitives.size(); ++i) {
    const Primitive& p = primitives[i];
    const auto* f = std::get_if<FillShape>(&p.shape);
    if (f == nullptr || !OnBoard(i)) continue;
    const int layer = LayerOf(p);
    if (!IsCopper(layer)) continue;
    Zone(p, *f, layer);
    Flush();
  }
}

// Round outward to whole millimetres.
int64_t FloorMillimetre(int64_t nm) { return (nm >= 0 ? nm : nm - 999999) / 1000000 * 1000000; }
int64_t CeilMillimetre(int64_t nm) { return -FloorMillimetre(-nm); }

void BoardWriter::Outline() {
  if (!edge_.empty) {
    outline_ = ToKicad(edge_);
    return;
  }
  if (extent_.empty) return;
  const Box around = ToKicad(extent_).Grown(kOutlineMargin);
  outline_.Add(Point{FloorMillimetre(around.min.x), FloorMillimetre(around.min.y)});
  outline_.Add(Point{CeilMillimetre(around.max.x), CeilMillimetre(around.max.y)});
  out_ += "  (gr_rect ";
  Xy("start", outline_.min);
  out_ += ' ';
  Xy("end", outline_.max);
  out_ += ' ';
  LayerName(kEdgeCuts);
  out_ += ' ';
  Width(kOutlineWidth);
  out_ += " (fill none) ";
  Tstamp(Role::kOutline, 0);
  out_ += ")\n";
  ++report_.Count(Change::kBoardOutline);
}

// With the host's whole stack, an internal plane whose net is on the board
// becomes a zone of that net over the board outline, which KiCad fills
// (with clearances and thermal reliefs) on its first zone fill.
void BoardWriter::PlaneZones() {
  if (!options_.hostStack) return;
  for (const LayerPlan::Plane& plane : plan_.Planes()) {
    const std::string& net = source_.planeNets[static_cast<std::size_t>(plane.legacy)];
    const auto it =
        std::find_if(source_.nets.begin(), source_.nets.end(), [&net](const SourceNet& n) { return n.name == net; });
    if (it == source_.nets.end() || outline_.empty) {
      ++report_.Count(Change::kPlaneWithoutNet);
      continue;
    }
    const int32_t code = NetCode(it->handle);
    out_ += "  (zone (net " + std::to_string(code) + ") (net_name ";
    AppendQuoted(out_, NetName(code));
    out_ += ") ";
    LayerName(plane.kicad);
    out_ += ' ';
    Tstamp(Role::kPlane, static_cast<uint32_t>(plane.legacy));
    out_ +=
        " (hatch edge 0.508)\n    (connect_pads (clearance 0.508))\n    (min_thickness 0.254) (filled_areas_thickness "
        "no)\n    (fill (thermal_gap 0.508) (thermal_bridge_width 0.508))\n    (polygon\n      (pts ";
    for (const Point& corner :
         {outline_.min, Point{outline_.max.x, outline_.min.y}, outline_.max, Point{outline_.min.x, outline_.max.y}}) {
      Xy("xy", corner);
      out_ += ' ';
    }
    out_.back() = ')';
    out_ += "\n    )\n  )\n";
    ++report_.Count(Change::kPlaneZone);
  }
}

bool BoardWriter::Write() {
  report_.Count(Change::kNotOnBoard) = source_.scene.unplaced;
  PlanLayers();
  Place();
  NameNetsOnce();
  PlanLabels();
  Header();
  Footprints();
  Graphics();
  Tracks();
  Zones();
  Outline();
  PlaneZones();
  out_ += ")\n";
  Flush(true);
  return ok_;
}

}  // namespace

bool WriteKicadBoard(const KicadSource& source, const KicadSink& sink, KicadReport& report,
                     const KicadOptions& options) {
  return BoardWriter(source, sink, report, options).Write();
}

}  // namespace orvik::host::kicad
