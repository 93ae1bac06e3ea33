// The world's stop search and its clean-up of rail objects: the nearest
// stop to a rectangle of cells through public transport's stop list, and
// rail piece objects that no track holds.
#include <gtest/gtest.h>

#include <vector>

#include "measures/building_object.h"
#include "measures/opnv.h"
#include "network/rail_junction_list.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "world/map_fixture.h"

namespace {

struct WorldStops : maptest::MapFixture<CZorvaWorld> {
  std::vector<CSecondLayerObject*> made;
  ~WorldStops() override {
    for (CSecondLayerObject* s : made) delete s;
  }
  CSecondLayerObject* Stop(int x, int y, NetActiveType net, unsigned savedId = 0) {
    auto* s = new CSecondLayerObject;
    CIsoRichtung dir(0);
    s->Create(maptest::kGroup1x1, x, y, &dir, static_cast<ESimLocationHeight>(0));
    if (savedId) s->SetID(savedId);
    made.push_back(s);
    EXPECT_EQ(world->GetOpnv()->AddHst(s, net, savedId != 0), 0);
    return s;
  }
  int RailObjects() {
    int n = 0;
    for (CZorvaObject* o = world->GetObjectList()->GetHead(); o; o = o->GetNext())
      n += dynamic_cast<CWorldObj*>(o) && static_cast<CWorldObj*>(o)->GetType() == OBJ_RAIL_PIECE;
    return n;
  }
  bool Listed(CWorldObj* object) {
    for (CZorvaObject* o = world->GetObjectList()->GetHead(); o; o = o->GetNext())
      if (o == object) return true;
    return false;
  }
};

TEST_F(WorldStops, TheNearestStopWithinTheDistanceIsFoundWithItsDistance) {
  short stop = -1;
  int distance = -1;
  unsigned char found = 9;
  // No stop at all.
  EXPECT_EQ(world->FindNearestHst(10, 10, 1, 1, 1000, 1, &stop, &distance, &found), 1);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(stop, 0);
  EXPECT_EQ(distance, 0);
  CSecondLayerObject* far = Stop(13, 14, NET_BUS);
  CSecondLayerObject* tram = Stop(20, 10, NET_TRAM);
  EXPECT_EQ(far->GetID(), 1u);
  EXPECT_EQ(tram->GetID(), 2u);
  // Three cells across and four along: 500 hundredths of a cell.
  EXPECT_EQ(world->FindNearestHst(10, 10, 1, 1, 1000, 1, &stop, &distance, &found), 0);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(stop, 1);
  EXPECT_EQ(distance, 500);
  // Only strictly within the distance.
  EXPECT_EQ(world->FindNearestHst(10, 10, 1, 1, 500, 1, &stop, &distance, &found), 1);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(stop, 0);
  // A nearer stop wins, whatever its place in the list; the far corner of
  // a wide rectangle counts.
  Stop(10, 11, NET_BUS);
  EXPECT_EQ(world->FindNearestHst(10, 10, 1, 1, 1000, 1, &stop, &distance, &found), 0);
  EXPECT_EQ(stop, 3);
  EXPECT_EQ(distance, 100);
  EXPECT_EQ(world->FindNearestHst(14, 10, 6, 1, 1000, 1, &stop, &distance, &found), 0);
  EXPECT_EQ(stop, 2);
  EXPECT_EQ(distance, 100);
}

TEST_F(WorldStops, TramStopsAreSkippedOnlyWhenAskedAndRemovedStopsAreNotFound) {
  COpnv* opnv = world->GetOpnv();
  CSecondLayerObject* tram = Stop(11, 10, NET_TRAM);
  CSecondLayerObject* bus = Stop(16, 10, NET_BUS, 7);
  EXPECT_EQ(bus->GetID(), 7u);  // loaded: the saved id stays
  EXPECT_EQ(tram->GetID(), 1u);
  short ids[2] = {5, 5};
  int distances[2] = {5, 5};
  unsigned char found = 0;
  EXPECT_EQ(opnv->SearchNextHst(10, 10, 1, 1, 2000, ids, distances, &found, 2, false), 0);
  EXPECT_EQ(ids[0], 1);
  EXPECT_EQ(ids[1], 0);
  EXPECT_EQ(distances[1], 0);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(opnv->SearchNextHst(10, 10, 1, 1, 2000, ids, distances, &found, 2, true), 0);
  EXPECT_EQ(ids[0], 7);
  EXPECT_EQ(distances[0], 600);
  // A new stop takes the id above the highest.
  EXPECT_EQ(Stop(30, 30, NET_BUS)->GetID(), 8u);
  opnv->RemoveHst(bus);
  EXPECT_EQ(opnv->GetHstCount(), 2);
  EXPECT_EQ(opnv->SearchNextHst(10, 10, 1, 1, 2000, ids, distances, &found, 2, true), 1);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(ids[0], 0);
}

TEST_F(WorldStops, RailObjectsThatNoTrackHoldsAreDestroyedUnlessTheMapShowsThem) {
  CStrSchJuncList* rails = world->GetRailNet();
  ASSERT_NE(rails, nullptr);
  CStrBuildLine line(10, 20, 30, 20);
  ASSERT_EQ(rails->CreateStreet(&line, STRASSE_SCHIENE), STR_BUILD_OK);
  const int held = RailObjects();
  ASSERT_GE(held, 1);
  CWorldObj* loose = world->CreateObject(OBJ_RAIL_PIECE);
  CWorldObj* shown = world->CreateObject(OBJ_RAIL_PIECE);
  ASSERT_NE(loose, nullptr);
  ASSERT_NE(shown, nullptr);
  ASSERT_EQ(map->SetIsoTileAt(60, 60, ISO_LAYER_GROUND, CIsoRichtung(0), maptest::kTile, shown), 0);
  ASSERT_EQ(Object(60, 60), shown);
  EXPECT_EQ(RailObjects(), held + 2);
  EXPECT_EQ(world->RemoveDummyRailObject(), 1);
  EXPECT_EQ(RailObjects(), held + 1);
  EXPECT_TRUE(Listed(shown));
  // The track keeps its object, on its cells.
  CStrJunction* end = rails->FindJunctionAt(10, 20);
  ASSERT_NE(end, nullptr);
  ASSERT_EQ(end->GetAnzLinkedStreets(), 1);
  EXPECT_TRUE(Listed(end->GetStreetByNR(0)->GetWorldObj()));
  // Nothing more to do a second time.
  EXPECT_EQ(world->RemoveDummyRailObject(), 0);
}

}  // namespace
