#include "host/orvik-host/FileExists.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace orvik::host {

bool FileExists(const char* path) noexcept {
  if (path == nullptr || *path == '\0') return false;
#ifdef _WIN32
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
         (attributes & FILE_ATTRIBUTE_DEVICE) == 0;
#else
  struct stat info {};
  return stat(path, &info) == 0 && S_ISREG(info.st_mode);
#endif
}

}  // namespace orvik::host

OrvikBool ORVIK_STDCALL ClientAPI_ExistSpecific(const char* fileName) noexcept {
  return orvik::host::FileExists(fileName) ? 1 : 0;
}
