#include "RTL/RT_PCB/PcbFill.h"

#include "RTL/RT_PCB/PcbApi.h"

namespace orvik {

TPcbFill::TPcbFill(std::uint32_t handle) noexcept : TPCBObject(handle) { ObjectId = ORVIK_KIND_FILL; }

std::int32_t TPcbFill::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  return pcbapi::QueryFill(mode, Handle, &Flags, &Index, &LayerId, &Net, &AuxByte, &Component, &X, &Y, &X2, &Y2,
                           &Param1, &Rotation);
}

void TPcbFill::MoveBy(std::int32_t dx, std::int32_t dy) {
  TPCBObject::MoveBy(dx, dy);
  X2 = WrapAdd(X2, dx);
  Y2 = WrapAdd(Y2, dy);
}

std::int32_t TPcbFill::GetX2() const { return X2; }
std::int32_t TPcbFill::GetY2() const { return Y2; }
std::int32_t TPcbFill::GetParam1() const { return Param1; }
double TPcbFill::GetRotation() const { return Rotation; }
void TPcbFill::SetX2(std::int32_t value) { X2 = value; }
void TPcbFill::SetY2(std::int32_t value) { Y2 = value; }
void TPcbFill::SetParam1(std::int32_t value) { Param1 = value; }
void TPcbFill::SetRotation(double value) { Rotation = value; }

}  // namespace orvik
