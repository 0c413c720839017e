// The reader's character level: tokenizing a generated board read from a
// file, and converting typical field tokens to integers.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "orvik/kovlan.h"
#include "platform/TextFile.h"
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

void BM_TokenizeBoard(benchmark::State& state) {
  PrepareHost();
  const TempFile& board = Board();
  if (!board.Ok()) {
    state.SkipWithError("cannot write the board file");
    return;
  }
  std::uint64_t tokens = 0;
  for (auto _ : state) {
    orvik::platform::TextFile file;
    file.Assign(board.Path());
    file.Reset();
    orvik::TTokenizer tokenizer(file, orvik::TProgressRule::EveryCharacter);
    while (!file.Eof()) {
      const std::string_view token = tokenizer.ReadToken();
      benchmark::DoNotOptimize(token.data());
      ++tokens;
    }
    file.Close();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(board.Bytes() * state.iterations()));
  state.counters["tokens/s"] = benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TokenizeBoard)->Unit(benchmark::kMillisecond);

void BM_ReadIntegerTypical(benchmark::State& state) {
  PrepareHost();
  const TempFile& tokens = TypicalTokens();
  if (!tokens.Ok()) {
    state.SkipWithError("cannot write the token file");
    return;
  }
  std::int64_t reads = 0;
  for (auto _ : state) {
    orvik::platform::TextFile file;
    file.Assign(tokens.Path());
    file.Reset();
    orvik::TTokenizer tokenizer(file, orvik::TProgressRule::EveryCharacter);
    while (!file.Eof()) {
      benchmark::DoNotOptimize(tokenizer.ReadInteger());
      ++reads;
    }
    file.Close();
  }
  state.SetItemsProcessed(reads);
  state.SetBytesProcessed(static_cast<std::int64_t>(tokens.Bytes() * state.iterations()));
}
BENCHMARK(BM_ReadIntegerTypical)->Unit(benchmark::kMillisecond);

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
