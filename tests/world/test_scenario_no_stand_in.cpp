// A game played broadly, the way a player does, reaches no part of the game
// that is not built yet: the bar's menus and the windows they open, a town
// with streets, stops, bus lines with bought buses, a school, zones, a car
// park with its guidance sign, a street's guidance sign, game days at speed
// with the frames drawn, and a savegame saved and loaded.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <utility>

#include "framework/zor_stand_in.h"
#include "measures/park_management.h"
#include "measures/traffic_display.h"
#include "network/str_net_lengths.h"
#include "scenario_opnv_steps.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "worldbase/building_catalogue.h"

namespace {

using namespace zortest;

constexpr int kTurnMs = 50;
constexpr int kHourMs = 400;
constexpr int kBarX = 600, kBarY = 590;

// The bar's buttons (left edges, 36 wide, from y 505) and the window each
// opens; the last two are opened as main windows, not as menus.
struct BarButton {
  int x;
  int window;
};
constexpr BarButton kMenus[] = {{450, 200}, {495, 20}, {540, 23}, {660, 25}};
constexpr BarButton kMainWindows[] = {{705, 214}, {750, 110}};

// The stand-ins reached since `before`, with how often.
std::map<std::string, int> ReachedSince(const std::map<std::string, int>& before) {
  std::map<std::string, int> out;
  for (const auto& [name, count] : ZorStandInsReached()) {
    const auto it = before.find(name);
    const int earlier = it == before.end() ? 0 : it->second;
    if (count > earlier) out[name] = count - earlier;
  }
  return out;
}

std::string Describe(const std::map<std::string, int>& reached) {
  std::ostringstream out;
  for (const auto& [name, count] : reached) out << "\n  " << name << " x" << count;
  return out.str();
}

void ShowBar(Scenario& game) { game.Run({Move(kBarX, kBarY), Wait(40)}); }

// Opens each of the bar's menus and closes it again with a second click;
// opens the windows of the other two buttons, and from the services' menu
// the administration and the measures.
void UseTheBar(Scenario& game) {
  for (const BarButton& b : kMenus) {
    ShowBar(game);
    game.Click(b.x + 18, 523).Do(Wait(40));
    EXPECT_TRUE(game.IsOpen(b.window)) << "menu " << b.window;
    if (b.window == 25) {
      // Its two entries open their windows.
      for (const auto& [y, window] : {std::pair{36, 120}, std::pair{73, 80}}) {
        ASSERT_TRUE(game.ClickIn(25, 23, y));
        game.Do(Wait(100));
        EXPECT_TRUE(game.IsOpen(window)) << "window " << window;
        game.Ui().DeActivateWindow(window);
        game.Do(Wait(40));
        ShowBar(game);
        if (!game.IsOpen(25)) game.Click(b.x + 18, 523).Do(Wait(40));
      }
    }
    if (game.IsOpen(b.window)) game.Click(b.x + 18, 523).Do(Wait(40));
    EXPECT_FALSE(game.IsOpen(b.window)) << "menu " << b.window;
  }
  for (const BarButton& b : kMainWindows) {
    ShowBar(game);
    game.Click(b.x + 18, 523).Do(Wait(100));
    EXPECT_TRUE(game.IsOpen(b.window)) << "window " << b.window;
    game.Ui().DeActivateWindow(b.window);
    game.Do(Wait(40));
  }
  // The options button opens the game menu.
  ShowBar(game);
  game.Click(400, 586).Do(Wait(40));
  EXPECT_TRUE(game.IsOpen(160));
  game.Ui().DeActivateWindow(160);
  game.Run({Move(400, 250), Wait(40)});
}

CWorldObj* Lot(CZorvaWorld& world, TObjectType kind, int x, int y) {
  const int resId = CBuildingDataList::GetBuildingResIDByType(kind, 1, nullptr);
  EXPECT_GT(resId, 0) << kind;
  return world.CreateObject(kind, resId, CIsoRichtung(0), x, y, static_cast<ESimLocationHeight>(1), nullptr, 0,
                            nullptr, 0, -1);
}

// The game's own turns for `hours` simulated hours at speed, with one
// drawn frame every simulated hour.
void PlayHours(Scenario& game, int hours) {
  CZorvaWorld& world = game.World();
  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - kHourMs);
  for (int turn = 0; turn < hours * kHourMs / kTurnMs; ++turn) {
    Clock().Advance(kTurnMs);
    world.OnPlayloopTurn();
    if (turn % (kHourMs / kTurnMs) == 0) game.Do(Frames(1));
  }
}

TEST(ScenarioNoStandIn, AGamePlayedBroadlyReachesNothingThatIsNotBuilt) {
  Clock().Set(0);
  std::filesystem::create_directories("SaveGame");
  const std::map<std::string, int> before = ZorStandInsReached();
  Scenario game;
  CZorvaWorld& world = game.World();

  // Streets, stops, the school and homes, two bus lines and a tram line
  // with every vehicle they need bought.
  LineTown town;
  ASSERT_NO_FATAL_FAILURE(BuildLineTown(game, town));
  const int ox = town.ox, oy = town.oy;
  // Zones of the three kinds north of the avenue.
  for (const auto& [kind, x] : {std::pair{OBJ_ZONE_RESIDENTIAL, 10}, std::pair{OBJ_ZONE_COMMERCIAL, 13},
                                std::pair{OBJ_ZONE_INDUSTRIAL, 20}})
    EXPECT_NE(Lot(world, kind, ox + x, oy - 2), nullptr) << kind;
  // A car park by the second avenue with its guidance on.
  auto* park = dynamic_cast<CBuildingParkingObject*>(world.CreateObject(
      OBJ_CARPARK_OPEN, 39431, CIsoRichtung(0), ox + 12, oy + 12, SIM_HEIGHT_ANY, nullptr, 0, nullptr, 0, -1));
  ASSERT_NE(park, nullptr);
  EXPECT_EQ(park->SetVarData("PH.PLS", 1.0), 0);
  EXPECT_NE(park->GetPLS(), nullptr);
  // The avenue's speed guidance, with its sign.
  CStrStrasse* avenue = nullptr;
  StrForEachStreet(world.GetStreetNet(), [&](CStrStrasse* s) {
    if (!avenue && s->GetStrassenTeilAt(static_cast<short>(ox + 8), static_cast<short>(oy))) avenue = s;
  });
  ASSERT_NE(avenue, nullptr);
  EXPECT_TRUE(avenue->SetVLS(true, true));
  EXPECT_EQ(world.GetTrafficDisplay()->GetBlock().number, 1);

  // The bar's menus and the windows they open, over the built town.
  ASSERT_NO_FATAL_FAILURE(UseTheBar(game));

  // Two days at speed, the vehicles driving and dwelling at their stops.
  PlayHours(game, 48);
  game.Run({Move(250, 220), Wait(400)});

  // Saved and loaded, and the loaded game goes on for some hours.
  ASSERT_EQ(world.SerializeGameStore("SaveGame/BROAD.GMD"), 0);
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/BROAD.GMD"), 0);
  EXPECT_EQ(world.GetTrafficDisplay()->GetBlock().number, 1);
  PlayHours(game, 6);
  game.Run({Move(260, 230), Wait(400)});

  const std::map<std::string, int> reached = ReachedSince(before);
  EXPECT_TRUE(reached.empty()) << "stand-ins reached:" << Describe(reached);
}

}  // namespace
