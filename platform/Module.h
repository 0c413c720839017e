// Operating-system module interface without loading anything: find a module
// that is already loaded, the main program's module, the address of an
// exported name, and a module's file name on this system. Loading and
// unloading is platform/Library.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvik::platform {

// An opaque module handle; 0 means none.
using ModuleHandle = std::uintptr_t;

// The file name of the module `dllName` ("Kovlan.dll") on this system: the
// name itself on Windows; on POSIX systems the shared object "libKovlan.so".
// Names without ".dll" are taken as they stand.
inline std::string LibraryFileName(std::string_view dllName) {
#ifndef _WIN32
  constexpr std::string_view kSuffix = ".dll";
  if (dllName.size() > kSuffix.size() && dllName.ends_with(kSuffix)) {
    dllName.remove_suffix(kSuffix.size());
    return "lib" + std::string(dllName) + ".so";
  }
#endif
  return std::string(dllName);
}

// The handle of the module called `dllName` ("Kovlan.dll") if it is already
// loaded in the process, else 0. Never loads the module and keeps no
// reference on it.
ModuleHandle FindLoadedModule(const char* dllName) noexcept;

// The main program's module (the host executable).
ModuleHandle MainProgramModule() noexcept;

// The address of the export named exactly `name` (case-sensitive), or null.
void* ExportAddress(ModuleHandle module, const char* name) noexcept;

}  // namespace orvik::platform
