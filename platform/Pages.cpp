#include "platform/Pages.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace orvik::platform {

void* AllocatePages(std::size_t size) noexcept {
  if (size == 0) return nullptr;
#if defined(_WIN32)
  // Committed pages read as zero.
  return ::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
#else
  void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return p == MAP_FAILED ? nullptr : p;
#endif
}

void ReleasePages(void* block, std::size_t size) noexcept {
  if (block == nullptr) return;
#if defined(_WIN32)
  (void)size;
  ::VirtualFree(block, 0, MEM_RELEASE);
#else
  ::munmap(block, size);
#endif
}

}  // namespace orvik::platform
