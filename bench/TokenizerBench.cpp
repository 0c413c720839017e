// The reader's character level: reading a generated board character by
// character, tokenizing it, converting typical field tokens to integers, and
// the host calls made per character (the progress step) and per pad layer.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "RTL/RT_PCB/PcbApi.h"
#include "RTL/RT_PCB/PcbPad.h"
#include "RTL/RT_PCB/PcbTrack.h"
#include "orvik/kovlan.h"
#include "platform/TextFile.h"
#include "reader/ProgressCount.h"
#include "reader/Tokenizer.h"
#include "tools/orvik-gen/BoardGenerator.h"
#include "tools/orvik-gen/RecordWriter.h"

namespace {

// A file in the temporary directory, removed when the process ends.
class TempFile {
 public:
  TempFile(std::string_view name, std::string_view content) : bytes_(content.size()) {
    std::error_code ec;
    path_ = (std::filesystem::temp_directory_path(ec) / name).string();
    std::FILE* f = std::fopen(path_.c_str(), "wb");
    if (f == nullptr) return;
    ok_ = std::fwrite(content.data(), 1, content.size(), f) == content.size();
    ok_ = std::fclose(f) == 0 && ok_;
  }
  ~TempFile() {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  [[nodiscard]] bool Ok() const noexcept { return ok_; }
  [[nodiscard]] const std::string& Path() const noexcept { return path_; }
  [[nodiscard]] std::uint64_t Bytes() const noexcept { return bytes_; }

 private:
  std::string path_;
  std::uint64_t bytes_ = 0;
  bool ok_ = false;
};

// The reader reports progress to the host module for every character; with
// the stand-in module loaded (and its journal off) that costs what it costs
// in the host, not a module search per call.
void PrepareHost() {
  static const bool prepared = [] {
    KvHost_Reset();
    KvHost_SetJournal(0);
    return true;
  }();
  benchmark::DoNotOptimize(prepared);
}

std::string ProcessTag() {
  std::array<char, 32> tag{};
  std::snprintf(tag.data(), tag.size(), "%p", static_cast<const void*>(&tag));
  return tag.data();
}

const TempFile& Board() {
  static const TempFile board = [] {
    orvik::gen::StringSink sink;
    orvik::gen::RecordWriter writer(sink);
    orvik::gen::BoardGenerator generator(1, orvik::gen::BoardCounts::ForComponents(1000));
    generator.Generate(writer);
    return TempFile("orvik-bench-board-" + ProcessTag() + ".pcb", sink.Text());
  }();
  return board;
}

// Field tokens as they occur in boards: small and five-digit coordinates,
// negative angles, layer numbers, a hexadecimal value and non-numbers.
constexpr std::array<std::string_view, 12> kTypicalTokens = {
    "0", "8", "12", "-90", "360", "15230", "4875", "19995", "2147483647", "$1F", "SQ", "12x",
};
constexpr std::size_t kTokenRepeats = 20000;

const TempFile& TypicalTokens() {
  static const TempFile tokens = [] {
    std::string text;
    for (std::size_t i = 0; i < kTokenRepeats; ++i) {
      for (const std::string_view token : kTypicalTokens) {
        text += token;
        text += ' ';
      }
      text += "\r\n";
    }
    return TempFile("orvik-bench-tokens-" + ProcessTag() + ".txt", text);
  }();
  return tokens;
}

// Runs `pass` over `input`, opened afresh, once per benchmark iteration,
// and counts its bytes as processed; skips the benchmark when the input
// file could not be written.
template <class Pass>
void PassesOver(benchmark::State& state, const TempFile& input, Pass pass) {
  if (!input.Ok()) {
    state.SkipWithError("cannot write the input file");
    return;
  }
  for (auto _ : state) {
    orvik::platform::TextFile file;
    file.Assign(input.Path());
    file.Reset();
    pass(file);
    file.Close();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(input.Bytes() * state.iterations()));
}

// Every token of the board; the progress steps go to the host, or, with a
// count (the reading worker's road), are counted instead.
void TokenizeBoard(benchmark::State& state, orvik::TProgressCount* count) {
  PrepareHost();
  std::uint64_t tokens = 0;
  PassesOver(state, Board(), [&](orvik::platform::TextFile& file) {
    orvik::TTokenizer tokenizer(file, orvik::TProgressRule::EveryCharacter);
    tokenizer.SetProgressCount(count);
    while (!file.Eof()) {
      const std::string_view token = tokenizer.ReadToken();
      benchmark::DoNotOptimize(token.data());
      ++tokens;
    }
  });
  state.counters["tokens/s"] = benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
}
void BM_TokenizeBoard(benchmark::State& state) { TokenizeBoard(state, nullptr); }
BENCHMARK(BM_TokenizeBoard)->Unit(benchmark::kMillisecond);
void BM_TokenizeBoardCounting(benchmark::State& state) {
  orvik::TProgressCount count;
  TokenizeBoard(state, &count);
}
BENCHMARK(BM_TokenizeBoardCounting)->Unit(benchmark::kMillisecond);

void BM_ReadIntegerTypical(benchmark::State& state) {
  PrepareHost();
  std::int64_t reads = 0;
  PassesOver(state, TypicalTokens(), [&](orvik::platform::TextFile& file) {
    orvik::TTokenizer tokenizer(file, orvik::TProgressRule::EveryCharacter);
    while (!file.Eof()) {
      benchmark::DoNotOptimize(tokenizer.ReadInteger());
      ++reads;
    }
  });
  state.SetItemsProcessed(reads);
}
BENCHMARK(BM_ReadIntegerTypical)->Unit(benchmark::kMillisecond);

// The character reader alone: every byte through the block windows, the
// form the tokenizer's loops use.
void BM_TextFileWindows(benchmark::State& state) {
  PassesOver(state, Board(), [](orvik::platform::TextFile& file) {
    std::uint32_t sum = 0;
    do {
      const char* p = file.WindowBegin();
      const char* limit = file.WindowEnd();
      for (; p != limit && *p != orvik::platform::TextFile::kEndOfFileByte; ++p) sum += static_cast<unsigned char>(*p);
      file.Consume(p);
      if (p != limit) break;
    } while (file.NextWindow());
    benchmark::DoNotOptimize(sum);
  });
}
BENCHMARK(BM_TextFileWindows)->Unit(benchmark::kMillisecond);

// The same with the two-call form Eof, then Read.
void BM_TextFileEofRead(benchmark::State& state) {
  PassesOver(state, Board(), [](orvik::platform::TextFile& file) {
    std::uint32_t sum = 0;
    while (!file.Eof()) sum += static_cast<unsigned char>(file.Read());
    benchmark::DoNotOptimize(sum);
  });
}
BENCHMARK(BM_TextFileEofRead)->Unit(benchmark::kMillisecond);

// The progress step, called once per character read: the plug-in's wrapper
// into the stand-in host's Percent_Update, with a progress range open.
void BM_PercentUpdate(benchmark::State& state) {
  PrepareHost();
  orvik::pcbapi::Percent_Init("bench", 1000000000);
  for (auto _ : state) orvik::pcbapi::Percent_Update();
  orvik::pcbapi::Percent_Finish();
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_PercentUpdate);

// One layer of a pad read: the four per-layer queries, through the wrappers,
// on a pad of the stand-in host.
void BM_PadLayerQueries(benchmark::State& state) {
  PrepareHost();
  const std::uint32_t pad = orvik::pcbapi::CreateObject(2);
  std::uint8_t layer = 0;
  for (auto _ : state) {
    std::uint8_t shape = 0, percent = 0;
    std::int32_t x = 0, y = 0, radius = 0;
    orvik::pcbapi::QueryPadOrViaShapeOnLayer(pad, layer, &shape);
    orvik::pcbapi::QueryPadOrViaSizeOnLayer(pad, layer, &x, &y);
    orvik::pcbapi::QueryPadCornerRadiusOnLayer(pad, layer, &radius);
    orvik::pcbapi::QueryPadCRPercentageOnLayer(pad, layer, &percent);
    benchmark::DoNotOptimize(shape + percent + x + y + radius);
    layer = layer == 82 ? 0 : static_cast<std::uint8_t>(layer + 1);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * 4));
}
BENCHMARK(BM_PadLayerQueries);

// A whole pad read as the import makes it twice per pad: the pad record,
// the stack mode and the 83-layer stack (332 per-layer queries), with the
// client's compact stack rebuilt from what the host answers.
void BM_PadStackRead(benchmark::State& state) {
  PrepareHost();
  orvik::TPcbPad pad(orvik::pcbapi::CreateObject(2));
  for (auto _ : state) {
    benchmark::DoNotOptimize(pad.SyncWithHost(orvik::smRead));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * 83));
}
BENCHMARK(BM_PadStackRead);

// A track's write and read through the host's generic exchange (the two
// bit-field exchanges, then the track record of 13 attributes), as the
// import makes them for every track.
void BM_TrackSync(benchmark::State& state) {
  PrepareHost();
  orvik::TPcbTrack track(orvik::pcbapi::CreateObject(4));
  track.X2 = 1000;
  track.Width = 2540;
  for (auto _ : state) {
    benchmark::DoNotOptimize(track.SyncWithHost(orvik::smWrite));
    benchmark::DoNotOptimize(track.SyncWithHost(orvik::smRead));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * 2));
}
BENCHMARK(BM_TrackSync);

// The conversion alone, without the file.
void BM_ParseIntegerTypical(benchmark::State& state) {
  for (auto _ : state) {
    for (const std::string_view token : kTypicalTokens) {
      std::int32_t value = 0;
      benchmark::DoNotOptimize(orvik::ParseInteger(token, value));
      benchmark::DoNotOptimize(value);
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kTypicalTokens.size()));
}
BENCHMARK(BM_ParseIntegerTypical);

}  // namespace
