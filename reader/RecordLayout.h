// The record layouts of an Orvik ASCII PCB file, one per record kind: the
// keyword, the fields in file order with their names and kinds, where the
// net, component and own numbers sit, how many characters of each text the
// importer keeps, and what the importer makes of a record. The section
// readers read their fields through these layouts, the file check names
// fields by them and orvik-gen writes records by them. Header only and
// constexpr, so that tools can use it without the reader.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "orvik/objectkinds.h"

namespace orvik {

// How a field's token is read.
enum class TFieldKind : std::uint8_t {
  Integer,   // an integer (ParseInteger); a token that is no number reads as 0
  Layer,     // a compact layer number: an integer whose low 8 bits count
  Word,      // a word that is read and not kept
  Text,      // a text that is kept, bare or in double quotes
  PadShape,  // a word among the field's Words; any other gives a round pad
  PadSide,   // a word among the field's Words; any other gives MultiLayer
};

// Integer and Layer fields are read as integers, all others as tokens.
constexpr bool IsIntegerField(TFieldKind kind) noexcept {
  return kind == TFieldKind::Integer || kind == TFieldKind::Layer;
}

struct TFieldLayout {
  constexpr TFieldLayout(std::string_view name, TFieldKind kind = TFieldKind::Integer, std::size_t keeps = 0,
                         std::span<const std::string_view> words = {}) noexcept
      : Name(name), Kind(kind), Keeps(keeps), Words(words) {}

  std::string_view Name;
  TFieldKind Kind;
  std::size_t Keeps;                        // Text fields: the characters the importer keeps
  std::span<const std::string_view> Words;  // PadShape and PadSide fields: the words the importer knows
};

// Record kinds, in the order the importer registers its readers and makes
// their objects' counts known.
enum class TRecordKind : std::uint8_t { Arc, Pad, Via, Track, Text, Fill, Net, Component, Polygon };
inline constexpr std::size_t kRecordKindCount = 9;

constexpr std::size_t IndexOf(TRecordKind kind) noexcept { return static_cast<std::size_t>(kind); }

struct TRecordLayout {
  constexpr TRecordLayout(TRecordKind kind, std::string_view keyword, std::uint8_t object,
                          std::span<const TFieldLayout> fields, std::size_t net = 0, std::size_t component = 0,
                          std::size_t number = 0, std::string_view pointKeyword = {}, std::size_t points = 0) noexcept
      : Kind(kind),
        Keyword(keyword),
        Object(object),
        Fields(fields),
        Net(net),
        Component(component),
        Number(number),
        PointKeyword(pointKeyword),
        Points(points) {}

  TRecordKind Kind;
  std::string_view Keyword;  // matched without regard to the case of ASCII letters
  std::uint8_t Object;       // the object kind the importer makes of a record
  std::span<const TFieldLayout> Fields;
  // Field positions, counted from 1 after the keyword; 0: the record has none.
  std::size_t Net;        // the net the object joins
  std::size_t Component;  // the component the object joins
  std::size_t Number;     // the record's own number (NET, COMP)
  // Points that may follow the fields: up to Points groups of PointKeyword,
  // X and Y.
  std::string_view PointKeyword;
  std::size_t Points;
};

// The words of a PAD record's shape and side that the importer knows.
inline constexpr std::string_view kPadShapeSquare = "SQ";
inline constexpr std::string_view kPadShapeRound = "EL";
inline constexpr std::string_view kPadSideTop = "TL";
inline constexpr std::string_view kPadSideBottom = "BL";
inline constexpr std::string_view kPadSideMulti = "MULTI";

namespace record_fields {

using enum TFieldKind;

inline constexpr std::array<std::string_view, 2> kPadShapeWords = {kPadShapeSquare, kPadShapeRound};
inline constexpr std::array<std::string_view, 3> kPadSideWords = {kPadSideTop, kPadSideBottom, kPadSideMulti};

inline constexpr std::array<TFieldLayout, 10> kArc = {{{"radius"},
                                                       {"start angle"},
                                                       {"sweep"},
                                                       {"width"},
                                                       {"layer", Layer},
                                                       {"X"},
                                                       {"Y"},
                                                       {"net"},
                                                       {"component"},
                                                       {"reserved"}}};
inline constexpr std::array<TFieldLayout, 12> kPad = {{{"shape", PadShape, 0, kPadShapeWords},
                                                       {"X size"},
                                                       {"Y size"},
                                                       {"hole size"},
                                                       {"side", PadSide, 0, kPadSideWords},
                                                       {"stack", Word},
                                                       {"name", Text, 4},
                                                       {"X"},
                                                       {"Y"},
                                                       {"net"},
                                                       {"component"},
                                                       {"reserved"}}};
inline constexpr std::array<TFieldLayout, 9> kVia = {
    {{"style", Word}, {"size"}, {"hole size"}, {"shape", Word}, {"X"}, {"Y"}, {"net"}, {"component"}, {"reserved"}}};
inline constexpr std::array<TFieldLayout, 9> kTrack = {
    {{"width"}, {"layer", Layer}, {"X1"}, {"Y1"}, {"X2"}, {"Y2"}, {"net"}, {"component"}, {"reserved"}}};
inline constexpr std::array<TFieldLayout, 13> kText = {{{"text", Text, 254},
                                                        {"height"},
                                                        {"rotation"},
                                                        {"width"},
                                                        {"layer", Layer},
                                                        {"X"},
                                                        {"Y"},
                                                        {"flags"},
                                                        {"reserved"},
                                                        {"reserved"},
                                                        {"reserved"},
                                                        {"number"},
                                                        {"reserved"}}};
inline constexpr std::array<TFieldLayout, 8> kFill = {
    {{"layer", Layer}, {"X1"}, {"Y1"}, {"X2"}, {"Y2"}, {"net"}, {"component"}, {"reserved"}}};
inline constexpr std::array<TFieldLayout, 5> kNet = {
    {{"name", Text, 255}, {"number"}, {"class"}, {"flags"}, {"reserved"}}};
inline constexpr std::array<TFieldLayout, 13> kComponent = {{{"designator", Text, 254},
                                                             {"library", Word},
                                                             {"comment", Text, 254},
                                                             {"pattern", Text, 250},
                                                             {"source", Word},
                                                             {"X"},
                                                             {"Y"},
                                                             {"rotation"},
                                                             {"mirror"},
                                                             {"flags"},
                                                             {"reserved"},
                                                             {"number"},
                                                             {"layer", Layer}}};
inline constexpr std::array<TFieldLayout, 5> kPolygon = {
    {{"layer", Layer}, {"vertex count"}, {"net"}, {"component"}, {"reserved"}}};

}  // namespace record_fields

// In kind order.
inline constexpr std::array<TRecordLayout, kRecordKindCount> kRecordLayouts = {{
    {TRecordKind::Arc, "ARC", ORVIK_KIND_ARC, record_fields::kArc, 8, 9},
    {TRecordKind::Pad, "PAD", ORVIK_KIND_PAD, record_fields::kPad, 10, 11},
    {TRecordKind::Via, "VIA", ORVIK_KIND_VIA, record_fields::kVia, 7, 8},
    {TRecordKind::Track, "LINE", ORVIK_KIND_TRACK, record_fields::kTrack, 7, 8},
    {TRecordKind::Text, "TEXT", ORVIK_KIND_TEXT, record_fields::kText},
    {TRecordKind::Fill, "FILL", ORVIK_KIND_FILL, record_fields::kFill, 6, 7},
    {TRecordKind::Net, "NET", ORVIK_KIND_NET, record_fields::kNet, 0, 0, 2},
    {TRecordKind::Component, "COMP", ORVIK_KIND_COMPONENT, record_fields::kComponent, 0, 0, 12},
    {TRecordKind::Polygon, "POLY", ORVIK_KIND_FILL, record_fields::kPolygon, 3, 4, 0, "PNT", 4},
}};

constexpr const TRecordLayout& LayoutOf(TRecordKind kind) noexcept { return kRecordLayouts[IndexOf(kind)]; }

// Keywords compare without regard to the case of ASCII letters.
constexpr bool SameKeyword(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

// The layout whose keyword `keyword` is; nil for none (and for the empty
// keyword). The one place where keywords are looked up.
constexpr const TRecordLayout* FindRecordLayout(std::string_view keyword) noexcept {
  if (keyword.empty()) return nullptr;
  for (const TRecordLayout& layout : kRecordLayouts) {
    if (SameKeyword(layout.Keyword, keyword)) return &layout;
  }
  return nullptr;
}

// The field named `name` of a record kind; nil for none.
constexpr const TFieldLayout* FindField(TRecordKind kind, std::string_view name) noexcept {
  for (const TFieldLayout& field : LayoutOf(kind).Fields) {
    if (field.Name == name) return &field;
  }
  return nullptr;
}

namespace record_fields {

// The table's own rules, checked once at compile time.
constexpr bool PositionIsInteger(const TRecordLayout& layout, std::size_t position) noexcept {
  return position == 0 || (position <= layout.Fields.size() && layout.Fields[position - 1].Kind == Integer);
}
constexpr bool WellFormed() noexcept {
  for (std::size_t i = 0; i < kRecordLayouts.size(); ++i) {
    const TRecordLayout& layout = kRecordLayouts[i];
    if (IndexOf(layout.Kind) != i || layout.Keyword.empty() || layout.Fields.empty()) return false;
    for (std::size_t j = 0; j < i; ++j) {
      if (SameKeyword(kRecordLayouts[j].Keyword, layout.Keyword)) return false;
    }
    if (!PositionIsInteger(layout, layout.Net) || !PositionIsInteger(layout, layout.Component) ||
        !PositionIsInteger(layout, layout.Number)) {
      return false;
    }
    if ((layout.Points == 0) != layout.PointKeyword.empty()) return false;
    for (const TFieldLayout& field : layout.Fields) {
      if (field.Name.empty()) return false;
      // Only texts have a limit, and every text has one that a token can reach.
      if ((field.Kind == Text) != (field.Keeps != 0) || field.Keeps > 255) return false;
      if ((field.Kind == PadShape || field.Kind == PadSide) == field.Words.empty()) return false;
    }
  }
  return true;
}
static_assert(WellFormed(), "every record layout keeps the table's rules");

}  // namespace record_fields

}  // namespace orvik
