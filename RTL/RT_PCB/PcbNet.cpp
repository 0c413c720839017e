#include "RTL/RT_PCB/PcbNet.h"

#include "RTL/RT_PCB/PcbApi.h"

namespace orvik {

TPcbNet::TPcbNet(std::uint32_t handle) : TPcbGroupObject(handle) { ObjectId = kObjectId; }

std::int32_t TPcbNet::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  return pcbapi::QueryNet(mode, Handle, &Index, HostArg(Name), &NetByte, &NetValue);
}

std::string TPcbNet::GetName() { return Name.Str(); }

}  // namespace orvik
