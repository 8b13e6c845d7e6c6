// Per-call cost of the geocode codec. Inputs rotate through a table so that the compiler
// cannot fold the call and the branch predictor sees varied data.
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <string_view>

#include "geocode/ostraline.h"

namespace {

constexpr std::array<std::string_view, 8> kCodes = {
    "SD9.XC4.EQ2.CV5", "AA0.AA0.AA0.AA0", "ZZ9.ZZ9.ZZ9.ZZ9", "NA0.NA0.AA0.AA0",
    "IC8.XX9.MS6.MR4", "UL3.MZ9.HF5.ZH0", "AB0.AB0.OQ2.OQ2", "AD1.NA0.RW8.AA0"};
constexpr std::array<std::array<double, 2>, 8> kPositions = {{{35.658581, 139.745433},
                                                              {-33.8568, 151.2153},
                                                              {51.4778, -0.0015},
                                                              {0.0, 0.0},
                                                              {-89.71875, -179.4375},
                                                              {89.999999, 179.999999},
                                                              {12.345678, -98.765432},
                                                              {-45.5, 45.5}}};

void BM_Encode(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& p = kPositions[i++ & 7];
    std::string code = tolvex::LatLonToOstraline(p[0], p[1]);
    benchmark::DoNotOptimize(code);
  }
}
BENCHMARK(BM_Encode);

void BM_DecodeLatitude(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(tolvex::OstralineToLatitude(kCodes[i++ & 7]));
}
BENCHMARK(BM_DecodeLatitude);

void BM_DecodeLongitude(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(tolvex::OstralineToLongitude(kCodes[i++ & 7]));
}
BENCHMARK(BM_DecodeLongitude);

void BM_Check(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tolvex::IsOstralineCode(kCodes[i++ & 7]));
  }
}
BENCHMARK(BM_Check);

}  // namespace

BENCHMARK_MAIN();
