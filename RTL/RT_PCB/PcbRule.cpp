#include "RTL/RT_PCB/PcbRule.h"

#include "RTL/RT_PCB/PcbApi.h"

namespace orvik {

TPcbRule::TPcbRule(std::uint32_t handle) : TPCBObject(handle) { ObjectId = kObjectId; }

std::int32_t TPcbRule::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  auto& b = RuleBytes1;
  auto& s = RuleTexts1;
  auto& v = RuleValues;
  auto& t = RuleTexts2;
  return pcbapi::QueryRule(mode, Handle, &b[0], &b[1], &b[2], &b[3], &b[4], &b[5], &b[6], HostArg(s[0]), HostArg(s[1]),
                           HostArg(s[2]), HostArg(s[3]), &RuleBytes2[0], &RuleBytes2[1], &v[0], &v[1], &v[2], &v[3],
                           HostArg(t[0]), HostArg(t[1]), HostArg(t[2]), HostArg(t[3]), HostArg(t[4]), HostArg(t[5]));
}

TPcbViolation::TPcbViolation(std::uint32_t handle) : TPCBObject(handle) { ObjectId = kObjectId; }

std::int32_t TPcbViolation::SyncWithHost(TSyncMode mode) {
  SyncBitFields(mode);
  auto& v = ViolationValues;
  return pcbapi::QueryViolation(mode, Handle, HostArg(ViolationText1), HostArg(ViolationText2), &v[0], &v[1], &v[2]);
}

}  // namespace orvik
