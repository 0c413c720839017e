// No host PCB module in the process: every wrapper returns its default and
// nothing is bound, however often the wrappers try again.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

#include "RTL/RT_PCB/PcbApi.h"

namespace orvik::pcbapi {
namespace {

using Result = std::optional<long long>;

// Calls a wrapper with zero for every number and null for every address; no
// address is touched while the slot is empty.
template <class W, class R, class... P>
Result CallWithZeros(const W& wrapper, R (*)(P...)) {
  if constexpr (std::is_void_v<R>) {
    wrapper(P{}...);
    return std::nullopt;
  } else {
    return static_cast<long long>(wrapper(P{}...));
  }
}
Result CallWithZeros(const decltype(Percent_Init)& wrapper, PcbApi_Percent_Init_sig*) {
  wrapper("Loading board.pcb (Orvik)", 100);
  return std::nullopt;
}
Result CallWithZeros(const decltype(GetDesignatorDisplayString)& wrapper, PcbApi_GetDesignatorDisplayString_sig*) {
  ShortString<254> text("stale");
  const long long result = wrapper(text, 7);
  return text.empty() ? Result(result) : Result(-1);
}

struct WrapperCall {
  Entry entry;
  const char* name;
  Result (*call)();
};

const WrapperCall kWrappers[] = {
#define ORVIK_WRAPPER_CALL(ret, name, params) \
  {Entry::name, #name, [] { return CallWithZeros(name, static_cast<PcbApi_##name##_sig*>(nullptr)); }},
    ORVIK_PCBAPI_PROTOTYPES(ORVIK_WRAPPER_CALL)
#undef ORVIK_WRAPPER_CALL
};

TEST(NoModule, EveryWrapperReturnsItsDefault) {
  const std::set<std::string> defaultOne = {"QueryBoardSplitPlaneMode", "QueryBoardLayerPairsCount",
                                            "QueryManualFromTo",        "AddMemberToClass",
                                            "GetMemberFromClassAt",     "RemoveAllMembersFromClass"};
  for (const WrapperCall& w : kWrappers) {
    const Result result = w.call();
    if (result.has_value()) {
      EXPECT_EQ(*result, defaultOne.count(w.name) ? 1 : 0) << w.name;
    }
  }
  EXPECT_EQ(PcbApiModule(), 0u);
  for (int i = 0; i < kEntryCount; ++i) EXPECT_FALSE(IsResolved(static_cast<Entry>(i))) << i;
}

TEST(NoModule, ImportRoadCallsLeaveTheCallersValuesAlone) {
  EXPECT_EQ(GetCurrentBoardHandle(), 0u);
  EXPECT_EQ(CreateObject(4), 0u);
  EXPECT_EQ(AddObjectToContainer(1, 2), 0);

  int32_t pairs = -7;
  EXPECT_EQ(QueryBoardLayerPairsCount(0, &pairs, ORVIK_SM_READ), 1);
  EXPECT_EQ(pairs, -7);
  uint8_t splitMode = 9;
  EXPECT_EQ(QueryBoardSplitPlaneMode(ORVIK_SM_READ, 0, &splitMode), 1);
  EXPECT_EQ(splitMode, 9);

  uint16_t flags = 0x1234;
  int16_t index = 5;
  uint32_t layer = 77;
  int32_t net = 3, component = 4, x1 = 10, y1 = 11, x2 = 12, y2 = 13, width = 14, p1 = 15, p2 = 16, p3 = 17;
  uint8_t aux = 8;
  EXPECT_EQ(QueryTrack(ORVIK_SM_READ, 42, &flags, &index, &layer, &net, &aux, &component, &x1, &y1, &x2, &y2, &width,
                       &p1, &p2, &p3),
            0);
  EXPECT_EQ(flags, 0x1234);
  EXPECT_EQ(layer, 77u);
  EXPECT_EQ(x1, 10);
  EXPECT_EQ(p3, 17);
  EXPECT_EQ(PcbApiModule(), 0u);
}

}  // namespace
}  // namespace orvik::pcbapi
