// A frame drawn from the same view and settings as the last one, with no
// change to the per-cell caches since, is drawn again from the last frame's
// recorded steps; anything that could change the frame draws it afresh,
// and what changes from frame to frame is still done every frame.
#include <gtest/gtest.h>

#include <SDL.h>

#include <vector>

#include "framework/qno_display.h"
#include "framework/qno_sprite.h"
#include "iso/iso_sel_obj.h"
#include "iso/iso_vehicle.h"
#include "iso/iso_welt.h"
#include "iso_scene.h"
#include "worldbase/zor_world_obj.h"

namespace {

using namespace isotest;

struct FrameReplayTest : testing::Test {
  void TearDown() override {
    g_ZoomStufe = ISO_ZOOM_1;
    g_IsoRichtung = 0;
  }
};

void Buildings(Scene& s) {
  s.CreateGround();
  for (int x = 58; x < 70; x += 2)
    for (int y = 58; y < 70; y += 3) s.map->SetIsoTileAt(x, y, ISO_LAYER_GROUND, CIsoRichtung(x & 3), kBuilding, nullptr);
  s.map->SetIsoTileAt(63, 66, ISO_LAYER_GROUND, CIsoRichtung(0), kFlower, nullptr);
  s.map->SetIsoCenter(64, 64);
  s.map->ResetCompleteSpriteRenderList();
}

// Draws frames until one is drawn from the recorded steps; false when none
// is within 40 frames.
bool SettleUntilReplayed(Scene& s) {
  const uint32_t before = s.map->GetReplayedFrameCount();
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
    if (s.map->GetReplayedFrameCount() > before) return true;
  }
  return false;
}

struct Drawn {
  uint32_t frame, plain;
  bool replayed;
};
// The next frame on a cleared screen, whether it was replayed, and the
// plain renderer's frame of the same view.
Drawn DrawNext(Scene& s) {
  const uint32_t replays = s.map->GetReplayedFrameCount();
  s.Clear();
  EXPECT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  const uint32_t frame = Checksum(s.surface);
  const bool replayed = s.map->GetReplayedFrameCount() > replays;
  s.Clear();
  EXPECT_EQ(s.map->Render(&s.display), 0);
  return {frame, Checksum(s.surface), replayed};
}

TEST_F(FrameReplayTest, ASettledFrameIsDrawnAgainAsItWas) {
  for (TIsoZoomStufe zoom : {ISO_ZOOM_1, ISO_ZOOM_2, ISO_ZOOM_4}) {
    Scene s(320, 240);
    g_ZoomStufe = zoom;
    Buildings(s);
    ASSERT_TRUE(SettleUntilReplayed(s)) << zoom;
    const uint32_t hidden = s.map->GetHiddenSpriteCount();
    const Drawn d = DrawNext(s);
    EXPECT_TRUE(d.replayed);
    EXPECT_EQ(d.frame, d.plain) << zoom;
    EXPECT_EQ(s.map->GetHiddenSpriteCount(), hidden) << "the recorded frame's count";
    EXPECT_GT(s.Count(kBlockColour[0]), 0);
  }
}

TEST_F(FrameReplayTest, ChangesToTheMapOrTheViewDrawTheFrameAfresh) {
  Scene s(320, 240);
  Buildings(s);
  ASSERT_TRUE(SettleUntilReplayed(s));
  // A new building in the middle of the view.
  s.map->SetIsoTileAt(64, 64, ISO_LAYER_GROUND, CIsoRichtung(2), kBuilding, nullptr);
  Drawn d = DrawNext(s);
  EXPECT_FALSE(d.replayed);
  EXPECT_EQ(d.frame, d.plain);
  EXPECT_GT(s.Count(kBlockColour[2]), 0);

  // One cell's cache dropped alone.
  ASSERT_TRUE(SettleUntilReplayed(s));
  s.map->InvalidateSpriteRenderList(64, 64);
  EXPECT_FALSE(DrawNext(s).replayed);

  // The view moved by a pixel, then turned.
  ASSERT_TRUE(SettleUntilReplayed(s));
  s.map->SetPixelOffset(s.map->GetPixelOffsetX() + 1, s.map->GetPixelOffsetY());
  d = DrawNext(s);
  EXPECT_FALSE(d.replayed);
  EXPECT_EQ(d.frame, d.plain);
  ASSERT_TRUE(SettleUntilReplayed(s));
  s.map->UserIntTurnRight();
  d = DrawNext(s);
  EXPECT_FALSE(d.replayed);
  EXPECT_EQ(d.frame, d.plain);

  // Another map made over the shared caches.
  ASSERT_TRUE(SettleUntilReplayed(s));
  { CIsoWelt other(nullptr, &s.resources, &s.display); }
  d = DrawNext(s);
  EXPECT_FALSE(d.replayed);
  EXPECT_EQ(d.frame, d.plain);
}

TEST_F(FrameReplayTest, AnotherBufferOrClipRectangleDrawsAfresh) {
  Scene s(320, 240);
  Buildings(s);
  ASSERT_TRUE(SettleUntilReplayed(s));
  QnoRenderBuffer* buffer = s.display.GetRenderBuffer();
  buffer->SetClipRect(10, 10, 200, 150);
  s.Clear();
  const uint32_t replays = s.map->GetReplayedFrameCount();
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  EXPECT_EQ(s.map->GetReplayedFrameCount(), replays);
  EXPECT_EQ(s.At(5, 5), 0) << "outside the clip rectangle";
  EXPECT_EQ(s.At(250, 200), 0);
  buffer->SetClipRect(0, 0, 320, 240);
  const Drawn d = DrawNext(s);
  EXPECT_FALSE(d.replayed);
  EXPECT_EQ(d.frame, d.plain);
}

// Whatever the world objects and cars draw may differ every frame: it is
// drawn in replayed frames too.
struct CountingObj : CWorldObj {
  int renders = 0;
  int Render(QnoDisplay*, unsigned short, unsigned short, int, int, TIsoZoomStufe) override {
    ++renders;
    return 0;
  }
};
struct SecondCar : CIsoVehicle {
  int draws = 0;
  void RenderSecondPosition(QnoDisplay*, int, int) override { ++draws; }
};

TEST_F(FrameReplayTest, WorldObjectsAndCarsAreDrawnInEveryFrame) {
  Scene s(320, 240);
  g_ZoomStufe = ISO_ZOOM_2;
  Buildings(s);
  CountingObj obj;
  s.map->SetIsoTileAt(64, 64, ISO_LAYER_GROUND, CIsoRichtung(0), kGround, &obj);
  SecondCar car;
  CIsoWelt::m_CarSecondRender[64][64][1] = &car;
  ASSERT_TRUE(SettleUntilReplayed(s));
  const int renders = obj.renders, draws = car.draws;
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(DrawNext(s).replayed);
  EXPECT_EQ(obj.renders, renders + 3 + 3) << "three replayed frames and three plain ones";
  EXPECT_EQ(car.draws, draws + 3) << "the plain renderer draws no second positions";
  CIsoWelt::m_CarSecondRender[64][64][1] = nullptr;
}

// An object that draws a solid square near its cell, moved each frame
// like a car, over the cell behind a building so that the building's block
// hides part of it.
constexpr uint16_t kMoverColour = Rgb565(10, 250, 250);
struct Mover : CWorldObj {
  Scene* scene = nullptr;
  int cellX = 64, cellY = 64;
  int shift = 0;
  Bytes sprite = zorgen::WriteSprite(zorgen::Image16(24, 24, kMoverColour, 1));
  int Render(QnoDisplay* display, unsigned short, unsigned short, int, int, TIsoZoomStufe) override {
    int sx, sy;
    scene->TilePoint(cellX, cellY, sx, sy);
    CIsoSprite::RenderClipped(display->GetRenderBuffer(), sprite.data(), sx - 12 + shift, sy + shift / 2);
    return 0;
  }
};

TEST_F(FrameReplayTest, MovingObjectsAndChangedViewsMatchAFrameDrawnAfresh) {
  Scene s(320, 240);
  g_ZoomStufe = ISO_ZOOM_2;
  Buildings(s);
  Mover mover;
  mover.scene = &s;
  s.map->SetIsoTileAt(64, 63, ISO_LAYER_GROUND, CIsoRichtung(0), kGround, &mover);
  int partlyHidden = 0;
  // The frames right after a change are drawn afresh; once the frame is
  // settled again, each one replayed (from its packed runs after the
  // first) while the square moves shows what a fresh one does.
  auto moveAndCompare = [&](const char* what) {
    for (int i = 0; i < 2; ++i) {
      mover.shift = 5 - 9 * i;
      const Drawn d = DrawNext(s);
      EXPECT_EQ(d.frame, d.plain) << what << " unsettled frame " << i;
    }
    ASSERT_TRUE(SettleUntilReplayed(s)) << what;
    for (int i = 0; i < 5; ++i) {
      mover.shift = (i * 7) % 23 - 11;
      const Drawn d = DrawNext(s);
      EXPECT_TRUE(d.replayed) << what << " frame " << i;
      EXPECT_EQ(d.frame, d.plain) << what << " frame " << i;
      const int shown = s.Count(kMoverColour);
      partlyHidden += shown > 0 && shown < 24 * 24;
    }
  };
  moveAndCompare("moving");
  EXPECT_GT(partlyHidden, 0) << "the building hides part of the square";
  s.map->SetIsoTileAt(65, 63, ISO_LAYER_GROUND, CIsoRichtung(1), kBuilding, nullptr);
  moveAndCompare("a cell changed");
  s.map->SetPixelOffset(s.map->GetPixelOffsetX() + 5, s.map->GetPixelOffsetY() - 3);
  moveAndCompare("scrolled");
  s.map->UserIntTurnRight();
  moveAndCompare("turned");
  s.map->UserIntZoomIn();
  moveAndCompare("zoomed in");
  s.map->UserIntZoomOut();
  s.map->UserIntZoomOut();
  moveAndCompare("zoomed out");
}

// The street tool's marks and the district view ask the host about every
// cell: those frames are always drawn afresh.
struct ToolHost : CIsoHost {
  selObjType selection;
  int marked = 64;
  bool districts = false;
  bool overlay = false;
  int GetFilter(int n) override { return (districts || overlay) && n == 2; }
  bool IsDebugInfo() override { return districts; }
  selObjType* GetSelection() override { return &selection; }
  unsigned char GetTileMask(int x, int y) override { return x == marked && y == 64 ? 6 : 0; }
};

TEST_F(FrameReplayTest, ToolMarksAndTheDistrictViewAreNeverReplayed) {
  auto blobs = SceneBlobs();
  constexpr uint16_t kMarkColour = Rgb565(250, 0, 250);
  for (int zi = 0; zi < 3; ++zi) {
    blobs[670 + zi] = DiamondSprite(zi, Rgb565(250, 250, 0));
    blobs[676 + zi] = DiamondSprite(zi, kMarkColour);
  }
  blobs[CIsoWelt::kHighlightTile] = MakeTile({FlatLayer([](int zi) { return 676u + zi; }, 0)});
  blobs[CIsoWelt::kDistrictTileEven] = MakeTile({FlatLayer([](int zi) { return 670u + zi; }, 0)});
  blobs[CIsoWelt::kDistrictTileOdd] = blobs[CIsoWelt::kDistrictTileEven];
  Scene s(320, 240, blobs);
  ToolHost host;
  s.UseHost(&host);
  Buildings(s);
  host.selection.tool = 2;
  for (int i = 0; i < 12; ++i) ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  EXPECT_EQ(s.map->GetReplayedFrameCount(), 0u);
  EXPECT_GT(s.Count(kMarkColour), 0);
  const uint32_t onBuilding = Checksum(s.surface);
  // The mask moves to an open cell without any change to the map.
  host.marked = 65;
  s.Clear();
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  EXPECT_GT(s.Count(kMarkColour), 0);
  EXPECT_NE(Checksum(s.surface), onBuilding) << "the mark moved";

  // Back to another tool: the frame is the map's again, though nothing of
  // the map changed while the marks were drawn.
  host.selection.tool = 1;
  const Drawn after = DrawNext(s);
  EXPECT_EQ(after.frame, after.plain);
  ASSERT_TRUE(SettleUntilReplayed(s));
  // One frame of marks on the settled map, then none again.
  host.selection.tool = 2;
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  host.selection.tool = 1;
  const Drawn unmarked = DrawNext(s);
  EXPECT_EQ(unmarked.frame, unmarked.plain);

  // The overlay filter alone hides the vehicles but draws the buildings.
  host.overlay = true;
  ASSERT_TRUE(SettleUntilReplayed(s));
  s.Clear();
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  EXPECT_GT(s.Count(kBlockColour[0]), 0);

  host.districts = true;
  const uint32_t replays = s.map->GetReplayedFrameCount();
  for (int i = 0; i < 4; ++i) ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  EXPECT_EQ(s.map->GetReplayedFrameCount(), replays);
  EXPECT_EQ(s.Count(kBlockColour[0]), 0) << "district floors instead of buildings";
}

// On a screen that keeps its pixels a replayed frame draws only where the
// screen changed since the last one. A frame drawn afresh in between (here
// one with the street tool's marks) draws over the whole view: it ends any
// watch over the buffer instead of listing every sprite it draws, and the
// frames after it show the map as the plain renderer does.
TEST_F(FrameReplayTest, AFrameDrawnAfreshOnAKeptScreenEndsTheWatch) {
  auto blobs = SceneBlobs();
  for (int zi = 0; zi < 3; ++zi) blobs[676 + zi] = DiamondSprite(zi, Rgb565(250, 0, 250));
  blobs[CIsoWelt::kHighlightTile] = MakeTile({FlatLayer([](int zi) { return 676u + zi; }, 0)});
  Scene s(320, 240, blobs);
  ToolHost host;
  s.UseHost(&host);
  Buildings(s);
  QnoRenderBuffer* buffer = s.display.GetRenderBuffer();
  s.Clear();
  ASSERT_EQ(s.map->Render(&s.display), 0);
  const uint32_t plain = Checksum(s.surface);
  buffer->SetPictureKept(true);
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(SettleUntilReplayed(s)) << round;
    const uint32_t changesOnly = s.map->GetChangesOnlyFrameCount();
    for (int i = 0; i < 3; ++i) ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
    EXPECT_GT(s.map->GetChangesOnlyFrameCount(), changesOnly) << "drawn only where the screen changed";
    EXPECT_EQ(Checksum(s.surface), plain) << round;

    host.selection.tool = 2;
    const unsigned watch = buffer->StartWatch();
    ASSERT_NE(buffer->DrawnSince(watch), nullptr);
    ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
    EXPECT_EQ(buffer->DrawnSince(watch), nullptr) << round;
    EXPECT_NE(Checksum(s.surface), plain) << "the marks";
    host.selection.tool = 1;
    ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
    EXPECT_EQ(Checksum(s.surface), plain) << round;
  }
  buffer->SetPictureKept(false);
}

// The marked buildings and the selected building are drawn over the map in
// replayed frames too.
struct MarkingHost : CIsoHost {
  selObjType selection;
  CWorldObj selected;
  void GetMarkedBuildings(std::vector<IsoFootprint>& out) override {
    IsoFootprint f;
    f.x = 66, f.y = 64, f.type = OBJ_NONE;
    out.push_back(f);
  }
  bool GetBuildingFootprint(CWorldObj* object, IsoFootprint& footprint) override {
    if (object != &selected) return false;
    footprint.x = 62, footprint.y = 64;
    return true;
  }
  selObjType* GetSelection() override { return &selection; }
};

TEST_F(FrameReplayTest, MarkedAndSelectedBuildingsAreDrawnInReplayedFrames) {
  auto blobs = SceneBlobs();
  constexpr uint16_t kMarkerColour = Rgb565(250, 120, 0);
  for (int zi = 0; zi < 3; ++zi) blobs[682 + zi] = DiamondSprite(zi, kMarkerColour);
  constexpr int kMarkerTile = 535;
  blobs[kMarkerTile] = MakeTile({FlatLayer([](int zi) { return 682u + zi; }, 0)});
  constexpr int kMarkerGroup = 33880;  // the group the map marks buildings with
  blobs[kMarkerGroup] = MakeGroup(1, 1, {{0, 0, 0, kMarkerTile}});
  Scene s(320, 240, blobs);
  MarkingHost host;
  host.selected.SetType(OBJ_SCHOOL);
  s.UseHost(&host);
  Buildings(s);
  host.selection.selectedObject = &host.selected;
  s.Clear();
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  const int both = s.Count(kMarkerColour);
  host.selection.selectedObject = nullptr;
  s.Clear();
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  const int listed = s.Count(kMarkerColour);
  EXPECT_GT(listed, 0);
  EXPECT_GT(both, listed);
  ASSERT_TRUE(SettleUntilReplayed(s));
  for (bool selected : {true, false}) {
    host.selection.selectedObject = selected ? &host.selected : nullptr;
    const uint32_t replays = s.map->GetReplayedFrameCount();
    s.Clear();
    ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
    EXPECT_GT(s.map->GetReplayedFrameCount(), replays);
    EXPECT_EQ(s.Count(kMarkerColour), selected ? both : listed) << selected;
  }
}

// The interface drawn between the two passes (here the bus network the
// host draws) comes in every replayed frame.
struct NetworkHost : CIsoHost {
  int drawn = 0;
  selObjType selection;
  int GetFilter(int n) override { return n == 1; }
  selObjType* GetSelection() override { return &selection; }
  void RenderOpnvNet(QnoDisplay*) override { ++drawn; }
};

TEST_F(FrameReplayTest, TheInterfaceBetweenThePassesIsDrawnInEveryFrame) {
  Scene s(320, 240);
  NetworkHost host;
  s.UseHost(&host);
  g_ZoomStufe = ISO_ZOOM_4;
  Buildings(s);
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  EXPECT_EQ(host.drawn, 1) << "a frame drawn afresh";
  ASSERT_TRUE(SettleUntilReplayed(s));
  const int drawn = host.drawn;
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(DrawNext(s).replayed);
  EXPECT_EQ(host.drawn, drawn + 3 + 3) << "three replayed frames and three plain ones";
}

// The interface between the passes draws nothing while the frame settles,
// then a box that moves each frame and that the buildings partly hide:
// every replayed frame shows what a fresh one does.
struct PaintingHost : CIsoHost {
  selObjType selection;
  QnoDisplay* display = nullptr;
  bool painting = false;
  int shift = 0;
  int GetFilter(int n) override { return n == 1; }
  selObjType* GetSelection() override { return &selection; }
  void RenderOpnvNet(QnoDisplay* d) override {
    if (painting) d->GetRenderBuffer()->FillRect(100 + shift, 60, 220 + shift, 150, kMoverColour);
  }
};

TEST_F(FrameReplayTest, TheInterfaceDrawingUnderTheBuildingsMatchesAFrameDrawnAfresh) {
  Scene s(320, 240);
  PaintingHost host;
  s.UseHost(&host);
  Buildings(s);
  ASSERT_TRUE(SettleUntilReplayed(s));
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(DrawNext(s).replayed);
  host.painting = true;
  for (int i = 0; i < 8; ++i) {
    host.shift = 3 * i;
    const Drawn d = DrawNext(s);
    EXPECT_TRUE(d.replayed) << i;
    EXPECT_EQ(d.frame, d.plain) << i;
    EXPECT_GT(s.Count(kMoverColour), 0);
    EXPECT_LT(s.Count(kMoverColour), 120 * 90) << "the buildings hide part of the box";
  }
}

}  // namespace
