// Route guidance, route planning, the travel assistant and the surrounding
// region in the running game: a town with people, a transmitter mast that
// covers the districts around it on the thematic map, the services' names
// through the data exchange, and a save and load that keeps their state.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "iso/iso_object.h"
#include "measures/active_route_guidance.h"
#include "model/data_exchange.h"
#include "network/str_junction_list.h"
#include "sim/sim_city_model.h"
#include "sim/sim_district.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "scenario_measures_week.h"
#include "ui/ui_host.h"
#include "world/zor_world.h"
#include "worldbase/building_catalogue.h"

namespace {

using namespace zortest;

void RunHours(Scenario& game, int hours) {
  CZorvaWorld& world = game.World();
  const int until = world.GetSimWelt()->Date().TicksFromStart() + hours;
  while (world.GetSimWelt()->Date().TicksFromStart() < until) {
    Clock().Advance(50);
    world.OnPlayloopTurn();
  }
}

// The avenue built and forty hours run, so that people live and work there.
void PeopleOnTheAvenue(Scenario& game) {
  ASSERT_NO_FATAL_FAILURE(BuildAvenue(game.World()));
  game.World().SetGameSpeed(CZorvaWorld::kGameSpeedSum - 400);
  RunHours(game, 40);
}

}  // namespace

TEST(RouteServicesScenario, AMastCoversTheDistrictsAroundItAndTheServicesAnswerByName) {
  Clock().Set(0);
  Scenario game;
  CZorvaWorld& world = game.World();
  ASSERT_NO_FATAL_FAILURE(PeopleOnTheAvenue(game));
  CDataExchange* dx = world.GetDataExchange();
  CSimCityModell* city = world.GetSimWelt()->pCityModell();
  ASSERT_GT(city->NrOfJobs(), 0u);
  ASSERT_GT(city->NrOfHomes(), 100u);
  ASSERT_GT(city->NrOfAgents(), 5) << city->NrOfHomes() << " homes, " << city->NrOfJobs() << " jobs";

  CAktiveRoutenPlanung* guidance = world.GetAktiveRP();
  EXPECT_EQ(dx->GetVarValue("AR.NUMBER"), 0);
  const int mastId = CBuildingDataList::GetBuildingResIDByType(OBJ_TRANSMITTER, 0, nullptr);
  ASSERT_GT(mastId, 0);
  CWorldObj* mast = world.CreateObject(OBJ_TRANSMITTER, mastId, CIsoRichtung(0), 44, 64,
                                       static_cast<ESimLocationHeight>(0), nullptr, 0, nullptr, 0, -1);
  ASSERT_NE(mast, nullptr);
  EXPECT_EQ(dx->GetVarValue("AR.NUMBER"), 1);

  // The map is drawn at once; the thematic map's guidance layer shows it.
  const float* map = CUiHost::Get()->GetRouteGuidanceMap();
  ASSERT_EQ(map, guidance->GetMap(nullptr));
  const double share = dx->DoVar(EX_MAX, "W.K2.2", 0.0) / 100.0;
  int withDemand = 0, outOfReach = 0;
  for (int x = 0; x < 16; ++x)
    for (int y = 0; y < 16; ++y) {
      const CSimDistrict* d = city->pDistrictAt(x, y);
      const float demand = static_cast<float>(
          (static_cast<double>(d->NrOfResidents()) + d->NrOfWorkers() + d->NrOfScholars() + d->NrOfStudents() +
           d->NrOfConsumers() + d->NrOfLeisurers()) *
          share);
      const float value = map[x * 16 + y];
      const bool own = x == 44 / 8 && y == 64 / 8;
      const bool reached = std::abs(x - 44 / 8) <= 2 && std::abs(y - 64 / 8) <= 2;
      if (static_cast<int>(demand) == 0) {
        if (!own) {
          EXPECT_EQ(value, 0.0f) << x << "/" << y;
        }
        continue;
      }
      ++withDemand;
      EXPECT_GE(value, 0.05f) << x << "/" << y;
      EXPECT_LE(value, 1.0f) << x << "/" << y;
      if (!reached) {
        ++outOfReach;
        EXPECT_FLOAT_EQ(value, 0.05f) << "beyond the spiral " << x << "/" << y;
      }
    }
  EXPECT_GT(withDemand, outOfReach) << "the mast stands among people";
  EXPECT_GT(outOfReach, 0) << "the avenue reaches beyond the mast's spiral";
  const double quality = dx->GetVarValue("AR.QUALITY");
  EXPECT_GE(quality, 0.0);
  EXPECT_LE(quality, 100.0);

  // The services' names answer through the data exchange.
  EXPECT_EQ(dx->GetVarValue("AR.SYSTEM.COST"), 3400);
  EXPECT_EQ(dx->GetVarValue("PTA.HANDY.COST"), 3000);
  EXPECT_EQ(dx->GetVarValue("PAR.SYSTEM.COST"), 3000);
  dx->DoVar(EX_SET, "PAR.PRICE.NEWCD", 25.0);
  EXPECT_EQ(dx->GetVarValue("PAR.PRICE.NEWCD"), 25);
  RunHours(game, 2);
  const double people = dx->GetPeople();
  ASSERT_GT(people, 0);
  for (const char* town : {"UMLAND.CITY.PEOPLE.0", "UMLAND.CITY.PEOPLE.3"}) {
    EXPECT_GE(dx->GetVarValue(town), std::floor(people * 0.125)) << town;
    EXPECT_LE(dx->GetVarValue(town), people * 0.25) << town;
  }

  // A save and load keeps the services; the mast made again counts again.
  std::filesystem::create_directory("SaveGame");
  ASSERT_EQ(world.SerializeGameStore("SaveGame/GUIDE.GMD"), 0);
  const double town0 = dx->GetVarValue("UMLAND.CITY.PEOPLE.0");
  const std::vector<float> saved(map, map + 256);
  const double savedQuality = dx->GetVarValue("AR.QUALITY");
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/GUIDE.GMD"), 0);
  dx = world.GetDataExchange();
  EXPECT_EQ(dx->GetVarValue("AR.NUMBER"), 1);
  // The mast made again while the game is read leaves the map as saved.
  map = world.GetAktiveRP()->GetMap(nullptr);
  EXPECT_EQ(std::vector<float>(map, map + 256), saved);
  EXPECT_EQ(dx->GetVarValue("AR.QUALITY"), savedQuality);
  EXPECT_EQ(dx->GetVarValue("PAR.PRICE.NEWCD"), 25);
  EXPECT_EQ(dx->GetVarValue("UMLAND.CITY.PEOPLE.0"), town0);

  // Without its mast the map is empty again.
  ASSERT_EQ(world.RemoveObject(44, 64, ISO_LAYER_GROUND, false), 0);
  EXPECT_EQ(dx->GetVarValue("AR.NUMBER"), 0);
  map = world.GetAktiveRP()->GetMap(nullptr);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(map[i], 0.0f) << i;
}

TEST(RouteServicesScenario, GuidanceWinsDriversAndShortensTheCarTimesTheGameModelReads) {
  Clock().Set(0);
  Scenario game;
  CZorvaWorld& world = game.World();
  ASSERT_NO_FATAL_FAILURE(PeopleOnTheAvenue(game));
  CDataExchange* dx = world.GetDataExchange();
  CSimCityModell* city = world.GetSimWelt()->pCityModell();
  ASSERT_GT(dx->GetPeople(), 0);
  // Without masts the service wins nobody and the car times are whole.
  EXPECT_EQ(dx->GetVarValue("W.K2.2"), 0.0);
  const double plain = dx->Calc_W_U5_Reduction();

  CAktiveRoutenPlanung* guidance = world.GetAktiveRP();
  const int mastId = CBuildingDataList::GetBuildingResIDByType(OBJ_TRANSMITTER, 0, nullptr);
  for (const auto& [x, y] : {std::pair{20, 64}, std::pair{44, 64}})
    ASSERT_NE(world.CreateObject(OBJ_TRANSMITTER, mastId, CIsoRichtung(0), x, y, static_cast<ESimLocationHeight>(0),
                                 nullptr, 0, nullptr, 0, -1),
              nullptr);
  ASSERT_EQ(guidance->SetVarData("AR.PRICE.MONTH", 0.0), 0);
  // Three periods a day feed the service's target quote to the network,
  // from which the subscribers' potential follows.
  RunHours(game, 48);
  const double target = guidance->CalculateUserQuote();
  ASSERT_GT(target, 0.0) << "masts, a price of 0 and coverage give a target";
  EXPECT_NEAR(dx->GetVarValue("W.K2.2"), target, 1e-3 * target);
  EXPECT_GT(dx->GetVarValue("AR.USERQUOTE"), 0.0) << "the service wins subscribers in the running game";
  EXPECT_GT(dx->GetVarValue("AR.INCOME") + dx->GetVarValue("AR.COST"), 0.0);

  // The car travel time the network reads is shortened by half the quote in
  // percent; the other services add nothing here.
  const double k2 = static_cast<float>(dx->GetVarValue("W.K2.2") * 0.5 / 100.0);
  const double k9 = static_cast<float>(dx->GetVarValue("W.K9.2") * 0.5 / 100.0);
  const double k1 = static_cast<float>(dx->GetVarValue("W.K1.2") / 6.0 / 100.0);
  const double r = 1.0 - (k2 + k9 + k1);
  EXPECT_DOUBLE_EQ(dx->Calc_W_U5_Reduction(), r);
  EXPECT_LT(r, plain);
  city->CalcStatisticData();
  ASSERT_GT(city->ReisezeitMIV(), 0.0);
  EXPECT_DOUBLE_EQ(dx->Calc_W_U5(), r * city->ReisezeitMIV());
  // More people ride along in each car while drivers subscribe.
  EXPECT_GT(dx->GetVarValue("W.M12"), 1.3);
}
