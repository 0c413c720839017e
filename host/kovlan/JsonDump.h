// The board as JSON: deterministic, so two dumps of the same state are
// byte-identical.
#pragma once

#include <cstdint>
#include <string>

#include "host/kovlan/Host.h"

namespace kovlan {

std::string BoardJson(Host& host);
// Writes BoardJson to a file; 0 on success.
int32_t DumpJson(Host& host, const char* path);

}  // namespace kovlan
