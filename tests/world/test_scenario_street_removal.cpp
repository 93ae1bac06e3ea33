// The removal tool in the running game: a player takes two streets and a
// track away with the mouse, and the street network, the city's money and
// the demand simulation agree with what is left.
#include <gtest/gtest.h>

#include <utility>

#include "iso/iso_welt.h"
#include "model/data_exchange.h"
#include "model/finanzen.h"
#include "network/rail_junction_list.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using zortest::Scenario;
using zortest::Wait;

// A screen point whose tile is (x, y); false when the view shows none.
bool ScreenOf(Scenario& game, int x, int y, int* sx, int* sy) {
  for (int py = 40; py < 560; py += 2)
    for (int px = 20; px < 780; px += 2) {
      int tx = -1, ty = -1;
      if (game.Map().MouseKoorToIsoKoor(px, py, &tx, &ty) == 0 && tx == x && ty == y) {
        *sx = px;
        *sy = py;
        return true;
      }
    }
  return false;
}

int Build(CStrJunctionList* net, int x1, int y1, int x2, int y2, TStrassenType type) {
  CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
  return net->CreateStreet(&line, type);
}

CStrStrasse* StreetBetween(CStrJunctionList* net, int x1, int y1, int x2, int y2) {
  CStrJunction* a = net->FindJunctionAt(static_cast<short>(x1), static_cast<short>(y1));
  if (!a) return nullptr;
  for (int i = 0; i < a->GetAnzLinkedStreets(); ++i) {
    CStrStrasse* s = a->GetStreetByNR(i);
    CStrJunction* other = s->GetStartJunction() == a ? s->GetEndJunction() : s->GetStartJunction();
    if (other && other->GetXPos() == x2 && other->GetYPos() == y2) return s;
  }
  return nullptr;
}

// The street of the demand model's editable hour with that id, created.
bool SimHasStreet(CSimWelt* sim, short id) {
  CSimTrafficSlot* slot = sim->EditingSlot();
  CSimStreet* street = slot ? slot->GetStreet(id) : nullptr;
  return street && street->ID() == id;
}

// Every street of the network is known to the demand model in both of
// its directions, and the network's links agree with themselves.
void ExpectNetworkInSim(CStrJunctionList* net, CSimWelt* sim) {
  for (CZorvaObject* o = net->GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    EXPECT_GT(j->GetAnzLinkedStreets(), 0);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      CStrStrasse* s = j->GetStreetByNR(i);
      EXPECT_TRUE(s->GetStartJunction() == j || s->GetEndJunction() == j);
      EXPECT_TRUE(SimHasStreet(sim, s->GetSimID())) << s->GetSimID();
      EXPECT_TRUE(SimHasStreet(sim, s->GetSimIDSecond())) << s->GetSimIDSecond();
    }
  }
}

TEST(ScenarioStreetRemoval, APlayerRemovesTwoStreetsAndATrack) {
  Scenario game;
  game.Run({Wait(100)});
  CZorvaWorld& world = game.World();
  CStrJunctionList* net = world.GetStreetNet();
  CStrSchJuncList* rails = world.GetRailNet();
  CSimWelt* sim = world.GetSimWelt();
  CDataExchange* dx = world.GetDataExchange();
  ASSERT_NE(net, nullptr);
  ASSERT_NE(rails, nullptr);
  ASSERT_NE(sim, nullptr);
  ASSERT_NE(dx, nullptr);
  ASSERT_EQ(net->GetNumber(), 0u) << "the game starts without streets";
  int cx = -1, cy = -1;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(400, 300, &cx, &cy), 0);
  const int bx = cx - 4, by = cy - 4;
  for (int x = bx - 4; x <= bx + 13; ++x)
    for (int y = by - 2; y <= by + 10; ++y)
      ASSERT_LE(game.Map().GetTypeAt(x, y, ISO_LAYER_GROUND), OBJ_GROUND) << "open land at " << x << "/" << y;

  // A main street with a side street to the east and a main street to the
  // west, and a track with a branch beside them.
  ASSERT_EQ(Build(net, bx, by, bx, by + 8, STRASSE_2), STR_BUILD_OK);
  ASSERT_EQ(Build(net, bx, by + 4, bx + 4, by + 4, STRASSE_1), STR_BUILD_OK);
  ASSERT_EQ(Build(net, bx, by + 2, bx - 3, by + 2, STRASSE_2), STR_BUILD_OK);
  CStrBuildLine line(static_cast<short>(bx + 8), static_cast<short>(by - 1), static_cast<short>(bx + 8),
                     static_cast<short>(by + 9));
  ASSERT_EQ(rails->CreateStreet(&line, STRASSE_SCHIENE), STR_BUILD_OK);
  CStrBuildLine branch(static_cast<short>(bx + 8), static_cast<short>(by + 4), static_cast<short>(bx + 12),
                       static_cast<short>(by + 4));
  ASSERT_EQ(rails->CreateStreet(&branch, STRASSE_SCHIENE), STR_BUILD_OK);
  CStrStrasse* side = StreetBetween(net, bx, by + 4, bx + 4, by + 4);
  CStrStrasse* west = StreetBetween(net, bx, by + 2, bx - 3, by + 2);
  ASSERT_NE(side, nullptr);
  ASSERT_NE(west, nullptr);
  const int sideLength = side->GetLaenge(), westLength = west->GetLaenge();
  const short removedIds[] = {side->GetSimID(), side->GetSimIDSecond(), west->GetSimID(), west->GetSimIDSecond()};
  for (short id : removedIds) ASSERT_TRUE(SimHasStreet(sim, id));
  const double expenses = dx->GetVarValue("F.EXPENSES.BUILDINFRASTRUCTURE");
  const double account = dx->GetVarValue("F.KONTO");
  const double railCost = dx->GetVarValue("OPNV.F.COST.INFRASTRUCTURE");

  // The removal tool: the side street's end junction, the west street's
  // middle, and the branch's end.
  game.Ui().SetToolNr(9, 0, -1);
  game.Run({Wait(40)});
  for (auto [x, y] : {std::pair{bx + 4, by + 4}, std::pair{bx - 2, by + 2}, std::pair{bx + 12, by + 4}}) {
    int sx = 0, sy = 0;
    ASSERT_TRUE(ScreenOf(game, x, y, &sx, &sy)) << x << "/" << y;
    game.Click(sx, sy);
    game.Run({Wait(40)});
  }

  EXPECT_EQ(StreetBetween(net, bx, by + 4, bx + 4, by + 4), nullptr);
  EXPECT_EQ(StreetBetween(net, bx, by + 2, bx - 3, by + 2), nullptr);
  EXPECT_EQ(net->GetNumber(), 2u) << "one main street is left, its junctions joined again";
  EXPECT_NE(StreetBetween(net, bx, by, bx, by + 8), nullptr);
  EXPECT_EQ(rails->FindJunctionAt(static_cast<short>(bx + 12), static_cast<short>(by + 4)), nullptr);
  EXPECT_EQ(rails->GetNumber(), 2u);
  EXPECT_EQ(game.Map().GetTypeAt(bx + 2, by + 4, ISO_LAYER_GROUND), OBJ_GROUND) << "the side street's tiles are land again";
  // The city paid the removal price of both streets and nothing for the track.
  const double cost = 2500.0 * sideLength / 100 + 5000.0 * westLength / 100;
  EXPECT_DOUBLE_EQ(dx->GetVarValue("F.EXPENSES.BUILDINFRASTRUCTURE") - expenses, cost);
  EXPECT_DOUBLE_EQ(account - dx->GetVarValue("F.KONTO"), cost);
  EXPECT_EQ(dx->GetVarValue("OPNV.F.COST.INFRASTRUCTURE"), railCost);
  // The demand model lost the removed streets and holds the one left.
  for (short id : removedIds) EXPECT_FALSE(SimHasStreet(sim, id)) << id;
  ExpectNetworkInSim(net, sim);
  // The marking was refreshed after the last removal: with the street tool
  // the main street's middle takes side streets.
  game.Ui().SetToolNr(2, STRASSE_1, -1);
  EXPECT_EQ(game.Ui().GetTileMask(bx, by + 4), 1);
  game.Shot("street_removal");
}

}  // namespace
