// The advice centre: one centre, the target share from price and awareness
// or god mode, users that move one step a turn, money, the year and the
// record.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "framework/qno_log.h"
#include "measures/advice_centre.h"
#include "measures/measure_test_host.h"
#include "measures/opnv_test_hosts.h"
#include "support/test_support.h"

namespace {

constexpr auto At = MeasureTime;

// The price table's centre costs 800000.
struct PricedWorld : OpnvWorldHost {
  double GetPreis(int entry, int cls) override { return entry == 32 && cls == 0 ? 800000.7 : 0.0; }
};

struct AdviceCentre : testing::Test {
  MeasureTestHost host;
  PricedWorld world;
  CZorviZentrale mz;
  CBuildingTrafficObject centre, second;
  void SetUp() override {
    CMeasureHost::Install(&host);
    CWorldHost::Install(&world);
    mz.Create();
    host.people = 100000;
  }
  void TearDown() override {
    CWorldHost::Install(nullptr);
    CMeasureHost::Install(nullptr);
  }
  double Get(const char* key) { return MeasureValue(mz, key); }
};

TEST_F(AdviceCentre, TheCityHasOneCentreAndItsPagesFollowIt) {
  host.values["AR.NUMBER"] = 0;
  ASSERT_EQ(mz.AddZorviZentrale(&centre), 0);
  EXPECT_EQ(Get("MZ.BILANZ"), -800000);
  EXPECT_EQ(Get("MZ.ZENTRALE"), 1);
  EXPECT_EQ(host.hints[81], 0);
  EXPECT_EQ(host.hints[90], 0);
  // A second centre is refused and costs nothing.
  EXPECT_EQ(mz.AddZorviZentrale(&second), 1);
  EXPECT_EQ(Get("MZ.COST"), 800000);
  EXPECT_EQ(mz.RemoveZorviZentrale(&second), 1);
  ASSERT_EQ(mz.RemoveZorviZentrale(&centre), 0);
  EXPECT_EQ(host.hints[81], 1);
  EXPECT_EQ(host.hints[90], 1);
  // With route guidance's masts the assistant's page stays.
  host.values["AR.NUMBER"] = 3;
  mz.AddZorviZentrale(&centre);
  mz.RemoveZorviZentrale(&centre);
  EXPECT_EQ(host.hints[90], 0);
}

TEST_F(AdviceCentre, TheTargetShareFollowsPriceAndAwarenessOrGodMode) {
  EXPECT_EQ(mz.CalculateUserQuote(), 0.0);
  mz.AddZorviZentrale(&centre);
  EXPECT_DOUBLE_EQ(mz.CalculateUserQuote(), 3.75);
  mz.SetVarData("MZ.PRICE.BERATUNG", 0.0);
  EXPECT_EQ(mz.SetVarData("MZ.USERQUOTE", 50), 1);
  EXPECT_DOUBLE_EQ(mz.CalculateUserQuote(), 7.5);
  host.pinned.insert(10);
  mz.SetUserQuote(12);
  EXPECT_DOUBLE_EQ(mz.CalculateUserQuote(), 12.0);
  // Pinned, the users move toward 12 % of the people.
  mz.OnPlayloopTurn(At(50.0f), At(0.0f));
  EXPECT_NEAR(Get("MZ.USERQUOTE"), 12.0, 1e-4);
  EXPECT_NEAR(mz.Block().users, 12000.0f, 0.01f);
}

TEST_F(AdviceCentre, UsersMoveOneStepATurnAndFallAtOnce) {
  mz.AddZorviZentrale(&centre);
  // A turn in which no time passes moves nobody and ends.
  mz.OnPlayloopTurn(At(0.25f), At(0.25f));
  EXPECT_EQ(mz.Block().users, 0.0f);
  // 3750 wanted: 3750 / ((1 - 0) x 4 + 1) x 3 x 0.25 = 562.5
  mz.OnPlayloopTurn(At(0.5f), At(0.25f));
  EXPECT_FLOAT_EQ(mz.Block().users, 562.5f);
  // A long turn stops at the potential.
  mz.OnPlayloopTurn(At(5.0f), At(0.5f));
  EXPECT_FLOAT_EQ(mz.Block().users, 3750.0f);
  // Dearer advice: the target falls to 3 % and the users with it.
  mz.SetVarData("MZ.PRICE.BERATUNG", 3.0);
  mz.OnPlayloopTurn(At(5.0f), At(5.0f));
  EXPECT_FLOAT_EQ(mz.Block().users, 3000.0f);
  // Without people or without the centre nobody is advised.
  host.people = 0;
  mz.OnPlayloopTurn(At(5.1f), At(5.0f));
  EXPECT_EQ(Get("MZ.USERQUOTE"), 0.0);
}

TEST_F(AdviceCentre, ConsultationsAndCampaignsBookTheYearsMoney) {
  mz.AddZorviZentrale(&centre);
  mz.OnPlayloopTurn(At(9.0f), At(0.0f));  // 3750 users
  const int cost = mz.Block().expenses, income = mz.Block().income;
  mz.OnPlayloopTurn(At(9.5f), At(9.0f));
  EXPECT_EQ(mz.Block().income - income, static_cast<int>(3750 * 30 * 0.5 * 2.5));
  EXPECT_EQ(mz.Block().expenses - cost, 3750 * 100 / 2);

  ASSERT_EQ(mz.SetVarData("MZ.ADTELEVISION", 1), 0);
  EXPECT_EQ(world.added["F.GREENADVERTISMENT"], 500000);
  mz.OnPlayloopTurn(At(10.6f), At(9.5f));
  EXPECT_EQ(Get("MZ.ADTELEVISION"), 0);
  EXPECT_FLOAT_EQ(mz.Block().awareness, 0.3f);
  // (0.25 + 0.15) x 15 = 6 %
  EXPECT_DOUBLE_EQ(mz.CalculateUserQuote(), (0.25 + 0.5 * 0.3f) * 15);

  const int balance = mz.Block().balance;
  mz.ResetYearData(At(10.6f), At(10.5f));
  EXPECT_EQ(Get("MZ.LASTYEAR.BILANZ"), 0);
  mz.ResetYearData(At(11.0f), At(10.6f));
  EXPECT_EQ(Get("MZ.LASTYEAR.BILANZ"), balance);
  EXPECT_EQ(Get("MZ.BILANZ"), 0);
  EXPECT_FLOAT_EQ(mz.Block().awareness, 0.3f);
}

TEST_F(AdviceCentre, TheRecordComesBackAndTheCentreBooksItsPriceAgain) {
  mz.AddZorviZentrale(&centre);
  mz.SetVarData("MZ.PRICE.BERATUNG", 1.5);
  mz.OnPlayloopTurn(At(0.5f), At(0.0f));
  zortest::RecordFile file;
  ASSERT_EQ(mz.SerializeGameStore(file.f(), nullptr), 0);
  const zortest::ByteList bytes = file.Bytes();
  ASSERT_EQ(bytes.size(), 4u + 90u);
  EXPECT_EQ(bytes[34 + 28], 1);
  const zortest::ByteList payload(bytes.begin() + 34, bytes.end());

  CZorviZentrale back;
  back.Create();
  zortest::RecordFile in(payload);
  ASSERT_EQ(back.SerializeGameLoad(in.f(), 60, 200), 0);
  EXPECT_FALSE(back.HasZentrale());
  EXPECT_EQ(back.AddZorviZentrale(&second), 0);
  EXPECT_EQ(std::memcmp(&back.Block(), &mz.Block(), sizeof(SZorviZentraleBlock)), 0);

  zortest::ByteList nan = payload;
  const float bad = std::nanf("");
  std::memcpy(&nan[24], &bad, 4);
  OpenErrorLog("errors.log");
  CZorviZentrale other;
  zortest::RecordFile nanFile(nan), cut(zortest::ByteList(payload.begin(), payload.end() - 4));
  EXPECT_EQ(other.SerializeGameLoad(nanFile.f(), 60, 200), 1);
  EXPECT_EQ(other.SerializeGameLoad(cut.f(), 56, 200), 1);
  EXPECT_EQ(other.Block().price, 2.5f);
  // Money of the year past a billion is damage: taking the saved centre's
  // price off saturates, and the year's money is clamped to a billion.
  zortest::ByteList rich = payload;
  // The bounds themselves are in range.
  const int32_t income = 2147483000, expenses = -2147483643, balance = -1000000000, lastBalance = 1000000000;
  std::memcpy(&rich[0], &income, 4);
  std::memcpy(&rich[4], &expenses, 4);
  std::memcpy(&rich[8], &balance, 4);
  std::memcpy(&rich[12], &lastBalance, 4);
  zortest::RecordFile richFile(rich);
  EXPECT_EQ(other.SerializeGameLoad(richFile.f(), 60, 200), 0);
  CloseErrorLog();
  EXPECT_EQ(other.Block().income, 1000000000);
  EXPECT_EQ(other.Block().expenses, -1000000000);
  EXPECT_EQ(other.Block().lastBalance, 1000000000);
  EXPECT_EQ(zortest::ReadFile("errors.log"),
            "ZorviZentrale: a savegame whose field 6 is no number is refused\n"
            "ZorviZentrale: a record of 56 bytes is refused, 60 expected\n"
            "ZorviZentrale: income of 2147483000 out of range, taken as the nearest bound\n"
            "ZorviZentrale: expenses of -2147483648 out of range, taken as the nearest bound\n");
}

}  // namespace
