// The council run from its window with the mouse: the player opens the
// administration from the game bar, raises the general tax on the taxes
// page, starts the first stage of a research area, takes a credit of
// 10,000,000 and pays it back on the finances page, lowers the town's speed
// limit on the traffic-regulations page, and opens a page's help.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <utility>

#include "gui/gui_host.h"
#include "gui/item.h"
#include "gui/item_bitmap.h"
#include "gui/item_text.h"
#include "gui/screen_window.h"
#include "gui/window_var.h"
#include "model/data_exchange.h"
#include "network/str_net_lengths.h"
#include "network/str_strasse.h"
#include "scenario_opnv_steps.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "worldbase/building_catalogue.h"

namespace {

using namespace zortest;

// Window 110 stands at (206, 30), its pages at (257, 51).
constexpr int kPageX = 257, kPageY = 51;
// The tabs from the top: finances, research, regulations, taxes, subsidies.
void ClickTab(Scenario& game, int n) { game.Click(206 + 28, 30 + 45 + 43 * n + 18).Do(Wait(40)); }
void ClickOnPage(Scenario& game, int x, int y) { game.Click(kPageX + x, kPageY + y).Do(Wait(40)); }

// The general tax per resident and year of the hours until the month turns.
double TaxRate(Scenario& game, CDataExchange& dx) {
  CSimWelt* sim = game.World().GetSimWelt();
  const double income = dx.GetVarValue("SV.TAX.GENERAL.INCOME");
  const double fyear = sim->Date().FYear();
  for (int i = 0; i < 200 && sim->Date().FYear() == fyear; ++i) game.Do(Wait(100));
  const double people = dx.GetPeople();
  if (people <= 0) return 0;
  return (dx.GetVarValue("SV.TAX.GENERAL.INCOME") - income) / (people * (sim->Date().FYear() - fyear));
}

TEST(ScenarioAdministration, APlayerSetsTaxesResearchCreditsAndTheSpeedLimitFromTheCouncilWindow) {
  std::filesystem::create_directories("SaveGame");
  Scenario game;
  CZorvaWorld& world = game.World();
  // An hour every 400 ms.
  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - 400);
  CDataExchange& dx = *world.GetDataExchange();
  ASSERT_EQ(BuildStreet(world, 30, 30, 60, 30, STRASSE_1), STR_BUILD_OK);
  // A street with homes on one side and work on the other, so that people
  // move in.
  for (int x : {32, 36, 40, 44, 48, 52, 56})
    for (const auto& [kind, y] : {std::pair{OBJ_RESIDENTIAL, 28}, std::pair{x < 44 ? OBJ_OFFICE : OBJ_INDUSTRY, 32}}) {
      const int resId = CBuildingDataList::GetBuildingResIDByType(kind, 1, nullptr);
      ASSERT_NE(world.CreateObject(kind, resId, CIsoRichtung(0), x, y, static_cast<ESimLocationHeight>(0), nullptr, 0,
                                   nullptr, 0, -1),
                nullptr);
    }
  for (int i = 0; i < 60 && dx.GetPeople() == 0; ++i) game.Do(Wait(400));
  ASSERT_GT(dx.GetPeople(), 0);

  // The bar's administration button opens the window on its finances page;
  // only the finances tab shows itself pressed.
  game.Run({Move(600, 590), Wait(40)});
  game.Click(750 + 18, 505 + 18).Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(110));
  EXPECT_TRUE(game.IsOpen(116));

  // Taxes: the general tax one step up; the hours after it bring in more
  // per resident.
  ClickTab(game, 3);
  ASSERT_TRUE(game.IsOpen(113));
  EXPECT_FALSE(game.IsOpen(116));
  const double tax = dx.GetVarValue("SV.TAX.GENERAL");
  const double before = TaxRate(game, dx);
  ClickOnPage(game, 170 + 37 + 4, 43 + 8);
  const double raised = dx.GetVarValue("SV.TAX.GENERAL");
  EXPECT_GT(raised, tax);
  const double after = TaxRate(game, dx);
  ASSERT_GT(before, 0);
  EXPECT_NEAR(after / before, raised / tax, 0.1 * raised / tax);

  // Research: the first stage of the emission area started by its switch;
  // the money goes out and the stage's bar fills over the hours.
  ClickTab(game, 1);
  ASSERT_TRUE(game.IsOpen(115));
  const double cost = dx.GetVarValue("SV.RES.EMISSION.1.COST");
  ClickOnPage(game, 270 + 6, 47 + 5);
  EXPECT_EQ(dx.GetVarValue("SV.RES.EMISSION.1"), 1);
  // The bar's first variable is the duration done, its last the duration
  // needed: its frame is their share of eleven.
  CItem* bar = nullptr;
  CUserInt::topWindow->GetWindowByID(115)->GetItems()->ForEach([&](CItem* i) {
    if (i->GetXPos() == 186 && i->GetYPos() == 45) bar = i;
  });
  ASSERT_NE(bar, nullptr);
  ASSERT_NE(bar->GetVar(), nullptr);
  EXPECT_STREQ(bar->GetVar()->GetName(), "SV.RES.EMISSION.1.DURATION");
  EXPECT_STREQ(bar->GetVars()->GetTail()->GetName(), "SV.RES.EMISSION.1.DURATION.MAX");
  for (int i = 0; i < 10; ++i) game.Do(Wait(400));
  const double done = dx.GetVarValue("SV.RES.EMISSION.1.DURATION");
  EXPECT_GT(done, 0);
  EXPECT_LT(done, dx.GetVarValue("SV.RES.EMISSION.1.DURATION.MAX"));
  EXPECT_LT(dx.GetVarValue("SV.RES.EMISSION.1.COST"), cost);
  // With the page left open the bar shows the stage's progress as it goes.
  auto* picture = dynamic_cast<CItemBitmap*>(bar);
  ASSERT_NE(picture, nullptr);
  auto share = [&] {
    return dx.GetVarValue("SV.RES.EMISSION.1.DURATION") / dx.GetVarValue("SV.RES.EMISSION.1.DURATION.MAX");
  };
  for (int i = 0; i < 3000 && share() < 2.5 / 11; ++i) game.Do(Wait(400));
  ASSERT_GE(share(), 2.5 / 11);
  EXPECT_EQ(picture->ButtonFrame(nullptr), static_cast<int>(std::trunc(share() * 11)));

  // Finances: a credit taken and repaid moves the account by exactly the
  // credit; the game stands still meanwhile, so that no hour books.
  ClickTab(game, 0);
  ASSERT_TRUE(game.IsOpen(116));
  CGuiHost::Get()->SetPause(true);
  const double konto = dx.GetVarValue("F.KONTO"), credits = dx.GetVarValue("F.KREDITE");
  ClickOnPage(game, 258 + 33, 358 + 7);
  EXPECT_EQ(dx.GetVarValue("F.KONTO") - konto, 10000000.0);
  EXPECT_EQ(dx.GetVarValue("F.KREDITE") - credits, 10000000.0);
  ClickOnPage(game, 89 + 33, 358 + 7);
  EXPECT_EQ(dx.GetVarValue("F.KONTO"), konto);
  EXPECT_EQ(dx.GetVarValue("F.KREDITE"), credits);
  CGuiHost::Get()->SetPause(false);

  // Traffic regulations: the town's limit one step down to 50; the streets
  // follow.
  ClickTab(game, 2);
  ASSERT_TRUE(game.IsOpen(114));
  EXPECT_EQ(dx.GetVarValue("SV.SPEED.TOWN"), 70);
  ClickOnPage(game, 145 + 4, 179 + 8);
  EXPECT_EQ(dx.GetVarValue("SV.SPEED.TOWN"), 50);
  int streets = 0;
  StrForEachStreet(world.GetStreetNet(), [&](CStrStrasse* s) {
    EXPECT_NEAR(s->GetVelocity(), 13.9, 1e-4);
    ++streets;
  });
  EXPECT_GT(streets, 0);

  // Help: the page's first help button fills the text help with its entry.
  const char* title = nullptr;
  const char* text = nullptr;
  ASSERT_TRUE(CGuiHost::Get()->GetHelpEntry(50, &title, &text));
  ClickOnPage(game, 295 + 8, 72 + 7);
  ASSERT_TRUE(game.IsOpen(242));
  EXPECT_EQ(CGuiHost::Get()->GetHelpEntry242(), 50);
  // The two text items now hold the entry's title and its text.
  int shown = 0;
  CUserInt::topWindow->GetWindowByID(242)->GetItems()->ForEach([&](CItem* i) {
    auto* t = dynamic_cast<CItemText*>(i);
    if (!t || !t->GetDynamicText()) return;
    if (std::strcmp(t->GetDynamicText(), title) == 0 || std::strcmp(t->GetDynamicText(), text) == 0) ++shown;
  });
  EXPECT_EQ(shown, 2) << title << " / " << text;
}

}  // namespace

namespace {

// The window that opens with a building tool turns the building to place a
// quarter each click, right from the left button and left from the right
// one, and its footprint turns with it.
TEST(ScenarioAdministration, TheTurningWindowTurnsTheBuildingToPlaceAndItsFootprint) {
  std::filesystem::create_directories("SaveGame");
  Scenario game;
  game.Ui().SetToolNr(6, 1, 3);
  game.Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(228));
  auto& sel = CUserInt::selObj;
  ASSERT_EQ(sel.buildingRichtung, 0);
  const int width = sel.width, depth = sel.depth;
  ASSERT_GT(width, 0);
  const struct {
    int buttonX, direction;
  } clicks[] = {{8, 1}, {8, 2}, {56, 1}, {56, 0}, {56, 3}, {8, 0}};
  for (const auto& c : clicks) {
    game.Click(200 + c.buttonX + 18, 150 + 26 + 18).Do(Wait(40));
    EXPECT_EQ(sel.buildingRichtung, c.direction);
    EXPECT_EQ(sel.width, c.direction % 2 ? depth : width);
    EXPECT_EQ(sel.depth, c.direction % 2 ? width : depth);
  }
  EXPECT_EQ(sel.tool, 6);
}

}  // namespace
