#pragma once
// The same-run yardstick of the interface benchmarks: one full-screen copy
// of an 800 x 600 16-bit frame. Include it in one source file of the
// program only; it registers itself.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

inline void BM_FullScreenMemcpy(benchmark::State& state) {
  std::vector<uint16_t> from(800 * 600, 0x1234), to(800 * 600);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size() * sizeof(uint16_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FullScreenMemcpy);
