// The city model's district maps: what each holds per district, the
// maximum of its colour scale with its rounding and its cut, the query
// district's part, and the dumps of the population and the day's trips.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "framework/zor_file_layer.h"
#include "sim/sim_city_model.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_welt.h"
#include "sim_test_agents.h"
#include "sim_test_locations.h"

namespace {

using simtest::MakeLocation;

struct Maps : testing::Test {
  CSimLocationFactory factory;
  CSimWelt world{nullptr};
  std::vector<std::unique_ptr<CSimLocation>> locations;
  std::unique_ptr<CSimCityModell> city = std::make_unique<CSimCityModell>();
  void SetUp() override { ASSERT_TRUE(city->Create(&factory, &world)); }
  // A location in the district (x, y) with the capacities.
  void Put(int x, int y, const simtest::Capacities& c) {
    locations.push_back(MakeLocation(8 * x + 1, 8 * y + 1, c));
    ASSERT_TRUE(city->RegisterLocation(locations.back().get(), 0));
  }
  // The map of the type, made now, and its maximum (-1 before).
  const float* Update(TSimDistrictMapType type, float* maximum) {
    *maximum = -1.0f;
    city->UpdateStatisticMap(type, *maximum);
    return city->GetPointerToStatisticMap(type);
  }
  static float At(const float* map, int x, int y) { return map[16 * x + y]; }
};

TEST_F(Maps, CapacitiesPerDistrictWithTheirScalesRoundedUpToTheNextThousand) {
  struct Row {
    int jobs;
    float maximum;
  };
  // 2500 in the fullest district gives 3000, 3000 gives 4000, none gives 1000.
  for (const Row& r : {Row{2500, 3000.0f}, Row{3000, 4000.0f}, Row{0, 1000.0f}}) {
    SCOPED_TRACE(r.jobs);
    city = std::make_unique<CSimCityModell>();
    ASSERT_TRUE(city->Create(&factory, &world));
    Put(3, 5, {.homes = 700, .jobs = r.jobs, .type = 1});
    Put(3, 6, {.homes = 40, .jobs = 100, .type = 1});
    float maximum = 0.0f;
    const float* jobs = Update(QNO_MAP_I_ARBEITSPLATZDICHTE, &maximum);
    ASSERT_NE(jobs, nullptr);
    EXPECT_EQ(maximum, r.maximum);
    EXPECT_EQ(At(jobs, 3, 5), r.jobs);
    EXPECT_EQ(At(jobs, 3, 6), 100.0f);
    EXPECT_EQ(At(jobs, 5, 3), 0.0f) << "the map runs x outer, y inner";
    const float* homes = Update(QNO_MAP_NOT_USED3, &maximum);
    EXPECT_EQ(At(homes, 3, 5), 700.0f);
    EXPECT_EQ(maximum, 1000.0f);
    // Free homes and free jobs start their scale at 2000 and rise unrounded.
    const float* freeJobs = Update(QNO_MAP_I_LEHRSTEHENDE_GEWERBEFLAECHE, &maximum);
    EXPECT_EQ(At(freeJobs, 3, 5), r.jobs);
    EXPECT_EQ(maximum, r.jobs > 2000 ? r.jobs : 2000.0f);
    Update(QNO_MAP_I_LEHRSTEHENDE_WOHNUNGEN, &maximum);
    EXPECT_EQ(maximum, 2000.0f);
    // Nobody lives or works here yet: residents and workers are 0, the
    // workers' scale starts at 1 and is not rounded.
    EXPECT_EQ(At(Update(QNO_MAP_I_BEVOELKERUNGSDICHTE, &maximum), 3, 5), 0.0f);
    EXPECT_EQ(maximum, 1000.0f);
    Update(QNO_MAP_NOT_USED4, &maximum);
    EXPECT_EQ(maximum, 1.0f);
  }
}

TEST_F(Maps, TheQueryDistrictsMapsFollowItAndCutTheirValuesAtTheirFixedMaximum) {
  city->SetQueryDistrict(4, 4);
  const short query = CSimCityModell::DistrictID(4, 4);
  // No car trip is measured: 0; a trip of 0 s gives 720, cut at 16; one
  // of 3595 s gives 1.
  city->NewCarData(CSimCityModell::DistrictID(9, 9), query, 0);
  city->NewCarData(CSimCityModell::DistrictID(0, 15), query, 3595);
  float maximum = 0.0f;
  const float* car = Update(QNO_MAP_V_PKWERREICHBARKEIT, &maximum);
  EXPECT_EQ(maximum, 16.0f);
  EXPECT_EQ(At(car, 9, 9), 16.0f);
  EXPECT_FLOAT_EQ(At(car, 0, 15), 1.0f);
  EXPECT_EQ(At(car, 12, 2), 0.0f);
  // Another query district: what was measured towards it.
  city->SetQueryDistrict(0, 0);
  car = Update(QNO_MAP_V_PKWERREICHBARKEIT, &maximum);
  EXPECT_EQ(At(car, 9, 9), 0.0f);
  // A query district without locations: no access, 2 after the cut, for
  // every district.
  const float* access = Update(QNO_MAP_NOT_USED1, &maximum);
  EXPECT_EQ(maximum, 2.0f);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(access[i], 2.0f) << i;
  // The distance classes grow away from the query district, cut at 3.
  city->SetQueryDistrict(8, 8);
  const float* distance = Update(QNO_MAP_NOT_USED2, &maximum);
  EXPECT_EQ(maximum, 3.0f);
  EXPECT_LE(At(distance, 8, 8), At(distance, 8, 11));
  EXPECT_LE(At(distance, 8, 11), At(distance, 0, 0));
  EXPECT_EQ(At(distance, 0, 0), 3.0f);
  for (int i = 0; i < 256; ++i) ASSERT_LE(distance[i], 3.0f) << i;
}

TEST_F(Maps, DistrictsWithoutPersonsAndTypesWithoutAMap) {
  Put(2, 2, {.homes = 300, .jobs = 50, .type = 1});
  float maximum = 0.0f;
  const float* bus = Update(QNO_MAP_V_OPNVNUTZER, &maximum);
  EXPECT_EQ(maximum, 0.6f);
  EXPECT_EQ(At(bus, 2, 2), 0.0f);
  // The parking map is the parking computation's: only its maximum is set.
  float* parking = city->GetPointerToStatisticMap(QNO_MAP_V_PARKRAUM);
  ASSERT_NE(parking, nullptr);
  parking[16 * 2 + 2] = 0.5f;
  Update(QNO_MAP_V_PARKRAUM, &maximum);
  EXPECT_EQ(maximum, 1.0f);
  EXPECT_EQ(parking[16 * 2 + 2], 0.5f);
  EXPECT_NE(Update(QNO_MAP_NOT_USED5, &maximum), nullptr);
  EXPECT_EQ(maximum, 0.0f);
  for (TSimDistrictMapType none : {0, 1, 6, 7, 8, 10, 11, 12, 15, 16, 17, 23}) {
    EXPECT_EQ(Update(none, &maximum), nullptr) << none;
    EXPECT_EQ(maximum, -1.0f) << none;
  }
}

TEST_F(Maps, TheDumpsHoldEveryDistrictAndAFullMatrixPerModeAndReportADumpThatCannotBeWritten) {
  // A folder of the test's own working directory: no other run shares it.
  const std::filesystem::path home = std::filesystem::current_path();
  const std::filesystem::path dir = home / "dumps";
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);
  Put(1, 0, {.homes = 300, .jobs = 50, .type = 1});
  EXPECT_TRUE(city->WriteRawData(7));
  std::ifstream population("Population.  7");
  std::string line;
  std::getline(population, line);
  EXPECT_EQ(line, "#\t Einwohner\t Arbeiter\t Sch\xfcler\t Konsumenten\t Privat");
  int lines = 0;
  while (std::getline(population, line)) ++lines;
  EXPECT_EQ(lines, 256);
  for (const char* name : {"FahrtenAuto.  7", "FahrtenBus.  7", "FahrtenFuss.  7"}) {
    std::ifstream in(name);
    int rows = 0, cells = 0;
    while (std::getline(in, line)) {
      ++rows;
      std::istringstream cellsOf(line);
      for (int v = 0; cellsOf >> v;) ++cells;
    }
    EXPECT_EQ(rows, 256) << name;
    EXPECT_EQ(cells, 256 * 256) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(ZorFreshName("Population.  7")));
  // A dump that cannot take its place (a folder has its name): the failure
  // is reported and no half-written file is left.
  std::filesystem::create_directories("Population.  8");
  EXPECT_FALSE(city->WriteRawData(8));
  EXPECT_FALSE(std::filesystem::exists(ZorFreshName("Population.  8")));
  EXPECT_TRUE(std::filesystem::exists("FahrtenAuto.  8"));
  std::filesystem::current_path(home);
  std::filesystem::remove_all(dir);
}

// A district loses a house or an office while people it did not house or
// employ stay: its people then outnumber its places, and the free places'
// maps show the shortfall below nought instead of a count past four
// thousand million that would flatten every other district's colour.
struct ShortfallMaps : simtest::AgentCity {
  static float At(const float* map, int x, int y) { return map[16 * x + y]; }
};

TEST_F(ShortfallMaps, ADistrictWithMorePeopleThanHomesOrJobsShowsTheShortfallAndKeepsItsScale) {
  // District (1, 1): a house, an office and a shop; the homes that the
  // district draws for its people may be any of its buildings.
  CSimLocation* house = Build(9, 9, {.homes = 100});
  CSimLocation* office = Build(10, 9, {.jobs = 100});
  CSimLocation* shop = Build(11, 9, {.shops = 500});
  Build(40, 40, {.homes = 3000});
  CSimDistrict* district = DistrictOf(9, 9);
  for (int i = 0; i < 2; ++i) {
    CSimAgent* a = Resident(9, 9);
    a->pHomeDestination()->SetLocation(shop);
    ASSERT_TRUE(district->LinkAgent(SIM_DEST_WORK, a));
  }
  ASSERT_EQ(district->NrOfResidents(), 100);
  ASSERT_EQ(district->NrOfWorkers(), 100);

  float maximum = -1.0f;
  city->UpdateStatisticMap(QNO_MAP_I_LEHRSTEHENDE_WOHNUNGEN, maximum);
  EXPECT_EQ(At(city->GetPointerToStatisticMap(QNO_MAP_I_LEHRSTEHENDE_WOHNUNGEN), 1, 1), 0.0f);
  EXPECT_EQ(maximum, 3000.0f);

  // Nobody lived in the house or worked in the office: nobody moves.
  ASSERT_TRUE(city->RemoveLocation(house));
  ASSERT_TRUE(city->RemoveLocation(office));
  ASSERT_EQ(district->NrOfHomes(), 0);
  ASSERT_EQ(district->NrOfJobs(), 0);
  ASSERT_EQ(district->NrOfResidents(), 100);

  city->UpdateStatisticMap(QNO_MAP_I_LEHRSTEHENDE_WOHNUNGEN, maximum);
  const float* freeHomes = city->GetPointerToStatisticMap(QNO_MAP_I_LEHRSTEHENDE_WOHNUNGEN);
  EXPECT_EQ(At(freeHomes, 1, 1), -100.0f);
  EXPECT_EQ(At(freeHomes, 5, 5), 3000.0f);
  EXPECT_EQ(maximum, 3000.0f);
  city->UpdateStatisticMap(QNO_MAP_I_LEHRSTEHENDE_GEWERBEFLAECHE, maximum);
  EXPECT_EQ(At(city->GetPointerToStatisticMap(QNO_MAP_I_LEHRSTEHENDE_GEWERBEFLAECHE), 1, 1), -100.0f);
  EXPECT_EQ(maximum, 2000.0f);

  for (CSimAgent* a : agents) ASSERT_TRUE(district->UnlinkAgent(SIM_DEST_WORK, a));
}

}  // namespace
