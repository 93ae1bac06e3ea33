// A level crossing on a track that is turned round: two tracks that join
// into one over a crossing reverse one of them, and the crossing must stay
// where the street crosses, drawn, linked and saved as one laid in the new
// direction would be.
#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

#include "iso/iso_info.h"
#include "iso/iso_object.h"
#include "iso/iso_scene.h"
#include "microsim/micro_cells.h"
#include "rail_crossing_check.h"
#include "rail_scene.h"
#include "support/test_support.h"

namespace {

using namespace railtest;
using junctiontest::Reached;
using zortest::ByteList;
using zortest::RecordFile;

// What a crossing is: its corners, extents, direction, anchor, the street
// cells beside the track and the micro-cell entry and exit.
using Shape = std::vector<int>;

Shape ShapeOf(CGrdCrossing& c) {
  short ux = 0, uy = 0, lx = 0, ly = 0, ax = 0, ay = 0, sx = 0, sy = 0, ex = 0, ey = 0;
  c.GetUpperStreetPos(ux, uy);
  c.GetLowerStreetPos(lx, ly);
  c.GetInsertPoint(ax, ay);
  c.GetMicroStartKoor(sx, sy);
  c.GetMicroEndKoor(ex, ey);
  return {c.GetStartX(), c.GetStartY(), c.GetEndX(), c.GetEndY(), c.GetDeltaX(), c.GetDeltaY(),
          c.GetMX(),     c.GetMY(),     c.GetRichtung().GetValue(), ux, uy, lx, ly, ax, ay, sx, sy, ex, ey,
          c.GetMicroStartX(), c.GetMicroStartY(), c.GetIsoGroup() ? c.GetIsoGroup()->GetStartPosX() : -1,
          c.GetIsoGroup() ? c.GetIsoGroup()->GetStartPosY() : -1};
}

// The cells a crossing covers.
std::set<std::pair<int, int>> CellsOf(CGrdCrossing& c) {
  std::set<std::pair<int, int>> out;
  for (int x = c.GetStartX() - 6; x <= c.GetStartX() + 6; ++x)
    for (int y = c.GetStartY() - 6; y <= c.GetStartY() + 6; ++y)
      if (c.PointHitExtraTeil(static_cast<short>(x), static_cast<short>(y))) out.insert({x, y});
  return out;
}

// A crossing laid on a track piece running in `pieceDir` (0 +x, 1 +y,
// 2 -x, 3 -y) over the street cell (x, y), as the rail network lays one.
CGrdCrossing Laid(int x, int y, int pieceDir, CStrassenType type) {
  CGrdCrossing c;
  c.Create(static_cast<short>(x), static_cast<short>(y), type);
  CIsoRichtung d((pieceDir + 3) & 3);
  c.SetRichtung(d, type);
  return c;
}

TEST(CrossingTurn, ATurnedCrossingIsTheCrossingLaidInTheOtherDirection) {
  RailWorld w;  // the map and the game's crossing groups
  for (TStrassenType type : {STRASSE_1, STRASSE_2, STRASSE_VIERSPURIG})
    for (int dir = 0; dir < 4; ++dir) {
      SCOPED_TRACE(testing::Message() << "type " << static_cast<int>(type) << " direction " << dir);
      CGrdCrossing c = Laid(40, 50, dir, type);
      const Shape laid = ShapeOf(c);
      const std::set<std::pair<int, int>> cells = CellsOf(c);
      ASSERT_FALSE(cells.empty());
      // The street cell lies between the street positions either side.
      short ux = 0, uy = 0, lx = 0, ly = 0;
      c.GetUpperStreetPos(ux, uy);
      c.GetLowerStreetPos(lx, ly);
      EXPECT_TRUE(dir % 2 == 0 ? ux == 40 && lx == 40 : uy == 50 && ly == 50) << ux << "/" << uy;
      c.Turn();
      CGrdCrossing other = Laid(40, 50, (dir + 2) & 3, type);
      EXPECT_EQ(ShapeOf(c), ShapeOf(other));
      // As many cells, the street cell and the track's second row at it
      // among them.
      EXPECT_EQ(CellsOf(c).size(), cells.size());
      EXPECT_TRUE(CellsOf(c).count({40, 50}));
      EXPECT_TRUE(CellsOf(c).count(dir % 2 == 0 ? std::pair{40, 51} : std::pair{41, 50}));
      c.Turn();
      EXPECT_EQ(ShapeOf(c), laid);
    }
}

// A narrow street's crossing saved while its picture took four cells along
// the track (one before the street, two after it along the track's run) is
// laid again when it is loaded: its cells, anchor and extent are those of
// the crossing laid now, whichever way the track runs.
TEST(CrossingTurn, ACrossingSavedFourCellsLongIsLoadedAsItIsLaidNow) {
  RailWorld w;  // the map and the game's crossing groups
  for (int dir = 0; dir < 4; ++dir) {
    SCOPED_TRACE(testing::Message() << "direction " << dir);
    CGrdCrossing laid = Laid(40, 50, dir, STRASSE_1);
    RecordFile f;
    ASSERT_EQ(laid.SerializeGameStore(f.f()), 0);
    ByteList bytes = f.Bytes();
    ASSERT_GE(bytes.size(), 31u);
    auto put16 = [&bytes](size_t at, int v) {
      bytes[at] = static_cast<uint8_t>(v & 0xff);
      bytes[at + 1] = static_cast<uint8_t>((v >> 8) & 0xff);
    };
    // Start, end, extent, step and anchor as the four-cell picture lay.
    const bool alongX = dir % 2 == 0, up = dir < 2;
    const int start = up ? 49 : 51, end = up ? 52 : 48, anchor = up ? start : end;
    put16(alongX ? 0 : 2, alongX ? start - 10 : start);
    put16(alongX ? 4 : 6, alongX ? end - 10 : end);
    put16(alongX ? 8 : 10, 4);
    bytes[alongX ? 25 : 26] = static_cast<uint8_t>(static_cast<int8_t>(end - start));
    put16(alongX ? 27 : 29, alongX ? anchor - 10 : anchor);
    CGrdCrossing loaded;
    RecordFile in(bytes);
    ASSERT_EQ(loaded.SerializeGameLoad(in.f()), 0);
    EXPECT_EQ(ShapeOf(loaded), ShapeOf(laid));
    EXPECT_EQ(CellsOf(loaded), CellsOf(laid));
    EXPECT_EQ(CellsOf(loaded).size(), 6u);
    // A crossing saved as it is laid now comes back as it was.
    RecordFile again;
    ASSERT_EQ(laid.SerializeGameStore(again.f()), 0);
    CGrdCrossing same;
    RecordFile read(again.Bytes());
    ASSERT_EQ(same.SerializeGameLoad(read.f()), 0);
    EXPECT_EQ(ShapeOf(same), ShapeOf(laid));
  }
}

// The map's ground around a cell: type, group picture and anchor per cell.
std::vector<int> GroundAround(RailWorld& w, int cx, int cy) {
  std::vector<int> out;
  for (int x = cx - 4; x <= cx + 4; ++x)
    for (int y = cy - 4; y <= cy + 4; ++y) {
      CIsoObjGroup* g = w.map->GetIsoInfo(x, y)->GetGroupObj(ISO_LAYER_GROUND);
      out.insert(out.end(), {w.GroundType(x, y), g ? g->GetResID() : 0, g ? g->GetStartPosX() : -1,
                             g ? g->GetStartPosY() : -1, w.GroundRes(x, y)});
    }
  return out;
}

// The frame's pixels in a box around the cell's screen point.
std::vector<uint16_t> PixelsAround(RailWorld& w, int cx, int cy) {
  isotest::Scene& s = *w.scene;
  s.map->SetIsoCenter(static_cast<short>(cx), static_cast<short>(cy));
  s.map->ResetCompleteSpriteRenderList();
  s.Clear();
  EXPECT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  int px = 0, py = 0;
  s.CalcIsoToXYAt(cx, cy, px, py);
  std::vector<uint16_t> out;
  for (int y = py - 40; y <= py + 40; ++y)
    for (int x = px - 60; x <= px + 60; ++x)
      out.push_back(x >= 0 && y >= 0 && x < s.surface->w && y < s.surface->h ? s.At(x, y) : uint16_t{1});
  return out;
}

// The street's cars cross the track both ways: its cells beside the
// crossing lead into each other.
void ExpectCarsCross(RailWorld& w, const int* ends, CGrdCrossing& c) {
  short ux = 0, uy = 0, lx = 0, ly = 0;
  c.GetUpperStreetPos(ux, uy);
  c.GetLowerStreetPos(lx, ly);
  CStrStrasse* street = w.StreetBetween(ends[0], ends[1], ends[2], ends[3]);
  ASSERT_NE(street, nullptr);
  CQnoMicroZelle* upper = street->GetMicroZellen(static_cast<unsigned short>(ux), static_cast<unsigned short>(uy));
  CQnoMicroZelle* lower = street->GetMicroZellen(static_cast<unsigned short>(lx), static_cast<unsigned short>(ly));
  ASSERT_NE(upper, nullptr);
  ASSERT_NE(lower, nullptr);
  EXPECT_TRUE(Reached(upper).count(lower));
  EXPECT_TRUE(Reached(lower).count(upper));
}

// A crossing is laid where the street's line meets the track, the same
// whichever was built first and whichever way the track was dragged.
TEST(CrossingTurn, ACrossingIsTheSameWhicheverCameFirst) {
  struct Case {
    int street[4];
    int track[4];
  };
  const Case cases[] = {{{10, 10, 10, 30}, {2, 20, 26, 20}}, {{10, 10, 10, 30}, {26, 20, 2, 20}},
                        {{10, 10, 30, 10}, {20, 2, 20, 26}}, {{10, 10, 30, 10}, {20, 26, 20, 2}}};
  for (TStrassenType type : {STRASSE_1, STRASSE_VIERSPURIG})
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "type " << static_cast<int>(type) << " track " << c.track[0] << "/"
                                      << c.track[1] << "-" << c.track[2] << "/" << c.track[3]);
      const int cx = c.street[0] == c.street[2] ? c.street[0] : c.track[0];
      const int cy = c.street[0] == c.street[2] ? c.track[1] : c.street[1];
      std::vector<Shape> shapes;
      std::vector<std::vector<uint16_t>> pixels;
      for (bool trackFirst : {false, true}) {
        RailWorld w;
        if (trackFirst) {
          ASSERT_EQ(w.Track(c.track[0], c.track[1], c.track[2], c.track[3]), STR_BUILD_OK);
        }
        ASSERT_EQ(w.Build(c.street[0], c.street[1], c.street[2], c.street[3], type), STR_BUILD_OK);
        if (!trackFirst) {
          ASSERT_EQ(w.Track(c.track[0], c.track[1], c.track[2], c.track[3]), STR_BUILD_OK);
        }
        ASSERT_EQ(w.Crossings().size(), 1u);
        CGrdCrossing& crossing = *w.Crossings()[0];
        shapes.push_back(ShapeOf(crossing));
        pixels.push_back(PixelsAround(w, cx, cy));
        // Laid from the street's line, with the street on both sides.
        short sx = 0, sy = 0;
        crossing.GetStreetCell(sx, sy);
        EXPECT_EQ(sx, cx);
        EXPECT_EQ(sy, cy);
        short ux = 0, uy = 0, lx = 0, ly = 0;
        crossing.GetUpperStreetPos(ux, uy);
        crossing.GetLowerStreetPos(lx, ly);
        EXPECT_EQ(w.GroundType(ux, uy), OBJ_STREET_PIECE);
        EXPECT_EQ(w.GroundType(lx, ly), OBJ_STREET_PIECE);
        ExpectCarsCross(w, c.street, *w.Crossings()[0]);
      }
      EXPECT_EQ(shapes[0], shapes[1]);
      EXPECT_EQ(pixels[0], pixels[1]);
    }
}

struct Join {
  const char* name;
  int street[4];
  int track[4];
  int branch[4];
  TStrassenType type;
  int cx, cy;  // the street cell under the crossing
};

// What a crossing left on a world: its shape, the map's ground and the
// pixels around it.
struct Seen {
  Shape shape;
  std::vector<int> ground;
  std::vector<uint16_t> pixels;
};

Seen See(RailWorld& w, int cx, int cy) {
  const std::vector<CGrdCrossing*> crossings = w.Crossings();
  EXPECT_EQ(crossings.size(), 1u);
  if (crossings.size() != 1) return {};
  return {ShapeOf(*crossings[0]), GroundAround(w, cx, cy), PixelsAround(w, cx, cy)};
}

void ExpectSame(const Seen& got, const Seen& want) {
  EXPECT_EQ(got.shape, want.shape);
  EXPECT_EQ(got.ground, want.ground);
  EXPECT_EQ(got.pixels, want.pixels);
}

TEST(CrossingTurn, TwoTracksJoinedOverALevelCrossingKeepIt) {
  g_ZorLoadVersion = 240;
  const Join joins[] = {
      {"along x", {10, 10, 10, 30}, {2, 20, 30, 20}, {20, 20, 20, 35}, STRASSE_1, 10, 20},
      {"along x, drawn west", {10, 10, 10, 30}, {30, 20, 2, 20}, {20, 20, 20, 35}, STRASSE_1, 10, 20},
      {"along x, branch towards it", {10, 10, 10, 30}, {30, 20, 2, 20}, {20, 35, 20, 20}, STRASSE_1, 10, 20},
      {"along y", {10, 10, 30, 10}, {20, 2, 20, 30}, {20, 20, 35, 20}, STRASSE_1, 20, 10},
      {"along y, drawn north", {10, 10, 30, 10}, {20, 30, 20, 2}, {20, 20, 35, 20}, STRASSE_1, 20, 10},
      {"four lanes along x", {10, 10, 10, 30}, {2, 20, 30, 20}, {20, 20, 20, 35}, STRASSE_VIERSPURIG, 10, 20},
      {"four lanes along y", {10, 10, 30, 10}, {20, 2, 20, 30}, {20, 20, 35, 20}, STRASSE_VIERSPURIG, 20, 10},
  };
  for (const Join& j : joins) {
    SCOPED_TRACE(j.name);
    ByteList bytes;
    Seen joined;
    int ends[4] = {};
    {
      RailWorld w;
      ASSERT_EQ(w.Build(j.street[0], j.street[1], j.street[2], j.street[3], j.type), STR_BUILD_OK);
      ASSERT_EQ(w.Track(j.track[0], j.track[1], j.track[2], j.track[3]), STR_BUILD_OK);
      ASSERT_EQ(w.Track(j.branch[0], j.branch[1], j.branch[2], j.branch[3]), STR_BUILD_OK);
      ASSERT_EQ(w.Crossings().size(), 1u);
      ASSERT_EQ(w.Tracks().size(), 3u);
      short ux = 0, uy = 0, lx = 0, ly = 0;
      w.Crossings()[0]->GetUpperStreetPos(ux, uy);
      w.Crossings()[0]->GetLowerStreetPos(lx, ly);

      CStrSchienen* branch = nullptr;
      auto at = [](CStrJunction* e, const int* xy) { return e->GetXPos() == xy[0] && e->GetYPos() == xy[1]; };
      for (CStrSchienen* t : w.Tracks())
        if ((at(t->GetStartJunction(), j.branch) && at(t->GetEndJunction(), j.branch + 2)) ||
            (at(t->GetEndJunction(), j.branch) && at(t->GetStartJunction(), j.branch + 2)))
          branch = t;
      ASSERT_NE(branch, nullptr);
      ASSERT_EQ(w.rails->DeleteStreet(branch), 0);
      ASSERT_EQ(w.Tracks().size(), 1u);

      // One crossing, beside the same street cells, and every meeting of
      // street and track has its crossing.
      const std::vector<CGrdCrossing*> crossings = w.Crossings();
      ASSERT_EQ(crossings.size(), 1u);
      short ux2 = 0, uy2 = 0, lx2 = 0, ly2 = 0;
      crossings[0]->GetUpperStreetPos(ux2, uy2);
      crossings[0]->GetLowerStreetPos(lx2, ly2);
      EXPECT_EQ(std::tie(ux2, uy2, lx2, ly2), std::tie(ux, uy, lx, ly));
      EXPECT_TRUE(MissedCrossings(w.net.get(), w.rails.get()).empty());
      ExpectCarsCross(w, j.street, *crossings[0]);

      CStrSchienen* track = w.Tracks()[0];
      ends[0] = track->GetStartJunction()->GetXPos();
      ends[1] = track->GetStartJunction()->GetYPos();
      ends[2] = track->GetEndJunction()->GetXPos();
      ends[3] = track->GetEndJunction()->GetYPos();
      joined = See(w, j.cx, j.cy);
      RecordFile f;
      ASSERT_EQ(w.net->SerializeGameStore(f.f()), 0);
      ASSERT_EQ(w.rails->SerializeGameStore(f.f()), 0);
      bytes = f.Bytes();
    }
    // Laid, drawn and linked as on a track built in its direction (and
    // crossed by the street afterwards: the crossing is laid from the
    // street's line, its first row for four lanes).
    {
      RailWorld w;
      ASSERT_EQ(w.Track(ends[0], ends[1], ends[2], ends[3]), STR_BUILD_OK);
      ASSERT_EQ(w.Build(j.street[0], j.street[1], j.street[2], j.street[3], j.type), STR_BUILD_OK);
      ExpectSame(joined, See(w, j.cx, j.cy));
    }
    // Saved and loaded, the crossing comes back as it stands.
    {
      RailWorld v;
      RecordFile in(bytes);
      ASSERT_EQ(v.net->SerializeGameLoad(in.f()), 0);
      ASSERT_EQ(v.rails->SerializeGameLoad(in.f()), 0);
      ExpectSame(See(v, j.cx, j.cy), joined);
    }
  }
  g_ZorLoadVersion = 0;
}

}  // namespace
