// The stop tool on a small hand-built town: which street and track cells
// can carry a stop, and where the stop under the cursor would stand.
#include "network/street_objects.h"
#include "select_scene.h"

namespace {

class StopUi : public seltest::SelectUi {
 public:
  using CUserInt::CheckBusStopTypeRichtungShow;
};

struct StopTown {
  railtest::RailWorld w;
  seltest::BookingHost booking;
  StopUi ui;
  CIsoWelt& map = *w.map;
  // Two-lane streets and a track crossed by one of them at (24, 25).
  StopTown() {
    delete CPreise::SetPreise();
    EXPECT_EQ(ui.OnCreate(nullptr, nullptr, nullptr, w.map, w.net.get()), 0);
    Street(10, 10, 10, 40, STRASSE_2);
    Track(24, 10, 24, 40);
    Street(10, 25, 30, 25, STRASSE_2);
  }
  void Street(int x1, int y1, int x2, int y2, TStrassenType type) {
    ASSERT_EQ(w.Build(x1, y1, x2, y2, type), STR_BUILD_OK);
  }
  void Track(int x1, int y1, int x2, int y2) {
    ASSERT_EQ(w.Track(x1, y1, x2, y2), STR_BUILD_OK);
  }
  CStreetObj* Piece(int x, int y) { return dynamic_cast<CStreetObj*>(map.GetIsoTileObject(x, y, ISO_LAYER_GROUND)); }
  int StreetCode(int x, int y) { return ui.CheckStreetForHstBuild(Piece(x, y), x, y); }
  int RailCode(int x, int y) { return ui.CheckRailForHstBuild(Piece(x, y), x, y); }
  // Moves the stop tool's cursor to the cell; whether the stop may stand.
  bool Show(int x, int y) {
    ui.CheckBusStopTypeRichtungShow(x, y);
    return CUserInt::selObj.busStopShowable != 0;
  }
};

TEST(StopTool, CellsNextToJunctionsEndsAndCrossingsCarryNoStop) {
  StopTown t;
  // Open street and open track.
  EXPECT_EQ(t.StreetCode(10, 18), 0);
  EXPECT_EQ(t.RailCode(24, 18), 0);
  // Next to a dead end: 7; next to a junction: 6; next to the level
  // crossing along the street: 4.
  EXPECT_EQ(t.StreetCode(10, 11), 7);
  EXPECT_EQ(t.StreetCode(10, 39), 7);
  EXPECT_EQ(t.StreetCode(10, 24), 6);
  EXPECT_EQ(t.StreetCode(10, 26), 6);
  EXPECT_NE(t.RailCode(24, 11), 0);
  EXPECT_EQ(t.StreetCode(23, 25), 4);
  // A cell that no street owns carries nothing.
  EXPECT_NE(t.ui.CheckStreetForHstBuild(nullptr, 10, 18), 0);
  EXPECT_NE(t.ui.CheckRailForHstBuild(nullptr, 24, 18), 0);
}

TEST(StopTool, TheCursorShowsASignOnlyWhereItFits) {
  StopTown t;
  auto& sel = CUserInt::selObj;
  t.ui.SetToolNr(5, 1, -1);
  ASSERT_EQ(sel.objectType, OBJ_BUSSTOP_SIGN);
  EXPECT_TRUE(t.Show(10, 18));
  EXPECT_EQ(sel.startX, 10);
  EXPECT_EQ(sel.endY, 18);
  EXPECT_EQ(sel.busStopOffsetX, 0);
  EXPECT_EQ(sel.busStopOffsetY, 0);
  EXPECT_FALSE(t.Show(10, 11)) << "next to the street's end";
  EXPECT_FALSE(t.Show(13, 18)) << "open land";
  EXPECT_FALSE(t.Show(-1, 18)) << "outside the world";
  EXPECT_FALSE(t.Show(24, 18)) << "a sign needs a street, not a track";

  // A cell that holds an object above the street takes no stop.
  auto* sign = new CWorldObj;
  sign->Create();
  sign->SetType(OBJ_BUSSTOP_SIGN);
  t.w.host.objects.insert(sign);
  t.map.SetIsoTileAt(10, 18, ISO_LAYER_UPPER, CIsoRichtung(0), isotest::kBuilding, sign);
  EXPECT_FALSE(t.Show(10, 18));
  EXPECT_TRUE(t.Show(10, 16));
}

}  // namespace
