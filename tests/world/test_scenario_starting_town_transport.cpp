// A new game in the start-up town, played with the mouse only: a track laid
// with the rail tool south of the town, two tram stops on it, a tram line
// clicked together from the lines page, a tram bought and put on the line
// until it runs; and car sharing, whose stations wait for the office, which
// stands on free land beside the streets but not on a street.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "gui/screen_window.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/carsharing.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "measures/opnv_net.h"
#include "measures/preise.h"
#include "model/data_exchange.h"
#include "model/message.h"
#include "opnv_window_steps.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

// The palette's button of the bar, the warning window and the car-sharing
// page.
constexpr Point kPaletteButton = {540 + 18, 505 + 18};
constexpr int kWarning = 220;
constexpr int kCarsharingPage = 84;

Point ScreenOf(Scenario& game, int x, int y) {
  Point p;
  EXPECT_TRUE(game.ScreenOfCell(x, y, &p.x, &p.y)) << x << "/" << y;
  return p;
}

int Ground(Scenario& game, int x, int y) {
  return game.Map().GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND);
}

double Value(Scenario& game, const char* key) {
  double v = 0;
  EXPECT_EQ(game.World().GetDataExchange()->GetVarData(key, &v), 0) << key;
  return v;
}

// The new game: the start-up town loaded at start-up, the view moved three
// steps south so that the free land below the town shows.
std::unique_ptr<Scenario> NewGameInTheStartingTown() {
  Clock().Set(0);
  std::filesystem::create_directories("SaveGame");
  for (const char* f : {"STARTUP.AUD", "STARTUP.AUM"})
    std::filesystem::copy_file(BinaryDir() + "/gamedata/SaveGame/" + f, std::string("SaveGame/") + f,
                               std::filesystem::copy_options::overwrite_existing);
  auto game = std::make_unique<Scenario>("AUTOLOAD=1\n");
  for (int i = 0; i < 3; ++i) game->Run({KeyDown(SDLK_DOWN), Wait(100), KeyUp(SDLK_DOWN), Wait(100)});
  return game;
}

// The town's south street runs along y = 72 from x = 54 to 74, the river
// along x = 70 and 71; the land between them is free.
constexpr int kSouthStreetY = 72;
constexpr int kTrackY = 76, kTrackFrom = 58, kTrackTo = 68;

TEST(ScenarioStartingTownTransport, ATrackTwoTramStopsAndATramLineAreMadeWithTheMouseAndTheTramRuns) {
  auto game = NewGameInTheStartingTown();
  Scenario& g = *game;
  COpnv& opnv = *g.World().GetOpnv();
  ASSERT_EQ(Ground(g, 60, kSouthStreetY), OBJ_STREET_PIECE) << "the start-up town";
  ASSERT_EQ(Ground(g, 60, kTrackY), OBJ_GROUND);

  // The rail tool from the network menu, dragged across the free land.
  BarButton(g, kNetButton);
  ASSERT_TRUE(g.IsOpen(20));
  ClickAt(g, ButtonOf(20, 5, 165));
  ASSERT_EQ(CUserInt::selObj.tool, 2);
  ASSERT_EQ(CUserInt::selObj.subtool, 9);
  const Point from = ScreenOf(g, kTrackFrom, kTrackY), to = ScreenOf(g, kTrackTo, kTrackY);
  g.Drag(from.x, from.y, to.x, to.y).Do(Wait(40));
  for (int x = kTrackFrom + 2; x <= kTrackTo - 2; ++x)
    for (int y : {kTrackY, kTrackY + 1}) ASSERT_EQ(Ground(g, x, y), OBJ_RAIL_PIECE) << x << "/" << y;

  // The tram stop from the stop menu: shown over the track, placed there.
  BarButton(g, kNetButton);
  ClickAt(g, ButtonOf(20, 5, 128));
  ASSERT_TRUE(g.IsOpen(21));
  ClickAt(g, ButtonOf(21, 5, 90));
  ASSERT_EQ(CUserInt::selObj.tool, 5);
  ASSERT_EQ(CUserInt::selObj.objectType, OBJ_TRAMSTOP);
  const double infrastructure = Value(g, "OPNV.F.COST.INFRASTRUCTURE");
  CSecondLayerObject* stops[2] = {};
  const int stopX[2] = {61, 64};
  for (int i = 0; i < 2; ++i) {
    const Point p = ScreenOf(g, stopX[i], kTrackY);
    g.Run({Move(p.x, p.y), Wait(40)});
    ASSERT_EQ(CUserInt::selObj.busStopShowable, 1) << "the stop shows over the track at " << stopX[i];
    ClickAt(g, p);
    stops[i] = dynamic_cast<CSecondLayerObject*>(g.Map().GetIsoTileObject(stopX[i], kTrackY, ISO_LAYER_UPPER));
    ASSERT_NE(stops[i], nullptr) << "the click places it";
    EXPECT_EQ(stops[i]->GetType(), OBJ_TRAMSTOP);
    g.Run({Move(p.x, p.y + 1), Wait(40)});
    EXPECT_EQ(CUserInt::selObj.busStopShowable, 0) << "the place is taken now";
  }
  EXPECT_NE(stops[0], stops[1]);
  EXPECT_EQ(opnv.GetHstCount(), 2);
  EXPECT_EQ(Value(g, "OPNV.F.COST.INFRASTRUCTURE") - infrastructure, 2 * static_cast<int>(CPreise::GetPreis(15, 0)));
  // A stop on the street beside is no tram stop's place.
  const Point street = ScreenOf(g, 64, kSouthStreetY);
  g.Run({Move(street.x, street.y), Wait(40)});
  EXPECT_EQ(CUserInt::selObj.busStopShowable, 0);

  // The line through both stops, with a bought tram put on it.
  COpnvLine* line = TramLineWithTheMouse(g, ScreenOf(g, stopX[0], kTrackY), ScreenOf(g, stopX[1], kTrackY));
  ASSERT_NE(line, nullptr);
  UntilAVehicleRuns(g, *line);
  EXPECT_GT(line->GetVehicleCount(), 0) << "a tram went out on the line";
  g.Shot("starting-town-tram");
}

// The traffic buildings' menu of the palette, and one of its buttons.
void TrafficBuilding(Scenario& game, int buttonY) {
  BarButton(game, kPaletteButton);
  ASSERT_TRUE(game.IsOpen(23));
  ClickAt(game, ButtonOf(23, 5, 54));
  ASSERT_TRUE(game.IsOpen(58));
  ClickAt(game, ButtonOf(58, 5, buttonY));
}

int CarsharingHint() { return CUserInt::topWindow->GetWindowByID(kCarsharingPage)->GetHinweisWindow(); }

TEST(ScenarioStartingTownTransport, CarSharingStationsWaitForTheOfficeWhichStandsBesideTheStreetNotOnIt) {
  auto game = NewGameInTheStartingTown();
  Scenario& g = *game;
  CCarsharing& carsharing = *g.World().GetCarsharing();
  auto outlets = [&] {
    double n = -1;
    EXPECT_EQ(carsharing.GetVarData("CS.NUMBER", &n), 0);
    return n;
  };
  EXPECT_EQ(CarsharingHint(), 1) << "the page tells there is no car sharing yet";

  // A station before the office: the player is told to build the office.
  constexpr int kOfficeButton = 17, kStationButton = 54;
  TrafficBuilding(g, kStationButton);
  ASSERT_TRUE(g.IsOpen(kWarning));
  EXPECT_STREQ(g.World().GetMessage()->GetAchtungMessage(), "Sie m\xFCssen zuerst eine Carsharing-Zentrale bauen!");
  EXPECT_NE(CUserInt::selObj.tool, 7);
  ClickAt(g, ButtonOf(kWarning, 100, 30));
  ASSERT_FALSE(g.IsOpen(kWarning));

  // The office: refused on the street, with the reason, placed on the free
  // land beside it and paid for.
  TrafficBuilding(g, kOfficeButton);
  ASSERT_EQ(CUserInt::selObj.tool, 7);
  ASSERT_EQ(CUserInt::selObj.subtool, 1);
  const double money = Value(g, "F.KONTO");
  ClickAt(g, ScreenOf(g, 64, kSouthStreetY));
  EXPECT_EQ(Ground(g, 64, kSouthStreetY), OBJ_STREET_PIECE);
  EXPECT_EQ(outlets(), 0);
  EXPECT_EQ(Value(g, "F.KONTO"), money) << "nothing built, nothing paid";
  ASSERT_TRUE(g.IsOpen(kWarning));
  EXPECT_STREQ(g.World().GetMessage()->GetAchtungMessage(), "Das Geb\xE4ude braucht freies Land!");
  ClickAt(g, ButtonOf(kWarning, 100, 30));
  ASSERT_FALSE(g.IsOpen(kWarning));
  ClickAt(g, ScreenOf(g, 58, kSouthStreetY + 2));
  EXPECT_EQ(Ground(g, 58, kSouthStreetY + 2), OBJ_CARSHARING_CENTRE);
  EXPECT_EQ(Ground(g, 59, kSouthStreetY + 3), OBJ_CARSHARING_CENTRE) << "on its four cells";
  EXPECT_EQ(outlets(), 1);
  EXPECT_EQ(CarsharingHint(), 0) << "the page shows car sharing now";
  EXPECT_EQ(Value(g, "F.KONTO"), money - static_cast<int>(CPreise::GetPreis(33, 0)));

  // A second office is refused; a station stands on free land only.
  TrafficBuilding(g, kOfficeButton);
  ASSERT_TRUE(g.IsOpen(kWarning));
  EXPECT_EQ(std::strncmp(g.World().GetMessage()->GetAchtungMessage(), "Sie ben\xF6tigen nur eine Carsharing-Zentrale",
                         40),
            0);
  ClickAt(g, ButtonOf(kWarning, 100, 30));
  TrafficBuilding(g, kStationButton);
  ASSERT_EQ(CUserInt::selObj.tool, 7);
  ASSERT_EQ(CUserInt::selObj.subtool, 2);
  ClickAt(g, ScreenOf(g, 64, kSouthStreetY));
  EXPECT_EQ(outlets(), 1);
  ASSERT_TRUE(g.IsOpen(kWarning));
  EXPECT_STREQ(g.World().GetMessage()->GetAchtungMessage(), "Das Geb\xE4ude braucht freies Land!");
  ClickAt(g, ButtonOf(kWarning, 100, 30));
  ClickAt(g, ScreenOf(g, 64, kSouthStreetY + 2));
  EXPECT_EQ(Ground(g, 64, kSouthStreetY + 2), OBJ_CARSHARING_STATION);
  EXPECT_EQ(outlets(), 2);
  double cars = 0;
  ASSERT_EQ(carsharing.GetVarData("CS.PKW", &cars), 0);
  EXPECT_GT(cars, 0);

  // The mobility group's car-sharing page, opened from the bar, counts both.
  BarButton(g, kOpnvButton);
  ClickAt(g, ButtonOf(25, 5, 55));
  EXPECT_TRUE(g.IsOpen(kCarsharingPage));
  EXPECT_EQ(CarsharingHint(), 0);
  g.Shot("starting-town-carsharing");
}


// Before any street the palette's buildings are refused with the reason,
// while a track and its tram stop may come first.
TEST(ScenarioStartingTownTransport, BeforeAnyStreetASchoolIsRefusedButATrackAndATramStopAreNot) {
  Scenario game;
  int cx = -1, cy = -1;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(250, 220, &cx, &cy), 0);
  ASSERT_EQ(Ground(game, cx, cy), OBJ_GROUND);

  BarButton(game, kPaletteButton);
  ClickAt(game, ButtonOf(23, 5, 17));
  ClickAt(game, ButtonOf(57, 5, 54));
  ASSERT_TRUE(game.IsOpen(34));
  ClickAt(game, ButtonOf(34, 3, 5));  // the small school
  ASSERT_EQ(CUserInt::selObj.tool, 6);
  // The window that turns the building, which the tool opens over the
  // map, is closed so that the click reaches the map.
  game.Ui().DeActivateWindow(228);
  ClickAt(game, ScreenOf(game, cx, cy));
  EXPECT_EQ(Ground(game, cx, cy), OBJ_GROUND) << "no school";
  ASSERT_TRUE(game.IsOpen(kWarning));
  EXPECT_STREQ(game.World().GetMessage()->GetAchtungMessage(), "Sie m\xFCssen zuerst eine Stra\xDF" "e bauen!");
  ClickAt(game, ButtonOf(kWarning, 100, 30));

  BarButton(game, kNetButton);
  ClickAt(game, ButtonOf(20, 5, 165));
  const Point from = ScreenOf(game, cx - 6, cy), to = ScreenOf(game, cx + 6, cy);
  game.Drag(from.x, from.y, to.x, to.y).Do(Wait(40));
  ASSERT_EQ(Ground(game, cx, cy), OBJ_RAIL_PIECE);
  BarButton(game, kNetButton);
  ClickAt(game, ButtonOf(20, 5, 128));
  ClickAt(game, ButtonOf(21, 5, 90));
  const Point stop = ScreenOf(game, cx, cy);
  game.Run({Move(stop.x, stop.y), Wait(40)});
  ASSERT_EQ(CUserInt::selObj.busStopShowable, 1);
  ClickAt(game, stop);
  auto* tram = game.Map().GetIsoTileObject(cx, cy, ISO_LAYER_UPPER);
  ASSERT_NE(tram, nullptr);
  EXPECT_EQ(tram->GetType(), OBJ_TRAMSTOP);
  EXPECT_FALSE(game.IsOpen(kWarning));
}

}  // namespace
