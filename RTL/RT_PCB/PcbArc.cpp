#include "RTL/RT_PCB/PcbArc.h"

#include "RTL/RT_PCB/PcbApi.h"

namespace orvik {

TPcbArc::TPcbArc(std::uint32_t handle) noexcept : TPCBObject(handle) { ObjectId = ORVIK_KIND_ARC; }

std::int32_t TPcbArc::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  return pcbapi::QueryArc(mode, Handle, &Flags, &Index, &LayerId, &Net, &AuxByte, &Component, &X, &Y, &Radius,
                          &StartAngle, &EndAngle, &Width, &Param1);
}

std::int32_t TPcbArc::GetParam1() const { return Param1; }
std::int32_t TPcbArc::GetRadius() const { return Radius; }
double TPcbArc::GetStartAngle() const { return StartAngle; }
double TPcbArc::GetEndAngle() const { return EndAngle; }
std::int32_t TPcbArc::GetLineWidth() const { return Width; }
void TPcbArc::SetParam1(std::int32_t value) { Param1 = value; }
void TPcbArc::SetRadius(std::int32_t value) { Radius = value; }
void TPcbArc::SetStartAngle(double value) { StartAngle = value; }
void TPcbArc::SetEndAngle(double value) { EndAngle = value; }
void TPcbArc::SetLineWidth(std::int32_t value) { Width = value; }

}  // namespace orvik
