// Editing a street network of 250 / 1000 / 2000 / 4000 junctions: a grid
// of streets built with the street tool's operation fills the map, then
// one inner street is deleted (its two crossings become T junctions) and
// built again (they become crossings again), each edit timed alone.
// Every edit is checked: a wrong result code or junction count fails the
// configuration and makes the program exit non-zero.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <unordered_set>

#include "../../tests/sim/sim_test_city.h"
#include "framework/qno_log.h"
#include "iso/iso_welt.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/crossing_objects.h"
#include "network/street_objects.h"

namespace {

bool g_failed = false;

class BenchHost : public CIsoHost {
 public:
  BenchHost() { ground.Create(); }
  ~BenchHost() override {
    for (CWorldObj* o : objects) delete o;
  }
  CWorldObj* CreateObjectEmpty() override {
    ground.IncAllocCounter();
    return &ground;
  }
  CWorldObj* CreateObject(TObjectType kind) override {
    CWorldObj* o = nullptr;
    if (kind == OBJ_STREET_PIECE)
      o = new CStreetObj;
    else if (kind == OBJ_CROSSING)
      o = new CKreuzObj;
    else
      return nullptr;
    o->Create();
    objects.insert(o);
    return o;
  }
  int DestroyObject(CWorldObj* object, int) override {
    if (!objects.erase(object)) return 1;
    object->Destroy();
    delete object;
    return 0;
  }
  CBaseObject ground;
  std::unordered_set<CWorldObj*> objects;
};

// A map without pictures, the demand simulation and a grid of k x k nodes
// `step` cells apart (the corners are bends, so k * k - 4 junctions).
struct Network {
  Network(int k, int step) : k(k), step(step) {
    map = std::make_unique<CIsoWelt>(&host, nullptr, nullptr);
    map->OnCreate();
    for (int type : {1, 2, 3, 4}) map->DefineStreet(type, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 600);
    sim = std::make_unique<CSimWelt>(&parts);
    if (!sim->Create(nullptr)) g_failed = true;
    CStrStrassenTeil::m_pIsoWelt = map.get();
    CStrExtTeil::m_pIsoWelt = map.get();
    net = std::make_unique<CStrJunctionList>(map.get(), sim.get());
    net->Create();
    for (int j = 0; j < k; ++j)
      for (int i = 0; i + 1 < k; ++i) {
        if (j > 0 && i == 0) Expect(Build(0, j - 1, 0, j), STR_BUILD_OK);
        Expect(Build(i, j, i + 1, j), STR_BUILD_OK);
      }
    for (int i = 1; i < k; ++i)
      for (int j = 0; j + 1 < k; ++j) Expect(Build(i, j, i, j + 1), STR_BUILD_OK);
    Expect(static_cast<int>(net->GetNumber()), k * k - 4);
  }
  ~Network() {
    net->Destroy();
    net.reset();
    CStrStrassenTeil::m_pIsoWelt = nullptr;
    CStrExtTeil::m_pIsoWelt = nullptr;
    sim->Destroy();
    sim.reset();
    map.reset();
  }
  int Build(int i1, int j1, int i2, int j2) {
    CStrBuildLine line(static_cast<short>(i1 * step), static_cast<short>(j1 * step), static_cast<short>(i2 * step),
                       static_cast<short>(j2 * step));
    return net->CreateStreet(&line, STRASSE_1);
  }
  CStrStrasse* StreetAt(int i, int j) {
    CStrStrasse* s = nullptr;
    CStrStrassenTeil* piece = nullptr;
    net->PointHitStreet(static_cast<short>(i * step + 1), static_cast<short>(j * step), &s, &piece);
    return s;
  }
  static void Expect(int got, int want) {
    if (got != want) {
      std::fprintf(stderr, "network_bench: got %d, expected %d\n", got, want);
      g_failed = true;
    }
  }

  int k, step;
  BenchHost host;
  simtest::TestParts parts;
  std::unique_ptr<CIsoWelt> map;
  std::unique_ptr<CSimWelt> sim;
  std::unique_ptr<CStrJunctionList> net;
};

void BM_DeleteAndBuildStreet(benchmark::State& state) {
  OpenErrorLog("/dev/null");
  const int k = static_cast<int>(state.range(0));
  Network n(k, 127 / (k - 1) >= 2 ? 127 / (k - 1) : 2);
  const int mid = k / 2;
  const int junctions = static_cast<int>(n.net->GetNumber());
  double deleteMax = 0.0, buildMax = 0.0, deleteSum = 0.0, buildSum = 0.0;
  for (auto _ : state) {
    CStrStrasse* s = n.StreetAt(mid, mid);
    const auto t0 = std::chrono::steady_clock::now();
    const int deleted = s ? n.net->DeleteStreet(s) : -1;
    const auto t1 = std::chrono::steady_clock::now();
    const int built = n.Build(mid, mid, mid + 1, mid);
    const auto t2 = std::chrono::steady_clock::now();
    Network::Expect(deleted, 0);
    Network::Expect(built, STR_BUILD_OK);
    Network::Expect(static_cast<int>(n.net->GetNumber()), junctions);
    const double d = std::chrono::duration<double, std::milli>(t1 - t0).count();
    const double b = std::chrono::duration<double, std::milli>(t2 - t1).count();
    deleteSum += d;
    buildSum += b;
    deleteMax = std::max(deleteMax, d);
    buildMax = std::max(buildMax, b);
    state.SetIterationTime((d + b) / 1000.0);
    if (g_failed) {
      state.SkipWithError("wrong edit result");
      break;
    }
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["junctions"] = junctions;
  state.counters["delete_ms"] = deleteSum / runs;
  state.counters["build_ms"] = buildSum / runs;
  state.counters["delete_max_ms"] = deleteMax;
  state.counters["build_max_ms"] = buildMax;
}
BENCHMARK(BM_DeleteAndBuildStreet)->Arg(16)->Arg(32)->Arg(45)->Arg(64)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return g_failed ? 1 : 0;
}
