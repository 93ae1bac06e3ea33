// The player chooses tools by their keys and uses them on the map, played
// through the frame loop on the real game.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <SDL.h>

#include "iso/iso_geometry.h"
#include "iso/iso_welt.h"
#include "network/str_junction_list.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

constexpr int kMidX = 400;
constexpr int kMidY = 250;

// The map actions the tools asked for since call number `from`, by name.
std::vector<std::string> MapCalls(CUserInt& ui, int from = 0) {
  std::vector<std::string> out;
  EXPECT_GE(from, ui.GetFirstKeptMapCall()) << "more calls than the log keeps";
  for (int i = std::max(from, ui.GetFirstKeptMapCall()); i < ui.GetMapCallCount(); ++i)
    out.push_back(ui.GetMapCall(i).name);
  return out;
}

// A side street a few cells beside the middle of the screen: the zone and
// land tools work only in a town that has a street.
void BuildSideStreet(Scenario& game) {
  int x = 0, y = 0;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(kMidX, kMidY, &x, &y), 0);
  CStrBuildLine line(static_cast<short>(x - 8), static_cast<short>(y - 6), static_cast<short>(x - 8),
                     static_cast<short>(y + 6));
  ASSERT_EQ(game.World().GetStreetNet()->CreateStreet(&line, CStrassenType(STRASSE_1)), 100);
}

TEST(ScenarioTools, DigitKeysChooseStreetTypesAndTheCursorFollows) {
  Scenario game;
  game.Run({Move(kMidX, kMidY), Wait(40)});
  EXPECT_EQ(game.Ui().GetCursorID(), 1409);
  const uint64_t pointer = game.Fingerprint(game.CursorRegion());

  game.Key(SDLK_6).Do(Wait(40));
  EXPECT_EQ(CUserInt::selObj.tool, 2);
  EXPECT_EQ(CUserInt::selObj.subtool, 1);
  EXPECT_EQ(game.Ui().GetCursorID(), 28455);
  const uint64_t wide = game.Fingerprint(game.CursorRegion());
  EXPECT_NE(wide, pointer);

  game.Key(SDLK_8).Do(Wait(40));
  EXPECT_EQ(CUserInt::selObj.subtool, 4);
  EXPECT_EQ(game.Ui().GetCursorID(), 28451);
  EXPECT_NE(game.Fingerprint(game.CursorRegion()), wide);
  game.Shot("tool-four-lane");

  // The same tool draws the same cursor again.
  game.Key(SDLK_6).Do(Wait(40));
  EXPECT_EQ(game.Fingerprint(game.CursorRegion()), wide);
  // The cursor goes with the mouse: the old place shows the map again.
  game.Run({Move(kMidX + 120, kMidY + 60), Wait(40)});
  EXPECT_EQ(game.Fingerprint(game.CursorRegion()) == wide, false);
}

TEST(ScenarioTools, AQuickRightClickOnTheMapDropsTheToolAndASlowOneDoesNot) {
  Scenario game;
  game.Run({Move(kMidX, kMidY), Wait(40)});
  game.Key(SDLK_8);
  game.Run({Press(kMidX, kMidY, kRight), Wait(150), Release(kMidX, kMidY, kRight), Wait(40)});
  EXPECT_EQ(CUserInt::selObj.tool, 1);
  EXPECT_EQ(game.Ui().GetCursorID(), 1409);

  game.Key(SDLK_8);
  game.Run({Press(kMidX, kMidY, kRight), Wait(250), Release(kMidX, kMidY, kRight), Wait(40)});
  EXPECT_EQ(CUserInt::selObj.tool, 2);
  EXPECT_EQ(game.Ui().GetCursorID(), 28451) << "the drag cursor gives way to the tool's";
}

TEST(ScenarioTools, TheStreetToolHandsPressMoveAndReleaseToTheStreetBuilder) {
  Scenario game;
  int tx = -1, ty = -1;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(kMidX, kMidY, &tx, &ty), 0);
  game.Run({Move(kMidX, kMidY), Wait(40)});
  game.Key(SDLK_7);
  const int from = game.Ui().GetMapCallCount();
  game.Run({Press(kMidX, kMidY), Move(kMidX + 1, kMidY), Release(kMidX + 1, kMidY)});
  const std::vector<std::string> calls = MapCalls(game.Ui(), from);
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls[0], "StartBuildStreet");
  EXPECT_EQ(calls[1], "BuildStreet");
  EXPECT_EQ(calls[2], "StopBuildStreet");
  EXPECT_EQ(game.Ui().GetMapCall(from).x, tx);
  EXPECT_EQ(game.Ui().GetMapCall(from).y, ty);
}

// The residential zone's key pressed with the mouse over the middle of the
// map, in a town with a street.
void ChooseResidentialZone(Scenario& game) {
  BuildSideStreet(game);
  game.Run({Move(kMidX, kMidY), Wait(40)});
  game.Key(SDLK_2);
}

TEST(ScenarioTools, AResidentialAreaIsDraggedFromItsFirstCellToItsLast) {
  Scenario game;
  ChooseResidentialZone(game);
  EXPECT_EQ(CUserInt::selObj.tool, 10);
  EXPECT_EQ(CUserInt::selObj.variant, 1) << "the remembered variant";
  EXPECT_EQ(game.Ui().GetCursorID(), 28482);
  int x0, y0, x1, y1;
  game.Map().MouseKoorToIsoKoor(kMidX, kMidY, &x0, &y0);
  game.Map().MouseKoorToIsoKoor(kMidX + 90, kMidY + 40, &x1, &y1);
  ASSERT_NE(x0 * 1000 + y0, x1 * 1000 + y1);
  const int from = game.Ui().GetMapCallCount();
  game.Drag(kMidX, kMidY, kMidX + 90, kMidY + 40);
  const std::vector<std::string> calls = MapCalls(game.Ui(), from);
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front(), "SelectFlaecheStartPoint");
  int finish = 0;
  for (const std::string& c : calls) finish += c == "SelectFlaecheFinishPoint";
  EXPECT_EQ(finish, 5) << "four moves and the release";
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2], "BuildFlaeche");
  const CUserInt::MapCall& built = game.Ui().GetMapCall(game.Ui().GetMapCallCount() - 2);
  EXPECT_EQ(built.x, x0);
  EXPECT_EQ(built.y, y0);
  EXPECT_EQ(CUserInt::selObj.endX, x1);
  EXPECT_EQ(CUserInt::selObj.endY, y1);
  EXPECT_EQ(calls.back(), "CheckSelStreet");
  EXPECT_EQ(CUserInt::selObj.leftDrag, 0);
  EXPECT_FALSE(game.Ui().GetBuildSurfaceStatus());
}

// Where the map stands: its centre cell and its pixel offset.
struct MapPlace {
  int cx, cy, ox, oy;
  bool operator==(const MapPlace& o) const { return cx == o.cx && cy == o.cy && ox == o.ox && oy == o.oy; }
};
MapPlace PlaceOf(Scenario& game) {
  CIsoWelt& map = game.Map();
  return {map.GetCenterX(), map.GetCenterY(), map.GetPixelOffsetX(), map.GetPixelOffsetY()};
}

TEST(ScenarioTools, AnAreaToolPansTheMapOnlyWhileItsDragThatBeganOnTheMapNearsTheEdge) {
  Scenario game;
  ChooseResidentialZone(game);
  ASSERT_EQ(CUserInt::selObj.tool, 10);

  // A button of the bar held down with the zone tool chosen: the bar lies in
  // the bottom edge band, yet no area is being dragged, so the map stays.
  constexpr int kZoningButtonX = 450 + 18, kZoningButtonY = 505 + 18;
  game.Run({Move(600, 590), Wait(40), Move(kZoningButtonX, kZoningButtonY), Wait(40)});
  const MapPlace before = PlaceOf(game);
  game.Run({Press(kZoningButtonX, kZoningButtonY), Wait(400), Release(kZoningButtonX, kZoningButtonY), Wait(40)});
  EXPECT_TRUE(game.IsOpen(200)) << "the press went to the button";
  EXPECT_TRUE(PlaceOf(game) == before) << "the map moved while a bar button was held";
  EXPECT_FALSE(game.Map().IsPanning());

  // The bottom edge reached by an area dragged from the map does pan (with
  // the panel hidden, the band is the screen's last 20 rows).
  ASSERT_EQ(CUserInt::selObj.tool, 10);
  game.Run({Move(kMidX, kMidY), Wait(40)});
  const MapPlace dragStart = PlaceOf(game);
  game.Run({Press(kMidX, kMidY), Move(kMidX, 400), Move(kMidX, 590), Wait(400)});
  EXPECT_TRUE(game.Map().IsPanning());
  EXPECT_FALSE(PlaceOf(game) == dragStart) << "the dragged area carries the map along";
  game.Run({Release(kMidX, 590), Wait(40)});
}

TEST(ScenarioTools, ControlAndARightPressCentreTheMapOnTheCell) {
  Scenario game;
  int tx = -1, ty = -1;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(200, 150, &tx, &ty), 0);
  ASSERT_FALSE(tx == game.Map().GetCenterX() && ty == game.Map().GetCenterY());
  game.Run({Move(200, 150), KeyDown(SDLK_LCTRL), Wait(40)});
  EXPECT_EQ(game.Ui().GetCursorID(), CUserInt::kCursorPan);
  game.Run({Press(200, 150, kRight)});
  EXPECT_EQ(game.Ui().GetCursorID(), CUserInt::kCursorPan) << "the map started no drag";
  game.Run({Release(200, 150, kRight), KeyUp(SDLK_LCTRL), Wait(40)});
  EXPECT_EQ(game.Map().GetCenterX(), tx);
  EXPECT_EQ(game.Map().GetCenterY(), ty);
  EXPECT_EQ(game.Ui().GetCursorID(), 1409);
}

// Chooses a tool the way a window's tool button does.
void Choose(Scenario& game, int tool, int subtool = -1, int variant = -1) {
  game.Ui().SetToolNr(tool, subtool, variant);
  game.Do(Frames(1));
}

TEST(ScenarioTools, ClearingLandAndRemovingBuildingsWorkOnTheDraggedArea) {
  Scenario game;
  BuildSideStreet(game);
  game.Run({Move(kMidX, kMidY), Wait(40)});
  Choose(game, 13, 1);
  EXPECT_EQ(game.Ui().GetCursorID(), 28477);
  int from = game.Ui().GetMapCallCount();
  game.Drag(kMidX, kMidY, kMidX + 60, kMidY + 30, kLeft, 2);
  std::vector<std::string> calls = MapCalls(game.Ui(), from);
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls.front(), "SelectFlaecheStartPoint");
  EXPECT_EQ(calls[calls.size() - 2], "RemoveFlaeche");
  // Asked to test first, the same drag only tests.
  CUserInt::selObj.removeAllTest = 1;
  from = game.Ui().GetMapCallCount();
  game.Drag(kMidX, kMidY, kMidX + 60, kMidY + 30, kLeft, 2);
  calls = MapCalls(game.Ui(), from);
  EXPECT_EQ(calls[calls.size() - 2], "TestRemoveAll");
  CUserInt::selObj.removeAllTest = 0;

  Choose(game, 15);
  int tx, ty;
  game.Map().MouseKoorToIsoKoor(kMidX + 60, kMidY + 30, &tx, &ty);
  from = game.Ui().GetMapCallCount();
  game.Drag(kMidX, kMidY, kMidX + 60, kMidY + 30, kLeft, 2);
  calls = MapCalls(game.Ui(), from);
  EXPECT_EQ(calls, (std::vector<std::string>{"ResetSelectedBuildingList", "CheckBuildingList", "RemoveObject",
                                             "CheckBuildingList", "CheckBuildingList", "RemoveBuildingSelection",
                                             "CheckSelStreet"}));
  EXPECT_EQ(CUserInt::selObj.endX, tx);
  EXPECT_EQ(CUserInt::selObj.endY, ty);
}

TEST(ScenarioTools, RemovingStreetsStopsAndLinesActOnTheCellPressed) {
  Scenario game;
  int tx, ty;
  game.Map().MouseKoorToIsoKoor(kMidX, kMidY, &tx, &ty);
  game.Run({Move(kMidX, kMidY), Wait(40)});
  Choose(game, 9);
  int from = game.Ui().GetMapCallCount();
  game.Run({Press(kMidX, kMidY), Release(kMidX, kMidY)});
  EXPECT_EQ(MapCalls(game.Ui(), from),
            (std::vector<std::string>{"DeleteStreet", "CheckSelStreet", "CheckSelStreet"}));
  EXPECT_EQ(game.Ui().GetMapCall(from).x, tx);
  // The stop remover finds no stop on open land and removes nothing.
  Choose(game, 23);
  from = game.Ui().GetMapCallCount();
  game.Run({Press(kMidX, kMidY), Release(kMidX, kMidY)});
  EXPECT_EQ(MapCalls(game.Ui(), from), (std::vector<std::string>{"CheckSelStreet"}));
  Choose(game, 19);
  from = game.Ui().GetMapCallCount();
  game.Run({Press(kMidX, kMidY), Release(kMidX, kMidY)});
  EXPECT_EQ(MapCalls(game.Ui(), from), (std::vector<std::string>{"BuildRemoveOpnvLine", "CheckSelStreet"}));
  // Placing tools follow the mouse with their selection.
  game.Key(SDLK_9);
  from = game.Ui().GetMapCallCount();
  game.Run({Move(kMidX + 2, kMidY)});
  EXPECT_EQ(MapCalls(game.Ui(), from), (std::vector<std::string>{"CheckBusStopTypeRichtungShow"}));
  EXPECT_EQ(CUserInt::selObj.startX, tx);
  EXPECT_EQ(CUserInt::selObj.endY, ty);
  from = game.Ui().GetMapCallCount();
  game.Run({Press(kMidX + 2, kMidY), Release(kMidX + 2, kMidY)});
  EXPECT_EQ(MapCalls(game.Ui(), from), (std::vector<std::string>{"BuildBuildingLayerObject", "CheckSelStreet"}));
}

TEST(ScenarioTools, ALeftPressWhileTheRightButtonIsHeldDropsTheTool) {
  Scenario game;
  game.Run({Move(kMidX, kMidY), Wait(40)});
  game.Key(SDLK_6);
  const int from = game.Ui().GetMapCallCount();
  game.Run({Press(kMidX, kMidY, kRight), Wait(300)});
  EXPECT_EQ(CUserInt::selObj.rightPressed, 1);
  game.Run({Press(kMidX, kMidY, kLeft)});
  EXPECT_EQ(CUserInt::selObj.tool, 1);
  for (const std::string& c : MapCalls(game.Ui(), from)) EXPECT_NE(c, "StartBuildStreet");
  game.Run({Release(kMidX, kMidY, kLeft)});
  EXPECT_EQ(CUserInt::selObj.rightPressed, 1) << "the right button is still down";
  game.Run({Release(kMidX, kMidY, kRight)});
  EXPECT_EQ(CUserInt::selObj.rightPressed, 0);
  EXPECT_EQ(CUserInt::selObj.leftDrag, 0);
}

TEST(ScenarioTools, ARightClickEndingOffTheMapResetsOnlyTheToolNumber) {
  Scenario game;
  game.Run({Move(kMidX, kMidY), Wait(40)});
  game.Key(SDLK_8);
  // The map ends well inside the screen once it is scrolled to its corner.
  game.Map().SetIsoCenter(0, 0);
  int tx, ty;
  ASSERT_NE(game.Map().MouseKoorToIsoKoor(20, 20, &tx, &ty), 0) << "(20, 20) must lie off the map";
  game.Map().SetIsoCenter(64, 64);
  game.Run({Press(kMidX, kMidY, kRight), Wait(250)});
  game.Map().SetIsoCenter(0, 0);
  game.Run({Release(20, 20, kRight)});
  EXPECT_EQ(CUserInt::selObj.tool, 1);
  EXPECT_EQ(CUserInt::selObj.rightPressed, 0);
  // Slower than that it stays.
  game.Map().SetIsoCenter(64, 64);
  game.Key(SDLK_8);
  game.Run({Press(kMidX, kMidY, kRight), Wait(320)});
  game.Map().SetIsoCenter(0, 0);
  game.Run({Release(20, 20, kRight)});
  EXPECT_EQ(CUserInt::selObj.tool, 2);
}

}  // namespace
