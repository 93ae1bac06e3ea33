// The player pauses the game with the Clear key and drags a speed slider
// with the mouse, played through the frame loop on the real game: paused,
// the time towards the next hour stands still; the slider's fast end lets
// hours begin four times as often as its slow end.
#include <gtest/gtest.h>

#include <SDL.h>

#include "gui/dialog.h"
#include "gui/gui_host.h"
#include "gui/gui_types.h"
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

// A window with a speed slider, as the options build theirs: a bar that
// takes the press (8), follows the held button (19) and lets go (9), and
// a knob. The bar runs from x 215 to 394 at y 210 to 219.
constexpr int kSliderWindow = 990;
constexpr int kBarLeft = 200 + 10 + 5;
constexpr int kBarWidth = 180;
constexpr int kBarY = 200 + 10 + 5;

void AddSpeedSlider(CZorvaWorld& world) {
  world.AddWindow(kSliderWindow, 200, 200, 300, 60, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
  world.AddDialog(kSliderWindow, 1, 10, 10, 200, 30, DIALOG_SPEED_SLIDER, "SPEED");
  world.AddItem(kSliderWindow, 1, 5, 0, kBarWidth, 10, 10, FILL_SOLID, 1, 2);
  world.AddAction(kSliderWindow, 1, -2, 8, WHEN_LEFT_DOWN, INOUT_INSIDE, 0, 0, 0, nullptr, 0);
  world.AddAction(kSliderWindow, 1, -2, 9, WHEN_LEFT_UP, INOUT_ALWAYS, 0, 0, 0, nullptr, 0);
  world.AddAction(kSliderWindow, 1, -2, 19, WHEN_LEFT_HELD, INOUT_ALWAYS, 0, 0, 0, nullptr, 0);
  world.AddItem(kSliderWindow, 1, 0, 0, 11, 18, 2, 28545, -1);
  world.ActivateWindow(kSliderWindow);
}

// Drags the knob from the bar to x.
void Slide(Scenario& game, int x) { game.Drag(kBarLeft + 40, kBarY, x, kBarY).Do(Wait(40)); }

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
  AddSpeedSlider(game.World());
  game.Do(Wait(40));
  ASSERT_EQ(game.Ui().IsWindowOpen(kSliderWindow), 0);
  // Past the bar's left end: the slow end, 24000 ms an hour.
  Slide(game, kBarLeft - 30);
  EXPECT_EQ(game.World().GetGameSpeedMs(), 24000);
  HoursOver(game, 24000);  // the hour under way ends
  const int slow = HoursOver(game, 48000);
  // Past the right end: the bar's last pixel, 6100 ms an hour.
  Slide(game, kBarLeft + kBarWidth + 30);
  EXPECT_EQ(game.World().GetGameSpeedMs(), 30000 - (6000 + 18000 * (kBarWidth - 1) / kBarWidth));
  HoursOver(game, 7000);
  const int fast = HoursOver(game, 48000);
  EXPECT_GE(slow, 1);
  EXPECT_LE(slow, 2);
  EXPECT_GE(fast, 7);
  EXPECT_LE(fast, 8);
  // Halfway: 15000 ms an hour, kept for the next start.
  Slide(game, kBarLeft + kBarWidth / 2);
  EXPECT_EQ(game.World().GetGameSpeedMs(), 15000);
  EXPECT_EQ(CGuiHost::Get()->GetGameSpeed(), 15000);
  EXPECT_EQ(game.World().GetEnvValue("GAMESPEED", 0), 15000);
}

}  // namespace
