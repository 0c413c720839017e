// What convert did with each file, and the totals of a run: the data of
// both reports.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/orvik-host/convert/JsonReader.h"

namespace orvik::host::convert {

enum class FileStatus {
  kConverted,      // imported, every output written, nothing to report
  kWarnings,       // converted, with check warnings or KiCad changes
  kNotRecognised,  // the plug-in does not recognise it: skipped
  kUpToDate,       // its outputs are newer than it and made the same way
  kUnreadable,     // it cannot be opened
  kFailed,         // the import failed, the child crashed or timed out, an output failed
  kInterrupted,    // not converted: the run was interrupted first
  kCount
};

// "converted", "warnings", "not-recognised", "up-to-date", "unreadable",
// "failed", "interrupted": the reports' keys.
std::string_view StatusKey(FileStatus status) noexcept;
// "converted", "converted with warnings", "not recognised", ...
std::string_view StatusText(FileStatus status) noexcept;

using Counts = std::vector<std::pair<std::string, long long>>;

struct FileResult {
  std::string path;      // as reached (8-bit, as the file system gives it)
  std::string relative;  // its place under the output folder
  uint64_t size = 0;
  FileStatus status = FileStatus::kInterrupted;
  std::string detail;     // why: the failure, the end of the child, the reason it is unreadable
  std::string errorTail;  // the last lines of the child's error output
  double seconds = 0;     // the child's wall time (0 when none ran)

  // From the child's summary (also of an up-to-date file).
  bool counted = false;
  long long created = 0;
  long long placed = 0;
  Counts createdByKind;
  Counts placedByKind;
  bool checked = false;
  long long checkWarnings = 0;
  Counts checkByKind;
  bool exported = false;
  long long kicadWritten = 0;
  long long kicadChanges = 0;
  long long kicadObjectsLeftOut = 0;  // objects of the host's board the KiCad board lacks
  Counts kicadByClass;
  double importSeconds = 0;

  std::string stem;                  // its outputs' names without their endings ("a/b")
  std::vector<std::string> outputs;  // relative to the output folder, as written
};

// Takes the counts of an import summary (import --summary-json).
void TakeSummary(FileResult& result, const JsonValue& summary);

struct Totals {
  std::array<std::size_t, static_cast<std::size_t>(FileStatus::kCount)> byStatus{};
  std::size_t found = 0;
  uint64_t bytes = 0;           // of every file found
  uint64_t convertedBytes = 0;  // of the files converted now
  double seconds = 0;           // wall time of the run

  [[nodiscard]] std::size_t Of(FileStatus status) const noexcept { return byStatus[static_cast<std::size_t>(status)]; }
};

Totals Count(const std::vector<FileResult>& results, double seconds);

// The report's name of a file: its path as the file system gives it, as
// valid UTF-8 (a byte that is not part of valid UTF-8 escaped as "\xHH").
std::string ShownName(const FileResult& result);

}  // namespace orvik::host::convert
