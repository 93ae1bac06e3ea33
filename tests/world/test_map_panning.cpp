// Edge panning while a street or an area is dragged, and the screen anchors
// the map hands to the street network's tiles.
#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "world/map_fixture.h"
#include "network/street_objects.h"
#include "ui/user_int.h"

namespace {

using namespace maptest;

struct PanningTest : MapFixture<CZorvaWorld> {
  CUserInt* ui = nullptr;
  void SetUp() override {
    MapFixture::SetUp();
    ui = world->GetUserInt();
    g_IsoRichtung = 0;
    map->SetIsoCenter(64, 64);
    map->RefreshAfterModeChange();
  }
  void TearDown() override {
    g_IsoRichtung = 0;
    MapFixture::TearDown();
  }
};

TEST_F(PanningTest, StreetDragAtTheEdgePansAndKeepsTheMouseOverItsPoint) {
  ASSERT_EQ(panning_x_max, 760);
  ASSERT_EQ(panning_y_max, 450);
  ui->SetCursorID(1409, 0);
  const int ox = map->GetPixelOffsetX(), oy = map->GetPixelOffsetY();
  ui->SetMousePosition(5, 5);
  // Without a drag nothing pans.
  map->CheckPannungMode();
  EXPECT_FALSE(map->IsPanning());
  EXPECT_EQ(map->GetPixelOffsetX(), ox);

  ui->selObj.streetDrag = 1;
  map->CheckPannungMode();
  EXPECT_TRUE(map->IsPanning());
  EXPECT_EQ(map->GetPixelOffsetX(), ox + 8);
  EXPECT_EQ(map->GetPixelOffsetY(), oy);
  EXPECT_EQ(ui->GetCursorID(), 28421);
  int mx, my;
  ui->GetMousePosition(mx, my);
  EXPECT_EQ(mx, -3);
  EXPECT_EQ(my, 5);

  // At the bottom edge the map moves up; the cursor stays while panning.
  ui->SetMousePosition(400, 590);
  map->CheckPannungMode();
  EXPECT_EQ(map->GetPixelOffsetY(), oy - 6);
  EXPECT_EQ(ui->GetCursorID(), 28421);

  // Back in the middle: panning ends and the cursor comes back.
  ui->SetMousePosition(400, 300);
  map->CheckPannungMode();
  EXPECT_FALSE(map->IsPanning());
  EXPECT_EQ(ui->GetCursorID(), 1409);
  EXPECT_EQ(map->GetPixelOffsetY(), oy - 6);

  // Entering at the right edge shows the cursor of that direction.
  ui->SetMousePosition(790, 300);
  EXPECT_EQ(map->CheckPannungModeAgain(), 1);
  EXPECT_EQ(ui->GetCursorID(), 28414);
  map->ResetPanningMode();
  EXPECT_FALSE(map->IsPanning());
  EXPECT_EQ(ui->GetCursorID(), 1409);
}

TEST_F(PanningTest, AnAreaToolPansOnlyWhileItsAreaIsDraggedFromTheMap) {
  ui->selObj.tool = 10;
  ui->selObj.leftButton = 1;
  ui->SetMousePosition(400, 590);
  const int oy = map->GetPixelOffsetY();
  // The button held on the bar, where the press went to a window: no area
  // is dragged, so neither the turn nor the input filter pans.
  ui->selObj.leftDrag = 0;
  map->CheckPannungMode();
  EXPECT_EQ(map->CheckPannungModeAgain(), 0);
  EXPECT_FALSE(map->IsPanning());
  EXPECT_EQ(map->GetPixelOffsetY(), oy);

  // The press began on the map: the dragged area pans the map up.
  ui->selObj.leftDrag = 1;
  map->CheckPannungMode();
  EXPECT_TRUE(map->IsPanning());
  EXPECT_EQ(map->GetPixelOffsetY(), oy - 6);
  // Released: the button is up, and panning ends.
  ui->selObj.leftButton = 0;
  map->CheckPannungMode();
  EXPECT_FALSE(map->IsPanning());
  ui->selObj.leftDrag = 0;
  ui->selObj.tool = 1;
}

// The bottom band is deep only while the bottom panel covers the map there;
// with the panel hidden the map reaches the screen's last row and a drag
// pans only in the last 20 rows, as at the top.
TEST_F(PanningTest, TheBottomBandFollowsThePanel) {
  ui->selObj.streetDrag = 1;
  const int oy = map->GetPixelOffsetY();
  struct {
    bool panel;
    int y;
    bool pans;
  } cases[] = {{false, 451, false}, {false, 500, false}, {false, 580, false}, {false, 581, true},
               {false, 599, true},  {true, 450, false},  {true, 451, true},   {true, 500, true}};
  for (const auto& c : cases) {
    ui->selObj.panelShown = c.panel ? 1 : 0;
    ui->SetMousePosition(400, c.y);
    map->ResetPanningMode();
    EXPECT_EQ(map->CheckPannungModeAgain() != 0, c.pans) << "y " << c.y << (c.panel ? " panel shown" : "");
    map->ResetPanningMode();
    ui->SetMousePosition(400, c.y);
    const int before = map->GetPixelOffsetY();
    EXPECT_EQ(map->CheckPannungMode() != 0, c.pans) << "y " << c.y << (c.panel ? " panel shown" : "");
    EXPECT_EQ(map->GetPixelOffsetY(), before - (c.pans ? 6 : 0)) << "y " << c.y;
  }
  map->ResetPanningMode();
  ui->selObj.panelShown = 0;
  EXPECT_LT(map->GetPixelOffsetY(), oy);
}

TEST_F(PanningTest, HeldGamePansThroughTheVirtualMouse) {
  ui->selObj.streetDrag = 1;
  ui->SetMousePosition(300, 5);
  const int centreX = map->GetCenterX(), centreY = map->GetCenterY();
  // Six pixels down per turn: after enough turns whole tiles move the centre.
  for (int i = 0; i < 10; ++i) {
    ui->SetMousePosition(300, 5);
    map->VirtualMouseMove();
  }
  EXPECT_TRUE(map->IsPanning());
  EXPECT_LT(map->GetCenterX() + map->GetCenterY(), centreX + centreY);
}

// A street tile that records where the map anchors it.
struct RecordingStreet : CStreetObj {
  std::vector<std::pair<int, int>> anchors;
  int UpdateScreenPos(int sx, int sy, unsigned short, unsigned short) override {
    anchors.push_back({sx, sy});
    return 0;
  }
};

TEST_F(PanningTest, StreetTilesNearTheViewGetTheirScreenAnchor) {
  RecordingStreet near, far;
  near.Create();
  far.Create();
  map->SetIsoTileAt(66, 63, ISO_LAYER_GROUND, CIsoRichtung(0), kTile, &near);
  map->SetIsoTileAt(5, 120, ISO_LAYER_GROUND, CIsoRichtung(0), kTile, &far);
  map->Update();
  ASSERT_EQ(near.anchors.size(), 1u);
  EXPECT_TRUE(far.anchors.empty());
  int sx, sy;
  map->FixeIsoKoorCalc(66, 63, sx, sy);
  EXPECT_EQ(near.anchors[0], std::make_pair(sx, sy));
  // The anchor follows a scroll.
  map->SetPixelOffset(3, 2);
  map->Update();
  ASSERT_EQ(near.anchors.size(), 2u);
  EXPECT_EQ(near.anchors[1], std::make_pair(sx + 3, sy + 2));
  map->SetStdBase(66, 63, ISO_LAYER_GROUND, true);
  map->SetStdBase(5, 120, ISO_LAYER_GROUND, true);
}

TEST_F(PanningTest, EveryStreetTileOfTheMicroViewIsPlacedOnceAtItsOwnAnchor) {
  // More tiles than the walk asks memory ahead for, in rows and columns.
  std::map<std::pair<int, int>, RecordingStreet> tiles;
  for (int x = 58; x < 70; x += 2)
    for (int y = 58; y < 70; y += 3) {
      RecordingStreet& t = tiles[{x, y}];
      t.Create();
      ASSERT_EQ(map->SetIsoTileAt(x, y, ISO_LAYER_GROUND, CIsoRichtung(0), kTile, &t), 0);
    }
  ASSERT_GT(tiles.size(), 20u);
  auto anchor = [&](int x, int y) {
    int sx = 0, sy = 0;
    map->FixeIsoKoorCalc(static_cast<unsigned short>(x), static_cast<unsigned short>(y), sx, sy);
    map->FixeGroupRichtung(static_cast<unsigned short>(x), static_cast<unsigned short>(y), sx, sy);
    return std::make_pair(sx, sy);
  };
  auto check = [&](const char* what) {
    for (auto& [at, t] : tiles) {
      ASSERT_EQ(t.anchors.size(), 1u) << what << " at " << at.first << "/" << at.second;
      EXPECT_EQ(t.anchors[0], anchor(at.first, at.second)) << what << " at " << at.first << "/" << at.second;
      t.anchors.clear();
    }
  };
  map->Update();
  check("first");
  map->SetPixelOffset(map->GetPixelOffsetX() + 5, map->GetPixelOffsetY() - 3);
  map->UpdateMicroSim();
  check("scrolled");
  for (int r = 1; r < 4; ++r) {
    g_IsoRichtung = r;
    map->Update();
    check("turned");
  }
  g_IsoRichtung = 0;
  const TIsoZoomStufe zoom = g_ZoomStufe;
  g_ZoomStufe = zoom == ISO_ZOOM_1 ? ISO_ZOOM_2 : ISO_ZOOM_1;
  map->Update();
  check("zoomed");
  g_ZoomStufe = zoom;
  for (auto& [at, t] : tiles) map->SetStdBase(at.first, at.second, ISO_LAYER_GROUND, true);
}

TEST_F(PanningTest, GroupAnchorMovesToTheCornerInFront) {
  ASSERT_EQ(map->SetIsoGroupTurnedAt(60, 60, ISO_LAYER_GROUND, kGroup2x3, nullptr, CIsoRichtung(0)), 0);
  const int expect[4][2] = {{60, 60}, {60, 62}, {61, 62}, {61, 60}};
  for (int r = 0; r < 4; ++r) {
    g_IsoRichtung = r;
    map->Update();
    int sx = -1, sy = -1, ex, ey;
    map->FixeIsoKoorCalc(60, 60, sx, sy);
    map->FixeGroupRichtung(60, 60, sx, sy);
    map->FixeIsoKoorCalc(static_cast<unsigned short>(expect[r][0]), static_cast<unsigned short>(expect[r][1]), ex, ey);
    EXPECT_EQ(std::make_pair(sx, sy), std::make_pair(ex, ey)) << "rot " << r;
  }
  // Cells without a group keep what they were given.
  int sx = 7, sy = 9;
  map->FixeGroupRichtung(10, 10, sx, sy);
  EXPECT_EQ(std::make_pair(sx, sy), std::make_pair(7, 9));
}

}  // namespace
