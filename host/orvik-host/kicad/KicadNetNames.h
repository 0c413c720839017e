// Names of the nets in a KiCad board. KiCad merges nets of one name, puts a
// net named "" into net 0 and drops a name that is not UTF-8, so every net
// gets a distinct, non-empty UTF-8 name: its host name decoded from
// Windows-1252, with NUL characters (which would end the name) as U+FFFD.
// The first net (by handle) keeps a name; a net without a name becomes
// "#<handle>", and a later net of a taken name "<name>#2", "<name>#3", ...,
// each avoiding every name in use.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/orvik-host/kicad/KicadSource.h"

namespace orvik::host::kicad {

// Host text as KiCad text: decoded from Windows-1252, NUL as U+FFFD.
// `replaced` is set when a NUL was replaced.
std::string KicadText(std::string_view host, bool& replaced);

struct NetNames {
  std::vector<std::string> names;  // parallel to the nets given
  int32_t empty = 0;               // nets without a name, renamed
  int32_t duplicates = 0;          // nets whose name an earlier net took, renamed
  int32_t nulReplaced = 0;         // names with NUL characters replaced
};

NetNames NameNets(const std::vector<SourceNet>& nets);

}  // namespace orvik::host::kicad
