// The player works a four-lane street through its windows: a click with the
// select tool opens its window with the bus lane, whose switches put the
// bus lane and the traffic guidance on and off and whose fourth speed
// button sets the fastest speed; the swap button shows the partner window,
// whose chart draws the street's hourly loads, a busy morning higher than
// its quiet hours. Played through the frame loop on the real game.
#include <gtest/gtest.h>

#include "gui/screen_window.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "scenario_opnv_steps.h"
#include "sim/sim_network.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

constexpr int kFourLane = 194, kFourLaneChart = 195, kWarning = 220;
// Places in the windows, relative to each.
constexpr int kGuidance[2] = {171, 50};
constexpr int kBusLane[2] = {171, 67};
constexpr int kFastest[2] = {71 + 3 * 27 + 12, 26 + 7};  // ST.SPEED = 3
constexpr int kSwap[2] = {171, 88};
// The corner of the direction picture.
constexpr int kDirection[2] = {11, 98};
// The chart of window 195: its corner and size.
constexpr int kChartX = 39, kChartY = 237, kChartW = 156, kChartH = 36;

double Var(CWorldObj* o, const char* name) {
  double v = -1;
  EXPECT_EQ(o->GetVarData(name, &v), 0) << name;
  return v;
}

// One hour of the demand model's flows on the street, forward and back, and
// the network's hourly pass over them, as the game's turn runs it.
void PlayHour(CZorvaWorld& world, CStrStrasse* street, int hour, int forward, int backward, short capacity) {
  CSimTrafficSlot* slot = world.GetSimWelt()->ActiveSlot();
  ASSERT_NE(slot, nullptr);
  for (auto [id, flow] : {std::pair{street->GetSimID(), forward}, std::pair{street->GetSimIDSecond(), backward}}) {
    CSimStreet* s = slot->GetStreet(id);
    ASSERT_NE(s, nullptr) << id;
    s->ResetCarFlow();
    s->AddCarFlow(flow);
    s->SetCapacity(capacity);
  }
  world.GetStreetNet()->UpdateCarFlow();
  ASSERT_EQ(world.GetStreetNet()->UpdateCarFlow24(hour), 0);
}

// The row of the middle of the chart's dot of `colour` in the column of
// `hour`; -1 when there is none.
int DotRow(Scenario& game, int left, int top, int hour, uint16_t colour) {
  const int x = left + kChartX + static_cast<int>((hour - 5) * (kChartW / 15.0));
  for (int y = top + kChartY - kChartH * 3 / 2 - 3; y <= top + kChartY + 3; ++y)
    if (game.CountPixels({x - 2, y, x + 3, y + 1}, colour) >= 3) return y + 2;
  return -1;
}

TEST(ScenarioStreetWindow, AFourLaneStreetsSwitchesSpeedAndHourlyLoadsFollowItsWindows) {
  Scenario game;
  CZorvaWorld& world = game.World();
  world.SetPause(true);
  game.Run({Move(400, 250), Wait(40)});
  Cell c;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(150, 160, &c.x, &c.y), 0);
  ASSERT_EQ(BuildStreet(world, c.x - 6, c.y, c.x + 6, c.y, STRASSE_VIERSPURIG), STR_BUILD_OK);
  game.Do(Wait(100));
  auto* street = dynamic_cast<CStreetObj*>(game.Map().GetIsoInfo(c.x, c.y)->GetWorldObject(ISO_LAYER_GROUND));
  ASSERT_NE(street, nullptr);
  CStrStrasse* list = street->GetStreetList();
  ASSERT_NE(list, nullptr);
  // The demand model's hours go on until one with the new street is active.
  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - 400);
  world.SetPause(false);
  for (int waited = 0; waited < 20000 && !world.GetSimWelt()->ActiveSlot()->GetStreet(list->GetSimID()); waited += 200)
    game.Do(Wait(200));
  world.SetPause(true);

  // A busy morning: the flows of hours 6 to 8 against a capacity of 2,400.
  // Smoothed, the stored loads are 720, 1728 and 1051 forward (30 %, 72 %
  // and 43 %), and 0 back.
  const int forward[] = {1200, 2400, 600};
  for (int i = 0; i < 3; ++i) PlayHour(world, list, 6 + i, forward[i], 0, 2400);
  ASSERT_EQ(list->GetAuslastung24(7), 1728);
  ASSERT_EQ(list->GetCapacity(), 2400);

  int sx = 0, sy = 0;
  ASSERT_TRUE(ScreenOf(game, c, sx, sy));
  game.Click(sx, sy).Do(Wait(100));
  ASSERT_TRUE(game.IsOpen(kFourLane)) << "a four-lane street opens the window with the bus lane";
  ASSERT_EQ(game.Ui().selObj.selectedStreet, street);
  // The window reads all 24 hours of the street when it is selected.
  const auto& load = game.Ui().selObj.streetLoad;
  EXPECT_EQ(load[0][5], 0);
  EXPECT_EQ(load[0][6], 30);
  EXPECT_EQ(load[0][7], 72);
  EXPECT_EQ(load[0][8], 43);
  EXPECT_EQ(load[1][7], 0);
  EXPECT_EQ(load[0][23], 0);

  // The direction picture is a key to the two load bars, not a switch: a
  // click on its arrows neither turns them round for a moment nor changes
  // the street's direction.
  {
    CScreenWindow* w = CUserInt::topWindow->GetWindowByID(kFourLane);
    const Region arrows{w->GetRealPosX() + kDirection[0], w->GetRealPosY() + kDirection[1],
                        w->GetRealPosX() + kDirection[0] + 99, w->GetRealPosY() + kDirection[1] + 61};
    const double direction = Var(street, "ST.RICHTUNG");
    ASSERT_NE(direction, 2) << "a direction the pressed look would not show anyway";
    // The pointer stands clear of the picture while it is looked at.
    const int awayX = w->GetRealPosX() + 150, awayY = w->GetRealPosY() + 150;
    game.Run({Move(awayX, awayY), Frames(2)});
    const uint64_t before = game.Fingerprint(arrows);
    game.ClickIn(kFourLane, kDirection[0] + 49, kDirection[1] + 30);
    game.Run({Move(awayX, awayY), Frames(2)});
    EXPECT_EQ(game.Fingerprint(arrows), before) << "the picture keeps showing the direction";
    EXPECT_EQ(Var(street, "ST.RICHTUNG"), direction);
    game.Do(Wait(300));
    EXPECT_EQ(game.Fingerprint(arrows), before) << "and still when the moment of a press has passed";
  }

  // The bus lane and the traffic guidance switch on and off.
  ASSERT_EQ(Var(street, "ST.BUSSPUR"), 0);
  game.ClickIn(kFourLane, kBusLane[0], kBusLane[1]);
  game.Do(Wait(100));
  EXPECT_EQ(Var(street, "ST.BUSSPUR"), 1);
  game.ClickIn(kFourLane, kBusLane[0], kBusLane[1]);
  game.Do(Wait(100));
  EXPECT_EQ(Var(street, "ST.BUSSPUR"), 0);
  ASSERT_EQ(Var(street, "ST.VLS"), 0);
  game.ClickIn(kFourLane, kGuidance[0], kGuidance[1]);
  game.Do(Wait(100));
  EXPECT_FALSE(game.IsOpen(kWarning));
  EXPECT_EQ(Var(street, "ST.VLS"), 1);
  EXPECT_TRUE(list->HasVLS());
  game.ClickIn(kFourLane, kGuidance[0], kGuidance[1]);
  game.Do(Wait(100));
  EXPECT_EQ(Var(street, "ST.VLS"), 0);
  // The fourth speed button, which only this window has.
  ASSERT_NE(Var(street, "ST.SPEED"), 3);
  game.ClickIn(kFourLane, kFastest[0], kFastest[1]);
  game.Do(Wait(100));
  EXPECT_EQ(Var(street, "ST.SPEED"), 3);

  // The partner window with the chart: the busy hour's dot stands highest,
  // the quiet hour's on the base line, each as high as its share.
  game.ClickIn(kFourLane, kSwap[0], kSwap[1]);
  game.Do(Wait(100));
  ASSERT_TRUE(game.IsOpen(kFourLaneChart));
  EXPECT_FALSE(game.IsOpen(kFourLane));
  CScreenWindow* chart = CUserInt::topWindow->GetWindowByID(kFourLaneChart);
  const int left = chart->GetRealPosX(), top = chart->GetRealPosY();
  // Each dot stands its share of the chart's height above the base line;
  // the way back carried nothing.
  const uint16_t forwardDot = Scenario::Rgb(130, 130, 24), backDot = Scenario::Rgb(130, 80, 40);
  const int base = top + kChartY;
  EXPECT_EQ(base - DotRow(game, left, top, 6, forwardDot), 30 * kChartH / 100);
  EXPECT_EQ(base - DotRow(game, left, top, 7, forwardDot), 72 * kChartH / 100);
  EXPECT_EQ(base - DotRow(game, left, top, 8, forwardDot), 43 * kChartH / 100);
  for (int hour : {5, 7, 20}) EXPECT_EQ(DotRow(game, left, top, hour, backDot), base) << hour;
  game.Shot("street-window-chart");

  // A new hour stores the street's load of that hour as it stands.
  PlayHour(world, list, 9, 2400, 480, 2400);
  game.Ui().UpdateStreet24h(9);
  EXPECT_EQ(load[0][9], list->GetAuslastung() * 100 / list->GetCapacity());
  EXPECT_EQ(load[1][9], list->GetAuslastungSecond() * 100 / list->GetCapacitySecond());
  EXPECT_GT(load[1][9], 0);
}

}  // namespace
