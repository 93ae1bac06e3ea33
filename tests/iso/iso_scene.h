#pragma once
// Small test scenes of the map: tile and group blobs written here, sprites
// through the generator's writers, one archive per test, and a map drawn
// into a 565 memory surface.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/gfx_test_util.h"
#include "framework/qno_display.h"
#include "framework/qno_log.h"
#include "framework/qno_resource.h"
#include "iso/iso_welt.h"
#include "support/test_support.h"
#include "writers/blob_writers.h"
#include "writers/iso_writers.h"

namespace isotest {

using zorgen::Bytes;
using zorgen::Rgb565;

// Scene resource ids.
constexpr int kGround = 500;     // flat ground, one layer
constexpr int kBuilding = 510;   // a floor (z 0) and a block (z 6)
constexpr int kFlower = 515;     // a middle layer (z 5)
constexpr int kGroup = 520;      // 2 x 1 group of buildings
constexpr int kFilter = 530;     // an overlay tile
constexpr uint16_t kGroundColour = Rgb565(40, 160, 40);
constexpr uint16_t kOutsideColour = Rgb565(20, 30, 120);
constexpr uint16_t kFloorColour = Rgb565(128, 128, 128);
constexpr uint16_t kFlowerColour = Rgb565(240, 200, 0);
// The block's colour by drawing direction, so that turning shows.
constexpr uint16_t kBlockColour[4] = {Rgb565(200, 40, 40), Rgb565(200, 100, 40), Rgb565(160, 40, 160),
                                      Rgb565(40, 160, 200)};

// One sprite layer of a tile: sprite ids by zoom index and direction.
struct TileLayer {
  uint32_t sprite[3][4] = {};
  uint8_t z = 0;
  int16_t xoff[3] = {};
  int16_t yoff[3] = {};
  uint32_t data[3][4] = {};
};

// An iso tile blob through the generator's writer.
inline Bytes MakeTile(const std::vector<TileLayer>& layers) {
  zorgen::IsoTileContent content(static_cast<int>(layers.size()));
  for (int zi = 0; zi < 3; ++zi)
    for (int r = 0; r < 4; ++r)
      for (size_t l = 0; l < layers.size(); ++l) {
        zorgen::IsoTileLayer& e = content.At(zi, r, static_cast<int>(l));
        e.spriteId = layers[l].sprite[zi][r];
        e.z = layers[l].z;
        e.x = layers[l].xoff[zi];
        e.y = layers[l].yoff[zi];
        e.dataId = layers[l].data[zi][r];
      }
  return zorgen::WriteIsoTile(content);
}

struct GroupPart {
  uint32_t x, y, layer, tile;
};

inline Bytes MakeGroup(uint32_t width, uint32_t depth, const std::vector<GroupPart>& parts,
                       const uint32_t layouts[2][4] = nullptr) {
  zorgen::IsoGroupContent content;
  content.width = width;
  content.depth = depth;
  for (int z = 0; z < 2; ++z)
    for (int r = 0; r < 4; ++r) content.microLayouts[z][r] = layouts ? layouts[z][r] : 0;
  for (const GroupPart& p : parts) content.entries.push_back({p.x, p.y, p.layer, p.tile});
  return zorgen::WriteIsoGroup(content);
}

// A flat diamond of one tile at zoom index zi.
inline Bytes DiamondSprite(int zi, uint16_t colour) {
  const int w = Tile_Size_X[zi], h = Tile_Size_Y[zi];
  zorgen::Image16 img(w, h, colour, 0);
  const int half = h / 2;
  for (int y = 0; y < h; ++y) {
    // Two pixels wider per line down to the middle, then narrower again.
    const int k = y < half ? y : h - 1 - y;
    const int from = w / 2 - 1 - 2 * k, to = w / 2 + 1 + 2 * k;
    for (int x = std::max(0, from); x < std::min(w, to); ++x) img.Visible(x, y) = 1;
  }
  // The writer puts an empty line on top; sprites stand on their bottom
  // edge, so that changes nothing on the screen.
  return zorgen::WriteSprite(img);
}

// A solid block standing on a tile: the tile's width, twice its height.
inline Bytes BlockSprite(int zi, uint16_t colour) {
  zorgen::Image16 img(Tile_Size_X[zi] - 20 / (zi + 1), 2 * Tile_Size_Y[zi], colour, 1);
  return zorgen::WriteSprite(img);
}

// Sprite ids of the scene.
inline uint32_t GroundSprite(int zi) { return 600 + zi; }
inline uint32_t OutsideSprite(int zi) { return 610 + zi; }
inline uint32_t FloorSprite(int zi) { return 620 + zi; }
inline uint32_t FlowerSprite(int zi) { return 625 + zi; }
inline uint32_t BlockSprite(int zi, int r) { return 640 + 4 * zi + r; }
inline uint32_t FilterSprite(int zi) { return 660 + zi; }

inline TileLayer FlatLayer(uint32_t (*sprite)(int), uint8_t z) {
  TileLayer t;
  for (int zi = 0; zi < 3; ++zi)
    for (int r = 0; r < 4; ++r) t.sprite[zi][r] = sprite(zi);
  t.z = z;
  return t;
}

// Every blob of the scene, written afresh.
inline std::map<uint32_t, Bytes> WriteSceneBlobs() {
  std::map<uint32_t, Bytes> b;
  for (int zi = 0; zi < 3; ++zi) {
    b[GroundSprite(zi)] = DiamondSprite(zi, kGroundColour);
    b[OutsideSprite(zi)] = DiamondSprite(zi, kOutsideColour);
    b[FloorSprite(zi)] = DiamondSprite(zi, kFloorColour);
    b[FlowerSprite(zi)] = DiamondSprite(zi, kFlowerColour);
    b[FilterSprite(zi)] = DiamondSprite(zi, Rgb565(255, 255, 255));
    for (int r = 0; r < 4; ++r) b[BlockSprite(zi, r)] = BlockSprite(zi, kBlockColour[r]);
  }
  b[kGround] = MakeTile({FlatLayer(GroundSprite, 0)});
  b[CIsoWelt::kOutsideGroundTile] = MakeTile({FlatLayer(OutsideSprite, 0)});
  TileLayer block;
  for (int zi = 0; zi < 3; ++zi) {
    for (int r = 0; r < 4; ++r) block.sprite[zi][r] = BlockSprite(zi, r);
    block.xoff[zi] = static_cast<int16_t>(10 / (zi + 1));
    block.yoff[zi] = static_cast<int16_t>(Tile_Size_YDiv2[zi] / 2);
  }
  block.z = 6;
  b[kBuilding] = MakeTile({FlatLayer(FloorSprite, 0), block});
  b[kFlower] = MakeTile({FlatLayer(FlowerSprite, 5)});
  b[kFilter] = MakeTile({FlatLayer(FilterSprite, 0)});
  b[kGroup] = MakeGroup(2, 1, {{0, 0, 0, kBuilding}, {1, 0, 0, kBuilding}});
  return b;
}

// Every blob of the scene: written once, as the storms make thousands of
// scenes and the writing costs more than the scene's map.
inline std::map<uint32_t, Bytes> SceneBlobs() {
  static const std::map<uint32_t, Bytes> blobs = WriteSceneBlobs();
  return blobs;
}

// FNV-1a over the surface's pixels.
inline uint32_t Checksum(SDL_Surface* s) {
  uint32_t h = 2166136261u;
  for (int y = 0; y < s->h; ++y) {
    const uint8_t* row = static_cast<const uint8_t*>(s->pixels) + y * s->pitch;
    for (int i = 0; i < 2 * s->w; ++i) h = (h ^ row[i]) * 16777619u;
  }
  return h;
}

// A map over a memory screen and one archive of the scene's blobs.
class Scene {
 public:
  explicit Scene(int width = 320, int height = 240, std::map<uint32_t, Bytes> blobs = SceneBlobs())
      : screen(width, height), surface(screen.s) {
    OpenErrorLog("errors.log");
    g_ZoomStufe = ISO_ZOOM_2;
    g_IsoRichtung = 0;
    zorgen::GlaWriter w;
    for (auto& [id, blob] : blobs) w.Add(id, blob);
    EXPECT_TRUE(w.WriteFile("scene.gla"));
    EXPECT_EQ(resources.AddWadFile("scene.gla"), 0);
    QnoDisplayCreateStruct cs;
    cs.screenWidth = cs.viewWidth = width;
    cs.screenHeight = cs.viewHeight = height;
    display.Create(nullptr, &cs, surface);
    map = std::make_unique<CIsoWelt>(nullptr, &resources, &display);
  }
  ~Scene() { map.reset(); }
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  // Makes the map again, reaching the game through host.
  void UseHost(CIsoHost* host) { map = std::make_unique<CIsoWelt>(host, &resources, &display); }

  // Creates the grid and puts the scene's ground on every cell.
  void CreateGround() {
    map->OnCreate();
    for (int x = 0; x < ISO_MAP_SIZE; ++x)
      for (int y = 0; y < ISO_MAP_SIZE; ++y) map->SetIsoTileAt(x, y, ISO_LAYER_GROUND, CIsoRichtung(0), kGround, nullptr);
    map->ResetCompleteSpriteRenderList();
  }
  void Clear(uint16_t v = 0) { SDL_FillRect(surface, nullptr, v); }
  uint16_t At(int x, int y) const { return screen.At(x, y); }
  int Count(uint16_t colour) const { return screen.Count(colour); }
  // The screen point of a tile's reference point (top corner in rotation 0).
  void TilePoint(int x, int y, int& sx, int& sy) {
    CalcIsoToXYAt(x, y, sx, sy);
  }
  void CalcIsoToXYAt(int x, int y, int& sx, int& sy) {
    map->CalcIsoToXY(static_cast<short>(x), static_cast<short>(y), &sx, &sy);
    sx += map->GetOriginX() + map->GetPixelOffsetX();
    sy += map->GetOriginY() + map->GetPixelOffsetY();
  }

  QnoResourceManager resources;
  gfxtest::MemSurface screen;
  SDL_Surface* surface;
  QnoDisplay display;
  std::unique_ptr<CIsoWelt> map;
};

}  // namespace isotest
