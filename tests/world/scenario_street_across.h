// A game's town for the placing scenarios: one street across the screen's
// left half, built straight into the network.
#pragma once

#include <gtest/gtest.h>

#include "iso/iso_welt.h"
#include "network/str_junction_list.h"
#include "support/scenario.h"
#include "world/zor_world.h"

namespace zortest {

struct StreetTown {
  int sx = 0, sy = 0;  // the street's middle cell
};

// A side street across the screen's left half, 17 cells along x through the
// cell under screen point (250, 220).
inline StreetTown StreetAcross(Scenario& game) {
  StreetTown t;
  EXPECT_EQ(game.Map().MouseKoorToIsoKoor(250, 220, &t.sx, &t.sy), 0);
  CStrBuildLine line(static_cast<short>(t.sx - 8), static_cast<short>(t.sy), static_cast<short>(t.sx + 8),
                     static_cast<short>(t.sy));
  EXPECT_EQ(game.World().GetStreetNet()->CreateStreet(&line, CStrassenType(STRASSE_1)), 100);
  return t;
}

}  // namespace zortest
