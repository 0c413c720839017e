// The client-side mirror of one board open in the host: its attributes,
// layer stack, drill layer pairs and output options, read from the host in
// one pass, and the placing of objects on it.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <vector>

#include "RTL/RT_PCB/LayerObject.h"
#include "RTL/RT_PCB/Layers.h"
#include "RTL/RT_PCB/PcbObject.h"
#include "RTL/RT_PCB/ShortString.h"

namespace orvik {

// A set of legacy layer numbers.
using TLegacyLayerSet = std::bitset<256>;

// The signal layers (1..32) and the internal planes (39..54): the layers
// that count for a drill pair's position in the stack.
TLegacyLayerSet ElectricalLayerSet() noexcept;

// The option groups below hold values that only the host interprets; each
// member is exchanged at its position with its width, in declaration order.

struct TBoardGeneral {
  std::int32_t Value1 = 0;
  ShortString<255> Text;
  std::uint8_t Byte1 = 0;
  std::array<std::int32_t, 4> Values{};
  std::uint8_t Byte2 = 0;
};

struct TBoardGrids {
  std::array<std::uint8_t, 4> Bytes{};
  std::array<double, 4> Grids1{};
  std::int32_t Value = 0;
  std::uint8_t Byte = 0;
  std::array<double, 4> Grids2{};
  // Copies of the seventh and the thirteenth value, refreshed after every
  // grid exchange.
  double Copy7 = 0.0;
  double Copy13 = 0.0;
};

inline constexpr int kOutputLayerCount = 109;

struct TBoardOutputOptions {
  std::array<std::int32_t, 2> Values{};
  std::array<std::uint8_t, 22> Bytes{};
  // Indexed by output layer 1..109; entry 0 is unused.
  std::array<std::uint8_t, kOutputLayerCount + 1> PlotLayers{};
  std::array<std::uint8_t, kOutputLayerCount + 1> FlipLayers{};
};

struct TBoardGerberOptions {
  std::array<std::uint8_t, 7> Bytes1{};
  std::array<std::int32_t, 5> Values1{};
  ShortString<255> Text;
  std::int32_t Value6 = 0;
  std::array<std::uint8_t, 2> Bytes2{};
  std::array<std::int32_t, 2> Values2{};
  std::uint8_t Byte10 = 0;
};

inline constexpr int kPrinterBlockSize = 27;
inline constexpr int kPlotterPenCount = 8;

struct TPlotterPen {
  std::int32_t Value1 = 0;
  std::int32_t Value2 = 0;
};

struct TCompositeLayer {
  std::int32_t Value1 = 0;
  std::int32_t Value2 = 0;
  std::uint8_t Byte = 0;
  std::int32_t Value3 = 0;
};

struct TBoardPrinterOptions {
  std::array<ShortString<255>, 3> Texts;
  std::array<std::uint8_t, 6> Bytes1{};
  std::int32_t Value1 = 0;
  std::array<double, 3> Reals1{};
  std::array<std::uint8_t, kPrinterBlockSize> Block{};
  std::array<std::uint8_t, 2> Bytes2{};
  std::array<double, 3> Reals2{};
  std::array<std::int32_t, 2> Values2{};
  std::array<std::uint8_t, 5> Bytes3{};
  // Pens 1..8 and layers 1..82; entry 0 is unused.
  std::array<TPlotterPen, kPlotterPenCount + 1> Pens{};
  std::array<TCompositeLayer, kMaxLegacyLayer + 1> CompositeLayers{};
};

struct TBoardPlacerOptions {
  std::array<ShortString<255>, 2> Texts;
  std::array<std::uint8_t, 4> Bytes{};
};

struct TBoardEcoOptions {
  std::uint8_t Byte = 0;
  ShortString<255> Text;
};

class TPcbBoard {
 public:
  // Builds the 82 layer objects and the defaults; makes no host call.
  explicit TPcbBoard(std::uint32_t boardHandle);
  virtual ~TPcbBoard() = default;
  TPcbBoard(const TPcbBoard&) = delete;
  TPcbBoard& operator=(const TPcbBoard&) = delete;

  // Exchanges the whole board with the host; returns QueryBoard's status.
  virtual std::int32_t SyncWithHost(TSyncMode mode);

  // Puts an object on the board; 1 without a host call for handle 0.
  std::int32_t AddObject(std::uint32_t handle);

  // The layer object of a legacy number 1..82, or nullptr.
  TLayerObject* Layer(TLegacyLayer layer) const noexcept;
  // The topmost layer of the stack: the first in number order without a
  // layer above it; nullptr if none.
  TLayerObject* GetFirstLayer() const noexcept;
  // The layer below `layer`; nullptr at the end of the stack or when the
  // link names no layer.
  TLayerObject* GetNextLayer(const TLayerObject* layer) const noexcept;
  // Position of `layer` among the stack layers in `set`, counted from 1 at
  // the top; 0 when the layer is not in the set. If the walk ends without
  // reaching the layer, the number of set layers walked. The walk stops at
  // a link above 82 and visits every layer at most once, so a looping stack
  // ends too.
  std::int32_t CountLayersUpTo(const TLegacyLayerSet& set, const TLayerObject* layer) const noexcept;

  std::uint32_t BoardHandle;
  TBoardGeneral General;
  TDielectric TopDielectric;
  TDielectric BottomDielectric;
  TLegacyLayer CurrentLayer = 0;
  // Indexed by legacy number 1..82; entry 0 is empty. Entries 39..54 are
  // TInternalPlane.
  std::array<std::unique_ptr<TLayerObject>, kMaxLegacyLayer + 1> Layers;
  std::vector<TPcblayerPair> LayerPairs;
  std::array<std::int32_t, kMaxLegacyLayer + 1> LayerInfo{};
  TBoardGrids Grids;
  TBoardOutputOptions OutputOptions;
  TBoardGerberOptions GerberOptions;
  TBoardPrinterOptions PrinterOptions;
  TBoardPlacerOptions PlacerOptions;
  TBoardEcoOptions EcoOptions;
  std::int32_t LastValue = 0;
  std::uint8_t SplitPlaneMode = 1;

 private:
  std::int32_t SyncGeneral(TSyncMode mode);
  void SyncGrids(TSyncMode mode);
  void SyncOutputOptions(TSyncMode mode);
  void SyncGerberOptions(TSyncMode mode);
  void SyncPrinterOptions(TSyncMode mode);
  void ReadLayerPairs();
  void WriteLayerPairs();
  void NamePair(TPcblayerPair& pair) const;
  void SyncExternalDielectrics(TSyncMode mode);
};

}  // namespace orvik
