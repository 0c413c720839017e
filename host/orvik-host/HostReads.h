// Typed reads of the host module's board through its inspection exports,
// shared by the import summary and the board preview.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/orvik-host/HostModules.h"
#include "orvik/layers.h"
#include "orvik/objectkinds.h"

namespace orvik::host {

// Objects added to a container (or the containers an object was added to,
// with `memberships`), in order; empty for an unknown handle.
std::vector<uint32_t> Members(const KovlanApi& api, uint32_t container);
std::vector<uint32_t> Memberships(const KovlanApi& api, uint32_t object);
int32_t MemberCount(const KovlanApi& api, uint32_t container);

// The attribute at `position` of `entryPoint` as a T, or nothing when the
// module does not hold it with exactly that width.
template <typename T>
std::optional<T> ReadValue(const KovlanApi& api, uint32_t handle, const char* entryPoint, int32_t position) {
  T value{};
  if (api.ReadAttribute(handle, entryPoint, position, &value, static_cast<int32_t>(sizeof value)) !=
      static_cast<int32_t>(sizeof value)) {
    return std::nullopt;
  }
  return value;
}

// The entry point that answers for a board layer's attributes.
inline const char* LayerQuery(int layer) {
  return OrvikIsInternalPlane(layer) ? "PcbApi_QueryInternalPlane" : "PcbApi_QueryLayer";
}

// A short-string attribute; empty when unreadable.
std::string ReadShortString(const KovlanApi& api, uint32_t handle, const char* entryPoint, int32_t position);

// A component's designator and comment texts; 0 for one it has not.
struct ComponentLabels {
  uint32_t designator = 0;
  uint32_t comment = 0;
};
ComponentLabels ReadComponentLabels(const KovlanApi& api, uint32_t component);

// A net's name, a component's designator; "#<handle>" when empty.
std::string NetName(const KovlanApi& api, uint32_t net);
std::string ComponentName(const KovlanApi& api, uint32_t component);

}  // namespace orvik::host
