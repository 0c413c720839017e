// Large zeroed blocks from the operating system: zeroed, page-aligned,
// writable to the last byte, apart from each other, and given back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/Pages.h"

namespace {

using orvik::platform::AllocatePages;
using orvik::platform::ReleasePages;

TEST(Pages, BlocksAreZeroedPageAlignedAndWritable) {
  constexpr std::size_t kMiB = std::size_t{1} << 20;
  const std::size_t sizes[] = {1, 4096, 12345, 2 * kMiB, 4 * kMiB, 6 * kMiB + 1};
  for (const std::size_t size : sizes) {
    // Several at once, so that a block placed over another shows.
    void* blocks[3];
    for (void*& block : blocks) {
      block = AllocatePages(size);
      ASSERT_NE(block, nullptr) << size;
      const auto address = reinterpret_cast<std::uintptr_t>(block);
      EXPECT_EQ(address % 4096, 0u) << size;
      const auto* bytes = static_cast<const unsigned char*>(block);
      EXPECT_TRUE(std::all_of(bytes, bytes + size, [](unsigned char b) { return b == 0; })) << size;
    }
    for (std::size_t i = 0; i < 3; ++i) std::memset(blocks[i], static_cast<int>(i + 1), size);
    for (std::size_t i = 0; i < 3; ++i) {
      const auto* bytes = static_cast<const unsigned char*>(blocks[i]);
      EXPECT_EQ(bytes[0], i + 1) << size;
      EXPECT_EQ(bytes[size - 1], i + 1) << size;
    }
    for (void* block : blocks) ReleasePages(block, size);
  }
}

TEST(Pages, NothingToAllocateOrRelease) {
  EXPECT_EQ(AllocatePages(0), nullptr);
  ReleasePages(nullptr, 0);
  ReleasePages(nullptr, 4096);
}

TEST(Pages, ImpossibleSizesFailWithoutCrashing) {
  EXPECT_EQ(AllocatePages(SIZE_MAX), nullptr);
  EXPECT_EQ(AllocatePages(SIZE_MAX - 4095), nullptr);  // no room to round up to a page
}

}  // namespace
