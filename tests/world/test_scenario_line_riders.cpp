// The lines page of the public-transport window, open over a town whose
// people ride its lines, while the player moves the mouse over the list:
// each row's riders figure is the passengers of its line's last day, as
// the demand model wrote them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>

#include "gui/dialog_selection_list.h"
#include "gui/item_text.h"
#include "gui/screen_window.h"
#include "measures/opnv_line.h"
#include "opnv_window_steps.h"
#include "scenario_opnv_steps.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

constexpr int kLinesPage = 129;

// The riders figure each row of the lines page drew last, by the line
// number of the row's label ("Bus 2", "S-Bahn 3").
std::map<int, double> DrawnRiders() {
  std::map<int, int> numbers;
  std::map<int, double> riders;
  CScreenWindow* page = CUserInt::topWindow ? CUserInt::topWindow->GetWindowByID(kLinesPage) : nullptr;
  if (!page || !page->GetDialogs()) return {};
  page->GetDialogs()->ForEach([&](CDialog* d) {
    auto* list = dynamic_cast<CDialogSelectionList*>(d);
    if (!list || !list->GetItems()) return;
    list->GetItems()->ForEach([&](CItem* i) {
      auto* text = dynamic_cast<CItemText*>(i);
      if (!text) return;
      const char* label = text->GetText();
      if (std::strncmp(label, "Bus ", 4) == 0 || std::strncmp(label, "S-Bahn ", 7) == 0)
        numbers[i->GetYPos()] = std::atoi(std::strchr(label, ' ') + 1);
      CWindowVar* var = text->GetVar();
      double v = -1;
      if (var && std::strcmp(var->GetName(), "OPNV.LINE.PASSENGER") == 0 && var->GetValue(&v, false) == 0)
        riders[i->GetYPos()] = v;
    });
  });
  std::map<int, double> out;
  for (const auto& [y, v] : riders)
    if (numbers.count(y)) out[numbers[y]] = v;
  return out;
}

TEST(ScenarioLineRiders, TheLinesPageShowsEachLinesRidersWhileTheMouseMovesOverTheList) {
  Clock().Set(0);
  Scenario game;
  LineTown town;
  ASSERT_NO_FATAL_FAILURE(BuildLineTown(game, town));
  CZorvaWorld& world = game.World();

  BarButton(game, kOpnvButton);
  ClickAt(game, kOpnvMenuFirst);
  ClickAt(game, Tab(kTabLines));
  ASSERT_TRUE(game.IsOpen(kLinesPage));
  ASSERT_EQ(DrawnRiders().size(), 3u) << "a row for each line";

  // Eight simulated days with the mouse moving to and fro over the rows'
  // figures. A line's riders that stayed the same over the last frames
  // are what its row shows.
  constexpr int kSettle = 10, kDays = 8;
  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - 400);
  CSimWelt* sim = world.GetSimWelt();
  const int start = sim->Date().TicksFromStart();
  std::map<int, std::deque<double>> recent;
  int checked = 0, riding = 0;
  for (int frame = 0; frame < 20000 && sim->Date().TicksFromStart() < start + 24 * kDays; ++frame) {
    game.Run({Move(kPageX + 14 + 230 + (frame & 1) * 3, kPageY + 115 + 20), Wait(Scenario::kFrameMs)});
    const std::map<int, double> drawn = DrawnRiders();
    for (COpnvLine* line : town.lines) {
      double riders = 0;
      ASSERT_EQ(line->GetVarData("OPNV.LINE.PASSENGER", &riders), 0);
      std::deque<double>& seen = recent[line->GetID()];
      seen.push_back(riders);
      if (seen.size() > kSettle) seen.pop_front();
      if (seen.size() < kSettle || seen.front() != riders) continue;
      ASSERT_TRUE(drawn.count(line->GetID())) << "line " << line->GetID();
      EXPECT_EQ(drawn.at(line->GetID()), riders) << "line " << line->GetID() << " at frame " << frame;
      ++checked;
      riding += riders > 0;
    }
    if (HasFailure()) break;
  }
  EXPECT_GE(sim->Date().TicksFromStart(), start + 24 * kDays) << "the days passed";
  EXPECT_GT(riding, checked / 10) << "the lines carried riders for a good part of the time";
}

}  // namespace
