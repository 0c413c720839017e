#include "RTL/RT_PCB/PcbFromTo.h"

#include "RTL/RT_PCB/PcbApi.h"

namespace orvik {

TPcbFromTo::TPcbFromTo(std::uint32_t handle) : TPCBObject(handle) { ObjectId = kObjectId; }

std::int32_t TPcbFromTo::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  return pcbapi::QueryFromTo(mode, Handle, &Index, &X, &Y, &FromToByte1, &X2, &Y2, &FromToByte2, &Net);
}

std::int32_t TPcbFromTo::GetX2() const { return X2; }
std::int32_t TPcbFromTo::GetY2() const { return Y2; }
void TPcbFromTo::SetX2(std::int32_t value) { X2 = value; }
void TPcbFromTo::SetY2(std::int32_t value) { Y2 = value; }
bool TPcbFromTo::GetFromToFlag1() const { return FromToByte1 != 0; }
bool TPcbFromTo::GetFromToFlag2() const { return FromToByte2 != 0; }
void TPcbFromTo::SetFromToByte1(std::uint8_t value) { FromToByte1 = value; }
void TPcbFromTo::SetFromToByte2(std::uint8_t value) { FromToByte2 = value; }

TPcbManualFromTo::TPcbManualFromTo(std::uint32_t handle) : TPCBObject(handle) { ObjectId = kObjectId; }

std::int32_t TPcbManualFromTo::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  return pcbapi::QueryManualFromTo(mode, Handle, &Index, HostArg(Text1), HostArg(Text2), HostArg(Text3), &ManualValue);
}

}  // namespace orvik
