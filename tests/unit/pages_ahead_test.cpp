// Blocks made ready ahead: zeroed and page-aligned like any fresh block,
// and what the caller writes into a block stays, even while the background
// thread is still populating that block's pages.
#include "platform/PagesAhead.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "RTL/RT_PCB/ObjectPool.h"
#include "platform/Pages.h"

namespace orvik {
namespace {

constexpr std::size_t kPage = 4096;

TEST(PagesAhead, BlocksAreZeroedDistinctAndKeepWhatIsWritten) {
  constexpr std::size_t kBlock = std::size_t{1} << 20;
  constexpr std::size_t kBlocks = 3 * (platform::PagesAhead::kWarmUpBytes / kBlock) + 5;
  std::vector<std::uint8_t*> blocks;
  {
    platform::PagesAhead ahead(kBlock);
    for (std::size_t b = 0; b < kBlocks; ++b) {
      auto* block = static_cast<std::uint8_t*>(ahead.Take());
      ASSERT_NE(block, nullptr);
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % kPage, 0u) << b;
      // Written at once, while its pages may still be being populated.
      for (std::size_t at = 0; at < kBlock; at += kPage / 2) {
        ASSERT_EQ(block[at], 0) << "block " << b << " byte " << at;
        block[at] = static_cast<std::uint8_t>(b + at / kPage + 1);
      }
      blocks.push_back(block);
    }
  }  // the thread stops; a block made ahead and not taken is given back
  EXPECT_EQ(std::set<std::uint8_t*>(blocks.begin(), blocks.end()).size(), kBlocks);
  for (std::size_t b = 0; b < kBlocks; ++b) {
    for (std::size_t at = 0; at < kBlock; at += kPage / 2) {
      ASSERT_EQ(blocks[b][at], static_cast<std::uint8_t>(b + at / kPage + 1)) << "block " << b << " byte " << at;
    }
    platform::ReleasePages(blocks[b], kBlock);
  }
}

TEST(PagesAhead, NothingIsMadeUntilAskedFor) {
  platform::PagesAhead unused(std::size_t{1} << 20);  // destroyed without a thread or a block
  platform::PagesAhead small(std::size_t{1} << 20);
  void* block = small.Take();
  ASSERT_NE(block, nullptr);
  platform::ReleasePages(block, std::size_t{1} << 20);
}

TEST(PagesAhead, ThePoolTakesFreshBlocksAheadOnlyWhileAScopeLasts) {
  // Spare blocks first, then fresh ones; all usable, in and out of scopes,
  // nested scopes included.
  std::vector<void*> taken;
  {
    const pool::TBlocksAhead outer;
    {
      const pool::TBlocksAhead inner;
      for (int i = 0; i < 6; ++i) taken.push_back(pool::AllocateBlock());
    }
    for (int i = 0; i < 6; ++i) taken.push_back(pool::AllocateBlock());
  }
  for (int i = 0; i < 2; ++i) taken.push_back(pool::AllocateBlock());
  for (void* block : taken) {
    ASSERT_NE(block, nullptr);
    std::memset(block, 0x5A, pool::kBlockBytes);
  }
  EXPECT_EQ(std::set<void*>(taken.begin(), taken.end()).size(), taken.size());
  for (void* block : taken) pool::ReleaseBlock(block);
}

}  // namespace
}  // namespace orvik
