// The city council: research by levels and its effect, the hourly taxes,
// the fleet's adoption of microcars with and without subsidy, the yearly
// closing and the savegame record.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cybernet/cyber_net.h"
#include "measures/building_object.h"
#include "measures/preise.h"
#include "framework/zor_list.h"
#include "model/data_exchange.h"
#include "model/finanzen.h"
#include "model/stadt_verwaltung.h"
#include "support/test_support.h"
#include "worldbase/zor_world_host.h"

namespace {

// Named values of the finances and public transport, kept in a map.
class Book : public CVarOwner {
 public:
  int SetVarData(const char* name, double value) override {
    values[name] = value;
    return 0;
  }
  int GetVarData(const char* name, double* value) override {
    *value = values.count(name) ? values[name] : 0.0;
    return 0;
  }
  std::map<std::string, double> values;
};

// The warnings the council shows.
struct Warnings : CWorldHost {
  Warnings() { CWorldHost::Install(this); }
  ~Warnings() override { CWorldHost::Install(nullptr); }
  void SetAchtungWindow(int warning) override { shown.push_back(warning); }
  std::vector<int> shown;
};

struct Council : testing::Test {
  CDataExchange dx;
  CCyberNet net;
  Book finances, opnv;
  Warnings warnings;
  CStadtVerwaltung sv;
  void SetUp() override {
    net.InsertStandardTemplates();
    zortest::WriteFile("council.def",
                       "NodeBegin BasicNode Name K12.2 Value 0.1 MinSize 0 MaxSize 100 NodeEnd\n"
                       "NodeBegin BasicNode Name K12.3 Value 0.1 MinSize 0 MaxSize 100 NodeEnd\n"
                       "NodeBegin BasicNode Name S2 Value 0.24 MinSize 0 MaxSize 50000 NodeEnd\n" +
                           ExtraNodes());
    FILE* f = std::fopen("council.def", "r");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(net.Read(f), 0);
    std::fclose(f);
    dx.SetCyberNet(&net);
    dx.RegisterOwner("F.", &finances);
    dx.RegisterOwner("OPNV.", &opnv);
    sv.Attach(&dx);
  }
  // Further nodes a group of tests needs.
  virtual std::string ExtraNodes() { return ""; }
  STime Year(float from) { return STime{8, 1, static_cast<int>(from), from}; }
  void Turn(float from, float to) { sv.OnPlayloopTurn(Year(to), Year(from)); }
  double V(const char* name) { return sv.GetVarValue(name); }
};

TEST_F(Council, ResearchGoesLevelByLevelAndItsEffectGrowsWithTheLevelsDone) {
  EXPECT_EQ(sv.SetVarData("SV.RES.H2.2.ACTIVE", 1), 1);
  EXPECT_EQ(warnings.shown, std::vector<int>{45}) << "level 1 is not done";
  EXPECT_EQ(V("SV.RES.H2.2.ACTIVE"), 0.0);
  sv.SetVarData("SV.RES.H2.1.ACTIVE", 1);
  Turn(0.0f, 1.0f);
  EXPECT_EQ(V("SV.RES.H2.1.DURATION"), 1.0);
  EXPECT_EQ(V("SV.RES.H2.1.COST"), 2500000.0);
  EXPECT_EQ(finances.values["F.RES"], 2500000.0);
  // Level 1 is active but not done: level 2 still waits.
  sv.SetVarData("SV.RES.H2.2.ACTIVE", 1);
  EXPECT_EQ(warnings.shown, (std::vector<int>{45, 45}));
  Turn(1.0f, 2.0f);
  EXPECT_DOUBLE_EQ(V("SV.RES.H2.WIRKUNG"), 0.1);
  EXPECT_EQ(V("SV.RES.H2.PICSTURESTATE"), 1.0);
  EXPECT_EQ(finances.values["F.RES"], 5000000.0);
  for (const char* level : {"SV.RES.H2.2.ACTIVE", "SV.RES.H2.3.ACTIVE"}) {
    sv.SetVarData(level, 1);
    Turn(2.0f, 6.0f);
  }
  EXPECT_DOUBLE_EQ(V("SV.RES.H2.WIRKUNG"), 0.3);
  EXPECT_EQ(V("SV.RES.H2.3.COST"), 0.0);
  // A done level keeps its state; other areas are untouched.
  EXPECT_EQ(sv.SetVarData("SV.RES.H2.1.ACTIVE", 0.0), 1);
  EXPECT_EQ(V("SV.RES.H2.1.ACTIVE"), 1.0);
  EXPECT_EQ(V("SV.RES.EMISSION.WIRKUNG"), 0.0);
  EXPECT_EQ(sv.SetVarData("SV.RES.NOTHING", 1), 1) << "a name of no area is refused";
  // Every row's value lies within its own range.
  for (const char* row : {"SV.SUB.BUYINGPKWH2.PRICE", "SV.DRIVINGPROHIBIT", "SV.TICKET.INCOME", "SV.TAX.ENERGIE"}) {
    float lo = 0, hi = 0;
    sv.GetVarMin(row, &lo);
    sv.GetVarMax(row, &hi);
    EXPECT_LE(lo, static_cast<float>(V(row))) << row;
    EXPECT_GE(hi, static_cast<float>(V(row))) << row;
  }
}

TEST_F(Council, TaxesComeInByThePeopleAndTheCarsOverTheTimeElapsed) {
  dx.SetPeople(10000);
  dx.Block().kfz = 4000;
  Turn(0.0f, 0.5f);
  // f = "W.G9" x 0.5 + 0.75 with no such node: 0.75.
  EXPECT_EQ(V("SV.TAX.GENERAL.INCOME"), std::floor(10000 * 0.25 * 600 * 0.5 * 0.75));
  EXPECT_EQ(V("SV.TAX.MWST.INCOME"), std::floor(10000 * 0.16 * 500 * 0.5 * 0.75));
  // The cars before the turn moved the microcar share.
  EXPECT_EQ(V("SV.TAX.KFZ.PKW.INCOME"), std::floor(4000 * 100 * 0.5));
  EXPECT_GT(finances.values["F.INCOME.CITY"], 0.0);
  EXPECT_GT(finances.values["F.EXPENSES.PRESERVEINFRASTRUCTURE"], 0.0) << "the people's upkeep";
  // Within the year the closing leaves them; a year later they start again.
  EXPECT_EQ(sv.ResetYearData(Year(0.75f), Year(0.5f)), 0);
  EXPECT_GT(V("SV.TAX.GENERAL.INCOME"), 0.0);
  EXPECT_EQ(sv.ResetYearData(Year(1.0f), Year(0.5f)), 0);
  EXPECT_EQ(V("SV.TAX.GENERAL.INCOME"), 0.0);
}

TEST(CouncilAlone, WithoutTheDataExchangeThereIsNobodyToTaxAndNoCar) {
  CStadtVerwaltung sv;
  sv.Create();
  EXPECT_EQ(sv.OnPlayloopTurn(STime{8, 1, 0, 0.5f}, STime{7, 1, 0, 0.0f}), 0);
  for (const char* name : {"SV.TAX.GENERAL.INCOME", "SV.TAX.MWST.INCOME", "SV.TAX.KFZ.PKW.INCOME",
                           "SV.TAX.KFZ.MICROCAR.INCOME", "SV.TAX.ENERGIE.INCOME", "SV.TICKET.INCOME"})
    EXPECT_EQ(sv.GetVarValue(name), 0.0) << name;
  sv.Destroy();
}

TEST_F(Council, MicrocarsComeFasterWithASubsidyAndOnlyThenArePaidAndCounted) {
  dx.Block().kfz = 10000;
  // The target: 20 % of the cars.
  Turn(0.0f, 1.0f);
  const int unpaid = dx.GetMicrocar();
  EXPECT_GT(unpaid, 0);
  EXPECT_EQ(V("SV.SUB.BUYINGMICROCAR.EXPENSES"), 0.0);
  EXPECT_EQ(V("SV.SUB.BUYINGMICROCAR.NUMBER"), 0.0);
  EXPECT_EQ(finances.values["F.SUB"], 0.0);

  CStadtVerwaltung paid;
  CDataExchange dx2;
  dx2.SetCyberNet(&net);
  dx2.RegisterOwner("F.", &finances);
  dx2.Block().kfz = 10000;
  paid.Attach(&dx2);
  paid.SetVarData("SV.SUB.BUYINGMICROCAR", 15);
  paid.OnPlayloopTurn(Year(1.0f), Year(0.0f));
  const int bought = dx2.GetMicrocar();
  EXPECT_GT(bought, unpaid);
  EXPECT_EQ(paid.GetVarValue("SV.SUB.BUYINGMICROCAR.NUMBER"), bought);
  EXPECT_EQ(paid.GetVarValue("SV.SUB.BUYINGMICROCAR.EXPENSES"), std::floor(0.15 * bought * 12000));
  // The year closes the expenses and numbers, but not the cars given up.
  paid.SetVarData("SV.SUB.SELLINGCAR.NUMBER", 7);
  paid.ResetYearData(Year(2.0f), Year(1.0f));
  EXPECT_EQ(paid.GetVarValue("SV.SUB.BUYINGMICROCAR.NUMBER"), 0.0);
  EXPECT_EQ(paid.GetVarValue("SV.SUB.SELLINGCAR.NUMBER"), 7.0);
  paid.ResetYearData(Year(2.5f), Year(2.0f));
  EXPECT_EQ(paid.GetVarValue("SV.SUB.SELLINGCAR.NUMBER"), 7.0);
}

TEST_F(Council, TheLastInstalmentOfALevelSettlesWhatIsLeftEitherWay) {
  // Three and a half million still to pay on a level whose instalments come
  // to five: the last one gives the rest back to the accounts.
  sv.SetVarData("SV.RES.EMISSION.1.COST", 3500000);
  sv.SetVarData("SV.RES.EMISSION.1.ACTIVE", 1);
  Turn(0.0f, 2.0f);
  EXPECT_EQ(finances.values["F.RES"], 3500000.0);
  EXPECT_EQ(V("SV.RES.EMISSION.1.COST"), 0.0);
  EXPECT_EQ(V("SV.RES.EMISSION.1.DURATION"), 2.0);
  // Six and a half million: the last instalment pays the one and a half over.
  sv.SetVarData("SV.RES.REDUCTION.1.COST", 6500000);
  sv.SetVarData("SV.RES.REDUCTION.1.ACTIVE", 1);
  Turn(2.0f, 3.0f);
  EXPECT_EQ(finances.values["F.RES"], 3500000.0 + 2500000.0);
  EXPECT_EQ(V("SV.RES.REDUCTION.1.COST"), 4000000.0);
  Turn(3.0f, 4.0f);
  EXPECT_EQ(finances.values["F.RES"], 3500000.0 + 6500000.0);
  EXPECT_DOUBLE_EQ(V("SV.RES.REDUCTION.WIRKUNG"), 0.1);
}

TEST_F(Council, ALevelStartsOnlyWhenTheAccountCoversWhatIsLeftToPay) {
  CFinanzen fin;
  ASSERT_EQ(sv.Create(&fin), 0);
  fin.SetVarData("F.KONTO", 4000000);
  EXPECT_NE(sv.SetVarData("SV.RES.ENERGIE.1.ACTIVE", 1), 0);
  EXPECT_EQ(warnings.shown, std::vector<int>{74});
  EXPECT_EQ(V("SV.RES.ENERGIE.1.ACTIVE"), 0.0);
  // With four million still to pay the account just covers it.
  sv.SetVarData("SV.RES.ENERGIE.1.COST", 4000000);
  EXPECT_EQ(sv.SetVarData("SV.RES.ENERGIE.1.ACTIVE", 1), 0);
  EXPECT_EQ(V("SV.RES.ENERGIE.1.ACTIVE"), 1.0);
  EXPECT_EQ(warnings.shown, std::vector<int>{74});
  EXPECT_EQ(sv.Destroy(), 0);
}

TEST_F(Council, SpeedControlsJoinAndLeaveTheCouncilsList) {
  CSecondLayerObject a, b;
  CIsoRichtung dir(0);
  a.Create(0, 10, 10, &dir, static_cast<ESimLocationHeight>(0));
  b.Create(0, 12, 10, &dir, static_cast<ESimLocationHeight>(0));
  CZorvaList* list = sv.GetList("SV.SPEEDCONTROLLIST");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(sv.GetList("SV.OTHERLIST"), nullptr);
  EXPECT_EQ(sv.AddSpeedControl(&a), 0);
  EXPECT_EQ(sv.AddSpeedControl(&b), 0);
  EXPECT_EQ(sv.AddSpeedControl(nullptr), 1);
  EXPECT_EQ(list->GetCount(), 2);
  EXPECT_EQ(sv.RemoveSpeedControl(&a), 0);
  EXPECT_EQ(sv.RemoveSpeedControl(nullptr), 1);
  EXPECT_EQ(list->GetCount(), 1);
  EXPECT_EQ(list->GetHeadZorvaPointer()->GetZorvaObject(), &b);
  EXPECT_EQ(sv.RemoveSpeedControl(&b), 0);
  EXPECT_EQ(list->GetCount(), 0);
  a.Destroy();
  b.Destroy();
}

TEST_F(Council, TeleworkersFollowTheWorkersAndAPerCaseSubsidy) {
  dx.Block().worker = 100000;
  // Without a node for the share that may work at home: 10 %, a quarter of
  // it reached before any research: 2500 of the workers.
  EXPECT_EQ(sv.OnPlayloopTurn(Year(1.0f), Year(0.0f)), 0);
  EXPECT_EQ(dx.GetTeleWorker(), static_cast<int>(2500 / 6.5));
  EXPECT_EQ(V("SV.SUB.TELEWORKING.NUMBER"), 0.0);
  // Half the highest subsidy: divisor (1 - 0.5) x 5 + 1.5, 500 a case.
  ASSERT_EQ(sv.SetVarValue("SV.SUB.TELEWORKING", 500), 0);
  EXPECT_EQ(V("SV.SUB.TELEWORKING"), 500.0);
  EXPECT_EQ(sv.SetVarValue("SV.NO.SUCH.ROW", 1), 1);
  const int before = dx.GetTeleWorker();
  Turn(1.0f, 2.0f);
  const int bought = static_cast<int>((2500 - before) / 4.0);
  EXPECT_EQ(dx.GetTeleWorker(), before + bought);
  EXPECT_EQ(V("SV.SUB.TELEWORKING.NUMBER"), bought);
  EXPECT_EQ(V("SV.SUB.TELEWORKING.EXPENSES"), 500.0 * bought);
}

TEST_F(Council, TheEditorGetsEachRowsStepAndRange) {
  struct Range {
    const char* row;
    float min, max, step;
  };
  for (const Range& r : {Range{"SV.TAX.GENERAL", 20, 30, 1}, Range{"SV.TAX.KFZ.PKW", 0, 200, 10},
                         Range{"SV.TAX.ENERGIE", 0.49f, 1, 0.05f}, Range{"SV.TAX.MWST", 14, 22, 1},
                         Range{"SV.SUB.SELLINGCAR", 0, 1000, 100}, Range{"SV.SUB.TELEWORKING.EXPENSES", 0, 2500, 100},
                         Range{"SV.SPEED.AREA", 80, 120, 10}, Range{"SV.SPEED.TOWN", 30, 70, 20},
                         Range{"SV.SPEED.BAB", 130, 250, 10}, Range{"SV.TICKET", 10, 25, 3},
                         Range{"SV.TICKET.PERSON.EXPENSES", 0, 100, 1}}) {
    float min = -1, max = -1, step = -1;
    EXPECT_EQ(sv.GetVarMin(r.row, &min), 0) << r.row;
    EXPECT_EQ(sv.GetVarMax(r.row, &max), 0) << r.row;
    EXPECT_EQ(sv.GetStep(r.row, &step), 0) << r.row;
    EXPECT_EQ(min, r.min) << r.row;
    EXPECT_EQ(max, r.max) << r.row;
    EXPECT_EQ(step, r.step) << r.row;
  }
  float kept = -7;
  EXPECT_EQ(sv.GetStep("SV.NO.SUCH.ROW", &kept), 1);
  EXPECT_EQ(sv.GetVarMin("SV.NO.SUCH.ROW", &kept), 1);
  EXPECT_EQ(sv.GetVarMax("SV.NO.SUCH.ROW", &kept), 1);
  EXPECT_EQ(kept, -7.0f) << "an unknown row answers nothing";
}

TEST_F(Council, UpkeepIsPricedByStreetClassAndTheRailsApart) {
  const std::unique_ptr<CPreise> prices(CPreise::SetPreise());
  dx.SetPeople(100);
  // Class-1, class-2 and class-4 street lengths, then the rails.
  dx.Block().streetNet[0] = 4;
  dx.Block().streetNet[1] = 3;
  dx.Block().streetNet[2] = 10;
  dx.Block().streetNet[3] = 2;
  Turn(0.0f, 0.5f);
  const double yearly = std::floor(100 * 150 + 0.5 * (CPreise::GetPreis(5, 2) * 4 + CPreise::GetPreis(6, 2) * 3 +
                                                      0.5 * CPreise::GetPreis(7, 2) * 10));
  EXPECT_EQ(yearly, 15000 + 0.5 * (2500 * 4 + 5000 * 3 + 0.5 * 7500 * 10)) << "the yearly upkeep rates";
  EXPECT_EQ(finances.values["F.EXPENSES.PRESERVEINFRASTRUCTURE"], yearly * 0.5);
  EXPECT_EQ(opnv.values["OPNV.F.COST.PRESERVE"], std::floor(CPreise::GetPreis(9, 2) * 2 * 0.5) * 0.5);
}

TEST_F(Council, AFailedWriteOfTheRecordIsReported) {
  FILE* readOnly = std::fopen("council_record.bin", "w+");
  ASSERT_NE(readOnly, nullptr);
  std::fclose(readOnly);
  readOnly = std::fopen("council_record.bin", "r");
  ASSERT_NE(readOnly, nullptr);
  EXPECT_EQ(sv.SerializeGameStore(readOnly, nullptr), 1);
  std::fclose(readOnly);
}

// The ticket wardens and the electric and hydrogen cars need the fines'
// factor and the fleet's interest in clean cars.
struct CouncilFleet : Council {
  std::string ExtraNodes() override {
    return "NodeBegin BasicNode Name E15 Value 0.25 MinSize 0 MaxSize 1 NodeEnd\n"
           "NodeBegin BasicNode Name K14 Value 0.1 MinSize 0 MaxSize 100 NodeEnd\n";
  }
};

TEST_F(CouncilFleet, WardensCostTheirPayAndBringFinesFromTheCarsTheyCanWatch) {
  dx.Block().kfz = 4000;
  const double cars = dx.GetPkw();
  ASSERT_GT(cars, 0.0);
  sv.SetVarData("SV.TICKET.PERSON", 2);
  Turn(0.0f, 0.5f);
  EXPECT_EQ(V("SV.TICKET.PERSON.EXPENSES"), 2 * 30000 * 0.5);
  // Two wardens watch 2000 of the 4000 cars.
  const double fines = std::floor(0.25 * 0.5 * (20 / 15.0) * cars * 0.5 * 0.5);
  ASSERT_GT(fines, 0.0);
  EXPECT_EQ(V("SV.TICKET.INCOME"), fines);
  EXPECT_EQ(V("SV.TICKET.BILANZ"), fines - 30000);
  const double taxes = V("SV.TAX.GENERAL.INCOME") + V("SV.TAX.MWST.INCOME") + V("SV.TAX.KFZ.PKW.INCOME") +
                       V("SV.TAX.KFZ.MICROCAR.INCOME") + V("SV.TAX.ENERGIE.INCOME");
  EXPECT_EQ(finances.values["F.INCOME.CITY"], taxes - 30000 + fines);

  // Five wardens watch every car, not more; a dearer fine brings more.
  sv.SetVarData("SV.TICKET.PERSON", 5);
  sv.SetVarData("SV.TICKET", 25);
  // The microcars bought in the first turn are no longer cars.
  const double fewer = dx.GetPkw();
  Turn(0.5f, 1.0f);
  const double more = std::floor(0.25 * 0.5 * (25 / 15.0) * fewer * 1.0 * 0.5);
  EXPECT_EQ(V("SV.TICKET.INCOME"), fines + more);
  EXPECT_EQ(V("SV.TICKET.PERSON.EXPENSES"), 30000 + 75000);
  EXPECT_EQ(V("SV.TICKET.BILANZ"), fines + more - 105000);
  // The year closes the ticket accounts and keeps their balance as last year's.
  sv.ResetYearData(Year(1.0f), Year(0.5f));
  EXPECT_EQ(V("SV.TICKET.LASTYEAR.BILANZ"), fines + more - 105000);
  EXPECT_EQ(V("SV.TICKET.BILANZ"), 0.0);
  EXPECT_EQ(V("SV.TICKET.INCOME"), 0.0);
}

TEST_F(CouncilFleet, CleanCarsComeFasterWithASubsidyThatFallsWithTheResearchDone) {
  dx.Block().kfz = 100000;
  const double cars = dx.GetPkw();
  // Electric cars: level 1 of their research is done; hydrogen has none.
  sv.SetVarData("SV.RES.ENERGIE.1.DURATION", 2);
  ASSERT_DOUBLE_EQ(V("SV.RES.ENERGIE.WIRKUNG"), 0.1);
  sv.SetVarData("SV.SUB.BUYINGPKWENERGIE", 6);
  sv.SetVarData("SV.SUB.BUYINGPKWH2", 15);
  Turn(0.0f, 1.0f);
  // Electric: target = cars x 0.2 / 0.4 x 1 / 100, s = 0.06 / 0.15, divisor (1 - s) x 5 + 1.5.
  const int eTarget = static_cast<int>(cars * 0.2 / 0.4 / 100);
  const int eBought = static_cast<int>(cars * 0.2 / 0.4 / 100 / ((1 - 0.4) * 5 + 1.5));
  ASSERT_GT(eTarget, 0);
  EXPECT_EQ(dx.GetEnergieCar(), eBought);
  EXPECT_EQ(V("SV.SUB.BUYINGPKWENERGIE.NUMBER"), eBought);
  EXPECT_EQ(V("SV.SUB.BUYINGPKWENERGIE.EXPENSES"), std::floor((35000 - 0.1 / 0.3 * 15000) * 0.06 * eBought));
  // Hydrogen at the full rate: s = 1, divisor 1.5, the whole price share paid.
  const int hBought = static_cast<int>(cars * 0.1 / 0.4 / 100 / 1.5);
  EXPECT_EQ(dx.GetH2Car(), hBought);
  EXPECT_EQ(V("SV.SUB.BUYINGPKWH2.EXPENSES"), std::floor(35000 * 0.15 * hBought));
  EXPECT_EQ(V("SV.SUB.BUYINGPKWH2.NUMBER"), hBought);
  EXPECT_EQ(finances.values["F.SUB"], V("SV.SUB.BUYINGPKWH2.EXPENSES") + V("SV.SUB.BUYINGPKWENERGIE.EXPENSES"));

  // Without a subsidy (divisor 6.5) a gap of seven and a half cars still
  // buys one in a year's time.
  sv.SetVarData("SV.SUB.BUYINGPKWH2", 0.0);
  // The microcars bought are no longer cars.
  const double fewer = dx.GetPkw();
  const int near = static_cast<int>(std::floor(fewer * 0.1 / 0.4 / 100 - 7.5));
  dx.SetH2Car(near);
  Turn(1.0f, 2.0f);
  EXPECT_EQ(dx.GetH2Car(), near + 1);
  EXPECT_EQ(V("SV.SUB.BUYINGPKWH2.NUMBER"), hBought) << "unpaid cases are not counted";
  // Beyond the target the count gives up half the gap a year.
  dx.SetEnergieCar(eTarget + 1000);
  const double left = dx.GetPkw();
  Turn(2.0f, 2.5f);
  EXPECT_EQ(dx.GetEnergieCar(), static_cast<int>(eTarget + 1000 - (eTarget + 1000 - left * 0.2 / 0.4 / 100) * 0.5 * 0.5));
}

std::string Saved(CStadtVerwaltung& sv) {
  char* buffer = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&buffer, &size);
  EXPECT_EQ(sv.SerializeGameStore(out, nullptr), 0);
  std::fclose(out);
  std::string bytes(buffer, size);
  std::free(buffer);
  return bytes;
}

int Load(CStadtVerwaltung& sv, const std::string& payload, int version = 240) {
  const int kept = g_ZorLoadVersion;
  g_ZorLoadVersion = version;
  FILE* in = fmemopen(const_cast<char*>(payload.data()), payload.size(), "rb");
  const int r = sv.SerializeGameLoad(in);
  std::fclose(in);
  g_ZorLoadVersion = kept;
  return r;
}

TEST_F(Council, TheRecordKeepsRowsAndResearchAndRefusesWhatDoesNotFit) {
  sv.SetVarData("SV.TAX.MWST", 19);
  sv.SetVarData("SV.RES.ENERGIE.1.DURATION", 1.5);
  const std::string bytes = Saved(sv);
  uint32_t length = 0;
  std::memcpy(&length, bytes.data(), 4);
  EXPECT_EQ(length, 40u * 76 + 908) << "the length counts the rows at 76 bytes";
  EXPECT_EQ(bytes.size(), 4u + 30 + 4 + 40 * 96 + 840 + 30);
  const std::string payload = bytes.substr(34);
  CStadtVerwaltung back;
  ASSERT_EQ(Load(back, payload), 0);
  EXPECT_EQ(back.GetVarValue("SV.TAX.MWST"), 19.0);
  EXPECT_EQ(back.Forschung(2, 0, CStadtVerwaltung::kDone), 1.5);
  EXPECT_EQ(Saved(back), bytes);

  std::string tag = payload;
  tag[tag.size() - 30] = 'X';
  EXPECT_EQ(Load(back, tag), 1) << "the end tag";
  std::string many = payload;
  const int32_t rows = 41;
  std::memcpy(many.data(), &rows, 4);
  EXPECT_EQ(Load(back, many), 1) << "more rows than the table";
  EXPECT_EQ(Load(back, payload.substr(0, 100)), 1);
  // Older savegames hold float rows and a float research block.
  std::string old;
  const int32_t count = 40;
  old.append(reinterpret_cast<const char*>(&count), 4);
  for (int i = 0; i < 40; ++i) {
    SVVarType row{};
    std::memcpy(row.name, sv.GetVar("SV.TAX.GENERAL")[i].name, sizeof row.name);
    row.value = static_cast<float>(sv.GetVar("SV.TAX.GENERAL")[i].value);
    old.append(reinterpret_cast<const char*>(&row), sizeof row);
  }
  for (int i = 0; i < 105; ++i) {
    const float v = i % 7 == 1 ? 2.0f : 0.0f;
    old.append(reinterpret_cast<const char*>(&v), 4);
  }
  old.append("SVENDE", 6);
  old.append(24, '\0');
  CStadtVerwaltung older;
  EXPECT_EQ(Load(older, old, 170), 0);
  EXPECT_EQ(older.GetVarValue("SV.TAX.MWST"), 19.0);
  EXPECT_EQ(older.Forschung(0, 0, CStadtVerwaltung::kNeeded), 2.0);
}

}  // namespace
