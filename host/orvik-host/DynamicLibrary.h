// A shared library loaded by path and unloaded when its owner goes away.
#pragma once

#include <string>

namespace orvik::host {

class DynamicLibrary {
 public:
  DynamicLibrary() noexcept = default;
  ~DynamicLibrary();
  DynamicLibrary(DynamicLibrary&& other) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // Loads the library at `path`, resolving all its symbols at once. On POSIX
  // `global` makes its exports visible to libraries loaded later. False on
  // failure, with the reason in Error().
  bool Open(const std::string& path, bool global);
  [[nodiscard]] bool IsOpen() const noexcept { return handle_ != nullptr; }
  [[nodiscard]] const std::string& Path() const noexcept { return path_; }
  [[nodiscard]] const std::string& Error() const noexcept { return error_; }

  // Address of the export named exactly `name`, or null.
  [[nodiscard]] void* Symbol(const char* name) const noexcept;

  // Symbol() as a function pointer of type Fn.
  template <typename Fn>
  [[nodiscard]] Fn Function(const char* name) const noexcept {
    return reinterpret_cast<Fn>(Symbol(name));
  }

 private:
  void Close() noexcept;

  void* handle_ = nullptr;
  std::string path_;
  std::string error_;
};

// Directory of the running executable, without a trailing separator; empty
// when it cannot be found.
std::string ExecutableDirectory();

// `directory` + separator + `name`; just `name` when `directory` is empty.
std::string JoinPath(const std::string& directory, const std::string& name);

}  // namespace orvik::host
