#include "host/orvik-host/CommandLine.h"

#include <charconv>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

namespace orvik::host {

namespace {

struct CommandName {
  const char* name;
  Command command;
};
// "recognise" and "recognize" are two subcommands, so that messages name the
// word as it was typed.
constexpr CommandName kCommands[] = {{"describe", Command::kDescribe},   {"recognise", Command::kRecognise},
                                     {"recognize", Command::kRecognise}, {"import", Command::kImport},
                                     {"check", Command::kCheck},         {"convert", Command::kConvert}};

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

// A whole number from `low` to `high`, or nothing.
std::optional<int> Number(const std::string& text, int low, int high) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || end != text.data() + text.size() || value < low || value > high) return std::nullopt;
  return value;
}

// The options, declared to CLI11: the global ones on the program, each
// command's own on its subcommand. A subcommand hands the options it does
// not know to the program, so that the options taken before the command
// (--plugin, and those of import and check) are taken after it too. Each
// option takes its value when CLI11 reads it, so the last one given wins,
// and errors come in the order of the command line. "--" ends the options.
class OptionTable {
 public:
  OptionTable(Options& options, std::string& error) : options_(options), error_(error) {
    app_.set_help_flag();                     // -h and --help are plain flags below
    app_.allow_windows_style_options(false);  // "/name" is a file name on Windows too
    app_.allow_extras();                      // ParseCommandLine names unknown options
    app_.fallthrough();                       // inherited by the subcommands
    helps_.push_back({app_.add_flag("-h,--help"), Command::kNone});
    version_ = app_.add_flag("-V,--version");
    Value(app_, "--plugin", options_.pluginPath);
    ImportAndCheckOptions(app_);
    app_.add_option("words", words_);  // anything before the command, and after "--" there
    for (const CommandName& c : kCommands) {
      CLI::App* sub = app_.add_subcommand(c.name);
      sub->set_help_flag();
      helps_.push_back({sub->add_flag("-h,--help"), c.command});
      sub->add_option("operands", operands_);
      switch (c.command) {
        case Command::kImport:
          ImportAndCheckOptions(*sub);
          break;
        case Command::kCheck:
          Value(*sub, "--json", options_.jsonPath);
          break;
        case Command::kConvert:
          ConvertOptions(*sub);
          break;
        default:
          break;
      }
      commands_.push_back({sub, c.command});
    }
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
    const CLI::App* context = &app_;
    bool valueNext = false;  // the word is the value of the option before it
    for (const std::string& arg : args) {
      if (!optionsEnded) {
        optionsEnded = arg == "--";
        std::string why = Refusal(*context, arg);
        if (!why.empty()) {
          if (refusal.empty()) {
            refusal = std::move(why);
            refusedAt = kept.size();
          }
          valueNext = false;
          continue;
        }
        if (!valueNext && context == &app_ && !arg.starts_with("-")) {
          for (const auto& [sub, command] : commands_) {
            if (sub->get_name() == arg) context = sub;
          }
        }
        const CLI::Option* option =
            arg.starts_with("--") && arg.find('=') == std::string::npos ? Find(*context, arg) : nullptr;
        valueNext = !valueNext && option != nullptr && option->get_expected_max() != 0;
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

  // The command's help, or the whole help (kNone); nothing when none was
  // asked for.
  [[nodiscard]] std::optional<Command> Help() const {
    std::optional<Command> topic;
    for (const auto& [flag, command] : helps_) {
      if (flag->count() > 0 && (!topic || *topic == Command::kNone)) topic = command;
    }
    // The program's own --help asks for everything.
    if (helps_.front().first->count() > 0) topic = Command::kNone;
    return topic;
  }
  [[nodiscard]] bool Version() const { return version_->count() > 0; }
  [[nodiscard]] const std::vector<std::string>& Words() const noexcept { return words_; }
  [[nodiscard]] const std::vector<std::string>& Operands() const noexcept { return operands_; }
  // The command given, with its word as typed.
  [[nodiscard]] std::optional<std::pair<Command, std::string>> Given() const {
    for (const auto& [sub, command] : commands_) {
      if (sub->parsed()) return std::make_pair(command, sub->get_name());
    }
    return std::nullopt;
  }
  // Options CLI11 did not know, in the order given ("--" aside), each with
  // the commands it belongs to when it is another command's.
  [[nodiscard]] std::vector<std::pair<std::string, std::string>> Unknown() const {
    std::vector<std::pair<std::string, std::string>> unknown;
    for (const std::string& option : app_.remaining()) {
      if (option == "--") continue;
      const std::string name = option.substr(0, option.find('='));
      std::string owners;
      for (const auto& [sub, command] : commands_) {
        if (!name.starts_with("-") || sub->get_option_no_throw(name) == nullptr || command == Command::kRecognise) {
          continue;
        }
        owners += (owners.empty() ? "" : " and ") + sub->get_name();
      }
      unknown.emplace_back(option, owners);
    }
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

  // The option `name` in `context`, or in the program's options.
  [[nodiscard]] const CLI::Option* Find(const CLI::App& context, const std::string& name) const {
    const CLI::Option* option = context.get_option_no_throw(name);
    return option != nullptr ? option : app_.get_option_no_throw(name);
  }

  // Why "--name=VALUE" is refused, or "" when it is not.
  [[nodiscard]] std::string Refusal(const CLI::App& context, std::string_view arg) const {
    const std::size_t eq = arg.find('=');
    if (!arg.starts_with("--") || eq == std::string_view::npos) return {};
    const std::string name(arg.substr(0, eq));
    const CLI::Option* option = Find(context, name);
    // Unknown options are reported as such; --help and --version win over
    // anything else on the line, a value included.
    if (option == nullptr || option == version_) return {};
    for (const auto& [flag, command] : helps_) {
      if (option == flag) return {};
    }
    if (option->get_expected_max() == 0) return "option " + name + " takes no value";
    if (eq + 1 == arg.size()) return "option " + name + " needs a non-empty value";
    return {};
  }

  // An option with a value, as "--name VALUE" or "--name=VALUE".
  void Value(CLI::App& app, const std::string& name, std::function<void(const std::string&)> take) {
    auto checked = [this, name, take = std::move(take)](const std::string& text) {
      if (text.empty()) {
        AddError(error_, "option " + name + " needs a non-empty value");
      } else {
        take(text);
      }
    };
    app.add_option_function<std::string>(name, std::move(checked))->trigger_on_parse();
  }
  void Value(CLI::App& app, const std::string& name, std::string& target) {
    Value(app, name, [&target](const std::string& text) { target = text; });
  }
  // A whole number from `low` to `high`.
  void Value(CLI::App& app, const std::string& name, int& target, int low, int high, const std::string& what) {
    Value(app, name, [this, &target, name, low, high, what](const std::string& text) {
      if (const auto value = Number(text, low, high)) {
        target = *value;
      } else {
        AddError(error_,
                 "option " + name + " needs " + what + " from " + std::to_string(low) + " to " + std::to_string(high));
      }
    });
  }

  // A flag ("--name=VALUE" is refused before CLI11 reads the line).
  void Flag(CLI::App& app, const std::string& name, std::function<void()> set) {
    auto call = [set = std::move(set)](const CLI::results_t&) {
      set();
      return true;
    };
    app.add_option(name, std::move(call))->expected(0)->trigger_on_parse();
  }

  // The options of import, and check's --json: on the program (for a line
  // that gives them before the command) and on import.
  void ImportAndCheckOptions(CLI::App& app) {
    Value(app, "--json", options_.jsonPath);
#define ORVIK_HOST_OUTPUT_OPTION(name, member) Value(app, "--" name, options_.member);
    ORVIK_HOST_IMPORT_OUTPUTS(ORVIK_HOST_OUTPUT_OPTION)
#undef ORVIK_HOST_OUTPUT_OPTION
    Value(app, "--top", options_.top, 0, 1000, "a number");
    StackOption(app);
    ProgressOptions(app);
    Value(app, "--summary-json", options_.summaryJsonPath);
    Value(app, "--check-report", options_.checkReportPath);
    Value(app, "--check-json", options_.checkJsonPath);
    Flag(app, "--if-recognised", [this] { options_.ifRecognised = true; });
  }

  void ConvertOptions(CLI::App& app) {
    convert::ConvertOptions& c = options_.convert;
    Value(app, "--out", c.outDir);
    Value(app, "--jobs", c.jobs, 1, convert::ConvertOptions::kMaxJobs, "a number");
    Value(app, "--timeout", c.timeoutSeconds, 1, convert::ConvertOptions::kMaxTimeoutSeconds, "a number of seconds");
    Flag(app, "--force", [&c] { c.force = true; });
    Flag(app, "--all-files", [&c] { c.allFiles = true; });
    Flag(app, "--html", [&c] { c.html = true; });
    Flag(app, "--json", [&c] { c.json = true; });
    Flag(app, "--check", [&c] { c.check = true; });
    StackOption(app);
    ProgressOptions(app);
  }

  void ProgressOptions(CLI::App& app) {
    Flag(app, "--progress", [this] { options_.progress = ProgressMode::kOn; });
    Flag(app, "--no-progress", [this] { options_.progress = ProgressMode::kOff; });
  }

  void StackOption(CLI::App& app) {
    Value(app, "--kicad-stack", [this](const std::string& text) {
      options_.kicadStackGiven = true;
      if (text == "used") {
        options_.kicadStack = KicadStack::kUsed;
      } else if (text == "host") {
        options_.kicadStack = KicadStack::kHost;
      } else {
        AddError(error_, "option --kicad-stack takes 'used' or 'host'");
      }
    });
  }

  Options& options_;
  std::string& error_;
  CLI::App app_;
  std::vector<std::pair<CLI::Option*, Command>> helps_;  // the program's first
  CLI::Option* version_ = nullptr;
  std::vector<std::pair<CLI::App*, Command>> commands_;
  std::vector<std::string> words_;
  std::vector<std::string> operands_;
};

void CheckFileOperand(Options& o, const std::string& word, const std::vector<std::string>& operands,
                      std::string& error) {
  if (operands.size() != 1) {
    AddError(error, word + " takes exactly one file");
    return;
  }
  o.file = operands.front();
  if (o.file.size() > kMaxFileNameBytes) {
    AddError(error, "file name is " + std::to_string(o.file.size()) + " bytes long; the importer takes at most " +
                        std::to_string(kMaxFileNameBytes));
  }
}

}  // namespace

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
  ParseResult result;
  Options& o = result.options;
  std::string& error = result.error;
  OptionTable table(o, error);
  table.Parse(args);

  // --help and --version win over anything else on the line.
  if (const auto topic = table.Help()) {
    o.command = Command::kHelp;
    o.helpTopic = *topic;
    error.clear();
    return result;
  }
  if (table.Version()) {
    o.command = Command::kVersion;
    error.clear();
    return result;
  }
  for (const auto& [option, owners] : table.Unknown()) {
    AddError(error,
             owners.empty() ? "unknown option " + option : "option " + option + " applies to " + owners + " only");
  }
  if (!result.ok()) return result;

  const auto given = table.Given();
  const std::vector<std::string>& words = table.Words();
  if (!words.empty()) {
    AddError(error, "unknown command '" + words.front() + "'");
    return result;
  }
  if (!given) {
    AddError(error, "no command given");
    return result;
  }
  const auto& [command, word] = *given;
  o.command = command;
  const std::vector<std::string>& operands = table.Operands();

  switch (o.command) {
    case Command::kDescribe:
      if (!operands.empty()) AddError(error, "describe takes no file");
      break;
    case Command::kConvert:
      o.convert.inputs = operands;
      if (operands.empty()) AddError(error, "convert takes at least one file or folder");
      if (o.convert.outDir.empty()) AddError(error, "convert needs --out DIR, the folder of its outputs");
      break;
    default:
      CheckFileOperand(o, word, operands, error);
      break;
  }
  if (o.command != Command::kImport && HasImportOutput(o)) {
    AddError(error, ImportOutputNames() + " apply to import only");
  }
  if (o.command != Command::kImport &&
      (!o.summaryJsonPath.empty() || !o.checkReportPath.empty() || !o.checkJsonPath.empty() || o.ifRecognised)) {
    AddError(error, "--summary-json, --check-report, --check-json and --if-recognised apply to import only");
  }
  if (o.kicadStackGiven && o.kicadPath.empty() && o.command != Command::kConvert) {
    AddError(error, "--kicad-stack applies to import with --kicad only");
  }
  if (o.command != Command::kImport && o.command != Command::kCheck && !o.jsonPath.empty()) {
    AddError(error, "--json applies to import only and check");
  }
  return result;
}

namespace {

constexpr const char* kDescription = R"(Reference host for the Orvik ASCII PCB importer plug-in. Loads the host PCB
module (Kovlan) and the importer plug-in (LoadOrvik) from the directory of this
program or, where that has no Kovlan, from )" ORVIK_HOST_INSTALLED_MODULES R"( relative to the
program's real location, and calls the plug-in's entry points.
)";

constexpr const char* kCommandList = R"(Commands:
  describe          print the importer's description
  recognise FILE    tell whether the plug-in recognises FILE (or: recognize)
  import FILE       import FILE into an empty board and print a summary
  check FILE        read FILE as the importer does and report, with line and
                    column, what it would skip, misread, cut or leave out
  convert INPUT... --out DIR
                    convert files and folders of them into DIR, each file
                    imported by a child process of its own, several at once,
                    with a report (DIR/report.html and DIR/report.json)
)";

constexpr const char* kCommonOptions = R"(  --plugin PATH     load the importer plug-in from PATH
  -h, --help        print this help; after a command, that command's help
  -V, --version     print the version
)";

constexpr const char* kImportOptions = R"(  --json FILE       write the resulting board as JSON to FILE
  --journal FILE    record every call into the host module, one line per
                    call, and write the record to FILE
  --svg FILE        write a picture of the board as SVG to FILE
  --html FILE       write a page to FILE that shows the board with a layer
                    list, zoom, pan and object details
  --kicad FILE      write the board as a KiCad 6 board file (.kicad_pcb);
                    the summary counts what it approximated, renamed,
                    clamped, moved, added or left out (docs/kicad.md has
                    the layer mapping)
  --kicad-stack MODE
                    with --kicad: the KiCad board's copper layers: 'used'
                    (default) top, bottom and the inner layers that hold an
                    exported object; 'host' the host board's whole stack
  --summary-json FILE
                    write the summary as JSON to FILE: how the import ended,
                    objects created and placed per kind, KiCad objects
                    written per kind and changes per class, check warnings
                    per kind, times (written also when the import fails)
  --check-report FILE, --check-json FILE
                    also read FILE as check does, and write its report as
                    text or JSON
  --if-recognised   ask the plug-in first whether it recognises FILE; when
                    it does not, import nothing and exit with 1
  --progress        always draw the progress bar on stderr
  --no-progress     never draw it (default: only on a terminal)
  --top N           list the N nets and components with the most members
                    (default 5)
)";

constexpr const char* kCheckOptions = R"(  --json FILE       write the findings as JSON to FILE ("-": to stdout,
                    instead of the text report)
)";

constexpr const char* kConvertSynopsis = R"(Converts every file given and every file named *.pcb (in any case) in the
folders given, walked recursively (symbolic links followed, but not into
loops; each file once). Each file is recognised and imported by a child
process of its own (orvik-host import, run in the file's folder with its base
name), so that a crash or a hang costs that file only. The input tree is
mirrored under DIR: NAME.kicad_pcb (the KiCad board) and NAME.summary.json
for each file, and what the options add. Every output is written under a
temporary name and renamed when complete. A file whose outputs are newer than
it, made by the same program, plug-in and options (DIR/.orvik-convert-stamp),
is not converted again. The report, DIR/report.html (one page, sortable and
filterable) and DIR/report.json, lists every file in input order.
)";

constexpr const char* kConvertOptions = R"(  --out DIR         the output folder (created when missing)
  --jobs N          run up to N children at once (default: the number of
                    usable cores)
  --timeout SECONDS stop a child that takes longer, and count its file as
                    failed (default 300)
  --force           convert files whose outputs are up to date too
  --all-files       take every regular file in the folders, not only *.pcb
  --html            also write NAME.html, the board's preview page
  --json            also write NAME.dump.json, the board dump
  --check           also write NAME.check.txt and NAME.check.json, check's
                    report, and count its warnings
  --kicad-stack MODE
                    the KiCad boards' copper layers: 'used' or 'host', as
                    import's option
  --progress        always draw the progress bar (files, bytes, time left,
                    failures so far) on stderr
  --no-progress     never draw it (default: only on a terminal)
)";

constexpr const char* kFileNote = R"(FILE is passed to the plug-in as a short string: at most 255 bytes.
The host answers the plug-in's file-existence question with true when the
name refers to a regular file (symbolic links followed). Every file import
writes goes under a temporary name beside it (NAME.tmp) and is renamed when
complete.
)";

constexpr const char* kExitCodes = R"(Exit codes:
  0  success; recognise: the file is recognised
  1  recognise, import --if-recognised: the file is not recognised
  2  bad command line
  3  the input file, the plug-in or the host module could not be loaded
     (missing file, missing library or missing entry point)
  4  the plug-in's import returned false
  5  the JSON dump, the journal, a preview, the KiCad board, the summary or
     the check report could not be written
  6  unexpected internal error
)";

constexpr const char* kCheckExitCodes = R"(Exit codes of check:
  0  the file is clean
  1  the file has warnings
  2  bad command line, or the file cannot be read
  3  the host module could not be loaded
  5  the JSON report could not be written
)";

constexpr const char* kConvertExitCodes = R"(Exit codes of convert:
  0    every file converted (or up to date)
  1    all done, but some files were skipped as not recognised, were
       unreadable, or were converted with warnings (check warnings, KiCad
       objects left out)
  2    bad command line, or the output folder cannot be created or written
  3    the plug-in or the host module could not be loaded
  4    some files failed: the import failed, the child crashed, timed out or
       could not write an output
  130  interrupted (Ctrl-C): the children are stopped, their temporary files
       removed, and the report written for what finished
  143  terminated (SIGTERM): the same
)";

struct CommandHelp {
  Command command;
  const char* usage;
  const char* synopsis;
  const char* options;
  const char* exitCodes;
};
const CommandHelp kCommandHelp[] = {
    {Command::kDescribe, "describe", "Prints the importer's description.\n", "", kExitCodes},
    {Command::kRecognise, "recognise FILE", "Tells whether the plug-in recognises FILE.\n", "", kExitCodes},
    {Command::kImport, "import FILE [OPTIONS]",
     "Imports FILE into an empty board and prints a summary. Every file it writes\ngoes under a temporary name "
     "beside it (NAME.tmp) and is renamed when complete.\n",
     kImportOptions, kExitCodes},
    {Command::kCheck, "check FILE [OPTIONS]",
     "Reads FILE as the importer does and reports, with line and column, what it\nwould skip, misread, cut or leave "
     "out.\n",
     kCheckOptions, kCheckExitCodes},
    {Command::kConvert, "convert INPUT... --out DIR [OPTIONS]", kConvertSynopsis, kConvertOptions, kConvertExitCodes},
};

}  // namespace

std::string UsageText(std::string_view program, Command topic) {
  const std::string name(program);
  std::string text;
  for (const CommandHelp& help : kCommandHelp) {
    if (help.command != topic) continue;
    text += "Usage: " + name + " " + help.usage + "\n\n" + help.synopsis + "\nOptions:\n" + help.options +
            kCommonOptions + "\n" + help.exitCodes;
    return text;
  }
  text += "Usage: " + name + " [OPTIONS] COMMAND [ARGS]\n       " + name + " COMMAND --help\n\n";
  const char* const pieces[] = {kDescription,     "\n",
                                kCommandList,     "\nOptions of every command:\n",
                                kCommonOptions,   "\nOptions of import (also taken before the command):\n",
                                kImportOptions,   "\nOptions of check:\n",
                                kCheckOptions,    "\nOptions of convert:\n",
                                kConvertOptions,  "\n",
                                kFileNote,        "\n",
                                kExitCodes,       "\n",
                                kCheckExitCodes,  "\n",
                                kConvertExitCodes};
  for (const char* piece : pieces) text += piece;
  return text;
}

}  // namespace orvik::host
