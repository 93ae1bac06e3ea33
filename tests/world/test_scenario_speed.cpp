// The player pauses the game with the Clear key and sets its speed with the
// speed slider's call, played through the frame loop on the real game:
// paused, the time towards the next hour stands still; the slider's fast
// end lets hours begin four times as often as its slow end.
#include <gtest/gtest.h>

#include <SDL.h>

#include "gui/gui_host.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

constexpr int kMapX = 400;
constexpr int kMapY = 250;
int Hours(Scenario& game) { return game.World().GetSimWelt()->Date().TicksFromStart(); }

// Hours begun over `ms` of frames.
int HoursOver(Scenario& game, int ms) {
  const int before = Hours(game);
  game.Do(Wait(ms));
  return Hours(game) - before;
}

// What the speed slider does with the value under the mouse.
void Slide(Scenario& game, int value) {
  CGuiHost::Get()->SetGameSpeed(value);
  game.Do(Wait(40));
}

TEST(ScenarioSpeed, TheClearKeyPausesAndResumesTheGame) {
  Scenario game;
  game.Run({Move(kMapX, kMapY), Wait(40)});
  const int gathered = game.World().GetAccumulatedTime();
  game.Do(Wait(400));
  ASSERT_NE(game.World().GetAccumulatedTime(), gathered) << "the time runs before the pause";
  game.Key(SDLK_CLEAR);
  EXPECT_TRUE(game.World().IsPause());
  const int paused = game.World().GetAccumulatedTime();
  const int hours = Hours(game);
  game.Do(Wait(3 * game.World().GetGameSpeedMs()));
  EXPECT_EQ(game.World().GetAccumulatedTime(), paused);
  EXPECT_EQ(Hours(game), hours) << "no hour begins while paused";
  game.Key(SDLK_CLEAR);
  EXPECT_FALSE(game.World().IsPause());
  // The time runs on: the paused time is taken up at the first running
  // turn, so an hour begins within one hour's time at the most.
  game.Do(Wait(game.World().GetGameSpeedMs()));
  EXPECT_GT(Hours(game), hours);
}

TEST(ScenarioSpeed, TheSpeedSliderSetsHowOftenHoursBegin) {
  Scenario game;
  game.Run({Move(kMapX, kMapY), Wait(40)});
  // The slow end: 24000 ms an hour.
  Slide(game, CGuiHost::Get()->GetGameSpeedMin());
  EXPECT_EQ(game.World().GetGameSpeedMs(), 24000);
  HoursOver(game, 24000);  // the hour under way ends
  const int slow = HoursOver(game, 48000);
  // The fast end: 6000 ms an hour.
  Slide(game, CGuiHost::Get()->GetGameSpeedMax());
  EXPECT_EQ(game.World().GetGameSpeedMs(), 6000);
  HoursOver(game, 6000);
  const int fast = HoursOver(game, 48000);
  EXPECT_GE(slow, 1);
  EXPECT_LE(slow, 2);
  EXPECT_GE(fast, 7);
  EXPECT_LE(fast, 8);
  // The slider shows what was set, and the setting is kept for the next start.
  Slide(game, 15000);
  EXPECT_EQ(CGuiHost::Get()->GetGameSpeed(), 15000);
  EXPECT_EQ(game.World().GetGameSpeedMs(), 15000);
  EXPECT_EQ(game.World().GetEnvValue("GAMESPEED", 0), 15000);
}

}  // namespace
