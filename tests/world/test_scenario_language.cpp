// The player switches the language with the key L: every window, open or
// closed, then looks as it does in a game started in that language, and the
// next start keeps the choice. Played through the frame loop on the real
// game at 800 x 600.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <string>

#include "gui/gui_host.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

// The bar's thematic-map button, a place on the bar away from its buttons.
constexpr int kMapButton[2] = {218, 574};
constexpr int kBarX = 600;
constexpr int kBarY = 590;
constexpr int kThematicMap = 201;
constexpr int kCityPage = 202;
// The city page's tabs, its first two layer buttons and the bar's rating
// button; each has a German and an English picture.
constexpr Region kTabs{329, 79, 502, 94};
constexpr Region kLayerButtons{335, 105, 496, 138};
constexpr Region kRatingButton{594, 498, 646, 549};

struct Looks {
  uint64_t tabs, layers, rating;
  bool operator==(const Looks&) const = default;
};

void ShowBar(Scenario& game) { game.Run({Move(kBarX, kBarY), Wait(40)}); }

// Clicks the bar's map button and takes the mouse back to the bar.
void ClickMapButton(Scenario& game) {
  game.Click(kMapButton[0], kMapButton[1]);
  ShowBar(game);
}

Looks Take(Scenario& game) {
  EXPECT_EQ(game.Ui().IsWindowOpen(kCityPage), 0) << "the thematic map shows its city page";
  return {game.Fingerprint(kTabs), game.Fingerprint(kLayerButtons), game.Fingerprint(kRatingButton)};
}

// The looks of a game started in `language` with the thematic map open.
Looks StartedIn(int language) {
  Scenario game("LANGUAGE=" + std::to_string(language) + "\n");
  ShowBar(game);
  ClickMapButton(game);
  return Take(game);
}

TEST(ScenarioLanguage, TheLanguageKeySwitchesEveryOpenPictureAtOnce) {
  const Looks english = StartedIn(1);
  const Looks german = StartedIn(0);
  ASSERT_NE(english.tabs, german.tabs);
  ASSERT_NE(english.layers, german.layers);
  ASSERT_NE(english.rating, german.rating);

  Scenario game;
  ShowBar(game);
  ClickMapButton(game);
  ASSERT_EQ(Take(game), german);
  game.Key(SDLK_l);
  ShowBar(game);
  EXPECT_EQ(CZorvaWorld::m_Language, 1);
  const Looks switched = Take(game);
  EXPECT_EQ(switched.tabs, english.tabs);
  EXPECT_EQ(switched.layers, english.layers) << "the layer buttons follow the tabs";
  EXPECT_EQ(switched.rating, english.rating) << "the bar's buttons follow the status line";
  game.Shot("language-english");
  EXPECT_EQ(game.World().GetEnvValue("LANGUAGE", 0), 1) << "the next start keeps the language";

  game.Key(SDLK_l);
  ShowBar(game);
  EXPECT_EQ(CZorvaWorld::m_Language, 0);
  EXPECT_EQ(Take(game), german);
  EXPECT_EQ(game.World().GetEnvValue("LANGUAGE", 1), 0);
}

TEST(ScenarioLanguage, AWindowClosedDuringTheSwitchOpensInTheNewLanguage) {
  const Looks english = StartedIn(1);

  Scenario game;
  ShowBar(game);
  ClickMapButton(game);
  ASSERT_EQ(game.Ui().IsWindowOpen(kThematicMap), 0);
  ClickMapButton(game);
  ASSERT_NE(game.Ui().IsWindowOpen(kThematicMap), 0);
  game.Key(SDLK_l);
  ShowBar(game);
  ClickMapButton(game);
  EXPECT_EQ(Take(game), english);
}

// The game menu's language buttons ask the toolkit's host, as the key asks
// the interface's; both end in the same switch.
TEST(ScenarioLanguage, TheMenusLanguageChoiceSwitchesLikeTheKey) {
  const Looks english = StartedIn(1);

  Scenario game;
  ShowBar(game);
  ClickMapButton(game);
  CGuiHost::Get()->SetLanguage(1);
  ShowBar(game);
  EXPECT_EQ(Take(game), english);
  EXPECT_EQ(game.World().GetEnvValue("LANGUAGE", 0), 1);
  // Choosing the language in force again changes nothing.
  CGuiHost::Get()->SetLanguage(1);
  ShowBar(game);
  EXPECT_EQ(Take(game), english);
}

}  // namespace
