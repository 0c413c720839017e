// Client objects for existing host objects, built from the kind the host
// reports for a handle.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "RTL/RT_PCB/PcbObject.h"

namespace orvik {

// Asks the host for the object's kind, builds the matching client object
// and reads it. nullptr, without reading anything, for a kind that has no
// client class.
std::unique_ptr<TPCBObject> CreateObjectFromHandle(std::uint32_t handle);

// The text of the host object behind `handle` as the host holds it now;
// empty for handle 0, for an unknown kind and for kinds without text.
std::string GetObjectTextByHandle(std::uint32_t handle);

}  // namespace orvik
