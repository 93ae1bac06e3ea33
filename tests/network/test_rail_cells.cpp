// The trains' micro cells: every track and rail junction holds cell layouts
// from the generated rail pictures, joined where the pictures meet, so that
// a train runs from one end of a line to the other, through bends, T
// junctions and level crossings, while the street's cars cross the track.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>
#include <vector>

#include "iso/iso_info.h"
#include "iso/iso_object.h"
#include "microsim/micro_cells.h"
#include "rail_scene.h"

namespace {

using namespace railtest;
using Cell = BinaryMicroSimObject;

using junctiontest::Layouts;
using junctiontest::Reached;

// Every layout of the rail network: its junctions' and its tracks'.
std::vector<CQnoMicroZelle*> RailLayouts(RailWorld& w) {
  std::vector<CQnoMicroZelle*> out;
  for (CZorvaObject* o = w.rails->GetHead(); o; o = o->GetNext())
    for (CQnoMicroZelle* l : Layouts(static_cast<CStrJunction*>(o)->GetMicroZellen())) out.push_back(l);
  for (CStrSchienen* t : w.Tracks())
    for (CQnoMicroZelle* l : Layouts(t->GetMicroZellenGroup())) out.push_back(l);
  return out;
}

CQnoMicroZelle* JunctionLayout(RailWorld& w, int x, int y) {
  CStrSchJunction* j = w.RailAt(x, y);
  return j ? j->GetMicroZelle(0, 0) : nullptr;
}

// Every rail cell leads on and is reached, and a link from one layout into
// the next spans no more than the step between two cells of a lane.
void ExpectTrackCellsJoined(RailWorld& w) {
  int joins = 0;
  const std::vector<CQnoMicroZelle*> all = RailLayouts(w);
  ASSERT_FALSE(all.empty());
  for (CQnoMicroZelle* l : all)
    for (int i = 0; i < l->GetCount(); ++i) {
      Cell* c = l->GetZelle(i);
      // The street lanes of a level crossing lead into the street.
      if (c->m_LaneKind != 1 && c->m_LaneKind != 0) continue;
      SCOPED_TRACE(testing::Message() << "cell " << c->m_ID << " of " << l->GetCount() << " at " << c->m_ScreenX
                                      << "/" << c->m_ScreenY);
      EXPECT_GT(c->m_AnzNachfolger, 0);
      EXPECT_NE(c->m_pVorgaenger, nullptr);
      for (int k = 0; k < c->m_AnzNachfolger; ++k) {
        Cell* n = c->m_pNachfolger[k];
        if (!n || n->m_pOwner == l) continue;
        ++joins;
        EXPECT_LE(std::hypot(n->m_ScreenX - c->m_ScreenX, n->m_ScreenY - c->m_ScreenY), 4.0);
      }
    }
  EXPECT_GT(joins, 0);
}

int Owned(const std::set<CQnoMicroZelle*>& reached, CMicroZellenGroup* g) {
  int n = 0;
  for (CQnoMicroZelle* l : Layouts(g)) n += reached.count(l) != 0;
  return n;
}

TEST(RailCells, ATrainRunsFromOneEndOfAStraightTrackToTheOtherAndBack) {
  // Dragged towards +x, +y, -x and -y.
  for (auto [x1, y1, x2, y2] : {std::array{20, 20, 40, 20}, std::array{20, 20, 20, 40}, std::array{40, 20, 20, 20},
                                std::array{20, 40, 20, 20}}) {
    SCOPED_TRACE(testing::Message() << x1 << "/" << y1 << " - " << x2 << "/" << y2);
    RailWorld w;
    ASSERT_EQ(w.Track(x1, y1, x2, y2), STR_BUILD_OK);
    ASSERT_EQ(w.Tracks().size(), 1u);
    CStrSchienen* track = w.Tracks()[0];
    // One layout on every cell between the end groups.
    short fx = 0, fy = 0, lx = 0, ly = 0;
    ASSERT_EQ(track->GetFirstIsoPos(&fx, &fy), 0);
    ASSERT_EQ(track->GetLastIsoPos(&lx, &ly), 0);
    const int cells = std::abs(lx - fx) + std::abs(ly - fy) + 1;
    EXPECT_EQ(static_cast<int>(Layouts(track->GetMicroZellenGroup()).size()), cells);
    EXPECT_GE(cells, 16);
    EXPECT_NE(track->GetFirstMicroZelle(), nullptr);
    EXPECT_NE(track->GetLastMicroZelle(), nullptr);
    // Both directions of the track carry its two ids.
    std::set<int> ids;
    CQnoMicroZelle* mid = track->GetMicroZellen(static_cast<unsigned short>((fx + lx) / 2),
                                                static_cast<unsigned short>((fy + ly) / 2));
    ASSERT_NE(mid, nullptr);
    for (int i = 0; i < mid->GetCount(); ++i) ids.insert(mid->GetZelle(i)->m_SimID);
    EXPECT_EQ(ids, (std::set<int>{track->GetSimID(), track->GetSimIDSecond()}));
    ExpectTrackCellsJoined(w);
    CQnoMicroZelle* a = JunctionLayout(w, x1, y1);
    CQnoMicroZelle* b = JunctionLayout(w, x2, y2);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(Reached(a).count(b));
    EXPECT_TRUE(Reached(b).count(a));
    EXPECT_EQ(Owned(Reached(a), track->GetMicroZellenGroup()), cells);
  }
}

TEST(RailCells, ATrainRunsThroughABendAndEveryArmOfATJunction) {
  RailWorld w;
  ASSERT_EQ(w.Track(20, 40, 20, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Track(20, 20, 50, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Tracks().size(), 1u);
  ExpectTrackCellsJoined(w);
  CQnoMicroZelle* south = JunctionLayout(w, 20, 40);
  CQnoMicroZelle* east = JunctionLayout(w, 50, 20);
  ASSERT_NE(south, nullptr);
  ASSERT_NE(east, nullptr);
  EXPECT_TRUE(Reached(south).count(east));
  EXPECT_TRUE(Reached(east).count(south));
  // A branch to the north: from each of the three ends a train reaches the
  // other two.
  ASSERT_EQ(w.Track(32, 20, 32, 5), STR_BUILD_OK);
  ASSERT_EQ(w.Tracks().size(), 3u);
  ExpectTrackCellsJoined(w);
  CQnoMicroZelle* north = JunctionLayout(w, 32, 5);
  CQnoMicroZelle* t = JunctionLayout(w, 32, 20);
  south = JunctionLayout(w, 20, 40);
  east = JunctionLayout(w, 50, 20);
  ASSERT_NE(north, nullptr);
  ASSERT_NE(t, nullptr);
  for (CQnoMicroZelle* from : {north, south, east}) {
    const std::set<CQnoMicroZelle*> reached = Reached(from);
    EXPECT_TRUE(reached.count(t));
    for (CQnoMicroZelle* to : {north, south, east}) EXPECT_TRUE(reached.count(to));
  }
}

TEST(RailCells, ATrainCrossesAStreetAndTheStreetsCarsCrossTheTrack) {
  for (bool trackFirst : {false, true}) {
    SCOPED_TRACE(trackFirst ? "track first" : "street first");
    RailWorld w;
    ASSERT_TRUE(w.StreetAndTrack(trackFirst));
    const std::vector<CGrdCrossing*> crossings = w.Crossings();
    ASSERT_EQ(crossings.size(), 1u);
    CStrSchienen* track = w.Tracks().at(0);
    // The crossing's one layout sits at its anchor among the track's.
    short ax = 0, ay = 0;
    crossings[0]->GetInsertPoint(ax, ay);
    CQnoMicroZelle* crossing = track->GetMicroZellen(static_cast<unsigned short>(ax), static_cast<unsigned short>(ay));
    ASSERT_NE(crossing, nullptr);
    const int along = crossings[0]->GetIsoGroup()->GetTurnedSizeX();
    ASSERT_EQ(along, 3) << "the cell before the street, the street and the cell after it";
    for (int x = ax + 1; x < ax + along; ++x)
      EXPECT_EQ(track->GetMicroZellen(static_cast<unsigned short>(x), static_cast<unsigned short>(ay)), nullptr) << x;
    ExpectTrackCellsJoined(w);
    CQnoMicroZelle* west = JunctionLayout(w, 2, 20);
    CQnoMicroZelle* east = JunctionLayout(w, 30, 20);
    const std::set<CQnoMicroZelle*> fromWest = Reached(west);
    EXPECT_TRUE(fromWest.count(crossing));
    EXPECT_TRUE(fromWest.count(east));
    EXPECT_TRUE(Reached(east).count(west));
    // The street keeps no cells of its own under the crossing; its cells on
    // either side lead into the crossing and on across the track.
    CStrStrasse* street = w.StreetBetween(10, 10, 10, 30);
    ASSERT_NE(street, nullptr);
    for (int y = 20; y <= 21; ++y) EXPECT_EQ(street->GetMicroZellen(10, static_cast<unsigned short>(y)), nullptr) << y;
    CQnoMicroZelle* upper = street->GetMicroZellen(10, 19);
    CQnoMicroZelle* lower = street->GetMicroZellen(10, 22);
    ASSERT_NE(upper, nullptr);
    ASSERT_NE(lower, nullptr);
    EXPECT_TRUE(Reached(upper).count(crossing));
    EXPECT_TRUE(Reached(upper).count(lower));
    EXPECT_TRUE(Reached(lower).count(upper));
    // No car turns onto the track, nor a train into the street.
    for (int i = 0; i < crossing->GetCount(); ++i) {
      Cell* c = crossing->GetZelle(i);
      for (int k = 0; k < c->m_AnzNachfolger; ++k) {
        Cell* n = c->m_pNachfolger[k];
        if (!n || n->m_pOwner == crossing) continue;
        const bool intoStreet = n->m_pOwner == upper || n->m_pOwner == lower;
        const bool intoTrack = track->GetMicroZellen(static_cast<unsigned short>(ax - 1), static_cast<unsigned short>(ay)) ==
                                   n->m_pOwner ||
                               track->GetMicroZellen(static_cast<unsigned short>(ax + along), static_cast<unsigned short>(ay)) ==
                                   n->m_pOwner;
        EXPECT_TRUE(intoStreet || intoTrack) << "cell " << c->m_ID;
      }
    }
  }
}

TEST(RailCells, ARemovedTrackGivesTheStreetItsCellsBackAndARebuiltOneTakesThemAgain) {
  RailWorld w;
  ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_EQ(w.Track(2, 20, 30, 20), STR_BUILD_OK);
    ASSERT_EQ(w.Crossings().size(), 1u);
    CStrStrasse* street = w.StreetBetween(10, 10, 10, 30);
    ASSERT_NE(street, nullptr);
    EXPECT_EQ(street->GetMicroZellen(10, 20), nullptr);
    ASSERT_EQ(w.rails->DeleteStreet(w.Tracks().at(0)), 0);
    EXPECT_EQ(w.rails->GetNumber(), 0u);
    street = w.StreetBetween(10, 10, 10, 30);
    ASSERT_NE(street, nullptr);
    // Every cell of the street holds its layout again, and the street's
    // cars run from one end to the other.
    for (int y = 11; y <= 29; ++y) {
      CQnoMicroZelle* l = street->GetMicroZellen(10, static_cast<unsigned short>(y));
      ASSERT_NE(l, nullptr) << y;
      EXPECT_EQ(w.GroundType(10, y), OBJ_STREET_PIECE) << y;
    }
    const std::set<CQnoMicroZelle*> reached = Reached(street->GetMicroZellen(10, 11));
    EXPECT_TRUE(reached.count(street->GetMicroZellen(10, 29)));
  }
}

}  // namespace

namespace {

// The rectangle a group covers on the map.
bool InGroup(CIsoObjGroup* g, int x, int y) {
  return x >= g->GetStartPosX() && x < g->GetStartPosX() + g->GetTurnedSizeX() && y >= g->GetStartPosY() &&
         y < g->GetStartPosY() + g->GetTurnedSizeY();
}

// The track's end cell beside junction j: a cell of the track's own, just
// outside the junction's group, one step from its edge along the track.
void ExpectBesideGroup(RailWorld& w, CStrSchienen* t, CStrJunction* j, short x, short y) {
  SCOPED_TRACE(testing::Message() << "cell " << x << "/" << y << " beside junction " << j->GetXPos() << "/"
                                  << j->GetYPos());
  CIsoObjGroup* g = w.map->GetIsoInfo(j->GetXPos(), j->GetYPos())->GetGroupObj(ISO_LAYER_GROUND);
  ASSERT_NE(g, nullptr);
  EXPECT_FALSE(InGroup(g, x, y));
  const bool besideX = InGroup(g, x - 1, y) || InGroup(g, x + 1, y);
  const bool besideY = InGroup(g, x, y - 1) || InGroup(g, x, y + 1);
  EXPECT_TRUE(besideX || besideY);
  EXPECT_EQ(w.GroundType(x, y), OBJ_RAIL_PIECE);
  EXPECT_EQ(w.map->GetIsoTileObject(x, y, ISO_LAYER_GROUND), t->GetWorldObj());
}

TEST(RailEnds, ATracksEndCellsLieJustOutsideItsJunctionsGroupsInEveryDirection) {
  // T junctions at (14, 20) with arms to -x, +x and +y, at (32, 20) with
  // arms to -x, +x and -y, and at (14, 35) with arms to -y, +y and +x: the
  // tracks leave them in all four directions.
  RailWorld w;
  ASSERT_EQ(w.Track(4, 20, 50, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Track(32, 20, 32, 5), STR_BUILD_OK);
  ASSERT_EQ(w.Track(14, 20, 14, 45), STR_BUILD_OK);
  ASSERT_EQ(w.Track(14, 35, 30, 35), STR_BUILD_OK);
  ASSERT_EQ(w.Tracks().size(), 7u);
  int checked = 0;
  for (CStrSchienen* t : w.Tracks()) {
    short fx = 0, fy = 0, lx = 0, ly = 0;
    ASSERT_EQ(t->GetFirstIsoPos(&fx, &fy), 0);
    ASSERT_EQ(t->GetLastIsoPos(&lx, &ly), 0);
    ExpectBesideGroup(w, t, t->GetStartJunction(), fx, fy);
    ExpectBesideGroup(w, t, t->GetEndJunction(), lx, ly);
    // The cells hold the track's first and last layouts.
    EXPECT_EQ(t->GetFirstMicroZelle(), t->GetMicroZellen(static_cast<unsigned short>(fx), static_cast<unsigned short>(fy)));
    EXPECT_NE(t->GetFirstMicroZelle(), nullptr);
    EXPECT_NE(t->GetLastMicroZelle(), nullptr);
    ++checked;
  }
  EXPECT_EQ(checked, 7);
  // Every cell between the T junctions' groups and the tracks is drawn.
  for (int y = 7; y < 19; ++y) EXPECT_EQ(w.GroundType(32, y), OBJ_RAIL_PIECE) << y;
  for (int y = 23; y < 34; ++y) EXPECT_EQ(w.GroundType(14, y), OBJ_RAIL_PIECE) << y;
  for (int x = 17; x < 30; ++x) EXPECT_EQ(w.GroundType(x, 35), OBJ_RAIL_PIECE) << x;
  ExpectTrackCellsJoined(w);
}

// A branch drawn from a through track or onto it, on each of its four
// sides: the branch is drawn on every tile from the T junction's group to
// its far end, with a layout on each, and trains run between all three
// ends. (Drawn onto the junction from +x, its last tile stayed bare.)
TEST(RailEnds, ABranchDrawnFromOrOntoATJunctionIsWholeOnEverySide) {
  struct Branch {
    std::array<int, 4> through, branch;
  };
  const Branch cases[] = {{{30, 10, 30, 40}, {30, 25, 40, 25}}, {{30, 10, 30, 40}, {30, 25, 20, 25}},
                          {{10, 25, 50, 25}, {30, 25, 30, 38}}, {{10, 25, 50, 25}, {30, 25, 30, 12}}};
  for (const Branch& c : cases)
    for (bool onto : {false, true}) {
      auto [x1, y1, x2, y2] = c.branch;
      if (onto) {
        std::swap(x1, x2);
        std::swap(y1, y2);
      }
      SCOPED_TRACE(testing::Message() << "branch " << x1 << "/" << y1 << " - " << x2 << "/" << y2);
      RailWorld w;
      ASSERT_EQ(w.Track(c.through[0], c.through[1], c.through[2], c.through[3]), STR_BUILD_OK);
      ASSERT_EQ(w.Track(x1, y1, x2, y2), STR_BUILD_OK);
      ASSERT_EQ(w.Tracks().size(), 3u);
      const int fx = c.branch[2], fy = c.branch[3];
      CStrSchienen* branch = nullptr;
      for (CStrSchienen* t : w.Tracks())
        for (CStrJunction* j : {t->GetStartJunction(), t->GetEndJunction()})
          if (j->GetXPos() == fx && j->GetYPos() == fy) branch = t;
      ASSERT_NE(branch, nullptr);
      CStrSchJunction* tj = w.RailAt(c.branch[0], c.branch[1]);
      ASSERT_NE(tj, nullptr);
      ASSERT_EQ(tj->GetAnzLinkedStreets(), 3);
      EXPECT_EQ(branch->GetStartJunction() == tj, !onto);
      short ax = 0, ay = 0, bx = 0, by = 0;
      ASSERT_EQ(branch->GetFirstIsoPos(&ax, &ay), 0);
      ASSERT_EQ(branch->GetLastIsoPos(&bx, &by), 0);
      ExpectBesideGroup(w, branch, tj, onto ? bx : ax, onto ? by : ay);
      // Every tile between the two end cells shows the branch and holds a
      // layout of it.
      const int dx = (bx > ax) - (bx < ax), dy = (by > ay) - (by < ay);
      const int cells = std::abs(bx - ax) + std::abs(by - ay) + 1;
      for (int k = 0; k < cells; ++k) {
        const int x = ax + dx * k, y = ay + dy * k;
        EXPECT_EQ(w.GroundType(x, y), OBJ_RAIL_PIECE) << x << "/" << y;
        EXPECT_EQ(w.map->GetIsoTileObject(x, y, ISO_LAYER_GROUND), branch->GetWorldObj()) << x << "/" << y;
        EXPECT_NE(branch->GetMicroZellen(static_cast<unsigned short>(x), static_cast<unsigned short>(y)), nullptr)
            << x << "/" << y;
      }
      // Taken off the map and drawn again, the branch leaves the junction's
      // group whole: its tiles stop beside the group.
      branch->RemoveFromIsoWelt(false);
      EXPECT_TRUE(tj->ShowsWholeGroup());
      branch->InsertIntoIsoWelt();
      EXPECT_TRUE(tj->ShowsWholeGroup());
      for (int k = 0; k < cells; ++k)
        EXPECT_EQ(w.map->GetIsoTileObject(ax + dx * k, ay + dy * k, ISO_LAYER_GROUND), branch->GetWorldObj()) << k;
      ExpectTrackCellsJoined(w);
      std::vector<CQnoMicroZelle*> ends = {JunctionLayout(w, c.through[0], c.through[1]),
                                           JunctionLayout(w, c.through[2], c.through[3]), JunctionLayout(w, fx, fy)};
      for (CQnoMicroZelle* from : ends) {
        ASSERT_NE(from, nullptr);
        const std::set<CQnoMicroZelle*> reached = Reached(from);
        for (CQnoMicroZelle* to : ends) EXPECT_TRUE(reached.count(to));
      }
    }
}

TEST(RailEnds, TheTemporaryGroupIsTheGroupTheEndJunctionIsDrawnWith) {
  RailWorld w;
  ASSERT_EQ(w.Track(10, 20, 50, 20), STR_BUILD_OK);
  // An end junction of one track has no T junction group to build.
  CStrSchienen* line = w.Tracks().at(0);
  CIsoObjGroup tmp;
  short ox = 0, oy = 0;
  EXPECT_EQ(line->CreateTmpGroup(&tmp, &ox, &oy), 1);
  ASSERT_EQ(w.Track(32, 20, 32, 5), STR_BUILD_OK);
  ASSERT_EQ(w.Track(24, 20, 24, 34), STR_BUILD_OK);
  int compared = 0;
  for (CStrSchienen* t : w.Tracks()) {
    CStrJunction* j = t->GetEndJunction();
    if (j->GetAnzLinkedStreets() != 3) continue;
    CIsoObjGroup* drawn = w.map->GetIsoInfo(j->GetXPos(), j->GetYPos())->GetGroupObj(ISO_LAYER_GROUND);
    ASSERT_NE(drawn, nullptr);
    ASSERT_EQ(t->CreateTmpGroup(&tmp, &ox, &oy), 0);
    EXPECT_EQ(tmp.GetResID(), CStrSchJunction::kTResID);
    EXPECT_EQ(tmp.GetResID(), drawn->GetResID());
    EXPECT_EQ(tmp.GetRichtung(), drawn->GetRichtung());
    EXPECT_EQ(std::make_pair(ox, oy), std::make_pair(drawn->GetStartPosX(), drawn->GetStartPosY()));
    EXPECT_EQ(tmp.GetTurnedSizeX(), drawn->GetTurnedSizeX());
    ++compared;
  }
  EXPECT_GE(compared, 2);
}

}  // namespace
