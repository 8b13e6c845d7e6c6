// Cost of expanding a typical command template: a map URL with four named fields and the
// geocode, under the WGS84 and the Tokyo datum.
#include <benchmark/benchmark.h>

#include <string>

#include "gateway/command_template.h"
#include "gateway/field_format.h"

namespace {

const tolvex::Location kTokyoTower{{35.658581, 139.745433}, "SD9.XC4.EQ2.CV5"};

tolvex::CommandOption TypicalOption(const char* datum) {
  return {
      "https://www.openstreetmap.org/?mlat=$lat.d(-.6r)&mlon=$lon.d(-.6r)"
      "#map=16/$lat.d(-.6r)/$lon.d(-.6r)&c=$ost",
      datum};
}

void BM_ExpandFourFieldUrl(benchmark::State& state) {
  const tolvex::CommandOption option = TypicalOption("wgs84");
  for (auto _ : state) {
    std::string line = tolvex::ExpandCommandTemplate(kTokyoTower, option, ".");
    benchmark::DoNotOptimize(line);
  }
}
BENCHMARK(BM_ExpandFourFieldUrl);

void BM_ExpandFourFieldUrlTokyo(benchmark::State& state) {
  const tolvex::CommandOption option = TypicalOption("tokyo");
  for (auto _ : state) {
    std::string line = tolvex::ExpandCommandTemplate(kTokyoTower, option, ".");
    benchmark::DoNotOptimize(line);
  }
}
BENCHMARK(BM_ExpandFourFieldUrlTokyo);

void BM_FormatFieldFullFraction(benchmark::State& state) {
  for (auto _ : state) {
    auto text = tolvex::FormatField("", 35.658581, tolvex::CoordinateKind::kLatitude, 1, ".");
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_FormatFieldFullFraction);

}  // namespace

BENCHMARK_MAIN();
