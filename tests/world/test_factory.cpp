// The object factory: which kinds it makes, the checks it runs on the map's
// cells for each kind, and that a failure after creation leaves no trace.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "framework/zor_list.h"
#include "measures/active_route_guidance.h"
#include "measures/advice_centre.h"
#include "measures/building_object.h"
#include "measures/carsharing.h"
#include "measures/opnv.h"
#include "measures/park_management.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_model_iface.h"
#include "ui/user_int.h"
#include "world/map_fixture.h"

namespace {

using maptest::kGroup1x1;
using maptest::kGroup1x2;
using maptest::kGroup2x3;
using maptest::kGroupHole;
using maptest::kGroupWide;
using maptest::kTile;

struct RecCarsharing : CCarsharing {
  int AddOutlet(CBuildingTrafficObject*) override {
    ++adds;
    return 0;
  }
  int RemoveOutlet(CBuildingTrafficObject*, bool force) override {
    forced.push_back(force);
    if (refuse && !force) return 1;
    ++removes;
    return 0;
  }
  int adds = 0, removes = 0;
  bool refuse = false;
  std::vector<bool> forced;
};

struct RecAktiveRP : CAktiveRoutenPlanung {
  int AddSendeMast(CBuildingObject* mast) override {
    ++masts;
    return CAktiveRoutenPlanung::AddSendeMast(mast);
  }
  int masts = 0;
};

// A location that counts the searches the world asks of it.
struct CountingLocation : CSimLocation {
  short NearestCrossing() const override { return 0; }
  bool GetNearestHst(short&, int&) const override { return false; }
  int LocationDistance(const CSimLocation*) const override { return 0; }
  CSimDistrict* pDistrict() const override { return nullptr; }
  void SearchNextCrossing() override { ++crossingSearches; }
  void FindNearestHst() override { ++stopSearches; }
  int crossingSearches = 0, stopSearches = 0;
  CBuildingObject* building = nullptr;
};

// Makes counting locations, remembers the size asked for and can refuse.
struct RecLocationFactory : CSimLocationFactory {
  CSimLocation* CreateNewLocation(const int&, const int&, const TObjectType&, const CIsoRichtung&, const int&,
                                  const int&, const SimLocationSizeType& size, const ESimLocationHeight&,
                                  CWorldObj* object, const short&, PotentialType*) override {
    if (refuse || !m_pWorld) return nullptr;
    lastSize = size;
    auto* location = new CountingLocation;
    location->building = dynamic_cast<CBuildingObject*>(object);
    if (location->building) location->building->SetSimLocation(location);
    m_locations.push_back(location);
    return location;
  }
  void RemoveLocation(CSimLocation* location) override {
    auto it = std::find(m_locations.begin(), m_locations.end(), location);
    if (it == m_locations.end()) return;
    auto* counting = static_cast<CountingLocation*>(location);
    if (counting->building && counting->building->GetSimLocation() == location)
      counting->building->SetSimLocation(nullptr);
    m_locations.erase(it);
    delete counting;
  }
  // The searches of an object's location; -1, -1 when it has none.
  std::pair<int, int> Searches(CWorldObj* object) {
    auto* building = dynamic_cast<CBuildingObject*>(object);
    auto* location = building ? static_cast<CountingLocation*>(building->GetSimLocation()) : nullptr;
    return location ? std::pair{location->crossingSearches, location->stopSearches} : std::pair{-1, -1};
  }
  bool refuse = false;
  SimLocationSizeType lastSize;
};

struct RecOpnv : COpnv {
  int AddHst(CBuildingObject*, NetActiveType net, bool loading) override {
    nets.push_back(net);
    loads.push_back(loading);
    return 0;
  }
  int RemoveHst(CBuildingObject*) override {
    ++removed;
    return 0;
  }
  int CheckLinesForNoHst() override {
    ++lineChecks;
    return 0;
  }
  int removed = 0, lineChecks = 0;
  std::vector<int> nets;
  std::vector<bool> loads;
};

// Books car parks and lets them go, as the parking manager does.
struct RecParkManagement : CParkManagement {
  int AddParking(CBuildingParkingObject* park, ToolBuildingParkingSize, ParkingDataType*) override {
    booked.push_back(park);
    return 0;
  }
  int RemoveParking(CBuildingParkingObject* park) override {
    booked.erase(std::remove(booked.begin(), booked.end(), park), booked.end());
    return 0;
  }
  std::vector<CBuildingParkingObject*> booked;
};

struct RecUserInt : CUserInt {
  // The cell (markX, markY) is classified as `mark`; every other cell passes.
  int CheckStreetForHstBuild(CStreetObj*, int x, int y) override { return x == markX && y == markY ? mark : 0; }
  void SetAchtungWindow(int text) override { warnings.push_back(text); }
  int markX = -1, markY = -1, mark = 1;
  std::vector<int> warnings;
};

class FactoryWorld : public CZorvaWorld {
 public:
  RecCarsharing* carsharing = nullptr;
  RecOpnv* opnv = nullptr;
  RecUserInt* ui = nullptr;
  RecAktiveRP* routeGuidance = nullptr;
  RecLocationFactory* locations = nullptr;
  RecParkManagement* parking = nullptr;

 protected:
  CParkManagement* NewParkManagement() override { return parking = new RecParkManagement; }
  CCarsharing* NewCarsharing() override { return carsharing = new RecCarsharing; }
  CAktiveRoutenPlanung* NewAktiveRP() override { return routeGuidance = new RecAktiveRP; }
  CSimLocationFactory* NewLocationFactory() override { return locations = new RecLocationFactory; }
  COpnv* NewOpnv() override { return opnv = new RecOpnv; }
  CUserInt* NewUserInt() override { return ui = new RecUserInt; }
};

struct FactoryTest : maptest::MapFixture<FactoryWorld> {
  // Streets without pieces: every tile reports the direction 0 (+x).
  struct TypedStreet : CStrStrasse {
    explicit TypedStreet(TStrassenType type) : CStrStrasse(nullptr, nullptr) { m_Type = type; }
  };
  TypedStreet street{STRASSE_1};
  TypedStreet fourLane{STRASSE_VIERSPURIG};

  int Listed() { return static_cast<int>(world->GetObjectList()->GetNumber()); }
  int Locations() { return world->GetLocationFactory()->GetLocationCount(); }

  CWorldObj* Make(TObjectType kind, int resId, int dir, int x, int y, int height = 0) {
    return world->CreateObject(kind, resId, CIsoRichtung(dir), x, y, static_cast<ESimLocationHeight>(height), nullptr,
                               0, nullptr, 0, -1);
  }
  // A street tile of `s` at (x, y), optionally inside a placed street group.
  CWorldObj* StreetAt(int x, int y, CStrStrasse* s, int groupRes = 0) {
    CWorldObj* piece = world->CreateObject(OBJ_STREET_PIECE);
    piece->SetData(s);
    if (groupRes)
      EXPECT_EQ(map->SetIsoGroupTurnedAt(x, y, ISO_LAYER_GROUND, groupRes, piece, CIsoRichtung(0)), 0);
    else
      EXPECT_EQ(map->SetIsoTileAt(x, y, ISO_LAYER_GROUND, CIsoRichtung(0), kTile, piece), 0);
    return piece;
  }
};

TEST_F(FactoryTest, KindsWithoutAClassAreNotMade) {
  const int before = Listed();
  for (int kind : {0, -1, 3, 17, 21, 22, 27, 36, 37, 41, 42, 43, 44, 45, 47, 54, 1000})
    EXPECT_EQ(Make(static_cast<TObjectType>(kind), kGroup1x1, 0, 10, 10), nullptr) << kind;
  EXPECT_EQ(Listed(), before);
}

TEST_F(FactoryTest, GroundReusesTheSharedObjectAndRiversOffTheMapStayUnplaced) {
  CBaseObject* ground = world->CreateObjectEmpty();
  const int refs = ground->GetAllocCount();
  EXPECT_EQ(Make(OBJ_GROUND, kTile, 0, 7, 8), ground);
  EXPECT_EQ(ground->GetAllocCount(), refs + 1);
  EXPECT_EQ(ResID(7, 8), kTile);

  const int before = Listed();
  CWorldObj* river = Make(OBJ_RIVER, kTile, 0, -1, 5);
  ASSERT_NE(river, nullptr);
  EXPECT_EQ(river->GetType(), OBJ_RIVER);
  EXPECT_EQ(Listed(), before + 1);
  EXPECT_EQ(world->GetObjectList()->GetHead(), river);
  for (int x = 0; x < 128; ++x) EXPECT_NE(Object(x, 5), river);

  CWorldObj* placed = Make(OBJ_RIVER, kTile, 2, 3, 4);
  EXPECT_EQ(Object(3, 4), placed);
  EXPECT_STREQ(placed->GetSoundName(), "fluss");
}

TEST_F(FactoryTest, ZonesNeedPlainGroundAndAFreeUpperLayer) {
  CWorldObj* zone = Make(OBJ_ZONE_COMMERCIAL, kTile, 0, 20, 20);
  ASSERT_NE(zone, nullptr);
  EXPECT_EQ(zone->GetType(), OBJ_ZONE_COMMERCIAL);
  EXPECT_EQ(Type(20, 20), OBJ_ZONE_COMMERCIAL);
  // The ground moves to the upper layer beneath the zone's tile.
  EXPECT_EQ(Type(20, 20, 1), OBJ_GROUND);
  EXPECT_EQ(Locations(), 1);
  // A zone's location covers its one cell.
  EXPECT_EQ(world->locations->lastSize.width, 1);
  EXPECT_EQ(world->locations->lastSize.depth, 1);
  // Neither a zone nor a cell with an upper object takes another zone.
  EXPECT_EQ(Make(OBJ_ZONE_RESIDENTIAL, kTile, 0, 20, 20), nullptr);
  ASSERT_EQ(map->SetIsoTileAt(21, 20, ISO_LAYER_UPPER, CIsoRichtung(0), kTile, zone), 0);
  EXPECT_EQ(Make(OBJ_ZONE_RESIDENTIAL, kTile, 0, 21, 20), nullptr);
  EXPECT_EQ(Make(OBJ_ZONE_RESIDENTIAL, kTile, 0, 128, 3), nullptr);
  EXPECT_EQ(Locations(), 1);
}

TEST_F(FactoryTest, BuildingCoversItsTurnedGroupAndReplacesZones) {
  CWorldObj* zone = Make(OBJ_ZONE_RESIDENTIAL, kTile, 0, 11, 21);
  ASSERT_NE(zone, nullptr);
  const int listed = Listed();
  // W 2, D 3 turned to direction 1 covers x 10..12 and y 20..21.
  CWorldObj* house = Make(OBJ_RESIDENTIAL, kGroup2x3, 1, 10, 20);
  ASSERT_NE(house, nullptr);
  EXPECT_EQ(house->GetType(), OBJ_RESIDENTIAL);
  for (int x = 10; x <= 12; ++x)
    for (int y = 20; y <= 21; ++y) EXPECT_EQ(Object(x, y), house) << x << "," << y;
  EXPECT_NE(Object(13, 20), house);
  EXPECT_NE(Object(10, 22), house);
  // The zone under the footprint went with its location: one zone out,
  // one building in.
  EXPECT_EQ(Listed(), listed);
  EXPECT_EQ(Locations(), 1);
  auto* building = dynamic_cast<CBuildingObject*>(house);
  ASSERT_NE(building, nullptr);
  EXPECT_NE(building->GetSimLocation(), nullptr);
  // A building's location has the size of its tile group.
  EXPECT_EQ(world->locations->lastSize.width, 2);
  EXPECT_EQ(world->locations->lastSize.depth, 3);
  // An overlapping building and one that reaches off the map are refused.
  EXPECT_EQ(Make(OBJ_OFFICE, kGroup1x1, 0, 12, 21), nullptr);
  EXPECT_EQ(Make(OBJ_OFFICE, kGroupWide, 0, 126, 3), nullptr);
  EXPECT_EQ(Locations(), 1);
}

TEST_F(FactoryTest, SoundsFollowTheKindAndHeight) {
  EXPECT_STREQ(Make(OBJ_INDUSTRY, kGroup1x1, 0, 30, 30)->GetSoundName(), "IND");
  EXPECT_STREQ(Make(OBJ_SHOPPING, kGroup1x1, 0, 32, 30)->GetSoundName(), "EINKAUF");
  EXPECT_STREQ(Make(OBJ_SCHOOL, kGroup1x1, 0, 34, 30, 2)->GetSoundName(), "KINDER");
  EXPECT_STREQ(Make(OBJ_SCHOOL, kGroup1x1, 0, 36, 30, 3)->GetSoundName(), "Wind");
  EXPECT_STREQ(Make(OBJ_SPORTS, kGroup1x1, 0, 38, 30, 3)->GetSoundName(), "Schwimm");
  EXPECT_STREQ(Make(OBJ_SPORTS, kGroup1x1, 0, 40, 30, 2)->GetSoundName(), "Wind");
}

TEST_F(FactoryTest, GroupWithAMissingPartLeavesNoTrace) {
  const int listed = Listed();
  CWorldObj* groundBefore = Object(50, 50);
  // Car sharing registers the station before the map placement fails.
  EXPECT_EQ(Make(OBJ_CARSHARING_STATION, kGroupHole, 0, 50, 50), nullptr);
  EXPECT_EQ(world->carsharing->adds, 1);
  EXPECT_EQ(world->carsharing->removes, 1);
  // Car sharing is asked, not forced, to let the station go.
  EXPECT_EQ(world->carsharing->forced, std::vector<bool>{false});
  EXPECT_EQ(Listed(), listed);
  EXPECT_EQ(Locations(), 0);
  for (int x = 50; x <= 51; ++x)
    for (int y = 50; y <= 51; ++y) {
      EXPECT_EQ(Type(x, y), OBJ_GROUND);
      EXPECT_EQ(Object(x, y), groundBefore);
      EXPECT_EQ(map->GetGroupAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND),
                nullptr);
    }
  // Every cell's turn reaches only live objects (the sanitizer watches).
  map->SetIsoCenter(50, 50);
  map->OnPlayloopTurn();
  // A missing or empty group resource is refused the same way.
  EXPECT_EQ(Make(OBJ_OFFICE, maptest::kMissing, 0, 60, 60), nullptr);
  EXPECT_EQ(Make(OBJ_OFFICE, maptest::kGroupEmpty, 0, 60, 60), nullptr);
  EXPECT_EQ(Listed(), listed);
}

TEST_F(FactoryTest, BuildingWithoutALocationLeavesNoTrace) {
  const int listed = Listed();
  world->locations->refuse = true;
  EXPECT_EQ(Make(OBJ_CARSHARING_CENTRE, kGroup1x1, 0, 70, 90), nullptr);
  EXPECT_EQ(Make(OBJ_OFFICE, kGroup2x3, 0, 72, 90), nullptr);
  EXPECT_EQ(Make(OBJ_ZONE_COMMERCIAL, kTile, 0, 76, 90), nullptr);
  world->locations->refuse = false;
  EXPECT_EQ(world->carsharing->adds, 1);
  EXPECT_EQ(world->carsharing->removes, 1);
  EXPECT_EQ(Listed(), listed);
  EXPECT_EQ(Type(70, 90), OBJ_GROUND);
  for (int x = 72; x <= 73; ++x)
    for (int y = 90; y <= 92; ++y) EXPECT_EQ(Type(x, y), OBJ_GROUND);
  EXPECT_EQ(Type(76, 90), OBJ_GROUND);
  // The cells are free for the next building.
  EXPECT_NE(Make(OBJ_OFFICE, kGroup2x3, 0, 72, 90), nullptr);
}

TEST_F(FactoryTest, OnlyTheMastRegistersWithRouteGuidance) {
  ASSERT_NE(Make(OBJ_TRANSMITTER, kGroup1x1, 0, 90, 70), nullptr);
  EXPECT_EQ(world->routeGuidance->masts, 1);
  ASSERT_NE(Make(OBJ_CARSHARING_STATION, kGroup1x1, 0, 92, 70), nullptr);
  ASSERT_NE(Make(OBJ_ADVICE_CENTRE, kGroup1x1, 0, 94, 70), nullptr);
  EXPECT_EQ(world->routeGuidance->masts, 1);
  EXPECT_EQ(world->carsharing->adds, 1);
  EXPECT_EQ(world->GetZorviZentrale()->GetZentrale(), Object(94, 70));
}

TEST_F(FactoryTest, LocationsSearchAgainForCrossingsAndStops) {
  // Offices and schools are served; parks, masts and zones are not.
  CWorldObj* office = Make(OBJ_OFFICE, kGroup1x1, 0, 30, 110);
  CWorldObj* school = Make(OBJ_SCHOOL, kGroup1x1, 0, 32, 110);
  CWorldObj* park = Make(OBJ_PARK, kGroup1x1, 0, 34, 110);
  CWorldObj* mast = Make(OBJ_TRANSMITTER, kGroup1x1, 0, 36, 110);
  CWorldObj* zone = Make(OBJ_ZONE_RESIDENTIAL, kTile, 0, 38, 110);
  for (CWorldObj* o : {office, school, park, mast, zone}) ASSERT_NE(o, nullptr);
  RecLocationFactory* l = world->locations;
  const std::pair<int, int> none{0, 0};

  world->CreateObject(OBJ_STREET_PIECE);
  world->CreateObject(OBJ_CROSSING);
  for (CWorldObj* o : {office, school, park, mast, zone}) EXPECT_EQ(l->Searches(o), none);
  // A crossing group makes the served locations look for their crossing.
  world->CreateObject(OBJ_CROSSING_GROUP);
  EXPECT_EQ(l->Searches(office), std::pair(1, 0));
  EXPECT_EQ(l->Searches(school), std::pair(1, 0));
  for (CWorldObj* o : {park, mast, zone}) EXPECT_EQ(l->Searches(o), none);

  // A new stop makes them look for their stops, except while a savegame is read.
  StreetAt(40, 111, &street);
  ASSERT_NE(Make(OBJ_BUSSTOP_SHELTER, kGroup1x1, 0, 40, 110), nullptr);
  EXPECT_EQ(l->Searches(office), std::pair(1, 1));
  EXPECT_EQ(l->Searches(school), std::pair(1, 1));
  for (CWorldObj* o : {park, mast, zone}) EXPECT_EQ(l->Searches(o), none);
  StreetAt(44, 111, &street);
  CZorvaWorld::g_isLoad = true;
  CWorldObj* loaded = Make(OBJ_BUSSTOP_SHELTER, kGroup1x1, 0, 44, 110);
  CZorvaWorld::g_isLoad = false;
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(l->Searches(office), std::pair(1, 1));
  // Signs are no stops.
  StreetAt(48, 110, &street);
  ASSERT_NE(Make(OBJ_SPEED_CONTROL, kGroup1x1, 0, 48, 110), nullptr);
  EXPECT_EQ(l->Searches(office), std::pair(1, 1));
}

TEST_F(FactoryTest, RefusedRegistrationDiscardsTheBuilding) {
  CWorldObj* first = Make(OBJ_ADVICE_CENTRE, kGroup1x1, 0, 70, 70);
  ASSERT_NE(first, nullptr);
  const int listed = Listed();
  EXPECT_EQ(Make(OBJ_ADVICE_CENTRE, kGroup1x1, 0, 72, 70), nullptr);
  EXPECT_EQ(Listed(), listed);
  EXPECT_EQ(Type(72, 70), OBJ_GROUND);
  EXPECT_EQ(world->GetZorviZentrale()->GetZentrale(), first);
}

TEST_F(FactoryTest, BusStopWithShelterNeedsFreeSideCells) {
  // Kind 25 facing direction 0 runs along +y: side, street, side.
  StreetAt(40, 41, &street);
  CWorldObj* stop = Make(OBJ_BUSSTOP_SHELTER, maptest::kGroup1x1, 0, 40, 40);
  ASSERT_NE(stop, nullptr);
  EXPECT_EQ(Object(40, 40, 1), stop);
  ASSERT_EQ(world->opnv->nets.size(), 1u);
  EXPECT_EQ(world->opnv->nets[0], NET_BUS);
  EXPECT_FALSE(world->opnv->loads[0]);

  // Side cells with a zoned area pass; a building beside the street fails.
  StreetAt(44, 41, &street);
  ASSERT_NE(Make(OBJ_ZONE_RESIDENTIAL, kTile, 0, 44, 40), nullptr);
  ASSERT_NE(Make(OBJ_RESIDENTIAL, kGroup1x1, 0, 44, 42), nullptr);
  EXPECT_EQ(Make(OBJ_BUSSTOP_SHELTER, maptest::kGroup1x1, 0, 44, 40), nullptr);
  ASSERT_NE(Make(OBJ_ZONE_RESIDENTIAL, kTile, 0, 46, 40), nullptr);
  StreetAt(46, 41, &street);
  ASSERT_NE(Make(OBJ_ZONE_INDUSTRIAL, kTile, 0, 46, 42), nullptr);
  EXPECT_NE(Make(OBJ_BUSSTOP_SHELTER, maptest::kGroup1x1, 0, 46, 40), nullptr);
  EXPECT_TRUE(world->ui->warnings.empty());
}

TEST_F(FactoryTest, BusStopSignTakesItsPlaceAndWarnsOnABend) {
  // A street along +x (direction 0) gives the stop direction 2, so the
  // sign's footprint runs along +y.
  StreetAt(60, 10, &street);
  CWorldObj* sign = Make(OBJ_BUSSTOP_SIGN, maptest::kGroup1x1, 3, 60, 10);
  ASSERT_NE(sign, nullptr);
  EXPECT_EQ(static_cast<CBuildingObject*>(sign)->GetRichtung(), 2);

  StreetAt(62, 10, &street);
  world->ui->markX = 62;
  world->ui->markY = 10;
  EXPECT_EQ(Make(OBJ_BUSSTOP_SIGN, maptest::kGroup1x1, 0, 62, 10), nullptr);
  ASSERT_EQ(world->ui->warnings.size(), 1u);
  EXPECT_EQ(world->ui->warnings[0], 19);
  // No street piece under the sign: refused without a warning.
  EXPECT_EQ(Make(OBJ_BUSSTOP_SIGN, maptest::kGroup1x1, 0, 64, 10), nullptr);
  EXPECT_EQ(world->ui->warnings.size(), 1u);
  // A street tile that no street owns gives no direction: refused too.
  CWorldObj* orphan = world->CreateObject(OBJ_STREET_PIECE);
  ASSERT_EQ(map->SetIsoTileAt(66, 10, ISO_LAYER_GROUND, CIsoRichtung(0), kTile, orphan), 0);
  EXPECT_EQ(Make(OBJ_BUSSTOP_SIGN, maptest::kGroup1x1, 0, 66, 10), nullptr);
  EXPECT_EQ(world->ui->warnings.size(), 1u);
}

TEST_F(FactoryTest, EachStreetClassificationHasItsWarning) {
  // Classification -> warning; 0 lets the stop stand.
  const int warning[] = {0, 19, 19, 20, 20, 0, 20, 66, 0};
  for (int c = 1; c <= 8; ++c) {
    const int x = 10 + 2 * c;
    StreetAt(x, 120, &street);
    world->ui->markX = x;
    world->ui->markY = 120;
    world->ui->mark = c;
    world->ui->warnings.clear();
    CWorldObj* sign = Make(OBJ_BUSSTOP_SIGN, maptest::kGroup1x1, 0, x, 120);
    if (warning[c]) {
      EXPECT_EQ(sign, nullptr) << c;
      EXPECT_EQ(world->ui->warnings, std::vector<int>{warning[c]}) << c;
    } else {
      EXPECT_NE(sign, nullptr) << c;
      EXPECT_TRUE(world->ui->warnings.empty()) << c;
    }
  }
}

TEST_F(FactoryTest, FourLaneSignFailsSilentlyAcrossTwoStreetGroups) {
  // Two one-cell four-lane groups; the sign's two cells lie in both.
  StreetAt(80, 10, &fourLane, kGroup1x1);
  StreetAt(80, 11, &fourLane, kGroup1x1);
  EXPECT_EQ(Make(OBJ_BUSSTOP_SIGN4, kGroup1x2, 0, 80, 10), nullptr);
  EXPECT_TRUE(world->ui->warnings.empty());
  // Within one 1 x 2 group the sign moves to the group's origin and stands.
  StreetAt(82, 10, &fourLane, kGroup1x2);
  CWorldObj* sign = Make(OBJ_BUSSTOP_SIGN4, kGroup1x2, 0, 82, 11);
  ASSERT_NE(sign, nullptr);
  EXPECT_EQ(static_cast<CBuildingObject*>(sign)->GetYPos(), 10);
  // The same two groups in the map's first column.
  StreetAt(0, 10, &fourLane, kGroup1x1);
  StreetAt(0, 11, &fourLane, kGroup1x1);
  EXPECT_EQ(Make(OBJ_BUSSTOP_SIGN4, kGroup1x2, 0, 0, 10), nullptr);
  // One group of an ordinary street is no place for the four-lane sign.
  StreetAt(84, 10, &street, kGroup1x2);
  EXPECT_EQ(Make(OBJ_BUSSTOP_SIGN4, kGroup1x2, 0, 84, 10), nullptr);
  EXPECT_TRUE(world->ui->warnings.empty());
}

TEST_F(FactoryTest, StopsReadFromASavegameKeepTheirIds) {
  StreetAt(90, 41, &street);
  CZorvaWorld::g_isLoad = true;
  CWorldObj* stop = world->CreateObject(OBJ_BUSSTOP_SHELTER, maptest::kGroup1x1, CIsoRichtung(0), 90, 40,
                                        SIM_HEIGHT_ANY, nullptr, 0, nullptr, 17, -1);
  CZorvaWorld::g_isLoad = false;
  ASSERT_NE(stop, nullptr);
  EXPECT_EQ(static_cast<CSecondLayerObject*>(stop)->GetID(), 17u);
  ASSERT_EQ(world->opnv->loads.size(), 1u);
  EXPECT_TRUE(world->opnv->loads[0]);
}

TEST_F(FactoryTest, TramStopNeedsRailOnEveryCell) {
  for (int x = 100; x <= 101; ++x) {
    CWorldObj* rail = world->CreateObject(OBJ_RAIL_PIECE);
    ASSERT_EQ(map->SetIsoTileAt(x, 50, ISO_LAYER_GROUND, CIsoRichtung(0), kTile, rail), 0);
  }
  // A 3 x 1 stop reaches one cell beyond the rails.
  EXPECT_EQ(Make(OBJ_TRAMSTOP, kGroupWide, 0, 100, 50), nullptr);
  CWorldObj* rail = world->CreateObject(OBJ_RAIL_PIECE);
  ASSERT_EQ(map->SetIsoTileAt(102, 50, ISO_LAYER_GROUND, CIsoRichtung(0), kTile, rail), 0);
  ASSERT_NE(Make(OBJ_TRAMSTOP, kGroupWide, 0, 100, 50), nullptr);
  EXPECT_EQ(world->opnv->nets.back(), NET_TRAM);
}

TEST_F(FactoryTest, GuidanceSignsStandOnTheStreet) {
  for (int kind : {OBJ_PARKING_SIGN1, OBJ_PARKING_SIGN2, OBJ_TRAFFIC_SIGN, OBJ_TRAFFIC_SIGN4}) {
    const int x = 100 + 2 * (kind - OBJ_PARKING_SIGN1);
    StreetAt(x, 120, &street);
    const int listed = Listed();
    CWorldObj* sign = Make(static_cast<TObjectType>(kind), kGroup1x1, 0, x, 120);
    ASSERT_NE(sign, nullptr) << kind;
    EXPECT_EQ(sign->GetType(), kind);
    EXPECT_EQ(Object(x, 120, 1), sign) << kind;
    EXPECT_EQ(Listed(), listed + 1);
  }
}

TEST_F(FactoryTest, StreetSideObjectThatCannotBePlacedLeavesNoTrace) {
  // The checks pass, but there is no group to place.
  StreetAt(60, 61, &street);
  StreetAt(62, 61, &street);
  const int listed = Listed();
  EXPECT_EQ(Make(OBJ_BUSSTOP_SHELTER, maptest::kMissing, 0, 60, 60), nullptr);
  EXPECT_EQ(Make(OBJ_SPEED_CONTROL, maptest::kMissing, 0, 62, 61), nullptr);
  EXPECT_EQ(Listed(), listed);
  EXPECT_TRUE(world->opnv->nets.empty());
  EXPECT_EQ(Object(60, 61, 1), nullptr);
  EXPECT_EQ(Object(62, 61, 1), nullptr);
}

TEST_F(FactoryTest, StopRefreshesTheFilterOfTheStreetGroupBelow) {
  CWorldObj* piece = StreetAt(86, 10, &fourLane, kGroup1x2);
  // The street gets its filter icon after it was placed.
  piece->SetFilterResID(kTile);
  for (int y = 10; y <= 11; ++y)
    EXPECT_EQ(map->GetIsoInfo(86, y)->GetIsoObjects(ISO_LAYER_GROUND)->GetFilterTile(), nullptr);
  ASSERT_NE(Make(OBJ_BUSSTOP_SIGN4, kGroup1x2, 0, 86, 10), nullptr);
  for (int y = 10; y <= 11; ++y) {
    CIsoObject* filter = map->GetIsoInfo(86, y)->GetIsoObjects(ISO_LAYER_GROUND)->GetFilterTile();
    ASSERT_NE(filter, nullptr) << y;
    EXPECT_EQ(filter->GetResID(), kTile);
  }
}

TEST_F(FactoryTest, SignsNeedAStreetAndAFreeUpperLayer) {
  EXPECT_EQ(Make(OBJ_SPEED_CONTROL, kGroup1x1, 0, 110, 110), nullptr);
  StreetAt(110, 110, &street);
  CWorldObj* control = Make(OBJ_SPEED_CONTROL, kGroup1x1, 0, 110, 110);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(Object(110, 110, 1), control);
  EXPECT_EQ(Make(OBJ_TRAFFIC_SIGN, kGroup1x1, 0, 110, 110), nullptr);
  // Street-side object 46 is made and listed without any check.
  const int listed = Listed();
  EXPECT_NE(Make(OBJ_STREETSIDE, kGroup1x1, 0, 3, 3), nullptr);
  EXPECT_EQ(Listed(), listed + 1);
  EXPECT_NE(Type(3, 3, 1), OBJ_STREETSIDE);
}

TEST_F(FactoryTest, NetworkObjectsAreListedUnplaced) {
  const struct {
    TObjectType kind;
    TObjectType type;
  } cases[] = {{OBJ_STREET_GROUP, OBJ_STREET_PIECE}, {OBJ_CROSSING_GROUP, OBJ_CROSSING},
               {OBJ_RAIL_PIECE, OBJ_RAIL_PIECE},     {OBJ_RAIL_JUNCTION, OBJ_RAIL_JUNCTION},
               {OBJ_STREET_PIECE, OBJ_STREET_PIECE}, {OBJ_CROSSING, OBJ_CROSSING}};
  for (const auto& c : cases) {
    const int listed = Listed();
    CWorldObj* object = world->CreateObject(c.kind);
    ASSERT_NE(object, nullptr) << c.kind;
    EXPECT_EQ(object->GetType(), c.type) << c.kind;
    EXPECT_EQ(Listed(), listed + 1);
  }
}

TEST_F(FactoryTest, RemovalTakesBuildingsOffButLeavesStreetsToTheNetwork) {
  CWorldObj* office = Make(OBJ_OFFICE, kGroup2x3, 0, 20, 60);
  ASSERT_NE(office, nullptr);
  const int listed = Listed();
  EXPECT_EQ(world->RemoveObject(21, 62, ISO_LAYER_GROUND, false), 0);
  EXPECT_EQ(Listed(), listed - 1);
  EXPECT_EQ(Locations(), 0);
  for (int x = 20; x <= 21; ++x)
    for (int y = 60; y <= 62; ++y) EXPECT_EQ(Type(x, y), OBJ_GROUND);

  StreetAt(30, 60, &street);
  EXPECT_EQ(world->RemoveObject(30, 60, ISO_LAYER_GROUND, false), 1);
  EXPECT_EQ(Type(30, 60), OBJ_STREET_PIECE);
  EXPECT_EQ(world->RemoveObject(31, 60, ISO_LAYER_UPPER, false), 1);

  // Car sharing may refuse to let its centre go.
  CWorldObj* centre = Make(OBJ_CARSHARING_CENTRE, kGroup1x1, 0, 40, 60);
  ASSERT_NE(centre, nullptr);
  world->carsharing->refuse = true;
  EXPECT_EQ(world->RemoveObject(40, 60, ISO_LAYER_GROUND, false), 1);
  EXPECT_EQ(Object(40, 60), centre);
}

TEST_F(FactoryTest, ACarParkAtTheMapsCornerGoesWithItsWholeGroupAndItsBooking) {
  // Two by three cells up to the last row and column of the map.
  CWorldObj* park = Make(OBJ_CARPARK_OPEN, kGroup2x3, 0, 126, 125);
  ASSERT_NE(park, nullptr);
  ASSERT_EQ(world->parking->booked.size(), 1u);
  const int listed = Listed();
  // Cells off the map hold nothing to remove.
  EXPECT_EQ(world->RemoveObject(128, 127, ISO_LAYER_GROUND, false), 1);
  EXPECT_EQ(world->RemoveObject(-1, 126, ISO_LAYER_GROUND, false), 1);
  EXPECT_EQ(world->parking->booked.size(), 1u);
  // Its last cell takes the whole car park off.
  EXPECT_EQ(world->RemoveObject(127, 127, ISO_LAYER_GROUND, false), 0);
  EXPECT_TRUE(world->parking->booked.empty());
  EXPECT_EQ(Listed(), listed - 1);
  EXPECT_EQ(Locations(), 0);
  for (int x = 126; x <= 127; ++x)
    for (int y = 125; y <= 127; ++y) EXPECT_EQ(Type(x, y), OBJ_GROUND);
  // Empty ground is nothing to remove, and its shared object keeps the
  // references its cells hold.
  ASSERT_EQ(Object(126, 125), world->GetGroundObject());
  const int references = world->GetGroundObject()->GetAllocCount();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(world->RemoveObject(126, 125, ISO_LAYER_GROUND, false), 1);
  EXPECT_EQ(world->GetGroundObject()->GetAllocCount(), references);
}

TEST_F(FactoryTest, AStopTakenOffWithTheListLetsLocationsSearchOnlyWhenAsked) {
  CWorldObj* office = Make(OBJ_OFFICE, kGroup1x1, 0, 30, 120);
  ASSERT_NE(office, nullptr);
  StreetAt(40, 121, &street);
  StreetAt(44, 121, &street);
  CWorldObj* first = Make(OBJ_BUSSTOP_SHELTER, kGroup1x1, 0, 40, 120);
  CWorldObj* second = Make(OBJ_BUSSTOP_SHELTER, kGroup1x1, 0, 44, 120);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  const int searches = world->locations->Searches(office).second;
  const int removed = world->opnv->removed;
  // Kept stops: the list is being emptied, nobody searches.
  EXPECT_EQ(world->RemoveObject(first, 1, true), 0);
  EXPECT_EQ(world->locations->Searches(office).second, searches);
  EXPECT_EQ(world->opnv->removed, removed + 1);
  EXPECT_EQ(Object(40, 120, 1), nullptr);
  EXPECT_EQ(world->RemoveObject(second, 1, false), 0);
  EXPECT_EQ(world->locations->Searches(office).second, searches + 1);
  EXPECT_EQ(world->opnv->removed, removed + 2);
  EXPECT_EQ(Object(44, 120, 1), nullptr);
}

TEST_F(FactoryTest, RemovingAStopClearsItsWholeUpperGroup) {
  StreetAt(50, 91, &street);
  StreetAt(50, 92, &street);
  // Kind 26 along +y: side, street, street, side.
  CWorldObj* stop = Make(OBJ_BUSSTOP_SHELTER4, maptest::kGroupTall, 0, 50, 90);
  ASSERT_NE(stop, nullptr);
  for (int y = 90; y <= 93; ++y) EXPECT_EQ(Object(50, y, 1), stop);
  const int listed = Listed();
  EXPECT_EQ(world->RemoveObject(50, 92, ISO_LAYER_UPPER, false), 0);
  for (int y = 90; y <= 93; ++y) EXPECT_EQ(Object(50, y, 1), nullptr);
  EXPECT_EQ(Type(50, 91), OBJ_STREET_PIECE);
  EXPECT_EQ(Listed(), listed - 1);
  EXPECT_EQ(world->opnv->removed, 1);
  EXPECT_EQ(world->opnv->lineChecks, 1);
}

TEST_F(FactoryTest, RemovingListedObjectsLeavesNoCellNamingThem) {
  CWorldObj* river = Make(OBJ_RIVER, kTile, 0, 5, 100);
  CWorldObj* shop = Make(OBJ_SHOPPING, kGroup2x3, 2, 8, 100);
  ASSERT_NE(river, nullptr);
  ASSERT_NE(shop, nullptr);
  EXPECT_EQ(world->RemoveObject(shop, 0, false), 0);
  EXPECT_EQ(world->RemoveObject(river, 0, false), 0);
  EXPECT_EQ(Type(5, 100), OBJ_GROUND);
  for (int x = 8; x <= 9; ++x)
    for (int y = 100; y <= 102; ++y) EXPECT_EQ(Type(x, y), OBJ_GROUND);
  EXPECT_EQ(Locations(), 0);
  // The cells' turns reach only live objects (the sanitizer watches).
  map->SetIsoCenter(8, 100);
  map->OnPlayloopTurn();
}

TEST_F(FactoryTest, DroppingTheGroundObjectForGoodForgetsIt) {
  CBaseObject* ground = world->CreateObjectEmpty();
  ASSERT_GT(ground->GetAllocCount(), 1);
  EXPECT_EQ(world->DestroyObject(ground, 1), 0);
  EXPECT_EQ(world->GetGroundObject(), ground);
  // The map is torn down first, as at a load, so no cell names it.
  map->Destroy();
  EXPECT_EQ(world->DestroyObject(ground, 0), 0);
  EXPECT_EQ(world->GetGroundObject(), nullptr);
  // Without the shared object, empty ground is a new listed object of its own.
  CWorldObj* fresh = world->CreateObject(OBJ_GROUND);
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->GetType(), OBJ_GROUND);
  EXPECT_EQ(fresh->GetAllocCount(), 1);
  EXPECT_EQ(world->GetObjectList()->GetHead(), fresh);
  EXPECT_EQ(world->GetGroundObject(), nullptr);
  EXPECT_NE(world->CreateObjectEmpty(), nullptr);
  map->OnCreate();
}

TEST_F(FactoryTest, EmptyingTheObjectListTakesEveryBuildingOffTheMap) {
  ASSERT_NE(Make(OBJ_SHOPPING, kGroup2x3, 2, 8, 100), nullptr);
  ASSERT_NE(Make(OBJ_RIVER, kTile, 0, 5, 100), nullptr);
  ASSERT_GT(Listed(), 0);
  EXPECT_EQ(world->DestroyObjectList(1), 0);
  EXPECT_EQ(Listed(), 0);
  EXPECT_EQ(Locations(), 0);
  EXPECT_EQ(Type(5, 100), OBJ_GROUND);
  for (int x = 8; x <= 9; ++x)
    for (int y = 100; y <= 102; ++y) EXPECT_EQ(Type(x, y), OBJ_GROUND);
  map->SetIsoCenter(8, 100);
  map->OnPlayloopTurn();
}

}  // namespace
