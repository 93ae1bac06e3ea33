// The grid's coordinates, the view rectangles, scrolling, zoom and turn.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "iso/iso_screen_tiles.h"
#include "iso/iso_welt.h"
#include "iso_scene.h"
#include "worldbase/zor_world_host.h"
#include "worldbase/zor_world_obj.h"

namespace {

using isotest::Scene;

struct IsoViewTest : testing::Test {
  void SetUp() override {
    g_ZoomStufe = ISO_ZOOM_2;
    g_IsoRichtung = 0;
  }
  void TearDown() override {
    g_ZoomStufe = ISO_ZOOM_1;
    g_IsoRichtung = 0;
  }
};

std::set<std::pair<int, int>> Visit(IsoViewRectType r) {
  std::set<std::pair<int, int>> tiles;
  r.SetupTraversal(g_IsoRichtung);
  int x, y;
  while (r.GetNextTile(x, y)) tiles.insert({x, y});
  return tiles;
}

TEST_F(IsoViewTest, TileAndScreenConversionsAtZoom2) {
  Scene s;
  int x, y;
  s.map->CalcIsoToXY(1, 0, &x, &y);
  EXPECT_EQ(x, 22);
  EXPECT_EQ(y, 11);
  s.map->CalcXYToIso(22, 11, &x, &y);
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 0);
  // Rounding goes toward minus infinity.
  s.map->CalcXYToIso(-1, 0, &x, &y);
  EXPECT_EQ(x, -1);
  EXPECT_EQ(y, 0);
}

// The reference point of a tile converts back to the tile in rotation 0 and
// to a fixed neighbour in the other rotations, at every zoom.
TEST_F(IsoViewTest, ReferencePointRoundTripInEveryRotationAndZoom) {
  Scene s;
  const int neighbour[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
  for (TIsoZoomStufe z : {ISO_ZOOM_1, ISO_ZOOM_2, ISO_ZOOM_4})
    for (int r = 0; r < 4; ++r) {
      g_ZoomStufe = z;
      g_IsoRichtung = r;
      for (int u = -70; u <= 70; u += 7)
        for (int v = -70; v <= 70; v += 5) {
          int px, py, tx, ty;
          s.map->CalcIsoToXY(static_cast<short>(u), static_cast<short>(v), &px, &py);
          s.map->CalcXYToIso(static_cast<short>(px), static_cast<short>(py), &tx, &ty);
          ASSERT_EQ(tx, u + neighbour[r][0]) << "zoom " << z << " rot " << r << " tile " << u << "," << v;
          ASSERT_EQ(ty, v + neighbour[r][1]) << "zoom " << z << " rot " << r << " tile " << u << "," << v;
        }
    }
}

// Points just inside a tile's diamond belong to it: a pixel below the top
// corner in rotation 0 and the mirrored points in the other rotations.
TEST_F(IsoViewTest, ScreenPointInsideATileGivesThatTile) {
  Scene s;
  for (TIsoZoomStufe z : {ISO_ZOOM_1, ISO_ZOOM_2, ISO_ZOOM_4}) {
    g_ZoomStufe = z;
    g_IsoRichtung = 0;
    const int i = z / 2;
    int px, py, tx, ty;
    s.map->CalcIsoToXY(5, 9, &px, &py);
    s.map->CalcXYToIso(static_cast<short>(px), static_cast<short>(py + Tile_Size_YDiv2[i]), &tx, &ty);
    EXPECT_EQ(tx, 5);
    EXPECT_EQ(ty, 9);
    // One pixel above the top corner lies in the tile diagonally behind.
    s.map->CalcXYToIso(static_cast<short>(px), static_cast<short>(py - 1), &tx, &ty);
    EXPECT_EQ(tx, 4);
    EXPECT_EQ(ty, 8);
  }
}

// The tile under a screen offset, worked out in integers, is the one the
// rule's single-precision quotients give: over every offset near the view
// and a lattice over the whole 16-bit range, in every rotation (and an
// unknown one) and zoom, and at offsets where the exact quotient is a whole
// number that the floats land just below.
TEST_F(IsoViewTest, TheTileUnderAnOffsetIsTheFloatRulesEverywhere) {
  int checked = 0;
  auto same = [&](int r, int z, int x, int y) {
    int tx, ty, fx, fy;
    IsoScreenToTile(r, z, static_cast<short>(x), static_cast<short>(y), tx, ty);
    IsoScreenToTileFloat(r, z, static_cast<short>(x), static_cast<short>(y), fx, fy);
    ++checked;
    return tx == fx && ty == fy;
  };
  for (int r = 0; r <= 4; ++r)
    for (int z = 0; z < 3; ++z) {
      for (int x = -150; x <= 150; ++x)
        for (int y = -150; y <= 150; ++y) ASSERT_TRUE(same(r, z, x, y)) << r << " " << z << " " << x << "," << y;
      for (int x = -32768; x <= 32767; x += 251)
        for (int y = -32768; y <= 32767; y += 257) ASSERT_TRUE(same(r, z, x, y)) << r << " " << z << " " << x << "," << y;
      for (int x : {-32768, -32767, 32766, 32767})
        for (int y : {-32768, -32767, -1, 0, 1, 32766, 32767}) ASSERT_TRUE(same(r, z, x, y)) << r << " " << z;
    }
  EXPECT_GT(checked, 1500000);
  // (-32768 x 46 + 23560 x 92) / (92 x 46) is 156 exactly; the floats give
  // just below it, and so does the conversion.
  int tx, ty;
  IsoScreenToTile(0, 0, -32768, 23560, tx, ty);
  EXPECT_EQ(tx, 155);
  g_ZoomStufe = ISO_ZOOM_2;
  Scene s;
  s.map->CalcXYToIso(-32768, 5648, &tx, &ty);
  EXPECT_EQ(tx, -489) << "-488 exactly";
  IsoScreenToTile(0, 2, -32768, 6148, tx, ty);
  EXPECT_EQ(tx, -854) << "-853 exactly";
}

TEST_F(IsoViewTest, MovingLeftAtTheMapEdgeStaysInside) {
  Scene s;
  s.map->OnCreate();
  g_IsoRichtung = 0;
  s.map->SetIsoCenter(0, 127);
  s.map->OnMoveLeft();
  EXPECT_EQ(s.map->GetCenterX(), 0);
  EXPECT_EQ(s.map->GetCenterY(), 127);
  // Each rotation moves by its own tile step on the screen.
  g_IsoRichtung = 1;
  s.map->SetIsoCenter(60, 60);
  s.map->OnMoveLeft();
  EXPECT_EQ(s.map->GetCenterX(), 61);
  EXPECT_EQ(s.map->GetCenterY(), 61);
  s.map->OnMoveUp();
  EXPECT_EQ(s.map->GetCenterX(), 60);
  EXPECT_EQ(s.map->GetCenterY(), 62);
}

TEST_F(IsoViewTest, PixelOffsetTurnsIntoWholeTilesAtZoom1) {
  Scene s;
  s.map->OnCreate();
  g_ZoomStufe = ISO_ZOOM_1;
  s.map->SetIsoCenter(64, 64);

  s.map->SetPixelOffset(5, 3);
  EXPECT_EQ(s.map->CheckXYPixelIsoMove(), 0);
  EXPECT_EQ(s.map->GetCenterX(), 64);
  EXPECT_EQ(s.map->GetPixelOffsetX(), 5);

  s.map->SetPixelOffset(46, 23);
  EXPECT_EQ(s.map->CheckXYPixelIsoMove(), 1);
  EXPECT_EQ(s.map->GetCenterX(), 63);
  EXPECT_EQ(s.map->GetCenterY(), 64);
  EXPECT_EQ(s.map->GetPixelOffsetX(), 0);
  EXPECT_EQ(s.map->GetPixelOffsetY(), 0);

  s.map->SetPixelOffset(-1, 0);
  EXPECT_EQ(s.map->CheckXYPixelIsoMove(), 1);
  EXPECT_EQ(s.map->GetCenterX(), 64);
  EXPECT_EQ(s.map->GetCenterY(), 64);
  EXPECT_EQ(s.map->GetPixelOffsetX(), 45);
  EXPECT_EQ(s.map->GetPixelOffsetY(), 23);
}

// An offset far beyond the map is pulled back toward it by a bounded
// number of correction steps in every rotation (at most 100 per edge, one
// pixel per axis each); the rest becomes a move of the centre.
TEST_F(IsoViewTest, PixelOffsetFarOutsideTheMapIsBoundedInEveryRotation) {
  Scene s;
  s.map->OnCreate();
  for (int r = 0; r < 4; ++r) {
    g_IsoRichtung = r;
    for (int sign : {1, -1}) {
      s.map->SetIsoCenter(0, 0);
      s.map->SetPixelOffset(sign * 20000, sign * 15000);
      EXPECT_EQ(s.map->CheckXYPixelIsoMove(), 1);
      int px, py;
      s.map->CalcIsoToXY(static_cast<short>(s.map->GetCenterX()), static_cast<short>(s.map->GetCenterY()), &px, &py);
      const int corrX = sign * 20000 - s.map->GetPixelOffsetX() + px;
      const int corrY = sign * 15000 - s.map->GetPixelOffsetY() + py;
      EXPECT_LE(std::abs(corrX), 400) << "rot " << r;
      EXPECT_LE(std::abs(corrY), 400) << "rot " << r;
    }
  }
}

// Near the map's corner a drag that would show the outside is corrected:
// the screen centre stays inside the diamond.
TEST_F(IsoViewTest, PixelOffsetIsKeptInsideTheMapNearItsCorner) {
  Scene s;
  s.map->OnCreate();
  for (int r = 0; r < 4; ++r) {
    g_IsoRichtung = r;
    s.map->SetIsoCenter(0, 0);
    // A small push in every direction from tile (0, 0).
    for (int dx : {-30, 0, 30})
      for (int dy : {-20, 0, 20}) {
        s.map->SetIsoCenter(0, 0);
        s.map->SetPixelOffset(dx, dy);
        s.map->CheckXYPixelIsoMove();
        int cx, cy;
        s.map->CalcIsoToXY(static_cast<short>(s.map->GetCenterX()), static_cast<short>(s.map->GetCenterY()), &cx, &cy);
        int tx, ty;
        s.map->CalcXYToIso(static_cast<short>(cx - s.map->GetPixelOffsetX()),
                           static_cast<short>(cy - s.map->GetPixelOffsetY()), &tx, &ty);
        EXPECT_GE(tx, -1) << "rot " << r << " push " << dx << "," << dy;
        EXPECT_GE(ty, -1) << "rot " << r << " push " << dx << "," << dy;
      }
  }
}

TEST_F(IsoViewTest, ViewRectCoversTheScreenAndMarksExactlyItsTilesVisible) {
  Scene s(320, 240);
  s.map->OnCreate();
  for (int r = 0; r < 4; ++r) {
    g_IsoRichtung = r;
    s.map->SetIsoCenter(40, 50);
    const auto inRect = Visit(s.map->GetViewRect());
    // Every tile whose reference point is on the screen is in the rectangle.
    for (int x = 0; x < 128; ++x)
      for (int y = 0; y < 128; ++y) {
        int px, py;
        s.CalcIsoToXYAt(x, y, px, py);
        const bool onScreen = px >= 0 && px < 320 && py >= 0 && py < 240;
        if (onScreen) {
          ASSERT_TRUE(inRect.count({x, y})) << "rot " << r << " tile " << x << "," << y;
        }
        const bool visible = s.map->GetIsoInfo(x, y)->GetVisibleFlag();
        ASSERT_EQ(visible, inRect.count({x, y}) == 1) << "rot " << r << " tile " << x << "," << y;
      }
  }
  // Moving away unmarks the tiles the old rectangle held.
  g_IsoRichtung = 0;
  s.map->SetIsoCenter(40, 50);
  EXPECT_TRUE(s.map->GetIsoInfo(40, 50)->GetVisibleFlag());
  s.map->SetIsoCenter(110, 110);
  EXPECT_FALSE(s.map->GetIsoInfo(40, 50)->GetVisibleFlag());
  EXPECT_TRUE(s.map->GetIsoInfo(110, 110)->GetVisibleFlag());
}

// Puts a world object on ground at cell c.
void Place(Scene& s, std::pair<int, int> c, CWorldObj& o) {
  o.IncAllocCounter();
  s.map->SetIsoTileAt(c.first, c.second, ISO_LAYER_GROUND, CIsoRichtung(0), isotest::kGround, &o);
}

struct FadeRecorder : CWorldHost {
  FadeRecorder() { CWorldHost::Install(this); }
  ~FadeRecorder() override { CWorldHost::Install(nullptr); }
  int FadeOutSound(const char* name) override {
    faded.push_back(name);
    return 0;
  }
  std::vector<std::string> faded;
};

// A small scroll keeps most cells in view. Cells that leave are hidden with
// their objects; an object with one cell leaving and one staying stays
// visible; an object of the old view outside the new sound rectangle loses
// its sound mark without a fade, as hiding a cell has always dropped it.
TEST_F(IsoViewTest, AScrollHidesTheCellsThatLeaveAndKeepsWhatStays) {
  FadeRecorder sounds;
  Scene s(320, 240);
  s.CreateGround();
  s.map->SetIsoCenter(43, 50);
  const auto after = Visit(s.map->GetViewRect());
  const auto sound = Visit(s.map->GetSoundRect());
  s.map->SetIsoCenter(40, 50);
  const auto before = Visit(s.map->GetViewRect());
  const auto oldSound = Visit(s.map->GetSoundRect());
  std::vector<std::pair<int, int>> leaving, staying;
  for (const auto& c : before) {
    if (c.first < 0 || c.second < 0 || c.first >= ISO_MAP_SIZE || c.second >= ISO_MAP_SIZE) continue;
    if (!after.count(c))
      leaving.push_back(c);
    else if (!sound.count(c) && !oldSound.count(c))
      staying.push_back(c);
  }
  ASSERT_GE(leaving.size(), 2u);
  ASSERT_GE(staying.size(), 2u);
  CWorldObj spanning, lone, marked;
  spanning.SetSoundName("Span", 1);
  lone.SetSoundName("Lone", 1);
  marked.SetSoundName("Marked", 1);
  Place(s, leaving[0], spanning);
  Place(s, staying[0], spanning);
  Place(s, leaving[1], lone);
  Place(s, staying[1], marked);
  s.map->SetIsoCenter(40, 50);
  ASSERT_TRUE(spanning.IsVisible(0, 0) && lone.IsVisible(0, 0) && marked.IsVisible(0, 0));
  marked.SetSoundVisible(true);
  s.map->SetIsoCenter(43, 50);
  EXPECT_TRUE(spanning.IsVisible(0, 0));
  EXPECT_FALSE(lone.IsVisible(0, 0));
  EXPECT_TRUE(marked.IsVisible(0, 0));
  EXPECT_FALSE(marked.IsSoundVisible());
  EXPECT_EQ(std::count(sounds.faded.begin(), sounds.faded.end(), std::string("Marked")), 0);
  EXPECT_FALSE(s.map->GetIsoInfo(leaving[0].first, leaving[0].second)->GetVisibleFlag());
  EXPECT_TRUE(s.map->GetIsoInfo(staying[0].first, staying[0].second)->GetVisibleFlag());
  s.map.reset();
}

TEST_F(IsoViewTest, ViewAtTheMapCornerReachesOutsideTheGrid) {
  Scene s;
  s.map->OnCreate();
  s.map->SetIsoCenter(0, 0);
  const auto tiles = Visit(s.map->GetViewRect());
  int outside = 0;
  for (auto [x, y] : tiles) outside += (x < 0 || y < 0);
  EXPECT_GT(outside, 0);
  EXPECT_TRUE(tiles.count({0, 0}));
}

// Rows of the traversal run across the screen from top to bottom: in
// rotation 0 left to right.
TEST_F(IsoViewTest, TraversalVisitsScreenRowsTopToBottom) {
  Scene s(320, 240);
  s.map->OnCreate();
  for (int r = 0; r < 4; ++r) {
    g_IsoRichtung = r;
    s.map->SetIsoCenter(64, 64);
    IsoViewRectType walk = s.map->GetViewRect();
    walk.SetupTraversal(r);
    int x, y, lastY = -100000, lastX = 0, rows = 0;
    while (walk.GetNextTile(x, y)) {
      int px, py;
      s.CalcIsoToXYAt(x, y, px, py);
      if (walk.IsRowStart()) {
        ++rows;
        EXPECT_GE(py, lastY) << "rot " << r;
        lastY = py;
      } else {
        EXPECT_EQ(py, lastY) << "rot " << r;
        if (r == 0)
          EXPECT_GT(px, lastX);
        else
          EXPECT_LT(px, lastX);
      }
      lastX = px;
    }
    EXPECT_GT(rows, 10);
  }
}

TEST_F(IsoViewTest, SoundRectangleIsTheMiddleOfTheView) {
  Scene s;
  IsoViewRectType v;
  v.k0x = 0, v.k0y = 0, v.k1x = 10, v.k1y = 0, v.k2x = 0, v.k2y = 10, v.k3x = 10, v.k3y = 10;
  // The derived rectangles come from the view rectangle's corners.
  s.map->OnCreate();
  IsoViewRectType& view = const_cast<IsoViewRectType&>(s.map->GetViewRect());
  view = v;
  s.map->CalcSoundRect();
  const IsoViewRectType& snd = s.map->GetSoundRect();
  EXPECT_EQ(std::make_pair(snd.k0x, snd.k0y), std::make_pair(3, 3));
  EXPECT_EQ(std::make_pair(snd.k1x, snd.k1y), std::make_pair(3, 6));
  EXPECT_EQ(std::make_pair(snd.k2x, snd.k2y), std::make_pair(6, 3));
  EXPECT_EQ(std::make_pair(snd.k3x, snd.k3y), std::make_pair(6, 6));
  // A difference of 100 times 0.35 is cut to 34.
  view.k1x = 100, view.k2y = 100, view.k3x = 100, view.k3y = 100;
  s.map->CalcSoundRect();
  EXPECT_EQ(s.map->GetSoundRect().k0x, 34);
  // -0.3 times 100 ends just above -30 and is cut toward zero.
  s.map->CalcMicroViewRect();
  EXPECT_EQ(s.map->GetMicroViewRect().k0x, -29);
  EXPECT_EQ(s.map->GetMicroViewRect().k3y, 130);
}

TEST_F(IsoViewTest, MouseBeyondTheMapCornerIsClamped) {
  Scene s(320, 240);
  s.map->OnCreate();
  s.map->SetIsoCenter(0, 0);
  int x = -5, y = -5;
  // Far up on the screen lies beyond tile (0, 0) in rotation 0.
  EXPECT_EQ(s.map->MouseKoorToIsoKoor(160, 0, &x, &y), 1);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(s.map->GetMouseTileX(), 0);
  // The screen centre is the view centre.
  s.map->SetIsoCenter(30, 40);
  EXPECT_EQ(s.map->MouseKoorToIsoKoor(160, 120, &x, &y), 0);
  EXPECT_EQ(x, 30);
  EXPECT_EQ(y, 40);
}

TEST_F(IsoViewTest, ZoomStepsBetweenTheThreeLevels) {
  Scene s;
  s.CreateGround();
  EXPECT_EQ(g_ZoomStufe, ISO_ZOOM_2);
  EXPECT_EQ(s.map->OnZoomOut(), 0);
  EXPECT_EQ(g_ZoomStufe, ISO_ZOOM_1);
  EXPECT_EQ(s.map->OnZoomOut(), 1);
  EXPECT_EQ(g_ZoomStufe, ISO_ZOOM_1);
  EXPECT_EQ(s.map->OnZoomIn(), 0);
  EXPECT_EQ(g_ZoomStufe, ISO_ZOOM_2);
  EXPECT_EQ(s.map->OnZoomIn(), 0);
  EXPECT_EQ(g_ZoomStufe, ISO_ZOOM_4);
  EXPECT_EQ(s.map->OnZoomIn(), 1);
  EXPECT_EQ(g_ZoomStufe, ISO_ZOOM_4);
  EXPECT_EQ(s.map->OnZoomOut(), 0);
  EXPECT_EQ(g_ZoomStufe, ISO_ZOOM_2);
}

// Turning rebuilds the render lists for the new drawing direction: the
// block's sprite follows the rotation.
TEST_F(IsoViewTest, TurningRightFourTimesComesBackAndRebuildsTheLists) {
  Scene s;
  s.CreateGround();
  s.map->SetIsoTileAt(64, 64, ISO_LAYER_GROUND, CIsoRichtung(1), isotest::kBuilding, nullptr);
  const int start = g_IsoRichtung;
  for (int i = 1; i <= 4; ++i) {
    s.map->UserIntTurnRight();
    EXPECT_EQ(g_IsoRichtung, (start + i) % 4);
    ASSERT_TRUE(s.map->MakeSpriteRenderList(64, 64));
    EXPECT_EQ(static_cast<uint32_t>(CIsoWelt::m_SpriteList[64][64][4].id), isotest::BlockSprite(1, (1 + i) % 4));
  }
  s.map->UserIntTurnLeft();
  EXPECT_EQ(g_IsoRichtung, 3);
}

TEST_F(IsoViewTest, ModeChangeSetsThePanningBand) {
  Scene s(800, 600);
  s.map->OnCreate();
  s.map->RefreshAfterModeChange();
  EXPECT_EQ(panning_x_max, 760);
  EXPECT_EQ(panning_y_max, 450);
}

// A zoom in either direction leaves exactly the cells of the new level's
// view shown, and marks for sound exactly the objects of its sound
// rectangle, also when objects were marked by hand outside it (one that
// comes into view among them). An object
// that stays in the sound rectangle has its sound faded once per zoom, as
// working out the view again has always done.
TEST_F(IsoViewTest, AZoomShowsExactlyTheNewViewAndMarksItsSoundRectangle) {
  FadeRecorder sounds;
  Scene s(320, 240);
  s.CreateGround();
  s.map->SetIsoCenter(64, 64);
  const auto smallView = Visit(s.map->GetViewRect());
  s.map->OnZoomIn();
  const auto largeView = Visit(s.map->GetViewRect());
  const auto largeSound = Visit(s.map->GetSoundRect());
  s.map->OnZoomOut();
  const auto smallSound = Visit(s.map->GetSoundRect());
  ASSERT_EQ(Visit(s.map->GetViewRect()), smallView);
  // A cell seen only at level 4, one in view at both but outside both sound
  // rectangles, and one at the middle of both sound rectangles.
  std::pair<int, int> far{-1, -1}, quiet{-1, -1};
  for (const auto& c : largeView) {
    if (c.first < 0 || c.second < 0 || c.first >= ISO_MAP_SIZE || c.second >= ISO_MAP_SIZE) continue;
    if (!smallView.count(c) && !largeSound.count(c)) far = c;
    else if (!smallSound.count(c) && !largeSound.count(c)) quiet = c;
  }
  ASSERT_GE(far.first, 0);
  ASSERT_GE(quiet.first, 0);
  ASSERT_TRUE(smallSound.count({64, 64}) && largeSound.count({64, 64}));
  CWorldObj farObj, quietObj, middle;
  farObj.SetSoundName("Far", 1);
  quietObj.SetSoundName("Quiet", 1);
  middle.SetSoundName("Middle", 1);
  Place(s, far, farObj);
  Place(s, quiet, quietObj);
  Place(s, {64, 64}, middle);
  s.map->SetIsoCenter(64, 64);
  auto shownAreTheView = [&](const std::set<std::pair<int, int>>& view) {
    for (int x = 0; x < ISO_MAP_SIZE; ++x)
      for (int y = 0; y < ISO_MAP_SIZE; ++y)
        if (s.map->GetIsoInfo(x, y)->GetVisibleFlag() != (view.count({x, y}) == 1)) return false;
    return true;
  };
  for (int round = 0; round < 2; ++round) {
    quietObj.SetSoundVisible(true);
    farObj.SetSoundVisible(true);
    sounds.faded.clear();
    s.map->UserIntZoomIn();
    ASSERT_EQ(g_ZoomStufe, ISO_ZOOM_4);
    EXPECT_TRUE(shownAreTheView(largeView));
    EXPECT_TRUE(farObj.IsVisible(0, 0));
    EXPECT_TRUE(middle.IsSoundVisible());
    EXPECT_FALSE(quietObj.IsSoundVisible());
    EXPECT_FALSE(farObj.IsSoundVisible());
    EXPECT_EQ(std::count(sounds.faded.begin(), sounds.faded.end(), std::string("Middle")), 2);
    quietObj.SetSoundVisible(true);
    s.map->UserIntZoomOut();
    ASSERT_EQ(g_ZoomStufe, ISO_ZOOM_2);
    EXPECT_TRUE(shownAreTheView(smallView));
    EXPECT_FALSE(farObj.IsVisible(0, 0));
    EXPECT_TRUE(quietObj.IsVisible(0, 0));
    EXPECT_TRUE(middle.IsSoundVisible());
    EXPECT_FALSE(quietObj.IsSoundVisible());
  }
  s.map.reset();
}

// A zoom re-applies the overlay filter after rebuilding the render lists;
// a turn rebuilds them plain.
struct AlwaysFilter : CWorldObj {
  bool IsFilter() override { return true; }
};

TEST_F(IsoViewTest, ZoomKeepsTheOverlayAndATurnDropsIt) {
  Scene s;
  s.CreateGround();
  AlwaysFilter obj;
  obj.SetFilterResID(isotest::kFilter);
  s.map->SetIsoTileAt(64, 64, ISO_LAYER_GROUND, CIsoRichtung(0), isotest::kBuilding, &obj);
  s.map->SetFilter();
  CIsoInfo* cell = s.map->GetIsoInfo(64, 64);
  auto showsFilter = [&] {
    return cell->GetRenderList()->GetCount() == 1 &&
           cell->GetRenderList()->GetAt(0).object->GetResID() == isotest::kFilter;
  };
  ASSERT_TRUE(showsFilter());
  s.map->UserIntZoomIn();
  EXPECT_EQ(g_ZoomStufe, ISO_ZOOM_4);
  EXPECT_TRUE(showsFilter());
  s.map->UserIntTurnRight();
  EXPECT_FALSE(showsFilter());
  EXPECT_EQ(cell->GetRenderList()->GetCount(), 2);
  // A refused zoom changes nothing.
  s.map->SetFilter();
  s.map->UserIntZoomIn();
  EXPECT_TRUE(showsFilter());
}

// After a turn a cell makes its list when it is next read: a layer merged
// into it in between is in the list, every item in the new direction's order,
// the same as a list made at once; an overlay list made in between is kept.
TEST_F(IsoViewTest, ListsAfterATurnAreMadeWhenReadWithTheChangesInBetween) {
  // A tile whose two layers swap their order with the direction.
  constexpr int kSwapping = 720;
  auto blobs = isotest::SceneBlobs();
  zorgen::IsoTileContent content(2);
  for (int zi = 0; zi < 3; ++zi)
    for (int r = 0; r < 4; ++r)
      for (int l = 0; l < 2; ++l) {
        zorgen::IsoTileLayer& e = content.At(zi, r, l);
        e.spriteId = isotest::BlockSprite(zi, r);
        e.z = static_cast<uint8_t>(l == 0 ? r : 3 - r);
      }
  blobs[kSwapping] = zorgen::WriteIsoTile(content);
  Scene s(320, 240, blobs);
  s.CreateGround();
  AlwaysFilter obj;
  obj.SetFilterResID(isotest::kFilter);
  s.map->SetIsoTileAt(64, 64, ISO_LAYER_GROUND, CIsoRichtung(1), kSwapping, nullptr);
  s.map->SetIsoTileAt(70, 70, ISO_LAYER_GROUND, CIsoRichtung(0), isotest::kBuilding, &obj);
  s.map->UserIntTurnRight();
  ASSERT_EQ(s.map->GetIsoInfo(64, 64)->MergeLayerFromIsoTile(kSwapping, CIsoRichtung(2), ISO_LAYER_GROUND), 0);
  s.map->GetIsoInfo(70, 70)->SetFilter();
  struct Entry {
    int z, layer, id;
    bool operator==(const Entry&) const = default;
  };
  auto entries = [](CIsoInfo* cell) {
    std::vector<Entry> out;
    SortedList* list = cell->GetRenderList();
    for (int i = 0; list && i < list->GetCount(); ++i)
      out.push_back({list->GetAt(i).z, list->GetAt(i).layer, list->GetAt(i).object->GetResID()});
    return out;
  };
  for (int turn = 0; turn < 2; ++turn) {
    CIsoInfo* cell = s.map->GetIsoInfo(64, 64);
    const std::vector<Entry> read = entries(cell);
    cell->InsertTilesInNewRenderList();
    EXPECT_EQ(read, entries(cell)) << "turn " << turn;
    EXPECT_EQ(read.size(), 4u);
    ASSERT_TRUE(s.map->MakeSpriteRenderList(64, 64));
    CIsoInfo* filtered = s.map->GetIsoInfo(70, 70);
    if (turn == 0) {
      ASSERT_EQ(filtered->GetRenderList()->GetCount(), 1);
      EXPECT_EQ(filtered->GetRenderList()->GetAt(0).object->GetResID(), isotest::kFilter);
    } else {
      EXPECT_EQ(filtered->GetRenderList()->GetCount(), 2);
    }
    s.map->UserIntTurnLeft();
  }
}

}  // namespace
