#include "host/orvik-host/CommandLine.h"

#include <charconv>
#include <optional>

namespace orvik::host {

namespace {

std::optional<Command> CommandByName(std::string_view name) {
  if (name == "describe") return Command::kDescribe;
  if (name == "recognise" || name == "recognize") return Command::kRecognise;
  if (name == "import") return Command::kImport;
  if (name == "check") return Command::kCheck;
  return std::nullopt;
}

// Splits "--name=value" into name and value; `hasValue` tells whether '='
// was present.
std::string_view OptionName(std::string_view arg, std::string_view& value, bool& hasValue) {
  const auto eq = arg.find('=');
  hasValue = eq != std::string_view::npos;
  value = hasValue ? arg.substr(eq + 1) : std::string_view{};
  return hasValue ? arg.substr(0, eq) : arg;
}

}  // namespace

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
  ParseResult result;
  Options& o = result.options;
  std::vector<std::string> positional;
  bool help = false;
  bool version = false;
  bool optionsEnded = false;

  auto fail = [&result](std::string message) {
    if (result.error.empty()) result.error = std::move(message);
  };

  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      positional.emplace_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::string_view inlineValue;
    bool hasValue = false;
    const std::string_view name = OptionName(arg, inlineValue, hasValue);

    // Options that take a value accept "--opt VALUE" and "--opt=VALUE".
    auto takeValue = [&](std::string& target) {
      if (hasValue) {
        target.assign(inlineValue);
      } else if (i + 1 < args.size()) {
        target = args[++i];
      } else {
        fail("option " + std::string(name) + " needs a value");
        return;
      }
      if (target.empty()) fail("option " + std::string(name) + " needs a non-empty value");
    };
    auto noValue = [&]() {
      if (hasValue) fail("option " + std::string(name) + " takes no value");
    };

    if (name == "-h" || name == "--help") {
      noValue();
      help = true;
    } else if (name == "-V" || name == "--version") {
      noValue();
      version = true;
    } else if (name == "--plugin") {
      takeValue(o.pluginPath);
    } else if (name == "--json") {
      takeValue(o.jsonPath);
    } else if (name == "--journal") {
      takeValue(o.journalPath);
    } else if (name == "--svg") {
      takeValue(o.svgPath);
    } else if (name == "--html") {
      takeValue(o.htmlPath);
    } else if (name == "--kicad") {
      takeValue(o.kicadPath);
    } else if (name == "--progress") {
      noValue();
      o.progress = ProgressMode::kOn;
    } else if (name == "--no-progress") {
      noValue();
      o.progress = ProgressMode::kOff;
    } else if (name == "--top") {
      std::string text;
      takeValue(text);
      int value = 0;
      const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
      if (ec != std::errc{} || end != text.data() + text.size() || value < 0 || value > 1000) {
        fail("option --top needs a number from 0 to 1000");
      } else {
        o.top = value;
      }
    } else {
      fail("unknown option " + std::string(arg));
    }
  }

  if (help) {
    o.command = Command::kHelp;
    result.error.clear();
    return result;
  }
  if (version) {
    o.command = Command::kVersion;
    result.error.clear();
    return result;
  }
  if (!result.ok()) return result;

  if (positional.empty()) {
    fail("no command given");
    return result;
  }
  const auto command = CommandByName(positional.front());
  if (!command) {
    fail("unknown command '" + positional.front() + "'");
    return result;
  }
  o.command = *command;

  const std::size_t operands = positional.size() - 1;
  if (o.command == Command::kDescribe) {
    if (operands != 0) fail("describe takes no file");
  } else {
    if (operands != 1) {
      fail(positional.front() + " takes exactly one file");
    } else {
      o.file = positional[1];
      if (o.file.size() > kMaxFileNameBytes) {
        fail("file name is " + std::to_string(o.file.size()) + " bytes long; the importer takes at most " +
             std::to_string(kMaxFileNameBytes));
      }
    }
  }
  if (o.command != Command::kImport &&
      (!o.journalPath.empty() || !o.svgPath.empty() || !o.htmlPath.empty() || !o.kicadPath.empty())) {
    fail("--journal, --svg, --html and --kicad apply to import only");
  }
  if (o.command != Command::kImport && o.command != Command::kCheck && !o.jsonPath.empty()) {
    fail("--json applies to import only and check");
  }
  return result;
}

std::string UsageText(std::string_view program) {
  std::string text;
  text += "Usage: ";
  text += program;
  text += R"( [OPTIONS] COMMAND [FILE]

Reference host for the Orvik ASCII PCB importer plug-in. Loads the host PCB
module (Kovlan) and the importer plug-in (LoadOrvik) from the directory of this
program and calls the plug-in's entry points.

Commands:
  describe          print the importer's description
  recognise FILE    tell whether the plug-in recognises FILE
  import FILE       import FILE into an empty board and print a summary
  check FILE        read FILE as the importer does and report, with line and
                    column, what it would skip, misread, cut or leave out

Options:
  --plugin PATH     load the importer plug-in from PATH
  --json FILE       import: write the resulting board as JSON to FILE
                    check: write the findings as JSON to FILE ("-": to
                    stdout, instead of the text report)
  --journal FILE    import: record every call into the host module, one line
                    per call, and write the record to FILE
  --svg FILE        import: write a picture of the board as SVG to FILE
  --html FILE       import: write a page to FILE that shows the board with a
                    layer list, zoom, pan and object details
  --kicad FILE      import: write the board as a KiCad 6 board file (.kicad_pcb);
                    the summary counts what it approximated, renamed,
                    clamped, moved or left out (the README has the layer
                    mapping)
  --progress        import: always draw the progress bar on stderr
  --no-progress     import: never draw it (default: only on a terminal)
  --top N           import: list the N nets and components with the most
                    members (default 5)
  -h, --help        print this help
  -V, --version     print the version

FILE is passed to the plug-in as a short string: at most 255 bytes.
The host answers the plug-in's file-existence question with true when the
name refers to a regular file (symbolic links followed).

Exit codes:
  0  success; recognise: the file is recognised
  1  recognise: the file is not recognised
  2  bad command line
  3  the input file, the plug-in or the host module could not be loaded
     (missing file, missing library or missing entry point)
  4  the plug-in's import returned false
  5  the JSON dump, the journal, a preview or the KiCad board could not be
     written
  6  unexpected internal error

Exit codes of check:
  0  the file is clean
  1  the file has warnings
  2  bad command line, or the file cannot be read
  3  the host module could not be loaded
  5  the JSON report could not be written
)";
  return text;
}

}  // namespace orvik::host
