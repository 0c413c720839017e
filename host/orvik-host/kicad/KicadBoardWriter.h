// Writes what the export read from the host (KicadSource) as a KiCad 6
// board file (format version 20211014): layers after the mapping table,
// nets, components as footprints, tracks, arcs, vias, zones, graphics and
// texts, each with the host handle as its tstamp.
#pragma once

#include <functional>
#include <string_view>

#include "host/orvik-host/kicad/KicadReport.h"
#include "host/orvik-host/kicad/KicadSource.h"

namespace orvik::host::kicad {

// What the user chose for the board.
struct KicadOptions {
  // Every copper layer of the host's stack, used or not; otherwise top,
  // bottom and the inner layers that hold an exported object.
  bool hostStack = false;
};

// Receives the file in consecutive pieces; false stops the writing.
using KicadSink = std::function<bool(std::string_view)>;

// Writes the board through `sink` and counts into `report` what it wrote
// and changed; false when the sink refused a piece. Equal sources give
// equal bytes.
bool WriteKicadBoard(const KicadSource& source, const KicadSink& sink, KicadReport& report,
                     const KicadOptions& options = {});

}  // namespace orvik::host::kicad
