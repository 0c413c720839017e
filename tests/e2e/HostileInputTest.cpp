// Hostile inputs through the built plug-in into the stand-in host: every
// case ends in bounded time with the expected recognition and import
// results and a plausible board.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "orvik/kovlan.h"
#include "tests/e2e/PluginTest.h"

namespace orvik::test {
namespace {

enum Kind : uint8_t { kArc = 1, kPad = 2, kVia = 3, kTrack = 4, kText = 5, kFill = 6, kNet = 8, kComponent = 9 };

const std::string kHeader = "ORVIK ASCII PCB 1.0\r\n";
// Generous: the slowest build (sanitizers, or Wine) stays well inside it.
constexpr auto kTimeLimit = std::chrono::seconds(60);

// One record of each kind, every field valid.
struct RecordSample {
  Kind kind;
  std::string line;
};
const std::vector<RecordSample> kRecords = {
    {kComponent, R"(COMP U1 LOGIC "quad gate" SO14 LIB 100 200 90 1 0 0 7 1)"},
    {kNet, R"(NET "DATA 0" 4 0 0 0)"},
    {kPad, R"(PAD RR 40 80 0 BL SMD "1" 110 220 4 7 0)"},
    {kVia, "VIA STD 30 12 0 100 100 4 0 0"},
    {kTrack, "LINE 10 0 0 0 100 100 4 0 0"},
    {kArc, "ARC 50 0 270 8 9 500 500 0 0 0"},
    {kText, R"(TEXT "hello there" 60 0 8 0 10 10 0 0 0 0 0 0)"},
    {kFill, "FILL 0 0 100 100 17 0 0 0"},
};

std::vector<std::string> Tokens(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line);
  for (std::string t; in >> t;) out.push_back(t);
  return out;
}

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
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"empty", ""},
      {"no header", "LINE 10 0 0 0 100 100 0 0 0\n"},
      {"word on the second line", "PCB\nORVIK\n"},
      {"NUL before the word", std::string("OR\0VIK\n", 7)},
      {"0x1A before the word", "OR\x1AVIK\n"},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    KvHost_Reset();
    Run(Write(bytes), false, false);
    EXPECT_EQ(AllObjects(), 0);
  }
}

TEST_F(HostileInput, DegenerateContentImportsWithoutObjects) {
  std::string garbageTail;
  for (int i = 0; i < 4096; ++i) garbageTail += static_cast<char>((i * 7 + 3) % 256);
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"only a header", kHeader},
      {"header without line end", "ORVIK"},
      {"NUL bytes", kHeader + std::string(100000, '\0')},
      {"0x1A then records", kHeader + "\x1A" + "LINE 10 0 0 0 100 100 0 0 0\n"},
      {"10 MB line", kHeader + std::string(10 * 1024 * 1024, 'x') + "\n"},
      {"unknown keywords", kHeader + "BOARD x\nUNITS MILS\n\tLINE 1 2 3\n"},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    Import(bytes);
    EXPECT_EQ(AllObjects(), 0);
  }
}

TEST_F(HostileInput, BinaryGarbageImportsPlausibly) {
  std::string bytes = kHeader;
  uint32_t state = 12345;
  for (int i = 0; i < 256 * 1024; ++i) {
    state = state * 1103515245u + 12345u;
    // No 0x1A: it would end the data at once.
    const auto byte = static_cast<char>(state >> 24);
    bytes += byte == '\x1A' ? '\x1B' : byte;
  }
  // Keywords among the garbage.
  for (const RecordSample& r : kRecords)
    bytes += "\n" + r.line.substr(0, r.line.find(' ') + 1) + bytes.substr(100, 300);
  Import(bytes);
  EXPECT_GE(AllObjects(), 0);
  EXPECT_LE(AllObjects(), 3 * static_cast<int32_t>(kRecords.size()));
}

TEST_F(HostileInput, RecordsSurviveNulAndEndOfFileBytes) {
  Import(kHeader + std::string(1000, '\0') + kRecords[4].line + "\n");
  EXPECT_EQ(KvHost_ObjectCount(kTrack), 1);
  // 0x1A in the middle of a record ends the data; the record is kept.
  Import(kHeader + "LINE 10 0 1 2\x1A 3 4 5 6 7\nLINE 1 2 3 4 5 6 7 8 9\n");
  EXPECT_EQ(KvHost_ObjectCount(kTrack), 1);
}

TEST_F(HostileInput, MillionCharacterQuotedToken) {
  Import(kHeader + "TEXT \"" + std::string(1000000, 'q') + "\" 60 0 8 0 10 10 0 0 0 0 0 0\n" + kRecords[4].line + "\n");
  EXPECT_EQ(KvHost_ObjectCount(kText), 1);
  EXPECT_EQ(KvHost_ObjectCount(kTrack), 1);
  // The same without a closing quote and line end.
  Import(kHeader + "TEXT \"" + std::string(1000000, 'q'));
  EXPECT_EQ(KvHost_ObjectCount(kText), 1);
}

TEST_F(HostileInput, NumbersAtAndPastThe32BitLimits) {
  const std::vector<std::string> numbers = {"2147483647",  "2147483648",
                                            "-2147483648", "-2147483649",
                                            "+2147483647", "4294967295",
                                            "4294967296",  "$7FFFFFFF",
                                            "$80000000",   "$FFFFFFFF",
                                            "$100000000",  "x80000000",
                                            "XFFFFFFFF",   "0x7fffffff",
                                            "0X80000000",  "0xFFFFFFFF",
                                            "0x100000000", "-$FFFFFFFF",
                                            "-0x80000000", "99999999999999999999999",
                                            "-0",          "$",
                                            "0x",          "-",
                                            "+",           "00000000000000000000000001"};
  for (const RecordSample& r : kRecords) {
    SCOPED_TRACE(r.line);
    std::string bytes = kHeader;
    const std::string keyword = Tokens(r.line).front();
    for (const std::string& n : numbers) {
      bytes += keyword;
      for (int field = 0; field < 14; ++field) bytes += " " + n;
      bytes += "\n";
    }
    Import(bytes);
    EXPECT_EQ(KvHost_ObjectCount(r.kind), static_cast<int32_t>(numbers.size()));
  }
}

TEST_F(HostileInput, EveryRecordTruncatedAtEveryToken) {
  for (const RecordSample& r : kRecords) {
    const std::vector<std::string> tokens = Tokens(r.line);
    std::string prefix;
    for (std::size_t k = 1; k <= tokens.size(); ++k) {
      prefix += (k > 1 ? " " : "") + tokens[k - 1];
      SCOPED_TRACE(prefix);
      Import(kHeader + prefix);
      // The record is kept however early the file ends.
      EXPECT_EQ(KvHost_ObjectCount(r.kind), 1);
    }
  }
}

TEST_F(HostileInput, EveryFieldNonNumeric) {
  for (const RecordSample& r : kRecords) {
    SCOPED_TRACE(r.line);
    std::string bytes = kHeader + Tokens(r.line).front();
    for (int field = 0; field < 14; ++field) bytes += " f" + std::to_string(field) + "\x01\t,";
    Import(bytes + "\n");
    EXPECT_EQ(KvHost_ObjectCount(r.kind), 1);
  }
}

TEST_F(HostileInput, LayerNumbersZeroTo255) {
  std::string bytes = kHeader;
  for (int layer = 0; layer < 256; ++layer) {
    const std::string l = std::to_string(layer);
    bytes += "LINE 10 " + l + " 0 0 100 100 0 0 0\n";
    bytes += "ARC 50 0 270 8 " + l + " 500 500 0 0 0\n";
    bytes += "TEXT t 60 0 8 " + l + " 10 10 0 0 0 0 0 0\n";
    bytes += "FILL 0 0 100 100 " + l + " 0 0 0\n";
    bytes += "COMP U" + l + " L C P S 0 0 0 0 0 0 " + l + " " + l + "\n";
  }
  Import(bytes);
  for (Kind kind : {kTrack, kArc, kFill, kComponent}) EXPECT_EQ(KvHost_ObjectCount(kind), 256) << int{kind};
  // Each component brings its designator and comment texts.
  EXPECT_EQ(KvHost_ObjectCount(kText), 3 * 256);
}

TEST_F(HostileInput, FileThatDisappearsAfterRecognition) {
  const std::string name = Write(kHeader + kRecords[4].line + "\n");
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
  const std::string name = Write(kHeader + kRecords[4].line + "\n");
  ASSERT_EQ(chmod(name.c_str(), 0), 0);
  // The superuser reads it all the same.
  const bool readable = access(name.c_str(), R_OK) == 0;
  Run(name, readable, readable);
  EXPECT_EQ(KvHost_ObjectCount(kTrack), readable ? 1 : 0);
}
#endif

}  // namespace
}  // namespace orvik::test
