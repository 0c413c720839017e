#include "tests/support/SharedLibrary.h"

#include <stdexcept>

#include "tests/support/TestPaths.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace orvik::test {

SharedLibrary::SharedLibrary(const std::filesystem::path& path) {
#ifdef _WIN32
  handle_ = reinterpret_cast<void*>(LoadLibraryA(path.string().c_str()));
  if (handle_ == nullptr) throw std::runtime_error("cannot load " + path.string());
#else
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* why = dlerror();
    throw std::runtime_error("cannot load " + path.string() + ": " + (why ? why : "unknown error"));
  }
#endif
}

void* SharedLibrary::Symbol(const char* name) const noexcept {
  if (handle_ == nullptr || name == nullptr) return nullptr;
#ifdef _WIN32
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
#else
  return dlsym(handle_, name);
#endif
}

std::filesystem::path PluginPath() {
#ifdef _WIN32
  return ProgramDirectory() / "LoadOrvik.dll";
#else
  return ProgramDirectory() / "libLoadOrvik.so";
#endif
}

std::filesystem::path HostModulePath() {
#ifdef _WIN32
  return ProgramDirectory() / "Kovlan.dll";
#else
  return ProgramDirectory() / "libKovlan.so";
#endif
}

}  // namespace orvik::test
