// Large blocks of zeroed memory straight from the operating system, for the
// bump allocators of the plug-in and the stand-in host: no allocator header
// per block and nothing to clear (the system hands out zeroed pages, and a
// page costs nothing until it is first touched).
//
// Large pages were tried and dropped: on the virtual machines this is
// measured on, a fresh large page costs more to clear than the page faults
// it saves, and on the largest boards the import became slower.
#pragma once

#include <cstddef>

namespace orvik::platform {

// `size` bytes of zeroed, page-aligned memory; null when `size` is 0 or
// memory is exhausted.
void* AllocatePages(std::size_t size) noexcept;
// Gives back a block from AllocatePages of the same size; null is ignored.
void ReleasePages(void* block, std::size_t size) noexcept;

}  // namespace orvik::platform
