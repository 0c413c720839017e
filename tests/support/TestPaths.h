// Paths for tests: the running program's directory and scratch directories
// that remove themselves.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orvik::test {

// The directory that holds the running test program (and, beside it, the
// plug-in and the stand-in host module).
std::filesystem::path ProgramDirectory();

// A fresh, empty directory under the system's temporary directory, removed
// with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const noexcept { return path_; }
  // Writes `bytes` to a file in the directory and returns its full name.
  std::string WriteFile(std::string_view name, std::string_view bytes) const;

 private:
  std::filesystem::path path_;
};

// A path as an 8-bit file name for the plug-in.
std::string NarrowName(const std::filesystem::path& path);

}  // namespace orvik::test
