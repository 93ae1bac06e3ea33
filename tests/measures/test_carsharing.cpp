// Car sharing: the office and its outlets, the fleet's members and money,
// the campaigns, the districts' coverage and the record.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "framework/qno_log.h"
#include "measures/carsharing.h"
#include "measures/measure_test_host.h"
#include "measures/opnv_test_hosts.h"
#include "support/test_support.h"

namespace {

constexpr auto At = MeasureTime;

struct Carsharing : testing::Test {
  MeasureTestHost host;
  OpnvWorldHost world;
  CCarsharing cs;
  CBuildingTrafficObject office, outlet1, outlet2;
  void SetUp() override {
    CMeasureHost::Install(&host);
    CWorldHost::Install(&world);
    cs.Create();
    CIsoRichtung dir(0);
    office.Create(OBJ_CARSHARING_CENTRE, 1, 4, 4, &dir, SIM_HEIGHT_ANY);
    outlet1.Create(OBJ_CARSHARING_STATION, 1, 20, 4, &dir, SIM_HEIGHT_ANY);
    outlet2.Create(OBJ_CARSHARING_STATION, 1, 100, 4, &dir, SIM_HEIGHT_ANY);
  }
  void TearDown() override {
    CWorldHost::Install(nullptr);
    CMeasureHost::Install(nullptr);
  }
  double Get(const char* key) { return MeasureValue(cs, key); }
  void OfficeAndTwoOutlets() {
    for (CBuildingTrafficObject* b : {&office, &outlet1, &outlet2}) ASSERT_EQ(cs.AddOutlet(b), 0);
  }
};

TEST_F(Carsharing, TheOfficeAndTheOutletsBringCarsAndCost) {
  OfficeAndTwoOutlets();
  EXPECT_EQ(cs.Block().expenses, 1500000 + 2 * 50000);
  EXPECT_EQ(Get("CS.PKW"), 35);
  EXPECT_EQ(Get("CS.NUMBER"), 3);
  EXPECT_EQ(outlet2.GetID(), 2);
  EXPECT_EQ(host.hints[84], 0);

  EXPECT_EQ(cs.RemoveOutlet(&outlet1, false), 0);
  EXPECT_EQ(Get("CS.PKW"), 25);
  EXPECT_TRUE(world.warnings.empty());
  // The office removed while an outlet stands: warning 32, the whole fleet
  // goes, and the outlet stays listed with no cars.
  EXPECT_EQ(cs.RemoveOutlet(&office, false), 0);
  EXPECT_EQ(world.warnings, std::vector<int>{32});
  EXPECT_EQ(Get("CS.PKW"), 0);
  EXPECT_EQ(Get("CS.NUMBER"), 1);
  EXPECT_EQ(host.hints[84], 1);
  EXPECT_EQ(cs.RemoveOutlet(&outlet2, false), 0);
  EXPECT_EQ(Get("CS.PKW"), 0);
  EXPECT_EQ(Get("CS.NUMBER"), 0);
  // Taken down with the game (forced), the office warns of nothing.
  CCarsharing taken;
  taken.Create();
  for (CBuildingTrafficObject* b : {&office, &outlet1}) ASSERT_EQ(taken.AddOutlet(b), 0);
  EXPECT_EQ(taken.RemoveOutlet(&office, true), 0);
  EXPECT_EQ(world.warnings.size(), 1u);
  EXPECT_EQ(taken.Block().cars, 0);

  // An outlet before any office costs as an outlet; a later office as one.
  CCarsharing later;
  later.Create();
  later.AddOutlet(&outlet1);
  EXPECT_EQ(later.Block().expenses, 50000);
  EXPECT_EQ(later.Block().cars, 10);
  later.AddOutlet(&office);
  EXPECT_EQ(later.Block().expenses, 1550000);
  EXPECT_EQ(later.Block().cars, 25);
}

TEST_F(Carsharing, MembersFollowTheDemandUpToWhatTheFleetServesFasterWithAwareness) {
  cs.AddOutlet(&office);
  cs.AddOutlet(&outlet1);  // 25 cars serve at most 1500 members
  host.people = 100000;
  host.values["W.K8.2"] = 30;  // 3000 wanted
  cs.OnPlayloopTurn(At(0.1f), At(0.0f));
  // 1500 / ((1 - 0) x 5 + 1) x 3 x 0.1 = 75
  EXPECT_EQ(Get("CS.USERQUOTE"), 75 * 100.0 / 1500);
  EXPECT_DOUBLE_EQ(Get("CS.USERQUOTEPEOPLE"), 0.075);
  cs.OnPlayloopTurn(At(9.0f), At(0.1f));
  EXPECT_EQ(Get("CS.USERQUOTE"), 100);

  // A radio campaign's year raises awareness by 0.2; the same step then
  // brings 1500 / 5 x 3 x 0.1 = 90 members instead of 75.
  CCarsharing fresh;
  fresh.Create();
  fresh.AddOutlet(&outlet2);
  fresh.AddOutlet(&office);
  ASSERT_EQ(fresh.SetVarData("CS.ADVERTISMENT.RADIO", 1), 0);
  EXPECT_EQ(world.added["F.GREENADVERTISMENT"], 250000);
  host.people = 0;  // nobody joins while the campaign runs
  fresh.OnPlayloopTurn(At(1.05f), At(0.0f));
  EXPECT_EQ(fresh.Block().radio, 0);
  EXPECT_FLOAT_EQ(fresh.Block().awareness, 0.2f);
  host.people = 100000;
  fresh.OnPlayloopTurn(At(1.15f), At(1.05f));
  EXPECT_NEAR(fresh.Block().users, 90, 1);

  // Without people or cars nobody is a member.
  host.people = 0;
  cs.OnPlayloopTurn(At(9.1f), At(9.0f));
  EXPECT_EQ(cs.Block().users, 0);
}

TEST_F(Carsharing, TheFleetAndTheMembersBookTheirYearlyMoney) {
  cs.AddOutlet(&office);  // 15 cars
  host.people = 100000;
  host.values["W.K8.2"] = 9;  // 900 wanted
  host.values["W.S7"] = 0.45;
  cs.OnPlayloopTurn(At(5.0f), At(0.0f));
  ASSERT_EQ(cs.Block().users, 900);
  const int before = cs.Block().expenses;
  cs.OnPlayloopTurn(At(5.5f), At(5.0f));
  // 0.5 x (80000 + 15 x 300 + 15 x 1800) + 900 x 2400 x (0.45 + 0.05) x 0.5
  EXPECT_EQ(cs.Block().expenses - before, 40000 + 2250 + 13500 + 540000);
  // 900 x 5 x 12 x 0.5 + 0.5 x 900 x 0.3 x 2400
  EXPECT_EQ(cs.Block().income, 27000 + 324000);

  cs.SetVarData("CS.ADVERTISMENT.PRINT", 1);
  cs.OnPlayloopTurn(At(7.0f), At(5.5f));
  EXPECT_FLOAT_EQ(cs.Block().awareness, 0.1f);
  const int balance = cs.Block().balance;
  cs.ResetYearData(At(8.0f), At(7.0f));
  EXPECT_EQ(Get("CS.LASTYEAR.BILANZ"), balance);
  EXPECT_EQ(Get("CS.BILANZ"), 0);
  EXPECT_EQ(Get("CS.INCOME"), 0);
  EXPECT_FLOAT_EQ(cs.Block().awareness, 0.08f);
  EXPECT_EQ(cs.SetVarData("CS.PKW", 100), 1);
}

TEST_F(Carsharing, TheCoverageMapSpreadsEachOutletsSixHundredOverTheDistrictsAround) {
  // The office's district (0, 0) wants 600, outlet1's (2, 0) wants 450,
  // outlet2's (12, 0) 150 with 225 beside it at (13, 1).
  host.residents[0][0] = 4000;
  host.residents[2][0] = 3000;
  host.residents[12][0] = 1000;
  host.residents[13][1] = 1500;
  host.residents[9][9] = 2000;  // 300 that no outlet reaches
  OfficeAndTwoOutlets();
  cs.CalculateMap();
  const float* map = cs.GetMap(nullptr);
  EXPECT_FLOAT_EQ(map[0 * 16 + 0], 0.95f);
  // 150 left after its own district, no neighbour with demand: marked.
  EXPECT_EQ(map[2 * 16 + 0], 1.0f);
  EXPECT_EQ(map[12 * 16 + 0], 1.0f);
  EXPECT_FLOAT_EQ(map[13 * 16 + 1], 0.95f);
  EXPECT_FLOAT_EQ(map[9 * 16 + 9], 0.05f);
  EXPECT_EQ(map[7 * 16 + 7], 0.0f);
  // 600 + 450 + 150 + 225 + 300 = 1725 wanted, 300 not covered.
  EXPECT_FLOAT_EQ(static_cast<float>(Get("CS.QUALITY")), 1.0f - 300.0f / 1725.0f);
  // Only outlet2 keeps more than 180 (600 - 150 - 225 = 225).
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].group * 100 + host.messages[0].entry, 1504);
  EXPECT_EQ(host.messages[0].x, 100);

  // Without a city model the map stays as it was.
  host.hasCity = false;
  host.residents[0][0] = 0;
  cs.CalculateMap();
  EXPECT_FLOAT_EQ(cs.GetMap(nullptr)[0], 0.95f);
}

TEST_F(Carsharing, TheRecordComesBackWithoutTheOutletsItsBuildingsBookAgain) {
  OfficeAndTwoOutlets();
  cs.SetVarData("CS.PRICE.KM", 0.4);
  host.residents[0][0] = 4000;
  cs.CalculateMap();
  zortest::RecordFile file;
  ASSERT_EQ(cs.SerializeGameStore(file.f(), nullptr), 0);
  const zortest::ByteList bytes = file.Bytes();
  ASSERT_EQ(bytes.size(), 4u + 1142u);
  const zortest::ByteList payload(bytes.begin() + 34, bytes.end());

  CCarsharing back;
  back.Create();
  zortest::RecordFile in(payload);
  ASSERT_EQ(back.SerializeGameLoad(in.f(), 1112, 200), 0);
  EXPECT_EQ(back.Block().expenses, 1600000);
  EXPECT_EQ(back.Block().cars, 0);
  host.loading = true;
  for (CBuildingTrafficObject* b : {&office, &outlet1, &outlet2}) back.AddOutlet(b);
  host.loading = false;
  EXPECT_EQ(std::memcmp(&back.Block(), &cs.Block(), offsetof(SCarsharingBlock, messageTime)), 0);

  // Outlets whose office is gone come back with the same expenses, load
  // after load.
  CCarsharing orphans;
  orphans.Create();
  for (CBuildingTrafficObject* b : {&office, &outlet1, &outlet2}) orphans.AddOutlet(b);
  orphans.RemoveOutlet(&office, false);
  const SCarsharingBlock saved = orphans.Block();
  for (int load = 0; load < 2; ++load) {
    zortest::RecordFile out;
    ASSERT_EQ(orphans.SerializeGameStore(out.f(), nullptr), 0);
    const zortest::ByteList b = out.Bytes();
    zortest::RecordFile again(zortest::ByteList(b.begin() + 34, b.end()));
    CCarsharing next;
    next.Create();
    ASSERT_EQ(next.SerializeGameLoad(again.f(), 1112, 200), 0);
    host.loading = true;
    for (CBuildingTrafficObject* o : {&outlet1, &outlet2}) next.AddOutlet(o);
    host.loading = false;
    EXPECT_EQ(next.Block().expenses, saved.expenses) << "load " << load;
    EXPECT_EQ(next.Block().outlets, 2);
  }

  CCarsharing old;
  zortest::RecordFile shorter(zortest::ByteList(payload.begin(), payload.end() - 8));
  EXPECT_EQ(old.SerializeGameLoad(shorter.f(), 1104, 140), 0);
  EXPECT_FLOAT_EQ(old.Block().priceKm, 0.4f);

  // A map value that is no number, members below 0, another length.
  zortest::ByteList nan = payload, negative = payload;
  const float bad = std::nanf("");
  std::memcpy(&nan[80 + 4 * 37], &bad, 4);
  negative[12 + 3] = 0x80;
  OpenErrorLog("errors.log");
  CCarsharing other;
  zortest::RecordFile nanFile(nan), negativeFile(negative), longer(payload);
  EXPECT_EQ(other.SerializeGameLoad(nanFile.f(), 1112, 200), 1);
  EXPECT_EQ(other.SerializeGameLoad(negativeFile.f(), 1112, 200), 1);
  EXPECT_EQ(other.SerializeGameLoad(longer.f(), 1112, 140), 1);
  CloseErrorLog();
  EXPECT_EQ(other.Block().users, 0);
  EXPECT_EQ(other.Block().map[2][5], 0.0f);
  EXPECT_EQ(zortest::ReadFile("errors.log"),
            "Carsharing: a savegame whose field 20 is no number is refused\n"
            "Carsharing: a savegame whose member count cannot be is refused\n"
            "Carsharing: a record of 1112 bytes is refused, 1104 expected\n");
}

}  // namespace
