#include "host/orvik-host/HostReads.h"

#include <algorithm>

namespace orvik::host {

namespace {

// Argument positions (after mode and handle) of the attributes read here.
constexpr int32_t kNetNamePosition = 1;              // PcbApi_QueryNet: index, name
constexpr int32_t kComponentDesignatorPosition = 4;  // PcbApi_QueryComponent: ..., designatorHandle,
constexpr int32_t kComponentCommentPosition = 5;     // commentHandle
constexpr int32_t kTextTextPosition = 12;            // PcbApi_QueryText: ..., mirrored, text

// A container never lists more members than the module has objects; this
// bound only guards the allocation against a nonsensical count.
constexpr int32_t kMaxMembers = 1 << 26;

using ListFn = int32_t(ORVIK_STDCALL*)(uint32_t, uint32_t*, int32_t);

std::vector<uint32_t> List(ListFn list, uint32_t handle) {
  uint32_t probe = 0;
  const int32_t count = list(handle, &probe, 0);
  if (count <= 0) return {};
  std::vector<uint32_t> out(static_cast<std::size_t>(std::min(count, kMaxMembers)));
  const int32_t again = list(handle, out.data(), static_cast<int32_t>(out.size()));
  out.resize(static_cast<std::size_t>(std::clamp<int32_t>(again, 0, static_cast<int32_t>(out.size()))));
  return out;
}

}  // namespace

std::vector<uint32_t> Members(const KovlanApi& api, uint32_t container) { return List(api.Members, container); }

std::vector<uint32_t> Memberships(const KovlanApi& api, uint32_t object) { return List(api.Memberships, object); }

int32_t MemberCount(const KovlanApi& api, uint32_t container) {
  uint32_t probe = 0;
  return std::max(api.Members(container, &probe, 0), 0);
}

std::string ReadShortString(const KovlanApi& api, uint32_t handle, const char* entryPoint, int32_t position) {
  const auto value = ReadValue<OrvikShortString>(api, handle, entryPoint, position);
  return value ? std::string(value->text, value->length) : std::string();
}

std::string NetName(const KovlanApi& api, uint32_t net) {
  std::string name = ReadShortString(api, net, "PcbApi_QueryNet", kNetNamePosition);
  return name.empty() ? "#" + std::to_string(net) : name;
}

ComponentLabels ReadComponentLabels(const KovlanApi& api, uint32_t component) {
  return {ReadValue<uint32_t>(api, component, "PcbApi_QueryComponent", kComponentDesignatorPosition).value_or(0),
          ReadValue<uint32_t>(api, component, "PcbApi_QueryComponent", kComponentCommentPosition).value_or(0)};
}

std::string ComponentName(const KovlanApi& api, uint32_t component) {
  std::string name;
  const uint32_t designator =
      ReadValue<uint32_t>(api, component, "PcbApi_QueryComponent", kComponentDesignatorPosition).value_or(0);
  if (designator != 0) name = ReadShortString(api, designator, "PcbApi_QueryText", kTextTextPosition);
  return name.empty() ? "#" + std::to_string(component) : name;
}

}  // namespace orvik::host
