// The services that serve the districts from what the player builds, each
// run for a week from its page in the measures group: car sharing with its
// office and outlets in a town of many people that no district counts yet,
// and active route guidance with its transmitter masts along an avenue whose
// districts count their people. The player builds, sets the
// page's prices with its step buttons and starts a campaign on the
// campaigns page; every hourly turn of the week is then recomputed from
// what the measure read at that moment (people, the network's values, its
// users before the turn), and the page's figures are the model's.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>

#include <tuple>
#include <vector>

#include "framework/zor_seams.h"
#include "framework/zor_spiral.h"
#include "iso/iso_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "sim/sim_district.h"
#include "sim/sim_location.h"
#include "support/test_support.h"
#include "scenario_measures_week.h"
#include "scenario_opnv_steps.h"

namespace {

using namespace zortest;

// People enough that the per mille of them that car sharing can win are
// many more than the members a turn moves by less than one.
constexpr unsigned kCarsharingPeople = 400000;

CWorldObj* Build(CZorvaWorld& world, TObjectType kind, int x, int y) {
  const int resId = CBuildingDataList::GetBuildingResIDByType(kind, 0, nullptr);
  EXPECT_GT(resId, 0) << kind;
  return world.CreateObject(kind, resId, CIsoRichtung(0), x, y, static_cast<ESimLocationHeight>(0), nullptr, 0, nullptr,
                            0, -1);
}

// The avenue's people two days on, when its districts count them.
void Avenue(Scenario& game) {
  ASSERT_NO_FATAL_FAILURE(BuildAvenue(game.World()));
  ASSERT_NO_FATAL_FAILURE(PeopleInTown(game, 0));
  ASSERT_NO_FATAL_FAILURE(RunDays(game, 2));
  ASSERT_GT(People(), 0);
}


// ---- the coverage of the districts, recomputed from their people

using Grid = std::array<float, 16 * 16>;
float& At(Grid& g, int x, int y) { return g[static_cast<size_t>(x * 16 + y)]; }
constexpr float kMarked = -1.0f;

// The districts' demand served by sites in their order, each with the same
// capacity: first its own district, then the two rings of districts around
// it. An own district without demand left is marked; with `markLeft` so is
// the own district of a site whose capacity outlasts the rings. A district
// takes all it needs when the capacity is larger, using up as much of it as
// its whole people; else it uses the capacity up.
Grid Served(Grid demand, const std::vector<std::pair<int, int>>& sites, float capacity, bool markLeft) {
  auto take = [](float& need, float& left) {
    if (need > left) {
      need -= left;
      left = 0.0f;
    } else {
      left -= static_cast<float>(static_cast<int>(need));
      need = 0.0f;
    }
  };
  for (const auto& [sx, sy] : sites) {
    const int ox = sx / 8, oy = sy / 8;
    float left = capacity;
    float& own = At(demand, ox, oy);
    if (own <= 0.0f)
      own = kMarked;
    else
      take(own, left);
    ZorSquareSpiral spiral;
    spiral.Init(ox, oy, 2);
    int x = 0, y = 0;
    while (left > 0.0f && spiral.Next(x, y))
      if (x >= 0 && x < 16 && y >= 0 && y < 16 && At(demand, x, y) > 0.0f) take(At(demand, x, y), left);
    if (markLeft && left > 0.0f) own = kMarked;
  }
  return demand;
}

// What a district shows: full where marked, else the served share of its
// demand lifted above nought; nothing where the demand is less than one.
float Coverage(float demand, float left) {
  if (left == kMarked) return 1.0f;
  if (static_cast<int>(demand) == 0) return 0.0f;
  return (demand - left) / demand * 0.9f + 0.05f;
}

// Car sharing's map and quality: 15 in 100 residents of a district want a
// car; the outlets serve them in the order they were opened.
std::pair<Grid, float> CarsharingCoverage(const std::vector<std::pair<int, int>>& outlets) {
  int residents[16][16];
  EXPECT_TRUE(CMeasureHost::Get()->GetDistrictResidents(residents));
  Grid demand{};
  int total = 0;
  for (int x = 0; x < 16; ++x)
    for (int y = 0; y < 16; ++y) {
      At(demand, x, y) = static_cast<float>(residents[x][y]) * 0.15f;
      total = static_cast<int>(static_cast<float>(total) + At(demand, x, y));
    }
  const Grid left = Served(demand, outlets, 600.0f, true);
  int remaining = 0;
  Grid map{};
  for (size_t i = 0; i < map.size(); ++i) {
    if (left[i] != kMarked) remaining += static_cast<int>(left[i]);
    map[i] = Coverage(static_cast<float>(static_cast<int>(demand[i])), left[i]);
  }
  return {map, total <= 0 ? 0.0f : 1.0f - static_cast<float>(remaining) / static_cast<float>(total)};
}

// Route guidance's map and quality: the share of the network's largest
// target of everyone in a district; the masts serve them newest first.
std::pair<Grid, float> GuidanceCoverage(const std::vector<std::pair<int, int>>& masts) {
  CSimCityModell* city = CMeasureHost::Get()->GetCityModel();
  const double share = Most("W.K2.2") / 100.0;
  Grid demand{};
  int total = 0;
  for (int x = 0; x < 16; ++x)
    for (int y = 0; y < 16; ++y) {
      const CSimDistrict* d = city->pDistrictAt(x, y);
      const double people = static_cast<double>(d->NrOfResidents()) + d->NrOfWorkers() + d->NrOfScholars() +
                            d->NrOfStudents() + d->NrOfConsumers() + d->NrOfLeisurers();
      At(demand, x, y) = static_cast<float>(people * share);
      total = static_cast<int>(total + static_cast<double>(At(demand, x, y)));
    }
  const Grid left = Served(demand, masts, 1500.0f, false);
  int remaining = 0;
  Grid map{};
  for (size_t i = 0; i < map.size(); ++i) {
    if (left[i] > 0.0f) remaining += static_cast<int>(left[i]);
    map[i] = Coverage(demand[i], left[i]);
  }
  const double perMille = Value("W.M7") / 1000.0;
  if (People() * perMille <= 0.0 || total <= 0) return {map, 0.0f};
  return {map, static_cast<float>(std::clamp(100.0 - perMille * remaining / total * 100.0, 0.0, 100.0))};
}

// Car sharing's members after a turn: toward the per mille of the people
// the network gives, at most 60 for each car, and whole people, so that
// what a turn moves is cut to whole ones.
int Members(const SCarsharingBlock& was, float awareness, double elapsed) {
  const int people = People();
  if (people == 0 || was.cars == 0) return 0;
  const double potential = std::min(people * Value("W.K8.2") / 1000.0, was.cars * 60.0);
  const double a = std::min(static_cast<double>(awareness), 1.0);
  const double damping = was.users < potential ? (1.0 - a) * 5.0 + 1.0 : a * 5.0 + 1.0;
  return static_cast<int>(Toward(was.users, potential, damping, elapsed));
}

void ExpectMap(const float* shown, const Grid& expected, const char* what) {
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_NEAR(shown[i], expected[i], 1e-5f) << what << " district " << i / 16 << "/" << i % 16;
}

TEST(ScenarioMeasuresWeekCoverage, CarSharingBooksItsFleetAndMembersHourByHour) {
  std::filesystem::create_directories("SaveGame");
  MeasuresWeekWorld* world = nullptr;
  Scenario game([&] { return world = new MeasuresWeekWorld; });
  ASSERT_NO_FATAL_FAILURE(PeopleInTown(game, kCarsharingPeople));
  CDataExchange& dx = *world->GetDataExchange();
  auto& cs = *world->carsharing;

  ASSERT_NO_FATAL_FAILURE(OpenMeasures(game));
  ASSERT_NO_FATAL_FAILURE(OpenPage(game, kCarsharingTab));
  EXPECT_EQ(WindowOf(84)->GetHinweisWindow(), 1) << "no outlet yet: the companion page shows";
  // The office and two outlets along the avenue: the office's fleet of 15
  // and 10 for each outlet, at their prices.
  world->SetPause(true);
  const double built = dx.GetVarValue("CS.EXPENSES");
  ASSERT_NE(Build(*world, OBJ_CARSHARING_CENTRE, 28, 75), nullptr);
  for (int x : {16, 48}) ASSERT_NE(Build(*world, OBJ_CARSHARING_STATION, x, 75), nullptr);
  EXPECT_EQ(dx.GetVarValue("CS.EXPENSES") - built, 1500000 + 2 * 50000);
  EXPECT_EQ(dx.GetVarValue("CS.PKW"), 35);
  EXPECT_EQ(dx.GetVarValue("CS.NUMBER"), 3);
  EXPECT_EQ(WindowOf(84)->GetHinweisWindow(), 0);
  // The price per km one step up (0.3 to 0.4), the monthly fee one step up
  // (5 to 6).
  ClickOnPage(game, 289 + 4, 121 + 9);
  ClickOnPage(game, 289 + 4, 143 + 9);
  EXPECT_FLOAT_EQ(cs.Block().priceKm, 0.4f);
  EXPECT_FLOAT_EQ(cs.Block().priceMonth, 6.0f);
  EXPECT_EQ(Shown(84, "CS.PRICE.KM"), Formatted(VAR_FLOAT, cs.Block().priceKm));
  world->SetPause(false);
  // The television campaign, from the campaigns page.
  ASSERT_NO_FATAL_FAILURE(StartCampaign(game, kCarsharingRow, kTelevisionColumn, "CS.ADVERTISMENT.TELEVISION",
                                        "CS.EXPENSES", 500000, kCarsharingTab));

  CampaignTrack television{true, 0.0f};
  float awareness = cs.Block().awareness;
  SCarsharingBlock was{};
  double income = 0, expenses = 0, storedQuote = 0;
  int users = 0, grew = 0;
  cs.beforeTurn = [&](const STime& now, const STime& last) {
    was = cs.Block();
    const double e = Elapsed(now, last);
    const double cars = was.cars, members = was.users;
    income = was.income;
    expenses = was.expenses;
    if (was.cars != 0) {
      expenses += std::trunc(e * 80000) + std::trunc(e * cars * 300) + std::trunc(e * cars * 1800) +
                  std::trunc(members * 2400 * (Value("W.S7") + 0.05) * e);
      income += std::trunc(members * was.priceMonth * 12 * e) + std::trunc(e * members * was.priceKm * 2400);
    }
    storedQuote = was.storedQuote;
    if (television.Advance(e)) {
      storedQuote *= 0.14f;
      awareness += 0.2f;
    }
    users = Members(was, awareness, e);
    if (People() == 0 || was.cars == 0) storedQuote = 0;
  };
  cs.afterTurn = [&](const STime& now, const STime&) {
    const SCarsharingBlock& b = cs.Block();
    EXPECT_EQ(b.users, users) << now.year << "/" << now.hour;
    EXPECT_NEAR(b.income, income, 1.0) << now.year << "/" << now.hour;
    EXPECT_NEAR(b.expenses, expenses, 1.0) << now.year << "/" << now.hour;
    EXPECT_EQ(b.balance, b.income - b.expenses);
    EXPECT_EQ(b.television != 0, television.running);
    EXPECT_FLOAT_EQ(b.televisionProgress, television.progress);
    EXPECT_FLOAT_EQ(b.storedQuote, storedQuote);
    EXPECT_FLOAT_EQ(b.awareness, awareness);
    EXPECT_NEAR(Var(cs, "CS.USERQUOTE"), b.users * 100.0 / (b.cars * 60.0), 1e-9);
    EXPECT_NEAR(Var(cs, "CS.USERQUOTEPEOPLE"), b.users * 100.0 / People(), 1e-9);
    // No district has demand: each outlet's capacity is left, so its own
    // district is marked covered, every other district shows nothing, and
    // without any demand the covered share is 0.
    int residents[16][16];
    ASSERT_TRUE(CMeasureHost::Get()->GetDistrictResidents(residents));
    for (int x = 0; x < 16; ++x)
      for (int y = 0; y < 16; ++y) {
        ASSERT_EQ(residents[x][y], 0);
        const bool outlet = y == 75 / 8 && (x == 16 / 8 || x == 28 / 8 || x == 48 / 8);
        EXPECT_EQ(b.map[x][y], outlet ? 1.0f : 0.0f) << x << "/" << y;
      }
    EXPECT_EQ(b.quality, 0.0f);
    grew += b.users > was.users;
  };
  cs.beforeYear = [&](const STime&, const STime&) { was = cs.Block(); };
  cs.afterYear = [&](const STime&, const STime&) {
    const SCarsharingBlock& b = cs.Block();
    EXPECT_EQ(b.lastBalance, was.balance);
    EXPECT_EQ(b.income, 0);
    EXPECT_EQ(b.expenses, 0);
    EXPECT_EQ(b.balance, 0);
    awareness *= 0.8f;
    EXPECT_FLOAT_EQ(b.awareness, awareness);
  };

  ASSERT_NO_FATAL_FAILURE(RunWeek(game));
  cs.beforeTurn = cs.afterTurn = cs.beforeYear = cs.afterYear = nullptr;
  EXPECT_GE(cs.closings, 7);
  EXPECT_GT(grew, 10) << "members join through the week";
  EXPECT_GT(cs.Block().users, 0);
  // The fleet caps the members: 60 for each of the 35 cars.
  EXPECT_LE(cs.Block().users, 35 * 60);
  EXPECT_FALSE(television.running);

  Settle(game);
  ASSERT_TRUE(game.IsOpen(84));
  for (const char* key : {"CS.INCOME", "CS.EXPENSES", "CS.PKW"})
    EXPECT_EQ(Shown(84, key), Formatted(VAR_INT, dx.GetVarValue(key))) << key;
  for (const char* key : {"CS.USERQUOTE", "CS.USERQUOTEPEOPLE"})
    EXPECT_EQ(Shown(84, key), Formatted(VAR_FLOAT, dx.GetVarValue(key))) << key;
  EXPECT_GT(dx.GetVarValue("CS.INCOME"), 0);
  game.Shot("measures-week-carsharing");
}

TEST(ScenarioMeasuresWeekCoverage, CarSharingOutletsServeTheAvenuesDistrictsHourByHour) {
  std::filesystem::create_directories("SaveGame");
  MeasuresWeekWorld* world = nullptr;
  Scenario game([&] { return world = new MeasuresWeekWorld; });
  ASSERT_NO_FATAL_FAILURE(Avenue(game));
  auto& cs = *world->carsharing;
  // The office and an outlet north of the homes in the two districts where
  // most people live, and an outlet among the work places, opened in this
  // order.
  int residents[16][16];
  ASSERT_TRUE(CMeasureHost::Get()->GetDistrictResidents(residents));
  int most = 1, next = 2;
  for (int x = 1; x <= 7; ++x)
    if (residents[x][8] > residents[most][8]) most = x;
  if (next == most) next = 3;
  for (int x = 1; x <= 7; ++x)
    if (x != most && residents[x][8] > residents[next][8]) next = x;
  ASSERT_GT(residents[most][8], 0);
  const std::vector<std::pair<int, int>> outlets = {{most * 8 + 3, 64}, {next * 8 + 3, 64}, {22, 75}};
  world->SetPause(true);
  ASSERT_NE(Build(*world, OBJ_CARSHARING_CENTRE, outlets[0].first, outlets[0].second), nullptr);
  for (size_t i = 1; i < outlets.size(); ++i)
    ASSERT_NE(Build(*world, OBJ_CARSHARING_STATION, outlets[i].first, outlets[i].second), nullptr);
  ASSERT_NO_FATAL_FAILURE(OpenMeasures(game));
  ASSERT_NO_FATAL_FAILURE(OpenPage(game, kCarsharingTab));
  world->SetPause(false);

  int withDemand = 0, members = -1;
  cs.beforeTurn = [&](const STime& now, const STime& last) {
    members = Members(cs.Block(), cs.Block().awareness, Elapsed(now, last));
  };
  cs.afterTurn = [&](const STime& now, const STime&) {
    EXPECT_EQ(cs.Block().users, members) << now.year << "/" << now.hour;
    const auto [map, quality] = CarsharingCoverage(outlets);
    ExpectMap(&cs.Block().map[0][0], map, "car sharing");
    EXPECT_NEAR(cs.Block().quality, quality, 1e-6f) << now.year << "/" << now.hour;
    withDemand += quality > 0.0f;
  };
  ASSERT_NO_FATAL_FAILURE(RunWeek(game));
  cs.beforeTurn = cs.afterTurn = nullptr;
  EXPECT_GT(withDemand, 7 * 12) << "the avenue's residents want cars";
  Settle(game);
  EXPECT_EQ(Shown(84, "CS.PKW"), Formatted(VAR_INT, 35));
}

TEST(ScenarioMeasuresWeekCoverage, ActiveRouteGuidanceWinsSubscribersFromItsMastsHourByHour) {
  std::filesystem::create_directories("SaveGame");
  MeasuresWeekWorld* world = nullptr;
  Scenario game([&] { return world = new MeasuresWeekWorld; });
  ASSERT_NO_FATAL_FAILURE(Avenue(game));
  CDataExchange& dx = *world->GetDataExchange();
  auto& ar = *world->guidance;

  ASSERT_NO_FATAL_FAILURE(OpenMeasures(game));
  ASSERT_NO_FATAL_FAILURE(OpenPage(game, kGuidanceTab));
  EXPECT_EQ(WindowOf(87)->GetHinweisWindow(), 1) << "no mast yet: the companion page shows";
  world->SetPause(true);
  for (int x : {20, 44}) ASSERT_NE(Build(*world, OBJ_TRANSMITTER, x, 64), nullptr);
  EXPECT_EQ(dx.GetVarValue("AR.NUMBER"), 2);
  EXPECT_EQ(WindowOf(87)->GetHinweisWindow(), 0);
  EXPECT_GT(dx.GetVarValue("AR.QUALITY"), 0.0) << "the masts cover the avenue at once";
  // The newest mast serves first.
  const auto [built, builtQuality] = GuidanceCoverage({{44, 64}, {20, 64}});
  ExpectMap(ar.GetMap(nullptr), built, "two masts");
  EXPECT_FLOAT_EQ(dx.GetVarValue("AR.QUALITY"), builtQuality);
  // The monthly price one step down (10 to 8), the subsidy per new
  // subscriber two steps up (to 200).
  ClickOnPage(game, 244 + 4, 187 + 9);
  for (int i = 0; i < 2; ++i) ClickOnPage(game, 289 + 4, 249 + 9);
  EXPECT_EQ(dx.GetVarValue("AR.PRICE.MONTH"), 8);
  EXPECT_EQ(dx.GetVarValue("AR.SYSTEM.SUB"), 200);
  EXPECT_EQ(Shown(87, "AR.SYSTEM.SUB"), Formatted(VAR_INT, 200));
  world->SetPause(false);
  // The radio campaign, from the campaigns page.
  ASSERT_NO_FATAL_FAILURE(
      StartCampaign(game, kGuidanceRow, kRadioColumn, "AR.ADVERTISMENT.RADIO", "AR.COST", 250000, kGuidanceTab));

  CampaignTrack radio{true, 0.0f};
  float awareness = ar.GetAwareness();
  double users = 0, income = 0, expenses = 0, balance = 0, quote = 0, potential = 0;
  int grew = 0;
  PeriodFeed feed{"W.K2.2"};
  auto targetNow = [&] {
    if (ar.GetMastCount() == 0) return 0.0;
    const double a = std::min(static_cast<double>(awareness), 1.0);
    return Most("W.K2.2") *
           ((1.0 - Var(ar, "AR.PRICE.MONTH") / 20.0) * 0.4 + a * 0.1 + Var(ar, "AR.QUALITY") * 0.5 / 100.0);
  };
  ar.beforeTurn = [&](const STime& now, const STime& last) {
    feed.BeforeTurn(now);
    const double e = Elapsed(now, last);
    const double before = ar.GetUsers(), price = Var(ar, "AR.PRICE.MONTH"), subsidy = Var(ar, "AR.SYSTEM.SUB");
    const double masts = ar.GetMastCount();
    if (radio.Advance(e)) awareness += 0.2f;
    income = Var(ar, "AR.INCOME") + std::trunc(before * price * 12.0 * e);
    expenses = Var(ar, "AR.COST") + std::trunc(masts * 100000.0 * e);
    // The balance is drawn before the new subscribers' subsidy is paid.
    balance = income - expenses;
    const double base = People() * Value("W.M7") / 1000.0;
    users = quote = potential = 0.0;
    if (base > 0 && masts > 0) {
      potential = base * Value("W.K2.2") / 100.0;
      const double a = std::min(static_cast<double>(awareness), 1.0);
      const double pull = 2.0 * (subsidy / 850.0) + a;
      if (potential <= before) {
        users = Toward(before, potential, pull / 3.0 * 5.0 + 3.0, e);
      } else {
        users = Toward(before, potential, (3.0 - pull) * 4.0 / 3.0 + 1.0, e);
        if (users > before) expenses += std::trunc((users - before) * subsidy);
      }
      quote = users / base;
    }
  };
  ar.afterTurn = [&](const STime& now, const STime&) {
    EXPECT_NEAR(ar.GetUsers(), users, 1e-5 * potential + 1e-3) << now.year << "/" << now.hour;
    EXPECT_NEAR(Var(ar, "AR.INCOME"), income, 1.0) << now.year << "/" << now.hour;
    EXPECT_NEAR(Var(ar, "AR.COST"), expenses, 2.0) << now.year << "/" << now.hour;
    EXPECT_NEAR(Var(ar, "AR.BILANZ"), balance, 1.0);
    EXPECT_NEAR(Var(ar, "AR.USERQUOTE"), quote * 100.0, 1e-5 * quote * 100.0 + 1e-7);
    EXPECT_GE(Var(ar, "AR.QUALITY"), 0.0);
    EXPECT_LE(Var(ar, "AR.QUALITY"), 100.0);
    EXPECT_EQ(Var(ar, "AR.ADVERTISMENT.RADIO") != 0, radio.running);
    EXPECT_FLOAT_EQ(Var(ar, "AR.ADVERTISMENT.RADIO.PERCENTREADY"), radio.progress);
    EXPECT_EQ(ar.GetAwareness(), awareness);
    grew += users > 0;
    feed.AfterTurn(now, targetNow());
  };
  WatchYearClosings(ar, "AR.", "AR.COST", awareness);

  ASSERT_NO_FATAL_FAILURE(RunWeek(game));
  ar.beforeTurn = ar.afterTurn = ar.beforeYear = ar.afterYear = nullptr;
  EXPECT_GE(ar.closings, 7);
  EXPECT_GE(feed.fed, 7 * 3) << "three periods a day";
  EXPECT_GT(grew, 7 * 12) << "drivers subscribe through the week";
  EXPECT_FALSE(radio.running);

  Settle(game);
  ASSERT_TRUE(game.IsOpen(87));
  for (const char* key : {"AR.INCOME", "AR.COST", "AR.BILANZ", "AR.QUALITY", "AR.SYSTEM.COST", "AR.PRICE.MONTH",
                          "AR.SYSTEM.SUB"})
    EXPECT_EQ(Shown(87, key), Formatted(VAR_INT, dx.GetVarValue(key))) << key;
  EXPECT_EQ(Shown(87, "AR.USERQUOTE"), Formatted(VAR_FLOAT, dx.GetVarValue("AR.USERQUOTE")));
  EXPECT_GT(dx.GetVarValue("AR.INCOME"), 0);
  game.Shot("measures-week-guidance");

  // Without its newer mast the map is served by the older one alone.
  ASSERT_EQ(world->RemoveObject(44, 64, ISO_LAYER_GROUND, false), 0);
  EXPECT_EQ(dx.GetVarValue("AR.NUMBER"), 1);
  const auto [one, oneQuality] = GuidanceCoverage({{20, 64}});
  ExpectMap(ar.GetMap(nullptr), one, "one mast");
  EXPECT_FLOAT_EQ(dx.GetVarValue("AR.QUALITY"), oneQuality);
  // Without masts the map and the quality are nought.
  ASSERT_EQ(world->RemoveObject(20, 64, ISO_LAYER_GROUND, false), 0);
  ExpectMap(ar.GetMap(nullptr), Grid{}, "no mast");
  EXPECT_EQ(dx.GetVarValue("AR.QUALITY"), 0.0);
}

// What a station should show: the passengers of the lines at the stop
// nearest to it, per 10000, their count and their average quote.
struct StationFigures {
  bool known = false;
  float quote = 0.0f;
  int lines = 0;
  double lineQuote = 0.0;
};
StationFigures FiguresOf(CBuildingParkRideObject* station) {
  StationFigures f;
  short stop = 0;
  int distance = 0;
  CSimLocation* location = station->GetSimLocation();
  if (!location || !location->GetNearestHst(stop, distance)) return f;
  auto* hst = dynamic_cast<CSecondLayerObject*>(COpnv::Get()->GetHstByID(stop));
  CZorvaList* list = hst ? hst->GetLineList() : nullptr;
  if (!list) return f;
  f.known = true;
  double passengers = 0.0;
  for (CZorvaPointer* p = list->GetHeadZorvaPointer(); p; p = p->GetNextZorvaPointer()) {
    auto* line = dynamic_cast<CWorldObj*>(p->GetZorvaObject());
    passengers += Var(*line, "OPNV.LINE.PASSENGER");
    f.lineQuote += Var(*line, "OPNV.LINE.USERQUOTE");
    ++f.lines;
  }
  f.quote = static_cast<float>(passengers / 10000.0);
  if (f.lines != 0) f.lineQuote /= f.lines;
  return f;
}

TEST(ScenarioMeasuresWeekCoverage, ParkAndRideStationsShowTheirStopsPassengersThroughAWeek) {
  Clock().Set(0);
  std::filesystem::create_directories("SaveGame");
  MeasuresWeekWorld* world = nullptr;
  Scenario game([&] { return world = new MeasuresWeekWorld; });
  world->SetGameSpeed(CZorvaWorld::kGameSpeedSum - 400);
  COpnv& opnv = *world->GetOpnv();
  auto& pr = *world->parkRide;
  // A street through the middle of the screen with homes on its north side
  // and work on its south side, two bus stops on it joined by a line with
  // its buses.
  Cell c;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(250, 220, &c.x, &c.y), 0);
  const int ox = c.x - 12, oy = c.y - 4;
  ASSERT_EQ(BuildStreet(*world, ox, oy, ox + 24, oy), STR_BUILD_OK);
  const std::tuple<TObjectType, int, int> buildings[] = {
      {OBJ_RESIDENTIAL, 1, -2}, {OBJ_RESIDENTIAL, 4, -2}, {OBJ_RESIDENTIAL, 7, -2}, {OBJ_RESIDENTIAL, 10, -2},
      {OBJ_RESIDENTIAL, 13, -2}, {OBJ_RESIDENTIAL, 16, -2}, {OBJ_RESIDENTIAL, 19, -2}, {OBJ_RESIDENTIAL, 22, -2},
      {OBJ_OFFICE, 1, 2},       {OBJ_SHOPPING, 7, 2},     {OBJ_OFFICE, 10, 2},      {OBJ_INDUSTRY, 13, 2},
      {OBJ_OFFICE, 19, 2},      {OBJ_SHOPPING, 22, 2}};
  // The town's people and their choices of a way to travel are drawn from
  // the game's random sequence; from this seed on, a good share of their
  // trips along the street go by bus on every day of the week.
  zor_srandom(8);
  for (const auto& [kind, x, y] : buildings) {
    // Houses of two floors: enough people that the city plans some of
    // their days again every hour.
    const int resId = CBuildingDataList::GetBuildingResIDByType(kind, kind == OBJ_RESIDENTIAL ? 2 : 1, nullptr);
    ASSERT_NE(world->CreateObject(kind, resId, CIsoRichtung(0), ox + x, oy + y, static_cast<ESimLocationHeight>(0),
                                  nullptr, 0, nullptr, 0, -1),
              nullptr)
        << kind << " at " << x << "/" << y;
  }
  CSecondLayerObject* west = PlaceStop(game, 1, {ox + 4, oy});
  CSecondLayerObject* east = PlaceStop(game, 1, {ox + 18, oy});
  ASSERT_TRUE(west && east);
  COpnvLine* line = MakeLine(opnv, NET_BUS, {west, east});
  ASSERT_NE(line, nullptr);
  opnv.CheckMakeVirtuellNet();
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL.BUYSELL", 6), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.BUYSELL.OK", 1), 0);
  opnv.SetActiveLine(line->GetID());
  for (int i = 0; i < line->GetData()->vehiclesNeeded; ++i) ASSERT_EQ(opnv.SetVarData("OPNV.MOVEFP.PLUS", 1), 0);
  // A line goes into service at its service check, which the game runs at
  // 7, 12 and 17 o'clock. The hours pass fast here and 7 o'clock may be
  // over before the line stands, which would leave it out of service until
  // noon, after the first people have planned their days without it: the
  // check runs now, so the line serves the town from the next hour on.
  line->CheckForKfz(kfx_GetTicks());
  ASSERT_TRUE(line->IsActive());

  // Two stations near the stops: 40 places each in the measure's count,
  // 50 in each station's own figures. Two days on the town's people live
  // and work along the street.
  EXPECT_EQ(Var(pr, "PR.NUMBER"), 0);
  std::vector<CBuildingParkRideObject*> stations;
  for (int x : {4, 16}) {
    CWorldObj* built = Build(*world, OBJ_PARKRIDE, ox + x, oy + 2);
    ASSERT_NE(built, nullptr) << x;
    stations.push_back(dynamic_cast<CBuildingParkRideObject*>(built));
    ASSERT_NE(stations.back(), nullptr);
  }
  EXPECT_EQ(Var(pr, "PR.NUMBER"), 2);
  EXPECT_EQ(Var(pr, "PR.PLACES"), 80);
  EXPECT_EQ(pr.Stations(), 2);
  ASSERT_NO_FATAL_FAILURE(RunDays(game, 2));
  // What construction set and no turn changes.
  const double fixedUsers = Var(pr, "PR.USER"), fixedIncome = Var(pr, "PR.INCOME"),
               fixedExpenses = Var(pr, "PR.EXPENSES"), fixedQuote = Var(pr, "PR.QUOTE");

  double m2 = 0;
  int served = 0, withPassengers = 0;
  pr.beforeTurn = [&](const STime&, const STime&) { m2 = Value("W.M2"); };
  pr.afterTurn = [&](const STime& now, const STime&) {
    // The quote is the network's park-and-ride share, whole.
    EXPECT_EQ(Var(pr, "PR.USERQUOTE"), static_cast<int>(m2)) << now.year << "/" << now.hour;
    EXPECT_EQ(Var(pr, "PR.PLACES"), 80);
    EXPECT_EQ(Var(pr, "PR.NUMBER"), 2);
    EXPECT_EQ(Var(pr, "PR.USER"), fixedUsers);
    EXPECT_EQ(Var(pr, "PR.INCOME"), fixedIncome);
    EXPECT_EQ(Var(pr, "PR.EXPENSES"), fixedExpenses);
    EXPECT_EQ(Var(pr, "PR.QUOTE"), fixedQuote);
    for (CBuildingParkRideObject* station : stations) {
      const StationFigures f = FiguresOf(station);
      if (!f.known) continue;
      ++served;
      EXPECT_FLOAT_EQ(station->GetData().userQuote, f.quote) << now.year << "/" << now.hour;
      EXPECT_EQ(Var(*station, "PRPLACE.LINIEN"), f.lines);
      EXPECT_DOUBLE_EQ(Var(*station, "PRPLACE.LINIENUSED"), f.lineQuote);
      EXPECT_NEAR(Var(*station, "PRPLACE.PLACESUSERQUOTE"), f.quote * 100.0, 1e-4);
      withPassengers += f.quote > 0;
      // The station's picture by its quote: below 0.3, below 0.6, above.
      const int state = f.quote < 0.3f ? 0 : f.quote < 0.6f ? 1 : 2;
      EXPECT_EQ(station->GetResID(), CBuildingParkRideObject::kResIDZ[state]);
    }
  };

  ASSERT_NO_FATAL_FAILURE(RunWeek(game));
  pr.beforeTurn = pr.afterTurn = nullptr;
  EXPECT_GE(pr.turns, 7 * 15);
  EXPECT_GE(served, 2 * 7 * 15) << "both stations have a stop with the line";
  EXPECT_GT(withPassengers, 7 * 15) << "the line carries passengers through the week";

  // Selected on the map, a station opens its information window with its
  // own figures.
  game.ChooseTool(1, -1, -1);
  int sx = -1, sy = -1;
  ASSERT_TRUE(game.ScreenOfCell(ox + 16, oy + 2, &sx, &sy));
  game.Click(sx, sy).Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(224));
  Settle(game);
  CBuildingParkRideObject* shown = stations[1];
  for (const char* key : {"PRPLACE.PLACES", "PRPLACE.PLACESUSERQUOTE", "PRPLACE.LINIEN", "PRPLACE.LINIENUSED"})
    EXPECT_EQ(Shown(224, key), Formatted(VAR_INT, Var(*shown, key))) << key;
  EXPECT_EQ(Var(*shown, "PRPLACE.PLACES"), 50);
  game.Shot("measures-week-parkride");

  // A station pulled down takes its places with it; the other keeps the
  // network's share, and without stations the share is nought whatever the
  // network holds.
  world->SetPause(false);
  pr.beforeTurn = [&](const STime&, const STime&) { m2 = Value("W.M2"); };
  auto nextTurn = [&] {
    const int turns = pr.turns;
    for (int i = 0; i < 40000 && pr.turns == turns; ++i) {
      Clock().Advance(Scenario::kFrameMs);
      world->OnPlayloopTurn();
    }
    ASSERT_GT(pr.turns, turns);
  };
  ASSERT_EQ(world->RemoveObject(ox + 4, oy + 2, ISO_LAYER_GROUND, false), 0);
  EXPECT_EQ(Var(pr, "PR.NUMBER"), 1);
  EXPECT_EQ(Var(pr, "PR.PLACES"), 40);
  EXPECT_EQ(pr.Stations(), 1);
  ASSERT_NO_FATAL_FAILURE(nextTurn());
  EXPECT_EQ(Var(pr, "PR.USERQUOTE"), static_cast<int>(m2));
  ASSERT_EQ(world->RemoveObject(ox + 16, oy + 2, ISO_LAYER_GROUND, false), 0);
  EXPECT_EQ(Var(pr, "PR.PLACES"), 0);
  ASSERT_NO_FATAL_FAILURE(nextTurn());
  EXPECT_EQ(Var(pr, "PR.USERQUOTE"), 0);
  EXPECT_GE(m2, 1.0) << "the network's share stays";
}

}  // namespace
