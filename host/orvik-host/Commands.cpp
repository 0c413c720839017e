#include "host/orvik-host/Commands.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/orvik-host/AtomicOutput.h"
#include "host/orvik-host/BoardPreview.h"
#include "host/orvik-host/CheckReport.h"
#include "host/orvik-host/ExitCodes.h"
#include "host/orvik-host/FileExists.h"
#include "host/orvik-host/HtmlPage.h"
#include "host/orvik-host/ProgressBar.h"
#include "host/orvik-host/SceneReader.h"
#include "host/orvik-host/Summary.h"
#include "host/orvik-host/SummaryJson.h"
#include "host/orvik-host/convert/Convert.h"
#include "host/orvik-host/convert/FileSystem.h"
#include "host/orvik-host/kicad/KicadExport.h"
#include "platform/TextFile.h"
#include "reader/FileCheck.h"

#ifndef ORVIK_HOST_VERSION
#define ORVIK_HOST_VERSION "0"
#endif

namespace orvik::host {

namespace {

constexpr const char* kProgram = "orvik-host";

// The caller has checked the length against kMaxFileNameBytes.
OrvikShortString ToShortString(const std::string& text) {
  OrvikShortString s{};
  s.length = static_cast<uint8_t>(std::min(text.size(), kMaxFileNameBytes));
  text.copy(s.text, s.length);
  return s;
}

void PrintError(const std::string& message) { std::fprintf(stderr, "%s: error: %s\n", kProgram, message.c_str()); }

struct FileCloser {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool WriteJournal(const KovlanApi& api, const std::string& path, std::string& error) {
  AtomicOutput output(path);
  File file(std::fopen(output.WritePath().c_str(), "wb"));
  if (!file) {
    error = "cannot create the journal file " + path;
    return false;
  }
  std::vector<char> line(1024);
  constexpr std::size_t kMaxLine = std::size_t{1} << 20;
  const int32_t count = api.JournalCount();
  for (int32_t i = 0; i < count; ++i) {
    int32_t length = api.JournalEntry(i, line.data(), static_cast<int32_t>(line.size()));
    // -1 also means "buffer too small": retry with a larger one.
    while (length < 0 && line.size() < kMaxLine) {
      line.resize(line.size() * 4);
      length = api.JournalEntry(i, line.data(), static_cast<int32_t>(line.size()));
    }
    if (length < 0 || static_cast<std::size_t>(length) >= line.size()) {
      error = "cannot read journal entry " + std::to_string(i) + " from the host module";
      return false;
    }
    if (std::fwrite(line.data(), 1, static_cast<std::size_t>(length), file.get()) != static_cast<std::size_t>(length) ||
        std::fputc('\n', file.get()) == EOF) {
      error = "cannot write the journal file " + path;
      return false;
    }
  }
  if (std::fclose(file.release()) != 0 || !output.Commit()) {
    error = "cannot write the journal file " + path;
    return false;
  }
  return true;
}

bool WantProgress(ProgressMode mode) {
  switch (mode) {
    case ProgressMode::kOn:
      return true;
    case ProgressMode::kOff:
      return false;
    case ProgressMode::kAuto:
      break;
  }
  return StderrIsTerminal();
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// import --summary-json: written however the import ends, once the modules
// are loaded.
class SummaryJsonWriter {
 public:
  SummaryJsonWriter(const Options& options, ImportRecord& record)
      : options_(options), record_(record), start_(std::chrono::steady_clock::now()) {
    record_.file = options.file;
  }
  // The exit code, or kExitOutputFailure when the summary cannot be written.
  int Finish(int exitCode) {
    if (options_.summaryJsonPath.empty()) return exitCode;
    record_.totalSeconds = SecondsSince(start_);
    if (!WriteFileAtomically(options_.summaryJsonPath, ImportRecordJson(record_))) {
      PrintError("cannot write the import summary " + options_.summaryJsonPath);
      if (exitCode == kExitOk) return kExitOutputFailure;
    }
    return exitCode;
  }

 private:
  const Options& options_;
  ImportRecord& record_;
  std::chrono::steady_clock::time_point start_;
};

// import --check-report / --check-json: check's reports of the imported file.
bool WriteCheckReports(const HostModules& modules, const Options& options, ImportRecord& record) {
  if (options.checkReportPath.empty() && options.checkJsonPath.empty()) return true;
  modules.Kovlan().Reset();
  try {
    record.check = CheckFile(options.file);
  } catch (const platform::EInOutError& e) {
    PrintError("cannot read the file " + options.file + " for its check (" + e.what() + ")");
    return false;
  }
  bool ok = true;
  if (!options.checkReportPath.empty() &&
      !WriteFileAtomically(options.checkReportPath, CheckText(*record.check, options.file))) {
    PrintError("cannot write the check report " + options.checkReportPath);
    ok = false;
  }
  if (!options.checkJsonPath.empty() &&
      !WriteFileAtomically(options.checkJsonPath, CheckJson(*record.check, options.file))) {
    PrintError("cannot write the check report " + options.checkJsonPath);
    ok = false;
  }
  return ok;
}

// The SVG and HTML board previews the options ask for.
bool WritePreviews(const BoardScene& scene, const Options& options, std::string& error) {
  bool ok = true;
  if (!options.svgPath.empty() && !WriteFileAtomically(options.svgPath, BoardSvg(scene))) {
    error = "cannot write the SVG preview " + options.svgPath;
    ok = false;
  }
  const std::size_t slash = options.file.find_last_of("/\\");
  const std::string title = slash == std::string::npos ? options.file : options.file.substr(slash + 1);
  if (!options.htmlPath.empty() && !WriteFileAtomically(options.htmlPath, BoardHtml(scene, title))) {
    error = (ok ? "" : error + "; ") + "cannot write the HTML preview " + options.htmlPath;
    ok = false;
  }
  return ok;
}

}  // namespace

int RunDescribe(const ImporterApi& importer) {
  const char* description = importer.GetPcbImporterDescription();
  if (description == nullptr) {
    PrintError("the plug-in returned no description");
    return kExitLoadFailure;
  }
  std::printf("%s\n", description);
  return kExitOk;
}

int RunRecognise(const ImporterApi& importer, const Options& options) {
  const OrvikShortString name = ToShortString(options.file);
  const bool recognised = importer.RecognisedPCBFile(&name) != 0;
  std::printf("%s: %s\n", options.file.c_str(), recognised ? "recognised" : "not recognised");
  if (!recognised && !FileExists(options.file.c_str())) {
    std::fprintf(stderr, "%s: note: %s is not an existing regular file\n", kProgram, options.file.c_str());
  }
  return recognised ? kExitOk : kExitNotRecognised;
}

int RunImport(const HostModules& modules, const Options& options) {
  const KovlanApi& kovlan = modules.Kovlan();
  ImportRecord record;
  SummaryJsonWriter summaryJson(options, record);
  if (!FileExists(options.file.c_str())) {
    PrintError("cannot find the file " + options.file);
    record.status = ImportStatus::kUnreadable;
    record.reason = "not an existing regular file";
    return summaryJson.Finish(kExitLoadFailure);
  }
  if (options.ifRecognised) {
    record.reason = convert::OpenFailure(options.file);
    if (!record.reason.empty()) {
      PrintError("cannot read the file " + options.file + " (" + record.reason + ")");
      record.status = ImportStatus::kUnreadable;
      return summaryJson.Finish(kExitLoadFailure);
    }
    const OrvikShortString name = ToShortString(options.file);
    if (modules.Importer().RecognisedPCBFile(&name) == 0) {
      std::printf("%s: not recognised\n", options.file.c_str());
      record.status = ImportStatus::kNotRecognised;
      return summaryJson.Finish(kExitNotRecognised);
    }
  }

  kovlan.Reset();
  if (!options.journalPath.empty()) kovlan.SetJournal(1);

  std::unique_ptr<ProgressBar> progress;
  if (WantProgress(options.progress)) {
    progress = std::make_unique<ProgressBar>(stderr, TerminalColumns() - 1);
    kovlan.SetProgressCallback(&ProgressBar::Callback, progress.get());
  }

  const OrvikShortString name = ToShortString(options.file);
  const OrvikShortString unused{};
  const auto start = std::chrono::steady_clock::now();
  const bool imported = modules.Importer().ImportFileIntoPcb(&name, &unused) != 0;
  record.importSeconds = SecondsSince(start);
  record.status = imported ? ImportStatus::kImported : ImportStatus::kFailed;

  if (progress) {
    kovlan.SetProgressCallback(nullptr, nullptr);
    progress->Close();
  }
  if (!options.journalPath.empty()) kovlan.SetJournal(0);

  // Outputs are written even for a failed import: they show what happened.
  int exitCode = kExitOk;
  if (!options.jsonPath.empty()) {
    AtomicOutput dump(options.jsonPath);
    if (kovlan.DumpJson(dump.WritePath().c_str()) != 0 || !dump.Commit()) {
      PrintError("cannot write the board dump " + options.jsonPath);
      exitCode = kExitOutputFailure;
    }
  }
  std::string error;
  if (!options.journalPath.empty() && !WriteJournal(kovlan, options.journalPath, error)) {
    PrintError(error);
    exitCode = kExitOutputFailure;
  }
  // The previews and the KiCad board share one read of the board.
  std::optional<BoardScene> scene;
  double sceneSeconds = 0;
  if (!options.svgPath.empty() || !options.htmlPath.empty() || !options.kicadPath.empty()) {
    const auto sceneStart = std::chrono::steady_clock::now();
    scene = ReadBoardScene(kovlan);
    sceneSeconds = SecondsSince(sceneStart);
  }
  if (scene && !WritePreviews(*scene, options, error)) {
    PrintError(error);
    exitCode = kExitOutputFailure;
  }
  if (!options.kicadPath.empty()) {
    kicad::KicadOptions kicadOptions;
    kicadOptions.hostStack = options.kicadStack == KicadStack::kHost;
    AtomicOutput board(options.kicadPath);
    if (!kicad::ExportKicadBoard(kovlan, *scene, options.kicadPath, record.kicad.emplace(), error, kicadOptions,
                                 board.WritePath())) {
      PrintError(error);
      exitCode = kExitOutputFailure;
    } else if (!board.Commit()) {
      PrintError("cannot write the KiCad board " + options.kicadPath);
      exitCode = kExitOutputFailure;
    }
    record.kicad->seconds += sceneSeconds;  // the summary gives reading the board and writing the file
  }
  if (imported || !options.summaryJsonPath.empty()) record.summary = CollectSummary(kovlan, options.top);

  if (!imported) {
    PrintError("the plug-in did not import " + options.file + " (not recognised, or the import failed)");
    WriteCheckReports(modules, options, record);
    return summaryJson.Finish(kExitImportFailed);
  }
  ImportSummary& summary = *record.summary;
  summary.fileName = options.file;
  summary.seconds = record.importSeconds;
  PrintSummary(stdout, summary);
  if (record.kicad) kicad::PrintKicadReport(stdout, *record.kicad);
  if (!WriteCheckReports(modules, options, record)) exitCode = kExitOutputFailure;
  return summaryJson.Finish(exitCode);
}

int RunCheck(const HostModules& modules, const Options& options) {
  // The reader asks the host for its board; it gets an empty one.
  modules.Kovlan().Reset();
  TFileCheck check;
  try {
    check = CheckFile(options.file);
  } catch (const platform::EInOutError& e) {
    PrintError("cannot read the file " + options.file + " (" + e.what() + ")");
    return kExitCheckUnreadable;
  }
  const bool toStdout = options.jsonPath == "-";
  if (!options.jsonPath.empty() && !toStdout &&
      !WriteFileAtomically(options.jsonPath, CheckJson(check, options.file))) {
    PrintError("cannot write the check report " + options.jsonPath);
    return kExitOutputFailure;
  }
  const std::string report = toStdout ? CheckJson(check, options.file) : CheckText(check, options.file);
  std::fputs(report.c_str(), stdout);
  return check.Findings.empty() ? kExitOk : kExitCheckWarnings;
}

int RunHost(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i] != nullptr ? argv[i] : "");

  const ParseResult parsed = ParseCommandLine(args);
  if (!parsed.ok()) {
    PrintError(parsed.error);
    std::fprintf(stderr, "Try '%s --help' for more information.\n", kProgram);
    return kExitUsage;
  }
  const Options& options = parsed.options;
  switch (options.command) {
    case Command::kHelp:
      std::fputs(UsageText(kProgram, options.helpTopic).c_str(), stdout);
      return kExitOk;
    case Command::kVersion:
      std::printf("%s %s\n", kProgram, ORVIK_HOST_VERSION);
      return kExitOk;
    default:
      break;
  }

  if (options.command == Command::kConvert) return convert::RunConvert(options, argc > 0 ? argv[0] : kProgram);
  RemovePendingOutputsOnSignal();
  HostModules modules;
  std::string error;
  if (!modules.Load(options.pluginPath, error)) {
    PrintError(error);
    return kExitLoadFailure;
  }
  switch (options.command) {
    case Command::kDescribe:
      return RunDescribe(modules.Importer());
    case Command::kRecognise:
      return RunRecognise(modules.Importer(), options);
    case Command::kImport:
      return RunImport(modules, options);
    case Command::kCheck:
      return RunCheck(modules, options);
    default:
      PrintError("no command given");
      return kExitUsage;
  }
}

}  // namespace orvik::host
