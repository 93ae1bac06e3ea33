// The map's share of the input (scrolling, dragging, zooming, turning) and
// its per-turn work over the objects near the view.
#include <gtest/gtest.h>

#include "framework/qno_display.h"
#include "framework/qno_event.h"
#include "framework/zor_list.h"
#include "world/map_fixture.h"
#include "model/gott_modus.h"
#include "ui/user_int.h"

namespace {

using namespace maptest;

struct CountingObject : CWorldObj {
  int OnPlayloopTurn(unsigned short x, unsigned short y) override {
    ++turns;
    lastX = x;
    lastY = y;
    return 0;
  }
  int turns = 0;
  int lastX = -1, lastY = -1;
};

struct MapInputTest : MapFixture<CZorvaWorld> {
  CUserInt* ui = nullptr;
  void SetUp() override {
    MapFixture::SetUp();
    ui = world->GetUserInt();
    g_IsoRichtung = 0;
    map->SetIsoCenter(64, 64);
  }
  void TearDown() override {
    g_IsoRichtung = 0;
    MapFixture::TearDown();
  }
  // The interface sees the event first, then the map, as in the game.
  int Send(int type, int x, int y = 0, int button = 0) {
    QnoInteractionEvent e;
    e.type = type;
    e.x = x;
    e.y = y;
    e.button = button;
    ui->InputFilter(&e, nullptr);
    return map->InputFilter(&e, nullptr);
  }
  int Key(int code) { return Send(QNO_EVENT_KEYDOWN, code); }
  // Screen position of tile (0, 0): where the whole map is drawn.
  std::pair<int, int> MapPosition() {
    int x = 0, y = 0;
    map->CalcIsoToXY(0, 0, &x, &y);
    return {map->GetOriginX() + x + map->GetPixelOffsetX(), map->GetOriginY() + y + map->GetPixelOffsetY()};
  }
};

TEST_F(MapInputTest, TurnKeysStepTheRotationBothWays) {
  EXPECT_EQ(Key(57), 0);
  EXPECT_EQ(g_IsoRichtung, 3);
  EXPECT_EQ(Key(57), 0);
  EXPECT_EQ(g_IsoRichtung, 2);
  EXPECT_EQ(Key(56), 0);
  EXPECT_EQ(Key(56), 0);
  EXPECT_EQ(Key(56), 0);
  EXPECT_EQ(g_IsoRichtung, 1);
}

TEST_F(MapInputTest, CursorKeysMoveTheCentreAndOtherKeysPassOn) {
  EXPECT_EQ(Key(QNO_KEY_LEFT), 0);
  EXPECT_EQ(map->GetCenterX(), 63);
  EXPECT_EQ(map->GetCenterY(), 65);
  EXPECT_EQ(Key(QNO_KEY_UP), 0);
  EXPECT_EQ(map->GetCenterX(), 62);
  EXPECT_EQ(map->GetCenterY(), 64);
  EXPECT_EQ(Key(QNO_KEY_RETURN), 1);
  EXPECT_EQ(Send(QNO_EVENT_KEYUP, QNO_KEY_LEFT), 1);
  EXPECT_EQ(map->GetCenterX(), 62);
}

TEST_F(MapInputTest, ZoomKeysAreConsumedEvenWhenRefused) {
  const TIsoZoomStufe start = g_ZoomStufe;
  EXPECT_EQ(Key(54), 0);
  EXPECT_EQ(Key(54), 0);
  EXPECT_EQ(Key(54), 0);
  const TIsoZoomStufe nearest = g_ZoomStufe;
  EXPECT_EQ(Key(54), 0);
  EXPECT_EQ(g_ZoomStufe, nearest);
  EXPECT_EQ(Key(55), 0);
  EXPECT_NE(g_ZoomStufe, nearest);
  g_ZoomStufe = start;
}

TEST_F(MapInputTest, RightDragMovesTheMapWithTheMouseInTheNextTurn) {
  const auto before = MapPosition();
  EXPECT_EQ(Send(QNO_EVENT_BUTTONDOWN, 300, 200, 1), 0);
  EXPECT_EQ(ui->GetCursorID(), 25951);
  EXPECT_EQ(ui->GetCursorState(), 0);
  EXPECT_EQ(Send(QNO_EVENT_MOUSEMOVE, 305, 200), 0);
  EXPECT_EQ(ui->GetCursorState(), 1);
  EXPECT_EQ(Send(QNO_EVENT_MOUSEMOVE, 310, 200), 0);
  // Nothing moves until the turn.
  EXPECT_EQ(MapPosition(), before);
  map->OnPlayloopTurn();
  const auto after = MapPosition();
  EXPECT_EQ(after.first, before.first + 10);
  EXPECT_EQ(after.second, before.second);
  // A drag over several tiles moves the view centre too.
  EXPECT_EQ(Send(QNO_EVENT_MOUSEMOVE, 410, 250), 0);
  map->OnPlayloopTurn();
  EXPECT_EQ(MapPosition().first, before.first + 110);
  EXPECT_EQ(MapPosition().second, before.second + 50);
  EXPECT_NE(map->GetCenterX(), 64);

  // After the release, mouse moves pass on and the map stays.
  EXPECT_EQ(Send(QNO_EVENT_BUTTONUP, 410, 250, 1), 0);
  EXPECT_EQ(Send(QNO_EVENT_MOUSEMOVE, 500, 250), 1);
  map->OnPlayloopTurn();
  EXPECT_EQ(MapPosition().first, before.first + 110);
}

TEST_F(MapInputTest, CapturedMouseTurnsAPressIntoARelease) {
  ui->selObj.mouseCaptured = 1;
  const auto before = MapPosition();
  EXPECT_EQ(Send(QNO_EVENT_BUTTONDOWN, 300, 200, 1), 0);
  EXPECT_EQ(Send(QNO_EVENT_MOUSEMOVE, 350, 200), 1);
  map->OnPlayloopTurn();
  EXPECT_EQ(MapPosition(), before);
}

TEST_F(MapInputTest, LeftPressPicksTheTileUnderTheMouse) {
  QnoDisplay* d = world->GetDisplay();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(Send(QNO_EVENT_BUTTONDOWN, d->GetScreenWidth() / 2, d->GetScreenHeight() / 2, 0), 0);
  EXPECT_EQ(map->GetMouseTileX(), 64);
  EXPECT_EQ(map->GetMouseTileY(), 64);
  EXPECT_EQ(Send(QNO_EVENT_BUTTONUP, 0, 0, 0), 0);
}

TEST_F(MapInputTest, ReleaseInTheExhibitionShowsItsCursor) {
  world->GetGottModus()->SetGameModus(GAME_EXPO);
  Send(QNO_EVENT_BUTTONDOWN, 300, 200, 1);
  Send(QNO_EVENT_BUTTONUP, 300, 200, 1);
  EXPECT_EQ(ui->GetCursorID(), 1409);
}

TEST_F(MapInputTest, TurnReachesObjectsNearTheViewOnly) {
  auto* near = new CountingObject;
  auto* far = new CountingObject;
  world->GetObjectList()->AddHead(near, 0);
  world->GetObjectList()->AddHead(far, 0);
  ASSERT_EQ(map->SetIsoTileAt(64, 64, ISO_LAYER_GROUND, CIsoRichtung(0), kTile, near), 0);
  ASSERT_EQ(map->SetIsoTileAt(2, 2, ISO_LAYER_GROUND, CIsoRichtung(0), kTile, far), 0);
  map->OnPlayloopTurn();
  EXPECT_EQ(near->turns, 1);
  EXPECT_EQ(near->lastX, 64);
  EXPECT_EQ(near->lastY, 64);
  EXPECT_EQ(far->turns, 0);
  map->SetStdBase(64, 64, ISO_LAYER_GROUND, true);
  map->SetStdBase(2, 2, ISO_LAYER_GROUND, true);
}

}  // namespace
