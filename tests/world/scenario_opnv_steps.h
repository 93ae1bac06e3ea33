#pragma once
// The player's steps of the public-transport scenarios: a stop placed with
// the stop tool, and a line made through the line tool's calls.
#include <gtest/gtest.h>

#include <initializer_list>

#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

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

}  // namespace zortest
