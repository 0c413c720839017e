#include "RTL/RT_PCB/PcbPad.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "RTL/RT_PCB/PcbApi.h"

namespace orvik {

namespace {

constexpr double kDegToRad = std::numbers::pi / 180.0;

constexpr bool InStack(TLegacyLayer layer) noexcept { return layer < TPcbPad::kStackLayers; }

// size + 2e in 32-bit arithmetic, wrapping instead of overflowing.
std::int32_t Grown(std::int32_t size, std::int32_t e) noexcept {
  const std::int64_t grown = static_cast<std::int64_t>(size) + 2 * static_cast<std::int64_t>(e);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(grown)));
}

}  // namespace

TPcbPad::TPcbPad(std::uint32_t handle) noexcept : TPCBObject(handle) { ObjectId = ORVIK_KIND_PAD; }

std::int32_t TPcbPad::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  const std::int32_t status =
      pcbapi::QueryPad(mode, Handle, &Flags, &Index, &LayerId, &Net, &AuxByte, &Component, &X, &Y, &TopXSize, &TopYSize,
                       &MidXSize, &MidYSize, &BotXSize, &BotYSize, &HoleSize, &TopShape, &MidShape, &BotShape,
                       HostArg(Name), &ByteA, &ByteB, &Rotation, HostArg(S1), HostArg(S2), &V1, HostArg(S3), &ByteC,
                       &ByteD, &V2, &F1, &V3, &V4, &V5, &StackOption1, &StackOption2);
  if (status != 0) return status;
  pcbapi::QueryPadStackMode(mode, Handle, &PadStackMode);
  if (mode != smRead) {
    if (PadStackMode == kFullStackMode) {
      for (std::size_t layer = 0; layer < kStackLayers; ++layer) WriteStackLayer(static_cast<TLegacyLayer>(layer));
    } else {
      TLayerColumn<std::uint8_t, kStackLayers>::Cursor shape(ShapeOnLayer);
      for (std::size_t layer = 0; layer < kStackLayers; ++layer) {
        if (shape(layer) == kRoundedRectangleShape) WriteStackLayer(static_cast<TLegacyLayer>(layer));
      }
    }
    return 0;
  }
  ReadStack();
  return 0;
}

namespace {
// Calls an entry point through its bound address; a missing entry point
// is not called (its wrapper would answer the default without calling).
template <class FnPtr>
struct DirectCall {
  FnPtr fn;
  template <class... A>
  void operator()(A... args) const noexcept {
    if (fn != nullptr) fn(args...);
  }
};
template <class FnPtr>
DirectCall(FnPtr) -> DirectCall<FnPtr>;
}  // namespace

// Reads take everything the host has, layer by layer; a query that fails
// leaves the layer's value as it was. 332 calls per pad read: once the
// module is bound they go straight to the entry points.
void TPcbPad::ReadStack() {
  pcbapi::EnsurePcbApi();
  if (pcbapi::PcbApiModule() == 0) [[unlikely]] {
    ReadStackWith(pcbapi::QueryPadOrViaShapeOnLayer, pcbapi::QueryPadOrViaSizeOnLayer,
                  pcbapi::QueryPadCornerRadiusOnLayer, pcbapi::QueryPadCRPercentageOnLayer);
    return;
  }
  ReadStackWith(
      DirectCall{pcbapi::QueryPadOrViaShapeOnLayer.Bound()}, DirectCall{pcbapi::QueryPadOrViaSizeOnLayer.Bound()},
      DirectCall{pcbapi::QueryPadCornerRadiusOnLayer.Bound()}, DirectCall{pcbapi::QueryPadCRPercentageOnLayer.Bound()});
}

template <class ShapeQuery, class SizeQuery, class RadiusQuery, class PercentQuery>
void TPcbPad::ReadStackWith(const ShapeQuery& shapeQuery, const SizeQuery& sizeQuery, const RadiusQuery& radiusQuery,
                            const PercentQuery& percentQuery) {
  std::int32_t xSizes[kStackLayers], ySizes[kStackLayers], radii[kStackLayers];
  std::uint8_t shapes[kStackLayers], percents[kStackLayers];
  ShapeOnLayer.CopyTo(shapes);
  XSizeOnLayer.CopyTo(xSizes);
  YSizeOnLayer.CopyTo(ySizes);
  CornerRadiusOnLayer.CopyTo(radii);
  CRPctOnLayer.CopyTo(percents);
  const std::uint32_t handle = Handle;
  for (std::size_t i = 0; i < kStackLayers; ++i) {
    const auto layer = static_cast<TLegacyLayer>(i);
    shapeQuery(handle, layer, &shapes[i]);
    sizeQuery(handle, layer, &xSizes[i], &ySizes[i]);
    radiusQuery(handle, layer, &radii[i]);
    percentQuery(handle, layer, &percents[i]);
  }
  // Top is layer 1, bottom 32; the mid value is layer 31's (the last of
  // the mid layers 2..31).
  TopCRPct = percents[layer::TopLayer];
  MidCRPct = percents[31];
  BotCRPct = percents[layer::BottomLayer];
  ShapeOnLayer.Assign(shapes);
  XSizeOnLayer.Assign(xSizes);
  YSizeOnLayer.Assign(ySizes);
  CornerRadiusOnLayer.Assign(radii);
  CRPctOnLayer.Assign(percents);
}

// One layer of a write: the whole stack only in full-stack mode, and
// otherwise only the top/bottom/mid corner-radius percentages for each
// rounded-rectangle layer.
void TPcbPad::WriteStackLayer(TLegacyLayer layer) {
  if (PadStackMode == kFullStackMode) {
    pcbapi::SetPadShapeOnLayer(Handle, layer, ShapeOnLayer.Get(layer));
    pcbapi::SetPadSizeOnLayer(Handle, layer, XSizeOnLayer.Get(layer), YSizeOnLayer.Get(layer));
    pcbapi::SetCRPctOnLayer(Handle, layer, CRPctOnLayer.Get(layer));
  } else if (ShapeOnLayer.Get(layer) == kRoundedRectangleShape) {
    pcbapi::SetCRPctOnLayer(Handle, static_cast<std::uint8_t>(layer::TopLayer), TopCRPct);
    pcbapi::SetCRPctOnLayer(Handle, static_cast<std::uint8_t>(layer::BottomLayer), BotCRPct);
    pcbapi::SetCRPctOnLayer(Handle, 2, MidCRPct);
  }
}

bool TPcbPad::GetStackOption1() const { return StackOption1 != 0; }
void TPcbPad::SetStackOption1(bool value) { StackOption1 = value ? 1 : 0; }
bool TPcbPad::GetStackOption2() const { return StackOption2 != 0; }
void TPcbPad::SetStackOption2(bool value) { StackOption2 = value ? 1 : 0; }
std::int32_t TPcbPad::GetTopXSize() const { return TopXSize; }
std::int32_t TPcbPad::GetTopYSize() const { return TopYSize; }
std::int32_t TPcbPad::GetMidXSize() const { return MidXSize; }
std::int32_t TPcbPad::GetMidYSize() const { return MidYSize; }
std::int32_t TPcbPad::GetBotXSize() const { return BotXSize; }
std::int32_t TPcbPad::GetBotYSize() const { return BotYSize; }
std::int32_t TPcbPad::GetHoleSize() const { return HoleSize; }
std::uint8_t TPcbPad::GetTopShape() const { return TopShape; }
std::uint8_t TPcbPad::GetMidShape() const { return MidShape; }
std::uint8_t TPcbPad::GetBotShape() const { return BotShape; }
std::string TPcbPad::GetName() { return Name.Str(); }
double TPcbPad::GetRotation() const { return Rotation; }

std::int32_t TPcbPad::GetXSizeOnLayer(TLegacyLayer layer) { return InStack(layer) ? XSizeOnLayer.Get(layer) : 0; }
std::int32_t TPcbPad::GetYSizeOnLayer(TLegacyLayer layer) { return InStack(layer) ? YSizeOnLayer.Get(layer) : 0; }
std::uint8_t TPcbPad::GetShapeOnLayer(TLegacyLayer layer) { return InStack(layer) ? ShapeOnLayer.Get(layer) : 0; }
std::int32_t TPcbPad::GetWidthOnLayer(TLegacyLayer layer) {
  return IntMin(GetXSizeOnLayer(layer), GetYSizeOnLayer(layer));
}
std::int32_t TPcbPad::GetCornerRadiusOnLayer(TLegacyLayer layer) {
  return InStack(layer) ? CornerRadiusOnLayer.Get(layer) : 0;
}

// The pad's rectangle on a layer, grown by the expansion, centred on the pad
// and turned by its rotation. A zero height takes the unrotated rule rather
// than dividing by zero.
std::int32_t TPcbPad::CornerOnLayer(TCornerValue which, TLegacyLayer layer, std::int32_t expansion) const noexcept {
  if (!InStack(layer)) return 0;
  const std::int32_t width = Grown(XSizeOnLayer.Get(layer), expansion);
  const std::int32_t height = Grown(YSizeOnLayer.Get(layer), expansion);
  return RotatedRectangleCorner(which, X, Y, width, height, Rotation);
}

std::int32_t TPcbPad::RotatedCornerX1OnLayer(TLegacyLayer layer, std::int32_t e) {
  return CornerOnLayer(TCornerValue::X1, layer, e);
}
std::int32_t TPcbPad::RotatedCornerY1OnLayer(TLegacyLayer layer, std::int32_t e) {
  return CornerOnLayer(TCornerValue::Y1, layer, e);
}
std::int32_t TPcbPad::RotatedCornerX2OnLayer(TLegacyLayer layer, std::int32_t e) {
  return CornerOnLayer(TCornerValue::X2, layer, e);
}
std::int32_t TPcbPad::RotatedCornerY2OnLayer(TLegacyLayer layer, std::int32_t e) {
  return CornerOnLayer(TCornerValue::Y2, layer, e);
}
std::int32_t TPcbPad::RotatedCornerX3OnLayer(TLegacyLayer layer, std::int32_t e) {
  return CornerOnLayer(TCornerValue::X3, layer, e);
}
std::int32_t TPcbPad::RotatedCornerY3OnLayer(TLegacyLayer layer, std::int32_t e) {
  return CornerOnLayer(TCornerValue::Y3, layer, e);
}
std::int32_t TPcbPad::RotatedCornerX4OnLayer(TLegacyLayer layer, std::int32_t e) {
  return CornerOnLayer(TCornerValue::X4, layer, e);
}
std::int32_t TPcbPad::RotatedCornerY4OnLayer(TLegacyLayer layer, std::int32_t e) {
  return CornerOnLayer(TCornerValue::Y4, layer, e);
}

// The long axis runs through the centre along the larger half size, over
// the difference of the two half sizes on each side.
std::int32_t TPcbPad::AxisEndOnLayer(TLegacyLayer layer, bool secondEnd, bool wantY) const noexcept {
  if (!InStack(layer)) return 0;
  const std::int64_t halfX = XSizeOnLayer.Get(layer) / 2;
  const std::int64_t halfY = YSizeOnLayer.Get(layer) / 2;
  if (halfX == halfY) return wantY ? Y : X;
  const double sign = secondEnd ? 1.0 : -1.0;
  if (halfX > halfY) {
    const double d = static_cast<double>(halfX - halfY);
    const double a = Rotation * kDegToRad;
    return wantY ? RoundToInt32(Y + sign * std::sin(a) * d) : RoundToInt32(X + sign * std::cos(a) * d);
  }
  const double d = static_cast<double>(halfY - halfX);
  const double b = (90.0 - Rotation) * kDegToRad;
  return wantY ? RoundToInt32(Y - sign * std::sin(b) * d) : RoundToInt32(X + sign * std::cos(b) * d);
}

std::int32_t TPcbPad::GetXOnLayer(TLegacyLayer layer) { return AxisEndOnLayer(layer, false, false); }
std::int32_t TPcbPad::GetYOnLayer(TLegacyLayer layer) { return AxisEndOnLayer(layer, false, true); }
std::int32_t TPcbPad::GetX2OnLayer(TLegacyLayer layer) { return AxisEndOnLayer(layer, true, false); }
std::int32_t TPcbPad::GetY2OnLayer(TLegacyLayer layer) { return AxisEndOnLayer(layer, true, true); }

void TPcbPad::SetTopXSize(std::int32_t value) { TopXSize = value; }
void TPcbPad::SetTopYSize(std::int32_t value) { TopYSize = value; }
void TPcbPad::SetMidXSize(std::int32_t value) { MidXSize = value; }
void TPcbPad::SetMidYSize(std::int32_t value) { MidYSize = value; }
void TPcbPad::SetBotXSize(std::int32_t value) { BotXSize = value; }
void TPcbPad::SetBotYSize(std::int32_t value) { BotYSize = value; }
void TPcbPad::SetHoleSize(std::int32_t value) { HoleSize = value; }
void TPcbPad::SetTopShape(std::uint8_t value) { TopShape = value; }
void TPcbPad::SetMidShape(std::uint8_t value) { MidShape = value; }
void TPcbPad::SetBotShape(std::uint8_t value) { BotShape = value; }
void TPcbPad::SetName(std::string_view value) { Name = value; }
void TPcbPad::SetRotation(double value) { Rotation = value; }

}  // namespace orvik
