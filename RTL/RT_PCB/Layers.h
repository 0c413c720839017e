// The two layer numbering schemes: the one-byte legacy layer number
// (TLegacyLayer, 0..82) and the host's 32-bit layer identifier (TLayerId),
// their constructors, tests, classification and conversions.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "orvik/layers.h"

namespace orvik {

using TLegacyLayer = std::uint8_t;
using TLayerId = std::uint32_t;
using TLayerPartition = std::uint8_t;

inline constexpr TLegacyLayer kMaxLegacyLayer = ORVIK_LEGACY_LAYER_COUNT - 1;

// Raised by a layer constructor given a number outside its range.
class ELayerException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An assertion failure; its text is "%s (%s, line %d)" filled with the
// message, the source location and the line.
class EAssertionFailed : public std::runtime_error {
 public:
  EAssertionFailed(std::string_view message, std::string_view location, int line);
};

// The legacy layer name table: "NoLayer", "TopLayer", ..., "ViaHoleLayer";
// empty for numbers above 82.
std::string_view LegacyLayerName(TLegacyLayer layer) noexcept;

// Constructors (the argument is a 64-bit integer).
TLayerId SignalLayer(std::int64_t n);
TLayerId MidLayer(std::int64_t n);
TLayerId InternalPlaneLayer(std::int64_t n);
TLayerId MechanicalLayer(std::int64_t n);

// The fixed layers, legacy-coded.
namespace layer {
inline constexpr TLayerId NoLayer = ORVIK_LAYER_NoLayer, TopLayer = ORVIK_LAYER_TopLayer,
                          BottomLayer = ORVIK_LAYER_BottomLayer, TopOverlay = ORVIK_LAYER_TopOverlay,
                          BottomOverlay = ORVIK_LAYER_BottomOverlay, TopPaste = ORVIK_LAYER_TopPaste,
                          BottomPaste = ORVIK_LAYER_BottomPaste, TopSolder = ORVIK_LAYER_TopSolder,
                          BottomSolder = ORVIK_LAYER_BottomSolder, DrillGuide = ORVIK_LAYER_DrillGuide,
                          KeepOutLayer = ORVIK_LAYER_KeepOutLayer, DrillDrawing = ORVIK_LAYER_DrillDrawing,
                          MultiLayer = ORVIK_LAYER_MultiLayer, ConnectLayer = ORVIK_LAYER_ConnectLayer,
                          BackGroundLayer = ORVIK_LAYER_BackGroundLayer, DRCErrorLayer = ORVIK_LAYER_DRCErrorLayer,
                          HighlightLayer = ORVIK_LAYER_HighlightLayer, GridColor1 = ORVIK_LAYER_GridColor1,
                          GridColor10 = ORVIK_LAYER_GridColor10, PadHoleLayer = ORVIK_LAYER_PadHoleLayer,
                          ViaHoleLayer = ORVIK_LAYER_ViaHoleLayer;
inline constexpr std::int64_t MaxSignalLayer = ORVIK_PARTITION_MAX_NUMBER,
                              MaxInternalPlane = ORVIK_PARTITION_MAX_NUMBER,
                              MaxMechanicalLayer = ORVIK_PARTITION_MAX_NUMBER;
}  // namespace layer

// Tests.
bool IsPartitionTagOnly(TLayerId id) noexcept;
bool IsSignalLayerId(TLayerId id) noexcept;
bool IsInternalPlaneLayerId(TLayerId id) noexcept;
bool IsMechanicalLayerId(TLayerId id) noexcept;
bool IsTopByteZero(TLayerId id) noexcept;

// Classification and conversions. LayerPartition raises EAssertionFailed
// for an identifier that fits no partition.
TLayerPartition LayerPartition(TLayerId id);
std::int32_t LayerNumberInPartition(TLayerId id);
TLayerId LayerIdFromLegacy(TLegacyLayer layer) noexcept;
TLegacyLayer LegacyLayerFromLayerId(TLayerId id);

}  // namespace orvik
