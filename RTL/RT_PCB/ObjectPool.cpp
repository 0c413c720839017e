#include "RTL/RT_PCB/ObjectPool.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#include "platform/Pages.h"

namespace orvik::pool {
namespace {

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

}  // namespace

void* AllocateBlock() {
  if (void* block = g_pool.spare) {
    g_pool.spare = *static_cast<void**>(block);
    return block;
  }
  void* p = platform::AllocatePages(kBlock);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

void ReleaseBlock(void* block) noexcept {
  if (block == nullptr) return;
  *static_cast<void**>(block) = g_pool.spare;
  g_pool.spare = block;
}

void* Allocate(std::size_t size) {
  if (size == 0) size = 1;
  if (size > kLargest) return ::operator new(size);
  const std::size_t c = ClassOf(size);
  if (FreeItem* item = g_pool.free[c]) {
    g_pool.free[c] = item->next;
    return item;
  }
  const std::size_t bytes = (c + 1) * kGrain;
  if (g_pool.left < bytes) {
    auto* block = static_cast<unsigned char*>(AllocateBlock());
    *static_cast<void**>(static_cast<void*>(block)) = g_pool.blocks;
    g_pool.blocks = block;
    g_pool.next = block + kGrain;
    g_pool.left = kBlock - kGrain;
  }
  void* p = g_pool.next;
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
}

}  // namespace orvik::pool
