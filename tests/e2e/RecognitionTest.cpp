// The plug-in's entry points as a host sees them: the real library loaded at
// run time, asking this program's ClientAPI_ExistSpecific. No stand-in host
// module is loaded here, so an import touches no board.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/e2e/PluginTest.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace orvik::test {
namespace {

using EntryPoints = PluginTest;

struct FirstLineCase {
  const char* label;
  std::string content;
  bool recognised;
};

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

TEST_F(EntryPoints, RecognisesTheFormatWordInTheFirstLineOnly) {
  using namespace std::string_literals;
  const FirstLineCase cases[] = {
      {"upper case", "ORVIK ASCII PCB\nLINE 1 2 3\n", true},
      {"lower case", "orvik ascii pcb\n", true},
      {"mixed case", "This is an Orvik board\r\n", true},
      {"inside a longer word", "xxorvikyy\n", true},
      {"no line end", "ORVIK", true},
      {"split word", "ORV IK\n", false},
      {"other format", "ACCEL_ASCII\n", false},
      {"second line only", "PCB FILE\nORVIK\n", false},
      {"second line after CR LF", "PCB FILE\r\nORVIK\r\n", false},
      {"lone CR does not end the line", "PCB FILE\rORVIK\n", true},
      {"empty file", "", false},
      {"empty first line", "\nORVIK\n", false},
      {"0x1A ends the data", "ORV\x1AIK\n", false},
      {"0x1A before the word", "\x1AORVIK\n", false},
      {"0x1A after the word", "ORVIK\x1A", true},
      {"NUL bytes are characters", "\0\0ORVIK\n"s, true},
      {"only a-z change case", "\xEFRVIK\n", false},
      {"word ending at character 255", Repeat('x', 250) + "ORVIK\n", true},
      {"word starting at character 252", Repeat('x', 251) + "ORVIK\n", false},
      {"word at the start of a long line", "ORVIK" + Repeat('x', 600) + "\n", true},
      {"long first line, word on the second", Repeat('x', 300) + "\nORVIK\n", false},
  };
  int n = 0;
  for (const FirstLineCase& c : cases) {
    const std::string name = dir_.WriteFile("case" + std::to_string(n++) + ".pcb", c.content);
    EXPECT_EQ(plugin_.Recognised(name), c.recognised) << c.label;
  }
}

TEST_F(EntryPoints, AsksTheHostWithTheZeroTerminatedName) {
  const std::string name = dir_.WriteFile("board.pcb", "ORVIK\n");
  EXPECT_TRUE(plugin_.Recognised(name));
  EXPECT_EQ(ExistCalls(), 1);
  EXPECT_EQ(LastExistName(), name);

  SetExistAnswer(ExistAnswer::No);
  EXPECT_FALSE(plugin_.Recognised(name));
  EXPECT_FALSE(plugin_.Import(name));
  EXPECT_EQ(ExistCalls(), 2);
}

TEST_F(EntryPoints, NameAndExtensionDoNotMatter) {
  EXPECT_TRUE(plugin_.Recognised(dir_.WriteFile("ORVIK", "orvik\n")));
  EXPECT_FALSE(plugin_.Recognised(dir_.WriteFile("orvik.pcb", "PCB\n")));
}

TEST_F(EntryPoints, PathsThatCannotBeReadAreNotRecognised) {
  // The host claims every one of these exists; the plug-in must still answer
  // false, at once and without an error.
  SetExistAnswer(ExistAnswer::Yes);
  EXPECT_FALSE(plugin_.Recognised(NarrowName(dir_.Path() / "missing.pcb")));
  EXPECT_FALSE(plugin_.Recognised(""));
  const std::string folder = NarrowName(dir_.Path() / "ORVIK.dir");
  std::filesystem::create_directory(folder);
  EXPECT_FALSE(plugin_.Recognised(folder));
  EXPECT_FALSE(plugin_.Import(folder));
#ifdef _WIN32
  EXPECT_FALSE(plugin_.Recognised("NUL"));
#else
  const std::string fifo = NarrowName(dir_.Path() / "orvik.fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(plugin_.Recognised(fifo));
  EXPECT_FALSE(plugin_.Import(fifo));
  EXPECT_FALSE(plugin_.Recognised("/dev/null"));
  EXPECT_FALSE(plugin_.Recognised("/dev/zero"));
#endif
}

TEST_F(EntryPoints, ImportIgnoresItsSecondArgument) {
  const std::string name = dir_.WriteFile("board.pcb", "ORVIK\nLINE 1 0 0 100 100 10\n");
  const std::string seconds[] = {"", "x", "ORVIK", std::string(255, '\xFF'), std::string(300, 'z')};
  for (const std::string& second : seconds) EXPECT_TRUE(plugin_.Import(name, second)) << second.size();

  const std::string other = dir_.WriteFile("other.pcb", "PCB\n");
  for (const std::string& second : seconds) EXPECT_FALSE(plugin_.Import(other, second)) << second.size();
}

TEST_F(EntryPoints, NeverWritesIntoTheCallersStrings) {
  const std::string name = dir_.WriteFile("board.pcb", "orvik\n");
  const OrvikShortString file = MakeShortString(name);
  const OrvikShortString second = MakeShortString("second");
  OrvikShortString fileCopy;
  OrvikShortString secondCopy;
  std::memcpy(&fileCopy, &file, sizeof file);
  std::memcpy(&secondCopy, &second, sizeof second);

  EXPECT_EQ(plugin_.RecognisedEntry()(&fileCopy), 1);
  EXPECT_EQ(plugin_.ImportEntry()(&fileCopy, &secondCopy), 1);
  EXPECT_EQ(std::memcmp(&fileCopy, &file, sizeof file), 0);
  EXPECT_EQ(std::memcmp(&secondCopy, &second, sizeof second), 0);
}

TEST_F(EntryPoints, DescribesTheImporter) {
  const char* description = plugin_.Description();
  ASSERT_NE(description, nullptr);
  EXPECT_STREQ(description, "Orvik Ascii files (*.PCB)");
  EXPECT_EQ(plugin_.Description(), description);
}

}  // namespace
}  // namespace orvik::test
