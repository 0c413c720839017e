// Operating-system module interface: find a module that is already loaded,
// the main program's module, and the address of an exported name.
#pragma once

#include <cstdint>

namespace orvik::platform {

// An opaque module handle; 0 means none.
using ModuleHandle = std::uintptr_t;

// The handle of the module called `dllName` ("Kovlan.dll") if it is already
// loaded in the process, else 0. Never loads the module and keeps no
// reference on it. On POSIX systems the module "X.dll" is the shared object
// "libX.so".
ModuleHandle FindLoadedModule(const char* dllName) noexcept;

// The main program's module (the host executable).
ModuleHandle MainProgramModule() noexcept;

// The address of the export named exactly `name` (case-sensitive), or null.
void* ExportAddress(ModuleHandle module, const char* name) noexcept;

}  // namespace orvik::platform
