#include "reader/LayerMaps.h"

#include <array>

namespace orvik {

TLegacyLayer CompactLayerToLegacy(std::uint8_t compactLayer) noexcept {
  const unsigned n = compactLayer;
  auto from = [n](unsigned first, int legacy) {
    return static_cast<TLegacyLayer>(legacy + static_cast<int>(n - first));
  };
  if (n >= 1 && n <= 15) return from(1, ORVIK_LAYER_TopLayer);  // TopLayer, MidLayer1..14
  if (n == 16) return ORVIK_LAYER_BottomLayer;
  if (n >= 17 && n <= 22) return from(17, ORVIK_LAYER_TopOverlay);      // TopOverlay..BottomSolder
  if (n >= 23 && n <= 26) return from(23, ORVIK_LAYER_InternalPlane1);  // InternalPlane1..4
  if (n == 27) return ORVIK_LAYER_DrillGuide;
  if (n == 28) return ORVIK_LAYER_KeepOutLayer;
  if (n >= 29 && n <= 32) return from(29, ORVIK_LAYER_Mechanical1);   // Mechanical1..4
  if (n >= 33 && n <= 42) return from(33, ORVIK_LAYER_DrillDrawing);  // DrillDrawing..ViaHoleLayer
  return ORVIK_LAYER_NoLayer;
}

TLegacyLayer MapFileLayer(std::uint8_t fileLayer) noexcept {
  // Indexed by the file's layer number 0..22.
  static constexpr std::array<TLegacyLayer, 23> kMap = {
      ORVIK_LAYER_TopLayer,     ORVIK_LAYER_BottomLayer,   ORVIK_LAYER_InternalPlane1, ORVIK_LAYER_InternalPlane2,
      ORVIK_LAYER_MidLayer1,    ORVIK_LAYER_MidLayer2,     ORVIK_LAYER_MidLayer3,      ORVIK_LAYER_MidLayer4,
      ORVIK_LAYER_TopOverlay,   ORVIK_LAYER_BottomOverlay, ORVIK_LAYER_TopSolder,      ORVIK_LAYER_BottomSolder,
      ORVIK_LAYER_Mechanical1,  ORVIK_LAYER_Mechanical2,   ORVIK_LAYER_Mechanical3,    ORVIK_LAYER_MultiLayer,
      ORVIK_LAYER_DrillDrawing, ORVIK_LAYER_KeepOutLayer,  ORVIK_LAYER_Mechanical4,    ORVIK_LAYER_MidLayer5,
      ORVIK_LAYER_MidLayer6,    ORVIK_LAYER_MidLayer7,     ORVIK_LAYER_MidLayer8,
  };
  const unsigned n = fileLayer & 0x7Fu;
  return n < kMap.size() ? kMap[n] : TLegacyLayer{ORVIK_LAYER_MidLayer14};
}

}  // namespace orvik
