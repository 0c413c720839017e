#include "host/orvik-host/Commands.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/orvik-host/BoardPreview.h"
#include "host/orvik-host/CheckReport.h"
#include "host/orvik-host/ExitCodes.h"
#include "host/orvik-host/FileExists.h"
#include "host/orvik-host/HtmlPage.h"
#include "host/orvik-host/ProgressBar.h"
#include "host/orvik-host/SceneReader.h"
#include "host/orvik-host/Summary.h"
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
  File file(std::fopen(path.c_str(), "wb"));
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
  if (std::fclose(file.release()) != 0) {
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

bool WriteTextFile(const std::string& path, const std::string& text) {
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size()) return false;
  return std::fflush(file.get()) == 0;
}

// The SVG and HTML board previews the options ask for.
bool WritePreviews(const BoardScene& scene, const Options& options, std::string& error) {
  bool ok = true;
  if (!options.svgPath.empty() && !WriteTextFile(options.svgPath, BoardSvg(scene))) {
    error = "cannot write the SVG preview " + options.svgPath;
    ok = false;
  }
  const std::size_t slash = options.file.find_last_of("/\\");
  const std::string title = slash == std::string::npos ? options.file : options.file.substr(slash + 1);
  if (!options.htmlPath.empty() && !WriteTextFile(options.htmlPath, BoardHtml(scene, title))) {
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
  if (!FileExists(options.file.c_str())) {
    PrintError("cannot find the file " + options.file);
    return kExitLoadFailure;
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
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

  if (progress) {
    kovlan.SetProgressCallback(nullptr, nullptr);
    progress->Close();
  }
  if (!options.journalPath.empty()) kovlan.SetJournal(0);

  // Outputs are written even for a failed import: they show what happened.
  int exitCode = kExitOk;
  if (!options.jsonPath.empty() && kovlan.DumpJson(options.jsonPath.c_str()) != 0) {
    PrintError("cannot write the board dump " + options.jsonPath);
    exitCode = kExitOutputFailure;
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
    sceneSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - sceneStart).count();
  }
  if (scene && !WritePreviews(*scene, options, error)) {
    PrintError(error);
    exitCode = kExitOutputFailure;
  }
  std::optional<kicad::KicadReport> kicadReport;
  if (!options.kicadPath.empty()) {
    kicad::KicadOptions kicadOptions;
    kicadOptions.hostStack = options.kicadStack == KicadStack::kHost;
    if (!kicad::ExportKicadBoard(kovlan, *scene, options.kicadPath, kicadReport.emplace(), error, kicadOptions)) {
      PrintError(error);
      exitCode = kExitOutputFailure;
    }
    kicadReport->seconds += sceneSeconds;  // the summary gives reading the board and writing the file
  }

  if (!imported) {
    PrintError("the plug-in did not import " + options.file + " (not recognised, or the import failed)");
    return kExitImportFailed;
  }
  ImportSummary summary = CollectSummary(kovlan, options.top);
  summary.fileName = options.file;
  summary.seconds = elapsed.count();
  PrintSummary(stdout, summary);
  if (kicadReport) kicad::PrintKicadReport(stdout, *kicadReport);
  return exitCode;
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
  if (!options.jsonPath.empty() && !toStdout && !WriteTextFile(options.jsonPath, CheckJson(check, options.file))) {
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
      std::fputs(UsageText(kProgram).c_str(), stdout);
      return kExitOk;
    case Command::kVersion:
      std::printf("%s %s\n", kProgram, ORVIK_HOST_VERSION);
      return kExitOk;
    default:
      break;
  }

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
