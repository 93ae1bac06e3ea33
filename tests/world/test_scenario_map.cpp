// The player moves the map: dragging with the right button and turning and
// zooming by keys, played through the frame loop on the real game.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "framework/qno_resource.h"
#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/game_menu_steps.h"
#include "world/scenario_opnv_steps.h"
#include "world/scenario_street_across.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

// The middle of the map part of the screen, away from every edge band.
constexpr int kMidX = 400;
constexpr int kMidY = 250;

struct ScenarioMap : testing::Test {
  // Where the map draws cell (0, 0) on the screen.
  static std::pair<int, int> MapPosition(Scenario& game) {
    CIsoWelt& map = game.Map();
    int x = 0, y = 0;
    map.CalcIsoToXY(0, 0, &x, &y);
    return {map.GetOriginX() + x + map.GetPixelOffsetX(), map.GetOriginY() + y + map.GetPixelOffsetY()};
  }
  // The same state drawn again from nothing: the map's records dropped,
  // the screen cleared, then the world's frame outside the loop.
  static uint64_t DrawnAfresh(Scenario& game) {
    game.Map().ResetCompleteSpriteRenderList();
    SDL_FillRect(game.World().GetScreen(), nullptr, 0);
    game.World().Render(game.World().GetDisplay());
    return game.Fingerprint({0, 0, game.Width(), game.Height()});
  }
};

TEST_F(ScenarioMap, RightDragMovesTheMapWithTheMouseAndTheFrameFollows) {
  Scenario game;
  const Region middle{300, 150, 500, 350};
  const auto before = MapPosition(game);
  const uint64_t frameBefore = game.Fingerprint(middle);
  game.Run({Move(kMidX, kMidY), Press(kMidX, kMidY, kRight), Wait(100)});
  game.Run({Move(kMidX + 60, kMidY + 20), Move(kMidX + 130, kMidY + 40), Wait(100)});
  const auto during = MapPosition(game);
  EXPECT_EQ(during.first, before.first + 130);
  EXPECT_EQ(during.second, before.second + 40);
  game.Run({Release(kMidX + 130, kMidY + 40, kRight), Move(kMidX, kMidY), Wait(100)});
  // Moving the mouse without the button leaves the map where it was put.
  EXPECT_EQ(MapPosition(game), during);
  EXPECT_NE(game.Fingerprint(middle), frameBefore);
  game.Shot("right-drag");
}

TEST_F(ScenarioMap, ZoomAndTurnKeysShowTheWaitCursorForAFrameThenChangeTheView) {
  Scenario game;
  const Region middle{300, 150, 500, 350};
  game.Run({Move(kMidX, kMidY), Wait(40)});
  const TIsoZoomStufe zoom = g_ZoomStufe;
  const uint64_t before = game.Fingerprint(middle);
  game.Do(KeyDown(SDLK_c));
  // The key itself changes nothing but the cursor.
  EXPECT_EQ(game.Ui().GetCursorID(), CUserInt::kCursorWait);
  game.Run({KeyUp(SDLK_c), Wait(100)});
  EXPECT_NE(g_ZoomStufe, zoom);
  EXPECT_EQ(game.Ui().GetCursorID(), 1409);
  EXPECT_NE(game.Fingerprint(middle), before);
  game.Key(SDLK_d).Do(Wait(100));
  EXPECT_EQ(g_ZoomStufe, zoom);
  EXPECT_EQ(game.Fingerprint(middle), before) << "zooming back draws the same frame";

  game.Key(SDLK_x).Do(Wait(100));
  EXPECT_EQ(g_IsoRichtung, 1);
  game.Shot("turned-right");
  // The key marked Z turns back (its code is the one of Y).
  game.Key(SDLK_z).Do(Wait(100));
  EXPECT_EQ(g_IsoRichtung, 0);
  game.Key(SDLK_z).Do(Wait(100));
  EXPECT_EQ(g_IsoRichtung, 3);
}

TEST_F(ScenarioMap, ArrowKeysScrollTheMapByFiftyPixels) {
  Scenario game;
  game.Run({Move(kMidX, kMidY), Wait(40)});
  const auto start = MapPosition(game);
  game.Key(SDLK_UP).Do(Wait(40));
  EXPECT_EQ(MapPosition(game).first, start.first);
  EXPECT_EQ(MapPosition(game).second, start.second + 50);
  game.Key(SDLK_LEFT).Key(SDLK_LEFT).Do(Wait(40));
  EXPECT_EQ(MapPosition(game).first, start.first + 100);
  game.Key(SDLK_DOWN).Key(SDLK_RIGHT).Key(SDLK_RIGHT).Do(Wait(40));
  EXPECT_EQ(MapPosition(game), start);
  // At the edge of the map the keys scroll no further.
  for (int i = 0; i < 80; ++i) game.Key(SDLK_UP);
  const auto edge = MapPosition(game);
  EXPECT_LT(edge.second, start.second + 80 * 50);
  game.Key(SDLK_UP).Key(SDLK_UP).Do(Wait(40));
  EXPECT_EQ(MapPosition(game), edge);
}

TEST_F(ScenarioMap, TheClearKeyPausesAndResumesTheGame) {
  Scenario game;
  game.Run({Move(kMidX, kMidY), Wait(200)});
  EXPECT_FALSE(game.World().IsPause());
  EXPECT_GT(game.World().GetAccumulatedTime(), 0);
  game.Key(SDLK_CLEAR);
  EXPECT_TRUE(game.World().IsPause());
  const int held = game.World().GetAccumulatedTime();
  game.Do(Wait(1000));
  EXPECT_EQ(game.World().GetAccumulatedTime(), held) << "the simulation stands while paused";
  game.Key(SDLK_CLEAR).Do(Wait(500));
  EXPECT_FALSE(game.World().IsPause());
  EXPECT_GT(game.World().GetAccumulatedTime(), held);
}

TEST_F(ScenarioMap, FramesRepeatWhileNothingHappens) {
  Scenario game;
  const Region middle{300, 150, 500, 350};
  game.Run({Move(kMidX, kMidY), Wait(200)});
  const uint64_t first = game.Fingerprint(middle);
  game.Run({Wait(200)});
  EXPECT_EQ(game.Fingerprint(middle), first);
  EXPECT_GT(game.FramesRun(), 20);
}

TEST_F(ScenarioMap, PngOfTheFrameHoldsItsPixels) {
  Scenario game;
  game.Run({Move(kMidX, kMidY), Wait(40)});
  if (Scenario::CanWritePng()) {
    ASSERT_TRUE(game.WritePng("frame.png"));
    const std::string png = ReadFile("frame.png");
    ASSERT_GT(png.size(), 100u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
  }
  // Writing into a folder that does not exist fails without harm.
  EXPECT_FALSE(game.WritePng("no/such/folder/frame.png"));
}

// Flussau paused from the menu's settings page, the menu closed, the map
// turned, and the crossing windows of its four bridgeheads, each brought
// to the middle of the screen, opened and closed one after the other. Each
// closed window leaves the map as it was before it opened, and after the
// last one the loop's frames, on a screen that keeps its pixels, are the
// frame drawn afresh: paused, and while the cars drive again.
TEST_F(ScenarioMap, APausedTurnedTownRedrawsAsAfreshAfterFourCrossingWindows) {
  using namespace menusteps;
  if (!LayOutSuppliedGames()) GTEST_SKIP() << "no game data in this build";
  constexpr int kTask = 232, kCrossingWindow = 229;
  constexpr int kPlay[2] = {251, 327}, kCrossingClose[2] = {186, 9}, kMenuClose[2] = {329, 9};
  constexpr int kPauseSwitch[2] = {79, 65};
  Scenario game;
  ASSERT_NO_FATAL_FAILURE(LoadScenario(game, 3, 0, "Flussau"));
  ASSERT_TRUE(game.IsOpen(kTask));
  game.ClickIn(kTask, kPlay[0], kPlay[1]);
  game.Run({Move(kMidX, kMidY), Wait(400)});
  ASSERT_FALSE(game.World().IsPause());

  // Paused from the menu.
  ASSERT_NO_FATAL_FAILURE(OpenGameMenu(game));
  game.ClickIn(kGameMenu, 28, 149);
  game.Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(kSettingsPage));
  game.ClickIn(kSettingsPage, kPauseSwitch[0], kPauseSwitch[1]);
  game.Do(Wait(40));
  ASSERT_TRUE(game.World().IsPause());
  game.ClickIn(kGameMenu, kMenuClose[0], kMenuClose[1]);
  game.Run({Move(kMidX, kMidY), Wait(100)});
  ASSERT_FALSE(game.IsOpen(kGameMenu));
  game.Key(SDLK_x).Do(Wait(200));

  const Region all{0, 0, game.Width(), game.Height()};
  for (const Cell c : {Cell{58, 56}, Cell{72, 56}, Cell{58, 74}, Cell{72, 74}}) {
    SCOPED_TRACE(testing::Message() << c.x << "/" << c.y);
    game.Map().SetIsoCenter(c.x, c.y);
    game.Do(Wait(100));
    int sx = 0, sy = 0;
    ASSERT_TRUE(ScreenOf(game, c, sx, sy));
    game.Run({Move(sx, sy), Wait(100)});
    const uint64_t before = game.Fingerprint(all);
    game.Click(sx, sy).Do(Wait(100));
    ASSERT_TRUE(game.IsOpen(kCrossingWindow));
    EXPECT_NE(game.Fingerprint(all), before) << "the window shows";
    game.ClickIn(kCrossingWindow, kCrossingClose[0], kCrossingClose[1]);
    game.Run({Move(sx, sy), Wait(100)});
    ASSERT_FALSE(game.IsOpen(kCrossingWindow));
    EXPECT_EQ(game.Fingerprint(all), before) << "the closed window is gone";
  }
  game.Run({Move(kMidX, kMidY), Wait(200)});
  const uint32_t changesOnly = game.Map().GetChangesOnlyFrameCount();
  game.Run({Frames(4)});
  EXPECT_GT(game.Map().GetChangesOnlyFrameCount(), changesOnly) << "the settled map draws only its changes";
  EXPECT_EQ(game.Fingerprint(all), DrawnAfresh(game)) << "paused";
  game.Shot("flussau-paused-turned-after-crossing-windows");
  // Going on from the menu again, the cars drive, and each frame is still
  // the frame drawn afresh.
  ASSERT_NO_FATAL_FAILURE(OpenGameMenu(game));
  game.ClickIn(kGameMenu, 28, 149);
  game.Do(Wait(40));
  game.ClickIn(kSettingsPage, kPauseSwitch[0], kPauseSwitch[1]);
  game.ClickIn(kGameMenu, kMenuClose[0], kMenuClose[1]);
  game.Run({Move(kMidX, kMidY), Wait(400)});
  ASSERT_FALSE(game.World().IsPause());
  for (int frame = 0; frame < 3; ++frame) {
    game.Run({Frames(4)});
    EXPECT_EQ(game.Fingerprint(all), DrawnAfresh(game)) << "going on, check " << frame;
  }
}

// What the map holds, cell by cell: each layer's kind and whether the
// ground layer has its object, the visible mark, and the render list's
// items as the renderer reads them.
std::vector<int> MapCells(Scenario& game) {
  std::vector<int> cells;
  for (int x = 0; x < 128; ++x)
    for (int y = 0; y < 128; ++y) {
      CIsoInfo* cell = game.Map().GetIsoInfo(x, y);
      if (!cell) {
        cells.push_back(-1);
        continue;
      }
      cells.insert(cells.end(), {cell->GetType(ISO_LAYER_GROUND), cell->GetType(ISO_LAYER_UPPER),
                                 cell->GetWorldObject(ISO_LAYER_GROUND) != nullptr, cell->GetVisibleFlag()});
      cell->ForEachRenderItem([&](CIsoInfo::RenderPart part, int id, TIsoRichtung dir, int layer) {
        cells.insert(cells.end(), {static_cast<int>(part), id, static_cast<int>(dir), layer});
        return true;
      });
    }
  return cells;
}

// A load lays the same map whatever game ran before it: the cells of plain
// ground that the game before leaves are kept and laid again as the cells
// its streets, river and buildings stood on are made anew, on every cell
// and in the frame, after a turn and a zoom too; every plain cell shows its
// own ground picture.
TEST_F(ScenarioMap, ALoadLaysTheSameMapWhateverGameRanBefore) {
  if (!menusteps::LayOutSuppliedGames()) GTEST_SKIP() << "no game data in this build";
  Scenario game;
  CZorvaWorld& world = game.World();
  ASSERT_EQ(world.SerializeGameStore("SaveGame/BARE.GMD"), 0);
  struct Seen {
    std::vector<int> cells;
    uint64_t frame = 0;
  };
  auto load = [&](const char* path) {
    EXPECT_EQ(world.SerializeGameLoad(path), 0) << path;
    return Seen{MapCells(game), DrawnAfresh(game)};
  };
  auto same = [](const Seen& a, const Seen& b, const std::string& what) {
    EXPECT_TRUE(a.cells == b.cells) << what;
    EXPECT_EQ(a.frame, b.frame) << what;
  };
  const Seen flussau = load("SaveGame/Flussau.SZD");
  const Seen bare = load("SaveGame/BARE.GMD");
  const Seen town = load("SaveGame/STARTUP.AUD");
  same(load("SaveGame/Flussau.SZD"), flussau, "Flussau after the starting town");
  game.Key(SDLK_x).Do(Wait(100)).Key(SDLK_z).Do(Wait(100));
  same(load("SaveGame/BARE.GMD"), bare, "the bare land after Flussau, turned and zoomed");
  // The bare land loaded over itself keeps every cell.
  std::vector<CIsoInfo*> cells;
  for (int c = 0; c < 128 * 128; ++c) cells.push_back(game.Map().GetIsoInfo(c / 128, c % 128));
  same(load("SaveGame/BARE.GMD"), bare, "the bare land after itself");
  int kept = 0;
  for (int c = 0; c < 128 * 128; ++c) kept += game.Map().GetIsoInfo(c / 128, c % 128) == cells[c];
  EXPECT_EQ(kept, 128 * 128);
  same(load("SaveGame/STARTUP.AUD"), town, "the starting town after the bare land");
  // Every cell of the bare land is plain ground and shows its picture.
  load("SaveGame/BARE.GMD");
  int plain = 0;
  std::set<int> pictures;
  for (int c = 0; c < 128 * 128; ++c) {
    CIsoInfo* cell = game.Map().GetIsoInfo(c / 128, c % 128);
    ASSERT_NE(cell, nullptr);
    ASSERT_EQ(cell->GetX() * 128 + cell->GetY(), c) << "each cell knows where it lies";
    ASSERT_EQ(cell->GetType(ISO_LAYER_GROUND), OBJ_GROUND) << c;
    int first = 0;
    cell->ForEachRenderItem([&](CIsoInfo::RenderPart, int id, TIsoRichtung, int) { return first = id, false; });
    plain += first != 0 && first == cell->GetResID(ISO_LAYER_GROUND);
    pictures.insert(first);
  }
  EXPECT_EQ(plain, 128 * 128);
  EXPECT_GE(pictures.size(), 2u) << "the land's pictures vary";
  // Only the cells in view are marked visible: the view is on the middle.
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{0, 127}, std::pair{127, 0}, std::pair{127, 127}})
    EXPECT_FALSE(game.Map().GetIsoInfo(x, y)->GetVisibleFlag()) << x << "/" << y;
  EXPECT_TRUE(game.Map().GetIsoInfo(64, 64)->GetVisibleFlag());
}

}  // namespace

namespace {
TEST(ScenarioPanel, TheMouseAtTheBottomEdgeShowsThePanelAndLeavingHidesIt) {
  zortest::Scenario game;
  const zortest::Region bar{200, 470, 790, 600};
  game.Run({zortest::Move(400, 250), zortest::Wait(40)});
  const uint64_t hidden = game.Fingerprint(bar);
  game.Run({zortest::Move(600, 590), zortest::Wait(40)});
  EXPECT_EQ(CUserInt::selObj.panelShown, 1);
  game.Shot("panel");
  EXPECT_NE(game.Fingerprint(bar), hidden);
  game.Run({zortest::Move(400, 250), zortest::Wait(40)});
  EXPECT_EQ(CUserInt::selObj.panelShown, 0);
  EXPECT_EQ(game.Fingerprint(bar), hidden);
}
TEST_F(ScenarioMap, AWheelTurnIsNoClick) {
  Scenario game;
  game.Run({Move(kMidX, kMidY), Wait(40)});
  game.Key(SDLK_6);
  ASSERT_EQ(CUserInt::selObj.tool, 2);
  const auto before = MapPosition(game);
  const TIsoZoomStufe zoom = g_ZoomStufe;
  // Over the map the street tool stays, and the map stays where it is.
  for (Button wheel : {kWheelUp, kWheelDown, kWheelDown}) game.Click(kMidX, kMidY, wheel).Do(Wait(40));
  EXPECT_EQ(CUserInt::selObj.tool, 2);
  EXPECT_EQ(MapPosition(game), before);
  EXPECT_EQ(g_ZoomStufe, zoom);
  // Over the bar's menu the menu stays open.
  constexpr int kNetworks[2] = {513, 523};
  constexpr int kNetworksMenu = 20;
  game.Run({Move(600, 590), Wait(40)});
  game.Click(kNetworks[0], kNetworks[1]).Do(Wait(40));
  ASSERT_EQ(game.Ui().IsWindowOpen(kNetworksMenu), 0);
  game.Click(512, 330, kWheelDown).Do(Wait(40));
  EXPECT_EQ(game.Ui().IsWindowOpen(kNetworksMenu), 0);
  // The right button still drops the tool.
  game.Run({Move(kMidX, kMidY), Wait(40)});
  game.Click(kMidX, kMidY, kRight).Do(Wait(40));
  EXPECT_EQ(CUserInt::selObj.tool, 1);
}

TEST_F(ScenarioMap, PlayingOverTheMapAsksForNoPictureTheArchivesLack) {
  Scenario game;
  QnoResourceManager& resources = *game.World().GetResourceManager();
  resources.TrackRequests(true);
  // The pointer over the map draws the selection cell every frame; turning
  // and zooming redraws the map at every level.
  game.Run({Move(kMidX, kMidY), Wait(100), Move(kMidX + 40, kMidY + 20), Wait(100)});
  for (int i = 0; i < 4; ++i) game.Key(SDLK_c).Do(Wait(60));
  game.Key(SDLK_d).Do(Wait(60));
  resources.TrackRequests(false);
  EXPECT_TRUE(resources.RequestedIds().count(1455)) << "the selection cell is drawn";
  EXPECT_EQ(std::vector<uint32_t>(resources.MissingIds().begin(), resources.MissingIds().end()),
            std::vector<uint32_t>{});
}

// The loop's screen keeps its pixels from frame to frame: a settled map is
// drawn again only where the screen changed. Each frame is the frame drawn
// afresh: after the cursor moved, while a window opened over the map,
// stayed and closed again, after a scroll, and after a turn and a zoom each
// away for one frame and back, when the map is drawn again from its record.
TEST_F(ScenarioMap, FramesDrawnOnlyWhereTheScreenChangedAreTheFramesDrawnAfresh) {
  Scenario game;
  StreetAcross(game);
  const Region all{0, 0, game.Width(), game.Height()};
  game.Run({Move(kMidX, kMidY), Wait(200)});
  auto afresh = [&] { return DrawnAfresh(game); };
  auto settle = [&] { game.Run({Frames(4)}); };
  // Back from a turn or zoom, the frame is drawn whole or only where it
  // changed, as the frames drawn away from it left the watch.
  auto expectAsAfresh = [&](const std::string& what, bool changesOnly = true) {
    const uint32_t before = game.Map().GetChangesOnlyFrameCount();
    game.Run({Frames(1)});
    if (changesOnly) {
      EXPECT_EQ(game.Map().GetChangesOnlyFrameCount(), before + 1) << what << ": only the changes drawn";
    }
    const uint64_t shown = game.Fingerprint(all);
    EXPECT_EQ(shown, afresh()) << what;
  };
  settle();
  expectAsAfresh("settled");
  settle();
  // The interface drawn between the map's two passes (the cursor's mark on
  // the map, a window) cuts the map's runs there until the map is drawn
  // afresh: such frames are drawn whole.
  game.Do(Move(kMidX + 90, kMidY - 40));
  expectAsAfresh("the cursor moved", false);
  settle();
  constexpr int kOptionsPage = 163;
  game.Ui().ActivateWindow(kOptionsPage, 1);
  expectAsAfresh("a window opened", false);
  settle();
  expectAsAfresh("the window stayed", false);
  game.Ui().DeActivateWindow(kOptionsPage, 0);
  expectAsAfresh("the window closed", false);
  settle();
  game.Key(SDLK_UP).Do(Wait(100));
  settle();
  expectAsAfresh("scrolled");
  game.Key(SDLK_x).Do(Frames(1)).Key(SDLK_z);
  expectAsAfresh("turned right for a frame and back", false);
  settle();
  game.Key(SDLK_c).Do(Frames(1)).Key(SDLK_d);
  expectAsAfresh("zoomed for a frame and back", false);
}

}  // namespace
