#include "RTL/RT_PCB/Layers.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace orvik {

namespace {

constexpr const char* kSourceLocation = "RTL\\RT_PCB";
constexpr int kPartitionAssertLine = 10330;
constexpr int kLegacyAssertLine = 9142;

constexpr std::uint32_t kSignalTag = 0x0101;
constexpr std::uint32_t kInternalPlaneTag = 0x0104;
constexpr std::uint32_t kMechanicalTag = 0x0400;

constexpr std::array<std::string_view, kMaxLegacyLayer + 1> kLegacyLayerNames = {
    "NoLayer",         "TopLayer",        "MidLayer1",       "MidLayer2",       "MidLayer3",       "MidLayer4",
    "MidLayer5",       "MidLayer6",       "MidLayer7",       "MidLayer8",       "MidLayer9",       "MidLayer10",
    "MidLayer11",      "MidLayer12",      "MidLayer13",      "MidLayer14",      "MidLayer15",      "MidLayer16",
    "MidLayer17",      "MidLayer18",      "MidLayer19",      "MidLayer20",      "MidLayer21",      "MidLayer22",
    "MidLayer23",      "MidLayer24",      "MidLayer25",      "MidLayer26",      "MidLayer27",      "MidLayer28",
    "MidLayer29",      "MidLayer30",      "BottomLayer",     "TopOverlay",      "BottomOverlay",   "TopPaste",
    "BottomPaste",     "TopSolder",       "BottomSolder",    "InternalPlane1",  "InternalPlane2",  "InternalPlane3",
    "InternalPlane4",  "InternalPlane5",  "InternalPlane6",  "InternalPlane7",  "InternalPlane8",  "InternalPlane9",
    "InternalPlane10", "InternalPlane11", "InternalPlane12", "InternalPlane13", "InternalPlane14", "InternalPlane15",
    "InternalPlane16", "DrillGuide",      "KeepOutLayer",    "Mechanical1",     "Mechanical2",     "Mechanical3",
    "Mechanical4",     "Mechanical5",     "Mechanical6",     "Mechanical7",     "Mechanical8",     "Mechanical9",
    "Mechanical10",    "Mechanical11",    "Mechanical12",    "Mechanical13",    "Mechanical14",    "Mechanical15",
    "Mechanical16",    "DrillDrawing",    "MultiLayer",      "ConnectLayer",    "BackGroundLayer", "DRCErrorLayer",
    "HighlightLayer",  "GridColor1",      "GridColor10",     "PadHoleLayer",    "ViaHoleLayer",
};

// Legacy numbers of the fixed layers, in partition-code order 6..23.
constexpr std::array<TLegacyLayer, 18> kFixedLayers = {33, 34, 35, 36, 37, 38, 55, 56, 73,
                                                       74, 75, 76, 77, 78, 79, 80, 81, 82};
constexpr TLayerPartition kFirstFixedPartition = 6;

constexpr std::uint32_t PartitionTag(TLayerId id) noexcept { return id >> 16; }
constexpr std::uint32_t LowHalf(TLayerId id) noexcept { return id & 0xFFFFu; }
constexpr std::uint32_t LowByte(TLayerId id) noexcept { return id & 0xFFu; }

// The partition-or-legacy test shared by the three group predicates.
bool InGroup(TLayerId id, std::uint32_t tag, std::uint32_t first, std::uint32_t last) noexcept {
  if (IsPartitionTagOnly(id)) return false;
  if (PartitionTag(id) != 0) return PartitionTag(id) == tag;
  return LowByte(id) >= first && LowByte(id) <= last;
}

[[noreturn]] void RaiseLayerException(std::string_view constructor, const std::string& number) {
  throw ELayerException("Creating " + std::string(constructor) + "(" + number + ")");
}
[[noreturn]] void RaiseLayerException(std::string_view constructor, std::int64_t n) {
  RaiseLayerException(constructor, std::to_string(n));
}

}  // namespace

EAssertionFailed::EAssertionFailed(std::string_view message, std::string_view location, int line)
    : std::runtime_error(std::string(message) + " (" + std::string(location) + ", line " + std::to_string(line) + ")") {
}

std::string_view LegacyLayerName(TLegacyLayer layer) noexcept {
  return layer <= kMaxLegacyLayer ? kLegacyLayerNames[layer] : std::string_view();
}

TLayerId SignalLayer(std::int64_t n) {
  if (n == 1) return layer::TopLayer;
  if (n == layer::MaxSignalLayer) return layer::BottomLayer;
  if (n >= 2 && n <= 31) return static_cast<TLayerId>(n);
  if (n >= 0 && n <= layer::MaxSignalLayer) return (kSignalTag << 16) + static_cast<TLayerId>(n);
  RaiseLayerException("SignalLayer", n);
}

TLayerId MidLayer(std::int64_t n) {
  // n + 1 would overflow at the top of the 64-bit range; the number it names
  // is out of range anyway, so the message carries it computed unsigned.
  if (n == INT64_MAX) RaiseLayerException("SignalLayer", std::to_string(static_cast<std::uint64_t>(n) + 1));
  return SignalLayer(n + 1);
}

TLayerId InternalPlaneLayer(std::int64_t n) {
  if (n >= 1 && n <= 16) return static_cast<TLayerId>(n + 38);
  if (n >= 17 && n <= layer::MaxInternalPlane) return (kInternalPlaneTag << 16) + static_cast<TLayerId>(n);
  RaiseLayerException("InternalPlaneLayer", n);
}

TLayerId MechanicalLayer(std::int64_t n) {
  if (n >= 1 && n <= 16) return static_cast<TLayerId>(n + 56);
  if (n >= 17 && n <= layer::MaxMechanicalLayer) return (kMechanicalTag << 16) + static_cast<TLayerId>(n);
  RaiseLayerException("MechanicalLayer", n);
}

bool IsPartitionTagOnly(TLayerId id) noexcept { return LowHalf(id) == 0 && id != 0; }
bool IsSignalLayerId(TLayerId id) noexcept { return InGroup(id, kSignalTag, 1, 32); }
bool IsInternalPlaneLayerId(TLayerId id) noexcept { return InGroup(id, kInternalPlaneTag, 39, 54); }
bool IsMechanicalLayerId(TLayerId id) noexcept { return InGroup(id, kMechanicalTag, 57, 72); }
bool IsTopByteZero(TLayerId id) noexcept { return (id >> 24) == 0; }

TLayerPartition LayerPartition(TLayerId id) {
  if (IsSignalLayerId(id)) {
    if (id == layer::TopLayer) return 1;
    if (id == layer::BottomLayer) return 3;
    return 2;
  }
  if (IsInternalPlaneLayerId(id)) return 4;
  if (IsMechanicalLayerId(id)) return 5;
  if (IsTopByteZero(id)) {
    // Bits 16..23 set without a known tag: the low byte is taken as the code.
    if (PartitionTag(id) != 0) return static_cast<TLayerPartition>(LowByte(id));
    const auto* it = std::find(kFixedLayers.begin(), kFixedLayers.end(), LowByte(id));
    if (it == kFixedLayers.end()) return 0;
    return static_cast<TLayerPartition>(kFirstFixedPartition + (it - kFixedLayers.begin()));
  }
  throw EAssertionFailed("Could not find layer partition ID=" + std::to_string(id), kSourceLocation,
                         kPartitionAssertLine);
}

std::int32_t LayerNumberInPartition(TLayerId id) {
  if (!IsTopByteZero(id)) return static_cast<std::int32_t>(LowHalf(id));
  if (IsMechanicalLayerId(id)) return static_cast<std::int32_t>(LowHalf(id)) - 56;
  if (IsSignalLayerId(id)) {
    return id == layer::BottomLayer ? static_cast<std::int32_t>(layer::MaxSignalLayer)
                                    : static_cast<std::int32_t>(LowHalf(id));
  }
  if (IsInternalPlaneLayerId(id)) return static_cast<std::int32_t>(LowHalf(id)) - 38;
  return LayerPartition(id) & 0x7F;
}

TLayerId LayerIdFromLegacy(TLegacyLayer layer) noexcept {
  // Every legacy number is its own legacy-coded identifier: the constructors
  // map 1..31, 39..54 and 57..72 back onto themselves and the fixed layers are
  // their legacy numbers.
  return layer <= kMaxLegacyLayer ? static_cast<TLayerId>(layer) : layer::NoLayer;
}

TLegacyLayer LegacyLayerFromLayerId(TLayerId id) {
  const int partition = LayerPartition(id) & 0x7F;
  switch (partition) {
    case 0:
      return 0;
    case 1:
      return 1;
    case 2:
      return static_cast<TLegacyLayer>(std::min(LayerNumberInPartition(id), 31));
    case 3:
      return 32;
    case 4:
      return static_cast<TLegacyLayer>(std::min(LayerNumberInPartition(id), 16) + 38);
    case 5:
      return static_cast<TLegacyLayer>(std::min(LayerNumberInPartition(id), 16) + 56);
    default:
      break;
  }
  if (partition >= kFirstFixedPartition && partition < kFirstFixedPartition + static_cast<int>(kFixedLayers.size())) {
    return kFixedLayers[static_cast<std::size_t>(partition - kFirstFixedPartition)];
  }
  throw EAssertionFailed("Assertion failure", kSourceLocation, kLegacyAssertLine);
}

}  // namespace orvik
