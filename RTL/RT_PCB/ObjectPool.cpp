#include "RTL/RT_PCB/ObjectPool.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#include "platform/Pages.h"
#include "platform/PagesAhead.h"

#if defined(__SANITIZE_ADDRESS__)
#define ORVIK_POOL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVIK_POOL_ASAN 1
#endif
#endif
#ifdef ORVIK_POOL_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace orvik::pool {
namespace {

// Under AddressSanitizer, room that is not handed out (free objects, spare
// blocks, the rest of the current block) is poisoned, so that a use after
// release is reported as it would be for the global allocator.
void Poison([[maybe_unused]] void* p, [[maybe_unused]] std::size_t n) noexcept {
#ifdef ORVIK_POOL_ASAN
  ASAN_POISON_MEMORY_REGION(p, n);
#endif
}
void Unpoison([[maybe_unused]] void* p, [[maybe_unused]] std::size_t n) noexcept {
#ifdef ORVIK_POOL_ASAN
  ASAN_UNPOISON_MEMORY_REGION(p, n);
#endif
}

constexpr std::size_t kGrain = 16;                   // size classes step
constexpr std::size_t kLargest = 1024;               // bigger: global allocator
constexpr std::size_t kClasses = kLargest / kGrain;  // class c holds (c + 1) * kGrain bytes
constexpr std::size_t kBlock = kBlockBytes;

struct FreeItem {
  FreeItem* next;
};

// All zero-initialised: usable before any constructor runs.
struct Pool {
  FreeItem* free[kClasses];
  unsigned char* next;  // unused room of the current block
  std::size_t left;
  void* blocks;  // the blocks, chained through their first word (kept for reuse)
  void* spare;   // blocks given back by ReleaseBlock, chained the same way
};
Pool g_pool;

constexpr std::size_t ClassOf(std::size_t size) noexcept { return (size + kGrain - 1) / kGrain - 1; }

platform::PagesAhead* g_ahead = nullptr;  // while a TBlocksAhead exists

}  // namespace

TBlocksAhead::TBlocksAhead() : ahead_(std::make_unique<platform::PagesAhead>(kBlock)), previous_(g_ahead) {
  g_ahead = ahead_.get();
}

TBlocksAhead::~TBlocksAhead() { g_ahead = previous_; }

void* AllocateBlock() {
  if (void* block = g_pool.spare) {
    g_pool.spare = *static_cast<void**>(block);
    Unpoison(block, kBlock);
    return block;
  }
  void* p = g_ahead != nullptr ? g_ahead->Take() : platform::AllocatePages(kBlock);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

void ReleaseBlock(void* block) noexcept {
  if (block == nullptr) return;
  *static_cast<void**>(block) = g_pool.spare;
  g_pool.spare = block;
  Poison(static_cast<unsigned char*>(block) + sizeof(void*), kBlock - sizeof(void*));
}

void* Allocate(std::size_t size) {
  if (size == 0) size = 1;
  if (size > kLargest) return ::operator new(size);
  const std::size_t c = ClassOf(size);
  const std::size_t bytes = (c + 1) * kGrain;
  if (FreeItem* item = g_pool.free[c]) {
    g_pool.free[c] = item->next;
    Unpoison(item, bytes);
    return item;
  }
  if (g_pool.left < bytes) {
    auto* block = static_cast<unsigned char*>(AllocateBlock());
    *static_cast<void**>(static_cast<void*>(block)) = g_pool.blocks;
    g_pool.blocks = block;
    g_pool.next = block + kGrain;
    g_pool.left = kBlock - kGrain;
    Poison(g_pool.next, g_pool.left);
  }
  void* p = g_pool.next;
  Unpoison(p, bytes);
  g_pool.next += bytes;
  g_pool.left -= bytes;
  return p;
}

void Release(void* p, std::size_t size) noexcept {
  if (p == nullptr) return;
  if (size == 0) size = 1;
  if (size > kLargest) {
    ::operator delete(p);
    return;
  }
  const std::size_t c = ClassOf(size);
  auto* item = static_cast<FreeItem*>(p);
  item->next = g_pool.free[c];
  g_pool.free[c] = item;
  Poison(static_cast<unsigned char*>(p) + sizeof(FreeItem), (c + 1) * kGrain - sizeof(FreeItem));
}

}  // namespace orvik::pool
