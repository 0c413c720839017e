// What the host tells about an object beyond its records: the text it
// shows and the rectangle around it.
#pragma once

#include <cstdint>
#include <string>

#include "host/kovlan/ObjectStore.h"

namespace kovlan {

// The text a text object shows (its own), or a component's designator.
std::string DisplayText(const ObjectStore& objects, uint32_t handle);
// DisplayText of a text or a component into a 256-byte buffer, cut to 255
// characters and terminated; 1 for any other object or no buffer.
int32_t DisplayString(const ObjectStore& objects, char* buffer256, uint32_t handle);
// Left, bottom, right and top of the object (0s for a kind without a
// shape); 1 for the board, an unknown handle or a null address.
int32_t BoundingRectangle(const ObjectStore& objects, uint32_t handle, int32_t* b1, int32_t* b2, int32_t* b3,
                          int32_t* b4);

}  // namespace kovlan
