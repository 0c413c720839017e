// convert's progress bar on a terminal: one line over files and bytes, with
// the time left and the failures so far.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace orvik::host::convert {

class ConvertProgress {
 public:
  // Draws nothing unless `enabled`.
  ConvertProgress(std::FILE* out, bool enabled, std::size_t files, uint64_t bytes);
  ~ConvertProgress();
  ConvertProgress(const ConvertProgress&) = delete;
  ConvertProgress& operator=(const ConvertProgress&) = delete;

  // A file is done (`failed`: it counts among the failures).
  void FileDone(uint64_t bytes, bool failed);
  // Redraws the line (at most ten times a second).
  void Draw();
  // Prints a line of its own above the bar.
  void Print(const std::string& line);
  void Close();

  // The line: "12/250 files, 34.5/120.0 MB, 3 failed, 1m20s left [###---] 28%".
  static std::string Line(std::size_t filesDone, std::size_t files, uint64_t bytesDone, uint64_t bytes,
                          std::size_t failed, double elapsedSeconds, int width);

 private:
  std::FILE* out_;
  bool enabled_;
  bool open_ = false;
  std::size_t files_;
  uint64_t bytes_;
  std::size_t filesDone_ = 0;
  uint64_t bytesDone_ = 0;
  std::size_t failed_ = 0;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point drawn_{};
  int width_;
};

}  // namespace orvik::host::convert
