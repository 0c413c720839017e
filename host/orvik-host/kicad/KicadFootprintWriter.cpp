// The footprints of the KiCad board: each component's footprint with its
// type, its pads, its reference and value (placed anew where the host's texts
// are too small to read) and its graphics; a free pad's one-pad footprint.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "host/orvik-host/kicad/KicadLabels.h"
#include "host/orvik-host/kicad/KicadWriterInternals.h"

namespace orvik::host::kicad::detail {

namespace {

// Octagons: corners cut at a quarter of the smaller side.
constexpr int64_t kOctagonChamferThousandths = 250;
constexpr int64_t kHalf = 500;  // thousandths: KiCad's largest corner ratio
// Arcs on the silkscreen are kept clear of as this many strokes a turn.
constexpr int kArcPiecesPerTurn = 32;

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

}  // namespace

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
  padLayouts_.resize(source_.padStacks.size());
  for (std::size_t i = 0; i < primitives.size(); ++i) {
    if (const auto* pad = std::get_if<PadShape>(&primitives[i].shape)) {
      const auto stack = static_cast<std::size_t>(source_.padStackOf[i]);
      padLayouts_[stack] = LayOutPad(primitives[i], *pad, source_.padStacks[stack], plan_);
    }
  }
  for (std::size_t i = 0; i < primitives.size(); ++i) {
    const Primitive& p = primitives[i];
    const int32_t owner = owner_[i];
    if (std::holds_alternative<ViaShape>(p.shape)) continue;
    if (owner >= 0 && !written(source_.components[static_cast<std::size_t>(owner)])) continue;
    if (const auto* pad = std::get_if<PadShape>(&p.shape)) {
      if (!InRange({HostPoint(pad->x, pad->y)})) continue;
      const PadLayout& layout = LayOut(i);
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

BoardWriter::TextItem BoardWriter::HostText(const TextShape& t, int layer) {
  if (NanometresOf(t.height) < 0) ++report_.Count(Change::kNegativeSize);
  if (NanometresOf(t.strokeWidth) < 0) ++report_.Count(Change::kNegativeSize);
  return {t.text, GeometryOf(t), layer, false};
}

BoardWriter::TextItem BoardWriter::HiddenLabel(Point anchor, bool bottom) {
  TextGeometry hidden;
  hidden.anchor = anchor;
  hidden.size = kLabelSize;
  hidden.thickness = kLabelThickness;
  return {"", hidden, bottom ? kBFab : kFFab, true};
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

void BoardWriter::Pad(std::size_t index, const Frame& frame) {
  const Primitive& p = source_.scene.primitives[index];
  const auto& pad = std::get<PadShape>(p.shape);
  const PadLayout& layout = LayOut(index);
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
      Text(HiddenLabel(anchor, bottom), frame, item.kind, item.role, c.handle);
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
      Pad(i, frame);
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
  const PadLayout& layout = LayOut(index);
  Labels labels;
  labels.pads = PadBox(pad, layout);
  labels.throughHole = layout.through;
  Attributes(labels, true);
  Text(HiddenLabel(anchor, bottom), frame, "reference", Role::kReference, p.handle);
  Text(HiddenLabel(anchor, bottom), frame, "value", Role::kValue, p.handle);
  Pad(index, frame);
  out_ += "  )\n\n";
  ++report_.Count(Written::kFreePadFootprints);
  Flush();
}

}  // namespace orvik::host::kicad::detail
