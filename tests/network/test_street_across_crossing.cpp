// A street's cars across a level crossing: the street's tiles on either
// side of the track lead into the crossing's street lanes and on into the
// street's tile beyond, each lane keeping its kind and the street's id for
// its direction, and a one-way street's cars cross its way only.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "microsim/micro_cells.h"
#include "rail_scene.h"

namespace {

using namespace railtest;
using Cell = BinaryMicroSimObject;

// Two streets from a street along y = `from` (10, or 18 with the crossing
// just past the junction), at x = 10 and 22, down to y = 30 (or up from
// there), across the track 2/20-30/20, laid before or after the track; or
// all of it mirrored across the diagonal, the streets running along x.
struct CrossingScene {
  TStrassenType type;
  bool down;  // the streets run from y = `from` to y = 30
  bool trackFirst;
  bool alongX = false;
  int from = 10;
};

std::string Name(const testing::TestParamInfo<CrossingScene>& info) {
  const CrossingScene& s = info.param;
  const char* type = s.type == STRASSE_1 ? "TwoLane" : s.type == STRASSE_EINBAHN ? "OneWay" : "FourLane";
  return std::string(type) + (s.alongX ? "AlongX" : "AlongY") + (s.down ? "Down" : "Up") + "From" +
         std::to_string(s.from) + (s.trackFirst ? "TrackFirst" : "StreetFirst");
}

struct StreetAcrossCrossingTest : testing::TestWithParam<CrossingScene> {
  // A cell of the scene, (across the streets, along them).
  short X(int across, int along) const { return static_cast<short>(GetParam().alongX ? along : across); }
  short Y(int across, int along) const { return static_cast<short>(GetParam().alongX ? across : along); }
  int Build(int a1, int b1, int a2, int b2) { return w.Build(X(a1, b1), Y(a1, b1), X(a2, b2), Y(a2, b2), GetParam().type); }

  void SetUp() override {
    const CrossingScene& s = GetParam();
    // The street the others leave first: theirs are not the first ids
    // the network gives.
    ASSERT_EQ(Build(4, s.from, 26, s.from), STR_BUILD_OK);
    if (s.trackFirst) {
      ASSERT_EQ(w.Track(X(2, 20), Y(2, 20), X(30, 20), Y(30, 20)), STR_BUILD_OK);
    }
    for (int across : {10, 22}) {
      ASSERT_EQ(s.down ? Build(across, s.from, across, 30) : Build(across, 30, across, s.from), STR_BUILD_OK);
    }
    if (!s.trackFirst) {
      ASSERT_EQ(w.Track(X(2, 20), Y(2, 20), X(30, 20), Y(30, 20)), STR_BUILD_OK);
    }
    ASSERT_EQ(w.Crossings().size(), 2u);
    track = w.Tracks().at(0);
  }

  CStrStrasse* StreetAt(int across) {
    CStrStrasse* street = nullptr;
    CStrStrassenTeil* piece = nullptr;
    return w.net->PointHitStreet(X(across, 25), Y(across, 25), &street, &piece) ? street : nullptr;
  }

  // The crossing's layout of the street at `across`, and the street's on
  // either side of the track.
  void Find(CStrStrasse* street, int across) {
    crossing = upper = lower = nullptr;
    for (CGrdCrossing* c : w.Crossings()) {
      if (!c->PointHitExtraTeil(X(across, 20), Y(across, 20))) continue;
      short ax = 0, ay = 0, ux = 0, uy = 0, lx = 0, ly = 0;
      c->GetInsertPoint(ax, ay);
      c->GetUpperStreetPos(ux, uy);
      c->GetLowerStreetPos(lx, ly);
      crossing = track->GetMicroZellen(static_cast<unsigned short>(ax), static_cast<unsigned short>(ay));
      upper = street->GetMicroZellen(static_cast<unsigned short>(ux), static_cast<unsigned short>(uy));
      lower = street->GetMicroZellen(static_cast<unsigned short>(lx), static_cast<unsigned short>(ly));
    }
  }

  // The cells of `from` that lead into the crossing.
  std::vector<Cell*> Into(CQnoMicroZelle* from) {
    std::vector<Cell*> out;
    for (int i = 0; i < from->GetCount(); ++i) {
      Cell* c = from->GetZelle(i);
      for (int k = 0; k < c->m_AnzNachfolger && k < Cell::kLinks; ++k)
        if (c->m_pNachfolger[k] && c->m_pNachfolger[k]->m_pOwner == crossing) out.push_back(c);
    }
    return out;
  }

  // A car from each cell of `from` that leads into the crossing drives
  // across it along its lane and comes out into `to` on a lane of its kind
  // with the id it came in with, the id of the street's direction.
  void ExpectCarsCross(CQnoMicroZelle* from, CQnoMicroZelle* to, uint16_t simId, size_t lanes) {
    const std::vector<Cell*> in = Into(from);
    EXPECT_EQ(in.size(), lanes);
    std::set<Cell*> entries;
    for (Cell* c : in) {
      SCOPED_TRACE(testing::Message() << "from cell " << c->m_ID);
      EXPECT_EQ(c->m_SimID, simId);
      Cell* n = c->m_pNachfolger[0];
      ASSERT_NE(n, nullptr);
      ASSERT_EQ(n->m_pOwner, crossing);
      entries.insert(n);
      int steps = 0;
      while (n && n->m_pOwner == crossing && steps++ < crossing->GetCount()) {
        EXPECT_EQ(n->m_LaneKind, c->m_LaneKind) << "crossing cell " << n->m_ID;
        // On the crossing a car counts for no other street nor the track.
        EXPECT_TRUE(n->m_SimID == 0 || n->m_SimID == simId) << "crossing cell " << n->m_ID << " id " << n->m_SimID;
        EXPECT_EQ(n->m_AnzNachfolger, 1) << "crossing cell " << n->m_ID;
        n = n->m_pNachfolger[0];
      }
      ASSERT_NE(n, nullptr) << "the lane ends on the crossing";
      EXPECT_EQ(n->m_pOwner, to);
      EXPECT_EQ(n->m_SimID, simId);
      EXPECT_EQ(n->m_LaneKind, c->m_LaneKind);
    }
    // Each lane across a way of its own.
    EXPECT_EQ(entries.size(), in.size());
  }

  void ExpectJoined(const char* what) {
    for (int across : {10, 22}) {
      SCOPED_TRACE(testing::Message() << what << ", the street at " << across);
      CStrStrasse* street = StreetAt(across);
      ASSERT_NE(street, nullptr);
      Find(street, across);
      ASSERT_NE(crossing, nullptr);
      ASSERT_NE(upper, nullptr);
      ASSERT_NE(lower, nullptr);
      const CrossingScene& s = GetParam();
      const uint16_t forward = static_cast<uint16_t>(street->GetSimID());
      const uint16_t back = static_cast<uint16_t>(street->GetSimIDSecond());
      ASSERT_GT(forward, 2);
      // The upper side is the one towards smaller x or y.
      const CStrJunction* start = street->GetStartJunction();
      const bool startsUpper = (s.alongX ? start->GetXPos() : start->GetYPos()) < 20;
      ASSERT_EQ(startsUpper, s.down);
      // The street's cells beside the crossing carry the street's ids only.
      for (CQnoMicroZelle* l : {upper, lower})
        for (int i = 0; i < l->GetCount(); ++i)
          EXPECT_TRUE(l->GetZelle(i)->m_SimID == forward || l->GetZelle(i)->m_SimID == back)
              << "cell " << l->GetZelle(i)->m_ID << " id " << l->GetZelle(i)->m_SimID;
      CQnoMicroZelle* first = startsUpper ? upper : lower;
      CQnoMicroZelle* second = startsUpper ? lower : upper;
      if (s.type == STRASSE_EINBAHN) {
        EXPECT_EQ(back, 0);
        ExpectCarsCross(first, second, forward, 1);
        EXPECT_TRUE(Into(second).empty()) << "a car enters the crossing against the one-way street";
        continue;
      }
      const size_t lanes = s.type == STRASSE_VIERSPURIG ? 2 : 1;
      {
        SCOPED_TRACE("with the street");
        ExpectCarsCross(first, second, forward, lanes);
      }
      {
        SCOPED_TRACE("against it");
        ExpectCarsCross(second, first, back, lanes);
      }
    }
  }

  RailWorld w;
  CStrSchienen* track = nullptr;
  CQnoMicroZelle* crossing = nullptr;
  CQnoMicroZelle* upper = nullptr;
  CQnoMicroZelle* lower = nullptr;
};

TEST_P(StreetAcrossCrossingTest, CarsCrossOnTheirLanesWithTheStreetsIds) {
  ExpectJoined("built");
  // The streets lay their cells again beside the crossings' (as when a
  // track elsewhere changes them), then the track its own, the crossings'
  // with them.
  for (int across : {10, 22}) StreetAt(across)->CreateMicroZelle();
  ExpectJoined("streets laid again");
  track->CreateMicroZelle();
  ExpectJoined("track laid again");
}

INSTANTIATE_TEST_SUITE_P(
    EveryTypeWayAndOrder, StreetAcrossCrossingTest,
    testing::Values(CrossingScene{STRASSE_1, true, false}, CrossingScene{STRASSE_1, false, true},
                    CrossingScene{STRASSE_1, true, true, true}, CrossingScene{STRASSE_1, false, false, true, 18},
                    CrossingScene{STRASSE_EINBAHN, true, false}, CrossingScene{STRASSE_EINBAHN, true, true},
                    CrossingScene{STRASSE_EINBAHN, false, false}, CrossingScene{STRASSE_EINBAHN, false, true},
                    CrossingScene{STRASSE_EINBAHN, true, false, true}, CrossingScene{STRASSE_EINBAHN, false, true, true},
                    CrossingScene{STRASSE_EINBAHN, true, true, false, 18},
                    CrossingScene{STRASSE_EINBAHN, false, false, true, 18},
                    CrossingScene{STRASSE_VIERSPURIG, true, true}, CrossingScene{STRASSE_VIERSPURIG, false, false},
                    CrossingScene{STRASSE_VIERSPURIG, true, false, true}),
    Name);

}  // namespace
