#include "host/orvik-host/CommandLine.h"

#include <charconv>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

namespace orvik::host {

namespace {

std::optional<Command> CommandByName(std::string_view name) {
  if (name == "describe") return Command::kDescribe;
  if (name == "recognise" || name == "recognize") return Command::kRecognise;
  if (name == "import") return Command::kImport;
  if (name == "check") return Command::kCheck;
  return std::nullopt;
}

// "--journal, --svg and --html".
std::string ImportOutputNames() {
  const std::vector<std::string> names = {
#define ORVIK_HOST_OUTPUT_NAME(name, member) "--" name,
      ORVIK_HOST_IMPORT_OUTPUTS(ORVIK_HOST_OUTPUT_NAME)
#undef ORVIK_HOST_OUTPUT_NAME
  };
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i != 0) text += i + 1 == names.size() ? " and " : ", ";
    text += names[i];
  }
  return text;
}

bool HasImportOutput(const Options& o) {
#define ORVIK_HOST_OUTPUT_GIVEN(name, member) !o.member.empty() ||
  return ORVIK_HOST_IMPORT_OUTPUTS(ORVIK_HOST_OUTPUT_GIVEN) false;
#undef ORVIK_HOST_OUTPUT_GIVEN
}

// Keeps the first error of a command line.
void AddError(std::string& error, std::string message) {
  if (error.empty()) error = std::move(message);
}

// The options, declared to CLI11. Each option takes its value when CLI11
// reads it, so the last one given wins, and errors come in the order of the
// command line. Options may stand before and after the command; "--" ends
// them.
class OptionTable {
 public:
  OptionTable(Options& options, std::string& error) : options_(options), error_(error) {
    app_.set_help_flag();                     // -h and --help are plain flags below
    app_.allow_windows_style_options(false);  // "/name" is a file name on Windows too
    app_.allow_extras();                      // ParseCommandLine names unknown options
    help_ = app_.add_flag("-h,--help");
    version_ = app_.add_flag("-V,--version");
    Value("--plugin", options_.pluginPath);
    Value("--json", options_.jsonPath);
#define ORVIK_HOST_OUTPUT_OPTION(name, member) Value("--" name, options_.member);
    ORVIK_HOST_IMPORT_OUTPUTS(ORVIK_HOST_OUTPUT_OPTION)
#undef ORVIK_HOST_OUTPUT_OPTION
    Value("--top", [this](const std::string& text) { Top(text); });
    Value("--kicad-stack", [this](const std::string& text) { Stack(text); });
    Flag("--progress", ProgressMode::kOn);
    Flag("--no-progress", ProgressMode::kOff);
    app_.add_option("words", words_);  // COMMAND [FILE], and anything after "--"
  }

  // Reads `args`; the options' values are in place afterwards, errors noted.
  // A flag given a value ("--progress=yes") and an empty "--name=" are
  // refused here and not handed on: CLI11 would take the first as the bare
  // flag and let the second take the next word as its value. The first
  // error on the line is the one kept, as if CLI11 had met the refusal.
  void Parse(const std::vector<std::string>& args) {
    std::vector<std::string> kept;
    std::string refusal;
    std::size_t refusedAt = 0;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
      if (!optionsEnded) {
        optionsEnded = arg == "--";
        std::string why = Refusal(arg);
        if (!why.empty()) {
          if (refusal.empty()) {
            refusal = std::move(why);
            refusedAt = kept.size();
          }
          continue;
        }
      }
      kept.push_back(arg);
    }
    Run(kept);
    if (refusal.empty()) return;
    Options scratch;
    std::string before;
    OptionTable(scratch, before).Run({kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(refusedAt)});
    error_ = before.empty() ? refusal : before;
  }

  [[nodiscard]] bool Help() const { return help_->count() > 0; }
  [[nodiscard]] bool Version() const { return version_->count() > 0; }
  [[nodiscard]] const std::vector<std::string>& Words() const noexcept { return words_; }
  // Options CLI11 did not know, in the order given ("--" aside).
  [[nodiscard]] std::vector<std::string> Unknown() const {
    std::vector<std::string> unknown = app_.remaining();
    std::erase(unknown, "--");
    return unknown;
  }

 private:
  void Run(const std::vector<std::string>& args) {
    std::vector<std::string> left(args.rbegin(), args.rend());  // CLI11 takes them from the back
    try {
      app_.parse(left);
    } catch (const CLI::ArgumentMismatch&) {
      // Only an option at the end of the line that lacks its value.
      AddError(error_, "option " + args.back() + " needs a value");
    } catch (const CLI::ParseError& e) {
      AddError(error_, e.what());
    }
  }

  // Why "--name=VALUE" is refused, or "" when it is not.
  [[nodiscard]] std::string Refusal(std::string_view arg) const {
    const std::size_t eq = arg.find('=');
    if (!arg.starts_with("--") || eq == std::string_view::npos) return {};
    const std::string name(arg.substr(0, eq));
    const CLI::Option* option = app_.get_option_no_throw(name);
    // Unknown options are reported as such; --help and --version win over
    // anything else on the line, a value included.
    if (option == nullptr || option == help_ || option == version_) return {};
    if (option->get_expected_max() == 0) return "option " + name + " takes no value";
    if (eq + 1 == arg.size()) return "option " + name + " needs a non-empty value";
    return {};
  }

  // An option with a value, as "--name VALUE" or "--name=VALUE".
  void Value(const std::string& name, std::function<void(const std::string&)> take) {
    auto checked = [this, name, take = std::move(take)](const std::string& text) {
      if (text.empty()) {
        AddError(error_, "option " + name + " needs a non-empty value");
      } else {
        take(text);
      }
    };
    app_.add_option_function<std::string>(name, std::move(checked))->trigger_on_parse();
  }
  void Value(const std::string& name, std::string& target) {
    Value(name, [&target](const std::string& text) { target = text; });
  }

  // A flag that sets the progress mode ("--name=VALUE" is refused before
  // CLI11 reads the line).
  void Flag(const std::string& name, ProgressMode mode) {
    auto set = [this, mode](const CLI::results_t&) {
      options_.progress = mode;
      return true;
    };
    app_.add_option(name, std::move(set))->expected(0)->trigger_on_parse();
  }

  void Top(const std::string& text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || value < 0 || value > 1000) {
      AddError(error_, "option --top needs a number from 0 to 1000");
    } else {
      options_.top = value;
    }
  }

  void Stack(const std::string& text) {
    options_.kicadStackGiven = true;
    if (text == "used") {
      options_.kicadStack = KicadStack::kUsed;
    } else if (text == "host") {
      options_.kicadStack = KicadStack::kHost;
    } else {
      AddError(error_, "option --kicad-stack takes 'used' or 'host'");
    }
  }

  Options& options_;
  std::string& error_;
  CLI::App app_;
  CLI::Option* help_ = nullptr;
  CLI::Option* version_ = nullptr;
  std::vector<std::string> words_;
};

}  // namespace

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
  ParseResult result;
  Options& o = result.options;
  std::string& error = result.error;
  OptionTable table(o, error);
  table.Parse(args);

  // --help and --version win over anything else on the line.
  if (table.Help() || table.Version()) {
    o.command = table.Help() ? Command::kHelp : Command::kVersion;
    error.clear();
    return result;
  }
  for (const std::string& option : table.Unknown()) AddError(error, "unknown option " + option);
  if (!result.ok()) return result;

  const std::vector<std::string>& words = table.Words();
  if (words.empty()) {
    AddError(error, "no command given");
    return result;
  }
  const auto command = CommandByName(words.front());
  if (!command) {
    AddError(error, "unknown command '" + words.front() + "'");
    return result;
  }
  o.command = *command;

  const std::size_t operands = words.size() - 1;
  if (o.command == Command::kDescribe) {
    if (operands != 0) AddError(error, "describe takes no file");
  } else if (operands != 1) {
    AddError(error, words.front() + " takes exactly one file");
  } else {
    o.file = words[1];
    if (o.file.size() > kMaxFileNameBytes) {
      AddError(error, "file name is " + std::to_string(o.file.size()) + " bytes long; the importer takes at most " +
                          std::to_string(kMaxFileNameBytes));
    }
  }
  if (o.command != Command::kImport && HasImportOutput(o)) {
    AddError(error, ImportOutputNames() + " apply to import only");
  }
  if (o.kicadStackGiven && o.kicadPath.empty()) AddError(error, "--kicad-stack applies to import with --kicad only");
  if (o.command != Command::kImport && o.command != Command::kCheck && !o.jsonPath.empty()) {
    AddError(error, "--json applies to import only and check");
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
program or, where that has no Kovlan, from )" ORVIK_HOST_INSTALLED_MODULES R"( relative to the
program's real location, and calls the plug-in's entry points.

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
  --kicad-stack MODE
                    import --kicad: the KiCad board's copper layers: 'used'
                    (default) top, bottom and the inner layers that hold an
                    exported object; 'host' the host board's whole stack
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
