// A building the player places over a street: the cells under the mouse
// show before the click that it cannot go there, the click builds nothing,
// costs nothing and says why; on free land beside it the same building
// stands. Played through the frame loop on the real game.
#include <gtest/gtest.h>

#include <string>

#include "framework/qno_resource.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "model/data_exchange.h"
#include "model/message.h"
#include "support/scenario.h"
#include "ui/user_int.h"
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

}  // namespace
