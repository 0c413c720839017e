// The block list that keeps a reader's records: order, indexing across
// block boundaries, stable addresses while it grows, and bounds.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "reader/RecordList.h"

namespace {

struct Big {
  std::int64_t id = 0;
  char payload[orvik::pool::kBlockBytes] = {};  // more than a block
};

template <class Record, class Make>
void CheckAgainstVector(std::size_t count, Make make) {
  orvik::TRecordList<Record> list;
  std::vector<Record> expected;
  std::vector<const Record*> addresses;
  for (std::size_t i = 0; i < count; ++i) {
    list.push_back(make(i));
    expected.push_back(make(i));
    addresses.push_back(&list[i]);
  }
  ASSERT_EQ(list.size(), count);
  for (std::size_t i = 0; i < count; ++i) {
    ASSERT_EQ(list[i], expected[i]) << i;
    ASSERT_EQ(&list[i], addresses[i]) << "record " << i << " moved";
  }
  std::size_t i = 0;
  for (const Record& r : list) ASSERT_EQ(r, expected[i++]);
  EXPECT_EQ(i, count);
}

TEST(RecordList, KeepsOrderAndPlaceAcrossBlocks) {
  using Small = std::int32_t;
  const std::size_t perBlock = orvik::TRecordList<Small>::kBlockRecords;
  for (const std::size_t count :
       {std::size_t{0}, std::size_t{1}, perBlock - 1, perBlock, perBlock + 1, 3 * perBlock + 7}) {
    CheckAgainstVector<Small>(count, [](std::size_t i) { return static_cast<Small>(i * 7919u); });
  }
  CheckAgainstVector<std::string>(orvik::TRecordList<std::string>::kBlockRecords * 2 + 3,
                                  [](std::size_t i) { return "record " + std::to_string(i); });
}

TEST(RecordList, RecordsLargerThanABlockTakeOneBlockEach) {
  EXPECT_EQ(orvik::TRecordList<Big>::kBlockRecords, 1u);
  orvik::TRecordList<Big> list;
  for (std::int64_t i = 0; i < 5; ++i) list.emplace_back().id = i;
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(list[i].id, static_cast<std::int64_t>(i));
}

TEST(RecordList, AtChecksBoundsAndClearEmpties) {
  orvik::TRecordList<int> list;
  EXPECT_THROW(list.at(0), std::out_of_range);
  list.push_back(4);
  list.push_back(5);
  EXPECT_EQ(list.at(1), 5);
  EXPECT_EQ(list.at(0), 4);
  EXPECT_THROW(list.at(2), std::out_of_range);
  list.clear();
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(list.begin(), list.end());
  list.push_back(6);
  EXPECT_EQ(list.at(0), 6);
}

}  // namespace
