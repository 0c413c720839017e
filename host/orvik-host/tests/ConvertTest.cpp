// orvik-host convert end to end: the program runs as a child of the test,
// over folders the tests build, and its reports, outputs, stamp and exit
// status are checked. Also import's outputs under temporary names.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "host/orvik-host/convert/FileSystem.h"
#include "host/orvik-host/convert/JobRunner.h"
#include "host/orvik-host/convert/JsonReader.h"
#include "platform/Module.h"
#include "tests/support/TestPaths.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace orvik::host::convert {
namespace {

namespace fs = std::filesystem;
using test::ProgramDirectory;
using test::TempDir;

std::string Bin(const std::string& name) { return test::NarrowName(ProgramDirectory() / name); }
std::string Host() {
#ifdef _WIN32
  return Bin("orvik-host.exe");
#else
  return Bin("orvik-host");
#endif
}
std::string Misbehaving() { return Bin(platform::LibraryFileName("OrvikMisbehaving.dll")); }

std::string DemoBoard() { return ReadWholeFile(Bin("testdata/demo-board.pcb")); }

struct HostRun {
  int status = -1;  // the exit code, or 128 + the signal
  std::string out;
  std::string err;
};

// orvik-host with `args` in `folder`, through convert's own runner (which
// also retries Wine's failure to start a program, and only that).
HostRun Host(const std::vector<std::string>& args, const std::string& folder) {
  JobRunner runner(1, std::chrono::seconds(120));
  Job job;
  job.command = {Host(), args, folder};
  JobOutcome outcome;
  runner.Run(
      {job}, {0}, [&](std::size_t, JobOutcome o) { outcome = std::move(o); }, [] { return false; }, [] {});
  HostRun run;
  run.out = outcome.outputTail;
  run.err = outcome.errorTail;
  if (outcome.kind == JobOutcome::Kind::kEnded) {
    run.status = static_cast<int>(outcome.end.code) + (outcome.end.kind == ChildEnd::Kind::kSignal ? 128 : 0);
  }
  return run;
}

void Write(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

JsonValue Parse(const fs::path& path) {
  const auto value = JsonValue::Parse(ReadWholeFile(test::NarrowName(path)));
  EXPECT_TRUE(value.has_value()) << path;
  return value.value_or(JsonValue());
}

// The report's files as name -> status, and the names in order.
struct Listed {
  std::vector<std::string> names;
  std::map<std::string, std::string> status;
  std::map<std::string, std::string> detail;
};
Listed ListReport(const JsonValue& report) {
  Listed listed;
  for (const JsonValue& file : report["files"].Items()) {
    const std::string place = file["place"].Text();
    listed.names.push_back(place);
    listed.status[place] = file["status"].Text();
    listed.detail[place] = file["detail"].Text();
  }
  return listed;
}

// Files whose names hold ".tmp" anywhere below `folder`.
std::vector<std::string> Temporaries(const fs::path& folder) {
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.path().filename().string().find(".tmp") != std::string::npos) found.push_back(entry.path().string());
  }
  return found;
}

class ConvertTest : public ::testing::Test {
 protected:
  std::string In() const { return test::NarrowName(dir_.Path() / "in"); }
  std::string Out() const { return test::NarrowName(dir_.Path() / "out"); }
  HostRun Convert(std::vector<std::string> extra) const {
    std::vector<std::string> args = {"convert", In(), "--out", Out(), "--no-progress"};
    args.insert(args.end(), extra.begin(), extra.end());
    return Host(args, test::NarrowName(dir_.Path()));
  }
  const TempDir dir_;
};

#ifndef _WIN32
// The archive of the issue: nested good files, one not recognised, entries
// named *.pcb that cannot be read, a link loop, a link to a file taken
// already, names with spaces, UTF-8 and Windows-1252 bytes.
TEST_F(ConvertTest, FolderOfEveryKind) {
  const fs::path in = In();
  const std::string board = DemoBoard();
  Write(in / "UPPER.PCB", board);
  Write(in / "a" / "b" / "deep.pcb", board);
  Write(in / "caf\xE9.pcb", board);
  Write(in / "folder.pcb" / "inner.pcb", board);
  Write(in / "good.pcb", board);
  Write(in / "my board.pcb", board);
  Write(in / "notes.pcb", "just some notes\n");
  Write(in / "plan\xC3\xA9.pcb", board);
  Write(in / "readme.txt", "not a board by its name\n");
  fs::create_symlink("../good.pcb", in / "a" / "again.pcb");
  fs::create_directory_symlink("..", in / "a" / "loop");
  fs::create_symlink("nowhere.pcb", in / "gone.pcb");
  ASSERT_EQ(mkfifo((in / "pipe.pcb").c_str(), 0644), 0);

  const HostRun run = Convert({"--jobs", "2"});
  EXPECT_EQ(run.status, 1) << run.err;
  const JsonValue report = Parse(fs::path(Out()) / "report.json");
  const Listed listed = ListReport(report);
  // In the walk's order (bytewise, depth first); good.pcb was reached first
  // as a/again.pcb; the loop is not walked again.
  // The name that is no UTF-8 is shown escaped; its file is converted.
  const std::vector<std::string> order = {
      "UPPER.PCB", "a/again.pcb",  "a/b/deep.pcb", "caf\\xE9.pcb", "folder.pcb",      "folder.pcb/inner.pcb",
      "gone.pcb",  "my board.pcb", "notes.pcb",    "pipe.pcb",     "plan\xC3\xA9.pcb"};
  EXPECT_EQ(listed.names, order);
  const std::map<std::string, std::string> expected = {
      {"UPPER.PCB", "converted"},    {"a/again.pcb", "converted"},     {"a/b/deep.pcb", "converted"},
      {"caf\\xE9.pcb", "converted"}, {"folder.pcb", "unreadable"},     {"folder.pcb/inner.pcb", "converted"},
      {"gone.pcb", "unreadable"},    {"my board.pcb", "converted"},    {"notes.pcb", "not-recognised"},
      {"pipe.pcb", "unreadable"},    {"plan\xC3\xA9.pcb", "converted"}};
  EXPECT_EQ(listed.status, expected);
  EXPECT_EQ(listed.detail.at("gone.pcb"), "a symbolic link to nothing");
  EXPECT_EQ(listed.detail.at("pipe.pcb"), "not a regular file");

  const JsonValue& totals = report["totals"];
  EXPECT_EQ(totals["found"].Number(), 11);
  EXPECT_EQ(totals["converted"].Number(), 7);
  EXPECT_EQ(totals["not-recognised"].Number(), 1);
  EXPECT_EQ(totals["unreadable"].Number(), 3);
  for (const JsonValue& file : report["files"].Items()) {
    if (file["place"].Text() != "caf\\xE9.pcb") continue;
    EXPECT_FALSE(file["utf8"].Bool(true));
    EXPECT_NE(file["name"].Text().find("caf\\xE9.pcb"), std::string::npos);
  }
  for (const char* output :
       {"UPPER.kicad_pcb", "a/b/deep.kicad_pcb", "caf\xE9.kicad_pcb", "my board.kicad_pcb", "plan\xC3\xA9.kicad_pcb",
        "folder.pcb/inner.kicad_pcb", "a/again.summary.json", "notes.summary.json"}) {
    EXPECT_EQ(Describe(JoinPath(Out(), output)).type, EntryType::kFile) << output;
  }
  EXPECT_EQ(Describe(JoinPath(Out(), "notes.kicad_pcb")).type, EntryType::kMissing);
  const std::string html = ReadWholeFile(JoinPath(Out(), "report.html"));
  EXPECT_NE(html.find("caf\\xE9.pcb"), std::string::npos);
  EXPECT_NE(html.find("plan\xC3\xA9.pcb"), std::string::npos);
  EXPECT_NE(html.find("href=\"caf%E9.kicad_pcb\""), std::string::npos);
  EXPECT_TRUE(Temporaries(Out()).empty());
}

#endif

// A second run converts nothing; a changed file is converted again, and
// --force converts them all.
TEST_F(ConvertTest, RerunIsUpToDateAndForceConvertsAgain) {
  const std::string board = DemoBoard();
  Write(fs::path(In()) / "one.pcb", board);
  Write(fs::path(In()) / "sub" / "two.pcb", board);
  Write(fs::path(In()) / "notes.pcb", "notes\n");
  ASSERT_EQ(Convert({"--html"}).status, 1);

  auto statuses = [&] { return ListReport(Parse(fs::path(Out()) / "report.json")).status; };
  const HostRun again = Convert({"--html"});
  EXPECT_EQ(again.status, 1) << again.err;
  EXPECT_EQ(statuses(),
            (std::map<std::string, std::string>{
                {"one.pcb", "up-to-date"}, {"sub/two.pcb", "up-to-date"}, {"notes.pcb", "not-recognised"}}));
  // Up-to-date rows keep the counts of the run that made them.
  const JsonValue report = Parse(fs::path(Out()) / "report.json");
  EXPECT_EQ(report["files"].Items().at(1)["objects"]["created"].Number(), 37);

  // Other options make other outputs: not up to date.
  const HostRun otherOptions = Convert({});
  EXPECT_EQ(statuses().at("one.pcb"), "converted") << otherOptions.err;

  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  Write(fs::path(In()) / "sub" / "two.pcb", board + "# changed\n");
  Convert({});
  EXPECT_EQ(statuses().at("one.pcb"), "up-to-date");
  EXPECT_EQ(statuses().at("sub/two.pcb"), "converted");

  Convert({"--force"});
  EXPECT_EQ(statuses(), (std::map<std::string, std::string>{
                            {"one.pcb", "converted"}, {"sub/two.pcb", "converted"}, {"notes.pcb", "not-recognised"}}));
}

#ifndef _WIN32
// SIGTERM while a child hangs: the children are stopped, no temporary file
// stays, the report lists what finished, and the status is 143.
TEST_F(ConvertTest, InterruptedRunReportsWhatFinished) {
  // --jobs 1 runs the largest first: the good files, then the hang.
  const std::string padding(4096, '#');
  Write(fs::path(In()) / "1-good.pcb", "ORVIK\n" + padding + "\n");
  Write(fs::path(In()) / "2-hang.pcb", "ORVIK\nHANG\n");
  Write(fs::path(In()) / "3-good.pcb", "ORVIK\n" + padding + "\n");
  std::string error;
  auto child =
      ChildProcess::Start({Host(),
                           {"convert", In(), "--out", Out(), "--no-progress", "--jobs", "1", "--plugin", Misbehaving()},
                           test::NarrowName(dir_.Path())},
                          error);
  ASSERT_TRUE(child) << error;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while ((Describe(JoinPath(Out(), "1-good.summary.json")).type != EntryType::kFile ||
          Describe(JoinPath(Out(), "3-good.summary.json")).type != EntryType::kFile) &&
         std::chrono::steady_clock::now() < deadline) {
    ChildProcess::WaitAny({child.get()}, std::chrono::milliseconds(20));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the hang's child is running
  child->Terminate();
  while (!child->Ended()) ChildProcess::WaitAny({child.get()}, std::chrono::milliseconds(50));
  EXPECT_EQ(child->End().code, 143u) << child->ErrorTail();

  const JsonValue report = Parse(fs::path(Out()) / "report.json");
  EXPECT_TRUE(report["interrupted"].Bool());
  EXPECT_EQ(ListReport(report).status,
            (std::map<std::string, std::string>{
                {"1-good.pcb", "converted"}, {"2-hang.pcb", "interrupted"}, {"3-good.pcb", "converted"}}));
  EXPECT_TRUE(Temporaries(Out()).empty());
  // What finished is up to date for the next run.
  EXPECT_NE(ReadWholeFile(JoinPath(Out(), ".orvik-convert-stamp")).find("converted"), std::string::npos);
}
#endif

// Children that crash, hang, fail or are not recognised cost their file
// only; the results come in input order, whatever order they end in.
TEST_F(ConvertTest, MisbehavingChildrenCostTheirFileOnly) {
  const fs::path in = In();
  Write(in / "1 good.pcb", "ORVIK board\n");  // a space: one argument on Windows too
  Write(in / "2-crash.pcb", "ORVIK board\nCRASH\n");
  Write(in / "3-hang.pcb", "ORVIK board\nHANG\n");
  Write(in / "4-fail.pcb", "ORVIK board\nFAIL\n");
  Write(in / "5-other.pcb", "something else\n");
  // As a child that crashed or was stopped while writing would leave them.
  Write(fs::path(Out()) / "2-crash.kicad_pcb.tmp", "half");
  Write(fs::path(Out()) / "3-hang.summary.json.tmp", "half");
  const HostRun run = Convert({"--plugin", Misbehaving(), "--timeout", "3", "--jobs", "3"});
  EXPECT_EQ(run.status, 4) << run.err;
  const Listed listed = ListReport(Parse(fs::path(Out()) / "report.json"));
  EXPECT_EQ(listed.names,
            (std::vector<std::string>{"1 good.pcb", "2-crash.pcb", "3-hang.pcb", "4-fail.pcb", "5-other.pcb"}));
  EXPECT_EQ(listed.status, (std::map<std::string, std::string>{{"1 good.pcb", "converted"},
                                                               {"2-crash.pcb", "failed"},
                                                               {"3-hang.pcb", "failed"},
                                                               {"4-fail.pcb", "failed"},
                                                               {"5-other.pcb", "not-recognised"}}));
#ifdef _WIN32
  EXPECT_EQ(listed.detail.at("2-crash.pcb"), "crashed: exception 0xC0000005 (access violation)");
#else
  EXPECT_EQ(listed.detail.at("2-crash.pcb"), "crashed: signal 11 (SIGSEGV)");
#endif
  EXPECT_EQ(listed.detail.at("3-hang.pcb"), "timed out: stopped after 3 s");
  EXPECT_EQ(listed.detail.at("4-fail.pcb"), "the import failed: the plug-in returned false (exit code 4)");
  // Off a terminal: no bar, no child output, one line per problem in order.
  // (A bar redraws its line with a carriage return; Windows ends lines with CR LF.)
  for (std::size_t cr = run.err.find('\r'); cr != std::string::npos; cr = run.err.find('\r', cr + 1)) {
    EXPECT_EQ(run.err.substr(cr, 2), "\r\n") << run.err;
  }
  EXPECT_LT(run.err.find("2-crash.pcb: failed"), run.err.find("3-hang.pcb: failed"));
  EXPECT_LT(run.err.find("3-hang.pcb: failed"), run.err.find("4-fail.pcb: failed"));
  EXPECT_TRUE(Temporaries(Out()).empty());
}

// Exit statuses by what the files came to.
TEST_F(ConvertTest, ExitStatuses) {
  struct Case {
    const char* name;
    std::string contents;
    bool misbehaving;
    int status;
  };
  const Case cases[] = {
      {"good.pcb", DemoBoard(), false, 0},
      {"text.pcb", "no board\n", false, 1},
      {"fails.pcb", "ORVIK\nFAIL\n", true, 4},
  };
  for (const Case& c : cases) {
    const TempDir dir;
    Write(dir.Path() / "in" / c.name, c.contents);
    std::vector<std::string> args = {"convert", test::NarrowName(dir.Path() / "in"), "--out",
                                     test::NarrowName(dir.Path() / "out")};
    if (c.misbehaving) args.insert(args.end(), {"--plugin", Misbehaving()});
    const HostRun run = Host(args, test::NarrowName(dir.Path()));
    EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err;
    EXPECT_NE(run.out.find("Report: "), std::string::npos) << c.name;
  }
  // An input that is not there: one line naming it; the rest goes on.
  Write(fs::path(In()) / "good.pcb", DemoBoard());
  const std::string missing = test::NarrowName(dir_.Path() / "missing.pcb");
  const HostRun run = Host({"convert", In(), missing, "--out", Out()}, test::NarrowName(dir_.Path()));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cannot read the input " + missing), std::string::npos) << run.err;
  EXPECT_EQ(ListReport(Parse(fs::path(Out()) / "report.json")).status,
            (std::map<std::string, std::string>{{"good.pcb", "converted"}, {"missing.pcb", "unreadable"}}));
}

// An output folder that cannot be made: status 2, one line naming it.
TEST_F(ConvertTest, OutputFolderThatCannotBeCreated) {
  Write(fs::path(In()) / "good.pcb", DemoBoard());
  Write(dir_.Path() / "plain-file", "in the way\n");
  const std::string out = test::NarrowName(dir_.Path() / "plain-file" / "out");
  const HostRun run = Host({"convert", In(), "--out", out}, test::NarrowName(dir_.Path()));
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("cannot create the output folder " + out), std::string::npos) << run.err;
}

// An output a child cannot write (as on a full disk) fails its file with a
// line that names it; the other files are converted.
TEST_F(ConvertTest, OutputThatCannotBeWritten) {
  Write(fs::path(In()) / "a.pcb", DemoBoard());
  Write(fs::path(In()) / "b.pcb", DemoBoard());
  fs::create_directories(fs::path(Out()) / "b.kicad_pcb.tmp" / "in the way");
  const HostRun run = Convert({});
  EXPECT_EQ(run.status, 4) << run.err;
  const Listed listed = ListReport(Parse(fs::path(Out()) / "report.json"));
  EXPECT_EQ(listed.status.at("a.pcb"), "converted");
  EXPECT_EQ(listed.status.at("b.pcb"), "failed");
  EXPECT_NE(
      listed.detail.at("b.pcb").find("an output could not be written (exit code 5): cannot create the KiCad board"),
      std::string::npos)
      << listed.detail.at("b.pcb");
  EXPECT_NE(run.err.find("b.kicad_pcb"), std::string::npos) << run.err;
}

// import writes each output under NAME.tmp and renames it: where the
// temporary name cannot be written, the finished file from before stays as
// it was, and the status says so; on success no temporary file is left.
TEST(ImportOutputs, WrittenUnderTemporaryNamesAndRenamed) {
  const TempDir dir;
  const std::string board = test::NarrowName(dir.Path() / "board.pcb");
  Write(board, DemoBoard());
  const std::vector<std::pair<std::string, std::string>> outputs = {
      {"--json", "dump.json"},         {"--journal", "calls.txt"},     {"--svg", "board.svg"},
      {"--html", "board.html"},        {"--kicad", "board.kicad_pcb"}, {"--summary-json", "summary.json"},
      {"--check-report", "check.txt"}, {"--check-json", "check.json"}};
  std::vector<std::string> all = {"import", "board.pcb", "--no-progress"};
  for (const auto& [option, name] : outputs) all.insert(all.end(), {option, name});
  const HostRun good = Host(all, test::NarrowName(dir.Path()));
  ASSERT_EQ(good.status, 0) << good.err;
  for (const auto& [option, name] : outputs) {
    EXPECT_GT(Describe(test::NarrowName(dir.Path() / name)).size, 0u) << option;
  }
  EXPECT_TRUE(Temporaries(dir.Path()).empty());

  for (const auto& [option, name] : outputs) {
    const fs::path final = dir.Path() / name;
    Write(final, "finished before\n");
    fs::create_directory(dir.Path() / (name + ".tmp"));  // the temporary name cannot be a file
    const HostRun run = Host({"import", "board.pcb", "--no-progress", option, name}, test::NarrowName(dir.Path()));
    EXPECT_EQ(run.status, 5) << option << ": " << run.err;
    EXPECT_NE(run.err.find(name), std::string::npos) << option << ": " << run.err;
    EXPECT_EQ(run.err.find(name + ".tmp"), std::string::npos) << option << ": " << run.err;
    EXPECT_EQ(ReadWholeFile(test::NarrowName(final)), "finished before\n") << option;
    fs::remove(dir.Path() / (name + ".tmp"));
  }
}

}  // namespace
}  // namespace orvik::host::convert
