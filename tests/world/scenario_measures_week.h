#pragma once
// A week of the service measures in the running game. The world's six
// service measures are the real ones, each handing the scenario its hourly
// turn and its year's closing just before and just after they run, so that
// a scenario reads what the measure reads at that moment (the people, the
// network's values) and recomputes the turn from it. The player's ways into
// the measures group (window 80) and to the figures its pages show are here
// too.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "gui/dialog.h"
#include "gui/item_text.h"
#include "gui/screen_window.h"
#include "gui/text_markup.h"
#include "measures/active_route_guidance.h"
#include "measures/advice_centre.h"
#include "measures/carsharing.h"
#include "measures/measure_host.h"
#include "measures/park_ride.h"
#include "measures/passive_route_planning.h"
#include "measures/pta.h"
#include "model/data_exchange.h"
#include "network/str_junction_list.h"
#include "sim/sim_city_model.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "worldbase/building_catalogue.h"

namespace zortest {

// A measure that calls the scenario's hooks around its turn and its closing
// of the year; everything else is the measure's own.
template <class Base>
class WatchedMeasure : public Base {
 public:
  using Hook = std::function<void(const STime& now, const STime& last)>;
  Hook beforeTurn, afterTurn, beforeYear, afterYear;
  int turns = 0;
  int closings = 0;

  int OnPlayloopTurn(STime now, STime last) override {
    if (beforeTurn) beforeTurn(now, last);
    const int r = Base::OnPlayloopTurn(now, last);
    ++turns;
    if (afterTurn) afterTurn(now, last);
    return r;
  }
  int ResetYearData(STime now, STime last) override {
    const bool closes = now.year != last.year;
    if (closes && beforeYear) beforeYear(now, last);
    const int r = Base::ResetYearData(now, last);
    if (closes) ++closings;
    if (closes && afterYear) afterYear(now, last);
    return r;
  }
};

class MeasuresWeekWorld : public CZorvaWorld {
 public:
  WatchedMeasure<CCarsharing>* carsharing = nullptr;
  WatchedMeasure<CParkRide>* parkRide = nullptr;
  WatchedMeasure<CZorviZentrale>* centre = nullptr;
  WatchedMeasure<CAktiveRoutenPlanung>* guidance = nullptr;
  WatchedMeasure<CPassiveRoutenPlanung>* planning = nullptr;
  WatchedMeasure<CPta>* assistant = nullptr;

 protected:
  CCarsharing* NewCarsharing() override { return carsharing = new WatchedMeasure<CCarsharing>; }
  CParkRide* NewParkRide() override { return parkRide = new WatchedMeasure<CParkRide>; }
  CZorviZentrale* NewZorviZentrale() override { return centre = new WatchedMeasure<CZorviZentrale>; }
  CAktiveRoutenPlanung* NewAktiveRP() override { return guidance = new WatchedMeasure<CAktiveRoutenPlanung>; }
  CPassiveRoutenPlanung* NewPassiveRP() override { return planning = new WatchedMeasure<CPassiveRoutenPlanung>; }
  CPta* NewPta() override { return assistant = new WatchedMeasure<CPta>; }
};

// The share of a year between two turns, as the measures take it.
inline double Elapsed(const STime& now, const STime& last) {
  return static_cast<double>(now.fyear) - static_cast<double>(last.fyear);
}

// What the measures read from the game, at the moment of the call.
inline int People() { return CMeasureHost::Get()->GetPeople(); }
inline double Value(const char* name) { return CMeasureHost::Get()->GetExchangeValue(name); }
inline double Most(const char* name) { return CMeasureHost::Get()->GetExchangeMax(name); }

inline double Var(CWorldObj& measure, const char* key) {
  double v = 0.0;
  EXPECT_EQ(measure.GetVarData(key, &v), 0) << key;
  return v;
}

// The step toward the potential of one turn that the measures share:
// (potential - users) / damping x 3 x elapsed, never past the potential.
inline double Toward(double users, double potential, double damping, double elapsed) {
  const double step = (potential - users) / damping * 3.0 * elapsed;
  if (step == 0.0) return users;
  return step >= 0 ? std::min(users + step, potential) : std::max(users + step, potential);
}

// A campaign as the scenario follows it: its progress in years, mirrored in
// the measure's float, and whether it ended in the last turn.
struct CampaignTrack {
  bool running = false;
  float progress = 0.0f;
  // Advances by the turn's share of a year; true when the year is over.
  bool Advance(double elapsed) {
    if (!running) return false;
    progress += static_cast<float>(elapsed);
    if (progress <= 1.0f) return false;
    running = false;
    progress = 0.0f;
    return true;
  }
};

// The closing of a year of a measure whose balance of last year is the
// year's whole income less its expenses and whose awareness loses a fifth:
// `awareness` is the scenario's account of it.
template <class M>
void WatchYearClosings(WatchedMeasure<M>& m, const std::string& prefix, const std::string& cost, float& awareness) {
  auto year = std::make_shared<std::pair<double, double>>();
  m.beforeYear = [&m, year, prefix, cost](const STime&, const STime&) {
    *year = {Var(m, (prefix + "INCOME").c_str()), Var(m, cost.c_str())};
  };
  m.afterYear = [&m, year, prefix, cost, &awareness](const STime&, const STime&) {
    EXPECT_EQ(Var(m, (prefix + "LASTYEAR.BILANZ").c_str()), year->first - year->second);
    EXPECT_EQ(Var(m, (prefix + "INCOME").c_str()), 0);
    EXPECT_EQ(Var(m, cost.c_str()), 0);
    EXPECT_EQ(Var(m, (prefix + "BILANZ").c_str()), 0);
    awareness *= 0.8f;
    EXPECT_EQ(m.GetAwareness(), awareness);
  };
}

// The service's target that the period of hours 7, 12 and 17 feeds to its
// node of the network, which the next turn reads as the node's value.
struct PeriodFeed {
  const char* node;
  double expected = -1.0;
  int fed = 0;
  void AfterTurn(const STime& now, double target) {
    if (now.hour == 7 || now.hour == 12 || now.hour == 17) expected = target;
  }
  void BeforeTurn(const STime& now) {
    if (expected < 0) return;
    EXPECT_NEAR(Value(node), expected, 1e-4 * expected + 1e-9) << node << " " << now.year << "/" << now.hour;
    ++fed;
    expected = -1.0;
  }
};

// Window 80 stands at (411, 0), its pages at (462, 21).
constexpr int kGroupX = 411, kPageX = 462, kPageY = 21;
enum MeasuresPage { kAssistantTab, kCentreTab, kPlanningTab, kGuidanceTab, kCarsharingTab, kCampaignTab };
constexpr int kPageOfTab[] = {90, 81, 89, 87, 84, 92};

inline CScreenWindow* WindowOf(int id) { return CUserInt::topWindow->GetWindowByID(id); }

// The bar's services menu and its measures entry open the group.
inline void OpenMeasures(Scenario& game) {
  game.Run({Move(600, 590), Wait(40)});
  game.Click(678, 523).Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(25));
  game.Click(678, 475).Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(80));
}

// The page buttons from the top, each opening its page.
inline void OpenPage(Scenario& game, MeasuresPage tab) {
  game.Click(kGroupX + 28, 45 + 43 * tab + 18).Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(kPageOfTab[tab])) << kPageOfTab[tab];
}
inline void ClickOnPage(Scenario& game, int x, int y) { game.Click(kPageX + x, kPageY + y).Do(Wait(40)); }

// The campaigns page: a row of switches for each measure, a column for each
// medium.
enum CampaignRow { kAssistantRow = 54, kCentreRow = 113, kPlanningRow = 172, kGuidanceRow = 231, kCarsharingRow = 290 };
enum CampaignColumn { kPrintColumn = 103, kRadioColumn = 196, kTelevisionColumn = 289 };

// Starts a campaign by its switch on the campaigns page, the game held
// meanwhile: the switch's flag is set and the measure's cost rises by the
// price. The measure's own page is opened again before the game goes on.
inline void StartCampaign(Scenario& game, CampaignRow row, CampaignColumn column, const char* flag, const char* cost,
                          double price, MeasuresPage back) {
  CDataExchange& dx = *game.World().GetDataExchange();
  ASSERT_NO_FATAL_FAILURE(OpenPage(game, kCampaignTab));
  game.World().SetPause(true);
  const double before = dx.GetVarValue(cost);
  ClickOnPage(game, column + 6, row + 6);
  EXPECT_EQ(dx.GetVarValue(flag), 1) << flag;
  EXPECT_EQ(dx.GetVarValue(cost) - before, price) << flag;
  ASSERT_NO_FATAL_FAILURE(OpenPage(game, back));
  game.World().SetPause(false);
}

// Holds the game and lets the frames write the open pages' figures.
inline void Settle(Scenario& game) {
  game.World().SetPause(true);
  game.Do(Wait(200));
}

// The text a figure of window `id` (its own items or its dialogs') shows for
// the variable `name`; empty when no text shows it.
inline std::string Shown(int id, const char* name) {
  std::string shown;
  auto look = [&](CItem* i) {
    auto* t = dynamic_cast<CItemText*>(i);
    if (!t || !i->GetVar() || std::string(i->GetVar()->GetName()) != name) return;
    char text[64] = "";
    t->VarUpdate(i->GetVar(), text, sizeof text);
    shown = text;
  };
  WindowOf(id)->GetItems()->ForEach(look);
  WindowOf(id)->GetDialogs()->ForEach([&](CDialog* d) { d->GetItems()->ForEach(look); });
  return shown;
}
// The text a figure of that type gives the value.
inline std::string Formatted(EVarType type, double value) {
  char text[64] = "";
  CTextMarkup::FormatValue(type, value, 0, 0, text, sizeof text);
  return text;
}

// An avenue from x 12 to 60 along y 70 with homes on one side and homes,
// offices, factories and shops on the other, so that people live and work
// in districts 1 to 7 of rows 8 and 9.
inline void BuildAvenue(CZorvaWorld& world) {
  CStrBuildLine line(12, 70, 60, 70);
  ASSERT_EQ(world.GetStreetNet()->CreateStreet(&line, STRASSE_1), STR_BUILD_OK);
  const TObjectType work[] = {OBJ_RESIDENTIAL, OBJ_OFFICE, OBJ_INDUSTRY, OBJ_SHOPPING};
  for (int x = 13; x <= 57; x += 4)
    for (const auto& [kind, y] : {std::pair{OBJ_RESIDENTIAL, 68}, std::pair{work[(x / 4) % 4], 72}}) {
      const int resId = CBuildingDataList::GetBuildingResIDByType(kind, 1, nullptr);
      ASSERT_GT(resId, 0);
      ASSERT_NE(world.CreateObject(kind, resId, CIsoRichtung(0), x, y, static_cast<ESimLocationHeight>(0), nullptr, 0,
                                   nullptr, 0, -1),
                nullptr)
          << x << "/" << y;
    }
}

// A town of `people` residents at the game speed of the scenarios; the
// message that it passed its growth target is put away.
inline void PeopleInTown(Scenario& game, unsigned people) {
  CZorvaWorld& world = game.World();
  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - 400);
  world.GetSimWelt()->pCityModell()->AddResidents(people);
  game.Do(Wait(400));
  world.DeActivateWindow(236);
  world.SetPause(false);
}

// Runs the game's turns, as the frame loop does without drawing, until
// `days` more simulated days (years of the game) have begun; the adviser's
// messages that hold the game are put away as a player does. `eachHour`,
// when given, is called as each new simulated hour has begun.
inline void RunDays(Scenario& game, int days, const std::function<void()>& eachHour = nullptr) {
  CZorvaWorld& world = game.World();
  CSimWelt* sim = world.GetSimWelt();
  const int until = sim->Date().Year() + days;
  int hour = sim->Date().Hour();
  for (int i = 0; i < 400000 && sim->Date().Year() < until; ++i) {
    Clock().Advance(Scenario::kFrameMs);
    world.OnPlayloopTurn();
    // The message that the town passed its growth target holds the game
    // until it is put away.
    if (world.IsPause() && game.IsOpen(236)) {
      world.DeActivateWindow(236);
      world.SetPause(false);
    }
    if (sim->Date().Hour() == hour) continue;
    hour = sim->Date().Hour();
    if (eachHour) eachHour();
  }
  ASSERT_GE(sim->Date().Year(), until);
}

// Runs the game on to the given hour of the day.
inline void RunToHour(Scenario& game, int hour) {
  CSimWelt* sim = game.World().GetSimWelt();
  for (int i = 0; i < 40000 && sim->Date().Hour() != hour; ++i) {
    Clock().Advance(Scenario::kFrameMs);
    game.World().OnPlayloopTurn();
  }
  ASSERT_EQ(sim->Date().Hour(), hour);
}

// A week, seven simulated days, and the next morning, so that the last
// year's money is booked for some hours.
inline void RunWeek(Scenario& game) {
  ASSERT_NO_FATAL_FAILURE(RunDays(game, 7));
  ASSERT_NO_FATAL_FAILURE(RunToHour(game, 11));
}

}  // namespace zortest
