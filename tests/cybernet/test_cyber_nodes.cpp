#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cyber_test_util.h"
#include "cybernet/cyber_error.h"
#include "cybernet/cyber_nodes.h"
#include "framework/qno_log.h"

using cybertest::NetFrom;
using cybertest::Period;
using cybertest::ReadInto;
using cybertest::Settle;

namespace {
std::string ThrownText(void (*f)()) {
  try {
    f();
  } catch (const char* text) {
    return text;
  }
  return "";
}
}  // namespace

TEST(CyberNode, SetSizeMapsOntoTheRangeAndLeavesAnEmptyRangeAlone) {
  auto net = NetFrom("NodeBegin BasicNode Name A Value 0.3 MinSize 10 MaxSize 20 NodeEnd\n"
                     "NodeBegin BasicNode Name Flat Value 0.4 MinSize 5 MaxSize 5 NodeEnd\n");
  CCyberNode* a = net->pNode("A");
  ASSERT_NE(a, nullptr);
  EXPECT_DOUBLE_EQ(a->Size(), 13.0);
  a->SetSize(15);
  EXPECT_DOUBLE_EQ(a->Value(), 0.5);
  a->SetSize(20);
  EXPECT_EQ(a->Value(), 1.0);
  a->SetSize(9.99);
  EXPECT_EQ(a->Value(), 0.0);
  a->SetSize(1e9);
  EXPECT_EQ(a->Value(), 1.0);

  CCyberNode* flat = net->pNode("Flat");
  flat->SetSize(100);
  EXPECT_EQ(flat->Value(), 0.4);
}

TEST(CyberNode, NegativeWeightsRiseAsTheirInputFalls) {
  auto net = NetFrom("NodeBegin BasicNode Name X Value 0.5 NodeEnd\n"
                     "NodeBegin BasicNode Name Y Value 0.25 NodeEnd\n"
                     "NodeBegin BasicNode Name Z InputListBegin X 0.6 Y -0.4 InputListEnd NodeEnd\n");
  CCyberNode* z = net->pNode("Z");
  EXPECT_DOUBLE_EQ(net->UpdateInput(), 0.36);  // the input moved from 0 to 0.6
  EXPECT_DOUBLE_EQ(z->Input(), 0.6);
  net->CalculateValues();
  EXPECT_DOUBLE_EQ(z->Value(), 0.6);
  // Fed nodes have no inputs and keep the values set from outside.
  EXPECT_EQ(net->pNode("X")->Value(), 0.5);
  EXPECT_EQ(net->UpdateInput(), 0.0);
}

TEST(CyberNode, ResponseCurvesReachTheirEnds) {
  EXPECT_DOUBLE_EQ(CCyberNode::fT(2, 3, 1, 4, 0, 0.7), 0.5);
  EXPECT_EQ(CCyberNode::fT(2, 0, 1, 4, 0, 0.7), 0.0);
  EXPECT_EQ(CCyberNode::fT(2, 6, 1, 4, 0, 0.7), 0.7);
  // t = D + P is s = 1 for every rise.
  EXPECT_NEAR(CCyberNode::fT(1, 4, 0, 4, 0, 1.0), 1.0, 1e-12);
  EXPECT_NEAR(CCyberNode::fT(3, 0, 0, 4, 0, 1.0), 0.0, 1e-12);
  EXPECT_NEAR(CCyberNode::fT(3, 4, 0, 4, 0, 1.0), 1.0, 1e-9);
  EXPECT_NEAR(CCyberNode::fT(4, 2, 0, 4, 0, 1.0), 0.5, 1e-9);
  // No process time: the full step at once.
  EXPECT_EQ(CCyberNode::fT(2, 0, 0, 0, 0, 1.0), 1.0);
  // Rise and decay: curve 6 ends its decay at the end value.
  EXPECT_NEAR(CCyberNode::fT(6, 2, 0, 2, 2, 0.3), 1.0, 1e-12);
  EXPECT_NEAR(CCyberNode::fT(6, 4, 0, 2, 2, 0.3), 0.3, 1e-12);
  EXPECT_EQ(CCyberNode::fT(6, 5, 0, 2, 2, 0.3), 0.3);
}

TEST(CyberNode, InvalidCurveParametersRaiseTheirTexts) {
  EXPECT_EQ(ThrownText([] { CCyberNode::fT(4, 0, 0, 1, 1, 1.0); }), "Fehler in CCyberNode::fT(): Nr<5 && Decay>0");
  EXPECT_EQ(ThrownText([] { CCyberNode::fT(7, 0, 0, 1, 0, 1.0); }), "Fehler in CCyberNode::fT(): Nr<1 || Nr>6");
  EXPECT_EQ(ThrownText([] { CCyberNode::fT(2, 0, 3, 1, 0, 1.0); }), "Fehler in CCyberNode::fT(): Delay < 0 || Delay > 2");
  EXPECT_EQ(ThrownText([] { CCyberNode::fT(2, 0, 0, 1, 0, -0.1); }), "Fehler in CCyberNode::fT(): EndValue<0");
  EXPECT_EQ(ThrownText([] { CCyberNode::w(4, 0.5); }), "Fehler in CCyberNode::w(): Nr<1 || Nr>3");
  EXPECT_EQ(ThrownText([] { CCyberNode n(nullptr); }), "Fehler in CCyberNode::CCyberNode(): name == NULL");
  EXPECT_EQ(ThrownText([] { CCyberNode n(std::string(1025, 'n').c_str()); }),
            "Fehler in CCyberNode::CCyberNode(): strlen > 1024");
  EXPECT_DOUBLE_EQ(CCyberNode::w(1, -0.25), -0.5);
  EXPECT_DOUBLE_EQ(CCyberNode::w(3, -0.5), -0.25);
}

TEST(CyberNodeDelay, ShowsAPulseExactlyTwoStepsLater) {
  auto net = NetFrom("NodeBegin BasicNode Name In NodeEnd\n"
                     "NodeBegin DelayNode Name D InputListBegin In 1 InputListEnd\n"
                     "  DelayType 2 DelayTime 1 ProcessTime 1 DecayTime 0 InputValues 0 0 0 0 0 0 0 0 0 0\n"
                     "NodeEnd\n");
  CCyberNode* in = net->pNode("In");
  CCyberNode* d = net->pNode("D");
  std::string seen;
  for (int step = 0; step < 5; ++step) {
    in->SetValue(step == 0 ? 1.0 : 0.0);
    Period(*net);
    seen += std::to_string(static_cast<int>(d->LastValue())) + " ";
  }
  EXPECT_EQ(seen, "0 0 1 0 0 ");
}

TEST(CyberNodeGamma, GatesItsInputBySignal) {
  auto net = NetFrom("NodeBegin BasicNode Name S Value 0.5 NodeEnd\n"
                     "NodeBegin BasicNode Name X Value 0.4 NodeEnd\n"
                     "NodeBegin GammaNode Name G InputListBegin X 0.75 InputListEnd Signal S 0.25 NodeEnd\n"
                     "NodeBegin GammaNode Name Lost InputListBegin X 1 InputListEnd Signal Nobody 0 Value 0.8 NodeEnd\n");
  Settle(*net);
  EXPECT_DOUBLE_EQ(net->pNode("G")->Value(), 0.5 * (0.25 + 0.75 * 0.4));
  EXPECT_EQ(net->pNode("Lost")->Value(), 0.0);
  EXPECT_EQ(net->CheckLimits(), 0);
}

TEST(CyberNodeProcess, FollowsTheChangeOfItsInputInTheSameDirection) {
  // Immediate full response: a rise of the input by 0.5 raises the node by
  // 0.5 at once and keeps it there.
  auto net = NetFrom("NodeBegin BasicNode Name In NodeEnd\n"
                     "NodeBegin ProcessNode Name P InputListBegin In 1 2 1 2 0 0 0 InputListEnd\n"
                     "NextValues 0 0 0 0 0 0 0 0 0 0\nNodeEnd\n");
  CCyberNode* in = net->pNode("In");
  CCyberNode* p = net->pNode("P");
  in->SetValue(0.5);
  Settle(*net);
  EXPECT_DOUBLE_EQ(p->Value(), 0.5);
  net->NextTimeStep();
  EXPECT_DOUBLE_EQ(p->Value(), 0.5);
  Period(*net);  // no further change of the input: no further response
  EXPECT_DOUBLE_EQ(p->LastValue(), 0.5);
  // A fall lowers it proportionally to what it holds.
  in->SetValue(0.0);
  Settle(*net);
  EXPECT_DOUBLE_EQ(p->Value(), 0.25);
}

TEST(CyberNodeProcess, SpreadsAResponseOverTheComingSteps) {
  auto net = NetFrom("NodeBegin BasicNode Name In NodeEnd\n"
                     "NodeBegin ProcessNode Name P InputListBegin In 1 2 1 2 0 4 0 InputListEnd NodeEnd\n");
  net->pNode("In")->SetValue(0.8);
  std::string seen;
  for (int step = 0; step < 6; ++step) {
    Period(*net);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f ", net->pNode("P")->Value());
    seen += buf;
  }
  EXPECT_EQ(seen, "0.20 0.40 0.60 0.80 0.80 0.80 ");
}

TEST(CyberNode, InactiveNodesKeepTheirState) {
  auto net = NetFrom("NodeBegin BasicNode Name In Value 1 NodeEnd\n"
                     "NodeBegin BasicNode Name B Value 0.3 InputListBegin In 1 InputListEnd NodeEnd\n"
                     "NodeBegin DelayNode Name D Value 0.2 LastValue 0.1 InputListBegin In 1 InputListEnd DelayType 2 "
                     "InputValues 0 0 0 0 0 0 0 0 0 0 NodeEnd\n"
                     "NodeBegin ProcessNode Name P Value 0.4 LastValue 0.6 InputListBegin In 1 InputListEnd NodeEnd\n");
  for (const char* name : {"B", "D", "P"}) net->pNode(name)->SetActiveIntern(false);
  Period(*net);
  EXPECT_EQ(net->pNode("B")->Value(), 0.3);
  EXPECT_EQ(net->pNode("B")->LastValue(), 0.3);  // a basic node still takes its step
  EXPECT_EQ(net->pNode("D")->Value(), 0.2);
  EXPECT_EQ(net->pNode("D")->LastValue(), 0.1);
  EXPECT_EQ(net->pNode("P")->Value(), 0.4);
  EXPECT_EQ(net->pNode("P")->LastValue(), 0.6);
}

TEST(CyberNet, ParametersThatCannotBeComputedAreRefusedAtReadingNotInThePeriod) {
  OpenErrorLog("errors.log");
  const std::string text =
      "NodeBegin BasicNode Name In Value 1 NodeEnd\n"
      // ten stored inputs, but the response would reach back ten steps
      "NodeBegin DelayNode Name Long InputListBegin In 1 InputListEnd DelayType 6 DelayTime 2 "
      "ProcessTime 4 DecayTime 4 InputValues 0 0 0 0 0 0 0 0 0 0 NodeEnd\n"
      "NodeBegin DelayNode Name Curve InputListBegin In 1 InputListEnd DelayType 9 NodeEnd\n"
      "NodeBegin DelayNode Name Fine InputListBegin In 1 InputListEnd DelayType 2 NodeEnd\n"
      "NodeBegin ProcessNode Name P InputListBegin In 1 5 1 2 0 0 0 In 0.5 2 1 4 0 1 2 In 0.25 2 1 2 0 "
      "1 0 InputListEnd NodeEnd\n";
  auto net = std::make_unique<CCyberNet>();
  net->InsertStandardTemplates();
  // The read reports the bad values as a failure, so a savegame's network
  // that holds them is refused.
  EXPECT_EQ(ReadInto(*net, text), 1);
  EXPECT_FALSE(net->pNode("Long")->GetActiveIntern());
  EXPECT_FALSE(net->pNode("Curve")->GetActiveIntern());
  EXPECT_TRUE(net->pNode("Fine")->GetActiveIntern());
  // Only the one valid row of the process node stays.
  const CCyberNodeList* rows = net->pNode("P")->pInputNodeList();
  ASSERT_NE(rows, nullptr);
  EXPECT_EQ(rows->Weight(), 0.25);
  EXPECT_EQ(rows->pTail(), nullptr);

  EXPECT_EQ(Period(*net), 2);
  EXPECT_EQ(net->pNode("Fine")->LastValue(), 1.0);

  // Switched on again by hand, the bad node fails the call, which reports
  // it instead of throwing into the caller.
  net->pNode("Long")->SetActiveIntern(true);
  EXPECT_NO_THROW(EXPECT_EQ(net->CalculateValues(), 1));
  CloseErrorLog();
  const std::string log = zortest::ReadFile("errors.log");
  EXPECT_NE(log.find("Long"), std::string::npos);
  EXPECT_NE(log.find("DelayTime+ProcessTime+DecayTime > 9"), std::string::npos);
}

TEST(CyberNet, OneBadRowFailsTheReadAndTheSameNetWithoutItReadsCleanly) {
  const char* good = "NodeBegin BasicNode Name In Value 1 NodeEnd\n"
                     "NodeBegin ProcessNode Name P InputListBegin In 0.25 2 1 2 0 1 0 InputListEnd NodeEnd\n";
  const char* badRow = "NodeBegin BasicNode Name In Value 1 NodeEnd\n"
                       "NodeBegin ProcessNode Name P InputListBegin In 0.25 2 1 2 0 1 0 In 0.5 4 1 2 0 1 0 "
                       "InputListEnd NodeEnd\n";
  CCyberNet clean, bad;
  clean.InsertStandardTemplates();
  bad.InsertStandardTemplates();
  EXPECT_EQ(ReadInto(clean, good), 0);
  EXPECT_EQ(ReadInto(bad, badRow), 1);  // weight function 4 does not exist
  ASSERT_NE(bad.pNode("P"), nullptr);
  EXPECT_EQ(bad.pNode("P")->RefusedRows(), 1);
  EXPECT_EQ(clean.pNode("P")->RefusedRows(), 0);
}

TEST(CyberNet, CheckLimitsNamesTheFirstNodeOutOfBounds) {
  OpenErrorLog("errors.log");
  auto net = NetFrom("NodeBegin BasicNode Name X Value 0.5 NodeEnd\n"
                     "NodeBegin BasicNode Name Ok InputListBegin X 0.5 X -0.5 InputListEnd NodeEnd\n"
                     "NodeBegin BasicNode Name Weak InputListBegin X 0.9 InputListEnd NodeEnd\n");
  EXPECT_EQ(net->CheckLimits(), 1);
  CloseErrorLog();
  EXPECT_NE(zortest::ReadFile("errors.log").find("CCyberNode::CheckLimits(): Weak"), std::string::npos);
}

TEST(CyberNodeList, RowsFindAndRemoveTheirNodes) {
  CCyberNode a("A"), b("B"), c("C");
  auto* chain = new CCyberNodeList(&a, new CCyberNodeList(&b, new CCyberNodeList(&c, new CCyberNodeList(&b, nullptr))));
  EXPECT_TRUE(chain->IsMember(&c));
  chain->Remove(&b);
  EXPECT_FALSE(chain->IsMember(&b));
  EXPECT_EQ(chain->pTail()->pHead(), &c);
  EXPECT_THROW(chain->Remove(&a), const char*);
  EXPECT_THROW(CCyberNodeList(nullptr, nullptr), const char*);
  delete chain;
}

TEST(CyberNet, NodesAreFoundByNameAsTheListHoldsThemAfterEveryRead) {
  auto net = NetFrom("NodeBegin BasicNode Name A Value 0.1 NodeEnd\n"
                     "NodeBegin BasicNode Name B Value 0.2 NodeEnd\n"
                     "NodeBegin BasicNode Name A Value 0.3 NodeEnd\n");
  // Under a name read twice, the one read last answers.
  ASSERT_NE(net->pNode("A"), nullptr);
  EXPECT_EQ(net->pNode("A")->Value(), 0.3);
  EXPECT_EQ(net->pNode("B")->Value(), 0.2);
  EXPECT_EQ(net->pNode("C"), nullptr);
  EXPECT_EQ(net->pNode(nullptr), nullptr);
  // A further read adds nodes, and its names answer at once.
  ReadInto(*net, "NodeBegin BasicNode Name C Value 0.4 NodeEnd\nNodeBegin BasicNode Name B Value 0.5 NodeEnd\n");
  ASSERT_NE(net->pNode("C"), nullptr);
  EXPECT_EQ(net->pNode("C")->Value(), 0.4);
  EXPECT_EQ(net->pNode("B")->Value(), 0.5);
  // After a reset only the nodes read since are found.
  net->Reset();
  EXPECT_EQ(net->pNode("A"), nullptr);
  ReadInto(*net, "NodeBegin BasicNode Name A Value 0.6 NodeEnd\n");
  ASSERT_NE(net->pNode("A"), nullptr);
  EXPECT_EQ(net->pNode("A")->Value(), 0.6);
  EXPECT_EQ(net->pNode("B"), nullptr);
}
