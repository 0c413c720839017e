// Command-line parsing of orvik-host and its usage text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvik::host {

enum class Command { kNone, kHelp, kVersion, kDescribe, kRecognise, kImport, kCheck };

enum class ProgressMode {
  kAuto,  // a progress bar when stderr is a terminal
  kOn,    // always draw it on stderr
  kOff    // never draw it
};

struct Options {
  Command command = Command::kNone;
  std::string file;         // recognise / import / check
  std::string pluginPath;   // empty: the plug-in beside the executable
  std::string jsonPath;     // import: board dump; check: the findings ("-": stdout)
  std::string journalPath;  // import: call journal
  std::string svgPath;      // import: board preview as SVG
  std::string htmlPath;     // import: board preview as an HTML page
  std::string kicadPath;    // import: the board as a KiCad 6 board file
  ProgressMode progress = ProgressMode::kAuto;
  int top = 5;  // import: nets and components listed in the summary
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

std::string UsageText(std::string_view program);

}  // namespace orvik::host
