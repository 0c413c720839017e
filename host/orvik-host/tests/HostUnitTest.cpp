// Unit tests of the host's command-line parser, progress-bar rendering and
// JSON strings.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "host/common/JsonString.h"
#include "host/orvik-host/CheckReport.h"
#include "host/orvik-host/CommandLine.h"
#include "host/orvik-host/ProgressBar.h"

namespace orvik::host {
namespace {

ParseResult Parse(std::vector<std::string> args) { return ParseCommandLine(args); }

TEST(CommandLine, ImportWithOptionsInBothForms) {
  const ParseResult r =
      Parse({"--plugin=/x/lib.so", "import", "--json", "out.json", "--journal=j.txt", "--top", "0", "b.PCB"});
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.options.command, Command::kImport);
  EXPECT_EQ(r.options.file, "b.PCB");
  EXPECT_EQ(r.options.pluginPath, "/x/lib.so");
  EXPECT_EQ(r.options.jsonPath, "out.json");
  EXPECT_EQ(r.options.journalPath, "j.txt");
  EXPECT_EQ(r.options.top, 0);
  EXPECT_EQ(r.options.progress, ProgressMode::kAuto);
}

TEST(CommandLine, DoubleDashMakesOptionLikeNamesFiles) {
  const ParseResult r = Parse({"recognise", "--", "--odd-name.PCB"});
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.options.file, "--odd-name.PCB");
  // A lone "-" is a file name too.
  EXPECT_EQ(Parse({"recognise", "-"}).options.file, "-");
}

TEST(CommandLine, LastProgressOptionWins) {
  EXPECT_EQ(Parse({"import", "f", "--progress", "--no-progress"}).options.progress, ProgressMode::kOff);
  EXPECT_EQ(Parse({"import", "f", "--no-progress", "--progress"}).options.progress, ProgressMode::kOn);
}

TEST(CommandLine, FileNameLengthLimitIs255Bytes) {
  EXPECT_TRUE(Parse({"import", std::string(255, 'a')}).ok());
  EXPECT_FALSE(Parse({"import", std::string(256, 'a')}).ok());
}

TEST(CommandLine, RejectsMalformedValues) {
  EXPECT_FALSE(Parse({"import", "f", "--top", "-1"}).ok());
  EXPECT_FALSE(Parse({"import", "f", "--top", "1001"}).ok());
  EXPECT_FALSE(Parse({"import", "f", "--top", "5x"}).ok());
  EXPECT_FALSE(Parse({"import", "f", "--json="}).ok());
  EXPECT_FALSE(Parse({"import", "f", "--progress=yes"}).ok());
  EXPECT_FALSE(Parse({"recognise", "f", "--journal", "j"}).ok());
}

// What the parser library refuses is reported in this program's words.
TEST(CommandLine, ErrorTexts) {
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const Case cases[] = {
      {{"describe", "--plugin"}, "option --plugin needs a value"},
      {{"import", "f", "--json="}, "option --json needs a non-empty value"},
      {{"import", "f", "--svg", ""}, "option --svg needs a non-empty value"},
      {{"import", "f", "--progress=yes"}, "option --progress takes no value"},
      {{"import", "f", "--progress=true"}, "option --progress takes no value"},
      {{"import", "--json=", "f"}, "option --json needs a non-empty value"},
      {{"import", "--kicad=", "f", "--svg", "s"}, "option --kicad needs a non-empty value"},
      {{"--top", "x", "--progress=1", "import", "f"}, "option --top needs a number from 0 to 1000"},
      {{"import", "f", "--json"}, "option --json needs a value"},
      {{"--no-progress=no", "import", "f"}, "option --no-progress takes no value"},
      {{"import", "f", "--top", "010x"}, "option --top needs a number from 0 to 1000"},
      {{"--frob=1", "import", "f"}, "unknown option --frob=1"},
      {{"import", "f", "-x"}, "unknown option -x"},
      {{}, "no command given"},
      {{"IMPORT", "f"}, "unknown command 'IMPORT'"},
      {{"describe", "f"}, "describe takes no file"},
      {{"recognize"}, "recognize takes exactly one file"},
      {{"check", "f", "--html", "h"}, "--journal, --svg, --html and --kicad apply to import only"},
      {{"recognise", "f", "--json", "j"}, "--json applies to import only and check"},
      {{"import", "f", "--kicad", "k", "--kicad-stack", "all"}, "option --kicad-stack takes 'used' or 'host'"},
      {{"import", "f", "--kicad-stack", "host"}, "--kicad-stack applies to import with --kicad only"},
  };
  for (const Case& c : cases) EXPECT_EQ(Parse(c.args).error, c.error) << c.error;
}

TEST(CommandLine, EveryImportOutputHasItsOption) {
  const ParseResult r = Parse({"--html=h", "import", "--svg", "s", "f", "--journal", "j"});
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.options.journalPath, "j");
  EXPECT_EQ(r.options.svgPath, "s");
  EXPECT_EQ(r.options.htmlPath, "h");
  // The last one given wins; a number with a leading zero is still decimal.
  const ParseResult again = Parse({"import", "f", "--svg", "a", "--svg=b", "--top", "010"});
  EXPECT_EQ(again.options.svgPath, "b");
  EXPECT_EQ(again.options.top, 10);
}

TEST(CommandLine, KicadStackModes) {
  EXPECT_EQ(Parse({"import", "f", "--kicad", "k"}).options.kicadStack, KicadStack::kUsed);
  EXPECT_EQ(Parse({"import", "f", "--kicad", "k", "--kicad-stack=host"}).options.kicadStack, KicadStack::kHost);
  EXPECT_EQ(Parse({"import", "f", "--kicad-stack", "host", "--kicad", "k", "--kicad-stack", "used"}).options.kicadStack,
            KicadStack::kUsed);
}

TEST(CommandLine, HelpWinsOverErrors) {
  const std::vector<std::string> lines[] = {
      {"--progress=yes", "--help"}, {"--top", "x", "-h"}, {"-h", "--plugin"}, {"import", "--json=", "--help=x"}};
  for (const auto& args : lines) {
    const ParseResult r = Parse(args);
    EXPECT_TRUE(r.ok()) << args.front();
    EXPECT_EQ(r.options.command, Command::kHelp) << args.front();
  }
}

TEST(CommandLine, VersionWinsOverErrors) {
  const ParseResult r = Parse({"bogus", "--version", "--nope"});
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.options.command, Command::kVersion);
}

TEST(ProgressBarRender, LineHasExactWidthAndPercent) {
  const std::string line = ProgressBar::Render("Loading x", 42, 100, 60);
  EXPECT_EQ(line.size(), 60u);
  EXPECT_EQ(line.rfind("Loading x", 0), 0u);
  EXPECT_EQ(line.substr(line.size() - 4), " 42%");
}

TEST(ProgressBarRender, StepsBeyondTotalShowAsFull) {
  const std::string line = ProgressBar::Render("m", 250, 100, 40);
  EXPECT_EQ(line.substr(line.size() - 4), "100%");
  EXPECT_EQ(line.find('-'), std::string::npos);
  EXPECT_NE(line.find('#'), std::string::npos);
}

TEST(ProgressBarRender, EmptyOrNegativeProgress) {
  const std::string none = ProgressBar::Render("m", -5, 100, 40);
  EXPECT_EQ(none.substr(none.size() - 4), "  0%");
  EXPECT_EQ(none.find('#'), std::string::npos);
  // Without a positive total the step count is shown.
  const std::string steps = ProgressBar::Render("m", 7, 0, 40);
  EXPECT_EQ(steps.substr(steps.size() - 4), "   7");
}

TEST(ProgressBarRender, LongMessageIsCutAndControlCharactersReplaced) {
  const std::string line = ProgressBar::Render(std::string(300, 'x') + "\r\n", 1, 2, 50);
  EXPECT_EQ(line.size(), 50u);
  EXPECT_NE(line.find("... ["), std::string::npos);
  const std::string tabs = ProgressBar::Render("a\tb\x1b", 1, 2, 50);
  EXPECT_EQ(tabs.rfind("a?b?", 0), 0u);
  // Below the minimum width the line still holds a bar and a status.
  EXPECT_EQ(ProgressBar::Render("m", 1, 2, 5).size(), 20u);
}

// The board dump and the check report share one escaper but keep their own
// spellings (hex case, DEL), byte for byte.
TEST(JsonString, EachWriterKeepsItsEscapes) {
  struct Case {
    std::string_view text;
    std::string_view dump;
    std::string_view report;
  };
  const Case cases[] = {
      {"", R"("")", R"("")"},
      {"plain text", R"("plain text")", R"("plain text")"},
      {"a\"b\\c", R"("a\"b\\c")", R"("a\"b\\c")"},
      {std::string_view("\0\x01\t\n\x1f", 5), R"("\u0000\u0001\u0009\u000A\u001F")",
       R"("\u0000\u0001\u0009\u000a\u001f")"},
      {"~\x7f", "\"~\x7f\"", R"("~\u007f")"},
      {"\x80\xe9\xff", R"("\u20AC\u00E9\u00FF")", R"("\u20ac\u00e9\u00ff")"},
  };
  for (const Case& c : cases) {
    std::string dump, report;
    json::AppendString(dump, c.text, json::kBoardDumpStyle);
    json::AppendString(report, c.text, json::kCheckReportStyle);
    EXPECT_EQ(dump, c.dump);
    EXPECT_EQ(report, c.report);
  }
}

TEST(JsonString, CheckReportEscapesItsFileName) {
  const std::string json = CheckJson(TFileCheck{}, "b\x7f\xe9\"\\.pcb");
  EXPECT_NE(json.find(R"("file": "b\u007f\u00e9\"\\.pcb",)"), std::string::npos) << json;
}

}  // namespace
}  // namespace orvik::host
