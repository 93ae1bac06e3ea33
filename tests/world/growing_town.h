#pragma once
// The new game a player starts and leaves to grow: the start-up town, a
// grid of streets south of it with residential, commercial and industrial
// zones laid with the zone tools, and blocks of shops with (or without)
// schools and parks. The game runs hour by hour on the hand-driven clock.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "model/data_exchange.h"
#include "network/str_junction_list.h"
#include "sim/sim_city_model.h"
#include "sim/sim_error.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "world/zor_world.h"
#include "worldbase/building_catalogue.h"

namespace growtest {

constexpr int kTurnMs = 50;
constexpr int kHourMs = 400;
constexpr int kOrigin = 20;
constexpr int kOriginY = 80;
constexpr int kSpacing = 8;
constexpr int kNodes = 6;
constexpr int kEnd = kOrigin + (kNodes - 1) * kSpacing;
constexpr int kEndY = kOriginY + (kNodes - 1) * kSpacing;

// Lays a zone over the rectangle as the player does: the zone tool with its
// density, the view centred on the rectangle, a drag from corner to corner.
inline void Zone(zortest::Scenario& game, int tool, int density, int x0, int y0, int x1, int y1) {
  game.ChooseTool(tool, density, -1);
  game.Map().SetIsoCenter((x0 + x1) / 2, (y0 + y1) / 2);
  int fx = -1, fy = -1, tx = -1, ty = -1;
  ASSERT_TRUE(game.ScreenOfCell(x0, y0, &fx, &fy)) << x0 << "/" << y0;
  ASSERT_TRUE(game.ScreenOfCell(x1, y1, &tx, &ty)) << x1 << "/" << y1;
  game.Drag(fx, fy, tx, ty);
}

// A grid of streets south of the start-up town, joined to it, with blocks of
// homes, offices and industry zones; every fifth block holds shops and, when
// `schools` is set, a school and a park. The row at `kOriginY + avenueRow x
// kSpacing` is a four-lane avenue when `avenueRow` is 1 to kNodes - 2.
inline void BuildTown(zortest::Scenario& game, bool schools, int avenueRow = -1) {
  CZorvaWorld& world = game.World();
  CStrJunctionList* net = world.GetStreetNet();
  auto street = [&](int x1, int y1, int x2, int y2, TStrassenType type) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
    ASSERT_EQ(net->CreateStreet(&line, type), STR_BUILD_OK) << x1 << "/" << y1 << " - " << x2 << "/" << y2;
  };
  // Off the start-up town's street at x 54, which ends at y 72.
  street(54, 72, 54, 80, STRASSE_1);
  // The first row from x 54, where the start-up town's street reaches it.
  street(54, kOriginY, kOrigin, kOriginY, STRASSE_1);
  street(54, kOriginY, kEnd, kOriginY, STRASSE_1);
  for (int i = 0; i < kNodes; ++i)
    for (int j = 0; j + 1 < kNodes; ++j)
      street(kOrigin + i * kSpacing, kOriginY + j * kSpacing, kOrigin + i * kSpacing, kOriginY + (j + 1) * kSpacing,
             STRASSE_1);
  for (int j = 1; j < kNodes; ++j)
    for (int i = 0; i + 1 < kNodes; ++i)
      street(kOrigin + i * kSpacing, kOriginY + j * kSpacing, kOrigin + (i + 1) * kSpacing, kOriginY + j * kSpacing,
             j == avenueRow ? STRASSE_VIERSPURIG : STRASSE_1);

  ASSERT_EQ(world.GetDataExchange()->SetVarData("F.KONTO", 1e9), 0);
  // Blocks: tool 10 homes, 11 offices, 12 industry; the density is the subtool.
  int b = 0;
  for (int bx = 0; bx + 1 < kNodes; ++bx)
    for (int by = 0; by + 1 < kNodes; ++by, ++b) {
      const int x0 = kOrigin + bx * kSpacing + 1, y0 = kOriginY + by * kSpacing + 1;
      const int x1 = x0 + kSpacing - 2, y1 = y0 + kSpacing - 2;
      switch (b % 5) {
        case 0:
        case 2:
          Zone(game, 10, 1 + b % 2, x0, y0, x1, y1);
          break;
        case 1:
          Zone(game, 11, 1 + b % 2, x0, y0, x1, y1);
          break;
        case 3:
          Zone(game, 12, 1, x0, y0, x1, y1);
          break;
        case 4: {
          const TObjectType kinds[] = {OBJ_SHOPPING, schools ? OBJ_SCHOOL : OBJ_SHOPPING,
                                       schools ? OBJ_PARK : OBJ_SHOPPING, OBJ_SHOPPING};
          int k = 0;
          for (int x = x0; x <= x1; x += 3)
            for (int y = y0; y <= y1; y += 3) {
              const TObjectType kind = kinds[k++ % 4];
              const int resId = CBuildingDataList::GetBuildingResIDByType(kind, 1, nullptr);
              world.CreateObject(kind, resId, CIsoRichtung(0), x, y, static_cast<ESimLocationHeight>(0), nullptr, 0,
                                 nullptr, 0, -1);
            }
          break;
        }
      }
    }
}

// The new game a player starts: the start-up town, loaded at start-up.
struct GrowingTown {
  GrowingTown() {
    zortest::Clock().Set(0);
    // The simulation's log of this test's directory.
    SimCloseErrorLog();
    std::filesystem::create_directories("SaveGame");
    for (const char* f : {"STARTUP.AUD", "STARTUP.AUM"})
      std::filesystem::copy_file(zortest::BinaryDir() + "/gamedata/SaveGame/" + f, std::string("SaveGame/") + f,
                                 std::filesystem::copy_options::overwrite_existing);
    game = std::make_unique<zortest::Scenario>("AUTOLOAD=1\n");
  }
  CZorvaWorld& World() { return game->World(); }
  CSimCityModell* City() { return World().GetSimWelt()->pCityModell(); }
  void Start(bool schools, int avenueRow = -1) {
    BuildTown(*game, schools, avenueRow);
    World().SetGameSpeed(CZorvaWorld::kGameSpeedSum - kHourMs);
  }
  void Hour() {
    CZorvaWorld& world = World();
    const int t = world.GetSimWelt()->Date().TicksFromStart();
    for (int turn = 0; turn < 100 * kHourMs / kTurnMs && world.GetSimWelt()->Date().TicksFromStart() == t; ++turn) {
      zortest::Clock().Advance(kTurnMs);
      world.OnPlayloopTurn();
      // The adviser's window on the first growth target pauses the game.
      if (world.IsPause()) world.SetPause(false);
    }
  }
  std::unique_ptr<zortest::Scenario> game;
};

}  // namespace growtest
