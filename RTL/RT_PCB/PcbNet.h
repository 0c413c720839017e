// A net: a named set of connected primitives. Primitives join it through
// AddObjectToContainer with the net's handle.
#pragma once

#include <cstdint>
#include <string>

#include "RTL/RT_PCB/PcbGroupObject.h"
#include "RTL/RT_PCB/ShortString.h"

namespace orvik {

class TPcbNet : public TPcbGroupObject {
 public:
  static constexpr std::uint8_t kObjectId = ORVIK_KIND_NET;

  explicit TPcbNet(std::uint32_t handle);

  // QueryNet: Index, Name and the net's own two values.
  std::int32_t SyncWithHost(TSyncMode mode) override;
  std::string GetName() override;

  ShortString<255> Name;
  std::uint8_t NetByte = 0;
  std::int32_t NetValue = 0;
};

}  // namespace orvik
