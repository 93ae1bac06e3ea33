// Streets built by the player in the supplied scenario Ringstadt: a
// four-lane ring around a grid of streets. Each drag is played with the
// mouse through the frame loop on the loaded town.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <map>
#include <string>
#include <utility>

#include "gui/screen_window.h"
#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "model/message.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/game_menu_steps.h"
#include "world/street_drag_steps.h"
#include "world/zor_world.h"

namespace {

namespace fs = std::filesystem;
using namespace zortest;
using namespace menusteps;

// The task window and its play button; Ringstadt's row on the load page.
constexpr int kTask = 232, kPlay[2] = {251, 327}, kRingstadtRow = 2;

// Ringstadt loaded from the game menu's scenario page and played, seen
// from the nearest view.
class Ringstadt {
 public:
  bool Load() {
    const fs::path supplied = BinaryDir() + "/gamedata/SaveGame";
    if (!fs::exists(supplied / "Ringstadt.SZD")) return false;
    fs::create_directories("SaveGame");
    for (const auto& entry : fs::directory_iterator(supplied))
      fs::copy_file(entry.path(), fs::path("SaveGame") / entry.path().filename(), fs::copy_options::overwrite_existing);
    game.Run({Move(400, 250), Wait(40)});
    OpenGameMenu(game);
    game.ClickIn(kGameMenu, kLoadTab[0], kLoadTab[1]);
    game.Do(Wait(40));
    game.ClickIn(kLoadPage, kScenarioMode[0], kScenarioMode[1]);
    game.Do(Wait(100));
    game.ClickIn(kLoadPage, kFirstRow[0], kFirstRow[1] + kRingstadtRow * kRowHeight);
    game.Do(Wait(100));
    EXPECT_STREQ(game.World().GetLoadSaveName(), "Ringstadt");
    PressLoad(game);
    EXPECT_TRUE(game.IsOpen(kTask));
    game.ClickIn(kTask, kPlay[0], kPlay[1]);
    game.Do(Wait(100));
    for (int i = 0; i < 3 && g_ZoomStufe != ISO_ZOOM_4; ++i) game.Key(SDLK_c).Do(Wait(100));
    return true;
  }

  // Centres the view on a cell and learns where the cells around it lie.
  void Look(int x, int y) {
    game.Map().SetIsoCenter(x, y);
    game.Run({Move(400, 250), Wait(40)});
    screen = dragsteps::MapScreen(game);
  }

  void ChooseFromBar(int type) { dragsteps::ChooseFromBar(game, type); }
  void Drag(int x1, int y1, int x2, int y2) { dragsteps::Drag(game, screen, x1, y1, x2, y2); }
  std::string Warning() { return dragsteps::Warning(game); }
  void CloseWarning() { dragsteps::CloseWarning(game); }
  int Ground(int x, int y) { return game.Map().GetTypeAt(x, y, ISO_LAYER_GROUND); }

  Scenario game{"LANGUAGE=1\n"};
  dragsteps::ScreenCells screen;
};

struct Drag {
  int type, x1, y1, x2, y2;
  const char* why;  // the warning on release, "" when the street is built
};

// Plays each drag on the view centred near its start and checks the
// outcome: a built street adds its two end junctions and runs from a
// junction of three streets on the ring (or at the ring) to a dead end of
// its own type; a refused one says why and leaves the network as it was.
void Play(Ringstadt& town, const Drag* drags, int count) {
  CStrJunctionList* net = town.game.World().GetStreetNet();
  for (int i = 0; i < count; ++i) {
    const Drag& d = drags[i];
    SCOPED_TRACE(testing::Message() << "type " << d.type << " from " << d.x1 << "/" << d.y1 << " to " << d.x2 << "/"
                                    << d.y2);
    town.Look((d.x1 + d.x2) / 2, (d.y1 + d.y2) / 2);
    ASSERT_NO_FATAL_FAILURE(town.ChooseFromBar(d.type));
    const uint32_t before = net->GetNumber();
    // The open end of a drag is the cell farther from the ring.
    const bool outward = town.Ground(d.x1, d.y1) != OBJ_GROUND;
    town.Drag(d.x1, d.y1, d.x2, d.y2);
    EXPECT_EQ(town.Warning(), d.why);
    if (*d.why) {
      EXPECT_EQ(net->GetNumber(), before);
      town.CloseWarning();
      continue;
    }
    EXPECT_EQ(net->GetNumber(), before + 2);
    const int ox = outward ? d.x2 : d.x1, oy = outward ? d.y2 : d.y1;
    const int rx = outward ? d.x1 : d.x2, ry = outward ? d.y1 : d.y2;
    CStrJunction* open = net->FindJunctionAt(static_cast<short>(ox), static_cast<short>(oy));
    ASSERT_NE(open, nullptr);
    ASSERT_EQ(open->GetAnzLinkedStreets(), 1);
    CStrStrasse* street = open->GetStreetByNR(0);
    EXPECT_EQ(street->GetStreetType(), d.type);
    CStrJunction* joined = street->GetStartJunction() == open ? street->GetEndJunction() : street->GetStartJunction();
    ASSERT_NE(joined, nullptr);
    EXPECT_EQ(joined->GetAnzLinkedStreets(), 3) << "a T on the ring";
    EXPECT_EQ(joined->GetType(), STRASSE_VIERSPURIG);
    EXPECT_EQ(net->FindJunctionAt(static_cast<short>(rx), static_cast<short>(ry)), joined)
        << "the T covers the ring's cell where the drag met it";
  }
}

// The ring's centre line runs on y 40 (north), x 88 (east), y 88 (south)
// and x 40 (west); its second lane lies on the next higher row or column,
// so on the north and west sides the centre line is the outer lane, on
// the east and south sides the second lane is. The grid's streets meet
// the ring at 52, 64 and 76.
TEST(RingstadtStreets, AStreetDraggedOutwardFromTheRingsOuterLaneJoinsTheRingInAT) {
  Ringstadt town;
  if (!town.Load()) GTEST_SKIP() << "no game data in this build";
  const Drag drags[] = {
      {1, 58, 40, 58, 34, ""}, {2, 70, 40, 70, 34, ""},  // north
      {1, 89, 80, 95, 80, ""}, {2, 89, 46, 95, 46, ""},  // east
      {1, 58, 89, 58, 95, ""}, {2, 46, 89, 46, 95, ""},  // south
      {1, 40, 70, 34, 70, ""}, {2, 40, 82, 34, 82, ""},  // west
      // From open ground onto the outer lane.
      {1, 62, 34, 62, 40, ""}, {1, 94, 50, 89, 50, ""},
  };
  Play(town, drags, static_cast<int>(std::size(drags)));
}

// What the preview refuses around the ring, each with its reason.
TEST(RingstadtStreets, DragsTheRingCannotTakeSayWhy) {
  Ringstadt town;
  if (!town.Load()) GTEST_SKIP() << "no game data in this build";
  const Drag drags[] = {
      // From the inner lane outward over the outer one: two street cells
      // in a row are a run over the network.
      {1, 82, 41, 82, 34, "Street construction not possible"},
      {2, 88, 82, 95, 82, "Street construction not possible"},
      {1, 70, 41, 70, 39, "Street construction not possible"},
      // From open ground over the outer lane onto the inner one.
      {1, 66, 34, 66, 41, "Street construction not possible"},
      // The ring's corners are bends of a four-lane street.
      {1, 88, 40, 88, 34, "A street cannot start here!"},
      {2, 88, 88, 95, 88, "A street cannot start here!"},
      // Its north-west corner is a T whose street along the drag is
      // four-lane, and the street west of it ends in a four-lane dead end.
      {1, 40, 40, 40, 34, "Only one street of the same type can be inserted here!"},
      {2, 40, 40, 40, 34, "Only one street of the same type can be inserted here!"},
      {1, 30, 40, 30, 46, "Only one street of the same type can be inserted here!"},
      // Let go a cell short of the ring.
      {1, 94, 56, 90, 56, "A new street must join the street network!"},
      // Inside the ring the blocks are zoned and built on.
      {1, 58, 52, 58, 57, "Street construction not possible"},
  };
  Play(town, drags, static_cast<int>(std::size(drags)));
}

// Along one side a T needs room: the ring's junctions cover two by two
// cells, a new T keeps a cell off each of them and off the bends, and
// between them every cell takes one.
TEST(RingstadtStreets, ATOnTheRingKeepsACellOffItsJunctionsAndBends) {
  Ringstadt town;
  if (!town.Load()) GTEST_SKIP() << "no game data in this build";
  const Drag drags[] = {
      {1, 41, 40, 41, 35, "Only one street of the same type can be inserted here!"},  // the NW T's group
      {1, 42, 40, 42, 35, "Intersections are too close together!"},
      {1, 51, 40, 51, 35, "Intersections are too close together!"},
      {1, 53, 40, 53, 35, "Street construction not possible"},  // the group of the T at 52
      {1, 54, 40, 54, 35, "Intersections are too close together!"},
      {1, 63, 40, 63, 35, "Intersections are too close together!"},
      {1, 87, 40, 87, 35, "Intersection is too close to a curve!"},
      // The nearest cells that take a T, and the ring's T itself, which
      // becomes a crossing.
      {1, 43, 40, 43, 35, ""},
      {2, 55, 40, 55, 35, ""},
      {1, 62, 40, 62, 35, ""},
      {2, 86, 40, 86, 35, ""},
  };
  Play(town, drags, static_cast<int>(std::size(drags)));
  CStrJunctionList* net = town.game.World().GetStreetNet();
  town.Look(52, 37);
  ASSERT_NO_FATAL_FAILURE(town.ChooseFromBar(1));
  town.Drag(52, 40, 52, 35);
  EXPECT_EQ(town.Warning(), "");
  CStrJunction* crossing = net->FindJunctionAt(52, 40);
  ASSERT_NE(crossing, nullptr);
  EXPECT_EQ(crossing->GetAnzLinkedStreets(), 4);
}

}  // namespace
