// Large blocks of zeroed memory straight from the operating system, for the
// bump allocators of the plug-in and the stand-in host. A large import
// touches hundreds of megabytes once. On Linux, blocks that are a whole
// number of large pages are placed on a large-page boundary and offered to
// the system for large pages, which cuts the page faults of first touch by
// up to 512 times where the system grants them.
#pragma once

#include <cstddef>

namespace orvik::platform {

// The size of a large page the system may back a block with (2 MiB).
inline constexpr std::size_t kLargePage = std::size_t{2} << 20;

// `size` bytes of zeroed memory, page-aligned (on Linux large-page aligned
// when `size` is a multiple of kLargePage); null when memory is exhausted.
void* AllocatePages(std::size_t size) noexcept;
// Gives back a block from AllocatePages of the same size; null is ignored.
void ReleasePages(void* block, std::size_t size) noexcept;

}  // namespace orvik::platform
