#include "host/orvik-host/convert/ConvertProgress.h"

#include "host/orvik-host/ProgressBar.h"

namespace orvik::host::convert {

namespace {

std::string Megabytes(uint64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(bytes) / 1e6);
  return text;
}

std::string Duration(double seconds) {
  const long long s = static_cast<long long>(seconds + 0.5);
  char text[32];
  if (s >= 3600) {
    std::snprintf(text, sizeof text, "%lldh%02lldm", s / 3600, s / 60 % 60);
  } else if (s >= 60) {
    std::snprintf(text, sizeof text, "%lldm%02llds", s / 60, s % 60);
  } else {
    std::snprintf(text, sizeof text, "%llds", s);
  }
  return text;
}

}  // namespace

ConvertProgress::ConvertProgress(std::FILE* out, bool enabled, std::size_t files, uint64_t bytes)
    : out_(out), enabled_(enabled), files_(files), bytes_(bytes), width_(TerminalColumns() - 1) {}

ConvertProgress::~ConvertProgress() { Close(); }

std::string ConvertProgress::Line(std::size_t filesDone, std::size_t files, uint64_t bytesDone, uint64_t bytes,
                                  std::size_t failed, double elapsedSeconds, int width) {
  std::string message = std::to_string(filesDone) + "/" + std::to_string(files) + " files, " + Megabytes(bytesDone) +
                        "/" + Megabytes(bytes) + " MB";
  if (failed != 0) message += ", " + std::to_string(failed) + " failed";
  // The time left, by bytes: the files' cost goes with their size.
  if (bytesDone > 0 && bytesDone < bytes && elapsedSeconds >= 1) {
    const double left = elapsedSeconds * static_cast<double>(bytes - bytesDone) / static_cast<double>(bytesDone);
    message += ", " + Duration(left) + " left";
  }
  // Files without bytes (all empty) still move the bar.
  return bytes > 0 ? ProgressBar::Render(message, static_cast<int64_t>(bytesDone), static_cast<int64_t>(bytes), width)
                   : ProgressBar::Render(message, static_cast<int64_t>(filesDone), static_cast<int64_t>(files), width);
}

void ConvertProgress::FileDone(uint64_t bytes, bool failed) {
  ++filesDone_;
  bytesDone_ += bytes;
  if (failed) ++failed_;
  Draw();
}

void ConvertProgress::Draw() {
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (open_ && now - drawn_ < std::chrono::milliseconds(100) && filesDone_ != files_) return;
  drawn_ = now;
  const double elapsed = std::chrono::duration<double>(now - start_).count();
  std::fprintf(out_, "\r%s", Line(filesDone_, files_, bytesDone_, bytes_, failed_, elapsed, width_).c_str());
  std::fflush(out_);
  open_ = true;
}

void ConvertProgress::Print(const std::string& line) {
  if (open_) {
    std::fprintf(out_, "\r%*s\r", width_, "");
    open_ = false;
  }
  std::fprintf(out_, "%s\n", line.c_str());
  std::fflush(out_);
  Draw();
}

void ConvertProgress::Close() {
  if (!open_) return;
  std::fputc('\n', out_);
  std::fflush(out_);
  open_ = false;
}

}  // namespace orvik::host::convert
