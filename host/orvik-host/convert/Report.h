// convert's report, DIR/report.json and DIR/report.html: the totals of the
// run and one entry per file, in input order.
#pragma once

#include <string>
#include <vector>

#include "host/orvik-host/convert/FileResult.h"

namespace orvik::host::convert {

struct Report {
  std::vector<FileResult> files;
  Totals totals;
  std::string outDir;
  std::string version;
  bool interrupted = false;
  int exitStatus = 0;
  std::vector<std::string> kicadClasses;  // the KiCad change classes, in their order
};

std::string ReportJson(const Report& report);
std::string ReportHtml(const Report& report);

// A relative path as a link target: every byte but letters, digits, '/',
// '-', '_', '.' and '~' percent-encoded.
std::string LinkTarget(const std::string& relative);

}  // namespace orvik::host::convert
