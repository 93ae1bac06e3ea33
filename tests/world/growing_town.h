#pragma once
// The new game a player starts and leaves to grow: the start-up town, a
// grid of streets south of it with residential, commercial and industrial
// zones laid with the zone tools, and blocks of shops with (or without)
// schools and parks. The game runs hour by hour on the hand-driven clock.
#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <memory>
#include <string>

#include "iso/iso_welt.h"
#include "model/data_exchange.h"
#include "network/str_junction_list.h"
#include "sim/sim_city_model.h"
#include "sim/sim_error.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
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

namespace growtest {

// A newcomer's town laid with the mouse alone: the bar's menus choose the
// street, the zone and the building tools, and the map takes drags and
// clicks. Blocks of kSpacing cells in `cols` columns and `rows` rows south
// of the start-up town, joined to its street; each block is a letter of
// `kinds`: R homes, O offices, I industry (zoned at the first density, the
// one a newcomer takes), C a shop, a school, a park and a second shop, all
// small, from the building palette.
class MousePlayer {
 public:
  explicit MousePlayer(zortest::Scenario& game) : m_game(game) {}

  void BuildTown(int cols, int rows, const char* kinds) {
    ASSERT_EQ(m_game.World().GetDataExchange()->SetVarData("F.KONTO", 1e9), 0);
    ASSERT_NO_FATAL_FAILURE(Street(54, 72, 54, kOriginY));
    // The first row from x 54, where the start-up town's street reaches
    // it, a block at a time.
    const int nodeBelow54 = kOrigin + (54 - kOrigin) / kSpacing * kSpacing;
    ASSERT_NO_FATAL_FAILURE(Street(54, kOriginY, nodeBelow54, kOriginY));
    for (int x = nodeBelow54; x > kOrigin; x -= kSpacing)
      ASSERT_NO_FATAL_FAILURE(Street(x, kOriginY, x - kSpacing, kOriginY));
    for (int i = 0; i <= cols; ++i)
      for (int j = 0; j < rows; ++j) {
        const int x = kOrigin + i * kSpacing;
        ASSERT_NO_FATAL_FAILURE(Street(x, kOriginY + j * kSpacing, x, kOriginY + (j + 1) * kSpacing));
      }
    for (int j = 1; j <= rows; ++j)
      for (int i = 0; i < cols; ++i) {
        const int y = kOriginY + j * kSpacing;
        ASSERT_NO_FATAL_FAILURE(Street(kOrigin + i * kSpacing, y, kOrigin + (i + 1) * kSpacing, y));
      }
    int b = 0;
    for (int bx = 0; bx < cols; ++bx)
      for (int by = 0; by < rows; ++by, ++b) {
        const int x0 = kOrigin + bx * kSpacing + 1, y0 = kOriginY + by * kSpacing + 1;
        const int x1 = x0 + kSpacing - 2, y1 = y0 + kSpacing - 2;
        switch (kinds[b]) {
          case 'R': ASSERT_NO_FATAL_FAILURE(Zone(kResidential, x0, y0, x1, y1)); break;
          case 'O': ASSERT_NO_FATAL_FAILURE(Zone(kOffices, x0, y0, x1, y1)); break;
          case 'I': ASSERT_NO_FATAL_FAILURE(Zone(kIndustry, x0, y0, x1, y1)); break;
          case 'C':
            ASSERT_NO_FATAL_FAILURE(Building(kShops, OBJ_SHOPPING, x0, y0));
            ASSERT_NO_FATAL_FAILURE(Building(kSchools, OBJ_SCHOOL, x0 + 3, y0));
            ASSERT_NO_FATAL_FAILURE(Building(kParks, OBJ_PARK, x0, y0 + 3));
            ASSERT_NO_FATAL_FAILURE(Building(kShops, OBJ_SHOPPING, x0 + 3, y0 + 3));
            break;
          default: FAIL() << kinds[b];
        }
      }
  }

 private:
  // The bar's buttons (at y 505) and the buttons of their menus.
  static constexpr int kBarStreets = 495, kBarZones = 450, kBarBuildings = 540;
  static constexpr int kStreetMenu = 20, kZoneMenu = 200, kPalette = 23, kTownGroups = 57;
  // Zone menu rows: the first two open the density choices, the third
  // chooses industry.
  struct ZoneKind {
    int row, densities;
  };
  static constexpr ZoneKind kResidential{17, 35}, kOffices{54, 36}, kIndustry{91, -1};
  // Town-building groups: their row in the group menu and their sizes' menu.
  struct Group {
    int row, sizes;
  };
  static constexpr Group kShops{17, 31}, kSchools{54, 34}, kParks{165, 59};

  // The centre of a button at (x, y) of an open window.
  void ClickItem(int window, int x, int y) {
    ASSERT_TRUE(m_game.IsOpen(window)) << window;
    m_game.ClickIn(window, x + 18, y + 18);
    m_game.Do(zortest::Wait(40));
  }
  // The bar shows while the pointer is at the bottom of the screen.
  void BarButton(int x, int opens) {
    m_game.Run({zortest::Move(600, 590), zortest::Wait(40)});
    m_game.Click(x + 18, 505 + 18).Do(zortest::Wait(40));
    ASSERT_TRUE(m_game.IsOpen(opens)) << opens;
  }
  void Cell(int x, int y, int* sx, int* sy) {
    m_game.Map().SetIsoCenter(x, y);
    m_game.Do(zortest::Wait(20));
    ASSERT_TRUE(m_game.ScreenOfCell(x, y, sx, sy)) << x << "/" << y;
  }
  void DragCells(int x0, int y0, int x1, int y1) {
    m_game.Map().SetIsoCenter((x0 + x1) / 2, (y0 + y1) / 2);
    m_game.Do(zortest::Wait(20));
    int fx = -1, fy = -1, tx = -1, ty = -1;
    ASSERT_TRUE(m_game.ScreenOfCell(x0, y0, &fx, &fy)) << x0 << "/" << y0;
    ASSERT_TRUE(m_game.ScreenOfCell(x1, y1, &tx, &ty)) << x1 << "/" << y1;
    m_game.Drag(fx, fy, tx, ty);
    m_game.Do(zortest::Wait(40));
  }

  void Street(int x0, int y0, int x1, int y1) {
    ASSERT_NO_FATAL_FAILURE(BarButton(kBarStreets, kStreetMenu));
    ASSERT_NO_FATAL_FAILURE(ClickItem(kStreetMenu, 5, 17));
    ASSERT_EQ(CUserInt::selObj.tool, 2);
    ASSERT_NO_FATAL_FAILURE(DragCells(x0, y0, x1, y1));
    for (const auto& [x, y] : {std::pair{x0, y0}, std::pair{(x0 + x1) / 2, (y0 + y1) / 2}, std::pair{x1, y1}}) {
      const int type = m_game.Map().GetTypeAt(x, y, ISO_LAYER_GROUND);
      ASSERT_TRUE(type == OBJ_STREET_PIECE || type == OBJ_CROSSING) << x << "/" << y << ": " << type;
    }
  }

  void Zone(ZoneKind kind, int x0, int y0, int x1, int y1) {
    ASSERT_NO_FATAL_FAILURE(BarButton(kBarZones, kZoneMenu));
    ASSERT_NO_FATAL_FAILURE(ClickItem(kZoneMenu, 5, kind.row));
    if (kind.densities > 0) {
      ASSERT_NO_FATAL_FAILURE(ClickItem(kind.densities, 3, 5));
    }
    ASSERT_GE(CUserInt::selObj.tool, 10);
    ASSERT_LE(CUserInt::selObj.tool, 12);
    ASSERT_NO_FATAL_FAILURE(DragCells(x0, y0, x1, y1));
    const int type = m_game.Map().GetTypeAt(x1, y1, ISO_LAYER_GROUND);
    ASSERT_EQ(type, OBJ_ZONE_RESIDENTIAL + CUserInt::selObj.tool - 10) << x1 << "/" << y1;
  }

  void Building(Group group, TObjectType type, int x, int y) {
    ASSERT_NO_FATAL_FAILURE(BarButton(kBarBuildings, kPalette));
    ASSERT_NO_FATAL_FAILURE(ClickItem(kPalette, 5, 17));
    ASSERT_NO_FATAL_FAILURE(ClickItem(kTownGroups, 5, group.row));
    ASSERT_NO_FATAL_FAILURE(ClickItem(group.sizes, 3, 5));
    ASSERT_EQ(CUserInt::selObj.tool, 6);
    int sx = -1, sy = -1;
    ASSERT_NO_FATAL_FAILURE(Cell(x, y, &sx, &sy));
    m_game.Click(sx, sy).Do(zortest::Wait(40));
    ASSERT_EQ(m_game.Map().GetTypeAt(x, y, ISO_LAYER_GROUND), type) << x << "/" << y;
  }

  zortest::Scenario& m_game;
};

}  // namespace growtest
