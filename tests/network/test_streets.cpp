#include <array>
#include <string>
#include <vector>

#include "street_scene.h"
#include "support/test_support.h"

using streettest::Pieces;
using streettest::StreetScene;
using P = std::array<int, 4>;

TEST_F(StreetScene, CreatingAStreetChecksItsJunctionsAndMeasuresItsLength) {
  CStrJunction* a = Junction(10, 10);
  CStrJunction* b = Junction(15, 10);
  CStrStrasse* s = Street(a, b, STRASSE_2);
  EXPECT_EQ(s->GetStreetType(), STRASSE_2);
  EXPECT_EQ(Pieces(s), (std::vector<P>{{10, 10, 15, 10}}));
  EXPECT_EQ(s->GetLaenge(), 500);  // (6 - 2) x 100 + 100
  ASSERT_NE(s->GetWorldObj(), nullptr);
  EXPECT_EQ(s->GetWorldObj()->GetStreetList(), s);
  EXPECT_EQ(s->GetStartJunction(), a);
  EXPECT_EQ(s->GetEndJunction(), b);
  // The junctions are not told.
  EXPECT_EQ(a->GetAnzLinkedStreets(), 0);

  // A street with junctions already set refuses to be made again.
  EXPECT_EQ(s->Create(b, a, STRASSE_1), 1);
  EXPECT_EQ(s->GetStreetType(), STRASSE_2);
  EXPECT_EQ(Pieces(s), (std::vector<P>{{10, 10, 15, 10}}));
  CStrStrasse empty(map, &sim);
  EXPECT_EQ(empty.Create(a, nullptr, STRASSE_1), 1);
  EXPECT_EQ(empty.GetNumber(), 0u);
  EXPECT_NE(zortest::ReadFile("errors.log").find("Parameter Check Error: pEndJ == NULL"), std::string::npos);
  EXPECT_NE(zortest::ReadFile("errors.log").find("Parameter Check Error: m_pStartJunction != NULL"), std::string::npos);
  empty.Destroy();
}

TEST_F(StreetScene, SimDirectionsAndStepsAtEachEnd) {
  CStrJunction* c = Junction(20, 20);
  struct Case {
    int x, y, atStart, atEnd;
  } cases[] = {{25, 20, 3, 0}, {15, 20, 0, 3}, {20, 25, 2, 1}, {20, 15, 1, 2}};
  for (const Case& k : cases) {
    CStrJunction* o = Junction(k.x, k.y);
    CStrStrasse* s = Street(c, o);
    EXPECT_EQ(s->CalcSimDirection(true), k.atStart) << k.x << "/" << k.y;
    EXPECT_EQ(s->CalcSimDirection(false), k.atEnd) << k.x << "/" << k.y;
    short dx = 0, dy = 0;
    EXPECT_EQ(s->CalcMAtPos(o, &dx, &dy), 0);
    EXPECT_EQ(dx, k.x == 20 ? 0 : (k.x > 20 ? -1 : 1));
    EXPECT_EQ(dy, k.y == 20 ? 0 : (k.y > 20 ? -1 : 1));
    // At its start the street leaves the other way.
    EXPECT_EQ(s->CalcMAtPos(c, &dx, &dy), 0);
    EXPECT_EQ(dx, k.x == 20 ? 0 : (k.x > 20 ? 1 : -1));
    EXPECT_EQ(dy, k.y == 20 ? 0 : (k.y > 20 ? 1 : -1));
  }
  CStrStrasse* s = streets.front();
  CStrJunction* stranger = Junction(50, 50);
  short dx = 5, dy = 5;
  EXPECT_EQ(s->CalcMAtPos(stranger, &dx, &dy), 1);
  EXPECT_EQ(dx, 0);
  EXPECT_EQ(dy, 0);
  EXPECT_NE(zortest::ReadFile("errors.log").find(" nicht an Junction at (50/50) gelinked"), std::string::npos);
}

TEST_F(StreetScene, DirectionsAndHitsAlongAStreetWithABend) {
  CStrJunction* a = Junction(10, 10);
  CStrJunction* b = Junction(14, 6);
  CStrStrasse* s = Street(a, b, STRASSE_1, {{14, 10}});
  EXPECT_EQ(s->GetLaenge(), 3 * 100 + 3 * 100 + 100);
  signed char dx = 0, dy = 0;
  s->GetStreetDirectionAt(12, 10, dx, dy);
  EXPECT_EQ(dx, 1);
  EXPECT_EQ(dy, 0);
  s->GetStreetDirectionAt(14, 8, dx, dy);
  EXPECT_EQ(dx, 0);
  EXPECT_EQ(dy, -1);
  s->GetStreetDirectionAt(14, 10, dx, dy);  // the bend
  EXPECT_EQ(dx, 0);
  EXPECT_EQ(dy, 0);
  s->GetStreetDirectionAt(30, 30, dx, dy);
  EXPECT_EQ(dx, 0);

  unsigned char found = 0;
  int first = -1;
  bool bend = false;
  EXPECT_EQ(s->GetRichtung(12, 10, found, first, bend), 0);
  EXPECT_EQ(found, 1);
  EXPECT_FALSE(bend);
  EXPECT_EQ(s->GetRichtung(14, 8, found, first, bend), 1);
  EXPECT_EQ(s->GetRichtung(14, 10, found, first, bend), 1);
  EXPECT_TRUE(bend);
  EXPECT_EQ(first, 0);
  s->GetRichtung(40, 40, found, first, bend);
  EXPECT_EQ(found, 0);
  s->GetRichtung(-1, 5, found, first, bend);
  EXPECT_EQ(found, 0);

  EXPECT_TRUE(s->PointHit(14, 7));
  EXPECT_FALSE(s->PointHit(13, 7));
  EXPECT_EQ(s->FindStrassenTeilAt(14, 10), s->GetStrassenTeil(1));
  EXPECT_EQ(s->FindStrassenTeilAt(14, 9), s->GetStrassenTeil(2));
  EXPECT_TRUE(s->PointIsBend(14, 10));
  EXPECT_FALSE(s->PointIsBend(14, 9));
  EXPECT_TRUE(s->PointIsBeforBend(13, 10));
  EXPECT_TRUE(s->PointIsBeforBend(14, 9));
  EXPECT_FALSE(s->PointIsBeforBend(12, 10));
  CIsoRichtung r;
  EXPECT_EQ(s->GetKurvenRichtung(&r, s->GetStrassenTeil(1), s->GetStrassenTeil(2)), 0);
  EXPECT_EQ(r.GetValue(), 2);

  short x = 0, y = 0;
  CStrStrassenTeil* t = nullptr;
  CStrJunction* atBend = Junction(14, 10);
  ASSERT_TRUE(s->JunctionHitStreet(atBend, &t, x, y));
  EXPECT_EQ(t, s->GetStrassenTeil(1));
  CStrJunction* inside = Junction(12, 10);
  ASSERT_TRUE(s->JunctionHitStreet(inside, &t, x, y));
  EXPECT_EQ(x, 12);
  EXPECT_FALSE(s->JunctionHitStreet(a, &t, x, y));
}

TEST_F(StreetScene, FourLaneStreetsHitOnBothLanes) {
  CStrJunction* a = Junction(10, 30, STRASSE_VIERSPURIG);
  CStrJunction* b = Junction(20, 30, STRASSE_VIERSPURIG);
  CStrStrasse* s = Street(a, b, STRASSE_VIERSPURIG);
  EXPECT_TRUE(s->PointHit(15, 30));
  EXPECT_TRUE(s->PointHit(15, 31));
  EXPECT_FALSE(s->PointHit(15, 29));
  unsigned char found = 0;
  int first = 0;
  bool bend = false;
  EXPECT_EQ(s->GetRichtung(15, 31, found, first, bend), 0);
  EXPECT_EQ(found, 1);
  CStrJunction* c = Junction(5, 40);
  CStrJunction* d = Junction(15, 40);
  CStrStrasse* narrow = Street(c, d);
  EXPECT_FALSE(narrow->PointHit(10, 41));
}

TEST_F(StreetScene, StreetsCrossingEachOtherAreFoundOneAfterAnother) {
  CStrJunction* a = Junction(10, 50);
  CStrJunction* b = Junction(30, 50);
  CStrStrasse* s = Street(a, b);
  // A meander that crosses s twice.
  CStrJunction* c = Junction(15, 45);
  CStrJunction* d = Junction(25, 45);
  CStrStrasse* m = Street(c, d, STRASSE_1, {{15, 55}, {20, 55}, {20, 45}});
  CStrStrasse* hit = nullptr;
  CStrStrassenTeil* piece = nullptr;
  short x = 0, y = 0;
  ASSERT_TRUE(m->StrHitStr(s, &hit, &piece, x, y, 0));
  EXPECT_EQ(hit, m);
  EXPECT_EQ(piece, m->GetStrassenTeil(1));
  EXPECT_EQ(x, 15);
  EXPECT_EQ(y, 50);
  ASSERT_TRUE(m->StrHitStr(s, &hit, &piece, x, y, 1));
  EXPECT_EQ(piece, m->GetStrassenTeil(3));
  EXPECT_EQ(x, 20);
  EXPECT_FALSE(m->StrHitStr(s, &hit, &piece, x, y, 2));
}

TEST_F(StreetScene, PiecesAreWalkedForwardForTheForwardIdAndBackwardForTheOther) {
  CStrJunction* a = Junction(10, 10);
  CStrJunction* b = Junction(14, 6);
  CStrStrasse* s = Street(a, b, STRASSE_1, {{14, 10}});
  ASSERT_EQ(s->InsertIntoSimWelt(), 0);
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  s->SetupStrassenTeilCount(s->GetSimID());
  EXPECT_EQ(s->GetNextStrassenTeil(&x1, &y1, &x2, &y2, s->GetSimID()), s->GetStrassenTeil(1));
  EXPECT_EQ(x1, 10);
  EXPECT_EQ(x2, 14);
  EXPECT_EQ(s->GetNextStrassenTeil(&x1, &y1, &x2, &y2, s->GetSimID()), s->GetStrassenTeil(2));
  EXPECT_EQ(s->GetNextStrassenTeil(&x1, &y1, &x2, &y2, s->GetSimID()), nullptr);
  s->SetupStrassenTeilCount(s->GetSimIDSecond());
  EXPECT_EQ(s->GetNextStrassenTeil(&x1, &y1, &x2, &y2, s->GetSimIDSecond()), s->GetStrassenTeil(2));
  EXPECT_EQ(y1, 6);  // start and end exchanged
  EXPECT_EQ(y2, 10);
  EXPECT_EQ(s->GetNextStrassenTeil(nullptr, nullptr, nullptr, nullptr, s->GetSimIDSecond()), s->GetStrassenTeil(1));
  EXPECT_EQ(s->GetNextStrassenTeil(&x1, &y1, &x2, &y2, s->GetSimIDSecond()), nullptr);
}

TEST_F(StreetScene, DrawingPlacesTheStreetBetweenItsJunctionsAndRemovalRestoresTheGround) {
  CStrJunction* a = Junction(10, 10);
  CStrJunction* b = Junction(14, 6);
  CStrStrasse* s = Street(a, b, STRASSE_1, {{14, 10}});
  a->LinkStreet(s);
  b->LinkStreet(s);
  ASSERT_EQ(s->InsertIntoIsoWelt(), 0);
  a->InsertIntoIsoWelt();
  b->InsertIntoIsoWelt();
  for (int x = 11; x <= 14; ++x) EXPECT_EQ(ObjectAt(x, 10), s->GetWorldObj()) << x;
  for (int y = 7; y <= 9; ++y) EXPECT_EQ(ObjectAt(14, y), s->GetWorldObj()) << y;
  EXPECT_EQ(GroundAt(12, 10), OBJ_STREET_PIECE);
  EXPECT_NE(ObjectAt(14, 6), s->GetWorldObj());
  EXPECT_NE(ObjectAt(15, 10), s->GetWorldObj());
  // The bend tile carries the bend graphic, the others the straight one.
  EXPECT_EQ(map->GetIsoInfo(14, 10)->GetResID(ISO_LAYER_GROUND), streettest::kCurve);
  EXPECT_EQ(map->GetIsoInfo(12, 10)->GetResID(ISO_LAYER_GROUND), streettest::kStraight);
  int length = 0;
  EXPECT_EQ(s->CalculateLengthFromJunctionToXYIso(a, s->GetSimID(), 13, 10, &length), 0);
  EXPECT_EQ(length, 300);
  EXPECT_EQ(s->CalculateLengthFromJunctionToXYIso(a, s->GetSimID(), 14, 8, &length), 0);
  EXPECT_EQ(length, 300 + 200);
  EXPECT_EQ(s->CalculateLengthFromJunctionToXYIso(a, s->GetSimID(), 20, 20, &length), 1);

  s->RemoveFromIsoWelt(false);
  for (int x = 11; x <= 14; ++x) {
    EXPECT_EQ(GroundAt(x, 10), OBJ_GROUND) << x;
    EXPECT_EQ(map->GetIsoInfo(x, 10)->GetResID(ISO_LAYER_GROUND), isotest::kGround) << x;
  }
  for (int y = 7; y <= 9; ++y) EXPECT_EQ(GroundAt(14, y), OBJ_GROUND) << y;
  EXPECT_EQ(GroundAt(10, 10), OBJ_CROSSING);
}

TEST_F(StreetScene, RegistrationGivesTwoIdsExceptForAOneWayStreet) {
  CStrJunction* a = Junction(10, 10);
  CStrJunction* b = Junction(15, 10);
  CStrStrasse* s = Street(a, b, STRASSE_2);
  ASSERT_EQ(s->InsertIntoSimWelt(), 0);
  ASSERT_NE(s->GetSimID(), 0);
  ASSERT_NE(s->GetSimIDSecond(), 0);
  CSimStreet* fwd = SimStreet(s->GetSimID());
  ASSERT_NE(fwd, nullptr);
  EXPECT_EQ(fwd->Capacity(), 1200);
  EXPECT_EQ(SimStreet(s->GetSimIDSecond())->Capacity(), 1200);
  short from = 0, to = 0;
  ASSERT_TRUE(sim.GetCrossingsOfStreet(s->GetSimID(), &from, &to));
  EXPECT_EQ(from, a->GetSimID());
  EXPECT_EQ(to, b->GetSimID());
  ASSERT_TRUE(sim.GetCrossingsOfStreet(s->GetSimIDSecond(), &from, &to));
  EXPECT_EQ(from, b->GetSimID());
  EXPECT_EQ(to, a->GetSimID());
  EXPECT_EQ(fwd->StreetLength(), 500);

  s->SetCapacity(900);
  EXPECT_EQ(SimStreet(s->GetSimIDSecond())->Capacity(), 900);
  s->SetVelocity(8.0);
  EXPECT_DOUBLE_EQ(SimStreet(s->GetSimID())->Velocity(), 8.0);
  EXPECT_DOUBLE_EQ(SimStreet(s->GetSimIDSecond())->Velocity(), 8.0);

  const short fwdId = s->GetSimID(), bwdId = s->GetSimIDSecond();
  EXPECT_EQ(s->RemoveFromSimWelt(), 0);
  EXPECT_EQ(s->GetSimID(), 0);
  EXPECT_EQ(SimStreet(fwdId), nullptr);
  EXPECT_EQ(SimStreet(bwdId), nullptr);
  EXPECT_EQ(s->RemoveFromSimWelt(), 1);

  CStrJunction* c = Junction(10, 20);
  CStrJunction* d = Junction(15, 20);
  CStrStrasse* oneWay = Street(c, d, STRASSE_EINBAHN);
  ASSERT_EQ(oneWay->InsertIntoSimWelt(), 0);
  EXPECT_NE(oneWay->GetSimID(), 0);
  EXPECT_EQ(oneWay->GetSimIDSecond(), 0);
  EXPECT_EQ(SimStreet(oneWay->GetSimID())->Capacity(), 1800);
  oneWay->SetVelocity(17.0);
  EXPECT_DOUBLE_EQ(SimStreet(oneWay->GetSimID())->Velocity(), 17.0);
  EXPECT_EQ(oneWay->RemoveFromSimWelt(), 0);
}

TEST_F(StreetScene, ARefusedForwardDirectionRegistersNothing) {
  CStrJunction* a = Junction(10, 10);
  CStrJunction* b = Junction(15, 10);
  CStrStrasse* s = Street(a, b);
  sim.refuseFrom = static_cast<short>(a->GetSimID());
  EXPECT_EQ(s->InsertIntoSimWelt(), 1);
  EXPECT_EQ(s->GetSimID(), 0);
  EXPECT_EQ(s->GetSimIDSecond(), 0);
  // The backward direction was not even asked for, and nothing is registered.
  EXPECT_EQ(sim.addCalls, 1);
  for (short id = 1; id < 5; ++id) EXPECT_EQ(SimStreet(id), nullptr) << id;

  // A refused backward direction takes the forward one back out.
  sim.refuseFrom = static_cast<short>(b->GetSimID());
  EXPECT_EQ(s->InsertIntoSimWelt(), 1);
  EXPECT_EQ(sim.addCalls, 3);
  EXPECT_EQ(s->GetSimID(), 0);
  for (short id = 1; id < 5; ++id) EXPECT_EQ(SimStreet(id), nullptr) << id;
  EXPECT_NE(zortest::ReadFile("errors.log").find("Can't add street 10/10 -> 15/10 into SimWelt"), std::string::npos);
}

TEST_F(StreetScene, SplittingGivesTwoUnlinkedStreetsAndLeavesTheOriginal) {
  CStrJunction* a = Junction(10, 10);
  CStrJunction* b = Junction(14, 6);
  CStrStrasse* s = Street(a, b, STRASSE_2, {{14, 10}});
  CStrStrasse* first = nullptr;
  CStrStrasse* second = nullptr;
  EXPECT_EQ(s->SplitAt(s->GetStrassenTeil(1), 12, 10, &first, &second), 1);
  streets.push_back(first);
  streets.push_back(second);
  EXPECT_EQ(Pieces(first), (std::vector<P>{{10, 10, 12, 10}}));
  EXPECT_EQ(Pieces(second), (std::vector<P>{{12, 10, 14, 10}, {14, 10, 14, 6}}));
  EXPECT_EQ(first->GetStreetType(), STRASSE_2);
  EXPECT_EQ(first->GetStartJunction(), nullptr);
  EXPECT_EQ(second->GetEndJunction(), nullptr);
  EXPECT_EQ(Pieces(s), (std::vector<P>{{10, 10, 14, 10}, {14, 10, 14, 6}}));

  // At a bend the second street takes no new piece.
  CStrStrasse* f2 = nullptr;
  CStrStrasse* s2 = nullptr;
  s->SplitAt(s->GetStrassenTeil(1), 14, 10, &f2, &s2);
  streets.push_back(f2);
  streets.push_back(s2);
  EXPECT_EQ(Pieces(f2), (std::vector<P>{{10, 10, 14, 10}}));
  EXPECT_EQ(Pieces(s2), (std::vector<P>{{14, 10, 14, 6}}));

  // Split at the start of a piece after a bend: the one-tile piece is folded away.
  CStrStrasse* f3 = nullptr;
  CStrStrasse* s3 = nullptr;
  s->SplitAt(s->GetStrassenTeil(2), 14, 8, &f3, &s3);
  streets.push_back(f3);
  streets.push_back(s3);
  EXPECT_EQ(Pieces(f3), (std::vector<P>{{10, 10, 14, 10}, {14, 10, 14, 8}}));
  EXPECT_EQ(Pieces(s3), (std::vector<P>{{14, 8, 14, 6}}));
  EXPECT_EQ(f3->GetLaenge(), 300 + 100 + 100);

  // Split where the piece after the bend starts: the first street's one-tile
  // piece is folded into the piece before it.
  CStrStrasse* f4 = nullptr;
  CStrStrasse* s4 = nullptr;
  s->SplitAt(s->GetStrassenTeil(2), 14, 10, &f4, &s4);
  streets.push_back(f4);
  streets.push_back(s4);
  EXPECT_EQ(Pieces(f4), (std::vector<P>{{10, 10, 14, 10}}));
  EXPECT_EQ(Pieces(s4), (std::vector<P>{{14, 10, 14, 6}}));
}

TEST_F(StreetScene, OptimizeMergesCollinearPiecesAndFoldsSingleTiles) {
  CStrJunction* a = Junction(10, 10);
  CStrJunction* b = Junction(20, 10);
  CStrStrasse* s = Street(a, b, STRASSE_1, {{13, 10}, {13, 10}, {16, 10}});
  // The one-tile piece is folded away, then one straight pair merges and the walk stops.
  EXPECT_EQ(s->Optimize(), 0);
  EXPECT_EQ(Pieces(s), (std::vector<P>{{10, 10, 16, 10}, {16, 10, 20, 10}}));
  EXPECT_EQ(s->Optimize(), 0);
  EXPECT_EQ(Pieces(s), (std::vector<P>{{10, 10, 20, 10}}));
  EXPECT_EQ(s->Optimize(), 1);

  // A bridge on the merged piece stays with it.
  for (int x = 43; x <= 44; ++x) River(x, 20);
  CStrJunction* e = Junction(40, 20);
  CStrJunction* f = Junction(50, 20);
  CStrStrasse* bridged = Street(e, f, STRASSE_1, {{42, 20}});
  EXPECT_EQ(bridged->Optimize(), 0);
  ASSERT_EQ(Pieces(bridged), (std::vector<P>{{40, 20, 50, 20}}));
  ASSERT_NE(bridged->GetStrassenTeil(1)->GetExtraTeilList(), nullptr);
  EXPECT_TRUE(bridged->GetStrassenTeil(1)->HasExtraTeilAt(44, 20));

  CStrJunction* c = Junction(30, 10);
  CStrJunction* d = Junction(34, 14);
  CStrStrasse* bent = Street(c, d, STRASSE_1, {{34, 10}, {34, 10}});
  EXPECT_EQ(bent->Optimize(), 1);  // the one-tile piece goes; no straight pair
  EXPECT_EQ(Pieces(bent), (std::vector<P>{{30, 10, 34, 10}, {34, 10, 34, 14}}));
}

TEST_F(StreetScene, JoiningStreetsStraightOnMakesOnePieceAndKeepsTheStreetDrawn) {
  CStrJunction* a = Junction(10, 10);
  CStrJunction* j = Junction(15, 10);
  CStrJunction* b = Junction(20, 10);
  CStrStrasse* s = Street(a, j);
  CStrStrasse* o = Street(j, b);
  for (CStrStrasse* x : {s, o}) {
    x->GetStartJunction()->LinkStreet(x);
    x->GetEndJunction()->LinkStreet(x);
    ASSERT_EQ(x->InsertIntoSimWelt(), 0);
    x->InsertIntoIsoWelt();
  }
  const short oldId = o->GetSimID();
  Forget(o);
  EXPECT_EQ(s->ConnetWith(o, j), 0);
  EXPECT_EQ(Pieces(s), (std::vector<P>{{10, 10, 20, 10}}));
  EXPECT_EQ(s->GetEndJunction(), b);
  EXPECT_EQ(j->GetAnzLinkedStreets(), 0);
  EXPECT_EQ(b->GetAnzLinkedStreets(), 1);
  EXPECT_EQ(b->GetStreetByNR(0), s);
  EXPECT_EQ(s->GetLaenge(), 1000);
  ASSERT_NE(SimStreet(s->GetSimID()), nullptr);
  EXPECT_EQ(SimStreet(oldId == s->GetSimID() ? -1 : oldId), nullptr);
  for (int x = 11; x <= 19; ++x) EXPECT_EQ(ObjectAt(x, 10), s->GetWorldObj()) << x;
}

TEST_F(StreetScene, JoiningAtABendKeepsBothPiecesAndTheStreetStartingThereIsTurned) {
  CStrJunction* a = Junction(10, 10);
  CStrJunction* j = Junction(15, 10);
  CStrJunction* b = Junction(15, 15);
  // This street starts at the joint; the other ends there.
  CStrStrasse* s = Street(j, a);
  CStrStrasse* o = Street(b, j);
  for (CStrStrasse* x : {s, o}) {
    x->GetStartJunction()->LinkStreet(x);
    x->GetEndJunction()->LinkStreet(x);
    ASSERT_EQ(x->InsertIntoSimWelt(), 0);
  }
  Forget(o);
  EXPECT_EQ(s->ConnetWith(o, j), 0);
  EXPECT_EQ(Pieces(s), (std::vector<P>{{10, 10, 15, 10}, {15, 10, 15, 15}}));
  EXPECT_EQ(s->GetStartJunction(), a);
  EXPECT_EQ(s->GetEndJunction(), b);
  EXPECT_EQ(s->GetLaenge(), 400 + 400 + 100);
  EXPECT_EQ(ObjectAt(15, 10), s->GetWorldObj());
  EXPECT_EQ(ObjectAt(15, 12), s->GetWorldObj());
}

TEST_F(StreetScene, LinkingThroughABendJunctionTakesTheLargerTypeUnlessFourLane) {
  CStrJunction* a = Junction(10, 10);
  CStrJunction* j = Junction(15, 10);
  CStrJunction* b = Junction(15, 15);
  CStrStrasse* u = Street(a, j, STRASSE_1);
  CStrStrasse* w = Street(j, b, STRASSE_2);
  for (CStrStrasse* x : {u, w}) {
    x->GetStartJunction()->LinkStreet(x);
    x->GetEndJunction()->LinkStreet(x);
    ASSERT_EQ(x->InsertIntoSimWelt(), 0);
  }
  EXPECT_EQ(u->LinkStreet(nullptr, j), 1);
  EXPECT_EQ(u->LinkStreet(w, nullptr), 1);
  for (const char* missing : {"pLinkStreet==NULL", "pKurveJunc==NULL"})
    EXPECT_NE(zortest::ReadFile("errors.log").find(std::string("Parameter Check Error: ") + missing), std::string::npos)
        << missing;
  // Both streets are turned to run through the bend: u starting there, w ending there.
  u->Turn();
  w->Turn();
  Forget(w);
  EXPECT_EQ(u->LinkStreet(w, j), 0);
  EXPECT_EQ(u->GetStreetType(), STRASSE_2);
  EXPECT_EQ(Pieces(u), (std::vector<P>{{10, 10, 15, 10}, {15, 10, 15, 15}}));
  EXPECT_EQ(u->GetEndJunction(), b);
  EXPECT_EQ(j->GetAnzLinkedStreets(), 0);
  EXPECT_EQ(SimStreet(u->GetSimID())->Capacity(), 1200);

  CStrJunction* c = Junction(40, 10);
  CStrJunction* k = Junction(45, 10, STRASSE_VIERSPURIG);
  CStrJunction* d = Junction(45, 15, STRASSE_VIERSPURIG);
  CStrStrasse* narrow = Street(c, k, STRASSE_2);
  CStrStrasse* wide = Street(k, d, STRASSE_VIERSPURIG);
  EXPECT_EQ(narrow->LinkStreet(wide, k), 1);
  EXPECT_EQ(narrow->GetStreetType(), STRASSE_2);
  EXPECT_EQ(Pieces(narrow).size(), 1u);
}

TEST_F(StreetScene, TurningReversesPiecesAndJunctions) {
  CStrJunction* a = Junction(10, 10);
  CStrJunction* b = Junction(14, 6);
  CStrStrasse* s = Street(a, b, STRASSE_1, {{14, 10}});
  s->Turn();
  EXPECT_EQ(Pieces(s), (std::vector<P>{{14, 6, 14, 10}, {14, 10, 10, 10}}));
  EXPECT_EQ(s->GetStartJunction(), b);
  EXPECT_EQ(s->GetEndJunction(), a);
  EXPECT_EQ(s->GetStartPosY(), 6);
  EXPECT_EQ(s->GetEndPosX(), 10);
  short x = 0, y = 0;
  s->GetFirstIsoPos(&x, &y);
  EXPECT_EQ(x, 14);
  EXPECT_EQ(y, 7);
  s->GetLastIsoPos(&x, &y);
  EXPECT_EQ(x, 11);
  EXPECT_EQ(y, 10);
}

TEST_F(StreetScene, SetEndJunctionMovesTheTailAndLinks) {
  CStrJunction* a = Junction(10, 10);
  CStrJunction* b = Junction(15, 10);
  CStrJunction* c = Junction(22, 10);
  CStrStrasse* s = Street(a, b);
  EXPECT_EQ(s->SetEndJunction(nullptr), 1);
  EXPECT_EQ(s->SetEndJunction(c), 0);
  EXPECT_EQ(Pieces(s), (std::vector<P>{{10, 10, 22, 10}}));
  EXPECT_EQ(s->GetLaenge(), 1200);
  EXPECT_EQ(c->GetStreetByNR(0), s);
}

TEST_F(StreetScene, FlowsOfTheDayAreSmoothedAndAveraged) {
  CStrJunction* a = Junction(10, 10);
  CStrJunction* b = Junction(15, 10);
  CStrStrasse* s = Street(a, b);
  EXPECT_EQ(s->UpdateCarFlow24(0), 1);
  EXPECT_EQ(s->UpdateCarFlow24(24), 1);
  EXPECT_EQ(s->GetAuslastung24(24), 1);
  EXPECT_EQ(s->GetAuslastung24(-1), 1);
  EXPECT_EQ(s->UpdateCarFlow24(1), 0);
  EXPECT_EQ(s->GetAuslastung24(1), 0);
  EXPECT_EQ(s->GetAuslastung24(), 0);
}

TEST_F(StreetScene, FourLaneBendsLieTwoTilesWide) {
  CStrJunction* a = Junction(10, 60, STRASSE_VIERSPURIG);
  CStrJunction* b = Junction(20, 70, STRASSE_VIERSPURIG);
  CStrStrasse* s = Street(a, b, STRASSE_VIERSPURIG, {{20, 60}});
  // The bend at the higher x end of the first piece: one tile before it, on both lanes.
  EXPECT_TRUE(s->PointIsBeforBend(19, 60));
  EXPECT_TRUE(s->PointIsBeforBend(19, 61));
  EXPECT_FALSE(s->PointIsBeforBend(18, 60));
  EXPECT_FALSE(s->PointIsBeforBend(19, 62));
  // The bend at the lower y end of the second piece: two tiles on.
  EXPECT_TRUE(s->PointIsBeforBend(20, 62));
  EXPECT_TRUE(s->PointIsBeforBend(21, 62));
  EXPECT_FALSE(s->PointIsBeforBend(20, 61));
  EXPECT_TRUE(s->PointIsBend(21, 61));
  EXPECT_FALSE(s->PointIsBend(22, 61));
}

TEST_F(StreetScene, AStreetWithoutPiecesOrSimulationAnswersEmpty) {
  CStrStrasse s(map, nullptr);
  s.Create();
  short x = 0, y = 0;
  EXPECT_EQ(s.GetFirstIsoPos(&x, &y), 1);
  EXPECT_EQ(s.GetLastIsoPos(&x, &y), 1);
  EXPECT_EQ(s.GetEndPosY(), -1);
  EXPECT_EQ(s.SetCapacity(500), 1);
  EXPECT_EQ(s.GetCapacity(), 500);
  EXPECT_EQ(s.SetVelocity(5.0), 1);
  EXPECT_DOUBLE_EQ(s.GetStoredVelocitySecond(), 5.0);
  EXPECT_EQ(s.InsertIntoSimWelt(), 1);
  EXPECT_FALSE(s.StrHitStr(nullptr, nullptr, nullptr, x, y, 0));
  s.Destroy();
}

TEST_F(StreetScene, ATileCanBeABendAndBeforeTheNextBend) {
  CStrJunction* a = Junction(10, 10);
  CStrJunction* b = Junction(14, 11);
  CStrStrasse* s = Street(a, b, STRASSE_1, {{12, 10}, {12, 11}});
  // Both bends of the one-tile middle piece lie before the other bend.
  EXPECT_TRUE(s->PointIsOnBendBeforBend(12, 11));
  EXPECT_TRUE(s->PointIsOnBendBeforBend(12, 10));
  EXPECT_FALSE(s->PointIsOnBendBeforBend(11, 10));  // before a bend only
  EXPECT_FALSE(s->PointIsOnBendBeforBend(13, 11));
  EXPECT_FALSE(s->PointIsSpaceForRailCrossing(12, 10));
  EXPECT_FALSE(s->PointIsSpaceForRailCrossing(11, 10));
}
