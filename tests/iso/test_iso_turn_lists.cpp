// What a turn keeps: the render lists whose order is the same in every
// rotation, and the sprites the tile layers resolve to. Each kept answer is
// held to the one made afresh.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "iso/iso_layer_sprites.h"
#include "iso/iso_tile.h"
#include "iso/iso_welt.h"
#include "iso_scene.h"

namespace {

using namespace isotest;

// Two floor layers whose z changes places with the rotation: in rotations
// 0 and 2 the first lies below the second, in 1 and 3 above it.
constexpr int kSwapping = 540;
// A tile without a sprite in its second layer at rotation 3.
constexpr int kHalfDrawn = 545;

std::map<uint32_t, Bytes> TurnBlobs() {
  std::map<uint32_t, Bytes> b = SceneBlobs();
  zorgen::IsoTileContent swapping(2), halfDrawn(2);
  for (int zi = 0; zi < 3; ++zi)
    for (int r = 0; r < 4; ++r) {
      swapping.At(zi, r, 0) = {GroundSprite(zi), static_cast<uint8_t>(r % 2 ? 3 : 1), 0, 0, 0};
      swapping.At(zi, r, 1) = {FloorSprite(zi), 2, 0, 0, 0};
      halfDrawn.At(zi, r, 0) = {FloorSprite(zi), 0, static_cast<int16_t>(r), static_cast<int16_t>(zi), 0};
      halfDrawn.At(zi, r, 1) = {r == 3 ? 0u : BlockSprite(zi, r), 6, 2, 3, 0};
    }
  b[kSwapping] = zorgen::WriteIsoTile(swapping);
  b[kHalfDrawn] = zorgen::WriteIsoTile(halfDrawn);
  return b;
}

struct TurnTest : testing::Test {
  void TearDown() override {
    g_ZoomStufe = ISO_ZOOM_1;
    g_IsoRichtung = 0;
  }
};

using Items = std::vector<std::tuple<int, CIsoObject*, int>>;
Items ListOf(CIsoInfo* cell) {
  Items items;
  if (SortedList* list = cell->GetRenderList())
    for (int i = 0; i < list->GetCount(); ++i) {
      const SortedList::Item& it = list->GetAt(i);
      items.emplace_back(it.z, it.object, it.layer);
    }
  return items;
}

TEST_F(TurnTest, ATurnKeepsOnlyListsThatAListMadeAfreshWouldEqual) {
  Scene s(320, 240, TurnBlobs());
  s.CreateGround();
  struct Cell {
    int x, y, tile;
    bool merge;         // a flower layer merged into the cell afterwards
    bool keptOverTurn;  // the list is kept over a turn
  };
  const Cell cells[] = {
      {60, 60, kGround, false, true},     // one layer
      {61, 60, kBuilding, false, true},   // floor and block, z alike in every rotation
      {62, 60, kSwapping, false, false},  // z order changes with the rotation
      {63, 60, kBuilding, true, false},   // items added one by one
  };
  for (const Cell& c : cells)
    ASSERT_EQ(s.map->SetIsoTileAt(c.x, c.y, ISO_LAYER_GROUND, CIsoRichtung(1), c.tile, nullptr), 0);
  auto merge = [&] {
    for (const Cell& c : cells)
      if (c.merge) {
        ASSERT_EQ(s.map->GetIsoInfo(c.x, c.y)->MergeLayerFromIsoTile(kFlower, ISO_LAYER_GROUND), 0);
      }
  };
  merge();
  for (int turn = 0; turn < 5; ++turn) {
    for (const Cell& c : cells) {
      CIsoInfo* cell = s.map->GetIsoInfo(c.x, c.y);
      // As the turn found it, before the list is read.
      if (turn > 0) {
        EXPECT_EQ(cell->IsRenderListTurnFree(), c.keptOverTurn) << c.x << " turn " << turn;
      }
      const Items kept = ListOf(cell);
      ASSERT_FALSE(kept.empty());
      cell->CreateNewRenderList();
      EXPECT_EQ(kept, ListOf(cell)) << c.x << " turn " << turn;
    }
    // The swapping tile shows its rotation's order.
    const Items swapped = ListOf(s.map->GetIsoInfo(62, 60));
    ASSERT_EQ(swapped.size(), 2u);
    EXPECT_EQ(std::get<2>(swapped[0]), (g_IsoRichtung + 1) % 2 ? 1 : 0) << "turn " << turn;
    // Another flower, one by one, before each turn.
    merge();
    s.map->UserIntTurnRight();
  }
  // A zoom makes every list again.
  s.map->UserIntZoomIn();
  for (const Cell& c : cells) {
    CIsoInfo* cell = s.map->GetIsoInfo(c.x, c.y);
    const Items kept = ListOf(cell);
    cell->CreateNewRenderList();
    EXPECT_EQ(kept, ListOf(cell)) << c.x << " after a zoom";
  }
}

// Each rotation keeps its sprite cache over turns: turned back, a frame is
// drawn from what the rotation kept, except the cells that changed since
// and those whose list a turn replaces (items added one by one), and it
// shows what the plain renderer shows.
TEST_F(TurnTest, ARotationTurnedBackToDrawsAsTheFrameMadeAfresh) {
  Scene s(320, 240, TurnBlobs());
  s.CreateGround();
  s.map->SetIsoCenter(62, 61);
  for (auto [x, tile] : {std::pair{61, kBuilding}, {63, kBuilding}, {64, kHalfDrawn}})
    ASSERT_EQ(s.map->SetIsoTileAt(x, 60, ISO_LAYER_GROUND, CIsoRichtung(1), tile, nullptr), 0);
  ASSERT_EQ(s.map->GetIsoInfo(63, 60)->MergeLayerFromIsoTile(kFlower, ISO_LAYER_GROUND), 0);
  // Frames drawn the cached way, then the plain way; the cache entries the
  // cached frame made.
  // A second frame after it is drawn again from the first one's steps
  // once the rotation's covers are worked out.
  auto draw = [&](const char* what, int turn) {
    const uint32_t before = s.map->GetCacheBuildCount();
    uint32_t cached[2];
    for (uint32_t& frame : cached) {
      s.Clear();
      EXPECT_EQ(s.map->RenderSpriteList_Left_Right(&s.display), 0);
      frame = Checksum(s.surface);
    }
    const uint32_t made = s.map->GetCacheBuildCount() - before;
    s.Clear();
    EXPECT_EQ(s.map->Render(&s.display), 0);
    EXPECT_EQ(cached[0], Checksum(s.surface)) << what << " turn " << turn;
    EXPECT_EQ(cached[1], Checksum(s.surface)) << what << " turn " << turn;
    return made;
  };
  const uint32_t cells = draw("first", 0);
  ASSERT_GT(cells, 100u);
  // Three rotations not shown before, back to the first, then back and
  // forth over rotations shown before. Turn 7 builds a tower and turn 8
  // takes it away: each rotation's first frame after that makes the
  // changed cell again. A rotation whose last frames came after the last
  // change draws its first frame again from their steps.
  struct Turn {
    bool right;
    int made;  // cache entries the frames make; -1: most of the view
    bool replayed;
  };
  const Turn turns[] = {{true, -1, false}, {true, -1, false}, {true, -1, false}, {true, 1, false},
                        {false, 0, false}, {false, 0, false}, {true, 0, true},   {false, 1, false},
                        {true, 1, false},  {true, 1, false},  {false, 0, true}};
  for (int turn = 1; turn <= 11; ++turn) {
    const Turn& t = turns[turn - 1];
    t.right ? s.map->UserIntTurnRight() : s.map->UserIntTurnLeft();
    const uint32_t replayed = s.map->GetReplayedFrameCount();
    const uint32_t made = draw("turned", turn);
    if (t.made < 0) {
      EXPECT_GT(made, cells / 2) << "a rotation not shown before, turn " << turn;
    } else {
      EXPECT_EQ(made, static_cast<uint32_t>(t.made)) << "turn " << turn;
    }
    EXPECT_EQ(s.map->GetReplayedFrameCount() > replayed, t.replayed) << "turn " << turn;
    if (turn == 7) {
      ASSERT_EQ(s.map->SetIsoTileAt(62, 62, ISO_LAYER_GROUND, CIsoRichtung(2), kBuilding, nullptr), 0);
    }
    if (turn == 8) {
      ASSERT_EQ(s.map->SetIsoTileAt(62, 62, ISO_LAYER_GROUND, CIsoRichtung(0), kGround, nullptr), 0);
    }
  }
  // A zoom drops every rotation's cache; new archives drop a kept one.
  s.map->UserIntZoomIn();
  draw("zoomed", 0);
  s.map->UserIntTurnRight();
  EXPECT_GT(draw("zoomed and turned", 1), cells / 2);
  s.map->UserIntTurnLeft();
  EXPECT_EQ(draw("zoomed and turned back", 2), 0u);
  s.resources.Clear();
  ASSERT_EQ(s.resources.AddWadFile("scene.gla"), 0);
  s.map->UserIntTurnRight();
  EXPECT_GT(draw("new archives", 3), cells / 2);
}

TEST_F(TurnTest, RememberedLayerSpritesAnswerAsTheTileDoes) {
  Scene s(320, 240, TurnBlobs());
  CIsoLayerSprites known;
  auto compare = [&](int tileId) {
    for (int zi = 0; zi < 3; ++zi) {
      g_ZoomStufe = zi == 0 ? ISO_ZOOM_1 : zi == 1 ? ISO_ZOOM_2 : ISO_ZOOM_4;
      for (int r = 0; r < 4; ++r)
        for (int layer = 0; layer < 3; ++layer) {
          const CIsoLayerSprites::Layer* e = known.Find(&s.resources, tileId, r, layer);
          ASSERT_NE(e, nullptr);
          const CIsoTile* tile = CIsoTile::Get(&s.resources, tileId);
          EXPECT_EQ(e->tile, tile != nullptr) << tileId;
          int id = 0, sx = 0, sy = 0;
          const void* sprite = tile ? tile->GetRenderSprite(&s.resources, 0, 0, static_cast<unsigned char>(layer),
                                                            static_cast<TIsoRichtung>(r), id, sx, sy)
                                    : nullptr;
          EXPECT_EQ(e->sprite, sprite) << tileId << " zoom " << zi << " rotation " << r << " layer " << layer;
          if (sprite) {
            EXPECT_EQ(std::tie(e->spriteId, e->dx, e->dy), std::tie(id, sx, sy)) << tileId;
          }
        }
    }
  };
  // Asked twice: the second time from memory.
  for (int pass = 0; pass < 2; ++pass)
    for (int tileId : {kGround, kBuilding, kFlower, kSwapping, kHalfDrawn, 999}) compare(tileId);
  EXPECT_EQ(known.Size(), 6u * 3 * 4 * 3);
  // Beyond what an entry names: the caller asks the tile.
  EXPECT_EQ(known.Find(&s.resources, 0, 0, 0), nullptr);
  EXPECT_EQ(known.Find(&s.resources, kGround, 0, 256), nullptr);
  EXPECT_EQ(known.Find(&s.resources, kGround, 0, -1), nullptr);
  // With the archives gone nothing is remembered: the tiles are missing.
  s.resources.Clear();
  const CIsoLayerSprites::Layer* gone = known.Find(&s.resources, kBuilding, 1, 1);
  ASSERT_NE(gone, nullptr);
  EXPECT_FALSE(gone->tile);
  EXPECT_EQ(gone->sprite, nullptr);
  ASSERT_EQ(s.resources.AddWadFile("scene.gla"), 0);
  compare(kBuilding);
  EXPECT_EQ(known.Size(), 3u * 4 * 3);
}

}  // namespace
