// The two layer numbering schemes: the one-byte legacy layer number
// (TLegacyLayer, 0..82) and the host's 32-bit layer identifier (TLayerId),
// their constructors, tests, classification and conversions.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvik {

using TLegacyLayer = std::uint8_t;
using TLayerId = std::uint32_t;
using TLayerPartition = std::uint8_t;

inline constexpr TLegacyLayer kMaxLegacyLayer = 82;

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
inline constexpr TLayerId NoLayer = 0, TopLayer = 1, BottomLayer = 32, TopOverlay = 33, BottomOverlay = 34,
                          TopPaste = 35, BottomPaste = 36, TopSolder = 37, BottomSolder = 38, DrillGuide = 55,
                          KeepOutLayer = 56, DrillDrawing = 73, MultiLayer = 74, ConnectLayer = 75,
                          BackGroundLayer = 76, DRCErrorLayer = 77, HighlightLayer = 78, GridColor1 = 79,
                          GridColor10 = 80, PadHoleLayer = 81, ViaHoleLayer = 82;
inline constexpr std::int64_t MaxSignalLayer = 65535, MaxInternalPlane = 65535, MaxMechanicalLayer = 65535;
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
