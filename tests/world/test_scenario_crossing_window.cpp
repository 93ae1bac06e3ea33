// The player adjusts a crossing and a street through their windows: a
// click with the select tool on a crossing opens its lights window, the
// lights switched on cost their price, the timing page opens only for a
// crossing with lights, and the priority direction and the cycle change;
// a click on a street opens its window, and a speed button sets the
// street's speed. Played through the frame loop on the real game.
#include <gtest/gtest.h>

#include <SDL.h>

#include <map>
#include <utility>

#include "iso/iso_info.h"
#include "iso/iso_welt.h"
#include "model/data_exchange.h"
#include "network/crossing_objects.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "worldbase/zor_world_host.h"

namespace {

using namespace zortest;

constexpr int kLights = 229, kTiming = 230, kWarning = 220;
constexpr int kStreet = 190, kStreetExtended = 191;
// Places in the windows, relative to each.
constexpr int kLightsBox[2] = {167, 91};       // KR.AMPEL = 2
constexpr int kNoControl[2] = {150, 35};       // KR.AMPEL = 0
constexpr int kDirection2[2] = {73, 62};       // KR.AMPEL.RICHTUNG = 2
constexpr int kDirection1[2] = {73, 33};       // KR.AMPEL.RICHTUNG = 1
constexpr int kTimingButton[2] = {190, 92};
constexpr int kCycleUp[2] = {148 + 51, 103 + 8};
constexpr int kSpeed1[2] = {98 + 27 + 12, 26 + 7};  // the second speed button: 1
constexpr int kSwap[2] = {171, 71};
constexpr const char* kCosts = "F.EXPENSES.BUILDINFRASTRUCTURE";

// The screen point in the middle of the points that show the cell.
bool ScreenOf(Scenario& game, int x, int y, int* sx, int* sy) {
  long sumX = 0, sumY = 0, n = 0;
  for (int py = 40; py < 440; py += 2)
    for (int px = 20; px < 780; px += 2) {
      int cx = 0, cy = 0;
      if (game.Map().MouseKoorToIsoKoor(px, py, &cx, &cy) != 0 || cx != x || cy != y) continue;
      sumX += px;
      sumY += py;
      ++n;
    }
  if (n < 10) return false;
  *sx = static_cast<int>(sumX / n);
  *sy = static_cast<int>(sumY / n);
  return true;
}

double Var(CWorldObj* o, const char* name) {
  double v = -1;
  EXPECT_EQ(o->GetVarData(name, &v), 0) << name;
  return v;
}

TEST(ScenarioCrossingWindow, TheLightsCostTheirPriceAndTheDirectionCycleAndSpeedFollowTheWindows) {
  Scenario game;
  game.Run({Move(400, 250), Wait(40)});
  int cx = 0, cy = 0;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(400, 250, &cx, &cy), 0);
  // A crossing of side streets under the middle of the screen: one street,
  // and two more that start from its middle.
  auto build = [&](int x1, int y1, int x2, int y2) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
    return game.World().GetStreetNet()->CreateStreet(&line, STRASSE_1);
  };
  ASSERT_EQ(build(cx, cy - 3, cx, cy + 3), STR_BUILD_OK);
  ASSERT_EQ(build(cx, cy, cx + 3, cy), STR_BUILD_OK);
  ASSERT_EQ(build(cx, cy, cx - 3, cy), STR_BUILD_OK);
  game.Do(Wait(100));
  auto* crossing = dynamic_cast<CKreuzObj*>(game.Map().GetIsoInfo(cx, cy)->GetWorldObject(ISO_LAYER_GROUND));
  ASSERT_NE(crossing, nullptr);
  ASSERT_EQ(crossing->GetWorldObject()->GetAnzLinkedStreets(), 4);
  ASSERT_EQ(Var(crossing, "KR.AMPEL"), 0);

  int sx = 0, sy = 0;
  ASSERT_TRUE(ScreenOf(game, cx, cy, &sx, &sy));
  game.Click(sx, sy).Do(Wait(100));
  ASSERT_TRUE(game.IsOpen(kLights)) << "the crossing's window opens";
  EXPECT_EQ(game.Ui().selObj.selectedCrossing, crossing);

  // Without lights the timing page is refused with a warning.
  game.ClickIn(kLights, kTimingButton[0], kTimingButton[1]);
  game.Do(Wait(100));
  EXPECT_FALSE(game.IsOpen(kTiming));
  EXPECT_TRUE(game.IsOpen(kWarning));
  game.ClickIn(kWarning, 290, 9);
  game.Do(Wait(40));

  // The lights, on: their price is booked once.
  CDataExchange* dx = game.World().GetDataExchange();
  const double costs = dx->GetVarValue(kCosts);
  const double price = CWorldHost::Get()->GetPreis(CKreuzObj::kPreisAmpel, 0);
  ASSERT_GT(price, 0);
  game.ClickIn(kLights, kLightsBox[0], kLightsBox[1]);
  game.Do(Wait(100));
  EXPECT_EQ(Var(crossing, "KR.AMPEL"), 2);
  EXPECT_EQ(dx->GetVarValue(kCosts), costs + price);
  game.ClickIn(kLights, kLightsBox[0], kLightsBox[1]);
  game.Do(Wait(100));
  EXPECT_EQ(dx->GetVarValue(kCosts), costs + price) << "lights already on cost nothing more";
  game.Shot("crossing-window-lights");

  // The timing page takes the lights window's place; the cycle steps up by the
  // crossing's own step.
  game.ClickIn(kLights, kTimingButton[0], kTimingButton[1]);
  game.Do(Wait(100));
  ASSERT_TRUE(game.IsOpen(kTiming));
  EXPECT_FALSE(game.IsOpen(kLights));
  const double cycle = Var(crossing, "KR.AMPEL.TIME");
  game.ClickIn(kTiming, kCycleUp[0], kCycleUp[1]);
  game.Do(Wait(100));
  EXPECT_GT(Var(crossing, "KR.AMPEL.TIME"), cycle);
  EXPECT_LE(Var(crossing, "KR.AMPEL.TIME"), CKreuzObj::kMaxCycle);

  // The two direction marks choose the priority direction.
  game.ClickIn(kTiming, kDirection2[0], kDirection2[1]);
  game.Do(Wait(100));
  const double second = Var(crossing, "KR.AMPEL.RICHTUNG");
  game.ClickIn(kTiming, kDirection1[0], kDirection1[1]);
  game.Do(Wait(100));
  const double first = Var(crossing, "KR.AMPEL.RICHTUNG");
  EXPECT_NE(first, second);
  EXPECT_TRUE((first == 1 && second == 2) || (first == 2 && second == 1)) << first << " " << second;

  // Lights off again through the timing page's own button.
  game.ClickIn(kTiming, kNoControl[0], kNoControl[1]);
  game.Do(Wait(100));
  EXPECT_EQ(Var(crossing, "KR.AMPEL"), 0);
  game.ClickIn(kTiming, 186, 9);
  game.Do(Wait(40));
  EXPECT_FALSE(game.IsOpen(kTiming));

  // A street: its window, and the speed chosen there.
  ASSERT_TRUE(ScreenOf(game, cx, cy - 2, &sx, &sy));
  game.Click(sx, sy).Do(Wait(100));
  ASSERT_TRUE(game.IsOpen(kStreet)) << "a side street opens the three-speed window";
  CWorldObj* street = game.Ui().selObj.selectedStreet;
  ASSERT_NE(street, nullptr);
  EXPECT_EQ(street, game.Map().GetIsoInfo(cx, cy - 2)->GetWorldObject(ISO_LAYER_GROUND));
  ASSERT_NE(Var(street, "ST.SPEED"), 1);
  game.ClickIn(kStreet, kSpeed1[0], kSpeed1[1]);
  game.Do(Wait(100));
  EXPECT_EQ(Var(street, "ST.SPEED"), 1);
  // The swap button shows the partner window in its place.
  game.ClickIn(kStreet, kSwap[0], kSwap[1]);
  game.Do(Wait(100));
  EXPECT_TRUE(game.IsOpen(kStreetExtended));
  EXPECT_FALSE(game.IsOpen(kStreet));
}

}  // namespace
