// A building the player places over a street: the cells under the mouse
// show before the click that it cannot go there, the click builds nothing,
// costs nothing and says why; on free land beside it the same building
// stands. And every kind the tools place, over a street, a track, land
// and a built-up place: the marks show refused exactly where the click is
// refused, and every refused click says why. Played through the frame
// loop on the real game.
#include <gtest/gtest.h>

#include <string>

#include "framework/qno_resource.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "model/data_exchange.h"
#include "model/message.h"
#include "network/rail_junction_list.h"
#include "network/str_junction_list.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "ui/user_int_place.h"
#include "world/scenario_street_across.h"
#include "world/zor_world.h"
#include "worldbase/building_catalogue.h"

namespace {

using namespace zortest;

constexpr int kWarningWindow = 220;

double Money(Scenario& game) {
  double value = 0;
  EXPECT_EQ(game.World().GetDataExchange()->GetVarData("F.KONTO", &value), 0);
  return value;
}

std::string WarningText(Scenario& game) {
  const char* text = game.World().GetMessage()->GetAchtungMessage();
  return text ? text : "";
}

CBuildingObject* BuildingAt(Scenario& game, int x, int y) {
  return dynamic_cast<CBuildingObject*>(game.Map().GetIsoTileObject(x, y, ISO_LAYER_GROUND));
}

// The pixels of the two cell marks around a screen point: the fill of the
// mark where a building may go, and of the mark where it may not.
struct Marks {
  int buildable = 0, refused = 0;
};

Marks MarksAround(Scenario& game, int x, int y) {
  const Region around = {x - 64, y - 48, x + 64, y + 48};
  return {game.CountPixels(around, Scenario::Rgb(0x8f, 0xdc, 0x7a)),
          game.CountPixels(around, Scenario::Rgb(0xf0, 0x8a, 0x7a))};
}

struct Tool {
  const char* name;
  int tool, subtool, variant;
  TObjectType kind;
};

class ScenarioPlaceTaken : public ::testing::TestWithParam<Tool> {};

TEST_P(ScenarioPlaceTaken, OverAStreetTheMarksRefuseAndTheClickSaysWhyOnFreeLandItBuilds) {
  const Tool& t = GetParam();
  Scenario game("LANGUAGE=1\n");
  const StreetTown town = StreetAcross(game);
  // With the pointer away from the map's middle nothing is marked there.
  game.Run({Move(700, 80), Wait(40)});
  game.ChooseTool(t.tool, t.subtool, t.variant);
  ASSERT_EQ(CUserInt::selObj.tool, t.tool);
  ASSERT_GE(CUserInt::selObj.width, 2) << "a building of several cells";

  // The footprint's first row lies beside the street, its last on it.
  const int takenX = town.sx - 1, takenY = town.sy - CUserInt::selObj.depth + 1;
  int x = -1, y = -1;
  ASSERT_TRUE(game.ScreenOfCell(takenX, takenY, &x, &y));
  const Marks none = MarksAround(game, x, y);
  EXPECT_EQ(none.refused, 0);
  game.Run({Move(x, y), Wait(40)});
  const Marks taken = MarksAround(game, x, y);
  EXPECT_GT(taken.refused, 40) << "the cells show over the building's picture that it cannot go there";
  EXPECT_EQ(taken.buildable, none.buildable) << "and none shows that it can";
  game.Shot("place-taken-marks");

  const double money = Money(game);
  const CWorldObj* street = game.Map().GetIsoTileObject(town.sx, town.sy, ISO_LAYER_GROUND);
  game.Run({Press(x, y), Release(x, y), Wait(40)});
  EXPECT_EQ(game.Map().GetIsoTileObject(town.sx, town.sy, ISO_LAYER_GROUND), street);
  EXPECT_EQ(BuildingAt(game, takenX, takenY), nullptr) << "nothing is built, not even on the free cells";
  EXPECT_EQ(Money(game), money);
  EXPECT_TRUE(game.IsOpen(kWarningWindow));
  EXPECT_EQ(WarningText(game), "The building needs free land!");
  game.Ui().DeActivateWindow(kWarningWindow);
  CUserInt::selObj.warningShown = 0;

  // Two rows further from the street the land is free.
  const int freeX = takenX, freeY = town.sy - CUserInt::selObj.depth - 1;
  ASSERT_TRUE(game.ScreenOfCell(freeX, freeY, &x, &y));
  // The preview under the pointer is the chosen building's picture, not
  // that of the catalogue's first row.
  QnoResourceManager& resources = *game.World().GetResourceManager();
  const int row = CUserInt::selObj.buildingNumber;
  const auto chosen = static_cast<uint32_t>(CBuildingDataList::GetBuildingResIDByListNr(row));
  const auto first = static_cast<uint32_t>(CBuildingDataList::GetBuildingResIDByListNr(0));
  ASSERT_NE(chosen, first);
  resources.TrackRequests(true);
  game.Run({Move(x, y), Wait(40)});
  resources.TrackRequests(false);
  EXPECT_EQ(resources.RequestedIds().count(chosen), 1u);
  EXPECT_EQ(resources.RequestedIds().count(first), 0u);
  EXPECT_EQ(MarksAround(game, x, y).refused, 0) << "the building's picture covers its marks";
  game.Run({Press(x, y), Release(x, y), Wait(40)});
  CBuildingObject* built = BuildingAt(game, freeX, freeY);
  ASSERT_NE(built, nullptr);
  EXPECT_EQ(built->GetType(), t.kind);
  EXPECT_LT(Money(game), money);
  EXPECT_FALSE(game.IsOpen(kWarningWindow));
}

INSTANTIATE_TEST_SUITE_P(Buildings, ScenarioPlaceTaken,
                         ::testing::Values(Tool{"School", 6, 2, 1, OBJ_SCHOOL},
                                           Tool{"CarsharingOffice", 7, 1, -1, OBJ_CARSHARING_CENTRE}),
                         [](const ::testing::TestParamInfo<Tool>& info) { return std::string(info.param.name); });

// Every kind a tool places, at each of a town's places: what the marks
// under the pointer show is what the click does, and a refused click says
// why, in the words of the reason where the table names one.
struct Place {
  const char* name;
  int dx, dy;  // from the street's middle cell
};

// The street runs along x through (0, 0) from -8 to 8, a track along x
// at rows 6 and 7 from -8 to 8, a park stands on (3..4, -2..-1).
constexpr Place kPlaces[] = {
    {"street", 0, 0},          {"street before its end", 7, 0}, {"street beside the park", 3, 0},
    {"land beside the street", 0, -3}, {"track", 0, 6},         {"track's second row", -3, 7},
    {"open land", -4, -9},         {"street once more", 0, 0},
};

struct Reason {
  TObjectType kind;
  const char* place;
  const char* text;
};
const Reason kReasons[] = {
    {OBJ_BUSSTOP_SHELTER, "street beside the park", "The stop needs free land beside the street!"},
    {OBJ_BUSSTOP_SIGN, "street before its end", "Stop/station may not be situated directly before an end section!"},
    {OBJ_BUSSTOP_SIGN, "open land", "This can only stand on a street!"},
    {OBJ_BUSSTOP_SIGN, "street once more", "Stop/station in way!"},
    {OBJ_TRAMSTOP, "street", "A railway station can only stand on a track!"},
    {OBJ_SCHOOL, "street", "The building needs free land!"},
};

class ScenarioPlaceRule : public ::testing::TestWithParam<Tool> {};

TEST_P(ScenarioPlaceRule, TheMarksShowRefusedExactlyWhereTheClickIsRefusedAndItSaysWhy) {
  const Tool& t = GetParam();
  Scenario game("LANGUAGE=1\n");
  const StreetTown town = StreetAcross(game);
  CStrBuildLine track(static_cast<short>(town.sx - 8), static_cast<short>(town.sy + 6),
                      static_cast<short>(town.sx + 8), static_cast<short>(town.sy + 6));
  ASSERT_EQ(game.World().GetStreetNet()->GetRailNet()->CreateStreet(&track, STRASSE_SCHIENE), 100);
  ASSERT_NE(game.World().CreateObject(OBJ_PARK, place::ResIdByType(OBJ_PARK, -1, nullptr), CIsoRichtung(0),
                                      town.sx + 3, town.sy - 2, SIM_HEIGHT_ANY, nullptr, 0, nullptr, 0, -1),
            nullptr);
  ASSERT_EQ(BuildingAt(game, town.sx + 3, town.sy - 1) != nullptr, true) << "the park reaches the street";
  game.Run({Move(700, 80), Wait(40)});
  game.ChooseTool(t.tool, t.subtool, t.variant);
  ASSERT_EQ(CUserInt::selObj.tool, t.tool);
  int refused = 0, placed = 0;
  for (const Place& p : kPlaces) {
    SCOPED_TRACE(p.name);
    int x = -1, y = -1;
    ASSERT_TRUE(game.ScreenOfCell(town.sx + p.dx, town.sy + p.dy, &x, &y));
    game.Run({Move(x, y), Wait(40)});
    const bool shownRefused = CUserInt::selObj.placeRefused != 0;
    const Marks marks = MarksAround(game, x, y);
    const int objects = static_cast<int>(game.World().GetObjectList()->GetNumber());
    game.Run({Press(x, y), Release(x, y), Wait(40)});
    const bool built = static_cast<int>(game.World().GetObjectList()->GetNumber()) > objects;
    EXPECT_EQ(shownRefused, !built);
    EXPECT_EQ(marks.refused > 0, shownRefused) << "the refused marks show";
    EXPECT_EQ(game.IsOpen(kWarningWindow), !built) << WarningText(game);
    if (!built) {
      ++refused;
      EXPECT_NE(WarningText(game), "") << "a refused click says why";
      for (const Reason& r : kReasons)
        if (r.kind == t.kind && std::string(r.place) == p.name) {
          EXPECT_EQ(WarningText(game), r.text);
        }
      game.Ui().DeActivateWindow(kWarningWindow);
      CUserInt::selObj.warningShown = 0;
    } else {
      ++placed;
    }
  }
  // Each kind has places where it stands and places where it does not.
  EXPECT_GT(refused, 0);
  EXPECT_GT(placed, 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ScenarioPlaceRule,
                         ::testing::Values(Tool{"School", 6, 2, 1, OBJ_SCHOOL},
                                           Tool{"CarsharingOffice", 7, 1, -1, OBJ_CARSHARING_CENTRE},
                                           Tool{"BusStopSign", 5, 1, -1, OBJ_BUSSTOP_SIGN},
                                           Tool{"BusStopWithShelter", 5, 2, -1, OBJ_BUSSTOP_SHELTER},
                                           Tool{"RailwayStation", 5, 4, -1, OBJ_TRAMSTOP}),
                         [](const ::testing::TestParamInfo<Tool>& info) { return std::string(info.param.name); });

}  // namespace
