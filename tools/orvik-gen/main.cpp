// orvik-gen: writes a generated Orvik ASCII PCB board.
#include <cstdio>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "tools/orvik-gen/BoardGenerator.h"
#include "tools/orvik-gen/CommandLine.h"
#include "tools/orvik-gen/RecordWriter.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitOutputFailed = 1;
constexpr int kExitUsage = 2;

void PrintSummary(const orvik::gen::BoardCounts& c, std::uint64_t bytes) {
  std::fprintf(stderr,
               "records %llu bytes %llu components %u pads %u nets %u tracks %u arcs %u vias %u texts %u fills %u "
               "polygons %u\n",
               static_cast<unsigned long long>(c.Records()), static_cast<unsigned long long>(bytes), c.components,
               c.pads, c.nets, c.tracks, c.arcs, c.vias, c.texts, c.fills, c.polygons);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string_view> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);

  const orvik::gen::GenParseResult parsed = orvik::gen::ParseGenCommandLine(args);
  if (!parsed.ok()) {
    std::fprintf(stderr, "orvik-gen: %s\nTry 'orvik-gen --help' for more information.\n", parsed.error.c_str());
    return kExitUsage;
  }
  const orvik::gen::GenOptions& options = parsed.options;
  if (options.help) {
    std::fputs(orvik::gen::GenUsageText().c_str(), stdout);
    return kExitOk;
  }
  if (options.version) {
    std::printf("orvik-gen %s\n", ORVIK_GEN_VERSION);
    return kExitOk;
  }

  std::FILE* stream = stdout;
  if (!options.outputPath.empty()) {
    stream = std::fopen(options.outputPath.c_str(), "wb");
    if (stream == nullptr) {
      std::fprintf(stderr, "orvik-gen: cannot create '%s'\n", options.outputPath.c_str());
      return kExitOutputFailed;
    }
  } else {
#ifdef _WIN32
    // The records carry their own CR LF; no translation on the way out.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
  }

  orvik::gen::StreamSink sink(stream);
  orvik::gen::RecordWriter writer(sink);
  orvik::gen::BoardGenerator generator(options.seed, options.counts);
  bool ok = generator.Generate(writer);
  if (stream == stdout) {
    ok = std::fflush(stream) == 0 && ok;
  } else {
    ok = std::fclose(stream) == 0 && ok;
  }
  if (!ok) {
    std::fprintf(stderr, "orvik-gen: writing '%s' failed\n",
                 options.outputPath.empty() ? "standard output" : options.outputPath.c_str());
    return kExitOutputFailed;
  }
  if (options.summary) PrintSummary(generator.Written(), writer.BytesWritten());
  return kExitOk;
}
