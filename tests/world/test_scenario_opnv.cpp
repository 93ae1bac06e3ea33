// Public transport in the running game: stops placed with the stop tool
// along the streets and the track of a town, two bus lines sharing a stop
// and a tram line with a walk to the buses, vehicles bought and put on the
// lines, a simulated day of accounts, and a savegame that keeps it all.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "measures/opnv_net.h"
#include "network/rail_junction_list.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "scenario_opnv_steps.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;

constexpr int kTurnMs = 50;
constexpr int kHourMs = 400;

TEST(ScenarioOpnv, StopsLinesFleetAndAccountsRunADayAndSurviveASavegame) {
  Clock().Set(0);
  std::filesystem::create_directories("SaveGame");
  Scenario game;
  CZorvaWorld& world = game.World();
  COpnv& opnv = *world.GetOpnv();
  Cell c;
  ASSERT_EQ(game.Map().MouseKoorToIsoKoor(250, 220, &c.x, &c.y), 0);
  // An avenue, a street across it and a track beside it.
  auto street = [&](int x1, int y1, int x2, int y2) { return BuildStreet(world, x1, y1, x2, y2); };
  ASSERT_EQ(street(c.x - 9, c.y, c.x + 9, c.y), STR_BUILD_OK);
  ASSERT_EQ(street(c.x, c.y, c.x, c.y + 9), STR_BUILD_OK);
  CStrBuildLine track(static_cast<short>(c.x + 1), static_cast<short>(c.y + 5), static_cast<short>(c.x + 11),
                      static_cast<short>(c.y + 5));
  ASSERT_EQ(world.GetStreetNet()->GetRailNet()->CreateStreet(&track, STRASSE_SCHIENE), STR_BUILD_OK);

  // Bus stops along the avenue and the street, a tram stop on the track.
  CSecondLayerObject* west = PlaceStop(game, 1, {c.x - 6, c.y});
  CSecondLayerObject* east = PlaceStop(game, 1, {c.x + 5, c.y});
  CSecondLayerObject* south = PlaceStop(game, 1, {c.x, c.y + 6});
  CSecondLayerObject* tramWest = PlaceStop(game, 4, {c.x + 4, c.y + 5});
  CSecondLayerObject* tramEast = PlaceStop(game, 4, {c.x + 7, c.y + 5});
  ASSERT_TRUE(west && east && south && tramWest && tramEast);
  EXPECT_EQ(opnv.GetHstCount(), 5);
  EXPECT_EQ(tramWest->GetType(), OBJ_TRAMSTOP);

  // Two bus lines that meet at the east stop, and a tram line.
  COpnvLine* one = MakeLine(opnv, NET_BUS, {west, east});
  COpnvLine* two = MakeLine(opnv, NET_BUS, {south, east});
  COpnvLine* tram = MakeLine(opnv, NET_TRAM, {tramWest, tramEast});
  ASSERT_TRUE(one && two && tram);
  for (COpnvLine* line : {one, two, tram}) {
    EXPECT_EQ(line->GetData()->stopsOneWay, 2) << line->GetID();
    EXPECT_GT(line->GetData()->length, 0.0f) << line->GetID();
    EXPECT_GT(line->GetData()->vehiclesNeeded, 0) << line->GetID();
  }
  // Lines made, the walking links follow the stops they serve: the tram
  // stops walk to the buses.
  opnv.CheckMakeVirtuellNet();
  ASSERT_NE(opnv.GetVirNet(), nullptr);
  EXPECT_GT(opnv.GetVirNet()->GetLineCount(), 0);

  // Vehicles bought and put on the lines from the pools.
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL.BUYSELL", 12), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.BUYSELL.OK", 1), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.TRAM.BUYSELL", 4), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.TRAM.BUYSELL.OK", 1), 0);
  EXPECT_EQ(COpnv::GetVarValue("OPNV.F.COST.BUS"), 12 * 150000);
  EXPECT_EQ(COpnv::GetVarValue("OPNV.F.COST.TRAM"), 4 * 2250000);
  for (COpnvLine* line : {one, two, tram}) {
    opnv.SetActiveLine(line->GetID());
    for (int i = 0; i < line->GetData()->vehiclesNeeded; ++i) ASSERT_EQ(opnv.SetVarData("OPNV.MOVEFP.PLUS", 1), 0);
    EXPECT_EQ(line->GetFpAssigned(), line->GetData()->vehiclesNeeded) << line->GetID();
  }
  const int freeBuses = opnv.GetFreeFp(FLEET_NORMAL);
  EXPECT_EQ(freeBuses, 12 - one->GetFpAssigned() - two->GetFpAssigned());

  // A simulated day.
  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - kHourMs);
  for (int turn = 0; turn < 24 * kHourMs / kTurnMs; ++turn) {
    Clock().Advance(kTurnMs);
    world.OnPlayloopTurn();
  }
  EXPECT_FALSE(opnv.GetTurnFlag()) << "the hours ran";
  // The hours booked the staff, the upkeep and the balance.
  EXPECT_GT(COpnv::GetVarValue("OPNV.PERS.DRIVER.NEEDED"), 0);
  EXPECT_GT(COpnv::GetVarValue("OPNV.F.COST.PERS"), 0);
  EXPECT_GT(COpnv::GetVarValue("OPNV.F.COST.PRESERVE"), 0);
  EXPECT_LT(COpnv::GetVarValue("OPNV.F.BILANZ"), 0);
  EXPECT_EQ(COpnv::GetVarValue("OPNV.FP.BUS"), 12);
  game.Shot("opnv_day");

  // A savegame round trip keeps every line, stop and account.
  const double balance = COpnv::GetVarValue("OPNV.F.BILANZ");
  const double staffCost = COpnv::GetVarValue("OPNV.F.COST.PERS");
  const int lines[] = {one->GetID(), two->GetID(), tram->GetID()};
  ASSERT_EQ(world.SerializeGameStore("SaveGame/OPNV.GMD"), 0);
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/OPNV.GMD"), 0);
  COpnv& loaded = *world.GetOpnv();
  EXPECT_EQ(loaded.GetHstCount(), 5);
  EXPECT_EQ(COpnv::GetVarValue("OPNV.F.BILANZ"), balance);
  EXPECT_EQ(COpnv::GetVarValue("OPNV.F.COST.PERS"), staffCost);
  EXPECT_EQ(COpnv::GetVarValue("OPNV.FP.BUS"), 12);
  EXPECT_EQ(loaded.GetFreeFp(FLEET_NORMAL), freeBuses);
  for (int number : lines) {
    COpnvLine* line = loaded.GetLineByID(number);
    ASSERT_NE(line, nullptr) << number;
    EXPECT_EQ(line->GetData()->stopsOneWay, 2) << number;
    for (int i = 0; i < 2; ++i) EXPECT_NE(line->GetData()->stopObjects[i], nullptr) << number;
  }
  EXPECT_EQ(loaded.GetLineByID(lines[2])->GetNetType(), NET_TRAM);
  EXPECT_GT(loaded.GetVirNet()->GetLineCount(), 0) << "the walking links are made again";
}

}  // namespace
