#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>

#include "framework/qno_log.h"
#include "period_test_util.h"

using periodtest::At;
using periodtest::CityContext;
using periodtest::InputNet;
using periodtest::MapOwner;
using periodtest::RecordingExchange;

namespace {
struct Period : testing::Test {
  RecordingExchange dx;
  CityContext context;
  MapOwner admin, indicators, parking, opnv;
  std::unique_ptr<CCyberNet> net;

  void SetUp() override {
    admin.values = {{"SV.TAX.GENERAL", 20},        {"SV.TAX.MWST", 16},   {"SV.TAX.KFZ.PKW", 150},
                    {"SV.TAX.KFZ.MICROCAR", 50},   {"SV.TAX.ENERGIE", 0.5}, {"SV.SUB.BUYINGMICROCAR", 10},
                    {"SV.RES.REDUCTION.WIRKUNG", 1}};
    indicators.values = {{"I.ZORV.SECURITY", 0.4}, {"I.EQM", 0.7}};
    parking.values = {{"PRM.USERQUOTE", 85}, {"PRM.PLACES", 0}, {"PRM.QUOTEPLS", 0.5}};
    opnv.values = {{"OPNV.CROSSING.PRIORISIERUNG", 0.4}};
    dx.RegisterOwner("SV.", &admin);
    dx.RegisterOwner("I.", &indicators);
    dx.RegisterOwner("PRM.", &parking);
    dx.RegisterOwner("OPNV.", &opnv);
    dx.SetGrowthContext(&context);
    dx.SetPeople(20000);
    dx.SetTargetPeople(0);
  }
  void Use(std::unique_ptr<CCyberNet> n) {
    net = std::move(n);
    dx.SetCyberNet(net.get());
  }
  double Size(const char* name) { return dx.GetVarValue(name); }
};

// The car cost per km of the car-cost inputs, from a purchase price.
double CarCost(double price, double tax, double insurance, double divisor) {
  return ((0.16 * price + price) * 0.75 / 8.0 + tax + insurance) / divisor;
}
}  // namespace

TEST_F(Period, FeedsTheInputsInRealUnitsAndFormulasReadWhatWasJustSet) {
  Use(InputNet({{"K5.1", {0, 100}}, {"K5.2", {0, 50}}, {"K4", {0, 80}}, {"E16", {10, 30}}}));
  EXPECT_EQ(dx.CalculateNextMatrix(At(7), At(6)), 0);

  EXPECT_NEAR(Size("W.E8"), 2000.0, 0.01);
  EXPECT_NEAR(Size("W.E15"), 0.85 * 90 + 69, 0.01);  // from 80 % on the steeper line
  EXPECT_NEAR(Size("W.K12.1"), 1800.0, 0.01);
  EXPECT_NEAR(Size("W.S2"), 16200.0, 0.01);
  EXPECT_NEAR(Size("W.S3_norm"), 0.6 * 500 + 580, 0.01);
  EXPECT_NEAR(Size("W.S4"), CarCost(30000, 300, 880, 12500), 1e-5);
  // The microcar's price is S2 with the subsidy taken off once, not twice.
  EXPECT_NEAR(Size("W.S5"), CarCost(16200, 100, 0.6 * 250 + 290, 10500), 1e-5);
  EXPECT_GT(std::fabs(Size("W.S5") - CarCost(16200 - 1800, 100, 440, 10500)), 0.01);
  // Each priority input on its own node's range.
  EXPECT_NEAR(Size("W.K5.1"), 40.0, 1e-3);
  EXPECT_NEAR(Size("W.K5.2"), 20.0, 1e-3);
  EXPECT_NEAR(Size("W.K4"), 40.0, 1e-3);
  // No land use of the first two kinds: the minimum.
  EXPECT_NEAR(Size("W.E16"), 10.0, 1e-3);
  // No places: the shares that divide by them are 0, no NaN.
  EXPECT_EQ(Size("W.K12.4"), 0.0);
  EXPECT_EQ(Size("W.I7"), 0.0);
  // Without a built-up area and without travel: the stated defaults.
  EXPECT_NEAR(Size("W.I1"), 6.0, 1e-6);
  EXPECT_NEAR(Size("W.U13.2"), 0.5, 1e-6);
  EXPECT_NEAR(Size("W.U15"), 2.0, 1e-6);
  EXPECT_EQ(Size("W.M8.2"), 0.0);
  EXPECT_NEAR(Size("W.M4"), 0.25 * 1.0e6, 1.0);  // M5 of the range 0..1 spans M4's range

  // With land use, E16 moves within its range by the first two kinds' share.
  auto& block = dx.Block();
  block.landUse[0] = block.landUse[1] = block.landUse[2] = block.landUse[3] = 1.0f;
  dx.CalculateNextMatrix(At(12), At(11));
  EXPECT_NEAR(Size("W.E16"), 20.0, 1e-3);
}

TEST_F(Period, AnInactiveNodeKeepsItsSizeAndWhatReadsItUsesTheOldSize) {
  Use(InputNet());
  net->pNode("S1")->SetSize(24000.0);
  net->pNode("S1")->SetActive(false);
  parking.values.erase("PRM.PLACES");
  dx.RegisterOwner("PRM.", nullptr);
  dx.CalculateNextMatrix(At(7), At(6));
  EXPECT_NEAR(Size("W.S1"), 24000.0, 0.01);
  EXPECT_NEAR(Size("W.S4"), CarCost(24000, 300, 880, 12500), 1e-5);
  // Without parking management its inputs are fed 0.
  EXPECT_EQ(Size("W.K4"), 0.0);
  EXPECT_EQ(Size("W.K3.1"), 0.0);
  EXPECT_EQ(Size("W.K12.4"), 0.0);
}

TEST_F(Period, ANumberThatIsNoNumberIsNotFedAndTheNodeKeepsItsSize) {
  Use(InputNet());
  dx.CalculateNextMatrix(At(7), At(6));
  ASSERT_NEAR(Size("W.E8"), 2000.0, 0.01);
  admin.values["SV.TAX.GENERAL"] = std::numeric_limits<double>::quiet_NaN();
  admin.values["SV.TAX.KFZ.PKW"] = std::numeric_limits<double>::quiet_NaN();
  dx.CalculateNextMatrix(At(12), At(11));
  EXPECT_NEAR(Size("W.E8"), 2000.0, 0.01);
  EXPECT_NEAR(Size("W.E5"), 300.0, 0.01);
  for (const CCyberNodeList* row = net->pNodeList(); row; row = row->pTail())
    EXPECT_TRUE(std::isfinite(row->pHead()->Value())) << row->pHead()->Name();
}

TEST_F(Period, SettlesUntilQuietOrAHundredRoundsAndStepsEitherWay) {
  Use(InputNet());
  dx.CalculateNextMatrix(At(7), At(6));
  EXPECT_EQ(dx.GetLastSettleRounds(), 1);  // nothing but inputs: quiet at once

  // A node that follows the other's opposite keeps the pair moving.
  Use(InputNet({}, 1.0e6,
               "NodeBegin BasicNode Name A Value 0 InputListBegin B -1 InputListEnd NodeEnd\n"
               "NodeBegin BasicNode Name B Value 0 InputListBegin A 1 InputListEnd NodeEnd\n"));
  dx.CalculateNextMatrix(At(12), At(11));
  EXPECT_EQ(dx.GetLastSettleRounds(), CDataExchange::kMaxSettleRounds);
  for (const char* name : {"A", "B"}) EXPECT_EQ(net->pNode(name)->LastValue(), net->pNode(name)->Value()) << name;
}

TEST_F(Period, HeldOrWithoutANetworkNothingHappens) {
  Use(InputNet());
  context.hold = true;
  EXPECT_EQ(dx.CalculateNextMatrix(At(7), At(6)), 1);
  EXPECT_EQ(Size("W.E8"), 0.0);
  EXPECT_TRUE(dx.posted.empty());
  context.hold = false;
  dx.SetCyberNet(nullptr);
  EXPECT_EQ(dx.CalculateNextMatrix(At(7), At(6)), 1);
  EXPECT_TRUE(dx.posted.empty());
}

TEST_F(Period, EventsComeOnlyWhenTheHourHasChanged) {
  Use(InputNet());
  // Without a street network every period has the message 21/6 to raise.
  dx.CalculateNextMatrix(At(7), At(7));
  EXPECT_TRUE(dx.posted.empty());
  EXPECT_NEAR(Size("W.E8"), 2000.0, 0.01);  // fed and stepped all the same
  dx.CalculateNextMatrix(At(12), At(11));
  EXPECT_TRUE(dx.Has(21, 6));
  EXPECT_TRUE(dx.posted.front().paced);
}

TEST_F(Period, AStaticCityWritesOneNumberedDumpPerPeriod) {
  Use(InputNet());
  for (const char* name : {"Matrix.100", "Matrix.101", "Matrix.102"}) std::remove(name);
  dx.CalculateNextMatrix(At(7), At(6));
  EXPECT_TRUE(zortest::ReadFile("Matrix.100").empty());
  context.staticCity = true;
  for (int hour : {7, 12, 17}) dx.CalculateNextMatrix(At(hour), At(hour - 1));
  EXPECT_EQ(dx.GetDumpCounter(), 103);
  for (const char* name : {"Matrix.100", "Matrix.101", "Matrix.102"})
    EXPECT_NE(zortest::ReadFile(name).find("E8"), std::string::npos) << name;
}

namespace {
struct ThrowingContext : CityContext {
  CSimCityModell* City() override { throw std::runtime_error("city gone"); }
};
}  // namespace

TEST_F(Period, AFaultInsideThePeriodIsLoggedAndNeverReachesTheCaller) {
  Use(InputNet());
  ThrowingContext broken;
  dx.SetGrowthContext(&broken);
  OpenErrorLog("errors.log");
  int result = -1;
  EXPECT_NO_THROW(result = dx.CalculateNextMatrix(At(7), At(6)));
  EXPECT_EQ(result, 0);
  CloseErrorLog();
  EXPECT_NE(zortest::ReadFile("errors.log").find("city gone"), std::string::npos);
}
