// The host's progress indicator: the range the plug-in opens with
// Percent_Init, the steps it takes, its close, counts of all three calls,
// and the callback that shows them (KvHost_SetProgressCallback).
#pragma once

#include <cstdint>
#include <limits>
#include <string>

#include "orvik/kovlan.h"

namespace kovlan {

class ProgressIndicator {
 public:
  void Reset();
  void Init(const OrvikShortString* message, int32_t total);
  void Update() {
    CountUp(updates_);
    if (!open_) return;
    CountUp(done_);
    if (callback_ != nullptr) [[unlikely]]
      Notify(KVHOST_PROGRESS_UPDATE);
  }
  void Finish();
  // Counts stop at the end of the int32 range: a host that lives through
  // more than 2^31 steps (one per character read) must not overflow.
  static void CountUp(int32_t& counter) {
    if (counter < std::numeric_limits<int32_t>::max()) ++counter;
  }

  void SetCallback(KvHostProgressFn cb, void* ctx);
  bool Open() const { return open_; }
  int32_t State(char* message, int32_t size, int32_t* done, int32_t* total) const;
  void Counts(int32_t* inits, int32_t* updates, int32_t* finishes) const;

 private:
  void Notify(int32_t event);

  bool open_ = false;
  std::string message_;
  int32_t total_ = 0;
  int32_t done_ = 0;
  int32_t inits_ = 0;
  int32_t updates_ = 0;
  int32_t finishes_ = 0;
  KvHostProgressFn callback_ = nullptr;
  void* context_ = nullptr;
};

}  // namespace kovlan
