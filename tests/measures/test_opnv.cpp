#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "measures/opnv.h"
#include "measures/preise.h"
#include "opnv_test_hosts.h"

namespace {

// A time `share` into the year.
STime At(int year, float share) {
  STime t;
  t.year = year;
  t.fyear = static_cast<float>(year) + share;
  return t;
}

class Opnv : public OpnvFixture {
 protected:
  double V(const char* name) { return COpnv::GetVarValue(name); }
  void Set(const char* name, double value) { ASSERT_EQ(COpnv::SetVarValue(name, value), 0) << name; }
  double Get(const char* key) {
    double v = -12345;
    EXPECT_EQ(opnv.GetVarData(key, &v), 0) << key;
    return v;
  }
};

TEST_F(Opnv, TheTableHoldsItsRowsInOrderWithTheirFirstValues) {
  EXPECT_EQ(opnv.GetVarRowCount(), 122);
  EXPECT_STREQ(COpnv::OPNVVars[0].name, "OPNV.F.INCOME");
  EXPECT_STREQ(COpnv::OPNVVars[12].name, "OPNV.F.BILANZ");
  EXPECT_STREQ(COpnv::OPNVVars[13].name, "OPNV.F.LY.INCOME");
  EXPECT_STREQ(COpnv::OPNVVars[25].name, "OPNV.F.LY.BILANZ");
  EXPECT_STREQ(COpnv::OPNVVars[121].name, "OPNV.HST");
  EXPECT_STREQ(COpnv::OPNVVars[122].name, "LISTENDE");
  EXPECT_EQ(V("OPNV.PERS.DRIVER.QUOTE"), 100);
  EXPECT_EQ(V("OPNV.PERS.QUALI"), 1);
  EXPECT_DOUBLE_EQ(V("OPNV.PRICE.KM"), 0.14);
  EXPECT_EQ(V("OPNV.PRICE.REDUCTIONTICKETMONTH"), 50);
  EXPECT_EQ(V("OPNV.NO.SUCH.ROW"), -1);
  EXPECT_EQ(COpnv::SetVarValue("OPNV.NO.SUCH.ROW", 1), 1);
  double v = 0;
  EXPECT_EQ(opnv.GetVarData("OPNV.NO.SUCH.ROW", &v), 1);
  EXPECT_EQ(opnv.SetVarData("OPNV.NO.SUCH.ROW", 1.0), 1);
}

TEST_F(Opnv, StepsAndBoundsAreFoundAnywhereInTheTable) {
  float step = 0, min = 0, max = 0;
  // The last row stands beyond the first hundred.
  ASSERT_EQ(opnv.GetStep("OPNV.HST", &step), 0);
  ASSERT_EQ(opnv.GetVarMin("OPNV.HST", &min), 0);
  ASSERT_EQ(opnv.GetVarMax("OPNV.HST", &max), 0);
  EXPECT_EQ(step, 1);
  EXPECT_EQ(min, 1);
  EXPECT_EQ(max, 2);
  ASSERT_EQ(opnv.GetStep("OPNV.SV.DYNAMICTABLE", &step), 0);
  EXPECT_EQ(step, 1000);
  EXPECT_EQ(opnv.GetStep("OPNV.NO.SUCH.ROW", &step), 1);
  // A trade is bounded by what is owned and by 30.
  Set("OPNV.FP.BUS.H2", 4);
  ASSERT_EQ(opnv.GetVarMin("OPNV.FP.BUS.H2.BUYSELL", &min), 0);
  ASSERT_EQ(opnv.GetVarMax("OPNV.FP.BUS.H2.BUYSELL", &max), 0);
  ASSERT_EQ(opnv.GetStep("OPNV.MOVEFP.PLUS", &step), 0);
  EXPECT_EQ(min, -4);
  EXPECT_EQ(max, 30);
  EXPECT_EQ(step, 1);
}

TEST_F(Opnv, ANewGameStartsFromTheFirstValuesAndValuesAreStoredInSinglePrecision) {
  ASSERT_EQ(opnv.SetVarData("OPNV.PRICE.KM", 0.2), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL", 12), 0);
  EXPECT_EQ(V("OPNV.PRICE.KM"), static_cast<double>(0.2f));
  EXPECT_EQ(V("OPNV.FP.BUS"), 12);  // the bus total follows its kinds
  opnv.Destroy();
  COpnv next;
  next.Create();
  EXPECT_DOUBLE_EQ(V("OPNV.PRICE.KM"), 0.14);
  EXPECT_EQ(V("OPNV.FP.BUS.NORMAL"), 0);
  next.Destroy();
  opnv.Create();
  ASSERT_EQ(opnv.SetVarData("OPNV.PRICE.KM", 0.14), 0);
  EXPECT_EQ(V("OPNV.PRICE.KM"), static_cast<double>(0.14f));
}

TEST_F(Opnv, StaffFollowTheirQuotesAndTheirQualityIsBounded) {
  Set("OPNV.PERS.DRIVER.NEEDED", 20);
  Set("OPNV.PERS.MECHANICS.NEEDED", 5);
  Set("OPNV.PERS.SERVICE.NEEDED", 5);
  for (const char* q : {"OPNV.PERS.DRIVER.QUOTE", "OPNV.PERS.MECHANICS.QUOTE", "OPNV.PERS.SERVICE.QUOTE"})
    ASSERT_EQ(opnv.SetVarData(q, 80), 0);
  EXPECT_EQ(V("OPNV.PERS.DRIVER"), 16);
  EXPECT_EQ(V("OPNV.PERS"), 24);
  EXPECT_NEAR(V("OPNV.PERS.QUALI"), 0, 1e-12);
  for (const char* q : {"OPNV.PERS.DRIVER.QUOTE", "OPNV.PERS.MECHANICS.QUOTE", "OPNV.PERS.SERVICE.QUOTE"})
    ASSERT_EQ(opnv.SetVarData(q, 120), 0);
  EXPECT_EQ(V("OPNV.PERS.QUALI"), 1);
  Set("OPNV.PERS.DRIVER.QUOTE", 90);
  opnv.CalculatePersonalNumber();
  // 18 + 6 + 6 of 30: (1 - 0.8) / 0.36.
  EXPECT_NEAR(V("OPNV.PERS.QUALI"), 0.2 / 0.36, 1e-9);
  for (const char* n : {"OPNV.PERS.DRIVER.NEEDED", "OPNV.PERS.MECHANICS.NEEDED", "OPNV.PERS.SERVICE.NEEDED"}) Set(n, 0);
  opnv.CalculatePersonalNumber();
  EXPECT_EQ(V("OPNV.PERS.QUALI"), 0.5);
}

TEST_F(Opnv, ATurnBooksTheElapsedShareOfTheYearAndNothingWhenNoTimePassed) {
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL", 10), 0);
  Set("OPNV.FP.BUS.LOWFLOOR", 10);
  Set("OPNV.SV.INTERNET", 1);
  opnv.OnPlayloopTurn(At(1, 0.25f), At(1, 0.25f));
  EXPECT_FALSE(opnv.GetTurnFlag());
  EXPECT_EQ(V("OPNV.F.COST"), 0);
  EXPECT_EQ(V("OPNV.FP.BUS"), 20);
  // Fleet (10 + 2 x 10) / 20, service 0.25, staff 0.5 x 0.5 (nothing needed).
  EXPECT_NEAR(opnv.GetServiceQuality(), (1.5 + 0.25 + 0.25) / 3, 1e-6);
  EXPECT_NEAR(V("OPNV.QUALI"), (1.5 + 0.25 + 0.25) / 3, 1e-9);
  opnv.OnPlayloopTurn(At(1, 0.75f), At(1, 0.25f));
  // Upkeep of 20 buses at 0.2 x 150000 a year, and the internet service.
  EXPECT_EQ(V("OPNV.F.COST.PRESERVE"), 300000);
  EXPECT_EQ(V("OPNV.F.COST.SERVICE"), 12500);
  EXPECT_EQ(V("OPNV.SV.INTERNET.COST"), 12500);
  EXPECT_EQ(V("OPNV.F.COST"), 312500);
  EXPECT_EQ(V("OPNV.F.BILANZ"), -312500);
}

TEST_F(Opnv, WithoutPassengersNoFareIsBookedButTheIncomeIsEstimated) {
  host.busLength = 5;
  host.busTrips = 100;
  const double fare = 0.14 * 6 + 0.5;
  const float perTrip = static_cast<float>(50 * 0.8 * fare / 100 + 0.2 * fare);
  EXPECT_EQ(opnv.CalculateAveragePriceFahrt(), perTrip);
  EXPECT_EQ(opnv.CalculateAveragePriceKm(), perTrip / 6);
  opnv.OnPlayloopTurn(At(1, 0.5f), At(1, 0.25f));
  EXPECT_NEAR(V("OPNV.PRICE.ESTIMATEDINCOME"), perTrip / 6 * 5 * 100 * 210, 1e-3);
  EXPECT_EQ(V("OPNV.F.INCOME"), 0);
  // A fare change estimates the income again.
  host.busTrips = 200;
  ASSERT_EQ(opnv.SetVarData("OPNV.PRICE.BASE", 0.5), 0);
  EXPECT_NEAR(V("OPNV.PRICE.ESTIMATEDINCOME"), perTrip / 6 * 5 * 200 * 210, 1e-3);
}

TEST_F(Opnv, ACampaignRunsOneYearAndItsCostIsBookedForTheGreenAdvertising) {
  ASSERT_EQ(opnv.SetVarData("OPNV.ADVERTISEMENT.SERVICE.NR1", 1), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.ADVERTISEMENT.NET.NR3", 1), 0);
  opnv.OnPlayloopTurn(At(1, 0.5f), At(1, 0.0f));
  EXPECT_EQ(V("OPNV.ADVERTISEMENT.SERVICE.NR1.PERCENTREADY"), 0.5);
  EXPECT_EQ(V("OPNV.F.COST.ADVERTISEMENT"), 75000 + 250000);
  EXPECT_EQ(V("OPNV.ADVERTISEMENT.NET.NR3.PERCENTREADY"), 0.5);
  opnv.OnPlayloopTurn(At(2, 0.25f), At(1, 0.5f));
  // Over its year: the campaign stops.
  EXPECT_EQ(V("OPNV.ADVERTISEMENT.SERVICE.NR1"), 0);
  EXPECT_EQ(V("OPNV.ADVERTISEMENT.SERVICE.NR1.PERCENTREADY"), 0);
  EXPECT_EQ(V("OPNV.F.COST.ADVERTISEMENT"), 150000 * 1.25 + 500000 * 1.25);
  EXPECT_NEAR(world.added["F.GREENADVERTISMENT"], V("OPNV.F.COST.ADVERTISEMENT"), 1e-3);
}

TEST_F(Opnv, TheYearlyClosingMovesThisYearsAccountsToLastYears) {
  for (int i = 0; i < 13; ++i) COpnv::OPNVVars[i].value = 100 + i;
  Set("OPNV.SV.INTERNET.COST", 7);
  Set("OPNV.SV.DYNAMICTABLE.COST", 8);
  opnv.ResetYearData(At(3, 0.9f), At(3, 0.8f));
  EXPECT_EQ(V("OPNV.F.INCOME"), 100);
  opnv.ResetYearData(At(4, 0.01f), At(3, 0.99f));
  for (int i = 0; i < 13; ++i) {
    EXPECT_EQ(COpnv::OPNVVars[13 + i].value, 100 + i) << COpnv::OPNVVars[13 + i].name;
    EXPECT_EQ(COpnv::OPNVVars[i].value, 0) << COpnv::OPNVVars[i].name;
  }
  EXPECT_EQ(V("OPNV.SV.INTERNET.COST"), 0);
  EXPECT_EQ(V("OPNV.SV.DYNAMICTABLE.COST"), 0);
}

TEST_F(Opnv, APendingTradeIsPricedCheckedAndCarriedOut) {
  EXPECT_EQ(opnv.IsEinVerkauf(), 1);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL.BUYSELL", -2), 0);
  EXPECT_EQ(opnv.IsEinVerkauf(), 0);
  EXPECT_EQ(Get("OPNV.FP.BUS.BUYSELL.INCOME"), 240000);
  // Hydrogen and electric buses need their research first.
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.H2.BUYSELL", 3), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.ENERGIE.BUYSELL", 1), 0);
  EXPECT_EQ(world.warnings, (std::vector<int>{43, 44}));
  EXPECT_EQ(Get("OPNV.FP.BUS.H2.BUYSELL"), 0);
  host.values["SV.RES.H2.WIRKUNG"] = 1;
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.H2.BUYSELL", 3), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL.BUYSELL", 2), 0);
  EXPECT_EQ(Get("OPNV.FP.BUS.BUYSELL.COST"), 3 * 450000 + 2 * 150000);
  EXPECT_EQ(Get("OPNV.FP.BUS.BUYSELL.TOTAL"), -(3 * 450000 + 2 * 150000));
  // Too dear: refused and still pending.
  world.affordable = 1000000;
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.BUYSELL.OK", 1), 0);
  EXPECT_EQ(world.warnings.back(), 75);
  EXPECT_EQ(Get("OPNV.FP.BUS.H2.BUYSELL"), 3);
  world.affordable = 1 << 30;
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.BUYSELL.OK", 1), 0);
  EXPECT_EQ(V("OPNV.FP.BUS.H2"), 3);
  EXPECT_EQ(V("OPNV.FP.BUS.NORMAL"), 2);
  EXPECT_EQ(V("OPNV.FP.BUS"), 5);
  EXPECT_EQ(opnv.GetFreeFp(FLEET_H2), 3);
  EXPECT_EQ(Get("OPNV.FREEBUS"), 5);
  EXPECT_EQ(V("OPNV.F.COST.BUS"), 3 * 450000 + 2 * 150000);
  EXPECT_EQ(opnv.IsEinVerkauf(), 1);
  // Trams: a sale of one brings 0.8 of its price.
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.TRAM.BUYSELL", 2), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.TRAM.BUYSELL.OK", 1), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.TRAM.BUYSELL", -1), 0);
  EXPECT_EQ(Get("OPNV.FP.TRAM.BUYSELL.PRICE"), 1800000);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.TRAM.BUYSELL.OK", 1), 0);
  EXPECT_EQ(V("OPNV.FP.TRAM"), 1);
  EXPECT_EQ(Get("OPNV.FREETRAM"), 1);
  EXPECT_EQ(V("OPNV.F.COST.TRAM"), 2 * 2250000);
  EXPECT_EQ(V("OPNV.F.INCOME.SELLING"), 1800000);
  EXPECT_EQ(V("OPNV.F.BILANZ"), 1800000 - 2 * 2250000 - (3 * 450000 + 2 * 150000));
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL.BUYSELL", 4), 0);
  opnv.ResetEinVerkauf();
  EXPECT_EQ(opnv.IsEinVerkauf(), 1);
}

TEST_F(Opnv, TheRowFormTradeSellsAtTheUsedPriceAndAgesThePurchase) {
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL", 4), 0);
  opnv.CheckFP();  // the four go to the pool
  Set("OPNV.FP.BUS.NORMAL.AGE", 5);
  // No more can be sold than is owned.
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL.SELL", 9), 0);
  EXPECT_EQ(V("OPNV.FP.BUS.NORMAL.SELL"), 4);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL.SELL", 2), 0);
  EXPECT_NEAR(V("OPNV.FP.BUS.NORMAL.SELL.PRICE"), 2 * 150000 * (0.8 - 0.6 * 5 / 10), 1e-6);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL.SELL.OK", 1), 0);
  EXPECT_EQ(V("OPNV.FP.BUS.NORMAL"), 2);
  EXPECT_EQ(V("OPNV.FP.BUS.NORMAL.SELL"), 0);
  EXPECT_EQ(opnv.GetFreeFp(FLEET_NORMAL), 2);
  EXPECT_NEAR(V("OPNV.F.INCOME.SELLING"), 150000, 1e-6);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL.BUY", 3), 0);
  EXPECT_EQ(V("OPNV.FP.BUS.NORMAL.BUY.PRICE"), 3 * 150000);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL.BUY.OK", 1), 0);
  EXPECT_EQ(V("OPNV.FP.BUS.NORMAL"), 5);
  EXPECT_EQ(V("OPNV.FP.BUS.NORMAL.AGE"), 2);  // 2 of age 5 among 5
  EXPECT_EQ(V("OPNV.F.COST.BUS"), 3 * 150000);
  EXPECT_EQ(opnv.GetFreeFp(FLEET_NORMAL), 5);
  // Selling every vehicle of a kind makes the kind new again.
  Set("OPNV.FP.BUS.NORMAL.SELL", 5);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL.SELL.OK", 1), 0);
  EXPECT_EQ(V("OPNV.FP.BUS.NORMAL.AGE"), 0);
  EXPECT_EQ(opnv.GetFreeFp(FLEET_NORMAL), 0);
}

TEST_F(Opnv, TheFleetCheckPutsSurplusVehiclesIntoThePool) {
  Set("OPNV.FP.TRAM", 3);
  opnv.CheckFP();
  EXPECT_EQ(opnv.GetFreeFp(FLEET_TRAM), 3);
  opnv.CheckFP();
  EXPECT_EQ(opnv.GetFreeFp(FLEET_TRAM), 3);
  // Fewer owned than held: the owned count rises.
  Set("OPNV.FP.TRAM", 1);
  opnv.CheckFP();
  EXPECT_EQ(V("OPNV.FP.TRAM"), 3);
}

}  // namespace
