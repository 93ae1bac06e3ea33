// What a street carries besides its lanes comes and goes whole: a bus lane
// round a bend leaves the bend's cells as they were when it goes, a street
// continued round a bend keeps its bus lane, and a street serves one car
// park at a time.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "junction_scene.h"

namespace {

using junctiontest::GameData;
using junctiontest::World;

// The pictures merged onto each cell of a block, row by row.
std::vector<int> Pictures(World& w, int x0, int y0, int x1, int y1) {
  std::vector<int> out;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      int n = 0;
      CIsoObjLst* objects = w.map->GetIsoInfo(x, y)->GetIsoObjects(ISO_LAYER_GROUND);
      for (CZorvaObject* o = objects ? objects->GetHead() : nullptr; o; o = o->GetNext()) ++n;
      out.push_back(n);
    }
  return out;
}

TEST(StreetExtras, ABusLaneRoundABendLeavesTheBendAsItWasWhenItGoes) {
  // Bent both ways, so that the bend's group turns.
  for (auto [x2, y2] : {std::pair{20, 30}, std::pair{20, 10}}) {
    SCOPED_TRACE(testing::Message() << "bent towards " << x2 << "/" << y2);
    World w{GameData{}};
    ASSERT_EQ(w.Build(8, 20, 20, 20, STRASSE_VIERSPURIG), STR_BUILD_OK);
    ASSERT_EQ(w.Build(20, 20, x2, y2, STRASSE_VIERSPURIG), STR_BUILD_OK);
    ASSERT_EQ(w.Streets().size(), 1u);
    CStrStrasse* s = w.Streets()[0];
    ASSERT_EQ(s->GetNumber(), 2u);
    const std::vector<int> bare = Pictures(w, 18, 17, 23, 23);
    ASSERT_EQ(s->CreateBusSpur(), 0);
    EXPECT_NE(Pictures(w, 18, 17, 23, 23), bare);
    ASSERT_EQ(s->DeleteBusSpur(), 0);
    EXPECT_EQ(Pictures(w, 18, 17, 23, 23), bare);
  }
}

TEST(StreetExtras, AStreetContinuedRoundABendKeepsItsBusLane) {
  // Continued from either end, the new part drawn away from the old street
  // or towards it.
  for (const char* on : {"20 20 20 30", "20 30 20 20", "8 20 8 30", "8 30 8 20"}) {
    SCOPED_TRACE(on);
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    ASSERT_EQ(std::sscanf(on, "%d %d %d %d", &x1, &y1, &x2, &y2), 4);
    World w{GameData{}};
    ASSERT_EQ(w.Build(8, 20, 20, 20, STRASSE_VIERSPURIG), STR_BUILD_OK);
    ASSERT_EQ(w.Streets()[0]->CreateBusSpur(), 0);
    ASSERT_EQ(w.Build(x1, y1, x2, y2, STRASSE_VIERSPURIG), STR_BUILD_OK);
    ASSERT_EQ(w.Streets().size(), 1u);
    EXPECT_EQ(w.Streets()[0]->GetNumber(), 2u);
    EXPECT_TRUE(w.Streets()[0]->HasBusSpur());
  }
}

TEST(StreetExtras, AStreetServesOneCarParkAtATime) {
  World w{GameData{}};
  ASSERT_EQ(w.Build(10, 10, 20, 10, STRASSE_2), STR_BUILD_OK);
  CStrStrasse* s = w.Streets()[0];
  // The car parks stand for the buildings' objects, known here only by address.
  char first = 0, second = 0;
  auto* a = reinterpret_cast<CBuildingParkingObject*>(&first);
  auto* b = reinterpret_cast<CBuildingParkingObject*>(&second);
  short x = 0, y = 0;
  int direction = 0;
  // A street without a car park has room for its second guidance sign.
  EXPECT_EQ(s->FindVLSLocation(x, y, direction, true), 0);
  EXPECT_EQ(s->SetParking(a), 0);
  EXPECT_EQ(s->SetParking(b), 1);
  EXPECT_EQ(s->SetParking(a), 1);
  // The car park takes the second sign's place.
  EXPECT_EQ(s->FindVLSLocation(x, y, direction, true), 1);
  EXPECT_EQ(s->SetParking(nullptr), 0);
  EXPECT_EQ(s->FindVLSLocation(x, y, direction, true), 0);
  EXPECT_EQ(s->SetParking(b), 0);
}

}  // namespace
