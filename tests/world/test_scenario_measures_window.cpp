// The measures group run with the mouse: the player opens it from the game
// bar, finds the advice centre's page covered by its companion page until
// the centre stands, lowers the price of a consultation with the step
// button, starts the centre's print campaign on the campaigns page, and over
// the simulated days the share of people advised that the page shows
// follows the centre's users as they move towards the share the price sets.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "gui/dialog.h"
#include "gui/item_text.h"
#include "gui/screen_window.h"
#include "measures/advice_centre.h"
#include "model/data_exchange.h"
#include "sim/sim_city_model.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "worldbase/building_catalogue.h"

namespace {

using namespace zortest;

// Window 80 stands at (411, 0), its pages at (462, 21).
constexpr int kGroupX = 411, kPageX = 462, kPageY = 21;
constexpr Region kPage{kPageX, kPageY, kPageX + 337, kPageY + 349};
constexpr int kAdvicePage = 81;
constexpr int kCentreGraphic = 32456;

// The page buttons from the top: travel assistant, advice centre, passive
// and active route guidance, car sharing, campaigns.
void ClickTab(Scenario& game, int n) { game.Click(kGroupX + 28, 45 + 43 * n + 18).Do(Wait(40)); }
void ClickOnPage(Scenario& game, int x, int y) { game.Click(kPageX + x, kPageY + y).Do(Wait(40)); }

CScreenWindow* Window(int id) { return CUserInt::topWindow->GetWindowByID(id); }

// The figure a page shows at (x, y), as its text item writes it.
double Shown(int window, int x, int y) {
  CItemText* text = nullptr;
  auto find = [&](CItem* i) {
    if (i->GetXPos() == x && i->GetYPos() == y) text = dynamic_cast<CItemText*>(i);
  };
  Window(window)->GetItems()->ForEach(find);
  Window(window)->GetDialogs()->ForEach([&](CDialog* d) { d->GetItems()->ForEach(find); });
  EXPECT_NE(text, nullptr) << x << "/" << y;
  if (!text || !text->GetVar()) return -1;
  char shown[64] = "";
  text->VarUpdate(text->GetVar(), shown, sizeof shown);
  // The German figures have a decimal comma.
  for (char& c : shown)
    if (c == ',') c = '.';
  return std::strtod(shown, nullptr);
}

// The item of the campaigns page (window 92) with picture `picture` at
// page point (x, y).
CItem* CampaignItem(int picture, int x, int y) {
  CItem* found = nullptr;
  Window(92)->GetDialogs()->ForEach([&](CDialog* d) {
    d->GetItems()->ForEach([&](CItem* i) {
      if (i->GetResID() == picture && i->GetXPos() == x && i->GetYPos() == y) found = i;
    });
  });
  return found;
}

TEST(ScenarioMeasuresWindow, APlayerRunsTheAdviceCentreFromItsPageAndTheShownShareFollowsTheModel) {
  std::filesystem::create_directories("SaveGame");
  Scenario game;
  CZorvaWorld& world = game.World();
  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - 400);
  CDataExchange& dx = *world.GetDataExchange();
  world.GetSimWelt()->pCityModell()->AddResidents(40000);
  const int people = dx.GetPeople();
  ASSERT_GT(people, 0);
  // The town passes its growth target at once: the message that says so
  // is put away and the game goes on.
  game.Do(Wait(400));
  world.DeActivateWindow(236);
  world.SetPause(false);

  // The bar's services menu opens the group. The car-sharing page is
  // covered by its companion while no outlet stands.
  game.Run({Move(600, 590), Wait(40)});
  game.Click(678, 523).Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(25));
  game.Click(678, 475).Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(80));
  // The menu's entry opens the group on the car-sharing page, which shows
  // its companion while no outlet stands.
  EXPECT_EQ(Window(84)->GetHinweisWindow(), 1);
  EXPECT_TRUE(game.IsOpen(84));
  for (int other : {81, 82, 85, 86, 87, 88, 89, 90, 91, 92}) EXPECT_FALSE(game.IsOpen(other)) << other;

  // Without a centre its page shows the companion.
  ClickTab(game, 1);
  ASSERT_TRUE(game.IsOpen(kAdvicePage));
  EXPECT_FALSE(game.IsOpen(84));
  EXPECT_EQ(Window(kAdvicePage)->GetHinweisWindow(), 1);
  const uint64_t companion = game.Fingerprint(kPage);
  game.Shot("measures-advice-companion");

  // The centre built: the real page shows at once.
  ASSERT_NE(world.CreateObject(OBJ_ADVICE_CENTRE, kCentreGraphic, CIsoRichtung(0), 70, 50,
                               static_cast<ESimLocationHeight>(0), nullptr, 0, nullptr, 0, -1),
            nullptr);
  ASSERT_EQ(dx.GetVarValue("MZ.ZENTRALE"), 1);
  game.Do(Wait(40));
  EXPECT_EQ(Window(kAdvicePage)->GetHinweisWindow(), 0);
  EXPECT_NE(game.Fingerprint(kPage), companion);
  // A flag left on covers the page until the page opens again, which
  // decides by what stands.
  Window(kAdvicePage)->SetHinweisWindow(true);
  game.Do(Wait(40));
  EXPECT_EQ(game.Fingerprint(kPage), companion);
  Window(90)->SetHinweisWindow(true);
  ClickTab(game, 1);
  EXPECT_EQ(Window(kAdvicePage)->GetHinweisWindow(), 0);
  EXPECT_NE(game.Fingerprint(kPage), companion);
  // The travel assistant has the centre's data now; active route guidance
  // still has no mast, car sharing no outlet.
  EXPECT_EQ(Window(90)->GetHinweisWindow(), 0);
  EXPECT_EQ(Window(87)->GetHinweisWindow(), 1);
  EXPECT_EQ(Window(84)->GetHinweisWindow(), 1);

  // The minus button lowers the price of a consultation one step.
  const double price = dx.GetVarValue("MZ.PRICE.BERATUNG");
  ClickOnPage(game, 243 + 4, 157 + 8);
  const double lowered = dx.GetVarValue("MZ.PRICE.BERATUNG");
  EXPECT_LT(lowered, price);
  EXPECT_GE(lowered, 0.0);
  EXPECT_NEAR(Shown(kAdvicePage, 252, 157), lowered, 0.05);

  // The campaigns page: the centre's print campaign started by its switch,
  // booked at its price.
  ClickTab(game, 5);
  ASSERT_TRUE(game.IsOpen(92));
  const double cost = dx.GetVarValue("MZ.COST");
  ClickOnPage(game, 103 + 6, 113 + 6);
  EXPECT_EQ(dx.GetVarValue("MZ.ADPRINT"), 1);
  EXPECT_EQ(dx.GetVarValue("MZ.COST") - cost, 150000);

  // On the advice centre's page until the measures book the next month,
  // a twelfth of a year, which the campaign's progress shows. Before the
  // campaign ends the awareness is nought, so the share advised moves
  // towards (1 - price / 5) x 7.5 percent, closing 3/5 of the gap a year.
  ClickTab(game, 1);
  ASSERT_TRUE(game.IsOpen(kAdvicePage));
  const double potential = (1.0 - lowered / 5.0) * 0.5 * 15.0;
  const double before = dx.GetVarValue("MZ.USERQUOTE");
  const double ready = dx.GetVarValue("MZ.ADPRINT.PERCENTREADY");
  for (int step = 0; step < 400 && dx.GetVarValue("MZ.ADPRINT.PERCENTREADY") == ready; ++step) game.Do(Wait(40));
  EXPECT_NEAR(dx.GetVarValue("MZ.ADPRINT.PERCENTREADY") - ready, 1.0 / 12, 1e-6);
  ASSERT_EQ(dx.GetPeople(), people);
  const double after = dx.GetVarValue("MZ.USERQUOTE");
  EXPECT_NEAR(after, before + (potential - before) * 0.6 / 12, 1e-4);
  EXPECT_GT(after, before);
  // The next frame writes the share on the page with two decimals.
  game.Do(Wait(40));
  EXPECT_NEAR(Shown(kAdvicePage, 245, 128), after, 0.006);
  EXPECT_EQ(dx.GetVarValue("MZ.ADPRINT"), 1);
  game.Shot("measures-advice-page");

  // Back on the campaigns page, left open: month by month the campaign's
  // bar fills in eight steps, and when the year is over its switch is off.
  ClickTab(game, 5);
  CItem* print = CampaignItem(25866, 103, 113);
  CItem* bar = CampaignItem(25869, 37, 113 + 17);
  ASSERT_NE(print, nullptr);
  ASSERT_NE(bar, nullptr);
  for (int month = 0; month < 13 && dx.GetVarValue("MZ.ADPRINT") != 0; ++month) {
    const double was = dx.GetVarValue("MZ.ADPRINT.PERCENTREADY");
    for (int step = 0; step < 400 && dx.GetVarValue("MZ.ADPRINT.PERCENTREADY") == was; ++step) game.Do(Wait(40));
    game.Do(Wait(40));
    const double now = dx.GetVarValue("MZ.ADPRINT.PERCENTREADY");
    EXPECT_EQ(bar->GetState(), static_cast<int>(std::floor(8 * now + 0.5))) << "month " << month;
    EXPECT_EQ(print->GetState(), dx.GetVarValue("MZ.ADPRINT")) << "month " << month;
  }
  EXPECT_EQ(dx.GetVarValue("MZ.ADPRINT"), 0);
  EXPECT_EQ(print->GetState(), 0);
}

}  // namespace

namespace {

// Pixels of the page's row `y` (page coordinates, x from 10 to the page's
// width - 10) in colour `c`.
int RowPixelsOf(Scenario& game, int y, uint16_t c) {
  int n = 0;
  for (int x = 10; x < 337 - 10; ++x) n += game.Pixel(kPageX + x, kPageY + y) == c;
  return n;
}

TEST(ScenarioMeasuresWindow, NoRuleOfAServicePageCrossesItsFiguresOrStepButtons) {
  Scenario game;
  // A mast, so that the guidance pages show themselves and not their
  // companions.
  const int mastId = CBuildingDataList::GetBuildingResIDByType(OBJ_TRANSMITTER, 0, nullptr);
  ASSERT_NE(game.World().CreateObject(OBJ_TRANSMITTER, mastId, CIsoRichtung(0), 70, 50,
                                      static_cast<ESimLocationHeight>(0), nullptr, 0, nullptr, 0, -1),
            nullptr);
  game.Run({Move(600, 590), Wait(40)});
  game.Click(678, 523).Do(Wait(40));
  game.Click(678, 475).Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(80));
  // The rule under a page's title: one line of its colour across the page.
  const struct {
    int tab, window;
    std::vector<int> rows;  // the tops of the figures and step editors
  } pages[] = {{0, 90, {36, 66, 96, 128, 158, 187, 217, 250, 279}},
               {2, 89, {36, 66, 96, 128, 157, 190, 219}},
               {3, 87, {36, 66, 96, 127, 158, 187, 220, 249}}};
  for (const auto& page : pages) {
    ClickTab(game, page.tab);
    ASSERT_TRUE(game.IsOpen(page.window)) << page.window;
    ASSERT_EQ(Window(page.window)->GetHinweisWindow(), 0) << "the page itself shows, not its companion";
    const uint16_t rule = game.Pixel(kPageX + 100, kPageY + 28);
    ASSERT_GT(RowPixelsOf(game, 28, rule), 300) << "the title's rule, page " << page.window;
    for (int top : page.rows)
      for (int y = top; y < top + 17; ++y)
        EXPECT_LT(RowPixelsOf(game, y, rule), 100) << "a rule crosses the row at " << top << " of page " << page.window;
  }
}

}  // namespace

