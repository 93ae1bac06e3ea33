#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstring>

#include "framework/qno_log.h"
#include "measures/measure.h"
#include "model/data_exchange.h"
#include "model/finanzen.h"
#include "model/zor_var.h"
#include "support/test_support.h"
#include "worldbase/zor_world_host.h"

namespace {

// A measure as the transport measures are built: money of the year, a price,
// a user quote, awareness, users, and one paid campaign.
struct STestBlock {
  int32_t income = 0;
  int32_t expenses = 0;
  int32_t balance = 0;
  int32_t lastBalance = 0;
  float price = 2.5f;
  float quote = 0.2f;
  float awareness = 0.5f;
  int32_t radio = 0;
  float radioProgress = 0.0f;
  float users = 0.0f;
};

const SMeasureField kFields[] = {
    {"CS.INCOME", SMeasureField::kInt32, offsetof(STestBlock, income)},
    {"CS.EXPENSES", SMeasureField::kInt32, offsetof(STestBlock, expenses)},
    {"CS.BILANZ", SMeasureField::kInt32, offsetof(STestBlock, balance)},
    {"CS.LASTYEAR.BILANZ", SMeasureField::kInt32, offsetof(STestBlock, lastBalance)},
    {"CS.PRICE", SMeasureField::kFloat, offsetof(STestBlock, price), true, 0.5f, 4.0f, 0.25f},
    {"CS.USERQUOTE", SMeasureField::kFloat, offsetof(STestBlock, quote)},
    {nullptr, SMeasureField::kFloat, offsetof(STestBlock, awareness)},
    {"CS.ADVERTISMENT.RADIO", SMeasureField::kInt32, offsetof(STestBlock, radio)},
    {"CS.ADVERTISMENT.RADIO.PERCENTREADY", SMeasureField::kFloat, offsetof(STestBlock, radioProgress)},
    {"CS.USER", SMeasureField::kFloat, offsetof(STestBlock, users)},
};
const SMeasureCampaign kRadio{offsetof(STestBlock, radio), offsetof(STestBlock, radioProgress), 50000, 1.5f, 0.2f};
const SMeasureLayout kLayout{"TestMeasure",
                             kFields,
                             10,
                             offsetof(STestBlock, income),
                             offsetof(STestBlock, expenses),
                             offsetof(STestBlock, balance),
                             offsetof(STestBlock, lastBalance),
                             offsetof(STestBlock, quote),
                             offsetof(STestBlock, awareness),
                             &kRadio,
                             1};

class TestMeasure : public CMeasure {
 public:
  TestMeasure() : CMeasure(kLayout, &block) {}
  STestBlock block;
  int loads = 0;

 protected:
  // 12000 a year of running costs, 6000 a year of income.
  void BookTurn(double elapsed) override {
    BookYearly(offsetof(STestBlock, expenses), 12000, elapsed);
    BookYearly(offsetof(STestBlock, income), 6000, elapsed);
  }
  void CalculateUser(double elapsed) override { block.users = static_cast<float>(MoveUsers(block.users, 1000, 2, elapsed)); }
  void AfterLoad() override { ++loads; }
};

// The world's side as the game gives it: the money question to the finances,
// bookings through the data exchange.
class FinanceHost : public CWorldHost {
 public:
  FinanceHost(CFinanzen& fin, CDataExchange& dx) : m_fin(fin), m_dx(dx) {}
  int CheckForMoney(int amount) override { return m_fin.CheckForMoney(amount); }
  void VarAddValue(const char* name, double value) override { m_dx.VarAddValue(name, value); }

 private:
  CFinanzen& m_fin;
  CDataExchange& m_dx;
};

STime At(int year, float fyear) {
  STime t;
  t.year = year;
  t.fyear = fyear;
  return t;
}

class Measure : public ::testing::Test {
 protected:
  void SetUp() override {
    dx.RegisterOwner("F.", &fin);
    dx.RegisterOwner("CS.", &m);  // routed as car sharing
    CVar::varDataExchange = &dx;
    CWorldHost::Install(&host);
  }
  void TearDown() override {
    CWorldHost::Install(nullptr);
    CVar::varDataExchange = nullptr;
  }
  CDataExchange dx;
  CFinanzen fin;
  FinanceHost host{fin, dx};
  TestMeasure m;
};

}  // namespace

TEST_F(Measure, AnswersItsKeysByExactName) {
  double v = 0;
  EXPECT_EQ(m.GetVarData("CS.PRICE", &v), 0);
  EXPECT_EQ(v, 2.5);
  EXPECT_EQ(m.SetVarData("CS.INCOME", 1234.9), 0);
  EXPECT_EQ(m.block.income, 1234);
  EXPECT_EQ(m.SetVarData("CS.INCOME", 1e12), 0);
  EXPECT_EQ(m.block.income, 2147483647);
  EXPECT_EQ(m.SetVarData("CS.PRICE", std::nan("")), 0);
  EXPECT_EQ(m.block.price, 2.5f);
  EXPECT_EQ(m.GetVarData("tm.price", &v), 1);
  EXPECT_EQ(m.GetVarData("CS.PRIC", &v), 1);
  EXPECT_EQ(m.SetVarData("CS.NOSUCHKEY", 1), 1);
  float f = 0;
  EXPECT_EQ(m.GetVarMax("CS.PRICE", &f), 0);
  EXPECT_EQ(f, 4.0f);
  // Keys without a step or bounds say so.
  EXPECT_EQ(m.GetStep("CS.INCOME", &f), 1);
  // Through the data exchange as every window reads it.
  EXPECT_EQ(dx.GetVarValue("CS.PRICE"), 2.5);
  dx.SetVarValue("CS.PRICE", 3);
  EXPECT_EQ(m.block.price, 3.0f);
  EXPECT_EQ(m.GetList("CS.PLACELIST"), nullptr);
}

TEST_F(Measure, ATurnBooksTheYearsShareAndMovesTheUsers) {
  // No change of the fractional year: nothing is booked, nobody moves.
  m.OnPlayloopTurn(At(0, 0.25f), At(0, 0.25f));
  EXPECT_EQ(m.block.expenses, 0);
  EXPECT_EQ(m.block.users, 0.0f);

  m.OnPlayloopTurn(At(0, 0.5f), At(0, 0.25f));
  EXPECT_EQ(m.block.expenses, 3000);
  EXPECT_EQ(m.block.income, 1500);
  EXPECT_EQ(m.block.balance, -1500);
  // (1000 - 0) / 2 x 3 x 0.25 = 375
  EXPECT_FLOAT_EQ(m.block.users, 375.0f);
  // A long step stops at the potential; so does one from above.
  m.OnPlayloopTurn(At(1, 1.5f), At(0, 0.5f));
  EXPECT_EQ(m.block.users, 1000.0f);
  EXPECT_EQ(CMeasure::MoveUsers(1500, 1000, 2, 5), 1000.0);
  EXPECT_EQ(CMeasure::MoveUsers(1500, 1000, 2, 0.1), 1425.0);
}

TEST_F(Measure, TwoTurnsOfAYearBookWhatOneTurnOfAYearBooks) {
  TestMeasure once;
  once.OnPlayloopTurn(At(1, 1.0f), At(0, 0.0f));
  const float steps[] = {0.0f, 1.0f / 12, 2.0f / 12, 0.5f, 1.0f};
  for (int i = 1; i < 5; ++i) m.OnPlayloopTurn(At(0, steps[i]), At(0, steps[i - 1]));
  EXPECT_EQ(once.block.expenses, 12000);
  // Each turn's share is truncated on its own.
  EXPECT_LE(m.block.expenses, 12000);
  EXPECT_GE(m.block.expenses, 12000 - 4);
}

TEST_F(Measure, ACampaignIsPaidOnceAndEndsAfterAYear) {
  const double konto = fin.GetVarValue("F.KONTO");
  // Not enough money: nothing starts, nothing is paid.
  fin.SetVarData("F.KONTO", 49999.0);
  EXPECT_EQ(m.SetVarData("CS.ADVERTISMENT.RADIO", 1), 0);
  EXPECT_EQ(m.block.radio, 0);
  EXPECT_EQ(fin.GetVarValue("F.GREENADVERTISMENT"), 0.0);

  fin.SetVarData("F.KONTO", konto);
  m.SetVarData("CS.ADVERTISMENT.RADIO", 1);
  m.SetVarData("CS.ADVERTISMENT.RADIO", 1);
  EXPECT_EQ(m.block.radio, 1);
  EXPECT_EQ(m.block.expenses, 50000);
  EXPECT_EQ(fin.GetVarValue("F.GREENADVERTISMENT"), 50000.0);
  // The measure's balance is part of the city's income: the account pays
  // for the campaign once the balance is drawn up.
  m.OnPlayloopTurn(At(0, 0.0f), At(0, 0.0f));
  fin.CalculateBilanz();
  EXPECT_EQ(fin.GetVarValue("F.INCOME.ZORV"), -50000.0);
  EXPECT_EQ(fin.GetVarValue("F.KONTO"), konto - 50000);

  m.OnPlayloopTurn(At(0, 0.75f), At(0, 0.0f));
  EXPECT_EQ(m.block.radio, 1);
  EXPECT_FLOAT_EQ(m.block.radioProgress, 0.75f);
  m.OnPlayloopTurn(At(1, 1.0f), At(0, 0.75f));
  EXPECT_EQ(m.block.radio, 1);  // exactly one year is not past it
  m.OnPlayloopTurn(At(1, 1.0833f), At(1, 1.0f));
  EXPECT_EQ(m.block.radio, 0);
  EXPECT_EQ(m.block.radioProgress, 0.0f);
  EXPECT_FLOAT_EQ(m.block.quote, 0.3f);
  EXPECT_FLOAT_EQ(m.block.awareness, 0.7f);

  // Stopping is free and gives nothing back.
  m.SetVarData("CS.ADVERTISMENT.RADIO", 1);
  m.SetVarData("CS.ADVERTISMENT.RADIO", 0.0);
  EXPECT_EQ(m.block.radio, 0);
  EXPECT_EQ(fin.GetVarValue("F.GREENADVERTISMENT"), 100000.0);
}

TEST_F(Measure, TheYearlyClosingKeepsTheBalanceAsLastYears) {
  m.OnPlayloopTurn(At(0, 0.5f), At(0, 0.0f));
  m.ResetYearData(At(0, 0.9f), At(0, 0.5f));
  EXPECT_EQ(m.block.expenses, 6000);
  m.ResetYearData(At(1, 1.0f), At(0, 0.9f));
  // The world closes passive route planning's year twice: the second
  // closing of the same change keeps last year's balance.
  m.ResetYearData(At(1, 1.0f), At(0, 0.9f));
  EXPECT_EQ(m.block.lastBalance, -3000);
  EXPECT_EQ(m.block.income, 0);
  EXPECT_EQ(m.block.expenses, 0);
  double v = 0;
  m.GetVarData("CS.LASTYEAR.BILANZ", &v);
  EXPECT_EQ(v, -3000.0);
}

TEST_F(Measure, TheRecordHoldsTheBlockFieldByField) {
  m.block.income = 0x01020304;
  m.block.price = 1.75f;
  zortest::RecordFile file;
  ASSERT_EQ(m.SerializeGameStore(file.f(), nullptr), 0);
  const zortest::ByteList bytes = file.Bytes();
  ASSERT_EQ(bytes.size(), 4u + 30 + 40);
  EXPECT_EQ(bytes[0], 70);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[4])), "TestMeasure");
  EXPECT_EQ((std::vector<uint8_t>(bytes.begin() + 34, bytes.begin() + 38)), (std::vector<uint8_t>{4, 3, 2, 1}));
  float price = 0;
  std::memcpy(&price, &bytes[34 + 16], 4);
  EXPECT_EQ(price, 1.75f);

  TestMeasure back;
  zortest::RecordFile payload(zortest::ByteList(bytes.begin() + 34, bytes.end()));
  ASSERT_EQ(back.SerializeGameLoad(payload.f()), 0);
  EXPECT_EQ(std::memcmp(&back.block, &m.block, sizeof m.block), 0);
  EXPECT_EQ(back.loads, 1);

  // A short block or a float that is no number changes nothing.
  OpenErrorLog("errors.log");
  TestMeasure other;
  zortest::RecordFile shortBlock(zortest::ByteList(bytes.begin() + 34, bytes.end() - 1));
  EXPECT_EQ(other.SerializeGameLoad(shortBlock.f()), 1);
  zortest::ByteList nan(bytes.begin() + 34, bytes.end());
  const float bad = std::nanf("");
  std::memcpy(&nan[20], &bad, 4);
  zortest::RecordFile nanBlock(nan);
  EXPECT_EQ(other.SerializeGameLoad(nanBlock.f()), 1);
  CloseErrorLog();
  EXPECT_EQ(other.block.income, 0);
  EXPECT_EQ(other.block.price, 2.5f);
  EXPECT_EQ(other.loads, 0);
  EXPECT_EQ(zortest::ReadFile("errors.log"), "TestMeasure: a savegame whose field 5 is no number is refused\n");
}

TEST_F(Measure, AMeasureWithoutItsBlockKeepsTheRecordItWroteBefore) {
  CMeasure bare(kMeasureWithoutBlock, nullptr);
  CWorldObj plain;
  zortest::RecordFile a, b;
  ASSERT_EQ(bare.SerializeGameStore(a.f(), nullptr), 0);
  ASSERT_EQ(plain.SerializeGameStore(b.f(), nullptr), 0);
  EXPECT_EQ(a.Bytes(), b.Bytes());
  EXPECT_EQ(bare.SerializeGameLoad(a.f()), 0);
  double v = 0;
  EXPECT_EQ(bare.GetVarData("PTA.BILANZ", &v), 1);
}
