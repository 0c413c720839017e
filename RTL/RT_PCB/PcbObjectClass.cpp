#include "RTL/RT_PCB/PcbObjectClass.h"

#include "RTL/RT_PCB/PcbApi.h"

namespace orvik {

TPCBObjectClass::TPCBObjectClass(std::uint32_t handle) : TPCBObject(handle) { ObjectId = kObjectId; }

std::int32_t TPCBObjectClass::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  pcbapi::QueryClass(mode, Handle, &Index, &ClassByte1, &ClassByte2, HostArg(Name));
  return mode == smRead ? ReadMembers() : WriteMembers();
}

std::int32_t TPCBObjectClass::ReadMembers() {
  Members.clear();
  std::int32_t status = 1;
  for (std::int32_t i = 0; i < kMaxMembers; ++i) {
    ShortString<255> member;
    status = pcbapi::GetMemberFromClassAt(Handle, i, HostArg(member));
    // 1 means no member at this index; any other failure delivers no name
    // either.
    if (status != 0) break;
    Members.push_back(member);
  }
  return status;
}

std::int32_t TPCBObjectClass::WriteMembers() {
  std::int32_t status = pcbapi::RemoveAllMembersFromClass(Handle);
  for (const auto& member : Members) {
    OrvikShortString buffer{};
    member.ToHost(buffer);
    status = pcbapi::AddMemberToClass(Handle, &buffer);
  }
  return status;
}

}  // namespace orvik
