// The layouts of one street or junction in a group, joining the layouts of
// neighbouring tiles, and drawing a layout's vehicles and its cell view.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "framework/qno_display.h"
#include "iso/iso_welt.h"
#include "micro_drawing.h"
#include "micro_test_layouts.h"
#include "microsim/micro_simulation.h"
#include "support/test_support.h"
#include "worldbase/zor_world_host.h"

using namespace microtest;

namespace {

// A layout the group will own.
CQnoMicroZelle* Owned(LayoutPtr layout) { return layout.release(); }

// One tile of a two-way street along x: the forward lane 1 -> 2 at y 0,
// the backward lane 3 -> 4 at y 10, the tile's cells from x0 to x0 + 20.
LayoutPtr TwoWay(int16_t x0) {
  LayoutPtr t = Make({C(1, 2, x0, 0, {2}), C(2, 2, static_cast<int16_t>(x0 + 20), 0, {}, 1),
                      C(3, 2, static_cast<int16_t>(x0 + 20), 10, {4}), C(4, 2, x0, 10, {}, 3)});
  t->SetScreenPos(0, 0);
  return t;
}

}  // namespace

TEST(MicroGroup, MembersComeAndGoInAnyOrderAndKeepTheOrderTheyWereAddedIn) {
  // Six tiles along x; members go from the middle, the front and the back
  // and come again, more of them than a short street has.
  CMicroZellenGroup group;
  group.Create(10, 10);
  std::vector<CQnoMicroZelle*> at(8, nullptr);
  auto add = [&](int x) {
    at[static_cast<size_t>(x)] = Owned(Lane(0));
    group.AddZelle(at[static_cast<size_t>(x)], static_cast<unsigned short>(10 + x), 10);
  };
  auto drop = [&](int x) {
    CMicroZellenGroup::TGroupMember* m = group.FindMember(static_cast<unsigned short>(10 + x), 10);
    ASSERT_NE(m, nullptr) << x;
    delete m->pZelle;
    m->pZelle = nullptr;
    EXPECT_EQ(group.DestroyAt(static_cast<unsigned short>(10 + x), 10), 0);
    at[static_cast<size_t>(x)] = nullptr;
  };
  auto order = [&] {
    std::vector<int> xs;
    for (CMicroZellenGroup::TGroupMember* m = group.GetFirst(); m; m = m->pNext) {
      xs.push_back(m->dx);
      EXPECT_EQ(group.FindZelle(static_cast<unsigned short>(10 + m->dx), 10), at[m->dx]);
    }
    return xs;
  };
  for (int x = 0; x < 6; ++x) add(x);
  EXPECT_EQ(order(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
  // A member that goes makes room for the next one, and only for it.
  drop(1);
  add(7);
  EXPECT_EQ(order(), (std::vector<int>{0, 2, 3, 4, 5, 7}));
  drop(2);
  drop(0);
  drop(5);
  EXPECT_EQ(order(), (std::vector<int>{3, 4, 7}));
  add(0);
  add(6);
  add(1);
  EXPECT_EQ(order(), (std::vector<int>{3, 4, 7, 0, 6, 1}));
  for (int x : {3, 4, 7}) drop(x);
  EXPECT_EQ(order(), (std::vector<int>{0, 6, 1}));
  EXPECT_EQ(group.FindZelle(12, 10), nullptr);
  // A group made again starts empty; what it held is freed with it.
  EXPECT_EQ(group.Destroy(), 0);
  EXPECT_EQ(group.GetFirst(), nullptr);
  group.Create(10, 10);
  add(4);
  EXPECT_EQ(order(), (std::vector<int>{4}));
}

TEST(MicroGroup, ALongStreetKeepsEveryMemberWhereverItLives) {
  // More tiles than the group holds inline and in its block of members:
  // the members come and go in the inline room, the block and one by one,
  // and each freed place is taken again.
  constexpr int kTiles = 16;
  CMicroZellenGroup group;
  std::vector<CQnoMicroZelle*> at(kTiles, nullptr);
  std::vector<int> expect;
  auto add = [&](int x) {
    at[static_cast<size_t>(x)] = Owned(Lane(0));
    group.AddZelle(at[static_cast<size_t>(x)], 7, static_cast<unsigned short>(100 + x));
    expect.push_back(x);
  };
  auto drop = [&](int x) {
    CMicroZellenGroup::TGroupMember* m = group.FindMember(7, static_cast<unsigned short>(100 + x));
    ASSERT_NE(m, nullptr) << x;
    delete m->pZelle;
    m->pZelle = nullptr;
    EXPECT_EQ(group.DestroyAt(7, static_cast<unsigned short>(100 + x)), 0);
    at[static_cast<size_t>(x)] = nullptr;
    std::erase(expect, x);
  };
  auto check = [&](const char* what) {
    std::vector<int> order;
    std::vector<const void*> places;
    for (CMicroZellenGroup::TGroupMember* m = group.GetFirst(); m; m = m->pNext) {
      order.push_back(m->dy);
      places.push_back(m);
    }
    EXPECT_EQ(order, expect) << what;
    std::sort(places.begin(), places.end());
    EXPECT_EQ(std::adjacent_find(places.begin(), places.end()), places.end()) << what;
    for (int x = 0; x < kTiles; ++x)
      EXPECT_EQ(group.FindZelle(7, static_cast<unsigned short>(100 + x)), at[static_cast<size_t>(x)]) << what << " " << x;
  };
  group.Create(7, 100);
  for (int x = 0; x < 13; ++x) add(x);
  check("added");
  // From the inline room (1), the block (5, 10) and the single ones (12).
  for (int x : {1, 5, 10, 12}) drop(x);
  check("dropped");
  for (int x : {13, 14, 15, 1}) add(x);
  check("added again");
  for (int x : {0, 2, 3, 4, 6, 7, 8, 9, 11}) drop(x);
  check("most gone");
  EXPECT_EQ(group.Destroy(), 0);
  expect.clear();
  std::fill(at.begin(), at.end(), nullptr);
  check("destroyed");
  group.Create(7, 100);
  for (int x = 0; x < 12; ++x) add(x);
  check("made again");
}

TEST(MicroGroup, MembersAreFoundByTheirSixteenBitTileOffset) {
  CMicroZellenGroup group;
  EXPECT_EQ(group.Create(5, 3), 0);
  CQnoMicroZelle* here = Owned(Lane(0));
  CQnoMicroZelle* right = Owned(Lane(0));
  CQnoMicroZelle* left = Owned(Lane(0));
  EXPECT_EQ(group.AddZelle(here, 5, 3), 0);
  group.AddZelle(right, 6, 3);
  group.AddZelle(left, 4, 3);  // offset 0xFFFF
  group.AddZelle(nullptr, 5, 9);
  EXPECT_EQ(group.FindZelle(5, 3), here);
  EXPECT_EQ(group.FindZelle(6, 3), right);
  EXPECT_EQ(group.FindZelle(4, 3), left);
  EXPECT_EQ(group.FindMember(4, 3)->dx, 0xFFFF);
  EXPECT_EQ(group.FindZelle(3, 4), nullptr);
  EXPECT_EQ(group.FindZelle(5, 9), nullptr);
  ASSERT_NE(group.FindMember(5, 9), nullptr);
  // Members keep the order they were added in.
  EXPECT_EQ(group.GetFirst()->pZelle, here);
  EXPECT_EQ(group.FindPrev(group.FindMember(4, 3)), group.FindMember(6, 3));
  EXPECT_EQ(group.FindPrev(group.GetFirst()), nullptr);

  // The member goes, its layout is the caller's.
  group.FindMember(6, 3)->pZelle = nullptr;
  delete right;
  EXPECT_EQ(group.DestroyAt(6, 3), 0);
  EXPECT_EQ(group.FindMember(6, 3), nullptr);
  EXPECT_EQ(group.GetFirst()->pNext->pZelle, left);
  EXPECT_EQ(group.DestroyAt(6, 3), 1);
  group.FindMember(5, 3)->pZelle = nullptr;
  delete here;
  EXPECT_EQ(group.DestroyAt(5, 3), 0);
  EXPECT_EQ(group.GetFirst()->pZelle, left);
  EXPECT_EQ(group.Destroy(), 0);
  EXPECT_EQ(group.GetFirst(), nullptr);
}

TEST(MicroGroup, ForwardingWithoutALayoutGivesTheFixedAnswers) {
  CMicroZellenGroup group;
  group.Create(10, 10);
  group.AddZelle(nullptr, 11, 10);
  for (unsigned short x : {10, 11}) {
    EXPECT_EQ(group.FindZelle(x, 10), nullptr);
    EXPECT_EQ(group.FindMember(x, 10, 4, false), nullptr);
    EXPECT_EQ(group.FindMemberNoBusspur(x, 10, 4), nullptr);
    EXPECT_EQ(group.FindEntryZelle(0, x, 10), nullptr);
    EXPECT_EQ(group.FindExitZelle(0, x, 10), nullptr);
    EXPECT_EQ(group.GetRandomZelle(x, 10), nullptr);
    EXPECT_EQ(group.Turn(nullptr, x, 10, 0, 0), 1);
    EXPECT_EQ(group.UpdateScreenPos(0, 0, x, 10), 1);
    EXPECT_EQ(group.MoveCars(x, 10, false), 0);
    EXPECT_EQ(group.Render(nullptr, x, 10, 2), 1);
    int c1 = 7, c2 = 7, s1 = 0, s2 = 0;
    group.ZaehleAutos(x, 10, 1, 2, c1, c2, s1, s2, 0, 0);
    EXPECT_EQ(c1, 7);
    EXPECT_EQ(c2, 7);
    Cell cell;
    TestCar car;
    EXPECT_EQ(group.SetCar(&cell, x, 10, &car, false), 2);
    EXPECT_EQ(cell.m_pCar, nullptr);
  }
  EXPECT_TRUE(group.IsVisible());
}

TEST(MicroGroup, ForwardingReachesTheTilesLayout) {
  CMicroZellenGroup group;
  group.Create(2, 2);
  CQnoMicroZelle* tile = Owned(Make({C(1, 1, 0, 0, {2}), C(2, 2, 4, 0, {}, 1)}));
  group.AddZelle(tile, 2, 3);
  tile->SetFirstSimID(8);
  EXPECT_EQ(group.FindMember(2, 3, 8, false), tile->GetZelle(0));
  EXPECT_EQ(group.FindMember(2, 3, 8, true), tile->GetZelle(0));
  EXPECT_EQ(group.FindMember(2, 3, 0, false), nullptr);
  EXPECT_EQ(group.FindMemberNoBusspur(2, 3, 8), tile->GetZelle(1));
  EXPECT_EQ(group.FindMemberNoBusspur(2, 3, 0), nullptr);
  EXPECT_EQ(group.FindEntryZelle(0, 2, 3), tile->GetZelle(0));
  EXPECT_EQ(group.FindExitZelle(0, 2, 3), tile->GetZelle(1));
  EXPECT_NE(group.GetRandomZelle(2, 3), nullptr);
  EXPECT_EQ(group.UpdateScreenPos(100, 50, 2, 3), 0);
  EXPECT_EQ(tile->GetZelle(1)->m_ScreenX, 104);
  LayoutPtr turned = Make({C(2, 2, -4, 1)});
  EXPECT_EQ(group.Turn(turned.get(), 2, 3, 10, 10), 0);
  EXPECT_EQ(tile->GetZelle(1)->m_ScreenX, 6);
  EXPECT_EQ(tile->GetZelle(1)->m_ScreenY, 11);
  EXPECT_EQ(group.SetCar(nullptr, 2, 3, nullptr, false), 2);
  EXPECT_EQ(group.SetCar(tile->GetZelle(0), 2, 3, nullptr, false), 2);
  TestCar car;
  EXPECT_EQ(group.SetCar(nullptr, 2, 3, &car, false), 2);
  EXPECT_EQ(tile->GetZelle(0)->m_pCar, nullptr);
}

TEST(MicroGroup, VisibilityIsTheFlagAndEveryLayout) {
  CMicroZellenGroup group;
  group.Create(0, 0);
  CQnoMicroZelle* a = Owned(Lane(0));
  CQnoMicroZelle* b = Owned(Lane(0));
  group.AddZelle(a, 0, 0);
  group.AddZelle(b, 1, 0);
  EXPECT_TRUE(group.IsVisible());
  b->GetZelle(2)->m_Visible = 0;
  EXPECT_FALSE(group.IsVisible());
  group.SetVisible(true);
  EXPECT_TRUE(group.IsVisible());
  group.SetVisible(false);
  EXPECT_FALSE(group.IsVisible());
  EXPECT_FALSE(a->IsVisible());
  a->SetVisible(true);
  b->SetVisible(true);
  EXPECT_FALSE(group.IsVisible());  // the group's own flag
}

TEST(MicroGroup, DestroyDetachesTheNeighboursOutsideTheGroup) {
  LayoutPtr junction = Lane(100);
  TestCar::s_alive = 0;
  {
    CMicroZellenGroup street;
    street.Create(0, 0);
    CQnoMicroZelle* t = Owned(Lane(0));
    street.AddZelle(t, 0, 0);
    t->SetNachfolger(t->GetZelle(2), junction->GetZelle(0));
    junction->SetNachfolger(junction->GetZelle(2), t->GetZelle(0));
    Park(t->GetZelle(1));
  }  // the destructor destroys the group
  EXPECT_EQ(TestCar::s_alive, 0);
  EXPECT_EQ(junction->GetZelle(0)->m_pVorgaenger, nullptr);
  EXPECT_EQ(junction->GetZelle(2)->m_AnzNachfolger, 0);
  EXPECT_EQ(junction->GetZelle(2)->m_pNachfolger[0], nullptr);
}

TEST(MicroGroup, TheCellLeadingIntoAJunction) {
  CMicroZellenGroup street, junction;
  street.Create(0, 0);
  junction.Create(2, 0);
  CQnoMicroZelle* s0 = Owned(Lane(0));
  CQnoMicroZelle* s1 = Owned(Lane(0));
  CQnoMicroZelle* j0 = Owned(Lane(0));
  CQnoMicroZelle* j1 = Owned(Lane(0));
  street.AddZelle(s0, 0, 0);
  street.AddZelle(s1, 1, 0);
  junction.AddZelle(j0, 2, 0);
  junction.AddZelle(j1, 2, 1);
  EXPECT_EQ(street.FindZelleWithTargetJunction(&junction, 0, 0, 0), nullptr);
  s1->SetNachfolger(s1->GetZelle(2), j1->GetZelle(0));
  s0->SetNachfolger(s0->GetZelle(2), s1->GetZelle(0));
  EXPECT_EQ(street.FindZelleWithTargetJunction(&junction, 0, 0, 0), s1->GetZelle(2));
  EXPECT_EQ(street.FindZelleWithTargetJunction(&junction, 0, 0, 1), nullptr);
  EXPECT_EQ(street.FindZelleWithTargetJunction(nullptr, 0, 0, 0), nullptr);
}

TEST(MicroLink, DistancesAreTenthsOfAPixel) {
  LayoutPtr a = Make({C(1, 2, 10, 10), C(2, 2, 13, 14), C(3, 2, 7, 6)});
  a->SetScreenPos(0, 0);
  EXPECT_DOUBLE_EQ(CMicroSimulation::CalcDistance(a->GetZelle(0), a->GetZelle(1)), 50.0);
  EXPECT_DOUBLE_EQ(CMicroSimulation::CalcDistance(a->GetZelle(1), a->GetZelle(2)), 100.0);
}

TEST(MicroLink, JoinsTheNearestExitAndEntryEachWayWithTheirSimIds) {
  CMicroSimulation sim;
  LayoutPtr a = TwoWay(0);
  LayoutPtr b = TwoWay(40);
  EXPECT_EQ(sim.Link(nullptr, b.get(), STRASSE_1, 1, 2), 1);
  EXPECT_EQ(sim.Link(a.get(), nullptr, STRASSE_1, 1, 2), 1);
  EXPECT_EQ(sim.Link(a.get(), b.get(), STRASSE_1, 31, 32), 0);
  EXPECT_EQ(a->GetZelle(1)->m_pNachfolger[0], b->GetZelle(0));
  EXPECT_EQ(b->GetZelle(0)->m_pVorgaenger, a->GetZelle(1));
  EXPECT_EQ(b->GetZelle(3)->m_pNachfolger[0], a->GetZelle(2));
  EXPECT_EQ(a->GetLinkState(), CQnoMicroZelle::kLinked);
  EXPECT_EQ(SimIds(*a), (std::vector<uint16_t>{31, 31, 32, 32}));
  EXPECT_EQ(SimIds(*b), (std::vector<uint16_t>{31, 31, 32, 32}));
  EXPECT_EQ(a->GetZelle(3)->m_AnzNachfolger, 0);
  EXPECT_EQ(b->GetZelle(1)->m_AnzNachfolger, 0);
}

TEST(MicroLink, AOneWayStreetIsLinkedInItsOwnDirectionOnly) {
  CMicroSimulation sim;
  // a: a lane towards b and a lane back, as a dead end's turn has; b: the
  // same. A one-way street from a to b joins a's exit to b's entry and no
  // lane of b back into a.
  LayoutPtr a = TwoWay(0);
  LayoutPtr b = TwoWay(40);
  EXPECT_EQ(sim.Link(a.get(), b.get(), STRASSE_EINBAHN, 7, 0), 0);
  EXPECT_EQ(a->GetZelle(1)->m_pNachfolger[0], b->GetZelle(0));
  EXPECT_EQ(b->GetZelle(3)->m_AnzNachfolger, 0);
  EXPECT_EQ(a->GetZelle(2)->m_pVorgaenger, nullptr);
  // Two-way, both ways.
  LayoutPtr c = TwoWay(0);
  LayoutPtr d = TwoWay(40);
  EXPECT_EQ(sim.Link(c.get(), d.get(), STRASSE_1, 7, 8), 0);
  EXPECT_EQ(d->GetZelle(3)->m_pNachfolger[0], c->GetZelle(2));
}

TEST(MicroLink, LaneKindsMustFitAndTiesKeepTheFirstPair) {
  CMicroSimulation sim;
  // The exit is an outer lane (5); the nearest entry is another outer lane
  // (4), a farther one the same kind.
  LayoutPtr a = Make({C(1, 5, 0, 0)});
  LayoutPtr b = Make({C(1, 4, 5, 0), C(2, 5, 30, 0)});
  a->SetScreenPos(0, 0);
  b->SetScreenPos(0, 0);
  sim.Link(a.get(), b.get(), STRASSE_2, 1, 2);
  EXPECT_EQ(a->GetZelle(0)->m_pNachfolger[0], b->GetZelle(1));
  // Back from b: of its two exits only the outer lane of kind 5 fits.
  EXPECT_EQ(b->GetZelle(1)->m_pNachfolger[0], a->GetZelle(0));

  // Kind 0 fits everything.
  LayoutPtr c = Make({C(1, 8, 0, 0)});
  LayoutPtr d = Make({C(1, 0, 50, 0), C(2, 4, 60, 0)});
  c->SetScreenPos(0, 0);
  d->SetScreenPos(0, 0);
  sim.Link(c.get(), d.get(), STRASSE_1, 1, 2);
  EXPECT_EQ(c->GetZelle(0)->m_pNachfolger[0], d->GetZelle(0));

  // Nothing fits: no link, no ids.
  LayoutPtr e = Make({C(1, 1, 0, 0)});
  LayoutPtr f = Make({C(1, 4, 1, 0)});
  sim.Link(e.get(), f.get(), STRASSE_1, 3, 4);
  EXPECT_EQ(e->GetZelle(0)->m_AnzNachfolger, 0);
  EXPECT_EQ(f->GetZelle(0)->m_AnzNachfolger, 0);
  EXPECT_EQ(SimIds(*e), (std::vector<uint16_t>{0}));

  // Distances count in whole tenths of a pixel: 100.5 and 100 are equal,
  // so the first entry wins although the second is nearer.
  LayoutPtr g = Make({C(1, 2, 0, 0, {}, 9)});
  LayoutPtr h = Make({C(1, 2, 10, 1), C(2, 2, 10, 0)});
  g->SetScreenPos(0, 0);
  h->SetScreenPos(0, 0);
  sim.Link(g.get(), h.get(), STRASSE_1, 3, 4);
  EXPECT_EQ(g->GetZelle(0)->m_pNachfolger[0], h->GetZelle(0));
  // A pair nearer by a whole tenth wins.
  LayoutPtr i = Make({C(1, 2, 0, 0, {}, 9)});
  LayoutPtr j = Make({C(1, 2, 10, 2), C(2, 2, 10, 0)});
  i->SetScreenPos(0, 0);
  j->SetScreenPos(0, 0);
  sim.Link(i.get(), j.get(), STRASSE_1, 3, 4);
  EXPECT_EQ(i->GetZelle(0)->m_pNachfolger[0], j->GetZelle(1));
}

TEST(MicroLink, FourLaneStreetsJoinTwoLanesEachWayAndRailOne) {
  CMicroSimulation sim;
  // Two forward lanes ending at x 20 (y 0 and 4), two entries at x 40.
  auto tile = [](int16_t x0) {
    LayoutPtr t = Make({C(1, 2, x0, 0, {2}), C(2, 2, static_cast<int16_t>(x0 + 20), 0, {}, 1),
                        C(3, 2, x0, 4, {4}), C(4, 2, static_cast<int16_t>(x0 + 20), 4, {}, 3)});
    t->SetScreenPos(0, 0);
    return t;
  };
  LayoutPtr a = tile(0), b = tile(40);
  EXPECT_EQ(sim.Link(a.get(), b.get(), STRASSE_VIERSPURIG, 7, 8), 0);
  EXPECT_EQ(a->GetZelle(1)->m_pNachfolger[0], b->GetZelle(0));
  EXPECT_EQ(a->GetZelle(3)->m_pNachfolger[0], b->GetZelle(2));
  // And two lanes back from b's exits to a's entries.
  EXPECT_EQ(b->GetZelle(1)->m_pNachfolger[0], a->GetZelle(0));
  EXPECT_EQ(b->GetZelle(3)->m_pNachfolger[0], a->GetZelle(2));
  LayoutPtr r1 = tile(0), r2 = tile(40);
  EXPECT_EQ(sim.Link(r1.get(), r2.get(), STRASSE_SCHIENE, 7, 8), 0);
  EXPECT_EQ(r1->GetZelle(1)->m_pNachfolger[0], r2->GetZelle(0));
  EXPECT_EQ(r1->GetZelle(3)->m_AnzNachfolger, 0);
  EXPECT_EQ(sim.LinkStrasseD(nullptr, r2.get(), STRASSE_VIERSPURIG, 1, 1), 1);
}

TEST(MicroLink, OneWayStreetsTurnTheSecondTile) {
  CMicroSimulation sim;
  LayoutPtr a = Lane(0);
  LayoutPtr b = Lane(30);
  EXPECT_EQ(sim.LinkAndTurnSec(a.get(), nullptr, STRASSE_EINBAHN, 1, 2), 1);
  EXPECT_EQ(sim.LinkAndTurnSec(a.get(), b.get(), STRASSE_EINBAHN, 5, 6), 0);
  // b's first link 1 -> 2 is now 2 -> 1; b's first entry is cell 2.
  EXPECT_EQ(b->GetZelle(1)->m_pNachfolger[0], b->GetZelle(0));
  EXPECT_EQ(a->GetZelle(2)->m_pNachfolger[0], b->GetZelle(1));
  EXPECT_EQ(SimIds(*a), (std::vector<uint16_t>{0, 0, 0}));
  EXPECT_EQ(SimIds(*b), (std::vector<uint16_t>{0, 0, 0}));
  // Of several exits, none with the street's id, the one nearest b's
  // entry: e's lane towards larger x ends at x 20, the other at x 0.
  LayoutPtr e = TwoWay(0), f = Lane(60);
  f->SetScreenPos(0, 0);
  EXPECT_EQ(sim.LinkAndTurnSec(e.get(), f.get(), STRASSE_EINBAHN, 5, 6), 0);
  EXPECT_TRUE(f->Owns(e->GetZelle(1)->m_pNachfolger[0]));
  EXPECT_EQ(e->GetZelle(3)->m_AnzNachfolger, 0);
  // b on the other side: the lane towards smaller x.
  LayoutPtr g = TwoWay(0), h = Lane(-60);
  h->SetScreenPos(0, 0);
  EXPECT_EQ(sim.LinkAndTurnSec(g.get(), h.get(), STRASSE_EINBAHN, 5, 6), 0);
  EXPECT_TRUE(h->Owns(g->GetZelle(3)->m_pNachfolger[0]));
  EXPECT_EQ(g->GetZelle(1)->m_AnzNachfolger, 0);
  // An exit carrying the street's id is its lane, however far.
  LayoutPtr k = TwoWay(0), m = Lane(60);
  m->SetScreenPos(0, 0);
  k->GetZelle(3)->m_SimID = 5;
  EXPECT_EQ(sim.LinkAndTurnSec(k.get(), m.get(), STRASSE_EINBAHN, 5, 6), 0);
  EXPECT_TRUE(m->Owns(k->GetZelle(3)->m_pNachfolger[0]));
  EXPECT_EQ(k->GetZelle(1)->m_AnzNachfolger, 0);
  // Other types are joined as by Link.
  LayoutPtr c = TwoWay(0), d = TwoWay(40);
  EXPECT_EQ(sim.LinkAndTurnSec(c.get(), d.get(), STRASSE_2, 5, 6), 0);
  EXPECT_EQ(SimIds(*d), (std::vector<uint16_t>{5, 5, 6, 6}));
}


TEST_F(MicroDrawing, VehiclesAreDrawnAlongTheRenderOrder) {
  // Render order 3, 1, 2.
  LayoutPtr layout = Make({C(1, 2, 10, 10, {2}, 0, 2), C(2, 2, 30, 10, {3}, 1, 0), C(3, 2, 30, 30, {}, 2, 1)}, 3);
  layout->SetScreenPos(5, 5);
  Cell* c1 = layout->GetZelle(0);
  Park(c1, 40, 0);
  c1->m_CarX = 3.7f;
  c1->m_CarY = -2.2f;
  Park(layout->GetZelle(1), Cell::kNoPosition, 0);  // no position
  Park(layout->GetZelle(2), 10, Cell::kNoChoice);   // no choice
  EXPECT_EQ(layout->Render(&display), 0);
  EXPECT_EQ(TestCar::s_drawn, 1);
  EXPECT_EQ(TestCar::s_lastDir, 40);  // towards +x
  EXPECT_EQ(TestCar::s_lastX, 18);
  EXPECT_EQ(TestCar::s_lastY, 13);
  EXPECT_EQ(Count(0), 120 * 80);  // the cell view is off

  // A group whose flag is off draws nothing and says so with 0.
  CMicroZellenGroup group;
  group.Create(0, 0);
  group.AddZelle(layout.release(), 0, 0);
  group.SetVisible(false);
  EXPECT_EQ(group.Render(&display, 0, 0, 2), 0);
  EXPECT_EQ(TestCar::s_drawn, 1);
  group.SetVisible(true);
  EXPECT_EQ(group.Render(&display, 0, 0, 2), 0);
  EXPECT_EQ(TestCar::s_drawn, 2);
}

TEST_F(MicroDrawing, WithoutFirstRenderCellOrAlongARingTheDrawingEnds) {
  LayoutPtr none = Make({C(1, 2, 10, 10, {2}, 0, 2), C(2, 2, 30, 10, {}, 1)}, 0);
  EXPECT_EQ(none->Render(nullptr), 1);
  Park(none->GetZelle(0), 40, 0);
  none->Render(&display);
  EXPECT_EQ(TestCar::s_drawn, 0);
  // The render order runs in a ring; every cell is drawn once.
  LayoutPtr ring = Make({C(1, 2, 10, 10, {2}, 0, 2), C(2, 2, 30, 10, {1}, 1, 1)}, 1);
  Park(ring->GetZelle(0), 40, 0);
  Park(ring->GetZelle(1), 40, 0);
  ring->Render(&display);
  EXPECT_EQ(TestCar::s_drawn, 2);
}

// The vehicles the render links reach, in their order, walked the long
// way: at most one step a cell, as a ring must end.
std::vector<const TestCar*> AlongTheRenderLinks(CQnoMicroZelle& layout) {
  std::vector<const TestCar*> cars;
  int n = 0;
  for (const Cell* c = layout.GetFirstRender(); c && n < layout.GetCount(); c = c->m_pNextRender, ++n)
    if (c->m_pCar && c->m_Position != Cell::kNoPosition && c->m_Choice != Cell::kNoChoice)
      cars.push_back(static_cast<const TestCar*>(c->m_pCar));
  return cars;
}

TEST_F(MicroDrawing, EveryFrameDrawsTheCarsTheRenderLinksReachAsTheyComeAndGo) {
  // Render links 4, 2, 5, 1, 3, then back to 2: cell 3 leads into a ring
  // that the first cell is not part of, and cell 6 is never reached.
  LayoutPtr layout = Make({C(1, 2, 10, 10, {2}, 0, 3), C(2, 2, 20, 10, {3}, 1, 5), C(3, 2, 30, 10, {4}, 2, 2),
                           C(4, 2, 40, 10, {5}, 3, 2), C(5, 2, 50, 10, {6}, 4, 1), C(6, 2, 60, 10, {}, 5)},
                          4);
  layout->SetScreenPos(0, 0);
  auto frame = [&] {
    TestCar::s_drawnCars.clear();
    EXPECT_EQ(layout->Render(&display), 0);
    return TestCar::s_drawnCars;
  };
  EXPECT_TRUE(frame().empty());
  TestCar* cars[6] = {};
  for (int i = 0; i < 6; ++i) cars[i] = Park(layout->GetZelle(i), 40, 0);
  const std::vector<const TestCar*> all = AlongTheRenderLinks(*layout);
  EXPECT_EQ(all, (std::vector<const TestCar*>{cars[3], cars[1], cars[4], cars[0], cars[2], cars[1]}));
  EXPECT_EQ(frame(), all);
  // A car leaves its cell, another moves on into the empty one.
  CQnoMicroZelle::HoldVehicle(layout->GetZelle(4), nullptr);
  EXPECT_EQ(frame(), AlongTheRenderLinks(*layout));
  EXPECT_EQ(frame().size(), 5u);
  CQnoMicroZelle::HoldVehicle(layout->GetZelle(0), nullptr);
  CQnoMicroZelle::HoldVehicle(layout->GetZelle(4), cars[0]);
  EXPECT_EQ(frame(), AlongTheRenderLinks(*layout));
  EXPECT_EQ(frame().front(), cars[3]);
  EXPECT_EQ(frame()[2], cars[0]) << "drawn from its new cell, third in the order";
  // The last car of the layout goes, then one comes back.
  for (int i = 0; i < 6; ++i) CQnoMicroZelle::HoldVehicle(layout->GetZelle(i), nullptr);
  EXPECT_TRUE(frame().empty());
  CQnoMicroZelle::HoldVehicle(layout->GetZelle(2), cars[2]);
  EXPECT_EQ(frame(), (std::vector<const TestCar*>{cars[2]}));
  CQnoMicroZelle::HoldVehicle(layout->GetZelle(2), nullptr);
  for (TestCar* car : cars) delete car;
}

TEST_F(MicroDrawing, ALongLayoutDrawsItsCarsInTheRenderOrderWhicheverCellsHoldThem) {
  // 21 cells (three words of keys): the render links run through 18 of
  // them in a scrambled order, never meeting a cell twice; cells 5, 12 and
  // 20 are never reached. Cars come and go in every round.
  constexpr int kCells = 21;
  std::vector<int> order;
  for (int k = 0; k < kCells; ++k) order.push_back((k * 8) % kCells);  // 8 and 21 share no factor
  order.erase(std::remove_if(order.begin(), order.end(), [](int i) { return i == 5 || i == 12 || i == 20; }),
              order.end());
  std::vector<uint32_t> nextRender(kCells, 0);
  for (size_t k = 0; k + 1 < order.size(); ++k)
    nextRender[static_cast<size_t>(order[k])] = static_cast<uint32_t>(order[k + 1] + 1);
  std::vector<zorgen::MicroCellContent> content;
  for (int i = 0; i < kCells; ++i)
    content.push_back(C(static_cast<uint16_t>(i + 1), 2, static_cast<int16_t>(10 * i), 10,
                        i + 1 < kCells ? std::vector<uint32_t>{static_cast<uint32_t>(i + 2)} : std::vector<uint32_t>{},
                        static_cast<uint32_t>(i), nextRender[static_cast<size_t>(i)]));
  LayoutPtr layout = Make(content, static_cast<uint32_t>(order.front() + 1));
  layout->SetScreenPos(0, 0);
  TestCar* cars[kCells] = {};
  uint32_t bits = 0x2545F491u;
  for (int round = 0; round < 60; ++round) {
    for (int i = 0; i < kCells; ++i) {
      bits = bits * 1664525u + 1013904223u;
      const bool wanted = (bits >> 28) < (round % 3 == 0 ? 2u : 7u);  // sparse, then about half
      if (wanted && !cars[i]) cars[i] = Park(layout->GetZelle(i), 40, 0);
      if (!wanted && cars[i]) {
        CQnoMicroZelle::HoldVehicle(layout->GetZelle(i), nullptr);
        delete cars[i];
        cars[i] = nullptr;
      }
    }
    TestCar::s_drawnCars.clear();
    EXPECT_EQ(layout->Render(&display), 0);
    const std::vector<const TestCar*> expected = AlongTheRenderLinks(*layout);
    ASSERT_EQ(TestCar::s_drawnCars, expected) << "round " << round;
    if (cars[5] || cars[12] || cars[20]) {
      EXPECT_LT(expected.size(), static_cast<size_t>(std::count_if(cars, cars + kCells, [](TestCar* c) { return c; })));
    }
  }
  for (int i = 0; i < kCells; ++i)
    if (cars[i]) {
      CQnoMicroZelle::HoldVehicle(layout->GetZelle(i), nullptr);
      delete cars[i];
    }
}

TEST(MicroGroup, TheMapCountsAtEachCellTheLayoutsThatHoldAVehicle) {
  const int before = CIsoWelt::GetLayoutVehicles(3, 4);
  std::vector<TestCar*> cars;
  auto park = [&](CQnoMicroZelle* l, int i) { cars.push_back(Park(l->GetZelle(i))); };
  {
    CMicroZellenGroup street;
    street.Create(2, 4);
    CQnoMicroZelle* a = Owned(Lane(0));
    CQnoMicroZelle* b = Owned(Lane(0));
    // A layout that holds a vehicle before it joins counts from then on.
    park(b, 1);
    street.AddZelle(a, 3, 4);
    EXPECT_EQ(CIsoWelt::GetLayoutVehicles(3, 4), before);
    street.AddZelle(b, 3, 4);
    EXPECT_EQ(CIsoWelt::GetLayoutVehicles(3, 4), before + 1);
    // The first vehicle of a counts it in, more do not; the last one out
    // counts it out.
    park(a, 0);
    park(a, 2);
    EXPECT_EQ(CIsoWelt::GetLayoutVehicles(3, 4), before + 2);
    CQnoMicroZelle::HoldVehicle(a->GetZelle(0), nullptr);
    EXPECT_EQ(CIsoWelt::GetLayoutVehicles(3, 4), before + 2);
    CQnoMicroZelle::HoldVehicle(a->GetZelle(2), nullptr);
    EXPECT_EQ(CIsoWelt::GetLayoutVehicles(3, 4), before + 1);
    delete cars[1];
    delete cars[2];
    // Moved from one layout to the other: the count follows.
    CQnoMicroZelle::HoldVehicle(b->GetZelle(1), nullptr);
    CQnoMicroZelle::HoldVehicle(a->GetZelle(1), cars[0]);
    EXPECT_EQ(CIsoWelt::GetLayoutVehicles(3, 4), before + 1);
    // Cells outside the map count nowhere.
    CQnoMicroZelle* outside = Owned(Lane(0));
    street.AddZelle(outside, static_cast<unsigned short>(-1), 4);
    park(outside, 0);
    EXPECT_EQ(CIsoWelt::GetLayoutVehicles(3, 4), before + 1);
    EXPECT_EQ(CIsoWelt::GetLayoutVehicles(-1, 4), 0);
    // The group goes with its layouts and their vehicles.
  }
  EXPECT_EQ(CIsoWelt::GetLayoutVehicles(3, 4), before);
  {
    // A layout freed with the networks gives up its count too.
    CQnoMicroZelle::WholeNetworksGo whole;
    CMicroZellenGroup junction;
    junction.Create(3, 4);
    CQnoMicroZelle* c = Owned(Lane(0));
    junction.AddZelle(c, 3, 4);
    Park(c->GetZelle(2));
    EXPECT_EQ(CIsoWelt::GetLayoutVehicles(3, 4), before + 1);
    junction.Destroy();
    EXPECT_EQ(CIsoWelt::GetLayoutVehicles(3, 4), before);
  }
}

TEST(MicroDirection, SixtyFourSpriteDirections) {
  LayoutPtr layout = Make({C(1, 2, 50, 50), C(2, 2, 60, 50), C(3, 2, 50, 60), C(4, 2, 40, 50), C(5, 2, 50, 40),
                           C(6, 2, 60, 60)});
  layout->SetScreenPos(0, 0);
  Cell* from = layout->GetZelle(0);
  int dir = -1;
  EXPECT_FALSE(layout->CalcRichtung(dir, from));
  EXPECT_EQ(dir, 0);
  EXPECT_FALSE(layout->CalcRichtung(dir, nullptr));
  from->m_Choice = 0;  // a choice of an empty slot
  EXPECT_FALSE(layout->CalcRichtung(dir, from));
  from->m_Choice = Cell::kLinks;  // a choice past the slots
  EXPECT_FALSE(layout->CalcRichtung(dir, from));
  // Right, down, left, up, down-right, slightly up from right, down-left.
  LayoutPtr more = Make({C(1, 2, 150, 49), C(2, 2, 40, 57)});
  more->SetScreenPos(0, 0);
  const int expected[] = {40, 56, 8, 28, 52, 36, 0};
  Cell* to[] = {layout->GetZelle(1), layout->GetZelle(2), layout->GetZelle(3), layout->GetZelle(4),
                layout->GetZelle(5), more->GetZelle(0), more->GetZelle(1)};
  for (int k = 0; k < 7; ++k) {
    from->m_pNachfolger[0] = to[k];
    from->m_Choice = 0;
    EXPECT_TRUE(layout->CalcRichtung(dir, from));
    EXPECT_EQ(dir, expected[k]) << k;
  }
  from->m_pNachfolger[0] = nullptr;
  from->m_Choice = Cell::kNoChoice;
}

TEST(MicroDistance, EveryPixelStepNearOrFarHasTheLinksLength) {
  // The moves take the distance between cells from a table of the nearer
  // steps and work it out beyond: both equal the linking's distance.
  LayoutPtr layout = Make({C(1, 2, 0, 0), C(2, 2, 0, 0)});
  Cell* from = layout->GetZelle(0);
  Cell* to = layout->GetZelle(1);
  from->m_ScreenX = -200;
  from->m_ScreenY = 7;
  int mismatches = 0;
  for (int dy = -130; dy <= 130; ++dy)
    for (int dx = -130; dx <= 130; ++dx) {
      to->m_ScreenX = -200 + dx;
      to->m_ScreenY = 7 + dy;
      if (MicroCellDistance(from, to) != CMicroSimulation::CalcDistance(from, to)) ++mismatches;
    }
  EXPECT_EQ(mismatches, 0);
  to->m_ScreenX = -200 + 30;
  to->m_ScreenY = 7 - 40;
  EXPECT_DOUBLE_EQ(MicroCellDistance(from, to), 500.0);
  EXPECT_DOUBLE_EQ(MicroCellDistance(to, from), 500.0);
}

TEST(MicroDirection, EveryPixelStepNearOrFarGivesTheDirectionOfItsAngle) {
  // The layout's directions come from a table of the nearer steps and the
  // angle beyond it: both must agree with the angle everywhere, the edge of
  // the table included.
  LayoutPtr layout = Make({C(1, 2, 0, 0), C(2, 2, 0, 0)});
  layout->SetScreenPos(0, 0);
  Cell* from = layout->GetZelle(0);
  Cell* to = layout->GetZelle(1);
  from->m_pNachfolger[0] = to;
  from->m_Choice = 0;
  from->m_ScreenX = 500;
  from->m_ScreenY = -300;
  int mismatches = 0, seen[64] = {};
  for (int dy = -130; dy <= 130; ++dy)
    for (int dx = -130; dx <= 130; ++dx) {
      to->m_ScreenX = 500 + dx;
      to->m_ScreenY = -300 + dy;
      int dir = -1;
      ASSERT_TRUE(layout->CalcRichtung(dir, from));
      if (dir != MicroDirection(dx, dy)) ++mismatches;
      if (dir >= 0 && dir < 64) ++seen[dir];
    }
  EXPECT_EQ(mismatches, 0);
  // Sixteen sectors, each a multiple of four.
  for (int d = 0; d < 64; ++d) EXPECT_EQ(seen[d] > 0, d % 4 == 0) << d;
  from->m_pNachfolger[0] = nullptr;
  from->m_Choice = Cell::kNoChoice;
}

TEST_F(MicroDrawing, TheCellViewShowsCellsAndLinksByDirection) {
  host.show = true;
  // Cell 1 at (20, 40) links up to 2 at (40, 30); cell 3 at (70, 20) links
  // down to 4 at (90, 40); cell 4 holds position 1; cell 5 at (20, 65)
  // links level to 6 at (40, 65).
  LayoutPtr layout = Make({C(1, 2, 20, 40, {2}), C(2, 2, 40, 30, {}, 1), C(3, 2, 70, 20, {4}), C(4, 2, 90, 40, {}, 3),
                           C(5, 2, 20, 65, {6}), C(6, 2, 40, 65, {}, 5)});
  layout->SetScreenPos(0, 0);
  layout->GetZelle(3)->m_Position = 1;
  layout->Render(&display);
  const uint16_t red = Colour(255, 0, 20), green = Colour(0, 255, 20);
  EXPECT_EQ(At(20, 40), red);    // repainted in the colour of its upward link
  EXPECT_EQ(At(40, 30), green);  // no link of its own
  EXPECT_EQ(At(70, 20), green);  // repainted in the colour of its downward link
  EXPECT_EQ(At(90, 40), red);    // position 1
  EXPECT_EQ(At(22, 42), red);    // the square is 5 x 5
  EXPECT_EQ(At(18, 38), red);
  EXPECT_EQ(At(23, 40), 0);
  EXPECT_EQ(At(17, 40), 0);
  EXPECT_EQ(At(20, 37), 0);
  EXPECT_EQ(At(90, 43), 0);
  EXPECT_EQ(At(30, 35), red);    // the upward line
  EXPECT_EQ(At(80, 32), green);  // the downward line, 2 pixels lower
  EXPECT_EQ(At(80, 30), 0);
  EXPECT_EQ(At(30, 65), red);  // a level link counts as upward
  EXPECT_EQ(At(30, 67), 0);

  layout->RenderMicroZellenTest(display.GetRenderBuffer(), nullptr);
  layout->RenderMicroZellenTest(nullptr, layout->GetZelle(0));

  host.show = false;
  SDL_FillRect(surface, nullptr, 0);
  layout->Render(&display);
  EXPECT_EQ(Count(0), 120 * 80);
}
