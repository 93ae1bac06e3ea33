// The starting town played at 60 frames a second on the hand-driven clock:
// the demand simulation computes each hour within a time budget per turn,
// so a paced frame loop computes an hour at least as fast as one that ran
// frames back to back with a step per turn.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "network/str_junction_list.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

struct StartingTown : testing::Test {
  std::unique_ptr<Scenario> game;
  void SetUp() override {
    std::filesystem::create_directories("SaveGame");
    for (const char* f : {"STARTUP.AUD", "STARTUP.AUM"})
      std::filesystem::copy_file(BinaryDir() + "/gamedata/SaveGame/" + f, std::string("SaveGame/") + f);
    game = std::make_unique<Scenario>("AUTOLOAD=1\n");
    ASSERT_NE(World().GetStreetNet()->GetHead(), nullptr) << "the starting town is loaded";
  }
  CZorvaWorld& World() { return game->World(); }
  CSimWelt& Sim() { return *World().GetSimWelt(); }
  int Hour() { return Sim().Date().TicksFromStart(); }
  bool Computing() { return Sim().ComputateState() != 0 || World().GetCalculatedPending() > 0; }
  // One frame at 60 a second: 16 or 17 ms of the clock before it.
  void Frame(int n) {
    Clock().Advance(n % 3 == 0 ? 16 : 17);
    game->Do(Frames(1));
  }
};

TEST_F(StartingTown, OnAStillClockEachHourIsComputedInTheTurnThatStartsIt) {
  // A stepwise turn needed one frame per step of the hour; the budget of
  // time never runs out while the clock stands still within a turn.
  int hours = 0;
  int computingFrames = 0;
  for (int n = 0; n < 60 * 40 && hours < 3; ++n) {
    const int before = Hour();
    Frame(n);
    if (Hour() != before) ++hours;
    if (Computing()) ++computingFrames;
  }
  EXPECT_EQ(hours, 3);
  EXPECT_EQ(computingFrames, 0);
  EXPECT_FALSE(World().HasComputationDue());
}

TEST_F(StartingTown, ABusyTurnComputesForItsBudgetAndTheNextGoesOn) {
  // Every look at the clock costs a millisecond: the turns run out of
  // their budget, and an hour is spread over a few of them.
  Clock().SetReadCost(1);
  int computingFrames = 0;
  int hours = 0;
  for (int n = 0; n < 60 * 40 && hours < 2; ++n) {
    const int before = Hour();
    Clock().ForgetWaits();
    Frame(n);
    if (Hour() != before) ++hours;
    if (!Computing()) continue;
    ++computingFrames;
    EXPECT_TRUE(World().HasComputationDue());
    EXPECT_EQ(Clock().Waits(), 0) << "a loop computing an hour does not wait, frame " << n;
  }
  ASSERT_EQ(hours, 2);
  EXPECT_GT(computingFrames, 0) << "the budget ends a turn's computing";

  // The next hour stepped as the turn stepped it before it had a budget:
  // at best two calls a turn, held by the game's step spacing. Each hour
  // now takes no more frames than that.
  Clock().SetReadCost(0);
  World().SetPause(true);
  EXPECT_FALSE(World().HasComputationDue()) << "a paused game computes nothing";
  ASSERT_NE(Sim().StartNextIntervall(true), 0);
  const int spacing = World().GetGameSpeedMs() > 6999 ? 3 : 1;
  int calls = 1;
  while (Sim().Computate(spacing) != 0) ++calls;
  const int stepwiseFrames = (calls + 1) / 2;
  EXPECT_LE(computingFrames, hours * stepwiseFrames);
  Sim().ActivateCalculatedSlot();
  World().GetStreetNet()->UpdateCarFlow();
  World().SetPause(false);
}

}  // namespace
