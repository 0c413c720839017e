// What convert does with each file it found, before any child runs: the
// outputs it writes, whether it is up to date, and the child's command line.
#pragma once

#include <string>
#include <vector>

#include "host/orvik-host/CommandLine.h"
#include "host/orvik-host/convert/ConvertOptions.h"
#include "host/orvik-host/convert/FileResult.h"
#include "host/orvik-host/convert/InputWalk.h"
#include "host/orvik-host/convert/JobRunner.h"
#include "host/orvik-host/convert/Stamp.h"

namespace orvik::host::convert {

// One kind of output of each file: its name's ending, the import option
// that writes it, and the convert option that asks for it (null: always).
struct OutputKind {
  const char* ending;
  const char* importOption;
  bool ConvertOptions::*wanted;
};
inline constexpr OutputKind kOutputKinds[] = {
    {".summary.json", "--summary-json", nullptr},  // first: the child's record, read back
    {".kicad_pcb", "--kicad", nullptr},
    {".html", "--html", &ConvertOptions::html},
    {".dump.json", "--json", &ConvertOptions::json},
    {".check.txt", "--check-report", &ConvertOptions::check},
    {".check.json", "--check-json", &ConvertOptions::check},
};

// The outputs' stem of a file's place: its last extension removed
// ("a/b.pcb" -> "a/b").
std::string OutputStem(const std::string& relative);

struct Plan {
  std::vector<FileResult> results;  // in input order; those with a job are kInterrupted until it ends
  std::vector<Job> jobs;
  std::vector<std::size_t> jobFile;  // the result of each job
};

class Planner {
 public:
  // `program`: the executable the children run; `outDir` and `plugin`
  // absolute (`plugin` empty: the one beside the program).
  Planner(const Options& options, std::string program, std::string outDir, std::string plugin);

  // The options that shape the outputs, as text for the stamp's key.
  [[nodiscard]] std::string OptionsText() const;
  // Each output of a file that the options ask for: its path relative to the
  // output folder.
  [[nodiscard]] std::vector<std::string> Outputs(const std::string& stem) const;

  // `stamp` says which files are up to date (unless --force).
  Plan Make(const std::vector<Candidate>& candidates, const Stamp& stamp) const;

  // The child's command line for a file.
  [[nodiscard]] ChildCommand Command(const Candidate& candidate, const std::string& stem) const;

 private:
  [[nodiscard]] bool UpToDate(const Candidate& c, const Stamp::Entry& entry, FileResult& r) const;

  const Options& options_;
  std::string program_;
  std::string outDir_;
  std::string plugin_;
};

}  // namespace orvik::host::convert
