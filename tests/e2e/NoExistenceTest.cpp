// A host whose main program does not export ClientAPI_ExistSpecific: the
// plug-in recognises no file and imports nothing, without touching the board.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "orvik/kovlan.h"
#include "tests/support/Plugin.h"
#include "tests/support/StandInHost.h"
#include "tests/support/TestPaths.h"

namespace orvik::test {
namespace {

TEST(NoExistenceCheck, NoFileIsRecognisedOrImported) {
  KvHost_Reset();
  KvHost_SetJournal(1);
  const Plugin plugin;
  const TempDir dir;
  const std::string name = dir.WriteFile("board.pcb", "ORVIK\nLINE 1 0 0 100 100 10\n");

  EXPECT_FALSE(plugin.Recognised(name));
  EXPECT_FALSE(plugin.Import(name));
  EXPECT_FALSE(plugin.Import(name, "ORVIK"));
  EXPECT_STREQ(plugin.Description(), "Orvik Ascii files (*.PCB)");

  EXPECT_EQ(JournalLines(), std::vector<std::string>{}) << "the host module was called";
  EXPECT_EQ(KvHost_ObjectCount(0), 0);
  int32_t inits = -1, updates = -1, finishes = -1;
  KvHost_ProgressCounts(&inits, &updates, &finishes);
  EXPECT_EQ(inits, 0);
  EXPECT_EQ(updates, 0);
  EXPECT_EQ(finishes, 0);
}

}  // namespace
}  // namespace orvik::test
