// What a street tells the objects placed on it and the lights at its ends:
// the direction of the tile under a stop (one-tile and four-lane streets,
// bends, cells beside and off the map), the lights' cells after the view
// turns, and the type of two streets joined where an arm was deleted.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "edit_storm.h"
#include "network/str_ampel.h"
#include "rail_scene.h"

namespace {

using namespace stormtest;

struct Direction {
  int d;
  int found;
  int first;
  bool bend;
};

Direction At(CStrStrasse* s, int x, int y) {
  unsigned char found = 7;
  int first = -1;
  bool bend = true;
  const int d = s->GetRichtung(x, y, found, first, bend);
  return {d, found, first, bend};
}

TEST(StreetDirections, AOneTileStreetGivesItsDirectionOnItsTilesOnly) {
  {
    World v;
    ASSERT_EQ(v.Build(40, 30, 40, 5), STR_BUILD_OK);
    CStrStrasse* north = v.StreetBetween(40, 30, 40, 5);
    ASSERT_NE(north, nullptr);
    const Direction n = At(north, 40, 17);
    EXPECT_EQ(n.found, 1);
    EXPECT_EQ(n.d, 1);
    EXPECT_EQ(At(north, 41, 17).found, 0);
  }
  World w;
  ASSERT_EQ(w.Build(10, 10, 20, 10), STR_BUILD_OK);
  CStrStrasse* east = w.StreetBetween(10, 10, 20, 10);
  ASSERT_NE(east, nullptr);
  for (int x : {10, 15, 20}) {
    const Direction d = At(east, x, 10);
    EXPECT_EQ(d.found, 1) << x;
    EXPECT_EQ(d.d, 0) << x;
    EXPECT_FALSE(d.bend) << x;
  }
  // Beside the street, and off the map: no tile of the street.
  for (auto [x, y] : {std::pair{15, 11}, std::pair{15, 9}, std::pair{21, 10}})
    EXPECT_EQ(At(east, x, y).found, 0) << x << "/" << y;
  const Direction off = At(east, -1, 10);
  EXPECT_EQ(off.found, 0);
  EXPECT_EQ(off.d, 0);
  EXPECT_FALSE(off.bend);
}

TEST(StreetDirections, AFourLaneStreetCoversItsSecondColumnAndTheTilesOfItsBend) {
  World w{GameData{}};
  // East along y = 10, then south along x = 40 from the bend.
  ASSERT_EQ(w.Build(10, 10, 40, 10, STRASSE_VIERSPURIG), STR_BUILD_OK);
  ASSERT_EQ(w.Build(40, 10, 40, 40, STRASSE_VIERSPURIG), STR_BUILD_OK);
  ASSERT_EQ(w.Streets().size(), 1u);
  CStrStrasse* s = w.Streets()[0];
  const bool eastFirst = s->GetStartJunction()->GetYPos() == 10;
  // The second column of each leg.
  const Direction leg1 = At(s, 25, 11);
  EXPECT_EQ(leg1.found, 1);
  EXPECT_EQ(leg1.d, eastFirst ? 0 : 2);
  const Direction leg2 = At(s, 41, 25);
  EXPECT_EQ(leg2.found, 1);
  EXPECT_EQ(leg2.d, eastFirst ? 3 : 1);
  // The 2 x 2 tiles of the bend belong to both legs: the first leg's
  // direction first, the second's as the answer.
  for (auto [x, y] : {std::pair{40, 10}, std::pair{41, 10}, std::pair{40, 11}, std::pair{41, 11}}) {
    const Direction b = At(s, x, y);
    EXPECT_EQ(b.found, 1) << x << "/" << y;
    EXPECT_EQ(b.first, eastFirst ? 0 : 1) << x << "/" << y;
    EXPECT_EQ(b.d, eastFirst ? 3 : 2) << x << "/" << y;
  }
  // Two tiles beside a leg is off the street.
  EXPECT_EQ(At(s, 25, 12).found, 0);
  EXPECT_EQ(At(s, 42, 25).found, 0);
}

// The lights' cells as the map's cells: after the view turns, every light
// switches cells of the new layouts.
TEST(StreetDirections, TheLightsOfACrossingSwitchTheNewCellsAfterTheViewTurns) {
  World w{GameData{}};
  ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Build(10, 20, 20, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Build(0, 20, 10, 20), STR_BUILD_OK);
  CStrJunction* j = w.At(10, 20);
  ASSERT_NE(j, nullptr);
  ASSERT_EQ(j->GetKreuzObject()->SetVarData("KR.AMPEL", Ampel_Ampel), 0);
  CAmpelGroup* group = j->GetAmpelGroup();
  ASSERT_NE(group, nullptr);
  ASSERT_EQ(w.net->TurnMicroSim(), 0);
  std::set<BinaryMicroSimObject*> cells;
  for (CStrStrasse* s : w.Streets())
    for (auto* m = s->GetMicroZellenGroup() ? s->GetMicroZellenGroup()->GetFirst() : nullptr; m; m = m->pNext)
      for (int i = 0; m->pZelle && i < m->pZelle->GetCount(); ++i) cells.insert(m->pZelle->GetZelle(i));
  for (auto* m = j->GetMicroZellen() ? j->GetMicroZellen()->GetFirst() : nullptr; m; m = m->pNext)
    for (int i = 0; m->pZelle && i < m->pZelle->GetCount(); ++i) cells.insert(m->pZelle->GetZelle(i));
  for (int i = 0; i < 4; ++i) {
    CAmpel* light = group->GetAmpelForStreet(j->GetStreetByNR(i));
    ASSERT_NE(light, nullptr) << i;
    ASSERT_NE(light->GetZelle(0), nullptr) << i;
    EXPECT_TRUE(cells.count(light->GetZelle(0))) << i;
  }
}

// Deleting one half of a street split by a T junction joins the other half
// and the arm into one street of the larger type, whichever of them is the
// larger and whichever half goes.
TEST(StreetDirections, TwoStreetsJoinedWhereAnArmWasDeletedTakeTheLargerType) {
  for (int c = 0; c < 4; ++c) {
    const std::string street = c & 1 ? "2" : "1", arm = c & 1 ? "1" : "2";
    const std::string gone = c & 2 ? "D 10 10 10 20 " : "D 10 20 10 30 ";
    const std::string text = "B 10 10 10 30 " + street + "  B 10 20 20 20 " + arm + "  " + gone + street;
    SCOPED_TRACE(text);
    StormWorld sw;
    for (const Op& o : Parse(text)) {
      SCOPED_TRACE(Format(o));
      EXPECT_EQ(sw.Apply(o), o.kind == 'B' ? STR_BUILD_OK : 0);
      for (const std::string& f : sw.checker.Check(sw.w)) ADD_FAILURE() << f;
    }
    ASSERT_EQ(sw.w.Streets().size(), 1u);
    CStrStrasse* s = sw.w.Streets()[0];
    EXPECT_EQ(s->GetStreetType().GetValue(), 2);
    EXPECT_EQ(sw.w.At(10, 20), nullptr);
    EXPECT_EQ(sw.w.GroundRes(20, 20), 1780);
  }
}

// A building two cells wide looks for its crossing round both cells: a
// crossing three cells past its second cell is in view, at the distance
// from the building's centre.
TEST(StreetDirections, AWideBuildingSeesTheCrossingsRoundAllItsCells) {
  World w;
  ASSERT_EQ(w.Build(24, 18, 24, 8), STR_BUILD_OK);
  ASSERT_EQ(w.map->SetIsoGroupAt(20, 20, ISO_LAYER_GROUND, isotest::kGroup, nullptr), 0);
  int gw = 0, gd = 0;
  w.map->GetGroupSize(20, 20, ISO_LAYER_GROUND, gw, gd);
  ASSERT_EQ(gw, 2);
  ASSERT_EQ(gd, 1);
  int dist = -2;
  CStrJunction* found = nullptr;
  EXPECT_EQ(w.net->GetNearestCrossing(20, 20, &dist, 0, &found), w.At(24, 18)->GetSimID());
  EXPECT_EQ(found, w.At(24, 18));
  EXPECT_EQ(dist, 3);  // from (21, 20): 3 east, 2 north
  // The nearest street, as the school checks ask: the crossing's cell is
  // nearer the centre than the street's tiles.
  CStrStrasse* street = nullptr;
  short hx = 0, hy = 0;
  EXPECT_TRUE(w.net->GetNearestStreet(20, 20, nullptr, &street, &hx, &hy));
  EXPECT_EQ(street, w.StreetBetween(24, 18, 24, 8));
  EXPECT_EQ(hx, 24);
  EXPECT_EQ(hy, 18);
}

// A track whose deletion would cut the rail network is refused with the
// rails' own code, and the tracks stay as they were.
TEST(StreetDirections, ATrackThatWouldCutTheRailsIsKeptWithTheRailsRefusal) {
  railtest::RailWorld w;
  ASSERT_EQ(w.Track(10, 10, 40, 10), STR_BUILD_OK);
  ASSERT_EQ(w.Track(20, 10, 20, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Track(30, 10, 30, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Tracks().size(), 5u);
  CStrSchienen* middle = nullptr;
  for (CStrSchienen* t : w.Tracks())
    if (t->GetStartJunction()->GetYPos() == 10 && t->GetEndJunction()->GetYPos() == 10 &&
        std::min(t->GetStartJunction()->GetXPos(), t->GetEndJunction()->GetXPos()) == 20)
      middle = t;
  ASSERT_NE(middle, nullptr);
  EXPECT_EQ(w.rails->DeleteStreet(middle), 2);
  EXPECT_EQ(w.Tracks().size(), 5u);
  EXPECT_EQ(w.RailAt(20, 10)->GetAnzLinkedStreets(), 3);
  EXPECT_EQ(w.RailAt(30, 10)->GetAnzLinkedStreets(), 3);
}

}  // namespace
