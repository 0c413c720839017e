#include "reader/LayerMaps.h"

#include <array>

namespace orvik {

TLegacyLayer CompactLayerToLegacy(std::uint8_t compactLayer) noexcept {
  const unsigned n = compactLayer;
  if (n >= 1 && n <= 15) return static_cast<TLegacyLayer>(n);        // TopLayer, MidLayer1..14
  if (n == 16) return 32;                                            // BottomLayer
  if (n >= 17 && n <= 22) return static_cast<TLegacyLayer>(n + 16);  // TopOverlay..BottomSolder
  if (n >= 23 && n <= 26) return static_cast<TLegacyLayer>(n + 16);  // InternalPlane1..4
  if (n == 27) return 55;                                            // DrillGuide
  if (n == 28) return 56;                                            // KeepOutLayer
  if (n >= 29 && n <= 32) return static_cast<TLegacyLayer>(n + 28);  // Mechanical1..4
  if (n >= 33 && n <= 42) return static_cast<TLegacyLayer>(n + 40);  // DrillDrawing..ViaHoleLayer
  return 0;                                                          // NoLayer
}

TLegacyLayer MapFileLayer(std::uint8_t fileLayer) noexcept {
  static constexpr std::array<TLegacyLayer, 23> kMap = {
      1,   // 0 TopLayer
      32,  // 1 BottomLayer
      39,  // 2 InternalPlane1
      40,  // 3 InternalPlane2
      2,   // 4 MidLayer1
      3,   // 5 MidLayer2
      4,   // 6 MidLayer3
      5,   // 7 MidLayer4
      33,  // 8 TopOverlay
      34,  // 9 BottomOverlay
      37,  // 10 TopSolder
      38,  // 11 BottomSolder
      57,  // 12 Mechanical1
      58,  // 13 Mechanical2
      59,  // 14 Mechanical3
      74,  // 15 MultiLayer
      73,  // 16 DrillDrawing
      56,  // 17 KeepOutLayer
      60,  // 18 Mechanical4
      6,   // 19 MidLayer5
      7,   // 20 MidLayer6
      8,   // 21 MidLayer7
      9,   // 22 MidLayer8
  };
  const unsigned n = fileLayer & 0x7Fu;
  return n < kMap.size() ? kMap[n] : TLegacyLayer{15};  // MidLayer14
}

}  // namespace orvik
