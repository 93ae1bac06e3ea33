// Joins at junctions as a player sees them: the ends of a street bent in
// two drags, the junctions of a street laid across another, the cells of a
// junction whose street was joined round a bend, and a crossing that one
// junction has no room for.
#include <gtest/gtest.h>

#include <string>

#include "storm_checker.h"

namespace {

using namespace junctiontest;

// The network's findings after an edit (the lanes that no direction uses
// at a one-way end aside), as one text; the map's street and crossing
// objects are those of the live streets and junctions, none left over.
std::string Findings(World& w) {
  std::string out;
  for (const std::string& f : stormtest::Checker({}).Check(w))
    if (f.find("leads nowhere") == std::string::npos) out += f + "\n";
  size_t pieces = 0, crossings = 0;
  for (CWorldObj* o : w.host.objects) {
    pieces += dynamic_cast<CStreetObj*>(o) != nullptr;
    crossings += dynamic_cast<CKreuzObj*>(o) != nullptr;
  }
  if (pieces != w.Streets().size()) out += std::to_string(pieces) + " street objects\n";
  if (crossings != static_cast<size_t>(w.Junctions())) out += std::to_string(crossings) + " crossing objects\n";
  return out;
}

void ExpectDeadEndDrawn(World& w, int x, int y) {
  SCOPED_TRACE(testing::Message() << "end " << x << "/" << y);
  CStrJunction* j = w.At(x, y);
  ASSERT_NE(j, nullptr);
  EXPECT_EQ(j->GetAnzLinkedStreets(), 1);
  EXPECT_EQ(w.GroundType(x, y), OBJ_CROSSING);
  EXPECT_EQ(w.GroundRes(x, y), kEnd);
}

TEST(JunctionJoins, BothEndsOfAStreetBentInTwoDragsShowTheirEndTile) {
  // The first drag and the second from its end, each either way round.
  struct Case {
    int x1, y1, x2, y2, x3, y3, x4, y4;
  };
  for (const Case& c : {Case{20, 10, 40, 10, 40, 10, 40, 30}, Case{40, 10, 20, 10, 40, 10, 40, 30},
                        Case{20, 10, 40, 10, 40, 30, 40, 10}, Case{40, 10, 20, 10, 40, 30, 40, 10}}) {
    SCOPED_TRACE(testing::Message() << c.x1 << "/" << c.y1 << "-" << c.x2 << "/" << c.y2 << " then " << c.x3 << "/"
                                    << c.y3 << "-" << c.x4 << "/" << c.y4);
    World w;
    ASSERT_EQ(w.Build(c.x1, c.y1, c.x2, c.y2), STR_BUILD_OK);
    ASSERT_EQ(w.Build(c.x3, c.y3, c.x4, c.y4), STR_BUILD_OK);
    ASSERT_EQ(w.Streets().size(), 1u);
    EXPECT_EQ(w.Junctions(), 2);
    ExpectDeadEndDrawn(w, 20, 10);
    ExpectDeadEndDrawn(w, 40, 30);
    EXPECT_EQ(w.GroundType(40, 10), OBJ_STREET_PIECE);
    EXPECT_EQ(Findings(w), "");
  }
}

// The one-tile street's crossing, T junction and end tiles of the game's
// start-up table.
constexpr int kCrossingTile = 1503;
constexpr int kTTile = 1482;
constexpr int kEndTile = 14551;

TEST(JunctionJoins, AStreetFromATJunctionAcrossAnotherMakesBothJunctionsCrossings) {
  World w{GameData{}};
  ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Build(0, 20, 10, 20), STR_BUILD_OK);
  // The street turns at (10, 30) and runs back north at x = 20.
  ASSERT_EQ(w.Build(10, 30, 20, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Build(20, 30, 20, 10), STR_BUILD_OK);
  ASSERT_EQ(w.GroundRes(10, 20), kTTile);
  ASSERT_EQ(w.Build(10, 20, 30, 20), STR_BUILD_OK);
  for (int x : {10, 20}) {
    ASSERT_NE(w.At(x, 20), nullptr) << x;
    EXPECT_EQ(w.At(x, 20)->GetAnzLinkedStreets(), 4) << x;
    EXPECT_EQ(w.GroundType(x, 20), OBJ_CROSSING) << x;
    EXPECT_EQ(w.GroundRes(x, 20), kCrossingTile) << x;
  }
  ASSERT_NE(w.At(30, 20), nullptr);
  EXPECT_EQ(w.GroundRes(30, 20), kEndTile);
  EXPECT_EQ(Findings(w), "");
}

// A stub from a T junction, joined round a bend at its dead end: the T
// junction's cells lead into the joined street's cells.
TEST(JunctionJoins, AJunctionAtTheFarEndOfABendJoinLeadsIntoTheJoinedStreet) {
  for (int c = 0; c < 4; ++c) {
    const bool fromStub = c & 1, stubOut = c & 2;
    SCOPED_TRACE(testing::Message() << (stubOut ? "stub dragged out of the street, " : "stub dragged onto the street, ")
                                    << (fromStub ? "bend dragged from its end" : "bend dragged onto its end"));
    World w{GameData{}};
    ASSERT_EQ(w.Build(40, 5, 40, 25), STR_BUILD_OK);
    ASSERT_EQ(stubOut ? w.Build(40, 10, 20, 10) : w.Build(20, 10, 40, 10), STR_BUILD_OK);
    ASSERT_EQ(fromStub ? w.Build(20, 10, 20, 20) : w.Build(20, 20, 20, 10), STR_BUILD_OK);
    ASSERT_NE(w.At(40, 10), nullptr);
    EXPECT_EQ(w.At(40, 10)->GetAnzLinkedStreets(), 3);
    EXPECT_EQ(w.At(20, 10), nullptr);
    CStrStrasse* joined = w.StreetBetween(20, 20, 40, 10);
    ASSERT_NE(joined, nullptr);
    ASSERT_NE(joined->GetMicroZellenGroup(), nullptr);
    EXPECT_NE(w.At(40, 10)->GetMicroZellen(), nullptr);
    EXPECT_EQ(Findings(w), "");
  }
}

// A street along x = 10 with an arm east at y = 20 to (30, 20), bent at its
// south end east to (30, 30): a drag between the two dead ends at x = 30
// joins at both into one loop street round the T junction.
TEST(JunctionJoins, ADragBetweenTwoDeadEndsJoinsAtBothIntoOneStreet) {
  for (bool north : {true, false}) {
    SCOPED_TRACE(north ? "dragged north" : "dragged south");
    World w;
    ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
    ASSERT_EQ(w.Build(10, 20, 30, 20), STR_BUILD_OK);
    ASSERT_EQ(w.Build(10, 30, 30, 30), STR_BUILD_OK);
    ASSERT_EQ(w.Junctions(), 4);
    ASSERT_EQ(north ? w.Build(30, 30, 30, 20) : w.Build(30, 20, 30, 30), STR_BUILD_OK);
    EXPECT_EQ(w.Junctions(), 2);
    EXPECT_EQ(w.At(30, 20), nullptr);
    EXPECT_EQ(w.At(30, 30), nullptr);
    CStrJunction* t = w.At(10, 20);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->GetAnzLinkedStreets(), 3);
    ASSERT_EQ(w.Streets().size(), 2u);
    CStrStrasse* loop = w.StreetBetween(10, 20, 10, 20);
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop->GetNumber(), 4u);
    EXPECT_EQ(Findings(w), "");
  }
}

TEST(JunctionJoins, ACrossingThatAJunctionHasNoRoomForLeavesNothingBehind) {
  World w;
  BuildCrossing(w);
  CStrJunction* full = w.At(10, 25);
  CStrJunction* t = w.At(10, 15);
  ASSERT_NE(full, nullptr);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(full->GetAnzLinkedStreets(), 4);
  ASSERT_EQ(t->GetAnzLinkedStreets(), 3);
  const size_t objects = w.host.objects.size();
  const size_t streets = w.Streets().size();
  EXPECT_FALSE(t->CreateKreuzung(full, STRASSE_1));
  EXPECT_EQ(w.host.objects.size(), objects);
  EXPECT_EQ(w.Streets().size(), streets);
  EXPECT_EQ(t->GetAnzLinkedStreets(), 3);
  EXPECT_EQ(full->GetAnzLinkedStreets(), 4);
  EXPECT_EQ(Findings(w), "");
}

}  // namespace
