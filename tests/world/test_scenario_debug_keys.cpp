// The freeze key of the debug keys on the real game: with the debug keys
// on, F3 holds the cause-effect network, so that a period leaves it as it
// stands, and F3 again lets it run; without the debug keys F3 holds nothing.
#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>

#include "../model/period_test_util.h"
#include "model/data_exchange.h"
#include "support/scenario.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

namespace {

using namespace zortest;
using periodtest::At;

TEST(ScenarioDebugKeys, F3HoldsTheCauseEffectNetworkUntilPressedAgain) {
  std::filesystem::create_directories("SaveGame");
  Scenario game;
  CDataExchange* dx = game.World().GetDataExchange();
  ASSERT_NE(dx, nullptr);
  ASSERT_EQ(CUserInt::selObj.cyberFreeze, 0);

  // Without the debug keys, F3 holds nothing.
  game.Key(SDLK_F3);
  EXPECT_EQ(CUserInt::selObj.cyberFreeze, 0);

  // The debug keys on, as the world's filter switches them.
  CUserInt::m_ActivateDebugInfo = 1;
  game.Run({KeyDown(SDLK_F3)});
  EXPECT_EQ(CUserInt::selObj.cyberFreeze, 1);
  game.Run({KeyUp(SDLK_F3)});
  EXPECT_EQ(CUserInt::selObj.cyberFreeze, 1) << "the key's release changes nothing";
  // The period at 7 leaves the network alone.
  EXPECT_EQ(dx->CalculateNextMatrix(At(7), At(6)), 1);
  EXPECT_EQ(dx->GetLastSettleRounds(), 0);

  game.Key(SDLK_F3);
  EXPECT_EQ(CUserInt::selObj.cyberFreeze, 0);
  EXPECT_EQ(dx->CalculateNextMatrix(At(7), At(6)), 0);
  EXPECT_GE(dx->GetLastSettleRounds(), 1);

  CUserInt::m_ActivateDebugInfo = 0;
}

}  // namespace
