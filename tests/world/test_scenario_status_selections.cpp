// What the bar and the closing windows show of the game's state: the newest
// event runs in the status line's ticker and a click on it goes to its
// place; closing the event windows or the warning takes their highlights
// off the map; the stop chosen on the map is the one public transport marks
// the lines of, until the lines are cleared away. Played through the frame
// loop on the real game at 800 x 600.
#include <gtest/gtest.h>

#include <SDL.h>

#include "gui/gui_host.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_host.h"
#include "measures/opnv_line.h"
#include "model/message.h"
#include "network/str_junction_list.h"
#include "network/street_objects.h"
#include "support/scenario.h"
#include "ui/ui_host.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

// Where the ticker writes, below the money line of the bar.
constexpr Region kTicker = {800 - 377, 600 - 21, 800 - 377 + 290, 600 - 21 + 12};

int TickerPixels(Scenario& game) {
  // Show the bar and let it draw.
  game.Run({Move(600, 590), Wait(60), Frames(2)});
  return game.CountPixels(kTicker, Scenario::Rgb(173, 179, 195));
}

TEST(ScenarioStatusSelections, TheNewestEventRunsInTheTickerAndAClickThereGoesToItsPlace) {
  Scenario game("LANGUAGE=0\n");
  CMessage* message = game.World().GetMessage();
  ASSERT_NE(message, nullptr);
  message->ResetMessage(0);
  EXPECT_EQ(CUiHost::Get()->GetTickerText(), nullptr) << "no event, no ticker";
  EXPECT_EQ(TickerPixels(game), 0);

  // An event with a place on the map, away from where the view stands.
  CIsoWelt& map = game.Map();
  const int tx = map.GetCenterX() > 64 ? 30 : 100, ty = map.GetCenterY() > 64 ? 40 : 90;
  ASSERT_EQ(message->AddMessage(7, 1, -1, -1, -1, tx, ty), 0);
  const char* shown = CUiHost::Get()->GetTickerText();
  ASSERT_NE(shown, nullptr);
  EXPECT_STREQ(shown, message->GetMessageE(0));
  EXPECT_GT(TickerPixels(game), 20) << "the event's text is drawn in the status line";
  game.Shot("status-ticker");

  int x = -1, y = -1;
  ASSERT_TRUE(CUiHost::Get()->GetShortMessageTile(&x, &y));
  EXPECT_EQ(x, tx);
  EXPECT_EQ(y, ty);
  game.Click(560, 587).Do(Wait(40));
  EXPECT_EQ(map.GetCenterX(), tx) << "the click on the ticker centres the map on the event";
  EXPECT_EQ(map.GetCenterY(), ty);
}

TEST(ScenarioStatusSelections, TheEventHighlightGoesWithTheLastEventWindowToClose) {
  Scenario game("LANGUAGE=0\n");
  CMessage* message = game.World().GetMessage();
  ASSERT_NE(message, nullptr);
  ASSERT_EQ(message->AddMessage(7, 0, -1, -1, -1, 20, 30), 0);
  CUserInt& ui = game.Ui();
  ui.ActivateEventWindow();
  game.Key(SDLK_e).Run({Frames(1)});
  ASSERT_TRUE(game.IsOpen(217));
  ASSERT_TRUE(game.IsOpen(218));
  message->SelectEvent(0);
  ASSERT_EQ(CUserInt::selObj.msgX, 20);

  // The event window still shows the event: its place stays marked.
  game.Key(SDLK_e).Run({Frames(1)});
  ASSERT_FALSE(game.IsOpen(218));
  EXPECT_EQ(CUserInt::selObj.msgX, 20);
  EXPECT_EQ(CUserInt::selObj.msgY, 30);
  ui.DeActivateWindow(217);
  EXPECT_EQ(CUserInt::selObj.msgX, -1);
  EXPECT_EQ(CUserInt::selObj.msgY, -1);
  EXPECT_EQ(CUserInt::selObj.msgW, -1);
  EXPECT_EQ(CUserInt::selObj.msgH, -1);
}

TEST(ScenarioStatusSelections, ClosingTheWarningTakesTheImportantBuildingsHighlightAway) {
  Scenario game("LANGUAGE=0\n");
  selObjType& sel = CUserInt::selObj;
  sel.importantX = 40;
  sel.importantY = 41;
  sel.importantW = 2;
  sel.importantH = 3;
  sel.importantStart = game.Now();
  sel.importantUntil = game.Now() + 6000;
  game.Ui().SetAchtungWindow(26);
  game.Run({Frames(1)});
  ASSERT_TRUE(game.IsOpen(CUserInt::kWarningWindow));
  EXPECT_EQ(sel.importantX, 40) << "shown while the warning is";

  game.Run({Press(250, 220), Release(250, 220), Frames(1)});
  ASSERT_FALSE(game.IsOpen(CUserInt::kWarningWindow));
  EXPECT_EQ(sel.importantX, -1);
  EXPECT_EQ(sel.importantY, -1);
  EXPECT_EQ(sel.importantW, -1);
  EXPECT_EQ(sel.importantH, -1);
  EXPECT_EQ(sel.importantUntil, 0u);
}

// A click with the standard tool on the cell.
void ClickCell(Scenario& game, int tx, int ty) {
  int sx = 0, sy = 0;
  ASSERT_TRUE(game.ScreenOfCell(tx, ty, &sx, &sy));
  game.Click(sx, sy).Do(Wait(40));
}

TEST(ScenarioStatusSelections, TheChosenStopMarksItsLinesUntilTheLinesAreCleared) {
  Scenario game("LANGUAGE=0\n");
  CZorvaWorld& world = game.World();
  int cx = -1, cy = -1;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(250, 220, &cx, &cy), 0);
  CStrBuildLine street(static_cast<short>(cx - 8), static_cast<short>(cy), static_cast<short>(cx + 8),
                       static_cast<short>(cy));
  ASSERT_EQ(world.GetStreetNet()->CreateStreet(&street, STRASSE_2), 100);
  CSecondLayerObject* stops[2] = {};
  for (int i = 0; i < 2; ++i) {
    stops[i] = dynamic_cast<CSecondLayerObject*>(world.CreateObject(
        OBJ_BUSSTOP_SIGN, 32290, CIsoRichtung(0), cx - 4 + 6 * i, cy, SIM_HEIGHT_ANY, nullptr, 0, nullptr, 0, -1));
    ASSERT_NE(stops[i], nullptr);
  }
  // Line 1 serves both stops, line 2 only the second.
  COpnv* opnv = world.GetOpnv();
  COpnvLine* lines[2] = {opnv->CreateNewLine(NET_BUS), opnv->CreateNewLine(NET_BUS)};
  for (int l = 0; l < 2; ++l) {
    ASSERT_NE(lines[l], nullptr);
    for (int i = l; i < 2; ++i) {
      int x = 0, y = 0;
      CStreetObj* on = stops[i]->GetStreet(&x, &y);
      ASSERT_NE(on, nullptr);
      ASSERT_EQ(lines[l]->ToolAddHstTail(stops[i], static_cast<short>(on->GetSimID())), 0);
    }
  }
  COpnvHost* host = COpnvHost::Get();
  EXPECT_EQ(host->GetSelectedHst(), nullptr);
  EXPECT_FALSE(opnv->IsLineOnSelectedHst(lines[0]->GetID())) << "no stop chosen";

  ClickCell(game, stops[0]->GetXPos(), stops[0]->GetYPos());
  EXPECT_EQ(host->GetSelectedHst(), stops[0]);
  EXPECT_TRUE(opnv->IsLineOnSelectedHst(lines[0]->GetID()));
  EXPECT_FALSE(opnv->IsLineOnSelectedHst(lines[1]->GetID())) << "line 2 does not stop there";

  // A chosen object that is no stop: the line list marks nothing, and
  // clearing the stop leaves it chosen.
  CWorldObj* piece = game.Map().GetIsoTileObject(cx + 5, cy, ISO_LAYER_GROUND);
  ASSERT_NE(piece, nullptr);
  CUserInt::selObj.selectedObject = piece;
  EXPECT_EQ(host->GetSelectedHst(), nullptr);
  EXPECT_FALSE(opnv->IsLineOnSelectedHst(lines[0]->GetID()));
  host->ClearSelectedHst();
  EXPECT_EQ(CUserInt::selObj.selectedObject, piece);

  ClickCell(game, stops[1]->GetXPos(), stops[1]->GetYPos());
  ASSERT_EQ(host->GetSelectedHst(), stops[1]);
  EXPECT_TRUE(opnv->IsLineOnSelectedHst(lines[1]->GetID()));
  // Before a load the lines go, and with them the stop's choice.
  opnv->RemoveAllLineBeforeLoadExit();
  EXPECT_EQ(host->GetSelectedHst(), nullptr);
  EXPECT_EQ(CUserInt::selObj.selectedObject, nullptr);
  EXPECT_EQ(CUserInt::selObj.startX, -1);
}

}  // namespace
