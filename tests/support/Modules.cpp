#include "tests/support/Modules.h"

#include <stdexcept>
#include <string>

namespace orvik::test {

std::filesystem::path ModulePath(std::string_view dllName, const std::filesystem::path& directory) {
  return directory / platform::LibraryFileName(dllName);
}

platform::Library OpenModule(std::string_view dllName, const std::filesystem::path& directory) {
  platform::Library library = platform::Library::Open(ModulePath(dllName, directory).string());
  if (!library.IsOpen()) throw std::runtime_error("cannot load " + library.Path() + ": " + library.Error());
  return library;
}

}  // namespace orvik::test
