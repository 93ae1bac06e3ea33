#pragma once
// What the benchmarks of a whole town share: homes, workplaces and a centre
// of shops, a school and leisure in each district of a grid city, each near
// a crossing, and agents moved into them.
#include <memory>
#include <vector>

#include "../../tests/sim/sim_test_locations.h"
#include "sim/sim_city_model.h"

// In each district of `rows` rows of the 16 columns: the three locations of
// the capacities, near the crossing `crossing(column, row)` gives. False when
// the city refuses one.
template <class Crossing>
bool AddTownLocations(CSimCityModell& city, int rows, const simtest::Capacities (&kinds)[3], Crossing crossing,
                      std::vector<std::unique_ptr<CSimLocation>>& locations) {
  for (int dx = 0; dx < CSimCityModell::kGrid; ++dx)
    for (int dy = 0; dy < rows; ++dy)
      for (const simtest::Capacities& c : kinds) {
        locations.push_back(
            simtest::MakeLocation(dx * 8 + 1 + static_cast<int>(locations.size() % 3) * 2, dy * 8 + 4, c));
        locations.back()->SetNearestCrossing(crossing(dx, dy));
        if (!city.RegisterLocation(locations.back().get(), 0)) return false;
      }
  return true;
}

// Agents of 50 moved into the districts in turn until there are `agents`;
// a district whose homes are taken is passed over. True when all came.
inline bool AddTownAgents(CSimCityModell& city, int agents, int rows) {
  for (int i = 0; city.NrOfAgents() < agents && i < 4 * agents; ++i) {
    try {
      city.CreateNewAgent(city.pDistrict(static_cast<short>(1 + (i % 16) + 16 * ((i / 16) % rows))));
    } catch (const char*) {
      // A district whose homes are taken; the next one is asked.
    }
  }
  return city.NrOfAgents() == agents;
}
