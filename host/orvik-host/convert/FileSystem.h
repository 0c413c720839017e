// What convert asks of the file system, on POSIX and on Windows, with 8-bit
// file names as the plug-in takes them ('/' separates folders; Windows takes
// '\\' too).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvik::host::convert {

enum class EntryType { kMissing, kFile, kFolder, kOther };

struct EntryInfo {
  EntryType type = EntryType::kMissing;
  bool link = false;  // a symbolic link (its target described)
  uint64_t size = 0;
  int64_t modified = 0;  // nanoseconds since the epoch
  uint64_t device = 0;   // with `node`, the same for one file reached by two names
  uint64_t node = 0;
  std::string error;  // why it could not be described (kMissing)
};

// Follows symbolic links; a dangling link is kMissing with `link` set.
EntryInfo Describe(const std::string& path);

// The names in a folder (without "." and ".."), sorted bytewise; nothing
// with `error` set when it cannot be read.
std::vector<std::string> ListFolder(const std::string& path, std::string& error);

// Why the file cannot be opened for reading, or "" when it can. Opens
// without waiting (a pipe named like a board does not block).
std::string OpenFailure(const std::string& path);

// Creates the folder and its parents; false with `error` set.
bool MakeFolders(const std::string& path, std::string& error);

// `path` made absolute against the current folder.
std::string AbsolutePath(const std::string& path);

// "a/b" and "c" joined as "a/b/c"; the parent folder and the last name of a
// path ("a/b" and "c" for "a/b/c"; "." and "c" for "c").
std::string JoinPath(const std::string& folder, const std::string& name);
std::string ParentFolder(const std::string& path);
std::string BaseName(const std::string& path);

bool RemoveFile(const std::string& path) noexcept;

// The whole file, or "" when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// This program's own executable.
std::string ExecutablePath();

// The number of cores this process may run on (at least 1).
int UsableCores();

}  // namespace orvik::host::convert
