// The map renderers, the sprite render cache and the frame of the world.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "iso/iso_sel_obj.h"
#include "iso/iso_vehicle.h"
#include "iso/iso_welt.h"
#include "iso_scene.h"
#include "worldbase/zor_world_obj.h"

namespace {

using namespace isotest;

struct IsoRenderTest : testing::Test {
  void TearDown() override {
    g_ZoomStufe = ISO_ZOOM_1;
    g_IsoRichtung = 0;
  }
};

// Ground everywhere, a 2 x 1 group of buildings, a single building turned
// to direction 1 in front of a building in direction 0, and a flower bed.
void BuildScene(Scene& s) {
  s.CreateGround();
  for (int x : {60, 61}) {
    s.map->SetIsoTileAt(x, 62, ISO_LAYER_GROUND, CIsoRichtung(0), kBuilding, nullptr);
    s.map->GetIsoInfo(x, 62)->CreateGroup(kGroup, ISO_RICHTUNG_0, 60, 62, ISO_LAYER_GROUND);
  }
  s.map->SetIsoTileAt(64, 64, ISO_LAYER_GROUND, CIsoRichtung(0), kBuilding, nullptr);
  s.map->SetIsoTileAt(65, 65, ISO_LAYER_GROUND, CIsoRichtung(1), kBuilding, nullptr);
  s.map->SetIsoTileAt(63, 66, ISO_LAYER_GROUND, CIsoRichtung(0), kFlower, nullptr);
  s.map->SetIsoCenter(64, 64);
  s.map->ResetCompleteSpriteRenderList();
}

struct Frame {
  std::vector<uint16_t> px;
  int w = 0, h = 0;
  uint16_t At(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
};

Frame Grab(Scene& s) {
  Frame f;
  f.w = s.surface->w;
  f.h = s.surface->h;
  for (int y = 0; y < f.h; ++y)
    for (int x = 0; x < f.w; ++x) f.px.push_back(s.At(x, y));
  return f;
}

int DrawAndCount(Scene& s, int (CIsoWelt::*renderer)(QnoDisplay*), uint16_t colour) {
  s.Clear();
  EXPECT_EQ((s.map.get()->*renderer)(&s.display), 0);
  return s.Count(colour);
}

// The fixed scene at every zoom and rotation: the checksums pin the frame,
// and the pixel facts say what it must show, so a blank or shifted frame
// cannot pass.
TEST_F(IsoRenderTest, FrameOfAFixedSceneAtEveryZoomAndRotation) {
  Scene s(320, 240);
  BuildScene(s);
  // Frames looked at (ISO_DUMP_FRAMES=<dir> writes them as BMP) and pinned.
  const uint32_t expected[3][4] = {
      {3648784861u, 3424296349u, 358608093u, 475920661u},
      {1724707149u, 1945140817u, 4216135369u, 3253661505u},
      {3284110735u, 1981352695u, 3406605447u, 3467329267u},
  };
  const TIsoZoomStufe zooms[3] = {ISO_ZOOM_1, ISO_ZOOM_2, ISO_ZOOM_4};
  std::vector<uint32_t> seen;
  for (int zi = 0; zi < 3; ++zi)
    for (int r = 0; r < 4; ++r) {
      g_ZoomStufe = zooms[zi];
      g_IsoRichtung = r;
      s.map->GetUpdateRndLst()->Update();
      s.map->Update();
      s.map->ResetCompleteSpriteRenderList();
      s.Clear(0);
      ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
      const uint32_t sum = Checksum(s.surface);
      seen.push_back(sum);
      if (const char* dir = std::getenv("ISO_DUMP_FRAMES")) {
        const std::string name = std::string(dir) + "/frame_z" + std::to_string(zooms[zi]) + "_r" + std::to_string(r) + ".bmp";
        SDL_SaveBMP(s.surface, name.c_str());
      }
      // The whole screen is covered: ground all round the centre.
      EXPECT_EQ(s.Count(0), 0) << "zoom " << zooms[zi] << " rot " << r;
      EXPECT_GT(s.Count(kGroundColour), 320 * 240 / 3);
      // Three buildings in direction 0 and one in direction 1 show their
      // block colours for the drawing direction.
      EXPECT_GT(s.Count(kBlockColour[r]), 0) << "zoom " << zooms[zi] << " rot " << r;
      EXPECT_GT(s.Count(kBlockColour[(r + 1) % 4]), 0) << "zoom " << zooms[zi] << " rot " << r;
      EXPECT_GT(s.Count(kFlowerColour), 0);
      // Nothing stands in the lower screen: ground there.
      EXPECT_EQ(s.At(160, 236), kGroundColour) << "zoom " << zooms[zi] << " rot " << r;
      EXPECT_EQ(s.At(3, 236), kGroundColour) << "zoom " << zooms[zi] << " rot " << r;
      EXPECT_EQ(sum, expected[zi][r]) << "zoom " << zooms[zi] << " rot " << r;
    }
  for (size_t i = 0; i < seen.size(); ++i)
    for (size_t j = i + 1; j < seen.size(); ++j) EXPECT_NE(seen[i], seen[j]) << i << " " << j;
}

// Both sprite-list walks and the plain renderer draw every tile of the
// view, each behind its front neighbours, so they give the same frame.
TEST_F(IsoRenderTest, TheThreeRenderersAgree) {
  Scene s(320, 240);
  BuildScene(s);
  for (int r = 0; r < 4; ++r) {
    g_IsoRichtung = r;
    s.map->GetUpdateRndLst()->Update();
    s.map->Update();
    s.map->ResetCompleteSpriteRenderList();
    s.Clear(1);
    ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
    const uint32_t rows = Checksum(s.surface);
    s.Clear(1);
    ASSERT_EQ(s.map->RenderSpriteList_Diagonal(&s.display), 0);
    EXPECT_EQ(Checksum(s.surface), rows) << "rot " << r;
    s.Clear(1);
    ASSERT_EQ(s.map->Render(&s.display), 0);
    EXPECT_EQ(Checksum(s.surface), rows) << "rot " << r;
  }
}

// The building in front covers the one behind where they overlap, in
// every rotation: which one is in front turns with the view.
TEST_F(IsoRenderTest, FrontBuildingCoversTheOneBehind) {
  Scene s(320, 240);
  s.CreateGround();
  s.map->SetIsoTileAt(64, 64, ISO_LAYER_GROUND, CIsoRichtung(0), kBuilding, nullptr);
  s.map->SetIsoTileAt(65, 65, ISO_LAYER_GROUND, CIsoRichtung(1), kBuilding, nullptr);
  for (int r = 0; r < 4; ++r)
    for (auto renderer : {&CIsoWelt::RenderSpriteList_Left_Right, &CIsoWelt::RenderSpriteList_Diagonal}) {
      g_IsoRichtung = r;
      s.map->GetUpdateRndLst()->Update();
      s.map->SetIsoCenter(64, 64);
      s.map->ResetCompleteSpriteRenderList();
      s.Clear();
      ASSERT_EQ((s.map.get()->*renderer)(&s.display), 0);
      int ax, ay, bx, by;
      s.CalcIsoToXYAt(64, 64, ax, ay);
      s.CalcIsoToXYAt(65, 65, bx, by);
      const bool secondInFront = by > ay;
      // The lower block's top edge lies inside the upper block: the pixel
      // just below the lower block's top, at the shared column.
      const int i = IsoZoomIndex();
      const int frontY = std::max(ay, by);
      const int blockTop = frontY + Tile_Size_Y[i] - Tile_Size_YDiv2[i] / 2 - 2 * Tile_Size_Y[i];
      const uint16_t front = secondInFront ? kBlockColour[(r + 1) % 4] : kBlockColour[r];
      EXPECT_EQ(s.At(ax, blockTop + 1), front) << "rot " << r;
    }
}

// Scrolling by pixels moves every cached sprite without rebuilding any
// cache entry, and the frame is the old frame shifted.
TEST_F(IsoRenderTest, ScrollingDrawsFromTheCacheShifted) {
  Scene s(320, 240);
  BuildScene(s);
  s.Clear();
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  const Frame before = Grab(s);
  const uint32_t builds = s.map->GetCacheBuildCount();
  EXPECT_GT(builds, 100u);
  auto shiftedDiffers = [&](int dx, int dy) {
    int n = 0;
    for (int y = 60; y < 180; ++y)
      for (int x = 60; x < 260; ++x) n += s.At(x + dx, y + dy) != before.At(x, y);
    return n;
  };
  s.map->SetPixelOffset(4, 6);
  EXPECT_EQ(s.map->CheckXYPixelIsoMove(), 0);
  s.Clear();
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  EXPECT_EQ(s.map->GetCacheBuildCount(), builds);
  EXPECT_EQ(shiftedDiffers(4, 6), 0);
  // One more tile step turns into a move of the centre; only the tiles
  // that come into view are resolved.
  s.map->SetPixelOffset(4 + 22, 6 + 11);
  EXPECT_EQ(s.map->CheckXYPixelIsoMove(), 1);
  EXPECT_EQ(s.map->GetCenterX(), 63);
  EXPECT_EQ(s.map->GetCenterY(), 64);
  s.Clear();
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  EXPECT_LT(s.map->GetCacheBuildCount(), builds + 40);
  EXPECT_EQ(shiftedDiffers(4 + 22, 6 + 11), 0);
}

// A changed cell is rebuilt, the others are not.
TEST_F(IsoRenderTest, ChangingACellRebuildsOnlyItsCacheEntry) {
  Scene s(320, 240);
  BuildScene(s);
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  const uint32_t builds = s.map->GetCacheBuildCount();
  s.map->SetIsoTileAt(64, 65, ISO_LAYER_GROUND, CIsoRichtung(0), kBuilding, nullptr);
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  EXPECT_EQ(s.map->GetCacheBuildCount(), builds + 1);
  EXPECT_EQ(static_cast<uint32_t>(CIsoWelt::m_SpriteList[64][65][4].id), BlockSprite(1, 0));
}

TEST_F(IsoRenderTest, OutsideTheMapTheOutsideGroundIsDrawnInTheGroundPassOnly) {
  Scene s(320, 240);
  s.CreateGround();
  s.map->SetIsoCenter(0, 0);
  s.Clear();
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  EXPECT_GT(s.Count(kOutsideColour), 320 * 240 / 4);
  EXPECT_GT(s.Count(kGroundColour), 320 * 240 / 8);
  EXPECT_EQ(s.Count(0), 0);
  // The plain renderer draws the same outside ground.
  const int outside = s.Count(kOutsideColour);
  s.Clear();
  ASSERT_EQ(s.map->Render(&s.display), 0);
  EXPECT_EQ(s.Count(kOutsideColour), outside);
  EXPECT_EQ(s.Count(0), 0);
  // Without the outside tile the render stops with 1.
  auto blobs = SceneBlobs();
  blobs.erase(CIsoWelt::kOutsideGroundTile);
  Scene bare(320, 240, blobs);
  bare.CreateGround();
  bare.map->SetIsoCenter(0, 0);
  EXPECT_EQ(bare.map->RenderSpriteList_Left_Right(&bare.display), 1);
  EXPECT_EQ(bare.map->RenderSpriteList_Diagonal(&bare.display), 1);
  EXPECT_EQ(bare.map->Render(&bare.display), 1);
  bare.map->SetIsoCenter(64, 64);
  EXPECT_EQ(bare.map->RenderSpriteList_Left_Right(&bare.display), 0);
}

TEST_F(IsoRenderTest, AMapWithoutCellsEndsTheRenderWithOne) {
  Scene s(320, 240);
  s.map->SetIsoCenter(64, 64);
  EXPECT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 1);
  EXPECT_EQ(s.map->RenderSpriteList_Diagonal(&s.display), 1);
}

TEST_F(IsoRenderTest, SpriteListsShowThreeGroundLayersAndThePlainRendererAll) {
  auto blobs = SceneBlobs();
  const uint16_t colours[4] = {Rgb565(250, 0, 0), Rgb565(0, 250, 0), Rgb565(0, 0, 250), Rgb565(250, 250, 250)};
  std::vector<TileLayer> layers;
  for (int l = 0; l < 4; ++l) {
    TileLayer t;
    for (int zi = 0; zi < 3; ++zi) {
      blobs[800 + 4 * zi + l] = zorgen::WriteSprite(zorgen::Image16(4, 4, colours[l], 1));
      for (int r = 0; r < 4; ++r) t.sprite[zi][r] = static_cast<uint32_t>(800 + 4 * zi + l);
      // Side by side in the middle of the tile, where no neighbour draws.
      t.xoff[zi] = static_cast<int16_t>(Tile_Size_XDiv2[zi] - 8 + 4 * l);
      t.yoff[zi] = static_cast<int16_t>(Tile_Size_YDiv2[zi] - 2);
    }
    t.z = static_cast<uint8_t>(l);
    layers.push_back(t);
  }
  blobs[790] = MakeTile(layers);
  Scene s(320, 240, blobs);
  s.CreateGround();
  s.map->SetIsoTileAt(64, 64, ISO_LAYER_GROUND, CIsoRichtung(0), 790, nullptr);
  s.map->SetIsoCenter(64, 64);
  for (auto renderer : {&CIsoWelt::RenderSpriteList_Left_Right, &CIsoWelt::RenderSpriteList_Diagonal}) {
    for (int l = 0; l < 3; ++l) EXPECT_EQ(DrawAndCount(s, renderer, colours[l]), 16) << l;
    EXPECT_EQ(DrawAndCount(s, renderer, colours[3]), 0);
  }
  for (int l = 0; l < 4; ++l) EXPECT_EQ(DrawAndCount(s, &CIsoWelt::Render, colours[l]), 16) << l;
}

// A cell whose list holds two floors, two layers at z 5 and one above:
// the first z 5 layer is the middle one, the second is drawn with the
// rest. Each sprite covers half of the one before, so every renderer must
// draw them in list order to show half of each and the last whole.
TEST_F(IsoRenderTest, FloorsMiddleAndUpperLayersOfOneCellAreDrawnInListOrder) {
  auto blobs = SceneBlobs();
  const uint8_t zs[5] = {0, 0, 5, 5, 6};
  const uint16_t colours[5] = {Rgb565(250, 0, 0), Rgb565(0, 250, 0), Rgb565(0, 0, 250), Rgb565(250, 250, 250),
                               Rgb565(250, 0, 250)};
  std::vector<TileLayer> layers;
  for (int l = 0; l < 5; ++l) {
    TileLayer t;
    for (int zi = 0; zi < 3; ++zi) {
      const auto sprite = static_cast<uint32_t>(820 + 5 * zi + l);
      blobs[sprite] = zorgen::WriteSprite(zorgen::Image16(4, 4, colours[l], 1));
      for (int r = 0; r < 4; ++r) t.sprite[zi][r] = sprite;
      // In the middle of the tile, where no neighbour draws, each two
      // pixels right of the one before.
      t.xoff[zi] = static_cast<int16_t>(Tile_Size_XDiv2[zi] - 6 + 2 * l);
      t.yoff[zi] = static_cast<int16_t>(Tile_Size_YDiv2[zi] - 2);
    }
    t.z = zs[l];
    layers.push_back(t);
  }
  blobs[792] = MakeTile(layers);
  Scene s(320, 240, blobs);
  s.CreateGround();
  s.map->SetIsoTileAt(64, 64, ISO_LAYER_GROUND, CIsoRichtung(0), 792, nullptr);
  for (int r = 0; r < 4; ++r) {
    g_IsoRichtung = r;
    s.map->GetUpdateRndLst()->Update();
    s.map->SetIsoCenter(64, 64);
    s.map->ResetCompleteSpriteRenderList();
    s.Clear();
    ASSERT_EQ(s.map->Render(&s.display), 0);
    const Frame plain = Grab(s);
    for (int l = 0; l < 5; ++l) EXPECT_EQ(s.Count(colours[l]), l < 4 ? 8 : 16) << "layer " << l << " rot " << r;
    for (auto renderer : {&CIsoWelt::RenderSpriteList_Left_Right, &CIsoWelt::RenderSpriteList_Diagonal}) {
      s.Clear();
      ASSERT_EQ((s.map.get()->*renderer)(&s.display), 0);
      EXPECT_TRUE(Grab(s).px == plain.px) << "rot " << r;
    }
  }
}

// The cell's ground object draws its vehicles and animations in the
// object pass, except at zoom level 4.
struct CountingObj : CWorldObj {
  int renders = 0;
  int Render(QnoDisplay*, unsigned short, unsigned short, int, int, TIsoZoomStufe) override {
    ++renders;
    return 0;
  }
};

TEST_F(IsoRenderTest, VehiclesAreNotDrawnAtZoom4) {
  Scene s(320, 240);
  s.CreateGround();
  CountingObj obj;
  s.map->SetIsoTileAt(64, 64, ISO_LAYER_GROUND, CIsoRichtung(0), kGround, &obj);
  s.map->SetIsoCenter(64, 64);
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  EXPECT_EQ(obj.renders, 1);
  ASSERT_EQ(s.map->Render(&s.display), 0);
  EXPECT_EQ(obj.renders, 2);
  ASSERT_EQ(s.map->OnZoomIn(), 0);
  s.map->Update();
  ASSERT_EQ(g_ZoomStufe, ISO_ZOOM_4);
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  ASSERT_EQ(s.map->RenderSpriteList_Diagonal(&s.display), 0);
  ASSERT_EQ(s.map->Render(&s.display), 0);
  EXPECT_EQ(obj.renders, 2);
  // An object off the screen is not asked either.
  s.map->SetIsoTileAt(5, 5, ISO_LAYER_GROUND, CIsoRichtung(0), kGround, &obj);
}

// Sprites that reach over the screen edge are clipped, never written
// outside the surface (the sanitizer build checks the memory).
TEST_F(IsoRenderTest, SpritesAtTheScreenEdgeAreClipped) {
  Scene s(97, 61);
  BuildScene(s);
  for (int dx = -50; dx <= 50; dx += 9) {
    s.map->SetPixelOffset(dx, dx / 2);
    s.map->CheckXYPixelIsoMove();
    ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
    ASSERT_EQ(s.map->Render(&s.display), 0);
  }
  EXPECT_EQ(s.Count(0), 0);
}

// Cars standing across a cell edge are drawn a second time at that cell
// by the row-by-row renderer, at the cell's anchor point.
struct SecondCar : CIsoVehicle {
  std::vector<std::pair<int, int>> at;
  void RenderSecondPosition(QnoDisplay*, int x, int y) override { at.push_back({x, y}); }
};

TEST_F(IsoRenderTest, SecondCarPositionsAreDrawnByTheRowRenderer) {
  Scene s(320, 240);
  s.CreateGround();
  s.map->SetIsoCenter(64, 64);
  SecondCar car;
  CIsoWelt::m_CarSecondRender[64][64][2] = &car;
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  ASSERT_EQ(car.at.size(), 1u);
  int ax, ay;
  s.map->FixeIsoKoorCalc(64, 64, ax, ay);
  EXPECT_EQ(car.at[0], std::make_pair(ax, ay));
  ASSERT_EQ(s.map->RenderSpriteList_Diagonal(&s.display), 0);
  EXPECT_EQ(car.at.size(), 1u);
  s.map->OnZoomIn();
  s.map->Update();
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  EXPECT_EQ(car.at.size(), 1u) << "no vehicles at zoom level 4";
  CIsoWelt::m_CarSecondRender[64][64][2] = nullptr;
}

// A host that shows the district view or the street tool.
struct OverlayHost : CIsoHost {
  bool districts = false;
  selObjType selection;
  int GetFilter(int n) override { return districts && n == 2; }
  bool IsDebugInfo() override { return districts; }
  int GetDistrictAt(int x, int /*y*/) override { return x < 64 ? 0 : 1; }
  selObjType* GetSelection() override { return &selection; }
  unsigned char GetTileMask(int x, int y) override { return x == 64 && y == 64 ? 6 : 0; }
};

constexpr uint16_t kEvenColour = Rgb565(250, 250, 0);
constexpr uint16_t kOddColour = Rgb565(0, 250, 250);
constexpr uint16_t kMarkColour = Rgb565(250, 0, 250);

std::map<uint32_t, Bytes> OverlayBlobs() {
  auto b = SceneBlobs();
  for (int zi = 0; zi < 3; ++zi) {
    b[670 + zi] = DiamondSprite(zi, kEvenColour);
    b[673 + zi] = DiamondSprite(zi, kOddColour);
    b[676 + zi] = DiamondSprite(zi, kMarkColour);
  }
  b[CIsoWelt::kDistrictTileEven] = MakeTile({FlatLayer([](int zi) { return 670u + zi; }, 0)});
  b[CIsoWelt::kDistrictTileOdd] = MakeTile({FlatLayer([](int zi) { return 673u + zi; }, 0)});
  b[CIsoWelt::kHighlightTile] = MakeTile({FlatLayer([](int zi) { return 676u + zi; }, 0)});
  return b;
}

TEST_F(IsoRenderTest, DistrictViewShowsDistrictZeroAsEvenAndTheRestByParity) {
  Scene s(320, 240, OverlayBlobs());
  OverlayHost host;
  host.districts = true;
  s.UseHost(&host);
  s.CreateGround();
  for (int x = 60; x < 68; ++x) s.map->SetIsoTileAt(x, 64, ISO_LAYER_GROUND, CIsoRichtung(0), kBuilding, nullptr);
  s.map->SetIsoCenter(64, 64);
  EXPECT_EQ(s.map->ResetCompleteSpriteRenderList(), 0);
  s.Clear();
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  // Four buildings in district 0, four in district 1; none shows a block.
  EXPECT_EQ(s.Count(kEvenColour), s.Count(kOddColour));
  EXPECT_GT(s.Count(kEvenColour), 0);
  EXPECT_EQ(s.Count(kBlockColour[0]), 0);
}

TEST_F(IsoRenderTest, TheStreetToolMarksTheCellsItsMaskNames) {
  Scene s(320, 240, OverlayBlobs());
  OverlayHost host;
  s.UseHost(&host);
  s.CreateGround();
  s.map->SetIsoCenter(64, 64);
  s.map->ResetCompleteSpriteRenderList();
  host.selection.tool = 1;
  s.Clear();
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  EXPECT_EQ(s.Count(kMarkColour), 0) << "another tool marks nothing";
  host.selection.tool = 2;
  s.Clear();
  ASSERT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
  EXPECT_GT(s.Count(kMarkColour), 0);
}

}  // namespace
