// The city's money in the running game: a booking as the tools make it, a
// credit from the finance window's action, and the hours running on over
// the end of the year.
#include <gtest/gtest.h>

#include "gui/gui_host.h"
#include "model/data_exchange.h"
#include "model/finanzen.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "world/zor_world.h"
#include "worldbase/zor_world_host.h"

namespace {
using zortest::Scenario;
using zortest::Wait;
}  // namespace

TEST(ScenarioMoney, TheAccountFollowsBookingsCreditsAndInterestOverTheYearEnd) {
  Scenario game("GAMESPEED=200\n");
  game.Run({Wait(200)});
  CFinanzen* fin = game.World().GetFinanzen();
  CDataExchange* dx = game.World().GetDataExchange();
  ASSERT_NE(fin, nullptr);
  ASSERT_NE(dx, nullptr);
  EXPECT_EQ(dx->GetVarValue("F.KONTO"), 100000000.0);

  // A street as the street tool books it, and a credit from the window.
  dx->VarAddValue("F.EXPENSES.BUILDINFRASTRUCTURE", 25000);
  EXPECT_EQ(fin->GetVarValue("F.KONTO"), 100000000.0 - 25000);
  CGuiHost::Get()->TakeCredit(10000000);
  EXPECT_EQ(fin->GetVarValue("F.KREDITE"), 10000000.0);
  EXPECT_EQ(fin->GetVarValue("F.KONTO"), 110000000.0 - 25000);

  // The world's answer to "can the city pay" is the finances' answer.
  const double konto = fin->GetVarValue("F.KONTO");
  EXPECT_EQ(CWorldHost::Get()->CheckForMoney(static_cast<int>(konto)), 0);
  EXPECT_EQ(CWorldHost::Get()->CheckForMoney(static_cast<int>(konto) + 1), 1);

  const int startYear = game.World().GetSimWelt()->Date().Year();
  for (int i = 0; i < 400 && game.World().GetSimWelt()->Date().Year() == startYear; ++i) game.Do(Wait(1000));
  ASSERT_GT(game.World().GetSimWelt()->Date().Year(), startYear) << "the year ends";
  game.Do(Wait(400));

  // Last year's figures hold the booking and the year's interest.
  EXPECT_EQ(fin->GetVarValue("F.LASTYEAR.EXPENSES.BUILDINFRASTRUCTURE"), 25000.0);
  const double interest = fin->GetVarValue("F.LASTYEAR.ZINSEN");
  EXPECT_GT(interest, 0.0);
  EXPECT_LE(interest, 0.045 * 10000000 * 11.0 / 12.0);
  EXPECT_EQ(fin->GetVarValue("F.LASTYEAR.BILANZ"), -(25000.0 + interest));
  // The new year starts from 0 but keeps the account and the credits.
  EXPECT_EQ(fin->GetVarValue("F.EXPENSES.BUILDINFRASTRUCTURE"), 0.0);
  EXPECT_EQ(fin->GetVarValue("F.KREDITE"), 10000000.0);
  EXPECT_EQ(fin->GetVarValue("F.KREDITE.GROESSE"), 10000000.0);
  EXPECT_EQ(fin->GetVarValue("F.KONTO"), 110000000.0 - 25000 - interest - fin->GetVarValue("F.ZINSEN"));
  EXPECT_EQ(fin->GetVarValue("F.BILANZ"), -fin->GetVarValue("F.ZINSEN"));
}
