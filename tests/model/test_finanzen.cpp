#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "cybernet/cyber_net.h"
#include "framework/qno_log.h"
#include "framework/zor_list.h"
#include "framework/zor_record.h"
#include "model/data_exchange.h"
#include "model/finanzen.h"
#include "model/gott_modus.h"
#include "model/zor_var.h"
#include "model_test_util.h"
#include "support/test_support.h"
#include "worldbase/zor_world_host.h"

using modeltest::TableOwner;

namespace {

// A measure that answers its balance, as the transport measures do.
class BalanceOwner : public CVarOwner {
 public:
  explicit BalanceOwner(const char* name) : m_name(name) {}
  int GetVarData(const char* name, double* value) override {
    if (m_name != name) return 1;
    *value = balance;
    return 0;
  }
  double balance = 0;

 private:
  std::string m_name;
};

class WarningHost : public CWorldHost {
 public:
  void SetAchtungWindow(int warning) override { warnings.push_back(warning); }
  std::vector<int> warnings;
};

STime At(int year, int hour) {
  STime t;
  t.year = year;
  t.hour = hour;
  int month = (hour - 5) * 12 / 15;
  month = month < 0 ? 0 : month > 11 ? 11 : month;
  t.fyear = static_cast<float>(year + month / 12.0);
  return t;
}

// The finances reached through the data exchange, with a network that
// holds the economy node G9.
class Finances : public ::testing::Test {
 protected:
  void SetUp() override {
    m_net.InsertStandardTemplates();
    zortest::WriteFile("net.def", "NodeBegin BasicNode Name G9 Value 0.5 MinSize 0 MaxSize 1 NodeEnd\n");
    FILE* f = std::fopen("net.def", "r");
    m_net.Read(f);
    std::fclose(f);
    dx.SetCyberNet(&m_net);
    dx.RegisterOwner("F.", &fin);
    CVar::varDataExchange = &dx;
    CWorldHost::Install(&host);
  }
  void TearDown() override {
    CWorldHost::Install(nullptr);
    CVar::varDataExchange = nullptr;
    g_ZorLoadVersion = 0;
  }
  void SetG9(double v) { dx.SetVarValue("W.G9", v); }

  CCyberNet m_net;
  CDataExchange dx;
  CGottModus god;
  CFinanzen fin;
  WarningHost host;
};

zortest::ByteList Saved(CFinanzen& fin) {
  zortest::RecordFile file;
  EXPECT_EQ(fin.SerializeGameStore(file.f(), nullptr), 0);
  return file.Bytes();
}

// Loads the payload of saved bytes (after the 34-byte header) as `version`.
int LoadPayload(CFinanzen& fin, const zortest::ByteList& bytes, int version) {
  g_ZorLoadVersion = version;
  zortest::RecordFile file(zortest::ByteList(bytes.begin() + 34, bytes.end()));
  return fin.SerializeGameLoad(file.f());
}

}  // namespace

TEST_F(Finances, StartsWithTheStartBudgetAndStoresWholeNumbers) {
  EXPECT_EQ(fin.GetVarValue("F.KONTO"), 100000000.0);
  EXPECT_EQ(fin.GetVarValue("F.LASTYEAR.KONTO"), 0.0);
  EXPECT_EQ(fin.GetVarValue("LISTENDE"), -1.0);
  EXPECT_EQ(fin.SetVarData("F.KONTO", 1234.9), 0);
  EXPECT_EQ(fin.GetVarValue("F.KONTO"), 1234.0);
  fin.SetVarData("F.KONTO", -0.5);
  EXPECT_EQ(fin.GetVarValue("F.KONTO"), -1.0);
}

TEST_F(Finances, NamesSelectTheYearInAnyCase) {
  fin.SetVarData("F.LASTYEAR.BILANZ", 777);
  EXPECT_EQ(fin.GetVarValue("f.lastyear.bilanz"), 777.0);
  EXPECT_EQ(fin.GetVarValue("F.YEAR2BILANZ"), 777.0);
  EXPECT_EQ(fin.GetVarValue("F.YEAR1KONTO"), 100000000.0);
  EXPECT_EQ(fin.GetVarValue("F.BILANZ"), 0.0);
  // A third year is not held.
  EXPECT_EQ(fin.GetVarValue("F.YEAR3KONTO"), -1.0);
  EXPECT_EQ(fin.GetVarValue("F.LASTYEAR.NOSUCHROW"), -1.0);
  // An over-long name is no row, whatever it starts with.
  std::string longName = "F.LASTYEAR." + std::string(300, 'K');
  EXPECT_EQ(fin.GetVarValue(longName.c_str()), -1.0);
}

TEST_F(Finances, EveryBookingMovesTheBalanceAndTheAccountAtOnce) {
  // Directly and through the data exchange alike.
  EXPECT_EQ(fin.AddVarData("F.EXPENSES.BUILDINFRASTRUCTURE", 1000), 0);
  EXPECT_EQ(fin.GetVarValue("F.KONTO"), 100000000.0 - 1000);
  EXPECT_EQ(fin.GetVarValue("F.EXPENSES"), 1000.0);
  EXPECT_EQ(fin.GetVarValue("F.BILANZ"), -1000.0);

  dx.VarAddValue("F.EXPENSES.BUILDINFRASTRUCTURE", 25000);
  dx.VarAddValue("F.SUB", 500);
  dx.VarAddValue("F.RES", 300);
  dx.VarAddValue("F.INCOME.CITY", 4000);
  EXPECT_EQ(fin.GetVarValue("F.EXPENSES.BUILDINFRASTRUCTURE"), 26000.0);
  EXPECT_EQ(fin.GetVarValue("F.EXPENSES"), 26800.0);
  EXPECT_EQ(fin.GetVarValue("F.INCOME"), 4000.0);
  EXPECT_EQ(fin.GetVarValue("F.BILANZ"), -22800.0);
  EXPECT_EQ(fin.GetVarValue("F.KONTO"), 100000000.0 - 22800);
  EXPECT_EQ(fin.GetReady(), 1);

  // Figures outside the sums are kept but move no money.
  dx.VarAddValue("F.GREENADVERTISMENT", 9000);
  dx.VarAddValue("F.EXPENSES.CITY", 7000);
  EXPECT_EQ(fin.GetVarValue("F.GREENADVERTISMENT"), 9000.0);
  EXPECT_EQ(fin.GetVarValue("F.KONTO"), 100000000.0 - 22800);
  EXPECT_EQ(dx.GetVarValue("F.EXPENSES.CITY"), 7000.0);

  // An amount that is no number is refused.
  EXPECT_EQ(fin.AddVarData("F.SUB", std::nan("")), 0);
  EXPECT_EQ(fin.SetVarData("F.KONTO", std::numeric_limits<double>::infinity()), 0);
  EXPECT_EQ(fin.GetVarValue("F.SUB"), 500.0);
  EXPECT_EQ(fin.GetVarValue("F.KONTO"), 100000000.0 - 22800);
  EXPECT_EQ(fin.AddVarData("F.NOSUCHROW", 5), 1);
}

TEST_F(Finances, TheMeasuresBalancesAreTheTransportIncome) {
  BalanceOwner cs("CS.BILANZ"), pta("PTA.BILANZ");
  dx.RegisterOwner("CS.", &cs);
  dx.RegisterOwner("PTA.", &pta);
  cs.balance = 1500;
  pta.balance = -400;
  fin.CalculateBilanz();
  EXPECT_EQ(fin.GetVarValue("F.INCOME.ZORV"), 1100.0);
  EXPECT_EQ(fin.GetVarValue("F.INCOME"), 1100.0);
  EXPECT_EQ(fin.GetVarValue("F.KONTO"), 100001100.0);
  // The balance of the measures falls: the account follows the change only.
  cs.balance = 1000;
  fin.OnPlayloopTurn(At(0, 6), At(0, 5));
  EXPECT_EQ(fin.GetVarValue("F.KONTO"), 100000600.0);
}

TEST_F(Finances, CreditsUpToTheLimitAndTheirRepayment) {
  dx.SetPeople(1000);  // limit 1000 x 5000 + 150000000 = 155000000
  EXPECT_EQ(fin.GetCreditLimit(), 155000000.0);
  EXPECT_EQ(fin.TakeCredit(155000000), 0);
  EXPECT_EQ(fin.GetVarValue("F.KREDITE"), 155000000.0);
  EXPECT_EQ(fin.GetVarValue("F.KONTO"), 255000000.0);
  EXPECT_EQ(fin.TakeCredit(1), 1);
  EXPECT_EQ(host.warnings, std::vector<int>({23}));
  EXPECT_EQ(fin.GetVarValue("F.KREDITE"), 155000000.0);

  // Repaying needs the amount on the account.
  fin.SetVarData("F.KONTO", 9999999);
  EXPECT_EQ(fin.RepayCredit(10000000), 1);
  fin.SetVarData("F.KONTO", 10000000);
  EXPECT_EQ(fin.RepayCredit(10000000), 0);
  EXPECT_EQ(fin.GetVarValue("F.KONTO"), 0.0);
  EXPECT_EQ(fin.GetVarValue("F.KREDITE"), 145000000.0);
  fin.SetVarData("F.KREDITE", 0.0);
  fin.SetVarData("F.KONTO", 50000000);
  EXPECT_EQ(fin.RepayCredit(10000000), 1);
  EXPECT_EQ(host.warnings, std::vector<int>({23, 24, 25}));
  EXPECT_EQ(fin.GetVarValue("F.KONTO"), 50000000.0);
}

TEST_F(Finances, RepayingPaysNoMoreThanIsOwedAndAmountsArePositive) {
  fin.SetVarData("F.KREDITE", 4000000);
  fin.SetVarData("F.KONTO", 50000000);
  // A step of ten million against four million owed pays the four.
  EXPECT_EQ(fin.RepayCredit(10000000), 0);
  EXPECT_EQ(fin.GetVarValue("F.KREDITE"), 0.0);
  EXPECT_EQ(fin.GetVarValue("F.KONTO"), 46000000.0);
  // Negative or empty amounts move nothing in either direction.
  fin.SetVarData("F.KREDITE", 4000000);
  EXPECT_EQ(fin.TakeCredit(-1000), 1);
  EXPECT_EQ(fin.TakeCredit(0), 1);
  EXPECT_EQ(fin.RepayCredit(-1000), 1);
  EXPECT_EQ(fin.GetVarValue("F.KREDITE"), 4000000.0);
  EXPECT_EQ(fin.GetVarValue("F.KONTO"), 46000000.0);
}

TEST_F(Finances, BankruptBeyondTwiceTheCreditLimit) {
  // people 0: limit 150000000, bankrupt when credits - account > 300000000.
  fin.SetVarData("F.KREDITE", 300000000);
  fin.SetVarData("F.KONTO", 0.0);
  EXPECT_FALSE(fin.IsPleite());
  fin.SetVarData("F.KONTO", -1);
  EXPECT_TRUE(fin.IsPleite());
}

TEST_F(Finances, CanPayAnswersAtTheEdgesAndInEveryMode) {
  fin.SetVarData("F.KONTO", 5000);
  EXPECT_EQ(fin.CheckForMoney(5000), 0);
  EXPECT_EQ(fin.CheckForMoney(5001), 1);
  EXPECT_EQ(fin.CheckForMoney(0), 0);
  fin.SetVarData("F.KONTO", -1);
  EXPECT_EQ(fin.CheckForMoney(0), 1);

  fin.SetGottModus(&god);
  const std::pair<EGameModus, int> modes[] = {{GAME_GOD, 0}, {GAME_NORMAL, 1}, {GAME_SCENARIO, 1}, {GAME_EXPO, 0}};
  for (auto [mode, expected] : modes) {
    god.SetGameModus(mode);
    EXPECT_EQ(fin.CheckForMoney(100), expected) << "mode " << mode;
  }
}

TEST_F(Finances, InterestOnTheCreditsOverAYear) {
  fin.TakeCredit(10000000);
  SetG9(0.5);  // rate 0.03 + 0.015 x 0.5 = 0.0375
  double paid = 0;
  // One day of hours 5 to 20: the fractional year runs from 0 to 11/12.
  for (int hour = 6; hour <= 20; ++hour) fin.OnPlayloopTurn(At(0, hour), At(0, hour - 1));
  paid = fin.GetVarValue("F.ZINSEN");
  // Each month's share is floored when it is stored.
  EXPECT_NEAR(paid, 0.0375 * 10000000 * 11.0 / 12.0, 12.0);
  EXPECT_LE(paid, 0.0375 * 10000000 * 11.0 / 12.0);
  EXPECT_EQ(fin.GetVarValue("F.EXPENSES"), paid);
  EXPECT_EQ(fin.GetVarValue("F.KONTO"), 110000000.0 - paid);
  // Hours that do not change the month cost nothing.
  fin.OnPlayloopTurn(At(0, 20), At(0, 20));
  EXPECT_EQ(fin.GetVarValue("F.ZINSEN"), paid);
  // A booming economy lowers the rate to 3 %.
  SetG9(1.0);
  fin.OnPlayloopTurn(At(1, 5), At(0, 20));
  EXPECT_NEAR(fin.GetVarValue("F.ZINSEN") - paid, 0.03 * 10000000 / 12.0, 1.0);
}

TEST_F(Finances, TheYearlyClosingKeepsAccountCreditsAndCreditStep) {
  fin.TakeCredit(20000000);
  dx.VarAddValue("F.EXPENSES.BUILDINFRASTRUCTURE", 3000);
  dx.VarAddValue("F.INCOME.CITY", 1000);
  fin.SetVarData("F.KREDITE.GROESSE", 5000000);
  const double konto = fin.GetVarValue("F.KONTO");
  EXPECT_EQ(konto, 120000000.0 - 2000);

  // No change of year: nothing moves.
  fin.ResetYearData(At(0, 20), At(0, 19));
  EXPECT_EQ(fin.GetVarValue("F.BILANZ"), -2000.0);

  fin.ResetYearData(At(1, 5), At(0, 20));
  EXPECT_EQ(fin.GetVarValue("F.LASTYEAR.BILANZ"), -2000.0);
  EXPECT_EQ(fin.GetVarValue("F.LASTYEAR.EXPENSES.BUILDINFRASTRUCTURE"), 3000.0);
  EXPECT_EQ(fin.GetVarValue("F.LASTYEAR.KONTO"), konto);
  EXPECT_EQ(fin.GetVarValue("F.BILANZ"), 0.0);
  EXPECT_EQ(fin.GetVarValue("F.EXPENSES.BUILDINFRASTRUCTURE"), 0.0);
  EXPECT_EQ(fin.GetVarValue("F.INCOME"), 0.0);
  EXPECT_EQ(fin.GetVarValue("F.KONTO"), konto);
  EXPECT_EQ(fin.GetVarValue("F.KREDITE"), 20000000.0);
  EXPECT_EQ(fin.GetVarValue("F.KREDITE.GROESSE"), 5000000.0);
  // The step is not copied.
  float step = 0;
  fin.GetStep("F.LASTYEAR.KREDITE", &step);
  EXPECT_EQ(step, 1000000.0f);

  // The new year's first booking starts from the kept account.
  dx.VarAddValue("F.RES", 100);
  EXPECT_EQ(fin.GetVarValue("F.KONTO"), konto - 100);

  fin.ResetData();
  EXPECT_EQ(fin.GetVarValue("F.KONTO"), 100000000.0);
  EXPECT_EQ(fin.GetVarValue("F.KREDITE"), 0.0);
  EXPECT_EQ(fin.GetVarValue("F.LASTYEAR.BILANZ"), 0.0);
  EXPECT_EQ(fin.GetVarValue("F.KREDITE.GROESSE"), 10000000.0);
}

TEST_F(Finances, TheRecordRoundTripsWithItsDocumentedBytes) {
  fin.TakeCredit(30000000);
  dx.VarAddValue("F.SUB", 1234);
  fin.ResetYearData(At(1, 5), At(0, 20));
  dx.VarAddValue("F.RES", 55);
  const zortest::ByteList bytes = Saved(fin);
  ASSERT_EQ(bytes.size(), 4u + 30 + 8 + 2 * 21 * 96);
  EXPECT_EQ(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24, 21 * 76 + 38);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[4])), "Finanzen");
  EXPECT_EQ(bytes[38], 21);  // the row count after flag and padding
  // The first row: its name, then the flag and the value as a double.
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[42])), "F.ZINSEN");
  double konto = 0;
  std::memcpy(&konto, &bytes[42 + 6 * 96 + 64], 8);
  EXPECT_EQ(konto, fin.GetVarValue("F.KONTO"));

  zortest::RecordFile named;
  char name[] = "Geld";
  fin.SerializeGameStore(named.f(), name);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&named.Bytes()[4])), "Geld");

  CFinanzen back;
  ASSERT_EQ(LoadPayload(back, bytes, 240), 0);
  for (int i = 0; i < CFinanzen::kRows; ++i) EXPECT_EQ(std::memcmp(back.GetVar(i), fin.GetVar(i), 96), 0) << i;
  EXPECT_EQ(back.GetVarValue("F.LASTYEAR.SUB"), 1234.0);
  EXPECT_EQ(back.GetVarValue("F.KREDITE"), 30000000.0);
  EXPECT_EQ(Saved(back), bytes);
}

TEST_F(Finances, OlderRecordsOfFloatRows) {
  // A record of the float rows, as older savegames hold them.
  zortest::RecordFile file;
  {
    ZorRecordWriter out(file.f());
    out.U8(1);
    out.U8(0);
    out.U16(0);
    out.I32(CFinanzen::kRows);
    for (int year = 0; year < 2; ++year)
      for (int i = 0; i < CFinanzen::kRows; ++i) {
        out.FixedString(fin.GetVar(i)->name, 60);
        const bool credits = std::strcmp(fin.GetVar(i)->name, "F.KREDITE") == 0;
        out.F32(credits ? 4000000.0f : 250.5f + year);
        out.F32(0);
        out.F32(0);
        out.F32(credits ? 1000000.0f : 0);
      }
  }
  const zortest::ByteList floats = file.Bytes();
  zortest::ByteList withHeader(34, 0);
  withHeader.insert(withHeader.end(), floats.begin(), floats.end());

  CFinanzen older;
  ASSERT_EQ(LoadPayload(older, withHeader, 160), 0);
  EXPECT_EQ(older.GetVarValue("F.KONTO"), 250.5);
  EXPECT_EQ(older.GetVarValue("F.LASTYEAR.KONTO"), 251.5);
  EXPECT_EQ(older.GetVarValue("F.KREDITE"), 4000000.0);

  // Between the two layouts the credits are not taken over.
  CFinanzen middle;
  ASSERT_EQ(LoadPayload(middle, withHeader, 200), 0);
  EXPECT_EQ(middle.GetVarValue("F.KONTO"), 250.5);
  EXPECT_EQ(middle.GetVarValue("F.KREDITE"), 0.0);
  EXPECT_EQ(middle.GetVarValue("F.LASTYEAR.KREDITE"), 0.0);
}

TEST_F(Finances, BadRecordsAreRefusedWithALogLineAndChangeNothing) {
  fin.SetVarData("F.KONTO", 4242);
  const zortest::ByteList good = Saved(fin);
  OpenErrorLog("errors.log");
  auto withCount = [&](int32_t count) {
    zortest::ByteList b = good;
    std::memcpy(&b[38], &count, 4);
    return b;
  };
  CFinanzen target;
  EXPECT_EQ(LoadPayload(target, withCount(22), 240), 1);
  EXPECT_EQ(LoadPayload(target, withCount(-1), 240), 1);
  zortest::ByteList nan = good;
  const double bad = std::nan("");
  std::memcpy(&nan[42 + 6 * 96 + 64], &bad, 8);  // this year's "F.KONTO"
  EXPECT_EQ(LoadPayload(target, nan, 240), 1);
  zortest::ByteList renamed = good;
  renamed[42 + 6 * 96 + 2] = 'X';
  EXPECT_EQ(LoadPayload(target, renamed, 240), 1);
  zortest::ByteList shortRecord(good.begin(), good.end() - 10);
  EXPECT_EQ(LoadPayload(target, shortRecord, 240), 1);
  EXPECT_EQ(target.GetVarValue("F.KONTO"), 100000000.0);
  // A smaller count loads those rows and keeps the rest.
  EXPECT_EQ(LoadPayload(target, withCount(0), 240), 0);
  EXPECT_EQ(target.GetVarValue("F.KONTO"), 100000000.0);
  CloseErrorLog();
  EXPECT_EQ(zortest::ReadFile("errors.log"),
            "CFinanzen: a savegame with 22 rows is refused\n"
            "CFinanzen: a savegame with -1 rows is refused\n"
            "CFinanzen: a savegame with amounts that are no numbers is refused\n"
            "CFinanzen: a savegame row named F.XONTO stands where F.KONTO belongs; refused\n");
}
