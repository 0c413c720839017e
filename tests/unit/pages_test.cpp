// Large zeroed blocks from the operating system: zeroed, aligned as
// promised, writable to the last byte, and given back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/Pages.h"

namespace {

using orvik::platform::AllocatePages;
using orvik::platform::kLargePage;
using orvik::platform::ReleasePages;

TEST(Pages, BlocksAreZeroedAlignedAndWritable) {
  const std::size_t sizes[] = {1, 4096, 12345, kLargePage, 2 * kLargePage, 3 * kLargePage};
  for (const std::size_t size : sizes) {
    // Several at once, so that a block placed over another shows.
    void* blocks[3];
    for (void*& block : blocks) {
      block = AllocatePages(size);
      ASSERT_NE(block, nullptr) << size;
      const auto address = reinterpret_cast<std::uintptr_t>(block);
      EXPECT_EQ(address % 4096, 0u) << size;
#if defined(__linux__)
      // Where large pages are offered, whole large pages start on one.
      if (size % kLargePage == 0) {
        EXPECT_EQ(address % kLargePage, 0u) << size;
      }
#endif
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
  ReleasePages(nullptr, kLargePage);
}

TEST(Pages, ImpossibleSizesFailWithoutCrashing) {
  EXPECT_EQ(AllocatePages(SIZE_MAX), nullptr);
  EXPECT_EQ(AllocatePages(SIZE_MAX - kLargePage + 1), nullptr);
  EXPECT_EQ(AllocatePages(SIZE_MAX / kLargePage * kLargePage), nullptr);
}

}  // namespace
