// The debug keys, checks, river editor, layers and dumps on the real game:
// each key acts only while the debug keys are on; the network check passes
// on streets the player built and names the street the demand model lost;
// the river editor lays a lake on the map; the layers draw with every tile
// they name; the dumps of a static city are written whole, and a folder
// that takes no files is reported while the game goes on.
#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>
#include <string>

#include "../model/period_test_util.h"
#include "cybernet/cyber_list.h"
#include "cybernet/cyber_net.h"
#include "cybernet/cyber_node.h"
#include "framework/qno_font.h"
#include "iso/iso_river.h"
#include "iso/iso_tile.h"
#include "iso/iso_welt.h"
#include "model/data_exchange.h"
#include "model/gott_modus.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/river_editor.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "scenario_opnv_steps.h"

namespace {

using namespace zortest;
using periodtest::At;

double Konto(Scenario& game) {
  double value = 0;
  game.World().GetDataExchange()->GetVarData("F.KONTO", &value);
  return value;
}

// A screen point over the cell, clear of the bar.
bool ScreenOf(Scenario& game, int tx, int ty, int* sx, int* sy) {
  for (int y = 40; y < 440; y += 2)
    for (int x = 20; x < 700; x += 2) {
      int cx = -1, cy = -1;
      if (game.Map().MouseKoorToIsoKoor(x, y, &cx, &cy) == 0 && cx == tx && cy == ty) {
        *sx = x, *sy = y;
        return true;
      }
    }
  return false;
}

// A row of `length` cells of empty ground that the screen shows whole.
bool FreeRow(Scenario& game, int length, int* ox, int* oy) {
  for (int y = 50; y < 80; ++y)
    for (int x = 50; x < 80; ++x) {
      bool ok = true;
      int sx = 0, sy = 0;
      for (int k = 0; ok && k < length; ++k)
        for (int dy = -1; ok && dy <= 1; ++dy)
          ok = game.Map().GetTypeAt(x + k, y + dy, ISO_LAYER_GROUND) == OBJ_GROUND &&
               game.Map().GetTypeAt(x + k, y + dy, ISO_LAYER_UPPER) == OBJ_NONE;
      if (ok && ScreenOf(game, x, y, &sx, &sy) && ScreenOf(game, x + length - 1, y, &sx, &sy)) {
        *ox = x, *oy = y;
        return true;
      }
    }
  return false;
}

struct DebugKeys : testing::Test {
  // A developer's settings: the debug keys are allowed.
  Scenario game{"DEBUGKEYS=1\n"};
  void SetUp() override { std::filesystem::create_directories("SaveGame"); }
  void TearDown() override {
    CUserInt::m_ActivateDebugInfo = 0;
    CUserInt::m_StaticCity = false;
  }
};

TEST_F(DebugKeys, F3HoldsTheCauseEffectNetworkUntilPressedAgain) {
  CDataExchange* dx = game.World().GetDataExchange();
  ASSERT_NE(dx, nullptr);
  ASSERT_EQ(CUserInt::selObj.cyberFreeze, 0);
  game.Key(SDLK_F3);
  EXPECT_EQ(CUserInt::selObj.cyberFreeze, 0) << "without the debug keys F3 holds nothing";
  CUserInt::m_ActivateDebugInfo = 1;
  game.Run({KeyDown(SDLK_F3)});
  EXPECT_EQ(CUserInt::selObj.cyberFreeze, 1);
  game.Run({KeyUp(SDLK_F3)});
  EXPECT_EQ(CUserInt::selObj.cyberFreeze, 1) << "the key's release changes nothing";
  EXPECT_EQ(dx->CalculateNextMatrix(At(7), At(6)), 1);
  EXPECT_EQ(dx->GetLastSettleRounds(), 0);
  game.Key(SDLK_F3);
  EXPECT_EQ(CUserInt::selObj.cyberFreeze, 0);
  EXPECT_EQ(dx->CalculateNextMatrix(At(7), At(6)), 0);
  EXPECT_GE(dx->GetLastSettleRounds(), 1);
}

TEST_F(DebugKeys, KeysChangeAccountPauseModeAndScenarioOnlyWhileOn) {
  CGottModus* god = game.World().GetGottModus();
  ASSERT_NE(god, nullptr);
  const double konto = Konto(game);
  // Without the debug keys the digits are the tools' shortcuts and F4 saves.
  game.Key(SDLK_7);
  EXPECT_EQ(CUserInt::selObj.tool, 2);
  EXPECT_EQ(Konto(game), konto);
  game.Key(SDLK_y);
  EXPECT_EQ(Konto(game), konto);

  CUserInt::m_ActivateDebugInfo = 1;
  game.Key(SDLK_7);
  EXPECT_DOUBLE_EQ(Konto(game), konto + 1e8);
  game.Key(SDLK_y);  // the code of Z
  EXPECT_DOUBLE_EQ(Konto(game), konto);

  // F4 pauses as the player's pause does, and the layer says so.
  const Region stopped{431, 2, 527, 17};
  game.Run({Frames(1)});
  const uint64_t running = game.Fingerprint(stopped);
  game.Key(SDLK_F4);
  EXPECT_TRUE(game.World().IsPause());
  EXPECT_EQ(CUserInt::selObj.doLater, 0) << "no automatic save";
  game.Run({Frames(1)});
  EXPECT_NE(game.Fingerprint(stopped), running);
  game.Key(SDLK_F4);
  EXPECT_FALSE(game.World().IsPause());

  // Next indicator wraps after 12; the target value wraps above 1.0.
  god->SetSzenario(1, 12, 0.98f, 4);
  game.Key(SDLK_9);
  int kind = 0, indicator = 0;
  float target = 0;
  god->GetSzenario(&kind, &indicator, &target);
  EXPECT_EQ(god->GetGameModus(), GAME_SCENARIO);
  EXPECT_EQ(indicator, 0);
  EXPECT_FLOAT_EQ(target, 0.98f);
  game.Key(SDLK_f);
  god->GetSzenario(&kind, &indicator, &target);
  EXPECT_FLOAT_EQ(target, 0.5f);
  EXPECT_EQ(CUserInt::m_Debug.indicatorValue, 0.5f);
  game.Key(SDLK_0);
  EXPECT_EQ(god->GetGameModus(), GAME_NORMAL);
  EXPECT_EQ(CUserInt::m_ActivateDebugInfo, 1) << "0 is the debug keys' own while they are on";

  // Y flips the old-matrix flag and browses on; J steps the map's drawing.
  game.Key(SDLK_z);
  EXPECT_EQ(CUserInt::m_Debug.oldMatrix, 1);
  EXPECT_EQ(CUserInt::m_Debug.browseEntry + CUserInt::m_Debug.browseGroup, 1);
  game.Key(SDLK_p);
  EXPECT_EQ(CUserInt::m_Debug.browseGroup, 0);
  EXPECT_EQ(CUserInt::m_Debug.browseEntry, 0) << "back to the first message";
  game.Key(SDLK_p);
  EXPECT_GE(CUserInt::m_Debug.browseEntry, 0) << "never before the first entry";
  for (int expected : {1, 2, 0}) {
    game.Key(SDLK_j);
    EXPECT_EQ(game.Ui().GetRenderType(), expected);
  }
  // X makes the test vehicle once and turns it.
  game.Key(SDLK_x);
  game.Key(SDLK_x);
  EXPECT_NE(CUserInt::selObj.ownedObject, nullptr);
  EXPECT_EQ(CUserInt::m_Debug.testCarDirection, 2);
}

TEST_F(DebugKeys, TheNetCheckPassesOnBuiltStreetsAndNamesAStreetTheDemandModelLost) {
  int ox = 0, oy = 0;
  ASSERT_TRUE(FreeRow(game, 9, &ox, &oy));
  int x1, y1, x2, y2;
  ASSERT_TRUE(ScreenOf(game, ox, oy, &x1, &y1));
  ASSERT_TRUE(ScreenOf(game, ox + 8, oy, &x2, &y2));
  game.Key(SDLK_6);
  game.Drag(x1, y1, x2, y2, kLeft, 8);
  CStrJunction* end = game.World().GetStreetNet()->FindJunctionAt(static_cast<short>(ox), static_cast<short>(oy));
  ASSERT_NE(end, nullptr) << "the street was built";
  CStrStrasse* street = end->GetStreetByNR(0);
  ASSERT_NE(street, nullptr);

  CUserInt::m_ActivateDebugInfo = 1;
  game.Key(SDLK_n);
  EXPECT_EQ(CUserInt::m_Debug.lastStreetNet, 0);
  EXPECT_EQ(CUserInt::m_Debug.lastStreetSim, 0);
  game.Key(SDLK_n);

  // The demand model loses the street behind the network's back.
  const short id = street->GetSimID();
  ASSERT_TRUE(game.World().GetSimWelt()->RemoveStreet(id));
  game.Key(SDLK_n);
  EXPECT_EQ(CUserInt::m_Debug.lastStreetNet, 1);
  EXPECT_NE(ReadFile("errors.log").find("Street with ID " + std::to_string(id) + " not in SimWelt"),
            std::string::npos);
}

TEST_F(DebugKeys, TheRiverEditorLaysALakeOnTheMap) {
  int ox = 0, oy = 0;
  ASSERT_TRUE(FreeRow(game, 3, &ox, &oy));
  CUserInt::m_ActivateDebugInfo = 1;
  game.Key(SDLK_e);
  EXPECT_EQ(CUserInt::selObj.tool, 14);
  EXPECT_EQ(CUserInt::selObj.buildingRichtung, 1);
  CUserInt::selObj.objectType = CRiverEditor::kWater;
  int sx = 0, sy = 0;
  ASSERT_TRUE(ScreenOf(game, ox + 1, oy, &sx, &sy));
  game.Click(sx, sy);
  auto tile = [&](int x, int y) {
    auto* river = dynamic_cast<CRiverObject*>(game.Map().GetIsoTileObject(x, y, ISO_LAYER_GROUND));
    return river ? std::make_pair(river->GetResID(), river->GetRichtung()) : std::make_pair(0, -1);
  };
  EXPECT_EQ(tile(ox + 1, oy), std::make_pair(CRiverEditor::kOpenWater, 0));
  EXPECT_EQ(tile(ox, oy - 1), std::make_pair(CRiverEditor::kOuterCorner, 2));
  EXPECT_EQ(tile(ox + 2, oy), std::make_pair(CRiverEditor::kShore, 3));
  EXPECT_EQ(game.Map().GetTypeAt(ox + 3, oy, ISO_LAYER_GROUND), OBJ_GROUND);
}

TEST_F(DebugKeys, TheLayersDrawWithEveryTileTheyName) {
  for (int id : {44111, 51200, 51201})
    EXPECT_NE(CIsoTile::Get(game.Ui().GetResourceManager(), id), nullptr) << id;
  EXPECT_NE(QnoBitmapFont::FromResource(game.Ui().GetResourceManager(), 823), nullptr);
  int ox = 0, oy = 0;
  ASSERT_TRUE(FreeRow(game, 9, &ox, &oy));
  CStrBuildLine line(static_cast<short>(ox), static_cast<short>(oy), static_cast<short>(ox + 8),
                     static_cast<short>(oy));
  ASSERT_EQ(game.World().GetStreetNet()->CreateStreet(&line, STRASSE_1), STR_BUILD_OK);
  const Region screen{0, 0, game.Width(), game.Height()};
  // The notice in the top right corner, in the game's language.
  const Region notice{game.Width() - 90, 2, game.Width() - 2, 18};
  game.Run({Frames(2)});
  const uint64_t plain = game.Fingerprint(screen), noNotice = game.Fingerprint(notice);
  CUserInt::m_ActivateDebugInfo = 1;
  game.Run({Frames(2)});
  const uint64_t front = game.Fingerprint(screen), german = game.Fingerprint(notice);
  EXPECT_NE(front, plain);
  EXPECT_NE(german, noNotice) << "the screen says the debug keys are on";
  game.World().ChangeLanguage(1);
  game.Run({Frames(2)});
  EXPECT_NE(game.Fingerprint(notice), german) << "in English";
  game.World().ChangeLanguage(0);
  game.Run({Frames(2)});
  // The network check's layer, over the town's streets.
  game.Key(SDLK_t);
  EXPECT_EQ(CUserInt::m_Debug.netCheck, 1);
  game.Run({Frames(2)});
  EXPECT_NE(game.Fingerprint(screen), front);
  game.Shot("debug-overlay");
  // The trip-length curves.
  const uint64_t checks = game.Fingerprint(screen);
  game.Key(SDLK_v);
  game.Run({Frames(2)});
  EXPECT_NE(game.Fingerprint(screen), checks);
  game.Shot("debug-trips");
}

TEST_F(DebugKeys, AStaticCityWritesItsDumpsWholeAndAFolderThatTakesNoneIsReported) {
  CDataExchange* dx = game.World().GetDataExchange();
  const std::filesystem::path home = std::filesystem::current_path();
  // A folder of the test's own working directory: no other run shares it.
  const std::filesystem::path dir = home / "dumps";
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);
  CUserInt::m_StaticCity = true;
  const int first = dx->GetDumpCounter();
  EXPECT_EQ(dx->CalculateNextMatrix(At(7), At(6)), 0);
  for (const char* name : {"Matrix.", "Population.", "FahrtenAuto.", "FahrtenBus.", "FahrtenFuss."})
    EXPECT_TRUE(std::filesystem::exists(name + std::to_string(first))) << name;
  EXPECT_GT(std::filesystem::file_size("Matrix." + std::to_string(first)), 0u);
  // A folder that takes no new files: every dump fails, is logged, and the
  // period and the game go on.
  std::filesystem::current_path("/proc");
  EXPECT_FALSE(dx->WriteDumps());
  EXPECT_EQ(dx->CalculateNextMatrix(At(12), At(11)), 0);
  std::filesystem::current_path(home);
  EXPECT_EQ(dx->GetDumpCounter(), first + 3);
  EXPECT_NE(ReadFile("errors.log").find("Population." + std::to_string(first + 1)), std::string::npos);
  CUserInt::m_StaticCity = false;
  const int frames = game.FramesRun();
  game.Run({Frames(3)});
  EXPECT_EQ(game.FramesRun(), frames + 3);
  std::filesystem::remove_all(dir);
}

}  // namespace

namespace {

// What the interface points at in the world outlives no load: the node of
// the cause-effect view is found again by its place in the new net (and
// drawn from it), the selected junction is let go.
TEST_F(DebugKeys, ALoadLeavesTheInterfaceNoPointerIntoTheOldWorld) {
  int ox = 0, oy = 0;
  ASSERT_TRUE(FreeRow(game, 9, &ox, &oy));
  auto build = [&](int x1, int y1, int x2, int y2) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
    return game.World().GetStreetNet()->CreateStreet(&line, STRASSE_1);
  };
  ASSERT_EQ(build(ox, oy, ox + 8, oy), STR_BUILD_OK);
  ASSERT_EQ(build(ox + 4, oy, ox + 4, oy + 5), STR_BUILD_OK);
  game.Run({Wait(100)});
  int sx = 0, sy = 0;
  ASSERT_TRUE(ScreenOf(game, ox + 4, oy, &sx, &sy));
  game.Click(sx, sy).Do(Wait(100));
  ASSERT_NE(CUserInt::selObj.selectedCrossing, nullptr) << "the junction is selected";
  // A stop, placed and then selected with the standard tool.
  CSecondLayerObject* stop = PlaceStop(game, 1, {ox + 2, oy});
  ASSERT_NE(stop, nullptr);
  game.Ui().SetToolStandard();
  ASSERT_TRUE(ScreenOf(game, ox + 2, oy, &sx, &sy));
  game.Click(sx, sy).Do(Wait(100));
  ASSERT_EQ(CUserInt::selObj.selectedObject, stop) << "the stop is selected";

  CUserInt::m_ActivateDebugInfo = 1;
  game.Key(SDLK_n);
  game.Click(24, 30);  // the first node's box, above its switch
  CCyberNode* before = CUserInt::SelectedCyberNode();
  ASSERT_NE(before, nullptr);
  const std::string name = before->Name() ? before->Name() : "";

  ASSERT_EQ(game.World().SerializeGameStore("SaveGame/DEBUG.GMD"), 0);
  ASSERT_EQ(game.World().SerializeGameLoad("SaveGame/DEBUG.GMD"), 0);
  EXPECT_EQ(CUserInt::selObj.selectedCrossing, nullptr);
  EXPECT_EQ(CUserInt::selObj.selectedObject, nullptr);
  CCyberNode* after = CUserInt::SelectedCyberNode();
  ASSERT_NE(after, nullptr);
  EXPECT_EQ(after, game.World().GetSimWelt()->pCyberNet()->pNodeList()->pHead()) << "the new net's own node";
  EXPECT_EQ(after->Name() ? after->Name() : "", name);
  // The view and its keys work on the new node.
  game.Run({Frames(3)});
  const double size = after->Size();
  game.Key(SDLK_h);
  EXPECT_NE(after->Size(), size);
  game.Key(SDLK_n);
}

}  // namespace
