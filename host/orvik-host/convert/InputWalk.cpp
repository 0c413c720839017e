#include "host/orvik-host/convert/InputWalk.h"

namespace orvik::host::convert {

bool HasBoardName(const std::string& name) {
  if (name.size() <= 4) return false;
  const std::string tail = name.substr(name.size() - 4);
  return tail[0] == '.' && (tail[1] | 0x20) == 'p' && (tail[2] | 0x20) == 'c' && (tail[3] | 0x20) == 'b';
}

InputWalk::InputWalk(bool allFiles, const std::string& skip) : allFiles_(allFiles) {
  const EntryInfo info = Describe(skip);
  if (info.type == EntryType::kFolder) {
    skipKnown_ = true;
    skip_ = {info.device, info.node};
  }
}

std::vector<Candidate> InputWalk::Walk(const std::vector<std::string>& inputs) {
  std::vector<Candidate> out;
  for (const std::string& input : inputs) {
    const EntryInfo info = Describe(input);
    if (info.type == EntryType::kFolder) {
      WalkFolder(input, "", out);
    } else {
      Take(input, BaseName(input), info, true, out);
    }
  }
  return out;
}

void InputWalk::WalkFolder(const std::string& path, const std::string& relative, std::vector<Candidate>& out) {
  const EntryInfo info = Describe(path);
  const Identity identity{info.device, info.node};
  if ((skipKnown_ && identity == skip_) || !folders_.insert(identity).second) return;
  std::string error;
  const std::vector<std::string> names = ListFolder(path, error);
  if (!error.empty()) {
    Candidate c;
    c.path = path;
    c.relative = relative.empty() ? BaseName(path) : relative;
    c.unreadable = "cannot list the folder: " + error;
    out.push_back(std::move(c));
    return;
  }
  for (const std::string& name : names) {
    const std::string child = JoinPath(path, name);
    const std::string childRelative = relative.empty() ? name : relative + "/" + name;
    const EntryInfo entry = Describe(child);
    if (entry.type == EntryType::kFolder) {
      // A folder named like a board is listed, and walked.
      if (HasBoardName(name)) Take(child, childRelative, entry, false, out);
      WalkFolder(child, childRelative, out);
    } else if (HasBoardName(name) || (allFiles_ && entry.type == EntryType::kFile)) {
      Take(child, childRelative, entry, false, out);
    }
  }
}

void InputWalk::Take(const std::string& path, const std::string& relative, const EntryInfo& info, bool given,
                     std::vector<Candidate>& out) {
  Candidate c;
  c.path = path;
  c.relative = relative;
  c.given = given;
  c.size = info.size;
  c.modified = info.modified;
  switch (info.type) {
    case EntryType::kMissing:
      c.unreadable = info.error.empty() ? "it does not exist" : info.error;
      break;
    case EntryType::kFolder:
      c.unreadable = "a folder";
      break;
    case EntryType::kOther:
      c.unreadable = "not a regular file";
      break;
    case EntryType::kFile:
      if (!files_.insert({info.device, info.node}).second) return;  // taken already
      c.unreadable = OpenFailure(path);
      break;
  }
  out.push_back(std::move(c));
}

}  // namespace orvik::host::convert
