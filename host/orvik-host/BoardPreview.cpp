#include "host/orvik-host/BoardPreview.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

#include "host/orvik-host/Markup.h"

namespace orvik::host {

namespace {

constexpr double kDegrees = std::numbers::pi / 180.0;
constexpr double kUnits = static_cast<double>(kUnitsPerMil);
constexpr const char* kBackground = "#0e1a14";

double Finite(double v) { return std::isfinite(v) ? v : 0.0; }

// Appends ` name="value"` with the value escaped.
void Attr(std::string& out, const char* name, std::string_view value) {
  out += ' ';
  out += name;
  out += "=\"";
  AppendEscaped(out, value);
  out += '"';
}

void MilsAttr(std::string& out, const char* name, int64_t units) { Attr(out, name, FormatMils(units)); }

// Point pairs in path data.
void AppendPoint(std::string& d, double x, double y) {
  d += FormatMils(x);
  d += ' ';
  d += FormatMils(y);
}

// A full circle as two half arcs, counterclockwise.
void AppendCircle(std::string& d, double cx, double cy, double r) {
  const std::string radius = FormatMils(r);
  d += 'M';
  AppendPoint(d, cx + r, cy);
  d += "A" + radius + ' ' + radius + " 0 1 1 ";
  AppendPoint(d, cx - r, cy);
  d += "A" + radius + ' ' + radius + " 0 1 1 ";
  AppendPoint(d, cx + r, cy);
  d += 'Z';
}

// The rectangle w x h about the origin with corner radius r (0: square).
void AppendRoundedRect(std::string& d, double w, double h, double r) {
  const double hw = w / 2, hh = h / 2;
  r = std::clamp(r, 0.0, std::min(hw, hh));
  if (r <= 0) {
    d += 'M';
    AppendPoint(d, -hw, -hh);
    d += 'L';
    AppendPoint(d, hw, -hh);
    d += 'L';
    AppendPoint(d, hw, hh);
    d += 'L';
    AppendPoint(d, -hw, hh);
    d += 'Z';
    return;
  }
  const std::string corner = "A" + FormatMils(r) + ' ' + FormatMils(r) + " 0 0 1 ";
  d += 'M';
  AppendPoint(d, -hw + r, -hh);
  d += 'L';
  AppendPoint(d, hw - r, -hh);
  d += corner;
  AppendPoint(d, hw, -hh + r);
  d += 'L';
  AppendPoint(d, hw, hh - r);
  d += corner;
  AppendPoint(d, hw - r, hh);
  d += 'L';
  AppendPoint(d, -hw + r, hh);
  d += corner;
  AppendPoint(d, -hw, hh - r);
  d += 'L';
  AppendPoint(d, -hw, -hh + r);
  d += corner;
  AppendPoint(d, -hw + r, -hh);
  d += 'Z';
}

// Corner radius of a pad in internal units, by its shape code.
double PadCornerRadius(const PadShape& pad) {
  const double half = static_cast<double>(std::min(pad.xSize, pad.ySize)) / 2;
  if (pad.shape == kShapeRound) return half;
  if (pad.shape == kShapeRoundedRectangle) {
    // A rounded rectangle without a percentage gets the common default of half.
    const int percent = pad.cornerPercent > 0 ? std::min(pad.cornerPercent, 100) : 50;
    return half * percent / 100.0;
  }
  return 0;
}

std::string Transform(double x, double y, double rotation) {
  std::string t = "translate(" + FormatMils(x) + ' ' + FormatMils(y) + ')';
  if (Finite(rotation) != 0) t += " rotate(" + FormatNumber(rotation) + ')';
  return t;
}

class ElementWriter {
 public:
  ElementWriter(std::string& out, const Primitive& p, std::string_view layerName) : out_(out), p_(p) {
    layerName_ = layerName;
  }

  void operator()(const TrackShape& t) {
    Open("line");
    MilsAttr(out_, "x1", t.x1);
    MilsAttr(out_, "y1", t.y1);
    MilsAttr(out_, "x2", t.x2);
    MilsAttr(out_, "y2", t.y2);
    Stroke(t.width);
    MilsAttr(out_, "data-x1", t.x1);
    MilsAttr(out_, "data-y1", t.y1);
    MilsAttr(out_, "data-x2", t.x2);
    MilsAttr(out_, "data-y2", t.y2);
    MilsAttr(out_, "data-width", t.width);
    Close();
  }
  void operator()(const ArcShape& a) {
    Open("path");
    Attr(out_, "d", ArcPath(a));
    Attr(out_, "fill", "none");
    Stroke(a.width);
    MilsAttr(out_, "data-x", a.x);
    MilsAttr(out_, "data-y", a.y);
    MilsAttr(out_, "data-radius", a.radius);
    Attr(out_, "data-start-angle", FormatNumber(a.startAngle));
    Attr(out_, "data-end-angle", FormatNumber(a.endAngle));
    MilsAttr(out_, "data-width", a.width);
    Close();
  }
  void operator()(const PadShape& pad) {
    Open("path");
    Attr(out_, "d", PadPath(pad));
    Attr(out_, "transform", Transform(static_cast<double>(pad.x), static_cast<double>(pad.y), pad.rotation));
    Attr(out_, "fill", "currentColor");
    Attr(out_, "fill-rule", "evenodd");
    Attr(out_, "data-name", pad.name);
    MilsAttr(out_, "data-x", pad.x);
    MilsAttr(out_, "data-y", pad.y);
    MilsAttr(out_, "data-x-size", pad.xSize);
    MilsAttr(out_, "data-y-size", pad.ySize);
    MilsAttr(out_, "data-hole", pad.holeSize);
    Attr(out_, "data-shape", std::to_string(pad.shape));
    Attr(out_, "data-rotation", FormatNumber(pad.rotation));
    Close();
  }
  void operator()(const ViaShape& v) {
    Open("path");
    Attr(out_, "d", ViaPath(v));
    Attr(out_, "fill", "currentColor");
    Attr(out_, "fill-rule", "evenodd");
    MilsAttr(out_, "data-x", v.x);
    MilsAttr(out_, "data-y", v.y);
    MilsAttr(out_, "data-size", v.size);
    MilsAttr(out_, "data-hole", v.holeSize);
    Close();
  }
  void operator()(const FillShape& f) {
    const int64_t left = std::min(f.x1, f.x2), bottom = std::min(f.y1, f.y2);
    const double width = std::abs(static_cast<double>(f.x2) - static_cast<double>(f.x1));
    const double height = std::abs(static_cast<double>(f.y2) - static_cast<double>(f.y1));
    Open("rect");
    MilsAttr(out_, "x", left);
    MilsAttr(out_, "y", bottom);
    Attr(out_, "width", FormatMils(width));
    Attr(out_, "height", FormatMils(height));
    if (Finite(f.rotation) != 0) {
      const double cx = static_cast<double>(left) + width / 2, cy = static_cast<double>(bottom) + height / 2;
      Attr(out_, "transform", "rotate(" + FormatNumber(f.rotation) + ' ' + FormatMils(cx) + ' ' + FormatMils(cy) + ')');
    }
    Attr(out_, "fill", "currentColor");
    MilsAttr(out_, "data-x1", f.x1);
    MilsAttr(out_, "data-y1", f.y1);
    MilsAttr(out_, "data-x2", f.x2);
    MilsAttr(out_, "data-y2", f.y2);
    Attr(out_, "data-rotation", FormatNumber(f.rotation));
    Close();
  }
  // Turned about its start, then flipped back so that glyphs stand upright
  // in the Y-up board (and mirrored across their start when set).
  void operator()(const TextShape& t) {
    Open("text");
    Attr(out_, "transform",
         Transform(static_cast<double>(t.x), static_cast<double>(t.y), t.rotation) +
             (t.mirrored ? " scale(-1 -1)" : " scale(1 -1)"));
    MilsAttr(out_, "font-size", t.height);
    Attr(out_, "font-family", "monospace");
    Attr(out_, "fill", "currentColor");
    Attr(out_, "data-text", t.text);
    MilsAttr(out_, "data-x", t.x);
    MilsAttr(out_, "data-y", t.y);
    MilsAttr(out_, "data-height", t.height);
    Attr(out_, "data-rotation", FormatNumber(t.rotation));
    Attr(out_, "data-mirrored", t.mirrored ? "1" : "0");
    out_ += '>';
    AppendEscaped(out_, t.text);
    out_ += "</text>\n";
  }

 private:
  void Open(const char* element) {
    out_ += '<';
    out_ += element;
    Attr(out_, "data-kind", KindName(p_.shape));
    Attr(out_, "data-layer", layerName_);
    Attr(out_, "data-net", p_.net);
    Attr(out_, "data-component", p_.component);
  }
  void Stroke(int64_t width) {
    Attr(out_, "stroke", "currentColor");
    MilsAttr(out_, "stroke-width", width);
    Attr(out_, "stroke-linecap", "round");
  }
  void Close() { out_ += "/>\n"; }

  std::string& out_;
  const Primitive& p_;
  std::string_view layerName_;
};

}  // namespace

std::string ArcPath(const ArcShape& arc) {
  const double cx = static_cast<double>(arc.x), cy = static_cast<double>(arc.y), r = static_cast<double>(arc.radius);
  const double start = Finite(arc.startAngle), end = Finite(arc.endAngle);
  double sweep = std::fmod(end - start, 360.0);
  if (sweep < 0) sweep += 360.0;
  std::string d;
  // Equal angles (modulo a turn) close the circle.
  if (sweep < 1e-9 || sweep > 360.0 - 1e-9) {
    AppendCircle(d, cx, cy, r);
    return d;
  }
  const std::string radius = FormatMils(r);
  d += 'M';
  AppendPoint(d, cx + r * std::cos(start * kDegrees), cy + r * std::sin(start * kDegrees));
  d += "A" + radius + ' ' + radius + " 0 " + (sweep > 180.0 ? "1" : "0") + " 1 ";
  AppendPoint(d, cx + r * std::cos(end * kDegrees), cy + r * std::sin(end * kDegrees));
  return d;
}

std::string PadPath(const PadShape& pad) {
  std::string d;
  AppendRoundedRect(d, static_cast<double>(pad.xSize), static_cast<double>(pad.ySize), PadCornerRadius(pad));
  if (pad.holeSize > 0) AppendCircle(d, 0, 0, static_cast<double>(pad.holeSize) / 2);
  return d;
}

std::string ViaPath(const ViaShape& via) {
  std::string d;
  const double cx = static_cast<double>(via.x), cy = static_cast<double>(via.y);
  AppendCircle(d, cx, cy, static_cast<double>(via.size) / 2);
  if (via.holeSize > 0) AppendCircle(d, cx, cy, static_cast<double>(via.holeSize) / 2);
  return d;
}

ViewBox SceneViewBox(const BoardScene& scene) {
  const Bounds b = SceneBounds(scene);
  if (b.empty) return {0, -1000, 1000, 1000};
  const double width = (b.maxX - b.minX) / kUnits, height = (b.maxY - b.minY) / kUnits;
  const double margin = std::max(width, height) * 0.03 + 20;
  // Board Y runs up; the flipped picture shows board Y as -y.
  return {b.minX / kUnits - margin, -b.maxY / kUnits - margin, width + 2 * margin, height + 2 * margin};
}

std::string BoardSvg(const BoardScene& scene, const SvgOptions& options) {
  const ViewBox box = SceneViewBox(scene);
  const double scale = std::max(options.maxPixels, 16) / std::max(box.width, box.height);
  const auto pixels = [scale](double v) { return std::to_string(std::max(1L, std::lround(v * scale))); };
  const std::string x = FormatNumber(box.x), y = FormatNumber(box.y);
  const std::string w = FormatNumber(box.width), h = FormatNumber(box.height);

  std::string out;
  if (options.xmlDeclaration) out += "<?xml version=\"1.0\" encoding=\"US-ASCII\"?>\n";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"orvik-board\"";
  Attr(out, "viewBox", x + ' ' + y + ' ' + w + ' ' + h);
  Attr(out, "width", pixels(box.width));
  Attr(out, "height", pixels(box.height));
  Attr(out, "data-units", "mil");
  Attr(out, "data-unplaced", std::to_string(scene.unplaced));
  out += ">\n<rect class=\"board-background\"";
  Attr(out, "x", x);
  Attr(out, "y", y);
  Attr(out, "width", w);
  Attr(out, "height", h);
  Attr(out, "fill", kBackground);
  out += "/>\n<g id=\"board\" transform=\"scale(1 -1)\">\n";

  std::map<int, std::vector<const Primitive*>> byLayer;
  for (const Primitive& p : scene.primitives) byLayer[p.layer].push_back(&p);
  for (const SceneLayer& layer : scene.layers) {
    const auto it = byLayer.find(layer.number);
    if (it == byLayer.end()) continue;
    const LayerStyle style = StyleOfLayer(layer.number);
    out += "<g class=\"layer\"";
    Attr(out, "id", "layer-" + std::to_string(layer.number));
    Attr(out, "data-layer", layer.name);
    Attr(out, "data-layer-number", std::to_string(layer.number));
    Attr(out, "color", style.color);
    Attr(out, "opacity", FormatNumber(style.opacity));
    out += ">\n";
    for (const Primitive* p : it->second) std::visit(ElementWriter(out, *p, layer.name), p->shape);
    out += "</g>\n";
  }
  out += "</g>\n</svg>\n";
  return out;
}

}  // namespace orvik::host
