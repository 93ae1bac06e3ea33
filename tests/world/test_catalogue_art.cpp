// Every entry of the building catalogue has its art: placed on the map in
// each of the four directions, every cell it covers names a tile of the game
// data, and that tile a sprite for every zoom and view rotation.
#include <gtest/gtest.h>

#include <deque>
#include <set>

#include "framework/qno_resource.h"
#include "framework/qno_sprite.h"
#include "iso/iso_blob.h"
#include "iso/iso_info.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "support/scenario.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

bool UpperLayer(int type) { return type >= OBJ_BUSSTOP_SIGN && type <= OBJ_TRAFFIC_SIGN4; }

struct CatalogueArt : testing::Test {
  // The objects outlive the game that shows them.
  std::deque<CBuildingRCIObject> objects;
  Scenario game;

  // The resource ids that a cell's tile needs and the game data lacks.
  int MissingAt(int x, int y, TBaseType layer, std::set<unsigned>& missing) {
    QnoResourceManager* m = game.World().GetResourceManager();
    CIsoInfo* cell = game.Map().GetIsoInfo(x, y);
    if (!cell) return 1;
    const int id = cell->GetResID(layer);
    const IsoTileBlob tile = IsoTileBlob::FromResource(m, static_cast<unsigned>(id));
    if (id <= 0 || tile.Empty()) {
      missing.insert(static_cast<unsigned>(id));
      return 1;
    }
    int n = 0;
    for (int z = 0; z < 3; ++z)
      for (int r = 0; r < 4; ++r)
        for (int l = 0; l <= tile.HighestLayer(); ++l) {
          const unsigned sprite = tile.Entry(z, r, l).spriteId;
          if (!CIsoSprite::FromResource(m, sprite)) {
            missing.insert(sprite);
            ++n;
          }
        }
    return n;
  }
};

TEST_F(CatalogueArt, EveryEntryInEveryDirectionDrawsWithoutAMissingResource) {
  CIsoWelt& map = game.Map();
  const int rows = CBuildingDataList::GetRowCount();
  ASSERT_EQ(rows, 141);
  std::set<unsigned> missing;
  int placements = 0, cells = 0, gaps = 0;
  // Slots of 4 x 4 cells, clear of the map's edge.
  int slot = 0;
  for (int n = 0; n < rows; ++n) {
    const PotentialType* row = CBuildingDataList::GetPotentialByNr(n);
    const TBaseType layer = UpperLayer(row->objectType) ? ISO_LAYER_UPPER : ISO_LAYER_GROUND;
    for (int dir = 0; dir < 4; ++dir, ++slot) {
      SCOPED_TRACE(testing::Message() << "entry " << n << " (" << row->resId << ") direction " << dir);
      const int x = 2 + 4 * (slot % 31), y = 2 + 4 * (slot / 31);
      ASSERT_LT(y + 3, 128);
      objects.emplace_back();
      CWorldObj* object = &objects.back();
      object->SetType(static_cast<TObjectType>(row->objectType));
      int w = 1, d = 1;
      if (row->graphic == 2) {
        ASSERT_EQ(map.SetIsoTileAt(x, y, layer, CIsoRichtung(dir), row->resId, object), 0);
      } else {
        ASSERT_EQ(map.GetIsoGroupSize(row->resId, static_cast<TIsoRichtung>(dir), w, d), 0);
        ASSERT_LE(w, 4);
        ASSERT_LE(d, 4);
        ASSERT_EQ(map.SetIsoGroupTurnedAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), layer,
                                          row->resId, object, CIsoRichtung(dir)),
                  0);
      }
      ++placements;
      for (int a = 0; a < w; ++a)
        for (int b = 0; b < d; ++b) {
          ++cells;
          gaps += MissingAt(x + a, y + b, layer, missing);
        }
    }
  }
  EXPECT_EQ(placements, 141 * 4);
  EXPECT_GE(cells, placements);
  EXPECT_EQ(gaps, 0);
  EXPECT_EQ(missing.size(), 0u);
  std::printf("catalogue art: %d placements, %d cells, %zu missing resource ids\n", placements, cells,
              missing.size());
}

}  // namespace
