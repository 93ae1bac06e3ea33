// The data exchange's derived values that come from the city model and the
// named values of the measures and the cause-effect network.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "cybernet/cyber_net.h"
#include "model/data_exchange.h"
#include "sim/sim_city_model.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_welt.h"
#include "support/test_support.h"

namespace {

// Named values of one prefix held in a map; unknown names are refused.
class Values : public CVarOwner {
 public:
  int SetVarData(const char* name, double value) override {
    if (!values.count(name)) return 1;
    values[name] = value;
    return 0;
  }
  int GetVarData(const char* name, double* value) override {
    auto it = values.find(name);
    if (it == values.end()) return 1;
    *value = it->second;
    return 0;
  }
  std::map<std::string, double> values;
};

struct CityContext : CGrowthContext {
  CSimCityModell* city = nullptr;
  CSimCityModell* City() override { return city; }
};

struct Derived : testing::Test {
  CSimLocationFactory factory;
  CSimWelt world{nullptr};
  CSimCityModell city;
  CityContext context;
  CCyberNet net;
  CDataExchange dx;

  void SetUp() override {
    ASSERT_TRUE(city.Create(&factory, &world));
    context.city = &city;
    dx.SetGrowthContext(&context);
    net.InsertStandardTemplates();
    zortest::WriteFile("derived.def",
                       "NodeBegin BasicNode Name M7 Value 0.45 MinSize 0 MaxSize 1000 NodeEnd\n"
                       "NodeBegin BasicNode Name M12 Value 0.26 MinSize 0 MaxSize 5 NodeEnd\n");
    FILE* f = std::fopen("derived.def", "r");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(net.Read(f), 0);
    std::fclose(f);
    dx.SetCyberNet(&net);
  }
  void TearDown() override { city.Destroy(); }
};

TEST_F(Derived, PeopleWorkersCarsAndTheHomeJobImbalanceComeFromTheCity) {
  city.AddResidents(1000);
  city.AddHomes(300);
  city.AddJobs(5000);
  city.AddLeisurePoints(70);
  EXPECT_EQ(dx.DXCalc_People(), 1000);
  EXPECT_EQ(dx.GetPeople(), 1000);
  EXPECT_EQ(dx.GetWorker(), 600);
  EXPECT_EQ(dx.GetKfz(), 450);
  EXPECT_EQ(dx.GetFze(), 70);
  // More jobs than homes: the difference of the unsigned counters does not
  // wrap.
  EXPECT_FLOAT_EQ(dx.GetHomeJobImbalance(), 4700.0f / 256.0f);
  // Without service or industry cells the split keeps its old values.
  EXPECT_EQ(dx.GetWorkerD(), 0);
  EXPECT_EQ(dx.GetWorkerI(), 0);

  // Without a city model every output is 0.
  context.city = nullptr;
  EXPECT_EQ(dx.DXCalc_People(), 0);
  EXPECT_EQ(dx.GetWorker(), 0);
  EXPECT_EQ(dx.GetKfz(), 0);
  EXPECT_EQ(dx.GetHomeJobImbalance(), 0.0f);
}

TEST_F(Derived, ThePeopleAreAskedOfTheCityAtEachReadAndKeptForAGameWithoutOne) {
  city.AddResidents(1000);
  EXPECT_EQ(dx.GetPeople(), 1000);
  // Residents that came within the hour count before the hour's derived
  // values are computed again.
  city.AddResidents(50);
  EXPECT_EQ(dx.GetPeople(), 1050);
  context.city = nullptr;
  EXPECT_EQ(dx.GetPeople(), 1050);
  dx.SetPeople(7);
  EXPECT_EQ(dx.GetPeople(), 7);
}

TEST_F(Derived, AnEmptyCityTravelsNoKilometresAtNoPriceAndNoEnergy) {
  city.AddResidents(500);
  dx.DXCalc_People();
  EXPECT_EQ(dx.DXCalc_WegLaenge(), 0.0);
  EXPECT_EQ(dx.DXCalc_KmPrice(), 0.0);
  EXPECT_EQ(dx.DXCalc_EnergiePerKm(), 0.0);
  EXPECT_EQ(dx.DXCalc_KmPerPerson(), 0.0);
  EXPECT_EQ(dx.DXCalc_TotalEnergieverbrauch(), 0.0);
  EXPECT_EQ(dx.DXCalc_BenzinBus(), 0.0);
}

TEST_F(Derived, CarOccupancyRisesWithTheUserQuotesAndReachesTheNetwork) {
  Values pta, mz, ar, par;
  pta.values["PTA.USERQUOTE"] = 40;
  mz.values["MZ.USERQUOTE"] = 20;
  ar.values["AR.USERQUOTE"] = 0;
  par.values["PAR.USERQUOTE"] = 20;
  dx.RegisterOwner("PTA.", &pta);
  dx.RegisterOwner("MZ.", &mz);
  dx.RegisterOwner("AR.", &ar);
  dx.RegisterOwner("PAR.", &par);
  // q = 80 / 400 = 0.2: 1.3 x 1.4.
  EXPECT_FLOAT_EQ(dx.DXCalc_BesetzungsGradPkw(), 1.82f);
  EXPECT_FLOAT_EQ(dx.GetBesetzungsGradPkw(), 1.82f);
  EXPECT_NEAR(dx.GetVarValue("W.M12"), 1.82, 1e-6);
  // Without the measures the occupancy is the base 1.3.
  dx.RegisterOwner("PTA.", nullptr);
  dx.RegisterOwner("MZ.", nullptr);
  dx.RegisterOwner("PAR.", nullptr);
  EXPECT_FLOAT_EQ(dx.DXCalc_BesetzungsGradPkw(), 1.3f);
}

TEST_F(Derived, PublicTransportLengthsAreReadByNameAndZeroWhenRefused) {
  // No public transport at all.
  EXPECT_EQ(dx.DXCalc_OpnvNetLength(), 0.0f);
  Values opnv;
  dx.RegisterOwner("OPNV.", &opnv);
  // Public transport that does not know the names yet.
  EXPECT_EQ(dx.DXCalc_OpnvNetLength(), 0.0f);
  EXPECT_EQ(dx.DXCalc_OpnvNetExclusiveLength(), 0.0f);
  opnv.values["OPNV.NET.LENGTH"] = 12.5;
  opnv.values["OPNV.NET.EXCLUSIVELENGTH"] = 3;
  EXPECT_EQ(dx.DXCalc_OpnvNetLength(), 12.5f);
  EXPECT_EQ(dx.DXCalc_OpnvNetExclusiveLength(), 3.0f);
  EXPECT_EQ(dx.GetOpnvNetLength(), 12.5f);
  EXPECT_EQ(dx.GetOpnvNetExclusiveLength(), 3.0f);
}

TEST_F(Derived, TheStreetDistributionIsComputedWhenFirstAskedAndAMapWithoutBuildingsIsSparse) {
  EXPECT_EQ(dx.Block().streetNet[0], -1.0f);
  float c1 = -2, c2 = -2, c4 = -2, rail = -2;
  dx.GetStreetDistribution(&c1, &c2, &c4, &rail);
  // No network: every length is computed as 0, none is left at -1.
  EXPECT_EQ(c1, 0.0f);
  EXPECT_EQ(c2, 0.0f);
  EXPECT_EQ(c4, 0.0f);
  EXPECT_EQ(rail, 0.0f);
  // No map: density 0.25, separation 1 - (0 - 1.5) / 2 clamped to 1.
  EXPECT_EQ(dx.DXCalc_BebauteFlaeche(), 0.0f);
  EXPECT_EQ(dx.GetBuildingDensity(), 0.25f);
  EXPECT_EQ(dx.GetRaumtrennung(), 1.0f);
}

}  // namespace
