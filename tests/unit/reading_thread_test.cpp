// The reading pass runs on the caller's thread or on a worker thread while
// the caller makes its progress calls. Both roads must make the same host
// calls in the same order, build the same board, and fail the same way.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "orvik/kovlan.h"
#include "platform/TextFile.h"
#include "reader/OrvikFile.h"
#include "tests/fixtures/ReaderTestFiles.h"
#include "tests/support/StandInHost.h"

namespace orvik {
namespace {

using testing::HostProgressCounts;
using testing::TempFile;

// Every host call of one import of `path`, with what the host holds after.
struct ImportRun {
  std::vector<std::string> journal;
  std::int32_t updates = 0;
  std::int32_t finishes = 0;
  std::int32_t objects = 0;
  std::string failure;  // what the import raised, if anything
};

ImportRun Import(const std::string& path, TReadingThread thread) {
  KvHost_Reset();
  KvHost_SetJournal(1);
  TOrvikFile::SetReadingThread(thread);
  ImportRun run;
  try {
    TOrvikFile file(path);
    file.Import();
  } catch (const platform::EInOutError& e) {
    run.failure = std::string("EInOutError: ") + e.what();
  } catch (const std::exception& e) {
    run.failure = e.what();
  }
  TOrvikFile::SetReadingThread(TReadingThread::Auto);
  run.journal = test::JournalLines();
  run.updates = HostProgressCounts().Updates;
  run.finishes = HostProgressCounts().Finishes;
  run.objects = KvHost_ObjectCount(0);
  KvHost_SetJournal(0);
  return run;
}

void ExpectSameRuns(const std::string& path, const std::string& name) {
  const ImportRun caller = Import(path, TReadingThread::Caller);
  const ImportRun worker = Import(path, TReadingThread::Worker);
  EXPECT_EQ(worker.failure, caller.failure) << name;
  EXPECT_EQ(worker.updates, caller.updates) << name;
  EXPECT_EQ(worker.finishes, caller.finishes) << name;
  EXPECT_EQ(worker.objects, caller.objects) << name;
  ASSERT_EQ(worker.journal.size(), caller.journal.size()) << name;
  for (std::size_t i = 0; i < caller.journal.size(); ++i) {
    ASSERT_EQ(worker.journal[i], caller.journal[i]) << name << ", call " << i;
  }
}

// Records enough to fill many file blocks, so that the worker hands its
// steps over many times before it is done.
std::string ManyBlocks(const std::string& lineEnd) {
  std::string text = "NET \"GND\" 1 0 0 0" + lineEnd + "COMP U1 x IC SO8 x 0 0 0 0 0 0 1 0" + lineEnd;
  const std::size_t blocks = platform::TextFile::kBufferSize * 3 / 2;
  for (int i = 0; text.size() < blocks; ++i) {
    const std::string n = std::to_string(i);
    text += "LINE 10 1 " + n + " 0 " + n + " 100 1 0 0" + lineEnd;
    text += "PAD SQ 60 60 35 MULTI STD P" + n + " 200 " + n + " 1 1 0" + lineEnd;
    if (i % 50 == 0) text += "UNKNOWN line to skip" + lineEnd;
  }
  return text;
}

TEST(ReadingThread, BothRoadsMakeTheSameHostCalls) {
  ExpectSameRuns(std::string(ORVIK_SOURCE_DIR) + "/examples/demo-board.pcb", "demo board");
  const struct {
    const char* name;
    std::string content;
  } cases[] = {
      {"empty file", ""},
      {"many blocks, CR LF", ManyBlocks("\r\n")},
      {"many blocks, LF", ManyBlocks("\n")},
      {"end-of-data byte in the middle", ManyBlocks("\r\n") + "\x1A" + ManyBlocks("\r\n")},
      {"record cut short by the end", "LINE 10 1 0 0 100"},
      {"quoted text across lines", "TEXT \"open\r\nnext 1 2 3\r\nNET \"A B\" 2 0 0 0\r\n"},
  };
  for (const auto& c : cases) {
    const TempFile file(c.content);
    ExpectSameRuns(file.Path(), c.name);
  }
}

#ifdef __linux__
TEST(ReadingThread, AReadFailureOnTheWorkerReachesTheCaller) {
  // A regular file whose first read fails.
  const ImportRun caller = Import("/proc/self/mem", TReadingThread::Caller);
  const ImportRun worker = Import("/proc/self/mem", TReadingThread::Worker);
  EXPECT_NE(caller.failure.find("EInOutError"), std::string::npos) << caller.failure;
  EXPECT_EQ(worker.failure, caller.failure);
  EXPECT_EQ(worker.journal, caller.journal);
  EXPECT_EQ(worker.finishes, 1);
  EXPECT_EQ(KvHost_ProgressOpen(), 0);
}
#endif

}  // namespace
}  // namespace orvik
