#include "platform/TextFile.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace orvik::platform {

TextFile::TextFile() : buffer_(std::make_unique<char[]>(kBufferSize)) {}

TextFile::~TextFile() {
  try {
    Close();
  } catch (...) {
    // A destructor must not throw; callers that care close explicitly.
  }
}

void TextFile::Assign(std::string_view fileName) { name_.assign(fileName); }

#ifdef _WIN32

void TextFile::Reset() {
  Close();
  HANDLE h = CreateFileA(name_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw EInOutError("cannot open " + name_);
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    CloseHandle(h);
    throw EInOutError("not a regular file: " + name_);
  }
  handle_ = h;
  pos_ = end_ = 0;
  consumed_ = 0;
  physicalEnd_ = false;
}

std::uint64_t TextFile::Size() const {
  LARGE_INTEGER size{};
  if (!IsOpen() || !GetFileSizeEx(static_cast<HANDLE>(handle_), &size)) throw EInOutError("cannot size " + name_);
  return static_cast<std::uint64_t>(size.QuadPart);
}

void TextFile::Close() {
  if (!IsOpen()) return;
  HANDLE h = static_cast<HANDLE>(handle_);
  handle_ = kNoHandle;
  pos_ = end_ = 0;
  consumed_ = 0;
  if (!CloseHandle(h)) throw EInOutError("cannot close " + name_);
}

bool TextFile::Refill() {
  if (!IsOpen() || physicalEnd_) return false;
  DWORD got = 0;
  if (!ReadFile(static_cast<HANDLE>(handle_), buffer_.get(), static_cast<DWORD>(kBufferSize), &got, nullptr))
    throw EInOutError("cannot read " + name_);
  consumed_ += end_;
  pos_ = 0;
  end_ = got;
  if (got == 0) physicalEnd_ = true;
  return got != 0;
}

#else

void TextFile::Reset() {
  Close();
  // Non-blocking, so that opening a FIFO without a writer cannot hang.
  const int fd = ::open(name_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw EInOutError("cannot open " + name_);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    throw EInOutError("not a regular file: " + name_);
  }
  handle_ = fd;
  pos_ = end_ = 0;
  consumed_ = 0;
  physicalEnd_ = false;
}

std::uint64_t TextFile::Size() const {
  struct stat st {};
  if (!IsOpen() || ::fstat(handle_, &st) != 0) throw EInOutError("cannot size " + name_);
  return static_cast<std::uint64_t>(st.st_size);
}

void TextFile::Close() {
  if (!IsOpen()) return;
  const int fd = handle_;
  handle_ = kNoHandle;
  pos_ = end_ = 0;
  consumed_ = 0;
  if (::close(fd) != 0) throw EInOutError("cannot close " + name_);
}

bool TextFile::Refill() {
  if (!IsOpen() || physicalEnd_) return false;
  ssize_t got;
  do {
    got = ::read(handle_, buffer_.get(), kBufferSize);
  } while (got < 0 && errno == EINTR);
  if (got < 0) throw EInOutError("cannot read " + name_);
  consumed_ += end_;
  pos_ = 0;
  end_ = static_cast<std::size_t>(got);
  if (got == 0) physicalEnd_ = true;
  return got != 0;
}

#endif

}  // namespace orvik::platform
