#include "host/orvik-host/kicad/KicadBoardWriter.h"

#include <algorithm>
#include <string>
#include <vector>

#include "host/orvik-host/kicad/KicadWriterInternals.h"

namespace orvik::host::kicad {

namespace detail {

namespace {

constexpr std::size_t kFlushSize = std::size_t{1} << 20;
// The outline added to a board without one: this far around everything
// (KiCad 6 wants copper 0.01 mm from the edge's centre line, and no silk
// touching it), on whole millimetres, drawn at KiCad's usual edge width.
constexpr int64_t kOutlineMargin = 1000000;
constexpr int64_t kOutlineWidth = 100000;

LayerUse UseOf(const Shape& shape) {
  if (std::holds_alternative<FillShape>(shape)) return LayerUse::kFill;
  if (std::holds_alternative<TextShape>(shape)) return LayerUse::kText;
  return LayerUse::kLine;
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

// Round outward to whole millimetres.
int64_t FloorMillimetre(int64_t nm) { return (nm >= 0 ? nm : nm - 999999) / 1000000 * 1000000; }
int64_t CeilMillimetre(int64_t nm) { return -FloorMillimetre(-nm); }

}  // namespace

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
  KicadPoints({frame(hostCorners[0]), frame(hostCorners[1]), frame(hostCorners[2]), frame(hostCorners[3])});
}

void BoardWriter::KicadPoints(const std::array<Point, 4>& kicadCorners) {
  out_ += "(pts";
  for (const Point& c : kicadCorners) {
    out_ += ' ';
    Xy("xy", c);
  }
  out_ += ')';
}

void BoardWriter::ZoneHeader(int32_t netCode, int layer, Role role, uint32_t handle) {
  out_ += "  (zone (net " + std::to_string(netCode) + ") (net_name ";
  AppendQuoted(out_, NetName(netCode));
  out_ += ") ";
  LayerName(layer);
  out_ += ' ';
  Tstamp(role, handle);
  out_ += " (hatch edge 0.508)\n";
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

void BoardWriter::Footprints() {
  for (std::size_t c = 0; c < source_.components.size(); ++c) Component(c);
  const std::vector<Primitive>& primitives = source_.scene.primitives;
  for (std::size_t i = 0; i < primitives.size(); ++i) {
    if (OnBoard(i) && std::holds_alternative<PadShape>(primitives[i].shape)) FreePad(i);
  }
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
    ZoneHeader(NetCode(it->handle), plane.kicad, Role::kPlane, static_cast<uint32_t>(plane.legacy));
    out_ +=
        "    (connect_pads (clearance 0.508))\n    (min_thickness 0.254) (filled_areas_thickness no)\n    (fill "
        "(thermal_gap 0.508) (thermal_bridge_width 0.508))\n    (polygon\n      ";
    KicadPoints(
        {outline_.min, Point{outline_.max.x, outline_.min.y}, outline_.max, Point{outline_.min.x, outline_.max.y}});
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

}  // namespace detail

bool WriteKicadBoard(const KicadSource& source, const KicadSink& sink, KicadReport& report,
                     const KicadOptions& options) {
  return detail::BoardWriter(source, sink, report, options).Write();
}

}  // namespace orvik::host::kicad
