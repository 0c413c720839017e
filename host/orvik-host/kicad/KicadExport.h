// `orvik-host import FILE --kicad OUT`: reads the host module's board and
// writes it as a KiCad 6 board file.
#pragma once

#include <string>

#include "host/orvik-host/BoardScene.h"
#include "host/orvik-host/HostModules.h"
#include "host/orvik-host/kicad/KicadBoardWriter.h"
#include "host/orvik-host/kicad/KicadReport.h"

namespace orvik::host::kicad {

// Writes the module's current board, of which ReadBoardScene read `scene`,
// to `path` (into the file `writePath` when given: a temporary name, which
// the messages and the report do not name). False with `error` set when the
// file cannot be written; `report` holds what was written and changed, and
// the time taken beyond reading the scene.
bool ExportKicadBoard(const KovlanApi& api, const BoardScene& scene, const std::string& path, KicadReport& report,
                      std::string& error, const KicadOptions& options = {}, const std::string& writePath = {});

}  // namespace orvik::host::kicad
