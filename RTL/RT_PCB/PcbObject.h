// TPCBObject: the client-side mirror of one host board object. It holds the
// host's handle and a copy of the object's attributes, exchanged with the
// host in bulk through SyncWithHost. It never owns the host object.
//
// The class carries one wide virtual interface (152 operations, slots 0..151
// below, in slot order). Each kind overrides the operations that apply to it
// and inherits neutral defaults (0, false, 0.0, empty) for the rest. Virtual
// getters are const unless they may ask the host.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "RTL/RT_PCB/Layers.h"
#include "RTL/RT_PCB/ObjectPool.h"
#include "orvik/objectkinds.h"

namespace orvik {

// The byte passed through every exchange to the host.
enum TSyncMode : std::uint8_t { smWrite = 0, smRead = 1, smRebind = 2 };

// Rounds to the nearest integer, ties to even (the default rounding mode).
// NaN gives 0; values beyond the 32-bit range clamp to its ends.
std::int32_t RoundToInt32(double value) noexcept;

// A value in mils to internal units: times 10000, rounded half to even
// (NaN gives 0, out-of-range values clamp, as RoundToInt32).
std::int32_t MilsToCoord(double mils) noexcept;

// A whole-mil length to internal units: times 10000, wrapping modulo 2^32.
constexpr std::int32_t ScaleMils(std::int32_t v) noexcept {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(v) * 10000u);
}

// Coordinate sum that wraps modulo 2^32 instead of overflowing.
constexpr std::int32_t WrapAdd(std::int32_t a, std::int32_t b) noexcept {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

constexpr std::int32_t IntMin(std::int32_t a, std::int32_t b) noexcept { return a < b ? a : b; }
constexpr std::int32_t IntMax(std::int32_t a, std::int32_t b) noexcept { return a > b ? a : b; }

// The eight values of the rotated-corner operations, in slot order.
enum class TCornerValue : int { X1, Y1, X2, Y2, X3, Y3, X4, Y4 };

// One corner coordinate of a W x H rectangle centred on (cx, cy) and turned
// by `rotation` degrees. With H = 0 the rotation is ignored and the corners
// lie at cx -/+ W/2 on the line cy.
std::int32_t RotatedRectangleCorner(TCornerValue which, double cx, double cy, std::int32_t width, std::int32_t height,
                                    double rotation) noexcept;

class TPCBObject {
 public:
  explicit TPCBObject(std::uint32_t handle) noexcept : Handle(handle) {}
  virtual ~TPCBObject() = default;
  // Client objects come from the object pool (ObjectPool.h): no per-object
  // header, large blocks.
  static void* operator new(std::size_t size) { return pool::Allocate(size); }
  static void operator delete(void* p, std::size_t size) noexcept { pool::Release(p, size); }
  TPCBObject(const TPCBObject&) = default;
  TPCBObject& operator=(const TPCBObject&) = default;

  // The layer as a legacy number; raises EAssertionFailed for an identifier
  // outside every partition.
  TLegacyLayer LegacyLayer() const;
  // Numbers above 82 give NoLayer.
  void SetLegacyLayer(TLegacyLayer layer) noexcept;
  // True when the object's layer is legacy layer `layer`.
  bool IsOnLayer(TLegacyLayer layer) const noexcept { return LayerIdFromLegacy(layer) == LayerId; }

  // --- Virtual operations, in slot order ---
  virtual std::int32_t SyncWithHost(TSyncMode mode);                                          // 0
  virtual std::int32_t GetBoundingRect(std::int32_t& b1, std::int32_t& b2, std::int32_t& b3,  // 1
                                       std::int32_t& b4);
  virtual void MoveBy(std::int32_t dx, std::int32_t dy);  // 2
  virtual bool ImportFromUser();                          // 3
  virtual std::int32_t GraphicallyInvalidate();           // 4
  virtual bool GetFlag0010() const;                       // 5
  virtual bool GetBit2_10() const;                        // 6
  virtual bool GetBit2_01() const;                        // 7
  virtual bool GetBit2_02() const;                        // 8
  virtual bool GetBit2_08() const;                        // 9
  virtual bool GetBit2_20() const;                        // 10
  virtual bool GetBit2_40() const;                        // 11
  virtual void SetFlag0010(bool value);                   // 12
  virtual bool GetFlag0008() const;                       // 13
  virtual void SetFlag0008(bool value);                   // writes the object back at once                      // 14
  virtual bool GetNotFlag0100() const;                    // 15
  virtual void SetNotFlag0100(bool value);                // writes the object back at once                   // 16
  virtual bool GetBit3Any() const;                        // 17
  virtual void SetBit3Both(bool value);                   // 18
  virtual bool GetBit3_02() const;                        // 19
  virtual void SetBit3_02(bool value);                    // 20
  virtual bool GetBit3_04() const;                        // 21
  virtual void SetBit3_04(bool value);                    // 22
  virtual bool GetFlag0800() const;                       // 23
  virtual void SetFlag0800(bool value);                   // 24
  virtual bool GetFlag2000() const;                       // 25
  virtual void SetFlag2000(bool value);                   // 26
  virtual bool GetStackOption1() const;                   // 27
  virtual void SetStackOption1(bool value);               // 28
  virtual bool GetStackOption2() const;                   // 29
  virtual void SetStackOption2(bool value);               // 30
  virtual bool GetFlag1000() const;                       // 31
  virtual void SetFlag1000(bool value);                   // 32
  virtual bool GetFlag4000() const;                       // 33
  virtual void SetFlag4000(bool value);                   // 34
  virtual bool GetFlag8000() const;                       // 35
  virtual void SetFlag8000(bool value);                   // 36
  virtual std::uint32_t GetHandle() const;                // 37
  virtual std::uint8_t GetObjectId() const;               // 38
  virtual std::int32_t GetX() const;                      // 39
  virtual std::int32_t GetY() const;                      // 40
  virtual std::int32_t GetX2() const;                     // 41
  virtual std::int32_t GetY2() const;                     // 42
  virtual std::uint16_t GetFlags() const;                 // 43
  virtual std::int16_t GetIndex() const;                  // 44
  virtual TLegacyLayer GetLayer() const;                  // 45
  virtual std::uint8_t GetAuxByte() const;                // 46
  virtual std::int32_t GetNet() const;                    // 47
  virtual std::int32_t GetComponent() const;              // 48
  virtual std::int32_t GetParam1() const;                 // 49
  virtual std::int32_t GetParam2() const;                 // 50
  virtual std::int32_t GetParam3() const;                 // 51
  virtual std::int32_t GetTopXSize() const;               // 52
  virtual std::int32_t GetTopYSize() const;               // 53
  virtual std::int32_t GetMidXSize() const;               // 54
  virtual std::int32_t GetMidYSize() const;               // 55
  virtual std::int32_t GetBotXSize() const;               // 56
  virtual std::int32_t GetBotYSize() const;               // 57
  virtual std::int32_t GetHoleSize() const;               // 58
  virtual std::uint8_t GetTopShape() const;               // 59
  virtual std::uint8_t GetMidShape() const;               // 60
  virtual std::uint8_t GetBotShape() const;               // 61
  virtual std::string GetName();                          // 62
  virtual double GetRotation() const;                     // 63
  virtual std::int32_t GetWidth() const;                  // 64
  virtual std::uint8_t GetShape() const;                  // 65
  virtual std::int32_t GetSize() const;                   // 66
  virtual std::int32_t GetXSize() const;                  // 67
  virtual std::int32_t GetYSize() const;                  // 68
  virtual bool GetViaOption1() const;                     // 69
  virtual bool GetViaOption2() const;                     // 70
  virtual std::int32_t GetRadius() const;                 // 71
  virtual double GetStartAngle() const;                   // 72
  virtual double GetEndAngle() const;                     // 73
  virtual std::int32_t GetLineWidth() const;              // 74
  virtual std::int32_t GetBound1();                       // 75
  virtual std::int32_t GetBound2();                       // 76
  virtual std::int32_t GetBound3();                       // 77
  virtual std::int32_t GetBound4();                       // 78
  virtual std::int32_t GetTextOption() const;             // 79
  virtual bool GetMirrored() const;                       // 80
  virtual std::string GetText();                          // 81
  virtual bool GetFromToFlag1() const;                    // 82
  virtual bool GetFromToFlag2() const;                    // 83
  virtual std::int32_t RotatedCornerX1(std::int32_t expansion) const;                       // 84
  virtual std::int32_t RotatedCornerY1(std::int32_t expansion) const;                       // 85
  virtual std::int32_t RotatedCornerX2(std::int32_t expansion) const;                       // 86
  virtual std::int32_t RotatedCornerY2(std::int32_t expansion) const;                       // 87
  virtual std::int32_t RotatedCornerX3(std::int32_t expansion) const;                       // 88
  virtual std::int32_t RotatedCornerY3(std::int32_t expansion) const;                       // 89
  virtual std::int32_t RotatedCornerX4(std::int32_t expansion) const;                       // 90
  virtual std::int32_t RotatedCornerY4(std::int32_t expansion) const;                       // 91
  virtual std::int32_t GetSizeOnLayer(TLegacyLayer layer);                                  // 92
  virtual std::int32_t GetXSizeOnLayer(TLegacyLayer layer);                                 // 93
  virtual std::int32_t GetYSizeOnLayer(TLegacyLayer layer);                                 // 94
  virtual std::uint8_t GetShapeOnLayer(TLegacyLayer layer);                                 // 95
  virtual std::int32_t GetWidthOnLayer(TLegacyLayer layer);                                 // 96
  virtual std::int32_t RotatedCornerX1OnLayer(TLegacyLayer layer, std::int32_t expansion);  // 97
  virtual std::int32_t RotatedCornerY1OnLayer(TLegacyLayer layer, std::int32_t expansion);  // 98
  virtual std::int32_t RotatedCornerX2OnLayer(TLegacyLayer layer, std::int32_t expansion);  // 99
  virtual std::int32_t RotatedCornerY2OnLayer(TLegacyLayer layer, std::int32_t expansion);  // 100
  virtual std::int32_t RotatedCornerX3OnLayer(TLegacyLayer layer, std::int32_t expansion);  // 101
  virtual std::int32_t RotatedCornerY3OnLayer(TLegacyLayer layer, std::int32_t expansion);  // 102
  virtual std::int32_t RotatedCornerX4OnLayer(TLegacyLayer layer, std::int32_t expansion);  // 103
  virtual std::int32_t RotatedCornerY4OnLayer(TLegacyLayer layer, std::int32_t expansion);  // 104
  virtual std::int32_t GetXOnLayer(TLegacyLayer layer);                                     // 105
  virtual std::int32_t GetYOnLayer(TLegacyLayer layer);                                     // 106
  virtual std::int32_t GetX2OnLayer(TLegacyLayer layer);                                    // 107
  virtual std::int32_t GetY2OnLayer(TLegacyLayer layer);                                    // 108
  virtual void SetHandle(std::uint32_t value);                                              // 109
  virtual void SetObjectId(std::uint8_t value);                                             // 110
  virtual void SetX(std::int32_t value);                                                    // 111
  virtual void SetY(std::int32_t value);                                                    // 112
  virtual void SetX2(std::int32_t value);                                                   // 113
  virtual void SetY2(std::int32_t value);                                                   // 114
  virtual void SetFlags(std::uint16_t value);                                               // 115
  virtual void SetIndex(std::int16_t value);                                                // 116
  virtual void SetLayer(TLegacyLayer value);                                                // 117
  virtual void SetAuxByte(std::uint8_t value);                                              // 118
  virtual void SetNet(std::int32_t value);                                                  // 119
  virtual void SetComponent(std::int32_t value);                                            // 120
  virtual void SetParam1(std::int32_t value);                                               // 121
  virtual void SetParam2(std::int32_t value);                                               // 122
  virtual void SetParam3(std::int32_t value);                                               // 123
  virtual void SetTopXSize(std::int32_t value);                                             // 124
  virtual void SetTopYSize(std::int32_t value);                                             // 125
  virtual void SetMidXSize(std::int32_t value);                                             // 126
  virtual void SetMidYSize(std::int32_t value);                                             // 127
  virtual void SetBotXSize(std::int32_t value);                                             // 128
  virtual void SetBotYSize(std::int32_t value);                                             // 129
  virtual void SetHoleSize(std::int32_t value);                                             // 130
  virtual void SetTopShape(std::uint8_t value);                                             // 131
  virtual void SetMidShape(std::uint8_t value);                                             // 132
  virtual void SetBotShape(std::uint8_t value);                                             // 133
  virtual void SetName(std::string_view value);                                             // 134
  virtual void SetRotation(double value);                                                   // 135
  virtual void SetWidth(std::int32_t value);                                                // 136
  virtual void SetUnused137(std::int32_t value);                                            // 137
  virtual void SetSize(std::int32_t value);                                                 // 138
  virtual void SetUnused139(std::int32_t value);                                            // 139
  virtual void SetUnused140(std::int32_t value);                                            // 140
  virtual void SetViaOption1(bool value);                                                   // 141
  virtual void SetViaOption2(bool value);                                                   // 142
  virtual void SetRadius(std::int32_t value);                                               // 143
  virtual void SetStartAngle(double value);                                                 // 144
  virtual void SetEndAngle(double value);                                                   // 145
  virtual void SetLineWidth(std::int32_t value);                                            // 146
  virtual void SetTextOption(std::int32_t value);                                           // 147
  virtual void SetMirrored(bool value);                                                     // 148
  virtual void SetText(std::string_view value);                                             // 149
  virtual void SetFromToByte1(std::uint8_t value);                                          // 150
  virtual void SetFromToByte2(std::uint8_t value);                                          // 151

  // --- Fields, in declaration order ---
  std::uint32_t Handle = 0;
  std::uint8_t ObjectId = 0;
  std::int32_t X = 0;  // reference point (first corner or end of tracks and fills; centre of arcs)
  std::int32_t Y = 0;
  std::uint16_t Flags = 0;
  std::uint8_t BitField2 = 0;
  std::uint16_t BitField3 = 0;
  std::int16_t Index = 0;
  std::uint8_t AuxByte = 0;  // exchanged with the host, never interpreted
  std::int32_t Net = 0;
  std::int32_t Component = 0;
  TLayerId LayerId = layer::NoLayer;

 protected:
  // The two flag-word exchanges every kind's SyncWithHost starts with; their
  // statuses are not used.
  void SyncBitFields(TSyncMode mode);

 private:
  std::int32_t Corner(TCornerValue which, std::int32_t expansion) const noexcept;
  std::int32_t Bound(int which);
};

}  // namespace orvik
