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

// A street from the T junction at 10/10 down to 10/30 (or up from there)
// across the track 2/20-30/20, laid before or after the track.
struct CrossingScene {
  TStrassenType type;
  bool down;  // the street runs from 10/10 to 10/30
  bool trackFirst;
};

std::string Name(const testing::TestParamInfo<CrossingScene>& info) {
  const CrossingScene& s = info.param;
  const char* type = s.type == STRASSE_1 ? "TwoLane" : s.type == STRASSE_EINBAHN ? "OneWay" : "FourLane";
  return std::string(type) + (s.down ? "Down" : "Up") + (s.trackFirst ? "TrackFirst" : "StreetFirst");
}

struct StreetAcrossCrossingTest : testing::TestWithParam<CrossingScene> {
  void SetUp() override {
    const CrossingScene& s = GetParam();
    // The street along y = 10 first: the street across the track is not
    // the network's first, so its ids are not the first ones given.
    ASSERT_EQ(w.Build(4, 10, 16, 10, s.type), STR_BUILD_OK);
    if (s.trackFirst) {
      ASSERT_EQ(w.Track(2, 20, 30, 20), STR_BUILD_OK);
    }
    ASSERT_EQ(s.down ? w.Build(10, 10, 10, 30, s.type) : w.Build(10, 30, 10, 10, s.type), STR_BUILD_OK);
    if (!s.trackFirst) {
      ASSERT_EQ(w.Track(2, 20, 30, 20), STR_BUILD_OK);
    }
    CStrStrassenTeil* piece = nullptr;
    ASSERT_TRUE(w.net->PointHitStreet(10, 25, &street, &piece));
    ASSERT_NE(street, nullptr);
    ASSERT_EQ(w.Crossings().size(), 1u);
    track = w.Tracks().at(0);
  }

  // The crossing's layout and the street's on either side of the track.
  void Find() {
    CGrdCrossing* c = w.Crossings().at(0);
    short ax = 0, ay = 0, ux = 0, uy = 0, lx = 0, ly = 0;
    c->GetInsertPoint(ax, ay);
    c->GetUpperStreetPos(ux, uy);
    c->GetLowerStreetPos(lx, ly);
    crossing = track->GetMicroZellen(static_cast<unsigned short>(ax), static_cast<unsigned short>(ay));
    upper = street->GetMicroZellen(static_cast<unsigned short>(ux), static_cast<unsigned short>(uy));
    lower = street->GetMicroZellen(static_cast<unsigned short>(lx), static_cast<unsigned short>(ly));
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
    SCOPED_TRACE(what);
    Find();
    ASSERT_NE(crossing, nullptr);
    ASSERT_NE(upper, nullptr);
    ASSERT_NE(lower, nullptr);
    const CrossingScene& s = GetParam();
    const uint16_t forward = static_cast<uint16_t>(street->GetSimID());
    const uint16_t back = static_cast<uint16_t>(street->GetSimIDSecond());
    ASSERT_GT(forward, 2);
    const bool startsUpper = street->GetStartJunction()->GetYPos() < 20;
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
      return;
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

  RailWorld w;
  CStrStrasse* street = nullptr;
  CStrSchienen* track = nullptr;
  CQnoMicroZelle* crossing = nullptr;
  CQnoMicroZelle* upper = nullptr;
  CQnoMicroZelle* lower = nullptr;
};

TEST_P(StreetAcrossCrossingTest, CarsCrossOnTheirLanesWithTheStreetsIds) {
  ExpectJoined("built");
  // The street lays its cells again beside the crossing's (as when a track
  // elsewhere changes it), then the track its own, the crossing's with them.
  street->CreateMicroZelle();
  ExpectJoined("street laid again");
  track->CreateMicroZelle();
  ExpectJoined("track laid again");
}

INSTANTIATE_TEST_SUITE_P(EveryTypeWayAndOrder, StreetAcrossCrossingTest,
                         testing::Values(CrossingScene{STRASSE_1, true, false}, CrossingScene{STRASSE_1, false, true},
                                         CrossingScene{STRASSE_EINBAHN, true, false},
                                         CrossingScene{STRASSE_EINBAHN, true, true},
                                         CrossingScene{STRASSE_EINBAHN, false, false},
                                         CrossingScene{STRASSE_EINBAHN, false, true},
                                         CrossingScene{STRASSE_VIERSPURIG, true, true},
                                         CrossingScene{STRASSE_VIERSPURIG, false, false}),
                         Name);

}  // namespace
