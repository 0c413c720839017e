#include "host/orvik-host/ProgressBar.h"

#include <algorithm>

#include "orvik/kovlan.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace orvik::host {

namespace {
constexpr int kMinWidth = 20;
constexpr int kMaxWidth = 120;
}  // namespace

ProgressBar::ProgressBar(std::FILE* out, int width) noexcept
    : out_(out), width_(std::clamp(width, kMinWidth, kMaxWidth)) {}

ProgressBar::~ProgressBar() { Close(); }

std::string ProgressBar::Render(std::string_view message, int64_t done, int64_t total, int width) {
  width = std::max(width, kMinWidth);
  std::string status;
  int64_t filledPermille = 0;
  if (total > 0) {
    const int64_t clamped = std::clamp<int64_t>(done, 0, total);
    filledPermille = clamped * 1000 / total;
    status = std::to_string(filledPermille / 10) + "%";
  } else {
    status = std::to_string(std::max<int64_t>(done, 0));
  }
  while (status.size() < 4) status.insert(status.begin(), ' ');

  // "message [bar] status": the bar takes a third of the line, at least 10.
  const int barWidth = std::max(10, width / 3);
  const int messageWidth = width - barWidth - 4 - static_cast<int>(status.size());
  std::string line;
  line.reserve(static_cast<std::size_t>(width));
  std::string_view shown = message.substr(0, static_cast<std::size_t>(std::max(messageWidth, 0)));
  if (shown.size() < message.size() && shown.size() >= 3) {
    line.append(shown.substr(0, shown.size() - 3));
    line.append("...");
  } else {
    line.append(shown);
  }
  // Control characters would break the line.
  for (char& c : line) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  }
  line.resize(static_cast<std::size_t>(std::max(messageWidth, 0)), ' ');
  const int filled = static_cast<int>(filledPermille * barWidth / 1000);
  line += " [";
  line.append(static_cast<std::size_t>(filled), '#');
  line.append(static_cast<std::size_t>(barWidth - filled), '-');
  line += "] ";
  line += status;
  return line;
}

void ProgressBar::Draw(int32_t done, int32_t total) {
  const std::string line = Render(message_, done, total, width_);
  std::fputc('\r', out_);
  std::fputs(line.c_str(), out_);
  std::fflush(out_);
  lineOpen_ = true;
  lastDraw_ = Clock::now();
}

void ProgressBar::OnEvent(int32_t event, const char* message, int32_t done, int32_t total) noexcept {
  try {
    switch (event) {
      case KVHOST_PROGRESS_INIT:
        Close();
        message_ = message != nullptr ? message : "";
        Draw(done, total);
        break;
      case KVHOST_PROGRESS_UPDATE:
        if (Clock::now() - lastDraw_ >= kMinRedrawInterval) Draw(done, total);
        break;
      case KVHOST_PROGRESS_FINISH:
        // The last state of the range, then the line is done.
        if (lineOpen_) {
          Draw(done, total);
          Close();
        }
        break;
      default:
        break;
    }
  } catch (...) {
    // Drawing progress is best effort; nothing may reach the host module.
  }
}

void ProgressBar::Close() noexcept {
  if (!lineOpen_) return;
  std::fputc('\n', out_);
  std::fflush(out_);
  lineOpen_ = false;
}

void ORVIK_STDCALL ProgressBar::Callback(int32_t event, const char* message, int32_t done, int32_t total,
                                         void* ctx) noexcept {
  if (ctx != nullptr) static_cast<ProgressBar*>(ctx)->OnEvent(event, message, done, total);
}

bool StderrIsTerminal() noexcept {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(STDERR_FILENO) != 0;
#endif
}

int TerminalColumns() noexcept {
#ifdef _WIN32
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info) != 0) {
    return info.srWindow.Right - info.srWindow.Left + 1;
  }
#else
  winsize size{};
  if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
#endif
  return 80;
}

}  // namespace orvik::host
