// The player meets the game's windows: a bar button opens its menu and a
// second click closes it, a tool chosen from the menu brings its cursor,
// a warning shows and goes with a click, the quit question answered no lets
// the game go on, and the pause shows its mark. Played through the frame
// loop on the real game at 800 x 600.
#include <gtest/gtest.h>

#include <SDL.h>

#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/zor_frame_loop.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

// The networks button on the bar and the menu it opens above it.
constexpr int kNetworks[2] = {513, 523};
constexpr int kNetworksMenu = 20;
constexpr Region kMenuArea{489, 255, 535, 498};
// The menu's side-street button and its close button.
constexpr int kSideStreet[2] = {512, 290};
constexpr int kMenuClose[2] = {527, 262};
// A place on the bar away from its buttons, and one on the map.
constexpr int kBarX = 600;
constexpr int kBarY = 590;
constexpr int kMapX = 400;
constexpr int kMapY = 250;

constexpr int kWarning = 220;
constexpr Region kWarningArea{250, 150, 565, 230};
constexpr int kYesNo = 247;
constexpr Region kYesNoArea{250, 150, 537, 258};
// The no button of the yes/no window.
constexpr int kNo[2] = {250 + 215 + 28, 150 + 83 + 8};
constexpr Region kPauseMark{73, 15, 183, 41};

bool Open(Scenario& game, int id) { return game.Ui().IsWindowOpen(id) == 0; }

void ShowBar(Scenario& game) { game.Run({Move(kBarX, kBarY), Wait(40)}); }

TEST(ScenarioWindows, ABarButtonOpensItsMenuAndASecondClickClosesIt) {
  Scenario game;
  ShowBar(game);
  ASSERT_FALSE(Open(game, kNetworksMenu));
  const uint64_t closed = game.Fingerprint(kMenuArea);
  game.Click(kNetworks[0], kNetworks[1]).Do(Wait(40));
  EXPECT_TRUE(Open(game, kNetworksMenu));
  EXPECT_NE(game.Fingerprint(kMenuArea), closed);
  game.Shot("menu-open");
  game.Click(kNetworks[0], kNetworks[1]).Do(Wait(40));
  EXPECT_FALSE(Open(game, kNetworksMenu));
  game.Run({Move(kBarX, kBarY), Wait(40)});
  EXPECT_EQ(game.Fingerprint(kMenuArea), closed);
  // Its own close button closes it as well.
  game.Click(kNetworks[0], kNetworks[1]).Do(Wait(40));
  ASSERT_TRUE(Open(game, kNetworksMenu));
  game.Click(kMenuClose[0], kMenuClose[1]).Do(Wait(40));
  EXPECT_FALSE(Open(game, kNetworksMenu));
}

TEST(ScenarioWindows, AToolChosenFromTheMenuBringsItsCursorOverTheMap) {
  Scenario game;
  game.Run({Move(kMapX, kMapY), Wait(40)});
  const int selectCursor = game.Ui().GetCursorID();
  const uint64_t selectLook = game.Fingerprint(game.CursorRegion());
  ShowBar(game);
  game.Click(kNetworks[0], kNetworks[1]).Do(Wait(40));
  ASSERT_TRUE(Open(game, kNetworksMenu));
  game.Click(kSideStreet[0], kSideStreet[1]).Do(Wait(40));
  EXPECT_EQ(CUserInt::selObj.tool, 2);
  EXPECT_EQ(CUserInt::selObj.subtool, 1);
  game.Run({Move(kMapX, kMapY), Wait(40)});
  EXPECT_NE(game.Ui().GetCursorID(), selectCursor);
  EXPECT_NE(game.Ui().GetCursorID(), CUserInt::kCursorWindow);
  EXPECT_NE(game.Fingerprint(game.CursorRegion()), selectLook);
  game.Shot("street-tool-cursor");
}

TEST(ScenarioWindows, TheBarsMenuButtonExplainsItselfWhileTheMouseRests) {
  Scenario game;
  const Region beside{kNetworks[0] + 20, kNetworks[1] - 7, kNetworks[0] + 137, kNetworks[1] + 13};
  ShowBar(game);
  game.Run({Move(kNetworks[0], kNetworks[1]), Wait(100)});
  const uint64_t plain = game.Fingerprint(beside);
  game.Do(Wait(1000));
  ASSERT_NE(game.Ui().GetBalloonText(), nullptr);
  EXPECT_NE(game.Fingerprint(beside), plain);
  game.Run({Move(kBarX, kBarY), Wait(100)});
  EXPECT_EQ(game.Fingerprint(beside), plain);
}

// Escape closes the menu whose button the pointer rests on: its balloon
// goes with it, though the pointer has not moved.
TEST(ScenarioWindows, AMenusBalloonGoesWhenEscapeClosesTheMenu) {
  Scenario game;
  ShowBar(game);
  game.Click(kNetworks[0], kNetworks[1]).Do(Wait(40));
  ASSERT_TRUE(Open(game, kNetworksMenu));
  game.Run({Move(kSideStreet[0], kSideStreet[1]), Wait(1000)});
  ASSERT_NE(game.Ui().GetBalloonText(), nullptr);
  game.Key(SDLK_ESCAPE).Do(Wait(100));
  ASSERT_FALSE(Open(game, kNetworksMenu));
  EXPECT_EQ(game.Ui().GetBalloonText(), nullptr);
}

TEST(ScenarioWindows, AWarningShowsOverTheMapAndAClickTakesItAway) {
  Scenario game;
  game.Run({Move(kMapX, kMapY), Wait(40)});
  const uint64_t plain = game.Fingerprint(kWarningArea);
  // As the game warns when the money has run out.
  game.Ui().SetAchtungWindow(21);
  game.Do(Wait(40));
  ASSERT_TRUE(Open(game, kWarning));
  EXPECT_EQ(CUserInt::selObj.warningShown, 1);
  EXPECT_NE(game.Fingerprint(kWarningArea), plain);
  game.Shot("warning");
  game.Run({Press(kMapX + 100, kMapY), Release(kMapX + 100, kMapY), Move(kMapX, kMapY), Wait(40)});
  EXPECT_FALSE(Open(game, kWarning));
  EXPECT_EQ(CUserInt::selObj.warningShown, 0);
  EXPECT_EQ(game.Fingerprint(kWarningArea), plain);
}

TEST(ScenarioWindows, TheQuitQuestionAnsweredNoLetsTheGameGoOn) {
  Scenario game;
  game.Run({Move(kMapX, kMapY), Wait(40)});
  const uint64_t plain = game.Fingerprint(kYesNoArea);
  game.Key(SDLK_ESCAPE).Do(Wait(40));
  ASSERT_TRUE(Open(game, kYesNo));
  EXPECT_NE(game.Fingerprint(kYesNoArea), plain);
  game.Shot("quit-question");
  game.Click(kNo[0], kNo[1]).Do(Wait(40));
  EXPECT_FALSE(Open(game, kYesNo));
  EXPECT_EQ(Leave_Game, 0);
  game.Run({Move(kMapX, kMapY), Wait(40)});
  EXPECT_EQ(game.Fingerprint(kYesNoArea), plain);
  const int before = game.World().GetAccumulatedTime();
  game.Do(Wait(500));
  EXPECT_GT(game.World().GetAccumulatedTime(), before) << "the game goes on";
  // Escape while the question shows takes it away, too.
  game.Key(SDLK_ESCAPE).Do(Wait(40));
  ASSERT_TRUE(Open(game, kYesNo));
  game.Key(SDLK_ESCAPE).Do(Wait(40));
  EXPECT_FALSE(Open(game, kYesNo));
  EXPECT_EQ(Leave_Game, 0);
}

TEST(ScenarioWindows, AWindowsKeyOpensItAndClosesItWithItsPages) {
  constexpr int kThematicMap = 201;
  constexpr int kFirstPage = 202;
  Scenario game;
  game.Run({Move(kMapX, kMapY), Wait(40)});
  game.Key(SDLK_m).Do(Wait(40));
  ASSERT_TRUE(Open(game, kThematicMap));
  EXPECT_TRUE(Open(game, kFirstPage));
  game.Key(SDLK_m).Do(Wait(40));
  EXPECT_FALSE(Open(game, kThematicMap));
  EXPECT_FALSE(Open(game, kFirstPage)) << "no page stays without its frame";
  // Opening by the key closes the bar's menu first.
  ShowBar(game);
  game.Click(kNetworks[0], kNetworks[1]).Do(Wait(40));
  ASSERT_TRUE(Open(game, kNetworksMenu));
  game.Key(SDLK_m).Do(Wait(40));
  EXPECT_TRUE(Open(game, kThematicMap));
  EXPECT_FALSE(Open(game, kNetworksMenu));
  game.Shot("thematic-map-by-key");
  game.Key(SDLK_m).Do(Wait(40));
  EXPECT_FALSE(Open(game, kThematicMap));
  EXPECT_FALSE(Open(game, kFirstPage));
}

TEST(ScenarioWindows, ThePauseShowsItsMarkUntilTheGameRunsAgain) {
  Scenario game;
  game.Run({Move(kMapX, kMapY), Wait(40)});
  const uint64_t running = game.Fingerprint(kPauseMark);
  game.Key(SDLK_CLEAR).Do(Wait(40));
  ASSERT_TRUE(game.World().IsPause());
  EXPECT_NE(game.Fingerprint(kPauseMark), running);
  game.Shot("pause");
  game.Key(SDLK_CLEAR).Do(Wait(40));
  ASSERT_FALSE(game.World().IsPause());
  EXPECT_EQ(game.Fingerprint(kPauseMark), running);
}

}  // namespace
