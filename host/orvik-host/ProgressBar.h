// A text progress bar on a stream, driven by the host module's percent
// indicator.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "orvik/abi.h"

namespace orvik::host {

class ProgressBar {
 public:
  using Clock = std::chrono::steady_clock;
  // Updates closer together than this are not drawn (at most 20 a second).
  static constexpr Clock::duration kMinRedrawInterval = std::chrono::milliseconds(50);

  ProgressBar(std::FILE* out, int width) noexcept;
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  // Event 0 opens a range, 1 advances it, 2 closes it (KVHOST_PROGRESS_*).
  void OnEvent(int32_t event, const char* message, int32_t done, int32_t total) noexcept;
  // Ends a line left open by a range that was never closed.
  void Close() noexcept;

  // The host module's callback; `ctx` is the ProgressBar.
  static void ORVIK_STDCALL Callback(int32_t event, const char* message, int32_t done, int32_t total,
                                     void* ctx) noexcept;

  // One line of exactly `width` characters (at least 20): the message, cut to
  // fit, then "[####----] 42%". Steps beyond the total show as 100%; a range
  // without a positive total shows the step count.
  static std::string Render(std::string_view message, int64_t done, int64_t total, int width);

 private:
  void Draw(int32_t done, int32_t total);

  std::FILE* out_;
  int width_;
  bool lineOpen_ = false;
  std::string message_;
  Clock::time_point lastDraw_{};
};

// Whether stderr is a terminal, and its width in columns (80 when unknown).
bool StderrIsTerminal() noexcept;
int TerminalColumns() noexcept;

}  // namespace orvik::host
