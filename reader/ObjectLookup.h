// Lookup of a net or component by the number a file gives it.
#pragma once

#include <cstdint>

#include "reader/Section.h"

namespace orvik {

// Scans the section's objects in order for the first object of class
// `Object` whose Index, read as 0..65535, equals `number`. Numbers outside
// 0..65535 match nothing.
template <class Object>
Object* FindObjectByNumber(const TSection& section, std::int32_t number) noexcept {
  if (number < 0 || number > 0xFFFF) return nullptr;
  for (const auto& object : section.Objects) {
    if (static_cast<std::uint16_t>(object->Index) != number) continue;
    if (auto* match = dynamic_cast<Object*>(object.get())) return match;
  }
  return nullptr;
}

}  // namespace orvik
