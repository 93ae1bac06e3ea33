#pragma once
// A small network and trips on it for the tests of the simulation world.
#include <gtest/gtest.h>

#include <vector>

#include "sim/sim_welt.h"
#include "sim_test_city.h"

namespace simtest {

// Builds a 4 x 4 grid through the world's editing entry points.
inline void BuildWorldGrid(CSimWelt& w) {
  for (int i = 0; i < 16; ++i) ASSERT_EQ(w.AddCrossing(0), i + 1);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      const short c = static_cast<short>(y * 4 + x + 1);
      if (x < 3) {
        ASSERT_GT(w.AddStreet(c, 1, static_cast<short>(c + 1), 3, 300 + 10 * c, 0), 0);
        ASSERT_GT(w.AddStreet(static_cast<short>(c + 1), 3, c, 1, 300 + 10 * c, 0), 0);
      }
      if (y < 3) {
        ASSERT_GT(w.AddStreet(c, 2, static_cast<short>(c + 4), 0, 250 + 7 * c, 0), 0);
        ASSERT_GT(w.AddStreet(static_cast<short>(c + 4), 0, c, 2, 250 + 7 * c, 0), 0);
      }
    }
}

// Trips between crossings of the grid drawn from the seed, one in four on
// foot.
inline std::vector<TripSpec> SomeTrips(int n, unsigned seed) {
  std::vector<TripSpec> trips;
  unsigned x = seed;
  for (int i = 0; i < n; ++i) {
    x = x * 1103515245u + 12345u;
    trips.push_back({static_cast<short>(1 + (x >> 8) % 16), static_cast<short>(1 + (x >> 16) % 16),
                     1 + (x >> 4) % 40, (x >> 3) % 4 == 0 ? SIM_MODE_WALK : SIM_MODE_CAR});
  }
  return trips;
}

}  // namespace simtest
