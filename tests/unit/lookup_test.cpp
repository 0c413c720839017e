// The number index of the NET and COMP readers against the plain list scan
// (FindObjectByNumber): the same object, or nil, for every key, on random
// lists with many duplicate numbers.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "RTL/RT_PCB/PcbComponent.h"
#include "RTL/RT_PCB/PcbNet.h"
#include "RTL/RT_PCB/PcbText.h"
#include "platform/TextFile.h"
#include "reader/ComponentSection.h"
#include "reader/NetSection.h"
#include "reader/ObjectLookup.h"
#include "tests/fixtures/ReaderTestFiles.h"
#include "tests/support/StandInHost.h"

namespace orvik {
namespace {

using testing::TempFile;

// Keys to try: every number 0..65535, the edges, and random keys far
// outside (negative, above 65535, whose low 16 bits do match objects).
std::vector<std::int32_t> Keys(std::mt19937& random) {
  std::vector<std::int32_t> keys;
  for (std::int32_t k = 0; k <= 0xFFFF; ++k) keys.push_back(k);
  for (std::int32_t k : {-1, -65536, -65535, 65536, 65537, 131072, INT32_MIN, INT32_MAX}) keys.push_back(k);
  std::uniform_int_distribution<std::int32_t> any(INT32_MIN, INT32_MAX);
  for (int i = 0; i < 2000; ++i) keys.push_back(any(random));
  return keys;
}

// Random Index values drawn from a small range, so that most numbers occur
// more than once, plus some from the whole 16-bit range.
std::int16_t RandomIndex(std::mt19937& random) {
  std::uniform_int_distribution<int> pick(0, 9);
  std::uniform_int_distribution<int> small(0, 40);
  std::uniform_int_distribution<int> wide(-32768, 32767);
  return static_cast<std::int16_t>(pick(random) < 8 ? small(random) : wide(random));
}

class LookupIndexTest : public test::FreshHost {
 protected:
  void SetUp() override {
    FreshHost::SetUp();
    file_.Assign(empty_.Path());
  }
  TempFile empty_{""};
  platform::TextFile file_;
};

TEST_F(LookupIndexTest, NetIndexAnswersAsTheScanOnRandomListsWithDuplicates) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::mt19937 random(seed);
    TNetSection nets(file_);
    std::uniform_int_distribution<int> count(0, 300);
    const int n = seed == 1 ? 0 : count(random);
    for (int i = 0; i < n; ++i) {
      auto net = std::make_unique<TPcbNet>(static_cast<std::uint32_t>(i + 1));
      net->Index = RandomIndex(random);
      nets.Objects.push_back(std::move(net));
    }
    nets.NumberIndex.Build(nets.Objects);
    ASSERT_TRUE(nets.NumberIndex.Covers(nets.Objects.size())) << seed;
    for (std::int32_t key : Keys(random)) {
      ASSERT_EQ(FindNetByNumber(nets, key), FindObjectByNumber<TPcbNet>(nets, key))
          << "seed " << seed << " key " << key;
    }
  }
}

TEST_F(LookupIndexTest, ComponentIndexSkipsObjectsOfOtherClassesAsTheScanDoes) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::mt19937 random(seed);
    TComponentSection components(file_);
    std::uniform_int_distribution<int> kind(0, 3);
    for (int i = 0; i < 200; ++i) {
      std::unique_ptr<TPCBObject> object;
      // A list that is not all components: the scan passes over the others.
      if (kind(random) == 0) {
        object = std::make_unique<TPcbText>(static_cast<std::uint32_t>(i + 1));
      } else {
        object = std::make_unique<TPcbComponent>(static_cast<std::uint32_t>(i + 1));
      }
      object->Index = RandomIndex(random);
      components.Objects.push_back(std::move(object));
    }
    components.NumberIndex.Build(components.Objects);
    for (std::int32_t key : Keys(random)) {
      ASSERT_EQ(FindComponentByNumber(components, key), FindObjectByNumber<TPcbComponent>(components, key))
          << "seed " << seed << " key " << key;
    }
  }
}

TEST_F(LookupIndexTest, ALookupOnAListTheIndexDoesNotCoverScans) {
  TNetSection nets(file_);
  auto first = std::make_unique<TPcbNet>(1u);
  first->Index = 7;
  nets.Objects.push_back(std::move(first));
  // No index built yet: the scan answers.
  EXPECT_EQ(FindNetByNumber(nets, 7), nets.Objects[0].get());
  nets.NumberIndex.Build(nets.Objects);
  auto second = std::make_unique<TPcbNet>(2u);
  second->Index = 8;
  nets.Objects.push_back(std::move(second));
  // The list grew after the index was built: still the scan's answer.
  EXPECT_EQ(FindNetByNumber(nets, 8), nets.Objects[1].get());
  EXPECT_EQ(FindNetByNumber(nets, 7), nets.Objects[0].get());
}

TEST_F(LookupIndexTest, CreateObjectsBuildsTheIndexOverTheFileNumbers) {
  // Numbers with duplicates, with high bits beyond 16 and negative ones.
  std::mt19937 random(42);
  std::uniform_int_distribution<int> small(-5, 30);
  std::string netText;
  std::string compText;
  for (int i = 0; i < 120; ++i) {
    const int number = i % 7 == 0 ? small(random) + 65536 * (i % 3) : small(random);
    const std::string index = std::to_string(i);
    const std::string value = std::to_string(number);
    netText.append("N").append(index).append(" ").append(value).append(" 0 0 0\r\n");
    compText.append("U").append(index).append(" x C P x 0 0 0 0 0 0 ").append(value).append(" 0\r\n");
  }
  TempFile netFile(netText);
  TempFile compFile(compText);
  platform::TextFile netTextFile;
  platform::TextFile compTextFile;
  netTextFile.Assign(netFile.Path());
  netTextFile.Reset();
  compTextFile.Assign(compFile.Path());
  compTextFile.Reset();
  TNetSection nets(netTextFile);
  TComponentSection components(compTextFile);
  for (int i = 0; i < 120; ++i) {
    nets.ReadRecords();
    components.ReadRecords();
  }
  nets.CreateObjects();
  components.CreateObjects();
  ASSERT_EQ(nets.Objects.size(), 120u);
  ASSERT_EQ(components.Objects.size(), 120u);
  EXPECT_EQ(nets.NumberIndex.Covers(nets.Objects.size()), !kListScanLookup);
  EXPECT_EQ(components.NumberIndex.Covers(components.Objects.size()), !kListScanLookup);
  for (std::int32_t key = -70000; key <= 140000; ++key) {
    ASSERT_EQ(FindNetByNumber(nets, key), FindObjectByNumber<TPcbNet>(nets, key)) << key;
    ASSERT_EQ(FindComponentByNumber(components, key), FindObjectByNumber<TPcbComponent>(components, key)) << key;
  }
}

}  // namespace
}  // namespace orvik
