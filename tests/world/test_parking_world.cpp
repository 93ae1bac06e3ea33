// Car parks in the running game: three sizes placed through the factory,
// their money and averages answering through the data exchange, the
// guidance sign by the nearest crossing, and the savegame.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "framework/qno_log.h"
#include "support/test_support.h"
#include "world/zor_savegame.h"

#include "measures/park_management.h"
#include "model/data_exchange.h"
#include "world/town_fixture.h"

namespace {

using towntest::Town;

struct Parks : Town {
  CParkManagement* Manager() { return world.GetParkManagement(); }
  CBuildingParkingObject* ParkAt(int x, int y) { return dynamic_cast<CBuildingParkingObject*>(BuildingAt(x, y)); }
  double Dx(const char* name) { return world.GetDataExchange()->GetVarValue(name); }
  void PlaceThree() {
    ASSERT_NE(Place(OBJ_CARPARK_OPEN, 39431, 62, 64), nullptr);
    ASSERT_NE(Place(OBJ_CARPARK_GARAGE, 27552, 57, 61), nullptr);
    ASSERT_NE(Place(OBJ_CARPARK_GARAGE2, 28031, 63, 60), nullptr);
  }
};

TEST_F(Parks, ThreeSizesAnswerThroughTheDataExchangeAndComeBackFromTheSavegame) {
  PlaceThree();
  EXPECT_EQ(Manager()->GetParkingCount(), 3);
  EXPECT_EQ(Dx("PRM.PLACES"), 430.0);
  CBuildingParkingObject* middle = ParkAt(57, 61);
  ASSERT_NE(middle, nullptr);
  EXPECT_EQ(middle->GetParkingData()->places, 120);
  EXPECT_EQ(middle->GetDistrictID(), CSimLocationFactory::DistrictOf(57, 61));
  middle->SetVarData("PH.PRICE", 2.0);
  middle->SetVarData("PH.PRS", 1.0);
  middle->GetParkingData()->carLoad = 0.5f;
  STime last, now;
  last.fyear = 0.0f;
  now.fyear = 0.25f;
  Manager()->OnPlayloopTurn(now, last);
  const double income = Dx("PRM.INCOME"), expenses = Dx("PRM.EXPENSES");
  EXPECT_EQ(income, static_cast<int>(2.0 * 119 * 0.5 * 0.25) * 1460);
  EXPECT_GT(expenses, 50000.0);
  EXPECT_EQ(Dx("PRM.BILANZ"), income - expenses);
  EXPECT_FLOAT_EQ(Dx("PRM.QUOTERESERVATION"), 120.0 / 430.0);

  ASSERT_EQ(world.SerializeGameStore("SaveGame/PARKS.GMD"), 0);
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/PARKS.GMD"), 0);
  EXPECT_EQ(Manager()->GetParkingCount(), 3);
  // The turn counts the car and microcar places: 59 + 119 + 249.
  EXPECT_EQ(Dx("PRM.PLACES"), 427.0);
  EXPECT_EQ(Dx("PRM.INCOME"), income);
  EXPECT_EQ(Dx("PRM.EXPENSES"), expenses);
  CBuildingParkingObject* back = ParkAt(57, 61);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->GetParkingData()->price, 2.0f);
  EXPECT_EQ(back->GetParkingData()->reservationOff, 0);
  EXPECT_EQ(back->GetParkingData()->number, 2);
  // The numbers go on after the saved ones.
  ASSERT_NE(Place(OBJ_CARPARK_OPEN, 39431, 64, 64), nullptr);
  EXPECT_EQ(ParkAt(64, 64)->GetParkingData()->number, 4);
}

TEST_F(Parks, GuidanceSetsASignBesideTheNearestCrossingsStreetAndTakesItAway) {
  PlaceThree();
  CBuildingParkingObject* park = ParkAt(62, 64);
  ASSERT_NE(park, nullptr);
  ASSERT_NE(park->GetSimLocation(), nullptr);
  EXPECT_EQ(park->SetVarData("PH.PLS", 1.0), 0);
  CSecondLayerObject* sign = park->GetPLS();
  ASSERT_NE(sign, nullptr);
  EXPECT_TRUE(sign->GetType() == OBJ_PARKING_SIGN1 || sign->GetType() == OBJ_PARKING_SIGN2);
  EXPECT_EQ(sign->GetParking(), park);
  EXPECT_EQ(world.GetIsoWelt()->GetIsoTileObject(sign->GetXPos(), sign->GetYPos(), ISO_LAYER_UPPER), sign);
  EXPECT_EQ(Manager()->GetList("PRM.DISPLAYLIST")->GetCount(), 1);
  const int x = sign->GetXPos(), y = sign->GetYPos();
  park->SetVarData("PH.PLS", 0.0);
  EXPECT_EQ(park->GetPLS(), nullptr);
  EXPECT_EQ(world.GetIsoWelt()->GetIsoTileObject(x, y, ISO_LAYER_UPPER), nullptr);
  EXPECT_EQ(Manager()->GetList("PRM.DISPLAYLIST")->GetCount(), 0);
  // Removing a car park with its sign takes the sign too.
  park->SetVarData("PH.PLS", 1.0);
  ASSERT_NE(park->GetPLS(), nullptr);
  const int sx = park->GetPLS()->GetXPos(), sy = park->GetPLS()->GetYPos();
  EXPECT_EQ(world.RemoveObject(park, 0, false), 0);
  EXPECT_EQ(world.GetIsoWelt()->GetIsoTileObject(sx, sy, ISO_LAYER_UPPER), nullptr);
  EXPECT_EQ(Manager()->GetParkingCount(), 2);
}


// A savegame whose parking records are spoilt: the load fails with a log
// line and the game goes on as it was.
TEST_F(Parks, SpoiltParkingRecordsAreRefusedWithALogLine) {
  PlaceThree();
  ASSERT_EQ(world.SerializeGameStore("SaveGame/GOOD.GMD"), 0);
  const std::string good = zortest::ReadFile("SaveGame/GOOD.GMD");
  const std::string companion = zortest::ReadFile(ZorCompanionName("SaveGame/GOOD.GMD"));
  auto spoil = [&](const char* name, long offset, const std::string& bytes) {
    std::string game = good;
    const size_t at = game.find(name);
    EXPECT_NE(at, std::string::npos) << name;
    game.replace(static_cast<size_t>(static_cast<long>(at) + offset), bytes.size(), bytes);
    return game;
  };
  const float nan = std::nanf("");
  const std::string nanBytes(reinterpret_cast<const char*>(&nan), 4);
  const std::string shorter("\x87\x00\x00\x00", 4);  // 135 in place of 136
  const std::string district("\x00\x00", 2);
  const struct {
    std::string game;
    const char* logged;
  } cases[] = {
      {spoil("ParkManagement", -4, shorter), "length 105 is not 106"},
      {spoil("BuildingParkingObject", 30 + 110 + 4, nanBytes), "its price is out of range"},
      {spoil("BuildingParkingObject", 30 + 110 + 68, district), "its district id is out of range"},
  };
  for (const auto& c : cases) {
    zortest::WriteFile("SaveGame/BAD.GMD", c.game);
    zortest::WriteFile(ZorCompanionName("SaveGame/BAD.GMD"), companion);
    OpenErrorLog("errors.log");
    EXPECT_NE(world.SerializeGameLoad("SaveGame/BAD.GMD"), 0) << c.logged;
    CloseErrorLog();
    EXPECT_NE(zortest::ReadFile("errors.log").find(c.logged), std::string::npos) << c.logged;
    EXPECT_EQ(Manager()->GetParkingCount(), 3) << c.logged;
  }
}

}  // namespace
