// A bus line longer than the screen, with its buses bought and assigned,
// while the player looks at its middle, at one end and at the other: the
// line's buses drive on the map wherever the view shows the line.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "iso/iso_welt.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "microsim/micro_car.h"
#include "microsim/micro_cells.h"
#include "scenario_opnv_steps.h"
#include "support/scenario.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

// The view's centre put on the cell, as a click on the small map puts it,
// and a frame drawn.
void LookAt(Scenario& game, int x, int y) {
  game.Map().SetIsoCenter(x, y);
  game.Do(Frames(1));
  ASSERT_EQ(game.Map().GetCenterX(), x);
  ASSERT_EQ(game.Map().GetCenterY(), y);
}

struct Seen {
  int inView = 0;      // the line's buses standing in a cell in view
  int offRoute = 0;    // buses standing in a cell of a street the line does not drive
  bool moved = false;  // a bus in view stands elsewhere than when last seen
};

// Where the line's buses stand: in view is a bus in a cell of the map's
// view whose screen point lies on the screen. `last` keeps each bus's
// screen point, by its running number, from one look to the next.
Seen LineBuses(Scenario& game, COpnvLine& line, std::map<int, std::pair<int, int>>& last) {
  std::set<int> route;
  const LineDataType& data = *line.GetData();
  for (int i = 0; i < data.streetEntries; ++i) route.insert(data.streetIds[i]);
  Seen seen;
  for (int i = 0; i < COpnvLine::kVehicleSlots; ++i) {
    CMicroOpnv* bus = line.GetVehicle(i);
    const BinaryMicroSimObject* cell = bus ? bus->GetMicroSimObject() : nullptr;
    if (!cell || cell->m_pCar != bus) continue;
    if (cell->m_SimID != 0 && !route.count(cell->m_SimID)) ++seen.offRoute;
    int x = -1, y = -1, x2 = -1, y2 = -1;
    bus->GetScreenXYPos(x, y, x2, y2);
    if (!cell->m_Visible || x < 0 || y < 0 || x >= game.Width() || y >= game.Height()) continue;
    ++seen.inView;
    const auto at = last.find(bus->GetBusNr());
    if (at != last.end() && at->second != std::make_pair(x, y)) seen.moved = true;
    last[bus->GetBusNr()] = {x, y};
  }
  return seen;
}

TEST(ScenarioLineBuses, TheBusesOfALineLongerThanTheScreenDriveWhereverTheViewShowsTheLine) {
  Scenario game;
  CZorvaWorld& world = game.World();
  COpnv& opnv = *world.GetOpnv();
  const int cx = game.Map().GetCenterX(), cy = game.Map().GetCenterY();
  // A straight avenue of 70 cells through the view's centre; a stop near
  // each end, each far off the screen while the view shows the middle.
  ASSERT_EQ(BuildStreet(world, cx - 35, cy, cx + 35, cy), STR_BUILD_OK);
  const Cell west = {cx - 32, cy}, east = {cx + 32, cy};
  ASSERT_NO_FATAL_FAILURE(LookAt(game, west.x, west.y));
  CSecondLayerObject* a = PlaceStop(game, 1, west);
  ASSERT_NO_FATAL_FAILURE(LookAt(game, east.x, east.y));
  CSecondLayerObject* b = PlaceStop(game, 1, east);
  ASSERT_TRUE(a && b);
  COpnvLine* line = MakeLine(opnv, NET_BUS, {a, b});
  ASSERT_NE(line, nullptr);
  // A headway that needs four buses or more: the line shows two.
  ASSERT_EQ(line->SetVarData("OPNV.LINE.TAKT", 15.0), 0);
  const int needed = line->GetData()->vehiclesNeeded;
  ASSERT_GE(needed, 4);
  ASSERT_EQ(COpnvLine::WantedVehicles(needed), 2);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL.BUYSELL", needed), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.BUYSELL.OK", 1), 0);
  opnv.SetActiveLine(line->GetID());
  for (int i = 0; i < needed; ++i) ASSERT_EQ(opnv.SetVarData("OPNV.MOVEFP.PLUS", 1), 0);
  ASSERT_EQ(line->GetFpAssigned(), needed);

  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - 400);
  ASSERT_NO_FATAL_FAILURE(LookAt(game, cx, cy));
  // The view rests on the middle, on the west end, on the east end and on
  // the middle again; at each, within a minute, both buses stand in view
  // at once, and they drive.
  const Cell views[] = {{cx, cy}, {west.x + 4, cy}, {east.x - 4, cy}, {cx, cy}};
  for (const Cell& v : views) {
    ASSERT_NO_FATAL_FAILURE(LookAt(game, v.x, v.y));
    std::map<int, std::pair<int, int>> last;
    int most = 0;
    bool moved = false;
    for (int waited = 0; waited < 60000; waited += 200) {
      game.Do(Wait(200));
      const Seen seen = LineBuses(game, *line, last);
      EXPECT_EQ(seen.offRoute, 0) << "a bus off the line's streets, view at " << v.x << "/" << v.y;
      most = std::max(most, seen.inView);
      moved = moved || seen.moved;
    }
    EXPECT_TRUE(line->IsActive());
    EXPECT_EQ(most, 2) << "the line's buses in view at once, view at " << v.x << "/" << v.y;
    EXPECT_TRUE(moved) << "a bus drove in view, view at " << v.x << "/" << v.y;
    game.Shot("line-buses-" + std::to_string(v.x) + "-" + std::to_string(v.y));
  }
}

}  // namespace
