// What a load lays again after the records are read: the car parks'
// guidance signs, which the savegame does not hold, and the population
// the adviser last announced, which belongs to the loaded town.
#include <gtest/gtest.h>

#include "measures/park_management.h"
#include "model/data_exchange.h"
#include "model/message.h"
#include "world/town_fixture.h"

namespace {

using towntest::Town;

struct LoadSteps : Town {
  CBuildingParkingObject* ParkAt(int x, int y) { return dynamic_cast<CBuildingParkingObject*>(BuildingAt(x, y)); }
};

TEST_F(LoadSteps, ACarParkWithGuidanceHasItsSignAgainRightAfterTheLoad) {
  ASSERT_NE(Place(OBJ_CARPARK_OPEN, 39431, 62, 64), nullptr);
  ASSERT_NE(Place(OBJ_CARPARK_GARAGE, 27552, 57, 61), nullptr);
  CBuildingParkingObject* guided = ParkAt(62, 64);
  ASSERT_NE(guided, nullptr);
  ASSERT_EQ(guided->SetVarData("PH.PLS", 1.0), 0);
  ASSERT_NE(guided->GetPLS(), nullptr);
  const int x = guided->GetPLS()->GetXPos(), y = guided->GetPLS()->GetYPos();

  ASSERT_EQ(world.SerializeGameStore("SaveGame/SIGN.GMD"), 0);
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/SIGN.GMD"), 0);
  // No turn has run: the sign comes from the load itself.
  CBuildingParkingObject* back = ParkAt(62, 64);
  ASSERT_NE(back, nullptr);
  CSecondLayerObject* sign = back->GetPLS();
  ASSERT_NE(sign, nullptr);
  EXPECT_EQ(sign->GetXPos(), x);
  EXPECT_EQ(sign->GetYPos(), y);
  EXPECT_EQ(sign->GetParking(), back);
  EXPECT_EQ(world.GetIsoWelt()->GetIsoTileObject(x, y, ISO_LAYER_UPPER), sign);
  EXPECT_EQ(world.GetParkManagement()->GetList("PRM.DISPLAYLIST")->GetCount(), 1);
  // The car park without guidance gets none.
  ASSERT_NE(ParkAt(57, 61), nullptr);
  EXPECT_EQ(ParkAt(57, 61)->GetPLS(), nullptr);

  // A second load lays the sign once, not beside the old one.
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/SIGN.GMD"), 0);
  ASSERT_NE(ParkAt(62, 64), nullptr);
  EXPECT_NE(ParkAt(62, 64)->GetPLS(), nullptr);
  EXPECT_EQ(world.GetParkManagement()->GetList("PRM.DISPLAYLIST")->GetCount(), 1);
}

TEST_F(LoadSteps, TheLastAnnouncedPopulationIsTheLoadedTownsWhicheverGameRanBefore) {
  ASSERT_EQ(world.SerializeGameStore("SaveGame/TOWN.GMD"), 0);
  CMessage* message = world.GetMessage();
  ASSERT_NE(message, nullptr);
  const int people = world.GetDataExchange()->GetPeople();
  // A larger town ran before (the loaded one would announce nothing until it
  // passed that size), and a smaller one (it would announce a size it has
  // already had).
  for (const int before : {people + 200000, -1}) {
    message->SetLastPeopleSizeMessage(before);
    ASSERT_EQ(world.SerializeGameLoad("SaveGame/TOWN.GMD"), 0) << before;
    EXPECT_EQ(message->GetLastPeopleSizeMessage(), world.GetDataExchange()->GetPeople()) << before;
    EXPECT_EQ(message->GetLastPeopleSizeMessage(), people) << before;
  }
}

}  // namespace
