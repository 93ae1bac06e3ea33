// The city's rating and statistics read from their windows with the mouse:
// the player opens the indicator group from the bar's rating button and
// sees each bar in the state of its live rating; on the statistics page
// opens a series panel, switches a series on and off, shows thirty
// quarters and back, and steps the chart back and forward; answers yes to
// master mode, pins a god value with its switch, raises it with its plus
// button, and reads the value now in force beside it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include <SDL.h>

#include "gen/gauge_names.h"
#include "gui/gui_host.h"
#include "gui/item_text.h"
#include "gui/screen_window.h"
#include "gui/text_markup.h"
#include "model/data_exchange.h"
#include "model/gott_modus.h"
#include "model/indikatoren.h"
#include "model/statistik.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "worldbase/zor_world_host.h"

namespace {

using namespace zortest;

CScreenWindow* WindowOf(int id) { return CUserInt::topWindow ? CUserInt::topWindow->GetWindowByID(id) : nullptr; }

// The item of window id whose actions hold kind with parameter p1.
CItem* ItemWith(int id, int kind, int p1) {
  CItem* found = nullptr;
  if (CScreenWindow* w = WindowOf(id); w && w->GetItems())
    w->GetItems()->ForEach([&](CItem* i) {
      if (i->GetActions())
        i->GetActions()->ForEach([&](CAction* a) {
          if (a->m_kind == kind && a->m_p1 == p1 && !found) found = i;
        });
    });
  return found;
}

// The chart's rectangle on the screen: item type 21 of page 142.
Region Chart() {
  CScreenWindow* page = WindowOf(142);
  const int x = page->GetRealPosX() + 92, y = page->GetRealPosY() + 49;
  return {x, y, x + 253, y + 115};
}

TEST(ScenarioIndicatorWindow, APlayerReadsTheRatingPagesTheChartAndPinsAGodValue) {
  Clock().Set(0);
  Scenario game("GAMESPEED=200\n");
  CZorvaWorld& world = game.World();
  CStatistik& stat = *world.GetStatistik();
  CGottModus& god = *world.GetGottModus();
  // Let the town run forty hours: the rating is made every hour and the
  // statistics record every fourth.
  const int start = world.GetSimWelt()->Date().TicksFromStart();
  auto hours = [&] { return world.GetSimWelt()->Date().TicksFromStart() - start; };
  for (int i = 0; i < 600 && hours() < 40; ++i) game.Do(Wait(1000));
  ASSERT_GE(hours(), 40);

  // The bar's rating button opens the group on its indicator page.
  ASSERT_FALSE(game.IsOpen(140));
  game.Run({Move(600, 590), Wait(40)});
  game.Click(620, 523).Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(140));
  ASSERT_TRUE(game.IsOpen(141));

  // Every bar shows the state of its live value: twelve steps (thirteen for
  // the city rating) from 0 to 1.
  int bars = 0, lit = 0;
  WindowOf(141)->GetItems()->ForEach([&](CItem* i) {
    if (!i->GetVars() || !i->GetVars()->GetHead() || dynamic_cast<CItemText*>(i)) return;
    const char* name = i->GetVars()->GetHead()->GetName();
    double v = -1;
    ASSERT_EQ(world.GetDataExchange()->GetVarData(name, &v), 0) << name;
    const int steps = std::string(name) == "I.EQM" ? 13 : 12;
    const int want = std::clamp(static_cast<int>(std::floor(steps * v + 0.5)), 0, steps);
    EXPECT_EQ(i->GetState(), want) << name << " = " << v;
    ++bars;
    lit += want > 0;
  });
  EXPECT_EQ(bars, 18);
  EXPECT_GT(lit, 0) << "a running town has ratings above nothing";

  // The statistics, with the game paused so that no new recording moves
  // the chart: the first panel with the city's group.
  world.SetPause(true);
  ASSERT_TRUE(game.ClickIn(140, 28, 88 + 18));
  game.Do(Wait(40));
  EXPECT_TRUE(game.IsOpen(142));
  EXPECT_TRUE(game.IsOpen(147));
  EXPECT_FALSE(game.IsOpen(141));
  EXPECT_EQ(stat.GetGruppe(), 0);

  // The rating series' panel; its first button switches "km per person".
  ASSERT_TRUE(game.ClickIn(142, 290, 198));
  game.Do(Wait(40));
  EXPECT_TRUE(game.IsOpen(149));
  EXPECT_FALSE(game.IsOpen(147));
  EXPECT_EQ(stat.GetGruppe(), 5);
  const bool wasShown = stat.GetSeries(44).shown != 0;
  const uint64_t before = game.Fingerprint(Chart());
  ASSERT_TRUE(game.ClickIn(149, 9 + 47, 24 + 6));
  game.Do(Wait(40));
  EXPECT_NE(stat.GetSeries(44).shown != 0, wasShown);
  EXPECT_EQ(ItemWith(149, 55, 44)->GetState(), wasShown ? -1 : 2);
  EXPECT_NE(game.Fingerprint(Chart()), before) << "the chart draws the series or drops it";
  ASSERT_TRUE(game.ClickIn(149, 9 + 47, 24 + 6));
  game.Do(Wait(40));
  EXPECT_EQ(stat.GetSeries(44).shown != 0, wasShown);
  EXPECT_EQ(game.Fingerprint(Chart()), before);

  // Every series of the panel on: the chart as the next steps page it.
  ASSERT_TRUE(game.ClickIn(142, 4 + 27, 208 + 6));
  game.Do(Wait(40));
  for (int s = 44; s <= 58; ++s) EXPECT_NE(stat.GetSeries(s).shown, 0) << s;
  const uint64_t all = game.Fingerprint(Chart());
  EXPECT_NE(all, before);

  // Thirty quarters, pressed while shown, and back to ten.
  EXPECT_EQ(stat.GetShownSlots(), 10);
  // The range buttons' looks, with the pointer away from them.
  CScreenWindow* page = WindowOf(142);
  auto look = [&](int y) {
    game.Run({Move(page->GetRealPosX() + 200, page->GetRealPosY() + 290), Wait(1200)});  // a turn of the looks and a loop of the pictures
    const int x = page->GetRealPosX() + 11, top = page->GetRealPosY() + y;
    return game.Fingerprint({x, top, x + 49, top + 13});
  };
  const uint64_t thirtyOff = look(69), tenOn = look(55);
  ASSERT_TRUE(game.ClickIn(142, 35, 69 + 6));
  game.Do(Wait(40));
  EXPECT_EQ(stat.GetShownSlots(), 30);
  EXPECT_NE(look(69), thirtyOff) << "pressed while thirty are shown";
  EXPECT_NE(look(55), tenOn);
  EXPECT_NE(game.Fingerprint(Chart()), all);
  // All thirty are shown: there is no earlier quarter to step to.
  ASSERT_TRUE(game.ClickIn(142, 47 + 8, 168 + 8));
  game.Do(Wait(40));
  EXPECT_EQ(stat.GetOffset(), 0);
  ASSERT_TRUE(game.ClickIn(142, 35, 55 + 6));
  game.Do(Wait(40));
  EXPECT_EQ(stat.GetShownSlots(), 10);
  EXPECT_EQ(game.Fingerprint(Chart()), all);
  EXPECT_EQ(look(69), thirtyOff);
  EXPECT_EQ(look(55), tenOn);

  // A quarter back twice, one forward, then to the newest at once.
  for (int n = 0; n < 2; ++n) {
    ASSERT_TRUE(game.ClickIn(142, 47 + 8, 168 + 8));
    game.Do(Wait(40));
  }
  EXPECT_EQ(stat.GetOffset(), 2);
  const uint64_t back = game.Fingerprint(Chart());
  ASSERT_TRUE(game.ClickIn(142, 372 + 8, 168 + 8));
  game.Do(Wait(40));
  EXPECT_EQ(stat.GetOffset(), 1);
  EXPECT_NE(game.Fingerprint(Chart()), back);
  ASSERT_TRUE(game.ClickIn(142, 391 + 15, 169 + 7));
  game.Do(Wait(40));
  EXPECT_EQ(stat.GetOffset(), 0);
  EXPECT_EQ(game.Fingerprint(Chart()), all);

  // Master mode: in the normal game its page asks first; "yes" switches to
  // free play and opens the god page of traffic and people.
  ASSERT_EQ(god.GetGameModus(), GAME_NORMAL);
  ASSERT_TRUE(game.ClickIn(140, 28, 131 + 18));
  game.Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(143));
  ASSERT_TRUE(game.ClickIn(143, 202 + 18, 258 + 18));
  game.Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(247));
  ASSERT_TRUE(game.ClickIn(247, 16 + 28, 83 + 8));
  game.Do(Wait(40));
  EXPECT_EQ(god.GetGameModus(), GAME_GOD);
  ASSERT_TRUE(game.IsOpen(144));
  EXPECT_FALSE(game.IsOpen(143));
  // The users' shares: the teleworkers' switch pins the value, its plus
  // button raises it, and the value in force beside it is the pinned one.
  ASSERT_TRUE(game.ClickIn(144, 162 + 45, 21 + 9));
  game.Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(145));
  constexpr int kTele = 15;
  const std::string name = "GOTT.15_NA_TELEWORKER";
  ASSERT_FALSE(god.IsGottWertActive(kTele));
  ASSERT_TRUE(game.ClickIn(145, 56 + 3, 168 + 3));
  game.Do(Wait(40));
  ASSERT_TRUE(god.IsGottWertActive(kTele));
  const double pinned = god.GetGottWert(kTele);
  const double step = god.DoGottWerte(kTele, 0, GOTT_STEP);
  ASSERT_TRUE(game.ClickIn(145, 235 + 47 + 4, 165 + 7));
  game.Do(Wait(40));
  const double raised = god.GetGottWert(kTele);
  EXPECT_FLOAT_EQ(raised, static_cast<float>(pinned + step));
  double inForce = -1;
  ASSERT_EQ(god.GetVarData((name + "AKTUELL").c_str(), &inForce), 0);
  EXPECT_FLOAT_EQ(inForce, raised);
  // A few hours on, the pinned value holds.
  world.SetPause(false);
  const int pinnedAt = hours();
  for (int i = 0; i < 10; ++i) game.Do(Wait(1000));
  ASSERT_GT(hours(), pinnedAt + 2);
  EXPECT_FLOAT_EQ(god.GetGottWert(kTele), raised);
  ASSERT_EQ(god.GetVarData((name + "AKTUELL").c_str(), &inForce), 0);
  EXPECT_FLOAT_EQ(inForce, raised);
  // The text beside the editor shows it.
  CItemText* current = nullptr;
  WindowOf(145)->GetDialogs()->ForEach([&](CDialog* d) {
    if (d->GetItems())
      d->GetItems()->ForEach([&](CItem* i) {
        auto* t = dynamic_cast<CItemText*>(i);
        if (t && i->GetVars() && i->GetVars()->GetHead() && std::string(i->GetVars()->GetHead()->GetName()) == name + "AKTUELL") current = t;
      });
  });
  ASSERT_NE(current, nullptr);
  char shown[64] = "", want[64] = "";
  current->VarUpdate(current->GetVars()->GetHead(), shown, sizeof shown);
  CTextMarkup::FormatValue(VAR_FLOAT, raised, 0, 0, want, sizeof want);
  EXPECT_STREQ(shown, want);
  game.Shot("indicator_window_god_value");
}

// The rating page's small "?" beside a gauge, and the larger ones of the
// city rating and the growth, each open the help that names its own gauge,
// in both languages, in a window that holds the whole text; the growth figure under its name reads the value its
// bar shows, a full bar for a small town's growth of 0.75.
TEST(ScenarioIndicatorWindow, EachHelpButtonOpensItsOwnGaugesHelpAndTheGrowthFigureReadsItsBar) {
  Scenario game("LANGUAGE=0\n");
  CZorvaWorld& world = game.World();
  world.SetPause(true);
  game.Ui().ActivateWindow(140);
  game.Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(141));
  struct Help {
    int x, y;
    zorgen::Words gauge;
    bool named;  // its title is "Gauge: <gauge>"
  };
  std::vector<Help> helps;
  // A row per gauge, 14 pixels apart, three groups 99 pixels apart.
  for (const zorgen::GaugeGroup& g : zorgen::kGaugeGroups)
    for (int i = 0; i < g.count; ++i)
      helps.push_back({178, 45 + 99 * static_cast<int>(&g - zorgen::kGaugeGroups) + 14 * i,
                       zorgen::kGaugeNames[g.first + i], true});
  helps.push_back({408, 57, zorgen::kCityRating, false});
  helps.push_back({408, 128, zorgen::kGrowthGauge, false});
  for (const bool english : {false, true}) {
    if (english) game.Key(SDLK_l);
    ASSERT_EQ(CWorldHost::Get()->GetLanguage(), english ? 1 : 0);
    for (const Help& h : helps) {
      // The game's texts are Latin-1, the names' source UTF-8.
      std::string want;
      for (const char* c = h.gauge.In(english); *c; ++c)
        want += static_cast<unsigned char>(*c) == 0xC3 && c[1] ? static_cast<char>(*++c + 0x40) : *c;
      want = std::string(h.named ? (english ? "Gauge: " : "Anzeige: ") : "") + want;
      SCOPED_TRACE(want);
      ASSERT_TRUE(game.ClickIn(141, h.x + 6, h.y + 6));
      game.Do(Wait(40));
      ASSERT_TRUE(game.IsOpen(242));
      const char* title = nullptr;
      const char* text = nullptr;
      ASSERT_TRUE(CGuiHost::Get()->GetHelpEntry(CGuiHost::Get()->GetHelpEntry242(), &title, &text));
      EXPECT_EQ(want, title);
      bool shown = false;
      WindowOf(242)->GetItems()->ForEach([&](CItem* i) {
        auto* t = dynamic_cast<CItemText*>(i);
        shown |= t && t->GetDynamicText() && want == t->GetDynamicText();
      });
      EXPECT_TRUE(shown) << "the help window shows the title";
      // And the whole of the text, inside the window and on the screen.
      CItemText* body = nullptr;
      WindowOf(242)->GetItems()->ForEach([&](CItem* i) {
        auto* t = dynamic_cast<CItemText*>(i);
        if (t && t->GetDynamicText() && std::string(text) == t->GetDynamicText()) body = t;
      });
      ASSERT_NE(body, nullptr) << "the help window shows the text";
      EXPECT_LE(body->GetHeight(text), body->GetYSize()) << text;
      EXPECT_LE(WindowOf(242)->GetRealPosY() + WindowOf(242)->GetSizeY(), CGuiHost::Get()->GetScreenHeight());
      // Closed again, it leaves the next button free to press.
      game.Ui().DeActivateWindow(242);
      game.Do(Wait(40));
    }
  }

  // The growth of a town below 15,000 people: its bar full, its figure 1.
  ASSERT_EQ(world.GetDataExchange()->SetVarData("I.GROWTH", 0.75), 0);
  game.Do(Wait(400));
  CItem* bar = nullptr;
  CItemText* figure = nullptr;
  WindowOf(141)->GetItems()->ForEach([&](CItem* i) {
    if (!i->GetVars() || !i->GetVars()->GetHead() || std::string(i->GetVars()->GetHead()->GetName()) != "I.GROWTH_MORE")
      return;
    if (auto* t = dynamic_cast<CItemText*>(i))
      figure = t;
    else
      bar = i;
  });
  ASSERT_NE(bar, nullptr);
  ASSERT_NE(figure, nullptr);
  EXPECT_EQ(bar->GetState(), 12) << "full";
  char shown[64] = "", want[64] = "";
  figure->VarUpdate(figure->GetVars()->GetHead(), shown, sizeof shown);
  CTextMarkup::FormatValue(VAR_FLOAT, bar->GetState() / 12.0, 1, 0, want, sizeof want);
  EXPECT_STREQ(shown, want);
  game.Shot("indicator-page-growth-figure");
}

}  // namespace
