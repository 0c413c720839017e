// Hostile inputs through the built plug-in into the stand-in host: every
// case ends in bounded time with the expected recognition and import
// results and a plausible board.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "orvik/kovlan.h"
#include "tests/e2e/HostileInputs.h"
#include "tests/e2e/PluginTest.h"

namespace orvik::test {
namespace {

enum Kind : uint8_t { kArc = 1, kPad = 2, kVia = 3, kTrack = 4, kText = 5, kFill = 6, kNet = 8, kComponent = 9 };

// Generous: the slowest build (sanitizers, or Wine) stays well inside it.
constexpr auto kTimeLimit = std::chrono::seconds(60);

int32_t AllObjects() { return KvHost_ObjectCount(0); }

class HostileInput : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    KvHost_Reset();
  }

  // Recognition and import of `name`, each checked against its expected
  // result and the time limit; progress is closed afterwards.
  void Run(const std::string& name, bool recognised, bool imported) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(plugin_.Recognised(name), recognised);
    EXPECT_EQ(plugin_.Import(name), imported);
    EXPECT_LT(std::chrono::steady_clock::now() - start, kTimeLimit);
    EXPECT_EQ(KvHost_ProgressOpen(), 0);
  }
  std::string Write(const std::string& bytes) { return dir_.WriteFile("hostile.pcb", bytes); }
  void Import(const std::string& bytes) {
    KvHost_Reset();
    Run(Write(bytes), true, true);
  }
};

TEST_F(HostileInput, FilesWithoutTheFormatWordAreRefused) {
  for (const HostileCase& input : RefusedInputs()) {
    SCOPED_TRACE(input.name);
    KvHost_Reset();
    Run(Write(input.bytes), false, false);
    EXPECT_EQ(AllObjects(), 0);
  }
}

TEST_F(HostileInput, DegenerateContentImportsWithoutObjects) {
  for (const HostileCase& input : DegenerateInputs()) {
    SCOPED_TRACE(input.name);
    Import(input.bytes);
    EXPECT_EQ(AllObjects(), 0);
  }
}

TEST_F(HostileInput, BinaryGarbageImportsPlausibly) {
  Import(BinaryGarbageInput().bytes);
  EXPECT_GE(AllObjects(), 0);
  EXPECT_LE(AllObjects(), 3 * static_cast<int32_t>(RecordSamples().size()));
}

TEST_F(HostileInput, RecordsSurviveNulAndEndOfFileBytes) {
  // 0x1A in the middle of a record ends the data; the record is kept.
  for (const HostileCase& input : NulAndEndOfFileInputs()) {
    SCOPED_TRACE(input.name);
    Import(input.bytes);
    EXPECT_EQ(KvHost_ObjectCount(kTrack), 1);
  }
}

TEST_F(HostileInput, MillionCharacterQuotedToken) {
  const std::vector<HostileCase> inputs = MillionCharacterInputs();
  Import(inputs[0].bytes);
  EXPECT_EQ(KvHost_ObjectCount(kText), 1);
  EXPECT_EQ(KvHost_ObjectCount(kTrack), 1);
  // The same without a closing quote and line end.
  Import(inputs[1].bytes);
  EXPECT_EQ(KvHost_ObjectCount(kText), 1);
}

TEST_F(HostileInput, NumbersAtAndPastThe32BitLimits) {
  for (const HostileCase& input : NumberLimitInputs()) {
    SCOPED_TRACE(input.name);
    Import(input.bytes);
    // One object per line after the header.
    const auto lines = static_cast<int32_t>(std::count(input.bytes.begin(), input.bytes.end(), '\n')) - 1;
    EXPECT_EQ(KvHost_ObjectCount(input.kind), lines);
  }
}

TEST_F(HostileInput, EveryRecordTruncatedAtEveryToken) {
  for (const HostileCase& input : TruncatedInputs()) {
    SCOPED_TRACE(input.name);
    Import(input.bytes);
    // The record is kept however early the file ends.
    EXPECT_EQ(KvHost_ObjectCount(input.kind), 1);
  }
}

TEST_F(HostileInput, EveryFieldNonNumeric) {
  for (const HostileCase& input : NonNumericInputs()) {
    SCOPED_TRACE(input.name);
    Import(input.bytes);
    EXPECT_EQ(KvHost_ObjectCount(input.kind), 1);
  }
}

TEST_F(HostileInput, LayerNumbersZeroTo255) {
  Import(LayerNumbersInput().bytes);
  for (Kind kind : {kTrack, kArc, kFill, kComponent}) EXPECT_EQ(KvHost_ObjectCount(kind), 256) << int{kind};
  // Each component brings its designator and comment texts.
  EXPECT_EQ(KvHost_ObjectCount(kText), 3 * 256);
}

TEST_F(HostileInput, FileThatDisappearsAfterRecognition) {
  const std::string name = Write(kHostileHeader + TrackSampleLine() + "\n");
  EXPECT_TRUE(plugin_.Recognised(name));
  std::filesystem::remove(name);
  Run(name, false, false);
  // The host insists the file exists; opening it fails all the same.
  SetExistAnswer(ExistAnswer::Yes);
  Run(name, false, false);
  EXPECT_EQ(AllObjects(), 0);
}

TEST_F(HostileInput, DirectoryIsNoFile) {
  std::filesystem::create_directory(dir_.Path() / "board.pcb");
  SetExistAnswer(ExistAnswer::Yes);
  Run(NarrowName(dir_.Path() / "board.pcb"), false, false);
  EXPECT_EQ(AllObjects(), 0);
}

#ifndef _WIN32
TEST_F(HostileInput, FifoIsNoFileAndDoesNotBlock) {
  const std::string name = NarrowName(dir_.Path() / "pipe.pcb");
  ASSERT_EQ(mkfifo(name.c_str(), 0600), 0);
  Run(name, false, false);
  EXPECT_EQ(AllObjects(), 0);
}

TEST_F(HostileInput, UnreadableFile) {
  const std::string name = Write(kHostileHeader + TrackSampleLine() + "\n");
  ASSERT_EQ(chmod(name.c_str(), 0), 0);
  // The superuser reads it all the same.
  const bool readable = access(name.c_str(), R_OK) == 0;
  Run(name, readable, readable);
  EXPECT_EQ(KvHost_ObjectCount(kTrack), readable ? 1 : 0);
}
#endif

}  // namespace
}  // namespace orvik::test
