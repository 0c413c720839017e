// The modules this project builds, as a test program finds them beside
// itself: their file paths, and the modules loaded.
#pragma once

#include <filesystem>
#include <string_view>

#include "platform/Library.h"
#include "tests/support/TestPaths.h"

namespace orvik::test {

// The module `dllName` (ORVIK_PLUGIN_MODULE_NAME, ORVIK_PCBAPI_MODULE_NAME)
// as built into `directory`.
std::filesystem::path ModulePath(std::string_view dllName, const std::filesystem::path& directory = ProgramDirectory());

// The same module loaded; throws std::runtime_error with the system's reason
// when it cannot be.
platform::Library OpenModule(std::string_view dllName, const std::filesystem::path& directory = ProgramDirectory());

}  // namespace orvik::test
