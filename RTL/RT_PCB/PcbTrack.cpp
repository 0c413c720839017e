#include "RTL/RT_PCB/PcbTrack.h"

#include "RTL/RT_PCB/PcbApi.h"

namespace orvik {

TPcbTrack::TPcbTrack(std::uint32_t handle) noexcept : TPCBObject(handle) { ObjectId = ORVIK_KIND_TRACK; }

std::int32_t TPcbTrack::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  return pcbapi::QueryTrack(mode, Handle, &Flags, &Index, &LayerId, &Net, &AuxByte, &Component, &X, &Y, &X2, &Y2,
                            &Width, &Param1, &Param2, &Param3);
}

void TPcbTrack::MoveBy(std::int32_t dx, std::int32_t dy) {
  TPCBObject::MoveBy(dx, dy);
  X2 = WrapAdd(X2, dx);
  Y2 = WrapAdd(Y2, dy);
}

std::int32_t TPcbTrack::GetX2() const { return X2; }
std::int32_t TPcbTrack::GetY2() const { return Y2; }
std::int32_t TPcbTrack::GetParam1() const { return Param1; }
std::int32_t TPcbTrack::GetParam2() const { return Param2; }
std::int32_t TPcbTrack::GetParam3() const { return Param3; }
std::int32_t TPcbTrack::GetWidth() const { return Width; }
void TPcbTrack::SetX2(std::int32_t value) { X2 = value; }
void TPcbTrack::SetY2(std::int32_t value) { Y2 = value; }
void TPcbTrack::SetParam1(std::int32_t value) { Param1 = value; }
void TPcbTrack::SetParam2(std::int32_t value) { Param2 = value; }
void TPcbTrack::SetParam3(std::int32_t value) { Param3 = value; }
void TPcbTrack::SetWidth(std::int32_t value) { Width = value; }

}  // namespace orvik
