#include "host/kovlan/Progress.h"

#include <algorithm>
#include <cstring>

namespace kovlan {

void ProgressIndicator::Reset() { *this = ProgressIndicator(); }

void ProgressIndicator::Notify(int32_t event) {
  if (callback_ != nullptr) callback_(event, message_.c_str(), done_, total_, context_);
}

void ProgressIndicator::Init(const OrvikShortString* message, int32_t total) {
  message_.assign(message != nullptr ? message->text : "", message != nullptr ? message->length : 0u);
  total_ = total;
  done_ = 0;
  open_ = true;
  CountUp(inits_);
  Notify(KVHOST_PROGRESS_INIT);
}

void ProgressIndicator::Finish() {
  CountUp(finishes_);
  if (!open_) return;
  Notify(KVHOST_PROGRESS_FINISH);
  open_ = false;
}

void ProgressIndicator::SetCallback(KvHostProgressFn cb, void* ctx) {
  callback_ = cb;
  context_ = ctx;
}

int32_t ProgressIndicator::State(char* message, int32_t size, int32_t* done, int32_t* total) const {
  if (message != nullptr && size > 0) {
    const std::size_t n = std::min<std::size_t>(message_.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(message, message_.data(), n);
    message[n] = '\0';
  }
  if (done != nullptr) *done = done_;
  if (total != nullptr) *total = total_;
  return open_ ? 1 : 0;
}

void ProgressIndicator::Counts(int32_t* inits, int32_t* updates, int32_t* finishes) const {
  if (inits != nullptr) *inits = inits_;
  if (updates != nullptr) *updates = updates_;
  if (finishes != nullptr) *finishes = finishes_;
}

}  // namespace kovlan
