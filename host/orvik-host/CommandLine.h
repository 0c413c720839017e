// Command-line parsing of orvik-host (with CLI11) and its usage text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/orvik-host/convert/ConvertOptions.h"

namespace orvik::host {

enum class Command { kNone, kHelp, kVersion, kDescribe, kRecognise, kImport, kCheck, kConvert };

// Which copper layers the KiCad board gets.
enum class KicadStack {
  kUsed,  // top and bottom, and the inner layers that hold an exported object
  kHost   // the host board's whole copper stack
};

enum class ProgressMode {
  kAuto,  // a progress bar when stderr is a terminal
  kOn,    // always draw it on stderr
  kOff    // never draw it
};

// The files import writes besides its summary, one option "--NAME FILE"
// each: X(NAME, member of Options). A new output is one line here and its
// line in UsageText.
#define ORVIK_HOST_IMPORT_OUTPUTS(X)                        \
  X("journal", journalPath) /* the call journal */          \
  X("svg", svgPath)         /* the board as SVG */          \
  X("html", htmlPath)       /* the board as an HTML page */ \
  X("kicad", kicadPath)     /* the board as a KiCad 6 board file */

struct Options {
  Command command = Command::kNone;
  Command helpTopic = Command::kNone;  // kHelp: the command whose help was asked for (kNone: all)
  std::string file;                    // recognise / import / check
  std::string pluginPath;              // empty: the plug-in beside the executable
  std::string jsonPath;                // import: board dump; check: the findings ("-": stdout)
#define ORVIK_HOST_OUTPUT_PATH(name, member) std::string member;
  ORVIK_HOST_IMPORT_OUTPUTS(ORVIK_HOST_OUTPUT_PATH)
#undef ORVIK_HOST_OUTPUT_PATH
  ProgressMode progress = ProgressMode::kAuto;
  KicadStack kicadStack = KicadStack::kUsed;
  bool kicadStackGiven = false;  // --kicad-stack on the line
  int top = 5;                   // import: nets and components listed in the summary
  // import: the summary as JSON; the check report in text and JSON.
  std::string summaryJsonPath;
  std::string checkReportPath;
  std::string checkJsonPath;
  bool ifRecognised = false;  // import: ask the plug-in first; exit 1 when it does not recognise the file
  convert::ConvertOptions convert;
};

struct ParseResult {
  Options options;
  std::string error;  // empty when the command line is valid
  [[nodiscard]] bool ok() const noexcept { return error.empty(); }
};

// The importer takes file names as short strings.
inline constexpr std::size_t kMaxFileNameBytes = 255;

// `args` excludes the program name. --help and --version win over anything
// else on the line, including errors.
ParseResult ParseCommandLine(const std::vector<std::string>& args);

// The whole usage text, or that of one command (`topic`).
std::string UsageText(std::string_view program, Command topic = Command::kNone);

}  // namespace orvik::host
