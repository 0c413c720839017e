#include "host/orvik-host/convert/Convert.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>

#include "host/orvik-host/AtomicOutput.h"
#include "host/orvik-host/ExitCodes.h"
#include "host/orvik-host/ProgressBar.h"
#include "host/orvik-host/SummaryJson.h"
#include "host/orvik-host/convert/ConvertPlan.h"
#include "host/orvik-host/convert/ConvertProgress.h"
#include "host/orvik-host/convert/FileSystem.h"
#include "host/orvik-host/convert/Interrupt.h"
#include "host/orvik-host/convert/Report.h"
#include "host/orvik-host/kicad/KicadReport.h"
#include "orvik/importer.h"
#include "orvik/pcbapi.h"
#include "platform/Module.h"

#ifndef ORVIK_HOST_VERSION
#define ORVIK_HOST_VERSION "0"
#endif

namespace orvik::host::convert {

namespace {

constexpr std::size_t kErrorLines = 12;  // of a child's error output, in the report

void PrintError(const std::string& message) { std::fprintf(stderr, "orvik-host: error: %s\n", message.c_str()); }

// Check warnings, or KiCad objects left out: what a board lost on the way.
// (The KiCad board's other changes, approximations, inner layers that hold
// nothing and the like, are counted in the report but are no warning:
// nearly every board has some.)
bool HasWarnings(const FileResult& r) { return r.kicadObjectsLeftOut > 0 || r.checkWarnings > 0; }

// What a child's end and summary say about its file.
void Classify(FileResult& r, const JobOutcome& outcome, const std::string& summaryPath, int timeoutSeconds) {
  r.seconds = outcome.seconds;
  const std::string tail = LastLines(outcome.errorTail, kErrorLines);
  switch (outcome.kind) {
    case JobOutcome::Kind::kNotStarted:
      r.status = FileStatus::kFailed;
      r.detail = "cannot start orvik-host import: " + outcome.startError;
      return;
    case JobOutcome::Kind::kInterrupted:
      r.status = FileStatus::kInterrupted;
      r.detail = outcome.attempts > 0 ? "stopped: the run was interrupted" : "not started: the run was interrupted";
      return;
    case JobOutcome::Kind::kTimedOut:
      r.status = FileStatus::kFailed;
      r.detail = "timed out: stopped after " + std::to_string(timeoutSeconds) + " s";
      r.errorTail = tail;
      return;
    case JobOutcome::Kind::kEnded:
      break;
  }
  if (outcome.end.kind != ChildEnd::Kind::kExited) {
    r.status = FileStatus::kFailed;
    r.detail = "crashed: " + DescribeEnd(outcome.end);
    r.errorTail = tail;
    return;
  }
  const auto summary = JsonValue::Parse(ReadWholeFile(summaryPath));
  const ImportStatus said = summary ? ImportStatusByName((*summary)["status"].Text()) : ImportStatus::kCount;
  if (summary) TakeSummary(r, *summary);
  const uint32_t code = outcome.end.code;
  if (code == kExitOk && said == ImportStatus::kImported) {
    r.status = HasWarnings(r) ? FileStatus::kWarnings : FileStatus::kConverted;
    return;
  }
  r.errorTail = tail;
  if (code == kExitNotRecognised && said == ImportStatus::kNotRecognised) {
    r.status = FileStatus::kNotRecognised;
    r.errorTail.clear();
  } else if (code == kExitLoadFailure && said == ImportStatus::kUnreadable) {
    r.status = FileStatus::kUnreadable;
    r.detail = (*summary)["reason"].Text();
  } else {
    r.status = FileStatus::kFailed;
    const char* why = code == kExitImportFailed && said == ImportStatus::kFailed
                          ? "the import failed: the plug-in returned false"
                      : code == kExitOutputFailure ? "an output could not be written"
                      : code == kExitLoadFailure   ? "the plug-in or the host module could not be loaded"
                      : summary                    ? "the import ended"
                                                   : "the import ended without a summary";
    r.detail = std::string(why) + " (" + DescribeEnd(outcome.end) + ")";
    // The child names the output it could not write (a full disk, say).
    constexpr std::string_view kPrefix = "orvik-host: error: ";
    const std::string last = LastLines(outcome.errorTail, 1);
    if (code == kExitOutputFailure && last.starts_with(kPrefix)) r.detail += ": " + last.substr(kPrefix.size());
  }
}

bool Problem(FileStatus status) {
  return status != FileStatus::kConverted && status != FileStatus::kUpToDate && status != FileStatus::kWarnings;
}

int ExitStatus(const Totals& t) {
  if (Interrupt::Signal() != 0) return Interrupt::ExitStatus();
  if (t.Of(FileStatus::kFailed) > 0) return kExitImportFailed;
  if (t.Of(FileStatus::kNotRecognised) + t.Of(FileStatus::kUnreadable) + t.Of(FileStatus::kWarnings) > 0) return 1;
  return kExitOk;
}

std::vector<std::string> KicadClasses() {
  std::vector<std::string> classes;
  for (std::size_t c = 0; c < static_cast<std::size_t>(kicad::ChangeClass::kCount); ++c) {
    classes.emplace_back(kicad::ClassName(static_cast<kicad::ChangeClass>(c)));
  }
  return classes;
}

std::string SummaryLine(const Totals& t, const std::string& outDir) {
  std::string line = "Converted " + std::to_string(t.Of(FileStatus::kConverted) + t.Of(FileStatus::kWarnings)) +
                     " of " + std::to_string(t.found) + " files into " + outDir + " in ";
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.2f s", t.seconds);
  line += seconds;
  std::string parts;
  for (std::size_t s = 0; s < t.byStatus.size(); ++s) {
    if (t.byStatus[s] == 0) continue;
    parts += (parts.empty() ? "" : ", ") + std::to_string(t.byStatus[s]) + " " +
             std::string(StatusText(static_cast<FileStatus>(s)));
  }
  return line + (parts.empty() ? "" : ": " + parts);
}

}  // namespace

int RunConvert(const Options& options, const std::string& programName) {
  const auto started = std::chrono::steady_clock::now();
  const ConvertOptions& c = options.convert;
  Interrupt::Catch();

  std::string error;
  if (!MakeFolders(c.outDir, error)) {
    PrintError("cannot create the output folder " + c.outDir + " (" + error + ")");
    return kExitUsage;
  }
  const std::string probe = JoinPath(c.outDir, ".orvik-convert-probe");
  if (!WriteFileAtomically(probe, "") || !RemoveFile(probe)) {
    PrintError("cannot write in the output folder " + c.outDir);
    return kExitUsage;
  }
  const std::string outDir = AbsolutePath(c.outDir);
  std::string program = ExecutablePath();
  if (program.empty()) program = AbsolutePath(programName);
  const std::string programDir = ParentFolder(program);
  const std::string plugin = options.pluginPath.empty() ? "" : AbsolutePath(options.pluginPath);
  if (!plugin.empty() && Describe(plugin).type != EntryType::kFile) {
    PrintError("cannot find the importer plug-in " + options.pluginPath);
    return kExitLoadFailure;
  }

  for (const std::string& input : c.inputs) {
    const EntryInfo info = Describe(input);
    if (info.type == EntryType::kMissing) PrintError("cannot read the input " + input + " (" + info.error + ")");
  }
  InputWalk walk(c.allFiles, outDir);
  const std::vector<Candidate> candidates = walk.Walk(c.inputs);

  Planner planner(options, program, outDir, plugin);
  const std::string key = StampKey(
      {program, plugin.empty() ? JoinPath(programDir, platform::LibraryFileName(ORVIK_PLUGIN_MODULE_NAME)) : plugin,
       JoinPath(programDir, platform::LibraryFileName(ORVIK_PCBAPI_MODULE_NAME))},
      planner.OptionsText());
  Stamp stamp(key);
  stamp.Load(outDir);
  Plan plan = planner.Make(candidates, stamp);
  std::vector<FileResult>& results = plan.results;

  // The folders of the outputs, before any child runs.
  for (std::size_t j = 0; j < plan.jobs.size(); ++j) {
    FileResult& r = results[plan.jobFile[j]];
    const std::string folder = ParentFolder(JoinPath(outDir, r.stem));
    if (!MakeFolders(folder, error)) {
      r.status = FileStatus::kFailed;
      r.detail = "cannot create the folder " + folder + " (" + error + ")";
      plan.jobs[j].command.program.clear();
    }
    // A summary left by an earlier run must not speak for this one.
    RemoveFile(JoinPath(outDir, planner.Outputs(r.stem).front()));
  }
  std::vector<std::size_t> order;
  uint64_t jobBytes = 0;
  for (std::size_t j = 0; j < plan.jobs.size(); ++j) {
    if (plan.jobs[j].command.program.empty()) continue;
    order.push_back(j);
    jobBytes += results[plan.jobFile[j]].size;
  }
  // The largest files first, so that no large file runs alone at the end.
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return results[plan.jobFile[a]].size > results[plan.jobFile[b]].size;
  });

  const bool bar =
      options.progress == ProgressMode::kOn || (options.progress == ProgressMode::kAuto && StderrIsTerminal());
  ConvertProgress progress(stderr, bar, order.size(), jobBytes);

  // Results are told in input order, each once all before it are known.
  std::vector<bool> known(results.size(), true);
  for (const std::size_t j : order) known[plan.jobFile[j]] = false;
  std::size_t told = 0;
  auto tell = [&] {
    for (; told < results.size() && known[told]; ++told) {
      const FileResult& r = results[told];
      if (!Problem(r.status) || r.status == FileStatus::kInterrupted) continue;
      std::string line = "orvik-host: " + r.path + ": " + std::string(StatusText(r.status));
      if (!r.detail.empty()) line += " (" + r.detail + ")";
      progress.Print(line);
    }
  };
  tell();

  const int jobs = c.jobs > 0 ? c.jobs : UsableCores();
  JobRunner runner(jobs, std::chrono::seconds(c.timeoutSeconds));
  runner.Run(
      plan.jobs, order,
      [&](std::size_t j, JobOutcome outcome) {
        const std::size_t i = plan.jobFile[j];
        FileResult& r = results[i];
        Classify(r, outcome, JoinPath(outDir, planner.Outputs(r.stem).front()), c.timeoutSeconds);
        for (const std::string& output : planner.Outputs(r.stem)) {
          if (Describe(JoinPath(outDir, output)).type == EntryType::kFile) r.outputs.push_back(output);
        }
        if (r.status == FileStatus::kConverted || r.status == FileStatus::kWarnings ||
            r.status == FileStatus::kNotRecognised) {
          const Candidate& cand = candidates[i];
          stamp.Record(r.relative, {cand.size, cand.modified, std::string(StatusKey(r.status))});
        } else {
          stamp.Forget(r.relative);
        }
        known[i] = true;
        progress.FileDone(r.size, r.status == FileStatus::kFailed);
        tell();
      },
      [] { return Interrupt::Signal() != 0; }, [&] { progress.Draw(); });
  for (std::size_t i = 0; i < results.size(); ++i) known[i] = true;
  tell();
  progress.Close();

  Report report;
  report.files = std::move(results);
  report.totals =
      Count(report.files, std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
  report.outDir = outDir;
  report.version = ORVIK_HOST_VERSION;
  report.interrupted = Interrupt::Signal() != 0;
  report.exitStatus = ExitStatus(report.totals);
  report.kicadClasses = KicadClasses();

  int status = report.exitStatus;
  const std::string jsonPath = JoinPath(outDir, "report.json");
  const std::string htmlPath = JoinPath(outDir, "report.html");
  if (!stamp.Save(outDir)) {
    PrintError("cannot write the stamp " + JoinPath(outDir, Stamp::kFileName));
    if (status == kExitOk || status == 1) status = kExitUsage;
  }
  if (!WriteFileAtomically(jsonPath, ReportJson(report))) {
    PrintError("cannot write the report " + jsonPath);
    if (status == kExitOk || status == 1) status = kExitUsage;
  }
  if (!WriteFileAtomically(htmlPath, ReportHtml(report))) {
    PrintError("cannot write the report " + htmlPath);
    if (status == kExitOk || status == 1) status = kExitUsage;
  }
  std::printf("%s\nReport: %s\n", SummaryLine(report.totals, outDir).c_str(), htmlPath.c_str());
  std::fflush(stdout);
  return status;
}

}  // namespace orvik::host::convert
