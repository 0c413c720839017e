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
  bool version = false;
};

struct GenParseResult {
  GenOptions options;
  std::string error;  // empty when the command line is valid
  [[nodiscard]] bool ok() const noexcept { return error.empty(); }
};

// `args` excludes the program name. --help and --version win over anything
// else.
GenParseResult ParseGenCommandLine(std::span<const std::string_view> args);

// The --help text. It names the program by its plain name, wherever it was
// started from, and reads as help2man expects.
std::string GenUsageText();

}  // namespace orvik::gen
