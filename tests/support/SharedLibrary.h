// A shared library loaded by a test at run time: LoadLibrary on Windows,
// dlopen elsewhere. The library stays loaded for the rest of the process, as
// a host keeps its modules.
#pragma once

#include <filesystem>
#include <string>

namespace orvik::test {

class SharedLibrary {
 public:
  // Loads the library at `path`; throws std::runtime_error when it fails.
  explicit SharedLibrary(const std::filesystem::path& path);

  // The address of an exported name, or null.
  void* Symbol(const char* name) const noexcept;
  template <class Fn>
  Fn Function(const char* name) const noexcept {
    return reinterpret_cast<Fn>(Symbol(name));
  }
  void* Handle() const noexcept { return handle_; }

 private:
  void* handle_ = nullptr;
};

// File names of the modules built by this project, as found beside the test
// program: the plug-in and the stand-in host PCB module.
std::filesystem::path PluginPath();
std::filesystem::path HostModulePath();

}  // namespace orvik::test
