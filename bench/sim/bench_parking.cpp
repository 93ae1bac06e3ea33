// The twice-daily parking pass on a town of 208 districts with 5,000 agents
// and 300 car parks spread over them. The same-run yardstick is the pass as
// written plainly, with all 256 distance weights and demands per car park;
// both must give the same loads, uses and search times.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "../../tests/sim/sim_test_city.h"
#include "bench_town.h"
#include "framework/zor_seams.h"
#include "sim/sim_city_model.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_parking_data.h"
#include "sim/sim_welt.h"

namespace {

constexpr int kRows = 13;
constexpr int kAgents = 5000;
constexpr int kParks = 300;
constexpr int N = CSimCityModell::kDistricts;
bool g_failed = false;

struct Records : CSimParkingDataSource {
  std::vector<ParkingDataType> parks;
  size_t cursor = 0;
  void SimSetupParkingDataCount() override { cursor = 0; }
  ParkingDataType* SimGetNextParkingData() override { return cursor < parks.size() ? &parks[cursor++] : nullptr; }
};

struct Parts : simtest::TestParts {
  Records records;
  CSimParkingDataSource* ParkingData() override { return &records; }
};

struct Town {
  CSimLocationFactory factory;
  Parts parts;
  CSimWelt world{&parts};
  std::unique_ptr<CSimCityModell> city = std::make_unique<CSimCityModell>();
  std::vector<std::unique_ptr<CSimLocation>> locations;
  bool Build() {
    zor_srandom(4711);
    if (!city->Create(&factory, &world)) return false;
    const simtest::Capacities kinds[3] = {{.homes = 1250, .parking = 20},
                                          {.jobs = 900, .parking = 40, .type = 2},
                                          {.shops = 400, .leisure = 300, .school = 300, .type = 2}};
    if (!AddTownLocations(*city, kRows, kinds, [](int, int) { return short{0}; }, locations)) return false;
    if (!AddTownAgents(*city, kAgents, kRows)) return false;
    for (int i = 0; i < kParks; ++i) {
      ParkingDataType& p = parts.records.parks.emplace_back();
      p.sizeClass = 1 + i % 3;
      p.places = (const int[]){60, 120, 250}[i % 3];
      p.carPlaces = p.places * 9 / 10;
      p.microcarPlaces = p.places - p.carPlaces;
      p.price = 0.5f + 0.1f * static_cast<float>(i % 15);
      p.reservationOff = i % 2;
      p.guidanceOff = (i / 2) % 2;
      p.districtId = static_cast<short>(1 + (i * 37) % (16 * kRows));
    }
    return true;
  }
  ~Town() { city.reset(); }
};

// The pass as the rules state it, with dense arrays; share of the second
// kind s, search times into `seconds`.
void PlainPass(CSimCityModell& city, std::vector<ParkingDataType>& parks, double s, std::vector<int>& seconds) {
  std::vector<double> S(N), D(N), q(N), ws(N), wt(N);
  for (int x = 0; x < 16; ++x)
    for (int y = 0; y < 16; ++y) {
      CSimDistrict& d = *city.pDistrictAt(x, y);
      const int i = x + 16 * y;
      S[i] = d.NrOfParking() * 24.0;
      D[i] = 10.0 * d.NrOfResidents() + 8.0 * d.NrOfWorkers() + 2.0 * d.NrOfConsumers() + 3.0 * d.NrOfLeisurers();
      q[i] = std::max(0.0, 0.05 * (D[i] - 0.8 * S[i]));
    }
  const size_t n = parks.size();
  std::vector<double> W(n * N), P1(n * N), P2(n * N), L1(n * N, 0.0), L2(n * N, 0.0), U1(n), U2(n), a(n, 1.0), A(n);
  for (size_t c = 0; c < n; ++c) {
    ParkingDataType& p = parks[c];
    A[c] = p.carPlaces / (p.price + 0.3);
    CSimCityModell::CalcDistMap(&W[c * N], p.districtId, (p.reservationOff == 0) + (p.guidanceOff == 0));
  }
  for (int it = 0; it < 20; ++it) {
    for (size_t c = 0; c < n; ++c)
      for (int d = 0; d < N; ++d) P1[c * N + d] = P2[c * N + d] = A[c] * a[c] * W[c * N + d];
    for (int d = 0; d < N; ++d) {
      double T = 0;
      for (size_t c = 0; c < n; ++c) T += P1[c * N + d];
      for (size_t c = 0; c < n; ++c) {
        if (q[d] <= 0) {
          P1[c * N + d] = P2[c * N + d] = 0;
        } else if (T > 0) {
          P1[c * N + d] /= T / (q[d] * (1 - s));
          P2[c * N + d] = s > 0 ? P2[c * N + d] / (T / (q[d] * s)) : 0.0;
        }
      }
    }
    for (size_t c = 0; c < n; ++c) {
      U1[c] = U2[c] = 0;
      for (int d = 0; d < N; ++d) {
        L1[c * N + d] += P1[c * N + d], L2[c * N + d] += P2[c * N + d];
        U1[c] += L1[c * N + d], U2[c] += L2[c * N + d];
      }
      const double C1 = parks[c].carPlaces * 24.0;
      a[c] = C1 < 1 || U1[c] / C1 > 1 ? 0.0 : 1.0 / (1.0 + std::exp(30.0 * (U1[c] / C1 - 0.8)));
    }
  }
  for (size_t c = 0; c < n; ++c) {
    ParkingDataType& p = parks[c];
    const double C1 = p.carPlaces * 24.0, C2 = p.microcarPlaces * 24.0;
    const double t = 360.0 * (U1[c] / C1) * (U1[c] / C1);
    p.carPlacesUsed = static_cast<int>(U1[c] / 24);
    p.microcarPlacesUsed = std::min(static_cast<int>(2 * U2[c] / 24), p.microcarPlaces);
    p.carLoad = static_cast<float>(U1[c] / C1);
    p.microcarLoad = C2 < 1 ? 0.0f : static_cast<float>(std::min(1.0, 3.5 * U2[c] / C2));
    S[p.districtId - 1] += C1 - U1[c];
    for (int d = 0; d < N; ++d) ws[d] += L1[c * N + d] + L2[c * N + d], wt[d] += (L1[c * N + d] + L2[c * N + d]) * t;
  }
  seconds.assign(N, 0);
  for (int d = 0; d < N; ++d) {
    double T = 0;
    if (ws[d] > 0) T = wt[d] / ws[d];
    else if (D[d] <= 0) T = 0;
    else if (S[d] <= 0) T = 360;
    else if (D[d] <= S[d]) T = 90 * D[d] / S[d];
    else T = 90 + 270 * (D[d] - S[d]) / S[d];
    seconds[d] = static_cast<int>(T);
  }
}

bool Near(double a, double b) { return std::fabs(a - b) <= 1e-4 * std::max(1.0, std::fabs(b)); }

void BM_ParkingPass(benchmark::State& state) {
  Town town;
  if (!town.Build()) {
    state.SkipWithError("town not built");
    return;
  }
  for (auto _ : state) {
    town.city->CalculateParkingData();
    benchmark::ClobberMemory();
  }
  // The result against the plain pass (the town has no microcar node: s 0).
  std::vector<ParkingDataType> plain = town.parts.records.parks;
  std::vector<int> seconds;
  PlainPass(*town.city, plain, 0.0, seconds);
  int mismatches = 0;
  for (size_t c = 0; c < plain.size(); ++c) {
    const ParkingDataType &a = town.parts.records.parks[c], &b = plain[c];
    mismatches += !Near(a.carLoad, b.carLoad) || !Near(a.microcarLoad, b.microcarLoad) ||
                  std::abs(a.carPlacesUsed - b.carPlacesUsed) > 1 || a.microcarPlacesUsed != b.microcarPlacesUsed;
  }
  int loaded = 0;
  for (int x = 0; x < 16; ++x)
    for (int y = 0; y < 16; ++y) {
      const int mine = town.city->pDistrictAt(x, y)->Parksuchzeit(), theirs = seconds[x + 16 * y];
      mismatches += std::abs(mine - theirs) > 1;
      loaded += mine > 0;
    }
  state.counters["mismatches"] = mismatches;
  state.counters["districts_with_time"] = loaded;
  if (mismatches != 0 || loaded == 0) {
    g_failed = true;
    state.SkipWithError("the pass differs from the plain pass");
  }
}

void BM_PlainParkingPass(benchmark::State& state) {
  Town town;
  if (!town.Build()) {
    state.SkipWithError("town not built");
    return;
  }
  std::vector<int> seconds;
  for (auto _ : state) {
    std::vector<ParkingDataType> parks = town.parts.records.parks;
    PlainPass(*town.city, parks, 0.0, seconds);
    benchmark::DoNotOptimize(seconds.data());
  }
}

}  // namespace

BENCHMARK(BM_ParkingPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainParkingPass)->Unit(benchmark::kMillisecond);
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (g_failed) std::fprintf(stderr, "parking_bench: the pass computed a wrong result\n");
  return g_failed ? 1 : 0;
}
