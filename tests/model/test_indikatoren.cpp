// The indicators' own rules: the small town's rest values and growth, the
// adviser messages of low ratings, the manual flag, the named values and
// the savegame record.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>

#include "framework/zor_seams.h"
#include "model/data_exchange.h"
#include "model/indikatoren.h"
#include "model/message.h"
#include "support/test_support.h"

namespace {

struct Host : CMessageHost {
  int GetGameModus() override { return 1; }
};

// A message file whose every text reads "group/entry".
void WriteNamedMessages() {
  std::string file = "@@startgroup\n";
  for (int g = 0; g < 22; ++g) {
    if (g) file += "@@newgroup\n";
    for (int e = 0; e < 30; ++e) {
      const std::string text = std::to_string(g) + "/" + std::to_string(e);
      file += "@\n*" + text + "\n#\n*" + text + "\n#\n";
    }
  }
  zortest::WriteFile("MTG.GLA", file);
  zortest::WriteFile("MTE.GLA", file);
}

struct Indicators : testing::Test {
  Host host;
  std::unique_ptr<CMessage> msg;
  CDataExchange dx;
  CIndikatoren ind;
  void SetUp() override {
    WriteNamedMessages();
    msg = std::make_unique<CMessage>(&host, 0);
    ind.Attach(msg.get(), &dx);
  }
  std::string Adviser(int slot) {
    msg->SetBerater(slot + 1);
    const char* text = msg->GetBeraterMessage();
    return text ? text : "-";
  }
  void Turn() { ind.OnPlayloopTurn(STime{}, STime{}); }
  double Value(const char* name) { return ind.GetVarValue(name); }
};

TEST_F(Indicators, ASmallTownRestsAtOneHalfAndGrowsAtThreeQuartersUntilFifteenThousand) {
  ind.SetVarData("I.EFF.TIMEPERKM", 0.9);
  ind.SetVarData("I.SCORE", 7.0);
  dx.SetPeople(4999);
  Turn();
  for (const char* name : {"I.EFF.TIMEPERKM", "I.QUALI.NOISE", "I.ZORV.SECURITY", "I.EQM", "I.SCORE", "I.GROWTH",
                           "I.STADT.W"})
    EXPECT_EQ(Value(name), 0.5) << name;
  EXPECT_DOUBLE_EQ(ind.GetGrowth(), 0.15);
  dx.SetPeople(5000);
  Turn();
  EXPECT_EQ(Value("I.GROWTH"), 0.75);
  EXPECT_DOUBLE_EQ(ind.GetGrowth(), 0.025);
  EXPECT_DOUBLE_EQ(Value("I.GROWTH_MORE"), 1.25);
  ind.SetStandardMessage();
  EXPECT_EQ(Adviser(3), "21/2");
  dx.SetPeople(15000);
  Turn();
  EXPECT_LT(Value("I.GROWTH"), 0.75) << "the growth follows the ratings from 15000 people";
}

TEST_F(Indicators, RatingsBelowPointFourSpeakThroughTheirAdviserNowAndThen) {
  dx.SetPeople(20000);
  // Kilometres per person (efficiency, indicator 0) at exactly 0.3: level
  // 0; noise (quality, indicator 6) just below: level 1; comfort (travel,
  // indicator 11) at exactly 0.4: no message.
  ind.SetVarData("I.EFF.KMPERPERSON", 0.3);
  ind.SetVarData("I.QUALI.NOISE", 0.2999);
  ind.SetVarData("I.ZORV.KOMFORT", 0.4);
  std::set<std::string> seen[3];
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    zor_srandom(seed);
    ind.CheckForMessages();
    for (int slot = 0; slot < 3; ++slot) seen[slot].insert(Adviser(slot));
  }
  EXPECT_EQ(seen[0], (std::set<std::string>{"21/8", "7/0"}));
  EXPECT_EQ(seen[1], (std::set<std::string>{"21/10", "7/13"}));
  EXPECT_EQ(seen[2], (std::set<std::string>{"21/12"}));
  EXPECT_EQ(Adviser(3), "21/15");
}

TEST_F(Indicators, TheManualFlagFreezesTheRatingsAndOnlyThenTheyMoveByHand) {
  ind.SetVarData("I.EFF", 0.9);
  ind.ChangeIndikatoren(0.2f);
  EXPECT_FLOAT_EQ(Value("I.EFF"), 0.9f) << "not while the turn computes them";
  ind.SwitchManuell();
  dx.SetPeople(100);
  Turn();
  EXPECT_FLOAT_EQ(Value("I.EFF"), 0.9f) << "the turn computes nothing";
  ind.ChangeIndikatoren(0.2f);
  EXPECT_EQ(Value("I.EFF"), 1.0);
  EXPECT_FLOAT_EQ(Value("I.QUALI"), 0.7f);
  ind.ChangeIndikatoren(-2.0f);
  EXPECT_EQ(Value("I.SCORE"), 0.0);
  ind.SwitchManuell();
  Turn();
  EXPECT_EQ(Value("I.EFF"), 0.5);
}

TEST_F(Indicators, NamedValuesAnswerOnlyForTheTableAndThePartialsByNumber) {
  ind.SetVarData("I.ZORV.SECURITY", 0.25);
  EXPECT_FLOAT_EQ(ind.GetIndikatorWert(12), 0.25f);
  EXPECT_EQ(ind.GetIndikatorWert(13), 0.0) << "the growth is no partial indicator";
  EXPECT_EQ(ind.GetIndikatorWert(-1), 0.0);
  EXPECT_EQ(Value("I.NONE"), -1.0);
  EXPECT_EQ(ind.SetVarValue("LISTENDE", 1.0), 1);
  float lo = -1, hi = -1;
  EXPECT_EQ(ind.GetVarMin("I.GROWTH_MORE", &lo), 0);
  EXPECT_EQ(ind.GetVarMax("I.GROWTH_MORE", &hi), 0);
  EXPECT_EQ(lo, 0.0f);
  EXPECT_EQ(hi, 1.0f);
  EXPECT_EQ(ind.GetWohnqualitaetMapXY(128, 0), 0);
  EXPECT_EQ(ind.GetWohnqualitaetMapXY(0, -1), 0);
}

// The record in a memory file: its length field, then the name and payload.
std::string Saved(CIndikatoren& ind) {
  char* buffer = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&buffer, &size);
  EXPECT_EQ(ind.SerializeGameStore(out, nullptr), 0);
  std::fclose(out);
  std::string bytes(buffer, size);
  std::free(buffer);
  return bytes;
}

// Loads the payload (after length and name) as the container hands it
// over; the reader's result and the bytes it left unread.
std::pair<int, long> Load(CIndikatoren& ind, const std::string& payload, int announced) {
  FILE* in = fmemopen(const_cast<char*>(payload.data()), payload.size(), "rb");
  const int r = ind.SerializeGameLoad(in, announced);
  const long left = static_cast<long>(payload.size()) - std::ftell(in);
  std::fclose(in);
  return {r, left};
}

TEST_F(Indicators, TheRecordComesBackWholeAndRecordsThatDoNotFitAreRefused) {
  ind.SetVarData("I.EQM", 0.8125);
  ind.MinMax(4)[2] = 0.125f;
  const std::string bytes = Saved(ind);
  uint32_t length = 0;
  std::memcpy(&length, bytes.data(), 4);
  EXPECT_EQ(length, 23u * 76 + 49722);
  ASSERT_EQ(bytes.size(), 4 + length);
  EXPECT_EQ(bytes.substr(4, 12), std::string("Indikatoren\0", 12));
  const std::string payload = bytes.substr(34);

  CIndikatoren back;
  EXPECT_EQ(Load(back, payload, static_cast<int>(payload.size())), std::make_pair(0, 0L));
  EXPECT_FLOAT_EQ(back.GetVarValue("I.EQM"), 0.8125f);
  EXPECT_EQ(back.MinMax(4)[2], 0.125f);
  EXPECT_EQ(Saved(back), bytes);

  // Another size is refused without a change.
  CIndikatoren other;
  const std::string odd(100, '\x7f');
  EXPECT_EQ(Load(other, odd, 100).first, 1);
  EXPECT_EQ(other.GetVarValue("I.EQM"), 0.5);
  // So is the right size with a row count that does not fit it: its rows
  // would run past the table.
  std::string bad = payload;
  const int32_t rows = 1000;
  std::memcpy(bad.data(), &rows, 4);
  EXPECT_EQ(Load(other, bad, static_cast<int>(bad.size())).first, 1);
  EXPECT_EQ(other.GetVarValue("I.EQM"), 0.5);
  // And a row whose value is no number.
  std::string nan = payload;
  const float notANumber = std::nanf("");
  std::memcpy(nan.data() + 12 + 3 * 128 * 128 + 17 * 76 + 60, &notANumber, 4);
  EXPECT_EQ(Load(other, nan, static_cast<int>(nan.size())).first, 1);
  EXPECT_EQ(other.GetVarValue("I.EQM"), 0.5);
  // A cut record is an error.
  EXPECT_EQ(Load(other, payload.substr(0, 5000), static_cast<int>(payload.size())).first, 1);
}

}  // namespace
