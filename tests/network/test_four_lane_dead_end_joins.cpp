// Where a four-lane street may be continued from beside its dead end: the
// street tool offers the cell just before a dead end on the street's centre
// line as a join only while the street goes on beyond that cell.
#include <gtest/gtest.h>

#include "junction_scene.h"

namespace {

using junctiontest::GameData;
using junctiontest::World;

// Whether the cell lies before a dead end of the street, and whether the
// street goes on long enough beyond it for a join there.
struct Join {
  bool beside, joinable;
};

Join At(CStrStrasse* s, int x, int y) {
  const auto cx = static_cast<short>(x), cy = static_cast<short>(y);
  return {s->PointBeforEndStueckDAndStreetLong(cx, cy, false), s->PointBeforEndStueckDAndStreetLong(cx, cy, true)};
}

TEST(FourLaneDeadEnd, TheCellBeforeItIsAJoinOnlyWhileTheStreetGoesOnBeyondIt) {
  // Along x the second column lies at y + 1, along y at x + 1.
  struct Case {
    int x1, y1, x2, y2;  // the drag
    int bx, by;          // the cell before the far dead end
    bool joinable;
  };
  for (const Case& c : {Case{10, 10, 20, 10, 19, 10, true}, Case{10, 10, 10, 20, 10, 19, true},
                        Case{10, 10, 13, 10, 12, 10, false}, Case{10, 10, 10, 13, 10, 12, false}}) {
    SCOPED_TRACE(testing::Message() << c.x1 << "/" << c.y1 << " - " << c.x2 << "/" << c.y2);
    World w{GameData{}};
    ASSERT_EQ(w.Build(c.x1, c.y1, c.x2, c.y2, STRASSE_VIERSPURIG), STR_BUILD_OK);
    CStrStrasse* s = w.StreetBetween(c.x1, c.y1, c.x2, c.y2);
    ASSERT_NE(s, nullptr);
    const Join before = At(s, c.bx, c.by);
    EXPECT_TRUE(before.beside);
    EXPECT_EQ(before.joinable, c.joinable);
    const bool alongX = c.y1 == c.y2;
    // Two cells before the dead end, beside the street or on the dead end
    // itself, nothing is offered.
    for (auto [x, y] : {std::pair{c.bx - alongX, c.by - !alongX}, std::pair{c.bx - !alongX, c.by - alongX},
                        std::pair{c.x2, c.y2}}) {
      const Join none = At(s, x, y);
      EXPECT_FALSE(none.beside) << x << "/" << y;
      EXPECT_FALSE(none.joinable) << x << "/" << y;
    }
  }
}

TEST(FourLaneDeadEnd, AOneTileStreetOffersNoSuchJoin) {
  for (auto type : {STRASSE_1, STRASSE_2, STRASSE_EINBAHN}) {
    World w{GameData{}};
    ASSERT_EQ(w.Build(10, 10, 20, 10, type), STR_BUILD_OK);
    CStrStrasse* s = w.StreetBetween(10, 10, 20, 10);
    ASSERT_NE(s, nullptr);
    for (int x = 11; x < 20; ++x) {
      EXPECT_FALSE(At(s, x, 10).beside) << x;
      EXPECT_FALSE(At(s, x, 10).joinable) << x;
    }
  }
}

}  // namespace
