#include "reader/ProgressCount.h"

namespace orvik {

void TProgressCount::Publish() {
  {
    const std::lock_guard lock(mutex_);
    published_ = counted_;
  }
  changed_.notify_one();
}

void TProgressCount::Finish() {
  {
    const std::lock_guard lock(mutex_);
    published_ = counted_;
    finished_ = true;
  }
  changed_.notify_one();
}

std::uint64_t TProgressCount::WaitBeyond(std::uint64_t replayed, bool& finished) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return published_ > replayed || finished_; });
  finished = finished_;
  return published_;
}

}  // namespace orvik
