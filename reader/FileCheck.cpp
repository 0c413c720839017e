#include "reader/FileCheck.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <utility>

#include "RTL/RT_PCB/Layers.h"
#include "orvik/objectkinds.h"
#include "platform/TextFile.h"
#include "reader/LineIndex.h"
#include "reader/OrvikFile.h"
#include "reader/PadSection.h"
#include "reader/ReaderObserver.h"
#include "reader/RecordLayout.h"
#include "reader/Sections.h"
#include "reader/TrackSection.h"

namespace orvik {

namespace {

constexpr std::size_t kNumbers = 0x10000;  // net and component numbers match on 0..65535
// A point after a record's fields: its keyword, X and Y.
constexpr std::size_t kPointTokens = 3;

bool OneOf(std::string_view word, std::span<const std::string_view> words) noexcept {
  return std::find(words.begin(), words.end(), word) != words.end();
}

// "A or B", "A, B or C".
std::string WordList(std::span<const std::string_view> words) {
  std::string out;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i != 0) out += i + 1 == words.size() ? " or " : ", ";
    out += words[i];
  }
  return out;
}

// What the importer makes of a record: "arc", "pad", ...
std::string_view ObjectName(const TRecordLayout& layout) noexcept { return OrvikObjectKindName(layout.Object); }

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

std::string FieldName(const TRecordLayout& layout, std::size_t position) {
  return std::string(layout.Keyword) + " " + std::string(layout.Fields[position - 1].Name);
}

// Where a record and some of its tokens lie, kept for the checks that need
// the whole file.
struct RecordPlace {
  std::uint64_t Offset = 0;
  std::uint64_t NetOffset = 0;
  std::uint64_t ComponentOffset = 0;
  std::optional<std::pair<std::string, std::uint64_t>> PointStop;  // a consumed word that is no point keyword
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
  void OnRecordStart(const TRecordLayout& layout) override {
    FinishRecord();
    hasPending_ = false;
    layout_ = &layout;
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

  std::vector<RecordPlace>& Places(TRecordKind kind) { return places_[IndexOf(kind)]; }
  std::size_t CommentLines() const noexcept { return commentLines_; }

  void Add(TFindingKind kind, std::uint64_t offset, std::string message) {
    findings_.push_back({kind, offset, std::move(message)});
  }

  struct RawFinding {
    TFindingKind Kind;
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
    const std::size_t count = layout_->Fields.size();
    if (k > count) {
      // Only a record with points reads on.
      if ((k - count - 1) % kPointTokens == 0 && field.Text != layout_->PointKeyword) {
        current_.PointStop = {field.Text, field.Offset};
      }
      return;
    }
    if (line != recordLine_) {
      if (crossAt_ == 0) {
        crossAt_ = k;
        crossLine_ = line;
      }
      if (!swallowed_ && FindRecordLayout(field.Text) != nullptr) swallowed_ = {field.Text, line};
      // What a following line gave this record is one finding, on the record.
      return;
    }
    if (field.NotNumber) {
      Add(TFindingKind::NotNumber, field.Offset,
          FieldName(*layout_, k) + " is " + Quoted(field.Text) + ", not a number: it reads as 0");
    }
    const TFieldLayout& layout = layout_->Fields[k - 1];
    if (layout.Kind == TFieldKind::PadShape || layout.Kind == TFieldKind::PadSide) CheckWord(layout, field);
    if (layout.Keeps != 0) {
      const std::size_t keeps = std::min(layout.Keeps, field.Text.size());
      if (field.FullLength > keeps) {
        Add(TFindingKind::TextCut, field.Offset,
            FieldName(*layout_, k) + " is " + std::to_string(field.FullLength) +
                " characters long: the importer keeps the first " + std::to_string(keeps));
      }
    }
    if (k == layout_->Net) current_.NetOffset = field.Offset;
    if (k == layout_->Component) current_.ComponentOffset = field.Offset;
  }

  // A word the importer does not know, and what the pad reader makes of it.
  void CheckWord(const TFieldLayout& layout, const PendingToken& field) {
    if (OneOf(field.Text, layout.Words)) return;
    const bool shape = layout.Kind == TFieldKind::PadShape;
    const std::string object(ObjectName(*layout_));
    const std::string outcome = shape ? "is made " + std::string(PadShapeName(PadShapeFromWord(field.Text)))
                                      : "goes on " + std::string(LegacyLayerName(PadLayerFromWord(field.Text)));
    Add(shape ? TFindingKind::PadShape : TFindingKind::PadSide, field.Offset,
        object + " " + std::string(layout.Name) + " " + Quoted(field.Text) + " is unknown (" + WordList(layout.Words) +
            "): the " + object + " " + outcome);
  }

  void FinishRecord() {
    if (layout_ == nullptr) return;
    lastCrossFinding_.reset();
    if (crossAt_ != 0) {
      const std::size_t onLine = crossAt_ - 1;
      const std::size_t taken = (cutShortAt_ != 0 ? cutShortAt_ - 1 : layout_->Fields.size()) - onLine;
      std::string message = std::string(layout_->Keyword) + " record has " + std::to_string(onLine) + " of its " +
                            std::to_string(layout_->Fields.size()) + " fields on its line; it takes " +
                            std::to_string(taken) + " from line " + std::to_string(crossLine_);
      if (swallowed_) {
        message += ", swallowing the keyword " + Quoted(swallowed_->first) + " of line " +
                   std::to_string(swallowed_->second) + ": that record is lost";
      }
      lastCrossFinding_ = findings_.size();
      Add(TFindingKind::CrossedLineEnd, current_.Offset, std::move(message));
    }
    if (cutShortAt_ != 0 && cutShortAt_ <= layout_->Fields.size()) {
      Add(TFindingKind::CutShort, current_.Offset,
          std::string(layout_->Keyword) + " record ends with the data after " + std::to_string(cutShortAt_ - 1) +
              " of its " + std::to_string(layout_->Fields.size()) + " fields: the rest read as empty or 0");
    }
    lastWasPolygonStop_ = current_.PointStop.has_value();
    places_[IndexOf(layout_->Kind)].push_back(std::move(current_));
    lastLayout_ = layout_;
    lastRecordEndLine_ = lastFieldLine_;
    layout_ = nullptr;
  }

  void LineSkipped(const PendingToken& token) {
    const std::uint32_t line = LineOf(token.Offset);
    const TRecordLayout* const last = std::exchange(lastLayout_, nullptr);
    const bool afterRecord = last != nullptr && lastRecordEndLine_ == line;
    const std::string rest =
        "the rest of line " + std::to_string(line) + ", from " + Quoted(token.Text) + ", is skipped";
    if (afterRecord && lastCrossFinding_) {
      findings_[*lastCrossFinding_].Message += "; " + rest;
      return;
    }
    if (afterRecord && lastWasPolygonStop_) {
      places_[IndexOf(last->Kind)].back().Trailer = rest;
      return;
    }
    if (!afterRecord && (line == 1 || token.Text.starts_with('#'))) {
      ++commentLines_;
      return;
    }
    if (afterRecord) {
      Add(TFindingKind::SkippedLine, token.Offset,
          "surplus fields after the " + std::string(last->Keyword) + " record: " + rest);
    } else {
      Add(TFindingKind::SkippedLine, token.Offset,
          "line " + std::to_string(line) + " is skipped: its first token " + Quoted(token.Text) +
              " is no record keyword");
    }
  }

  const TLineIndex& lines_;
  PendingToken pending_;
  bool hasPending_ = false;

  // The record being read.
  const TRecordLayout* layout_ = nullptr;
  RecordPlace current_;
  std::uint32_t recordLine_ = 0;
  std::size_t fieldCount_ = 0;
  std::size_t crossAt_ = 0;  // first field from a following line; 0: none
  std::uint32_t crossLine_ = 0;
  std::optional<std::pair<std::string, std::uint32_t>> swallowed_;
  std::size_t cutShortAt_ = 0;  // first field missing at the end of the data; 0: none
  std::uint32_t lastFieldLine_ = 0;

  // The record read last.
  const TRecordLayout* lastLayout_ = nullptr;
  std::uint32_t lastRecordEndLine_ = 0;
  std::optional<std::size_t> lastCrossFinding_;
  bool lastWasPolygonStop_ = false;

  std::array<std::vector<RecordPlace>, kRecordKindCount> places_;
  std::vector<RawFinding> findings_;
  std::size_t commentLines_ = 0;
};

}  // namespace

namespace {

// Numbers taken twice: the first record keeps the number; primitives never
// reach the others.
template <class Section>
std::vector<bool> CheckNumbers(FileChecker& checker, const TLineIndex& lines, const Section& section,
                               TFindingKind duplicate) {
  const std::string keyword(LayoutOf(Section::kRecordKind).Keyword);
  const auto& records = section.Records;
  const std::vector<RecordPlace>& places = checker.Places(Section::kRecordKind);
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
    std::string message = keyword + " number " + std::to_string(records[i].Number);
    if (records[i].Number != number) message += " (to the importer " + std::to_string(number) + ")";
    message += " is taken by the " + keyword + " record of line " +
               std::to_string(lines.PositionOf(places[j].Offset).Line) +
               ": primitives with this number join that first one";
    checker.Add(duplicate, places[i].Offset, std::move(message));
  }
  return known;
}

}  // namespace

std::string_view FindingKindName(TFindingKind kind) noexcept {
  static constexpr std::array<std::string_view, kFindingKindCount> kNames = {
      "skipped-line",   "crossed-line-end", "not-a-number",      "cut-short",     "pad-shape",
      "pad-side",       "unknown-net",      "unknown-component", "duplicate-net", "duplicate-component",
      "polygon-points", "multilayer-track", "text-cut"};
  const auto i = static_cast<std::size_t>(kind);
  return i < kNames.size() ? kNames[i] : "unknown";
}

namespace {

// A primitive's net or component number that matches nothing: the importer
// leaves it out of that group, a net or a component.
void CheckReference(FileChecker& checker, const std::vector<bool>& known, std::int32_t number, std::uint64_t offset,
                    TRecordKind group, std::string_view consequence) {
  if (number == 0) return;
  if (number > 0 && number < static_cast<std::int32_t>(kNumbers) && known[static_cast<std::size_t>(number)]) return;
  const TRecordLayout& layout = LayoutOf(group);
  std::string message = std::string(ObjectName(layout)) + " number " + std::to_string(number) + " matches no " +
                        std::string(layout.Keyword) + " record: " + std::string(consequence);
  const auto low = static_cast<std::uint16_t>(number);
  if ((number < 0 || number >= static_cast<std::int32_t>(kNumbers)) && known[low]) {
    message += " (numbers match on 0 to 65535 only, though a record is numbered " + std::to_string(low) + ")";
  }
  checker.Add(group == TRecordKind::Net ? TFindingKind::UnknownNet : TFindingKind::UnknownComponent, offset,
              std::move(message));
}

struct Groups {
  std::vector<bool> Nets = std::vector<bool>(kNumbers, false);
  std::vector<bool> Components = std::vector<bool>(kNumbers, false);
};

void CheckPrimitive(FileChecker& checker, const Groups& groups, const RecordPlace& place, std::string_view object,
                    std::int32_t net, std::int32_t component) {
  const std::string the = "the " + std::string(object);
  CheckReference(checker, groups.Nets, net, place.NetOffset != 0 ? place.NetOffset : place.Offset, TRecordKind::Net,
                 the + " joins no net");
  CheckReference(checker, groups.Components, component,
                 place.ComponentOffset != 0 ? place.ComponentOffset : place.Offset, TRecordKind::Component,
                 the + " joins no component and is not added to the board either");
}

// Calls check(record, place) for the records of one primitive section.
template <class Section, class Check>
void ForEachRecord(const Section& section, FileChecker& checker, Check check) {
  const std::vector<RecordPlace>& places = checker.Places(Section::kRecordKind);
  for (std::size_t i = 0; i < section.Records.size() && i < places.size(); ++i) check(section.Records[i], places[i]);
}

// The net and component numbers of a section's records that match nothing.
template <class Section>
void CheckPrimitives(const Section& section, FileChecker& checker, const Groups& groups) {
  const std::string_view object = ObjectName(LayoutOf(Section::kRecordKind));
  ForEachRecord(section, checker, [&](const auto& r, const RecordPlace& place) {
    CheckPrimitive(checker, groups, place, object, r.NetNumber, r.ComponentNumber);
  });
}

std::string PolygonMessage(const TPolygonRecord& record, const RecordPlace& place, const TLineIndex& lines) {
  const std::string keyword(LayoutOf(TRecordKind::Polygon).Keyword);
  const std::string points = std::to_string(kPolygonPointCount);
  std::string message;
  if (record.VertexCount != kPolygonPointCount) {
    message = keyword + " announces " + std::to_string(record.VertexCount) +
              " points: the importer reads points only when there are " + points +
              ", so it reads none and makes no fill";
  } else {
    message = keyword + " has " + std::to_string(record.PointsRead) + " of its " + points + " points";
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

TFileCheck CheckFile(const std::string& path) {
  const TLineIndex lines(ReadText(path));
  FileChecker checker(lines);
  TOrvikFile file(path);
  file.ReadOnly(checker);
  checker.Finish();

  const TSections& sections = file.Sections();
  Groups groups;
  groups.Nets = CheckNumbers(checker, lines, sections.Net, TFindingKind::DuplicateNet);
  groups.Components = CheckNumbers(checker, lines, sections.Component, TFindingKind::DuplicateComponent);

  CheckPrimitives(sections.Arc, checker, groups);
  CheckPrimitives(sections.Pad, checker, groups);
  CheckPrimitives(sections.Via, checker, groups);
  const TRecordLayout& tracks = LayoutOf(TRecordKind::Track);
  ForEachRecord(sections.Track, checker, [&](const TTrackRecord& r, const RecordPlace& place) {
    if (TrackIsPlacedNowhere(TrackLayer(r))) {
      checker.Add(TFindingKind::MultiLayerTrack, place.Offset,
                  std::string(tracks.Keyword) + " on " + std::string(LegacyLayerName(layer::MultiLayer)) + ": the " +
                      std::string(ObjectName(tracks)) +
                      " is made but placed nowhere (not on the board, in no net or component)");
      return;
    }
    CheckPrimitive(checker, groups, place, ObjectName(tracks), r.NetNumber, r.ComponentNumber);
  });
  CheckPrimitives(sections.Fill, checker, groups);
  // Told from the fills of FILL records by their keyword.
  const TRecordLayout& polygons = LayoutOf(TRecordKind::Polygon);
  const std::string polygonFill = std::string(polygons.Keyword) + " " + std::string(ObjectName(polygons));
  ForEachRecord(sections.Polygon, checker, [&](const TPolygonRecord& r, const RecordPlace& place) {
    if (r.PointsRead < kPolygonPointCount) {
      checker.Add(TFindingKind::PolygonPoints, place.Offset, PolygonMessage(r, place, lines));
    }
    if (r.PointsRead > 0) CheckPrimitive(checker, groups, place, polygonFill, r.NetNumber, r.ComponentNumber);
  });

  TFileCheck result;
  result.Lines = lines.LineCount();
  result.CommentLines = checker.CommentLines();
  for (const TRecordLayout& layout : kRecordLayouts) {
    result.Records.emplace_back(layout.Keyword, sections.Of(layout.Kind).RecordCount());
  }
  auto& raw = checker.Findings();
  std::stable_sort(raw.begin(), raw.end(), [](const auto& a, const auto& b) { return a.Offset < b.Offset; });
  for (auto& finding : raw) {
    const TTextPosition at = lines.PositionOf(finding.Offset);
    result.Findings.push_back({finding.Kind, at.Line, at.Column, std::move(finding.Message)});
  }
  return result;
}

}  // namespace orvik
