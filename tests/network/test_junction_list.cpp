// The junction list's index and lookups, and the controls of a junction.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "junction_scene.h"
#include "network/str_ampel.h"
#include "support/test_support.h"

namespace {

using namespace junctiontest;

TEST(JunctionList, TheIndexGrowsPastItsBucketsAndOverflowEntries) {
  World w;
  std::vector<CStrJunction*> all;
  // 2000 buckets and 1000 overflow entries hold 3000 ids at most.
  for (int i = 0; i < 3600; ++i) {
    CStrJunction* j = w.net->CreateNewJunction(static_cast<short>(i % 128), static_cast<short>(i / 128), STRASSE_1);
    ASSERT_NE(j, nullptr);
    ASSERT_EQ(j->InsertIntoSimWelt(), 0);
    ASSERT_EQ(w.net->AddJunction(j), 0) << i;
    all.push_back(j);
  }
  EXPECT_GT(w.net->GetHashTable()->GetSize(), CStrJunctionList::kHashSize);
  for (CStrJunction* j : all) ASSERT_EQ(w.net->GetJunctionByID(j->GetSimID()), j);
  // A junction is listed once.
  EXPECT_EQ(w.net->AddJunction(all[5]), 1);
  // Removed junctions are gone from the index, the others stay.
  for (size_t i = 0; i < all.size(); i += 2) {
    const unsigned short id = all[i]->GetSimID();
    ASSERT_EQ(w.net->RemoveJunction(all[i]), 0);
    ASSERT_EQ(w.net->GetJunctionByID(id), nullptr);
  }
  for (size_t i = 1; i < all.size(); i += 2) ASSERT_EQ(w.net->GetJunctionByID(all[i]->GetSimID()), all[i]);
  EXPECT_EQ(w.Junctions(), 1800);
}

TEST(JunctionList, JunctionsAreFoundByTheirCellsAndStreetsByTheirIds) {
  World w;
  ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Build(5, 20, 10, 20), STR_BUILD_OK);
  EXPECT_EQ(w.net->FindJunctionAt(-1, 10), nullptr);
  EXPECT_EQ(w.net->FindJunctionAt(10, 128), nullptr);
  EXPECT_EQ(w.net->FindJunctionAt(10, 15), nullptr);  // a street piece
  CStrJunction* t = w.At(10, 20);
  ASSERT_NE(t, nullptr);
  for (CStrStrasse* s : w.Streets()) {
    EXPECT_EQ(w.net->GetStreetByID(s->GetSimID()), s);
    EXPECT_EQ(w.net->GetStreetByID(s->GetSimIDSecond()), s);
  }
  EXPECT_EQ(w.net->GetStreetByID(0), nullptr);
  EXPECT_EQ(w.net->GetStreetByID(999), nullptr);
  // Ids just past the largest, and negative ones, name no street.
  short largest = 0;
  for (CStrStrasse* s : w.Streets()) largest = std::max({largest, s->GetSimID(), s->GetSimIDSecond()});
  ASSERT_GT(largest, 0);
  EXPECT_EQ(w.net->GetStreetByID(static_cast<short>(largest + 1)), nullptr);
  for (short id : {-1, -largest, -32768, 32767}) EXPECT_EQ(w.net->GetStreetByID(id), nullptr) << id;
  CStrStrasse* s = nullptr;
  CStrStrassenTeil* piece = nullptr;
  ASSERT_TRUE(w.net->PointHitStreet(10, 25, &s, &piece));
  EXPECT_EQ(s, w.StreetBetween(10, 20, 10, 30));
  EXPECT_FALSE(w.net->PointHitStreet(30, 30, &s, &piece));
  EXPECT_TRUE(w.net->NewStreetHitStreet(40, 40, 10, 12));
  EXPECT_FALSE(w.net->NewStreetHitStreet(40, 40, 41, 40));
}

TEST(JunctionList, TheNearestCrossingOfABuildingIsFoundAroundItThenAnywhere) {
  World w;
  ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Build(5, 20, 10, 20), STR_BUILD_OK);
  int dist = 0;
  CStrJunction* found = nullptr;
  // A cell beside the street: the street's nearer end, (10, 20), is 3 away.
  unsigned short id = w.net->GetNearestCrossing(12, 22, &dist, 0, &found);
  EXPECT_EQ(found, w.At(10, 20));
  EXPECT_EQ(id, w.At(10, 20)->GetSimID());
  EXPECT_EQ(dist, 2);
  // With that crossing excluded, the next one: (5, 20), offered by the
  // street piece at (9, 20).
  id = w.net->GetNearestCrossing(12, 22, &dist, w.At(10, 20)->GetSimID(), &found);
  EXPECT_EQ(found, w.At(5, 20));
  EXPECT_EQ(id, w.At(5, 20)->GetSimID());
  EXPECT_EQ(dist, 7);
  // Far from every street, the whole list is searched by squared distance.
  id = w.net->GetNearestCrossing(60, 60, &dist, 0, &found);
  EXPECT_EQ(found, w.At(10, 30));
  EXPECT_EQ(dist, 50 * 50 + 30 * 30);
  CStrStrasse* street = nullptr;
  short hx = 0, hy = 0;
  ASSERT_TRUE(w.net->GetNearestStreet(12, 22, nullptr, &street, &hx, &hy));
  EXPECT_EQ(street, w.StreetBetween(10, 20, 10, 30));
  EXPECT_FALSE(w.net->GetNearestStreet(60, 60, nullptr, &street, &hx, &hy));
  EXPECT_EQ(hx, -1);
}

TEST(JunctionList, LightsAndSignsFollowTheStreetsOfAJunction) {
  World w;
  ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Build(5, 20, 10, 20), STR_BUILD_OK);
  ASSERT_EQ(w.Build(10, 20, 15, 20), STR_BUILD_OK);
  CStrJunction* k = w.At(10, 20);
  ASSERT_NE(k, nullptr);
  CStrStrasse* a = nullptr;
  CStrStrasse* b = nullptr;
  EXPECT_EQ(k->GetPriorityStreets(&a, &b), 1);  // no control yet
  ASSERT_EQ(k->SetAmpelData(Ampel_Vorfahrt, 0, 0.0f), 0);
  EXPECT_TRUE(k->HasVorfahrt());
  ASSERT_EQ(k->GetPriorityStreets(&a, &b), 0);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  // The priority pair runs straight through the crossing.
  short ax = 0, ay = 0, bx = 0, by = 0;
  a->CalcMAtPos(k, &ax, &ay);
  b->CalcMAtPos(k, &bx, &by);
  EXPECT_EQ(ax, -bx);
  EXPECT_EQ(ay, -by);
  EXPECT_NE(a, b);
  ASSERT_EQ(k->RemoveAmpel(), 0);
  EXPECT_EQ(k->GetAmpelType(), Ampel_Rvl);
  ASSERT_EQ(k->SetAmpelData(Ampel_Ampel, 80, 0.4f), 0);
  EXPECT_TRUE(k->HasAmpel());
  ASSERT_NE(k->GetAmpelGroup(), nullptr);
  // Asking for signs keeps the lights and changes only their timing.
  ASSERT_EQ(k->SetAmpelData(Ampel_Vorfahrt, 90, 0.6f), 0);
  EXPECT_TRUE(k->HasAmpel());
  EXPECT_EQ(k->GetAmpelGroup()->GetCycleTime(), 9000);
  // Deleting one arm leaves a T junction that keeps its lights on three.
  ASSERT_EQ(w.net->DeleteStreet(w.StreetBetween(5, 20, 10, 20)), 0);
  ASSERT_EQ(k->GetAnzLinkedStreets(), 3);
  EXPECT_TRUE(k->HasAmpel());
  ExpectConsistent(w);
}

}  // namespace

namespace {

TEST(JunctionList, SignsTakeInTheStreetsThatJoinAJunctionLater) {
  World w;
  ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Build(5, 20, 10, 20), STR_BUILD_OK);
  CStrJunction* t = w.At(10, 20);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->SetAmpelData(Ampel_Vorfahrt, 0, 0.0f), 0);
  CStrStrasse* p1 = nullptr;
  CStrStrasse* p2 = nullptr;
  CStrStrasse* o1 = nullptr;
  CStrStrasse* o2 = nullptr;
  ASSERT_EQ(t->GetNonPriorityStreets(&o1, &o2), 0);
  EXPECT_EQ(o1, w.StreetBetween(5, 20, 10, 20));
  EXPECT_EQ(o2, nullptr);
  // A fourth arm yields as well; the straight pair keeps the priority.
  ASSERT_EQ(w.Build(10, 20, 15, 20), STR_BUILD_OK);
  ASSERT_EQ(t->GetAnzLinkedStreets(), 4);
  ASSERT_EQ(t->GetPriorityStreets(&p1, &p2), 0);
  ASSERT_EQ(t->GetNonPriorityStreets(&o1, &o2), 0);
  EXPECT_EQ(o1, w.StreetBetween(5, 20, 10, 20));
  EXPECT_EQ(o2, w.StreetBetween(10, 20, 15, 20));
  EXPECT_NE(p1, nullptr);
  EXPECT_NE(p2, nullptr);
  // The new order of the group: the former side streets get the priority.
  ASSERT_EQ(t->ChangePriorityStreets(o1, o2, p1, p2), 0);
  ASSERT_EQ(t->GetPriorityStreets(&p1, &p2), 0);
  EXPECT_EQ(p1, w.StreetBetween(5, 20, 10, 20));
  EXPECT_EQ(p2, w.StreetBetween(10, 20, 15, 20));
  // Back to a dead end: the signs go with the last streets.
  ASSERT_EQ(t->RemoveAmpel(), 0);
  EXPECT_EQ(t->ChangePriorityStreets(o1, o2, p1, p2), 1);
}

}  // namespace

namespace {

TEST(JunctionList, LightsTakeInAFourthArm) {
  World w;
  ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Build(5, 20, 10, 20), STR_BUILD_OK);
  CStrJunction* t = w.At(10, 20);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->SetAmpelData(Ampel_Ampel, 80, 0.5f), 0);
  ASSERT_NE(t->GetAmpelGroup(), nullptr);
  // The scene's tiles carry no micro cells, so no arm gets a light.
  EXPECT_EQ(t->GetAmpelGroup()->GetCount(), 0);
  ASSERT_EQ(w.Build(10, 20, 15, 20), STR_BUILD_OK);
  EXPECT_TRUE(t->HasAmpel());
  EXPECT_FALSE(t->HasAmpel(w.StreetBetween(10, 20, 15, 20)));
  EXPECT_EQ(t->UpdateAmpeln(), 0);
  EXPECT_EQ(w.At(5, 20)->UpdateAmpeln(), 1);  // no lights there
}

TEST(JunctionList, AStreetThroughAJunctionWithoutRoomIsRefusedWhole) {
  World w;
  ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Build(5, 20, 10, 20), STR_BUILD_OK);
  const size_t streets = w.Streets().size();
  const int junctions = w.Junctions();
  // From the arm's dead end over the T junction: it would get five arms.
  EXPECT_EQ(w.Build(5, 20, 20, 20), STR_BUILD_BAD_REQUEST);
  EXPECT_EQ(w.At(20, 20), nullptr);
  EXPECT_EQ(w.Streets().size(), streets);
  EXPECT_EQ(w.Junctions(), junctions);
  EXPECT_EQ(w.At(10, 20)->GetAnzLinkedStreets(), 3);
  ExpectConsistent(w);
}

}  // namespace

namespace {

// A location that counts how often it is sent to find its next crossing.
class CountingLocation : public CSimLocation {
 public:
  short NearestCrossing() const override { return 0; }
  bool GetNearestHst(short&, int&) const override { return false; }
  int LocationDistance(const CSimLocation*) const override { return 0; }
  CSimDistrict* pDistrict() const override { return nullptr; }
  void SearchNextCrossing() override { ++searches; }
  // A crossing that goes asks for the best one other than itself.
  void SearchNextBestCrossing() override { ++searches; }
  int searches = 0;
};

TEST(JunctionList, LocationsOfACrossingThatGoesLookForAnotherButNotWhenTheGameEnds) {
  CountingLocation near, far;
  {
    World w;
    ASSERT_EQ(w.Build(10, 10, 10, 30), STR_BUILD_OK);
    ASSERT_EQ(w.Build(5, 20, 10, 20), STR_BUILD_OK);
    const unsigned short gone = w.At(5, 20)->GetSimID();
    const unsigned short kept = w.At(10, 30)->GetSimID();
    EXPECT_EQ(w.net->RegisterLocationAtCrossing(&near, gone), 0);
    EXPECT_EQ(w.net->RegisterLocationAtCrossing(&far, kept), 0);
    EXPECT_EQ(w.net->RegisterLocationAtCrossing(&far, 999), 1);
    EXPECT_EQ(near.GetListNumber(), 1);
    EXPECT_EQ(w.At(5, 20)->GetLocationList()->GetCount(), 1);
    EXPECT_EQ(w.net->RemoveLocationFromCrossing(kept, &near), 1);  // not there
    // The arm goes, and with it its dead end.
    ASSERT_EQ(w.net->DeleteStreet(w.StreetBetween(5, 20, 10, 20)), 0);
    EXPECT_EQ(w.At(5, 20), nullptr);
    EXPECT_EQ(near.searches, 1);
    EXPECT_EQ(near.GetListNumber(), 0);
    EXPECT_EQ(far.searches, 0);
    EXPECT_EQ(w.net->RemoveLocationFromCrossing(kept, &far), 0);
    EXPECT_EQ(far.GetListNumber(), 0);
    EXPECT_EQ(w.net->RegisterLocationAtCrossing(&far, kept), 0);
  }
  // The whole network going does not send the locations anywhere.
  EXPECT_EQ(far.searches, 0);
}

TEST(JunctionList, ANetworkThatGoesLeavesNoPointerToItselfAndKeepsTheOneInUse) {
  World w;
  // A second network (a game being loaded) is the one junctions reach.
  auto other = std::make_unique<CStrJunctionList>(w.map, w.sim.get());
  EXPECT_EQ(CStrJunction::m_pStreetNet, other.get());
  other.reset();
  EXPECT_EQ(CStrJunction::m_pStreetNet, nullptr);
  // One that goes while another is in use leaves that one.
  other = std::make_unique<CStrJunctionList>(w.map, w.sim.get());
  CStrJunction::m_pStreetNet = w.net.get();
  other.reset();
  EXPECT_EQ(CStrJunction::m_pStreetNet, w.net.get());
}

}  // namespace
