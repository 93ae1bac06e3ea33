// The game's network definition (text resource 19396) as the game uses it:
// the names it feeds and reads, the ranges its readers rely on, and its
// behaviour from the start state.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "cyber_test_util.h"
#include "cybernet/cyber_nodes.h"

using cybertest::Settle;

namespace {

const char* const kFed[] = {
    "G3",   "G5",   "G6",   "E5",   "E6",     "E7",      "E8",         "E9",   "E10",   "E13",  "E14",  "E15",
    "E16",  "K12.1", "U13.1", "S1",  "S2",     "S3_norm", "S3_micro",   "S4",   "S5",    "S6",   "S7",   "I1",
    "I2",   "I3",   "I4",   "I5",   "I7",     "I8",      "I9",         "K1.1", "K1.2",  "K2.1", "K2.2", "K3.1",
    "K3.2", "K4",   "K5.1", "K5.2", "K6.1",   "K6.2",    "K7",         "K8.1", "K9.1",  "K9.2", "K10",  "K11",
    "K12.4", "K13", "K15",  "U1",   "U2",     "U3",      "U4",         "U5",   "U6",    "U7",   "U8",   "U9",
    "U10.1", "U10.2", "U11.1", "U11.2", "U12", "U13.2",  "U15",        "M8.1", "M8.2",  "M9",   "M4",   "M10",
    "M12"};
const char* const kRead[] = {"M1", "M2", "M3", "M5", "M6", "M7", "K12.2", "K12.3", "K8.2", "K14", "G1", "G1.1", "G2", "G9"};

std::unique_ptr<CCyberNet> GameNet() {
  auto net = std::make_unique<CCyberNet>();
  net->InsertStandardTemplates();
  FILE* f = std::fopen((zortest::SourceDir() + "/assets/text/19396.txt").c_str(), "r");
  EXPECT_NE(f, nullptr);
  if (f) {
    EXPECT_EQ(net->Read(f), 0);
    std::fclose(f);
  }
  return net;
}

double Size(const CCyberNet& net, const char* name) { return net.pNode(name)->Size(); }

// One period as the game runs it: M4 follows M5, then settle and step.
int GamePeriod(CCyberNet& net) {
  CCyberNode* m4 = net.pNode("M4");
  m4->SetSize(m4->MinSize() + net.pNode("M5")->Size() * (m4->MaxSize() - m4->MinSize()));
  const int rounds = Settle(net);
  net.NextTimeStep();
  return rounds;
}

void ExpectWithinLimits(const CCyberNet& net, int period) {
  for (const CCyberNodeList* row = net.pNodeList(); row; row = row->pTail()) {
    const CCyberNode* n = row->pHead();
    EXPECT_GE(n->Value(), 0.0) << n->Name() << " period " << period;
    EXPECT_LE(n->Value(), 1.0) << n->Name() << " period " << period;
  }
}

}  // namespace

TEST(GameNetwork, HoldsEveryNodeTheGameFeedsAndReadsWithTheRangesItExpects) {
  auto net = GameNet();
  for (const char* name : kFed) {
    const CCyberNode* n = net->pNode(name);
    ASSERT_NE(n, nullptr) << name;
    EXPECT_STREQ(n->ClassName(), "BasicNode") << name;
    EXPECT_EQ(n->pInputNodeList(), nullptr) << name;  // a computed value would overwrite the fed one
    EXPECT_GT(n->MaxSize() - n->MinSize(), 0.0001) << name;
  }
  for (const char* name : kRead) {
    const CCyberNode* n = net->pNode(name);
    ASSERT_NE(n, nullptr) << name;
    EXPECT_NE(n->pInputNodeList(), nullptr) << name;
    EXPECT_GT(n->MaxSize(), n->MinSize()) << name;
  }
  // Fed and read names are all distinct: 87 names.
  std::map<std::string, int> names;
  for (const char* name : kFed) ++names[name];
  for (const char* name : kRead) ++names[name];
  EXPECT_EQ(names.size(), 87u);

  EXPECT_EQ(net->pNode("E9")->MaxSize(), 4.0);  // parking prices offered up to 2
  EXPECT_EQ(net->pNode("M5")->MinSize(), 0.0);
  EXPECT_EQ(net->pNode("M5")->MaxSize(), 1.0);
  EXPECT_GT(net->pNode("M12")->MinSize(), 0.0);  // a divisor of car trips
  EXPECT_GE(net->pNode("M1")->MinSize(), 0.0);   // god mode shows it as a percentage
  EXPECT_LE(net->pNode("M1")->MaxSize(), 100.0);
  EXPECT_GE(net->pNode("M2")->MinSize(), 0.0);
  EXPECT_GE(net->pNode("K12.2")->MinSize(), 0.0);
  for (const char* g : {"G1", "G1.1", "G2", "G9"}) {
    EXPECT_EQ(net->pNode(g)->MinSize(), 0.0) << g;
    EXPECT_EQ(net->pNode(g)->MaxSize(), 1.0) << g;
  }
  // Weights follow the conventions and every curve can be computed.
  EXPECT_EQ(net->CheckLimits(), 0);
  for (const CCyberNodeList* row = net->pNodeList(); row; row = row->pTail())
    EXPECT_TRUE(row->pHead()->GetActiveIntern()) << row->pHead()->Name();
}

TEST(GameNetwork, StartsSettledWithNeutralOutputsAndStaysSoUnderConstantInputs) {
  auto net = GameNet();
  EXPECT_EQ(Settle(*net), 1);
  EXPECT_NEAR(Size(*net, "M6"), 2.5, 0.01);
  EXPECT_NEAR(Size(*net, "M1"), 22.5, 0.05);
  EXPECT_NEAR(Size(*net, "M12"), 1.3, 1e-9);
  EXPECT_NEAR(Size(*net, "M4"), 0.0, 0.05);
  EXPECT_NEAR(Size(*net, "M7"), 450.0, 1.0);
  EXPECT_NEAR(Size(*net, "M3"), 0.75, 0.01);
  EXPECT_NEAR(Size(*net, "G9"), 0.5, 0.05);
  EXPECT_LT(Size(*net, "K12.2"), 5.0);

  std::map<std::string, double> settled;
  for (const CCyberNodeList* row = net->pNodeList(); row; row = row->pTail()) settled[row->pHead()->Name()] = row->pHead()->Value();
  for (int period = 0; period < 100; ++period) {
    EXPECT_LT(GamePeriod(*net), 100) << period;
    ExpectWithinLimits(*net, period);
  }
  // The start state is the network's own steady state: nothing drifts.
  for (const CCyberNodeList* row = net->pNodeList(); row; row = row->pTail())
    EXPECT_NEAR(row->pHead()->Value(), settled[row->pHead()->Name()], 1e-6) << row->pHead()->Name();
  EXPECT_GT(Size(*net, "M12"), 0.0);
}

TEST(GameNetwork, SettlesFromAColdStateToTheSameOutputs) {
  auto net = GameNet();
  auto reference = GameNet();
  Settle(*reference);
  // Every computed node at 0: the loops must still settle, and to the same state.
  for (const CCyberNodeList* row = net->pNodeList(); row; row = row->pTail())
    if (row->pHead()->pInputNodeList() && std::string(row->pHead()->ClassName()) == "BasicNode")
      row->pHead()->SetValue(0.0);
  EXPECT_LT(Settle(*net), 100);
  for (const char* name : {"M1", "M6", "M3", "G1", "G2", "K8.2"})
    EXPECT_NEAR(Size(*net, name), Size(*reference, name), 1e-3) << name;
}

TEST(GameNetwork, RespondsToPolicyInThePlausibleDirection) {
  auto base = GameNet();
  auto dear = GameNet();    // fares at their highest
  auto better = GameNet();  // frequent, dense public transport
  auto parking = GameNet(); // expensive, scarce parking
  dear->pNode("E13")->SetSize(4.0);
  for (const char* n : {"I5", "I2", "I4", "K13"}) better->pNode(n)->SetSize(1e9);
  parking->pNode("E9")->SetSize(4.0);
  parking->pNode("I7")->SetSize(0.0);
  for (int period = 0; period < 30; ++period)
    for (CCyberNet* net : {base.get(), dear.get(), better.get(), parking.get()}) {
      EXPECT_LT(GamePeriod(*net), 100);
      ExpectWithinLimits(*net, period);
    }
  const double m1 = Size(*base, "M1");
  EXPECT_LT(Size(*dear, "M1"), m1);
  EXPECT_GT(Size(*better, "M1"), m1);
  EXPECT_GT(Size(*parking, "M1"), m1);
  EXPECT_LT(Size(*parking, "M7"), Size(*base, "M7"));
  EXPECT_GT(Size(*better, "G2"), Size(*base, "G2"));
}
