// The world's input filter on the real game: the player saves under a typed
// name and loads it again by Return in the load and save window, the typed
// name is edited by the keys, Return's guard drops the keys that follow it
// at once, and the debug keys work only behind their lock.
#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>
#include <string>

#include "framework/qno_event.h"
#include "gui/screen_window.h"
#include "network/str_junction_list.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

constexpr int kLoadSave = 160;
constexpr int kLoadPage = 161;
constexpr int kSavePage = 162;
constexpr int kThematicMap = 201;

int Junctions(Scenario& game) { return static_cast<int>(game.World().GetStreetNet()->GetNumber()); }

bool Open(Scenario& game, int window) { return game.Ui().IsWindowOpen(window) == 0; }

// A key as the input filter receives it (after the frame loop translated it).
int Press(Scenario& game, int key, bool down) {
  QnoInteractionEvent e;
  e.type = down ? QNO_EVENT_KEYDOWN : QNO_EVENT_KEYUP;
  e.x = key;
  return game.World().InputFilter(&e, nullptr);
}

void Type(Scenario& game, const std::string& keys) {
  for (char c : keys) {
    Press(game, c, true);
    Press(game, c, false);
    Clock().Advance(60);
  }
}

// The load and save window with its load and save pages, bare (the game's
// own window set does not hold it): the input filter only asks which of
// them is open.
void OpenPage(Scenario& game, int page) {
  if (!CUserInt::topWindow->GetWindowByID(kLoadSave)) {
    game.World().AddWindow(kLoadSave, 100, 100, 400, 300, 1, WINDOW_NORMAL, POSITION_FIXED, 0);
    for (int id : {kLoadPage, kSavePage}) game.World().AddWindow(id, 110, 110, 380, 280, kLoadSave, WINDOW_NORMAL, POSITION_FIXED, 0);
  }
  game.Ui().ActivateWindow(kLoadSave);
  game.Ui().DeActivateWindow(page == kSavePage ? kLoadPage : kSavePage);
  game.Ui().ActivateWindow(page);
  ASSERT_TRUE(Open(game, page));
}

TEST(WorldInput, ThePlayerSavesUnderATypedNameAndLoadsItBackByReturn) {
  Scenario game;
  game.Run({Move(400, 250), Wait(40)});
  CStrBuildLine line(60, 60, 60, 66);
  ASSERT_EQ(game.World().GetStreetNet()->CreateStreet(&line, STRASSE_1), STR_BUILD_OK);
  const int saved = Junctions(game);

  OpenPage(game, kSavePage);
  game.World().AktivateEingabe();
  for (int key : {SDLK_h, SDLK_a, SDLK_r, SDLK_b}) game.Key(key).Do(Wait(60));
  EXPECT_STREQ(game.World().GetLoadSaveName(), "HARB");
  game.Key(SDLK_RETURN).Do(Wait(200));
  ASSERT_TRUE(std::filesystem::exists("SaveGame/HARB.GMD"));
  EXPECT_TRUE(std::filesystem::exists("SaveGame/HARB.GMM"));

  CStrBuildLine more(60, 63, 66, 63);
  ASSERT_EQ(game.World().GetStreetNet()->CreateStreet(&more, STRASSE_1), STR_BUILD_OK);
  ASSERT_GT(Junctions(game), saved);
  OpenPage(game, kLoadPage);
  // Within a minute of the start-up's welcome the load needs no question.
  game.Key(SDLK_RETURN).Do(Wait(200));
  EXPECT_EQ(Junctions(game), saved);
}

TEST(WorldInput, ReturnOnTheLoadPageWithoutTheGameWarnsAndLoadsNothing) {
  Scenario game;
  game.Run({Move(400, 250), Wait(40)});
  OpenPage(game, kLoadPage);
  game.World().SetLoadSaveName("NOWHERE");
  EXPECT_EQ(Press(game, QNO_KEY_RETURN, true), 0);
  EXPECT_EQ(game.Ui().IsWindowOpen(220), 0) << "the warning window is open";
}

TEST(WorldInput, TheTypedNameIsEditedByTheKeysAndNothingElseSeesThem) {
  Scenario game;
  game.Run({Move(400, 250), Wait(40)});
  CZorvaWorld& world = game.World();
  world.AktivateEingabe();
  Type(game, "abcdefghijklmn");
  EXPECT_STREQ(world.GetLoadSaveName(), "ABCDEFGHIJKLN") << "13 characters; the typed one replaces the last";
  EXPECT_EQ(world.GetEingabeBuchstaben(), 12);
  world.ResetLoadSaveName();
  Type(game, "ab");
  Press(game, QNO_KEY_LEFT, false);
  Press(game, QNO_KEY_LEFT, false);
  Press(game, QNO_KEY_LEFT, false);
  EXPECT_EQ(world.GetEingabeBuchstaben(), 0);
  Press(game, QNO_KEY_BACKSPACE, false);
  EXPECT_STREQ(world.GetLoadSaveName(), "AB") << "nothing before the cursor";
  Type(game, "x");
  EXPECT_STREQ(world.GetLoadSaveName(), "XAB");
  Press(game, QNO_KEY_DELETE, false);
  EXPECT_STREQ(world.GetLoadSaveName(), "XB");
  Press(game, QNO_KEY_RIGHT, false);
  Press(game, QNO_KEY_RIGHT, false);
  Press(game, QNO_KEY_BACKSPACE, false);
  EXPECT_STREQ(world.GetLoadSaveName(), "X");
  // A window's key goes nowhere while the name is typed.
  EXPECT_EQ(Press(game, 'M', true), 0);
  EXPECT_EQ(Press(game, 'M', false), 0);
  game.Do(Wait(40));
  EXPECT_FALSE(Open(game, kThematicMap));
  EXPECT_STREQ(world.GetLoadSaveName(), "XM");
  world.DeaktivateEingabe();
  game.Do(Wait(100)).Key(SDLK_m).Do(Wait(40));
  EXPECT_TRUE(Open(game, kThematicMap));
}

TEST(WorldInput, KeysRightAfterAReturnAreDropped) {
  Scenario game;
  game.Run({Move(400, 250), Wait(40)});
  EXPECT_EQ(Press(game, QNO_KEY_RETURN, true), 0) << "Return with no window to answer is not passed on";
  Clock().Advance(30);
  game.World().AktivateEingabe();
  Press(game, 'A', true);
  EXPECT_EQ(game.World().GetLoadSaveName()[0], '\0');
  Clock().Advance(40);
  Type(game, "A");
  EXPECT_STREQ(game.World().GetLoadSaveName(), "A");
}

// The tick count past 2^31 ms (24.9 days of running): keys reach the game.
// Round its wrap at 2^32 ms (and at 2^31, where a signed count would turn),
// Return's guard holds across it and lets the next key through after it.
TEST(WorldInput, KeysWorkPastHalfTheTickRangeAndAcrossItsWrap) {
  {
    Scenario game;
    Clock().Set(0x80000000u + 100000u);
    game.Do(Wait(100)).Key(SDLK_m).Do(Wait(40));
    EXPECT_TRUE(Open(game, kThematicMap)) << "a key after 24.9 days";
  }
  for (const uint32_t wrap : {0x80000000u, 0u}) {
    SCOPED_TRACE(wrap);
    Scenario game;
    Clock().Set(wrap - 50);
    game.Run({Move(400, 250), Wait(40)});
    EXPECT_EQ(Press(game, QNO_KEY_RETURN, true), 0);
    Clock().Advance(30);
    game.World().AktivateEingabe();
    Press(game, 'A', true);
    EXPECT_EQ(game.World().GetLoadSaveName()[0], '\0') << "30 ms after the Return, across the wrap";
    Clock().Advance(40);
    Type(game, "A");
    EXPECT_STREQ(game.World().GetLoadSaveName(), "A");
  }
}

TEST(WorldInput, TheDebugKeysWorkOnlyBehindTheirLock) {
  {
    // Without DEBUGKEYS=1 in the settings the lock's letters are letters.
    Scenario game;
    game.Run({Move(400, 250), Wait(40)});
    for (int key : {'K', 'A', 'Q', 'J'}) Press(game, key, false);
    EXPECT_EQ(CUserInt::m_ActivateDebugInfo, 0);
  }
  Scenario game("DEBUGKEYS=1\n");
  game.Run({Move(400, 250), Wait(40)});
  ASSERT_EQ(CUserInt::m_ActivateDebugInfo, 0);
  // A savegame's name typed into its field never counts toward the lock.
  game.World().AktivateEingabe();
  Type(game, "QUAKJ");
  EXPECT_STREQ(game.World().GetLoadSaveName(), "QUAKJ");
  EXPECT_EQ(CUserInt::m_ActivateDebugInfo, 0);
  game.World().DeaktivateEingabe();
  const int speed = game.World().GetGameSpeedMs();
  Press(game, QNO_KEY_UP, false);
  EXPECT_EQ(game.World().GetGameSpeedMs(), speed);
  Press(game, 'S', false);
  EXPECT_FALSE(std::filesystem::exists("SAVEGAME.DAT"));
  // The lock: three keys let go in any order, with others between them.
  for (int key : {'K', 'A', 'Q', 'J'}) Press(game, key, false);
  ASSERT_EQ(CUserInt::m_ActivateDebugInfo, 1);
  Press(game, QNO_KEY_UP, false);
  EXPECT_EQ(game.World().GetGameSpeedMs(), speed + 1000);
  game.World().SetGameSpeed(CZorvaWorld::kGameSpeedSum - 23500);
  Press(game, QNO_KEY_UP, false);
  EXPECT_EQ(game.World().GetGameSpeedMs(), 24000);
  game.World().SetGameSpeed(CZorvaWorld::kGameSpeedSum - 1500);
  Press(game, QNO_KEY_DOWN, false);
  EXPECT_EQ(game.World().GetGameSpeedMs(), 1000);
  EXPECT_EQ(Press(game, 'S', false), 0);
  EXPECT_TRUE(std::filesystem::exists("SAVEGAME.DAT"));
  EXPECT_TRUE(std::filesystem::exists("SAVEGAME.DAM"));
  EXPECT_EQ(Press(game, 'M', false), 1) << "no WIRKUNG.DEF";
  const bool micro = game.World().GetShowMicroZellen();
  Press(game, 'H', true);
  EXPECT_NE(game.World().GetShowMicroZellen(), micro);
  for (int key : {'J', 'Q', 'K'}) Press(game, key, false);
  EXPECT_EQ(CUserInt::m_ActivateDebugInfo, 0);
}

}  // namespace
