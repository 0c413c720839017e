// The options of `orvik-host convert`.
#pragma once

#include <string>
#include <vector>

namespace orvik::host::convert {

struct ConvertOptions {
  static constexpr int kMaxJobs = 256;
  static constexpr int kDefaultTimeoutSeconds = 300;
  static constexpr int kMaxTimeoutSeconds = 86400;

  std::vector<std::string> inputs;  // files and folders
  std::string outDir;
  int jobs = 0;  // 0: the number of usable cores
  int timeoutSeconds = kDefaultTimeoutSeconds;
  bool force = false;     // convert files that are up to date too
  bool allFiles = false;  // every regular file in a folder, not only *.pcb
  bool html = false;      // the preview page of each board
  bool json = false;      // the board dump of each board
  bool check = false;     // the check report of each file, text and JSON
};

}  // namespace orvik::host::convert
