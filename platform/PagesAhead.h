// Fresh page blocks of one size, made ready ahead of use. A bump allocator
// that fills block after block stops at a page fault for every new page; on
// the largest boards that is a sixth of the import. Once a caller has taken
// a few blocks, this keeps the next block allocated and has a background
// thread populate its pages (the system's populate-for-writing advice)
// while the caller fills the current one, so the caller's writes find the
// pages there. The contents are the same zeroed pages either way.
//
// Where the system cannot populate pages ahead (Windows; Linux before 5.14),
// or has one hardware thread only, no thread is started and Take hands out
// blocks as AllocatePages does.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>
#include <vector>

namespace orvik::platform {

class PagesAhead {
 public:
  explicit PagesAhead(std::size_t blockSize) noexcept;
  // Stops the thread; a block made ahead and not taken is given back.
  ~PagesAhead();
  PagesAhead(const PagesAhead&) = delete;
  PagesAhead& operator=(const PagesAhead&) = delete;

  // A zeroed, page-aligned block of the block size (give it back with
  // ReleasePages); null when memory is exhausted.
  void* Take() noexcept;

  // Bytes taken before the next block is made ahead: small users never
  // start the thread or hold a block they do not need.
  static constexpr std::size_t kWarmUpBytes = std::size_t{4} << 20;

 private:
  void Populate();
  void Post(void* block) noexcept;

  const std::size_t blockSize_;
  std::size_t taken_ = 0;  // bytes
  void* ahead_ = nullptr;  // made, handed to the thread to populate
  bool canGoAhead_ = true;

  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<void*> toPopulate_;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace orvik::platform
