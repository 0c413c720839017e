#include "tests/support/TestPaths.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <stdexcept>

#include "platform/Library.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace orvik::test {

std::filesystem::path ProgramDirectory() {
  const std::string directory = platform::ExecutableDirectory();
  if (directory.empty()) throw std::runtime_error("cannot find the test program's directory");
  return directory;
}

namespace {
unsigned long ProcessId() {
#ifdef _WIN32
  return GetCurrentProcessId();
#else
  return static_cast<unsigned long>(getpid());
#endif
}
}  // namespace

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  const std::string name = "orvik-test-" + std::to_string(ProcessId()) + "-" + std::to_string(counter++) + "-" +
                           std::to_string(static_cast<unsigned long long>(now));
  path_ = std::filesystem::temp_directory_path() / name;
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::WriteFile(std::string_view name, std::string_view bytes) const {
  const std::filesystem::path file = path_ / std::filesystem::path(std::string(name));
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + file.string());
  return NarrowName(file);
}

std::string NarrowName(const std::filesystem::path& path) { return path.string(); }

}  // namespace orvik::test
