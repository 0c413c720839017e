#include "platform/Module.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace orvik::platform {

#ifdef _WIN32

ModuleHandle FindLoadedModule(const char* dllName) noexcept {
  // GetModuleHandleA neither loads the module nor adds a reference.
  return reinterpret_cast<ModuleHandle>(GetModuleHandleA(dllName));
}

ModuleHandle MainProgramModule() noexcept { return reinterpret_cast<ModuleHandle>(GetModuleHandleA(nullptr)); }

void* ExportAddress(ModuleHandle module, const char* name) noexcept {
  if (module == 0 || name == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(module), name));
}

#else

ModuleHandle FindLoadedModule(const char* dllName) noexcept {
  if (dllName == nullptr) return 0;
  try {
    const std::string soName = LibraryFileName(dllName);
    void* handle = dlopen(soName.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) return 0;
    // RTLD_NOLOAD still counts a reference; give it back at once. The handle
    // stays valid while the module stays loaded by its owner.
    dlclose(handle);
    return reinterpret_cast<ModuleHandle>(handle);
  } catch (...) {
    return 0;
  }
}

ModuleHandle MainProgramModule() noexcept {
  // The global scope: the executable and everything it loaded globally.
  static void* const self = dlopen(nullptr, RTLD_NOW);
  return reinterpret_cast<ModuleHandle>(self);
}

void* ExportAddress(ModuleHandle module, const char* name) noexcept {
  if (module == 0 || name == nullptr) return nullptr;
  return dlsym(reinterpret_cast<void*>(module), name);
}

#endif

}  // namespace orvik::platform
