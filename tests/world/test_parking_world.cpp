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
#include "measures/park_ride.h"
#include "sim/sim_welt.h"
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


// A town with homes and work, a park-and-ride lot and a car park beside its
// streets, played through the frame loop at a fast speed for simulated
// hours: the demand model fills the car park past its places, and the game
// saves and loads with the car park's load and the lot as they were.
TEST_F(Parks, AParkAndRideLotAndACarParkInUseComeBackFromTheSavegame) {
  ASSERT_EQ(Street(40, 63, 60, 63), STR_BUILD_OK);
  ASSERT_NE(Place(OBJ_RESIDENTIAL, 35797, 50, 61), nullptr);
  ASSERT_NE(Place(OBJ_OFFICE, 10378, 50, 64), nullptr);
  auto* lot = dynamic_cast<CBuildingParkRideObject*>(Place(OBJ_PARKRIDE, CBuildingParkRideObject::kResIDZ[0], 62, 61));
  ASSERT_NE(lot, nullptr);
  ASSERT_NE(Place(OBJ_CARPARK_OPEN, 39431, 62, 64), nullptr);
  world.SetGameSpeed(CZorvaWorld::kGameSpeedSum - 200);
  CSimWelt* sim = world.GetSimWelt();
  const int firstYear = sim->Date().Year();
  const ParkingDataType* used = ParkAt(62, 64)->GetParkingData();
  for (int i = 0; i < 4000 && used->carLoad <= 1.0f && sim->Date().Year() < firstYear + 2; ++i)
    game.Do(zortest::Wait(100));
  ASSERT_GT(used->carLoad, 1.0f) << "the car park was not filled past its places";
  const ParkingDataType before = *used;
  const int hour = sim->Date().Hour();

  OpenErrorLog("errors.log");
  ASSERT_EQ(world.SerializeGameStore("SaveGame/USED.GMD"), 0);
  EXPECT_EQ(world.SerializeGameLoad("SaveGame/USED.GMD"), 0);
  CloseErrorLog();
  EXPECT_EQ(zortest::ReadFile("errors.log").find("The building record"), std::string::npos)
      << "nothing the game wrote is out of range";
  ASSERT_NE(ParkAt(62, 64), nullptr);
  EXPECT_TRUE(*ParkAt(62, 64)->GetParkingData() == before);
  EXPECT_EQ(sim->Date().Hour(), hour);
  EXPECT_NE(dynamic_cast<CBuildingParkRideObject*>(BuildingAt(62, 61)), nullptr);
  EXPECT_EQ(world.GetParkRide()->Stations(), 1);
  // The loaded game plays on.
  game.Do(zortest::Wait(400));
  EXPECT_GE(ParkAt(62, 64)->GetParkingData()->carLoad, 0.0f);
}

// The offset of the first record named `name` in a savegame: its 30-byte
// name field, then its payload.
size_t RecordAt(const std::string& game, const char* name) {
  const size_t at = game.find(name);
  EXPECT_NE(at, std::string::npos) << name;
  return at;
}
// The car park's record: the name, the building's 110 bytes, then the
// 76 bytes of its parking record.
constexpr size_t kParkingField = 30 + 110;
constexpr size_t kCarLoad = 44;

std::string FloatBytes(float v) { return std::string(reinterpret_cast<const char*>(&v), 4); }

// A spoilt management record's length refuses the savegame, and the game
// goes on as it was; a spoilt value in a car park's record is held to its
// range with a log line naming the car park, and the game loads.
TEST_F(Parks, ASpoiltLengthRefusesTheSavegameAndASpoiltValueIsHeldToItsRange) {
  PlaceThree();
  ParkAt(62, 64)->SetVarData("PH.PRICE", 1.5);
  ASSERT_EQ(world.SerializeGameStore("SaveGame/GOOD.GMD"), 0);
  const std::string good = zortest::ReadFile("SaveGame/GOOD.GMD");
  const std::string companion = zortest::ReadFile(ZorCompanionName("SaveGame/GOOD.GMD"));
  auto spoil = [&](const char* name, long offset, const std::string& bytes) {
    std::string game = good;
    game.replace(static_cast<size_t>(static_cast<long>(RecordAt(good, name)) + offset), bytes.size(), bytes);
    return game;
  };
  auto load = [&](const std::string& game) {
    zortest::WriteFile("SaveGame/BAD.GMD", game);
    zortest::WriteFile(ZorCompanionName("SaveGame/BAD.GMD"), companion);
    OpenErrorLog("errors.log");
    const int result = world.SerializeGameLoad("SaveGame/BAD.GMD");
    CloseErrorLog();
    return result;
  };
  const std::string shorter("\x87\x00\x00\x00", 4);  // 135 in place of 136
  EXPECT_NE(load(spoil("ParkManagement", -4, shorter)), 0);
  EXPECT_NE(zortest::ReadFile("errors.log").find("length 105 is not 106"), std::string::npos);
  EXPECT_EQ(Manager()->GetParkingCount(), 3);

  // The records are written head first: the first is the last placed.
  const struct {
    size_t field;
    std::string bytes;
    const char* logged;
  } held[] = {
      {4, FloatBytes(std::nanf("")), "its price nan is out of range and taken as 0"},
      {4, FloatBytes(7.5f), "its price 7.5 is out of range and taken as 2"},
      {68, std::string("\x00\x00", 2), "its district id 0 is out of range and taken as 1"},
      {kCarLoad, FloatBytes(-0.25f), "its car load -0.25 is out of range and taken as 0"},
  };
  for (const auto& c : held) {
    EXPECT_EQ(load(spoil("BuildingParkingObject", static_cast<long>(kParkingField + c.field), c.bytes)), 0)
        << c.logged;
    const std::string line = std::string("The building record BUILDINGPARKINGOBJECT of kind 20 at 63/60: ") + c.logged;
    EXPECT_NE(zortest::ReadFile("errors.log").find(line), std::string::npos)
        << line << "\n" << zortest::ReadFile("errors.log");
    EXPECT_EQ(Manager()->GetParkingCount(), 3) << c.logged;
    // The other car parks come back as they were.
    ASSERT_NE(ParkAt(62, 64), nullptr);
    EXPECT_EQ(ParkAt(62, 64)->GetParkingData()->price, 1.5f) << c.logged;
  }
  const ParkingDataType* deck = ParkAt(63, 60)->GetParkingData();
  EXPECT_EQ(deck->carLoad, 0.0f);
  EXPECT_EQ(deck->price, 1.0f) << "the other fields are as saved";
}

// The game before this mend wrote a used car park with the load the demand
// model gave it, above 1 when the car park was overfull, and could not load
// it. Such a savegame loads without a word about that car park; a load
// below 0, which no game writes, is held to 0 with a log line. (The loads
// are computed again from the loaded city at the end of every load.)
TEST_F(Parks, ASavegameOfAnOverfullCarParkWrittenBeforeLoads) {
  PlaceThree();
  ParkAt(63, 60)->SetVarData("PH.PRICE", 0.5);
  ASSERT_EQ(world.SerializeGameStore("SaveGame/GOOD.GMD"), 0);
  std::string old = zortest::ReadFile("SaveGame/GOOD.GMD");
  const std::string companion = zortest::ReadFile(ZorCompanionName("SaveGame/GOOD.GMD"));
  // The first record is the garage at 63/60; the one at 62/64 comes last.
  const size_t deck = RecordAt(old, "BuildingParkingObject") + kParkingField;
  const size_t open = old.rfind("BuildingParkingObject") + kParkingField;
  ASSERT_NE(deck, open);
  old.replace(deck + kCarLoad, 4, FloatBytes(1.84f));
  old.replace(deck + 32, 4, std::string("\x72\x01\x00\x00", 4));  // 370 of 249 car places in use
  old.replace(open + kCarLoad, 4, FloatBytes(-0.5f));
  zortest::WriteFile("SaveGame/OLD.GMD", old);
  zortest::WriteFile(ZorCompanionName("SaveGame/OLD.GMD"), companion);
  OpenErrorLog("errors.log");
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/OLD.GMD"), 0);
  CloseErrorLog();
  const std::string log = zortest::ReadFile("errors.log");
  EXPECT_EQ(log.find("at 63/60"), std::string::npos) << log;
  EXPECT_NE(log.find("The building record BUILDINGPARKINGOBJECT of kind 18 at 62/64: its car load -0.5 is out of "
                     "range and taken as 0"),
            std::string::npos)
      << log;
  EXPECT_EQ(Manager()->GetParkingCount(), 3);
  ASSERT_NE(ParkAt(63, 60), nullptr);
  EXPECT_EQ(ParkAt(63, 60)->GetParkingData()->price, 0.5f);
  EXPECT_EQ(ParkAt(63, 60)->GetParkingData()->number, 3);
}

}  // namespace
