// The files convert takes: the files given, and the candidates found in the
// folders given, walked recursively in name order.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/orvik-host/convert/FileSystem.h"

namespace orvik::host::convert {

struct Candidate {
  std::string path;      // as reached: the input joined with the names below it
  std::string relative;  // its place under the output folder ("a/b.pcb")
  uint64_t size = 0;
  int64_t modified = 0;    // nanoseconds since the epoch
  std::string unreadable;  // why it cannot be read, or "" when it can
  bool given = false;      // named on the command line (not found in a folder)
};

// Whether a folder's entry is a candidate by its name: "*.pcb" in any case.
bool HasBoardName(const std::string& name);

class InputWalk {
 public:
  // `allFiles`: every regular file in a folder, not only *.pcb. `skip`: a
  // folder not to walk into (the output folder).
  InputWalk(bool allFiles, const std::string& skip);

  // The candidates of `inputs` in order. A file reached twice (given twice,
  // or through a link) is taken once; a folder reached again (a link into a
  // folder being walked, or to one walked already) is not walked again.
  // Entries named *.pcb that cannot be read (a dangling link, a pipe, a
  // folder, no permission) are candidates with `unreadable` set; so are
  // inputs that do not exist.
  std::vector<Candidate> Walk(const std::vector<std::string>& inputs);

 private:
  using Identity = std::pair<uint64_t, uint64_t>;
  void WalkFolder(const std::string& path, const std::string& relative, std::vector<Candidate>& out);
  void Take(const std::string& path, const std::string& relative, const EntryInfo& info, bool given,
            std::vector<Candidate>& out);

  bool allFiles_;
  bool skipKnown_ = false;
  Identity skip_{};
  std::set<Identity> files_;
  std::set<Identity> folders_;
};

}  // namespace orvik::host::convert
