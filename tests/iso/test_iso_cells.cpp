// Map cells, their render lists, sprite objects, groups and filter tiles.
#include <gtest/gtest.h>

#include <vector>

#include "iso/iso_welt.h"
#include "iso_scene.h"
#include "support/test_support.h"
#include "worldbase/zor_world_obj.h"

namespace {

using namespace isotest;

struct IsoCellTest : testing::Test {
  void TearDown() override {
    g_ZoomStufe = ISO_ZOOM_1;
    g_IsoRichtung = 0;
  }
};

// A world object whose filter icon and filter answer the test sets.
struct FilterObj : CWorldObj {
  bool filter = false;
  bool IsFilter() override { return filter; }
};

std::vector<int> ZValues(const SortedList& list) {
  std::vector<int> z;
  for (int i = 0; i < list.GetCount(); ++i) z.push_back(list.GetAt(i).z);
  return z;
}

TEST_F(IsoCellTest, RenderListKeepsZOrderAndPutsAnEqualZAfterTheOneItMeets) {
  SortedList list;
  CIsoObject a, b, c, d;
  list.InsertItem(5, &a, 0);
  list.InsertItem(3, &b, 0);
  list.InsertItem(5, &c, 0);
  list.InsertItem(0, &d, 0);
  EXPECT_EQ(ZValues(list), (std::vector<int>{0, 3, 5, 5}));
  EXPECT_EQ(list.GetAt(2).object, &a);
  EXPECT_EQ(list.GetAt(3).object, &c);
  // Growing past the first five items keeps every item.
  for (int z = 9; z >= 0; --z) list.InsertItem(z, &a, z);
  EXPECT_EQ(list.GetCount(), 14);
  for (int i = 1; i < list.GetCount(); ++i) EXPECT_LE(list.GetAt(i - 1).z, list.GetAt(i).z);
}

TEST_F(IsoCellTest, EverySpriteLayerOfATileEntersTheRenderList) {
  auto blobs = SceneBlobs();
  blobs[700] = MakeTile({FlatLayer(GroundSprite, 0), FlatLayer(FloorSprite, 2), FlatLayer(FlowerSprite, 5)});
  Scene s(320, 240, blobs);
  CIsoInfo cell(s.map.get(), 3, 4);
  cell.CreateTile(700, ISO_RICHTUNG_0, nullptr, ISO_LAYER_GROUND);
  ASSERT_NE(cell.GetRenderList(), nullptr);
  EXPECT_EQ(ZValues(*cell.GetRenderList()), (std::vector<int>{0, 2, 5}));
  EXPECT_EQ(cell.GetRenderList()->GetAt(2).layer, 2);
  // A missing tile resource contributes nothing.
  cell.MergeLayerFromIsoTile(9999, ISO_LAYER_GROUND);
  EXPECT_EQ(cell.GetRenderList()->GetCount(), 3);
}

TEST_F(IsoCellTest, RenderWalkSeparatesFloorMiddleAndUpperLayers) {
  auto blobs = SceneBlobs();
  blobs[701] = MakeTile({FlatLayer(FloorSprite, 6)});
  Scene s(320, 240, blobs);
  TIsoRichtung dir;
  int layer = -1;
  CIsoInfo upperOnly(s.map.get(), 0, 0);
  upperOnly.CreateTile(701, ISO_RICHTUNG_2, nullptr, ISO_LAYER_GROUND);
  EXPECT_EQ(upperOnly.GetFirstRenderID(dir, layer), 0);
  EXPECT_EQ(layer, 0);
  EXPECT_EQ(upperOnly.GetMiddleRenderID(dir, layer), 0);
  EXPECT_EQ(upperOnly.GetNextRenderID(dir, layer), 701);
  EXPECT_EQ(dir, ISO_RICHTUNG_2);
  EXPECT_EQ(upperOnly.GetNextRenderID(dir, layer), 0);

  CIsoInfo mixed(s.map.get(), 1, 1);
  mixed.CreateTile(kBuilding, ISO_RICHTUNG_0, nullptr, ISO_LAYER_GROUND);
  mixed.MergeLayerFromIsoTile(kFlower, ISO_LAYER_GROUND);
  EXPECT_EQ(mixed.GetFirstRenderID(dir, layer), kBuilding);
  EXPECT_EQ(mixed.GetNextFloorRenderID(dir, layer), 0);
  EXPECT_EQ(mixed.GetMiddleRenderID(dir, layer), kFlower);
  EXPECT_EQ(mixed.GetMiddleRenderID(dir, layer), 0) << "only z exactly 5 is a middle layer";
  EXPECT_EQ(mixed.GetNextRenderID(dir, layer), kBuilding);
  EXPECT_EQ(layer, 1);
}

// One item of the render-list walk with the part it came in.
struct WalkStep {
  CIsoInfo::RenderPart part;
  int id;
  TIsoRichtung dir;
  int layer;
  bool operator==(const WalkStep&) const = default;
};

std::vector<WalkStep> WholeWalk(CIsoInfo& cell) {
  std::vector<WalkStep> steps;
  EXPECT_TRUE(cell.ForEachRenderItem([&](CIsoInfo::RenderPart part, int id, TIsoRichtung dir, int layer) {
    steps.push_back({part, id, dir, layer});
    return true;
  }));
  return steps;
}

// The walk a step at a time, as a renderer with a floor pass and an
// object pass reads it.
std::vector<WalkStep> CursorWalk(CIsoInfo& cell) {
  std::vector<WalkStep> steps;
  TIsoRichtung dir = ISO_RICHTUNG_0;
  int layer = 0;
  for (int id = cell.GetFirstRenderID(dir, layer); id; id = cell.GetNextFloorRenderID(dir, layer))
    steps.push_back({CIsoInfo::RenderPart::Floor, id, dir, layer});
  if (int id = cell.GetMiddleRenderID(dir, layer)) steps.push_back({CIsoInfo::RenderPart::Middle, id, dir, layer});
  for (int id = cell.GetNextRenderID(dir, layer); id; id = cell.GetNextRenderID(dir, layer))
    steps.push_back({CIsoInfo::RenderPart::Upper, id, dir, layer});
  return steps;
}

// The whole walk and the cursor's give the same items in the same parts:
// two floors, the first z 5 item as the middle, a second one among the rest.
TEST_F(IsoCellTest, WholeWalkAndCursorWalkGiveTheSameItemsInTheSameParts) {
  using Part = CIsoInfo::RenderPart;
  auto blobs = SceneBlobs();
  blobs[701] = MakeTile({FlatLayer(FloorSprite, 6)});
  Scene s(320, 240, blobs);
  CIsoInfo mixed(s.map.get(), 1, 1);
  mixed.CreateTile(kBuilding, ISO_RICHTUNG_2, nullptr, ISO_LAYER_GROUND);
  for (int tile : {kGround, kFlower, kFlower})
    ASSERT_EQ(mixed.MergeLayerFromIsoTile(tile, CIsoRichtung(3), ISO_LAYER_GROUND), 0);
  const TIsoRichtung merged = ISO_RICHTUNG_3;
  const std::vector<WalkStep> expected = {{Part::Floor, kBuilding, ISO_RICHTUNG_2, 0},
                                          {Part::Floor, kGround, merged, 0},
                                          {Part::Middle, kFlower, merged, 0},
                                          {Part::Upper, kFlower, merged, 0},
                                          {Part::Upper, kBuilding, ISO_RICHTUNG_2, 1}};
  EXPECT_EQ(WholeWalk(mixed), expected);
  EXPECT_EQ(CursorWalk(mixed), expected);
  EXPECT_EQ(CursorWalk(mixed), expected) << "the cursor starts over";

  CIsoInfo upperOnly(s.map.get(), 0, 0);
  upperOnly.CreateTile(701, ISO_RICHTUNG_1, nullptr, ISO_LAYER_GROUND);
  const std::vector<WalkStep> upper = {{Part::Upper, 701, ISO_RICHTUNG_1, 0}};
  EXPECT_EQ(WholeWalk(upperOnly), upper);
  EXPECT_EQ(CursorWalk(upperOnly), upper);

  CIsoInfo empty(s.map.get(), 2, 2);
  EXPECT_TRUE(WholeWalk(empty).empty());
  EXPECT_TRUE(CursorWalk(empty).empty());

  // A visit that answers false ends the walk there.
  int visits = 0;
  EXPECT_FALSE(mixed.ForEachRenderItem([&](Part part, int, TIsoRichtung, int) {
    ++visits;
    return part != Part::Middle;
  }));
  EXPECT_EQ(visits, 3);
}

// A tile placed twice without destroying the layer leaves one list: the
// old objects are freed (the sanitizer build sees a leak otherwise) and
// the render list names only the new ones.
TEST_F(IsoCellTest, CreatingATileAgainFreesTheOldList) {
  Scene s;
  CIsoInfo cell(s.map.get(), 5, 5);
  cell.CreateTile(kBuilding, ISO_RICHTUNG_0, nullptr, ISO_LAYER_GROUND);
  CIsoObjLst* first = cell.GetIsoObjects(ISO_LAYER_GROUND);
  EXPECT_EQ(cell.GetRenderList()->GetCount(), 2);
  cell.CreateTile(kGround, ISO_RICHTUNG_0, nullptr, ISO_LAYER_GROUND);
  EXPECT_NE(cell.GetIsoObjects(ISO_LAYER_GROUND), nullptr);
  EXPECT_EQ(cell.GetIsoObjects(ISO_LAYER_GROUND)->GetNumber(), 1u);
  ASSERT_EQ(cell.GetRenderList()->GetCount(), 1);
  EXPECT_EQ(cell.GetRenderList()->GetAt(0).object, cell.GetIsoObjects(ISO_LAYER_GROUND)->GetHead());
  (void)first;
}

TEST_F(IsoCellTest, FilterTilesAreMadeOnceAndSwitchTheRenderList) {
  Scene s;
  FilterObj obj;
  obj.SetFilterResID(kFilter);
  CIsoInfo cell(s.map.get(), 5, 5);
  EXPECT_EQ(cell.CreateTile(kBuilding, ISO_RICHTUNG_0, &obj, ISO_LAYER_GROUND), 0);
  CIsoObject* made = cell.GetIsoObjects(ISO_LAYER_GROUND)->GetFilterTile();
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->GetResID(), kFilter);

  obj.filter = true;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(cell.SetFilter(), 0);
    EXPECT_EQ(cell.GetIsoObjects(ISO_LAYER_GROUND)->GetFilterTile(), made) << "no new filter tile per call";
  }
  ASSERT_EQ(cell.GetRenderList()->GetCount(), 1);
  EXPECT_EQ(cell.GetRenderList()->GetAt(0).object, made);

  obj.filter = false;
  cell.SetFilter();
  EXPECT_EQ(cell.GetIsoObjects(ISO_LAYER_GROUND)->GetFilterTile(), nullptr);
  EXPECT_EQ(cell.GetRenderList()->GetCount(), 2);

  // Without a filter icon the object gets none.
  CWorldObj plain;
  EXPECT_EQ(cell.CreateTile(kGround, ISO_RICHTUNG_0, &plain, ISO_LAYER_GROUND), 1);
}

TEST_F(IsoCellTest, FilterObjectWithoutIconLogsAndKeepsItsSprites) {
  Scene s;
  FilterObj obj;
  obj.filter = true;
  obj.SetFilterResID(0);
  CIsoInfo cell(s.map.get(), 5, 5);
  cell.CreateTile(kBuilding, ISO_RICHTUNG_0, &obj, ISO_LAYER_GROUND);
  EXPECT_EQ(cell.SetFilter(), 1);
  EXPECT_EQ(cell.GetRenderList()->GetCount(), 2);
  CloseErrorLog();
  EXPECT_NE(zortest::ReadFile("errors.log").find("Filter ResID is zeor"), std::string::npos);
}

TEST_F(IsoCellTest, GroupRecordAnswersItsFootprint) {
  Scene s;
  CIsoObjGroup g;
  EXPECT_EQ(g.Create(0, ISO_RICHTUNG_0, 10, 10), 1);
  EXPECT_EQ(g.Create(9999, ISO_RICHTUNG_0, 10, 10), 1);
  auto blobs = SceneBlobs();
  ASSERT_EQ(g.Create(kGroup, ISO_RICHTUNG_1, 10, 10), 0);
  EXPECT_EQ(g.GetSizeX(), 2);
  EXPECT_EQ(g.GetTurnedSizeX(), 1);
  EXPECT_EQ(g.GetTurnedSizeY(), 2);
  short x = 0, y = 0;
  g.GetKoorBeside(x, y, 1, 0);
  EXPECT_EQ(x, 11);
  g.GetKoorBeside(x, y, 0, 1);
  EXPECT_EQ(y, 11);
}

TEST_F(IsoCellTest, PointInCountsTheFarEdgeInclusive) {
  auto blobs = SceneBlobs();
  blobs[702] = MakeGroup(2, 2, {{0, 0, 0, kGround}});
  Scene s(320, 240, blobs);
  CIsoObjGroup g;
  ASSERT_EQ(g.Create(702, ISO_RICHTUNG_0, 10, 10), 0);
  EXPECT_TRUE(g.PointIn(12, 12));
  EXPECT_TRUE(g.PointIn(10, 10));
  EXPECT_FALSE(g.PointIn(13, 10));
  EXPECT_FALSE(g.PointIn(9, 11));
}

TEST_F(IsoCellTest, GroupResourceLookupsAndMicroLayouts) {
  auto blobs = SceneBlobs();
  const uint32_t layouts[2][4] = {{11, 12, 13, 14}, {21, 22, 23, 24}};
  blobs[703] = MakeGroup(3, 2, {{0, 0, 0, kGround}, {2, 1, 0, kBuilding}, {2, 1, 1, kFlower}}, layouts);
  Scene s(320, 240, blobs);
  CIsoGroup* res = CIsoGroup::Get(&s.resources, 703);
  ASSERT_NE(res, nullptr);
  EXPECT_EQ(res->FindObject(2, 1, 0), kBuilding);
  EXPECT_EQ(res->FindObject(2, 1, 1), kFlower);
  EXPECT_EQ(res->FindObject(1, 1, 0), -1);
  CIsoObjGroup g;
  ASSERT_EQ(g.Create(703, ISO_RICHTUNG_1, 0, 0), 0);
  EXPECT_EQ(g.GetDataResID(0, ISO_RICHTUNG_0), 12u);
  EXPECT_EQ(g.GetDataResID(1, ISO_RICHTUNG_3), 21u);
  EXPECT_EQ(g.GetDataResID(2, ISO_RICHTUNG_0), 0u) << "zoom index 2 has no layouts";
  int w, d;
  EXPECT_EQ(s.map->GetIsoGroupSize(703, ISO_RICHTUNG_3, w, d), 0);
  EXPECT_EQ(w, 2);
  EXPECT_EQ(d, 3);
  EXPECT_EQ(s.map->GetIsoGroupSize(9999, ISO_RICHTUNG_0, w, d), 1);
  EXPECT_EQ(w, 0);
}

// A building's footprint: a group states its size, a single tile covers one
// cell; a missing or damaged resource has none.
TEST_F(IsoCellTest, FootprintsOfGroupsAndSingleTiles) {
  auto blobs = SceneBlobs();
  blobs[703] = MakeGroup(3, 2, {{0, 0, 0, kGround}});
  Bytes shortTile = MakeTile({FlatLayer(GroundSprite, 0)});
  shortTile.resize(shortTile.size() - 1);
  blobs[704] = shortTile;
  Scene s(320, 240, blobs);
  SimLocationSizeType size;
  EXPECT_EQ(s.map->GetGroupSize(size, 703), 0);
  EXPECT_EQ(size.width, 3);
  EXPECT_EQ(size.depth, 2);
  EXPECT_EQ(s.map->GetTileSize(size, kGround), 0);
  EXPECT_EQ(size.width, 1);
  EXPECT_EQ(size.depth, 1);
  for (int missing : {704, 9999, 0}) {
    size.width = size.depth = 7;
    EXPECT_EQ(s.map->GetTileSize(size, missing), 1) << missing;
    EXPECT_EQ(size.width, 0);
    EXPECT_EQ(size.depth, 0);
  }
}

// Blobs whose header promises more than they hold are refused.
TEST_F(IsoCellTest, DamagedTileAndGroupBlobsCountAsMissing) {
  auto blobs = SceneBlobs();
  Bytes shortTile = MakeTile({FlatLayer(GroundSprite, 0)});
  shortTile.resize(shortTile.size() - 1);
  blobs[704] = shortTile;
  Bytes tooManyLayers = MakeTile({FlatLayer(GroundSprite, 0)});
  tooManyLayers[16] = 3;  // four layers in one entry per rotation
  blobs[705] = tooManyLayers;
  Bytes shortGroup = MakeGroup(1, 1, {{0, 0, 0, kGround}});
  shortGroup[60] = 2;
  blobs[706] = shortGroup;
  Scene s(320, 240, blobs);
  EXPECT_EQ(CIsoTile::Get(&s.resources, 704), nullptr);
  EXPECT_EQ(CIsoTile::Get(&s.resources, 705), nullptr);
  EXPECT_EQ(CIsoGroup::Get(&s.resources, 706), nullptr);
  EXPECT_NE(CIsoTile::Get(&s.resources, kGround), nullptr);
}

TEST_F(IsoCellTest, MicroLayoutOfASingleTileFollowsZoomAndDirection) {
  auto blobs = SceneBlobs();
  TileLayer t = FlatLayer(GroundSprite, 0);
  for (int zi = 0; zi < 3; ++zi)
    for (int r = 0; r < 4; ++r) t.data[zi][r] = static_cast<uint32_t>(100 * zi + r);
  blobs[707] = MakeTile({t});
  Scene s(320, 240, blobs);
  CIsoInfo cell(s.map.get(), 0, 0);
  cell.CreateTile(707, ISO_RICHTUNG_1, nullptr, ISO_LAYER_GROUND);
  CIsoZoomStufe zoom(ISO_ZOOM_4);
  CIsoRichtung rot(3);
  EXPECT_EQ(cell.GetDataResID(&zoom, &rot, ISO_LAYER_GROUND), 200u);  // (3 + 1) mod 4
  EXPECT_EQ(cell.GetDataResID(&zoom, &rot, ISO_LAYER_UPPER), 0u);
}

// Overlay merges of a group resource map each covered cell to the
// resource's cell for the merge direction, and the delete takes them off.
TEST_F(IsoCellTest, GroupMergeAndDeleteReachEveryCoveredCell) {
  auto blobs = SceneBlobs();
  blobs[708] = MakeGroup(2, 1, {{0, 0, 0, kFlower}});  // the second cell has no entry
  Scene s(320, 240, blobs);
  s.CreateGround();
  s.map->SetIsoTileAt(10, 10, ISO_LAYER_GROUND, CIsoRichtung(0), kBuilding, nullptr);
  s.map->SetIsoTileAt(11, 10, ISO_LAYER_GROUND, CIsoRichtung(0), kBuilding, nullptr);
  for (int x : {10, 11}) s.map->GetIsoInfo(x, 10)->CreateGroup(kGroup, ISO_RICHTUNG_0, 10, 10, ISO_LAYER_GROUND);
  CIsoInfo* a = s.map->GetIsoInfo(10, 10);
  CIsoInfo* b = s.map->GetIsoInfo(11, 10);
  EXPECT_EQ(a->MergeLayerFromTGV(708, CIsoRichtung(0), ISO_LAYER_GROUND), 0);
  EXPECT_EQ(a->GetIsoObjects(ISO_LAYER_GROUND)->GetNumber(), 2u);
  EXPECT_EQ(static_cast<CIsoObject*>(a->GetIsoObjects(ISO_LAYER_GROUND)->GetTail())->GetResID(), kFlower);
  EXPECT_EQ(static_cast<CIsoObject*>(b->GetIsoObjects(ISO_LAYER_GROUND)->GetTail())->GetResID(), -1);
  // Direction 2 turns the resource: the flower goes to the far cell.
  a->DeleteLayerFromTGV(708, CIsoRichtung(0), ISO_LAYER_GROUND);
  EXPECT_EQ(a->GetIsoObjects(ISO_LAYER_GROUND)->GetNumber(), 1u);
  EXPECT_EQ(b->GetIsoObjects(ISO_LAYER_GROUND)->GetNumber(), 1u);
  a->MergeLayerFromTGV(708, CIsoRichtung(2), ISO_LAYER_GROUND);
  EXPECT_EQ(static_cast<CIsoObject*>(b->GetIsoObjects(ISO_LAYER_GROUND)->GetTail())->GetResID(), kFlower);
  EXPECT_EQ(s.map->GetIsoInfo(12, 10)->GetIsoObjects(ISO_LAYER_GROUND)->GetNumber(), 1u);
  // A cell without a group refuses.
  EXPECT_EQ(s.map->GetIsoInfo(50, 50)->MergeLayerFromTGV(708, CIsoRichtung(0), ISO_LAYER_GROUND), 1);
}

TEST_F(IsoCellTest, MapLookupsOutsideTheGridAnswerNothing) {
  Scene s;
  s.CreateGround();
  EXPECT_EQ(s.map->SetIsoTileAt(128, 0, ISO_LAYER_GROUND, CIsoRichtung(0), kGround, nullptr), 1);
  EXPECT_EQ(s.map->SetIsoTileAt(0, -1, ISO_LAYER_GROUND, CIsoRichtung(0), kGround, nullptr), 1);
  EXPECT_EQ(s.map->GetTypeAt(200, 3, ISO_LAYER_GROUND), OBJ_NONE);
  EXPECT_EQ(s.map->GetGroupAt(3, 200, ISO_LAYER_GROUND), nullptr);
  int w = 9, d = 9;
  EXPECT_EQ(s.map->GetGroupSize(3, 3, ISO_LAYER_GROUND, w, d), 1);
  EXPECT_EQ(w + d, 0);
  s.map->GetIsoInfo(3, 3)->CreateGroup(kGroup, ISO_RICHTUNG_3, 3, 3, ISO_LAYER_GROUND);
  s.map->GetIsoInfo(3, 4)->CreateGroup(kGroup, ISO_RICHTUNG_3, 3, 3, ISO_LAYER_GROUND);
  EXPECT_EQ(s.map->GetGroupSize(3, 3, ISO_LAYER_GROUND, w, d), 0);
  EXPECT_EQ(w, 1);
  EXPECT_EQ(d, 2);
  EXPECT_TRUE(s.map->IsSameGroup(3, 3, 3, 4, ISO_LAYER_GROUND));
  EXPECT_FALSE(s.map->IsSameGroup(3, 3, 3, 5, ISO_LAYER_GROUND));
  // Without a sprite list the direction lookup reports the parameter error.
  CIsoInfo empty(s.map.get(), 1, 1);
  EXPECT_EQ(empty.GetRichtung(ISO_LAYER_UPPER), ISO_RICHTUNG_0);
  EXPECT_EQ(empty.GetResID(ISO_LAYER_UPPER), 0);
  CloseErrorLog();
  EXPECT_NE(zortest::ReadFile("errors.log").find("m_pIsoObjects[LayerNr]==NULL"), std::string::npos);
}

TEST_F(IsoCellTest, SpriteLayerWalkRunsFromZeroToTheHighestLayer) {
  Scene s;
  CIsoObject building, missing;
  building.Create(kBuilding, ISO_RICHTUNG_0);
  missing.Create(9999, ISO_RICHTUNG_0);
  std::vector<int> layers;
  for (int l = building.GetFristLayer(ISO_ZOOM_2, ISO_RICHTUNG_0); l >= 0; l = building.GetNextLayer(ISO_ZOOM_2, ISO_RICHTUNG_0))
    layers.push_back(l);
  EXPECT_EQ(layers, (std::vector<int>{0, 1}));
  EXPECT_EQ(missing.GetFristLayer(ISO_ZOOM_2, ISO_RICHTUNG_0), -1);
  EXPECT_EQ(missing.GetZValue(ISO_ZOOM_2, ISO_RICHTUNG_0, 0), 0);
  EXPECT_EQ(building.GetZValue(ISO_ZOOM_4, ISO_RICHTUNG_0, 1), 6);
}

// A new filter tile replaces the earlier one, which is freed (the
// sanitizer build reports a leak otherwise).
TEST_F(IsoCellTest, AFilterTileReplacesTheEarlierOne) {
  Scene s;
  CIsoObjLst list;
  list.Create(kGround, ISO_RICHTUNG_0);
  auto* first = new CIsoObject;
  first->Create(kFilter, ISO_RICHTUNG_0);
  list.CreateFilterList(first);
  auto* second = new CIsoObject;
  second->Create(kFlower, ISO_RICHTUNG_1);
  list.CreateFilterList(second);
  EXPECT_EQ(list.GetFilterTile(), second);
  list.CreateFilterList(second);
  EXPECT_EQ(list.GetFilterTile(), second) << "setting the same tile again keeps it";
  list.DeleteFilterList();
  EXPECT_EQ(list.GetFilterTile(), nullptr);
  EXPECT_EQ(list.RemoveLayer(kFilter), 1);
  EXPECT_EQ(list.RemoveLayer(kGround), 0);
  EXPECT_EQ(list.GetResID(), -1);
}

// Of two like layers turned differently (the signs of two junctions on one
// tile), a removal by direction takes the one turned that way.
TEST_F(IsoCellTest, ALayerRemovedByItsDirectionLeavesItsTwin) {
  Scene s;
  CIsoObjLst list;
  list.MergeLayerFromIsoTile(kFlower, CIsoRichtung(1));
  list.MergeLayerFromIsoTile(kFlower, CIsoRichtung(3));
  EXPECT_EQ(list.RemoveLayer(kFlower, ISO_RICHTUNG_0), 1);
  EXPECT_EQ(list.RemoveLayer(kFlower, ISO_RICHTUNG_3), 0);
  ASSERT_EQ(list.GetNumber(), 1u);
  EXPECT_EQ(list.GetRichtung(), ISO_RICHTUNG_1);
}

}  // namespace
