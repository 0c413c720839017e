// `orvik-host convert INPUT... --out DIR`: every file imported by a child
// process of its own (`orvik-host import`), several at once, the outputs
// mirrored under DIR, and a report of the whole run.
#pragma once

#include <string>

#include "host/orvik-host/CommandLine.h"

namespace orvik::host::convert {

// The exit status (0, 1, 2, 3, 4, or 128 + the signal that interrupted it).
int RunConvert(const Options& options, const std::string& programName);

}  // namespace orvik::host::convert
