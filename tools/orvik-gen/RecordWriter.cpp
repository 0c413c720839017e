#include "tools/orvik-gen/RecordWriter.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace orvik::gen {

namespace {
constexpr std::size_t kMinBufferSize = 64;
// A blank and the longest 64-bit decimal with its sign.
constexpr std::size_t kMaxIntChars = 21;
}  // namespace

RecordWriter::RecordWriter(OutputSink& sink, std::size_t bufferSize)
    : sink_(sink),
      buffer_(std::make_unique<char[]>(std::max(bufferSize, kMinBufferSize))),
      capacity_(std::max(bufferSize, kMinBufferSize)) {}

void RecordWriter::Int(std::int64_t value) {
  if (capacity_ - used_ < kMaxIntChars) Flush();
  char* out = buffer_.get() + used_;
  *out++ = ' ';
  // The buffer always has room, so to_chars cannot fail.
  const auto result = std::to_chars(out, buffer_.get() + capacity_, value);
  used_ = static_cast<std::size_t>(result.ptr - buffer_.get());
}

void RecordWriter::Raw(std::string_view text) {
  while (!text.empty()) {
    if (used_ == capacity_) Flush();
    const std::size_t n = std::min(text.size(), capacity_ - used_);
    std::memcpy(buffer_.get() + used_, text.data(), n);
    used_ += n;
    text.remove_prefix(n);
  }
}

bool RecordWriter::Flush() {
  if (used_ > 0) {
    if (ok_ && !sink_.Write(std::string_view(buffer_.get(), used_))) ok_ = false;
    flushed_ += used_;
    used_ = 0;
  }
  return ok_;
}

}  // namespace orvik::gen
