// The removal tool for streets and tracks on small hand-built towns: its
// refusals, the junctions it takes, and the costs it books.
#include "framework/zor_seams.h"
#include "select_scene.h"
#include "ui/ui_host.h"

namespace {

using seltest::Town;

constexpr const char* kBuild = "F.EXPENSES.BUILDINFRASTRUCTURE";

// A world that reports a building cut off by any street's removal.
class CutOffHost : public CUiHost {
 public:
  CutOffHost() { CUiHost::Install(this); }
  ~CutOffHost() override { CUiHost::Install(nullptr); }
  int CheckStreetForRemove(CWorldObj* street, int& x, int& y, int& width, int& depth) override {
    asked = street;
    x = 40;
    y = 41;
    width = 2;
    depth = 3;
    return 1;
  }
  void CheckAllLocationsForNearestCrossing() override { ++searches; }
  CWorldObj* asked = nullptr;
  int searches = 0;
};

// The main street (10, 10)-(10, 30) with a side street east from its
// middle: three junctions.
void BuildT(railtest::RailWorld& w, TStrassenType side = STRASSE_2) {
  ASSERT_EQ(w.Build(10, 10, 10, 30, STRASSE_2), STR_BUILD_OK);
  ASSERT_EQ(w.Build(10, 20, 12, 20, side), STR_BUILD_OK);
}

TEST_F(Town, TheLastStreetAndTheLastTrackStay) {
  ASSERT_EQ(w.Build(10, 10, 10, 30, STRASSE_2), STR_BUILD_OK);
  ASSERT_EQ(w.Track(20, 10, 20, 30), STR_BUILD_OK);
  EXPECT_EQ(ui->DeleteStreet(10, 20), 1);
  EXPECT_EQ(ui->DeleteStreet(20, 20), 1);
  EXPECT_EQ(ui->warnings, (std::vector<int>{35, 48}));
  EXPECT_STREQ(CUserInt::GetAchtungText(35, 1), "You can no longer remove these last streets!");
  EXPECT_EQ(w.Streets().size(), 1u);
  EXPECT_EQ(w.Tracks().size(), 1u);
  EXPECT_EQ(booking.bookings, 0);
}

TEST_F(Town, AStreetWithAStopStays) {
  BuildT(w);
  auto* stop = new CWorldObj;
  stop->Create();
  stop->SetType(OBJ_BUSSTOP_SIGN);
  w.host.objects.insert(stop);
  w.map->SetIsoTileAt(10, 14, ISO_LAYER_UPPER, CIsoRichtung(0), isotest::kBuilding, stop);
  const size_t streets = w.Streets().size();
  EXPECT_EQ(ui->DeleteStreet(10, 12), 1);
  EXPECT_EQ(ui->warnings, (std::vector<int>{13}));
  EXPECT_STREQ(CUserInt::GetAchtungText(13, 1), "Stop/station in way!");
  EXPECT_EQ(w.Streets().size(), streets);
  EXPECT_EQ(booking.bookings, 0);
}

TEST_F(Town, RemovalsBookTheRemovalPriceOfEveryChangedClass) {
  BuildT(w);
  CStrStrasse* side = w.StreetBetween(10, 20, 12, 20);
  ASSERT_NE(side, nullptr);
  ASSERT_EQ(side->GetLaenge(), 200);
  const int junctions = w.Junctions();
  // Pressing the side street's end junction removes the street.
  EXPECT_EQ(ui->DeleteStreet(12, 20), 1);
  EXPECT_TRUE(ui->warnings.empty());
  EXPECT_EQ(w.StreetBetween(10, 20, 12, 20), nullptr);
  EXPECT_LT(w.Junctions(), junctions);
  EXPECT_EQ(booking.booked[kBuild], 5000.0 * 2) << "a main street of length 200";

  // A four-lane street's doubled length counts once, as when it is built.
  ASSERT_EQ(w.Build(10, 25, 17, 25, STRASSE_VIERSPURIG), STR_BUILD_OK);
  CStrStrasse* four = w.StreetBetween(10, 25, 17, 25);
  ASSERT_NE(four, nullptr);
  const int length = four->GetLaenge();
  ASSERT_GT(length, 0);
  EXPECT_EQ(ui->DeleteStreet(15, 25), 1);
  EXPECT_EQ(w.StreetBetween(10, 25, 17, 25), nullptr);
  EXPECT_FLOAT_EQ(booking.booked[kBuild], 10000.0 + 7500.0 * length / 100);

  // A track costs nothing to remove.
  ASSERT_EQ(w.Track(30, 10, 30, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Track(30, 20, 36, 20), STR_BUILD_OK);
  const int bookings = booking.bookings;
  EXPECT_EQ(ui->DeleteStreet(34, 20), 1);
  EXPECT_TRUE(ui->warnings.empty());
  ASSERT_EQ(w.Tracks().size(), 1u) << "the halves of the first track join again";
  EXPECT_EQ(w.RailAt(36, 20), nullptr);
  EXPECT_EQ(booking.bookings, bookings + 1);
  EXPECT_FLOAT_EQ(booking.booked[kBuild], 10000.0 + 7500.0 * length / 100);
}

TEST(StreetClassCost, EveryChangedClassIsChargedAndFourLanesCountOnce) {
  seltest::BookingHost booking;
  delete CPreise::SetPreise();
  CUserInt::NetLengths before{3.0f, 2.0f, 4.0f, 6.0f};
  CUserInt::NetLengths after{1.0f, 3.0f, 0.0f, 0.0f};
  const auto cost = [](const CUserInt::NetLengths& a, const CUserInt::NetLengths& b, int cls) {
    double streets = -1, tracks = -1;
    CUserInt::StreetChangeCosts(a, b, &streets, &tracks, cls);
    return streets;
  };
  EXPECT_EQ(cost(before, after, 1), 2500 * 2 + 5000 * 1 + 7500 * 2);
  EXPECT_EQ(cost(before, after, 0), 25000 * 2 + 50000 * 1 + 75000 * 2);
  EXPECT_EQ(cost(before, before, 1), 0.0);
}

TEST_F(Town, ACrossingOfThreeStreetsIsNoTarget) {
  BuildT(w);
  const size_t streets = w.Streets().size();
  EXPECT_EQ(ui->DeleteStreet(10, 20), 1);
  EXPECT_EQ(ui->DeleteStreet(50, 50), 1) << "open land";
  EXPECT_EQ(ui->DeleteStreet(-1, 300), 1) << "outside the map";
  EXPECT_TRUE(ui->warnings.empty());
  EXPECT_EQ(w.Streets().size(), streets);
  EXPECT_EQ(booking.bookings, 0);
}

TEST_F(Town, ARemovalThatWouldCutTheNetworkIsRefused) {
  // Two crossings joined by one street: taking it would split the town.
  ASSERT_EQ(w.Build(10, 10, 10, 30, STRASSE_2), STR_BUILD_OK);
  ASSERT_EQ(w.Build(10, 20, 20, 20, STRASSE_1), STR_BUILD_OK);
  ASSERT_EQ(w.Build(20, 20, 20, 10, STRASSE_2), STR_BUILD_OK);
  ASSERT_EQ(w.Build(20, 20, 20, 30, STRASSE_2), STR_BUILD_OK);
  const size_t streets = w.Streets().size();
  EXPECT_EQ(ui->DeleteStreet(15, 20), 1);
  EXPECT_EQ(ui->warnings, (std::vector<int>{27}));
  EXPECT_STREQ(CUserInt::GetAchtungText(27, 1), "Street network may not be divided!");
  EXPECT_EQ(w.Streets().size(), streets);
  EXPECT_EQ(booking.bookings, 0);
  junctiontest::ExpectConsistent(w);
}

TEST_F(Town, AStreetServingAnImportantBuildingStaysAndTheBuildingIsShown) {
  BuildT(w);
  CutOffHost world;
  ZorManualClock clock(5000);
  ZorSetClock(&clock);
  EXPECT_EQ(ui->DeleteStreet(12, 20), 1);
  ZorSetClock(nullptr);
  EXPECT_EQ(ui->warnings, (std::vector<int>{26}));
  ASSERT_NE(w.StreetBetween(10, 20, 12, 20), nullptr);
  EXPECT_EQ(world.asked, w.StreetBetween(10, 20, 12, 20)->GetWorldObj());
  EXPECT_EQ(CUserInt::selObj.importantX, 40);
  EXPECT_EQ(CUserInt::selObj.importantY, 41);
  EXPECT_EQ(CUserInt::selObj.importantW, 2);
  EXPECT_EQ(CUserInt::selObj.importantH, 3);
  EXPECT_EQ(CUserInt::selObj.importantStart, 5000u);
  EXPECT_EQ(CUserInt::selObj.importantUntil, 11000u);
  EXPECT_EQ(booking.bookings, 0);
  EXPECT_EQ(world.searches, 0);
  // A track is never asked about buildings.
  ASSERT_EQ(w.Track(30, 10, 30, 30), STR_BUILD_OK);
  ASSERT_EQ(w.Track(30, 20, 36, 20), STR_BUILD_OK);
  world.asked = nullptr;
  EXPECT_EQ(ui->DeleteStreet(34, 20), 1);
  EXPECT_EQ(world.asked, nullptr);
  EXPECT_EQ(world.searches, 1) << "the locations look for their crossings after a removal";
}

TEST_F(Town, TheStreetWindowsLetGoOfARemovedStreet) {
  BuildT(w);
  CStrStrasse* side = w.StreetBetween(10, 20, 12, 20);
  CUserInt::selObj.selectedStreet = side->GetWorldObj();
  CUserInt::selObj.selectedStreetId = side->GetSimID();
  CUserInt::selObj.streetLoad[0][3] = 50;
  EXPECT_EQ(ui->DeleteStreet(12, 20), 1);
  EXPECT_EQ(CUserInt::selObj.selectedStreet, nullptr);
  EXPECT_EQ(CUserInt::selObj.selectedStreetId, -1);
  EXPECT_EQ(CUserInt::selObj.streetLoad[0][3], -1);
  // A street that stays stays selected.
  CStrStrasse* main = w.StreetBetween(10, 10, 10, 30);
  ASSERT_NE(main, nullptr);
  CUserInt::selObj.selectedStreet = main->GetWorldObj();
  CUserInt::selObj.selectedStreetId = main->GetSimID();
  ui->CheckStreetCrossingWindow();
  EXPECT_EQ(CUserInt::selObj.selectedStreet, main->GetWorldObj());
}

}  // namespace
