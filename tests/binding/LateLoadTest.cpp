// The host loads its PCB module after the plug-in code has started: the first
// wrapper call binds it and resolves every name in one pass.
#include <gtest/gtest.h>

#include <string>

#include "RTL/RT_PCB/PcbApi.h"
#include "orvik/kovlan.h"
#include "tests/support/Modules.h"

namespace orvik::pcbapi {
namespace {

TEST(LateLoad, FirstWrapperCallBindsTheModuleAndResolvesAllNames) {
  // Started without the module: unbound, every slot empty.
  ASSERT_EQ(PcbApiModule(), 0u);
  for (int i = 0; i < kEntryCount; ++i) ASSERT_FALSE(IsResolved(static_cast<Entry>(i)));

  const platform::Library kovlan = test::OpenModule(ORVIK_PCBAPI_MODULE_NAME);
  EXPECT_EQ(PcbApiModule(), 0u) << "bound before any wrapper call";
  const auto reset = kovlan.Function<void(ORVIK_STDCALL*)()>("KvHost_Reset");
  const auto boardHandle = kovlan.Function<uint32_t(ORVIK_STDCALL*)()>("KvHost_BoardHandle");
  const auto objectKind = kovlan.Function<uint8_t(ORVIK_STDCALL*)(uint32_t)>("KvHost_ObjectKind");
  const auto progress =
      kovlan.Function<int32_t(ORVIK_STDCALL*)(char*, int32_t, int32_t*, int32_t*)>("KvHost_ProgressState");
  ASSERT_TRUE(reset && boardHandle && objectKind && progress);
  reset();

  const uint32_t board = GetCurrentBoardHandle();
  EXPECT_NE(board, 0u);
  EXPECT_EQ(board, boardHandle());
  EXPECT_NE(PcbApiModule(), 0u);
  for (int i = 0; i < kEntryCount; ++i) {
    const auto entry = static_cast<Entry>(i);
    EXPECT_TRUE(IsResolved(entry)) << EntryName(entry);
    EXPECT_EQ(SlotAddress(entry), kovlan.Symbol(EntryName(entry))) << EntryName(entry);
  }

  // The wrappers now reach the module.
  const uint32_t track = CreateObject(4);
  EXPECT_NE(track, 0u);
  EXPECT_EQ(objectKind(track), 4);
  Percent_Init("Loading late.pcb (Orvik)", 3);
  char message[64] = {};
  int32_t done = -1, total = -1;
  EXPECT_EQ(progress(message, sizeof message, &done, &total), 1);
  EXPECT_STREQ(message, "Loading late.pcb (Orvik)");
  EXPECT_EQ(total, 3);
  Percent_Finish();
  EXPECT_EQ(progress(nullptr, 0, nullptr, nullptr), 0);
}

}  // namespace
}  // namespace orvik::pcbapi
