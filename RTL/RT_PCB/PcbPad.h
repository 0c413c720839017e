// TPcbPad: a component pad centred on (X, Y), with top, mid and bottom sizes
// and shapes and a per-layer pad stack indexed by legacy layer.
#pragma once

#include <array>

#include "RTL/RT_PCB/LayerColumn.h"
#include "RTL/RT_PCB/PcbObject.h"
#include "RTL/RT_PCB/ShortString.h"

namespace orvik {

class TPcbPad : public TPCBObject {
 public:
  static constexpr std::size_t kStackLayers = kMaxLegacyLayer + 1;
  // The shape whose corner-radius percentages go to the host in a simple stack.
  static constexpr std::uint8_t kRoundedRectangleShape = 9;
  // The stack mode in which the whole per-layer stack goes to the host.
  static constexpr std::uint8_t kFullStackMode = 2;

  explicit TPcbPad(std::uint32_t handle) noexcept;

  std::int32_t SyncWithHost(TSyncMode mode) override;
  bool GetStackOption1() const override;
  void SetStackOption1(bool value) override;
  bool GetStackOption2() const override;
  void SetStackOption2(bool value) override;
  std::int32_t GetTopXSize() const override;
  std::int32_t GetTopYSize() const override;
  std::int32_t GetMidXSize() const override;
  std::int32_t GetMidYSize() const override;
  std::int32_t GetBotXSize() const override;
  std::int32_t GetBotYSize() const override;
  std::int32_t GetHoleSize() const override;
  std::uint8_t GetTopShape() const override;
  std::uint8_t GetMidShape() const override;
  std::uint8_t GetBotShape() const override;
  std::string GetName() override;
  double GetRotation() const override;

  // Per-layer operations. A layer above 82 gives 0.
  std::int32_t GetXSizeOnLayer(TLegacyLayer layer) override;
  std::int32_t GetYSizeOnLayer(TLegacyLayer layer) override;
  std::uint8_t GetShapeOnLayer(TLegacyLayer layer) override;
  std::int32_t GetWidthOnLayer(TLegacyLayer layer) override;
  std::int32_t RotatedCornerX1OnLayer(TLegacyLayer layer, std::int32_t expansion) override;
  std::int32_t RotatedCornerY1OnLayer(TLegacyLayer layer, std::int32_t expansion) override;
  std::int32_t RotatedCornerX2OnLayer(TLegacyLayer layer, std::int32_t expansion) override;
  std::int32_t RotatedCornerY2OnLayer(TLegacyLayer layer, std::int32_t expansion) override;
  std::int32_t RotatedCornerX3OnLayer(TLegacyLayer layer, std::int32_t expansion) override;
  std::int32_t RotatedCornerY3OnLayer(TLegacyLayer layer, std::int32_t expansion) override;
  std::int32_t RotatedCornerX4OnLayer(TLegacyLayer layer, std::int32_t expansion) override;
  std::int32_t RotatedCornerY4OnLayer(TLegacyLayer layer, std::int32_t expansion) override;
  // The end points of the pad's long axis on a layer.
  std::int32_t GetXOnLayer(TLegacyLayer layer) override;
  std::int32_t GetYOnLayer(TLegacyLayer layer) override;
  std::int32_t GetX2OnLayer(TLegacyLayer layer) override;
  std::int32_t GetY2OnLayer(TLegacyLayer layer) override;

  void SetTopXSize(std::int32_t value) override;
  void SetTopYSize(std::int32_t value) override;
  void SetMidXSize(std::int32_t value) override;
  void SetMidYSize(std::int32_t value) override;
  void SetBotXSize(std::int32_t value) override;
  void SetBotYSize(std::int32_t value) override;
  void SetHoleSize(std::int32_t value) override;
  void SetTopShape(std::uint8_t value) override;
  void SetMidShape(std::uint8_t value) override;
  void SetBotShape(std::uint8_t value) override;
  void SetName(std::string_view value) override;  // keeps the first 20 characters
  void SetRotation(double value) override;

  // Slot 152, after the base's operations.
  virtual std::int32_t GetCornerRadiusOnLayer(TLegacyLayer layer);

  std::int32_t TopXSize = 0;
  std::int32_t TopYSize = 0;
  std::int32_t MidXSize = 0;
  std::int32_t MidYSize = 0;
  std::int32_t BotXSize = 0;
  std::int32_t BotYSize = 0;
  std::int32_t HoleSize = 0;
  std::uint8_t TopShape = 0;
  std::uint8_t MidShape = 0;
  std::uint8_t BotShape = 0;
  std::uint8_t TopCRPct = 0;  // corner-radius percentages, taken from the stack
  std::uint8_t MidCRPct = 0;
  std::uint8_t BotCRPct = 0;
  ShortString<20> Name;
  // ByteA..V5 are the host's pass-through values; the client forwards them.
  std::uint8_t ByteA = 0;
  double Rotation = 0.0;  // degrees
  std::uint8_t ByteB = 0;
  ShortString<20> S1;
  ShortString<20> S2;
  std::int32_t V1 = 0;
  ShortString<20> S3;
  // The per-layer stack, indexed like arrays of kStackLayers values and held
  // compactly (TLayerColumn).
  TLayerColumn<std::int32_t, kStackLayers> XSizeOnLayer;
  TLayerColumn<std::int32_t, kStackLayers> YSizeOnLayer;
  TLayerColumn<std::uint8_t, kStackLayers> ShapeOnLayer;
  TLayerColumn<std::int32_t, kStackLayers> CornerRadiusOnLayer;
  TLayerColumn<std::uint8_t, kStackLayers> CRPctOnLayer;
  std::uint8_t PadStackMode = 0;
  std::uint8_t ByteC = 0;
  std::uint8_t ByteD = 0;
  std::int32_t V2 = 0;
  std::int64_t F1 = 0;
  std::int32_t V3 = 0;
  std::int32_t V4 = 0;
  std::int32_t V5 = 0;
  std::uint8_t StackOption1 = 0;
  std::uint8_t StackOption2 = 0;

 private:
  std::int32_t CornerOnLayer(TCornerValue which, TLegacyLayer layer, std::int32_t expansion) const noexcept;
  std::int32_t AxisEndOnLayer(TLegacyLayer layer, bool secondEnd, bool wantY) const noexcept;
  void WriteStackLayer(TLegacyLayer layer);
  void ReadStack();
  template <class ShapeQuery, class SizeQuery, class RadiusQuery, class PercentQuery>
  void ReadStackWith(const ShapeQuery& shapeQuery, const SizeQuery& sizeQuery, const RadiusQuery& radiusQuery,
                     const PercentQuery& percentQuery);
};

}  // namespace orvik
