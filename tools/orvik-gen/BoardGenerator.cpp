#include "tools/orvik-gen/BoardGenerator.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <tuple>
#include <utility>

#include "tools/orvik-gen/Footprints.h"

namespace orvik::gen {

namespace {

constexpr std::array<std::string_view, 8> kPowerNames = {"GND", "VCC", "+3V3", "+5V", "+1V8", "VBAT", "AGND", "+12V"};

// File layers of the copper: top, bottom and four inner signal layers.
constexpr std::array<std::int32_t, 6> kCopperLayers = {0, 1, 4, 5, 6, 7};
constexpr std::array<std::uint32_t, 6> kCopperWeights = {40, 30, 8, 8, 7, 7};
constexpr std::int32_t kTopOverlay = 8;
constexpr std::int32_t kBottomOverlay = 9;
constexpr std::int32_t kMechanical1 = 12;
constexpr std::int32_t kMechanical2 = 13;

// Pours are quadrilaterals: as many points as a POLY record takes.
constexpr const TRecordLayout& kPolygon = LayoutOf(TRecordKind::Polygon);
static_assert(kPolygon.Points == 4);

struct FamilyValues {
  std::string_view family;
  std::array<std::string_view, 6> values;
};

// Comment texts per component family; some hold blanks and go out quoted.
constexpr std::array kValues = {
    FamilyValues{"RES", {"10k", "4k7", "100R", "1k", "22R 1%", "0R"}},
    FamilyValues{"CAP", {"100nF", "10uF", "1uF", "22pF", "4u7 25V", "100nF X7R"}},
    FamilyValues{"IND", {"10uH", "2u2 3A", "4u7", "1uH", "BEAD 600R", "22uH"}},
    FamilyValues{"DIODE", {"BAT54", "1N4148 SMD", "SS14", "LED RED", "BZX84C3V3", "ESD5V"}},
    FamilyValues{"TRANS", {"BC847", "2N7002", "BSS138", "MMBT3906", "AO3401", "DMG2302"}},
    FamilyValues{"IC", {"LM358", "MCU 32-BIT", "74HC595", "TPS62160", "EEPROM 64K", "OPA2333"}},
    FamilyValues{"CONN", {"PWR IN", "DEBUG", "UART", "USB-C", "JTAG 2X5", "HDR"}},
    FamilyValues{"HOLE", {"M3", "M2.5", "M3 PLATED", "M4", "NPTH", "M2"}},
};

constexpr std::array<std::string_view, 10> kFreeTexts = {
    "REV", "ASSY", "TEST POINT", "DO NOT POPULATE", "BOARD ID", "SERIAL NO", "TOP", "BOTTOM", "LAYER", "DATE CODE",
};

std::string_view ValueFor(std::string_view family, std::uint8_t index) {
  for (const auto& f : kValues) {
    if (f.family == family) return f.values[index % f.values.size()];
  }
  return "NC";
}

// Part `i` of `total` split evenly over `n` parts; the parts sum to `total`.
std::uint32_t Share(std::uint64_t i, std::uint64_t total, std::uint64_t n) {
  if (n == 0) return 0;
  return static_cast<std::uint32_t>((i + 1) * total / n - i * total / n);
}

std::uint32_t IntSqrt(std::uint64_t n) {
  std::uint64_t lo = 0;
  std::uint64_t hi = 1ull << 32;
  while (hi - lo > 1) {
    const std::uint64_t mid = lo + (hi - lo) / 2;
    if (mid * mid <= n) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  return static_cast<std::uint32_t>(lo);
}

// Text built from a word and a number, in a fixed buffer.
class Label {
 public:
  Label(std::string_view word, std::uint64_t number, char separator = '\0') noexcept {
    const std::size_t n = std::min(word.size(), kSize - 24);
    word.copy(buffer_.data(), n);
    length_ = n;
    if (separator != '\0') buffer_[length_++] = separator;
    const auto result = std::to_chars(buffer_.data() + length_, buffer_.data() + kSize, number);
    length_ = static_cast<std::size_t>(result.ptr - buffer_.data());
  }
  [[nodiscard]] std::string_view View() const noexcept { return {buffer_.data(), length_}; }

 private:
  static constexpr std::size_t kSize = 64;
  std::array<char, kSize> buffer_{};
  std::size_t length_ = 0;
};

std::string_view VariablePrefix(std::uint32_t pins) {
  if (pins == 0) return "FID";
  if (pins == 1) return "TP";
  return "J";
}

Label VariablePattern(std::uint32_t pins) {
  if (pins == 0) return Label("FIDUCIAL", 1);
  if (pins == 1) return Label("TP", 40);
  if (pins <= 20) return Label("HDR1X", pins);
  if (pins <= 80) return Label("HDR2X", (pins + 1) / 2);
  return Label("BGA", pins);
}

}  // namespace

BoardGenerator::BoardGenerator(std::uint64_t seed, const BoardCounts& counts) noexcept
    : seed_(seed), counts_(counts), random_(seed) {
  counts_.components = std::min(counts_.components, kMaxComponents);
  for (std::uint32_t* c : {&counts_.pads, &counts_.nets, &counts_.tracks, &counts_.arcs, &counts_.vias, &counts_.texts,
                           &counts_.fills, &counts_.polygons}) {
    *c = std::min(*c, kMaxCount);
  }
}

bool BoardGenerator::Generate(RecordWriter& out) {
  Reset();
  out_ = &out;
  PlanBoard();
  PlaceComponents();
  PlaceFreePads();
  AssignNets();
  GroupPadsByNet();

  out.Keyword(kHeaderLine);
  out.EndLine();
  WriteNets();
  WriteComponents();
  WriteRouting();
  WriteFreeGraphics();
  WriteFills();
  WritePolygons();
  WriteFreeTexts();
  out_ = nullptr;
  return out.Flush();
}

void BoardGenerator::Reset() {
  // Mix the seed once so that neighbouring seeds start far apart.
  random_ = SplitMix64(SplitMix64(seed_).Next());
  written_ = BoardCounts{};
  components_.clear();
  pads_.clear();
  netStart_.clear();
  netOrder_.clear();
}

void BoardGenerator::PlanBoard() {
  const std::uint64_t parts = std::max<std::uint64_t>(counts_.components, counts_.pads / 6);
  const std::int64_t side = std::clamp<std::int64_t>(std::int64_t{IntSqrt(parts)} * 280, 2000, kMaxCoordinate);
  width_ = static_cast<std::int32_t>(side);
  height_ = static_cast<std::int32_t>(side * 4 / 5);

  const std::uint32_t n = counts_.components;
  powerNets_ = counts_.nets >= 40 ? static_cast<std::uint32_t>(kPowerNames.size())
                                  : std::min(counts_.nets, std::max(1u, counts_.nets / 5));

  // Budgets: outlines, pin markers and labels belong to components; the rest
  // follows the connections between pads. Without connections or components
  // the remainder becomes free graphics, so every count is met exactly.
  labelTexts_ = std::min(n, counts_.texts / 2);
  markerTexts_ = std::min(n, counts_.texts / 10);
  silkLines_ = std::min<std::uint64_t>(std::uint64_t{n} * 4, counts_.tracks / 5);
  componentArcs_ = std::min(n, counts_.arcs / 3);
}

void BoardGenerator::PlaceComponents() {
  const std::uint32_t n = counts_.components;
  if (n == 0) return;
  components_.reserve(n);
  pads_.reserve(counts_.pads);

  const auto kinds = Footprints::Kinds();
  const std::uint64_t mean100 = Footprints::MeanPinsTimes100();
  const std::uint32_t tail = std::max(1u, n / 100);

  const std::int32_t margin = std::min(400, width_ / 10);
  const std::uint32_t columns = std::max(1u, IntSqrt(std::uint64_t{n} * 5 / 4));
  const std::uint32_t rows = (n + columns - 1) / columns;
  const std::int32_t cellWidth = std::max<std::int32_t>(1, (width_ - 2 * margin) / static_cast<std::int32_t>(columns));
  const std::int32_t cellHeight = std::max<std::int32_t>(1, (height_ - 2 * margin) / static_cast<std::int32_t>(rows));

  struct PrefixCount {
    std::string_view prefix;
    std::uint32_t count;
  };
  std::array<PrefixCount, 12> numbering{};

  std::uint64_t padsLeft = counts_.pads;
  for (std::uint32_t c = 0; c < n; ++c) {
    const std::uint32_t left = n - c;
    std::size_t kind = Footprints::Choose(random_);
    std::uint32_t pins = kinds[kind].pins;
    // Keep the running total on course for the requested pad count: the
    // last components, and boards whose pads per component are far from the
    // usual mix, take headers sized to what is left.
    const std::uint64_t average100 = padsLeft * 100 / left;
    const bool usualMix = average100 * 2 >= mean100 && average100 <= mean100 * 2;
    if (left <= tail || !usualMix || pins > padsLeft) {
      kind = Footprints::kVariableHeader;
      pins = static_cast<std::uint32_t>((padsLeft + left - 1) / left);
    }
    padsLeft -= pins;
    const FootprintKind& k = kinds[kind];

    Component comp;
    comp.kind = static_cast<std::uint16_t>(kind);
    comp.pins = pins;
    comp.firstPad = static_cast<std::uint32_t>(pads_.size());
    comp.value = static_cast<std::uint8_t>(random_.Below(6));
    const bool throughHole = k.hole > 0 && Footprints::LayoutFor(k, pins) != PadLayout::kGrid;
    comp.bottom = !throughHole && random_.Percent(15);
    const std::uint32_t turn = random_.Below(10);
    comp.rotation = static_cast<std::uint8_t>(turn < 5 ? 0 : turn < 8 ? 1 : turn < 9 ? 2 : 3);

    const std::string_view prefix = kind == Footprints::kVariableHeader ? VariablePrefix(pins) : k.prefix;
    for (auto& p : numbering) {
      if (p.prefix.empty()) p.prefix = prefix;
      if (p.prefix == prefix) {
        comp.designatorNumber = ++p.count;
        break;
      }
    }

    const std::uint32_t row = c / columns;
    std::uint32_t column = c % columns;
    if (row % 2 == 1) column = columns - 1 - column;  // serpentine, so neighbours in order stay close
    std::int64_t x = margin + std::int64_t{column} * cellWidth + cellWidth / 2;
    std::int64_t y = margin + std::int64_t{row} * cellHeight + cellHeight / 2;
    x += random_.Between(-cellWidth / 4, cellWidth / 4);
    y += random_.Between(-cellHeight / 4, cellHeight / 4);
    const Point origin = Clamp(x - x % 5, y - y % 5);
    comp.x = origin.x;
    comp.y = origin.y;

    const bool grid = Footprints::LayoutFor(k, pins) == PadLayout::kGrid;
    const std::uint32_t number = c + 1;
    for (std::uint32_t i = 0; i < pins; ++i) {
      const PadPlacement place = Footprints::Place(k, pins, i);
      std::int32_t dx = place.dx;
      std::int32_t dy = place.dy;
      std::int32_t xs = place.xSize;
      std::int32_t ys = place.ySize;
      switch (comp.rotation) {
        case 1:
          std::tie(dx, dy) = std::pair(-dy, dx);
          std::swap(xs, ys);
          break;
        case 2:
          dx = -dx;
          dy = -dy;
          break;
        case 3:
          std::tie(dx, dy) = std::pair(dy, -dx);
          std::swap(xs, ys);
          break;
        default:
          break;
      }
      if (comp.bottom) dx = -dx;
      comp.halfWidth = std::max(comp.halfWidth, (dx < 0 ? -dx : dx) + xs / 2);
      comp.halfHeight = std::max(comp.halfHeight, (dy < 0 ? -dy : dy) + ys / 2);

      Pad pad;
      const Point at = Clamp(std::int64_t{comp.x} + dx, std::int64_t{comp.y} + dy);
      pad.x = at.x;
      pad.y = at.y;
      pad.component = number;
      pad.xSize = xs;
      pad.ySize = ys;
      pad.hole = grid ? 0 : k.hole;
      pad.pin = i + 1;
      pad.square = pad.hole > 0 ? i == 0 : !grid;
      pad.side = pad.hole > 0 ? 2 : comp.bottom ? 1 : 0;
      pads_.push_back(pad);
    }
    if (pins == 0) {
      comp.halfWidth = 20;
      comp.halfHeight = 20;
    }
    components_.push_back(comp);
  }
}

void BoardGenerator::PlaceFreePads() {
  // Without components the pads stand alone: test points and fiducials.
  while (pads_.size() < counts_.pads) {
    Pad pad;
    const Point at = RandomPoint();
    pad.x = at.x;
    pad.y = at.y;
    pad.xSize = 40;
    pad.ySize = 40;
    pad.pin = 1;
    pad.square = random_.Percent(50);
    pad.side = random_.Percent(80) ? 0 : 1;
    pads_.push_back(pad);
  }
}

void BoardGenerator::AssignNets() {
  const std::uint32_t nets = counts_.nets;
  if (nets == 0) return;
  const std::uint32_t signalNets = nets - powerNets_;
  constexpr std::int32_t kSignal = -1;

  // A few pads stay unconnected, about one in eight joins a supply, the rest
  // carry signals.
  std::uint64_t signalPads = 0;
  for (Pad& pad : pads_) {
    const std::uint32_t roll = random_.Below(100);
    if (roll < 3) {
      pad.net = 0;
    } else if (roll < 15 || signalNets == 0) {
      pad.net = PowerNet();
    } else {
      pad.net = kSignal;
      ++signalPads;
    }
  }
  if (signalPads == 0) return;

  // Signal nets take pads in blocks: within a block of eight nets,
  // consecutive pads go to different nets, so every net joins pads of a few
  // neighbouring components. Blocks cover the pads evenly.
  constexpr std::uint32_t kBlock = 8;
  std::uint64_t s = 0;
  std::uint32_t blockFirstNet = 0;
  std::uint64_t blockFirstPad = 0;
  std::uint32_t blockNets = std::min(kBlock, signalNets);
  std::uint64_t blockEndPad = std::uint64_t{blockNets} * signalPads / signalNets;
  for (Pad& pad : pads_) {
    if (pad.net != kSignal) continue;
    while (s >= blockEndPad && blockFirstNet + blockNets < signalNets) {
      blockFirstNet += blockNets;
      blockFirstPad = blockEndPad;
      blockNets = std::min(kBlock, signalNets - blockFirstNet);
      blockEndPad = std::uint64_t{blockFirstNet + blockNets} * signalPads / signalNets;
    }
    pad.net = static_cast<std::int32_t>(powerNets_ + 1 + blockFirstNet + (s - blockFirstPad) % blockNets);
    ++s;
  }
}

void BoardGenerator::GroupPadsByNet() {
  const std::uint32_t nets = counts_.nets;
  netStart_.assign(std::size_t{nets} + 2, 0);
  for (const Pad& pad : pads_) ++netStart_[static_cast<std::size_t>(pad.net) + 1];
  for (std::size_t n = 1; n < netStart_.size(); ++n) netStart_[n] += netStart_[n - 1];
  netOrder_.assign(pads_.size(), 0);
  std::vector<std::uint32_t> fill(netStart_.begin(), netStart_.end() - 1);
  for (std::uint32_t i = 0; i < pads_.size(); ++i) netOrder_[fill[static_cast<std::size_t>(pads_[i].net)]++] = i;

  connections_ = 0;
  for (std::uint32_t n = 1; n <= nets; ++n) {
    const std::uint32_t count = netStart_[n + 1] - netStart_[n];
    if (count > 1) connections_ += count - 1;
  }
  if (connections_ > 0) {
    routeTracks_ = counts_.tracks - silkLines_;
    routeArcs_ = counts_.arcs - componentArcs_;
    routeVias_ = counts_.vias;
  } else {
    // Nothing to route: component graphics take the whole budget.
    silkLines_ = counts_.components > 0 ? counts_.tracks : 0;
    componentArcs_ = counts_.components > 0 ? counts_.arcs : 0;
    routeTracks_ = 0;
    routeArcs_ = 0;
    routeVias_ = 0;
  }
}

void BoardGenerator::WriteNets() {
  for (std::uint32_t n = 1; n <= counts_.nets; ++n) {
    Label label("N", n);
    bool quoted = false;
    switch (n % 10) {
      case 6:
        label = Label("DATA", n);
        break;
      case 7:
        label = Label("ADDR", n);
        break;
      case 8:
        label = Label("CLK_", n);
        break;
      case 9:
        // Now and then a quoted name with a blank.
        quoted = n % 50 == 9;
        label = quoted ? Label("SPI BUS", n, ' ') : Label("IRQ", n);
        break;
      default:
        break;
    }
    const TokenValue name = n <= powerNets_ ? TokenValue{kPowerNames[n - 1]} : TokenValue{label.View(), quoted};
    out_->Record<TRecordKind::Net>(name, n, netStart_[n + 1] - netStart_[n], 0, 0);
    ++written_.nets;
  }
}

void BoardGenerator::WriteComponents() {
  const auto kinds = Footprints::Kinds();
  for (std::uint32_t c = 0; c < components_.size(); ++c) {
    const Component& comp = components_[c];
    const FootprintKind& k = kinds[comp.kind];
    const bool variable = comp.kind == Footprints::kVariableHeader;
    out_->Record<TRecordKind::Component>(
        Label(variable ? VariablePrefix(comp.pins) : k.prefix, comp.designatorNumber).View(), k.family,
        Bare(ValueFor(k.family, comp.value)), variable ? VariablePattern(comp.pins).View() : k.pattern, "STD", comp.x,
        comp.y, std::int32_t{comp.rotation} * 90, comp.bottom ? 1 : 0, 0, 0, c + 1, comp.bottom ? 1 : 0);
    ++written_.components;
    WriteComponentDetails(c);
  }
  // Pads of no component.
  for (const Pad& pad : pads_) {
    if (pad.component == 0) WritePad(pad, pad.pin, 0);
  }
}

void BoardGenerator::WritePad(const Pad& pad, std::uint32_t pin, std::uint32_t component) {
  // Pads on all layers name a side the importer does not know: it puts them
  // on MultiLayer.
  const std::string_view side = pad.side == 0 ? kPadSideTop : pad.side == 1 ? kPadSideBottom : "MU";
  out_->Record<TRecordKind::Pad>(pad.square ? kPadShapeSquare : kPadShapeRound, pad.xSize, pad.ySize, pad.hole, side,
                                 "0", Label("", pin).View(), pad.x, pad.y, pad.net, component, 0);
  ++written_.pads;
}

void BoardGenerator::WriteComponentDetails(std::uint32_t index) {
  const Component& comp = components_[index];
  const std::uint32_t number = index + 1;
  const std::uint32_t n = counts_.components;
  const std::int32_t overlay = comp.bottom ? kBottomOverlay : kTopOverlay;

  for (std::uint32_t i = 0; i < comp.pins; ++i) {
    const Pad& pad = pads_[comp.firstPad + i];
    WritePad(pad, pad.pin % 10000, number);
  }

  // Designator label above the part, mirrored on the bottom side.
  const std::int32_t rotationCode = (comp.rotation % 2) + (comp.bottom ? 4 : 0);
  if (Share(index, labelTexts_, n) > 0) {
    const auto& kind = Footprints::Kinds()[comp.kind];
    const bool variable = comp.kind == Footprints::kVariableHeader;
    const Label designator(variable ? VariablePrefix(comp.pins) : kind.prefix, comp.designatorNumber);
    const std::int32_t width = random_.Percent(30) ? 0 : random_.Between(6, 10);
    Text(designator.View(), random_.Between(40, 60), rotationCode, width, overlay,
         Clamp(std::int64_t{comp.x} - comp.halfWidth, std::int64_t{comp.y} + comp.halfHeight + 20), number);
  }
  // Placeholder texts that stand for the designator or the comment.
  if (Share(index, markerTexts_, n) > 0) {
    Text(index % 2 == 0 ? ".REFDES" : ".TYPE", 60, rotationCode, 0, overlay, Point{comp.x, comp.y}, number);
  }

  // Outline on the overlay, inset a little more with every round of sides.
  const std::uint32_t lines = Share(index, silkLines_, n);
  const std::int32_t width = comp.pins > 8 ? 8 : 6;
  for (std::uint32_t i = 0; i < lines; ++i) {
    const std::int32_t inset = std::min<std::int32_t>(static_cast<std::int32_t>(i / 4) * 6, 30);
    const std::int64_t left = std::int64_t{comp.x} - comp.halfWidth - 10 + inset;
    const std::int64_t right = std::int64_t{comp.x} + comp.halfWidth + 10 - inset;
    const std::int64_t lower = std::int64_t{comp.y} - comp.halfHeight - 10 + inset;
    const std::int64_t upper = std::int64_t{comp.y} + comp.halfHeight + 10 - inset;
    switch (i % 4) {
      case 0:
        Line(width, overlay, Clamp(left, lower), Clamp(right, lower), 0, number);
        break;
      case 1:
        Line(width, overlay, Clamp(right, lower), Clamp(right, upper), 0, number);
        break;
      case 2:
        Line(width, overlay, Clamp(right, upper), Clamp(left, upper), 0, number);
        break;
      default:
        Line(width, overlay, Clamp(left, upper), Clamp(left, lower), 0, number);
        break;
    }
  }

  // A pin-1 dot, then rounded outline corners.
  const std::uint32_t arcs = Share(index, componentArcs_, n);
  for (std::uint32_t i = 0; i < arcs; ++i) {
    if (i == 0) {
      const Point dot = comp.pins > 0 ? Clamp(std::int64_t{pads_[comp.firstPad].x} - 20, pads_[comp.firstPad].y - 20)
                                      : Point{comp.x, comp.y};
      Arc(5, 0, random_.Percent(50) ? 0 : 360, 6, overlay, dot, 0, number);
    } else {
      const std::int32_t corner = static_cast<std::int32_t>(i % 4);
      const std::int64_t cx =
          corner == 0 || corner == 3 ? std::int64_t{comp.x} + comp.halfWidth : std::int64_t{comp.x} - comp.halfWidth;
      const std::int64_t cy =
          corner < 2 ? std::int64_t{comp.y} + comp.halfHeight : std::int64_t{comp.y} - comp.halfHeight;
      Arc(15, corner * 90, 90, 6, overlay, Clamp(cx, cy), 0, number);
    }
  }
}

void BoardGenerator::WriteRouting() {
  if (connections_ == 0) return;
  std::uint64_t c = 0;
  for (std::uint32_t n = 1; n <= counts_.nets; ++n) {
    for (std::uint32_t i = netStart_[n] + 1; i < netStart_[n + 1]; ++i, ++c) {
      WriteRoute(pads_[netOrder_[i - 1]], pads_[netOrder_[i]], static_cast<std::int32_t>(n),
                 Share(c, routeTracks_, connections_), Share(c, routeVias_, connections_),
                 Share(c, routeArcs_, connections_));
    }
  }
}

void BoardGenerator::WriteRoute(const Pad& from, const Pad& to, std::int32_t net, std::uint32_t segments,
                                std::uint32_t vias, std::uint32_t arcs) {
  const bool power = net <= static_cast<std::int32_t>(powerNets_);
  const std::int32_t width = power ? random_.Between(20, 50) : random_.Between(5, 12);
  std::int32_t layer = CopperLayer();
  const std::int64_t dx = std::int64_t{to.x} - from.x;
  const std::int64_t dy = std::int64_t{to.y} - from.y;
  // A staircase of alternating legs; a straight run gets a small jog so that
  // no leg has zero length.
  const bool verticalFirst = (dx < 0 ? -dx : dx) < (dy < 0 ? -dy : dy);
  const std::int64_t along = verticalFirst ? dy : dx;
  const std::int64_t across = verticalFirst ? dx : dy;
  const std::int64_t jog = across == 0 ? 25 : 0;
  const std::uint32_t alongLegs = (segments + 1) / 2;
  const std::uint32_t acrossLegs = segments / 2;

  Point previous{from.x, from.y};
  std::uint32_t via = 0;
  std::uint32_t arc = 0;
  for (std::uint32_t s = 1; s <= segments; ++s) {
    Point p{to.x, to.y};
    if (s < segments) {
      const std::int64_t a = along * ((s + 1) / 2) / alongLegs;
      const std::int64_t b = acrossLegs > 0 ? across * (s / 2) / acrossLegs + jog : jog;
      p = verticalFirst ? Clamp(from.x + b, from.y + a) : Clamp(from.x + a, from.y + b);
    }
    Line(width, layer, previous, p, net, 0);
    if (s < segments) {
      // Vias and arcs spread over the inner corners; a via changes layer.
      for (; via < vias && 1 + std::uint64_t{via} * (segments - 1) / vias == s; ++via) {
        Via(Clamp(std::int64_t{p.x} + std::int64_t{via % 2} * 30, p.y), power ? 40 : 24, power ? 20 : 12, net);
        std::int32_t next = CopperLayer();
        if (next == layer) next = layer == 0 ? 1 : 0;
        layer = next;
      }
      for (; arc < arcs && 1 + std::uint64_t{arc} * (segments - 1) / arcs == s; ++arc) {
        // Drawn last to first: the order the generator's known output was made in.
        const std::int32_t sweep = random_.Percent(50) ? 90 : -90;
        const std::int32_t start = static_cast<std::int32_t>(random_.Below(4)) * 90;
        Arc(random_.Between(10, 40), start, sweep, width, layer, p, net, 0);
      }
    }
    previous = p;
  }
  // Short or unrouted connections: what is left goes midway.
  const Point middle = Clamp((std::int64_t{from.x} + to.x) / 2, (std::int64_t{from.y} + to.y) / 2);
  for (std::uint32_t i = 0; via < vias; ++via, ++i) {
    Via(Clamp(std::int64_t{middle.x} + std::int64_t{i} * 30, middle.y), power ? 40 : 24, power ? 20 : 12, net);
  }
  for (std::uint32_t i = 0; arc < arcs; ++arc, ++i) {
    const std::int32_t start = static_cast<std::int32_t>(random_.Below(4)) * 90;
    Arc(random_.Between(10, 40), start, 180, width, layer,
        Clamp(middle.x, std::int64_t{middle.y} + std::int64_t{i} * 30), net, 0);
  }
}

void BoardGenerator::WriteFreeGraphics() {
  // Budgets that neither components nor connections took: a board outline
  // and dimension lines, mounting circles, stitching vias.
  const Point corners[4] = {{0, 0}, {width_, 0}, {width_, height_}, {0, height_}};
  for (std::uint32_t i = 0; written_.tracks < counts_.tracks; ++i) {
    if (i < 4) {
      Line(10, kMechanical1, corners[i], corners[(i + 1) % 4], 0, 0);
    } else {
      const Point a = RandomPoint();
      const Point b = random_.Percent(50) ? Point{a.x, RandomPoint().y} : Point{RandomPoint().x, a.y};
      Line(random_.Between(5, 10), kMechanical2, a, b, 0, 0);
    }
  }
  while (written_.arcs < counts_.arcs) {
    const Point centre = RandomPoint();
    Arc(random_.Between(50, 150), 0, 360, 10, kMechanical1, centre, 0, 0);
  }
  while (written_.vias < counts_.vias) {
    Via(RandomPoint(), 24, 12, counts_.nets > 0 ? 1 : 0);
  }
}

void BoardGenerator::WriteFills() {
  for (std::uint32_t i = 0; i < counts_.fills; ++i) {
    const Point a = RandomPoint();
    const std::int32_t height = random_.Between(20, 400);
    const Point b = Clamp(std::int64_t{a.x} + random_.Between(20, 400), std::int64_t{a.y} + height);
    const std::int32_t net = random_.Percent(50) ? PowerNet() : 0;
    const std::uint32_t component = random_.Percent(15) ? RandomComponent() : 0;
    const std::int32_t layer = random_.Percent(90) ? CopperLayer() : kTopOverlay;
    // Some fills name their upper right corner first.
    if (random_.Percent(20)) {
      Fill(layer, b, a, net, component);
    } else {
      Fill(layer, a, b, net, component);
    }
  }
}

void BoardGenerator::WritePolygons() {
  for (std::uint32_t i = 0; i < counts_.polygons; ++i) {
    const std::uint32_t roll = random_.Below(10);
    const std::int32_t layer = roll < 4 ? 1 : roll < 6 ? 0 : kCopperLayers[2 + random_.Below(4)];
    const Point low = RandomPoint();
    const std::int32_t height = random_.Between(300, 4000);
    const Point high = Clamp(std::int64_t{low.x} + random_.Between(300, 4000), std::int64_t{low.y} + height);
    // A quarter of the pours are slightly skewed quadrilaterals.
    const std::int32_t skew = random_.Percent(25) ? random_.Between(5, 40) : 0;
    std::array<Point, kPolygon.Points> points = {Clamp(low.x, low.y), Clamp(high.x, std::int64_t{low.y} + skew),
                                                 Clamp(high.x, high.y), Clamp(std::int64_t{low.x} + skew, high.y)};
    const std::uint32_t first = random_.Below(4);
    // One after the other: the order the random numbers are drawn in.
    const std::int32_t net = PowerNet();
    const std::uint32_t component = random_.Percent(5) ? RandomComponent() : 0;
    out_->Record<TRecordKind::Polygon>(layer, points.size(), net, component, 0);
    for (std::uint32_t k = 0; k < points.size(); ++k) {
      const Point& p = points[(first + k) % points.size()];
      out_->Keyword(kPolygon.PointKeyword);
      out_->Int(p.x);
      out_->Int(p.y);
      out_->EndLine();
    }
    ++written_.polygons;
  }
}

void BoardGenerator::WriteFreeTexts() {
  for (std::uint32_t i = 0; written_.texts < counts_.texts; ++i) {
    const std::uint32_t roll = random_.Below(20);
    const std::int32_t layer = roll < 11   ? kTopOverlay
                               : roll < 14 ? kBottomOverlay
                               : roll < 16 ? kMechanical1
                               : roll < 18 ? 0
                                           : 1;
    const bool mirrored = layer == kBottomOverlay || layer == 1;
    const std::string_view word = kFreeTexts[random_.Below(static_cast<std::uint32_t>(kFreeTexts.size()))];
    const Label text(word, i + 1, ' ');
    const std::int32_t width = random_.Percent(40) ? 0 : random_.Between(5, 15);
    const Point at = RandomPoint();
    const std::int32_t rotation = static_cast<std::int32_t>(random_.Below(4)) + (mirrored ? 4 : 0);
    Text(text.View(), random_.Between(30, 120), rotation, width, layer, at, 0);
  }
}

void BoardGenerator::Line(std::int32_t width, std::int32_t layer, Point a, Point b, std::int32_t net,
                          std::uint32_t component) {
  out_->Record<TRecordKind::Track>(width, layer, a.x, a.y, b.x, b.y, net, component, 0);
  ++written_.tracks;
}

void BoardGenerator::Arc(std::int32_t radius, std::int32_t start, std::int32_t sweep, std::int32_t width,
                         std::int32_t layer, Point centre, std::int32_t net, std::uint32_t component) {
  out_->Record<TRecordKind::Arc>(radius, start, sweep, width, layer, centre.x, centre.y, net, component, 0);
  ++written_.arcs;
}

void BoardGenerator::Via(Point at, std::int32_t size, std::int32_t hole, std::int32_t net) {
  out_->Record<TRecordKind::Via>("TH", size, hole, "0-1", at.x, at.y, net, 0, 0);
  ++written_.vias;
}

void BoardGenerator::Text(std::string_view text, std::int32_t height, std::int32_t rotationCode, std::int32_t width,
                          std::int32_t layer, Point at, std::uint32_t component) {
  out_->Record<TRecordKind::Text>(InQuotes(text), height, rotationCode, width, layer, at.x, at.y, 0, 0, 0, 0, component,
                                  0);
  ++written_.texts;
}

void BoardGenerator::Fill(std::int32_t layer, Point a, Point b, std::int32_t net, std::uint32_t component) {
  out_->Record<TRecordKind::Fill>(layer, a.x, a.y, b.x, b.y, net, component, 0);
  ++written_.fills;
}

TokenValue BoardGenerator::Bare(std::string_view word) noexcept {
  return {word, word.find(' ') != std::string_view::npos};
}

BoardGenerator::Point BoardGenerator::Clamp(std::int64_t x, std::int64_t y) const noexcept {
  return Point{static_cast<std::int32_t>(std::clamp<std::int64_t>(x, 0, width_)),
               static_cast<std::int32_t>(std::clamp<std::int64_t>(y, 0, height_))};
}

BoardGenerator::Point BoardGenerator::RandomPoint() noexcept {
  return Point{random_.Between(0, width_), random_.Between(0, height_)};
}

std::int32_t BoardGenerator::CopperLayer() noexcept {
  std::uint32_t pick = random_.Below(100);
  for (std::size_t i = 0; i < kCopperLayers.size(); ++i) {
    if (pick < kCopperWeights[i]) return kCopperLayers[i];
    pick -= kCopperWeights[i];
  }
  return kCopperLayers[0];
}

std::int32_t BoardGenerator::PowerNet() noexcept {
  if (powerNets_ == 0) return 0;
  // Ground carries half of all supply connections.
  if (random_.Percent(50)) return 1;
  return static_cast<std::int32_t>(1 + random_.Below(powerNets_));
}

std::uint32_t BoardGenerator::RandomComponent() noexcept {
  return counts_.components == 0 ? 0 : 1 + random_.Below(counts_.components);
}

}  // namespace orvik::gen
