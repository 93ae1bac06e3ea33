// Windows over the map and what their closing leaves behind: a window's
// help panel goes with the window, and a close box that closes its window
// on the press leaves the release to no one, whatever tool is chosen and
// whatever lies on the map under it. Played through the frame loop on the
// real game.
#include <gtest/gtest.h>

#include <string>

#include "gui/screen_window.h"
#include "iso/iso_welt.h"
#include "model/data_exchange.h"
#include "network/str_junction_list.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

constexpr int kMeasuresGroup = 80;
constexpr int kMeasuresCover = 90;
constexpr int kPassivePage = 89;
constexpr int kCampaignsPage = 92;
constexpr int kTextHelp = 242;
constexpr int kWarningWindow = 220;
// The first help buttons of the two pages, and the group's close box,
// relative to their windows.
constexpr int kPageHelp[2] = {301 + 7, 1 + 6};
constexpr int kCampaignsHelp[2] = {301 + 7, 35 + 6};
constexpr int kGroupClose[2] = {353 + 9, 1 + 9};

// Opens the measures on a page, as the bar's services menu does.
void OpenMeasures(Scenario& game, int page) {
  game.Ui().ActivateWindow(kMeasuresGroup);
  game.Ui().DeActivateWindow(kMeasuresCover);
  game.Ui().ActivateWindow(page);
  game.Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(kMeasuresGroup));
  ASSERT_TRUE(game.IsOpen(page));
}

// Where a window's item lies on the screen now.
struct Item {
  int x, y;
};

void OnScreen(int window, Item item, int* x, int* y) {
  CScreenWindow* w = CUserInt::topWindow ? CUserInt::topWindow->GetWindowByID(window) : nullptr;
  ASSERT_NE(w, nullptr) << window;
  *x = w->GetRealPosX() + item.x;
  *y = w->GetRealPosY() + item.y;
}

TEST(ScenarioHelpClose, AWindowsHelpPanelClosesWithTheWindowAndOnlyWithIt) {
  Scenario game;
  game.Run({Move(400, 250), Wait(40)});
  OpenMeasures(game, kPassivePage);
  ASSERT_TRUE(game.ClickIn(kPassivePage, kPageHelp[0], kPageHelp[1]));
  game.Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(kTextHelp)) << "the page's help button opens its help";

  // Other windows come and go: the help stays.
  game.Ui().SetAchtungWindow(34);
  game.Ui().DeActivateWindow(kWarningWindow);
  game.Do(Wait(40));
  EXPECT_TRUE(game.IsOpen(kTextHelp));

  // The group's close box takes its pages and the help with it.
  ASSERT_TRUE(game.ClickIn(kMeasuresGroup, kGroupClose[0], kGroupClose[1]));
  game.Do(Wait(40));
  EXPECT_FALSE(game.IsOpen(kMeasuresGroup));
  EXPECT_FALSE(game.IsOpen(kTextHelp));

  // Another page of the group takes the place of the page whose help shows:
  // that help goes too.
  OpenMeasures(game, kPassivePage);
  ASSERT_TRUE(game.ClickIn(kPassivePage, kPageHelp[0], kPageHelp[1]));
  game.Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(kTextHelp));
  game.Ui().ActivateWindow(kCampaignsPage);
  game.Ui().DeActivateWindow(kPassivePage);
  game.Do(Wait(40));
  EXPECT_TRUE(game.IsOpen(kMeasuresGroup));
  EXPECT_FALSE(game.IsOpen(kTextHelp));

  // The help opened from the new page closes by Escape with the group.
  ASSERT_TRUE(game.ClickIn(kCampaignsPage, kCampaignsHelp[0], kCampaignsHelp[1]));
  game.Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(kTextHelp));
  game.Ui().DeActivateWindow(kMeasuresGroup);
  game.Do(Wait(40));
  EXPECT_FALSE(game.IsOpen(kTextHelp));
}

// ---- a close box that acts on the press ----

// What a click on the map may change: the junctions, the account and
// the ground of the cell under the close box.
struct MapState {
  int junctions = 0;
  double money = 0;
  int ground = 0;
};

MapState StateAt(Scenario& game, int x, int y) {
  MapState s;
  s.junctions = static_cast<int>(game.World().GetStreetNet()->GetNumber());
  s.money = game.World().GetDataExchange()->GetVarValue("F.KONTO");
  s.ground = game.Map().GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND);
  return s;
}

// What the map shows the player: the windows a click on it opens and what
// it marks.
bool MapTookAClick(Scenario& game) {
  for (int w : {190, 191, 194, 195, 221, 224, 229, 230, 170})
    if (game.IsOpen(w)) return true;
  return CUserInt::selObj.selectedObject || CUserInt::selObj.selectedStreet || CUserInt::selObj.selectedCrossing ||
         CUserInt::selObj.streetDrag;
}

struct ToolCase {
  int tool, subtool, variant;
};

TEST(ScenarioHelpClose, AClosingPressLeavesTheReleaseOverTheMapToNoOne) {
  // The measures group's close box closes the group on the press. Select,
  // build a street, lay a zone, place a school.
  const ToolCase tools[] = {{1, -1, -1}, {2, 1, -1}, {10, 1, 1}, {6, 2, 1}};
  for (const ToolCase& t : tools) {
    SCOPED_TRACE("tool " + std::to_string(t.tool));
    Scenario game;
    game.Run({Move(400, 250), Wait(40)});
    OpenMeasures(game, kPassivePage);
    int x = -1, y = -1;
    OnScreen(kMeasuresGroup, {kGroupClose[0], kGroupClose[1]}, &x, &y);
    int cx = -1, cy = -1;
    ASSERT_EQ(game.Map().MouseKoorToIsoKoor(x, y, &cx, &cy), 0) << "the close box lies over the map";
    // Under the close box a street, which a selection would open the
    // window of; for the tools that build, free land beside a street,
    // where a street would start, a zone or a school be laid.
    const bool select = t.tool == 1;
    const int streetY = select ? cy : cy + 3;
    CStrBuildLine line(static_cast<short>(cx - 4), static_cast<short>(streetY), static_cast<short>(cx + 4),
                       static_cast<short>(streetY));
    ASSERT_EQ(game.World().GetStreetNet()->CreateStreet(&line, CStrassenType(STRASSE_1)), 100);
    const MapState before = StateAt(game, cx, cy);
    ASSERT_EQ(before.ground, select ? OBJ_STREET_PIECE : OBJ_GROUND);
    if (!select) game.ChooseTool(t.tool, t.subtool, t.variant);
    ASSERT_EQ(CUserInt::selObj.tool, t.tool);
    game.Run({Move(x, y), Wait(40), Press(x, y), Wait(40), Release(x, y), Wait(40)});
    EXPECT_FALSE(game.IsOpen(kMeasuresGroup)) << "the close box closed its window";
    EXPECT_FALSE(game.IsOpen(kPassivePage));
    EXPECT_FALSE(MapTookAClick(game));
    const MapState after = StateAt(game, cx, cy);
    EXPECT_EQ(after.junctions, before.junctions) << "no street was built";
    EXPECT_EQ(after.money, before.money) << "nothing was paid for";
    EXPECT_EQ(after.ground, before.ground) << "nothing was laid under the close box";
  }
}

}  // namespace
