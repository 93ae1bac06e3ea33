// The start-up tables: ground ids, street types and their capacities, the
// building catalogue and the tool table; and every graphic that the street
// types and the junctions' crossing tables name is in the game data, in one
// piece, with a lane layout for every zoom that moves vehicles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <vector>

#include "framework/qno_log.h"
#include "framework/qno_resource.h"
#include "framework/qno_sprite.h"
#include "iso/iso_blob.h"
#include "iso/iso_welt.h"
#include "manifest.h"
#include "measures/building_object.h"
#include "network/str_junction.h"
#include "support/test_support.h"
#include "world/zor_startup_tables.h"
#include "world/zor_world.h"

namespace {

struct StartedWorld : testing::Test {
  CZorvaWorld* world = nullptr;
  void SetUp() override {
    OpenErrorLog("errors.log");
    std::strcpy(CZorvaWorld::m_sIniFile, "ZORVANTA.INI");
    zortest::WriteGameSettings();
    world = new CZorvaWorld;
    ASSERT_EQ(world->Create(), 0);
    ASSERT_EQ(world->OnStartup(), 0);
  }
  void TearDown() override {
    world->OnShutdown();
    world->Destroy();
    delete world;
  }
};

// The graphic ids of the crossing tables that a junction can come to use:
// the first row of every mask.
std::set<int> FirstRowIds(const KurveIDType* table, int rows) {
  std::set<int> ids;
  for (int i = 0; i < rows; ++i) {
    int id, rot;
    if (CStrJunction::FindKurveID(table, rows, table[i].mask, &id, &rot)) ids.insert(id);
  }
  return ids;
}

// A tile or group resource whose every part draws in every view and, when
// it carries vehicles, names a valid lane layout for zoom indexes 0 and 1.
void ExpectWholePiece(QnoResourceManager* m, int id, bool vehicles) {
  SCOPED_TRACE(id);
  std::vector<unsigned> tiles;
  uint32_t layouts[2][4] = {};
  const IsoGroupBlob group = IsoGroupBlob::FromResource(m, static_cast<unsigned>(id));
  if (!group.Empty()) {
    ASSERT_TRUE(group.IsValid());
    for (uint32_t b = 0; b < group.Depth(); ++b)
      for (uint32_t a = 0; a < group.Width(); ++a) {
        const int tile = group.FindObject(static_cast<int>(a), static_cast<int>(b), 0);
        ASSERT_GE(tile, 1) << a << "," << b;
        tiles.push_back(static_cast<unsigned>(tile));
      }
    for (int z = 0; z < 2; ++z)
      for (int r = 0; r < 4; ++r) layouts[z][r] = group.MicroLayoutId(z, r);
  } else {
    tiles.push_back(static_cast<unsigned>(id));
  }
  for (unsigned t : tiles) {
    const IsoTileBlob tile = IsoTileBlob::FromResource(m, t);
    ASSERT_FALSE(tile.Empty()) << "tile " << t;
    for (int z = 0; z < 3; ++z)
      for (int r = 0; r < 4; ++r) {
        for (int l = 0; l <= tile.HighestLayer(); ++l)
          EXPECT_NE(CIsoSprite::FromResource(m, tile.Entry(z, r, l).spriteId), nullptr) << t << " " << z << r << l;
        if (group.Empty() && z < 2) layouts[z][r] = tile.Entry(z, r, 0).dataId;
      }
  }
  for (int z = 0; z < 2; ++z)
    for (int r = 0; r < 4; ++r) {
      if (!vehicles) {
        EXPECT_EQ(layouts[z][r], 0u);
        continue;
      }
      const MicroLayoutBlob layout = MicroLayoutBlob::FromResource(m, layouts[z][r]);
      ASSERT_FALSE(layout.Empty()) << "zoom " << z << " rotation " << r;
      EXPECT_TRUE(layout.IsValid());
      EXPECT_GE(layout.CellCount(), 2u);
      EXPECT_NE(layout.FirstRenderId(), 0u);
    }
}

}  // namespace

TEST_F(StartedWorld, StreetTypesHaveTheirCapacitiesAndNoOtherTypeHasOne) {
  CIsoWelt* iso = world->GetIsoWelt();
  EXPECT_EQ(iso->GetStreetGetCapacity(STRASSE_1), 600);
  EXPECT_EQ(iso->GetStreetGetCapacity(STRASSE_2), 1200);
  EXPECT_EQ(iso->GetStreetGetCapacity(STRASSE_EINBAHN), 1200);
  EXPECT_EQ(iso->GetStreetGetCapacity(STRASSE_VIERSPURIG), 2400);
  EXPECT_EQ(iso->GetStreetGetCapacity(STRASSE_SCHIENE), 0);
  EXPECT_EQ(world->GetBaseResID(true), 10538);
}

TEST_F(StartedWorld, TheCatalogueHoldsEveryRowInOrderWithItsSizeAndSummedPlaces) {
  ASSERT_EQ(CBuildingDataList::GetRowCount(), 141);
  EXPECT_EQ(CBuildingDataList::GetBuildingResIDByListNr(0), 37800);
  EXPECT_EQ(CBuildingDataList::GetBuildingResIDByListNr(140), 17017);
  EXPECT_EQ(CBuildingDataList::GetBuildingResIDByListNr(141), 0);
  EXPECT_FALSE(CBuildingDataList::IsTGV(0));  // a river tile
  // The first office row with places: fields 2, 10, 0, 0, 8 become work
  // 10 and leisure 0 (2 / 12), then the catalogue's scaling (x 2.5; the
  // fifth field x 2).
  int office = -1;
  for (int n = 0; n < CBuildingDataList::GetRowCount() && office < 0; ++n)
    if (CBuildingDataList::GetBuildingResIDByListNr(n) == 10302) office = n;
  EXPECT_EQ(office, 45);
  const PotentialType* p = CBuildingDataList::GetPotentialByNr(office);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->resId, 10302);
  EXPECT_EQ(p->objectType, 9);
  EXPECT_EQ(p->graphic, 1);
  EXPECT_TRUE(CBuildingDataList::IsTGV(office));
  EXPECT_EQ(p->Field(0), 5);
  EXPECT_EQ(p->Field(1), 25);
  EXPECT_EQ(p->Field(3), 25);
  EXPECT_EQ(p->Field(4), 16);
  EXPECT_EQ(p->Field(5), 0);
  // Its footprint comes from its group resource.
  EXPECT_EQ(p->size.width, 1);
  EXPECT_EQ(p->size.depth, 1);
  // The largest school: work 0 + 0 + 200 = 200 places before scaling.
  for (int n = 0; n < CBuildingDataList::GetRowCount(); ++n) {
    const PotentialType* row = CBuildingDataList::GetPotentialByNr(n);
    if (row->resId != 16918) continue;
    EXPECT_EQ(row->objectType, 13);
    EXPECT_EQ(row->height, 3);
    EXPECT_EQ(row->Field(3), 500);
    EXPECT_EQ(row->Field(5), 0);
    EXPECT_EQ(row->size.width, 3);
    EXPECT_EQ(row->size.depth, 3);
  }
  // Zoned areas are single tiles.
  EXPECT_FALSE(CBuildingDataList::IsTGV(140));
}

// Every row has the footprint of its graphic: a group's own size, one cell
// for a single tile (rivers and zoned areas); no graphic of the game data
// is reported damaged at start.
TEST_F(StartedWorld, EveryCatalogueRowHasTheFootprintOfItsGraphic) {
  QnoResourceManager* m = world->GetResourceManager();
  int tiles = 0;
  for (int n = 0; n < CBuildingDataList::GetRowCount(); ++n) {
    const PotentialType* row = CBuildingDataList::GetPotentialByNr(n);
    SCOPED_TRACE(row->resId);
    if (row->graphic == 2) {
      ++tiles;
      EXPECT_FALSE(IsoTileBlob::FromResource(m, static_cast<unsigned>(row->resId)).Empty());
      EXPECT_EQ(row->size.width, 1);
      EXPECT_EQ(row->size.depth, 1);
      continue;
    }
    const IsoGroupBlob group = IsoGroupBlob::FromResource(m, static_cast<unsigned>(row->resId));
    ASSERT_FALSE(group.Empty());
    EXPECT_GE(row->size.width, 1);
    EXPECT_GE(row->size.depth, 1);
    EXPECT_EQ(row->size.width, group.Width());
    EXPECT_EQ(row->size.depth, group.Depth());
  }
  EXPECT_EQ(tiles, 20);
  const std::string log = zortest::ReadFile("errors.log");
  EXPECT_EQ(log.find("damaged"), std::string::npos) << log;
}

TEST(StartupTables, TheCatalogueRefusesRowsOnceFull) {
  CBuildingDataList::ClearRows();
  PotentialType p;
  p.resId = 7;
  p.SetField(0, 100);
  p.SetField(4, 100);
  for (int i = 0; i < CBuildingDataList::kMaxRows; ++i) ASSERT_EQ(CBuildingDataList::AddBuildingPotential(&p), 0);
  EXPECT_EQ(CBuildingDataList::AddBuildingPotential(&p), 1);
  EXPECT_EQ(CBuildingDataList::GetRowCount(), CBuildingDataList::kMaxRows);
  EXPECT_EQ(CBuildingDataList::GetPotentialByNr(0)->Field(0), 250);
  EXPECT_EQ(CBuildingDataList::GetPotentialByNr(0)->Field(4), 200);
  CBuildingDataList::ClearRows();
}

TEST(StartupTables, ToolsAreListedInTheirOrderWithTheirCursors) {
  EXPECT_EQ(kTools[0].tool, 1);
  EXPECT_EQ(kTools[0].cursorResId, 1409);
  std::map<int, int> subtools;
  for (const ToolRow& t : kTools) {
    EXPECT_NE(t.tool, 3);
    EXPECT_LT(t.tool, 24);
    EXPECT_LT(std::strlen(t.name), 60u);
    ++subtools[t.tool];
  }
  EXPECT_EQ(subtools[2], 10);
  EXPECT_EQ(subtools[5], 5);
  EXPECT_EQ(subtools.size(), 22u);
  // Tool 2's subtools name themselves by their digit; the eighth has a tab.
  for (const ToolRow& t : kTools)
    if (t.tool == 2) {
      EXPECT_EQ(t.name[0], '0' + t.subtool);
      EXPECT_EQ(std::strchr(t.name, '\t') != nullptr, t.subtool == 8);
    }
  // The definitions run 1, 2, 15, 4, 5, 9, 8, 6, 7, 10 ... 14, 16 ... 23.
  std::vector<int> order;
  for (const ToolRow& t : kTools)
    if (order.empty() || order.back() != t.tool) order.push_back(t.tool);
  EXPECT_EQ(order, (std::vector<int>{1, 2, 15, 4, 5, 9, 8, 6, 7, 10, 11, 12, 13, 14, 16, 17, 18, 19, 20, 21, 22, 23}));
}

TEST_F(StartedWorld, EveryStreetAndJunctionGraphicIsInTheGameData) {
  QnoResourceManager* m = world->GetResourceManager();
  std::set<int> pieces;
  for (const StreetTypeRow& t : kStreetTypes)
    for (int id : {t.straight, t.bend, t.crossing, t.tJunction, t.end}) pieces.insert(id);
  for (int id : FirstRowIds(CStrJunction::KurveID, CStrJunction::kKurveIDRows)) pieces.insert(id);
  for (int id : FirstRowIds(CStrJunction::KurveIDStrasseD, CStrJunction::kKurveIDStrasseDRows)) pieces.insert(id);
  // 16 of the street types, 11 more one-tile junctions and 9 four-lane ones;
  // every mask of 1691 finds the rows of 1678 first.
  EXPECT_EQ(pieces.size(), 16u + 11u + 9u - 1u);
  // bridges and level crossings
  for (int id : {1691, 42425, 42426, 42427, 42441, 42457, 42458, 21493, 39079}) pieces.insert(id);
  for (int id : pieces) ExpectWholePiece(m, id, true);
  // layers merged onto street cells, and the marks of the selection
  for (int id : {12802, 21308, 26515, 19482, 19484, 31243, 31245, 31251, 31922, 31923, 44306, 33879, 33880, 33883})
    ExpectWholePiece(m, id, false);
  // the rail groups, which carry the trains: straight track, curve, T
  // junction, end
  for (int id : {18353, 18364, 21276, 19806}) ExpectWholePiece(m, id, true);
}

// The light's head is one picture for every phase of the cycle: no lens
// of it may look lit, at any zoom or view rotation, or every arm would
// seem to show that colour at once.
TEST_F(StartedWorld, TheTrafficLightsPictureShowsNoLampLit) {
  QnoResourceManager* m = world->GetResourceManager();
  const IsoTileBlob tile = IsoTileBlob::FromResource(m, CStrJunction::kAmpelResID);
  ASSERT_FALSE(tile.Empty());
  int drawn = 0;
  for (int z = 0; z < 3; ++z)
    for (int r = 0; r < 4; ++r)
      for (int l = 0; l <= tile.HighestLayer(); ++l) {
        const void* sprite = CIsoSprite::FromResource(m, tile.Entry(z, r, l).spriteId);
        ASSERT_NE(sprite, nullptr);
        const int w = static_cast<int>(CIsoSprite::GetWidth(sprite)), h = static_cast<int>(CIsoSprite::GetHeight(sprite));
        // Pixels the sprite leaves transparent keep 0, which is black.
        std::vector<uint16_t> pixels(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
        CIsoSprite::PutXY16BitSprite(pixels.data(), sprite, 2 * w);
        int lit = 0;
        for (uint16_t v : pixels) {
          const int red = (v >> 11) << 3, green = ((v >> 5) & 63) << 2, blue = (v & 31) << 3;
          const int hi = std::max({red, green, blue}), lo = std::min({red, green, blue});
          lit += hi >= 0xa0 && hi - lo >= 0x70;
          drawn += v != 0;
        }
        EXPECT_EQ(lit, 0) << "zoom " << z << " rotation " << r << " layer " << l;
      }
  EXPECT_GT(drawn, 0);
}

TEST(StartupTables, EachCrossingGraphicShowsTheArmsItsTableRowsCode) {
  // Sides of a piece: 0 +x, 1 +y, 2 -x, 3 -y; a graphic turned by r shows
  // its side s at side s + r.
  auto shown = [](int id, int rotation, int side) {
    const zorgen::NetPieceArt* n = zorgen::FindNetPiece(static_cast<uint32_t>(id));
    return n ? n->arms[(side - rotation + 4) % 4] : 255;
  };
  int checked = 0;
  const int oneTileShift[4] = {2, 6, 0, 4};
  for (const KurveIDType& row : CStrJunction::KurveID) {
    int id, rot;
    CStrJunction::FindKurveID(CStrJunction::KurveID, CStrJunction::kKurveIDRows, row.mask, &id, &rot);
    int arms = 0;
    for (int side = 0; side < 4; ++side) arms += ((row.mask >> oneTileShift[side]) & 3) != 0;
    if (id != row.resId || rot != row.richtung || arms < 3) continue;  // a row no junction reaches
    for (int side = 0; side < 4; ++side) {
      const int code = (row.mask >> oneTileShift[side]) & 3;
      const int want = code == 0 ? zorgen::ARM_NONE : code == 1 ? zorgen::ARM_ONEWAY : zorgen::ARM_STREET;
      EXPECT_EQ(shown(row.resId, row.richtung, side), want) << row.resId << " mask " << row.mask << " side " << side;
    }
    ++checked;
  }
  // Four-lane junctions: per side a one-way, a one-tile or a four-lane code.
  const int fourLane[4][4] = {{8, 16, 32, 64}, {2048, 4096, 8192, 16384}, {1, 2, 2, 4}, {128, 256, 512, 1024}};
  for (const KurveIDType& row : CStrJunction::KurveIDStrasseD) {
    int id, rot;
    CStrJunction::FindKurveID(CStrJunction::KurveIDStrasseD, CStrJunction::kKurveIDStrasseDRows, row.mask, &id, &rot);
    int want[4] = {}, arms = 0;
    for (int side = 0; side < 4; ++side) {
      const int* c = fourLane[side];
      want[side] = row.mask & c[3]   ? zorgen::ARM_FOURLANE
                   : row.mask & c[0] ? zorgen::ARM_ONEWAY
                   : row.mask & (c[1] | c[2]) ? zorgen::ARM_STREET
                                              : zorgen::ARM_NONE;
      arms += want[side] != zorgen::ARM_NONE;
    }
    if (id != row.resId || rot != row.richtung || arms < 3) continue;
    for (int side = 0; side < 4; ++side)
      EXPECT_EQ(shown(row.resId, row.richtung, side), want[side]) << row.resId << " mask " << row.mask << " side " << side;
    ++checked;
  }
  EXPECT_GT(checked, 60);
}
