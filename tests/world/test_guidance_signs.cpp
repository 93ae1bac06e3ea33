// Guidance signs in the running game: a street's traffic guidance sign is
// counted by the traffic displays while it stands, once after a load, and
// leaves them with its street; a car park's guidance sign goes with the
// street it stands by.
#include <gtest/gtest.h>

#include <vector>

#include "framework/zor_stand_in.h"
#include "measures/park_management.h"
#include "measures/traffic_display.h"
#include "world/town_fixture.h"

namespace {

using towntest::Town;

struct Signs : Town {
  CTrafficDisplay* Displays() { return world.GetTrafficDisplay(); }
  // The objects of the world's list of that kind.
  std::vector<CWorldObj*> Listed(TObjectType kind) {
    std::vector<CWorldObj*> out;
    for (CZorvaObject* o = world.GetObjectList()->GetHead(); o; o = o->GetNext())
      if (static_cast<CWorldObj*>(o)->GetType() == kind) out.push_back(static_cast<CWorldObj*>(o));
    return out;
  }
  // The street of the network whose pieces cover (x, y).
  CStrStrasse* StreetThrough(int x, int y) {
    for (CStrStrasse* s : Streets())
      if (s->GetStrassenTeilAt(static_cast<short>(x), static_cast<short>(y))) return s;
    return nullptr;
  }
  // The traffic displays' list and count, and the signs on the map, agree
  // on n signs.
  void ExpectSigns(size_t n) {
    const std::vector<CWorldObj*> signs = Listed(OBJ_TRAFFIC_SIGN);
    EXPECT_EQ(signs.size(), n);
    EXPECT_EQ(Displays()->GetDisplayList()->GetCount(), static_cast<int>(n));
    EXPECT_EQ(Displays()->GetBlock().number, static_cast<int32_t>(n));
    for (CWorldObj* sign : signs) EXPECT_EQ(Displays()->GetDisplayList()->CheckZorvaInList(sign), 0);
  }
};

TEST_F(Signs, AStreetsGuidanceSignIsCountedWhileItStandsAndOnceAfterALoad) {
  LongStreetAt80();
  CStrStrasse* street = StreetThrough(80, 60);
  ASSERT_NE(street, nullptr);
  ExpectSigns(0);
  ASSERT_TRUE(street->SetVLS(true, true));
  ExpectSigns(1);
  // Switched off with its sign, the sign leaves the count.
  ASSERT_TRUE(street->SetVLS(false, true));
  ExpectSigns(0);
  ASSERT_TRUE(street->SetVLS(true, true));
  ExpectSigns(1);
  // The sign is not saved but put up again: counted once, not twice.
  ASSERT_EQ(world.SerializeGameStore("SaveGame/SIGNS.GMD"), 0);
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/SIGNS.GMD"), 0);
  ExpectSigns(1);
  // The street goes, and its sign with it.
  street = StreetThrough(80, 60);
  ASSERT_NE(street, nullptr);
  ASSERT_TRUE(street->HasVLS());
  ASSERT_EQ(world.GetStreetNet()->DeleteStreet(street), 0);
  ExpectSigns(0);
}

TEST_F(Signs, ACarParksGuidanceSignGoesWithItsStreet) {
  ASSERT_NE(Place(OBJ_CARPARK_OPEN, 39431, 62, 64), nullptr);
  auto* park = dynamic_cast<CBuildingParkingObject*>(BuildingAt(62, 64));
  ASSERT_NE(park, nullptr);
  ASSERT_EQ(park->SetVarData("PH.PLS", 1.0), 0);
  CSecondLayerObject* sign = park->GetPLS();
  ASSERT_NE(sign, nullptr);
  CStrStrasse* street = park->GetPLSStreet();
  ASSERT_NE(street, nullptr);
  ASSERT_TRUE(street->HasPls());
  const int x = sign->GetXPos(), y = sign->GetYPos();
  const int reached = ZorStandInCount("CWorldHost::DestroyPLSObject");
  ASSERT_EQ(world.GetStreetNet()->DeleteStreet(street), 0);
  EXPECT_EQ(park->GetPLS(), nullptr);
  EXPECT_EQ(park->GetPLSStreet(), nullptr);
  EXPECT_EQ(world.GetIsoWelt()->GetIsoTileObject(x, y, ISO_LAYER_UPPER), nullptr);
  EXPECT_EQ(world.GetParkManagement()->GetList("PRM.DISPLAYLIST")->GetCount(), 0);
  EXPECT_TRUE(Listed(OBJ_PARKING_SIGN1).empty());
  EXPECT_TRUE(Listed(OBJ_PARKING_SIGN2).empty());
  EXPECT_EQ(ZorStandInCount("CWorldHost::DestroyPLSObject"), reached);
  // Guidance stays switched on: only its sign went.
  EXPECT_EQ(park->GetParkingData()->guidanceOff, 0);
}

}  // namespace
