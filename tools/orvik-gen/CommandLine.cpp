#include "tools/orvik-gen/CommandLine.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <string>

namespace orvik::gen {

namespace {

// Parses a whole decimal token into [min, max].
std::optional<std::uint64_t> ParseNumber(std::string_view text, std::uint64_t min, std::uint64_t max) {
  std::uint64_t value = 0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  if (text.empty() || result.ec != std::errc() || result.ptr != end || value < min || value > max) {
    return std::nullopt;
  }
  return value;
}

struct CountOption {
  std::string_view name;
  std::uint32_t BoardCounts::*field;
};

constexpr std::array kCountOptions = {
    CountOption{"--pads", &BoardCounts::pads},     CountOption{"--nets", &BoardCounts::nets},
    CountOption{"--tracks", &BoardCounts::tracks}, CountOption{"--arcs", &BoardCounts::arcs},
    CountOption{"--vias", &BoardCounts::vias},     CountOption{"--texts", &BoardCounts::texts},
    CountOption{"--fills", &BoardCounts::fills},   CountOption{"--polygons", &BoardCounts::polygons},
};

}  // namespace

GenParseResult ParseGenCommandLine(std::span<const std::string_view> args) {
  GenParseResult r;
  std::optional<std::uint32_t> components;
  std::optional<std::uint32_t> scale;
  // Overrides apply after the derived counts, whatever their order.
  std::array<std::optional<std::uint32_t>, kCountOptions.size()> overrides{};

  // --help and --version win over anything else on the line, errors
  // included; --help over --version.
  const auto given = [&](std::string_view shortName, std::string_view longName) {
    return std::any_of(args.begin(), args.end(), [&](std::string_view a) { return a == shortName || a == longName; });
  };
  if (given("-h", "--help")) {
    r.options.help = true;
    return r;
  }
  if (given("-V", "--version")) {
    r.options.version = true;
    return r;
  }
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--summary") {
      r.options.summary = true;
      continue;
    }
    // Every other option takes a value.
    const bool known =
        arg == "--seed" || arg == "--components" || arg == "--scale" || arg == "-o" ||
        std::any_of(kCountOptions.begin(), kCountOptions.end(), [&](const CountOption& o) { return o.name == arg; });
    if (!known) {
      r.error = "unknown option '" + std::string(arg) + "'";
      return r;
    }
    if (i + 1 >= args.size()) {
      r.error = "option " + std::string(arg) + " needs a value";
      return r;
    }
    const std::string_view value = args[++i];
    if (arg == "-o") {
      if (value.empty()) {
        r.error = "option -o needs a file name";
        return r;
      }
      r.options.outputPath = std::string(value);
      continue;
    }
    if (arg == "--seed") {
      const auto seed = ParseNumber(value, 0, UINT64_MAX);
      if (!seed) {
        r.error = "--seed takes a whole number from 0 to 18446744073709551615, not '" + std::string(value) + "'";
        return r;
      }
      r.options.seed = *seed;
      continue;
    }
    if (arg == "--components") {
      const auto n = ParseNumber(value, 0, kMaxComponents);
      if (!n) {
        r.error = "--components takes a whole number from 0 to " + std::to_string(kMaxComponents) + ", not '" +
                  std::string(value) + "'";
        return r;
      }
      components = static_cast<std::uint32_t>(*n);
      continue;
    }
    if (arg == "--scale") {
      const auto n = ParseNumber(value, 1, kMaxScale);
      if (!n) {
        r.error = "--scale takes a whole number from 1 to " + std::to_string(kMaxScale) + ", not '" +
                  std::string(value) + "'";
        return r;
      }
      scale = static_cast<std::uint32_t>(*n);
      continue;
    }
    for (std::size_t k = 0; k < kCountOptions.size(); ++k) {
      if (kCountOptions[k].name != arg) continue;
      const auto n = ParseNumber(value, 0, kMaxCount);
      if (!n) {
        r.error = std::string(arg) + " takes a whole number from 0 to " + std::to_string(kMaxCount) + ", not '" +
                  std::string(value) + "'";
        return r;
      }
      overrides[k] = static_cast<std::uint32_t>(*n);
    }
  }

  if (components && scale) {
    r.error = "--components and --scale exclude each other";
    return r;
  }
  if (components) r.options.counts = BoardCounts::ForComponents(*components);
  if (scale) r.options.counts = BoardCounts::ForScale(*scale);
  for (std::size_t k = 0; k < kCountOptions.size(); ++k) {
    if (overrides[k]) r.options.counts.*(kCountOptions[k].field) = *overrides[k];
  }
  return r;
}

std::string GenUsageText() {
  return "Usage: orvik-gen [OPTIONS]\n"
         "\n"
         "Writes a realistic Orvik ASCII PCB board. The same seed and counts give\n"
         "the same bytes on every platform.\n"
         "\n"
         "Options:\n"
         "  --seed N          random seed (default 1)\n"
         "  --scale K         K times 5000 components, about 10 MB per unit (default 1)\n"
         "  --components N    N components; the other counts follow from it\n"
         "  --pads N, --nets N, --tracks N, --arcs N, --vias N, --texts N,\n"
         "  --fills N, --polygons N\n"
         "                    override one derived count\n"
         "  --summary         print the record counts and size to standard error\n"
         "  -o FILE           write to FILE instead of standard output\n"
         "  -h, --help        print this help\n"
         "  -V, --version     print the version\n"
         "\n"
         "Exit codes:\n"
         "  0  success\n"
         "  1  the output could not be written\n"
         "  2  bad command line\n";
}

}  // namespace orvik::gen
