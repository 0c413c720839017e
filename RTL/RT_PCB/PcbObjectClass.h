// An object class: a named set of members (nets, components, layers, ...)
// that rules can refer to.
#pragma once

#include <cstdint>
#include <vector>

#include "RTL/RT_PCB/PcbObject.h"
#include "RTL/RT_PCB/ShortString.h"

namespace orvik {

class TPCBObjectClass : public TPCBObject {
 public:
  static constexpr std::uint8_t kObjectId = ORVIK_KIND_CLASS;
  // The member list read from the host ends at the first index without a
  // member (status 1) or with a failure, and after this many members at most.
  static constexpr std::int32_t kMaxMembers = 65536;

  explicit TPCBObjectClass(std::uint32_t handle);

  // QueryClass, then the members: a read replaces Members with the host's
  // list; a write replaces the host's list with Members. Returns the status
  // of the last member call.
  std::int32_t SyncWithHost(TSyncMode mode) override;

  ShortString<255> Name;
  std::uint8_t ClassByte1 = 0;
  std::uint8_t ClassByte2 = 0;
  std::vector<ShortString<255>> Members;

 private:
  std::int32_t ReadMembers();
  std::int32_t WriteMembers();
};

}  // namespace orvik
