// A module named like the host's PCB module that exports only a few names:
// it binds, the names it has resolve, every other wrapper keeps its default.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "RTL/RT_PCB/PcbApi.h"
#include "tests/binding/PartialKovlan.h"
#include "tests/support/Modules.h"

namespace orvik::pcbapi {
namespace {

class PartialModule : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module_ = test::OpenModule(ORVIK_PCBAPI_MODULE_NAME, test::ProgramDirectory() / "partial");
  }
  static platform::Library module_;
};
platform::Library PartialModule::module_;

TEST_F(PartialModule, OnlyTheExportedNamesResolve) {
  EXPECT_EQ(GetCurrentBoardHandle(), kPartialBoardHandle);
  EXPECT_NE(PcbApiModule(), 0u);
  const std::set<std::string> exported = {"PcbApi_GetCurrentBoardHandle", "PcbApi_CreateObject", "PcbApi_Percent_Init",
                                          "PcbApi_GetDesignatorDisplayString", "PCBAPI_GetUnaryRuleForPrimitive"};
  for (int i = 0; i < kEntryCount; ++i) {
    const auto entry = static_cast<Entry>(i);
    EXPECT_EQ(IsResolved(entry), exported.count(EntryName(entry)) == 1) << EntryName(entry);
  }
}

TEST_F(PartialModule, MissingNamesKeepTheirDefaults) {
  EXPECT_EQ(CreateObject(3), kPartialObjectBase + 3);
  int32_t pairs = 5;
  EXPECT_EQ(QueryBoardLayerPairsCount(kPartialBoardHandle, &pairs, ORVIK_SM_READ), 1);
  EXPECT_EQ(pairs, 5);
  EXPECT_EQ(AddObjectToContainer(kPartialBoardHandle, kPartialObjectBase + 3), 0);
  EXPECT_EQ(GetObjectIdFromObjectHandle(kPartialObjectBase + 3), 0);
  EXPECT_EQ(RemoveAllMembersFromClass(1), 1);
  Percent_Update();
  Percent_Finish();
}

TEST_F(PartialModule, UpperCasePrefixNamesAreMatchedExactly) {
  EXPECT_EQ(GetCurrentBoardHandle(), kPartialBoardHandle);
  // The module exports variants in other letter cases; they do not count.
  ASSERT_NE(module_.Symbol("PcbApi_GetBinaryRuleForPrimitive"), nullptr);
  ASSERT_NE(module_.Symbol("pcbapi_CheckPrimitivesOverlapWithClearance"), nullptr);
  EXPECT_TRUE(IsResolved(Entry::PCBAPI_GetUnaryRuleForPrimitive));
  EXPECT_EQ(SlotAddress(Entry::PCBAPI_GetUnaryRuleForPrimitive), module_.Symbol("PCBAPI_GetUnaryRuleForPrimitive"));
  EXPECT_FALSE(IsResolved(Entry::PCBAPI_GetBinaryRuleForPrimitive));
  EXPECT_FALSE(IsResolved(Entry::PCBAPI_CheckPrimitivesOverlapWithClearance));
}

TEST_F(PartialModule, PercentInitPassesACopyCutTo255Characters) {
  const auto lastInit = module_.Function<PartialKovlan_LastPercentInit_fn>("PartialKovlan_LastPercentInit");
  ASSERT_NE(lastInit, nullptr);
  const std::string message = "Loading " + std::string(300, 'm');
  Percent_Init(message, 1234);
  OrvikShortString received{};
  int32_t total = 0;
  lastInit(&received, &total);
  EXPECT_EQ(total, 1234);
  EXPECT_EQ(std::string(received.text, received.length), message.substr(0, 255));
}

TEST_F(PartialModule, DesignatorDisplayStringIsCutTo254Characters) {
  ShortString<254> text("stale");
  EXPECT_EQ(GetDesignatorDisplayString(text, 1), 0);
  EXPECT_EQ(text.View(), std::string(254, kPartialDisplayChar));
}

}  // namespace
}  // namespace orvik::pcbapi
