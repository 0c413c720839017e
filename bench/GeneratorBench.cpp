// Output throughput of the board generator.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string_view>

#include "tools/orvik-gen/BoardGenerator.h"
#include "tools/orvik-gen/RecordWriter.h"

namespace {

// Counts the bytes and touches them, so that only generation is measured.
class DiscardSink final : public orvik::gen::OutputSink {
 public:
  bool Write(std::string_view data) override {
    bytes_ += data.size();
    benchmark::DoNotOptimize(data.data());
    return true;
  }
  [[nodiscard]] std::uint64_t Bytes() const noexcept { return bytes_; }

 private:
  std::uint64_t bytes_ = 0;
};

void BM_GenerateBoard(benchmark::State& state) {
  const auto counts = orvik::gen::BoardCounts::ForComponents(static_cast<std::uint32_t>(state.range(0)));
  std::uint64_t bytes = 0;
  for (auto _ : state) {
    DiscardSink sink;
    orvik::gen::RecordWriter writer(sink);
    orvik::gen::BoardGenerator generator(1, counts);
    if (!generator.Generate(writer)) state.SkipWithError("generation failed");
    bytes += sink.Bytes();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
  state.SetItemsProcessed(static_cast<std::int64_t>(counts.Records() * state.iterations()));
}
BENCHMARK(BM_GenerateBoard)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace
