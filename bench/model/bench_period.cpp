// One period of the cause-effect network on a town of 50,000 residents
// (1,000 agents): the city's travel averages, the 72 inputs fed, the game's
// own network settled and stepped, and the global events raised, against
// the same run's yardstick of one pass of the city's travel averages alone.
// The period must feed what the city measured, settle within its rounds and
// leave every node finite; the medians of three runs are reported.
#include "../bench_clock.h"
#include "../sim/bench_grid.h"
#include "../sim/bench_town.h"
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "../../tests/sim/sim_work_dir.h"
#include "cybernet/cyber_net.h"
#include "framework/zor_seams.h"
#include "model/data_exchange.h"
#include "model/message.h"
#include "sim/sim_city_model.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_welt.h"
#include "sim/sim_world_links.h"

namespace {

bool g_failed = false;
constexpr int kGridW = 16, kGridH = 13;
constexpr int kAgents = 1000;  // 50,000 residents

class Parts : public CSimWeltParts {
 public:
  CSimCityModell* NewCityModell() override { return new CSimCityModell; }
  CBusNetMatrix* NewBusNetMatrix() override { return nullptr; }
  CCyberNet* NewCyberNet() override { return reinterpret_cast<CCyberNet*>(this); }
  bool ReadCyberNet(CCyberNet*, FILE*) override { return true; }
  void DeleteCyberNet(CCyberNet*) override {}
  const char* CyberNetDefinition() override { return ""; }
  bool TakeBusNetChanged() override { return false; }
};

struct Context : CGrowthContext {
  CSimCityModell* city = nullptr;
  CMessage* message = nullptr;
  CSimCityModell* City() override { return city; }
  CMessage* Message() override { return message; }
};

// A town of 208 districts with homes, work, shops, schools and leisure,
// whose agents have made a day of trips on a grid of 208 crossings.
struct Town {
  CSimLocationFactory factory;
  Parts parts;
  std::unique_ptr<CSimWelt> world = std::make_unique<CSimWelt>(&parts);
  std::vector<std::unique_ptr<CSimLocation>> locations;

  bool Build() {
    zor_srandom(4711);
    if (!simtest::InSimWorkDir([&] { return world->Create(&factory); })) return false;
    unsigned state = 77;
    AddGridStreets(*world, kGridW, kGridH, state);
    CSimCityModell* city = world->pCityModell();
    const simtest::Capacities kinds[3] = {simtest::Capacities{.homes = 260}, simtest::Capacities{.jobs = 180, .type = 2},
                                          simtest::Capacities{.shops = 80, .leisure = 60, .school = 60, .type = 2}};
    auto crossing = [](int dx, int dy) { return static_cast<short>(dy * kGridW + dx + 1); };
    if (!AddTownLocations(*city, kGridH, kinds, crossing, locations) || !AddTownAgents(*city, kAgents, kGridH))
      return false;
    // Two hours of trips, so that the agents have travel to average.
    for (int h = 0; h < 2; ++h) {
      world->StartNextIntervall(true);
      while (world->Computate(0) != 0) {
      }
      world->ActivateCalculatedSlot();
    }
    return true;
  }
  ~Town() {
    if (world) world->Destroy();
  }
};

std::unique_ptr<CCyberNet> GameNetwork() {
  auto net = std::make_unique<CCyberNet>();
  net->InsertStandardTemplates();
  FILE* f = std::fopen(ZOR_SOURCE_DIR "/assets/text/19396.txt", "r");
  if (!f || net->Read(f) != 0) net.reset();
  if (f) std::fclose(f);
  return net;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

STime Hour(int h) {
  STime t;
  t.hour = h;
  t.year = 1;
  t.fyear = 1.0f;
  return t;
}

void BM_Period(benchmark::State& state) {
  ZorManualClock clock(400000);
  ZorSetClock(&clock);
  Town town;
  std::unique_ptr<CCyberNet> net = GameNetwork();
  if (!town.Build() || !net) {
    g_failed = true;
    state.SkipWithError("the town or the game's network could not be made");
    ZorSetClock(nullptr);
    return;
  }
  CSimCityModell* city = town.world->pCityModell();
  CMessage message;
  Context context;
  context.city = city;
  context.message = &message;
  CDataExchange dx;
  dx.SetGrowthContext(&context);
  dx.SetCyberNet(net.get());
  dx.SetPeople(static_cast<int>(city->NrOfResidents()));
  dx.SetTargetPeople(dx.GetPeople() + 1000);

  std::vector<double> periodMs, yardstickMs;
  int rounds = 0;
  for (auto _ : state) {
    for (int run = 0; run < 3; ++run) {
      double t0 = ThreadCpuMs();
      city->CalcStatisticData();
      yardstickMs.push_back(ThreadCpuMs() - t0);
      t0 = ThreadCpuMs();
      dx.CalculateNextMatrix(Hour(7 + 5 * run), Hour(6 + 5 * run));
      periodMs.push_back(ThreadCpuMs() - t0);
      rounds = std::max(rounds, dx.GetLastSettleRounds());
    }
  }
  // What the period fed must be what the city measured.
  const double fed = dx.GetVarValue("W.U10.1");
  if (city->NrOfMIVTrips() == 0 || std::fabs(fed - city->StreckenlaengeMIV()) > 1e-3 * (1 + fed)) {
    g_failed = true;
    state.SkipWithError("the car trip length fed is not the city's");
  }
  for (const CCyberNodeList* row = net->pNodeList(); row; row = row->pTail())
    if (!std::isfinite(row->pHead()->Value())) {
      g_failed = true;
      state.SkipWithError("a node of the network is no number after the period");
      break;
    }
  if (rounds < 1 || rounds > CDataExchange::kMaxSettleRounds) g_failed = true;
  const double p = Median(periodMs), y = Median(yardstickMs);
  state.counters["residents"] = city->NrOfResidents();
  state.counters["nodes"] = net->NodeCount();
  state.counters["settle_rounds"] = rounds;
  state.counters["period_cpu_ms"] = p;
  state.counters["yardstick_cpu_ms"] = y;
  state.counters["ratio"] = y > 0 ? p / y : 0.0;
  ZorSetClock(nullptr);
}
BENCHMARK(BM_Period)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return g_failed ? 1 : 0;
}
