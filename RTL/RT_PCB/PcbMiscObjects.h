// Kinds that keep no attributes beyond the common ones and exchange them
// through the common primitive query.
#pragma once

#include <cstdint>

#include "RTL/RT_PCB/PcbObject.h"

namespace orvik {

// The 3D body of a component.
class TPcbComponentBody : public TPCBObject {
 public:
  static constexpr std::uint8_t kObjectId = ORVIK_KIND_COMPONENT_BODY;

  explicit TPcbComponentBody(std::uint32_t handle) : TPCBObject(handle) { ObjectId = kObjectId; }
};

// Two nets routed as a differential pair.
class TPcbDifferentialPair : public TPCBObject {
 public:
  static constexpr std::uint8_t kObjectId = ORVIK_KIND_DIFFERENTIAL_PAIR;

  explicit TPcbDifferentialPair(std::uint32_t handle) : TPCBObject(handle) { ObjectId = kObjectId; }
};

}  // namespace orvik
