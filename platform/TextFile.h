// An 8-bit text file read through a buffer, with one character of
// look-ahead. The byte 0x1A ends the data: nothing after it is ever read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvik::platform {

// An input/output failure: the file cannot be opened, sized, read or closed.
class EInOutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TextFile {
 public:
  static constexpr char kEndOfFileByte = '\x1A';
  static constexpr std::size_t kBufferSize = 64 * 1024;

  TextFile();
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  // Binds the file to a name without opening it.
  void Assign(std::string_view fileName);
  const std::string& Name() const noexcept { return name_; }

  // Opens the bound file for reading. Only regular files open: a directory,
  // FIFO or device raises EInOutError, as does a missing or unreadable file.
  void Reset();
  bool IsOpen() const noexcept { return handle_ != kNoHandle; }
  // Size of the open file in bytes.
  std::uint64_t Size() const;
  // Closes the file; raises EInOutError when the system reports a failure.
  // Closing a file that is not open does nothing.
  void Close();

  // True at the physical end of the data or at a 0x1A byte.
  bool Eof() {
    // A block read here may begin with 0x1A too.
    if (pos_ >= end_ && !Refill()) return true;
    return buffer_[pos_] == kEndOfFileByte;
  }
  // The next character without consuming it; '\0' at the end of file.
  char Peek() { return Eof() ? '\0' : buffer_[pos_]; }
  // Consumes and returns the next character; '\0' at the end of file.
  char Read() {
    if (Eof()) return '\0';
    return buffer_[pos_++];
  }
  // True when the next unread character is CR or the file has ended.
  bool Eoln() { return Eof() || buffer_[pos_] == '\r'; }
  // Bytes consumed since the file was opened: the offset of the next
  // character.
  std::uint64_t Position() const noexcept { return consumed_ + pos_; }

  // The unread characters of the current block, for a loop that walks them
  // with a pointer of its own (kept in a register across calls it makes)
  // and hands back how far it got with Consume. The window may hold 0x1A:
  // the walker stops before it. An empty window: call NextWindow.
  const char* WindowBegin() const noexcept { return buffer_.get() + pos_; }
  const char* WindowEnd() const noexcept { return buffer_.get() + end_; }
  // Marks the characters before `to` (within the window) as read.
  void Consume(const char* to) noexcept { pos_ = static_cast<std::size_t>(to - buffer_.get()); }
  // After the window has been read to its end: reads the next block; false
  // at the physical end of the data.
  bool NextWindow() { return Refill(); }

 private:
#ifdef _WIN32
  using NativeHandle = void*;
  static inline NativeHandle const kNoHandle = nullptr;
#else
  using NativeHandle = int;
  static constexpr NativeHandle kNoHandle = -1;
#endif

  // Reads the next block; false at the physical end of the data.
  bool Refill();

  std::string name_;
  NativeHandle handle_ = kNoHandle;
  std::unique_ptr<char[]> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  std::uint64_t consumed_ = 0;  // bytes of the blocks before the current one
  bool physicalEnd_ = false;
};

}  // namespace orvik::platform
