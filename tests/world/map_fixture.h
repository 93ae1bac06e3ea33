#pragma once
// A headless world with its map and an extra archive of small tiles and
// groups, for the tests of placement, the factory, input and overlays.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <SDL.h>

#include "framework/qno_log.h"
#include "framework/qno_resource.h"
#include "iso/iso_welt.h"
#include "support/test_support.h"
#include "worldbase/building_catalogue.h"
#include "world/zor_world.h"
#include "writers/blob_writers.h"
#include "writers/iso_writers.h"

namespace maptest {

// Ids the generated game data leaves free.
constexpr int kSprite = 59000;
// A one-layer tile drawing kSprite; part tiles of the groups below are
// kPartBase + 10 a + b for part (a, b) (a, b < 10).
constexpr int kTile = 59001;
constexpr int kPartBase = 59100;
constexpr int kGroup2x3 = 59010;      // W 2, D 3, every part
constexpr int kGroupHole = 59011;     // W 2, D 2, part (1, 1) missing
constexpr int kGroup1x1 = 59012;
constexpr int kGroup1x2 = 59013;      // W 1, D 2
constexpr int kGroupWide = 59014;     // W 3, D 1
constexpr int kGroupEmpty = 59015;    // W 0: placement refuses it
constexpr int kGroupTall = 59016;     // W 1, D 4
constexpr int kMissing = 59999;       // no resource at all
constexpr int kSpriteSize = 4;
constexpr uint16_t kInk = zorgen::Rgb565(250, 10, 10);

inline int PartTile(int a, int b) { return kPartBase + 10 * a + b; }

inline zorgen::Bytes Tile() {
  zorgen::IsoTileContent t(1);
  for (int zoom = 0; zoom < zorgen::ISO_ZOOMS; ++zoom)
    for (int rot = 0; rot < zorgen::ISO_TURNS; ++rot) {
      zorgen::IsoTileLayer& e = t.At(zoom, rot, 0);
      e.spriteId = kSprite;
      e.y = 0;
    }
  return zorgen::WriteIsoTile(t);
}

inline zorgen::Bytes Group(int w, int d, int holeA = -1, int holeB = -1) {
  zorgen::IsoGroupContent g;
  g.width = static_cast<uint32_t>(w);
  g.depth = static_cast<uint32_t>(d);
  for (int a = 0; a < w; ++a)
    for (int b = 0; b < d; ++b)
      if (a != holeA || b != holeB)
        g.entries.push_back({static_cast<uint32_t>(a), static_cast<uint32_t>(b), 0,
                             static_cast<uint32_t>(PartTile(a, b))});
  return zorgen::WriteIsoGroup(g);
}

// Extra blobs (id, bytes) replace game resources of the same id.
inline void AddMapArchive(QnoResourceManager* resources,
                          std::vector<std::pair<uint32_t, zorgen::Bytes>> extras = {}) {
  zorgen::GlaWriter w;
  w.Add(kSprite, zorgen::WriteSprite(zorgen::Image16(kSpriteSize, kSpriteSize, kInk, 1)));
  w.Add(kTile, Tile());
  for (int a = 0; a < 4; ++a)
    for (int b = 0; b < 4; ++b) w.Add(static_cast<uint32_t>(PartTile(a, b)), Tile());
  w.Add(kGroup2x3, Group(2, 3));
  w.Add(kGroupHole, Group(2, 2, 1, 1));
  w.Add(kGroup1x1, Group(1, 1));
  w.Add(kGroup1x2, Group(1, 2));
  w.Add(kGroupWide, Group(3, 1));
  w.Add(kGroupEmpty, Group(0, 1));
  w.Add(kGroupTall, Group(1, 4));
  for (auto& [id, blob] : extras) w.Add(id, std::move(blob));
  ASSERT_TRUE(w.WriteFile("MAPTEST.GLA"));
  ASSERT_EQ(resources->AddWadFile("MAPTEST.GLA"), 0);
}

// Starts a world of type World headless and gives its map a full grid.
template <class World>
struct MapFixture : testing::Test {
  World* world = nullptr;
  CIsoWelt* map = nullptr;

  void SetUp() override {
    OpenErrorLog("errors.log");
    std::strcpy(CZorvaWorld::m_sIniFile, "ZORVANTA.INI");
    zortest::WriteGameSettings();
    world = new World;
    world->Create();
    world->OnStartup();
    map = world->GetIsoWelt();
    ASSERT_NE(map, nullptr);
    if (!map->GetIsoInfo(0, 0)) map->OnCreate();
    AddMapArchive(world->GetResourceManager());
    AddCatalogueRows();
  }
  // The test graphics are kinds of building of the catalogue too, so that
  // the buildings placed with them become locations of the demand model.
  static void AddCatalogueRows() {
    struct Row {
      int resId, graphic, w, d;
    };
    for (const Row& r : {Row{kTile, 2, 1, 1}, Row{kGroup2x3, 1, 2, 3}, Row{kGroupHole, 1, 2, 2}, Row{kGroup1x1, 1, 1, 1},
                         Row{kGroup1x2, 1, 1, 2}, Row{kGroupWide, 1, 3, 1}, Row{kGroupTall, 1, 1, 4}}) {
      PotentialType p;
      p.resId = r.resId;
      p.objectType = OBJ_RESIDENTIAL;
      p.graphic = r.graphic;
      p.size.width = static_cast<uint16_t>(r.w);
      p.size.depth = static_cast<uint16_t>(r.d);
      ASSERT_EQ(CBuildingDataList::AddBuildingPotential(&p), 0);
    }
  }
  void TearDown() override {
    if (world) {
      world->OnShutdown();
      world->Destroy();
      delete world;
    }
  }

  TObjectType Type(int x, int y, int layer = 0) {
    return map->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y),
                          static_cast<TBaseType>(layer));
  }
  CWorldObj* Object(int x, int y, int layer = 0) { return map->GetIsoTileObject(x, y, static_cast<TBaseType>(layer)); }
  int ResID(int x, int y, int layer = 0) { return map->GetIsoInfo(x, y)->GetResID(static_cast<TBaseType>(layer)); }
};

}  // namespace maptest

namespace maptest {

// Pixels of the test sprite's colour on the world's screen surface; each
// drawn tile adds kSpriteSize squared when it lies fully on the screen.
inline int InkPixels(CZorvaWorld* world) {
  SDL_Surface* s = world->GetScreen();
  if (!s) return -1;
  int n = 0;
  for (int y = 0; y < s->h; ++y) {
    const auto* row = reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(s->pixels) + y * s->pitch);
    for (int x = 0; x < s->w; ++x) n += row[x] == kInk;
  }
  return n;
}

inline void ClearScreen(CZorvaWorld* world) {
  if (SDL_Surface* s = world->GetScreen()) SDL_FillRect(s, nullptr, 0);
}

constexpr int kSquare = kSpriteSize * kSpriteSize;

}  // namespace maptest
