// The city answers the player: the zoned town of the growth scenario grows
// year by year under three policies, (a) zoning, streets and schools alone,
// (b) the same with bus lines and dearer parking, (c) the same with a
// four-lane avenue and free parking. Each run prints a line per year (the
// people, the modal split of the year's trips, the thirteen ratings, the
// city rating "I.EQM" and the growth); the checks hold what the rating rules
// make certain whatever the demand model chooses.
//
// A run plays ten years, three in the sanitizer build; ZOR_CALIBRATION_YEARS
// sets another number. The tables of docs/calibration.md come from
//   build/release/bin/world_tests --gtest_filter='PolicyCalibration.*'
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "iso/iso_welt.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "model/data_exchange.h"
#include "model/indikatoren.h"
#include "network/str_junction_list.h"
#include "network/str_net_lengths.h"
#include "network/str_strasse.h"
#include "sim/sim_city_model.h"
#include "sim/sim_location.h"
#include "sim/sim_location_factory.h"
#include "world/growing_town.h"
#include "world/scenario_opnv_steps.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;
using growtest::kEnd;
using growtest::kEndY;
using growtest::kNodes;
using growtest::kOrigin;
using growtest::kOriginY;
using growtest::kSpacing;

enum Policy { kZoningOnly, kBusAndFees, kAvenueFreeParking };
constexpr const char* kPolicyNames[] = {"a", "b", "c"};
constexpr int kAvenueRow = 2;
constexpr int kPartials = CIndikatoren::kPartials;
constexpr const char* kPartialNames[kPartials] = {
    "I.EFF.KMPERPERSON",       "I.EFF.TIMEPERKM",       "I.EFF.TRAFFICJAM",     "I.EFF.COSTPERAGENT",
    "I.EFF.ENERGIEPERKM",      "I.QUALI.EMMISSIONPERPERSON", "I.QUALI.NOISE", "I.QUALI.ENERGIEPERPERSON",
    "I.QUALI.AREAPERPERSON",   "I.QUALI.RAUMTRENNUNG",  "I.ZORV.REACHTIMES",    "I.ZORV.KOMFORT",
    "I.ZORV.SECURITY"};
constexpr int kEnergiePerKm = 4, kReachTimes = 10, kSecurity = 12;

// The years a run plays: ZOR_CALIBRATION_YEARS, else ten (three in the
// sanitizer build, where a year takes ten times as long).
int Years() {
  const char* v = std::getenv("ZOR_CALIBRATION_YEARS");
  const int n = v ? std::atoi(v) : 0;
#ifdef __SANITIZE_ADDRESS__
  return n > 0 ? n : 3;
#else
  return n > 0 ? n : 10;
#endif
}

struct YearFigures {
  unsigned people = 0;
  double trips[3] = {};  // the year's car, bus and walking trips
  double partial[kPartials] = {};
  double eff = 0, quali = 0, zorv = 0, eqm = 0, growth = 0;
  double opnvReach = 0;  // the mean public-transport reach of the buildings
  double occupancy = 0;  // persons per car
};

// A town that grows under one policy, with its figures year by year.
struct PolicyTown : growtest::GrowingTown {
  std::vector<YearFigures> years;
  // Hours in which the indicators saw fewer than 5000 people, and in which
  // they saw between 5000 and 15000.
  int restingHours = 0, smallTownHours = 0;

  double Indicator(const char* name) { return World().GetIndikatoren()->GetVarValue(name); }

  void Apply(Policy policy) {
    CZorvaWorld& world = World();
    Start(true, policy == kAvenueFreeParking ? kAvenueRow : -1);
    if (policy == kZoningOnly) return;
    // Car parks beside the grid's outer columns, west and east, turned to
    // the street as the building rules let them.
    int carParks = 0;
    for (int y = kOriginY + 4; y < kEndY; y += kSpacing)
      for (int x : {kOrigin - 1, kEnd + 1})
        for (int dir = 0; dir < 4; ++dir)
          if (world.CreateObject(OBJ_CARPARK_OPEN, 39431, CIsoRichtung(dir), x, y, SIM_HEIGHT_ANY, nullptr, 0,
                                 nullptr, 0, -1)) {
            ++carParks;
            break;
          }
    ASSERT_GE(carParks, 4);
    CDataExchange& dx = *world.GetDataExchange();
    // The fee page: every car park's price up by the whole step (the price
    // stops at its maximum), or down to nothing.
    ASSERT_EQ(dx.SetVarData("PRM.PRICE.CHANGEPKW", policy == kBusAndFees ? 100 : -100), 0);
    ASSERT_EQ(dx.SetVarData("PRM.PRICE.CHANGEPKW.OK", 1), 0);
    if (policy != kBusAndFees) return;
    // Three bus lines: down the second and the fourth column, and along the
    // middle row, each with a stop in every other block.
    COpnv& opnv = *world.GetOpnv();
    auto stop = [&](int x, int y) {
      game->Map().SetIsoCenter(x, y);
      return PlaceStop(*game, 1, {x, y});
    };
    std::vector<CSecondLayerObject*> stops[3];
    for (int j = 0; j + 1 < kNodes; j += 2) {
      stops[0].push_back(stop(kOrigin + kSpacing, kOriginY + j * kSpacing + kSpacing / 2));
      stops[1].push_back(stop(kOrigin + 3 * kSpacing, kOriginY + j * kSpacing + kSpacing / 2));
      stops[2].push_back(stop(kOrigin + j * kSpacing + kSpacing / 2, kOriginY + kAvenueRow * kSpacing));
    }
    std::vector<COpnvLine*> lines;
    for (auto& line : stops) {
      for (CSecondLayerObject* s : line) ASSERT_NE(s, nullptr);
      COpnvLine* l = opnv.CreateNewLine(NET_BUS);
      ASSERT_NE(l, nullptr);
      for (CSecondLayerObject* s : line) ASSERT_EQ(l->ToolAddHstTail(s, StreetIdOf(s)), 0);
      lines.push_back(l);
    }
    opnv.CheckMakeVirtuellNet();
    ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL.BUYSELL", 30), 0);
    ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.BUYSELL.OK", 1), 0);
    for (COpnvLine* l : lines) {
      opnv.SetActiveLine(l->GetID());
      for (int i = 0; i < l->GetData()->vehiclesNeeded; ++i) ASSERT_EQ(opnv.SetVarData("OPNV.MOVEFP.PLUS", 1), 0);
    }
  }

  // An hour of the game, with the rules that hold whatever the town does:
  // below 5000 people every rating rests at 0.5, below 15000 the growth
  // is 0.75.
  void WatchedHour(YearFigures& f) {
    CSimCityModell* city = City();
    const unsigned before = city->NrOfResidents();
    Hour();
    const unsigned after = city->NrOfResidents();
    f.trips[0] += city->NrOfMIVTrips();
    f.trips[1] += city->NrOfBusTrips();
    f.trips[2] += city->NrOfFeetTrips();
    if (before < 5000 && after < 5000) {
      ++restingHours;
      for (const char* name : kPartialNames) EXPECT_EQ(Indicator(name), 0.5) << name << " at " << before;
      for (const char* name : {"I.EFF", "I.QUALI", "I.ZORV", "I.EQM", "I.GROWTH", "I.SCORE"})
        EXPECT_EQ(Indicator(name), 0.5) << name << " at " << before;
    } else if (before >= 5000 && after >= 5000 && before < 15000 && after < 15000) {
      ++smallTownHours;
      EXPECT_EQ(Indicator("I.GROWTH"), 0.75) << before;
    }
  }

  void Year() {
    YearFigures f;
    for (int h = 0; h < 16; ++h) WatchedHour(f);
    f.people = City()->NrOfResidents();
    for (int i = 0; i < kPartials; ++i) f.partial[i] = Indicator(kPartialNames[i]);
    f.eff = Indicator("I.EFF");
    f.quali = Indicator("I.QUALI");
    f.zorv = Indicator("I.ZORV");
    f.eqm = Indicator("I.EQM");
    f.growth = Indicator("I.GROWTH");
    CSimLocationFactory* factory = World().GetLocationFactory();
    int count = 0;
    for (int i = 0; i < factory->GetLocationCount(); ++i)
      if (CWorldObj* building = factory->GetLocation(i)->GetBuilding()) {
        double reach = 0;
        building->GetVarData("BUILDING.OPNVREACH", &reach);
        f.opnvReach += reach;
        ++count;
      }
    if (count) f.opnvReach /= count;
    f.occupancy = World().GetDataExchange()->GetBesetzungsGradPkw();
    years.push_back(f);
  }
};

// The run of one policy over the years.
std::vector<YearFigures> PlayPolicy(Policy policy, int years, int* restingHours, int* smallTownHours) {
  PolicyTown town;
  town.Apply(policy);
  if (testing::Test::HasFatalFailure()) return {};
  for (int y = 1; y <= years; ++y) town.Year();
  *restingHours += town.restingHours;
  *smallTownHours += town.smallTownHours;
  return town.years;
}

double Share(const YearFigures& f, int mode) {
  const double all = f.trips[0] + f.trips[1] + f.trips[2];
  return all > 0 ? 100.0 * f.trips[mode] / all : 0.0;
}

void PrintTables(const std::vector<YearFigures> (&runs)[3]) {
  std::printf("\n| year | policy | people | car %% | bus %% | walk %% | occupancy | I.EFF | I.QUALI | I.ZORV | I.EQM | I.GROWTH |\n");
  std::printf("|---:|:---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  for (size_t y = 0; y < runs[0].size(); ++y)
    for (int p = 0; p < 3; ++p) {
      if (y >= runs[p].size()) continue;
      const YearFigures& f = runs[p][y];
      std::printf("| %zu | %s | %u | %.1f | %.1f | %.1f | %.2f | %.3f | %.3f | %.3f | %.3f | %.3f |\n", y + 1,
                  kPolicyNames[p], f.people, Share(f, 0), Share(f, 1), Share(f, 2), f.occupancy, f.eff, f.quali,
                  f.zorv, f.eqm, f.growth);
    }
  std::printf("\n| year | policy |");
  for (int i = 0; i < kPartials; ++i) std::printf(" %d |", i);
  std::printf("\n|---:|:---:|");
  for (int i = 0; i < kPartials; ++i) std::printf("---:|");
  std::printf("\n");
  for (size_t y = 0; y < runs[0].size(); ++y)
    for (int p = 0; p < 3; ++p) {
      if (y >= runs[p].size()) continue;
      std::printf("| %zu | %s |", y + 1, kPolicyNames[p]);
      for (double v : runs[p][y].partial) std::printf(" %.3f |", v);
      std::printf("\n");
    }
}

TEST(PolicyCalibration, TheRatingsLeaveTheirRestAndTheThreePoliciesDifferWhereTheRulesSay) {
  const int years = Years();
  std::vector<YearFigures> runs[3];
  int resting = 0, small = 0;
  for (int p = 0; p < 3; ++p) {
    runs[p] = PlayPolicy(static_cast<Policy>(p), years, &resting, &small);
    ASSERT_FALSE(testing::Test::HasFatalFailure()) << "policy " << kPolicyNames[p];
    ASSERT_EQ(runs[p].size(), static_cast<size_t>(years));
  }
  PrintTables(runs);
  // Every run passed through the resting small town and the town below
  // 15000, where the rules fix the ratings and the growth.
  EXPECT_GT(resting, 0);
  EXPECT_GT(small, 0);

  int carsOnlyYears = 0;
  for (int y = 0; y < years; ++y) {
    const YearFigures &a = runs[kZoningOnly][y], &b = runs[kBusAndFees][y], &c = runs[kAvenueFreeParking][y];
    for (int p = 0; p < 3; ++p) {
      const YearFigures& f = runs[p][y];
      if (f.people < 5500) continue;
      // Past 5000 people the ratings are the town's own: the city rating
      // and the group means leave 0.5.
      EXPECT_NE(f.eqm, 0.5) << kPolicyNames[p] << " year " << y + 1;
      int resting = 0;
      for (double v : f.partial) resting += v == 0.5;
      EXPECT_LT(resting, kPartials / 2) << kPolicyNames[p] << " year " << y + 1;
    }
    // Without a stop no building is reached by public transport and no
    // trip goes by bus: the reach rating is half the car reach at most.
    // Cars alone use 9 units of energy per kilometre at the base occupancy
    // of 1.3, above the rating's worst anchor of 8.5 while fewer than
    // 1.3 x 9 / 8.5 persons share a car.
    for (const YearFigures* f : {&a, &c}) {
      EXPECT_EQ(f->trips[1], 0.0) << "year " << y + 1;
      EXPECT_EQ(f->opnvReach, 0.0) << "year " << y + 1;
      EXPECT_LE(f->partial[kReachTimes], 0.5) << "year " << y + 1;
      if (f->people >= 5500 && f->occupancy < 1.3 * 9.0 / 8.5) {
        ++carsOnlyYears;
        EXPECT_EQ(f->partial[kEnergiePerKm], 0.0) << "year " << y + 1;
      }
    }
    // With the lines the buildings near their stops are reached, and the
    // people take the bus.
    EXPECT_GT(b.opnvReach, 0.0) << "year " << y + 1;
    EXPECT_GT(b.trips[1], 0.0) << "year " << y + 1;
    // Safety is a matter of the streets alone: stops and car parks leave it
    // as the plain town has it.
    EXPECT_EQ(b.partial[kSecurity], a.partial[kSecurity]) << "year " << y + 1;
  }
  EXPECT_GT(carsOnlyYears, 0);
}

}  // namespace
