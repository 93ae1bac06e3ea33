// Stops placed with the mouse in the running game: the stop tool shows the
// stop's form for the street under the cursor, and a press puts it there
// and registers it with public transport.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "network/rail_junction_list.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/opnv_window_steps.h"
#include "world/street_drag_steps.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

struct Cell {
  int x = -1, y = -1;
};

// The map's centre cell, clear of the bar and the windows.
Cell Centre(Scenario& game) {
  Cell c;
  EXPECT_EQ(game.Map().MouseKoorToIsoKoor(250, 220, &c.x, &c.y), 0);
  return c;
}

// The first screen point over the cell.
bool ScreenOf(Scenario& game, Cell c, int& sx, int& sy) {
  for (sy = 40; sy < 440; sy += 2)
    for (sx = 20; sx < 500; sx += 2) {
      int x = -1, y = -1;
      if (game.Map().MouseKoorToIsoKoor(sx, sy, &x, &y) == 0 && x == c.x && y == c.y) return true;
    }
  return false;
}

// Moves the mouse over the cell; whether the tool shows the stop there.
bool Hover(Scenario& game, Cell c) {
  int sx = 0, sy = 0;
  if (!ScreenOf(game, c, sx, sy)) return false;
  game.Run({Move(sx, sy), Wait(40)});
  return CUserInt::selObj.busStopShowable != 0;
}

void Press(Scenario& game, Cell c) {
  int sx = 0, sy = 0;
  ASSERT_TRUE(ScreenOf(game, c, sx, sy));
  game.Click(sx, sy).Do(Wait(40));
}

int Street(Scenario& game, Cell a, Cell b, TStrassenType type) {
  CStrBuildLine line(static_cast<short>(a.x), static_cast<short>(a.y), static_cast<short>(b.x), static_cast<short>(b.y));
  return game.World().GetStreetNet()->CreateStreet(&line, type);
}

int Track(Scenario& game, Cell a, Cell b) {
  CStrBuildLine line(static_cast<short>(a.x), static_cast<short>(a.y), static_cast<short>(b.x), static_cast<short>(b.y));
  return game.World().GetStreetNet()->GetRailNet()->CreateStreet(&line, STRASSE_SCHIENE);
}

TEST(ScenarioStops, AShelterAndATramStopArePlacedWhereTheToolShowsThem) {
  Scenario game;
  const Cell c = Centre(game);
  ASSERT_EQ(Street(game, {c.x - 8, c.y}, {c.x + 8, c.y}, STRASSE_2), 100);
  ASSERT_EQ(Track(game, {c.x - 8, c.y + 6}, {c.x + 8, c.y + 6}), 100);
  auto& sel = CUserInt::selObj;

  game.Ui().SetToolNr(5, 2, -1);
  ASSERT_EQ(sel.objectType, OBJ_BUSSTOP_SHELTER);
  EXPECT_FALSE(Hover(game, {c.x + 7, c.y})) << "next to the street's end";
  ASSERT_TRUE(Hover(game, {c.x, c.y}));
  // The shelter faces across the street along x: its three cells run
  // along y from one cell before the cursor, the street cell in the middle.
  EXPECT_EQ(sel.buildingRichtung % 2, 0);
  EXPECT_EQ(sel.busStopOffsetX, 0);
  EXPECT_EQ(sel.busStopOffsetY, -1);
  Press(game, c);
  auto* shelter = dynamic_cast<CSecondLayerObject*>(game.Map().GetIsoTileObject(c.x, c.y, ISO_LAYER_UPPER));
  ASSERT_NE(shelter, nullptr);
  EXPECT_EQ(shelter->GetType(), OBJ_BUSSTOP_SHELTER);
  EXPECT_EQ(shelter->GetXPos(), c.x);
  EXPECT_EQ(shelter->GetYPos(), c.y - 1);
  EXPECT_EQ(shelter->GetID(), 1u);
  EXPECT_FALSE(Hover(game, c)) << "the cell holds the shelter now";
  // The shelter finds its street cell, and how far along the street from
  // either end it stands.
  int sx = -1, sy = -1;
  CStreetObj* street = shelter->GetStreet(&sx, &sy);
  ASSERT_NE(street, nullptr);
  EXPECT_EQ(sx, c.x);
  EXPECT_EQ(sy, c.y);
  CStrStrasse* s = street->GetStreetList();
  ASSERT_NE(s, nullptr);
  const int fromStart = shelter->GetLengthFromJunction(s->GetStartJunction(), static_cast<short>(s->GetSimID()));
  const int fromEnd = shelter->GetLengthFromJunction(s->GetEndJunction(), static_cast<short>(s->GetSimIDSecond()));
  EXPECT_EQ(fromStart + fromEnd, 1600) << fromStart << " + " << fromEnd;
  EXPECT_TRUE(fromStart == 800 && fromEnd == 800) << fromStart << " " << fromEnd;
  // Public transport sees the stop on any cell of that street, on no other.
  COpnv* opnv = game.World().GetOpnv();
  EXPECT_EQ(opnv->CheckHstForStreet(street), 0);
  EXPECT_EQ(opnv->CheckHstForStreet(game.Map().GetIsoTileObject(c.x + 4, c.y, ISO_LAYER_GROUND)), 0);
  EXPECT_EQ(opnv->CheckHstForStreet(game.Map().GetIsoTileObject(c.x, c.y + 6, ISO_LAYER_GROUND)), 1);

  game.Ui().SetToolNr(5, 4, -1);
  ASSERT_EQ(sel.objectType, OBJ_TRAMSTOP);
  EXPECT_FALSE(Hover(game, {c.x + 3, c.y})) << "a tram stop needs a track";
  ASSERT_TRUE(Hover(game, {c.x, c.y + 6}));
  Press(game, {c.x, c.y + 6});
  auto* tram = dynamic_cast<CSecondLayerObject*>(game.Map().GetIsoTileObject(c.x, c.y + 6, ISO_LAYER_UPPER));
  ASSERT_NE(tram, nullptr);
  EXPECT_EQ(tram->GetType(), OBJ_TRAMSTOP);
  EXPECT_EQ(tram->GetID(), 2u);
  CStreetObj* rail = tram->GetStreet(&sx, &sy);
  ASSERT_NE(rail, nullptr);
  EXPECT_EQ(rail->GetStreetType(), 9);
  EXPECT_EQ(sy, c.y + 6);
  EXPECT_EQ(game.World().GetOpnv()->GetHstCount(), 2);
}

// Two sign stops three cells apart on a street, both served by a bus line.
TEST(ScenarioStops, TheWalkingLinkBetweenServedStopsIsMadeAgainAfterALoad) {
  Scenario game;
  std::filesystem::create_directory("SaveGame");
  const Cell c = Centre(game);
  ASSERT_EQ(Street(game, {c.x - 8, c.y}, {c.x + 8, c.y}, STRASSE_2), 100);
  CZorvaWorld& world = game.World();
  CSecondLayerObject* stops[2] = {};
  for (int i = 0; i < 2; ++i) {
    stops[i] = dynamic_cast<CSecondLayerObject*>(world.CreateObject(
        OBJ_BUSSTOP_SIGN, 32290, CIsoRichtung(0), c.x - 2 + 3 * i, c.y, SIM_HEIGHT_ANY, nullptr, 0, nullptr, 0, -1));
    ASSERT_NE(stops[i], nullptr);
  }
  COpnvLine* line = world.GetOpnv()->CreateNewLine(NET_BUS);
  ASSERT_NE(line, nullptr);
  for (CSecondLayerObject* stop : stops) {
    int x = 0, y = 0;
    CStreetObj* street = stop->GetStreet(&x, &y);
    ASSERT_NE(street, nullptr);
    ASSERT_EQ(line->ToolAddHstTail(stop, static_cast<short>(street->GetSimID())), 0);
  }
  world.GetOpnv()->CheckMakeVirtuellNet();
  ASSERT_EQ(world.GetOpnv()->GetVirLineList()->GetCount(), 2);

  ASSERT_EQ(world.SerializeGameStore("SaveGame/STOPS.GMD"), 0);
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/STOPS.GMD"), 0);
  COpnv* opnv = world.GetOpnv();
  EXPECT_EQ(opnv->GetHstCount(), 2);
  ASSERT_NE(opnv->GetVirLineList(), nullptr);
  EXPECT_EQ(opnv->GetVirLineList()->GetCount(), 2);
  auto* loaded = dynamic_cast<CSecondLayerObject*>(opnv->GetHstByID(1));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetLineList()->GetCount(), 1) << "the loaded line serves its stops again";
}

TEST(ScenarioStops, AStreetSideObjectOffTheMapStandsOnNoStreet) {
  Scenario game;
  CSecondLayerObject sign;
  CIsoRichtung dir(0);
  sign.Create(0, 200, 5, &dir, static_cast<ESimLocationHeight>(0));
  int x = 0, y = 0;
  EXPECT_EQ(sign.GetStreet(&x, &y), nullptr);
  EXPECT_EQ(x, -1);
  EXPECT_EQ(y, -1);
  EXPECT_EQ(sign.GetLengthFromJunction(nullptr, 0), -1);
  sign.Destroy();
}

TEST(ScenarioStops, OverAFourLaneStreetTheStopTakesItsFourLaneForm) {
  Scenario game;
  const Cell c = Centre(game);
  ASSERT_EQ(Street(game, {c.x - 8, c.y}, {c.x + 8, c.y}, STRASSE_VIERSPURIG), 100);
  auto& sel = CUserInt::selObj;
  game.Ui().SetToolNr(5, 1, -1);
  ASSERT_EQ(sel.objectType, OBJ_BUSSTOP_SIGN);
  EXPECT_TRUE(Hover(game, c));
  EXPECT_EQ(sel.objectType, OBJ_BUSSTOP_SIGN4);
  game.Ui().SetToolNr(5, 2, -1);
  Hover(game, c);
  EXPECT_EQ(sel.objectType, OBJ_BUSSTOP_SHELTER4);
}

}  // namespace

namespace {

int CountOfKind(CZorvaWorld& world, TObjectType kind) {
  int n = 0;
  for (CZorvaObject* o = world.GetObjectList()->GetHead(); o; o = o->GetNext())
    if (static_cast<CWorldObj*>(o)->GetType() == kind) ++n;
  return n;
}

// A train stop that the rail network set on a track is a street-side object
// of the world's list: a load puts the saved one in place of the running
// game's, and removing it at its cell takes its picture with it.
void TrainStopTown(Scenario& game, Cell c) {
  ASSERT_EQ(Street(game, {c.x - 8, c.y}, {c.x + 8, c.y}, STRASSE_2), 100);
  ASSERT_EQ(Track(game, {c.x - 8, c.y + 6}, {c.x + 8, c.y + 6}), 100);
  ASSERT_EQ(
      game.World().GetStreetNet()->GetRailNet()->SetTrainStopAt(static_cast<short>(c.x), static_cast<short>(c.y + 6)),
      0);
  ASSERT_EQ(CountOfKind(game.World(), OBJ_STREETSIDE), 1);
}

TEST(ScenarioStops, ALoadPutsTheSavedTrainStopInPlaceOfTheRunningGames) {
  Scenario game;
  std::filesystem::create_directory("SaveGame");
  ASSERT_NO_FATAL_FAILURE(TrainStopTown(game, Centre(game)));
  CZorvaWorld& world = game.World();
  std::string first;
  for (int load = 0; load < 2; ++load) {
    ASSERT_EQ(world.SerializeGameStore("SaveGame/TRAINSTOP.GMD"), 0);
    ASSERT_EQ(world.SerializeGameLoad("SaveGame/TRAINSTOP.GMD"), 0);
    EXPECT_EQ(CountOfKind(world, OBJ_STREETSIDE), 1) << "after load " << load;
    ASSERT_EQ(world.SerializeGameStore("SaveGame/TRAINSTOP.GMD"), 0);
    if (load == 0) first = ReadFile("SaveGame/TRAINSTOP.GMD");
  }
  EXPECT_TRUE(ReadFile("SaveGame/TRAINSTOP.GMD") == first) << "a second load saves as the first did";
}

TEST(ScenarioStops, ATrainStopRemovedAtItsCellTakesItsPictureWithIt) {
  Scenario game;
  const Cell c = Centre(game);
  ASSERT_NO_FATAL_FAILURE(TrainStopTown(game, c));
  auto* stop = dynamic_cast<CSecondLayerObject*>(game.Map().GetIsoTileObject(c.x, c.y + 6, ISO_LAYER_UPPER));
  ASSERT_NE(stop, nullptr);
  const int sx = stop->GetXPos(), sy = stop->GetYPos();
  ASSERT_EQ(game.World().RemoveObject(c.x, c.y + 6, ISO_LAYER_UPPER, false), 0);
  EXPECT_EQ(CountOfKind(game.World(), OBJ_STREETSIDE), 0);
  for (int dx = -1; dx <= 3; ++dx)
    for (int dy = -1; dy <= 3; ++dy)
      EXPECT_EQ(game.Map().GetIsoTileObject(sx + dx, sy + dy, ISO_LAYER_UPPER), nullptr) << dx << "/" << dy;
}

}  // namespace
namespace {

// A new free game, played with the mouse only: a track laid toward lower
// x and one joined to it toward lower y (tracks laid that way begin their
// picture groups a cell back along the track), a railway station on each,
// where the stop tool shows it, a tram line between them and a tram that
// runs it; and a station next to a junction, shown refused, says why.
TEST(ScenarioStops, InANewFreeGameATramLineRunsBetweenStationsOnTracksInBothMapDirections) {
  Scenario game("LANGUAGE=1\n");
  game.Run({Move(400, 250), Wait(40)});
  dragsteps::ScreenCells screen = dragsteps::MapScreen(game);
  const Cell c = Centre(game);
  auto ground = [&](int x, int y) {
    return game.Map().GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND);
  };
  dragsteps::ChooseFromBar(game, 9);
  dragsteps::Drag(game, screen, c.x + 8, c.y - 4, c.x - 8, c.y - 4);
  EXPECT_EQ(dragsteps::Warning(game), "");
  dragsteps::ChooseFromBar(game, 9);
  dragsteps::Drag(game, screen, c.x + 4, c.y + 8, c.x + 4, c.y - 4);
  EXPECT_EQ(dragsteps::Warning(game), "") << "the second track joins the first in a T";
  // Each station's first cell lies on the track's first lane: the row of
  // the track along x with the smaller y, the column of the one along y
  // with the smaller x.
  const Cell stations[2] = {{c.x - 3, c.y - 4}, {c.x + 3, c.y + 2}};
  for (const Cell& s : stations) ASSERT_EQ(ground(s.x, s.y), OBJ_RAIL_PIECE) << s.x << "/" << s.y;
  ASSERT_EQ(ground(c.x + 2, c.y + 2), OBJ_GROUND) << "the track along y begins at " << c.x + 3;

  // The railway station from the bar's stop menu.
  BarButton(game, kNetButton);
  ClickAt(game, ButtonOf(20, 5, 128));
  ASSERT_TRUE(game.IsOpen(21));
  ClickAt(game, ButtonOf(21, 5, 90));
  ASSERT_EQ(CUserInt::selObj.tool, 5);
  ASSERT_EQ(CUserInt::selObj.objectType, OBJ_TRAMSTOP);
  game.Run({Move(400, 250), Wait(40)});
  screen = dragsteps::MapScreen(game);
  auto hover = [&](Cell s) {
    const std::pair<int, int> p = dragsteps::At(screen, s.x, s.y);
    game.Run({Move(p.first, p.second), Wait(40)});
    return p;
  };

  // Next to the T junction the station is shown refused, and the click
  // says why and places nothing.
  const std::pair<int, int> atJunction = hover({c.x + 3, c.y - 1});
  EXPECT_EQ(CUserInt::selObj.placeRefused, 1);
  EXPECT_EQ(CUserInt::selObj.busStopShowable, 0);
  game.Run({zortest::Press(atJunction.first, atJunction.second), Release(atJunction.first, atJunction.second),
            Wait(40)});
  EXPECT_EQ(dragsteps::Warning(game), "Stop/station may not be situated directly at an intersection!");
  EXPECT_EQ(game.World().GetOpnv()->GetHstCount(), 0);
  dragsteps::CloseWarning(game);

  CSecondLayerObject* placed[2] = {};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    const std::pair<int, int> p = hover(stations[i]);
    EXPECT_EQ(CUserInt::selObj.busStopShowable, 1) << "the station shows over the track";
    EXPECT_EQ(CUserInt::selObj.placeRefused, 0);
    game.Run({zortest::Press(p.first, p.second), Release(p.first, p.second), Wait(40)});
    EXPECT_EQ(dragsteps::Warning(game), "");
    placed[i] = dynamic_cast<CSecondLayerObject*>(
        game.Map().GetIsoTileObject(stations[i].x, stations[i].y, ISO_LAYER_UPPER));
    ASSERT_NE(placed[i], nullptr) << "the click places it where it showed";
    EXPECT_EQ(placed[i]->GetType(), OBJ_TRAMSTOP);
    EXPECT_EQ(placed[i]->GetXPos(), stations[i].x);
    EXPECT_EQ(placed[i]->GetYPos(), stations[i].y);
  }
  // Three cells along each track, two across it.
  EXPECT_EQ(game.Map().GetIsoTileObject(c.x - 1, c.y - 3, ISO_LAYER_UPPER), placed[0]);
  EXPECT_EQ(game.Map().GetIsoTileObject(c.x + 4, c.y + 4, ISO_LAYER_UPPER), placed[1]);
  EXPECT_EQ(game.World().GetOpnv()->GetHstCount(), 2);

  // The tram line between them, and a tram that runs it.
  const std::pair<int, int> a = dragsteps::At(screen, stations[0].x, stations[0].y);
  const std::pair<int, int> b = dragsteps::At(screen, stations[1].x, stations[1].y);
  COpnvLine* line = TramLineWithTheMouse(game, {a.first, a.second}, {b.first, b.second});
  ASSERT_NE(line, nullptr);
  UntilAVehicleRuns(game, *line);
  EXPECT_GT(line->GetVehicleCount(), 0) << "a tram went out on the line";
  game.Shot("free-game-tram-line");
}

}  // namespace
