// Cost of expanding a typical command template: a map URL with four named fields and the
// geocode, under the WGS84 and the Tokyo datum.
#include <benchmark/benchmark.h>

#include <string>

#include "gateway/command_template.h"
#include "gateway/field_format.h"

namespace {

tolvex::RequestState TypicalRequest(const char* datum) {
  tolvex::RequestState state;
  state.latitude = 35.658581;
  state.longitude = 139.745433;
  state.geocode = "SD9.XC4.EQ2.CV5";
  state.command_template =
      "https://www.openstreetmap.org/?mlat=$lat.d(-.6r)&mlon=$lon.d(-.6r)"
      "#map=16/$lat.d(-.6r)/$lon.d(-.6r)&c=$ost";
  state.datum_name = datum;
  return state;
}

void BM_ExpandFourFieldUrl(benchmark::State& state) {
  tolvex::RequestState request = TypicalRequest("wgs84");
  for (auto _ : state) {
    std::string line = tolvex::ExpandCommandTemplate(request, ".");
    benchmark::DoNotOptimize(line);
  }
}
BENCHMARK(BM_ExpandFourFieldUrl);

void BM_ExpandFourFieldUrlTokyo(benchmark::State& state) {
  tolvex::RequestState request = TypicalRequest("tokyo");
  for (auto _ : state) {
    std::string line = tolvex::ExpandCommandTemplate(request, ".");
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
