// Edits at junctions: the direction a joined street keeps, the bend a
// junction reads from two of its streets, the ends a crossing redraws and
// the controls of a junction that is left with one street.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "junction_scene.h"

namespace {

using namespace junctiontest;

bool At(CStrJunction* j, int x, int y) { return j && j->GetXPos() == x && j->GetYPos() == y; }

TEST(JunctionEdits, ATwoWayStreetBuiltOnADeadEndContinuesItsStreetsDirection) {
  // A street from (20, 10) to (40, 10), a second drag onto one of its
  // dead ends, and the ends of the one street they make, start first.
  struct Case {
    const char* what;
    int x1, y1, x2, y2, sx, sy, ex, ey;
  };
  for (const Case& c : {Case{"from the end its street leaves", 20, 10, 5, 10, 5, 10, 40, 10},
                        Case{"onto the end its street runs into", 55, 10, 40, 10, 20, 10, 55, 10},
                        Case{"round a bend from the end it leaves", 20, 10, 20, 30, 20, 30, 40, 10}}) {
    SCOPED_TRACE(c.what);
    World w;
    ASSERT_EQ(w.Build(20, 10, 40, 10, STRASSE_2), STR_BUILD_OK);
    ASSERT_EQ(w.Build(c.x1, c.y1, c.x2, c.y2, STRASSE_2), STR_BUILD_OK);
    ASSERT_EQ(w.Streets().size(), 1u);
    CStrStrasse* s = w.Streets()[0];
    EXPECT_TRUE(At(s->GetStartJunction(), c.sx, c.sy));
    EXPECT_TRUE(At(s->GetEndJunction(), c.ex, c.ey));
    EXPECT_EQ(w.Junctions(), 2);
    ExpectConsistent(w);
  }
}

// The bend a junction reads from a street running in and one running out
// is the bend a street makes when it turns the same way.
int JunctionBend(bool southward, bool east) {
  World w;
  EXPECT_EQ(southward ? w.Build(30, 10, 30, 30) : w.Build(30, 30, 30, 10), STR_BUILD_OK);
  EXPECT_EQ(w.Build(30, 20, east ? 40 : 20, 20), STR_BUILD_OK);
  CStrJunction* j = w.At(30, 20);
  EXPECT_NE(j, nullptr);
  if (!j) return -1;
  CStrStrasse* in = w.StreetBetween(30, southward ? 10 : 30, 30, 20);
  CStrStrasse* out = w.StreetBetween(30, 20, east ? 40 : 20, 20);
  EXPECT_NE(in, nullptr);
  EXPECT_NE(out, nullptr);
  if (!in || !out) return -1;
  CIsoRichtung r;
  if (j->GetKurvenRichtung(&r, in, out) != 0) return -1;
  // Out and in the wrong way round, or straight on, make no bend.
  EXPECT_EQ(j->GetKurvenRichtung(&r, out, in), 1);
  CStrStrasse* on = w.StreetBetween(30, 20, 30, southward ? 30 : 10);
  EXPECT_EQ(j->GetKurvenRichtung(&r, in, on), 1);
  CIsoRichtung again;
  EXPECT_EQ(j->GetKurvenRichtung(&again, in, out), 0);
  return again.GetValue();
}

int StreetBend(bool southward, bool east) {
  World w;
  EXPECT_EQ(w.Build(30, southward ? 10 : 30, 30, 20), STR_BUILD_OK);
  EXPECT_EQ(w.Build(30, 20, east ? 40 : 20, 20), STR_BUILD_OK);
  EXPECT_EQ(w.Streets().size(), 1u);
  if (w.Streets().size() != 1) return -1;
  CStrStrasse* s = w.Streets()[0];
  CIsoRichtung r;
  if (s->GetKurvenRichtung(&r, s->GetStrassenTeil(1), s->GetStrassenTeil(2)) != 0) return -1;
  return r.GetValue();
}

TEST(JunctionEdits, AJunctionReadsTheBendOfTwoStreetsAsAStreetTurningThatWay) {
  std::set<int> seen;
  for (bool southward : {true, false})
    for (bool east : {true, false}) {
      SCOPED_TRACE(std::string(southward ? "southward" : "northward") + (east ? " east" : " west"));
      const int bend = JunctionBend(southward, east);
      EXPECT_EQ(bend, StreetBend(southward, east));
      seen.insert(bend);
    }
  EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3}));
}

// Every junction shows a junction graphic; a dead end its end tile.
void ExpectJunctionsDrawn(World& w) {
  for (CZorvaObject* o = w.net->GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    SCOPED_TRACE(std::to_string(j->GetXPos()) + "/" + std::to_string(j->GetYPos()));
    EXPECT_EQ(w.GroundType(j->GetXPos(), j->GetYPos()), OBJ_CROSSING);
    if (j->GetAnzLinkedStreets() == 1) {
      EXPECT_EQ(w.GroundRes(j->GetXPos(), j->GetYPos()), kEnd);
    }
  }
}

TEST(JunctionEdits, AStreetAcrossAnotherRedrawsTheJunctionsAtItsEnds) {
  // The scene's crossing, built from a bend.
  {
    World w;
    BuildCrossing(w);
    ExpectJunctionsDrawn(w);
    ExpectConsistent(w);
  }
}

// A stub south of (10, 20) and a street from there round back to it: a
// junction of three arms, two of them the same street.
void BuildLoopOnStub(World& w) {
  ASSERT_EQ(w.Build(10, 20, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Build(10, 20, 20, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Build(20, 20, 20, 5), STR_BUILD_OK);
  ASSERT_EQ(w.Build(20, 5, 5, 5), STR_BUILD_OK);
  ASSERT_EQ(w.Build(5, 5, 5, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Build(5, 20, 10, 20), STR_BUILD_OK);
}

TEST(JunctionEdits, AJunctionLeftWithOneStreetLosesItsLights) {
  World w;
  BuildLoopOnStub(w);
  CStrJunction* j = w.At(10, 20);
  ASSERT_NE(j, nullptr);
  ASSERT_EQ(j->GetAnzLinkedStreets(), 3);
  CStrStrasse* loop = nullptr;
  for (CStrStrasse* s : w.Streets())
    if (s->GetStartJunction() == j && s->GetEndJunction() == j) loop = s;
  ASSERT_NE(loop, nullptr);
  // A street that leaves at both its ends is two arms of one street: no
  // lights for them.
  EXPECT_EQ(j->SetAmpelData(Ampel_Ampel, 80, 0.5f), 1);
  EXPECT_FALSE(j->HasAmpel());
  ASSERT_EQ(w.net->DeleteStreet(loop), 0);
  ASSERT_EQ(w.At(10, 20), j);
  ASSERT_EQ(j->GetAnzLinkedStreets(), 1);
  EXPECT_EQ(j->GetAmpelType(), Ampel_Rvl);
  EXPECT_EQ(j->GetAmpelGroup(), nullptr);
  EXPECT_EQ(w.GroundRes(10, 20), kEnd);
  EXPECT_EQ(w.net->UpdateAmpel(), 0);
  ExpectConsistent(w);
}

TEST(JunctionEdits, AOneWayStreetJoinedAgainstItsStreetIsTakenBackWhole) {
  World w;
  ASSERT_EQ(w.Build(10, 10, 20, 10, STRASSE_EINBAHN), STR_BUILD_OK);
  CStrJunction* a = w.At(10, 10);
  ASSERT_NE(a, nullptr);
  ASSERT_EQ(a->GetStreetByNR(0)->GetStartJunction(), a);
  // Nothing to join at a dead end.
  EXPECT_EQ(a->HandleExtension(w.At(20, 10), a->GetStreetByNR(0)), 99);
  CStrJunction* c = w.net->CreateNewJunction(0, 10, STRASSE_EINBAHN);
  ASSERT_NE(c, nullptr);
  ASSERT_EQ(c->InsertIntoSimWelt(), 0);
  ASSERT_EQ(w.net->AddJunction(c), 0);
  // A one-way street out of the end its street leaves would run against it.
  EXPECT_EQ(a->ConnectWith(c, STRASSE_EINBAHN), 2);
  EXPECT_EQ(a->GetAnzLinkedStreets(), 1);
  EXPECT_EQ(c->GetAnzLinkedStreets(), 0);
  EXPECT_EQ(w.Streets().size(), 1u);
  EXPECT_EQ(w.net->RemoveIsolatedJunctions(), 0);
  EXPECT_EQ(w.At(0, 10), nullptr);
  ExpectConsistent(w);
}

TEST(JunctionEdits, AStreetEndingOnADeadEndOfAnotherOneTileTypeTakesTheLarger) {
  for (TStrassenType first : {STRASSE_1, STRASSE_2})
    for (TStrassenType second : {STRASSE_1, STRASSE_2}) {
      if (first == second) continue;
      World w;
      ASSERT_EQ(w.Build(10, 10, 20, 10, first), STR_BUILD_OK);
      ASSERT_EQ(w.Build(30, 10, 20, 10, second), STR_BUILD_OK);
      ASSERT_EQ(w.Streets().size(), 1u);
      EXPECT_EQ(w.Streets()[0]->GetStreetType(), STRASSE_2);
      EXPECT_EQ(w.At(10, 10)->GetType(), STRASSE_2);
      EXPECT_EQ(w.At(30, 10)->GetType(), STRASSE_2);
      ExpectConsistent(w);
    }
}

}  // namespace
