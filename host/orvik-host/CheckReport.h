// The printed forms of a file check: one line per finding with a summary,
// and a JSON document.
#pragma once

#include <string>
#include <string_view>

#include "reader/FileCheck.h"

namespace orvik::host {

// "FILE:LINE:COLUMN: warning: MESSAGE [kind]" per finding, then a summary.
std::string CheckText(const TFileCheck& check, std::string_view fileName);

// {"file", "clean", "lines", "records": {keyword: count}, "commentLines",
// "warnings", "kinds": {kind: count}, "findings": [{"kind", "line",
// "column", "message"}]}. Bytes 0x80..0xFF appear as the code points of the
// same number.
std::string CheckJson(const TFileCheck& check, std::string_view fileName);

}  // namespace orvik::host
