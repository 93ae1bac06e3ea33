// The player places buildings from the palette beside a street, lays a
// residential zone, removes a building after answering its question and is
// refused a building the city cannot pay for; the account follows every
// step. Played through the frame loop on the real game.
#include <gtest/gtest.h>

#include <SDL.h>

#include <utility>
#include <vector>

#include "gui/screen_window.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "model/data_exchange.h"
#include "model/finanzen.h"
#include "model/message.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "world/scenario_street_across.h"
#include "ui/user_int.h"
#include "world/town_fixture.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

constexpr int kBarX = 600;
constexpr int kBarY = 590;

struct Point {
  int x = -1, y = -1;
};

// A screen point over the cell, clear of the bar and the palette's menus.
Point ScreenOf(Scenario& game, int tx, int ty) {
  Point p;
  game.ScreenOfCell(tx, ty, &p.x, &p.y);
  return p;
}

double Money(Scenario& game) {
  double value = 0;
  EXPECT_EQ(game.World().GetDataExchange()->GetVarData("F.KONTO", &value), 0);
  return value;
}

int GroundType(Scenario& game, int x, int y) {
  return game.Map().GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND);
}

// The centre of a button at (x, y) in a window, as the window stands on the
// screen; the palette's buttons are 36 x 36.
Point ItemCentre(int window, int x, int y, int w = 36, int h = 36) {
  CScreenWindow* win = CUserInt::topWindow ? CUserInt::topWindow->GetWindowByID(window) : nullptr;
  EXPECT_NE(win, nullptr) << window;
  if (!win) return {};
  return {win->GetRealPosX() + x + w / 2, win->GetRealPosY() + y + h / 2};
}

void ClickAt(Scenario& game, Point p) {
  ASSERT_GE(p.x, 0);
  game.Click(p.x, p.y).Do(Wait(40));
}

// Opens the palette from its bar button.
void OpenPalette(Scenario& game) {
  game.Run({Move(kBarX, kBarY), Wait(40)});
  game.Click(540 + 18, 505 + 18).Do(Wait(40));
  ASSERT_EQ(game.Ui().IsWindowOpen(23), 0) << "the palette opens above its button";
}

CBuildingObject* BuildingAt(Scenario& game, int x, int y) {
  return dynamic_cast<CBuildingObject*>(game.Map().GetIsoTileObject(x, y, ISO_LAYER_GROUND));
}

TEST(ScenarioPlace, ThePaletteBuildsBesideAStreetAndTheAccountPaysForEachBuilding) {
  Scenario game;
  const StreetTown town = StreetAcross(game);
  const double start = Money(game);

  // a small school: town buildings, schools, small
  OpenPalette(game);
  ClickAt(game, ItemCentre(23, 5, 17));
  EXPECT_EQ(game.Ui().IsWindowOpen(57), 0);
  ClickAt(game, ItemCentre(57, 5, 54));
  ASSERT_EQ(game.Ui().IsWindowOpen(34), 0);
  ClickAt(game, ItemCentre(34, 3, 5));
  EXPECT_EQ(CUserInt::selObj.tool, 6);
  EXPECT_EQ(CUserInt::selObj.subtool, 2);
  EXPECT_EQ(CUserInt::selObj.variant, 1);
  const int schoolX = town.sx - 6, schoolY = town.sy + 1;
  ClickAt(game, ScreenOf(game, schoolX, schoolY));
  CBuildingObject* school = BuildingAt(game, schoolX, schoolY);
  ASSERT_NE(school, nullptr) << "the school stands on its cell";
  EXPECT_EQ(school->GetType(), OBJ_SCHOOL);
  EXPECT_EQ(BuildingAt(game, schoolX + 1, schoolY + 1), school) << "on all four of its cells";
  EXPECT_NE(school->GetSimLocation(), nullptr) << "the demand model sees it";
  EXPECT_EQ(Money(game), start - 500000);

  // a small car park: traffic buildings, parking, small
  OpenPalette(game);
  ClickAt(game, ItemCentre(23, 5, 54));
  EXPECT_EQ(game.Ui().IsWindowOpen(58), 0);
  EXPECT_NE(game.Ui().IsWindowOpen(57), 0) << "one group at a time";
  ClickAt(game, ItemCentre(58, 5, 169));
  ASSERT_EQ(game.Ui().IsWindowOpen(38), 0);
  ClickAt(game, ItemCentre(38, 3, 5));
  EXPECT_EQ(CUserInt::selObj.tool, 8);
  const int parkX = town.sx + 3, parkY = town.sy + 1;
  ClickAt(game, ScreenOf(game, parkX, parkY));
  CBuildingObject* park = BuildingAt(game, parkX, parkY);
  ASSERT_NE(park, nullptr);
  EXPECT_EQ(park->GetType(), OBJ_CARPARK_OPEN);
  EXPECT_NE(park->GetSimLocation(), nullptr);
  EXPECT_EQ(Money(game), start - 500000 - 300000);

  // a house and an office block with the test-object tool: the city's own
  // buildings cost nothing
  int nr = -1;
  for (auto [type, x] : {std::pair{8, town.sx - 2}, std::pair{9, town.sx}}) {
    for (int n = 0; n < CBuildingDataList::GetRowCount(); ++n)
      if (CBuildingDataList::GetPotentialByNr(n)->objectType == type &&
          CBuildingDataList::GetPotentialByNr(n)->size.width == 1 &&
          CBuildingDataList::GetPotentialByNr(n)->size.depth == 1) {
        nr = n;
        break;
      }
    ASSERT_GE(nr, 0);
    CUserInt::selObj.objectType = type;
    game.ChooseTool(14, -1, -1);
    CUserInt::selObj.buildingNumber = nr;
    ClickAt(game, ScreenOf(game, x, town.sy - 1));
    CBuildingObject* b = BuildingAt(game, x, town.sy - 1);
    ASSERT_NE(b, nullptr) << type;
    EXPECT_EQ(b->GetType(), type);
    EXPECT_NE(b->GetSimLocation(), nullptr);
  }
  EXPECT_EQ(Money(game), start - 800000);
  game.Shot("place-buildings");
}

// Is the location among those its crossing keeps?
bool ListedAt(CStrJunction* crossing, CSimLocation* location) {
  CLocationList* list = crossing ? crossing->GetLocationList() : nullptr;
  if (!list) return false;
  list->SetupLocationCount(0);
  while (CSimLocation* l = list->GetNextLocation())
    if (l == location) return true;
  return false;
}

short SeenStop(CSimLocation* location, int* distance) {
  short id = 0;
  *distance = 0;
  return location->GetNearestHst(id, *distance) ? id : 0;
}

TEST(ScenarioPlace, TheDemandModelSeesEachBuildingWithItsCatalogueCountsCrossingAndStop) {
  Scenario game;
  const StreetTown town = StreetAcross(game);
  CSimLocationFactory* factory = game.World().GetLocationFactory();
  const int locations = factory->GetLocationCount();
  // Every row of the catalogue is there.
  EXPECT_EQ(CBuildingDataList::GetRowCount(), 141);

  // A house and an office block with the test-object tool, a small school
  // and a small car park from their tools.
  struct Placed {
    int tool, subtool, variant;
    TObjectType type;
    int x, y;
  };
  const Placed placed[] = {{14, -1, -1, OBJ_RESIDENTIAL, town.sx - 2, town.sy - 1},
                           {14, -1, -1, OBJ_OFFICE, town.sx, town.sy - 1},
                           {6, 2, 1, OBJ_SCHOOL, town.sx - 6, town.sy + 1},
                           {8, 1, -1, OBJ_CARPARK_OPEN, town.sx + 3, town.sy + 1}};
  std::vector<CBuildingObject*> buildings;
  for (const Placed& p : placed) {
    if (p.tool == 14) {
      CUserInt::selObj.objectType = p.type;
      game.ChooseTool(14, -1, -1);
      CUserInt::selObj.buildingNumber = towntest::Town::RowWith(p.type, 1, p.type == OBJ_OFFICE ? 36 : 24, 1, 1);
      ASSERT_GE(CUserInt::selObj.buildingNumber, 0);
    } else {
      game.ChooseTool(p.tool, p.subtool, p.variant);
    }
    ClickAt(game, ScreenOf(game, p.x, p.y));
    CBuildingObject* b = BuildingAt(game, p.x, p.y);
    ASSERT_NE(b, nullptr) << p.type;
    ASSERT_EQ(b->GetType(), p.type);
    buildings.push_back(b);
  }
  EXPECT_EQ(factory->GetLocationCount(), locations + 4);

  // The counts of each location are its catalogue row's.
  for (CBuildingObject* b : buildings) {
    CSimLocation* l = b->GetSimLocation();
    ASSERT_NE(l, nullptr) << b->GetType();
    EXPECT_EQ(factory->CheckLocationInFactoryList(l), 0);
    const PotentialType* row = CBuildingDataList::GetPotential(b->GetRESid());
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(l->NrOfHomes(), row->Word(24)) << b->GetType();
    EXPECT_EQ(l->NrOfJobs(), row->Word(36)) << b->GetType();
    EXPECT_EQ(l->NrOfShops(), row->Word(48)) << b->GetType();
    EXPECT_EQ(l->NrOfLeisurePoints(), row->Word(44)) << b->GetType();
    EXPECT_EQ(l->NrOfEducation(), row->Word(60)) << b->GetType();
    EXPECT_EQ(l->GetHeight(), row->height) << b->GetType();
    EXPECT_EQ(l->Position().PosX(), b->GetXPos());
    EXPECT_EQ(l->Position().PosY(), b->GetYPos());
    // The district the city model keeps for the building's cell, if any.
    CSimDistrict* district = game.World().GetSimWelt()->GetDistrict(b->GetXPos() / 8, b->GetYPos() / 8);
    EXPECT_EQ(l->GetDistrictID(),
              district ? CSimLocationFactory::DistrictOf(b->GetXPos(), b->GetYPos()) : 0) << b->GetType();
  }
  EXPECT_GT(buildings[0]->GetSimLocation()->NrOfHomes(), 0) << "the house has homes";
  EXPECT_GT(buildings[1]->GetSimLocation()->NrOfJobs(), 0) << "the office has jobs";
  EXPECT_GT(buildings[2]->GetSimLocation()->NrOfEducation(), 0) << "the school has places";

  // Each enters the network at the nearer end of the street, which lists it.
  CStrJunction* west = game.World().GetStreetNet()->FindJunctionAt(static_cast<short>(town.sx - 8),
                                                                   static_cast<short>(town.sy));
  CStrJunction* east = game.World().GetStreetNet()->FindJunctionAt(static_cast<short>(town.sx + 8),
                                                                   static_cast<short>(town.sy));
  ASSERT_TRUE(west && east);
  for (auto [b, end] : {std::pair{buildings[0], west}, std::pair{buildings[2], west}, std::pair{buildings[3], east}}) {
    EXPECT_EQ(b->GetSimLocation()->NearestCrossing(), static_cast<short>(end->GetSimID())) << b->GetType();
    EXPECT_TRUE(ListedAt(end, b->GetSimLocation())) << b->GetType();
  }
  // The office stands halfway: either end, as long as that end lists it.
  CSimLocation* office = buildings[1]->GetSimLocation();
  CStrJunction* officeEnd = office->NearestCrossing() == static_cast<short>(west->GetSimID()) ? west : east;
  EXPECT_EQ(office->NearestCrossing(), static_cast<short>(officeEnd->GetSimID()));
  EXPECT_TRUE(ListedAt(officeEnd, office));

  // No stop yet; a bus stop on the street is seen by all four, each at
  // the distance from its nearest cell.
  int distance = 0;
  for (CBuildingObject* b : buildings) EXPECT_EQ(SeenStop(b->GetSimLocation(), &distance), 0);
  game.ChooseTool(5, 1, -1);
  const int stopX = town.sx + 6;
  ClickAt(game, ScreenOf(game, stopX, town.sy));
  auto* stop = dynamic_cast<CSecondLayerObject*>(game.Map().GetIsoTileObject(stopX, town.sy, ISO_LAYER_UPPER));
  ASSERT_NE(stop, nullptr);
  const auto id = static_cast<short>(stop->GetID());
  ASSERT_GT(id, 0);
  EXPECT_EQ(SeenStop(buildings[0]->GetSimLocation(), &distance), id);
  EXPECT_EQ(distance, 806);  // eight cells across, one along
  EXPECT_EQ(SeenStop(buildings[1]->GetSimLocation(), &distance), id);
  EXPECT_EQ(distance, 608);
  EXPECT_EQ(SeenStop(buildings[2]->GetSimLocation(), &distance), id);
  EXPECT_EQ(distance, 1104);  // eleven cells from the school's second column
  EXPECT_EQ(SeenStop(buildings[3]->GetSimLocation(), &distance), id);
  EXPECT_GT(distance, 0);
  EXPECT_LE(distance, 316);
  game.Shot("place-locations");

  // The stop's question answered with yes: no location sees a stop.
  game.ChooseTool(23, -1, -1);
  game.Do(Wait(2000));
  ClickAt(game, ScreenOf(game, stopX, town.sy));
  ASSERT_EQ(game.Ui().IsWindowOpen(223), 0);
  ClickAt(game, ItemCentre(223, 184, 76, 56, 16));
  EXPECT_EQ(game.Map().GetIsoTileObject(stopX, town.sy, ISO_LAYER_UPPER), nullptr);
  for (CBuildingObject* b : buildings) EXPECT_EQ(SeenStop(b->GetSimLocation(), &distance), 0) << b->GetType();
}

TEST(ScenarioPlace, AResidentialZoneOfThreeByTwoCellsCostsSixTimesItsPrice) {
  Scenario game;
  const StreetTown town = StreetAcross(game);
  const double start = Money(game);
  game.Run({Move(250, 220), Wait(40)});
  game.Key(SDLK_1);
  ASSERT_EQ(CUserInt::selObj.tool, 10);
  const Point from = ScreenOf(game, town.sx + 2, town.sy - 3);
  const Point to = ScreenOf(game, town.sx + 4, town.sy - 2);
  ASSERT_GE(from.x, 0);
  ASSERT_GE(to.x, 0);
  game.Drag(from.x, from.y, to.x, to.y);
  int zones = 0;
  for (int x = town.sx + 1; x <= town.sx + 5; ++x)
    for (int y = town.sy - 4; y <= town.sy - 1; ++y) zones += GroundType(game, x, y) == OBJ_ZONE_RESIDENTIAL;
  EXPECT_EQ(zones, 6);
  EXPECT_EQ(GroundType(game, town.sx + 3, town.sy - 2), OBJ_ZONE_RESIDENTIAL);
  EXPECT_EQ(Money(game), start - 6 * 5000);
}

TEST(ScenarioPlace, ABuildingGoesOnlyAfterTheQuestionAndItsRemovalIsBooked) {
  Scenario game;
  const StreetTown town = StreetAcross(game);
  game.ChooseTool(6, 2, 1);
  const int x = town.sx - 6, y = town.sy + 1;
  ClickAt(game, ScreenOf(game, x, y));
  ASSERT_NE(BuildingAt(game, x, y), nullptr);
  const double before = Money(game);

  OpenPalette(game);
  ClickAt(game, ItemCentre(23, 5, 91));
  ASSERT_EQ(CUserInt::selObj.tool, 15);
  EXPECT_NE(game.Ui().IsWindowOpen(57), 0);
  ClickAt(game, ScreenOf(game, x + 1, y));
  ASSERT_EQ(game.Ui().IsWindowOpen(243), 0) << "one building: the question for one";
  EXPECT_NE(game.Ui().IsWindowOpen(244), 0);
  EXPECT_NE(BuildingAt(game, x, y), nullptr) << "nothing goes before the answer";
  EXPECT_EQ(Money(game), before);
  game.Shot("place-remove-question");

  // No keeps the building; yes removes it and books its removal price.
  ClickAt(game, ItemCentre(243, 95, 76, 56, 16));
  EXPECT_NE(game.Ui().IsWindowOpen(243), 0);
  EXPECT_NE(BuildingAt(game, x, y), nullptr);
  ClickAt(game, ScreenOf(game, x + 1, y));
  ASSERT_EQ(game.Ui().IsWindowOpen(243), 0);
  // An event that comes meanwhile opens its window behind the question.
  game.Ui().ActivateEventWindow();
  ASSERT_EQ(game.Ui().IsWindowOpen(217), 0);
  EXPECT_EQ(static_cast<CScreenWindow*>(game.Ui().GetRenderList()->GetHeadZorvaPointer()->GetZorvaObject())->GetID(), 243);
  ClickAt(game, ItemCentre(243, 184, 76, 56, 16));
  EXPECT_NE(game.Ui().IsWindowOpen(243), 0);
  EXPECT_EQ(BuildingAt(game, x, y), nullptr);
  EXPECT_EQ(GroundType(game, x + 1, y + 1), OBJ_GROUND);
  EXPECT_EQ(Money(game), before - 2000000);
}

TEST(ScenarioPlace, ABuildingTheCityCannotPayIsRefusedWithItsWarning) {
  Scenario game;
  const StreetTown town = StreetAcross(game);
  ASSERT_EQ(game.World().GetDataExchange()->SetVarData("F.KONTO", 1000000), 0);
  ASSERT_EQ(Money(game), 1000000);
  game.ChooseTool(6, 2, 3);
  const int x = town.sx - 6, y = town.sy + 1;
  ClickAt(game, ScreenOf(game, x, y));
  EXPECT_EQ(BuildingAt(game, x, y), nullptr);
  EXPECT_EQ(Money(game), 1000000);
  EXPECT_EQ(game.Ui().IsWindowOpen(CUserInt::kWarningWindow), 0);
  const char* said = game.World().GetMessage()->GetAchtungMessage();
  ASSERT_NE(said, nullptr);
  EXPECT_STREQ(said, CUserInt::GetAchtungText(3, 0));
  game.Shot("place-no-money");
  // The warning goes at a click of its own; till then the map takes none.
  ASSERT_TRUE(game.ClickIn(CUserInt::kWarningWindow, 150, 40));
  EXPECT_NE(game.Ui().IsWindowOpen(CUserInt::kWarningWindow), 0);
  // The small one it can pay.
  game.ChooseTool(6, 2, 1);
  ClickAt(game, ScreenOf(game, x, y));
  EXPECT_NE(BuildingAt(game, x, y), nullptr);
  EXPECT_EQ(Money(game), 1000000 - 500000);
}

// A school placed where one stands is refused with its warning; the tool
// stays in hand. The warning, shown long enough, goes at the first move;
// the click the player then makes on its close box, a moment later, is
// the warning's: it builds no second school on the land beneath it. Once
// the moment has passed that place is the map's again.
TEST(ScenarioPlace, TheClickMeantForARefusalsWarningBuildsNoSecondSchoolBeneathIt) {
  Scenario game;
  const StreetTown town = StreetAcross(game);
  game.ChooseTool(6, 2, 1);
  const int x = town.sx - 6, y = town.sy + 1;
  ClickAt(game, ScreenOf(game, x, y));
  ASSERT_NE(BuildingAt(game, x, y), nullptr);
  const double built = Money(game);
  ClickAt(game, ScreenOf(game, x + 1, y));
  ASSERT_EQ(game.Ui().IsWindowOpen(CUserInt::kWarningWindow), 0);
  EXPECT_STREQ(game.World().GetMessage()->GetAchtungMessage(), CUserInt::GetAchtungText(89, 0));
  const Point close = ItemCentre(CUserInt::kWarningWindow, 285, 3, 14, 13);
  game.Do(Wait(1600));
  // The pointer sets off towards the close box; the first move closes the
  // warning, and the press comes when the pointer gets there.
  const Point from = ScreenOf(game, x + 1, y);
  game.Run({Move((from.x + close.x) / 2, (from.y + close.y) / 2)});
  ASSERT_NE(game.Ui().IsWindowOpen(CUserInt::kWarningWindow), 0);
  game.Run({Move(close.x, close.y), Wait(700), Press(close.x, close.y), Release(close.x, close.y), Wait(40)});
  EXPECT_EQ(Money(game), built) << "no second school";
  EXPECT_NE(game.Ui().IsWindowOpen(CUserInt::kWarningWindow), 0);
  EXPECT_EQ(CUserInt::selObj.tool, 6) << "the tool stays in hand";
  // Later, a click there is the map's, as any click on it: a second
  // school goes up on the free land beneath, however far from the street.
  int cx = -1, cy = -1;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(close.x, close.y, &cx, &cy), 0);
  ASSERT_EQ(BuildingAt(game, cx, cy), nullptr);
  game.Run({Wait(1600), Press(close.x, close.y), Release(close.x, close.y), Wait(40)});
  EXPECT_NE(game.Ui().IsWindowOpen(CUserInt::kWarningWindow), 0) << "no refusal";
  CBuildingObject* second = BuildingAt(game, cx, cy);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->GetType(), OBJ_SCHOOL);
  EXPECT_EQ(Money(game), built - 500000);
}

TEST(ScenarioPlace, WithoutAStreetNothingButATramStopIsBuilt) {
  Scenario game;
  int x = 0, y = 0;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(250, 220, &x, &y), 0);
  const double start = Money(game);
  game.ChooseTool(6, 2, 1);
  ClickAt(game, ScreenOf(game, x, y));
  EXPECT_EQ(BuildingAt(game, x, y), nullptr);
  EXPECT_STREQ(game.World().GetMessage()->GetAchtungMessage(), CUserInt::GetAchtungText(34, 0));
  EXPECT_EQ(Money(game), start);
}

// Two small schools side by side below the street, at x and x + 3, and the
// removal tool in hand; the account as it stands then.
double TwoSchoolsToRemove(Scenario& game, const StreetTown& town, int x) {
  game.ChooseTool(6, 2, 1);
  for (int dx : {0, 3}) {
    ClickAt(game, ScreenOf(game, x + dx, town.sy + 1));
    EXPECT_NE(BuildingAt(game, x + dx, town.sy + 1), nullptr);
  }
  game.ChooseTool(15, -1, -1);
  return Money(game);
}

TEST(ScenarioPlace, ARectangleOverSeveralBuildingsAsksOnceAndBooksOnlyWhatWent) {
  Scenario game;
  const StreetTown town = StreetAcross(game);
  const int x = town.sx - 6, y = town.sy + 1;
  const double before = TwoSchoolsToRemove(game, town, x);
  const Point from = ScreenOf(game, x, y), to = ScreenOf(game, x + 4, y + 1);
  game.Drag(from.x, from.y, to.x, to.y).Do(Wait(40));
  ASSERT_EQ(game.Ui().IsWindowOpen(244), 0) << "several buildings: the question for several";
  EXPECT_NE(game.Ui().IsWindowOpen(243), 0);
  EXPECT_EQ(CUserInt::selObj.removePrice, 2 * 2000000.0) << "the question names the whole price";
  // While the question is open the first school goes another way; the yes
  // then removes the second and the city pays for that one alone.
  ASSERT_EQ(game.World().RemoveObject(x, y, ISO_LAYER_GROUND, true), 0);
  ClickAt(game, ItemCentre(244, 184, 76, 56, 16));
  EXPECT_NE(game.Ui().IsWindowOpen(244), 0);
  EXPECT_EQ(BuildingAt(game, x + 3, y), nullptr);
  EXPECT_EQ(Money(game), before - 2000000);
}

TEST(ScenarioPlace, ReturnAnswersTheRemovalQuestionWithYes) {
  Scenario game;
  const StreetTown town = StreetAcross(game);
  const int x = town.sx - 6, y = town.sy + 1;
  const double before = TwoSchoolsToRemove(game, town, x);
  ClickAt(game, ScreenOf(game, x + 3, y));
  ASSERT_EQ(game.Ui().IsWindowOpen(243), 0);
  // The question holds the keys and the mouse: the street key, the
  // adviser's key and a click on the other school do nothing.
  game.Key(SDLK_6).Key(SDLK_b).Do(Wait(40));
  EXPECT_EQ(CUserInt::selObj.tool, 15);
  EXPECT_NE(game.Ui().IsWindowOpen(219), 0);
  ClickAt(game, ScreenOf(game, x, y));
  ASSERT_EQ(game.Ui().IsWindowOpen(243), 0);
  game.Key(SDLK_RETURN).Do(Wait(40));
  EXPECT_NE(game.Ui().IsWindowOpen(243), 0);
  EXPECT_EQ(BuildingAt(game, x + 3, y), nullptr);
  EXPECT_NE(BuildingAt(game, x, y), nullptr) << "only the building pressed on";
  EXPECT_EQ(Money(game), before - 2000000);
  // Escape closes the question with nothing removed; the keys work again.
  ClickAt(game, ScreenOf(game, x, y));
  ASSERT_EQ(game.Ui().IsWindowOpen(243), 0);
  game.Key(SDLK_ESCAPE).Do(Wait(40));
  EXPECT_NE(game.Ui().IsWindowOpen(243), 0);
  EXPECT_NE(BuildingAt(game, x, y), nullptr);
  EXPECT_NE(game.Ui().IsWindowOpen(CUserInt::kYesNoWindow), 0) << "Escape closed the question, asked nothing";
  game.Key(SDLK_6).Do(Wait(40));
  EXPECT_EQ(CUserInt::selObj.tool, 2);
}

TEST(ScenarioPlace, APressOfTheRemovalToolLeavesWhatHasNoRemovalPrice) {
  Scenario game;
  const StreetTown town = StreetAcross(game);
  game.ChooseTool(10, 1, -1);
  const Point zone = ScreenOf(game, town.sx + 2, town.sy - 2);
  ClickAt(game, zone);
  ASSERT_EQ(GroundType(game, town.sx + 2, town.sy - 2), OBJ_ZONE_RESIDENTIAL);
  const double before = Money(game);
  game.ChooseTool(15, -1, -1);
  ClickAt(game, zone);
  EXPECT_EQ(GroundType(game, town.sx + 2, town.sy - 2), OBJ_ZONE_RESIDENTIAL) << "no removal without a price";
  for (int w : {223, 243, 244}) EXPECT_NE(game.Ui().IsWindowOpen(w), 0) << w;
  EXPECT_EQ(Money(game), before);
  // The land tool clears it at the zone's removal price.
  game.ChooseTool(13, 1, -1);
  ClickAt(game, zone);
  EXPECT_EQ(GroundType(game, town.sx + 2, town.sy - 2), OBJ_GROUND);
  EXPECT_EQ(Money(game), before - 1000);
}

TEST(ScenarioPlace, AResidentialZoneWithoutADensityHasNoPriceAndIsNotLaid) {
  Scenario game;
  const StreetTown town = StreetAcross(game);
  const double start = Money(game);
  game.ChooseTool(10, 0, -1);
  ASSERT_EQ(CUserInt::selObj.subtool, 0);
  const Point from = ScreenOf(game, town.sx + 2, town.sy - 3), to = ScreenOf(game, town.sx + 3, town.sy - 2);
  game.Drag(from.x, from.y, to.x, to.y);
  EXPECT_EQ(GroundType(game, town.sx + 2, town.sy - 3), OBJ_GROUND);
  EXPECT_EQ(Money(game), start);
  // With its density the same drag lays four zones.
  game.ChooseTool(10, 2, -1);
  game.Drag(from.x, from.y, to.x, to.y);
  EXPECT_EQ(GroundType(game, town.sx + 3, town.sy - 2), OBJ_ZONE_RESIDENTIAL);
  EXPECT_EQ(Money(game), start - 4 * 10000);
}

TEST(ScenarioPlace, MoneyForTwoOfSixZonesLaysTwoAndWarns) {
  Scenario game;
  const StreetTown town = StreetAcross(game);
  ASSERT_EQ(game.World().GetDataExchange()->SetVarData("F.KONTO", 12000), 0);
  game.ChooseTool(10, 1, -1);
  const Point from = ScreenOf(game, town.sx + 2, town.sy - 3), to = ScreenOf(game, town.sx + 4, town.sy - 2);
  game.Drag(from.x, from.y, to.x, to.y);
  int zones = 0;
  for (int x = town.sx + 2; x <= town.sx + 4; ++x)
    for (int y = town.sy - 3; y <= town.sy - 2; ++y) zones += GroundType(game, x, y) == OBJ_ZONE_RESIDENTIAL;
  EXPECT_EQ(zones, 2);
  EXPECT_EQ(Money(game), 2000);
  EXPECT_EQ(game.Ui().IsWindowOpen(CUserInt::kWarningWindow), 0);
  EXPECT_STREQ(game.World().GetMessage()->GetAchtungMessage(), CUserInt::GetAchtungText(5, 0));
}

TEST(ScenarioPlace, ClickingASelectedBuildingAgainDeselectsItAndClosingItsWindowUnmarksIt) {
  Scenario game;
  const StreetTown town = StreetAcross(game);
  game.ChooseTool(6, 2, 1);
  const int x = town.sx - 6, y = town.sy + 1;
  ClickAt(game, ScreenOf(game, x, y));
  CBuildingObject* school = BuildingAt(game, x, y);
  ASSERT_NE(school, nullptr);
  game.Ui().SetToolStandard();
  ClickAt(game, ScreenOf(game, x + 1, y + 1));
  EXPECT_EQ(CUserInt::selObj.selectedObject, school);
  ClickAt(game, ScreenOf(game, x, y + 1));
  EXPECT_EQ(CUserInt::selObj.selectedObject, nullptr);

  // Selected again; Escape closes the building's window and the school is
  // no longer marked, so the next click opens the window again.
  ClickAt(game, ScreenOf(game, x + 1, y + 1));
  ASSERT_EQ(game.Ui().IsWindowOpen(221), 0);
  game.Key(SDLK_ESCAPE).Do(Wait(40));
  ASSERT_NE(game.Ui().IsWindowOpen(221), 0);
  EXPECT_EQ(CUserInt::selObj.selectedObject, nullptr);
  EXPECT_EQ(CUserInt::selObj.startX, -1);
  ClickAt(game, ScreenOf(game, x, y + 1));
  EXPECT_EQ(game.Ui().IsWindowOpen(221), 0) << "the click opens the window again";
  EXPECT_EQ(CUserInt::selObj.selectedObject, school);
}

// The verdict of the mark under the pointer, held over the cell: 1 when
// the tool in hand would be refused there.
int MarkAt(Scenario& game, int x, int y) {
  const Point at = ScreenOf(game, x, y);
  EXPECT_GE(at.x, 0) << x << "," << y;
  game.Run({Move(at.x, at.y), Wait(40)});
  return CUserInt::selObj.placeRefused;
}

// The buildings cars drive to stand only within reach of a street: a car
// park and a park-and-ride site beside it, a car-sharing office or station
// within three cells. One cell farther the mark under the pointer shows
// the refusal, and the click says why, builds nothing and costs nothing.
// Every other building stands on free land however far from a street.
TEST(ScenarioPlace, OnlyTheBuildingsCarsDriveToNeedAStreetWithinReach) {
  Scenario game;
  const StreetTown town = StreetAcross(game);
  const struct {
    int tool, subtool, variant, kind, reach;
    const char* what;
  } buildings[] = {{8, 1, -1, OBJ_CARPARK_OPEN, 1, "car park"},
                   {7, 8, -1, OBJ_PARKRIDE, 1, "park-and-ride site"},
                   {7, 1, -1, OBJ_CARSHARING_CENTRE, 3, "car-sharing office"},
                   {7, 2, -1, OBJ_CARSHARING_STATION, 3, "car-sharing station"},
                   {6, 2, 1, OBJ_SCHOOL, 0, "school"},
                   {6, 3, 1, OBJ_PARK, 0, "park"},
                   {7, 7, -1, OBJ_TRANSMITTER, 0, "transmitter mast"},
                   {7, 9, -1, OBJ_ADVICE_CENTRE, 0, "advice centre"}};
  int x = town.sx - 7, freeX = town.sx - 3;
  for (const auto& b : buildings) {
    SCOPED_TRACE(b.what);
    game.ChooseTool(b.tool, b.subtool, b.variant);
    const double before = Money(game);
    if (b.reach == 0) {
      // Seven rows below the street, beyond the traffic buildings.
      const int y = town.sy + 7;
      EXPECT_EQ(MarkAt(game, freeX, y), 0);
      ClickAt(game, ScreenOf(game, freeX, y));
      EXPECT_NE(game.Ui().IsWindowOpen(CUserInt::kWarningWindow), 0) << "no refusal";
      CBuildingObject* built = BuildingAt(game, freeX, y);
      ASSERT_NE(built, nullptr);
      EXPECT_EQ(built->GetType(), b.kind);
      EXPECT_LT(Money(game), before);
      freeX += CUserInt::selObj.width + 1;
      continue;
    }
    // Below the street, its first row `reach` + 1 rows away: out of reach.
    const int far = town.sy + b.reach + 1;
    EXPECT_EQ(MarkAt(game, x, far), 1) << "the mark shows the refusal";
    ClickAt(game, ScreenOf(game, x, far));
    EXPECT_EQ(BuildingAt(game, x, far), nullptr);
    EXPECT_EQ(Money(game), before);
    ASSERT_EQ(game.Ui().IsWindowOpen(CUserInt::kWarningWindow), 0);
    EXPECT_STREQ(game.World().GetMessage()->GetAchtungMessage(), CUserInt::GetAchtungText(0, 0));
    ASSERT_TRUE(game.ClickIn(CUserInt::kWarningWindow, 150, 40));
    game.Do(Wait(1600));
    // A row nearer it stands, and the street's removal now keeps it.
    EXPECT_EQ(MarkAt(game, x, far - 1), 0);
    ClickAt(game, ScreenOf(game, x, far - 1));
    CBuildingObject* built = BuildingAt(game, x, far - 1);
    ASSERT_NE(built, nullptr);
    EXPECT_EQ(built->GetType(), b.kind);
    EXPECT_LT(Money(game), before);
    x += 4;
  }
  game.Shot("place-traffic-buildings-by-the-street");
}

// The car parks and a park-and-ride site, turned each way with the turn
// window's button (the medium car park's footprint turns with it), may
// touch a street with any one of their four sides and are refused one
// cell away from it. The town's street runs along x through row sy from
// sx - 8 to sx + 8; a side street runs along y from row sy - 8 down to it
// at column sx - 2, and a lane leaves that along x through row sy - 7 and
// turns south at column sx + 4 to end a row further. Each side meets a
// street that ends there, so that no cell the search of another side
// covers stands in for the side itself: below the street's west end, above
// its east end with the last column past it, past its east end (level with
// the top row and with the bottom row), and before the side street's end.
TEST(ScenarioPlace, ACarParkTouchesTheStreetWithAnySideTurnedAnyWay) {
  Scenario game;
  const StreetTown town = StreetAcross(game);
  const int west = town.sx - 8, east = town.sx + 8;
  const int sideX = town.sx - 2, sideEnd = town.sy - 8;
  CStrBuildLine line(static_cast<short>(sideX), static_cast<short>(sideEnd), static_cast<short>(sideX),
                     static_cast<short>(town.sy));
  ASSERT_EQ(game.World().GetStreetNet()->CreateStreet(&line, CStrassenType(STRASSE_1)), STR_BUILD_OK);
  const int laneY = town.sy - 7, laneX = town.sx + 4, laneEnd = town.sy - 6;
  CStrBuildLine laneAlong(static_cast<short>(sideX), static_cast<short>(laneY), static_cast<short>(laneX),
                          static_cast<short>(laneY));
  ASSERT_EQ(game.World().GetStreetNet()->CreateStreet(&laneAlong, CStrassenType(STRASSE_1)), STR_BUILD_OK);
  CStrBuildLine laneDown(static_cast<short>(laneX), static_cast<short>(laneY), static_cast<short>(laneX),
                         static_cast<short>(laneEnd));
  ASSERT_EQ(game.World().GetStreetNet()->CreateStreet(&laneDown, CStrassenType(STRASSE_1)), STR_BUILD_OK);
  const struct {
    int tool, subtool, variant;
    const char* what;
  } kinds[] = {{8, 1, 1, "small car park"}, {8, 1, 2, "medium car park"}, {7, 8, -1, "park-and-ride site"}};
  bool turnedFootprint = false;
  for (const auto& k : kinds) {
    game.ChooseTool(k.tool, k.subtool, k.variant);
    int directions = 0;
    for (int turn = 0; turn < 4; ++turn) {
      const int dir = CUserInt::selObj.buildingRichtung;
      directions |= 1 << dir;
      const int w = CUserInt::selObj.width, d = CUserInt::selObj.depth;
      ASSERT_GT(w * d, 0);
      turnedFootprint = turnedFootprint || w != d;
      // The cell the building starts at beside the street, and the step
      // that takes it one cell away.
      const struct {
        const char* side;
        int x, y, awayX, awayY;
      } sides[] = {{"street along its north side", west, town.sy + 1, 0, 1},
                   {"street along its south side", east - w + 2, town.sy - d, 0, -1},
                   {"street along its west side", east + 1, town.sy, 1, 0},
                   {"street along its west side's bottom row", east + 1, town.sy - d + 1, 1, 0},
                   {"street along its east side", sideX - w, sideEnd, -1, 0}};
      for (const auto& s : sides) {
        SCOPED_TRACE(testing::Message() << k.what << " turned " << dir << ", " << s.side);
        EXPECT_EQ(MarkAt(game, s.x, s.y), 0);
        EXPECT_EQ(MarkAt(game, s.x + s.awayX, s.y + s.awayY), 1);
      }
      // The reach counts at the corners too, and no further: a street's
      // end diagonally off a corner is in reach, a row or a column further
      // out it is not. The side street's end lies off the south-east
      // corner, the lane's end off the north-east one.
      const struct {
        const char* corner;
        int x, y, awayX, awayY;
      } corners[] = {{"side street's end off its south-east corner", sideX - w, sideEnd - d, -1, -1},
                     {"lane's end off its north-east corner", laneX - w, laneEnd + 1, -1, 1}};
      for (const auto& c : corners) {
        SCOPED_TRACE(testing::Message() << k.what << " turned " << dir << ", " << c.corner);
        EXPECT_EQ(MarkAt(game, c.x, c.y), 0);
        EXPECT_EQ(MarkAt(game, c.x, c.y + c.awayY), 1);
        EXPECT_EQ(MarkAt(game, c.x + c.awayX, c.y), 1);
      }
      // Two columns off the side street along its whole east side, the
      // street's end above the north-east corner is out of reach as well.
      SCOPED_TRACE(testing::Message() << k.what << " turned " << dir << ", two columns off the side street");
      EXPECT_EQ(MarkAt(game, sideX - w - 1, sideEnd + 1), 1);
      game.Ui().ActivateWindow(228);
      ASSERT_TRUE(game.ClickIn(228, 8 + 18, 26 + 18));
      game.Ui().DeActivateWindow(228);
    }
    EXPECT_EQ(directions, 15) << k.what << " turned each way";
  }
  EXPECT_TRUE(turnedFootprint) << "a footprint the turn changes";
}

TEST(ScenarioPlace, AStopAParkAndRideSiteNeedsStaysUntilTheSiteGoes) {
  Scenario game;
  const StreetTown town = StreetAcross(game);
  const int stopX = town.sx + 6, stopY = town.sy;
  game.ChooseTool(5, 1, -1);
  ClickAt(game, ScreenOf(game, stopX, stopY));
  CWorldObj* stop = game.Map().GetIsoTileObject(stopX, stopY, ISO_LAYER_UPPER);
  ASSERT_NE(stop, nullptr) << "the bus stop stands on the street";
  ASSERT_EQ(stop->GetType(), OBJ_BUSSTOP_SIGN);
  game.ChooseTool(7, 8, -1);
  ClickAt(game, ScreenOf(game, stopX, stopY + 1));
  ASSERT_NE(BuildingAt(game, stopX, stopY + 1), nullptr);
  ASSERT_EQ(BuildingAt(game, stopX, stopY + 1)->GetType(), OBJ_PARKRIDE);

  game.ChooseTool(23, -1, -1);
  ClickAt(game, ScreenOf(game, stopX, stopY));
  EXPECT_STREQ(game.World().GetMessage()->GetAchtungMessage(), CUserInt::GetAchtungText(65, 0));
  EXPECT_NE(game.Ui().IsWindowOpen(223), 0) << "no question: the stop stays";
  EXPECT_EQ(game.Map().GetIsoTileObject(stopX, stopY, ISO_LAYER_UPPER), stop);

  // Without the site the stop's question comes, and yes removes it for its
  // removal price.
  ASSERT_EQ(game.World().RemoveObject(stopX, stopY + 1, ISO_LAYER_GROUND, true), 0);
  const double before = Money(game);
  game.Do(Wait(2000));
  ClickAt(game, ScreenOf(game, stopX, stopY));
  ASSERT_EQ(game.Ui().IsWindowOpen(223), 0);
  ClickAt(game, ItemCentre(223, 184, 76, 56, 16));
  EXPECT_EQ(game.Map().GetIsoTileObject(stopX, stopY, ISO_LAYER_UPPER), nullptr);
  EXPECT_EQ(Money(game), before - 4000);
}

}  // namespace
