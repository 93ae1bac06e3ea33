// The world's frame: black start-up screen, the hold after a video, the
// map drawn the interface's way, the loading bar; and the world's ground.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>

#include "iso/iso_scene.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "worldbase/zor_world_obj.h"
#include "world/zor_world.h"

namespace {

using namespace isotest;

// A world around a test scene's map, with the start-up state in reach.
class FrameWorld : public CZorvaWorld {
 public:
  FrameWorld(CIsoWelt* map, CUserInt* ui) {
    m_pIsoWelt = map;
    m_pUserInt = ui;
    m_StartupPhase = 0;
  }
  ~FrameWorld() override {
    m_pIsoWelt = nullptr;
    m_pUserInt = nullptr;
    if (m_pObjectList) {
      m_pObjectList->Destroy();
      delete m_pObjectList;
    }
  }
  int Rivers() {
    int n = 0;
    for (CZorvaObject* o = m_pObjectList->GetHead(); o; o = o->GetNext())
      n += static_cast<CWorldObj*>(o)->GetType() == OBJ_RIVER;
    return n;
  }
  void SetPhase(int phase) { m_StartupPhase = phase; }
  void SetMap(CIsoWelt* map) { m_pIsoWelt = map; }
  void SetVideoTime(int64_t t) { m_LastVideoTime = t; }
  void SetStartupWindow(bool on) { m_StartupWindow = on ? 1 : 0; }
};

// A world and a map that knows it, on the scene's resources and screen,
// with the scene's ground on every cell.
struct WorldMap {
  FrameWorld world;
  CIsoWelt map;
  WorldMap(Scene& s, CUserInt* ui) : world(nullptr, ui), map(world.GetIsoHost(), &s.resources, &s.display) {
    world.Create();
    world.AddBase(kGround);
    world.SetMap(&map);
    map.OnCreate();
  }
};

struct WorldFrameTest : testing::Test {
  void SetUp() override {
    OpenErrorLog("errors.log");
    std::strcpy(CZorvaWorld::m_sIniFile, "ZORVANTA.INI");
  }
  void TearDown() override {
    CZorvaWorld::m_RenderEmpty = 1;
    g_ZoomStufe = ISO_ZOOM_1;
    g_IsoRichtung = 0;
  }
};

TEST_F(WorldFrameTest, StartupScreenStaysBlackWhateverIsShown) {
  Scene s(160, 120);
  s.CreateGround();
  CUserInt ui;
  FrameWorld w(s.map.get(), &ui);
  CZorvaWorld::m_RenderEmpty = 1;
  w.SetPhase(2);
  w.SetStartupWindow(true);
  s.Clear(0x1234);
  EXPECT_EQ(w.Render(&s.display), 0);
  EXPECT_EQ(s.Count(0), 160 * 120);
  // Once the start-up is over the map is drawn.
  w.SetPhase(0);
  s.Clear(0x1234);
  EXPECT_EQ(w.Render(&s.display), 0);
  EXPECT_EQ(s.Count(kGroundColour), 160 * 120);
}

TEST_F(WorldFrameTest, NothingIsDrawnShortlyAfterAVideoUnlessAStartupWindowShows) {
  Scene s(160, 120);
  s.CreateGround();
  CUserInt ui;
  FrameWorld w(s.map.get(), &ui);
  CZorvaWorld::m_RenderEmpty = 0;
  zortest::Clock().Advance(10000);
  w.SetVideoTime(9000);
  s.Clear(0x1234);
  w.Render(&s.display);
  EXPECT_EQ(s.Count(0x1234), 160 * 120) << "the frame is left as it was";
  w.SetStartupWindow(true);
  w.Render(&s.display);
  EXPECT_EQ(s.Count(kGroundColour), 160 * 120);
  // Drawing ended the hold: without the window the next frame draws too.
  w.SetStartupWindow(false);
  s.Clear(0x1234);
  w.Render(&s.display);
  EXPECT_EQ(s.Count(kGroundColour), 160 * 120);
  // After 3000 ms the hold is over by itself.
  w.SetVideoTime(6000);
  s.Clear(0x1234);
  w.Render(&s.display);
  EXPECT_EQ(s.Count(kGroundColour), 160 * 120);
}

TEST_F(WorldFrameTest, TheInterfaceChoosesTheRendererAndAllThreeDrawTheMap) {
  Scene s(160, 120);
  s.CreateGround();
  s.map->SetIsoTileAt(64, 64, ISO_LAYER_GROUND, CIsoRichtung(0), kBuilding, nullptr);
  CUserInt ui;
  FrameWorld w(s.map.get(), &ui);
  CZorvaWorld::m_RenderEmpty = 0;
  uint32_t sums[3];
  for (int type : {0, 1, 2}) {
    ui.SetRenderType(type);
    s.Clear(0);
    w.Render(&s.display);
    sums[type] = Checksum(s.surface);
    EXPECT_GT(s.Count(kBlockColour[0]), 0);
    EXPECT_EQ(s.Count(0), 0);
  }
  EXPECT_EQ(sums[0], sums[1]);
  EXPECT_EQ(sums[0], sums[2]);
}

TEST_F(WorldFrameTest, LoadingBarGrowsWithTheProgress) {
  Scene s(800, 600);
  s.CreateGround();
  CUserInt ui;
  FrameWorld w(s.map.get(), &ui);
  CZorvaWorld::m_RenderEmpty = 0;
  const uint16_t green = static_cast<uint16_t>(s.display.GetRenderBuffer()->GetClosestColor(0, 255, 0));
  w.SetLoading(true, 1.0f);
  w.Render(&s.display);
  EXPECT_EQ(s.At(272, 315), green);
  EXPECT_EQ(s.At(526, 330), green);
  EXPECT_NE(s.At(271, 315), green);
  EXPECT_NE(s.At(272, 331), green);
  EXPECT_EQ(s.Count(green), 255 * 16);
  w.SetLoading(true, 0.5f);
  w.Render(&s.display);
  EXPECT_EQ(s.Count(green), 127 * 16);
  w.SetLoading(false, 0.5f);
  w.Render(&s.display);
  EXPECT_EQ(s.Count(green), 0);
}

TEST_F(WorldFrameTest, GroundTableGivesEveryIdAndTheSharedGroundObject) {
  Scene s;
  FrameWorld w(s.map.get(), nullptr);
  EXPECT_EQ(w.GetBaseResID(true), 0);
  for (int id : {kGround, 501, 502}) w.AddBase(id);
  for (int i = 0; i < 20; ++i) w.AddBase(900 + i);
  EXPECT_EQ(w.GetBaseResID(true), kGround);
  std::set<int> seen;
  for (int i = 0; i < 2000; ++i) seen.insert(w.GetBaseResID(false));
  EXPECT_EQ(seen.size(), 12u) << "every entry of the full table comes up, the last one too";
  EXPECT_TRUE(seen.count(908));
  EXPECT_FALSE(seen.count(909));
  CBaseObject* ground = w.CreateObjectEmpty();
  EXPECT_EQ(w.CreateObjectEmpty(), ground);
  EXPECT_EQ(ground->GetType(), OBJ_GROUND);
  EXPECT_EQ(ground->GetAllocCount(), 2);
}

TEST_F(WorldFrameTest, StandardGroundOnTheUpperLayerOnlyEmptiesIt) {
  Scene s;
  FrameWorld w(s.map.get(), nullptr);
  w.AddBase(kGround);
  // The map reaches its world through the host it is made with.
  CIsoWelt map(w.GetIsoHost(), &s.resources, &s.display);
  map.OnCreate();
  EXPECT_EQ(map.GetIsoInfo(10, 10)->GetResID(ISO_LAYER_GROUND), kGround);
  CWorldObj upper;
  map.SetIsoTileAt(10, 10, ISO_LAYER_UPPER, CIsoRichtung(0), kFlower, &upper);
  ASSERT_EQ(map.GetIsoInfo(10, 10)->GetRenderList()->GetCount(), 2);
  EXPECT_EQ(map.SetStdBase(10, 10, ISO_LAYER_UPPER, true), 0);
  CIsoInfo* cell = map.GetIsoInfo(10, 10);
  EXPECT_EQ(cell->GetWorldObject(ISO_LAYER_UPPER), nullptr);
  EXPECT_EQ(cell->GetIsoObjects(ISO_LAYER_UPPER), nullptr);
  EXPECT_EQ(cell->GetResID(ISO_LAYER_GROUND), kGround);
  EXPECT_EQ(cell->GetRenderList()->GetCount(), 1);
  // The ground layer comes back as the shared ground, upper sprites kept.
  map.SetIsoTileAt(10, 10, ISO_LAYER_UPPER, CIsoRichtung(0), kFlower, &upper);
  map.SetIsoTileAt(10, 10, ISO_LAYER_GROUND, CIsoRichtung(0), kBuilding, nullptr);
  EXPECT_EQ(map.SetStdBase(10, 10, ISO_LAYER_GROUND, true), 0);
  EXPECT_EQ(cell->GetResID(ISO_LAYER_GROUND), kGround);
  EXPECT_EQ(cell->GetType(ISO_LAYER_GROUND), OBJ_GROUND);
  EXPECT_EQ(cell->GetRenderList()->GetCount(), 2);
}

// The map's savegame record holds the rivers; loading re-creates them
// through the factory, puts them on their cells and leaves every cell
// invisible until the next view calculation.
TEST_F(WorldFrameTest, RiversGoThroughTheMapsSavegameRecord) {
  Scene s;
  WorldMap wm(s, nullptr);
  FrameWorld& w = wm.world;
  CIsoWelt& map = wm.map;
  auto river = [&](int res, int dir, int x, int y) {
    return w.CreateObject(OBJ_RIVER, res, CIsoRichtung(dir), x, y, SIM_HEIGHT_ANY, nullptr, 0, nullptr, 0, -1);
  };
  ASSERT_NE(river(kFlower, 2, 10, 11), nullptr);
  ASSERT_NE(river(kGround, 1, 12, 13), nullptr);
  zortest::RecordFile file;
  EXPECT_EQ(map.SerializeGameStore(file.f()), 0);
  // The count, then per river, the oldest first (a load lists each river it
  // makes at the head, so this order comes back), x, y (u16), direction and
  // tile (s32).
  const zortest::ByteList expected = {0x02, 0x00, 0x00, 0x00,                                                  //
                                      0x0A, 0x00, 0x0B, 0x00, 0x02, 0x00, 0x00, 0x00, 0x03, 0x02, 0x00, 0x00,  //
                                      0x0C, 0x00, 0x0D, 0x00, 0x01, 0x00, 0x00, 0x00, 0xF4, 0x01, 0x00, 0x00};
  EXPECT_EQ(file.Bytes(), expected);
  for (auto [x, y] : {std::pair{10, 11}, std::pair{12, 13}})
    map.SetIsoTileAt(x, y, ISO_LAYER_GROUND, CIsoRichtung(0), kGround, nullptr);
  EXPECT_EQ(map.GetTypeAt(10, 11, ISO_LAYER_GROUND), OBJ_NONE);
  std::rewind(file.f());
  EXPECT_EQ(map.SerializeGameLoad(file.f()), 0);
  EXPECT_EQ(std::ftell(file.f()), 28);
  EXPECT_EQ(w.Rivers(), 4);
  CIsoInfo* cell = map.GetIsoInfo(10, 11);
  EXPECT_EQ(cell->GetType(ISO_LAYER_GROUND), OBJ_RIVER);
  EXPECT_EQ(cell->GetResID(ISO_LAYER_GROUND), kFlower);
  EXPECT_EQ(cell->GetRichtung(ISO_LAYER_GROUND), ISO_RICHTUNG_2);
  EXPECT_EQ(map.GetIsoInfo(12, 13)->GetResID(ISO_LAYER_GROUND), kGround);
  EXPECT_EQ(map.GetTypeAt(12, 13, ISO_LAYER_GROUND), OBJ_RIVER);
  EXPECT_FALSE(map.GetIsoInfo(64, 64)->GetVisibleFlag());
}

// A record whose count promises more rivers than it holds is refused
// before anything is made.
TEST_F(WorldFrameTest, RiverCountBeyondTheRecordIsRefused) {
  Scene s;
  WorldMap wm(s, nullptr);
  FrameWorld& w = wm.world;
  CIsoWelt& map = wm.map;
  // Five rivers promised, one there.
  zortest::RecordFile file(
      {0x05, 0x00, 0x00, 0x00, 0x03, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x02, 0x00, 0x00});
  EXPECT_EQ(map.SerializeGameLoad(file.f()), 1);
  EXPECT_EQ(w.Rivers(), 0);
  EXPECT_EQ(map.GetIsoInfo(3, 4)->GetResID(ISO_LAYER_GROUND), kGround);
  // A record cut anywhere makes no river.
  const zortest::ByteList two = {0x02, 0x00, 0x00, 0x00, 0x03, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x02,
                                 0x00, 0x00, 0x05, 0x00, 0x06, 0x00, 0x01, 0x00, 0x00, 0x00, 0x03, 0x02, 0x00, 0x00};
  for (size_t cut = 0; cut < two.size(); ++cut) {
    file.Fill(zortest::ByteList(two.begin(), two.begin() + static_cast<long>(cut)));
    EXPECT_EQ(map.SerializeGameLoad(file.f()), 1) << "cut at " << cut;
    EXPECT_EQ(w.Rivers(), 0) << "cut at " << cut;
  }
  file.Fill(two);
  EXPECT_EQ(map.SerializeGameLoad(file.f()), 0);
  EXPECT_EQ(w.Rivers(), 2);
  EXPECT_EQ(map.GetTypeAt(5, 6, ISO_LAYER_GROUND), OBJ_RIVER);
  // No rivers at all is a valid record; no file is not.
  file.Fill({0x00, 0x00, 0x00, 0x00});
  EXPECT_EQ(map.SerializeGameLoad(file.f()), 0);
  EXPECT_EQ(map.SerializeGameLoad(nullptr), 1);
  EXPECT_EQ(map.SerializeGameStore(nullptr), 1);
}

// The interface's district view: buildings show the tile of their
// location's district instead of their upper sprite.
struct DistrictBuilding : CBuildingObject {
  int district = -1;
  int GetDistrictID() const override { return district; }
};
struct DistrictUserInt : CUserInt {
  DistrictBuilding odd, even, unlinked;
  CBuildingObject* GetBuildingAt(int x, int y, int) override {
    if (x == 64 && y == 64) return &odd;
    if (x == 66 && y == 64) return &even;
    if (x == 64 && y == 66) return &unlinked;
    return nullptr;
  }
};

TEST_F(WorldFrameTest, DistrictViewShowsTheDistrictTilesOfBuildings) {
  auto blobs = SceneBlobs();
  const uint16_t oddColour = Rgb565(255, 0, 255), evenColour = Rgb565(0, 255, 255);
  for (int zi = 0; zi < 3; ++zi) {
    blobs[900 + zi] = DiamondSprite(zi, oddColour);
    blobs[910 + zi] = DiamondSprite(zi, evenColour);
  }
  TileLayer odd, even;
  for (int zi = 0; zi < 3; ++zi)
    for (int r = 0; r < 4; ++r) odd.sprite[zi][r] = 900 + zi, even.sprite[zi][r] = 910 + zi;
  blobs[CIsoWelt::kDistrictTileOdd] = MakeTile({odd});
  blobs[CIsoWelt::kDistrictTileEven] = MakeTile({even});
  Scene s(320, 240, blobs);
  DistrictUserInt ui;
  ui.odd.district = 3;
  ui.even.district = 4;
  WorldMap wm(s, &ui);
  FrameWorld& w = wm.world;
  CIsoWelt& map = wm.map;
  for (auto [x, y] : {std::pair{64, 64}, std::pair{66, 64}, std::pair{64, 66}})
    map.SetIsoTileAt(x, y, ISO_LAYER_GROUND, CIsoRichtung(0), kBuilding, nullptr);
  map.SetIsoCenter(65, 65);
  CZorvaWorld::m_RenderEmpty = 0;
  w.Render(&s.display);
  EXPECT_GT(s.Count(kBlockColour[0]), 0);
  EXPECT_EQ(s.Count(oddColour), 0);
  ui.SetFilter(2, true);
  CUserInt::m_ActivateDebugInfo = 1;
  w.Render(&s.display);
  CUserInt::m_ActivateDebugInfo = 0;
  EXPECT_EQ(s.Count(kBlockColour[0]), 0) << "no building sprite in the district view";
  EXPECT_GT(s.Count(oddColour), 0);
  EXPECT_GT(s.Count(evenColour), 0);
  EXPECT_GT(s.Count(kOutsideColour), 0) << "the unlinked building shows the default district tile";
}

}  // namespace
