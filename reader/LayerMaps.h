// The file format's two layer numberings and their conversion into legacy
// layer numbers.
#pragma once

#include <cstdint>

#include "RTL/RT_PCB/Layers.h"

namespace orvik {

// Record-time conversion of a compact layer number (the low 8 bits of the
// file's layer token) into a legacy layer number; unknown numbers give
// NoLayer (0).
TLegacyLayer CompactLayerToLegacy(std::uint8_t compactLayer) noexcept;

// Creation-time map of a file layer number into a legacy layer number. Only
// the low seven bits count; 23 to 127 give MidLayer14 (15).
TLegacyLayer MapFileLayer(std::uint8_t fileLayer) noexcept;

}  // namespace orvik
