// Unit tests of convert's parts and of import's JSON summary: the command
// line, names shown as UTF-8, the JSON reader, the stamp, output names,
// child ends, the reports and writing outputs under temporary names.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/common/JsonString.h"
#include "host/common/Utf8.h"
#include "host/orvik-host/AtomicOutput.h"
#include "host/orvik-host/CommandLine.h"
#include "host/orvik-host/Markup.h"
#include "host/orvik-host/SummaryJson.h"
#include "host/orvik-host/convert/ChildProcess.h"
#include "host/orvik-host/convert/ConvertPlan.h"
#include "host/orvik-host/convert/ConvertProgress.h"
#include "host/orvik-host/convert/FileSystem.h"
#include "host/orvik-host/convert/InputWalk.h"
#include "host/orvik-host/convert/JobRunner.h"
#include "host/orvik-host/convert/JsonReader.h"
#include "host/orvik-host/convert/Report.h"
#include "host/orvik-host/convert/Stamp.h"
#include "host/orvik-host/kicad/KicadReport.h"

namespace orvik::host {
namespace {

ParseResult Parse(std::vector<std::string> args) { return ParseCommandLine(args); }

TEST(ConvertCommandLine, EveryOption) {
  const ParseResult r =
      Parse({"convert", "a", "b dir", "--out=o", "--jobs", "3", "--timeout", "20", "--force", "--all-files", "--html",
             "--json", "--check", "--kicad-stack", "host", "--no-progress", "--plugin", "p"});
  ASSERT_TRUE(r.ok()) << r.error;
  const convert::ConvertOptions& c = r.options.convert;
  EXPECT_EQ(r.options.command, Command::kConvert);
  EXPECT_EQ(c.inputs, (std::vector<std::string>{"a", "b dir"}));
  EXPECT_EQ(c.outDir, "o");
  EXPECT_EQ(c.jobs, 3);
  EXPECT_EQ(c.timeoutSeconds, 20);
  EXPECT_TRUE(c.force && c.allFiles && c.html && c.json && c.check);
  EXPECT_EQ(r.options.kicadStack, KicadStack::kHost);
  EXPECT_EQ(r.options.progress, ProgressMode::kOff);
  EXPECT_EQ(r.options.pluginPath, "p");
  // convert's --html and --json are flags: the next word is an input.
  const ParseResult flags = Parse({"convert", "--html", "a.pcb", "--json", "b.pcb", "--out", "o"});
  ASSERT_TRUE(flags.ok()) << flags.error;
  EXPECT_EQ(flags.options.convert.inputs, (std::vector<std::string>{"a.pcb", "b.pcb"}));
  EXPECT_TRUE(flags.options.convert.html && flags.options.convert.json);
  EXPECT_EQ(flags.options.convert.jobs, 0);  // the usable cores
  EXPECT_EQ(flags.options.convert.timeoutSeconds, convert::ConvertOptions::kDefaultTimeoutSeconds);
}

TEST(ConvertCommandLine, ImportOptionsOfTheChild) {
  const ParseResult r = Parse({"import", "--if-recognised", "--summary-json", "s.json", "--check-report", "c.txt",
                               "--check-json=c.json", "--", "-odd.pcb"});
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_TRUE(r.options.ifRecognised);
  EXPECT_EQ(r.options.summaryJsonPath, "s.json");
  EXPECT_EQ(r.options.checkReportPath, "c.txt");
  EXPECT_EQ(r.options.checkJsonPath, "c.json");
  EXPECT_EQ(r.options.file, "-odd.pcb");
}

TEST(ConvertCommandLine, ErrorTexts) {
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const Case cases[] = {
      {{"convert", "--out", "d"}, "convert takes at least one file or folder"},
      {{"convert", "a"}, "convert needs --out DIR, the folder of its outputs"},
      {{"convert", "a", "--out"}, "option --out needs a value"},
      {{"convert", "a", "--out="}, "option --out needs a non-empty value"},
      {{"convert", "a", "--out", "d", "--jobs", "0"}, "option --jobs needs a number from 1 to 256"},
      {{"convert", "a", "--out", "d", "--jobs", "2x"}, "option --jobs needs a number from 1 to 256"},
      {{"convert", "a", "--out", "d", "--timeout", "0"}, "option --timeout needs a number of seconds from 1 to 86400"},
      {{"convert", "a", "--html=x", "--out", "d"}, "option --html takes no value"},
      {{"convert", "a", "--out", "d", "--kicad-stack", "all"}, "option --kicad-stack takes 'used' or 'host'"},
      {{"convert", "a", "--out", "d", "--journal", "j"}, "--journal, --svg, --html and --kicad apply to import only"},
      {{"--html=h", "convert", "a", "--out", "d"}, "--journal, --svg, --html and --kicad apply to import only"},
      {{"convert", "a", "--out", "d", "--summary-json", "s"},
       "--summary-json, --check-report, --check-json and --if-recognised apply to import only"},
      {{"import", "f", "--out", "d"}, "option --out applies to convert only"},
      {{"check", "f", "--force"}, "option --force applies to convert only"},
      {{"check", "f", "--if-recognised"},
       "--summary-json, --check-report, --check-json and --if-recognised apply to import only"},
      {{"convert", "a", "--out", "d", "--frob"}, "unknown option --frob"},
  };
  for (const Case& c : cases) EXPECT_EQ(Parse(c.args).error, c.error) << c.error;
}

TEST(ConvertCommandLine, HelpOfOneCommand) {
  const ParseResult r = Parse({"convert", "--help"});
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.options.command, Command::kHelp);
  EXPECT_EQ(r.options.helpTopic, Command::kConvert);
  EXPECT_EQ(Parse({"--help", "import"}).options.helpTopic, Command::kNone);
  const std::string convertHelp = UsageText("orvik-host", Command::kConvert);
  EXPECT_EQ(convertHelp.rfind("Usage: orvik-host convert INPUT... --out DIR", 0), 0u);
  for (const char* text : {"--jobs N", "--timeout SECONDS", "--force", "--all-files", "--check", "130", "143"}) {
    EXPECT_NE(convertHelp.find(text), std::string::npos) << text;
  }
  // The whole help holds every command's options and exit codes.
  const std::string all = UsageText("orvik-host");
  for (const char* text : {"Exit codes:", "Exit codes of check:", "Exit codes of convert:", "--summary-json FILE",
                           "--kicad-stack MODE", "--out DIR", "recognise FILE"}) {
    EXPECT_NE(all.find(text), std::string::npos) << text;
  }
}

TEST(ShownUtf8, InvalidBytesEscapedValidKept) {
  struct Case {
    std::string bytes;
    std::string shown;
    bool valid;
  };
  const Case cases[] = {
      {"plain.pcb", "plain.pcb", true},           {"plan\xC3\xA9.pcb", "plan\xC3\xA9.pcb", true},
      {"caf\xE9.pcb", "caf\\xE9.pcb", false},     {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80", true},
      {"\xC0\xAF", "\\xC0\\xAF", false},           // an overlong form
      {"\xED\xA0\x80", "\\xED\\xA0\\x80", false},  // a surrogate
      {"\xE2\x82", "\\xE2\\x82", false},           // cut short
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text::ShownUtf8(c.bytes), c.shown) << c.shown;
    EXPECT_EQ(text::IsValidUtf8(c.bytes), c.valid) << c.shown;
    EXPECT_TRUE(text::IsValidUtf8(text::ShownUtf8(c.bytes))) << c.shown;
  }
  std::string json;
  json::AppendUtf8String(json, "a\"\\\x01\xC3\xA9");
  EXPECT_EQ(json, "\"a\\\"\\\\\\u0001\xC3\xA9\"");
  std::string html;
  AppendEscapedUtf8(html, "<\xC3\xA9&\x01>");
  EXPECT_EQ(html, "&lt;\xC3\xA9&amp;&#xFFFD;&gt;");
}

TEST(JsonReader, ReadsWhatTheWritersWrite) {
  const auto value = convert::JsonValue::Parse(
      R"({"a": [1, -2.5e1, true, false, null], "s": "x\"\\\/\n\u00e9\u20AC\u2603", "o": {}, "e": []})");
  ASSERT_TRUE(value);
  EXPECT_EQ((*value)["a"].Items().size(), 5u);
  EXPECT_EQ((*value)["a"].Items()[1].Number(), -25);
  EXPECT_TRUE((*value)["a"].Items()[2].Bool());
  // Escapes of the code page's characters give their bytes back; others UTF-8.
  EXPECT_EQ((*value)["s"].Text(), "x\"\\/\n\xE9\x80\xE2\x98\x83");
  EXPECT_EQ((*value)["missing"].type(), convert::JsonValue::Type::kNull);
  for (const char* bad : {"", "{", "[1,]", "{\"a\" 1}", "\"\x01\"", "tru", "[1] 2", "\"\\u12\"", "{\"a\":}"}) {
    EXPECT_FALSE(convert::JsonValue::Parse(bad)) << bad;
  }
  EXPECT_FALSE(convert::JsonValue::Parse(std::string(100, '[') + std::string(100, ']')));  // too deep
}

// import's summary read back as convert reads it, every KiCad class and
// written kind present.
TEST(SummaryJson, RoundTrip) {
  ImportRecord record;
  record.file = "b\xE9.pcb";
  record.status = ImportStatus::kImported;
  record.importSeconds = 0.25;
  ImportSummary summary;
  summary.totalObjects = 12;
  summary.boardMembers = 7;
  summary.created = {{0, "arcs", 5}, {0, "pads", 7}};
  summary.boardByKind = {{0, "arcs", 3}, {0, "pads", 4}};
  record.summary = summary;
  kicad::KicadReport kicadReport;
  kicadReport.Count(kicad::Written::kPads) = 7;
  kicadReport.Count(kicad::Change::kEmptyFill) = 2;
  kicadReport.Count(kicad::Change::kOctagonalPad) = 3;
  kicadReport.Count(kicad::Change::kUnusedInnerLayer) = 4;  // left out, but no object
  record.kicad = kicadReport;
  TFileCheck check;
  check.Findings.push_back({TFindingKind::SkippedLine, 1, 1, "m"});
  record.check = check;

  const auto value = convert::JsonValue::Parse(ImportRecordJson(record));
  ASSERT_TRUE(value);
  EXPECT_EQ((*value)["file"].Text(), record.file);
  EXPECT_EQ(ImportStatusByName((*value)["status"].Text()), ImportStatus::kImported);
  EXPECT_EQ((*value)["kicad"]["changesByClass"].Members().size(), static_cast<std::size_t>(kicad::ChangeClass::kCount));
  EXPECT_EQ((*value)["kicad"]["writtenByKind"].Members().size(), static_cast<std::size_t>(kicad::Written::kCount));
  EXPECT_EQ((*value)["kicad"]["changesByClass"][kicad::ClassName(kicad::ChangeClass::kLeftOut)].Number(), 6);

  convert::FileResult r;
  convert::TakeSummary(r, *value);
  EXPECT_TRUE(r.counted && r.checked && r.exported);
  EXPECT_EQ(r.created, 12);
  EXPECT_EQ(r.placed, 7);
  EXPECT_EQ(r.placedByKind, (convert::Counts{{"arcs", 3}, {"pads", 4}}));
  EXPECT_EQ(r.checkWarnings, 1);
  EXPECT_EQ(r.checkByKind, (convert::Counts{{"skipped-line", 1}}));
  EXPECT_EQ(r.kicadChanges, 9);
  EXPECT_EQ(r.kicadObjectsLeftOut, 2);
  EXPECT_EQ(r.kicadWritten, 7);
  EXPECT_DOUBLE_EQ(r.importSeconds, 0.25);
  for (std::size_t s = 0; s < static_cast<std::size_t>(ImportStatus::kCount); ++s) {
    EXPECT_EQ(ImportStatusByName(ImportStatusName(static_cast<ImportStatus>(s))), static_cast<ImportStatus>(s));
  }
}

TEST(Stamp, RoundTripAndOtherKeys) {
  convert::Stamp stamp("key1");
  stamp.Record("a/b c\xE9.pcb", {10, 1234567890123, "converted"});
  stamp.Record("n.pcb", {3, -5, "not-recognised"});
  convert::Stamp again("key1");
  ASSERT_TRUE(again.Read(stamp.Text()));
  ASSERT_NE(again.Find("a/b c\xE9.pcb"), nullptr);
  EXPECT_EQ(*again.Find("a/b c\xE9.pcb"), (convert::Stamp::Entry{10, 1234567890123, "converted"}));
  EXPECT_EQ(again.Find("n.pcb")->status, "not-recognised");
  EXPECT_EQ(again.Find("other.pcb"), nullptr);
  convert::Stamp other("key2");
  EXPECT_FALSE(other.Read(stamp.Text()));
  EXPECT_FALSE(again.Read("orvik-convert-stamp 1\nkey key1\n1 2 converted zz\n"));
  EXPECT_EQ(again.Find("n.pcb"), nullptr);
  EXPECT_NE(convert::StampKey({}, "html"), convert::StampKey({}, "json"));
}

TEST(OutputNames, StemsAndBoardNames) {
  const std::pair<const char*, const char*> stems[] = {
      {"a/b.pcb", "a/b"}, {"b.PCB", "b"}, {"a.b/c", "a.b/c"}, {"a/.hidden", "a/.hidden"}, {"x.y.pcb", "x.y"}};
  for (const auto& [relative, stem] : stems) EXPECT_EQ(convert::OutputStem(relative), stem) << relative;
  for (const char* name : {"a.pcb", "A.PCB", "b.Pcb", "x y.pcb"}) EXPECT_TRUE(convert::HasBoardName(name)) << name;
  for (const char* name : {".pcb", "a.pcbx", "a.kicad_pcb", "pcb", "a_pcb"}) {
    EXPECT_FALSE(convert::HasBoardName(name)) << name;
  }
  EXPECT_EQ(convert::LinkTarget("a b/c\xE9%.kicad_pcb"), "a%20b/c%E9%25.kicad_pcb");
  EXPECT_EQ(convert::ParentFolder("a/b/c"), "a/b");
  EXPECT_EQ(convert::ParentFolder("c"), ".");
  EXPECT_EQ(convert::ParentFolder("/c"), "/");
  EXPECT_EQ(convert::BaseName("a/b/c.pcb"), "c.pcb");
  EXPECT_EQ(convert::JoinPath("a/", "b"), "a/b");
}

// The child's command line: its base name after "--", absolute outputs, and
// only the outputs asked for.
TEST(OutputNames, ChildCommand) {
  Options options;
  options.convert.html = true;
  options.kicadStack = KicadStack::kHost;
  const convert::Planner planner(options, "/bin/orvik-host", "/out", "/p/plugin.so");
  convert::Candidate c;
  c.path = "in/sub/-odd.pcb";
  const convert::ChildCommand command = planner.Command(c, "sub/-odd");
  EXPECT_EQ(command.program, "/bin/orvik-host");
  EXPECT_EQ(convert::BaseName(command.folder), "sub");
  const std::vector<std::string> expected = {"import",
                                             "--no-progress",
                                             "--if-recognised",
                                             "--top",
                                             "0",
                                             "--plugin",
                                             "/p/plugin.so",
                                             "--kicad-stack",
                                             "host",
                                             "--summary-json",
                                             "/out/sub/-odd.summary.json",
                                             "--kicad",
                                             "/out/sub/-odd.kicad_pcb",
                                             "--html",
                                             "/out/sub/-odd.html",
                                             "--",
                                             "-odd.pcb"};
  EXPECT_EQ(command.args, expected);
  EXPECT_EQ(planner.Outputs("x"), (std::vector<std::string>{"x.summary.json", "x.kicad_pcb", "x.html"}));
}

// Same stem twice, and a name too long for the importer: failures with
// their reasons, before any child runs.
TEST(OutputNames, PlanRefusesWhatCannotBeConverted) {
  Options options;
  const convert::Planner planner(options, "/bin/orvik-host", "/out", "");
  std::vector<convert::Candidate> candidates(4);
  candidates[0].path = candidates[0].relative = "a.pcb";
  candidates[1].path = candidates[1].relative = "a.PCB";
  candidates[2].path = candidates[2].relative = std::string(256, 'n') + ".pcb";
  candidates[3].path = candidates[3].relative = "gone.pcb";
  candidates[3].unreadable = "a symbolic link to nothing";
  const convert::Plan plan = planner.Make(candidates, convert::Stamp("k"));
  ASSERT_EQ(plan.results.size(), 4u);
  EXPECT_EQ(plan.jobs.size(), 1u);
  EXPECT_EQ(plan.results[1].status, convert::FileStatus::kFailed);
  EXPECT_EQ(plan.results[1].detail, "its outputs would take the names of those of a.pcb");
  EXPECT_EQ(plan.results[2].detail, "its name is 260 bytes long; the importer takes at most 255");
  EXPECT_EQ(plan.results[3].status, convert::FileStatus::kUnreadable);
  EXPECT_EQ(plan.jobs[0].temporaries.front(), "/out/a.summary.json.tmp");
}

TEST(ChildEnds, DescribedAndWineStartFailureOnly) {
  using convert::ChildEnd;
  EXPECT_EQ(convert::DescribeEnd({ChildEnd::Kind::kExited, 4}), "exit code 4");
  EXPECT_EQ(convert::DescribeEnd({ChildEnd::Kind::kSignal, 11}), "signal 11 (SIGSEGV)");
  EXPECT_EQ(convert::DescribeEnd({ChildEnd::Kind::kCrashed, 0xC0000005}), "exception 0xC0000005 (access violation)");
  EXPECT_EQ(convert::DescribeEnd({ChildEnd::Kind::kCrashed, 0xC0001234}), "exception 0xC0001234");

  const std::string wine = "0024:err:virtual:map_shared_user_data failed to map the shared user data\n";
  struct Case {
    ChildEnd end;
    uint64_t outputBytes;
    std::string error;
    bool retried;
  };
  const Case cases[] = {
      {{ChildEnd::Kind::kExited, 1}, 0, wine, true},
      {{ChildEnd::Kind::kExited, 1}, 12, wine, false},  // it printed something: it ran
      {{ChildEnd::Kind::kExited, 4}, 0, wine, false},
      {{ChildEnd::Kind::kExited, 1}, 0, "other trouble\n", false},
      {{ChildEnd::Kind::kCrashed, 0xC0000005}, 0, wine, false},
  };
  for (const Case& c : cases) {
    convert::JobOutcome outcome;
    outcome.kind = convert::JobOutcome::Kind::kEnded;
    outcome.end = c.end;
    outcome.outputBytes = c.outputBytes;
    outcome.errorTail = c.error;
    EXPECT_EQ(convert::IsWineStartFailure(outcome), c.retried) << convert::DescribeEnd(c.end) << c.error;
  }
  EXPECT_EQ(convert::LastLines("a\nb\nc\n\n", 2), "b\nc");
  EXPECT_EQ(convert::LastLines("only", 3), "only");
}

TEST(ConvertProgressLine, FilesBytesFailuresAndTimeLeft) {
  const std::string line = convert::ConvertProgress::Line(3, 10, 25'000'000, 100'000'000, 2, 10.0, 100);
  EXPECT_EQ(line.size(), 100u);
  EXPECT_EQ(line.rfind("3/10 files, 25.0/100.0 MB, 2 failed, 30s left", 0), 0u) << line;
  EXPECT_EQ(line.substr(line.size() - 4), " 25%");
  const std::string empty = convert::ConvertProgress::Line(1, 2, 0, 0, 0, 0, 60);
  EXPECT_EQ(empty.substr(empty.size() - 4), " 50%");
}

// The two reports carry the same totals; names are escaped in both.
TEST(Reports, SameDataInBoth) {
  convert::Report report;
  report.version = "1.0.0";
  report.outDir = "/out";
  report.kicadClasses = {"approximated", "left out"};
  convert::FileResult good;
  good.path = good.relative = "a <b>.pcb";
  good.stem = "a <b>";
  good.status = convert::FileStatus::kConverted;
  good.size = 100;
  good.outputs = {"a <b>.kicad_pcb"};
  convert::FileResult bad;
  bad.path = bad.relative = "caf\xE9.pcb";
  bad.status = convert::FileStatus::kFailed;
  bad.detail = "crashed: signal 11 (SIGSEGV)";
  bad.size = 50;
  report.files = {good, bad};
  report.totals = convert::Count(report.files, 1.5);
  EXPECT_EQ(report.totals.found, 2u);
  EXPECT_EQ(report.totals.bytes, 150u);

  const auto json = convert::JsonValue::Parse(convert::ReportJson(report));
  ASSERT_TRUE(json);
  EXPECT_EQ((*json)["totals"]["failed"].Number(), 1);
  EXPECT_EQ((*json)["files"].Items()[1]["name"].Text(), "caf\\xE9.pcb");
  const std::string html = convert::ReportHtml(report);
  EXPECT_NE(html.find("data-total=\"found\">2<"), std::string::npos);
  EXPECT_NE(html.find("data-total=\"failed\">1<"), std::string::npos);
  EXPECT_NE(html.find("a &lt;b&gt;.pcb"), std::string::npos);
  EXPECT_NE(html.find("href=\"a%20%3Cb%3E.kicad_pcb\">kicad_pcb</a>"), std::string::npos);
  EXPECT_NE(html.find("caf\\xE9.pcb"), std::string::npos);
  EXPECT_EQ(html.find("http"), std::string::npos);  // nothing from the network
}

TEST(AtomicOutputFile, CommittedOrGone) {
  const std::string path = "atomic-output-test.txt";
  std::remove(path.c_str());
  {
    AtomicOutput output(path);
    EXPECT_EQ(output.WritePath(), path + ".tmp");
    std::FILE* f = std::fopen(output.WritePath().c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("half", f);
    std::fclose(f);
    // Not committed: the temporary goes, no file appears.
  }
  EXPECT_EQ(convert::Describe(path).type, convert::EntryType::kMissing);
  EXPECT_EQ(convert::Describe(path + ".tmp").type, convert::EntryType::kMissing);
  ASSERT_TRUE(WriteFileAtomically(path, "whole"));
  EXPECT_EQ(convert::ReadWholeFile(path), "whole");
  ASSERT_TRUE(WriteFileAtomically(path, "replaced"));
  EXPECT_EQ(convert::ReadWholeFile(path), "replaced");
  EXPECT_EQ(convert::Describe(path + ".tmp").type, convert::EntryType::kMissing);
  std::remove(path.c_str());
#ifndef _WIN32
  // A device is written in place, not replaced.
  const AtomicOutput device("/dev/null");
  EXPECT_EQ(device.WritePath(), "/dev/null");
#endif
}

}  // namespace
}  // namespace orvik::host
