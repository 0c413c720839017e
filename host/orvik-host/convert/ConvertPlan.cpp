#include "host/orvik-host/convert/ConvertPlan.h"

#include <map>

#include "host/orvik-host/AtomicOutput.h"
#include "host/orvik-host/convert/FileSystem.h"

namespace orvik::host::convert {

std::string OutputStem(const std::string& relative) {
  const std::size_t slash = relative.find_last_of('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = relative.find_last_of('.');
  if (dot == std::string::npos || dot <= nameStart) return relative;  // none, or a leading dot
  return relative.substr(0, dot);
}

Planner::Planner(const Options& options, std::string program, std::string outDir, std::string plugin)
    : options_(options), program_(std::move(program)), outDir_(std::move(outDir)), plugin_(std::move(plugin)) {}

std::string Planner::OptionsText() const {
  std::string text = std::string("kicad-stack=") + (options_.kicadStack == KicadStack::kHost ? "host" : "used");
  for (const OutputKind& kind : kOutputKinds) {
    if (kind.wanted != nullptr && options_.convert.*kind.wanted) text += std::string(" ") + kind.ending;
  }
  return text;
}

std::vector<std::string> Planner::Outputs(const std::string& stem) const {
  std::vector<std::string> outputs;
  for (const OutputKind& kind : kOutputKinds) {
    if (kind.wanted == nullptr || options_.convert.*kind.wanted) outputs.push_back(stem + kind.ending);
  }
  return outputs;
}

ChildCommand Planner::Command(const Candidate& candidate, const std::string& stem) const {
  ChildCommand command;
  command.program = program_;
  command.folder = AbsolutePath(ParentFolder(candidate.path));
  command.args = {"import", "--no-progress", "--if-recognised", "--top", "0"};
  if (!plugin_.empty()) command.args.insert(command.args.end(), {"--plugin", plugin_});
  if (options_.kicadStack == KicadStack::kHost) command.args.insert(command.args.end(), {"--kicad-stack", "host"});
  for (const OutputKind& kind : kOutputKinds) {
    if (kind.wanted != nullptr && !(options_.convert.*kind.wanted)) continue;
    command.args.push_back(kind.importOption);
    command.args.push_back(JoinPath(outDir_, stem + kind.ending));
  }
  command.args.push_back("--");
  command.args.push_back(BaseName(candidate.path));
  return command;
}

bool Planner::UpToDate(const Candidate& c, const Stamp::Entry& entry, FileResult& r) const {
  if (entry.size != c.size || entry.modified != c.modified) return false;
  const std::vector<std::string> outputs = Outputs(r.stem);
  // A file the plug-in did not recognise has its summary only.
  const bool recognised = entry.status != StatusKey(FileStatus::kNotRecognised);
  for (std::size_t i = 0; i < (recognised ? outputs.size() : 1); ++i) {
    const EntryInfo info = Describe(JoinPath(outDir_, outputs[i]));
    if (info.type != EntryType::kFile || info.modified < c.modified) return false;
  }
  const auto summary = JsonValue::Parse(ReadWholeFile(JoinPath(outDir_, outputs.front())));
  if (!summary) return false;
  TakeSummary(r, *summary);
  r.status = recognised ? FileStatus::kUpToDate : FileStatus::kNotRecognised;
  r.detail = recognised ? "" : "found so before; not tried again";
  r.outputs = recognised ? outputs : std::vector<std::string>{outputs.front()};
  return true;
}

Plan Planner::Make(const std::vector<Candidate>& candidates, const Stamp& stamp) const {
  Plan plan;
  std::map<std::string, std::string> stems;  // taken stems, by the file that took them
  for (const Candidate& c : candidates) {
    FileResult r;
    r.path = c.path;
    r.relative = c.relative;
    r.size = c.size;
    r.stem = OutputStem(c.relative);
    const std::string base = BaseName(c.path);
    if (!c.unreadable.empty()) {
      r.status = FileStatus::kUnreadable;
      r.detail = c.unreadable;
    } else if (const auto [taken, fresh] = stems.emplace(r.stem, c.relative); !fresh) {
      r.status = FileStatus::kFailed;
      r.detail = "its outputs would take the names of those of " + taken->second;
    } else if (base.size() > kMaxFileNameBytes) {
      r.status = FileStatus::kFailed;
      r.detail = "its name is " + std::to_string(base.size()) + " bytes long; the importer takes at most " +
                 std::to_string(kMaxFileNameBytes);
    } else if (const Stamp::Entry* entry = stamp.Find(c.relative);
               options_.convert.force || entry == nullptr || !UpToDate(c, *entry, r)) {
      r.status = FileStatus::kInterrupted;  // until its child ends
      Job job;
      job.command = Command(c, r.stem);
      for (const std::string& output : Outputs(r.stem)) {
        job.temporaries.push_back(AtomicOutput::TemporaryName(JoinPath(outDir_, output)));
      }
      plan.jobFile.push_back(plan.results.size());
      plan.jobs.push_back(std::move(job));
    }
    plan.results.push_back(std::move(r));
  }
  return plan;
}

}  // namespace orvik::host::convert
