#include "fuzz/FuzzInputFile.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace orvik::fuzz {
namespace {

// A memory-backed directory when there is one: the file is rewritten for
// every input.
std::string ScratchDirectory() {
  if (access("/dev/shm", W_OK) == 0) return "/dev/shm";
  const char* tmp = std::getenv("TMPDIR");
  return tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
}

struct FileCloser {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

}  // namespace

FuzzInputFile::FuzzInputFile()
    : path_(ScratchDirectory() + "/orvik-fuzz-" + std::to_string(static_cast<long>(getpid())) + ".pcb") {}

FuzzInputFile::~FuzzInputFile() { std::remove(path_.c_str()); }

bool FuzzInputFile::Write(const std::uint8_t* data, std::size_t size) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path_.c_str(), "wb"));
  if (!file) return false;
  return size == 0 || std::fwrite(data, 1, size, file.get()) == size;
}

}  // namespace orvik::fuzz
