// A savegame whose cause-effect network holds values no period could
// compute is refused whole: the running game stays as it was and its
// periods go on.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cybernet/cyber_net.h"
#include "model/data_exchange.h"
#include "sim/sim_welt.h"
#include "support/scenario.h"
#include "support/test_support.h"
#include "world/zor_world.h"

TEST(CompanionNetwork, BadNodeValuesFailTheLoadAndTheGameGoesOn) {
  zortest::Scenario game;
  CZorvaWorld& world = game.World();
  std::filesystem::create_directories("SaveGame");
  ASSERT_EQ(world.SerializeGameStore("SaveGame/NET.GMD"), 0);
  std::string companion = zortest::ReadFile("SaveGame/NET.GMM");
  const std::string delay = "DelayTime  1";
  const size_t at = companion.find(delay);
  ASSERT_NE(at, std::string::npos);

  // A delay beyond the two steps a delay node can look back.
  std::string bad = companion;
  bad.replace(at, delay.size(), "DelayTime  7");
  zortest::WriteFile("SaveGame/NET.GMM", bad);
  CCyberNet* before = world.GetSimWelt()->pCyberNet();
  const int nodes = before->NodeCount();
  EXPECT_EQ(world.SerializeGameLoad("SaveGame/NET.GMD"), 1);

  CCyberNet* net = world.GetSimWelt()->pCyberNet();
  ASSERT_NE(net, nullptr);
  EXPECT_EQ(net->NodeCount(), nodes);
  for (const CCyberNodeList* row = net->pNodeList(); row; row = row->pTail())
    EXPECT_TRUE(row->pHead()->GetActiveIntern()) << row->pHead()->Name();
  STime now = STime::FromDate(world.GetSimWelt()->Date()), last = now;
  now.hour = 7, last.hour = 6;
  EXPECT_EQ(world.GetDataExchange()->CalculateNextMatrix(now, last), 0);

  // The same savegame with its own network loads.
  zortest::WriteFile("SaveGame/NET.GMM", companion);
  EXPECT_EQ(world.SerializeGameLoad("SaveGame/NET.GMD"), 0);
}

// A companion cut between two whole node blocks reads without a fault, but
// holds only the nodes before the cut: the load is refused and the running
// game keeps its whole network.
TEST(CompanionNetwork, ACompanionCutBetweenTwoNodesFailsTheLoad) {
  zortest::Scenario game;
  CZorvaWorld& world = game.World();
  std::filesystem::create_directories("SaveGame");
  ASSERT_EQ(world.SerializeGameStore("SaveGame/CUT.GMD"), 0);
  const std::string companion = zortest::ReadFile("SaveGame/CUT.GMM");
  const int nodes = world.GetSimWelt()->pCyberNet()->NodeCount();
  ASSERT_GT(nodes, 11);
  // Behind the tenth block; the text up to there is whole.
  size_t cut = 0;
  for (int block = 0; block < 11; ++block) {
    cut = companion.find("NodeBegin", cut + 1);
    ASSERT_NE(cut, std::string::npos);
  }
  // Also the text with no node at all.
  for (const std::string& text : {companion.substr(0, cut), std::string()}) {
    zortest::WriteFile("SaveGame/CUT.GMM", text);
    EXPECT_EQ(world.SerializeGameLoad("SaveGame/CUT.GMD"), 1) << text.size();
    CCyberNet* net = world.GetSimWelt()->pCyberNet();
    ASSERT_NE(net, nullptr);
    EXPECT_EQ(net->NodeCount(), nodes) << text.size();
  }
  // A node added behind the definition's is no loss.
  zortest::WriteFile("SaveGame/CUT.GMM",
                     companion + "NodeBegin BasicNode\n  Name EXTRA\n  Value 0.50\nNodeEnd\n");
  EXPECT_EQ(world.SerializeGameLoad("SaveGame/CUT.GMD"), 0);
  EXPECT_EQ(world.GetSimWelt()->pCyberNet()->NodeCount(), nodes + 1);
  EXPECT_NE(world.GetSimWelt()->pCyberNet()->pNode("EXTRA"), nullptr);
}
