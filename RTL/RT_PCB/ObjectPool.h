// Storage for client objects: an import makes millions of small objects of
// a few sizes (tracks, arcs, vias, pads...). They come from large blocks,
// one free list per size class, without a per-object header; freed objects
// go back to their list for the next objects of that size. Not locked: one
// thread at a time uses it (the reading pass's for records, then the host's
// calling thread for objects).
#pragma once

#include <cstddef>
#include <memory>

namespace orvik::platform {
class PagesAhead;
}

namespace orvik::pool {

// Room for an object of `size` bytes (any size; large ones come from the
// global allocator). Raises std::bad_alloc when memory is exhausted.
void* Allocate(std::size_t size);
// Gives back room from Allocate with the same size.
void Release(void* p, std::size_t size) noexcept;

// Whole blocks of kBlockBytes (page-aligned, not cleared) for the other
// bump storage of an import, the readers' record lists. A block given back
// serves the next block asked for, by either side: the records a reader
// frees once its objects exist become room for the next objects, without
// new pages. One MiB: nine record lists fill blocks side by side, and the
// last block of each is made ready ahead whole (TBlocksAhead).
inline constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
// Raises std::bad_alloc when memory is exhausted.
void* AllocateBlock();
void ReleaseBlock(void* block) noexcept;

// While one exists, new blocks are made ready ahead of use (see
// platform::PagesAhead): for a stretch that makes many objects. One at a
// time, on the thread that uses the pool.
class TBlocksAhead {
 public:
  TBlocksAhead();
  ~TBlocksAhead();
  TBlocksAhead(const TBlocksAhead&) = delete;
  TBlocksAhead& operator=(const TBlocksAhead&) = delete;

 private:
  std::unique_ptr<platform::PagesAhead> ahead_;
  platform::PagesAhead* previous_;
};

}  // namespace orvik::pool
