// The file check: reads a file with the importer's own tokenizer and section
// readers, watching the reading pass, and lists what the importer would
// silently do with the file's flaws, each with its line and column. Fields
// are named by their record layouts (RecordLayout.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvik {

enum class TFindingKind : std::uint8_t {
  SkippedLine,         // a line whose first token is no keyword
  CrossedLineEnd,      // a record that took fields from a following line
  NotNumber,           // an integer field that reads as 0
  CutShort,            // a record that the end of the data cut short
  PadShape,            // an unknown pad shape word
  PadSide,             // an unknown pad side word
  UnknownNet,          // a net number that no NET record carries
  UnknownComponent,    // a component number that no COMP record carries
  DuplicateNet,        // a NET number already taken
  DuplicateComponent,  // a COMP number already taken
  PolygonPoints,       // a POLY record whose points were not all read
  MultiLayerTrack,     // a track on MultiLayer, placed nowhere
  TextCut,             // a text longer than the importer keeps
};
inline constexpr std::size_t kFindingKindCount = 13;

// The kind's name in reports: "skipped-line", "crossed-line-end", ...
std::string_view FindingKindName(TFindingKind kind) noexcept;

struct TFinding {
  TFindingKind Kind = TFindingKind::SkippedLine;
  std::uint32_t Line = 0;
  std::uint32_t Column = 0;
  std::string Message;
};

struct TFileCheck {
  std::uint32_t Lines = 0;
  // Records per keyword, in record kind order.
  std::vector<std::pair<std::string, std::size_t>> Records;
  // Skipped lines that are comments ('#') or the header line: not findings.
  std::size_t CommentLines = 0;
  std::vector<TFinding> Findings;  // by line and column
};

// Checks the file. Raises platform::EInOutError when it cannot be read. The
// importer's host entry points must be bound (the reader asks the host for
// its board), though nothing is created there.
TFileCheck CheckFile(const std::string& path);

}  // namespace orvik
