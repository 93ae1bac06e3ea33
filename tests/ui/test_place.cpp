// The placing tools' arithmetic without a map: the walk of CheckHit, the
// price entries of buildings and zones by kind and height, and the
// catalogue lookups the tools make.
#include <gtest/gtest.h>

#include "measures/building_object.h"
#include "ui/user_int.h"
#include "ui/user_int_place.h"

namespace {

TEST(PlaceCheckHit, TheWalkGoesDiagonallyUntilOneAxisArrivesThenStraight) {
  // (0,0) to (4,2): (1,1), (2,2), then along x to (4,2).
  for (auto [x, y] : {std::pair{0, 0}, {1, 1}, {2, 2}, {3, 2}, {4, 2}})
    EXPECT_EQ(CUserInt::CheckHit(0, 0, 4, 2, x, y), 0) << x << "," << y;
  for (auto [x, y] : {std::pair{1, 0}, {2, 1}, {5, 2}, {4, 3}, {-1, -1}})
    EXPECT_EQ(CUserInt::CheckHit(0, 0, 4, 2, x, y), 1) << x << "," << y;
  // Backwards along both axes, and a straight walk.
  EXPECT_EQ(CUserInt::CheckHit(5, 5, 3, 1, 4, 4), 0);
  EXPECT_EQ(CUserInt::CheckHit(5, 5, 3, 1, 3, 2), 0);
  EXPECT_EQ(CUserInt::CheckHit(5, 5, 3, 1, 4, 3), 1);
  EXPECT_EQ(CUserInt::CheckHit(2, 7, 2, 3, 2, 5), 0);
  EXPECT_EQ(CUserInt::CheckHit(2, 7, 2, 3, 2, 8), 1);
  // Equal ends: only that point.
  EXPECT_EQ(CUserInt::CheckHit(6, 6, 6, 6, 6, 6), 0);
  EXPECT_EQ(CUserInt::CheckHit(6, 6, 6, 6, 6, 7), 1);
}

TEST(PlacePrices, TownBuildingsTakeTheirEntryByKindAndSize) {
  // shops 16-18, schools 19-21, parks 28-30, sports 22-24, theatres 25-27
  const int kinds[][2] = {{12, 16}, {13, 19}, {14, 28}, {15, 22}, {16, 25}};
  for (const auto& [type, first] : kinds)
    for (int h = 1; h <= 3; ++h) {
      EXPECT_EQ(place::PlaceEntry(type, h), first + h - 1) << type << " " << h;
      EXPECT_EQ(place::RemoveEntry(type, h), first + h - 1) << type << " " << h;
    }
  // Without a size class a town building has no price (the stops' entries
  // lie right below the shops').
  for (int type = 12; type <= 16; ++type) {
    EXPECT_EQ(place::PlaceEntry(type, 0), -1);
    EXPECT_EQ(place::PlaceEntry(type, 4), -1);
  }
}

TEST(PlacePrices, CarParksBuildAndRemoveByDifferentEntries) {
  for (int type : {18, 19, 20}) {
    EXPECT_EQ(place::PlaceEntry(type, 1), 36);
    EXPECT_EQ(place::PlaceEntry(type, 2), 38);
    EXPECT_EQ(place::PlaceEntry(type, 3), 37);
    EXPECT_EQ(place::PlaceEntry(type, 0), 36);
    EXPECT_EQ(place::RemoveEntry(type, 1), 36);
    EXPECT_EQ(place::RemoveEntry(type, 2), 37);
    EXPECT_EQ(place::RemoveEntry(type, 3), 38);
    EXPECT_EQ(place::RemoveEntry(type, 0), -1);
  }
}

TEST(PlacePrices, StopsAndMeasuresHaveOneEntryAndTheRestNone) {
  const int fixed[][2] = {{23, 13}, {24, 13}, {25, 14}, {26, 14}, {28, 15},
                          {33, 31}, {34, 33}, {35, 34}, {38, 35}, {39, 32}};
  for (const auto& [type, entry] : fixed) {
    EXPECT_EQ(place::PlaceEntry(type, 2), entry) << type;
    EXPECT_EQ(place::RemoveEntry(type, 2), entry) << type;
  }
  for (int type : {0, 1, 2, 4, 7, 8, 11, 17, 27, 29, 31, 36, 37, 40, 46, 52})
    EXPECT_EQ(place::PlaceEntry(type, 1), -1) << type;
  for (int type : {23, 24, 25, 26, 28}) EXPECT_TRUE(place::BooksOnPublicTransport(type)) << type;
  for (int type : {12, 18, 27, 33, 38, 39}) EXPECT_FALSE(place::BooksOnPublicTransport(type)) << type;
}

TEST(PlacePrices, ZonePricesNeedADensityOfTheirTable) {
  EXPECT_EQ(place::ZoneEntry(4, 1), 0);
  EXPECT_EQ(place::ZoneEntry(4, 2), 1);
  EXPECT_EQ(place::ZoneEntry(5, 1), 2);
  EXPECT_EQ(place::ZoneEntry(5, 2), 3);
  EXPECT_EQ(place::ZoneEntry(6, 1), 4);
  EXPECT_EQ(place::ZoneEntry(6, 3), 4);
  // A residential zone of density 0 would read the entry before the table.
  EXPECT_EQ(place::ZoneEntry(4, 0), -1);
  EXPECT_EQ(place::ZoneEntry(4, -3), -1);
  EXPECT_EQ(place::ZoneEntry(4, 3), -1);
  EXPECT_EQ(place::ZoneEntry(5, 0), -1);
  EXPECT_EQ(place::ZoneEntry(7, 1), -1);
}

struct PlaceCatalogue : testing::Test {
  void SetUp() override {
    CBuildingDataList::ClearRows();
    // type, size class, picture, width, depth
    const int rows[][5] = {{13, 1, 28716, 2, 2}, {13, 2, 16851, 3, 2}, {13, 3, 16918, 3, 3},
                           {18, 1, 39431, 2, 2}, {4, 1, 17021, 1, 1},  {4, 2, 17022, 1, 1}};
    for (const auto& r : rows) {
      PotentialType p;
      p.objectType = r[0];
      p.height = static_cast<uint16_t>(r[1]);
      p.resId = r[2];
      p.size.width = static_cast<uint16_t>(r[3]);
      p.size.depth = static_cast<uint16_t>(r[4]);
      ASSERT_EQ(CBuildingDataList::AddBuildingPotential(&p), 0);
    }
  }
  void TearDown() override { CBuildingDataList::ClearRows(); }
};

TEST_F(PlaceCatalogue, KindAndSizeFindTheirPictureAndNumber) {
  int nr = -2;
  EXPECT_EQ(place::ResIdByType(13, 2, &nr), 16851);
  EXPECT_EQ(nr, 1);
  EXPECT_EQ(place::ResIdByType(13, -1, &nr), 28716) << "any size: the first";
  EXPECT_EQ(nr, 0);
  EXPECT_EQ(place::ResIdByType(4, 2, &nr), 17022);
  EXPECT_EQ(nr, 5);
  EXPECT_EQ(place::ResIdByType(13, 4, &nr), 0);
  EXPECT_EQ(nr, -1);
  EXPECT_EQ(place::ResIdByType(12, 1, nullptr), 0);
  EXPECT_EQ(place::ObjectType(39431), 18);
  EXPECT_EQ(place::ObjectType(12345), 0);
  EXPECT_EQ(place::Height(place::Potential(16918)), 3);
  EXPECT_EQ(place::Potential(0), nullptr);
  EXPECT_EQ(place::ResIdByListNr(3), 39431);
  EXPECT_EQ(place::ResIdByListNr(6), 0);
}

TEST_F(PlaceCatalogue, TheFootprintTurnsWithTheBuilding) {
  int w = 0, d = 0;
  ASSERT_TRUE(place::Size(1, 0, w, d));
  EXPECT_EQ(w * 10 + d, 32);
  ASSERT_TRUE(place::Size(1, 1, w, d));
  EXPECT_EQ(w * 10 + d, 23);
  ASSERT_TRUE(place::Size(1, 2, w, d));
  EXPECT_EQ(w * 10 + d, 32);
  ASSERT_TRUE(place::Size(1, 3, w, d));
  EXPECT_EQ(w * 10 + d, 23);
  EXPECT_FALSE(place::Size(6, 0, w, d));
  EXPECT_FALSE(place::Size(-1, 0, w, d));
}

}  // namespace
