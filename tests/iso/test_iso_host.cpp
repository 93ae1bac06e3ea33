// What the map asks of the game above it, seen through a host that records
// every request and answers as the test sets it.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "framework/qno_event.h"
#include "iso/iso_host.h"
#include "iso/iso_sel_obj.h"
#include "iso/iso_welt.h"
#include "iso_scene.h"
#include "worldbase/zor_world_host.h"
#include "worldbase/zor_world_obj.h"

namespace {

using namespace isotest;
using Cell = std::pair<int, int>;

struct RecordingHost : CIsoHost {
  selObjType sel;
  bool hasInterface = true;
  std::vector<Cell> recoloured;
  std::vector<Cell> removed;
  std::map<const CWorldObj*, int> heights;
  std::vector<std::pair<int, int>> cursors;  // (id, state) per SetCursorID
  int cursorResets = 0, cursorBackups = 0, turns = 0;

  selObjType* GetSelection() override { return hasInterface ? &sel : nullptr; }
  void UpdateViewFilter(int x, int y) override { recoloured.push_back({x, y}); }
  int RemoveObject(int x, int y, TBaseType) override {
    removed.push_back({x, y});
    return 0;
  }
  int GetLocationHeight(CWorldObj* object) override {
    auto it = heights.find(object);
    return it == heights.end() ? 0 : it->second;
  }
  void TurnMicroSim() override { ++turns; }
  void ResetCursor() override { ++cursorResets; }
  void BackupCursor() override { ++cursorBackups; }
  void SetCursorID(int id, int state) override { cursors.push_back({id, state}); }
};

CWorldObj* Object(TObjectType type) {
  auto* o = new CWorldObj;
  o->SetType(type);
  return o;
}

struct IsoHostTest : testing::Test {
  Scene scene;
  RecordingHost host;
  std::vector<CWorldObj*> objects;

  void SetUp() override {
    scene.UseHost(&host);
    scene.CreateGround();
    host.recoloured.clear();
  }
  void TearDown() override {
    scene.map.reset();
    for (CWorldObj* o : objects) delete o;
  }
  CWorldObj* Place(int x, int y, TObjectType type, int resId = kGround) {
    objects.push_back(Object(type));
    scene.map->SetIsoTileAt(x, y, ISO_LAYER_GROUND, CIsoRichtung(0), resId, objects.back());
    return objects.back();
  }
  int Key(int key) {
    QnoInteractionEvent e{QNO_EVENT_KEYDOWN, key, 0, 0};
    return scene.map->InputFilter(&e, nullptr);
  }
  int Button(int type, int button, int x = 100, int y = 100) {
    QnoInteractionEvent e{type, x, y, button};
    return scene.map->InputFilter(&e, nullptr);
  }
};

TEST_F(IsoHostTest, EveryChangedCellIsRecolouredInTheOverviewMaps) {
  Place(10, 12, OBJ_RESIDENTIAL);
  ASSERT_FALSE(host.recoloured.empty());
  EXPECT_EQ(host.recoloured.back(), Cell(10, 12));
  host.recoloured.clear();
  scene.map->SetStdBase(10, 12, ISO_LAYER_GROUND, true);
  ASSERT_FALSE(host.recoloured.empty());
  EXPECT_EQ(host.recoloured.back(), Cell(10, 12));
}

TEST_F(IsoHostTest, ZonesUnderANewBuildingAreRemovedThroughTheHost) {
  Place(20, 20, OBJ_ZONE_COMMERCIAL);
  Place(21, 20, OBJ_RESIDENTIAL);
  EXPECT_EQ(scene.map->RemoveResComInd(20, 20, ISO_RICHTUNG_0, 0), 0);
  EXPECT_EQ(scene.map->RemoveResComInd(21, 20, ISO_RICHTUNG_0, 0), 0);
  EXPECT_EQ(host.removed, std::vector<Cell>{Cell(20, 20)}) << "only the zone goes";
}

TEST_F(IsoHostTest, AGroupOfBuildingsMatchesOnlyWithTheHeightTheHostGives) {
  // kGroup covers two cells along x.
  CWorldObj* a = Place(30, 30, OBJ_RESIDENTIAL);
  CWorldObj* b = Place(31, 30, OBJ_RESIDENTIAL);
  const auto height = static_cast<ESimLocationHeight>(2);
  host.heights[a] = 2;
  host.heights[b] = 2;
  EXPECT_EQ(scene.map->CheckForType(30, 30, ISO_LAYER_GROUND, OBJ_RESIDENTIAL, ISO_RICHTUNG_0, kGroup, height), 0);
  EXPECT_EQ(scene.map->CheckForType(30, 30, ISO_LAYER_GROUND, OBJ_RESIDENTIAL, ISO_RICHTUNG_0, kGroup, SIM_HEIGHT_ANY),
            0);
  host.heights[b] = 1;
  EXPECT_EQ(scene.map->CheckForType(30, 30, ISO_LAYER_GROUND, OBJ_RESIDENTIAL, ISO_RICHTUNG_0, kGroup, height), 1);
  // Any height will do when none is asked for.
  EXPECT_EQ(scene.map->CheckForType(30, 30, ISO_LAYER_GROUND, OBJ_RESIDENTIAL, ISO_RICHTUNG_0, kGroup, SIM_HEIGHT_ANY),
            0);
}

// A turn or a zoom recolours the street tiles of the micro view in the
// overview maps, those beyond the screen's edge too, as placing them does.
TEST_F(IsoHostTest, TurnsAndZoomsRecolourEveryStreetTileOfTheMicroView) {
  const int y = scene.map->GetCenterY();
  for (int x = 0; x < ISO_MAP_SIZE; ++x) Place(x, y, OBJ_STREET_PIECE);
  for (int key : {'8', '7', '9', '6'}) {
    host.recoloured.clear();
    ASSERT_EQ(Key(key), 0);
    const std::set<Cell> changed(host.recoloured.begin(), host.recoloured.end());
    host.recoloured.clear();
    scene.map->CalcViewRect();
    const std::set<Cell> view(host.recoloured.begin(), host.recoloured.end());
    host.recoloured.clear();
    scene.map->UpdateMicroSim();
    ASSERT_FALSE(host.recoloured.empty()) << key;
    int beyond = 0;
    for (const Cell& c : host.recoloured) {
      EXPECT_TRUE(changed.count(c)) << key << " at " << c.first << "/" << c.second;
      beyond += view.count(c) == 0;
    }
    EXPECT_GT(beyond, 0) << key;
  }
}

// At the map's corner, where the views reach beyond the grid, the view's
// walk recolours each cell of the view in the map once, in the walk's order,
// and the micro view's each street or track tile in the map once.
TEST_F(IsoHostTest, AViewAtTheCornerRecoloursItsCellsInTheMapOnceInTheWalksOrder) {
  for (int i = 0; i < 12; ++i) {
    Place(i, 3, OBJ_STREET_PIECE);
    Place(2, i + 5, OBJ_RAIL_PIECE);
  }
  for (int rotation = 0; rotation < 4; ++rotation) {
    g_IsoRichtung = rotation;
    scene.map->SetIsoCenter(1, 1);
    auto inMap = [](IsoViewRectType r) {
      std::vector<Cell> cells;
      r.SetupTraversal(g_IsoRichtung);
      int x, y, outside = 0;
      while (r.GetNextTile(x, y))
        if (IsoInMap(x, y))
          cells.push_back({x, y});
        else
          ++outside;
      EXPECT_GT(outside, 0);
      return cells;
    };
    host.recoloured.clear();
    scene.map->CalcViewRect();
    EXPECT_EQ(host.recoloured, inMap(scene.map->GetViewRect())) << rotation;
    host.recoloured.clear();
    scene.map->UpdateMicroSim();
    std::multiset<Cell> expected;
    for (const Cell& c : inMap(scene.map->GetMicroViewRect()))
      if (c.second == 3 ? c.first < 12 : c.first == 2 && c.second >= 5 && c.second < 17) expected.insert(c);
    ASSERT_GT(expected.size(), 10u) << rotation;
    EXPECT_EQ(std::multiset<Cell>(host.recoloured.begin(), host.recoloured.end()), expected) << rotation;
  }
  g_IsoRichtung = 0;
}

TEST_F(IsoHostTest, ZoomAndTurnKeysMoveTheVehiclesThroughTheHost) {
  EXPECT_EQ(Key('7'), 0);
  EXPECT_EQ(host.turns, 1);
  EXPECT_EQ(Key('8'), 0);
  EXPECT_EQ(host.turns, 2);
  EXPECT_EQ(g_IsoRichtung, 1);
  EXPECT_EQ(Key('9'), 0);
  EXPECT_EQ(g_IsoRichtung, 0);
  EXPECT_EQ(host.turns, 3);
}

TEST_F(IsoHostTest, ARightDragShowsTheDragCursorUnlessTheInterfaceHoldsTheMouse) {
  EXPECT_EQ(Button(QNO_EVENT_BUTTONDOWN, 1), 0);
  EXPECT_EQ(host.cursorResets, 1);
  EXPECT_EQ(host.cursorBackups, 1);
  ASSERT_EQ(host.cursors.size(), 1u);
  EXPECT_EQ(host.cursors[0].second, 0);
  const int dragCursor = host.cursors[0].first;
  EXPECT_GT(dragCursor, 0);
  // The first move shows the cursor's moving state, once.
  EXPECT_EQ(Button(QNO_EVENT_MOUSEMOVE, 0, 110, 104), 0);
  EXPECT_EQ(Button(QNO_EVENT_MOUSEMOVE, 0, 120, 108), 0);
  ASSERT_EQ(host.cursors.size(), 2u);
  EXPECT_EQ(host.cursors[1], std::make_pair(dragCursor, 1));
  EXPECT_EQ(Button(QNO_EVENT_BUTTONUP, 1), 0);

  host.cursors.clear();
  host.sel.mouseCaptured = 1;
  Button(QNO_EVENT_BUTTONDOWN, 1);
  EXPECT_TRUE(host.cursors.empty()) << "a window holds the mouse";
}

TEST(IsoHostDefault, AMapWithoutAGameAroundItAnswersWithTheDefaults) {
  Scene scene;  // made without a host
  scene.CreateGround();
  EXPECT_EQ(scene.map->GetHost(), CIsoHost::Default());
  CWorldObj zone;
  zone.SetType(OBJ_ZONE_RESIDENTIAL);
  scene.map->SetIsoTileAt(5, 5, ISO_LAYER_GROUND, CIsoRichtung(0), kGround, &zone);
  EXPECT_EQ(scene.map->RemoveResComInd(5, 5, ISO_RICHTUNG_0, 0), 0);
  EXPECT_EQ(scene.map->OnPlayloopTurn(), 0);
  EXPECT_EQ(scene.map->RenderSpriteList_Left_Right(&scene.display), 0);
  EXPECT_EQ(scene.map->Render(&scene.display), 0);
  scene.map.reset();
}

}  // namespace

namespace {

struct SoundRecorder : CWorldHost {
  SoundRecorder() { CWorldHost::Install(this); }
  ~SoundRecorder() override { CWorldHost::Install(nullptr); }
  int AddSound(const char* name, int) override {
    added.push_back(name);
    return 0;
  }
  int FadeOutSound(const char* name) override {
    faded.push_back(name);
    return 0;
  }
  std::vector<std::string> added, faded;
};

TEST(IsoTurnSound, TheGroundSharedByEveryCellSoundsOncePerTurn) {
  SoundRecorder sounds;
  Scene scene;
  scene.CreateGround();
  CBaseObject ground;
  ground.Create();
  CWorldObj other;
  other.Create();
  for (int x = 0; x < ISO_MAP_SIZE; ++x)
    for (int y = 0; y < ISO_MAP_SIZE; ++y) {
      CWorldObj* o = x == 64 && y == 64 ? &other : &ground;
      o->IncAllocCounter();
      scene.map->SetIsoTileAt(x, y, ISO_LAYER_GROUND, CIsoRichtung(0), kGround, o);
    }
  other.SetSoundName("Bach", 3);
  scene.map->SetIsoCenter(64, 64);
  // However many cells an object covers, its sound is asked for or faded
  // once in a turn.
  for (int turn = 1; turn <= 3; ++turn) {
    scene.map->OnPlayloopTurn();
    std::map<std::string, int> calls;
    for (const std::string& n : sounds.added) ++calls[n];
    for (const std::string& n : sounds.faded) ++calls[n];
    EXPECT_EQ(calls["Wind"], 1) << turn;
    EXPECT_EQ(calls["Bach"], 1) << turn;
    if (turn == 2) ground.SetSoundVisible(!ground.IsSoundVisible());
    sounds.added.clear();
    sounds.faded.clear();
  }
  // More cells of the same turn ask nothing more.
  ground.OnPlayloopTurn(1, 1);
  EXPECT_TRUE(sounds.added.empty() && sounds.faded.empty());
  scene.map.reset();
}

}  // namespace

namespace {

// A ground object that records its turns and the stages of memory asked
// for ahead of them, by tile.
struct TurnRecorder : CWorldObj {
  int OnPlayloopTurn(unsigned short x, unsigned short y) override {
    turns.emplace_back(x, y);
    return 0;
  }
  void PrefetchTurn(unsigned short x, unsigned short y, int stage) const override {
    stages.push_back({x, y, stage, turns.size()});
  }
  struct Stage {
    unsigned short x, y;
    int stage;
    size_t turnsBefore;
  };
  std::vector<std::pair<int, int>> turns;
  mutable std::vector<Stage> stages;
};

TEST(IsoTurnWalk, EveryTileOfTheMicroViewTakesItsTurnOnceInTheWalksOrderAfterItsStagesAhead) {
  Scene scene;
  scene.CreateGround();
  TurnRecorder ground;
  ground.Create();
  for (int x = 0; x < ISO_MAP_SIZE; ++x)
    for (int y = 0; y < ISO_MAP_SIZE; ++y) {
      ground.IncAllocCounter();
      scene.map->SetIsoTileAt(x, y, ISO_LAYER_GROUND, CIsoRichtung(0), kGround, &ground);
    }
  // Near a corner, so that the view reaches past the map.
  scene.map->SetIsoCenter(10, 3);
  scene.map->OnPlayloopTurn();
  std::vector<std::pair<int, int>> walk;
  IsoViewRectType rect = scene.map->GetMicroViewRect();
  rect.SetupTraversal(g_IsoRichtung);
  int x = 0, y = 0;
  while (rect.GetNextTile(x, y))
    if (IsoInMap(x, y)) walk.emplace_back(x, y);
  ASSERT_GT(walk.size(), 100u);
  EXPECT_EQ(ground.turns, walk);
  // Each tile but the first few is asked for in stages 4, 3, 2, 1, one a
  // turn, in the four turns just before its own.
  std::map<std::pair<int, int>, std::vector<const TurnRecorder::Stage*>> byTile;
  for (const TurnRecorder::Stage& s : ground.stages) byTile[{s.x, s.y}].push_back(&s);
  for (size_t i = 4; i < walk.size(); ++i) {
    const auto& asked = byTile[walk[i]];
    ASSERT_EQ(asked.size(), 4u) << i;
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(asked[static_cast<size_t>(k)]->stage, 4 - k) << i;
      EXPECT_EQ(asked[static_cast<size_t>(k)]->turnsBefore, i - 4 + static_cast<size_t>(k)) << i;
    }
  }
  EXPECT_EQ(ground.stages.size(), 4 * walk.size() - 10) << "the first tiles are asked only for the stages still ahead";
  scene.map.reset();
}

}  // namespace

namespace {

// An object whose turn does its sound alone: the walk visits only the
// first of its cells.
struct OnceRecorder : TurnRecorder {
  bool HasCellTurn() const override { return false; }
};

// The walk's order over the micro view, kept to the map.
std::vector<std::pair<int, int>> MicroWalk(const CIsoWelt& map) {
  std::vector<std::pair<int, int>> walk;
  IsoViewRectType rect = map.GetMicroViewRect();
  rect.SetupTraversal(g_IsoRichtung);
  int x = 0, y = 0;
  while (rect.GetNextTile(x, y))
    if (IsoInMap(x, y)) walk.emplace_back(x, y);
  return walk;
}

// Of the walk's tiles, those whose object is `o` in the walk's order.
std::vector<std::pair<int, int>> TilesOf(const CIsoWelt& map, const CWorldObj* o) {
  std::vector<std::pair<int, int>> tiles;
  for (const auto& [x, y] : MicroWalk(map))
    if (map.GetIsoInfo(x, y)->GetWorldObject(ISO_LAYER_GROUND) == o) tiles.emplace_back(x, y);
  return tiles;
}

TEST(IsoTurnWalk, ObjectsWithoutCellTurnsAreVisitedAtTheirFirstTileAndChangesAreSeenAtTheNextTurn) {
  Scene scene;
  scene.CreateGround();
  CBaseObject ground;
  ground.Create();
  TurnRecorder busy;
  OnceRecorder once, other;
  for (CWorldObj* o : {static_cast<CWorldObj*>(&busy), static_cast<CWorldObj*>(&once),
                       static_cast<CWorldObj*>(&other)})
    o->Create();
  for (int x = 0; x < ISO_MAP_SIZE; ++x)
    for (int y = 0; y < ISO_MAP_SIZE; ++y) {
      CWorldObj* o = &ground;
      if (x >= 60 && x < 63 && y >= 60 && y < 63) o = &busy;
      if (x >= 66 && x < 68 && y >= 64 && y < 66) o = &once;
      o->IncAllocCounter();
      scene.map->SetIsoTileAt(x, y, ISO_LAYER_GROUND, CIsoRichtung(0), kGround, o);
    }
  scene.map->SetIsoCenter(64, 64);
  scene.map->OnPlayloopTurn();
  ASSERT_EQ(TilesOf(*scene.map, &busy).size(), 9u);
  EXPECT_EQ(busy.turns, TilesOf(*scene.map, &busy));
  ASSERT_EQ(TilesOf(*scene.map, &once).size(), 4u);
  EXPECT_EQ(once.turns, (std::vector<std::pair<int, int>>{TilesOf(*scene.map, &once).front()}));

  // A cell of the ground given to another object is visited at the next
  // turn; one given back to the ground is not.
  busy.turns.clear();
  once.turns.clear();
  scene.map->SetIsoTileAt(70, 70, ISO_LAYER_GROUND, CIsoRichtung(0), kGround, &other);
  scene.map->SetIsoTileAt(61, 61, ISO_LAYER_GROUND, CIsoRichtung(0), kGround, &ground);
  scene.map->OnPlayloopTurn();
  EXPECT_EQ(busy.turns.size(), 8u);
  EXPECT_EQ(busy.turns, TilesOf(*scene.map, &busy));
  EXPECT_EQ(other.turns, (std::vector<std::pair<int, int>>{{70, 70}}));
  EXPECT_EQ(once.turns.size(), 1u);

  // A scroll that leaves the busy block out of the micro view leaves it
  // out of the walk; a scroll back brings it in again.
  busy.turns.clear();
  scene.map->SetIsoCenter(10, 10);
  ASSERT_TRUE(TilesOf(*scene.map, &busy).empty());
  scene.map->OnPlayloopTurn();
  EXPECT_TRUE(busy.turns.empty());
  scene.map->SetIsoCenter(64, 64);
  scene.map->OnPlayloopTurn();
  EXPECT_EQ(busy.turns, TilesOf(*scene.map, &busy));

  // A turned view walks its tiles in its own order.
  for (int rotation = 1; rotation < 4; ++rotation) {
    g_IsoRichtung = rotation;
    scene.map->CalcViewRect();
    busy.turns.clear();
    once.turns.clear();
    scene.map->OnPlayloopTurn();
    EXPECT_EQ(busy.turns, TilesOf(*scene.map, &busy)) << rotation;
    EXPECT_EQ(once.turns, (std::vector<std::pair<int, int>>{TilesOf(*scene.map, &once).front()})) << rotation;
  }
  g_IsoRichtung = 0;
  scene.map.reset();
}

// A ground object whose turn at one tile puts another object on a cell the
// walk has still ahead and clears a second such cell.
struct ReplacingRecorder : TurnRecorder {
  int OnPlayloopTurn(unsigned short x, unsigned short y) override {
    TurnRecorder::OnPlayloopTurn(x, y);
    if (map && x == at.first && y == at.second) {
      map->SetIsoTileAt(replaced.first, replaced.second, ISO_LAYER_GROUND, CIsoRichtung(0), kGround, replacement);
      map->GetIsoInfo(cleared.first, cleared.second)->ClearLayer(ISO_LAYER_GROUND);
      map = nullptr;
    }
    return 0;
  }
  CIsoWelt* map = nullptr;
  Cell at, replaced, cleared;
  CWorldObj* replacement = nullptr;
};

TEST(IsoTurnWalk, ObjectsChangedByATurnAreSeenByTheRestOfTheSameWalk) {
  Scene scene;
  scene.CreateGround();
  ReplacingRecorder busy;
  TurnRecorder newcomer;
  busy.Create();
  newcomer.Create();
  for (int x = 0; x < ISO_MAP_SIZE; ++x)
    for (int y = 0; y < ISO_MAP_SIZE; ++y) {
      busy.IncAllocCounter();
      scene.map->SetIsoTileAt(x, y, ISO_LAYER_GROUND, CIsoRichtung(0), kGround, &busy);
    }
  scene.map->SetIsoCenter(64, 64);
  // The first turn gathers the walk; the second walks what it gathered.
  scene.map->OnPlayloopTurn();
  const std::vector<Cell> walk = MicroWalk(*scene.map);
  ASSERT_GT(walk.size(), 40u);
  busy.turns.clear();
  busy.map = scene.map.get();
  busy.at = walk[10];
  // Two and twenty tiles on: the first is among the tiles asked for ahead
  // of the changing turn, the second is not yet.
  busy.replaced = walk[12];
  busy.cleared = walk[30];
  busy.replacement = &newcomer;
  newcomer.IncAllocCounter();
  scene.map->OnPlayloopTurn();
  std::vector<Cell> expected = walk;
  expected.erase(expected.begin() + 30);
  expected.erase(expected.begin() + 12);
  EXPECT_EQ(busy.turns, expected);
  EXPECT_EQ(newcomer.turns, (std::vector<Cell>{walk[12]}));
  // The next turn walks the changed cells as gathered anew.
  busy.turns.clear();
  newcomer.turns.clear();
  scene.map->OnPlayloopTurn();
  EXPECT_EQ(busy.turns, expected);
  EXPECT_EQ(newcomer.turns, (std::vector<Cell>{walk[12]}));
  scene.map.reset();
}

}  // namespace
