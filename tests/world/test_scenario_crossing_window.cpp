// The player adjusts a crossing and a street through their windows: a
// click with the select tool on a crossing opens its lights window, the
// lights switched on cost their price, the timing page opens only for a
// crossing with lights, and the priority direction and the cycle change;
// a click on a street opens its window, and a speed button sets the
// street's speed; a fourth arm dragged onto a lit T junction gets a light
// that runs with the arm across from it; the signs of a T junction stay with its legs while a
// leg is split by a side street and joined again, and go with the
// junction. Played through the frame loop on the real game.
#include <gtest/gtest.h>

#include <SDL.h>

#include <map>
#include <tuple>
#include <utility>

#include "iso/iso_info.h"
#include "iso/iso_welt.h"
#include "model/data_exchange.h"
#include "microsim/micro_cells.h"
#include "network/crossing_objects.h"
#include "network/str_ampel.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/street_drag_steps.h"
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
constexpr int kSigns[2] = {149, 54};        // KR.AMPEL = 1
constexpr int kLightsClose[2] = {186, 9};
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

// A T junction of a street west to east, whose east arm is a single cell
// to a dead end and leads no traffic in, and an arm from the south; the
// player switches its lights on and drags a fourth arm in from the north.
// The lights that stood keep their arms, the new arm's light takes the
// times of the other pair and shows what the arm across from it shows, red
// while the west arm has green and green while it has red.
TEST(ScenarioCrossingWindow, AFourthArmDraggedOntoALitTJunctionRunsWithTheArmAcross) {
  Scenario game;
  game.Run({Move(400, 250), Wait(40)});
  int cx = 0, cy = 0;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(400, 250, &cx, &cy), 0);
  CStrJunctionList* net = game.World().GetStreetNet();
  for (const auto& [x1, y1, x2, y2] : {std::tuple{cx - 4, cy, cx + 1, cy}, std::tuple{cx, cy + 4, cx, cy}}) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
    ASSERT_EQ(net->CreateStreet(&line, STRASSE_1), STR_BUILD_OK);
  }
  game.Do(Wait(100));
  int sx = 0, sy = 0;
  ASSERT_TRUE(ScreenOf(game, cx, cy, &sx, &sy));
  game.Click(sx, sy).Do(Wait(100));
  ASSERT_TRUE(game.IsOpen(kLights));
  game.ClickIn(kLights, kLightsBox[0], kLightsBox[1]);
  game.Do(Wait(100));
  game.ClickIn(kLights, kLightsClose[0], kLightsClose[1]);
  game.Do(Wait(40));
  CStrJunction* j = net->FindJunctionAt(static_cast<short>(cx), static_cast<short>(cy));
  ASSERT_NE(j, nullptr);
  ASSERT_TRUE(j->HasAmpel());
  ASSERT_EQ(j->GetAnzLinkedStreets(), 3);
  // The arm leaving the junction towards (dx, dy).
  auto arm = [&](int dx, int dy) -> CStrStrasse* {
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      CStrStrasse* s = j->GetStreetByNR(i);
      short x = 0, y = 0;
      if ((s->GetStartJunction() == j ? s->GetFirstIsoPos(&x, &y) : s->GetLastIsoPos(&x, &y)) != 0) continue;
      if (x == cx + dx && y == cy + dy) return s;
    }
    return nullptr;
  };
  CStrStrasse* west = arm(-1, 0);
  CStrStrasse* south = arm(0, 1);
  ASSERT_NE(west, nullptr);
  ASSERT_NE(south, nullptr);
  const CAmpelGroup* group = j->GetAmpelGroup();
  ASSERT_NE(group, nullptr);
  CAmpel* westLight = group->GetAmpelForStreet(west);
  CAmpel* southLight = group->GetAmpelForStreet(south);
  ASSERT_NE(westLight, nullptr);
  ASSERT_NE(southLight, nullptr);
  EXPECT_EQ(group->GetAmpelForStreet(arm(1, 0)), nullptr) << "the dead end's arm leads nothing in";

  ASSERT_NO_FATAL_FAILURE(dragsteps::ChooseFromBar(game, 1));
  dragsteps::Drag(game, dragsteps::MapScreen(game), cx, cy - 4, cx, cy);
  ASSERT_EQ(dragsteps::Warning(game), "");
  ASSERT_EQ(j->GetAnzLinkedStreets(), 4);
  CStrStrasse* north = arm(0, -1);
  ASSERT_NE(north, nullptr);
  ASSERT_EQ(j->GetAmpelGroup(), group);
  EXPECT_EQ(group->GetAmpelForStreet(west), westLight) << "the west arm keeps its light";
  EXPECT_EQ(group->GetAmpelForStreet(south), southLight) << "the south arm keeps its light";
  CAmpel* northLight = group->GetAmpelForStreet(north);
  ASSERT_NE(northLight, nullptr);
  ASSERT_NE(northLight->GetZelle(0), nullptr);
  // Slots 0 and 1, and 2 and 3, are the two pairs: north pairs with south.
  int slot = 0;
  while (slot < CAmpelGroup::kSlots && group->GetAmpel(slot) != northLight) ++slot;
  ASSERT_LT(slot, CAmpelGroup::kSlots);
  EXPECT_EQ(group->GetLinkedStreetsNr(slot), north);
  EXPECT_EQ(group->GetLinkedStreetsNr(slot ^ 1), south);
  // It runs on the crossing's cycle: the group's amber and the green share
  // of one of the pairs.
  const int32_t share = group->GetShare(), rest = group->GetCycleTime() - CAmpelGroup::kGelbGroup - share;
  EXPECT_EQ(northLight->GetGelb(), CAmpelGroup::kGelbGroup);
  EXPECT_EQ(northLight->GetGruen() + northLight->GetRot(), share + rest);
  EXPECT_TRUE(northLight->GetGruen() == share || northLight->GetGruen() == rest) << northLight->GetGruen();

  // Two cycles in the frame loop: north always shows what south shows and
  // the opposite of west, and both phases come.
  bool green = false, red = false;
  for (int t = 0; t < 2 * (group->GetCycleTime() + 2 * CAmpelGroup::kGelbGroup); t += 250) {
    game.Do(Wait(250));
    const int n = northLight->GetZelle(0)->m_Locked;
    ASSERT_EQ(n, southLight->GetZelle(0)->m_Locked) << t << " ms on";
    ASSERT_NE(n, westLight->GetZelle(0)->m_Locked) << t << " ms on";
    (n ? red : green) = true;
  }
  EXPECT_TRUE(green && red);
  game.Shot("fourth-arm-at-lit-t-junction");
}

// The sign standing on the cell at (x, y): the priority sign, the give-way
// sign, 0 for none, -1 for both.
int SignAt(Scenario& game, int x, int y) {
  int found = 0;
  CIsoObjLst* objects = game.Map().GetIsoInfo(x, y)->GetIsoObjects(ISO_LAYER_GROUND);
  for (CZorvaObject* o = objects ? objects->GetHead() : nullptr; o; o = o->GetNext()) {
    const int id = static_cast<CIsoObject*>(o)->GetResID();
    if (id != CStrJunction::kVorfahrtResID && id != CStrJunction::kWartepflichtResID) continue;
    found = found == 0 ? id : -1;
  }
  return found;
}

int SignsAround(Scenario& game, int x, int y) {
  int n = 0;
  for (int cx = x - 3; cx <= x + 3; ++cx)
    for (int cy = y - 3; cy <= y + 3; ++cy) n += SignAt(game, cx, cy) != 0;
  return n;
}

// A T junction of a street north to south and an arm east, with signs put
// up through its window: the street has the right of way, the arm gives
// way. A side street dragged from the middle of one leg of the street
// splits that leg, and its removal joins the leg again; through both the
// junction's signs stay as the player set them. With the leg removed the
// junction is gone, and so are all its signs.
TEST(ScenarioCrossingWindow, SignsStayWithTheirLegsThroughASplitAndGoWithTheJunction) {
  for (const int leg : {-1, 1}) {
    SCOPED_TRACE(leg < 0 ? "north leg" : "south leg");
    Scenario game;
    game.Run({Move(400, 250), Wait(40)});
    int cx = 0, cy = 0;
    ASSERT_EQ(game.Map().MouseKoorToIsoKoor(400, 250, &cx, &cy), 0);
    for (const auto& [x1, y1, x2, y2] : {std::tuple{cx, cy - 6, cx, cy + 6}, std::tuple{cx, cy, cx + 4, cy}}) {
      CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
      ASSERT_EQ(game.World().GetStreetNet()->CreateStreet(&line, STRASSE_1), STR_BUILD_OK);
    }
    game.Do(Wait(100));
    int sx = 0, sy = 0;
    ASSERT_TRUE(ScreenOf(game, cx, cy, &sx, &sy));
    game.Click(sx, sy).Do(Wait(100));
    ASSERT_TRUE(game.IsOpen(kLights));
    game.ClickIn(kLights, kSigns[0], kSigns[1]);
    game.Do(Wait(100));
    game.ClickIn(kLights, kLightsClose[0], kLightsClose[1]);
    game.Do(Wait(40));
    auto expectSetSigns = [&](const char* when) {
      SCOPED_TRACE(when);
      EXPECT_EQ(SignAt(game, cx, cy - 1), CStrJunction::kVorfahrtResID);
      EXPECT_EQ(SignAt(game, cx, cy + 1), CStrJunction::kVorfahrtResID);
      EXPECT_EQ(SignAt(game, cx + 1, cy), CStrJunction::kWartepflichtResID);
      EXPECT_EQ(SignsAround(game, cx, cy), 3);
    };
    expectSetSigns("put up");

    // A side street west from the leg's middle, dragged with the street tool.
    const int my = cy + 3 * leg;
    ASSERT_NO_FATAL_FAILURE(dragsteps::ChooseFromBar(game, 1));
    const dragsteps::ScreenCells screen = dragsteps::MapScreen(game);
    dragsteps::Drag(game, screen, cx, my, cx - 4, my);
    ASSERT_EQ(dragsteps::Warning(game), "");
    ASSERT_NE(game.World().GetStreetNet()->FindJunctionAt(static_cast<short>(cx), static_cast<short>(my)), nullptr);
    expectSetSigns("with the leg split");

    // The removal tool: the side street, then the leg.
    game.Ui().SetToolNr(9, 0, -1);
    game.Run({Wait(40)});
    ASSERT_TRUE(ScreenOf(game, cx - 2, my, &sx, &sy));
    game.Click(sx, sy).Do(Wait(100));
    ASSERT_EQ(game.World().GetStreetNet()->FindJunctionAt(static_cast<short>(cx), static_cast<short>(my)), nullptr);
    expectSetSigns("with the leg joined again");
    ASSERT_TRUE(ScreenOf(game, cx, cy + 5 * leg, &sx, &sy));
    game.Click(sx, sy).Do(Wait(100));
    EXPECT_EQ(game.World().GetStreetNet()->FindJunctionAt(static_cast<short>(cx), static_cast<short>(cy)), nullptr);
    EXPECT_EQ(SignsAround(game, cx, cy), 0) << "no sign outlives its junction";
    game.Shot("signs-after-leg-removed");
  }
}

}  // namespace
