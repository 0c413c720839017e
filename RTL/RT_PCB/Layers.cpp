#include "RTL/RT_PCB/Layers.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace orvik {

namespace {

constexpr const char* kSourceLocation = "RTL\\RT_PCB";
constexpr int kPartitionAssertLine = 10330;
constexpr int kLegacyAssertLine = 9142;

constexpr std::uint32_t kSignalTag = ORVIK_PARTITION_TAG_SIGNAL;
constexpr std::uint32_t kInternalPlaneTag = ORVIK_PARTITION_TAG_INTERNAL_PLANE;
constexpr std::uint32_t kMechanicalTag = ORVIK_PARTITION_TAG_MECHANICAL;

// The table's numbers run 0..82 in order, so a name is found by its number.
constexpr bool TableInOrder() {
  int next = 0;
  bool inOrder = true;
#define ORVIK_LAYER_IN_ORDER(number, name) inOrder = inOrder && (number) == next++;
  ORVIK_LEGACY_LAYERS(ORVIK_LAYER_IN_ORDER)
#undef ORVIK_LAYER_IN_ORDER
  return inOrder && next == kMaxLegacyLayer + 1;
}
static_assert(TableInOrder());

// The fixed layers, in partition-code order 6..23.
constexpr std::array<TLegacyLayer, 18> kFixedLayers = {
    layer::TopOverlay,   layer::BottomOverlay,   layer::TopPaste,      layer::BottomPaste,    layer::TopSolder,
    layer::BottomSolder, layer::DrillGuide,      layer::KeepOutLayer,  layer::DrillDrawing,   layer::MultiLayer,
    layer::ConnectLayer, layer::BackGroundLayer, layer::DRCErrorLayer, layer::HighlightLayer, layer::GridColor1,
    layer::GridColor10,  layer::PadHoleLayer,    layer::ViaHoleLayer};
constexpr TLayerPartition kFirstFixedPartition = 6;

// The legacy-coded groups: mid layer n is legacy n + 1, plane n is
// kBeforePlane1 + n, mechanical layer n is kBeforeMechanical1 + n.
constexpr int kMidLayers = ORVIK_LAYER_MidLayer30 - ORVIK_LAYER_MidLayer1 + 1;
constexpr int kPlanes = ORVIK_LAYER_InternalPlane16 - ORVIK_LAYER_InternalPlane1 + 1;
constexpr int kMechanicals = ORVIK_LAYER_Mechanical16 - ORVIK_LAYER_Mechanical1 + 1;
constexpr int kBeforePlane1 = ORVIK_LAYER_InternalPlane1 - 1;
constexpr int kBeforeMechanical1 = ORVIK_LAYER_Mechanical1 - 1;

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

std::string_view LegacyLayerName(TLegacyLayer layer) noexcept { return OrvikLegacyLayerName(layer); }

TLayerId SignalLayer(std::int64_t n) {
  if (n == 1) return layer::TopLayer;
  if (n == layer::MaxSignalLayer) return layer::BottomLayer;
  if (n >= 2 && n <= kMidLayers + 1) return static_cast<TLayerId>(n);
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
  if (n >= 1 && n <= kPlanes) return static_cast<TLayerId>(n + kBeforePlane1);
  if (n > kPlanes && n <= layer::MaxInternalPlane) return (kInternalPlaneTag << 16) + static_cast<TLayerId>(n);
  RaiseLayerException("InternalPlaneLayer", n);
}

TLayerId MechanicalLayer(std::int64_t n) {
  if (n >= 1 && n <= kMechanicals) return static_cast<TLayerId>(n + kBeforeMechanical1);
  if (n > kMechanicals && n <= layer::MaxMechanicalLayer) return (kMechanicalTag << 16) + static_cast<TLayerId>(n);
  RaiseLayerException("MechanicalLayer", n);
}

bool IsPartitionTagOnly(TLayerId id) noexcept { return LowHalf(id) == 0 && id != 0; }
bool IsSignalLayerId(TLayerId id) noexcept { return InGroup(id, kSignalTag, layer::TopLayer, layer::BottomLayer); }
bool IsInternalPlaneLayerId(TLayerId id) noexcept {
  return InGroup(id, kInternalPlaneTag, ORVIK_LAYER_InternalPlane1, ORVIK_LAYER_InternalPlane16);
}
bool IsMechanicalLayerId(TLayerId id) noexcept {
  return InGroup(id, kMechanicalTag, ORVIK_LAYER_Mechanical1, ORVIK_LAYER_Mechanical16);
}
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
  if (IsMechanicalLayerId(id)) return static_cast<std::int32_t>(LowHalf(id)) - kBeforeMechanical1;
  if (IsSignalLayerId(id)) {
    return id == layer::BottomLayer ? static_cast<std::int32_t>(layer::MaxSignalLayer)
                                    : static_cast<std::int32_t>(LowHalf(id));
  }
  if (IsInternalPlaneLayerId(id)) return static_cast<std::int32_t>(LowHalf(id)) - kBeforePlane1;
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
      return layer::NoLayer;
    case 1:
      return layer::TopLayer;
    case 2:
      return static_cast<TLegacyLayer>(std::min(LayerNumberInPartition(id), kMidLayers + 1));
    case 3:
      return layer::BottomLayer;
    case 4:
      return static_cast<TLegacyLayer>(std::min(LayerNumberInPartition(id), kPlanes) + kBeforePlane1);
    case 5:
      return static_cast<TLegacyLayer>(std::min(LayerNumberInPartition(id), kMechanicals) + kBeforeMechanical1);
    default:
      break;
  }
  if (partition >= kFirstFixedPartition && partition < kFirstFixedPartition + static_cast<int>(kFixedLayers.size())) {
    return kFixedLayers[static_cast<std::size_t>(partition - kFirstFixedPartition)];
  }
  throw EAssertionFailed("Assertion failure", kSourceLocation, kLegacyAssertLine);
}

}  // namespace orvik
