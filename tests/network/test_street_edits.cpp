#include <array>
#include <vector>

#include "street_scene.h"

using streettest::Pieces;
using streettest::StreetScene;
using P = std::array<int, 4>;

struct StreetEdit : StreetScene {
  // A street linked into both junctions, registered and drawn, with the
  // junctions drawn again.
  CStrStrasse* Built(CStrJunction* a, CStrJunction* b, TStrassenType type = STRASSE_1,
                     std::vector<std::pair<int, int>> corners = {}) {
    CStrStrasse* s = Street(a, b, type, corners);
    a->LinkStreet(s);
    b->LinkStreet(s);
    EXPECT_EQ(s->InsertIntoSimWelt(), 0);
    s->InsertIntoIsoWelt();
    a->InsertIntoIsoWelt();
    b->InsertIntoIsoWelt();
    return s;
  }
  // Deletes through the street's own removal; the caller's part follows.
  int Delete(CStrStrasse* s) {
    const int r = s->DeleteStreet(net.get());
    if (r == 0) {
      Forget(s);
      s->Destroy();
      delete s;
    }
    return r;
  }
};

TEST_F(StreetEdit, DeletingAStreetOfATJunctionJoinsTheOtherTwoIntoOne) {
  CStrJunction* a = Junction(10, 10);
  CStrJunction* j = Junction(15, 10);
  CStrJunction* b = Junction(20, 10);
  CStrJunction* c = Junction(15, 15);
  CStrStrasse* aj = Built(a, j);
  CStrStrasse* jb = Built(j, b);
  CStrStrasse* jc = Built(j, c);
  Forget(aj);  // joined away
  ASSERT_EQ(Delete(jc), 0);
  EXPECT_EQ(j->GetAnzLinkedStreets(), 0);
  EXPECT_EQ(c->GetAnzLinkedStreets(), 0);
  EXPECT_EQ(c->GetSimID(), 0);
  // One street from b to a, one piece, registered and drawn over the old joint.
  EXPECT_EQ(Pieces(jb), (std::vector<P>{{20, 10, 10, 10}}));
  EXPECT_EQ(jb->GetStartJunction(), b);
  EXPECT_EQ(jb->GetEndJunction(), a);
  EXPECT_EQ(a->GetStreetByNR(0), jb);
  EXPECT_EQ(jb->GetLaenge(), 1000);
  ASSERT_NE(SimStreet(jb->GetSimID()), nullptr);
  EXPECT_EQ(SimStreet(jb->GetSimID())->StreetLength(), 1000);
  EXPECT_EQ(ObjectAt(15, 10), jb->GetWorldObj());
  EXPECT_EQ(GroundAt(15, 12), OBJ_GROUND);
}

TEST_F(StreetEdit, DeletingWithoutAListChangesNothing) {
  CStrJunction* a = Junction(10, 30);
  CStrJunction* b = Junction(20, 30);
  CStrStrasse* ab = Built(a, b);
  const short id = ab->GetSimID();
  EXPECT_EQ(ab->DeleteStreet(nullptr), 4);
  CStrJunction* c = Junction(10, 35, STRASSE_SCHIENE);
  CStrJunction* d = Junction(20, 35, STRASSE_SCHIENE);
  EXPECT_EQ(Street(c, d, STRASSE_SCHIENE)->DeleteStreet(nullptr), 5);
  EXPECT_EQ(a->GetAnzLinkedStreets(), 1);
  EXPECT_EQ(ab->GetSimID(), id);
  EXPECT_NE(SimStreet(id), nullptr);
  EXPECT_EQ(ObjectAt(15, 30), ab->GetWorldObj());
}

TEST_F(StreetEdit, ARemovalThatLeavesAnIllegalJointIsUndone) {
  CStrJunction* a = Junction(10, 50, STRASSE_2);
  CStrJunction* j = Junction(15, 50, STRASSE_VIERSPURIG);
  CStrJunction* b = Junction(25, 50, STRASSE_VIERSPURIG);
  CStrJunction* c = Junction(15, 55, STRASSE_2);
  Built(a, j, STRASSE_2);
  Built(j, b, STRASSE_VIERSPURIG);
  CStrStrasse* jc = Built(j, c, STRASSE_2);
  EXPECT_EQ(Delete(jc), 3);
  EXPECT_EQ(j->GetAnzLinkedStreets(), 3);
  EXPECT_EQ(c->GetAnzLinkedStreets(), 1);
  EXPECT_EQ(jc->GetStartJunction(), j);
  ASSERT_NE(jc->GetSimID(), 0);
  EXPECT_NE(SimStreet(jc->GetSimID()), nullptr);
  EXPECT_EQ(ObjectAt(15, 53), jc->GetWorldObj());
}

TEST_F(StreetEdit, AStraightJoinWithNothingToMergeIsStillDrawnAndRegistered) {
  CStrJunction* a = Junction(10, 70);
  CStrJunction* j = Junction(15, 70);
  CStrJunction* b = Junction(15, 75);
  // The first street ends in a one-tile piece at the joint: no step there.
  CStrStrasse* s = Built(a, j, STRASSE_1, {{15, 70}});
  CStrStrasse* o = Built(j, b);
  Forget(o);
  EXPECT_EQ(s->ConnetWith(o, j), 1);
  EXPECT_EQ(Pieces(s), (std::vector<P>{{10, 70, 15, 70}, {15, 70, 15, 75}}));
  ASSERT_NE(s->GetSimID(), 0);
  EXPECT_NE(SimStreet(s->GetSimID()), nullptr);
  for (int y = 71; y <= 74; ++y) EXPECT_EQ(ObjectAt(15, y), s->GetWorldObj()) << y;
  EXPECT_EQ(ObjectAt(12, 70), s->GetWorldObj());
}

TEST_F(StreetEdit, TrafficGuidanceStandsOnTheFirstFreeStraightTileAndTellsTheSimulation) {
  CStrJunction* a = Junction(10, 40);
  CStrJunction* b = Junction(20, 40);
  CStrStrasse* s = Built(a, b, STRASSE_2);
  s->SetVelocity(8.0);
  sim.SetStreetVelocity(s->GetSimIDSecond(), 17.0);
  ASSERT_TRUE(s->SetVLS(true, true));
  EXPECT_TRUE(s->HasVLS());
  ASSERT_EQ(host.placed.size(), 1u);
  EXPECT_EQ(host.placed[0].kind, OBJ_TRAFFIC_SIGN);
  EXPECT_EQ(host.placed[0].resId, 21018);
  EXPECT_EQ(host.placed[0].x, 12);  // 11 lies before the junction
  EXPECT_EQ(host.placed[0].y, 40);
  EXPECT_EQ(host.placed[0].direction, 0);
  EXPECT_TRUE(SimStreet(s->GetSimID())->Vls());
  EXPECT_TRUE(SimStreet(s->GetSimIDSecond())->Vls());
  EXPECT_DOUBLE_EQ(SimStreet(s->GetSimIDSecond())->Velocity(), 8.0);
  // A second sign is not made.
  EXPECT_EQ(s->CreateVLSObject(), 1);

  ASSERT_TRUE(s->SetVLS(false, true));
  EXPECT_FALSE(s->HasVLS());
  ASSERT_EQ(host.removed.size(), 1u);
  EXPECT_EQ(host.removed[0].x, 12);
  EXPECT_EQ(host.removed[0].resId, ISO_LAYER_UPPER);
  EXPECT_FALSE(SimStreet(s->GetSimID())->Vls());

  // Without a sign the guidance stays off.
  host.refuseSigns = true;
  EXPECT_FALSE(s->SetVLS(true, true));
  EXPECT_FALSE(s->HasVLS());
  EXPECT_FALSE(SimStreet(s->GetSimIDSecond())->Vls());
}

TEST_F(StreetEdit, GuidanceSignsOfFourLaneStreetsAndTheWayBackAlongY) {
  CStrJunction* a = Junction(40, 20);
  CStrJunction* b = Junction(40, 10);
  CStrStrasse* s = Built(a, b, STRASSE_1);
  ASSERT_TRUE(s->SetVLS(true, true));
  ASSERT_EQ(host.placed.size(), 1u);
  EXPECT_EQ(host.placed[0].y, 18);
  EXPECT_EQ(host.placed[0].direction, 1);
  short x = 0, y = 0;
  int d = -1;
  // A car park's display: the street has a backward id, so only the tail piece is looked at.
  EXPECT_EQ(s->FindVLSLocation(x, y, d, true), 0);
  EXPECT_EQ(y, 18);

  // On a bent two-way street the display of the way back stands on the
  // last leg, the sign of the way forward on the first.
  CStrJunction* c = Junction(10, 60);
  CStrJunction* e = Junction(20, 70);
  CStrStrasse* bent = Built(c, e, STRASSE_2, {{20, 60}});
  ASSERT_EQ(bent->FindVLSLocation(x, y, d, false), 0);
  EXPECT_EQ(y, 60);
  EXPECT_LT(x, 20);
  ASSERT_EQ(bent->FindVLSLocation(x, y, d, true), 0);
  EXPECT_EQ(x, 20);
  EXPECT_GT(y, 60);
  EXPECT_LT(y, 70);
}

TEST_F(StreetEdit, BendDirectionsFollowTheTurnOfThePieces) {
  const struct {
    std::array<int, 2> a, b;
    int r;
  } cases[] = {{{0, -1}, {1, 0}, 0},  {{-1, 0}, {0, 1}, 0},  {{0, -1}, {-1, 0}, 1}, {{1, 0}, {0, 1}, 1},
               {{1, 0}, {0, -1}, 2},  {{0, 1}, {-1, 0}, 2},  {{-1, 0}, {0, -1}, 3}, {{0, 1}, {1, 0}, 3}};
  CStrStrasse s(map, &sim);
  for (const auto& c : cases) {
    CStrStrassenTeil a, b;
    a.Create(50, 50, static_cast<short>(50 + 3 * c.a[0]), static_cast<short>(50 + 3 * c.a[1]), nullptr, false,
             STRASSE_1);
    b.Create(a.GetEndX(), a.GetEndY(), static_cast<short>(a.GetEndX() + 3 * c.b[0]),
             static_cast<short>(a.GetEndY() + 3 * c.b[1]), nullptr, false, STRASSE_1);
    CIsoRichtung r(9);
    EXPECT_EQ(s.GetKurvenRichtung(&r, &a, &b), 0);
    EXPECT_EQ(r.GetValue(), c.r) << c.a[0] << c.a[1] << c.b[0] << c.b[1];
  }
  CStrStrassenTeil a, b;
  a.Create(50, 50, 53, 50, nullptr, false, STRASSE_1);
  b.Create(53, 50, 56, 50, nullptr, false, STRASSE_1);
  CIsoRichtung r(9);
  EXPECT_EQ(s.GetKurvenRichtung(&r, &a, &b), 1);
  EXPECT_EQ(r.GetValue(), 9);
  s.Destroy();
}

TEST_F(StreetEdit, ChangingTheTypeRecomputesTheJunctionTypes) {
  CStrJunction* a = Junction(10, 80);
  CStrJunction* b = Junction(20, 80);
  CStrStrasse* s = Built(a, b, STRASSE_2);
  EXPECT_EQ(a->GetType(), STRASSE_2);
  EXPECT_EQ(s->SetType(STRASSE_1), 0);
  EXPECT_EQ(s->GetStreetType(), STRASSE_1);
  EXPECT_EQ(a->GetType(), STRASSE_1);
  EXPECT_EQ(b->GetType(), STRASSE_1);
  // The dead ends take the end piece of the new type.
  EXPECT_EQ(map->GetIsoInfo(20, 80)->GetResID(ISO_LAYER_GROUND), streettest::kEnd);
  EXPECT_EQ(s->SetType(STRASSE_2), 0);
  EXPECT_EQ(map->GetIsoInfo(20, 80)->GetResID(ISO_LAYER_GROUND), streettest::kEnd2);
  EXPECT_EQ(map->GetIsoInfo(10, 80)->GetResID(ISO_LAYER_GROUND), streettest::kEnd2);
}

TEST_F(StreetEdit, StopsOnAndBesideTheStreet) {
  CStrJunction* a = Junction(10, 90);
  CStrJunction* b = Junction(20, 90);
  CStrStrasse* s = Built(a, b);
  CWorldObj stop;
  stop.Create();
  stop.SetType(OBJ_BUSSTOP_SIGN);
  map->SetIsoTileAt(14, 90, ISO_LAYER_UPPER, CIsoRichtung(0), isotest::kFlower, &stop);
  EXPECT_TRUE(s->PointIsHst(14, 90));
  EXPECT_FALSE(s->PointIsHst(13, 90));
  EXPECT_TRUE(s->PointIsBeforeHst(13, 90));
  EXPECT_TRUE(s->PointIsBeforeHst(15, 90));
  EXPECT_FALSE(s->PointIsBeforeHst(16, 90));
  EXPECT_FALSE(s->PointIsSpaceForRailCrossing(14, 90));
  EXPECT_TRUE(s->PointIsSpaceForRailCrossing(16, 90));
  EXPECT_FALSE(s->PointIsSpaceForRailCrossing(11, 90));  // before the junction

  CStrJunction* c = Junction(30, 80);
  CStrJunction* d = Junction(30, 90);
  CStrStrasse* t = Built(c, d);
  map->SetIsoTileAt(30, 85, ISO_LAYER_UPPER, CIsoRichtung(0), isotest::kFlower, &stop);
  EXPECT_TRUE(t->PointIsBeforeHst(30, 84));
  EXPECT_TRUE(t->PointIsBeforeHst(30, 86));
  EXPECT_FALSE(t->PointIsBeforeHst(30, 83));
  map->SetStdBase(14, 90, ISO_LAYER_UPPER, false);
  map->SetStdBase(30, 85, ISO_LAYER_UPPER, false);
}

TEST_F(StreetEdit, TilesBeforeAJunctionKnowWhetherItIsADeadEnd) {
  CStrJunction* a = Junction(10, 100);
  CStrJunction* j = Junction(20, 100);
  CStrJunction* b = Junction(25, 100);
  CStrStrasse* s = Built(a, j);
  Built(j, b);
  bool deadEnd = false;
  EXPECT_TRUE(s->PointBeforJunction(11, 100, deadEnd));
  EXPECT_TRUE(deadEnd);
  EXPECT_TRUE(s->PointBeforJunction(19, 100, deadEnd));
  EXPECT_FALSE(deadEnd);
  EXPECT_FALSE(s->PointBeforJunction(15, 100, deadEnd));
  EXPECT_FALSE(s->PointBeforJunction(22, 100, deadEnd));  // another street's tile
}

TEST_F(StreetEdit, EveryDrawnTileOfAStreetGetsItsCells) {
  CStrJunction* a = Junction(10, 110);
  CStrJunction* b = Junction(14, 106);
  CStrStrasse* s = Built(a, b, STRASSE_1, {{14, 110}});
  ASSERT_NE(s->GetMicroZellenGroup(), nullptr);
  for (int x = 11; x <= 14; ++x) EXPECT_NE(s->GetMicroZellen(static_cast<unsigned short>(x), 110), nullptr) << x;
  for (int y = 107; y <= 109; ++y) EXPECT_NE(s->GetMicroZellen(14, static_cast<unsigned short>(y)), nullptr) << y;
  EXPECT_EQ(s->GetMicroZellen(10, 110), nullptr);
  EXPECT_EQ(s->GetMicroZellen(14, 106), nullptr);
  EXPECT_EQ(s->GetFirstMicroZelle(), s->GetMicroZellen(11, 110));
  EXPECT_EQ(s->GetLastMicroZelle(), s->GetMicroZellen(14, 107));
  EXPECT_EQ(s->GetWorldObj()->GetMicroZelle(12, 110), s->GetMicroZellen(12, 110));
  EXPECT_EQ(s->UpdateScreenPos(5, 5, 12, 110), 0);
  EXPECT_EQ(s->RemoveMicroSimAt(12, 110), 0);
  EXPECT_EQ(s->GetMicroZellen(12, 110), nullptr);
  EXPECT_EQ(s->RemoveMicroSimAt(12, 110), 1);
  s->RemoveMicroSim();
  EXPECT_EQ(s->GetMicroZellenGroup(), nullptr);
  EXPECT_EQ(s->UpdateScreenPos(5, 5, 12, 110), 1);
  // A street drawn while a savegame is read gets no cells.
  CStrStrasse::m_InLoadFile = 1;
  s->InsertIntoIsoWelt();
  CStrStrasse::m_InLoadFile = 0;
  EXPECT_EQ(s->GetMicroZellenGroup(), nullptr);
}

TEST_F(StreetEdit, ADeletionThatWouldLeaveALoneLoopIsRefusedAndChangesNothing) {
  CStrJunction* a = Junction(10, 120);
  CStrJunction* b = Junction(20, 120);
  // Without the wider street the other two would join at a into a street
  // from b back to b with nothing else at b: its junction would have no
  // graphic and no cells.
  CStrStrasse* x = Built(a, b, STRASSE_2, {{10, 115}, {20, 115}});
  CStrStrasse* straight = Built(a, b);
  CStrStrasse* detour = Built(a, b, STRASSE_1, {{10, 125}, {20, 125}});
  Forget(straight);  // joined into the detour
  EXPECT_EQ(Delete(x), 3);
  EXPECT_EQ(a->GetAnzLinkedStreets(), 3);
  EXPECT_EQ(b->GetAnzLinkedStreets(), 3);
  EXPECT_EQ(x->GetStartJunction(), a);
  EXPECT_EQ(detour->GetEndJunction(), b);
  EXPECT_EQ(ObjectAt(15, 115), x->GetWorldObj());
  EXPECT_EQ(ObjectAt(15, 125), detour->GetWorldObj());
  EXPECT_NE(SimStreet(x->GetSimID()), nullptr);
}
