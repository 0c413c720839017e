// A child process with its standard output and error read through pipes
// (its input is empty), on POSIX (fork and exec) and on Windows
// (CreateProcess, in a job object that ends the children with this
// process). Several children are waited for at once.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvik::host::convert {

struct ChildCommand {
  std::string program;            // the executable's path
  std::vector<std::string> args;  // without the program
  std::string folder;             // the child's current folder
};

// How a child ended.
struct ChildEnd {
  enum class Kind {
    kExited,   // with `code`
    kSignal,   // POSIX: killed by signal `code`
    kCrashed,  // Windows: ended by the exception `code` (0xC0000005 and the like)
  };
  Kind kind = Kind::kExited;
  uint32_t code = 0;
};

// "exit code 4", "signal 11 (SIGSEGV)", "exception 0xC0000005 (access
// violation)".
std::string DescribeEnd(const ChildEnd& end);

// What a child wrote: the last kKeptBytes of its standard output and error,
// and how many bytes it wrote to its standard output.
struct ChildOutputs {
  static constexpr std::size_t kKeptBytes = 16 * 1024;
  std::string error;
  std::string output;
  uint64_t outputBytes = 0;
  void Take(bool isError, const char* bytes, std::size_t n);
};

class ChildProcess {
 public:
  // Starts the child; nothing with `error` set when it cannot be started.
  static std::unique_ptr<ChildProcess> Start(const ChildCommand& command, std::string& error);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Reads what the running children have written and notes those that have
  // ended, waiting at most `wait` for something to happen.
  static void WaitAny(const std::vector<ChildProcess*>& children, std::chrono::milliseconds wait);

  [[nodiscard]] bool Ended() const noexcept;
  [[nodiscard]] const ChildEnd& End() const noexcept;
  [[nodiscard]] const ChildOutputs& Outputs() const noexcept;
  [[nodiscard]] const std::string& ErrorTail() const noexcept { return Outputs().error; }
  [[nodiscard]] const std::string& OutputTail() const noexcept { return Outputs().output; }
  [[nodiscard]] uint64_t OutputBytes() const noexcept { return Outputs().outputBytes; }

  // Asks the child to end (SIGTERM; on Windows it is ended at once).
  void Terminate() noexcept;
  // Ends it at once (SIGKILL, TerminateProcess).
  void Kill() noexcept;
  // Waits until it has ended (after Kill).
  void Reap() noexcept;

  struct Impl;

 private:
  explicit ChildProcess(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// The last `lines` lines of `text`, without a trailing line break.
std::string LastLines(const std::string& text, std::size_t lines);

}  // namespace orvik::host::convert
