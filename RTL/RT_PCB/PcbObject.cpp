#include "RTL/RT_PCB/PcbObject.h"

#include <cstdlib>
#include <numbers>

#include "RTL/RT_PCB/PcbApi.h"

namespace orvik {

namespace {

constexpr double kDegToRad = std::numbers::pi / 180.0;

constexpr bool Bit(std::uint32_t word, std::uint32_t mask) noexcept { return (word & mask) != 0; }

template <class T>
void ChangeBit(T& word, std::uint32_t mask, bool on) noexcept {
  word = static_cast<T>(on ? (word | mask) : (word & ~mask));
}

// |b - a| + 2e in 32-bit arithmetic, wrapping instead of overflowing.
std::int32_t Extent(std::int32_t a, std::int32_t b, std::int32_t e) noexcept {
  const std::int64_t span = std::llabs(static_cast<std::int64_t>(b) - a) + 2 * static_cast<std::int64_t>(e);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(span)));
}

}  // namespace

std::int32_t RoundToInt32(double value) noexcept {
  if (std::isnan(value)) return 0;
  const double r = std::nearbyint(value);
  if (r <= -2147483648.0) return INT32_MIN;
  if (r >= 2147483647.0) return INT32_MAX;
  return static_cast<std::int32_t>(r);
}

std::int32_t MilsToCoord(double mils) noexcept { return RoundToInt32(mils * 10000.0); }

std::int32_t RotatedRectangleCorner(TCornerValue which, double cx, double cy, std::int32_t width, std::int32_t height,
                                    double rotation) noexcept {
  const double w = width;
  const double h = height;
  if (height == 0) {
    switch (which) {
      case TCornerValue::X1:
      case TCornerValue::X3:
        return RoundToInt32(cx - w / 2);
      case TCornerValue::X2:
      case TCornerValue::X4:
        return RoundToInt32(cx + w / 2);
      default:
        return RoundToInt32(cy);
    }
  }
  const double radius = std::sqrt((w / 2) * (w / 2) + (h / 2) * (h / 2));
  const double t = std::atan(w / h);
  const double r = rotation * kDegToRad;
  const double q = (90.0 - rotation) * kDegToRad;
  switch (which) {
    case TCornerValue::X1:
      return RoundToInt32(cx - std::sin(t - r) * radius);
    case TCornerValue::Y1:
      return RoundToInt32(cy - std::cos(t - r) * radius);
    case TCornerValue::X2:
      return RoundToInt32(cx + std::cos(q - t) * radius);
    case TCornerValue::Y2:
      return RoundToInt32(cy - std::sin(q - t) * radius);
    case TCornerValue::X3:
      return RoundToInt32(cx - std::cos(q - t) * radius);
    case TCornerValue::Y3:
      return RoundToInt32(cy + std::sin(q - t) * radius);
    case TCornerValue::X4:
      return RoundToInt32(cx + std::sin(t - r) * radius);
    case TCornerValue::Y4:
      return RoundToInt32(cy + std::cos(t - r) * radius);
  }
  return 0;
}

TLegacyLayer TPCBObject::LegacyLayer() const { return LegacyLayerFromLayerId(LayerId); }
void TPCBObject::SetLegacyLayer(TLegacyLayer layer) noexcept { LayerId = LayerIdFromLegacy(layer); }

void TPCBObject::SyncBitFields(TSyncMode mode) {
  pcbapi::GetObjectBitField2(mode, Handle, &BitField2);
  pcbapi::GetObjectBitField3(mode, Handle, &BitField3);
}

std::int32_t TPCBObject::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  return pcbapi::QueryPrimitive(mode, Handle, &Flags, &Index, &LayerId, &Net, &Component, &AuxByte);
}

std::int32_t TPCBObject::GetBoundingRect(std::int32_t& b1, std::int32_t& b2, std::int32_t& b3, std::int32_t& b4) {
  return pcbapi::QueryObjectBoundingRectangle(Handle, &b1, &b2, &b3, &b4);
}

void TPCBObject::MoveBy(std::int32_t dx, std::int32_t dy) {
  X = WrapAdd(X, dx);
  Y = WrapAdd(Y, dy);
}

bool TPCBObject::ImportFromUser() { return pcbapi::QueryObjectImport_FromUser(Handle) == 0; }
std::int32_t TPCBObject::GraphicallyInvalidate() { return pcbapi::QueryObjectGraphicallyInvalidate(Handle); }

bool TPCBObject::GetFlag0010() const { return Bit(Flags, 0x0010); }
bool TPCBObject::GetBit2_10() const { return Bit(BitField2, 0x10); }
bool TPCBObject::GetBit2_01() const { return Bit(BitField2, 0x01); }
bool TPCBObject::GetBit2_02() const { return Bit(BitField2, 0x02); }
bool TPCBObject::GetBit2_08() const { return Bit(BitField2, 0x08); }
bool TPCBObject::GetBit2_20() const { return Bit(BitField2, 0x20); }
bool TPCBObject::GetBit2_40() const { return Bit(BitField2, 0x40); }
void TPCBObject::SetFlag0010(bool value) { ChangeBit(Flags, 0x0010, value); }
bool TPCBObject::GetFlag0008() const { return Bit(Flags, 0x0008); }

void TPCBObject::SetFlag0008(bool value) {
  ChangeBit(Flags, 0x0008, value);
  SyncWithHost(smWrite);
}

bool TPCBObject::GetNotFlag0100() const { return !Bit(Flags, 0x0100); }

void TPCBObject::SetNotFlag0100(bool value) {
  ChangeBit(Flags, 0x0100, !value);
  SyncWithHost(smWrite);
}

bool TPCBObject::GetBit3Any() const { return GetBit3_02() || GetBit3_04(); }

void TPCBObject::SetBit3Both(bool value) {
  SetBit3_02(value);
  SetBit3_04(value);
}

bool TPCBObject::GetBit3_02() const { return Bit(BitField3, 0x0002); }
void TPCBObject::SetBit3_02(bool value) { ChangeBit(BitField3, 0x0002, value); }
bool TPCBObject::GetBit3_04() const { return Bit(BitField3, 0x0004); }
void TPCBObject::SetBit3_04(bool value) { ChangeBit(BitField3, 0x0004, value); }
bool TPCBObject::GetFlag0800() const { return Bit(Flags, 0x0800); }
void TPCBObject::SetFlag0800(bool value) { ChangeBit(Flags, 0x0800, value); }
bool TPCBObject::GetFlag2000() const { return Bit(Flags, 0x2000); }
void TPCBObject::SetFlag2000(bool value) { ChangeBit(Flags, 0x2000, value); }
bool TPCBObject::GetStackOption1() const { return false; }
void TPCBObject::SetStackOption1(bool) {}
bool TPCBObject::GetStackOption2() const { return false; }
void TPCBObject::SetStackOption2(bool) {}
bool TPCBObject::GetFlag1000() const { return Bit(Flags, 0x1000); }
void TPCBObject::SetFlag1000(bool value) { ChangeBit(Flags, 0x1000, value); }
bool TPCBObject::GetFlag4000() const { return Bit(Flags, 0x4000); }
void TPCBObject::SetFlag4000(bool value) { ChangeBit(Flags, 0x4000, value); }
bool TPCBObject::GetFlag8000() const { return Bit(Flags, 0x8000); }
void TPCBObject::SetFlag8000(bool value) { ChangeBit(Flags, 0x8000, value); }

std::uint32_t TPCBObject::GetHandle() const { return Handle; }
std::uint8_t TPCBObject::GetObjectId() const { return ObjectId; }
std::int32_t TPCBObject::GetX() const { return X; }
std::int32_t TPCBObject::GetY() const { return Y; }
std::int32_t TPCBObject::GetX2() const { return X; }
std::int32_t TPCBObject::GetY2() const { return Y; }
std::uint16_t TPCBObject::GetFlags() const { return Flags; }
std::int16_t TPCBObject::GetIndex() const { return Index; }
TLegacyLayer TPCBObject::GetLayer() const { return LegacyLayer(); }
std::uint8_t TPCBObject::GetAuxByte() const { return AuxByte; }
std::int32_t TPCBObject::GetNet() const { return Net; }
std::int32_t TPCBObject::GetComponent() const { return Component; }
std::int32_t TPCBObject::GetParam1() const { return 0; }
std::int32_t TPCBObject::GetParam2() const { return 0; }
std::int32_t TPCBObject::GetParam3() const { return 0; }
std::int32_t TPCBObject::GetTopXSize() const { return 0; }
std::int32_t TPCBObject::GetTopYSize() const { return 0; }
std::int32_t TPCBObject::GetMidXSize() const { return 0; }
std::int32_t TPCBObject::GetMidYSize() const { return 0; }
std::int32_t TPCBObject::GetBotXSize() const { return 0; }
std::int32_t TPCBObject::GetBotYSize() const { return 0; }
std::int32_t TPCBObject::GetHoleSize() const { return 0; }
std::uint8_t TPCBObject::GetTopShape() const { return 0; }
std::uint8_t TPCBObject::GetMidShape() const { return 0; }
std::uint8_t TPCBObject::GetBotShape() const { return 0; }
std::string TPCBObject::GetName() { return {}; }
double TPCBObject::GetRotation() const { return 0.0; }
std::int32_t TPCBObject::GetWidth() const { return 0; }
std::uint8_t TPCBObject::GetShape() const { return 0; }
std::int32_t TPCBObject::GetSize() const { return 0; }
std::int32_t TPCBObject::GetXSize() const { return GetSize(); }
std::int32_t TPCBObject::GetYSize() const { return GetSize(); }
bool TPCBObject::GetViaOption1() const { return false; }
bool TPCBObject::GetViaOption2() const { return false; }
std::int32_t TPCBObject::GetRadius() const { return 0; }
double TPCBObject::GetStartAngle() const { return 0.0; }
double TPCBObject::GetEndAngle() const { return 0.0; }
std::int32_t TPCBObject::GetLineWidth() const { return 0; }

// The host fills nothing when its entry point is missing; the values then
// stay 0.
std::int32_t TPCBObject::Bound(int which) {
  std::int32_t b[4] = {0, 0, 0, 0};
  GetBoundingRect(b[0], b[1], b[2], b[3]);
  return b[which];
}

std::int32_t TPCBObject::GetBound1() { return Bound(0); }
std::int32_t TPCBObject::GetBound2() { return Bound(1); }
std::int32_t TPCBObject::GetBound3() { return Bound(2); }
std::int32_t TPCBObject::GetBound4() { return Bound(3); }
std::int32_t TPCBObject::GetTextOption() const { return 0; }
bool TPCBObject::GetMirrored() const { return false; }
std::string TPCBObject::GetText() { return {}; }
bool TPCBObject::GetFromToFlag1() const { return false; }
bool TPCBObject::GetFromToFlag2() const { return false; }

// The rectangle spanned by (GetX, GetY) and (GetX2, GetY2), grown by the
// expansion on every side and turned about its centre.
std::int32_t TPCBObject::Corner(TCornerValue which, std::int32_t expansion) const noexcept {
  const std::int32_t x1 = GetX(), y1 = GetY(), x2 = GetX2(), y2 = GetY2();
  const std::int32_t width = Extent(x1, x2, expansion);
  const std::int32_t height = Extent(y1, y2, expansion);
  // Halves truncate toward zero; their sum always fits in 32 bits.
  const std::int32_t cx = x1 / 2 + x2 / 2;
  const std::int32_t cy = y1 / 2 + y2 / 2;
  return RotatedRectangleCorner(which, cx, cy, width, height, GetRotation());
}

std::int32_t TPCBObject::RotatedCornerX1(std::int32_t e) const { return Corner(TCornerValue::X1, e); }
std::int32_t TPCBObject::RotatedCornerY1(std::int32_t e) const { return Corner(TCornerValue::Y1, e); }
std::int32_t TPCBObject::RotatedCornerX2(std::int32_t e) const { return Corner(TCornerValue::X2, e); }
std::int32_t TPCBObject::RotatedCornerY2(std::int32_t e) const { return Corner(TCornerValue::Y2, e); }
std::int32_t TPCBObject::RotatedCornerX3(std::int32_t e) const { return Corner(TCornerValue::X3, e); }
std::int32_t TPCBObject::RotatedCornerY3(std::int32_t e) const { return Corner(TCornerValue::Y3, e); }
std::int32_t TPCBObject::RotatedCornerX4(std::int32_t e) const { return Corner(TCornerValue::X4, e); }
std::int32_t TPCBObject::RotatedCornerY4(std::int32_t e) const { return Corner(TCornerValue::Y4, e); }

namespace {

// The value of slot `get` where the object is on `layer`, 0 elsewhere. The
// call goes through the vtable, so a kind's override answers.
template <class R, class... Args>
R IfOnLayer(const TPCBObject& o, TLegacyLayer layer, R (TPCBObject::*get)(Args...) const, Args... args) {
  return o.IsOnLayer(layer) ? (o.*get)(args...) : R{};
}

// The same for the rotated-corner slot (84..91) of corner `which`.
std::int32_t IfOnLayer(const TPCBObject& o, TLegacyLayer layer, TCornerValue which, std::int32_t e) {
  using Slot = std::int32_t (TPCBObject::*)(std::int32_t) const;
  static constexpr Slot kCornerSlots[] = {&TPCBObject::RotatedCornerX1, &TPCBObject::RotatedCornerY1,
                                          &TPCBObject::RotatedCornerX2, &TPCBObject::RotatedCornerY2,
                                          &TPCBObject::RotatedCornerX3, &TPCBObject::RotatedCornerY3,
                                          &TPCBObject::RotatedCornerX4, &TPCBObject::RotatedCornerY4};
  return IfOnLayer(o, layer, kCornerSlots[static_cast<int>(which)], e);
}

using enum TCornerValue;

}  // namespace

std::int32_t TPCBObject::GetSizeOnLayer(TLegacyLayer l) { return IfOnLayer(*this, l, &TPCBObject::GetSize); }
std::int32_t TPCBObject::GetXSizeOnLayer(TLegacyLayer l) { return IfOnLayer(*this, l, &TPCBObject::GetXSize); }
std::int32_t TPCBObject::GetYSizeOnLayer(TLegacyLayer l) { return IfOnLayer(*this, l, &TPCBObject::GetYSize); }
std::uint8_t TPCBObject::GetShapeOnLayer(TLegacyLayer l) { return IfOnLayer(*this, l, &TPCBObject::GetShape); }
std::int32_t TPCBObject::GetWidthOnLayer(TLegacyLayer l) { return IfOnLayer(*this, l, &TPCBObject::GetWidth); }
std::int32_t TPCBObject::RotatedCornerX1OnLayer(TLegacyLayer l, std::int32_t e) { return IfOnLayer(*this, l, X1, e); }
std::int32_t TPCBObject::RotatedCornerY1OnLayer(TLegacyLayer l, std::int32_t e) { return IfOnLayer(*this, l, Y1, e); }
std::int32_t TPCBObject::RotatedCornerX2OnLayer(TLegacyLayer l, std::int32_t e) { return IfOnLayer(*this, l, X2, e); }
std::int32_t TPCBObject::RotatedCornerY2OnLayer(TLegacyLayer l, std::int32_t e) { return IfOnLayer(*this, l, Y2, e); }
std::int32_t TPCBObject::RotatedCornerX3OnLayer(TLegacyLayer l, std::int32_t e) { return IfOnLayer(*this, l, X3, e); }
std::int32_t TPCBObject::RotatedCornerY3OnLayer(TLegacyLayer l, std::int32_t e) { return IfOnLayer(*this, l, Y3, e); }
std::int32_t TPCBObject::RotatedCornerX4OnLayer(TLegacyLayer l, std::int32_t e) { return IfOnLayer(*this, l, X4, e); }
std::int32_t TPCBObject::RotatedCornerY4OnLayer(TLegacyLayer l, std::int32_t e) { return IfOnLayer(*this, l, Y4, e); }
std::int32_t TPCBObject::GetXOnLayer(TLegacyLayer l) { return IfOnLayer(*this, l, &TPCBObject::GetX); }
std::int32_t TPCBObject::GetYOnLayer(TLegacyLayer l) { return IfOnLayer(*this, l, &TPCBObject::GetY); }
std::int32_t TPCBObject::GetX2OnLayer(TLegacyLayer l) { return IfOnLayer(*this, l, &TPCBObject::GetX2); }
std::int32_t TPCBObject::GetY2OnLayer(TLegacyLayer l) { return IfOnLayer(*this, l, &TPCBObject::GetY2); }

void TPCBObject::SetHandle(std::uint32_t value) { Handle = value; }
void TPCBObject::SetObjectId(std::uint8_t value) { ObjectId = value; }
void TPCBObject::SetX(std::int32_t value) { X = value; }
void TPCBObject::SetY(std::int32_t value) { Y = value; }
void TPCBObject::SetX2(std::int32_t) {}
void TPCBObject::SetY2(std::int32_t) {}
void TPCBObject::SetFlags(std::uint16_t value) { Flags = value; }
void TPCBObject::SetIndex(std::int16_t value) { Index = value; }
void TPCBObject::SetLayer(TLegacyLayer value) { SetLegacyLayer(value); }
void TPCBObject::SetAuxByte(std::uint8_t value) { AuxByte = value; }
void TPCBObject::SetNet(std::int32_t value) { Net = value; }
void TPCBObject::SetComponent(std::int32_t value) { Component = value; }
void TPCBObject::SetParam1(std::int32_t) {}
void TPCBObject::SetParam2(std::int32_t) {}
void TPCBObject::SetParam3(std::int32_t) {}
void TPCBObject::SetTopXSize(std::int32_t) {}
void TPCBObject::SetTopYSize(std::int32_t) {}
void TPCBObject::SetMidXSize(std::int32_t) {}
void TPCBObject::SetMidYSize(std::int32_t) {}
void TPCBObject::SetBotXSize(std::int32_t) {}
void TPCBObject::SetBotYSize(std::int32_t) {}
void TPCBObject::SetHoleSize(std::int32_t) {}
void TPCBObject::SetTopShape(std::uint8_t) {}
void TPCBObject::SetMidShape(std::uint8_t) {}
void TPCBObject::SetBotShape(std::uint8_t) {}
void TPCBObject::SetName(std::string_view) {}
void TPCBObject::SetRotation(double) {}
void TPCBObject::SetWidth(std::int32_t) {}
void TPCBObject::SetUnused137(std::int32_t) {}
void TPCBObject::SetSize(std::int32_t) {}
void TPCBObject::SetUnused139(std::int32_t) {}
void TPCBObject::SetUnused140(std::int32_t) {}
void TPCBObject::SetViaOption1(bool) {}
void TPCBObject::SetViaOption2(bool) {}
void TPCBObject::SetRadius(std::int32_t) {}
void TPCBObject::SetStartAngle(double) {}
void TPCBObject::SetEndAngle(double) {}
void TPCBObject::SetLineWidth(std::int32_t) {}
void TPCBObject::SetTextOption(std::int32_t) {}
void TPCBObject::SetMirrored(bool) {}
void TPCBObject::SetText(std::string_view) {}
void TPCBObject::SetFromToByte1(std::uint8_t) {}
void TPCBObject::SetFromToByte2(std::uint8_t) {}

}  // namespace orvik
