// Ground that objects drawn later hide completely is left out of the frame,
// and the sprite render cache keeps the sprites themselves: the frames stay
// the plain renderer's, wherever the view is, after covers change and after
// tiles and zoom change.
#include <gtest/gtest.h>

#include <SDL.h>

#include <random>

#include "framework/qno_sprite.h"
#include "iso/iso_welt.h"
#include "iso_scene.h"

namespace {

using namespace isotest;

constexpr int kWall = 540;       // floor and an opaque block as wide as the tile, three tiles high
constexpr int kHoledWall = 545;  // the same block with a transparent window
inline uint32_t WallSprite(int zi) { return 680 + zi; }
inline uint32_t HoledWallSprite(int zi) { return 690 + zi; }
constexpr uint16_t kWallColour = Rgb565(90, 90, 200);

Bytes WallBlock(int zi, bool window) {
  const int w = Tile_Size_X[zi], h = 3 * Tile_Size_Y[zi];
  zorgen::Image16 img(w, h, kWallColour, 1);
  // The window lies over the diamond of the cell behind.
  if (window)
    for (int y = h / 2 - 2; y < h / 2 + 2; ++y)
      for (int x = w / 2 - 2; x < w / 2 + 2; ++x) img.Visible(x, y) = 0;
  return zorgen::WriteSprite(img);
}

std::map<uint32_t, Bytes> CoverBlobs() {
  std::map<uint32_t, Bytes> b = SceneBlobs();
  TileLayer wall, holed;
  for (int zi = 0; zi < 3; ++zi) {
    b[WallSprite(zi)] = WallBlock(zi, false);
    b[HoledWallSprite(zi)] = WallBlock(zi, true);
    for (int r = 0; r < 4; ++r) {
      wall.sprite[zi][r] = WallSprite(zi);
      holed.sprite[zi][r] = HoledWallSprite(zi);
    }
  }
  wall.z = holed.z = 6;
  b[kWall] = MakeTile({FlatLayer(FloorSprite, 0), wall});
  b[kHoledWall] = MakeTile({FlatLayer(FloorSprite, 0), holed});
  return b;
}

struct GroundCoverTest : testing::Test {
  void TearDown() override {
    g_ZoomStufe = ISO_ZOOM_1;
    g_IsoRichtung = 0;
  }
};

// The frame of the sprite-list renderer and the plain one, each on a
// cleared screen, so that anything left out shows.
struct Frames {
  uint32_t cached, plain;
};
Frames DrawBoth(Scene& s) {
  s.Clear();
  EXPECT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  const uint32_t cached = Checksum(s.surface);
  s.Clear();
  EXPECT_EQ(s.map->Render(&s.display), 0);
  return {cached, Checksum(s.surface)};
}

// Frames enough for every cover to be worked out.
void Settle(Scene& s) {
  for (int i = 0; i < 4; ++i) ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
}

void PutWall(Scene& s, int x, int y, int tile = kWall) {
  s.map->SetIsoTileAt(x, y, ISO_LAYER_GROUND, CIsoRichtung(0), tile, nullptr);
}

// A wall at (65, 65) in the middle of the view, its covers worked out:
// its own floor and the ground of the two cells straight behind it hidden.
void WallAtTheMiddleSettled(Scene& s) {
  s.CreateGround();
  s.map->SetIsoCenter(64, 64);
  PutWall(s, 65, 65);
  s.map->ResetCompleteSpriteRenderList();
  Settle(s);
  const Frames f = DrawBoth(s);
  ASSERT_EQ(f.cached, f.plain);
  ASSERT_EQ(s.map->GetHiddenSpriteCount(), 3u);
}

// ---- the sprite test ------------------------------------------------------------------

struct Sprites {
  std::vector<Bytes> blobs;
  const void* Add(const zorgen::Image16& img) {
    blobs.push_back(zorgen::WriteSprite(img));
    return blobs.back().data();
  }
};

zorgen::Image16 Solid(int w, int h) { return zorgen::Image16(w, h, Rgb565(10, 20, 30), 1); }

TEST(SpriteCover, EveryVisiblePixelMustLieUnderAVisibleCoverPixel) {
  Sprites sp;
  const void* diamond = sp.Add([] {
    zorgen::Image16 img(8, 4, 0, 0);
    for (int y = 0; y < 4; ++y)
      for (int x = 3 - y; x < 5 + y; ++x) img.Visible(x, y) = 1;
    return img;
  }());
  const void* block = sp.Add(Solid(8, 5));
  const void* half = sp.Add(Solid(4, 5));
  const void* narrow = sp.Add(Solid(3, 5));
  const void* holed = sp.Add([] {
    zorgen::Image16 img = Solid(8, 5);
    img.Visible(4, 3) = 0;
    return img;
  }());
  auto covered = [&](std::vector<QnoPlacedSprite> covers) {
    return CIsoSprite::IsCovered(diamond, 100, 50, covers.data(), static_cast<int>(covers.size()));
  };
  // The writer adds an empty line on top; both stand on the same bottom row.
  const int top = 50 + static_cast<int>(CIsoSprite::GetHeight(diamond)) - static_cast<int>(CIsoSprite::GetHeight(block));
  EXPECT_TRUE(covered({{block, 100, top}}));
  EXPECT_FALSE(covered({{block, 101, top}})) << "one column of the diamond sticks out on the left";
  EXPECT_FALSE(covered({{block, 99, top}}));
  EXPECT_FALSE(covered({{block, 100, top - 1}})) << "the bottom row sticks out";
  EXPECT_TRUE(covered({{half, 100, top}, {half, 104, top}})) << "two halves that meet";
  EXPECT_TRUE(covered({{half, 104, top}, {block, 100, top}, {half, 100, top}})) << "overlapping covers in any order";
  EXPECT_FALSE(covered({{half, 100, top}, {narrow, 105, top}})) << "a one-column gap";
  EXPECT_FALSE(covered({{holed, 100, top}})) << "a transparent pixel over a visible one";
  EXPECT_TRUE(covered({{holed, 100, top}, {half, 104, top}})) << "the hole filled by another cover";
  // Only visible pixels count: the diamond's transparent corners may stay bare.
  const void* middle = sp.Add(Solid(2, 5));
  EXPECT_FALSE(covered({{middle, 103, top}}));
  EXPECT_FALSE(covered({}));
  EXPECT_FALSE(CIsoSprite::IsCovered(nullptr, 0, 0, nullptr, 0));
  const QnoPlacedSprite none{nullptr, 100, top};
  EXPECT_FALSE(covered({none}));
}

// ---- the map ----------------------------------------------------------------------------

TEST_F(GroundCoverTest, AWallHidesTheGroundOfItsCellAndOfThoseBehindIt) {
  Scene s(320, 240, CoverBlobs());
  s.CreateGround();
  s.map->SetIsoCenter(64, 64);
  s.map->ResetCompleteSpriteRenderList();
  Settle(s);
  Frames f = DrawBoth(s);
  EXPECT_EQ(f.cached, f.plain);
  EXPECT_EQ(s.map->GetHiddenSpriteCount(), 0u) << "nothing stands on open ground";

  // Built where the covers of the cells behind are known already: they
  // are worked out again from the frame after the one that makes its list.
  PutWall(s, 65, 65);
  f = DrawBoth(s);
  EXPECT_EQ(f.cached, f.plain);
  EXPECT_EQ(s.map->GetHiddenSpriteCount(), 0u) << "the frame that makes the wall's list hides nothing";
  f = DrawBoth(s);
  EXPECT_EQ(f.cached, f.plain);
  // Its own floor and the ground of the two cells straight behind it, three
  // tiles high; the cells beside it stay half open.
  EXPECT_EQ(s.map->GetHiddenSpriteCount(), 3u);
}

TEST_F(GroundCoverTest, GroundComesBackWhenItsCoverIsRemovedOrChanged) {
  Scene s(320, 240, CoverBlobs());
  ASSERT_NO_FATAL_FAILURE(WallAtTheMiddleSettled(s));
  Frames f;

  // Only the wall's cell is made again; the cells behind keep their lists.
  const uint32_t builds = s.map->GetCacheBuildCount();
  PutWall(s, 65, 65, kGround);
  f = DrawBoth(s);
  EXPECT_EQ(f.cached, f.plain) << "the ground behind the removed wall is drawn again";
  EXPECT_EQ(s.map->GetHiddenSpriteCount(), 0u);
  EXPECT_EQ(s.map->GetCacheBuildCount(), builds + 1);

  PutWall(s, 65, 65);
  Settle(s);
  f = DrawBoth(s);
  EXPECT_EQ(f.cached, f.plain);
  EXPECT_EQ(s.map->GetHiddenSpriteCount(), 3u) << "the wall back hides the ground again";

  // A window over the ground behind: that ground shows through it.
  PutWall(s, 65, 65, kHoledWall);
  Settle(s);
  f = DrawBoth(s);
  EXPECT_EQ(f.cached, f.plain);
  EXPECT_LT(s.map->GetHiddenSpriteCount(), 3u);
  EXPECT_GE(s.map->GetHiddenSpriteCount(), 1u) << "the wall's own floor lies under the solid bottom";
}

// A turn to a rotation not shown since the last reset makes every list
// again: the frame after it hides nothing, the frames after that find the
// covers of the new rotation. Turned back to a rotation shown before, its
// covers hold from the first frame. A wall built then still makes the
// cells behind it look again.
TEST_F(GroundCoverTest, CoversAreFoundAgainAfterEveryTurn) {
  Scene s(320, 240, CoverBlobs());
  ASSERT_NO_FATAL_FAILURE(WallAtTheMiddleSettled(s));
  Frames f;
  for (int turn = 1; turn <= 8; ++turn) {
    s.map->UserIntTurnRight();
    f = DrawBoth(s);
    EXPECT_EQ(f.cached, f.plain) << turn;
    EXPECT_EQ(s.map->GetHiddenSpriteCount(), turn < 4 ? 0u : 3u) << turn;
    Settle(s);
    f = DrawBoth(s);
    EXPECT_EQ(f.cached, f.plain) << turn;
    EXPECT_EQ(s.map->GetHiddenSpriteCount(), 3u) << turn;
  }
  PutWall(s, 60, 62);
  DrawBoth(s);
  f = DrawBoth(s);
  EXPECT_EQ(f.cached, f.plain);
  EXPECT_EQ(s.map->GetHiddenSpriteCount(), 6u);
}

TEST_F(GroundCoverTest, AWallThatIsNotDrawnHidesNothing) {
  // The wall stands just below the screen: the walk ends before its cell,
  // so the ground behind it that is on the screen must be drawn.
  Scene s(320, 240, CoverBlobs());
  s.CreateGround();
  for (int x = 0; x < ISO_MAP_SIZE; ++x)
    for (int y = 0; y < ISO_MAP_SIZE; ++y)
      if ((x + y) % 3 == 0) PutWall(s, x, y);
  for (int zoom : {ISO_ZOOM_1, ISO_ZOOM_2, ISO_ZOOM_4})
    for (int rotation = 0; rotation < 4; ++rotation)
      for (int step = 0; step < 6; ++step) {
        g_ZoomStufe = static_cast<TIsoZoomStufe>(zoom);
        g_IsoRichtung = rotation;
        s.map->GetUpdateRndLst()->Update();
        s.map->SetIsoCenter(60 + step, 62 + 2 * step % 5);
        s.map->SetPixelOffset(step * 3 - 7, step * 5 - 11);
        s.map->CheckXYPixelIsoMove();
        s.map->ResetCompleteSpriteRenderList();
        Frames f = DrawBoth(s);
        ASSERT_EQ(f.cached, f.plain) << "first frame, zoom " << zoom << " rotation " << rotation << " step " << step;
        Settle(s);
        f = DrawBoth(s);
        ASSERT_EQ(f.cached, f.plain) << "zoom " << zoom << " rotation " << rotation << " step " << step;
        ASSERT_GT(s.map->GetHiddenSpriteCount(), 0u);
        // Scrolling by pixels keeps the cache and its covers.
        s.map->SetPixelOffset(step - 2, 2 - step);
        const Frames g = DrawBoth(s);
        ASSERT_EQ(g.cached, g.plain) << "scrolled, zoom " << zoom << " rotation " << rotation << " step " << step;
      }
}

TEST_F(GroundCoverTest, CoversAreWorkedOutAShareAtATime) {
  Scene s(1024, 768, CoverBlobs());
  s.CreateGround();
  for (int x = 0; x < ISO_MAP_SIZE; ++x)
    for (int y = 0; y < ISO_MAP_SIZE; ++y) PutWall(s, x, y);
  g_ZoomStufe = ISO_ZOOM_4;
  s.map->GetUpdateRndLst()->Update();
  s.map->SetIsoCenter(64, 64);
  s.map->ResetCompleteSpriteRenderList();
  // Every floor lies under its own wall. The first frame makes every list
  // and hides nothing; each next one works out the covers of a share of
  // the cells.
  uint32_t hidden[4];
  for (uint32_t& h : hidden) {
    const Frames f = DrawBoth(s);
    ASSERT_EQ(f.cached, f.plain);
    h = s.map->GetHiddenSpriteCount();
  }
  EXPECT_EQ(hidden[0], 0u);
  EXPECT_EQ(hidden[1], CIsoWelt::kCoverCellsPerFrame);
  EXPECT_EQ(hidden[3], 3 * CIsoWelt::kCoverCellsPerFrame);
  // Larger tiles: fewer cells a frame.
  s.map->UserIntZoomOut();
  for (uint32_t& h : hidden) {
    const Frames f = DrawBoth(s);
    ASSERT_EQ(f.cached, f.plain);
    h = s.map->GetHiddenSpriteCount();
  }
  EXPECT_EQ(hidden[0], 0u);
  EXPECT_EQ(hidden[1], CIsoWelt::kCoverCellsPerFrame * Tile_Size_Y[2] / Tile_Size_Y[1]);
  for (int i = 0; i < 40; ++i) s.map->RenderSpriteList_Left_Right(&s.display);
  EXPECT_EQ(s.map->GetHiddenSpriteCount(), s.map->GetFrameCellCount());
  s.map->UserIntZoomIn();
  for (int i = 0; i < 40; ++i) s.map->RenderSpriteList_Left_Right(&s.display);
  EXPECT_EQ(s.map->GetHiddenSpriteCount(), s.map->GetFrameCellCount()) << "every cell of the walk lies in the map";
}

struct DistrictHost : CIsoHost {
  int GetFilter(int n) override { return n == 2; }
  bool IsDebugInfo() override { return true; }
};

TEST_F(GroundCoverTest, TheDistrictViewDrawsTheGroundUnderBuildings) {
  // It draws a floor in place of a cell's objects, so they cover nothing.
  Scene s(320, 240, CoverBlobs());
  DistrictHost host;
  s.UseHost(&host);
  s.CreateGround();
  s.map->SetIsoCenter(64, 64);
  PutWall(s, 64, 64);
  PutWall(s, 65, 65);
  s.map->ResetCompleteSpriteRenderList();
  s.Clear();
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  EXPECT_EQ(s.map->GetHiddenSpriteCount(), 0u);
  EXPECT_EQ(s.Count(kWallColour), 0) << "the district floor stands in for the walls";
}

TEST_F(GroundCoverTest, CachedSpritesFollowTileChangesAndZoom) {
  Scene s(320, 240, CoverBlobs());
  s.CreateGround();
  s.map->SetIsoCenter(64, 64);
  s.map->ResetCompleteSpriteRenderList();
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  const CIsoWelt::SpriteSlot* slots = CIsoWelt::m_SpriteList[64][64];
  EXPECT_EQ(slots[0].sprite, CIsoSprite::FromResource(&s.resources, GroundSprite(1)));
  EXPECT_EQ(slots[4].sprite, nullptr);

  PutWall(s, 64, 64);
  Frames f = DrawBoth(s);
  EXPECT_EQ(f.cached, f.plain);
  EXPECT_EQ(slots[0].sprite, CIsoSprite::FromResource(&s.resources, FloorSprite(1)));
  EXPECT_EQ(slots[4].sprite, CIsoSprite::FromResource(&s.resources, WallSprite(1)));
  EXPECT_GT(s.Count(kWallColour), 0);

  s.map->UserIntZoomIn();
  f = DrawBoth(s);
  EXPECT_EQ(f.cached, f.plain);
  EXPECT_EQ(slots[0].sprite, CIsoSprite::FromResource(&s.resources, FloorSprite(2)));
  EXPECT_EQ(slots[4].sprite, CIsoSprite::FromResource(&s.resources, WallSprite(2)));
}

}  // namespace
