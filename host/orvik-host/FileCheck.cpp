#include "host/orvik-host/FileCheck.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>

#include "platform/TextFile.h"
#include "reader/ArcSection.h"
#include "reader/ComponentSection.h"
#include "reader/FillSection.h"
#include "reader/LayerMaps.h"
#include "reader/LineIndex.h"
#include "reader/NetSection.h"
#include "reader/OrvikFile.h"
#include "reader/PadSection.h"
#include "reader/PolygonSection.h"
#include "reader/ReaderObserver.h"
#include "reader/TrackSection.h"
#include "reader/ViaSection.h"

namespace orvik::host {

namespace {

constexpr std::size_t kNumbers = 0x10000;  // net and component numbers match on 0..65535

// The fields of each record, for messages. Positions count from 1 after the
// keyword; Net and Component give the positions of those numbers (0: none).
struct RecordLayout {
  std::string_view Keyword;
  std::array<std::string_view, 13> Fields;
  std::size_t Count;
  std::size_t Net;
  std::size_t Component;
  std::string_view Object;  // what the importer makes of it
};

// In the importer's registration order.
constexpr std::array<RecordLayout, 9> kLayouts = {{
    {"ARC",
     {"radius", "start angle", "sweep", "width", "layer", "X", "Y", "net", "component", "reserved"},
     10,
     8,
     9,
     "arc"},
    {"PAD",
     {"shape", "X size", "Y size", "hole size", "side", "stack", "name", "X", "Y", "net", "component", "reserved"},
     12,
     10,
     11,
     "pad"},
    {"VIA", {"style", "size", "hole size", "shape", "X", "Y", "net", "component", "reserved"}, 9, 7, 8, "via"},
    {"LINE", {"width", "layer", "X1", "Y1", "X2", "Y2", "net", "component", "reserved"}, 9, 7, 8, "track"},
    {"TEXT",
     {"text", "height", "rotation", "width", "layer", "X", "Y", "flags", "reserved", "reserved", "reserved", "number",
      "reserved"},
     13,
     0,
     0,
     "text"},
    {"FILL", {"layer", "X1", "Y1", "X2", "Y2", "net", "component", "reserved"}, 8, 6, 7, "fill"},
    {"NET", {"name", "number", "class", "flags", "reserved"}, 5, 0, 0, "net"},
    {"COMP",
     {"designator", "library", "comment", "pattern", "source", "X", "Y", "rotation", "mirror", "flags", "reserved",
      "number", "layer"},
     13,
     0,
     0,
     "component"},
    {"POLY", {"layer", "vertex count", "net", "component", "reserved"}, 5, 3, 4, "fill"},
}};

// Texts that the importer cuts: the record's keyword, the field's position
// and the characters it keeps.
struct TextLimit {
  std::string_view Keyword;
  std::size_t Position;
  std::size_t Keeps;
};
constexpr std::array<TextLimit, 6> kTextLimits = {{
    {"TEXT", 1, 254},
    {"COMP", 1, 254},
    {"COMP", 3, 254},
    {"COMP", 4, 250},
    {"PAD", 7, kPadRecordNameLength},
    {"NET", 1, 255},
}};

// Words the importer knows; any other shape is round, any other side
// MultiLayer.
constexpr std::array<std::string_view, 2> kPadShapes = {"SQ", "EL"};
constexpr std::array<std::string_view, 3> kPadSides = {"TL", "BL", "MULTI"};

const RecordLayout* LayoutOf(std::string_view keyword) noexcept {
  for (const RecordLayout& layout : kLayouts) {
    if (SameKeyword(layout.Keyword, keyword)) return &layout;
  }
  return nullptr;
}

std::size_t LayoutIndex(const RecordLayout& layout) noexcept {
  return static_cast<std::size_t>(&layout - kLayouts.data());
}

template <std::size_t N>
bool OneOf(std::string_view word, const std::array<std::string_view, N>& words) noexcept {
  return std::find(words.begin(), words.end(), word) != words.end();
}

// A token in a message: quoted, at most 40 characters, control characters
// shown as '?'.
std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 40;
  std::string out = "'";
  for (std::size_t i = 0; i < text.size() && i < kShown; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    out += c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c);
  }
  if (text.size() > kShown) out += "...";
  out += "'";
  return out;
}

std::string FieldName(const RecordLayout& layout, std::size_t position) {
  return std::string(layout.Keyword) + " " + std::string(layout.Fields[position - 1]);
}

// Where a record and some of its tokens lie, kept for the checks that need
// the whole file.
struct RecordPlace {
  std::uint64_t Offset = 0;
  std::uint64_t NetOffset = 0;
  std::uint64_t ComponentOffset = 0;
  std::optional<std::pair<std::string, std::uint64_t>> PointStop;  // a POLY's consumed non-PNT word
  std::string Trailer;                                             // what happened to the rest of the line it ended on
};

struct PendingToken {
  std::string Text;
  std::uint64_t Offset = 0;
  std::size_t FullLength = 0;
  bool EndOfData = false;
  bool NotNumber = false;
};

class FileChecker final : public TReaderObserver {
 public:
  explicit FileChecker(const TLineIndex& lines) : lines_(lines) {}

  void OnToken(const TTokenEvent& token) override {
    FlushPending();
    pending_.Text.assign(token.Text);
    pending_.Offset = token.Offset;
    pending_.FullLength = token.FullLength;
    pending_.EndOfData = token.EndOfData;
    pending_.NotNumber = false;
    hasPending_ = true;
  }
  void OnNotNumber() override { pending_.NotNumber = true; }
  void OnRecordStart() override {
    FinishRecord();
    hasPending_ = false;
    layout_ = LayoutOf(pending_.Text);
    if (layout_ == nullptr) return;  // the driver and this table disagree: nothing to say
    current_ = RecordPlace{};
    current_.Offset = pending_.Offset;
    recordLine_ = LineOf(pending_.Offset);
    fieldCount_ = 0;
    crossAt_ = 0;
    swallowed_.reset();
    cutShortAt_ = 0;
    lastFieldLine_ = recordLine_;
  }
  void OnLineSkipped() override {
    FinishRecord();
    hasPending_ = false;
    if (!pending_.EndOfData) LineSkipped(pending_);
  }

  // After the reading pass: the last record.
  void Finish() {
    FlushPending();
    FinishRecord();
  }

  std::vector<RecordPlace>& Places(std::size_t layout) { return places_[layout]; }
  std::size_t CommentLines() const noexcept { return commentLines_; }

  void Add(FindingKind kind, std::uint64_t offset, std::string message) {
    findings_.push_back({kind, offset, std::move(message)});
  }

  struct RawFinding {
    FindingKind Kind;
    std::uint64_t Offset;
    std::string Message;
  };
  std::vector<RawFinding>& Findings() noexcept { return findings_; }

 private:
  std::uint32_t LineOf(std::uint64_t offset) const noexcept { return lines_.PositionOf(offset).Line; }

  void FlushPending() {
    if (hasPending_ && layout_ != nullptr) AddField(pending_);
    hasPending_ = false;
  }

  void AddField(const PendingToken& field) {
    const std::size_t k = ++fieldCount_;
    if (field.EndOfData) {
      if (cutShortAt_ == 0) cutShortAt_ = k;
      return;
    }
    const std::uint32_t line = LineOf(field.Offset);
    lastFieldLine_ = line;
    if (k > layout_->Count) {
      // Only POLY reads on: "PNT X Y" points.
      if ((k - layout_->Count - 1) % 3 == 0 && field.Text != "PNT") current_.PointStop = {field.Text, field.Offset};
      return;
    }
    if (line != recordLine_) {
      if (crossAt_ == 0) {
        crossAt_ = k;
        crossLine_ = line;
      }
      if (!swallowed_ && LayoutOf(field.Text) != nullptr) swallowed_ = {field.Text, line};
      // What a following line gave this record is one finding, on the record.
      return;
    }
    if (field.NotNumber) {
      Add(FindingKind::kNotNumber, field.Offset,
          FieldName(*layout_, k) + " is " + Quoted(field.Text) + ", not a number: it reads as 0");
    }
    if (layout_->Keyword == "PAD" && k == 1 && !OneOf(field.Text, kPadShapes)) {
      Add(FindingKind::kPadShape, field.Offset,
          "pad shape " + Quoted(field.Text) + " is unknown (SQ or EL): the pad is made round");
    }
    if (layout_->Keyword == "PAD" && k == 5 && !OneOf(field.Text, kPadSides)) {
      Add(FindingKind::kPadSide, field.Offset,
          "pad side " + Quoted(field.Text) + " is unknown (TL, BL or MULTI): the pad goes on MultiLayer");
    }
    for (const TextLimit& limit : kTextLimits) {
      if (limit.Keyword != layout_->Keyword || limit.Position != k) continue;
      const std::size_t keeps = std::min(limit.Keeps, field.Text.size());
      if (field.FullLength > keeps) {
        Add(FindingKind::kTextCut, field.Offset,
            FieldName(*layout_, k) + " is " + std::to_string(field.FullLength) +
                " characters long: the importer keeps the first " + std::to_string(keeps));
      }
    }
    if (k == layout_->Net) current_.NetOffset = field.Offset;
    if (k == layout_->Component) current_.ComponentOffset = field.Offset;
  }

  void FinishRecord() {
    if (layout_ == nullptr) return;
    lastCrossFinding_.reset();
    if (crossAt_ != 0) {
      const std::size_t onLine = crossAt_ - 1;
      const std::size_t taken = (cutShortAt_ != 0 ? cutShortAt_ - 1 : layout_->Count) - onLine;
      std::string message = std::string(layout_->Keyword) + " record has " + std::to_string(onLine) + " of its " +
                            std::to_string(layout_->Count) + " fields on its line; it takes " + std::to_string(taken) +
                            " from line " + std::to_string(crossLine_);
      if (swallowed_) {
        message += ", swallowing the keyword " + Quoted(swallowed_->first) + " of line " +
                   std::to_string(swallowed_->second) + ": that record is lost";
      }
      lastCrossFinding_ = findings_.size();
      Add(FindingKind::kCrossedLineEnd, current_.Offset, std::move(message));
    }
    if (cutShortAt_ != 0 && cutShortAt_ <= layout_->Count) {
      Add(FindingKind::kCutShort, current_.Offset,
          std::string(layout_->Keyword) + " record ends with the data after " + std::to_string(cutShortAt_ - 1) +
              " of its " + std::to_string(layout_->Count) + " fields: the rest read as empty or 0");
    }
    lastWasPolygonStop_ = current_.PointStop.has_value();
    lastIndex_ = LayoutIndex(*layout_);
    lastKeyword_ = layout_->Keyword;
    places_[lastIndex_].push_back(std::move(current_));
    lastLayout_ = layout_;
    lastRecordEndLine_ = lastFieldLine_;
    layout_ = nullptr;
  }

  void LineSkipped(const PendingToken& token) {
    const std::uint32_t line = LineOf(token.Offset);
    const bool afterRecord = lastLayout_ != nullptr && lastRecordEndLine_ == line;
    lastLayout_ = nullptr;
    const std::string rest =
        "the rest of line " + std::to_string(line) + ", from " + Quoted(token.Text) + ", is skipped";
    if (afterRecord && lastCrossFinding_) {
      findings_[*lastCrossFinding_].Message += "; " + rest;
      return;
    }
    if (afterRecord && lastWasPolygonStop_) {
      places_[lastIndex_].back().Trailer = rest;
      return;
    }
    if (!afterRecord && (line == 1 || token.Text.starts_with('#'))) {
      ++commentLines_;
      return;
    }
    if (afterRecord) {
      Add(FindingKind::kSkippedLine, token.Offset,
          "surplus fields after the " + std::string(lastKeyword_) + " record: " + rest);
    } else {
      Add(FindingKind::kSkippedLine, token.Offset,
          "line " + std::to_string(line) + " is skipped: its first token " + Quoted(token.Text) +
              " is no record keyword");
    }
  }

  const TLineIndex& lines_;
  PendingToken pending_;
  bool hasPending_ = false;

  // The record being read.
  const RecordLayout* layout_ = nullptr;
  RecordPlace current_;
  std::uint32_t recordLine_ = 0;
  std::size_t fieldCount_ = 0;
  std::size_t crossAt_ = 0;  // first field from a following line; 0: none
  std::uint32_t crossLine_ = 0;
  std::optional<std::pair<std::string, std::uint32_t>> swallowed_;
  std::size_t cutShortAt_ = 0;  // first field missing at the end of the data; 0: none
  std::uint32_t lastFieldLine_ = 0;

  // The record read last.
  const RecordLayout* lastLayout_ = nullptr;
  std::string_view lastKeyword_;
  std::uint32_t lastRecordEndLine_ = 0;
  std::optional<std::size_t> lastCrossFinding_;
  bool lastWasPolygonStop_ = false;
  std::size_t lastIndex_ = 0;

  std::array<std::vector<RecordPlace>, kLayouts.size()> places_;
  std::vector<RawFinding> findings_;
  std::size_t commentLines_ = 0;
};

}  // namespace

namespace {

// The net and component numbers of one primitive record, with what the
// importer makes of it.
struct PrimitiveNumbers {
  std::int32_t Net = 0;
  std::int32_t Component = 0;
  bool Placed = true;  // false: no object, or one placed nowhere
};

template <class Section>
const Section* SectionOf(const TOrvikFile& file, std::string_view keyword) {
  return dynamic_cast<const Section*>(file.FindSection(keyword));
}

// Numbers taken twice: the first record keeps the number; primitives never
// reach the others.
template <class Record>
std::vector<bool> CheckNumbers(FileChecker& checker, const TLineIndex& lines, const TRecordList<Record>& records,
                               const std::vector<RecordPlace>& places, FindingKind duplicate, std::string_view keyword,
                               std::string_view primitives) {
  std::vector<bool> known(kNumbers, false);
  std::vector<std::size_t> first(kNumbers, 0);
  for (std::size_t i = 0; i < records.size() && i < places.size(); ++i) {
    const auto number = static_cast<std::uint16_t>(records[i].Number);
    if (!known[number]) {
      known[number] = true;
      first[number] = i;
      continue;
    }
    const std::size_t j = first[number];
    std::string message = std::string(keyword) + " number " + std::to_string(records[i].Number);
    if (records[i].Number != number) message += " (to the importer " + std::to_string(number) + ")";
    message += " is taken by the " + std::string(keyword) + " record of line " +
               std::to_string(lines.PositionOf(places[j].Offset).Line) + ": " + std::string(primitives) +
               " with this number join that first one";
    checker.Add(duplicate, places[i].Offset, std::move(message));
  }
  return known;
}

}  // namespace

std::string_view FindingKindName(FindingKind kind) noexcept {
  static constexpr std::array<std::string_view, kFindingKindCount> kNames = {
      "skipped-line",   "crossed-line-end", "not-a-number",      "cut-short",     "pad-shape",
      "pad-side",       "unknown-net",      "unknown-component", "duplicate-net", "duplicate-component",
      "polygon-points", "multilayer-track", "text-cut"};
  const auto i = static_cast<std::size_t>(kind);
  return i < kNames.size() ? kNames[i] : "unknown";
}

namespace {

// A primitive's net or component number that matches nothing: the importer
// leaves it out of that group.
void CheckReference(FileChecker& checker, const std::vector<bool>& known, std::int32_t number, std::uint64_t offset,
                    std::string_view group, std::string_view consequence) {
  if (number == 0) return;
  if (number > 0 && number < static_cast<std::int32_t>(kNumbers) && known[static_cast<std::size_t>(number)]) return;
  std::string message = std::string(group) + " number " + std::to_string(number) + " matches no " +
                        (group == "net" ? "NET" : "COMP") + " record: " + std::string(consequence);
  const auto low = static_cast<std::uint16_t>(number);
  if ((number < 0 || number >= static_cast<std::int32_t>(kNumbers)) && known[low]) {
    message += " (numbers match on 0 to 65535 only, though a record is numbered " + std::to_string(low) + ")";
  }
  checker.Add(group == "net" ? FindingKind::kUnknownNet : FindingKind::kUnknownComponent, offset, std::move(message));
}

struct Groups {
  std::vector<bool> Nets = std::vector<bool>(kNumbers, false);
  std::vector<bool> Components = std::vector<bool>(kNumbers, false);
};

void CheckPrimitive(FileChecker& checker, const Groups& groups, const RecordPlace& place, std::string_view object,
                    std::int32_t net, std::int32_t component) {
  const std::string the = "the " + std::string(object);
  CheckReference(checker, groups.Nets, net, place.NetOffset != 0 ? place.NetOffset : place.Offset, "net",
                 the + " joins no net");
  CheckReference(checker, groups.Components, component,
                 place.ComponentOffset != 0 ? place.ComponentOffset : place.Offset, "component",
                 the + " joins no component and is not added to the board either");
}

// Calls check(record, place) for the records of one primitive section.
template <class Section, class Check>
void ForEachRecord(const TOrvikFile& file, FileChecker& checker, std::size_t layout, Check check) {
  const auto* section = SectionOf<Section>(file, kLayouts[layout].Keyword);
  if (section == nullptr) return;
  const std::vector<RecordPlace>& places = checker.Places(layout);
  for (std::size_t i = 0; i < section->Records.size() && i < places.size(); ++i) check(section->Records[i], places[i]);
}

std::string PolygonMessage(const TPolygonRecord& record, const RecordPlace& place, const TLineIndex& lines) {
  std::string message;
  if (record.VertexCount != kPolygonPointCount) {
    message = "POLY announces " + std::to_string(record.VertexCount) +
              " points: the importer reads points only when there are 4, so it reads none and makes no fill";
  } else {
    message = "POLY has " + std::to_string(record.PointsRead) + " of its 4 points";
    if (place.PointStop) {
      message += ": reading stops at " + Quoted(place.PointStop->first) + " (line " +
                 std::to_string(lines.PositionOf(place.PointStop->second).Line) + "), which it consumes";
    }
    message += record.PointsRead == 0 ? "; no fill is made" : "; the fill bounds only those";
  }
  if (!place.Trailer.empty()) message += "; " + place.Trailer;
  return message;
}

// The bytes of the file up to the end of its data, for line numbers.
std::string ReadText(const std::string& path) {
  platform::TextFile file;
  file.Assign(path);
  file.Reset();
  std::string text;
  text.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(file.Size(), std::uint64_t{1} << 30)));
  while (!file.Eof()) text += file.Read();
  file.Close();
  return text;
}

}  // namespace

FileCheck CheckFile(const std::string& path) {
  const TLineIndex lines(ReadText(path));
  FileChecker checker(lines);
  TOrvikFile file(path);
  file.ReadOnly(checker);
  checker.Finish();

  constexpr std::size_t kPad = 1, kVia = 2, kLine = 3, kFill = 5, kNet = 6, kComp = 7, kPoly = 8;
  Groups groups;
  if (const auto* nets = SectionOf<TNetSection>(file, "NET")) {
    groups.Nets = CheckNumbers(checker, lines, nets->Records, checker.Places(kNet), FindingKind::kDuplicateNet, "NET",
                               "primitives");
  }
  if (const auto* components = SectionOf<TComponentSection>(file, "COMP")) {
    groups.Components = CheckNumbers(checker, lines, components->Records, checker.Places(kComp),
                                     FindingKind::kDuplicateComponent, "COMP", "primitives");
  }

  ForEachRecord<TArcSection>(file, checker, 0, [&](const TArcRecord& r, const RecordPlace& place) {
    CheckPrimitive(checker, groups, place, "arc", r.NetNumber, r.ComponentNumber);
  });
  ForEachRecord<TPadSection>(file, checker, kPad, [&](const TPadRecord& r, const RecordPlace& place) {
    CheckPrimitive(checker, groups, place, "pad", r.NetNumber, r.ComponentNumber);
  });
  ForEachRecord<TViaSection>(file, checker, kVia, [&](const TViaRecord& r, const RecordPlace& place) {
    CheckPrimitive(checker, groups, place, "via", r.NetNumber, r.ComponentNumber);
  });
  ForEachRecord<TTrackSection>(file, checker, kLine, [&](const TTrackRecord& r, const RecordPlace& place) {
    if (MapFileLayer(r.Layer) == layer::MultiLayer) {
      checker.Add(FindingKind::kMultiLayerTrack, place.Offset,
                  "LINE on MultiLayer: the track is made but placed nowhere (not on the board, in no net or "
                  "component)");
      return;
    }
    CheckPrimitive(checker, groups, place, "track", r.NetNumber, r.ComponentNumber);
  });
  ForEachRecord<TFillSection>(file, checker, kFill, [&](const TFillRecord& r, const RecordPlace& place) {
    CheckPrimitive(checker, groups, place, "fill", r.NetNumber, r.ComponentNumber);
  });
  ForEachRecord<TPolygonSection>(file, checker, kPoly, [&](const TPolygonRecord& r, const RecordPlace& place) {
    if (r.PointsRead < kPolygonPointCount) {
      checker.Add(FindingKind::kPolygonPoints, place.Offset, PolygonMessage(r, place, lines));
    }
    if (r.PointsRead > 0) CheckPrimitive(checker, groups, place, "POLY fill", r.NetNumber, r.ComponentNumber);
  });

  FileCheck result;
  result.Lines = lines.LineCount();
  result.CommentLines = checker.CommentLines();
  for (const RecordLayout& layout : kLayouts) {
    const TSection* section = file.FindSection(layout.Keyword);
    result.Records.emplace_back(layout.Keyword, section != nullptr ? section->RecordCount() : 0);
  }
  auto& raw = checker.Findings();
  std::stable_sort(raw.begin(), raw.end(), [](const auto& a, const auto& b) { return a.Offset < b.Offset; });
  for (auto& finding : raw) {
    const TTextPosition at = lines.PositionOf(finding.Offset);
    result.Findings.push_back({finding.Kind, at.Line, at.Column, std::move(finding.Message)});
  }
  return result;
}

}  // namespace orvik::host
