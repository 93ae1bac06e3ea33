// A town short of jobs, whose commuters cross a busy junction without
// lights, runs two simulated days through the real game: the advisers speak
// once per period, the message list shows their messages newest first, a
// click on a message's jump button takes the map to the crossing, the
// adviser window shows its adviser's text, and after the switch to English
// the texts are English.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "gui/dialog.h"
#include "gui/gui_host.h"
#include "gui/item_text.h"
#include "gui/screen_window.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "model/gott_modus.h"
#include "model/message.h"
#include "network/crossing_objects.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "sim/sim_city_model.h"
#include "sim/sim_traffic_slot.h"
#include "network/str_strasse.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "worldbase/zor_world_host.h"
#include "worldbase/building_catalogue.h"

namespace {

using namespace zortest;

// Ticks per simulated hour: the periods at 7, 12 and 17 lie five hours
// apart, longer than a message waits before it may be repeated (180 s).
constexpr int kHourMs = 40000;
constexpr int kTurnMs = 1000;
// The junction of the town's two streets, without lights.
constexpr int kCrossX = 60, kCrossY = 63;

// A north-south street with homes along it and an east street with a few
// offices and one factory: everybody who works crosses the junction.
void BuildTown(CZorvaWorld& world) {
  for (const auto& [x1, y1, x2, y2] : {std::tuple{60, 40, 60, 86}, std::tuple{60, 63, 90, 63}}) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
    ASSERT_EQ(world.GetStreetNet()->CreateStreet(&line, STRASSE_1), STR_BUILD_OK);
  }
  std::vector<std::tuple<TObjectType, int, int>> buildings;
  for (int y = 42; y <= 84; y += 4) {
    if (y >= 58 && y <= 66) continue;
    buildings.push_back({OBJ_RESIDENTIAL, 62, y});
    buildings.push_back({OBJ_RESIDENTIAL, 56, y});
  }
  buildings.push_back({OBJ_OFFICE, 80, 65});
  buildings.push_back({OBJ_INDUSTRY, 86, 59});
  for (const auto& [kind, x, y] : buildings) {
    const int resId = CBuildingDataList::GetBuildingResIDByType(kind, 1, nullptr);
    ASSERT_GT(resId, 0) << kind;
    ASSERT_NE(world.CreateObject(kind, resId, CIsoRichtung(0), x, y, static_cast<ESimLocationHeight>(0), nullptr, 0,
                                 nullptr, 0, -1),
              nullptr)
        << kind << " at " << x << "/" << y;
  }
}

// The junction of the town's streets.
CStrJunction* Crossing(CZorvaWorld& world) {
  for (CZorvaObject* o = world.GetStreetNet()->GetHead(); o; o = o->GetNext())
    if (auto* j = static_cast<CStrJunction*>(o); j->GetXPos() == kCrossX && j->GetYPos() == kCrossY) return j;
  return nullptr;
}

// The commuters of a larger town behind the factory: every street of the
// junction carried two thirds of its capacity through each hour of the day
// before, so the junction counts as busy on both days.
void MakeCrossingBusy(CZorvaWorld& world) {
  CStrJunction* j = Crossing(world);
  ASSERT_NE(j, nullptr);
  CSimWelt* sim = world.GetSimWelt();
  for (int hour = 0; hour < 24; ++hour) {
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      CStrStrasse* street = j->GetStreetByNR(i);
      for (int id : {static_cast<int>(street->GetSimID()), static_cast<int>(street->GetSimIDSecond())})
        if (CSimStreet* s = id ? sim->ActiveSlot()->GetStreet(static_cast<short>(id)) : nullptr) {
          s->ResetCarFlow();
          s->AddCarFlow(400);
          s->SetCapacity(600);
        }
    }
    world.GetStreetNet()->UpdateCarFlow();
    world.GetStreetNet()->UpdateCarFlow24(hour);
  }
}

struct Shown {
  int day, period;
  int group, entry;
  std::string text;
};

TEST(AdviserScenario, TheAdvisersSpeakOncePerPeriodAndTheListLeadsToTheCrossing) {
  Clock().Set(0);
  std::filesystem::create_directories("SaveGame");
  Scenario game("LANGUAGE=0\n");
  CZorvaWorld& world = game.World();
  BuildTown(world);
  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - kHourMs);
  CMessage* message = world.GetMessage();
  ASSERT_NE(message, nullptr);

  // The first hour computed with the streets gives them their records.
  const int builtAt = world.GetSimWelt()->Date().TicksFromStart();
  while (world.GetSimWelt()->Date().TicksFromStart() < builtAt + 2) {
    Clock().Advance(kTurnMs);
    world.OnPlayloopTurn();
  }
  MakeCrossingBusy(world);

  std::vector<Shown> shown;
  uint32_t lastShownTicks = 0;
  // Two simulated days of hours; the day and the period (begun at 7, 12 or
  // 17) in which each message was shown.
  int day = 0, period = 0;
  int hourOfDay = world.GetSimWelt()->Date().Hour();
  const int firstTick = world.GetSimWelt()->Date().TicksFromStart();
  while (world.GetSimWelt()->Date().TicksFromStart() < firstTick + 48) {
    Clock().Advance(kTurnMs);
    world.OnPlayloopTurn();
    if (const int now = world.GetSimWelt()->Date().Hour(); now != hourOfDay) {
      if (now < hourOfDay) ++day;
      if (now == 7 || now == 12 || now == 17) ++period;
      hourOfDay = now;
    }
    if (message->GetMaxMessage() > 0 && message->GetMessageTicks(0) != lastShownTicks) {
      lastShownTicks = message->GetMessageTicks(0);
      int group = -1, entry = -1;
      message->GetMessagePair(0, group, entry);
      shown.push_back({day, period, group, entry, message->GetMessageE(0)});
    }
  }
  // Each adviser's message is shown at most once in a period, and the
  // job shortage and the crossing are told of on both days.
  for (size_t i = 0; i < shown.size(); ++i)
    for (size_t k = i + 1; k < shown.size(); ++k)
      if (shown[i].group == shown[k].group && shown[i].entry == shown[k].entry) {
        EXPECT_NE(shown[i].period, shown[k].period) << shown[i].text << " twice in one period";
      }
  for (const auto& [group, entry] : {std::pair{5, 3}, std::pair{3, 0}}) {
    int days[3] = {0, 0, 0};  // the two days and the early hours of the third
    for (const Shown& m : shown)
      if (m.group == group && m.entry == entry) ++days[m.day];
    EXPECT_GE(days[0], 1) << group << "/" << entry << " on the first day";
    EXPECT_GE(days[1], 1) << group << "/" << entry << " on the second day";
  }

  // The message list, opened with its key, shows the events newest first.
  game.Key(SDLK_e);
  ASSERT_EQ(game.Ui().IsWindowOpen(218), 0);
  game.Run({Frames(2)});
  CDialog* list = CUserInt::topWindow->GetWindowByID(218)->GetDialogs()->GetDialogByID(1);
  ASSERT_NE(list, nullptr);
  const int events = message->GetMaxMessage();
  ASSERT_GE(events, 2);
  std::vector<int> rowOf(events, -1);
  CItem* crossingJump = nullptr;
  int crossingIndex = -1;
  for (int i = 0; i < events; ++i) {
    int group = -1, entry = -1;
    message->GetMessagePair(i, group, entry);
    if (group == 3 && entry == 0) crossingIndex = i;
  }
  ASSERT_GE(crossingIndex, 0) << "the crossing is in the list";
  // The crossing's message carries the crossing's cell as its place.
  EXPECT_EQ(message->GetEvent(crossingIndex)->x, kCrossX);
  EXPECT_EQ(message->GetEvent(crossingIndex)->y, kCrossY);
  list->GetItems()->ForEach([&](CItem* item) {
    if (auto* text = dynamic_cast<CItemText*>(item))
      for (int i = 0; i < events; ++i)
        if (text->GetText() && std::strcmp(text->GetText(), message->GetMessageE(i)) == 0) rowOf[i] = item->GetYPos();
    if (item->GetResource(0) == 49488 && item->GetYPos() / 17 == crossingIndex) crossingJump = item;
  });
  for (int i = 0; i < events; ++i) {
    EXPECT_GE(rowOf[i], 0) << "event " << i << " has its row";
    if (i > 0) {
      EXPECT_GT(rowOf[i], rowOf[i - 1]) << "newest first";
    }
  }
  game.Shot("adviser-message-list");

  // A click on the crossing's jump button centres the map on the crossing
  // and marks it.
  ASSERT_NE(crossingJump, nullptr);
  const int jx = list->GetRealPosX() + crossingJump->GetXPos() + 8, jy = list->GetRealPosY() + crossingJump->GetYPos() + 8;
  game.Click(jx, jy);
  EXPECT_EQ(game.Map().GetCenterX(), kCrossX);
  EXPECT_EQ(game.Map().GetCenterY(), kCrossY);
  EXPECT_EQ(CUserInt::selObj.msgX, kCrossX);
  EXPECT_EQ(CUserInt::selObj.msgY, kCrossY);

  // The newest event selected, its long text shows below the list.
  game.Click(list->GetRealPosX() + 200, list->GetRealPosY() + 10);
  EXPECT_EQ(message->GetSelectedEvent(), 0);
  CUserInt::topWindow->ActivateWindow(239, OVER_GROUP);
  game.Run({Frames(1)});
  ASSERT_EQ(game.Ui().IsWindowOpen(239), 0);
  ASSERT_NE(message->GetSelectedEventLongText(), nullptr);
  EXPECT_STREQ(CGuiHost::Get()->GetMessageText(36), message->GetSelectedEventLongText());
  EXPECT_STRNE(message->GetSelectedEventLongText(), message->GetMessageE(0)) << "the long text, not the short";
  EXPECT_TRUE(CGuiHost::Get()->GetWindow239Opened());

  // The adviser window, opened with its key: the game's adviser tells the
  // task of the free game; the item draws the adviser's message.
  game.Key(SDLK_b);
  ASSERT_EQ(game.Ui().IsWindowOpen(219), 0);
  CScreenWindow* adviser = CUserInt::topWindow->GetWindowByID(219);
  game.Click(adviser->GetRealPosX() + 28, adviser->GetRealPosY() + 223 + 18);
  EXPECT_EQ(message->GetBerater(), 5);
  const char* german = CGuiHost::Get()->GetMessageText(33);
  ASSERT_NE(german, nullptr);
  EXPECT_STREQ(german, message->GetBeraterMessage());
  const std::string germanText = german;
  game.Run({Frames(2)});
  game.Shot("adviser-window-german");

  // Closed by its close box and opened again from the bar's adviser
  // button, which picks the first adviser: the portrait above the text is
  // that adviser's, as the text is.
  CItem* portrait = nullptr;
  adviser->GetItems()->ForEach([&](CItem* i) {
    if (i->GetItemType() == 20) portrait = i;
  });
  ASSERT_NE(portrait, nullptr);
  EXPECT_EQ(portrait->GetResource(0), 44208) << "the goal adviser";
  game.Click(adviser->GetRealPosX() + 354, adviser->GetRealPosY() + 8);
  ASSERT_FALSE(game.IsOpen(219));
  game.Run({Move(600, 590), Wait(40)});
  game.Click(765, 586);
  ASSERT_TRUE(game.IsOpen(219));
  EXPECT_EQ(message->GetBerater(), 1);
  EXPECT_STREQ(CGuiHost::Get()->GetMessageText(33), message->GetBeraterMessage());
  EXPECT_EQ(portrait->GetResource(0), 44205) << "the efficiency adviser above the efficiency adviser's text";
  EXPECT_EQ(portrait->GetResource(2), 50038);

  // Switched to English, the adviser speaks English and the messages that
  // come next are English.
  game.Key(SDLK_l);
  EXPECT_EQ(CWorldHost::Get()->GetLanguage(), 1);
  const char* english = CGuiHost::Get()->GetMessageText(33);
  ASSERT_NE(english, nullptr);
  EXPECT_NE(germanText, english);
  const int before = message->GetMaxMessage();
  for (int turn = 0; turn < 16 * kHourMs / kTurnMs && message->GetMaxMessage() == before; ++turn) {
    Clock().Advance(kTurnMs);
    world.OnPlayloopTurn();
  }
  ASSERT_GT(message->GetMaxMessage(), before);
  // Plain ASCII letters only in English: no umlauts of the German file.
  for (const char* c = message->GetMessageE(0); *c; ++c) EXPECT_LT(static_cast<unsigned char>(*c), 128u);
  EXPECT_STRNE(message->GetMessageE(0), "");
  game.Run({Frames(2)});
  game.Shot("adviser-english");
}

// An event about a school (no stop near it) leads to the school while it
// stands; once the school is removed the event leads nowhere, and its jump
// button takes the map to no place.
TEST(AdviserScenario, AnEventAboutARemovedSchoolLeadsNowhere) {
  Scenario game("LANGUAGE=0\n");
  CZorvaWorld& world = game.World();
  BuildTown(world);
  CMessage* message = world.GetMessage();
  const int resId = CBuildingDataList::GetBuildingResIDByType(OBJ_SCHOOL, 1, nullptr);
  ASSERT_GT(resId, 0);
  auto* school = dynamic_cast<CBuildingObject*>(world.CreateObject(
      OBJ_SCHOOL, resId, CIsoRichtung(0), 66, 66, static_cast<ESimLocationHeight>(0), nullptr, 0, nullptr, 0, -1));
  ASSERT_NE(school, nullptr);
  const int sx = school->GetXPos(), sy = school->GetYPos();
  ASSERT_EQ(message->AddMessage(4, 3, -1.0f, -1.0f, -1.0f, sx, sy, -1, school->GetXSizeRichtung(),
                                school->GetYSizeRichtung()),
            0);
  ASSERT_TRUE(message->CheckMessageForJump(0));
  game.Map().SetIsoCenter(30, 30);
  message->GotoSelectedMessage(0);
  EXPECT_EQ(game.Map().GetCenterX(), sx) << "the school stands: the jump leads there";
  ASSERT_EQ(world.RemoveObject(sx, sy, ISO_LAYER_GROUND, true), 0);
  EXPECT_FALSE(message->CheckMessageForJump(0)) << "the school is gone";
  game.Map().SetIsoCenter(30, 30);
  message->GotoSelectedMessage(0);
  EXPECT_EQ(game.Map().GetCenterX(), 30);
  EXPECT_EQ(game.Map().GetCenterY(), 30);
}

// The goal adviser of a scenario game tells the task of the scenario that
// runs, whichever it is, and the free and the normal game their own goals.
TEST(AdviserScenario, TheGoalAdviserTellsTheTaskOfTheScenarioThatRuns) {
  Scenario game("LANGUAGE=1\n");
  CZorvaWorld& world = game.World();
  CMessage* message = world.GetMessage();
  CGottModus* god = world.GetGottModus();
  ASSERT_NE(message, nullptr);
  ASSERT_NE(god, nullptr);
  ASSERT_EQ(god->SetGameModus(GAME_SCENARIO), 0);
  message->SetBerater(5);
  // Each scenario's task names the gauge it is about: a scenario of kind 0
  // asks to raise one gauge and names that gauge, the task the task window
  // told at the start; the other kinds have tasks of their own.
  const struct {
    int kind, indicator;
    const char* gauge;
  } tasks[] = {{3, 12, "Cost/person"}, {1, 12, "Time per km"}, {0, 12, "Safety"},
               {0, 10, "Accessibility"}, {0, 6, "Noise"}, {0, 0, "Kilometres/person"}};
  for (const auto& t : tasks) {
    god->SetSzenario(t.kind, t.indicator, 0.98f, 4);
    const char* text = message->GetBeraterMessage();
    ASSERT_NE(text, nullptr) << t.kind;
    EXPECT_NE(std::strstr(text, t.gauge), nullptr) << t.kind << "/" << t.indicator << ": " << text;
  }
  // Saved and loaded, the task stays the gauge's.
  god->SetSzenario(0, 10, 0.6f, 2);
  ASSERT_EQ(world.SerializeGameStore("GAUGE.SZD"), 0);
  god->SetSzenario(0, 0, 0.6f, 2);
  ASSERT_EQ(world.SerializeGameLoad("GAUGE.SZD"), 0);
  message->SetBeraterZielMessage();
  ASSERT_NE(message->GetBeraterMessage(), nullptr);
  EXPECT_NE(std::strstr(message->GetBeraterMessage(), "Accessibility"), nullptr) << message->GetBeraterMessage();
  // Out of the scenario the goal is the game mode's.
  god->SetGottActive();
  const std::string free = message->GetBeraterMessage();
  EXPECT_EQ(free.find("Kilometres/person"), std::string::npos);
}

}  // namespace
