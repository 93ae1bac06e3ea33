// The player saves and loads the automatic game by its keys: the save runs
// after the frames that show the wait cursor, the load never without the
// player's yes. Played through the frame loop on the real game.
#include <gtest/gtest.h>

#include <SDL.h>

#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

// Counts the automatic saves and loads the game asks for.
class SavegameWorld : public CZorvaWorld {
 public:
  int AutoSaveGame(bool fast) override {
    ++saves;
    fastSave = fast;
    return 0;
  }
  int AutoLoadGame(bool) override {
    ++loads;
    return 0;
  }
  int saves = 0;
  int loads = 0;
  bool fastSave = false;
};

TEST(ScenarioSavegames, TheSaveKeyShowsTheWaitCursorThenSavesOnce) {
  SavegameWorld* world = nullptr;
  Scenario game([&] { return world = new SavegameWorld; });
  game.Run({Move(400, 250), Wait(40)});
  game.Do(KeyDown(SDLK_F4));
  EXPECT_EQ(game.Ui().GetCursorID(), CUserInt::kCursorWait);
  EXPECT_EQ(world->saves, 0) << "nothing is saved inside the key's own frame";
  game.Run({KeyUp(SDLK_F4), Wait(200)});
  EXPECT_EQ(world->saves, 1);
  EXPECT_TRUE(world->fastSave);
  EXPECT_EQ(game.Ui().GetCursorID(), 1409);
  game.Do(Wait(500));
  EXPECT_EQ(world->saves, 1);
}

TEST(ScenarioSavegames, TheLoadKeyLoadsNothingWithoutTheQuestion) {
  SavegameWorld* world = nullptr;
  Scenario game([&] { return world = new SavegameWorld; });
  game.Run({Move(400, 250), Wait(40)});
  // The key only asks; without a yes nothing is loaded, pressed once or twice.
  game.Key(SDLK_F5).Do(Wait(500));
  game.Key(SDLK_F5).Do(Wait(500));
  EXPECT_EQ(world->loads, 0);
  EXPECT_EQ(CUserInt::selObj.doLater, 0);
}

}  // namespace
