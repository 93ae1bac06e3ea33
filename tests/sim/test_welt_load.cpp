// The hour that a load makes active: the loaded people's trips of the saved
// hour are taken at the load, its routing pass runs in slices on the following Computate() calls, and every
// reader of the active hour, and the start of the next hour, sees the same
// flows as a pass run at once.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "sim/sim_error.h"
#include "sim_test_city.h"
#include "sim_test_grid.h"
#include "support/test_support.h"

using simtest::TestParts;
using simtest::BuildWorldGrid;
using simtest::SomeTrips;

namespace {

// The hour a load computes is the saved one, the active hour of a new world
// (6); a pass run at once on a new world computes its editing hour (7).
constexpr int kLoadedHour = 6, kEditingHour = 7;

// Every street's flow and one crossing's turning flows of the active hour.
std::vector<int> Flows(CSimWelt& w) {
  std::vector<int> flows;
  for (short s = 1; s <= 48; ++s) flows.push_back(w.CarFlow(s));
  CSimCrossing* c = w.ActiveSlot()->GetCrossing(6);
  for (int i = 0; i < 4; ++i)
    for (int o = 0; o < 4; ++o) flows.push_back(c->CarFlow(i, o));
  return flows;
}

struct LoadedWorld {
  TestParts parts;
  CSimWelt w{&parts};
  // With `hourTrips`, the file of an hour's saved trips is taken before the
  // load, and the loaded people make no trips in the loaded hour.
  explicit LoadedWorld(bool load, const char* hourTrips = nullptr) {
    parts.trips[kLoadedHour] = parts.trips[kEditingHour] = SomeTrips(400, 29);
    if (hourTrips) parts.trips.erase(kLoadedHour);
    EXPECT_TRUE(w.Create(nullptr));
    BuildWorldGrid(w);
    if (!load) return;
    if (hourTrips) {
      FILE* f = std::fopen(hourTrips, "rb");
      EXPECT_TRUE(w.TakeHourTrips(f, static_cast<uint32_t>(zortest::ReadFile(hourTrips).size())));
      std::fclose(f);
    }
    // A saved world's date and city; the network is the one just built, as
    // the street records build it before the demand model's block is read.
    {
      TestParts other;
      CSimWelt saved(&other);
      EXPECT_TRUE(saved.Create(nullptr));
      FILE* f = std::fopen("hour.sav", "wb");
      EXPECT_TRUE(saved.Save(f));
      std::fclose(f);
    }
    FILE* f = std::fopen("hour.sav", "rb");
    EXPECT_TRUE(w.Load(f));
    std::fclose(f);
  }
};

struct LoadedHourTest : ::testing::Test {
  void TearDown() override { SimCloseErrorLog(); }
};

// The hour computed the way a load computed it all at once: the network
// started as an hour without a model step, run to its end and activated.
std::vector<int> AtOnce() {
  LoadedWorld world(false);
  world.w.StartNextIntervall(false);
  while (world.w.Computate(1) != 0) {
  }
  world.w.ActivateCalculatedSlot();
  return Flows(world.w);
}

}  // namespace

TEST_F(LoadedHourTest, ThePassRunInSlicesOrOnTheFirstReadGivesTheFlowsOfAPassRunAtOnce) {
  const std::vector<int> reference = AtOnce();
  int loaded = 0;
  for (int v : reference) loaded += v;
  ASSERT_GT(loaded, 0) << "the trips load the streets";

  LoadedWorld sliced(true);
  // The saved hour's trips were taken at the load, after the city was read.
  EXPECT_EQ(sliced.parts.city->tripHours.back(), kLoadedHour);
  EXPECT_EQ(sliced.parts.city->loadsBeforeTrips.back(), 1);
  ASSERT_TRUE(sliced.w.LoadedHourPending());
  int calls = 0;
  while (sliced.w.LoadedHourPending() && calls < 100000) {
    // The world's own hour is not held up meanwhile.
    EXPECT_EQ(sliced.w.Computate(0), 0);
    ++calls;
  }
  EXPECT_GT(calls, 1) << "the pass runs in slices";
  EXPECT_FALSE(sliced.w.LoadedHourPending());
  EXPECT_EQ(Flows(sliced.w), reference);

  LoadedWorld read(true);
  ASSERT_TRUE(read.w.LoadedHourPending());
  EXPECT_EQ(read.w.CarFlow(1), reference[0]);
  EXPECT_FALSE(read.w.LoadedHourPending());
  EXPECT_EQ(Flows(read.w), reference);
  EXPECT_EQ(read.w.Date().TicksFromStart(), 6) << "the saved date";
}

TEST_F(LoadedHourTest, TheNextHourStartsOnTheFinishedLoadedHour) {
  const std::vector<int> reference = AtOnce();
  LoadedWorld world(true);
  ASSERT_TRUE(world.w.LoadedHourPending());
  ASSERT_GT(world.w.StartNextIntervall(true), 0);
  EXPECT_FALSE(world.w.LoadedHourPending());
  CSimTrafficSlot* loaded = world.w.ActiveSlot();
  // The new hour computes beside the loaded one, which stays active until
  // the new one is activated.
  while (world.w.Computate(1) != 0) {
  }
  EXPECT_EQ(Flows(world.w), reference);
  EXPECT_TRUE(world.w.ActivateCalculatedSlot());
  EXPECT_NE(world.w.ActiveSlot(), loaded);
}

TEST_F(LoadedHourTest, AWorldDestroyedWithItsPassPendingStartsClean) {
  LoadedWorld world(true);
  ASSERT_TRUE(world.w.LoadedHourPending());
  ASSERT_TRUE(world.w.Destroy());
  EXPECT_FALSE(world.w.LoadedHourPending());
  ASSERT_TRUE(world.w.Create(nullptr));
  EXPECT_FALSE(world.w.LoadedHourPending());
  BuildWorldGrid(world.w);
  FILE* f = std::fopen("hour.sav", "rb");
  ASSERT_TRUE(world.w.Load(f));
  std::fclose(f);
  EXPECT_TRUE(world.w.LoadedHourPending());
  EXPECT_EQ(Flows(world.w), AtOnce());
}

// The trips an hour was computed with, saved and taken for the next load,
// compute the loaded hour in place of the loaded people's trips of that
// hour. A list with a trip of no known mode, an oversized trip or a count
// that does not match its bytes is refused and leaves no trips behind.
TEST_F(LoadedHourTest, TheHoursSavedTripsComputeTheLoadedHour) {
  const std::vector<int> reference = AtOnce();
  {
    LoadedWorld world(false);
    world.w.StartNextIntervall(false);
    while (world.w.Computate(1) != 0) {
    }
    world.w.ActivateCalculatedSlot();
    FILE* f = std::fopen("trips.sav", "wb");
    ASSERT_TRUE(world.w.SaveHourTrips(f));
    std::fclose(f);
    EXPECT_EQ(zortest::ReadFile("trips.sav").size(), world.w.HourTripsSize());
    EXPECT_EQ(world.w.HourTripsSize(), 4u + 400u * 16u);
  }
  LoadedWorld loaded(true, "trips.sav");
  EXPECT_EQ(Flows(loaded.w), reference);
  // Asked for once, by the new world's first hour, and not by the load.
  const std::vector<int>& asked = loaded.parts.city->tripHours;
  EXPECT_EQ(std::count(asked.begin(), asked.end(), kLoadedHour), 1) << "the loaded people's trips are not asked for";

  const std::string good = zortest::ReadFile("trips.sav");
  std::string unknownMode = good, oversized = good, miscounted = good;
  unknownMode[4] = 2;
  for (int i = 0; i < 4; ++i) oversized[4 + 12 + static_cast<size_t>(i)] = '\x7f';
  miscounted[0] = static_cast<char>(miscounted[0] + 1);
  for (const std::string& bytes : {unknownMode, oversized, miscounted}) {
    zortest::WriteFile("bad.sav", bytes);
    FILE* f = std::fopen("bad.sav", "rb");
    EXPECT_FALSE(loaded.w.TakeHourTrips(f, static_cast<uint32_t>(bytes.size())));
    std::fclose(f);
  }
  // Refused lists leave nothing for a load: the hour comes from the people.
  FILE* f = std::fopen("hour.sav", "rb");
  ASSERT_TRUE(loaded.w.Load(f));
  std::fclose(f);
  EXPECT_EQ(loaded.parts.city->tripHours.back(), kLoadedHour);
}
