// The printed forms of a file check: one line per finding with a summary,
// and a JSON document.
#pragma once

#include <string>
#include <string_view>

#include "reader/FileCheck.h"

namespace orvik::host {

// "FILE:LINE:COLUMN: warning: MESSAGE [kind]" per finding, then a summary;
// the messages' host text (Windows-1252) is decoded to UTF-8.
std::string CheckText(const TFileCheck& check, std::string_view fileName);

// {"file", "clean", "lines", "records": {keyword: count}, "commentLines",
// "warnings", "kinds": {kind: count}, "findings": [{"kind", "line",
// "column", "message"}]}. Bytes 0x80..0xFF appear as the code points they
// decode to (Windows-1252).
std::string CheckJson(const TFileCheck& check, std::string_view fileName);

}  // namespace orvik::host
