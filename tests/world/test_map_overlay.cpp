// Overlays drawn into the map: building marks, the blinking highlights,
// group previews, the tool previews and the second drawing of vehicles.
#include <gtest/gtest.h>

#include "world/map_fixture.h"
#include "measures/building_object.h"
#include "microsim/micro_car.h"
#include "ui/user_int.h"

namespace {

using namespace maptest;

constexpr int kMarker = 33880;
constexpr int kHighlight = 49652;

struct OverlayWorld : CZorvaWorld {};

struct OverlayTest : MapFixture<OverlayWorld> {
  CUserInt* ui = nullptr;
  CBuildingList marked;
  CBuildingList* ownMarked = nullptr;

  void SetUp() override {
    OpenErrorLog("errors.log");
    std::strcpy(CZorvaWorld::m_sIniFile, "ZORVANTA.INI");
    zortest::WriteGameSettings();
    world = new OverlayWorld;
    world->Create();
    world->OnStartup();
    map = world->GetIsoWelt();
    ASSERT_NE(map, nullptr);
    if (!map->GetIsoInfo(0, 0)) map->OnCreate();
    // The marker is a one-cell group and the highlight the test tile in
    // this archive, so one mark is one sprite.
    AddMapArchive(world->GetResourceManager(), {{kMarker, Group(1, 1)}, {kHighlight, Tile()}});
    ui = world->GetUserInt();
    ownMarked = ui->selObj.markedBuildings;
    g_IsoRichtung = 0;
    map->SetIsoCenter(64, 64);
    ClearScreen(world);
  }
  void TearDown() override {
    // The controller deletes its own list of marked buildings, not the test's.
    ui->selObj.markedBuildings = ownMarked;
    MapFixture::TearDown();
  }
  int Drawn() {
    const int n = InkPixels(world);
    ClearScreen(world);
    return n;
  }
  CBuildingObject* Building(TObjectType type, int x, int y, int dir = 0) {
    auto* b = new CBuildingRCIObject;
    CIsoRichtung d(dir);
    b->Create(kTile, x, y, &d, SIM_HEIGHT_ANY);
    b->SetType(type);
    world->GetObjectList()->AddHead(b, 0);
    return b;
  }
};

TEST_F(OverlayTest, GroupPreviewDrawsEveryPartOrRefuses) {
  CIsoGroup* group = CIsoGroup::Get(world->GetResourceManager(), kGroup2x3);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(map->RenderGroupAsMouseAt(63, 63, group, ISO_RICHTUNG_1, -1), 0);
  EXPECT_EQ(Drawn(), 6 * kSquare);
  // The tile tables know three zoom levels; any other index draws nothing.
  for (int index : {3, 200, 255})
    EXPECT_EQ(map->RenderGroupAsMouseAt(63, 63, group, ISO_RICHTUNG_0, index), 1) << index;
  EXPECT_EQ(Drawn(), 0);
  EXPECT_EQ(map->RenderGroupAsMouseAt(63, 63, group, ISO_RICHTUNG_0, 0x101), 0);
  EXPECT_EQ(Drawn(), 6 * kSquare);
  EXPECT_EQ(map->RenderGroupAsMouseAt(63, 63, nullptr, ISO_RICHTUNG_0, -1), 1);
  CIsoGroup* hole = CIsoGroup::Get(world->GetResourceManager(), kGroupHole);
  EXPECT_EQ(map->RenderGroupAsMouseAt(63, 63, hole, ISO_RICHTUNG_0, -1), 1);
}

TEST_F(OverlayTest, MarksListedBuildingsUpToOnePastTheEdge) {
  map->SetIsoCenter(126, 64);
  ClearScreen(world);
  ui->selObj.markedBuildings = &marked;
  marked.AddTailZorva(Building(OBJ_OFFICE, 128, 64));
  map->RenderBuildingList();
  EXPECT_EQ(Drawn(), kSquare);
  marked.RemoveHeadZorva(false);
  marked.AddTailZorva(Building(OBJ_OFFICE, 129, 64));
  map->RenderBuildingList();
  EXPECT_EQ(Drawn(), 0);
}

TEST_F(OverlayTest, MarksTheSelectedBuildingOnEveryCell) {
  // A tram stop is 3 x 2 cells, turned 2 x 3.
  ui->selObj.selectedObject = Building(OBJ_TRAMSTOP, 63, 63, 1);
  map->RenderBuildingSelections();
  EXPECT_EQ(Drawn(), 6 * kSquare);
  ui->selObj.selectedObject = Building(OBJ_STREET_PIECE, 63, 63);
  map->RenderBuildingSelections();
  EXPECT_EQ(Drawn(), 0);
  ui->selObj.selectedObject = nullptr;
}

TEST_F(OverlayTest, MessageHighlightBlinksOnForASecondInEveryPeriod) {
  auto& sel = ui->selObj;
  sel.msgX = 63, sel.msgY = 63, sel.msgW = 2, sel.msgH = 1, sel.msgBlink = 0;
  zortest::Clock().Set(500);
  map->RenderBuildingSelections();
  const int on = Drawn();
  EXPECT_EQ(on, 2 * kSquare);
  zortest::Clock().Set(1200);
  map->RenderBuildingSelections();
  EXPECT_EQ(Drawn(), 0);
  EXPECT_EQ(sel.msgBlink, 0u);
  zortest::Clock().Set(1501);
  map->RenderBuildingSelections();
  EXPECT_EQ(Drawn(), 0);
  EXPECT_EQ(sel.msgBlink, 1501u);
  zortest::Clock().Set(1600);
  map->RenderBuildingSelections();
  EXPECT_EQ(Drawn(), on);
  // Reaching column 128 keeps it hidden.
  sel.msgX = 126;
  map->RenderBuildingSelections();
  EXPECT_EQ(Drawn(), 0);
}

TEST_F(OverlayTest, ListHighlightEndsTenSecondsAfterItWasSet) {
  auto& sel = ui->selObj;
  sel.listX = 60, sel.listY = 60, sel.listW = 1, sel.listH = 1, sel.listBlink = 9500, sel.listStart = 0;
  zortest::Clock().Set(10000);
  map->RenderBuildingSelections();
  EXPECT_EQ(sel.listX, 60);
  EXPECT_EQ(Drawn(), kSquare);
  zortest::Clock().Set(10001);
  map->RenderBuildingSelections();
  EXPECT_EQ(sel.listX, -1);
  EXPECT_EQ(sel.listW, -1);
}

TEST_F(OverlayTest, TheBuildingARemovalWouldCutOffBlinksUntilItsTimeIsUp) {
  auto& sel = ui->selObj;
  sel.importantX = 60, sel.importantY = 60, sel.importantW = 2, sel.importantH = 1;
  sel.importantStart = 4000, sel.importantUntil = 10000;
  zortest::Clock().Set(4100);
  map->RenderBuildingSelections();
  EXPECT_EQ(Drawn(), 2 * kSquare);
  zortest::Clock().Set(5200);
  map->RenderBuildingSelections();
  EXPECT_EQ(Drawn(), 0) << "the off part of the blink";
  zortest::Clock().Set(9999);
  map->RenderBuildingSelections();
  EXPECT_EQ(sel.importantX, 60);
  zortest::Clock().Set(10000);
  map->RenderBuildingSelections();
  EXPECT_EQ(Drawn(), 0);
  EXPECT_EQ(sel.importantX, -1);
  EXPECT_EQ(sel.importantH, -1);
}

TEST_F(OverlayTest, SelectionPreviewByTool) {
  CIsoTile* marker = CIsoTile::Get(world->GetResourceManager(), kTile);
  ASSERT_NE(marker, nullptr);
  map->SetIsoCenter(4, 6);
  ClearScreen(world);
  selObjType sel;
  sel.tool = 10;
  sel.startX = 5, sel.startY = 7, sel.endX = 3, sel.endY = 6;
  EXPECT_EQ(map->RenderSelection(&sel, marker), 0);
  EXPECT_EQ(Drawn(), 6 * kSquare);
  sel.tool = 9;
  map->RenderSelection(&sel, marker);
  EXPECT_EQ(Drawn(), 0);
  sel.tool = 10;
  sel.startX = -1;
  map->RenderSelection(&sel, marker);
  EXPECT_EQ(Drawn(), 0);
  // Building tools mark the footprint, only where it lies on the map.
  sel.tool = 6;
  sel.startX = 0, sel.startY = 5, sel.width = 2, sel.depth = 2;
  map->RenderSelection(&sel, marker);
  EXPECT_EQ(Drawn(), 4 * kSquare);
  sel.tool = 5;
  sel.busStopOffsetX = -1;
  map->RenderSelection(&sel, marker);
  EXPECT_EQ(Drawn(), 2 * kSquare);
}

TEST_F(OverlayTest, SingleTilesAtTheMouse) {
  EXPECT_EQ(map->RenderTileAsMouseAt(64, 64, kTile, ISO_RICHTUNG_2), 0);
  EXPECT_EQ(Drawn(), kSquare);
  EXPECT_EQ(map->RenderTileAsMouseAt(64, 64, kMissing, ISO_RICHTUNG_0), 0);
  EXPECT_EQ(map->Expo_RenderLilaBase(64, 64, kMissing), 0);
  EXPECT_EQ(Drawn(), 0);
  EXPECT_EQ(map->Expo_RenderLilaBase(64, 64, kTile), 0);
  EXPECT_EQ(Drawn(), kSquare);
}

TEST_F(OverlayTest, AFifthCarAtACellGetsNoSecondPlace) {
  CCar cars[6];
  for (int i = 0; i < 5; ++i) map->SetSecondCarPos(&cars[i], 10, 11);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(cars[i].GetSecondSlot(), i);
    EXPECT_EQ(cars[i].GetSecondX(), 10);
  }
  EXPECT_EQ(cars[4].GetSecondSlot(), -1);
  cars[5].SetIsoXYSecond(1, 1, 1);
  map->SetSecondCarPos(&cars[5], 128, 11);
  EXPECT_EQ(cars[5].GetSecondSlot(), -1);
  for (auto& slot : CIsoWelt::m_CarSecondRender[10][11]) slot = nullptr;
}

}  // namespace

namespace {

TEST_F(OverlayTest, CompleteRenderListBuildsEveryCell) {
  const uint32_t before = map->GetCacheBuildCount();
  EXPECT_EQ(map->MakeCompleteSpriteRenderList(), 0);
  EXPECT_EQ(map->GetCacheBuildCount() - before, 128u * 128u);
}

}  // namespace
