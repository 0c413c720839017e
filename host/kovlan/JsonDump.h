// The board as JSON: deterministic, so two dumps of the same state are
// byte-identical.
#pragma once

#include <cstdint>

#include "host/kovlan/ObjectStore.h"

namespace kovlan {

// Writes the board as JSON to a file; 0 on success.
int32_t DumpJson(const ObjectStore& objects, const char* path);

}  // namespace kovlan
