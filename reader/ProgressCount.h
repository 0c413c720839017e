// The reading pass can run on a worker thread while the host's thread makes
// its progress calls. The worker then counts its steps here instead of
// calling the host, and hands the count over a file block at a time; the
// host's thread replays exactly as many calls, in the same place among the
// import's host calls (the reading pass makes no other host call).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "RTL/RT_PCB/PcbApi.h"

namespace orvik {

// The host's progress step, resolved once per use: straight to the entry
// point once the module is bound; through the wrapper (which tries to bind
// on every call) while it is not.
class THostStep {
 public:
  THostStep() noexcept : fn_(pcbapi::Percent_Update.Bound()) {}
  void operator()() const noexcept {
    if (fn_ != nullptr) [[likely]] {
      fn_();
    } else {
      pcbapi::Percent_Update();
    }
  }

 private:
  PcbApi_Percent_Update_fn fn_;
};

class TProgressCount {
 public:
  // Worker side: steps counted so far, and handing them over.
  void Add(std::uint64_t steps) noexcept { counted_ += steps; }
  void Publish();
  // The worker is done (or failed): hands over the final count.
  void Finish();

  // Host side: waits until more than `replayed` steps are handed over or the
  // worker is done; returns the count handed over. `finished` tells whether
  // that count is the final one.
  std::uint64_t WaitBeyond(std::uint64_t replayed, bool& finished);

 private:
  std::uint64_t counted_ = 0;  // the worker's own

  std::mutex mutex_;
  std::condition_variable changed_;
  std::uint64_t published_ = 0;
  bool finished_ = false;
};

}  // namespace orvik
