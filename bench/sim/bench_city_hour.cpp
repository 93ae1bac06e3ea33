// One simulated hour of a city of 250,000 residents (5,000 agents) on a grid
// of 1000 crossings: the agents' trips, routing and assignment and the city
// model's hourly step together, against the routing-only hour of the same
// network with the same trips, measured in the same run, each after a first
// hour of its own. Both hours must load the streets with the same flows; the
// ratio of their CPU times, the medians of three runs each, and the peak
// resident memory are reported.
#include "../bench_clock.h"
#include "bench_grid.h"
#include "bench_town.h"
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "../../tests/sim/sim_work_dir.h"
#include "framework/zor_seams.h"
#include "sim/sim_city_model.h"
#include "sim/sim_error.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_trip.h"
#include "sim/sim_welt.h"
#include "sim/sim_world_links.h"

namespace {

bool g_failed = false;

constexpr int kGridW = 40, kGridH = 25;  // 1000 crossings
constexpr int kAgents = 5000;            // 250,000 residents
// Districts of the town: 16 columns, 13 rows.
constexpr int kDistrictRows = 13;

struct TripSpec {
  short from, to, fromStop, toStop;
  unsigned size;
  ESimTransportationMode mode;
};

// The hour's trips handed in as they are, for the routing-only hour.
class FixedTrips : public CSimCityModell {
 public:
  bool Create(CSimLocationFactory*, CSimWelt*) override { return true; }
  void Destroy() override {}
  bool StartNextIntervall(const CSimDate&) override { return true; }
  CSimTrip* Trips(int) override {
    CSimTrip* head = nullptr;
    // Built from the last, so that the chain is in the order captured.
    for (auto s = trips.rbegin(); s != trips.rend(); ++s) {
      auto* t = new CSimTrip;
      t->SetCrossings(s->from, s->to);
      t->SetBusStops(s->fromStop, s->toStop);
      t->SetSize(s->size);
      t->SetTransportationMode(s->mode);
      t->SetNextPtr(head);
      head = t;
    }
    return head;
  }
  void CalculateTripStats(CSimTrafficSlot*) override {}
  void CalculateParkingData() override {}
  bool RegisterLocation(CSimLocation*, short) override { return true; }
  bool RemoveLocation(CSimLocation*) override { return true; }
  CSimDistrict* pDistrict(short) override { return nullptr; }
  bool Save(FILE*) override { return true; }
  bool Load(FILE*) override { return true; }
  std::vector<TripSpec> trips;
};

class Parts : public CSimWeltParts {
 public:
  explicit Parts(bool agents) : m_agents(agents) {}
  CSimCityModell* NewCityModell() override {
    if (m_agents) return new CSimCityModell;
    fixed = new FixedTrips;
    return fixed;
  }
  CBusNetMatrix* NewBusNetMatrix() override { return nullptr; }
  CCyberNet* NewCyberNet() override { return reinterpret_cast<CCyberNet*>(this); }
  bool ReadCyberNet(CCyberNet*, FILE*) override { return true; }
  void DeleteCyberNet(CCyberNet*) override {}
  const char* CyberNetDefinition() override { return ""; }
  bool TakeBusNetChanged() override { return false; }
  FixedTrips* fixed = nullptr;

 private:
  bool m_agents;
};

// The grid's streets in both directions, 150..550 m long.
void BuildNetwork(CSimWelt& w) {
  unsigned x = 77;
  AddGridStreets(w, kGridW, kGridH, x);
}

// A town of 208 districts, each with homes, workplaces, shops, a school and
// leisure near a crossing of the grid, and 5,000 agents living in them.
struct Town {
  CSimLocationFactory factory;
  Parts parts{true};
  std::unique_ptr<CSimWelt> world = std::make_unique<CSimWelt>(&parts);
  std::vector<std::unique_ptr<CSimLocation>> locations;

  bool Build() {
    zor_srandom(4711);
    if (!simtest::InSimWorkDir([&] { return world->Create(&factory); })) return false;
    BuildNetwork(*world);
    CSimCityModell* city = world->pCityModell();
    const simtest::Capacities kinds[3] = {simtest::Capacities{.homes = 1250}, simtest::Capacities{.jobs = 900, .type = 2},
                                          simtest::Capacities{.shops = 400, .leisure = 300, .school = 300, .type = 2}};
    auto crossing = [](int dx, int dy) {
      return static_cast<short>((dy * kGridH / kDistrictRows) * kGridW + dx * kGridW / 16 + 1);
    };
    return AddTownLocations(*city, kDistrictRows, kinds, crossing, locations) &&
           AddTownAgents(*city, kAgents, kDistrictRows);
  }
  ~Town() {
    if (world) world->Destroy();
  }
};

std::vector<TripSpec> Capture(CSimCityModell* city, int hour) {
  std::vector<TripSpec> specs;
  for (CSimTrip* t = city->Trips(hour); t;) {
    CSimTrip* next = t->pNext();
    specs.push_back({t->FromCrossing(), t->ToCrossing(), t->FromBusStop(), t->ToBusStop(), t->Size(),
                     t->TransportationMode()});
    delete t;
    t = next;
  }
  return specs;
}

// Runs the next hour to completion; its CPU time.
double RunHour(CSimWelt& w, bool modelStep) {
  const double t0 = ThreadCpuMs();
  w.StartNextIntervall(modelStep);
  while (w.Computate(0) != 0) {
  }
  w.ActivateCalculatedSlot();
  return ThreadCpuMs() - t0;
}

uint64_t FlowPrint(const CSimWelt& w) {
  const CSimRoutingMatrix& r = w.ActiveSlot()->Routing();
  uint64_t h = 1469598103934665603ull;
  for (int e = 0; e < r.NrOfStreets(); ++e) {
    h = (h ^ static_cast<uint64_t>(r.Street(e)->CarFlow())) * 1099511628211ull;
    h = (h ^ static_cast<uint64_t>(r.Street(e)->ID())) * 1099511628211ull;
  }
  return h;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void BM_CityHour(benchmark::State& state) {
  std::vector<double> agentsMs, routingMs;
  size_t trips = 0;
  int agents = 0, replanned = 0;
  for (auto _ : state) {
    for (int run = 0; run < 3; ++run) {
      Town town;
      if (!town.Build()) {
        g_failed = true;
        state.SkipWithError("the town of 5,000 agents could not be built");
        return;
      }
      agents = town.world->pCityModell()->NrOfAgents();
      // A first hour lets the re-planning count settle on its time bound
      // and both worlds keep their routing matrices; the second is measured.
      const int hour = town.world->ActiveSlot()->Date().Hour() + 1;
      const std::vector<TripSpec> first = Capture(town.world->pCityModell(), hour);
      RunHour(*town.world, true);
      replanned = town.world->pCityModell()->ReplanCount();
      const std::vector<TripSpec> specs = Capture(town.world->pCityModell(), hour + 1);
      trips = specs.size();
      agentsMs.push_back(RunHour(*town.world, true));

      Parts parts(false);
      CSimWelt plain(&parts);
      if (!simtest::InSimWorkDir([&] { return plain.Create(nullptr); })) g_failed = true;
      BuildNetwork(plain);
      parts.fixed->trips = first;
      RunHour(plain, false);
      parts.fixed->trips = specs;
      routingMs.push_back(RunHour(plain, false));
      if (FlowPrint(plain) != FlowPrint(*town.world)) {
        g_failed = true;
        state.SkipWithError("the agents' hour loads the streets unlike the same trips routed alone");
      }
      plain.Destroy();
    }
  }
  const double a = Median(agentsMs), r = Median(routingMs);
  state.counters["agents"] = agents;
  state.counters["trips"] = static_cast<double>(trips);
  state.counters["replan_count"] = replanned;
  state.counters["hour_with_agents_cpu_ms"] = a;
  state.counters["routing_only_cpu_ms"] = r;
  state.counters["ratio"] = r > 0 ? a / r : 0.0;
  state.counters["peak_rss_MB"] = PeakRssKb() / 1024.0;
  if (trips == 0) {
    g_failed = true;
    state.SkipWithError("the agents made no trips in the hour");
  }
}

}  // namespace

BENCHMARK(BM_CityHour)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  SimCloseErrorLog();
  if (g_failed) std::fprintf(stderr, "city_bench: a configuration computed a wrong result\n");
  return g_failed ? 1 : 0;
}
