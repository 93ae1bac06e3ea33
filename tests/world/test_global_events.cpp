// The global events on the real game: a town with a busy crossing without
// lights and a school some way off it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include "network/crossing_objects.h"
#include <tuple>

#include "framework/zor_seams.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_host.h"
#include "model/message.h"
#include "measures/opnv_line.h"
#include "model/data_exchange.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "sim/sim_location.h"
#include "sim/sim_network.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_welt.h"
#include "../model/period_test_util.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "world/zor_world.h"
#include "worldbase/building_catalogue.h"

namespace {

using periodtest::RecordingExchange;

struct EventWorld : CZorvaWorld {
 protected:
  CDataExchange* NewDataExchange() override { return new RecordingExchange; }
};

struct BusyCrossing : testing::Test {
  zortest::Scenario game{[] { return new EventWorld; }};
  CZorvaWorld& world = game.World();
  RecordingExchange& dx = *static_cast<RecordingExchange*>(world.GetDataExchange());

  void SetUp() override {
    std::filesystem::create_directories("SaveGame");
    // A T junction at (60, 63): long streets north, south and east.
    for (const auto& [x1, y1, x2, y2] : {std::tuple{60, 40, 60, 86}, std::tuple{60, 63, 90, 63}}) {
      CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2),
                         static_cast<short>(y2));
      ASSERT_EQ(world.GetStreetNet()->CreateStreet(&line, STRASSE_1), STR_BUILD_OK);
    }
    // The streets carry traffic from the first hour computed with them on.
    CSimWelt* sim = world.GetSimWelt();
    for (int hour = 0; hour < 2; ++hour) {
      sim->StartNextIntervall(true);
      while (sim->Computate(0) != 0) {
      }
      sim->ActivateCalculatedSlot();
    }
  }
  CStrJunction* Junction() {
    for (CZorvaObject* o = world.GetStreetNet()->GetHead(); o; o = o->GetNext())
      if (auto* j = static_cast<CStrJunction*>(o); j->GetXPos() == 60 && j->GetYPos() == 63) return j;
    return nullptr;
  }
  // A day in which every street of the junction carries `flow` of 600.
  void Load(int flow) {
    CStrJunction* j = Junction();
    for (int hour = 1; hour < 24; ++hour) {
      for (int i = 0; i < j->GetAnzLinkedStreets(); ++i)
        for (short id : {j->GetStreetByNR(i)->GetSimID(), static_cast<short>(j->GetStreetByNR(i)->GetSimIDSecond())})
          if (CSimStreet* s = id ? world.GetSimWelt()->ActiveSlot()->GetStreet(id) : nullptr) {
            s->ResetCarFlow();
            s->AddCarFlow(flow);
            s->SetCapacity(600);
          }
      world.GetStreetNet()->UpdateCarFlow();
      world.GetStreetNet()->UpdateCarFlow24(hour);
    }
  }
  CBuildingObject* School(int x, int y) {
    const int resId = CBuildingDataList::GetBuildingResIDByType(OBJ_SCHOOL, 1, nullptr);
    if (resId <= 0) return nullptr;
    return dynamic_cast<CBuildingObject*>(world.CreateObject(OBJ_SCHOOL, resId, CIsoRichtung(0), x, y,
                                                             static_cast<ESimLocationHeight>(0), nullptr, 0, nullptr,
                                                             0, -1));
  }
};

}  // namespace

TEST_F(BusyCrossing, TheCrossingAsksForLightsAndTheSchoolOffItIsWarnedOf) {
  CBuildingObject* school = School(58, 70);
  ASSERT_NE(school, nullptr);
  ASSERT_NE(school->GetSimLocation(), nullptr);
  ASSERT_EQ(school->GetSimLocation()->NearestCrossing(), Junction()->GetSimID());

  Load(0);
  dx.CreateBuildingEvents(STime{}, STime{});
  EXPECT_EQ(dx.Find(3, 0), nullptr);
  EXPECT_EQ(dx.Find(4, 8), nullptr);
  EXPECT_FALSE(dx.Check_M_G_CROSSING_TRAFFICLIGHTNEEDED(60, 63));

  Load(400);
  dx.CreateBuildingEvents(STime{}, STime{});
  const periodtest::Posted* lights = dx.Find(3, 0);
  ASSERT_NE(lights, nullptr);
  EXPECT_EQ(lights->x, 60);
  EXPECT_EQ(lights->y, 63);
  EXPECT_TRUE(dx.Check_M_G_CROSSING_TRAFFICLIGHTNEEDED(60, 63));
  EXPECT_FALSE(dx.Check_M_G_CROSSING_TRAFFICLIGHTNEEDED(60, 86));  // a street's end, no crossing
  // The school over seven cells off: its place in the values, the
  // crossing's as the message's place.
  const periodtest::Posted* school48 = dx.Find(4, 8);
  ASSERT_NE(school48, nullptr);
  EXPECT_EQ(school48->v2, 70.0f);
  EXPECT_EQ(school48->v3, 58.0f);
  EXPECT_EQ(school48->x, 60);
  EXPECT_EQ(school48->y, 63);
  EXPECT_TRUE(dx.Check_M_G_BUILDING_SCHOOL_CROSSINGNOAMPEL(58, 70));
  EXPECT_FALSE(dx.Check_M_G_BUILDING_SCHOOL_CROSSINGNOAMPEL(57, 70));  // no school there

  // Once the day is quiet again, neither cause holds.
  Load(0);
  EXPECT_FALSE(dx.Check_M_G_CROSSING_TRAFFICLIGHTNEEDED(60, 63));
  EXPECT_FALSE(dx.Check_M_G_BUILDING_SCHOOL_CROSSINGNOAMPEL(58, 70));
}

TEST_F(BusyCrossing, ASchoolRightBesideTheCrossingIsNotTheOneTheMessageMeans) {
  // Five cells away is not more than 500 hundredths of a cell.
  CBuildingObject* school = School(57, 67);
  ASSERT_NE(school, nullptr);
  ASSERT_EQ(school->GetSimLocation()->NearestCrossing(), Junction()->GetSimID());
  Load(400);
  dx.CreateBuildingEvents(STime{}, STime{});
  EXPECT_NE(dx.Find(3, 0), nullptr);
  EXPECT_EQ(dx.Find(4, 8), nullptr);
  EXPECT_FALSE(dx.Check_M_G_BUILDING_SCHOOL_CROSSINGNOAMPEL(57, 67));
}

TEST_F(BusyCrossing, ALineDueForItsCheckIsPutIntoServiceAndAnEmptyOneReported) {
  COpnv* opnv = world.GetOpnv();
  COpnvLine* fresh = opnv->CreateNewLine(NET_BUS);
  COpnvLine* changed = opnv->CreateNewLine(NET_BUS);
  ASSERT_TRUE(fresh && changed);
  ASSERT_FALSE(fresh->IsActive());
  zortest::Clock().Advance(COpnvLine::kCheckDelay + 1);
  changed->SetVarData("OPNV.LINE.TAKT", 20);  // changed just now: left alone for a minute

  dx.CheckForLineCapacity();
  EXPECT_TRUE(fresh->IsActive());
  EXPECT_FALSE(changed->IsActive());
  // No passengers: too few users, at no stop yet.
  ASSERT_EQ(dx.posted.size(), 1u);
  const periodtest::Posted& empty = dx.posted.front();
  EXPECT_EQ(empty.group, 0);
  EXPECT_EQ(empty.entry, 0);
  EXPECT_EQ(empty.v1, static_cast<float>(fresh->GetID()));
  EXPECT_EQ(empty.x, -1);
  EXPECT_FALSE(dx.Check_M_G_OPNV_L_USERTOOMUCH(fresh, -1, -1, 1, 1));
  // The accepted message is the line's last: for a minute neither its
  // check nor the line events take the line up again.
  const uint32_t shown = kfx_GetTicks();
  EXPECT_EQ(fresh->GetMessageTime(), shown);
  EXPECT_EQ(changed->GetMessageTime(), COpnvLine::kChangeNow);
  EXPECT_FALSE(dx.Check_M_G_OPNV_L_USERLOW(fresh, -1, -1, 1, 1));
  const auto raisedFor = [&](COpnvLine* line) {
    return std::count_if(dx.posted.begin(), dx.posted.end(), [&](const periodtest::Posted& p) {
      return p.group == 0 && p.v1 == static_cast<float>(line->GetID());
    });
  };
  zortest::Clock().Advance(COpnvLine::kCheckDelay);
  dx.posted.clear();
  dx.CheckForLineCapacity();
  EXPECT_EQ(raisedFor(fresh), 0) << "a minute to the millisecond is not more than a minute";
  EXPECT_EQ(raisedFor(changed), 1) << "its check was due a minute after its change";
  EXPECT_FALSE(dx.Check_M_G_OPNV_L_USERLOW(fresh, -1, -1, 1, 1));
  zortest::Clock().Advance(1);
  EXPECT_TRUE(dx.Check_M_G_OPNV_L_USERLOW(fresh, -1, -1, 1, 1));
  // Refused, the message leaves the line's time as it was, so the next
  // round raises it again.
  dx.refuse = true;
  dx.posted.clear();
  dx.CheckForLineCapacity();
  EXPECT_EQ(raisedFor(fresh), 1);
  EXPECT_EQ(fresh->GetMessageTime(), shown);
  dx.posted.clear();
  dx.CheckForLineCapacity();
  EXPECT_EQ(raisedFor(fresh), 1);
}

// The line's own service check records its shortage message only when the
// game's message system takes it; the message system asks the same check
// before it shows the message.
TEST_F(BusyCrossing, AShortLinesMessageIsShownOnceAndTheLineLeftAloneForAMinute) {
  CMessage* message = world.GetMessage();
  zortest::Clock().Advance(400000);  // past the quiet time after the start
  COpnvLine* line = world.GetOpnv()->CreateNewLine(NET_BUS);
  ASSERT_NE(line, nullptr);
  line->GetData()->vehiclesNeeded = 5;  // none of them bought
  zortest::Clock().Advance(COpnvLine::kCheckDelay + 1);
  const int before = message->GetMaxMessage();
  line->CheckForKfz(kfx_GetTicks());
  ASSERT_EQ(message->GetMaxMessage(), before + 1);
  EXPECT_EQ(line->GetMessageTime(), kfx_GetTicks());
  int x, y, xs, ys;
  line->GetXYPos(x, y, xs, ys);
  EXPECT_FALSE(dx.Check_M_G_OPNV_L_TOOLESSKFZ(line, x, y, xs, ys));
  zortest::Clock().Advance(COpnvLine::kCheckDelay);
  EXPECT_TRUE(dx.Check_M_G_OPNV_L_TOOLESSKFZ(line, x, y, xs, ys)) << "at least a minute old";
  EXPECT_FALSE(dx.Check_M_G_OPNV_L_LESSKFZ(line, x, y, xs, ys)) << "none of five is less than 0.8 of them";
}

// What public transport raises through its host reaches the game's own
// message system, and the host's checks are the data exchange's.
TEST_F(BusyCrossing, PublicTransportSpeaksThroughTheGamesMessageSystem) {
  CMessage* message = world.GetMessage();
  zortest::Clock().Advance(400000);  // past the quiet time after the start
  const int before = message->GetMaxMessage();
  COpnvHost::Get()->ActivateMessage(1, 8, -1, -1, -1, -1, -1, -1, 1, 1);
  EXPECT_EQ(message->GetMaxMessage(), before + 1);
  // Checked back before it is shown: a town without people needs no lines.
  EXPECT_EQ(message->AddMessage(1, 11), 1);
  EXPECT_EQ(message->GetMaxMessage(), before + 1);
  // A town without people needs no lines and has no service to judge.
  EXPECT_FALSE(COpnvHost::Get()->CheckTooFewLines());
  EXPECT_EQ(COpnvHost::Get()->CheckBadService(), world.GetDataExchange()->Check_M_G_OPNV_TOTAL_BADSERVICE());
}
