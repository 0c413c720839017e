// `import --summary-json FILE`: what an import did, in machine-readable
// form. `convert` reads it back from each of its child imports.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/orvik-host/Summary.h"
#include "host/orvik-host/kicad/KicadReport.h"
#include "reader/FileCheck.h"

namespace orvik::host {

// How an import ended.
enum class ImportStatus {
  kImported,       // the plug-in imported the file
  kFailed,         // the plug-in's import returned false
  kNotRecognised,  // import --if-recognised: the plug-in does not recognise the file
  kUnreadable,     // the file is missing, no regular file, or cannot be opened
  kCount
};

// "imported", "failed", "not-recognised", "unreadable"; kCount for a name
// that is none of these.
std::string_view ImportStatusName(ImportStatus status) noexcept;
ImportStatus ImportStatusByName(std::string_view name) noexcept;

struct ImportRecord {
  std::string file;
  ImportStatus status = ImportStatus::kFailed;
  std::string reason;                    // why the file was unreadable
  double importSeconds = 0;              // the plug-in's import
  double totalSeconds = 0;               // the whole command, outputs included
  std::optional<ImportSummary> summary;  // what the board holds
  std::optional<kicad::KicadReport> kicad;
  std::optional<TFileCheck> check;
};

// {"file", "status", "reason"?, "seconds": {"import", "total"},
//  "objects": {"created", "placed", "createdByKind": {kind: n},
//  "placedByKind": {kind: n}}, "nets", "components",
//  "kicad"?: {"file", "seconds", "copperLayers", "page", "written",
//  "writtenByKind": {kind: n}, "changes", "changesByClass": {class: n},
//  "changesByKind": {description: n}},
//  "check"?: {"warnings", "byKind": {kind: n}}}
// Every KiCad class and written kind is listed, zero or not; only changes
// that happened are listed by description.
std::string ImportRecordJson(const ImportRecord& record);

}  // namespace orvik::host
