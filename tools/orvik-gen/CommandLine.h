// Command line of orvik-gen.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "tools/orvik-gen/BoardCounts.h"

namespace orvik::gen {

struct GenOptions {
  std::uint64_t seed = 1;
  BoardCounts counts = BoardCounts::ForScale(1);
  std::string outputPath;  // empty: standard output
  bool summary = false;    // print the record counts to standard error
  bool help = false;
};

struct GenParseResult {
  GenOptions options;
  std::string error;  // empty when the command line is valid
  [[nodiscard]] bool ok() const noexcept { return error.empty(); }
};

// `args` excludes the program name. --help wins over anything else.
GenParseResult ParseGenCommandLine(std::span<const std::string_view> args);

std::string GenUsageText(std::string_view program);

}  // namespace orvik::gen
