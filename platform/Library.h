// A library that this process loads and unloads itself (LoadLibrary and
// FreeLibrary on Windows, dlopen and dlclose elsewhere), and the directory
// of the running program. The plug-in never loads a module: it only finds
// loaded ones through platform/Module.h.
#pragma once

#include <string>
#include <string_view>

#include "platform/Module.h"

namespace orvik::platform {

class Library {
 public:
  // Whether the library's exports resolve for libraries loaded after it
  // (POSIX; on Windows every library's exports are found by name anyway).
  enum class Scope { kLocal, kGlobal };

  // No library.
  Library() noexcept = default;
  ~Library();
  Library(Library&& other) noexcept;
  Library& operator=(Library&& other) noexcept;
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  // Loads the library at `path`, resolving all its symbols at once; without
  // an error dialog on Windows, where its dependencies are searched beside
  // it first. The result is open, or holds the system's reason in Error().
  [[nodiscard]] static Library Open(const std::string& path, Scope scope = Scope::kLocal);
  // Loads the module `dllName` ("Kovlan.dll", see LibraryFileName) from
  // `directory`; with no directory, wherever the system's search finds it.
  [[nodiscard]] static Library OpenModule(const std::string& directory, std::string_view dllName,
                                          Scope scope = Scope::kLocal);

  [[nodiscard]] bool IsOpen() const noexcept { return handle_ != 0; }
  [[nodiscard]] ModuleHandle Handle() const noexcept { return handle_; }
  // The path it was loaded from (or was to be).
  [[nodiscard]] const std::string& Path() const noexcept { return path_; }
  // Why it could not be loaded; empty when open.
  [[nodiscard]] const std::string& Error() const noexcept { return error_; }

  // Address of the export named exactly `name`, or null.
  [[nodiscard]] void* Symbol(const char* name) const noexcept { return ExportAddress(handle_, name); }
  // Symbol() as a function pointer of type Fn.
  template <typename Fn>
  [[nodiscard]] Fn Function(const char* name) const noexcept {
    return reinterpret_cast<Fn>(Symbol(name));
  }

 private:
  void Close() noexcept;

  ModuleHandle handle_ = 0;
  std::string path_;
  std::string error_;
};

// Directory of the running executable, without a trailing separator; empty
// when it cannot be found.
std::string ExecutableDirectory();

// `directory` + separator + `name`; just `name` when `directory` is empty.
std::string JoinPath(const std::string& directory, std::string_view name);

}  // namespace orvik::platform
