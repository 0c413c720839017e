#include "platform/PagesAhead.h"

#include <system_error>

#include "platform/Pages.h"

#if !defined(_WIN32)
#include <sys/mman.h>
#endif

namespace orvik::platform {

namespace {

#if !defined(_WIN32) && defined(MADV_POPULATE_WRITE)
constexpr bool kCanPopulate = true;
// Faults the pages of `block` in, writable, without changing what they hold.
void PopulatePages(void* block, std::size_t size) noexcept { ::madvise(block, size, MADV_POPULATE_WRITE); }
#else
constexpr bool kCanPopulate = false;
void PopulatePages(void*, std::size_t) noexcept {}
#endif

}  // namespace

PagesAhead::PagesAhead(std::size_t blockSize) noexcept
    : blockSize_(blockSize), canGoAhead_(kCanPopulate && std::thread::hardware_concurrency() >= 2) {}

PagesAhead::~PagesAhead() {
  if (thread_.joinable()) {
    {
      const std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }
  ReleasePages(ahead_, blockSize_);
}

void* PagesAhead::Take() noexcept {
  void* block = ahead_ != nullptr ? ahead_ : AllocatePages(blockSize_);
  ahead_ = nullptr;
  if (block == nullptr || !canGoAhead_) return block;
  taken_ += blockSize_;
  if (taken_ <= kWarmUpBytes) return block;
  if (!thread_.joinable()) {
    try {
      thread_ = std::thread([this] { Populate(); });
    } catch (const std::system_error&) {
      canGoAhead_ = false;
      return block;
    }
  }
  ahead_ = AllocatePages(blockSize_);
  if (ahead_ != nullptr) Post(ahead_);
  return block;
}

void PagesAhead::Post(void* block) noexcept {
  try {
    {
      const std::lock_guard lock(mutex_);
      toPopulate_.push_back(block);
    }
    wake_.notify_one();
  } catch (...) {
    // Not populated ahead: the caller's writes fault its pages in.
  }
}

void PagesAhead::Populate() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] { return stop_ || !toPopulate_.empty(); });
    if (stop_) return;
    void* block = toPopulate_.back();
    toPopulate_.pop_back();
    lock.unlock();
    PopulatePages(block, blockSize_);
    lock.lock();
  }
}

}  // namespace orvik::platform
