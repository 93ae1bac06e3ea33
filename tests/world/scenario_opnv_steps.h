#pragma once
// The player's steps of the public-transport scenarios: a stop placed with
// the stop tool, and a line made through the line tool's calls.
#include <gtest/gtest.h>

#include <initializer_list>
#include <tuple>

#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/rail_junction_list.h"
#include "network/street_objects.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "worldbase/building_catalogue.h"

namespace zortest {

struct Cell {
  int x = -1, y = -1;
};

// A street built straight from one cell to another; the network's answer.
inline int BuildStreet(CZorvaWorld& world, int x1, int y1, int x2, int y2, TStrassenType type = STRASSE_2) {
  CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
  return world.GetStreetNet()->CreateStreet(&line, type);
}

// The screen point over the cell, searched on the map's part of the screen.
inline bool ScreenOf(Scenario& game, Cell c, int& sx, int& sy) {
  for (sy = 40; sy < 440; sy += 2)
    for (sx = 20; sx < 500; sx += 2) {
      int x = -1, y = -1;
      if (game.Map().MouseKoorToIsoKoor(sx, sy, &x, &y) == 0 && x == c.x && y == c.y) return true;
    }
  return false;
}

// A stop placed with the stop tool's subtool at the cell.
inline CSecondLayerObject* PlaceStop(Scenario& game, int subtool, Cell c) {
  game.Ui().SetToolNr(5, subtool, -1);
  int sx = 0, sy = 0;
  EXPECT_TRUE(ScreenOf(game, c, sx, sy)) << c.x << "/" << c.y;
  game.Run({Move(sx, sy), Wait(40)});
  EXPECT_EQ(CUserInt::selObj.busStopShowable, 1) << c.x << "/" << c.y;
  game.Click(sx, sy).Do(Wait(40));
  return dynamic_cast<CSecondLayerObject*>(game.Map().GetIsoTileObject(c.x, c.y, ISO_LAYER_UPPER));
}

// The directed street id under a stop, as the line tool hands it over.
inline short StreetIdOf(CSecondLayerObject* stop) {
  int x = -1, y = -1;
  CStreetObj* street = stop ? stop->GetStreet(&x, &y) : nullptr;
  CStrStrasse* s = street ? street->GetStreetList() : nullptr;
  return s ? static_cast<short>(s->GetSimID()) : 0;
}

inline COpnvLine* MakeLine(COpnv& opnv, NetActiveType type, std::initializer_list<CSecondLayerObject*> stops) {
  COpnvLine* line = opnv.CreateNewLine(type);
  EXPECT_NE(line, nullptr);
  if (!line) return nullptr;
  for (CSecondLayerObject* stop : stops) EXPECT_EQ(line->ToolAddHstTail(stop, StreetIdOf(stop)), 0) << stop->GetID();
  return line;
}

// A town served by public transport, built around the cell at screen point
// (250, 220): an avenue, three streets off it and a second avenue, a track
// between the left two streets; homes at the avenue's west end and beside
// the track, offices, industry, a school and shops to the south and east.
// Six stops (two on the avenue, one on the middle street, one on the second
// avenue, two on the track), two bus lines meeting at the east stop and a
// tram line, with fares and every vehicle the lines need.
struct LineTown {
  int ox = 0, oy = 0;  // the cell the town's plan counts from
  CSecondLayerObject* west = nullptr;
  CSecondLayerObject* east = nullptr;
  CSecondLayerObject* middle = nullptr;
  CSecondLayerObject* south = nullptr;
  CSecondLayerObject* tramWest = nullptr;
  CSecondLayerObject* tramEast = nullptr;
  COpnvLine* lines[3] = {};  // the two bus lines and the tram line
};

inline void BuildLineTown(Scenario& game, LineTown& town) {
  CZorvaWorld& world = game.World();
  COpnv& opnv = *world.GetOpnv();
  Cell c;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(250, 220, &c.x, &c.y), 0);
  const int ox = town.ox = c.x - 12, oy = town.oy = c.y - 4;
  auto street = [&](int x1, int y1, int x2, int y2) {
    ASSERT_EQ(BuildStreet(world, ox + x1, oy + y1, ox + x2, oy + y2), STR_BUILD_OK);
  };
  ASSERT_NO_FATAL_FAILURE(street(0, 0, 24, 0));
  for (int x : {0, 16, 24}) ASSERT_NO_FATAL_FAILURE(street(x, 0, x, 10));
  ASSERT_NO_FATAL_FAILURE(street(0, 10, 16, 10));
  ASSERT_NO_FATAL_FAILURE(street(16, 10, 24, 10));
  CStrBuildLine track(static_cast<short>(ox + 1), static_cast<short>(oy + 3), static_cast<short>(ox + 14),
                      static_cast<short>(oy + 3));
  ASSERT_EQ(world.GetStreetNet()->GetRailNet()->CreateStreet(&track, STRASSE_SCHIENE), STR_BUILD_OK);
  const std::tuple<TObjectType, int, int> buildings[] = {
      {OBJ_RESIDENTIAL, 1, -2}, {OBJ_RESIDENTIAL, 4, -2}, {OBJ_RESIDENTIAL, 7, -2}, {OBJ_RESIDENTIAL, 2, -5},
      {OBJ_RESIDENTIAL, 5, -5}, {OBJ_RESIDENTIAL, 16, -2}, {OBJ_RESIDENTIAL, 18, 2}, {OBJ_OFFICE, 10, 12},
      {OBJ_OFFICE, 18, 7},      {OBJ_OFFICE, 22, 8},      {OBJ_INDUSTRY, 7, 12},     {OBJ_SHOPPING, 16, 12},
      {OBJ_SCHOOL, 21, 4},      {OBJ_PARK, 20, 12},       {OBJ_SPORTS, 3, 5},        {OBJ_RESIDENTIAL, 6, 5},
      {OBJ_OFFICE, 11, 5}};
  for (const auto& [kind, x, y] : buildings) {
    const int resId = CBuildingDataList::GetBuildingResIDByType(kind, 1, nullptr);
    ASSERT_GT(resId, 0) << kind;
    ASSERT_NE(world.CreateObject(kind, resId, CIsoRichtung(0), ox + x, oy + y, static_cast<ESimLocationHeight>(0),
                                 nullptr, 0, nullptr, 0, -1),
              nullptr)
        << kind << " at " << x << "/" << y;
  }
  town.west = PlaceStop(game, 1, {ox + 4, oy});
  town.east = PlaceStop(game, 1, {ox + 18, oy});
  town.middle = PlaceStop(game, 1, {ox + 16, oy + 6});
  town.south = PlaceStop(game, 1, {ox + 10, oy + 10});
  town.tramWest = PlaceStop(game, 4, {ox + 4, oy + 3});
  town.tramEast = PlaceStop(game, 4, {ox + 10, oy + 3});
  ASSERT_TRUE(town.west && town.east && town.middle && town.south && town.tramWest && town.tramEast);
  town.lines[0] = MakeLine(opnv, NET_BUS, {town.west, town.east});
  town.lines[1] = MakeLine(opnv, NET_BUS, {town.south, town.middle, town.east});
  town.lines[2] = MakeLine(opnv, NET_TRAM, {town.tramWest, town.tramEast});
  ASSERT_TRUE(town.lines[0] && town.lines[1] && town.lines[2]);
  opnv.CheckMakeVirtuellNet();
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL.BUYSELL", 12), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.BUYSELL.OK", 1), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.TRAM.BUYSELL", 4), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.TRAM.BUYSELL.OK", 1), 0);
  for (COpnvLine* line : town.lines) {
    opnv.SetActiveLine(line->GetID());
    for (int i = 0; i < line->GetData()->vehiclesNeeded; ++i) ASSERT_EQ(opnv.SetVarData("OPNV.MOVEFP.PLUS", 1), 0);
  }
}

}  // namespace zortest
