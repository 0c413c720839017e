// The common base of the kinds that hold or describe other objects:
// components, nets, polygons, split planes, coordinates and dimensions.
#pragma once

#include <cstdint>

#include "RTL/RT_PCB/PcbObject.h"

namespace orvik {

class TPcbGroupObject : public TPCBObject {
 public:
  using TPCBObject::TPCBObject;
};

}  // namespace orvik
