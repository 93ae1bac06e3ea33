// Building streets through the junction list the way the street tool does:
// result codes, T junctions, crossings, merged continuations, bends, type
// rules, and removing streets again.
#include <gtest/gtest.h>

#include "junction_scene.h"
#include "support/test_support.h"

namespace {

using namespace junctiontest;

struct JunctionBuild : ::testing::Test {
  void SetUp() override { w = std::make_unique<World>(); }
  void TearDown() override { w.reset(); }
  std::unique_ptr<World> w;
};

TEST_F(JunctionBuild, TheFirstStreetNeedsNoNetworkButTheNextMustTouchIt) {
  ASSERT_EQ(w->Build(10, 10, 10, 20), STR_BUILD_OK);
  ASSERT_EQ(w->Junctions(), 2);
  CStrJunction* a = w->At(10, 10);
  CStrJunction* b = w->At(10, 20);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(a->GetAnzLinkedStreets(), 1);
  EXPECT_EQ(b->GetAnzLinkedStreets(), 1);
  EXPECT_EQ(w->GroundType(10, 15), OBJ_STREET_PIECE);
  ExpectConsistent(*w);

  // Both ends off the network: refused, and nothing of it stays behind.
  const int hostObjects = static_cast<int>(w->host.objects.size());
  EXPECT_EQ(w->Build(30, 30, 30, 40), STR_BUILD_OFF_NETWORK);
  EXPECT_EQ(w->Junctions(), 2);
  EXPECT_EQ(w->At(30, 30), nullptr);
  EXPECT_EQ(static_cast<int>(w->host.objects.size()), hostObjects);
  EXPECT_FALSE(Registered(*w, 3));
  ExpectConsistent(*w);
}

TEST_F(JunctionBuild, RefusalsGiveTheirCodesAndLeaveTheNetworkAsItWas) {
  ASSERT_EQ(w->Build(10, 10, 10, 20), STR_BUILD_OK);
  EXPECT_EQ(w->net->CreateStreet(nullptr, STRASSE_1), STR_BUILD_BAD_REQUEST);
  EXPECT_EQ(w->Build(10, 20, 20, 20, static_cast<TStrassenType>(5)), STR_BUILD_BAD_REQUEST);
  EXPECT_EQ(w->Build(10, 20, 15, 25), STR_BUILD_BAD_REQUEST);   // not along one axis
  EXPECT_EQ(w->Build(10, 20, 10, 130), STR_BUILD_BAD_REQUEST);  // leaves the map
  EXPECT_EQ(w->Build(10, 20, 10, 20), STR_BUILD_SAME_JUNCTION);
  EXPECT_EQ(w->Build(10, 10, 10, 20), STR_BUILD_ALREADY_JOINED);
  EXPECT_EQ(w->Build(10, 20, 10, 10), STR_BUILD_ALREADY_JOINED);
  // A four-lane street does not start at the dead end of a one-tile street.
  EXPECT_EQ(w->Build(10, 20, 10, 30, STRASSE_VIERSPURIG), STR_BUILD_TYPE_CONFLICT);
  EXPECT_EQ(w->At(10, 30), nullptr);
  EXPECT_EQ(w->Junctions(), 2);
  ASSERT_EQ(w->Streets().size(), 1u);
  EXPECT_EQ(w->Streets()[0]->GetStreetType(), STRASSE_1);
  ExpectConsistent(*w);
}

TEST_F(JunctionBuild, AStraightContinuationIsMergedIntoOneStreet) {
  ASSERT_EQ(w->Build(10, 10, 10, 20), STR_BUILD_OK);
  const short oldId = w->Streets()[0]->GetSimID();
  const short oldBack = w->Streets()[0]->GetSimIDSecond();
  const unsigned short joint = w->At(10, 20)->GetSimID();
  ASSERT_EQ(w->Build(10, 20, 10, 30), STR_BUILD_OK);
  // The joint and the streets it joined are gone from the demand model.
  EXPECT_FALSE(Registered(*w, joint));
  short from = 0, to = 0;
  EXPECT_FALSE(w->sim->GetCrossingsOfStreet(oldId, &from, &to));
  EXPECT_FALSE(w->sim->GetCrossingsOfStreet(oldBack, &from, &to));
  EXPECT_EQ(w->At(10, 20), nullptr);
  EXPECT_EQ(w->Junctions(), 2);
  ASSERT_EQ(w->Streets().size(), 1u);
  CStrStrasse* s = w->StreetBetween(10, 10, 10, 30);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->GetNumber(), 1u);
  EXPECT_EQ(w->GroundType(10, 20), OBJ_STREET_PIECE);
  ExpectConsistent(*w);
}

TEST_F(JunctionBuild, ARightAngleBecomesOneStreetWithABend) {
  ASSERT_EQ(w->Build(10, 10, 10, 20), STR_BUILD_OK);
  ASSERT_EQ(w->Build(10, 20, 20, 20), STR_BUILD_OK);
  EXPECT_EQ(w->At(10, 20), nullptr);
  ASSERT_EQ(w->Streets().size(), 1u);
  CStrStrasse* s = w->StreetBetween(10, 10, 20, 20);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->GetNumber(), 2u);
  ExpectConsistent(*w);
}

TEST_F(JunctionBuild, ATypeChangesOnlyAtEndsOfFewerThanThreeStreets) {
  ASSERT_EQ(w->Build(10, 10, 10, 20), STR_BUILD_OK);
  // A type-2 street from the type-1 dead end makes the whole street type 2.
  ASSERT_EQ(w->Build(10, 20, 10, 30, STRASSE_2), STR_BUILD_OK);
  ASSERT_EQ(w->Streets().size(), 1u);
  EXPECT_EQ(w->Streets()[0]->GetStreetType(), STRASSE_2);
  // A type-1 street from a type-2 dead end is built as type 2.
  ASSERT_EQ(w->Build(10, 30, 20, 30, STRASSE_1), STR_BUILD_OK);
  ASSERT_EQ(w->Streets().size(), 1u);
  EXPECT_EQ(w->Streets()[0]->GetStreetType(), STRASSE_2);
  ExpectConsistent(*w);
}

TEST_F(JunctionBuild, AnEndInTheMiddleOfAStreetSplitsItWithATJunction) {
  ASSERT_EQ(w->Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w->Build(5, 20, 10, 20), STR_BUILD_OK);
  CStrJunction* t = w->At(10, 20);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->GetAnzLinkedStreets(), 3);
  EXPECT_EQ(w->Junctions(), 4);
  EXPECT_NE(w->StreetBetween(10, 10, 10, 20), nullptr);
  EXPECT_NE(w->StreetBetween(10, 20, 10, 30), nullptr);
  EXPECT_NE(w->StreetBetween(5, 20, 10, 20), nullptr);
  EXPECT_EQ(w->StreetBetween(10, 10, 10, 30), nullptr);
  // The open side is +x: arms -x, -y and +y make mask 3 + 48 + 192.
  EXPECT_EQ(t->GetEmgType(), 2);
  CIsoRichtung dir;
  EXPECT_EQ(t->GetResID(&dir), 1482);
  EXPECT_EQ(dir.GetValue(), 1);
  EXPECT_EQ(w->GroundType(10, 20), OBJ_CROSSING);
  EXPECT_EQ(w->GroundRes(10, 20), 1482);
  ExpectConsistent(*w);
}

TEST_F(JunctionBuild, AStreetAcrossAnotherMakesAFourArmCrossing) {
  BuildCrossing(*w);
  CStrJunction* k = w->At(10, 25);
  ASSERT_NE(k, nullptr);
  EXPECT_EQ(k->GetAnzLinkedStreets(), 4);
  EXPECT_EQ(w->Junctions(), 5);
  EXPECT_EQ(w->Streets().size(), 5u);
  EXPECT_NE(w->StreetBetween(10, 15, 10, 25), nullptr);
  EXPECT_NE(w->StreetBetween(10, 25, 10, 30), nullptr);
  EXPECT_NE(w->StreetBetween(10, 25, 5, 25), nullptr);
  // The arm from the T junction bends twice and ends at the crossing.
  CStrStrasse* arm = w->StreetBetween(10, 15, 10, 25);
  ASSERT_NE(arm, nullptr);
  EXPECT_EQ(w->At(20, 15), nullptr);
  EXPECT_EQ(w->At(20, 25), nullptr);
  // Four arms of one-tile streets on every side: mask 255.
  CIsoRichtung dir;
  EXPECT_EQ(k->GetResID(&dir), 1503);
  EXPECT_EQ(w->GroundRes(10, 25), 1503);
  ExpectConsistent(*w);

  // No fifth arm: a street from or to the crossing is refused whole, and
  // the street under its other end keeps its tile.
  const size_t streets = w->Streets().size();
  EXPECT_EQ(w->Build(10, 25, 10, 28), STR_BUILD_BAD_REQUEST);
  EXPECT_EQ(w->Build(10, 20, 10, 25), STR_BUILD_BAD_REQUEST);
  EXPECT_EQ(w->Streets().size(), streets);
  EXPECT_EQ(w->At(10, 20), nullptr);
  EXPECT_EQ(w->GroundType(10, 20), OBJ_STREET_PIECE);
  ExpectConsistent(*w);
}

TEST_F(JunctionBuild, AStreetOverADeadEndMakesItATJunction) {
  ASSERT_EQ(w->Build(10, 10, 10, 20), STR_BUILD_OK);
  ASSERT_EQ(w->Build(10, 15, 5, 15), STR_BUILD_OK);
  ASSERT_EQ(w->Build(5, 15, 5, 20), STR_BUILD_OK);
  // From (5, 20) east over the dead end (10, 20) to (15, 20).
  ASSERT_EQ(w->Build(5, 20, 15, 20), STR_BUILD_OK);
  CStrJunction* t = w->At(10, 20);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->GetAnzLinkedStreets(), 3);
  EXPECT_NE(w->StreetBetween(10, 20, 15, 20), nullptr);
  EXPECT_NE(w->StreetBetween(10, 15, 10, 20), nullptr);
  EXPECT_EQ(w->At(5, 20), nullptr);  // the bend from (5, 15) goes on to the T junction
  EXPECT_EQ(w->GroundRes(10, 20), 1482);  // arms -x, +x and -y: 3 + 12 + 48
  ExpectConsistent(*w);
}

TEST_F(JunctionBuild, TwoStreetsJoinWhenTheirTypesAllowIt) {
  auto junction = [&](int x, int y) {
    CStrJunction* j = w->net->CreateNewJunction(static_cast<short>(x), static_cast<short>(y), STRASSE_1);
    EXPECT_EQ(j->InsertIntoSimWelt(), 0);
    EXPECT_EQ(w->net->AddJunction(j), 0);
    return j;
  };
  auto street = [&](CStrJunction* a, CStrJunction* b, TStrassenType t) {
    CStrStrasse* s = w->net->CreateNewStreet();
    EXPECT_EQ(s->Create(a, b, t), 0);
    EXPECT_EQ(a->LinkStreet(s), 0);
    EXPECT_EQ(b->LinkStreet(s), 0);
    return s;
  };
  CStrJunction* a = junction(10, 10);
  CStrJunction* j = junction(10, 20);
  CStrJunction* b = junction(10, 30);
  CStrStrasse* one = street(a, j, STRASSE_1);
  CStrStrasse* two = street(j, b, STRASSE_2);
  EXPECT_TRUE(a->RemoveingStreetIsLegal());
  EXPECT_TRUE(j->ConnectionIsLegal());
  EXPECT_EQ(one->GetStreetType(), STRASSE_2);
  EXPECT_EQ(two->GetStreetType(), STRASSE_2);
  // A four-lane street joins only another four-lane street.
  CStrJunction* c = junction(20, 20);
  CStrJunction* d = junction(30, 20);
  street(j, c, STRASSE_VIERSPURIG);
  EXPECT_FALSE(j->ConnectionIsLegal());  // three streets
  CStrStrasse* four = street(c, d, STRASSE_VIERSPURIG);
  EXPECT_FALSE(d->ConnectionIsLegal());  // one street
  CStrJunction* e = junction(40, 20);
  street(d, e, STRASSE_2);
  EXPECT_FALSE(d->ConnectionIsLegal());
  EXPECT_EQ(four->GetStreetType(), STRASSE_VIERSPURIG);
  // A junction of five streets is none; the fifth is refused.
  CStrJunction* f = junction(20, 30);
  CStrStrasse* extra = w->net->CreateNewStreet();
  ASSERT_EQ(extra->Create(c, f, STRASSE_1), 0);
  ASSERT_EQ(c->GetAnzLinkedStreets(), 2);
  EXPECT_EQ(c->LinkStreet(extra), 0);
  EXPECT_EQ(c->LinkStreet(extra), 0);
  EXPECT_EQ(c->GetAnzLinkedStreets(), 4);
  EXPECT_EQ(c->LinkStreet(extra), 1);
  EXPECT_EQ(c->GetAnzLinkedStreets(), 4);
  EXPECT_FALSE(c->RemoveingStreetIsLegal());
  while (c->UnLinkStreet(extra) == 0 && c->HasStreet(extra)) {
  }
  extra->Destroy();
  delete extra;
}

TEST_F(JunctionBuild, RemovingTheLastStreetRemovesBothJunctions) {
  ASSERT_EQ(w->Build(10, 10, 10, 20), STR_BUILD_OK);
  const unsigned short a = w->At(10, 10)->GetSimID();
  const unsigned short b = w->At(10, 20)->GetSimID();
  CStrStrasse* s = w->Streets()[0];
  const short id = s->GetSimID();
  ASSERT_EQ(w->net->DeleteStreet(s), 0);
  EXPECT_EQ(w->Junctions(), 0);
  EXPECT_EQ(w->At(10, 10), nullptr);
  EXPECT_EQ(w->net->GetJunctionByID(a), nullptr);
  EXPECT_FALSE(Registered(*w, a));
  EXPECT_FALSE(Registered(*w, b));
  EXPECT_EQ(w->net->GetStreetByID(id), nullptr);
  EXPECT_NE(w->GroundType(10, 15), OBJ_STREET_PIECE);
  EXPECT_EQ(w->net->DeleteStreet(nullptr), 4);
}

TEST_F(JunctionBuild, DeletingOneArmOfATJunctionJoinsTheOtherTwo) {
  ASSERT_EQ(w->Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w->Build(5, 20, 10, 20), STR_BUILD_OK);
  CStrStrasse* arm = w->StreetBetween(5, 20, 10, 20);
  ASSERT_NE(arm, nullptr);
  ASSERT_EQ(w->net->DeleteStreet(arm), 0);
  EXPECT_EQ(w->At(10, 20), nullptr);
  EXPECT_EQ(w->At(5, 20), nullptr);
  EXPECT_EQ(w->Junctions(), 2);
  EXPECT_NE(w->StreetBetween(10, 10, 10, 30), nullptr);
  ExpectConsistent(*w);
}

TEST_F(JunctionBuild, ALoopStreetCountsTwiceAtItsJunction) {
  ASSERT_EQ(w->Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w->Build(10, 20, 20, 20), STR_BUILD_OK);
  ASSERT_EQ(w->Build(20, 20, 20, 5), STR_BUILD_OK);
  ASSERT_EQ(w->Build(20, 5, 5, 5), STR_BUILD_OK);
  ASSERT_EQ(w->Build(5, 5, 5, 20), STR_BUILD_OK);
  ASSERT_EQ(w->Build(5, 20, 10, 20), STR_BUILD_OK);
  CStrJunction* j = w->At(10, 20);
  ASSERT_NE(j, nullptr);
  EXPECT_EQ(w->Junctions(), 3);
  EXPECT_EQ(j->GetAnzLinkedStreets(), 4);
  CStrStrasse* loop = nullptr;
  for (CStrStrasse* s : w->Streets())
    if (s->GetStartJunction() == j && s->GetEndJunction() == j) loop = s;
  ASSERT_NE(loop, nullptr);
  // Its first and its last cell are two arms of the crossing.
  CIsoRichtung dir;
  EXPECT_EQ(j->GetResID(&dir), 1503);
  ExpectConsistent(*w);
}

TEST_F(JunctionBuild, AStreetFromACrossingOfThreeJoinsItDirectly) {
  ASSERT_EQ(w->Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w->Build(5, 20, 10, 20), STR_BUILD_OK);
  ASSERT_EQ(w->Build(10, 20, 15, 20), STR_BUILD_OK);
  CStrJunction* k = w->At(10, 20);
  ASSERT_NE(k, nullptr);
  EXPECT_EQ(k->GetAnzLinkedStreets(), 4);
  EXPECT_EQ(w->GroundRes(10, 20), 1503);
  ExpectConsistent(*w);
}

}  // namespace

namespace {

using namespace junctiontest;

// A drag that first moves a dead end by a cell, as the preview of a
// four-lane street asks when it starts at one.
class ShiftedDrag : public CStrBuildRequest {
 public:
  ShiftedDrag(CStrJunction* end, short dx, short dy, short x1, short y1, short x2, short y2)
      : m_end(end), m_dx(dx), m_dy(dy), m_x1(x1), m_y1(y1), m_x2(x2), m_y2(y2) {}
  void GetStreetBuildRect(short* x1, short* y1, short* x2, short* y2) override {
    *x1 = m_x1;
    *y1 = m_y1;
    *x2 = m_x2;
    *y2 = m_y2;
  }
  bool DecStreetLength() override { return true; }
  CStrJunction* GetDecJunction() override { return m_end; }
  void GetDecOffset(short* dx, short* dy) override {
    *dx = m_dx;
    *dy = m_dy;
  }

 private:
  CStrJunction* m_end;
  short m_dx, m_dy, m_x1, m_y1, m_x2, m_y2;
};

TEST_F(JunctionBuild, ADeadEndIsTurnedTowardsItsStreet) {
  // Streets leaving towards -x, -y, +x and +y from their dead ends.
  ASSERT_EQ(w->Build(30, 30, 20, 30), STR_BUILD_OK);
  ASSERT_EQ(w->Build(25, 30, 25, 20), STR_BUILD_OK);
  ASSERT_EQ(w->Build(25, 20, 25, 12), STR_BUILD_OK);
  struct Case {
    int x, y, rotation;
  } cases[] = {{30, 30, 0}, {25, 12, 3}, {20, 30, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "/" << c.y);
    CStrJunction* j = w->At(c.x, c.y);
    ASSERT_NE(j, nullptr);
    ASSERT_EQ(j->GetAnzLinkedStreets(), 1);
    CIsoRichtung dir;
    ASSERT_EQ(j->GetEndStueckRichtung(&dir), 0);
    EXPECT_EQ(dir.GetValue(), c.rotation);
    EXPECT_EQ(w->map->GetIsoInfo(c.x, c.y)->GetRichtung(ISO_LAYER_GROUND), c.rotation);
    EXPECT_EQ(w->GroundRes(c.x, c.y), kEnd);
  }
  // A dead end whose street leaves towards -y.
  ASSERT_EQ(w->Build(40, 40, 40, 30), STR_BUILD_OFF_NETWORK);
  ASSERT_EQ(w->Build(30, 30, 30, 40), STR_BUILD_OK);
  ASSERT_NE(w->At(30, 40), nullptr);
  CIsoRichtung dir;
  ASSERT_EQ(w->At(30, 40)->GetEndStueckRichtung(&dir), 0);
  EXPECT_EQ(dir.GetValue(), 1);
}

TEST_F(JunctionBuild, AShiftedDeadEndStaysShiftedOnlyWhenTheStreetIsBuilt) {
  ASSERT_EQ(w->Build(10, 10, 10, 20), STR_BUILD_OK);
  CStrJunction* end = w->At(10, 20);
  ASSERT_NE(end, nullptr);
  // Refused (the type differs): the dead end goes back to its cell.
  ShiftedDrag refused(end, 0, -1, 10, 19, 20, 19);
  EXPECT_EQ(w->net->CreateStreet(&refused, STRASSE_VIERSPURIG), STR_BUILD_TYPE_CONFLICT);
  EXPECT_EQ(w->At(10, 20), end);
  EXPECT_EQ(w->At(10, 19), nullptr);
  ASSERT_NE(w->StreetBetween(10, 10, 10, 20), nullptr);
  // The network's cell index follows the end there and back.
  using Junctions = std::vector<CStrJunction*>;
  using Streets = std::vector<CStrStrasse*>;
  EXPECT_EQ(w->net->JunctionsIndexedAt(10, 20), Junctions{end});
  EXPECT_EQ(w->net->JunctionsIndexedAt(10, 19), Junctions{});
  EXPECT_EQ(w->net->StreetsIndexedAt(10, 20), Streets{w->StreetBetween(10, 10, 10, 20)});
  ExpectConsistent(*w);
  // Built: the street ends one cell earlier and bends there.
  ShiftedDrag built(end, 0, -1, 10, 19, 20, 19);
  ASSERT_EQ(w->net->CreateStreet(&built, STRASSE_1), STR_BUILD_OK);
  EXPECT_EQ(w->At(10, 20), nullptr);
  CStrStrasse* s = w->StreetBetween(10, 10, 20, 19);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->GetNumber(), 2u);
  EXPECT_NE(w->GroundType(10, 20), OBJ_STREET_PIECE);
  EXPECT_EQ(w->net->JunctionsIndexedAt(10, 20), Junctions{});
  EXPECT_EQ(w->net->JunctionsIndexedAt(10, 19), Junctions{});
  EXPECT_EQ(w->net->StreetsIndexedAt(10, 20), Streets{});
  EXPECT_EQ(w->net->StreetsIndexedAt(10, 19), Streets{s});
  EXPECT_EQ(w->net->StreetsIndexedAt(20, 19), Streets{s});
  ExpectConsistent(*w);
}

}  // namespace

namespace {

// A T junction of two type-1 halves and a type-2 arm loses one half: the
// two streets left are joined into one, of the larger type, whichever
// half went.
TEST(JunctionBuilding, StreetsJoinedAtARemovedArmTakeTheLargerType) {
  for (bool upper : {true, false}) {
    SCOPED_TRACE(upper ? "upper half removed" : "lower half removed");
    World w;
    ASSERT_EQ(w.Build(10, 10, 10, 30, STRASSE_1), STR_BUILD_OK);
    ASSERT_EQ(w.Build(10, 20, 20, 20, STRASSE_2), STR_BUILD_OK);
    ASSERT_EQ(w.At(10, 20)->GetAnzLinkedStreets(), 3);
    CStrStrasse* half = upper ? w.StreetBetween(10, 10, 10, 20) : w.StreetBetween(10, 20, 10, 30);
    ASSERT_NE(half, nullptr);
    ASSERT_EQ(w.net->DeleteStreet(half), 0);
    EXPECT_EQ(w.At(10, 20), nullptr);
    const std::vector<CStrStrasse*> streets = w.Streets();
    ASSERT_EQ(streets.size(), 1u);
    EXPECT_EQ(streets[0]->GetStreetType(), STRASSE_2);
    EXPECT_EQ(streets[0], w.StreetBetween(upper ? 10 : 10, upper ? 30 : 10, 20, 20));
    ExpectConsistent(w);
  }
}

}  // namespace

namespace {

// A two-way street dragged on from its start keeps the running direction of
// the street it continues: the forward direction stays the same way round.
TEST(JunctionBuilding, AStreetDraggedOnFromItsStartKeepsItsDirection) {
  World w;
  ASSERT_EQ(w.Build(10, 10, 10, 20, STRASSE_1), STR_BUILD_OK);
  ASSERT_EQ(w.Build(10, 10, 10, 2, STRASSE_1), STR_BUILD_OK);
  const std::vector<CStrStrasse*> streets = w.Streets();
  ASSERT_EQ(streets.size(), 1u);
  EXPECT_EQ(streets[0]->GetStartJunction(), w.At(10, 2));
  EXPECT_EQ(streets[0]->GetEndJunction(), w.At(10, 20));
  short dx = 0, dy = 0;
  streets[0]->CalcMAtPos(w.At(10, 2), &dx, &dy);
  EXPECT_EQ(dy, 1);
  ExpectConsistent(w);
}

}  // namespace
