// The city budget's record read back through the savegame container: a
// record whose amounts are no numbers or whose row count does not fit is
// refused with a log line, and the running game keeps its money.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "framework/qno_log.h"
#include "model/data_exchange.h"
#include "support/test_support.h"
#include "world/town_fixture.h"
#include "world/zor_world.h"

namespace {

using towntest::Town;

double Konto(CZorvaWorld& world) {
  double value = 0;
  EXPECT_EQ(world.GetDataExchange()->GetVarData("F.KONTO", &value), 0);
  return value;
}

TEST_F(Town, AFinanceRecordWithNoNumbersOrARowCountOutOfRangeIsRefused) {
  ASSERT_NE(Place(OBJ_RESIDENTIAL, OneCell(OBJ_RESIDENTIAL), 61, 61), nullptr);
  world.GetDataExchange()->VarAddValue("F.EXPENSES.BUILDINFRASTRUCTURE", 12345);
  const double saved = Konto(world);
  ASSERT_EQ(world.SerializeGameStore("SaveGame/MONEY.GMD"), 0);
  const std::string good = zortest::ReadFile("SaveGame/MONEY.GMD");
  const std::string companion = zortest::ReadFile("SaveGame/MONEY.GMM");
  // The budget's record follows its section's tag: length, name, flag and
  // padding, row count, then this year's rows of 96 bytes.
  const size_t name = good.find("Finanzen", good.find("TESTILI"));
  ASSERT_NE(name, std::string::npos);
  const size_t count = name + 30 + 4, rows = count + 4;
  int32_t stored = 0;
  std::memcpy(&stored, &good[count], 4);
  ASSERT_EQ(stored, 21);
  ASSERT_EQ(std::string(&good[rows + 6 * 96]), "F.KONTO");

  // Played on, the game has other money when a bad file is offered.
  world.GetDataExchange()->VarAddValue("F.EXPENSES.BUILDINFRASTRUCTURE", 1000);
  const double now = Konto(world);
  ASSERT_EQ(now, saved - 1000);
  struct Bad {
    size_t at;
    int width;
    double value;
    const char* said;
  };
  const double nan = std::nan("");
  for (const Bad& bad : {Bad{rows + 6 * 96 + 64, 8, nan, "amounts that are no numbers"},
                         Bad{rows + 21 * 96 + 2 * 96 + 64, 8, HUGE_VAL, "amounts that are no numbers"},
                         Bad{count, 4, -1, "-1 rows"}, Bad{count, 4, 22, "22 rows"}}) {
    std::string bytes = good;
    if (bad.width == 8) {
      std::memcpy(&bytes[bad.at], &bad.value, 8);
    } else {
      const auto v = static_cast<int32_t>(bad.value);
      std::memcpy(&bytes[bad.at], &v, 4);
    }
    zortest::WriteFile("SaveGame/BADMONEY.GMD", bytes);
    zortest::WriteFile("SaveGame/BADMONEY.GMM", companion);
    OpenErrorLog("errors.log");
    EXPECT_EQ(world.SerializeGameLoad("SaveGame/BADMONEY.GMD"), 1) << bad.said;
    CloseErrorLog();
    EXPECT_NE(zortest::ReadFile("errors.log").find(bad.said), std::string::npos) << bad.said;
    EXPECT_EQ(Konto(world), now) << bad.said;
  }
  // The sound file loads with the money it was saved with.
  ASSERT_EQ(world.SerializeGameLoad("SaveGame/MONEY.GMD"), 0);
  EXPECT_EQ(Konto(world), saved);
}

}  // namespace
