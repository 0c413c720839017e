#include "host/orvik-host/convert/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvik::host::convert {

namespace {

bool IsSeparator(char c) {
#ifdef _WIN32
  return c == '/' || c == '\\';
#else
  return c == '/';
#endif
}

#ifdef _WIN32
std::string LastError() {
  const DWORD code = GetLastError();
  char buffer[256] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                      buffer, sizeof buffer, nullptr);
  std::string text(buffer, length);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.')) text.pop_back();
  return text.empty() ? "error " + std::to_string(code) : text;
}

int64_t Nanoseconds(const FILETIME& time) {
  const uint64_t ticks = (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;  // 100 ns since 1601
  return static_cast<int64_t>(ticks - 116444736000000000ULL) * 100;
}
#endif

}  // namespace

EntryInfo Describe(const std::string& path) {
  EntryInfo info;
#ifdef _WIN32
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    info.error = LastError();
    return info;
  }
  info.link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  const HANDLE handle = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    info.error = LastError();
    return info;
  }
  BY_HANDLE_FILE_INFORMATION data{};
  const bool described = GetFileInformationByHandle(handle, &data) != 0;
  const DWORD fileType = GetFileType(handle);
  CloseHandle(handle);
  if (!described) {
    info.error = LastError();
    return info;
  }
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    info.type = EntryType::kFolder;
  } else if (fileType == FILE_TYPE_DISK && (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) == 0) {
    info.type = EntryType::kFile;
  } else {
    info.type = EntryType::kOther;
  }
  info.size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  info.modified = Nanoseconds(data.ftLastWriteTime);
  info.device = data.dwVolumeSerialNumber;
  info.node = (uint64_t{data.nFileIndexHigh} << 32) | data.nFileIndexLow;
#else
  struct stat own {};
  info.link = lstat(path.c_str(), &own) == 0 && S_ISLNK(own.st_mode);
  struct stat data {};
  if (stat(path.c_str(), &data) != 0) {
    info.error = info.link && errno == ENOENT ? "a symbolic link to nothing" : std::strerror(errno);
    return info;
  }
  info.type = S_ISREG(data.st_mode) ? EntryType::kFile : S_ISDIR(data.st_mode) ? EntryType::kFolder : EntryType::kOther;
  info.size = static_cast<uint64_t>(data.st_size);
  info.modified = static_cast<int64_t>(data.st_mtim.tv_sec) * 1000000000 + data.st_mtim.tv_nsec;
  info.device = static_cast<uint64_t>(data.st_dev);
  info.node = static_cast<uint64_t>(data.st_ino);
#endif
  return info;
}

std::vector<std::string> ListFolder(const std::string& path, std::string& error) {
  std::vector<std::string> names;
#ifdef _WIN32
  WIN32_FIND_DATAA data{};
  const HANDLE find = FindFirstFileA(JoinPath(path, "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) {
    error = LastError();
    return names;
  }
  do {
    const std::string name = data.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find, &data) != 0);
  FindClose(find);
#else
  DIR* folder = opendir(path.c_str());
  if (folder == nullptr) {
    error = std::strerror(errno);
    return names;
  }
  while (const dirent* entry = readdir(folder)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(folder);
#endif
  std::sort(names.begin(), names.end());
  return names;
}

std::string OpenFailure(const std::string& path) {
#ifdef _WIN32
  const HANDLE handle =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastError();
  CloseHandle(handle);
#else
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  close(fd);
#endif
  return {};
}

bool MakeFolders(const std::string& path, std::string& error) {
  const EntryInfo info = Describe(path);
  if (info.type == EntryType::kFolder) return true;
  if (info.type != EntryType::kMissing) {
    error = "it exists and is no folder";
    return false;
  }
  const std::string parent = ParentFolder(path);
  if (parent != path && parent != "." && !MakeFolders(parent, error)) return false;
#ifdef _WIN32
  if (CreateDirectoryA(path.c_str(), nullptr) == 0 && GetLastError() != ERROR_ALREADY_EXISTS) {
    error = LastError();
    return false;
  }
#else
  if (mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) {
    error = std::strerror(errno);
    return false;
  }
#endif
  return true;
}

std::string AbsolutePath(const std::string& path) {
#ifdef _WIN32
  char buffer[MAX_PATH * 4];
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  if (length == 0 || length >= sizeof buffer) return path;
  return std::string(buffer, length);
#else
  if (!path.empty() && path.front() == '/') return path;
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() > (std::size_t{1} << 20)) return path;
    buffer.resize(buffer.size() * 2);
  }
  return JoinPath(buffer.data(), path);
#endif
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder == ".") return name;
  if (IsSeparator(folder.back())) return folder + name;
#ifdef _WIN32
  // The folder's own separator, so that a Windows path reads as one.
  if (folder.find('\\') != std::string::npos) return folder + "\\" + name;
#endif
  return folder + "/" + name;
}

std::string ParentFolder(const std::string& path) {
  std::size_t end = path.size();
  while (end > 1 && IsSeparator(path[end - 1])) --end;
  std::size_t slash = end;
  while (slash > 0 && !IsSeparator(path[slash - 1])) --slash;
  if (slash == 0) return ".";
  std::size_t parentEnd = slash;
  while (parentEnd > 1 && IsSeparator(path[parentEnd - 1])) --parentEnd;
  return path.substr(0, parentEnd);
}

std::string BaseName(const std::string& path) {
  std::size_t end = path.size();
  while (end > 1 && IsSeparator(path[end - 1])) --end;
  std::size_t slash = end;
  while (slash > 0 && !IsSeparator(path[slash - 1])) --slash;
  return path.substr(slash, end - slash);
}

bool RemoveFile(const std::string& path) noexcept { return std::remove(path.c_str()) == 0; }

std::string ReadWholeFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return {};
  std::string text;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
  std::fclose(file);
  return text;
}

std::string ExecutablePath() {
#ifdef _WIN32
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
#else
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size())
      return std::string(buffer.data(), static_cast<std::size_t>(length));
    buffer.resize(buffer.size() * 2);
  }
#endif
}

int UsableCores() {
#ifndef _WIN32
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(1, CPU_COUNT(&set));
#endif
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

}  // namespace orvik::host::convert
