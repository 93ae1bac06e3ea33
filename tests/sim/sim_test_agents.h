#pragma once
// A real city model with buildings placed by hand, for the tests of agents,
// their destinations and their choices. The model stands beside a world
// that was never created, so no hour has a network slot: trips get no route
// data and every access grade is "none".
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/zor_seams.h"
#include "sim/sim_agent.h"
#include "sim/sim_city_model.h"
#include "sim/sim_district.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_welt.h"
#include "sim_test_locations.h"

namespace simtest {

// The text a call throws, empty when it throws nothing.
inline std::string Thrown(const std::function<void()>& f) {
  try {
    f();
  } catch (const char* text) {
    return text;
  }
  return "";
}

struct AgentCity : testing::Test {
  CSimLocationFactory factory;
  CSimWelt world{nullptr};
  std::unique_ptr<CSimCityModell> city = std::make_unique<CSimCityModell>();
  std::vector<std::unique_ptr<CSimLocation>> buildings;
  std::vector<CSimAgent*> agents;

  void SetUp() override {
    zor_srandom(4711);
    ASSERT_TRUE(city->Create(&factory, &world));
  }
  void TearDown() override {
    for (CSimAgent* a : agents) {
      if (a->IsValid()) a->Destroy();
      delete a;
    }
    agents.clear();
    city->Destroy();
  }

  // A building at the cell, registered in its district.
  CSimLocation* Build(int x, int y, const Capacities& c) {
    buildings.push_back(MakeLocation(x, y, c));
    EXPECT_TRUE(city->RegisterLocation(buildings.back().get(), 0));
    return buildings.back().get();
  }

  // A new agent of 50 persons living in the district of the cell; owned by
  // the fixture.
  CSimAgent* Resident(int x, int y, ESimStatusGroup group = SIM_GROUP_EMPLOYED_CAR) {
    auto* a = new CSimAgent;
    agents.push_back(a);
    a->Create(group, CSimAgent::kPersons, city.get(), city->pDistrictAt(x / 8, y / 8));
    return a;
  }

  CSimDistrict* DistrictOf(int x, int y) { return city->pDistrictAt(x / 8, y / 8); }
};

}  // namespace simtest
