// The operator's accounts that follow its nets: staff needed for the
// timetable kilometres, upkeep of stops, tram tracks and vehicles, staff pay,
// the service offers at the stops and the mean headway.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "measures/opnv_net.h"
#include "measures/preise.h"
#include "opnv_test_hosts.h"

namespace {

class OpnvAccounts : public OpnvFixture {
 protected:
  void TearDown() override {
    OpnvFixture::TearDown();
    for (auto& s : stops) s->Destroy();
  }
  double V(const char* name) { return COpnv::GetVarValue(name); }
  void Set(const char* name, double value) { ASSERT_EQ(COpnv::SetVarValue(name, value), 0) << name; }
  // A line of the bus or tram net with its length and headway in minutes.
  void AddLine(NetActiveType type, float length, int headway, int passengers = 0) {
    auto* line = new COpnvLine(type);
    line->Create(++lines, nullptr, type);
    line->GetData()->length = length;
    line->GetData()->headway = headway;
    line->GetData()->passengers[8] = passengers;
    (type == NET_TRAM ? opnv.GetTramNet() : opnv.GetBusNet())->AddOpnvLine(line);
  }
  void AddStop(int x) {
    auto stop = std::make_unique<CSecondLayerObject>();
    CIsoRichtung dir(0);
    stop->Create(0, x, 10, &dir, static_cast<ESimLocationHeight>(0));
    stop->SetType(OBJ_BUSSTOP_SIGN);
    ASSERT_EQ(opnv.AddHst(stop.get(), NET_BUS, false), 0);
    stops.push_back(std::move(stop));
  }
  // The drivers, service staff and mechanics the nets need.
  void ExpectNeeds(int drivers, int service, int mechanics) {
    EXPECT_EQ(V("OPNV.PERS.DRIVER.NEEDED"), drivers);
    EXPECT_EQ(V("OPNV.PERS.SERVICE.NEEDED"), service);
    EXPECT_EQ(V("OPNV.PERS.MECHANICS.NEEDED"), mechanics);
    EXPECT_EQ(V("OPNV.PERS.NEEDED"), drivers + service + mechanics);
  }
  double NetValue(COpnvNet* net, const char* key) {
    double v = -1;
    EXPECT_EQ(net->GetVarData(key, &v), 0) << key;
    return v;
  }
  double Frequency() {
    double v = -1;
    EXPECT_EQ(opnv.GetVarData("OPNV.FREQUENCY", &v), 0);
    return v;
  }
  int lines = 0;
  std::vector<std::unique_ptr<CSecondLayerObject>> stops;
};

TEST_F(OpnvAccounts, StaffNeedsFollowTheTimetableKilometresOfBusesAndTrams) {
  // 10 km every 30 minutes: 360 timetable km; 5 km every 10 minutes: 540.
  AddLine(NET_BUS, 10, 30);
  AddLine(NET_TRAM, 5, 10);
  opnv.CalculateBussePersonal();
  // int(360 / 15) + int(540 / 25) = 45 runs; int(45 / 4.3835616) = 10 drivers.
  ExpectNeeds(10, 2, 1);

  // Staff pay: 50000 a year each, the account floored before it grows.
  for (const char* q : {"OPNV.PERS.DRIVER.QUOTE", "OPNV.PERS.MECHANICS.QUOTE", "OPNV.PERS.SERVICE.QUOTE"}) Set(q, 100);
  opnv.CalculatePersonalNumber();
  Set("OPNV.F.COST.PERS", 0.5);
  opnv.CalculatePersonalkosten(0.25);
  EXPECT_EQ(V("OPNV.PERS.COST"), 13 * 50000);
  EXPECT_EQ(V("OPNV.F.COST.PERS"), 13 * 50000 * 0.25);
  Set("OPNV.PERS.MECHANICS.QUOTE", 0);
  opnv.CalculatePersonalNumber();
  opnv.CalculatePersonalkosten(0.5);
  EXPECT_EQ(V("OPNV.PERS.COST"), 12 * 50000);
  EXPECT_EQ(V("OPNV.F.COST.PERS"), 13 * 50000 * 0.25 + 12 * 50000 * 0.5);
}

TEST_F(OpnvAccounts, ASmallTimetableStillNeedsOneOfEachAndNoneNeedsNobody) {
  opnv.CalculateBussePersonal();
  ExpectNeeds(0, 0, 0);
  // 2 km every 60 minutes: 36 timetable km, two runs: less than one driver.
  AddLine(NET_BUS, 2, 60);
  opnv.CalculateBussePersonal();
  ExpectNeeds(1, 1, 1);
  // 14 km every 60 minutes on rails: 252 km, int(252 / 25) + 2 = 12 runs,
  // two drivers: still one mechanic and one at the service.
  AddLine(NET_TRAM, 14, 60);
  opnv.CalculateBussePersonal();
  ExpectNeeds(2, 1, 1);
}

TEST_F(OpnvAccounts, UpkeepIsPricedForStopsTracksTramsAndBusesEach) {
  for (int x : {10, 12, 14}) AddStop(x);
  AddLine(NET_TRAM, 5, 10);
  Set("OPNV.FP.TRAM", 2);
  Set("OPNV.FP.BUS", 4);
  Set("OPNV.F.COST.PRESERVE", 0);
  opnv.CalculateErhaltungskosten(0.5);
  const double expected = std::trunc(CPreise::GetPreis(14, 2) * 3 * 0.5) + std::trunc(CPreise::GetPreis(10, 2) * 5 * 0.5) +
                          std::trunc(CPreise::GetPreis(43, 2) * 2 * 0.5) + std::trunc(CPreise::GetPreis(39, 2) * 4 * 0.5);
  EXPECT_EQ(expected, 16000 * 1.5 + 300000 * 2.5 + 337500 + 30000 * 2) << "the yearly upkeep rates";
  EXPECT_EQ(V("OPNV.F.COST.PRESERVE"), expected);
}

TEST_F(OpnvAccounts, EachServiceOfferAtTheStopsIsPaidOnItsOwnRow) {
  for (int x : {10, 12, 14}) AddStop(x);
  for (const char* row : {"OPNV.SV.INFOTERMINAL.COST", "OPNV.SV.DYNAMICTABLE.COST", "OPNV.SV.INTERNET.COST",
                          "OPNV.F.COST.SERVICE", "OPNV.SV.INTERNET"})
    Set(row, 0);
  Set("OPNV.SV.DYNAMICTABLE", 1);
  opnv.CalculateServiceKosten(0.5);
  EXPECT_EQ(V("OPNV.SV.DYNAMICTABLE.COST"), 3 * 15000 * 0.5);
  EXPECT_EQ(V("OPNV.SV.INFOTERMINAL.COST"), 0);
  EXPECT_EQ(V("OPNV.F.COST.SERVICE"), 3 * 15000 * 0.5);
  Set("OPNV.SV.DYNAMICTABLE", 0);
  Set("OPNV.SV.INFOTERMINAL", 1);
  opnv.CalculateServiceKosten(0.25);
  EXPECT_EQ(V("OPNV.SV.DYNAMICTABLE.COST"), 3 * 15000 * 0.5);
  EXPECT_EQ(V("OPNV.SV.INFOTERMINAL.COST"), 3 * 4000 * 0.25);
  EXPECT_EQ(V("OPNV.F.COST.SERVICE"), 3 * 15000 * 0.5 + 3 * 4000 * 0.25);
}

TEST_F(OpnvAccounts, TheMeanHeadwayIsWeightedByTheLengthOfEachNet) {
  EXPECT_EQ(Frequency(), 30) << "no net at all";
  EXPECT_EQ(opnv.GetTramNetLength(), 0);
  AddLine(NET_TRAM, 5, 10);
  EXPECT_EQ(opnv.GetTramNetLength(), 5);
  EXPECT_EQ(Frequency(), 10) << "trams only";
  AddLine(NET_BUS, 10, 20);
  AddLine(NET_BUS, 10, 40);
  EXPECT_EQ(opnv.GetTramNetLength(), 5) << "the buses do not count";
  // Buses every 30 minutes on 20 km, trams every 10 on 5.
  EXPECT_NEAR(Frequency(), (30.0 * 20 + 10.0 * 5) / 25, 1e-9);
}

TEST_F(OpnvAccounts, FaresAreSharedByTheNetsPassengersLessThoseTheyCannotCarry) {
  host.busLength = 5;
  host.busTrips = 100;
  AddLine(NET_BUS, 10, 30, 3600);
  AddLine(NET_TRAM, 5, 10, 2000);
  const double bus = NetValue(opnv.GetBusNet(), "OPNV.NET.PASSENGER");
  const double busOver = NetValue(opnv.GetBusNet(), "OPNV.NET.PASSENGERTOOMUCH");
  const double tram = NetValue(opnv.GetTramNet(), "OPNV.NET.PASSENGER");
  const double tramOver = NetValue(opnv.GetTramNet(), "OPNV.NET.PASSENGERTOOMUCH");
  ASSERT_EQ(bus, 3600);
  ASSERT_GT(busOver, 0);
  for (const char* row : {"OPNV.F.INCOME.TICKET.BUS", "OPNV.F.INCOME.TICKET.TRAM"}) Set(row, 0);
  opnv.CalculateIncome(0.25);
  const double yearly = opnv.CalculateAveragePriceKm() * 5.0 * (100 * 210.0);
  EXPECT_EQ(V("OPNV.PRICE.ESTIMATEDINCOME"), yearly);
  const double quarter = 0.25 * yearly;
  EXPECT_EQ(V("OPNV.F.INCOME.TICKET.BUS"), std::floor((bus - busOver) * quarter / (bus + tram)));
  EXPECT_EQ(V("OPNV.F.INCOME.TICKET.TRAM"), std::floor((tram - tramOver) * quarter / (bus + tram)));
  EXPECT_GT(V("OPNV.F.INCOME.TICKET.TRAM"), 0);
}

TEST_F(OpnvAccounts, TheYearlyClosingLeavesTheStaffAndFleetRowsAlone) {
  Set("OPNV.PERS.DRIVER", 7);
  Set("OPNV.PERS.DRIVER.QUOTE", 90);
  Set("OPNV.F.INCOME", 1000);
  STime last, now;
  last.year = 3, last.fyear = 3.9f;
  now.year = 4, now.fyear = 4.05f;
  EXPECT_EQ(opnv.ResetYearData(now, last), 0);
  EXPECT_EQ(V("OPNV.F.LY.INCOME"), 1000);
  EXPECT_EQ(V("OPNV.PERS.DRIVER"), 7);
  EXPECT_EQ(V("OPNV.PERS.DRIVER.QUOTE"), 90);
}

}  // namespace
