#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "cyber_test_util.h"
#include "cybernet/cyber_nodes.h"
#include "framework/qno_log.h"

using cybertest::NetFrom;
using cybertest::Period;
using cybertest::ReadInto;
using cybertest::WriteToText;

namespace {
std::string ListOrder(const CCyberNet& net) {
  std::string order;
  for (const CCyberNodeList* row = net.pNodeList(); row; row = row->pTail())
    order += row->pHead()->Name() ? row->pHead()->Name() : "?";
  return order;
}

std::string InputNames(const CCyberNode* node) {
  std::string names;
  for (const CCyberNodeList* row = node->pInputNodeList(); row; row = row->pTail()) names += row->pHead()->Name();
  return names;
}

const char* kMixedNet =
    "NodeBegin BasicNode Name In Value 0.2 MinSize 0 MaxSize 10 NodeEnd\n"
    "NodeBegin BasicNode Name Sig Value 0.7 NodeEnd\n"
    "NodeBegin BasicNode Name Mix InputListBegin In 0.6 Sig -0.4 InputListEnd NodeEnd\n"
    "NodeBegin GammaNode Name Gate InputListBegin Mix 0.8 InputListEnd Signal Sig 0.2 NodeEnd\n"
    "NodeBegin DelayNode Name Lag InputListBegin Gate 1 InputListEnd DelayType 4 DelayTime 1 ProcessTime 3 "
    "InputValues 0 0 0 0 0 0 0 0 0 0 NodeEnd\n"
    "NodeBegin ProcessNode Name Proc Value 0.3 InputListBegin In 0.7 1 0.9 3 0 2 0 Lag 0.3 3 1 6 1 2 3 InputListEnd\n"
    "NextValues 0.3 0.31 0.32 0.33 0.34 0.35 0.36 0.37 0.38 0.39\nNodeEnd\n";
}  // namespace

TEST(CyberText, EmptyAndUnknownBlocksYieldNothingAndTheNextBlockReads) {
  CCyberNet net;
  net.InsertStandardTemplates();
  EXPECT_EQ(ReadInto(net, ""), 0);
  EXPECT_EQ(net.NodeCount(), 0);
  EXPECT_EQ(ReadInto(net, "stray words NodeBegin FancyNode Name F Value 1 NodeEnd\n"
                          "NodeBegin BasicNode Name A Value 0.5 NodeEnd trailing"),
            0);
  EXPECT_EQ(ListOrder(net), "A");
  EXPECT_EQ(net.pNode("A")->Value(), 0.5);
  EXPECT_EQ(net.pNode("F"), nullptr);
}

TEST(CyberText, ListHoldsTheLatestReadFirstAndWritingKeepsThatOrder) {
  auto net = NetFrom("NodeBegin BasicNode Name A Value 0.1 NodeEnd\n"
                     "NodeBegin BasicNode Name B NodeEnd\n"
                     "NodeBegin BasicNode Name A Value 0.9 NodeEnd\n");
  EXPECT_EQ(ListOrder(*net), "ABA");
  EXPECT_EQ(net->pNode("A")->Value(), 0.9);  // the one read later
  const std::string text = WriteToText(*net);
  EXPECT_LT(text.find("Value 0.10"), text.find("Name B"));
  auto again = NetFrom(text);
  EXPECT_EQ(ListOrder(*again), "ABA");
  EXPECT_EQ(again->pNode("A")->Value(), 0.9);
}

TEST(CyberText, InputsKeepFileOrderAndUnknownNamesAreDropped) {
  auto net = NetFrom("NodeBegin BasicNode Name X NodeEnd NodeBegin BasicNode Name Y NodeEnd\n"
                     "NodeBegin BasicNode Name Z InputListBegin Y 0.5 Ghost 0.1 X 0.4 InputListEnd NodeEnd\n");
  EXPECT_EQ(InputNames(net->pNode("Z")), "YX");
}

TEST(CyberText, ProcessRowsAndComingValuesSurviveWriteAndRead) {
  auto net = NetFrom(kMixedNet);
  auto again = NetFrom(WriteToText(*net));
  auto* p = dynamic_cast<CCyberNodeProcess*>(again->pNode("Proc"));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(InputNames(p), "InLag");
  const CCyberNodeList* lag = p->pInputNodeList()->pTail();
  EXPECT_EQ(lag->Weight(), 0.3);
  EXPECT_EQ(lag->WFunction(), 3);
  EXPECT_EQ(lag->EndValue(), 1.0);
  EXPECT_EQ(lag->TFunction(), 6);
  EXPECT_EQ(lag->DelayTime(), 1);
  EXPECT_EQ(lag->ProcessTime(), 2);
  EXPECT_EQ(lag->DecayTime(), 3);
  for (int k = 0; k < 10; ++k) EXPECT_DOUBLE_EQ(p->NextValue(k), 0.3 + 0.01 * k) << k;
  auto* g = dynamic_cast<CCyberNodeGamma*>(again->pNode("Gate"));
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->pSignal(), again->pNode("Sig"));
  EXPECT_EQ(g->SignalOffset(), static_cast<double>(0.2f));  // read as a float
}

TEST(CyberText, AWrittenAndReadNetworkStepsExactlyAsTheOriginal) {
  auto original = NetFrom(kMixedNet);
  for (int i = 0; i < 4; ++i) {
    original->pNode("In")->SetValue(0.1 * i + 0.123456789);
    Period(*original);
  }
  auto restored = NetFrom(WriteToText(*original));
  EXPECT_EQ(WriteToText(*restored), WriteToText(*original));
  for (int i = 0; i < 6; ++i) {
    for (CCyberNet* net : {original.get(), restored.get()}) {
      net->pNode("In")->SetValue(0.9 - 0.137 * i);
      Period(*net);
    }
    const CCyberNodeList* b = restored->pNodeList();
    for (const CCyberNodeList* a = original->pNodeList(); a; a = a->pTail(), b = b->pTail()) {
      ASSERT_NE(b, nullptr);
      EXPECT_EQ(a->pHead()->Value(), b->pHead()->Value()) << a->pHead()->Name() << " period " << i;
    }
  }
}

TEST(CyberText, DelayInputValuesEndTheBlock) {
  auto net = NetFrom("NodeBegin DelayNode Name D InputValues 1 2 3 4 5 6 7 8 9 10 Value 0.5 Name Other NodeEnd\n"
                     "NodeBegin BasicNode Name Next NodeEnd\n");
  auto* d = dynamic_cast<CCyberNodeDelay*>(net->pNode("D"));
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->Value(), 0.0);
  EXPECT_EQ(d->StoredInput(9), 10.0);
  EXPECT_EQ(net->pNode("Other"), nullptr);
  EXPECT_NE(net->pNode("Next"), nullptr);
}

TEST(CyberText, GammaWithoutResolvedSignalWritesNoSignal) {
  auto net = NetFrom("NodeBegin GammaNode Name G Signal Missing 0.5 NodeEnd\n");
  EXPECT_EQ(WriteToText(*net).find("Signal"), std::string::npos);
}

TEST(CyberText, CarriageReturnsReadLikeLineFeeds) {
  std::string text = kMixedNet;
  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(WriteToText(*NetFrom(crlf)), WriteToText(*NetFrom(text)));
}

TEST(CyberText, ShortLinesPadOrCutNamesToSeven) {
  auto net = NetFrom("NodeBegin BasicNode Name Abc Value 0.5 MinSize 1 MaxSize 2 NodeEnd\n"
                     "NodeBegin BasicNode Name LongerName Value 0.25 NodeEnd\n");
  EXPECT_EQ(WriteToText(*net, true),
            "LongerN 0.2500000 \t0.00 \t0.00\n"
            "Abc     0.5000000 \t1.00 \t2.00\n");
}

TEST(CyberText, MalformedInputNeitherOverrunsNorLoops) {
  // An over-long token is cut to 1023 characters; the rest of the run does
  // not become another token.
  const std::string longName(5000, 'q');
  auto net = NetFrom("NodeBegin BasicNode Name " + longName + " Value 0.5 NodeEnd\nNodeBegin BasicNode Name B NodeEnd\n");
  EXPECT_NE(net->pNode(longName.substr(0, 1023).c_str()), nullptr);
  EXPECT_NE(net->pNode("B"), nullptr);
  EXPECT_EQ(net->NodeCount(), 2);

  // Files that end inside an input list, inside a number list or after a
  // keyword finish reading.
  for (const char* cut : {"NodeBegin BasicNode Name A InputListBegin B 0.5", "NodeBegin ProcessNode Name A NextValues 1 2",
                          "NodeBegin DelayNode Name A InputValues 0.5", "NodeBegin GammaNode Name A Signal",
                          "NodeBegin BasicNode Name", "NodeBegin"}) {
    auto partial = NetFrom(cut);
    EXPECT_LE(partial->NodeCount(), 1) << cut;
  }

  // Numbers that are not finite are not taken; the token then ends the block.
  auto odd = NetFrom("NodeBegin BasicNode Name N Value nan MaxSize 3 NodeEnd NodeBegin BasicNode Name M Value inf NodeEnd");
  EXPECT_EQ(odd->pNode("N")->Value(), 0.0);
  EXPECT_EQ(odd->pNode("N")->MaxSize(), 0.0);
  EXPECT_EQ(odd->pNode("M")->Value(), 0.0);
}

TEST(CyberText, ATextCutInsideABlockIsReportedAsAFailedRead) {
  OpenErrorLog("errors.log");
  CCyberNet whole;
  whole.InsertStandardTemplates();
  EXPECT_EQ(ReadInto(whole, kMixedNet), 0);
  // A block that ends at its own ending entry is whole, whatever follows.
  CCyberNet early;
  early.InsertStandardTemplates();
  EXPECT_EQ(ReadInto(early, "NodeBegin DelayNode Name D DelayType 1 InputValues 1 2 3 4 5 6 7 8 9 10\n"), 0);
  const std::string text = kMixedNet;
  for (size_t cut : {text.find("NodeEnd") - 1, text.find("InputListEnd"), text.rfind("NodeEnd") - 2,
                     text.rfind("NodeBegin") + 10}) {
    CCyberNet net;
    net.InsertStandardTemplates();
    EXPECT_EQ(ReadInto(net, text.substr(0, cut)), 1) << text.substr(0, cut);
  }
  // A word cut short by the end reads like an unknown entry, but nothing
  // follows it; "NodeEnd" as the very last word is whole.
  CCyberNet shortWord;
  shortWord.InsertStandardTemplates();
  EXPECT_EQ(ReadInto(shortWord, "NodeBegin BasicNode Name A Value 0.5 MinSiz"), 1);
  CCyberNet lastWord;
  lastWord.InsertStandardTemplates();
  EXPECT_EQ(ReadInto(lastWord, "NodeBegin BasicNode Name A Value 0.5 NodeEnd"), 0);
  CCyberNet bare;
  bare.InsertStandardTemplates();
  EXPECT_EQ(ReadInto(bare, "NodeBegin BasicNode Name A NodeEnd NodeBegin"), 1);
  EXPECT_EQ(bare.NodeCount(), 1) << "what was read stays";
  CloseErrorLog();
  EXPECT_NE(zortest::ReadFile("errors.log").find("Die Definition endet mitten in einem Knoten"), std::string::npos);
}

TEST(CyberText, ResetEmptiesTheNetAndAReadWithoutResetAdds) {
  CCyberNet net;
  net.InsertStandardTemplates();
  ReadInto(net, "NodeBegin BasicNode Name A NodeEnd");
  ReadInto(net, "NodeBegin BasicNode Name A NodeEnd");
  EXPECT_EQ(net.NodeCount(), 2);
  net.Reset();
  EXPECT_EQ(net.NodeCount(), 0);
  ReadInto(net, "NodeBegin GammaNode Name G NodeEnd");
  EXPECT_STREQ(net.pNode("G")->ClassName(), "GammaNode");
  EXPECT_EQ(net.Read(nullptr), 1);
}

TEST(CyberText, ARunawayDefinitionStaysFiniteAndReadsBackAsWritten) {
  // B feeds itself with far more than the conventions allow: its values grow
  // until they cannot be represented and then hold.
  auto net = NetFrom("NodeBegin BasicNode Name A Value 0.5 NodeEnd\n"
                     "NodeBegin BasicNode Name B InputListBegin A 5.7 B 5.7 B 1e300 InputListEnd NodeEnd\n"
                     "NodeBegin GammaNode Name G InputListBegin B 1e300 InputListEnd Signal B 1e300 NodeEnd\n"
                     "NodeBegin ProcessNode Name P InputListBegin B 1e300 3 1 2 0 0 0 InputListEnd NodeEnd\n");
  for (int i = 0; i < 5; ++i) Period(*net);
  for (const CCyberNodeList* row = net->pNodeList(); row; row = row->pTail()) {
    EXPECT_TRUE(std::isfinite(row->pHead()->Value())) << row->pHead()->Name();
    EXPECT_TRUE(std::isfinite(row->pHead()->Input())) << row->pHead()->Name();
  }
  const std::string text = WriteToText(*net);
  EXPECT_EQ(WriteToText(*NetFrom(text)), text);
  // A size that is no number leaves a fed node alone.
  CCyberNode* a = net->pNode("A");
  a->SetSize(std::nan(""));
  EXPECT_EQ(a->Value(), 0.5);
}

namespace {
int ReplaceFrom(CCyberNet& net, const std::string& text) {
  zortest::WriteFile("replace.def", text);
  FILE* f = std::fopen("replace.def", "r");
  const int result = net.ReadReplacing(f);
  if (f) std::fclose(f);
  return result;
}
}  // namespace

TEST(CyberText, AReplacingTextMustBeWholeAndTakesTheNodesItLacksFromTheNet) {
  OpenErrorLog("errors.log");
  const std::string text = kMixedNet;
  auto net = NetFrom(text);
  ASSERT_EQ(net->NodeCount(), 6);
  // Cut between two whole blocks: each block reads, the rest is missing.
  const size_t cut = text.find("NodeBegin GammaNode");
  EXPECT_EQ(ReplaceFrom(*net, text.substr(0, cut)), 1);
  EXPECT_EQ(ListOrder(*net), "MixSigIn") << "what was read stays, the old nodes are gone";
  CloseErrorLog();
  EXPECT_NE(zortest::ReadFile("errors.log").find("Der Definition fehlt der Knoten"), std::string::npos);

  // A whole text (it ends with the node written last) that lacks other
  // nodes takes the net's own, each in its place and named in the log: the
  // net then writes the text of one that never lacked them. Without the
  // node written last it ends where no whole text ends.
  const std::string whole = WriteToText(*NetFrom(text));
  for (const char* name : {"In", "Gate", "Proc"}) {
    OpenErrorLog("errors.log");
    auto full = NetFrom(text);
    std::string without = text;
    const size_t at = without.find(std::string("Name ") + name);
    const size_t begin = without.rfind("NodeBegin", at), end = without.find("NodeEnd", at) + 7;
    without.erase(begin, end - begin);
    const bool last = std::string(name) == "Proc";
    EXPECT_EQ(ReplaceFrom(*full, without), last ? 1 : 0) << name;
    CloseErrorLog();
    const std::string log = zortest::ReadFile("errors.log");
    if (last) {
      EXPECT_EQ(full->pNode(name), nullptr);
      EXPECT_NE(log.find("Der Definition fehlt der Knoten Proc"), std::string::npos);
      continue;
    }
    EXPECT_EQ(WriteToText(*full), whole) << name;
    EXPECT_NE(log.find(std::string("Der Knoten ") + name + " fehlt"), std::string::npos) << name;
  }
  // Both missing: each is taken.
  {
    auto full = NetFrom(text);
    std::string without = text;
    for (const char* name : {"Sig", "Lag"}) {
      const size_t at = without.find(std::string("Name ") + name);
      const size_t begin = without.rfind("NodeBegin", at), end = without.find("NodeEnd", at) + 7;
      without.erase(begin, end - begin);
    }
    EXPECT_EQ(ReplaceFrom(*full, without), 0);
    EXPECT_EQ(WriteToText(*full), whole);
  }
  // The whole text, in another order and with a node more, replaces the
  // nodes: each name once.
  auto again = NetFrom(text);
  const std::string reordered = text.substr(cut) + text.substr(0, cut) + "NodeBegin BasicNode Name New NodeEnd\n";
  EXPECT_EQ(ReplaceFrom(*again, reordered), 0);
  EXPECT_EQ(again->NodeCount(), 7);
  EXPECT_NE(again->pNode("New"), nullptr);
  // Nor is a text of no node at all.
  EXPECT_EQ(ReplaceFrom(*NetFrom(text), "words and no node"), 1);
  // A text cut inside a block is refused as before.
  EXPECT_EQ(ReplaceFrom(*again, text.substr(0, text.rfind("NodeEnd") - 2)), 1);
}

TEST(CyberText, AReplacingReadOfNoTextRefusesOnlyANetThatHeldNodes) {
  CCyberNet empty;
  empty.InsertStandardTemplates();
  EXPECT_EQ(empty.ReadReplacing(nullptr), 0);
  EXPECT_EQ(ReplaceFrom(empty, "NodeBegin BasicNode Name A NodeEnd"), 0);
  EXPECT_EQ(empty.NodeCount(), 1);
  EXPECT_EQ(empty.ReadReplacing(nullptr), 1);
  EXPECT_EQ(empty.NodeCount(), 0);
}
