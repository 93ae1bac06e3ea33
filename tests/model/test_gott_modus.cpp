// God mode and scenarios: pinned god values and their nodes, the end of a
// scenario by its goal or its years, and the record.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cybernet/cyber_net.h"
#include "model/gott_test_host.h"
#include "model/data_exchange.h"
#include "model/gott_modus.h"
#include "model/indikatoren.h"
#include "support/test_support.h"

namespace {

using Host = ScriptedGottHost;

struct God : testing::Test {
  CDataExchange dx;
  CCyberNet net;
  Host host;
  CGottModus god;
  void SetUp() override {
    net.InsertStandardTemplates();
    zortest::WriteFile("god.def", "NodeBegin BasicNode Name M1 Value 0.5 MinSize 10 MaxSize 100 NodeEnd\n");
    FILE* f = std::fopen("god.def", "r");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(net.Read(f), 0);
    std::fclose(f);
    dx.SetCyberNet(&net);
    god.Attach(&dx, &host);
  }
  double Get(const char* name) {
    double v = -1;
    EXPECT_EQ(god.GetVarData(name, &v), 0) << name;
    return v;
  }
};

TEST_F(God, APinnedModalSplitSetsItsNodeAndItsPartner) {
  ASSERT_EQ(god.SetGottWertActive(true, 0), 0);
  EXPECT_TRUE(god.IsGottWertActive(1)) << "the pair is pinned together";
  EXPECT_FALSE(net.pNode("M1")->GetActive()) << "a pinned node does not step";
  EXPECT_EQ(god.SetVarData("GOTT.00", 30.0), 0);
  EXPECT_DOUBLE_EQ(dx.GetVarValue("W.M1"), 70.0);
  EXPECT_DOUBLE_EQ(Get("GOTT.01"), 70.0);
  EXPECT_FALSE(net.pNode("M1")->GetActive());
  // The limits of the share are the node's, turned round.
  float lo = 0, hi = 0;
  god.GetVarMin("GOTT.00", &lo);
  god.GetVarMax("GOTT.00", &hi);
  EXPECT_FLOAT_EQ(lo, 0.0f);
  EXPECT_FLOAT_EQ(hi, 90.0f);
  ASSERT_EQ(god.SetGottWertActive(false, 0), 0);
  EXPECT_TRUE(net.pNode("M1")->GetActive());
  double none = 0;
  EXPECT_EQ(god.GetVarData("GOTT.17", &none), 1) << "there are seventeen";
}

TEST_F(God, TheLivePeopleAreReadWhetherPinnedOrNot) {
  dx.SetPeople(1234);
  EXPECT_EQ(Get("GOTT.08"), 1234.0);
  ASSERT_EQ(god.SetGottWertActive(true, 8), 0);
  god.SetVarData("GOTT.08", 60000.0);
  EXPECT_EQ(dx.GetTargetPeople(), 60000);
  EXPECT_EQ(Get("GOTT.08"), 60000.0);
  EXPECT_EQ(Get("GOTT.08.AKTUELL"), 1234.0);
  // The live value is refused.
  EXPECT_EQ(god.SetVarData("GOTT.08.AKTUELL", 5.0), 1);
  EXPECT_EQ(dx.GetTargetPeople(), 60000);
}

TEST_F(God, TheAdviceCentresQuoteIsSetAndReadInPercent) {
  // The centre answers its quote in percent already; god mode hands a set
  // value to the centre as it stands.
  ASSERT_EQ(god.SetGottWertActive(true, 10), 0);
  EXPECT_EQ(god.SetVarData("GOTT.10", 7.0), 0);
  EXPECT_FLOAT_EQ(host.adviceQuote, 7.0f);
}

TEST_F(God, AScenarioEndsAboveItsGoalOrWhenItsYearsRunOut) {
  god.SetGameModus(GAME_SCENARIO);
  god.SetSzenario(0, 12, 0.6f, 3);
  EXPECT_EQ(god.GetEndYear(), 3);
  host.indikatoren.SetVarData("I.ZORV.SECURITY", 0.6);
  god.OnPlayloopTurn(STime{8, 1, 1, 1.0f});
  EXPECT_EQ(host.blocked, 0) << "exactly at the goal is not above it";
  host.indikatoren.SetVarData("I.ZORV.SECURITY", 0.61);
  god.OnPlayloopTurn(STime{8, 1, 1, 1.0f});
  EXPECT_EQ(host.blocked, 1);
  EXPECT_EQ(god.GetGameModus(), GAME_SCENARIO);

  // Out of years: back to the normal game, unless the debug information
  // is on.
  for (bool debug : {true, false}) {
    CGottModus timed;
    timed.Attach(&dx, &host);
    host.debug = debug;
    timed.SetGameModus(GAME_SCENARIO);
    timed.SetSzenario(1, 0, 0.9f, 2);
    timed.OnPlayloopTurn(STime{8, 1, 2, 2.0f});
    EXPECT_EQ(timed.GetGameModus(), GAME_SCENARIO);
    timed.OnPlayloopTurn(STime{8, 1, 3, 3.0f});
    EXPECT_EQ(timed.GetGameModus(), debug ? GAME_SCENARIO : GAME_NORMAL) << debug;
  }
}

TEST_F(God, TheRecordKeepsModeScenarioAndGodValuesAndRefusesAnUnknownMode) {
  god.SetGameModus(GAME_GOD);
  god.SetSzenario(0, 4, 0.7f, -1);
  god.SetGottWertActive(true, 8);
  char* buffer = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&buffer, &size);
  ASSERT_EQ(god.SerializeGameStore(out), 0);
  std::fclose(out);
  std::string bytes(buffer, size);
  std::free(buffer);
  ASSERT_EQ(bytes.size(), 4u + 30 + 164);
  uint32_t length = 0;
  std::memcpy(&length, bytes.data(), 4);
  EXPECT_EQ(length, 194u);
  std::string payload = bytes.substr(34);
  auto load = [](CGottModus& into, std::string& p) {
    FILE* in = fmemopen(p.data(), p.size(), "rb");
    const int r = into.SerializeGameLoad(in);
    std::fclose(in);
    return r;
  };
  CGottModus back;
  ASSERT_EQ(load(back, payload), 0);
  EXPECT_EQ(back.GetGameModus(), GAME_GOD);
  EXPECT_TRUE(back.IsGottWertActive(8));
  int scenario = -1, indicator = -1;
  float target = 0;
  back.GetSzenario(&scenario, &indicator, &target);
  EXPECT_EQ(indicator, 4);
  EXPECT_FLOAT_EQ(target, 0.7f);
  EXPECT_EQ(back.GetEndYear(), -1);
  const int32_t mode = 7;
  std::memcpy(payload.data() + 92, &mode, 4);
  CGottModus refused;
  EXPECT_EQ(load(refused, payload), 1);
  EXPECT_EQ(refused.GetGameModus(), GAME_NORMAL);
  std::string cut = payload.substr(0, 50);
  EXPECT_EQ(load(refused, cut), 1);

  // A scenario whose goal window came is loaded with its end shown: the
  // loaded game does not end it a second time.
  CGottModus won;
  won.Attach(&dx, &host);
  won.SetGameModus(GAME_SCENARIO);
  won.SetSzenario(0, 12, 0.6f, 3);
  host.indikatoren.SetVarData("I.ZORV.SECURITY", 0.7);
  won.OnPlayloopTurn(STime{8, 1, 1, 1.0f});
  ASSERT_EQ(host.blocked, 1);
  ASSERT_FALSE(won.EndNotShown());
  out = open_memstream(&buffer, &size);
  ASSERT_EQ(won.SerializeGameStore(out), 0);
  std::fclose(out);
  std::string wonPayload = std::string(buffer, size).substr(34);
  std::free(buffer);
  CGottModus loaded;
  loaded.Attach(&dx, &host);
  ASSERT_EQ(load(loaded, wonPayload), 0);
  EXPECT_EQ(loaded.GetGameModus(), GAME_SCENARIO);
  EXPECT_FALSE(loaded.EndNotShown());
  host.blocked = 0;
  loaded.OnPlayloopTurn(STime{9, 1, 1, 1.0f});
  EXPECT_EQ(host.blocked, 0) << "the goal window does not come again";
}

}  // namespace
