// The service measures' simulated hour in a town of 50,000 residents: a
// grid of 14 x 14 crossings seven cells apart with houses, offices,
// industry, shops, schools and parks in the blocks, three bus lines with six
// stops, 50 park-and-ride stations, a car-sharing office with 49 outlets,
// 100 transmitter masts of route guidance and the advice centre, all placed
// through the game's factory, on the generated game data, headless.
//
// BM_MeasuresHour: the turns of park-and-ride, car sharing, the advice
// centre, route guidance, route planning, the surrounding region and the
// travel assistant for one simulated hour, in the world's order.
// BM_CoverageMap: route guidance's coverage map made again from the city.
// BM_PlainMaps: the same run's yardstick, both coverage maps (car sharing's
// and route guidance's) written plainly from the districts, as the rules
// state them, without the measures.
//
// Checked: every building stands and its measure counts it; after the timed
// hours both coverage maps and their qualities equal the plain ones, and
// every user figure is a number. A failed check makes the program exit
// non-zero.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "../world/bench_game.h"
#include "../world/bench_town_parts.h"
#include "framework/zor_spiral.h"
#include "measures/active_route_guidance.h"
#include "measures/advice_centre.h"
#include "measures/building_object.h"
#include "measures/carsharing.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "measures/park_ride.h"
#include "measures/passive_route_planning.h"
#include "measures/pta.h"
#include "measures/umland.h"
#include "model/data_exchange.h"
#include "network/str_junction_list.h"
#include "sim/sim_city_model.h"
#include "sim/sim_district.h"
#include "sim/sim_welt.h"
#include "worldbase/building_catalogue.h"

namespace {

bool g_failed = false;

void Fail(benchmark::State& state, const char* what) {
  std::fprintf(stderr, "measures_hour_bench: %s\n", what);
  g_failed = true;
  state.SkipWithError(what);
}

constexpr int kNodes = 14, kSpacing = 7, kOrigin = 16;
constexpr unsigned kResidents = 50000;
constexpr int kStations = 50, kOutlets = 50, kMasts = 100;
constexpr int kGrid = 16;

struct Town : benchworld::Game {
  Town() : Game("zor_measbench") {
    if (!world) return;
    refused = benchworld::BuildStreetGrid(*world, kNodes, kSpacing, kOrigin);
    MakeLines();
    // Every seventh lot of the blocks takes a service building, the others
    // the town's houses and workplaces.
    const TObjectType kinds[] = {OBJ_RESIDENTIAL, OBJ_OFFICE,   OBJ_RESIDENTIAL, OBJ_INDUSTRY,    OBJ_RESIDENTIAL,
                                 OBJ_OFFICE,      OBJ_SHOPPING, OBJ_RESIDENTIAL, OBJ_RESIDENTIAL, OBJ_SCHOOL,
                                 OBJ_RESIDENTIAL, OBJ_OFFICE,   OBJ_RESIDENTIAL, OBJ_PARK,        OBJ_OFFICE,
                                 OBJ_INDUSTRY};
    int n = 0, lot = 0;
    for (int bx = 0; bx + 1 < kNodes; ++bx)
      for (int by = 0; by + 1 < kNodes; ++by)
        for (int cx = 1; cx < kSpacing; cx += 2)
          for (int cy = 1; cy < kSpacing; cy += 2, ++lot) {
            const int x = kOrigin + bx * kSpacing + cx, y = kOrigin + by * kSpacing + cy;
            if (lot % 7 == 3 && PlaceService(x, y)) continue;
            const TObjectType kind = kinds[n++ % (sizeof kinds / sizeof kinds[0])];
            Place(kind, x, y);
          }
    CSimCityModell* city = world->GetSimWelt()->pCityModell();
    for (int i = 0; i < 500 && city->NrOfResidents() < kResidents; ++i)
      city->MorePeople(static_cast<int>(kResidents - city->NrOfResidents()), true);
  }

  CWorldObj* Place(TObjectType kind, int x, int y) {
    // The service buildings' own graphics; the catalogue's for the others.
    const int resId = kind == OBJ_PARKRIDE                ? CBuildingParkRideObject::kResIDZ[0]
                      : kind == OBJ_CARSHARING_CENTRE     ? 28686
                      : kind == OBJ_CARSHARING_STATION    ? 29793
                      : kind == OBJ_ADVICE_CENTRE         ? 32456
                      : kind == OBJ_TRANSMITTER           ? CBuildingDataList::GetBuildingResIDByType(kind, 0, nullptr)
                                                          : CBuildingDataList::GetBuildingResIDByType(kind, 1, nullptr);
    if (resId <= 0) return nullptr;
    return world->CreateObject(kind, resId, CIsoRichtung(0), x, y, static_cast<ESimLocationHeight>(0), nullptr, 0,
                               nullptr, 0, -1);
  }

  // The next service building still to place, in turn: a station, an
  // outlet (the office first), two masts; the advice centre once. False
  // when all stand.
  bool PlaceService(int x, int y) {
    const int placed = stations + outlets + masts + centre;
    TObjectType kind;
    if (centre == 0 && placed == 7)
      kind = OBJ_ADVICE_CENTRE;
    else if (stations < kStations && placed % 4 == 0)
      kind = OBJ_PARKRIDE;
    else if (outlets < kOutlets && placed % 4 == 1)
      kind = outlets == 0 ? OBJ_CARSHARING_CENTRE : OBJ_CARSHARING_STATION;
    else if (masts < kMasts)
      kind = OBJ_TRANSMITTER;
    else if (stations < kStations)
      kind = OBJ_PARKRIDE;
    else if (outlets < kOutlets)
      kind = OBJ_CARSHARING_STATION;
    else
      return false;
    if (!Place(kind, x, y)) return false;
    (kind == OBJ_PARKRIDE                                               ? stations
     : kind == OBJ_TRANSMITTER                                          ? masts
     : kind == OBJ_ADVICE_CENTRE                                        ? centre
                                                                        : outlets) += 1;
    return true;
  }

  // Three bus lines over six stops along the third row of streets, each
  // stop between two crossings.
  void MakeLines() {
    COpnv& opnv = *world->GetOpnv();
    const int y = kOrigin + 3 * kSpacing;
    CSecondLayerObject* stops[6] = {};
    for (int i = 0; i < 6; ++i) {
      const int x = kOrigin + (2 * i + 1) * kSpacing + 3;
      if (!(stops[i] = benchworld::PlaceStop(*world, OBJ_BUSSTOP_SIGN, x, y))) return;
    }
    const int picks[3][3] = {{0, 2, 4}, {1, 3, 5}, {0, 5, -1}};
    for (const auto& pick : picks) {
      COpnvLine* line = opnv.CreateNewLine(NET_BUS);
      if (!line) return;
      for (int s : pick)
        if (s >= 0 && line->ToolAddHstTail(stops[s], benchworld::StreetIdOf(stops[s])) != 0) return;
      // The demand model's passengers of the day.
      for (int h = 6; h < 20; ++h) line->GetData()->passengers[h] = 300 + 50 * lines;
      ++lines;
    }
    opnv.CheckMakeVirtuellNet();
  }

  int refused = 0;
  int stations = 0, outlets = 0, masts = 0, centre = 0, lines = 0;
};

Town* g_town = nullptr;

// The people of a district that route guidance serves.
double GuidancePeople(const CSimDistrict* d) {
  return static_cast<double>(d->NrOfResidents()) + d->NrOfWorkers() + d->NrOfScholars() + d->NrOfStudents() +
         d->NrOfConsumers() + d->NrOfLeisurers();
}

struct PlainMap {
  float map[kGrid][kGrid] = {};
  float quality = 0.0f;
};

// Takes what a district's remaining demand asks of a capacity.
template <typename Capacity>
void Take(float& demand, Capacity& capacity) {
  if (demand > static_cast<float>(capacity)) {
    demand -= static_cast<float>(capacity);
    capacity = 0;
  } else {
    capacity -= static_cast<Capacity>(static_cast<int>(demand));
    demand = 0.0f;
  }
}

// Route guidance's coverage map as the rules state it, from the masts'
// cells in list order.
PlainMap PlainGuidance(CSimCityModell& city, const std::vector<std::pair<int, int>>& masts, double share,
                       double perMille, double people) {
  PlainMap out;
  float demand[kGrid][kGrid], left[kGrid][kGrid];
  int total = 0;
  for (int x = 0; x < kGrid; ++x)
    for (int y = 0; y < kGrid; ++y) {
      demand[x][y] = left[x][y] = static_cast<float>(GuidancePeople(city.pDistrictAt(x, y)) * share);
      total = static_cast<int>(total + static_cast<double>(demand[x][y]));
    }
  for (const auto& [mx, my] : masts) {
    float capacity = CAktiveRoutenPlanung::kMastCapacity;
    if (left[mx][my] <= 0.0f)
      left[mx][my] = -1.0f;
    else
      Take(left[mx][my], capacity);
    ZorSquareSpiral spiral;
    spiral.Init(mx, my, 2);
    for (int x = 0, y = 0; capacity > 0.0f && spiral.Next(x, y);)
      if (x >= 0 && x < kGrid && y >= 0 && y < kGrid && left[x][y] > 0.0f) Take(left[x][y], capacity);
  }
  int remaining = 0;
  for (auto& row : left)
    for (float v : row)
      if (v > 0.0f) remaining += static_cast<int>(v);
  for (int x = 0; x < kGrid; ++x)
    for (int y = 0; y < kGrid; ++y) {
      const float d = demand[x][y];
      out.map[x][y] = left[x][y] == -1.0f ? 1.0f
                      : static_cast<int>(d) != 0 ? (d - left[x][y]) / d * 0.9f + 0.05f
                                                 : 0.0f;
    }
  if (people * perMille > 0.0 && total > 0)
    out.quality = static_cast<float>(std::clamp(100.0 - perMille * remaining / total * 100.0, 0.0, 100.0));
  return out;
}

// Car sharing's coverage map as the rules state it, from the outlets'
// cells in list order.
PlainMap PlainCarsharing(CSimCityModell& city, const std::vector<std::pair<int, int>>& outlets) {
  PlainMap out;
  float demand[kGrid][kGrid];
  bool marked[kGrid][kGrid] = {};
  int total = 0;
  for (int x = 0; x < kGrid; ++x)
    for (int y = 0; y < kGrid; ++y) {
      demand[x][y] = static_cast<float>(city.pDistrictAt(x, y)->NrOfResidents()) * 0.15f;
      total = static_cast<int>(static_cast<float>(total) + demand[x][y]);
    }
  for (const auto& [ox, oy] : outlets) {
    int capacity = CCarsharing::kOutletCapacity;
    if (marked[ox][oy] || demand[ox][oy] <= 0.0f)
      marked[ox][oy] = true;
    else
      Take(demand[ox][oy], capacity);
    ZorSquareSpiral spiral;
    spiral.Init(ox, oy, 2);
    for (int x = 0, y = 0; capacity > 0 && spiral.Next(x, y);)
      if (x >= 0 && x < kGrid && y >= 0 && y < kGrid && !marked[x][y] && demand[x][y] > 0.0f)
        Take(demand[x][y], capacity);
    if (capacity > 0) marked[ox][oy] = true;
  }
  int remaining = 0;
  for (int x = 0; x < kGrid; ++x)
    for (int y = 0; y < kGrid; ++y)
      if (!marked[x][y]) remaining += static_cast<int>(demand[x][y]);
  for (int x = 0; x < kGrid; ++x)
    for (int y = 0; y < kGrid; ++y) {
      const int need = static_cast<int>(static_cast<float>(city.pDistrictAt(x, y)->NrOfResidents()) * 0.15f);
      out.map[x][y] = marked[x][y] ? 1.0f
                      : need != 0  ? (static_cast<float>(need) - demand[x][y]) / static_cast<float>(need) * 0.9f + 0.05f
                                   : 0.0f;
    }
  out.quality = total <= 0 ? 0.0f : 1.0f - static_cast<float>(remaining) / static_cast<float>(total);
  return out;
}

// The districts of a measure's buildings, in list order.
std::vector<std::pair<int, int>> Cells(CZorvaList* list) {
  std::vector<std::pair<int, int>> cells;
  for (CZorvaPointer* p = list ? list->GetHeadZorvaPointer() : nullptr; p; p = p->GetNextZorvaPointer())
    if (auto* b = dynamic_cast<CBuildingObject*>(p->GetZorvaObject()))
      cells.emplace_back(std::clamp(b->GetXPos() / 8, 0, kGrid - 1), std::clamp(b->GetYPos() / 8, 0, kGrid - 1));
  return cells;
}

struct Plain {
  PlainMap guidance, carsharing;
};

Plain PlainMaps(CZorvaWorld& world) {
  CSimCityModell& city = *world.GetSimWelt()->pCityModell();
  CDataExchange& dx = *world.GetDataExchange();
  return {PlainGuidance(city, Cells(world.GetAktiveRP()->GetList("AR.OUTLETLIST")),
                        dx.DoVar(EX_MAX, "W.K2.2", 0.0) / 100.0, dx.GetVarValue("W.M7") / 1000.0, dx.GetPeople()),
          PlainCarsharing(city, Cells(world.GetCarsharing()->GetList("CS.PLACELIST")))};
}

bool SameMap(const float* game, const PlainMap& plain) {
  for (int x = 0; x < kGrid; ++x)
    for (int y = 0; y < kGrid; ++y)
      if (game[x * kGrid + y] != plain.map[x][y]) return false;
  return true;
}

// The buildings stand and count; the town has its people.
void CheckTown(benchmark::State& state, Town& town) {
  CDataExchange& dx = *town.world->GetDataExchange();
  state.counters["stations"] = town.stations;
  state.counters["outlets"] = town.outlets;
  state.counters["masts"] = town.masts;
  state.counters["residents"] = town.world->GetSimWelt()->pCityModell()->NrOfResidents();
  if (town.refused != 0) Fail(state, "a street of the grid was refused");
  if (town.lines != 3) Fail(state, "the bus lines were not made");
  if (town.stations != kStations || dx.GetVarValue("PR.NUMBER") != kStations ||
      dx.GetVarValue("PR.PLACES") != kStations * CParkRide::kPlacesPerStation)
    Fail(state, "not every park-and-ride station stands and counts");
  if (town.outlets != kOutlets || dx.GetVarValue("CS.NUMBER") != kOutlets ||
      dx.GetVarValue("CS.PKW") != 15 + 10 * (kOutlets - 1))
    Fail(state, "not every car-sharing outlet stands and counts");
  if (town.masts != kMasts || dx.GetVarValue("AR.NUMBER") != kMasts) Fail(state, "not every mast stands and counts");
  if (dx.GetVarValue("MZ.ZENTRALE") != 1) Fail(state, "the advice centre does not stand");
  if (town.world->GetSimWelt()->pCityModell()->NrOfResidents() < kResidents) Fail(state, "the town has too few people");
}

// Both maps and qualities against the plain ones, the user figures numbers.
void CheckResults(benchmark::State& state, CZorvaWorld& world) {
  const Plain plain = PlainMaps(world);
  CAktiveRoutenPlanung& guidance = *world.GetAktiveRP();
  CCarsharing& carsharing = *world.GetCarsharing();
  if (!SameMap(guidance.GetMap(nullptr), plain.guidance)) Fail(state, "route guidance's map differs from the plain one");
  if (!SameMap(carsharing.GetMap(nullptr), plain.carsharing)) Fail(state, "car sharing's map differs from the plain one");
  CDataExchange& dx = *world.GetDataExchange();
  if (static_cast<float>(dx.GetVarValue("AR.QUALITY")) != plain.guidance.quality ||
      static_cast<float>(dx.GetVarValue("CS.QUALITY")) != plain.carsharing.quality)
    Fail(state, "a coverage quality differs from the plain one");
  for (const char* key : {"AR.USERQUOTE", "CS.USERQUOTE", "MZ.USERQUOTE", "PTA.USERQUOTE", "PAR.USERQUOTE",
                          "PR.USERQUOTE", "UMLAND.CITY.PEOPLE.0", "CS.BILANZ", "AR.BILANZ"})
    if (!std::isfinite(dx.GetVarValue(key))) Fail(state, "a measure's figure is no number");
  // Stations near the lines' stops count their lines.
  int served = 0;
  for (CZorvaPointer* p = world.GetParkRide()->GetList("PR.PLACELIST")->GetHeadZorvaPointer(); p;
       p = p->GetNextZorvaPointer())
    if (auto* station = dynamic_cast<CBuildingParkRideObject*>(p->GetZorvaObject()))
      served += station->GetData().lines > 0;
  if (served == 0) Fail(state, "no park-and-ride station counts a line");
  state.counters["stations_with_lines"] = served;
  state.counters["ar_quality"] = dx.GetVarValue("AR.QUALITY");
  state.counters["cs_quality"] = dx.GetVarValue("CS.QUALITY");
}

STime Hour(long h) {
  STime t;
  t.hour = static_cast<int>(h % 24);
  t.day = static_cast<int>(h / 24 % 365);
  t.year = 1 + static_cast<int>(h / (24 * 365));
  t.fyear = static_cast<float>(t.year) + static_cast<float>(h % (24 * 365)) / (24.0f * 365.0f);
  return t;
}

long g_hour = 0;

void BM_MeasuresHour(benchmark::State& state) {
  Town& town = *g_town;
  CheckTown(state, town);
  CZorvaWorld& w = *town.world;
  for (auto _ : state) {
    const STime now = Hour(g_hour + 1), last = Hour(g_hour);
    ++g_hour;
    w.GetCarsharing()->OnPlayloopTurn(now, last);
    w.GetParkRide()->OnPlayloopTurn(now, last);
    w.GetZorviZentrale()->OnPlayloopTurn(now, last);
    w.GetAktiveRP()->OnPlayloopTurn(now, last);
    w.GetPassiveRP()->OnPlayloopTurn(now, last);
    w.GetUmland()->OnPlayloopTurn(now, last);
    w.GetPta()->OnPlayloopTurn(now, last);
  }
  CheckResults(state, w);
  state.counters["hours"] = static_cast<double>(g_hour);
}

void BM_CoverageMap(benchmark::State& state) {
  Town& town = *g_town;
  CheckTown(state, town);
  CAktiveRoutenPlanung& guidance = *town.world->GetAktiveRP();
  for (auto _ : state) {
    guidance.CalculateMap();
    benchmark::DoNotOptimize(guidance.GetMap(nullptr));
  }
  CheckResults(state, *town.world);
}

void BM_PlainMaps(benchmark::State& state) {
  CZorvaWorld& w = *g_town->world;
  for (auto _ : state) {
    Plain plain = PlainMaps(w);
    benchmark::DoNotOptimize(&plain);
  }
}

BENCHMARK(BM_PlainMaps)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MeasuresHour)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CoverageMap)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  auto town = std::make_unique<Town>();
  g_town = town.get();
  if (town->dir.empty() || !town->world) {
    std::fprintf(stderr, "measures_hour_bench: the game did not start\n");
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  town.reset();
  if (g_failed) std::fprintf(stderr, "measures_hour_bench: a measure computed a wrong result\n");
  return g_failed ? 1 : 0;
}
