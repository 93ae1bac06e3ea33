// The results of whole simulated hours on generated cities, held to fixed
// fingerprints: every street's flow, every crossing's turning flows and the
// final route matrix. Grids with integer travel times have many routes of
// equal cost, so these fingerprints also pin which of them an hour picks.
#include <cstdint>
#include <random>
#include <vector>

#include "sim_test_city.h"
#include "support/test_support.h"

using simtest::BuildGrid;
using simtest::MakeTrips;
using simtest::ReferenceCosts;
using simtest::TripSpec;

namespace {

struct Fnv {
  uint64_t h = 1469598103934665603ull;
  void Add(int64_t v) {
    for (int i = 0; i < 8; ++i) {
      h ^= static_cast<uint64_t>(v >> (8 * i)) & 0xff;
      h *= 1099511628211ull;
    }
  }
};

struct HourResult {
  uint64_t flows = 0;   // streets in id order, then the crossings' turning flows
  uint64_t matrix = 0;  // cost, length, first and last street of every entry
  long totalFlow = 0;
  int passes = 0;
};

struct CityShape {
  int w, h, trips;
  unsigned seed;
  int maxSize;  // trip sizes 1..maxSize
  bool oneWays;  // a few streets removed, so some pairs have no route
  bool signals;  // every seventh crossing has traffic lights
};

HourResult RunCity(const CityShape& shape) {
  std::mt19937 rng(shape.seed);
  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(8), nullptr);
  BuildGrid(slot, shape.w, shape.h, [&](int) { return 150 + static_cast<int>(rng() % 400); });
  const int n = shape.w * shape.h;
  if (shape.oneWays)
    for (short id = 3; id < 2 * n; id += 37) slot.RemoveStreet(id);
  if (shape.signals)
    for (short c = 1; c <= n; c += 7) slot.SetCrossingType(c, SIM_CROSSING_SIGNAL);
  std::vector<TripSpec> specs;
  for (int i = 0; i < shape.trips; ++i) {
    const auto from = static_cast<short>(1 + rng() % n);
    const auto to = static_cast<short>(1 + rng() % n);
    specs.push_back({from, to, 1 + static_cast<unsigned>(rng() % shape.maxSize), SIM_MODE_CAR});
  }
  EXPECT_TRUE(slot.SwitchToComputateMode(MakeTrips(specs)));
  int guard = 0;
  while (slot.Computate() != 0 && ++guard < 10000000) {
  }
  HourResult r;
  r.passes = slot.Pass();
  Fnv flows;
  const CSimRoutingMatrix& m = slot.Routing();
  for (int e = 0; e < m.NrOfStreets(); ++e) {
    CSimStreet* s = m.Street(e);
    flows.Add(s->ID());
    flows.Add(s->CarFlow());
    r.totalFlow += s->CarFlow();
  }
  for (int c = 0; c < m.N(); ++c)
    for (int in = 0; in < 4; ++in)
      for (int out = 0; out < 4; ++out) flows.Add(m.Crossing(c)->CarFlow(in, out));
  r.flows = flows.h;
  Fnv matrix;
  for (int to = 0; to < m.N(); ++to)
    for (int from = 0; from < m.N(); ++from) {
      const Route* e = m.Entry(from, to);
      matrix.Add(e->cost);
      matrix.Add(e->length);
      matrix.Add(e->firstStreet);
      matrix.Add(e->lastStreet);
    }
  r.matrix = matrix.h;
  // The final matrix holds the shortest routes of the loaded network.
  const auto ref = ReferenceCosts(slot);
  for (int i = 0; i < m.N(); ++i)
    for (int j = 0; j < m.N(); ++j) EXPECT_EQ(m.Entry(i, j)->cost, ref[i][j]) << i << " -> " << j;
  return r;
}

}  // namespace

// A mid-sized city lightly loaded: most blocks of 30 trips see nearly free
// streets, where equal-cost alternatives are most common.
TEST(HourResults, LightlyLoadedGridKeepsItsFlowsAndRoutes) {
  const HourResult r = RunCity({20, 15, 1500, 11, 1, false, false});
  EXPECT_EQ(r.passes, 51);
  EXPECT_GT(r.totalFlow, 0);
  EXPECT_EQ(r.flows, 0x8489256ff9333868ull);
  EXPECT_EQ(r.matrix, 0xb83f66bcd7484223ull);
}

// A small city with large trips: streets jam, travel times grow by orders
// of magnitude during the hour and some reach the cap.
TEST(HourResults, CongestedGridKeepsItsFlowsAndRoutes) {
  const HourResult r = RunCity({9, 7, 2400, 23, 300, false, true});
  EXPECT_EQ(r.passes, 81);
  EXPECT_EQ(r.flows, 0xda8e54604222a909ull);
  EXPECT_EQ(r.matrix, 0xbf01a33a6a83337cull);
}

// One-way pieces leave some pairs without a route; their trips load nothing.
TEST(HourResults, GridWithOneWayPiecesKeepsItsFlowsAndRoutes) {
  const HourResult r = RunCity({16, 12, 1800, 5, 40, true, true});
  EXPECT_EQ(r.passes, 61);
  EXPECT_EQ(r.flows, 0x273b99f221eb5592ull);
  EXPECT_EQ(r.matrix, 0x39076a16c53dda25ull);
}

// The same seed gives the same hour, bit for bit.
TEST(HourResults, AnHourIsDeterministic) {
  const CityShape shape{12, 10, 900, 3, 60, true, false};
  const HourResult a = RunCity(shape);
  const HourResult b = RunCity(shape);
  EXPECT_EQ(a.flows, b.flows);
  EXPECT_EQ(a.matrix, b.matrix);
  EXPECT_EQ(a.totalFlow, b.totalFlow);
}
