// Parking run from its windows with the mouse: in a town with homes, work
// and three car parks of different sizes, the player opens the parking
// management from the game bar, jumps from its list to a car park, selects
// it on the map, raises its price with the settings page's plus button and
// lets two days go by. The dearer garage fills less than its neighbour at
// the old price and earns its price per car, the search time and the
// parking map of the district it serves follow the car parks' loads, and the
// windows' figures follow the model. Last, the fees page raises every car
// park's price at once.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>

#include "gui/dialog.h"
#include "gui/gui_host.h"
#include "gui/item_bitmap.h"
#include "gui/item_text.h"
#include "gui/screen_window.h"
#include "gui/text_markup.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/park_management.h"
#include "model/data_exchange.h"
#include "network/str_junction_list.h"
#include "sim/sim_city_model.h"
#include "sim/sim_district.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_parking_data.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "worldbase/building_catalogue.h"

namespace {

using namespace zortest;

CScreenWindow* WindowOf(int id) { return CUserInt::topWindow->GetWindowByID(id); }

// The text a figure of window `id` shows for its variable `name`, and the
// text the value should give.
std::string Shown(int id, const char* name) {
  std::string shown;
  WindowOf(id)->GetItems()->ForEach([&](CItem* i) {
    auto* t = dynamic_cast<CItemText*>(i);
    if (!t || !i->GetVar() || std::string(i->GetVar()->GetName()) != name) return;
    char text[64] = "";
    t->VarUpdate(i->GetVar(), text, sizeof text);
    shown = text;
  });
  return shown;
}
std::string Formatted(EVarType type, double value) {
  char text[64] = "";
  CTextMarkup::FormatValue(type, value, 0, 0, text, sizeof text);
  return text;
}

double Ph(CBuildingParkingObject* park, const char* name) {
  double v = 0;
  EXPECT_EQ(park->GetVarData(name, &v), 0) << name;
  return v;
}

struct Park {
  TObjectType kind;
  int resId, x, y;
  CBuildingParkingObject* object = nullptr;
};

void RunDays(Scenario& game, int days) {
  CSimWelt* sim = game.World().GetSimWelt();
  const int until = sim->Date().Year() + days;
  for (int i = 0; i < 4000 && sim->Date().Year() < until; ++i) game.Do(Wait(100));
  ASSERT_GE(sim->Date().Year(), until);
}

TEST(ScenarioParking, ADearerCarParkSetInItsWindowFillsLessAndTheWindowsFollow) {
  std::filesystem::create_directories("SaveGame");
  Scenario game;
  CZorvaWorld& world = game.World();
  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - 200);
  CDataExchange& dx = *world.GetDataExchange();
  // A main street with homes on its north side and work on its south side,
  // and two side streets for the car parks.
  for (const auto& [x1, y1, x2, y2] : {std::tuple{60, 60, 60, 66}, std::tuple{40, 63, 60, 63}, std::tuple{60, 63, 66, 63}}) {
    CStrBuildLine line(static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2));
    ASSERT_EQ(world.GetStreetNet()->CreateStreet(&line, STRASSE_1), STR_BUILD_OK);
  }
  // A block of flats without parking of its own in the district west of the
  // car parks', and an office block south of it.
  for (const auto& [kind, resId, y] : {std::tuple{OBJ_RESIDENTIAL, 35797, 61}, std::tuple{OBJ_OFFICE, 10378, 64}})
    ASSERT_NE(world.CreateObject(kind, resId, CIsoRichtung(0), 50, y, SIM_HEIGHT_ANY, nullptr, 0, nullptr, 0, -1),
              nullptr);
  Park parks[] = {{OBJ_CARPARK_OPEN, 39431, 62, 64}, {OBJ_CARPARK_GARAGE, 27552, 57, 61},
                  {OBJ_CARPARK_GARAGE2, 28031, 63, 60}};
  for (Park& p : parks) {
    ASSERT_NE(world.CreateObject(p.kind, p.resId, CIsoRichtung(0), p.x, p.y, SIM_HEIGHT_ANY, nullptr, 0, nullptr, 0,
                                 -1),
              nullptr);
    p.object = dynamic_cast<CBuildingParkingObject*>(game.Map().GetIsoTileObject(p.x, p.y, ISO_LAYER_GROUND));
    ASSERT_NE(p.object, nullptr);
  }
  for (int i = 0; i < 100 && dx.GetPeople() == 0; ++i) game.Do(Wait(200));
  ASSERT_GT(dx.GetPeople(), 0);
  // A day on, the two garages of the district east of the flats, at the
  // same price, are filled alike.
  RunDays(game, 1);
  Park &open = parks[0], &dear = parks[1], &deck = parks[2];
  const double price = dear.object->GetParkingData()->price;
  ASSERT_EQ(deck.object->GetParkingData()->price, price);
  ASSERT_GT(dear.object->GetParkingData()->carLoad, 0);
  EXPECT_FLOAT_EQ(dear.object->GetParkingData()->carLoad, deck.object->GetParkingData()->carLoad);
  std::printf("a day on: loads %.3f %.3f %.3f\n", open.object->GetParkingData()->carLoad,
              dear.object->GetParkingData()->carLoad, deck.object->GetParkingData()->carLoad);

  // The bar's parking button opens the management on its utilisation page;
  // its figures are the management's. An hour passes every 11 frames at
  // this speed, more often than the windows take their turn (every sixth
  // frame) and a wait allows; held, the model stands still while the
  // windows catch up.
  world.SetPause(true);
  game.Run({Move(600, 590), Wait(40)});
  game.Click(705 + 18, 505 + 18).Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(214));
  ASSERT_TRUE(game.IsOpen(103));
  game.Do(Wait(200));
  EXPECT_EQ(Shown(103, "PRM.USERQUOTE.PKW"), Formatted(VAR_INT, dx.GetVarValue("PRM.USERQUOTE.PKW")));
  ASSERT_TRUE(game.ClickIn(214, 10 + 18, 88 + 18));
  ASSERT_TRUE(game.IsOpen(101));
  game.Do(Wait(200));
  EXPECT_EQ(Shown(101, "PRM.BILANZ"), Formatted(VAR_INT, dx.GetVarValue("PRM.BILANZ")));

  // The list's jump button of the garage brings it to the screen; the
  // player selects it there and its window opens on the information page.
  CDialog* list = WindowOf(101)->GetDialogs()->GetHead();
  int jumpX = -1, jumpY = -1;
  list->GetItems()->ForEach([&](CItem* i) {
    if (i->GetActions())
      i->GetActions()->ForEach([&](CAction* a) {
        if (a->m_kind == 20 && a->m_p1 == dear.x && a->m_p2 == dear.y) {
          jumpX = list->GetRealPosX() + i->GetXPos() + 8;
          jumpY = list->GetRealPosY() + i->GetYPos() + 7;
        }
      });
  });
  ASSERT_GE(jumpX, 0) << "the garage has its row";
  game.Click(jumpX, jumpY).Do(Wait(40));
  ASSERT_TRUE(game.ClickIn(214, 360, 8));
  int sx = -1, sy = -1;
  ASSERT_TRUE(game.ScreenOfCell(dear.x + 1, dear.y, &sx, &sy));
  EXPECT_LT(std::abs(sx - 400), 40) << "the view is centred on the garage";
  EXPECT_LT(std::abs(sy - 300), 40);
  game.Click(sx, sy).Do(Wait(40));
  ASSERT_TRUE(game.IsOpen(170));
  ASSERT_TRUE(game.IsOpen(171));
  game.Do(Wait(200));
  EXPECT_EQ(Shown(171, "PH.NR"), Formatted(VAR_INT, dear.object->GetParkingData()->number));

  // Settings: ten steps up on the price's plus button.
  ASSERT_TRUE(game.ClickIn(170, 6 + 13, 72 + 13));
  ASSERT_TRUE(game.IsOpen(172));
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(game.ClickIn(172, 160 + 45 + 4, 113 + 8));
  const double raised = dear.object->GetParkingData()->price;
  EXPECT_NEAR(raised, std::min(2.0, price + 1.0), 1e-4);

  // The next parking pass (every seventh hour), in the morning: the dearer
  // garage is less attractive and fills less than its neighbour, both
  // below their places. (Later in the day the offices' workers and the
  // town's newcomers fill every car park beyond its places, where the price
  // no longer orders the loads.)
  world.SetPause(false);
  CSimWelt* sim = world.GetSimWelt();
  auto runToHour = [&](int hour) {
    for (int i = 0; i < 400 && sim->Date().Hour() != hour; ++i) game.Do(Wait(20));
    ASSERT_EQ(sim->Date().Hour(), hour);
  };
  ASSERT_LT(sim->Date().Hour(), 7);
  runToHour(8);
  const ParkingDataType& g = *dear.object->GetParkingData();
  const ParkingDataType& d = *deck.object->GetParkingData();
  std::printf("the morning after the raise: loads %.3f %.3f %.3f\n", open.object->GetParkingData()->carLoad, g.carLoad,
              d.carLoad);
  EXPECT_LT(d.carLoad, 1) << "below its places";
  EXPECT_LT(g.carLoad, d.carLoad);
  EXPECT_GT(g.carLoad, 0);
  // Between the morning's pass and the next one the loads hold, and each
  // place-load earns its price: the garage twice what the deck earns.
  const double garageIncome = g.income, deckIncome = d.income;
  runToHour(13);
  const double garageRate = (g.income - garageIncome) / (g.carPlaces * g.carLoad);
  const double deckRate = (d.income - deckIncome) / (d.carPlaces * d.carLoad);
  ASSERT_GT(deckRate, 0);
  EXPECT_NEAR(garageRate / deckRate, raised / d.price, 0.05 * raised / d.price);

  // The flats' district searches as long as the car parks in its reach are
  // full: between the shortest and the longest of their times (360 s times
  // the load squared); its parking map value is the share of 360 s left.
  CSimCityModell* city = sim->pCityModell();
  const short flats = static_cast<short>(CSimLocationFactory::DistrictOf(50, 61));
  const int seconds = city->pDistrict(flats)->Parksuchzeit();
  double shortest = 360, longest = 0;
  for (const Park& p : parks) {
    const double t = 360.0 * p.object->GetParkingData()->carLoad * p.object->GetParkingData()->carLoad;
    shortest = std::min(shortest, t);
    longest = std::max(longest, t);
  }
  EXPECT_GE(seconds, static_cast<int>(shortest) - 1);
  EXPECT_LE(seconds, static_cast<int>(longest) + 1);
  int fx = 0, fy = 0;
  ASSERT_TRUE(CSimCityModell::District(flats, fx, fy));
  EXPECT_NEAR(city->ParkingQuality(fx, fy), std::max(0.03, 1.0 - seconds / 360.0), 0.01);

  // Back on the information page the figures and the bar are the garage's;
  // the game stands still meanwhile.
  CGuiHost::Get()->SetPause(true);
  ASSERT_TRUE(game.ClickIn(170, 6 + 13, 40 + 13));
  ASSERT_TRUE(game.IsOpen(171));
  game.Do(Wait(200));
  EXPECT_EQ(Shown(171, "PH.INCOME"), Formatted(VAR_INT, Ph(dear.object, "PH.INCOME")));
  CItemBitmap* bar = nullptr;
  WindowOf(171)->GetItems()->ForEach([&](CItem* i) {
    if (i->GetItemType() == 19 && std::string(i->GetVar()->GetName()) == "PH.AUSLASTUNG.PKW")
      bar = static_cast<CItemBitmap*>(i);
  });
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->ButtonFrame(nullptr),
            static_cast<int>(std::trunc(std::min(1.0f, dear.object->GetParkingData()->carLoad) * 100.0 / 100.0 * 17)));
  game.Shot("parking_window");

  // The fees page changes every car park's price at once: two steps of
  // ten per cent up, then its confirm button; no price passes 2.
  game.Run({Move(600, 590), Wait(40)});
  game.Click(705 + 18, 505 + 18).Do(Wait(40));
  ASSERT_TRUE(game.ClickIn(214, 10 + 18, 131 + 18));
  ASSERT_TRUE(game.IsOpen(102));
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(game.ClickIn(102, 204 + 45 + 4, 55 + 9));
  EXPECT_EQ(dx.GetVarValue("PRM.PRICE.CHANGEPKW"), 20.0);
  ASSERT_TRUE(game.ClickIn(102, 264 + 11, 57 + 7));
  EXPECT_FLOAT_EQ(open.object->GetParkingData()->price, static_cast<float>(price * 1.2));
  EXPECT_FLOAT_EQ(deck.object->GetParkingData()->price, static_cast<float>(price * 1.2));
  EXPECT_FLOAT_EQ(dear.object->GetParkingData()->price, std::min(2.0f, static_cast<float>(raised * 1.2)));
  EXPECT_EQ(dx.GetVarValue("PRM.PRICE.CHANGEPKW"), 0.0);
  game.Do(Wait(200));
  game.Shot("parking_fees");
}

}  // namespace
