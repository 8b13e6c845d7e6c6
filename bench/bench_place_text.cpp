// Cost of reading a pasted message of about 10 KB: a chat log with a map link near its end,
// and one that names no place at all (every reader tries and refuses). Goal: under 1 ms each.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "place/place_text.h"

namespace {

std::string ChatLog(const std::string& last_line) {
  std::string text;
  for (int line = 0; text.size() < 10000; ++line) {
    text += "[18:" + std::to_string(10 + line % 50) +
            "] Aki: shall we meet near the tower, 35 minutes after six? "
            "Bring the tickets; the shop is at the corner, 2nd floor.\n";
  }
  return text + last_line;
}

void BM_MessageWithLinkAtTheEnd(benchmark::State& state) {
  const std::string text = ChatLog(
      "https://www.google.com/maps/place/Tokyo+Tower/@35.6585805,139.7428526,17z/"
      "data=!3m1!4b1!4m6!3m5!1s0x0:0x0!8m2!3d35.6585805!4d139.7454329\n");
  for (auto _ : state) {
    auto reading = tolvex::ReadPlaceText(text);
    benchmark::DoNotOptimize(reading);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_MessageWithLinkAtTheEnd)->Unit(benchmark::kMicrosecond);

void BM_MessageWithoutPlace(benchmark::State& state) {
  const std::string text = ChatLog("See you there!\n");
  for (auto _ : state) {
    auto reading = tolvex::ReadPlaceText(text);
    benchmark::DoNotOptimize(reading);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_MessageWithoutPlace)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
