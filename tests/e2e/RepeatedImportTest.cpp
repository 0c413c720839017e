// Many imports in one process through the built plug-in: the board a file
// gives does not depend on what was imported before, and the heap returns
// to its size after a warm-up. (Sanitizer builds check leaks with
// LeakSanitizer at exit instead of the heap size.)
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "orvik/kovlan.h"
#include "tests/e2e/PluginTest.h"

#if defined(__SANITIZE_ADDRESS__)
#define ORVIK_HEAP_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVIK_HEAP_SANITIZED 1
#endif
#endif

namespace orvik::test {
namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class RepeatedImports : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    const std::string header = "ORVIK ASCII PCB 1.0\n";
    files_ = {
        NarrowName(ProgramDirectory() / "testdata" / "demo-board.pcb"),
        dir_.WriteFile("records.pcb", header +
                                          "COMP U1 L \"quad gate\" SO14 LIB 100 200 90 1 0 0 7 1\n"
                                          "NET \"DATA 0\" 4 0 0 0\nPAD RR 40 80 0 BL SMD 1 110 220 4 7 0\n"
                                          "TEXT .REFDES 60 0 8 8 10 10 0 0 0 0 7 0\nLINE 10 0 0 0 100 100 4 7 0\n"),
        dir_.WriteFile("truncated.pcb", header + "VIA STD 30 12 0 100"),
        dir_.WriteFile("garbage.pcb", header + "\x01\x02 PAD \"unterminated\n\x1A LINE 1 2 3\n"),
        dir_.WriteFile("nets.pcb", header + "NET A 1 0 0 0\nNET B 1 0 0 0\nNET C 65537 0 0 0\n"),
    };
  }

  // The board JSON that importing `file` into a fresh board gives.
  std::string ImportAndDump(const std::string& file) {
    KvHost_Reset();
    EXPECT_TRUE(plugin_.Import(file)) << file;
    EXPECT_EQ(KvHost_ProgressOpen(), 0);
    const std::filesystem::path dump = dir_.Path() / "dump.json";
    EXPECT_EQ(KvHost_DumpJson(NarrowName(dump).c_str()), 0);
    return ReadAll(dump);
  }

  std::vector<std::string> files_;
};

TEST_F(RepeatedImports, SameFileGivesTheSameBoardWhateverCameBefore) {
  std::map<std::string, std::string> first;
  for (const std::string& f : files_) first[f] = ImportAndDump(f);
  for (const auto& [file, dump] : first) EXPECT_NE(dump.find('{'), std::string::npos) << file;
  // Several rounds in changing orders, without resets between imports too.
  for (int round = 0; round < 4; ++round) {
    for (std::size_t i = 0; i < files_.size(); ++i) {
      const std::string& f = files_[(i * (round + 1) + round) % files_.size()];
      EXPECT_TRUE(plugin_.Import(f));
      EXPECT_EQ(ImportAndDump(f), first[f]) << f << " in round " << round;
    }
  }
}

#if defined(__GLIBC__) && !defined(ORVIK_HEAP_SANITIZED)
TEST_F(RepeatedImports, HeapReturnsToItsSizeAfterWarmUp) {
  auto heapInUse = [] { return static_cast<long long>(mallinfo2().uordblks); };
  for (const std::string& f : files_) ImportAndDump(f);
  KvHost_Reset();
  const long long start = heapInUse();
  for (int round = 0; round < 20; ++round) {
    for (const std::string& f : files_) {
      KvHost_Reset();
      EXPECT_TRUE(plugin_.Import(f));
    }
  }
  KvHost_Reset();
  // A leak of one object per import would pass this tolerance many times.
  EXPECT_LE(heapInUse() - start, 64 * 1024);
}
#endif

}  // namespace
}  // namespace orvik::test
