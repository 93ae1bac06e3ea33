// A new player in the starting town, with the mouse only: each tool chosen
// from the bar's network menu, a street over the river on a bridge and a
// track over a street and over the avenue on level crossings, paid from
// the accounts; and a drag the tool refuses says why when it is let go.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "gui/screen_window.h"
#include "iso/iso_geometry.h"
#include "iso/iso_info.h"
#include "iso/iso_welt.h"
#include "model/data_exchange.h"
#include "model/message.h"
#include "network/rail_junction_list.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/str_strassen_teil.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/str_preview.h"
#include "ui/user_int.h"
#include "world/street_drag_steps.h"
#include "world/zor_world.h"
#include "worldbase/zor_world_host.h"

namespace {

using namespace zortest;

constexpr const char* kStreetCosts = "F.EXPENSES.BUILDINFRASTRUCTURE";
constexpr const char* kTrackCosts = "OPNV.F.COST.INFRASTRUCTURE";
// The yes button of the question window.
constexpr int kYes[2] = {250 + 16 + 28, 150 + 83 + 8};
// The starting town (a river two cells wide at x 70 and 71, the four-lane
// avenue on y 60 and 61, side and main streets around it, no track), as
// a new game starts with it, seen from the farthest view around the river.
class StartingTown {
 public:
  StartingTown() {
    std::filesystem::create_directories("SaveGame");
    for (const char* f : {"STARTUP.AUD", "STARTUP.AUM"})
      std::filesystem::copy_file(BinaryDir() + "/gamedata/SaveGame/" + f, std::string("SaveGame/") + f);
    game = std::make_unique<Scenario>("AUTOLOAD=1\nLANGUAGE=1\n");
    game->Run({Move(400, 250), Wait(40)});
    for (int i = 0; i < 3 && g_ZoomStufe != ISO_ZOOM_4; ++i) game->Key(SDLK_c).Do(Wait(100));
    game->Map().SetIsoCenter(66, 64);
    game->Run({Move(400, 250), Wait(40)});
    screen = dragsteps::MapScreen(*game);
  }

  void ChooseFromBar(int type) { dragsteps::ChooseFromBar(*game, type); }
  void Drag(int x1, int y1, int x2, int y2, const char* shot = nullptr) {
    dragsteps::Drag(*game, screen, x1, y1, x2, y2, shot);
  }

  // Chooses the tool from the bar and drags it: the lengths by class
  // after the drag, and the ones before it in *before.
  CUserInt::NetLengths DragTool(int type, int x1, int y1, int x2, int y2, CUserInt::NetLengths* before,
                                const char* shot = nullptr) {
    ChooseFromBar(type);
    *before = Lengths();
    Drag(x1, y1, x2, y2, shot);
    return Lengths();
  }

  std::pair<int, int> At(int x, int y) { return dragsteps::At(screen, x, y); }
  std::string Warning() { return dragsteps::Warning(*game); }
  void CloseWarning() { dragsteps::CloseWarning(*game); }

  double Var(const char* name) {
    double value = 0;
    EXPECT_EQ(game->World().GetDataExchange()->GetVarData(name, &value), 0) << name;
    return value;
  }
  CStrJunctionList* Streets() { return game->World().GetStreetNet(); }
  CStrSchJuncList* Rails() { return game->World().GetRailNet(); }
  CUserInt::NetLengths Lengths() { return CUserInt::MeasureNetLengths(Streets(), Rails()); }
  int GroundRes(int x, int y) { return game->Map().GetIsoInfo(x, y)->GetResID(ISO_LAYER_GROUND); }

  std::unique_ptr<Scenario> game;
  dragsteps::ScreenCells screen;
};

TEST(ScenarioRiverAndRail, ANewPlayerBridgesTheRiverWithAStreetFromTheBar) {
  StartingTown town;
  ASSERT_EQ(town.game->Map().GetTypeAt(70, 64, ISO_LAYER_GROUND), OBJ_RIVER);
  ASSERT_EQ(town.game->Map().GetTypeAt(71, 64, ISO_LAYER_GROUND), OBJ_RIVER);
  const double costs0 = town.Var(kStreetCosts), konto0 = town.Var("F.KONTO");
  const int junctions0 = static_cast<int>(town.Streets()->GetNumber());

  // A side street from open ground west of the river over both of its
  // cells to the side street at x 74, which it joins in a T.
  CUserInt::NetLengths before;
  CUserInt::NetLengths after = town.DragTool(1, 66, 64, 74, 64, &before, "river_bridge_preview");
  EXPECT_EQ(town.Warning(), "");
  ASSERT_GT(after.side, before.side) << "the street was built";
  EXPECT_EQ(static_cast<int>(town.Streets()->GetNumber()), junctions0 + 2) << "its dead end and the T";
  ASSERT_NE(town.Streets()->FindJunctionAt(74, 64), nullptr);
  CStrStrasse* street = nullptr;
  CStrStrassenTeil* piece = nullptr;
  ASSERT_TRUE(town.Streets()->PointHitStreet(70, 64, &street, &piece));
  EXPECT_TRUE(piece->HitRiver()) << "the street crosses the river on a bridge";
  EXPECT_TRUE(town.Streets()->PointHitStreet(71, 64, &street, &piece));
  // Its two ramps stand on the two river cells, rising from the west.
  EXPECT_EQ(town.GroundRes(70, 64), CStrBride::kStartUp);
  EXPECT_NE(town.GroundRes(71, 64), CStrBride::kStartUp);
  EXPECT_NE(town.game->Map().GetTypeAt(71, 64, ISO_LAYER_GROUND), OBJ_RIVER);
  // Paid at the side street's price per length, from the account.
  const double paid = town.game->World().GetDataExchange()->GetVarValue(kStreetCosts) - costs0;
  EXPECT_NEAR(paid, CWorldHost::Get()->GetPreis(5, 0) * (after.side - before.side), 1.0);
  EXPECT_GT(paid, 0.0);
  EXPECT_NEAR(konto0 - town.Var("F.KONTO"), paid, 1.0);

  // A main street bridges it too.
  after = town.DragTool(2, 66, 69, 74, 69, &before);
  ASSERT_GT(after.main, before.main);
  ASSERT_TRUE(town.Streets()->PointHitStreet(71, 69, &street, &piece));
  EXPECT_TRUE(piece->HitRiver());
  EXPECT_EQ(town.Warning(), "");
  // A track over the side street at x 54 beside them, for the picture.
  town.DragTool(9, 48, 69, 60, 69, &before);
  // A quick right click puts the tool away and its marks with it.
  town.game->Run({Move(300, 200), Press(300, 200, kRight), Wait(40), Release(300, 200, kRight), Frames(2)});
  EXPECT_EQ(CUserInt::selObj.tool, 1);
  town.game->Shot("river_bridges_and_level_crossing");
}

TEST(ScenarioRiverAndRail, AFourLaneStreetBridgesTheRiverOnBothLanes) {
  StartingTown town;
  CUserInt::NetLengths before;
  ASSERT_GT(town.DragTool(4, 66, 63, 74, 63, &before).four, before.four);
  EXPECT_EQ(town.Warning(), "");
  for (int y : {63, 64})
    for (int x : {70, 71}) {
      SCOPED_TRACE(std::to_string(x) + "/" + std::to_string(y));
      CStrStrasse* street = nullptr;
      CStrStrassenTeil* piece = nullptr;
      EXPECT_NE(town.game->Map().GetTypeAt(x, y, ISO_LAYER_GROUND), OBJ_RIVER) << "the bridge covers the river";
      if (y == 63) {
        ASSERT_TRUE(town.Streets()->PointHitStreet(static_cast<short>(x), static_cast<short>(y), &street, &piece));
        EXPECT_TRUE(piece->HitRiver());
      }
    }
}

TEST(ScenarioRiverAndRail, ANewPlayerLaysATrackOverASideStreetAndExtendsIt) {
  StartingTown town;
  const double konto0 = town.Var("F.KONTO"), streets0 = town.Var(kStreetCosts), tracks0 = town.Var(kTrackCosts);
  // The town's first track, from open ground over the side street at x 54.
  CUserInt::NetLengths before;
  const CUserInt::NetLengths after = town.DragTool(9, 48, 69, 60, 69, &before, "level_crossing_preview");
  EXPECT_EQ(town.Warning(), "");
  ASSERT_GT(after.track, before.track) << "the track was built";
  EXPECT_TRUE(town.Rails()->HasGrdCrossingAt(54, 69)) << "a level crossing where it meets the street";
  const double paid = town.Var(kTrackCosts) - tracks0;
  EXPECT_NEAR(paid, CWorldHost::Get()->GetPreis(9, 0) * (after.track - before.track) * 0.5, 1.0);
  EXPECT_EQ(town.Var(kStreetCosts), streets0) << "a track books nothing on the streets";
  EXPECT_NEAR(konto0 - town.Var("F.KONTO"), paid, 1.0);

  // Its dead end's group takes two cells along the track: a drag into the
  // group's other cell has not left the junction yet, which closes no
  // circle; dragged on from that cell the track is extended.
  const std::pair<int, int> a = town.At(49, 69), b = town.At(48, 69);
  town.game->Run({Move(a.first, a.second), Press(a.first, a.second), Move(b.first, b.second)});
  EXPECT_NE(town.Warning(), "Rail network forms a circle!");
  for (int x = 47; x >= 42; --x) town.game->Do(Move(town.At(x, 69).first, town.At(x, 69).second));
  town.game->Run({Release(town.At(42, 69).first, town.At(42, 69).second), Frames(2)});
  EXPECT_EQ(town.Warning(), "");
  EXPECT_GT(town.Lengths().track, after.track) << "the track was extended";
  EXPECT_EQ(town.Rails()->GetNumber(), 2u) << "one track with its two dead ends";

  // The same at the east end, from the junction's own cell into its
  // group's other cell and let go there: too short, and no circle.
  const std::pair<int, int> c = town.At(60, 69), d = town.At(61, 69);
  town.game->Run({Move(c.first, c.second), Press(c.first, c.second), Move(d.first, d.second)});
  EXPECT_EQ(town.Warning(), "");
  town.game->Run({Release(d.first, d.second), Frames(2)});
  EXPECT_EQ(town.Warning(), "The track is too short!");
  EXPECT_EQ(town.Rails()->GetNumber(), 2u);
}

TEST(ScenarioRiverAndRail, ANewPlayerLaysATrackOverTheAvenue) {
  StartingTown town;
  CUserInt::NetLengths before;
  ASSERT_GT(town.DragTool(9, 66, 52, 66, 64, &before).track, before.track);
  EXPECT_EQ(town.Warning(), "");
  EXPECT_TRUE(town.Rails()->HasGrdCrossingAt(66, 60) || town.Rails()->HasGrdCrossingAt(67, 60))
      << "a level crossing over the avenue's lanes";
}

// Every refused drag, when it is let go, says why in the warning window,
// and builds and books nothing.
TEST(ScenarioRiverAndRail, ARefusedDragSaysWhyWhenItIsLetGo) {
  StartingTown town;
  const uint32_t junctions = town.Streets()->GetNumber();
  const double costs = town.Var(kStreetCosts);
  struct Case {
    int type, x1, y1, x2, y2;
    const char* why;
  } cases[] = {
      // A street from open ground to open ground beside the town.
      {1, 58, 76, 64, 76, "A new street must join the street network!"},
      // A press and a release on one cell.
      {1, 66, 64, 66, 64, "The street is too short!"},
      // A side street from the four-lane avenue's dead end.
      {1, 50, 60, 50, 66, "Only one street of the same type can be inserted here!"},
      // A track whose level crossing would lie right after its start: the
      // track lacks cells of its own before the street.
      {9, 52, 69, 60, 69, "The track needs more cells beside the street: four before it and three after it!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    town.ChooseFromBar(c.type);
    town.Drag(c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(town.Warning(), c.why);
    EXPECT_EQ(town.Streets()->GetNumber(), junctions);
    EXPECT_EQ(town.Rails()->GetNumber(), 0u);
    EXPECT_EQ(town.Var(kStreetCosts), costs);
    town.CloseWarning();
  }
  // Once the rail network has a track, a free-standing one is refused too.
  town.ChooseFromBar(9);
  town.Drag(48, 69, 60, 69);
  ASSERT_EQ(town.Rails()->GetNumber(), 2u);
  town.Drag(52, 76, 58, 76);
  EXPECT_EQ(town.Warning(), "New tracks must join the rail network!");
  EXPECT_EQ(town.Rails()->GetNumber(), 2u);
  // A track turned at right angles out of its dead end is refused in the
  // tracks' words.
  town.CloseWarning();
  town.Drag(48, 69, 48, 75);
  EXPECT_EQ(town.Warning(), "Track construction not possible");
  EXPECT_EQ(town.Rails()->GetNumber(), 2u);
}

// A new free game as it starts, in English, with its cells named from a
// point of its view as (along, across), the along axis x or y.
struct FreeGameAxes {
  explicit FreeGameAxes(bool alongX) : game("LANGUAGE=1\n"), alongX(alongX) {
    game.Run({Move(400, 250), Wait(40)});
    screen = dragsteps::MapScreen(game);
    EXPECT_EQ(game.Map().MouseKoorToIsoKoor(250, 220, &cx, &cy), 0);
    // The view shows more cells towards +x of that point.
    cx += 4;
  }
  std::pair<int, int> Cell(int along, int across) const {
    return alongX ? std::pair{cx + along, cy + across} : std::pair{cx + across, cy + along};
  }
  // Chooses the tool from the bar and drags it from cell a to cell b.
  void Drag(int tool, std::pair<int, int> a, std::pair<int, int> b) {
    dragsteps::ChooseFromBar(game, tool);
    dragsteps::Drag(game, screen, a.first, a.second, b.first, b.second);
  }
  Scenario game;
  bool alongX;
  dragsteps::ScreenCells screen;
  int cx = 0, cy = 0;
};

// A new free game, with the mouse only: a lone street, and across it the
// shortest track that has four cells before the street and three after it,
// dragged either way along either axis. A cell shorter at either end is
// refused with the text that asks for those cells, and builds nothing; the
// shortest is built with its level crossing, joined into the rail network,
// and a save and a load keep both. So, the other way round, are a lone
// track and the shortest streets across it.
TEST(ScenarioRiverAndRail, InANewFreeGameTheShortestTracksAcrossAStreetAreBuiltEitherWay) {
  constexpr const char* kLacks = "The track needs more cells beside the street: four before it and three after it!";
  constexpr const char* kStreetLacks =
      "The street needs more cells beside the track: three before it and two after it, three after it for four lanes!";
  for (const bool alongX : {true, false})
    for (const int dir : {1, -1}) {
      SCOPED_TRACE(std::string(alongX ? "along x" : "along y") + (dir > 0 ? ", up" : ", down"));
      // First the other way round, in a new free game of its own each: the first
      // track, and across it the first street, narrow or four-lane, with
      // three cells before the track's two and two after them (a four-lane
      // street dragged down three after them).
      for (const int type : {1, 4}) {
        SCOPED_TRACE("street type " + std::to_string(type));
        FreeGameAxes view(alongX);
        Scenario& other = view.game;
        auto cell = [&](int along, int across) { return view.Cell(along, across); };
        auto drawOther = [&](int tool, std::pair<int, int> a, std::pair<int, int> b) { view.Drag(tool, a, b); };
        // The track runs across at along 0 and 1, the street along at across 0.
        drawOther(9, cell(0, -6), cell(0, 6));
        ASSERT_EQ(dragsteps::Warning(other), "");
        const int after = type == 4 && dir < 0 ? 3 : 2;
        const int first = dir > 0 ? -3 : 4, last = dir > 0 ? 1 + after : -after;
        for (const auto& [a, b] : {std::pair{first + dir, last}, std::pair{first, last - dir}}) {
          SCOPED_TRACE(std::to_string(a) + " -> " + std::to_string(b));
          drawOther(type, cell(a, 0), cell(b, 0));
          EXPECT_EQ(dragsteps::Warning(other), kStreetLacks);
          EXPECT_EQ(other.World().GetStreetNet()->GetNumber(), 0u);
          dragsteps::CloseWarning(other);
        }
        drawOther(type, cell(first, 0), cell(last, 0));
        EXPECT_EQ(dragsteps::Warning(other), "");
        EXPECT_EQ(other.World().GetStreetNet()->GetNumber(), 2u) << "the street's two dead ends";
        for (int along : {0, 1}) {
          const auto [x, y] = cell(along, 0);
          EXPECT_TRUE(other.World().GetRailNet()->HasGrdCrossingAt(static_cast<short>(x), static_cast<short>(y)))
              << x << "/" << y;
        }
      }
      // The track runs along, the street across.
      FreeGameAxes view(alongX);
      Scenario& game = view.game;
      auto cell = [&](int along, int across) { return view.Cell(along, across); };
      auto drag = [&](int type, std::pair<int, int> a, std::pair<int, int> b) { view.Drag(type, a, b); };
      // The street crosses the track's axis at along 0, the track's two rows
      // at across -1 and 0.
      drag(1, cell(0, -6), cell(0, 6));
      ASSERT_EQ(dragsteps::Warning(game), "");
      ASSERT_EQ(game.World().GetStreetNet()->GetNumber(), 2u);
      const int from = -4 * dir, to = 3 * dir;
      for (const auto& [a, b] : {std::pair{from + dir, to}, std::pair{from, to - dir}}) {
        SCOPED_TRACE(std::to_string(a) + " -> " + std::to_string(b));
        drag(9, cell(a, -1), cell(b, -1));
        EXPECT_EQ(dragsteps::Warning(game), kLacks);
        if (alongX && dir > 0) game.Shot("free-game-track-a-cell-short-refused");
        EXPECT_EQ(game.World().GetRailNet()->GetNumber(), 0u);
        dragsteps::CloseWarning(game);
      }
      drag(9, cell(from, -1), cell(to, -1));
      EXPECT_EQ(dragsteps::Warning(game), "");
      if (alongX && dir > 0) {
        // A quick right click puts the tool away, and its marks with it.
        game.Run({Move(300, 200), Press(300, 200, kRight), Wait(40), Release(300, 200, kRight), Frames(2)});
        game.Shot("free-game-shortest-track-level-crossing");
      }
      // What the map and the rail network hold, before and after the load.
      auto built = [&] {
        CStrSchJuncList* rails = game.World().GetRailNet();
        ASSERT_EQ(rails->GetNumber(), 2u) << "the track's two dead ends";
        CStrJunction* start = rails->FindJunctionAt(static_cast<short>(cell(from, -1).first),
                                                    static_cast<short>(cell(from, -1).second));
        CStrJunction* end = rails->FindJunctionAt(static_cast<short>(cell(to, -1).first),
                                                  static_cast<short>(cell(to, -1).second));
        ASSERT_NE(start, nullptr);
        ASSERT_NE(end, nullptr);
        ASSERT_EQ(start->GetAnzLinkedStreets(), 1);
        EXPECT_TRUE(end->HasStreet(start->GetStreetByNR(0))) << "one track between them";
        for (int across : {-1, 0}) {
          const auto [x, y] = cell(0, across);
          EXPECT_TRUE(rails->HasGrdCrossingAt(static_cast<short>(x), static_cast<short>(y))) << x << "/" << y;
        }
      };
      built();
      game.Key(SDLK_F4).Do(Wait(1500));
      ASSERT_TRUE(std::filesystem::exists("SaveGame/FASTSAVE.AUD"));
      // The track drawn on from its start after the save: the load takes the
      // longer track back to the one saved.
      drag(9, cell(from, -1), cell(from - 3 * dir, -1));
      ASSERT_EQ(game.World().GetRailNet()->FindJunctionAt(static_cast<short>(cell(from, -1).first),
                                                          static_cast<short>(cell(from, -1).second)),
                nullptr);
      game.Key(SDLK_F5).Do(Wait(500));
      ASSERT_TRUE(game.Ui().IsAchtungWindowJaNein(CUserInt::kQuestionReplaceGame));
      game.Click(kYes[0], kYes[1]).Do(Wait(1500));
      built();
    }
}

}  // namespace
