// `orvik-host check`: reads a file with the importer's own tokenizer and
// section readers, watching the reading pass, and lists what the importer
// would silently do with the file's flaws, each with its line and column.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvik::host {

enum class FindingKind : std::uint8_t {
  kSkippedLine,         // a line whose first token is no keyword
  kCrossedLineEnd,      // a record that took fields from a following line
  kNotNumber,           // an integer field that reads as 0
  kCutShort,            // a record that the end of the data cut short
  kPadShape,            // an unknown pad shape word
  kPadSide,             // an unknown pad side word
  kUnknownNet,          // a net number that no NET record carries
  kUnknownComponent,    // a component number that no COMP record carries
  kDuplicateNet,        // a NET number already taken
  kDuplicateComponent,  // a COMP number already taken
  kPolygonPoints,       // a POLY record whose four points were not all read
  kMultiLayerTrack,     // a track on MultiLayer, placed nowhere
  kTextCut,             // a text longer than the importer keeps
};
inline constexpr std::size_t kFindingKindCount = 13;

// The kind's name in reports: "skipped-line", "crossed-line-end", ...
std::string_view FindingKindName(FindingKind kind) noexcept;

struct Finding {
  FindingKind Kind = FindingKind::kSkippedLine;
  std::uint32_t Line = 0;
  std::uint32_t Column = 0;
  std::string Message;
};

struct FileCheck {
  std::uint32_t Lines = 0;
  // Records per keyword, in the importer's registration order.
  std::vector<std::pair<std::string, std::size_t>> Records;
  // Skipped lines that are comments ('#') or the header line: not findings.
  std::size_t CommentLines = 0;
  std::vector<Finding> Findings;  // by line and column
};

// Checks the file. Raises platform::EInOutError when it cannot be read. The
// importer's host entry points must be bound (the reader asks the host for
// its board), though nothing is created there.
FileCheck CheckFile(const std::string& path);

}  // namespace orvik::host
