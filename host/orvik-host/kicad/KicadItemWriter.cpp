// The items of the KiCad board and its footprints: lines and tracks, arcs
// and circles, filled polygons and zones, and vias.
#include <algorithm>
#include <cmath>

#include "host/orvik-host/kicad/KicadWriterInternals.h"

namespace orvik::host::kicad::detail {

namespace {

// An arc whose centre, found back from its three points on whole
// nanometres, lies further off than this is written as a segment.
constexpr double kCentreTolerance = 500.0;  // nm

// KiCad cannot hold a polygon without area (a zone of one fails its
// checks on load).
bool Empty(const FillShape& fill) {
  return NanometresOf(fill.x1) == NanometresOf(fill.x2) || NanometresOf(fill.y1) == NanometresOf(fill.y2);
}

Box CornersBox(const std::array<Point, 4>& corners) {
  Box box;
  for (const Point& c : corners) box.Add(c);
  return box;
}

}  // namespace

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
  ZoneHeader(NetCode(p.netHandle), layer, Role::kObject, p.handle);
  out_ += "    (priority " + std::to_string(++zones_) + ")\n";
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

}  // namespace orvik::host::kicad::detail
