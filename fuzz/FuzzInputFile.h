// The fuzz input as a file on disk, since the reader reads files by name:
// one scratch file per process, rewritten for every input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orvik::fuzz {

class FuzzInputFile {
 public:
  FuzzInputFile();
  ~FuzzInputFile();
  FuzzInputFile(const FuzzInputFile&) = delete;
  FuzzInputFile& operator=(const FuzzInputFile&) = delete;

  // Replaces the file's contents; false when the file cannot be written.
  bool Write(const std::uint8_t* data, std::size_t size);
  const std::string& Path() const noexcept { return path_; }

 private:
  std::string path_;
};

}  // namespace orvik::fuzz
