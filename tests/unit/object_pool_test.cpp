// The client object pool: room given back serves what is asked for next
// (the import relies on it to reuse its records' room for objects), and,
// under AddressSanitizer, room given back is poisoned.
#include "RTL/RT_PCB/ObjectPool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "reader/RecordList.h"

#if defined(__SANITIZE_ADDRESS__)
#define ORVIK_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVIK_TEST_ASAN 1
#endif
#endif

namespace orvik {
namespace {

TEST(ObjectPool, RoomGivenBackIsHandedOutAgain) {
  // Objects: the next object of the same size class takes the freed room.
  void* object = pool::Allocate(72);
  pool::Release(object, 72);
  EXPECT_EQ(pool::Allocate(70), object);
  pool::Release(object, 70);

  // Blocks: given back last, handed out first.
  void* first = pool::AllocateBlock();
  void* second = pool::AllocateBlock();
  ASSERT_NE(first, second);
  pool::ReleaseBlock(first);
  pool::ReleaseBlock(second);
  EXPECT_EQ(pool::AllocateBlock(), second);
  EXPECT_EQ(pool::AllocateBlock(), first);
  pool::ReleaseBlock(first);
  pool::ReleaseBlock(second);
}

TEST(ObjectPool, ARecordListGivesItsBlocksBackWhenCleared) {
  struct Record {
    std::int64_t a = 0, b = 0;
  };
  TRecordList<Record> records;
  for (std::size_t i = 0; i < 2 * TRecordList<Record>::kBlockRecords + 1; ++i) records.emplace_back().a = 1;
  std::set<const void*> blocks;
  for (std::size_t i = 0; i < records.size(); i += TRecordList<Record>::kBlockRecords) blocks.insert(&records[i]);
  ASSERT_EQ(blocks.size(), 3u);
  records.clear();
  std::set<const void*> reused;
  void* taken[3];
  for (void*& block : taken) reused.insert(block = pool::AllocateBlock());
  EXPECT_EQ(reused, blocks);
  for (void* block : taken) pool::ReleaseBlock(block);
}

#ifdef ORVIK_TEST_ASAN
TEST(ObjectPoolDeathTest, RoomGivenBackIsPoisoned) {
  auto* object = static_cast<volatile std::int64_t*>(pool::Allocate(64));
  object[3] = 1;
  pool::Release(const_cast<std::int64_t*>(object), 64);
  EXPECT_DEATH(object[3] = 2, "use-after-poison");

  auto* block = static_cast<volatile std::int64_t*>(pool::AllocateBlock());
  block[100] = 1;
  pool::ReleaseBlock(const_cast<std::int64_t*>(block));
  EXPECT_DEATH(block[100] = 2, "use-after-poison");
}
#endif

}  // namespace
}  // namespace orvik
