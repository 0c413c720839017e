#include "platform/Library.h"

#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace orvik::platform {

namespace {

#ifdef _WIN32
// The system's text for the calling thread's last error, and its number.
std::string LastErrorText() {
  const DWORD code = GetLastError();
  char* buffer = nullptr;
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
  std::string text = length != 0 && buffer != nullptr ? std::string(buffer, length) : std::string();
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text + " (error " + std::to_string(code) + ")";
}
#endif

}  // namespace

Library::~Library() { Close(); }

Library::Library(Library&& other) noexcept
    : handle_(std::exchange(other.handle_, 0)), path_(std::move(other.path_)), error_(std::move(other.error_)) {}

Library& Library::operator=(Library&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, 0);
    path_ = std::move(other.path_);
    error_ = std::move(other.error_);
  }
  return *this;
}

void Library::Close() noexcept {
  if (handle_ == 0) return;
#ifdef _WIN32
  FreeLibrary(reinterpret_cast<HMODULE>(handle_));
#else
  dlclose(reinterpret_cast<void*>(handle_));
#endif
  handle_ = 0;
}

Library Library::Open(const std::string& path, Scope scope) {
  Library library;
  library.path_ = path;
#ifdef _WIN32
  (void)scope;
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  library.handle_ =
      reinterpret_cast<ModuleHandle>(LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  if (library.handle_ == 0) library.error_ = LastErrorText();
  SetErrorMode(previousMode);
#else
  library.handle_ = reinterpret_cast<ModuleHandle>(
      dlopen(path.c_str(), RTLD_NOW | (scope == Scope::kGlobal ? RTLD_GLOBAL : RTLD_LOCAL)));
  if (library.handle_ == 0) {
    const char* reason = dlerror();
    library.error_ = reason != nullptr ? reason : "unknown error";
  }
#endif
  return library;
}

Library Library::OpenModule(const std::string& directory, std::string_view dllName, Scope scope) {
  return Open(JoinPath(directory, LibraryFileName(dllName)), scope);
}

std::string ExecutableDirectory() {
  std::vector<char> buffer(1024);
  for (;;) {
#ifdef _WIN32
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      std::string path(buffer.data(), length);
      const auto cut = path.find_last_of("\\/");
      return cut == std::string::npos ? std::string() : path.substr(0, cut);
    }
#else
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size()) {
      std::string path(buffer.data(), static_cast<std::size_t>(length));
      const auto cut = path.find_last_of('/');
      return cut == std::string::npos ? std::string() : (cut == 0 ? std::string("/") : path.substr(0, cut));
    }
#endif
    if (buffer.size() >= 65536) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::string JoinPath(const std::string& directory, std::string_view name) {
  if (directory.empty()) return std::string(name);
#ifdef _WIN32
  constexpr char kSeparator = '\\';
#else
  constexpr char kSeparator = '/';
#endif
  std::string path = directory;
  if (path.back() != '/' && path.back() != '\\') path += kSeparator;
  path += name;
  return path;
}

}  // namespace orvik::platform
