// The player saves and loads the automatic game by its keys: the save runs
// after the frames that show the wait cursor, the load never without the
// player's yes. Played through the frame loop on the real game, whose
// savegame container is still a stand-in: every save and load it is asked
// for fails and leaves no file behind.
#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>

#include "framework/zor_stand_in.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

int Saves() { return ZorStandInCount("CZorvaWorld::AutoSaveGame"); }
int Loads() { return ZorStandInCount("CZorvaWorld::AutoLoadGame"); }

bool AnySavegame() {
  return std::filesystem::exists("SaveGame") && !std::filesystem::is_empty("SaveGame");
}

TEST(ScenarioSavegames, TheSaveKeyShowsTheWaitCursorThenTriesToSaveOnce) {
  Scenario game;
  game.Run({Move(400, 250), Wait(40)});
  const int before = Saves();
  game.Do(KeyDown(SDLK_F4));
  EXPECT_EQ(game.Ui().GetCursorID(), CUserInt::kCursorWait);
  EXPECT_EQ(Saves(), before) << "nothing is saved inside the key's own frame";
  game.Run({KeyUp(SDLK_F4), Wait(200)});
  EXPECT_EQ(Saves(), before + 1);
  EXPECT_EQ(game.Ui().GetCursorID(), 1409);
  game.Do(Wait(500));
  EXPECT_EQ(Saves(), before + 1);
  EXPECT_FALSE(AnySavegame()) << "the savegame container writes nothing yet";
}

TEST(ScenarioSavegames, TheLoadKeyLoadsNothingWithoutTheQuestion) {
  Scenario game;
  game.Run({Move(400, 250), Wait(40)});
  const int before = Loads();
  // The key only asks; without a yes nothing is loaded, pressed once or twice.
  game.Key(SDLK_F5).Do(Wait(500));
  game.Key(SDLK_F5).Do(Wait(500));
  EXPECT_EQ(Loads(), before);
  EXPECT_EQ(CUserInt::selObj.doLater, 0);
}

}  // namespace
