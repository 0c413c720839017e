// The parts of a board's layer stack: one layer object per legacy layer
// number (internal planes with their net), the dielectric that belongs to a
// layer or to an outer side of the board, and the drill layer pairs.
#pragma once

#include <cstdint>

#include "RTL/RT_PCB/Layers.h"
#include "RTL/RT_PCB/PcbObject.h"
#include "RTL/RT_PCB/ShortString.h"

namespace orvik {

// Default stack values of a new board.
inline constexpr std::int32_t kDefaultCopperThickness = 14000;
inline constexpr std::int32_t kDefaultDielectricHeight = 126000;

// An insulating layer: below a copper layer, or outside the top or bottom.
struct TDielectric {
  ShortString<255> Material{"FR-4"};
  std::uint8_t DielectricType = 1;
  double DielectricConstant = 4.8;
  std::int32_t Height = kDefaultDielectricHeight;
};

// One layer of a board, named by its legacy number. PrevLayer and NextLayer
// link the physical stack (0 = none).
class TLayerObject {
 public:
  TLayerObject(std::uint32_t boardHandle, TLegacyLayer layer);
  virtual ~TLayerObject() = default;
  TLayerObject(const TLayerObject&) = delete;
  TLayerObject& operator=(const TLayerObject&) = delete;

  // QueryLayer, then QueryLayerDielectric; returns the first call's status.
  virtual std::int32_t SyncWithHost(TSyncMode mode);

  std::uint32_t BoardHandle;
  TLegacyLayer Layer;
  ShortString<255> LayerName;
  std::int32_t CopperThickness = kDefaultCopperThickness;
  TDielectric Dielectric;
  std::uint8_t LayerByte1 = 0;
  std::uint8_t LayerByte2 = 0;
  TLegacyLayer PrevLayer = 0;
  TLegacyLayer NextLayer = 0;
  // Exchanged by ordinary layers only; internal planes pass their net name
  // in its place.
  std::uint8_t LayerByte3 = 0;

 protected:
  std::int32_t SyncDielectric(TSyncMode mode);
};

// An internal power plane (legacy 39..54) and the net it connects to.
class TInternalPlane : public TLayerObject {
 public:
  TInternalPlane(std::uint32_t boardHandle, TLegacyLayer layer);

  // QueryInternalPlane, then QueryLayerDielectric.
  std::int32_t SyncWithHost(TSyncMode mode) override;

  ShortString<255> NetName{"(No Net)"};
};

// A drill layer pair. The name is made by the board when it reads the pairs.
struct TPcblayerPair {
  ShortString<255> PairName;
  TLayerId Layer1 = LayerIdFromLegacy(0);
  TLayerId Layer2 = LayerIdFromLegacy(0);
  std::uint8_t PairByte1 = 0;
  std::uint8_t PairByte2 = 0;
};

}  // namespace orvik
