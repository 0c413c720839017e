// Storage for client objects: an import makes millions of small objects of
// a few sizes (tracks, arcs, vias, pads...). They come from large blocks,
// one free list per size class,
// without a per-object header; freed objects go back to their list for the
// next objects of that size. Single-threaded, like everything on the import
// road (the host's calling thread).
#pragma once

#include <cstddef>

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
// new pages.
inline constexpr std::size_t kBlockBytes = std::size_t{4} << 20;
// Raises std::bad_alloc when memory is exhausted.
void* AllocateBlock();
void ReleaseBlock(void* block) noexcept;

}  // namespace orvik::pool
