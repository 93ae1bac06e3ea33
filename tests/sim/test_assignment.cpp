#include <map>
#include <random>
#include <vector>

#include "sim_test_city.h"
#include "support/test_support.h"

using simtest::BuildGrid;
using simtest::MakeTrips;
using simtest::ReferenceCosts;
using simtest::TestLines;
using simtest::TripSpec;

namespace {
// Runs the slot's hour and returns the state codes seen before each call.
std::vector<int> RunHour(CSimTrafficSlot& slot, int* calls = nullptr) {
  std::vector<int> codes;
  int pass = 0, n = 0;
  for (;;) {
    codes.push_back(slot.GetSlotState(pass));
    ++n;
    if (slot.Computate() == 0) break;
    if (n > 100000) break;
  }
  if (calls) *calls = n;
  return codes;
}

int Count(const std::vector<int>& v, int code) {
  int n = 0;
  for (int c : v) n += c == code;
  return n;
}

struct LineSlot : ::testing::Test {
  // P(1) -> Q(2) -> R(3) and back, plus a spur 2 -> 4.
  CSimTrafficSlot slot{nullptr, nullptr};
  void SetUp() override {
    slot.Create(1, CSimDate(8), nullptr);
    for (short c = 1; c <= 4; ++c) slot.AddCrossing(c, SIM_CROSSING_NONE, 30, 30);
    slot.AddStreet(1, 1, 1, 2, 3, 417, -1.0, 0);
    slot.AddStreet(2, 2, 1, 3, 3, 556, -1.0, 0);
    slot.AddStreet(3, 3, 3, 2, 1, 556, -1.0, 0);
    slot.AddStreet(4, 2, 3, 1, 1, 417, -1.0, 0);
    slot.AddStreet(5, 2, 2, 4, 0, 300, -1.0, 0);
  }
};
}  // namespace

using Assignment = LineSlot;

TEST_F(Assignment, AnHourWithoutTripsRoutesOnceAndWritesBack) {
  ASSERT_TRUE(slot.SwitchToComputateMode(nullptr));
  int pass = 0;
  EXPECT_EQ(slot.GetSlotState(pass), 2);
  EXPECT_EQ(slot.Computate(), 2);
  EXPECT_EQ(slot.Computate(), 1);  // the pass starts
  EXPECT_EQ(slot.GetSlotState(pass), 4);
  EXPECT_EQ(slot.Computate(), 1);  // its only slice
  EXPECT_EQ(slot.Computate(), 0);  // write-back
  EXPECT_EQ(slot.Mode(), 2);
  EXPECT_EQ(slot.GetSlotState(pass), 6);
  EXPECT_EQ(pass, 1);
  EXPECT_EQ(slot.AssignmentCalls(), 0);
  EXPECT_EQ(slot.Computate(), 0);  // done slots refuse
  EXPECT_EQ(slot.pRoute(1, 3)->cost, 90);
}

TEST_F(Assignment, RouteThroughQLoadsBothStreetsAndTheTurn) {
  // Crossing 4 is a dead end: its trip finds no route and loads nothing.
  ASSERT_TRUE(slot.SwitchToComputateMode(
      MakeTrips({{1, 3, 7, SIM_MODE_CAR}, {2, 2, 5, SIM_MODE_CAR}, {4, 1, 9, SIM_MODE_CAR}})));
  RunHour(slot);
  EXPECT_EQ(slot.CarFlow(4, nullptr), 0);
  EXPECT_EQ(slot.pRoute(4, 1)->cost, Route::kNoRoute);
  EXPECT_EQ(slot.CarFlow(1, nullptr), 7);
  EXPECT_EQ(slot.CarFlow(2, nullptr), 7);
  EXPECT_EQ(slot.CarFlow(3, nullptr), 0);
  CSimCrossing* q = slot.GetCrossing(2);
  EXPECT_EQ(q->CarFlow(3, 1), 7);  // entered at side 3, left at side 1
  int total = 0;
  for (int i = 0; i < 4; ++i)
    for (int o = 0; o < 4; ++o) total += q->CarFlow(i, o);
  EXPECT_EQ(total, 7);  // the trip from Q to Q adds nothing
  short cap = 0;
  EXPECT_EQ(slot.CarFlow(2, &cap), 7);
  EXPECT_EQ(cap, 1200);
  EXPECT_EQ(slot.StreetLength(2), 556);
}

TEST_F(Assignment, SixtyOneCarTripsTakeThreeStepsEachAfterItsOwnPass) {
  std::vector<TripSpec> trips(61, TripSpec{1, 3, 1, SIM_MODE_CAR});
  for (int i = 0; i < 20; ++i) trips.push_back({3, 1, 1, SIM_MODE_WALK});  // not counted
  ASSERT_TRUE(slot.SwitchToComputateMode(MakeTrips(trips)));
  const std::vector<int> codes = RunHour(slot);
  EXPECT_EQ(slot.AssignmentCalls(), 3);
  EXPECT_EQ(Count(codes, 5), 3);  // three assignment steps
  EXPECT_EQ(Count(codes, 3), 3);  // each after a routing slice
  EXPECT_EQ(slot.Pass(), 4);
  EXPECT_EQ(slot.CarFlow(1, nullptr), 61);
  EXPECT_EQ(slot.CarFlow(4, nullptr), 0);
}

TEST_F(Assignment, PublicTransportTripsUseTheirMatrixWhenItHasARoute) {
  TestLines lines;
  lines.Add(LineDataType::kNetBus, 7, {1, 2}, {0, 120}, 10);
  CBusNetMatrix bus(&lines);
  bus.Create();
  while (bus.CalcBusNetMatrix(30, 1000)) {
  }
  CBusNetMatrix* first = nullptr;
  CBusNetMatrix* second = &bus;
  CSimTrafficSlot s(&first, &second);
  s.Create(1, CSimDate(9), &slot);
  ASSERT_TRUE(s.SwitchToComputateMode(MakeTrips({{1, 3, 4, SIM_MODE_BUS, 1, 2}, {1, 3, 6, SIM_MODE_BUS, 5, 6}})));
  RunHour(s);
  EXPECT_EQ(s.CarFlow(1, nullptr), 6);  // the one without a line route drives
  EXPECT_EQ(lines.lines[0].passengers[9], 4);
  EXPECT_EQ(lines.lines[0].passengers[8], 0);
}

TEST_F(Assignment, AChangedBusNetIsRebuiltAndSwappedIn) {
  TestLines lines;
  lines.Add(LineDataType::kNetBus, 1, {1, 2}, {0, 60}, 10);
  CBusNetMatrix a(&lines), b(&lines);
  a.Create();
  b.Create();
  lines.Add(LineDataType::kNetBus, 2, {2, 3}, {0, 60}, 10);  // a new line the old matrices do not know
  CBusNetMatrix* first = &a;
  CBusNetMatrix* second = &b;
  simtest::TestParts parts;
  parts.busChanged = true;
  CSimTrafficSlot s(&first, &second, &parts);
  s.Create(1, CSimDate(9), &slot);
  s.SwitchToComputateMode(MakeTrips({{1, 3, 5, SIM_MODE_BUS, 1, 3}}));
  RunHour(s);
  EXPECT_EQ(first, &b);
  EXPECT_EQ(second, &a);
  EXPECT_TRUE(a.Closed());
  EXPECT_EQ(a.NrOfMatrixStops(), 4);
  EXPECT_EQ(s.CarFlow(1, nullptr), 0);  // the new route over both lines took the trip
  EXPECT_EQ(lines.lines[0].passengers[9], 5);
  EXPECT_EQ(lines.lines[1].passengers[9], 5);
}

TEST(AssignmentGrid, CongestionSpreadsTripsAndTheFinalMatrixIsExact) {
  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(7), nullptr);
  std::mt19937 rng(3);
  BuildGrid(slot, 6, 6, [&](int) { return 200 + static_cast<int>(rng() % 400); });
  std::vector<TripSpec> trips;
  std::map<short, int> starts, ends;
  for (int i = 0; i < 400; ++i) {
    const short a = static_cast<short>(1 + rng() % 36), b = static_cast<short>(1 + rng() % 36);
    const unsigned size = 1 + rng() % 60;
    trips.push_back({a, b, size, SIM_MODE_CAR});
    if (a != b) {
      starts[a] += static_cast<int>(size);
      ends[b] += static_cast<int>(size);
    }
  }
  ASSERT_TRUE(slot.SwitchToComputateMode(MakeTrips(trips)));
  RunHour(slot);
  ASSERT_EQ(slot.Mode(), 2);
  // Every vehicle that enters a crossing turns there or ends its trip, and
  // every one that leaves turned there or started there.
  for (short c = 1; c <= 36; ++c) {
    CSimCrossing* x = slot.GetCrossing(c);
    int in = 0, out = 0, turns = 0;
    for (int d = 0; d < 4; ++d) {
      if (x->pInStreet(d)) in += x->pInStreet(d)->CarFlow();
      if (x->pOutStreet(d)) out += x->pOutStreet(d)->CarFlow();
      for (int o = 0; o < 4; ++o) turns += x->CarFlow(d, o);
    }
    EXPECT_EQ(in, turns + ends[c]) << "crossing " << c;
    EXPECT_EQ(out, turns + starts[c]) << "crossing " << c;
  }
  const auto ref = ReferenceCosts(slot);
  const CSimRoutingMatrix& r = slot.Routing();
  for (int i = 0; i < r.N(); ++i)
    for (int j = 0; j < r.N(); ++j) ASSERT_EQ(r.Entry(i, j)->cost, ref[i][j]);
}

TEST(AssignmentGrid, LaterStepsAvoidAStreetEarlierStepsFilled) {
  // A direct street of 30 s and a detour over two 10 s streets (40 s with
  // the crossing): the first step takes the direct street, its load makes
  // the detour the better way for the next.
  CSimTrafficSlot slot(nullptr, nullptr);
  slot.Create(1, CSimDate(7), nullptr);
  for (short c = 1; c <= 3; ++c) slot.AddCrossing(c, SIM_CROSSING_NONE, 30, 30);
  slot.AddStreet(1, 1, 1, 2, 3, 417, -1.0, 0);
  slot.AddStreet(2, 1, 2, 3, 0, 139, -1.0, 0);
  slot.AddStreet(3, 3, 1, 2, 2, 139, -1.0, 0);
  ASSERT_TRUE(slot.SwitchToComputateMode(MakeTrips(std::vector<TripSpec>(60, TripSpec{1, 2, 50, SIM_MODE_CAR}))));
  RunHour(slot);
  EXPECT_EQ(slot.CarFlow(1, nullptr) + slot.CarFlow(2, nullptr), 3000);
  EXPECT_EQ(slot.CarFlow(1, nullptr), 1500);  // the first 30 trips, all on the same times
  EXPECT_EQ(slot.CarFlow(2, nullptr), 1500);
  EXPECT_EQ(slot.GetCrossing(3)->CarFlow(0, 1), 1500);
}
