#include "platform/Pages.h"

#include <cstdint>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace orvik::platform {

#if defined(_WIN32)

void* AllocatePages(std::size_t size) noexcept {
  if (size == 0) return nullptr;
  // Committed pages read as zero.
  return ::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void ReleasePages(void* block, std::size_t) noexcept {
  if (block != nullptr) ::VirtualFree(block, 0, MEM_RELEASE);
}

#else

namespace {
void* Map(std::size_t size) noexcept {
  void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return p == MAP_FAILED ? nullptr : p;
}
}  // namespace

void* AllocatePages(std::size_t size) noexcept {
  if (size == 0) return nullptr;
  if (size % kLargePage != 0 || size > SIZE_MAX - kLargePage) return Map(size);
  // Map one large page more than asked and unmap the ends around the
  // aligned block.
  auto* raw = static_cast<unsigned char*>(Map(size + kLargePage));
  if (raw == nullptr) return nullptr;
  const auto address = reinterpret_cast<std::uintptr_t>(raw);
  const std::size_t head = (kLargePage - address % kLargePage) % kLargePage;
  if (head != 0) ::munmap(raw, head);
  const std::size_t tail = kLargePage - head;
  if (tail != 0) ::munmap(raw + head + size, tail);
  unsigned char* block = raw + head;
#if defined(MADV_HUGEPAGE)
  // Advice only: without large pages the block works the same.
  ::madvise(block, size, MADV_HUGEPAGE);
#endif
  return block;
}

void ReleasePages(void* block, std::size_t size) noexcept {
  if (block != nullptr) ::munmap(block, size);
}

#endif

}  // namespace orvik::platform
