// Output files written completely or not at all: each is written under a
// temporary name beside its final one ("NAME.tmp") and renamed over it once
// complete. A failed or interrupted writer leaves no half-written file where
// a finished one would be.
#pragma once

#include <string>
#include <string_view>

namespace orvik::host {

class AtomicOutput {
 public:
  // The temporary name of `path`: "PATH.tmp", in the same folder.
  static std::string TemporaryName(const std::string& path);

  // An existing `path` that is no regular file (a pipe, a device such as
  // /dev/null) is written in place: a rename would replace it.
  explicit AtomicOutput(std::string path);
  // Removes the temporary file unless Commit succeeded.
  ~AtomicOutput();
  AtomicOutput(const AtomicOutput&) = delete;
  AtomicOutput& operator=(const AtomicOutput&) = delete;

  [[nodiscard]] const std::string& Path() const noexcept { return path_; }
  // Where the writer writes.
  [[nodiscard]] const std::string& WritePath() const noexcept { return writePath_; }

  // Renames the written file to its final name; false (the temporary file
  // removed) when that fails.
  bool Commit();
  // Removes the temporary file.
  void Discard() noexcept;

 private:
  std::string path_;
  std::string writePath_;
  bool pending_ = true;
  int slot_ = -1;  // in the list of temporaries an interrupted process removes
};

// Removes every temporary file still pending in this process and restores the
// default action of SIGINT and SIGTERM (Ctrl-C and Ctrl-Break on Windows):
// installed once, the handlers remove the pending temporaries, then the
// process ends as the signal would have ended it.
void RemovePendingOutputsOnSignal();

// Writes `text` to `path` through an AtomicOutput; false when any step fails.
bool WriteFileAtomically(const std::string& path, std::string_view text);

// Renames `from` to `to`, replacing `to` (also on Windows).
bool RenameOver(const std::string& from, const std::string& to) noexcept;

}  // namespace orvik::host
