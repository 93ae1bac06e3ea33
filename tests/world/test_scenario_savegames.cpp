// The player saves and loads the fast savegame by its keys: the save runs
// after the frames that show the wait cursor, the load never without the
// player's yes, and the game loaded is the one saved. Played through the
// frame loop on the real game.
#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>

#include "network/str_junction_list.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

constexpr const char* kFastSave = "SaveGame/FASTSAVE.AUD";
constexpr const char* kFastSaveCompanion = "SaveGame/FASTSAVE.AUM";
// The warning window.
constexpr int kWarning = 220;
// The yes button of the question window.
constexpr int kYes[2] = {250 + 16 + 28, 150 + 83 + 8};

bool Exists(const char* path) { return std::filesystem::exists(path); }

int Junctions(Scenario& game) { return static_cast<int>(game.World().GetStreetNet()->GetNumber()); }

void BuildStreet(Scenario& game, int x1, int y1, int x2, int y2) {
  CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
  ASSERT_EQ(game.World().GetStreetNet()->CreateStreet(&line, STRASSE_1), STR_BUILD_OK);
}

TEST(ScenarioSavegames, TheSaveKeyShowsTheWaitCursorThenWritesTheFastSave) {
  Scenario game;
  game.Run({Move(400, 250), Wait(40)});
  game.Do(KeyDown(SDLK_F4));
  EXPECT_EQ(game.Ui().GetCursorID(), CUserInt::kCursorWait);
  EXPECT_FALSE(Exists(kFastSave)) << "nothing is saved inside the key's own frame";
  game.Run({KeyUp(SDLK_F4), Wait(200)});
  ASSERT_TRUE(Exists(kFastSave));
  EXPECT_TRUE(Exists(kFastSaveCompanion));
  EXPECT_FALSE(Exists("SaveGame/FASTSAVE.AUD.new"));
  EXPECT_EQ(ReadFile(kFastSave).compare(0, 18, std::string("ZORVANTA SAVEGAME\0", 18)), 0);
  EXPECT_EQ(game.Ui().GetCursorID(), 1409);
}

// The load key's question, answered yes, brings back the fast save that
// the save key wrote: the street built after the save is gone. Without a
// fast save the player is told so and the game goes on as it was. The
// automatic savegame "AUTOSAVE.AUD", which the game reads but never writes,
// plays no part: in a laid-out game it is the supplied starting town.
TEST(ScenarioSavegames, TheLoadKeyLoadsTheFastSaveOnlyAfterYes) {
  Scenario game;
  game.Run({Move(400, 250), Wait(40)});
  BuildStreet(game, 60, 60, 60, 66);
  const int saved = Junctions(game);
  // No fast save yet: yes finds none.
  game.Key(SDLK_F5).Do(Wait(100));
  ASSERT_TRUE(game.Ui().IsAchtungWindowJaNein(CUserInt::kQuestionReplaceGame));
  game.Click(kYes[0], kYes[1]).Do(Wait(1500));
  EXPECT_EQ(Junctions(game), saved) << "no fast save: the game goes on as it was";
  EXPECT_TRUE(game.IsOpen(kWarning)) << "the player is told that there is no game to load";
  game.ClickIn(kWarning, 290, 9);
  game.Do(Wait(40));
  ASSERT_FALSE(game.IsOpen(kWarning));

  game.Key(SDLK_F4).Do(Wait(1500));
  ASSERT_TRUE(Exists(kFastSave));
  BuildStreet(game, 60, 63, 66, 63);
  const int built = Junctions(game);
  ASSERT_GT(built, saved);
  // The key only asks; without a yes nothing is loaded.
  game.Key(SDLK_F5).Do(Wait(500));
  EXPECT_EQ(Junctions(game), built);
  ASSERT_EQ(game.Ui().IsWindowOpen(247), 0) << "the question is open";
  // The load waits as many frames as the save, with the wait cursor.
  game.Click(kYes[0], kYes[1]).Do(Wait(1500));
  EXPECT_EQ(Junctions(game), saved) << "the street built after the save is gone";
  EXPECT_FALSE(game.IsOpen(kWarning));
}

}  // namespace
