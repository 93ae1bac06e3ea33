// Passive route planning, the travel assistant and active route guidance
// against a scripted world: their users, quotes, money, campaigns, yearly
// closing and records.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "framework/qno_log.h"
#include "measures/active_route_guidance.h"
#include "measures/measure_test_host.h"
#include "measures/passive_route_planning.h"
#include "measures/pta.h"
#include "support/test_support.h"

namespace {

STime At(int year, float fyear) {
  STime t;
  t.year = year;
  t.fyear = fyear;
  return t;
}

double Get(CWorldObj& m, const char* key) {
  double v = -1;
  EXPECT_EQ(m.GetVarData(key, &v), 0) << key;
  return v;
}

class RouteServices : public ::testing::Test {
 protected:
  void SetUp() override { MeasureWorldHost::Install(&host); }
  void TearDown() override { MeasureWorldHost::Install(nullptr); }
  // One turn of `elapsed` years after the year's start.
  static void Turn(CMeasure& m, float from, float elapsed) { m.OnPlayloopTurn(At(0, from + elapsed), At(0, from)); }
  MeasureWorldHost host;
};

// The savegame versions of today's games and of those before the message
// pairs.
constexpr int kCurrentGame = 240;
constexpr int kOlderGame = 149;

// Reads the payload of a measure's record, less `cut` bytes, back into
// `into` as a savegame of that version; the result of the load.
int Reload(CMeasure& from, CMeasure& into, size_t cut = 0, int version = kCurrentGame) {
  zortest::RecordFile file;
  EXPECT_EQ(from.SerializeGameStore(file.f(), nullptr), 0);
  const zortest::ByteList bytes = file.Bytes();
  zortest::RecordFile payload(zortest::ByteList(bytes.begin() + 34, bytes.end() - static_cast<long>(cut)));
  return into.SerializeGameLoad(payload.f(), static_cast<uint32_t>(bytes.size() - 34 - cut), version);
}

}  // namespace

TEST_F(RouteServices, PlanningQuoteFactorFollowsPriceSubsidyAndAwareness) {
  CPassiveRoutenPlanung par;
  host.maxima["W.K1.2"] = 50;
  par.SetVarData("PAR.PRICE.NEWCD", 15);
  EXPECT_DOUBLE_EQ(par.CalculateUserQuote(), 0.4 * 50);
  par.SetVarData("PAR.PRICE.NEWCD", 30);
  EXPECT_DOUBLE_EQ(par.CalculateUserQuote(), 0.2 * 50);
  par.SetVarData("PAR.SYSTEM.SUB", 750);
  EXPECT_DOUBLE_EQ(par.CalculateUserQuote(), 0.6 * 50);
  float step = 0, min = 0, max = 0;
  EXPECT_EQ(par.GetStep("PAR.PRICE.NEWCD", &step) + par.GetVarMin("PAR.PRICE.NEWCD", &min) +
                par.GetVarMax("PAR.PRICE.NEWCD", &max),
            0);
  EXPECT_EQ(step, 5.0f);
  EXPECT_EQ(min, 15.0f);
  EXPECT_EQ(max, 30.0f);
  EXPECT_EQ(Get(par, "PAR.SYSTEM.COST"), 3000);
  EXPECT_EQ(par.SetVarData("PAR.INCOME", 5), 1) << "the year's money is the measure's own";
  double v = 0;
  EXPECT_EQ(par.GetVarData("PAR.NOTHING", &v), 1);
}

TEST_F(RouteServices, PlanningUsersGrowWithSubsidyCostsShrinkWithoutRefundAndBookSales) {
  CPassiveRoutenPlanung par;
  host.people = 10000;
  host.SetValue("W.M7", 500);  // base 5000
  host.SetValue("W.K1.2", 20);  // potential 1000
  par.SetVarData("PAR.SYSTEM.SUB", 300);
  Turn(par, 0.0f, 0.0f);
  EXPECT_EQ(Get(par, "PAR.USERQUOTE"), 0.0) << "a turn without time moves no user";
  Turn(par, 0.0f, 1.0f / 12);
  // Damping (3 - 2 x 300 / 850) x 4 / 3 + 1; a month's step of 1000.
  const double users = 1000.0 / ((3.0 - 600.0 / 850.0) * 4.0 / 3.0 + 1.0) * 3.0 / 12.0;
  EXPECT_NEAR(Get(par, "PAR.USERQUOTE"), users / 5000.0, 1e-6) << "a share, not percent";
  EXPECT_NEAR(Get(par, "PAR.COST"), static_cast<int>(users * 300), 1);
  EXPECT_EQ(Get(par, "PAR.INCOME"), 0);

  // No potential: users leave (damping 2 x 300 / 850 + 1) and nothing is
  // refunded; the month's sales and costs of the users before are booked.
  host.SetValue("W.K1.2", 0);
  const double costBefore = Get(par, "PAR.COST");
  Turn(par, 1.0f / 12, 1.0f / 12);
  const float held = static_cast<float>(users);
  EXPECT_NEAR(Get(par, "PAR.USERQUOTE"), (held - held / (600.0 / 850.0 + 1.0) * 3.0 / 12.0) / 5000.0, 1e-6);
  EXPECT_NEAR(Get(par, "PAR.INCOME"), static_cast<int>(2.0 * held * 22.5 / 12.0), 1);
  EXPECT_NEAR(Get(par, "PAR.COST"), costBefore + static_cast<int>(held * 30.0 / 12.0), 1);
  EXPECT_EQ(Get(par, "PAR.BILANZ"), Get(par, "PAR.INCOME") - Get(par, "PAR.COST"));

  host.people = 0;
  Turn(par, 2.0f / 12, 1.0f / 12);
  EXPECT_EQ(Get(par, "PAR.USERQUOTE"), 0.0);
}

TEST_F(RouteServices, PlanningShortNamesRunACampaignFreeAndPaidOnesCostTheirPrice) {
  CPassiveRoutenPlanung par;
  host.maxima["W.K1.2"] = 100;
  const double quoteBefore = par.CalculateUserQuote();
  ASSERT_EQ(par.SetVarData("PAR.ADRADIO", 1), 0);
  EXPECT_EQ(Get(par, "PAR.ADVERTISMENT.RADIO"), 1);
  EXPECT_EQ(Get(par, "PAR.ADRADIO.TIME"), 1);
  EXPECT_EQ(Get(par, "PAR.COST"), 0);
  EXPECT_TRUE(host.booked.empty());
  for (int month = 0; month < 12; ++month) Turn(par, month / 12.0f, 1.0f / 12);
  EXPECT_EQ(Get(par, "PAR.ADRADIO"), 1) << "a year is not over after twelve months";
  Turn(par, 1.0f, 0.05f);
  EXPECT_EQ(Get(par, "PAR.ADRADIO"), 0);
  EXPECT_NEAR(par.CalculateUserQuote() - quoteBefore, 0.2 * 0.2 * 100, 1e-4) << "awareness rose by 0.2";

  host.money = 400000;
  EXPECT_EQ(par.SetVarData("PAR.ADVERTISMENT.TELEVISION", 1), 0);
  EXPECT_EQ(Get(par, "PAR.ADTELEVISION"), 0) << "500000 cannot be paid";
  EXPECT_EQ(par.SetVarData("PAR.ADVERTISMENT.PRINT", 1), 0);
  EXPECT_EQ(Get(par, "PAR.ADPRINT"), 1);
  EXPECT_EQ(Get(par, "PAR.COST"), 150000);
  EXPECT_EQ(host.booked["F.GREENADVERTISMENT"], 150000);

  // The yearly closing keeps the balance and lets awareness fade.
  par.ResetYearData(At(1, 1.0f), At(1, 0.9f));
  EXPECT_EQ(Get(par, "PAR.COST"), 150000) << "no change of year";
  par.ResetYearData(At(2, 2.0f), At(1, 1.9f));
  EXPECT_EQ(Get(par, "PAR.LASTYEAR.BILANZ"), -150000);
  EXPECT_EQ(Get(par, "PAR.COST") + Get(par, "PAR.INCOME") + Get(par, "PAR.BILANZ"), 0);
  EXPECT_NEAR(par.CalculateUserQuote() - quoteBefore, 0.2 * 0.16 * 100, 1e-4);
}

TEST_F(RouteServices, AssistantSubscribersFollowTheAdviceCentreAndGuidanceQuality) {
  CPta pta;
  host.people = 10000;
  host.SetValue("MZ.USERQUOTE", 30);
  host.SetValue("AR.QUALITY", 60);  // quality 50
  host.maxima["W.K9.2"] = 40;       // quote (0.2 + 0.25) x 40 = 18: 1800 people
  pta.SetVarData("PTA.HANDY.SUB", 750);
  EXPECT_DOUBLE_EQ(pta.CalculateUserQuote(), 18.0);
  EXPECT_EQ(Get(pta, "PTA.QUALITY"), 50);
  Turn(pta, 0.0f, 0.0f);
  EXPECT_EQ(Get(pta, "PTA.USERQUOTE"), 0.0) << "no time, no step: the turn ends";
  Turn(pta, 0.0f, 1.0f / 12);
  // A subsidy of 750 and no awareness damp the growth by 2.33.
  const float users = static_cast<float>(1800.0 / (7.0 / 3.0) * 3.0 / 12.0);
  EXPECT_NEAR(Get(pta, "PTA.USERQUOTE"), users / 10000.0 * 100.0, 1e-4);
  const int phones = static_cast<int>(static_cast<double>(users) * 750);
  EXPECT_NEAR(Get(pta, "PTA.COST"), phones, 1);

  // Users above a lower potential fall to it; leaving users bring no refund.
  host.maxima["W.K9.2"] = 1;
  Turn(pta, 1.0f / 12, 1.0f / 12);
  EXPECT_NEAR(Get(pta, "PTA.USERQUOTE"), 45.0 / 10000.0 * 100.0, 1e-4);
  const double x = static_cast<double>(users) * static_cast<float>(1.0f / 12);
  EXPECT_NEAR(Get(pta, "PTA.COST"), phones + static_cast<int>(x * 200), 1);
  EXPECT_NEAR(Get(pta, "PTA.INCOME"), static_cast<int>(x * 0.5 * 36 + x * 10 * 12), 1);

  host.SetValue("MZ.USERQUOTE", 0);
  host.SetValue("AR.QUALITY", 0);
  Turn(pta, 2.0f / 12, 1.0f / 12);
  EXPECT_EQ(Get(pta, "PTA.USERQUOTE"), 0.0) << "without quality no one subscribes";
  EXPECT_EQ(Get(pta, "PTA.HANDY.COST"), 3000);
  EXPECT_EQ(pta.SetVarData("PTA.QUALITY", 3), 1);
}

TEST_F(RouteServices, AssistantCampaignChangesTheQuoteUntilTheNextTurn) {
  CPta pta;
  host.people = 10000;
  host.SetValue("MZ.USERQUOTE", 30);
  host.SetValue("AR.QUALITY", 60);
  host.maxima["W.K9.2"] = 40;
  Turn(pta, 0.0f, 2.0f);  // two years' step reaches the potential: 18 %
  ASSERT_NEAR(Get(pta, "PTA.USERQUOTE"), 18.0, 1e-4);
  ASSERT_EQ(pta.SetVarData("PTA.ADVERTISMENT.PRINT", 7), 0);
  EXPECT_EQ(Get(pta, "PTA.ADVERTISMENT.PRINT"), 7);
  EXPECT_EQ(host.booked["F.GREENADVERTISMENT"], 150000);
  Turn(pta, 2.0f, 1.01f);
  EXPECT_EQ(Get(pta, "PTA.ADVERTISMENT.PRINT"), 0);
  EXPECT_NEAR(Get(pta, "PTA.USERQUOTE"), 18.0 * 0.06, 1e-4);
  Turn(pta, 3.01f, 0.01f);
  EXPECT_NEAR(Get(pta, "PTA.USERQUOTE"), 18.0, 1e-4);
}

TEST_F(RouteServices, AssistantRecordsOfBothFormsLoadAndBadOnesAreRefused) {
  CPta pta;
  host.people = 10000;
  host.SetValue("MZ.USERQUOTE", 30);
  host.maxima["W.K9.2"] = 40;
  pta.SetVarData("PTA.PRICE.MONTH", 12);
  pta.SetVarData("PTA.ADVERTISMENT.RADIO", 300);
  Turn(pta, 0.0f, 0.5f);
  zortest::RecordFile file;
  ASSERT_EQ(pta.SerializeGameStore(file.f(), nullptr), 0);
  const zortest::ByteList bytes = file.Bytes();
  ASSERT_EQ(bytes.size(), 4u + 98);
  EXPECT_EQ(bytes[0], 98);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[4])), "Pta");
  EXPECT_EQ(bytes[34 + 40], 255) << "the radio flag is a byte";

  zortest::Clock().Set(777);
  CPta back;
  ASSERT_EQ(Reload(pta, back), 0);
  for (const char* key : {"PTA.PRICE.MONTH", "PTA.USERQUOTE", "PTA.COST", "PTA.INCOME", "PTA.ADVERTISMENT.RADIO",
                          "PTA.ADVERTISMENT.RADIO.PERCENTREADY", "PTA.QUALITY"})
    EXPECT_EQ(Get(back, key), Get(pta, key)) << key;
  EXPECT_EQ(Get(back, "PTA.TIMELASTCHANGEMESSAGE"), 777);
  EXPECT_FLOAT_EQ(static_cast<float>(Get(back, "PTA.USERQUOTELASTMESSAGE")),
                  static_cast<float>(Get(pta, "PTA.USERQUOTE")));

  CPta older;
  ASSERT_EQ(Reload(pta, older, 8, kOlderGame), 0) << "games before the message pair hold 60 bytes";
  EXPECT_EQ(Get(older, "PTA.USERQUOTE"), Get(pta, "PTA.USERQUOTE"));
  EXPECT_EQ(Get(older, "PTA.TIMELASTCHANGEMESSAGE"), 777);

  OpenErrorLog("pta-errors.log");
  CPta refused;
  EXPECT_EQ(Reload(pta, refused, 4), 1);
  EXPECT_EQ(Reload(pta, refused, 8), 1) << "a game of today holds the message pair";
  zortest::ByteList nan(bytes.begin() + 34, bytes.end());
  const float bad = std::nanf("");
  std::memcpy(&nan[28], &bad, 4);
  zortest::RecordFile nanBlock(nan);
  EXPECT_EQ(refused.SerializeGameLoad(nanBlock.f(), 68, kCurrentGame), 1);
  CloseErrorLog();
  EXPECT_EQ(Get(refused, "PTA.PRICE.MONTH"), 10) << "a refused record changes nothing";
  EXPECT_EQ(zortest::ReadFile("pta-errors.log"),
            "Pta: a record of 64 bytes is refused, 68 expected\n"
            "Pta: a record of 60 bytes is refused, 68 expected\n"
            "Pta: a savegame whose field 7 is no number is refused\n");
}

TEST_F(RouteServices, GuidanceWithoutMastsHasNoUsersQualityOrMap) {
  CAktiveRoutenPlanung ar;
  ar.Create();
  host.people = 10000;
  host.SetValue("W.M7", 500);
  host.SetValue("W.K2.2", 20);
  host.maxima["W.K2.2"] = 30;
  Turn(ar, 0.0f, 1.0f);
  EXPECT_EQ(Get(ar, "AR.USERQUOTE"), 0);
  EXPECT_EQ(Get(ar, "AR.QUALITY"), 0);
  EXPECT_EQ(ar.CalculateUserQuote(), 0);
  float scale = 0;
  const float* map = ar.GetMap(&scale);
  EXPECT_EQ(scale, 1.0f);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(map[i], 0.0f) << i;
  EXPECT_EQ(Get(ar, "AR.SYSTEM.COST"), 3400);
  ar.Destroy();
}

TEST_F(RouteServices, GuidanceCountsItsMastsAndSetsTheHints) {
  CAktiveRoutenPlanung ar;
  ar.Create();
  CBuildingTrafficObject a, b;
  EXPECT_EQ(ar.AddSendeMast(&a), 0);
  EXPECT_EQ(ar.AddSendeMast(&b), 0);
  EXPECT_EQ(ar.AddSendeMast(&b), 1) << "a mast counts once";
  EXPECT_EQ(Get(ar, "AR.NUMBER"), 2);
  EXPECT_EQ(ar.GetList("AR.OUTLETLIST")->GetCount(), 2);
  EXPECT_EQ(ar.GetList("PTA.OUTLETLIST"), nullptr);
  EXPECT_FALSE(host.hints[87]);
  EXPECT_FALSE(host.hints[90]);
  EXPECT_EQ(ar.RemoveSendeMast(&a), 0);
  host.SetValue("MZ.ZENTRALE", 1);
  EXPECT_EQ(ar.RemoveSendeMast(&b), 0);
  EXPECT_EQ(ar.RemoveSendeMast(&b), 1) << "a mast not in the list";
  EXPECT_EQ(Get(ar, "AR.NUMBER"), 0);
  EXPECT_TRUE(host.hints[87]);
  EXPECT_FALSE(host.hints[90]) << "the advice centre still stands";
  ar.Destroy();
}

TEST_F(RouteServices, GuidanceSubscribersPayTheirPriceAndTheSubsidyAndMastsCost) {
  CAktiveRoutenPlanung ar;
  ar.Create();
  CBuildingTrafficObject mast;
  ar.AddSendeMast(&mast);
  host.SetValue("W.M7", 500);
  host.SetValue("W.K2.2", 20);
  // A year of all three campaigns, twice: awareness 1.2, held at 1.
  for (int round = 0; round < 2; ++round) {
    for (const char* c : {"AR.ADVERTISMENT.PRINT", "AR.ADVERTISMENT.RADIO", "AR.ADVERTISMENT.TELEVISION"})
      ASSERT_EQ(ar.SetVarData(c, 1), 0);
    EXPECT_EQ(Get(ar, "AR.ADPRINT") + Get(ar, "AR.ADRADIO") + Get(ar, "AR.ADTELEVISION"), 3);
    Turn(ar, 2.0f * round, 1.01f);
    EXPECT_EQ(Get(ar, "AR.ADTELEVISION"), 0);
  }
  ar.SetVarData("AR.SYSTEM.SUB", 850);
  host.people = 10000;  // base 5000, potential 1000
  const double before = Get(ar, "AR.COST");
  Turn(ar, 0.0f, 1.0f / 12);
  // Subsidy 850 and full awareness: damping 1, a month's step of 250.
  EXPECT_NEAR(Get(ar, "AR.USERQUOTE"), 250.0 / 5000.0 * 100.0, 1e-4);
  EXPECT_NEAR(Get(ar, "AR.COST") - before, 8333 + 250 * 850, 1);
  Turn(ar, 1.0f / 12, 1.0f / 12);
  EXPECT_NEAR(Get(ar, "AR.INCOME"), 250.0 * 10 * 12 / 12, 1);
  host.maxima["W.K2.2"] = 30;
  EXPECT_NEAR(ar.CalculateUserQuote(), 30 * ((1 - 0.5) * 0.4 + 0.1), 1e-4);
  ar.Destroy();
}

TEST_F(RouteServices, GuidanceRecordKeepsTheBlockAndItsMastsCountAgain) {
  CAktiveRoutenPlanung ar;
  ar.Create();
  CBuildingTrafficObject mast;
  ar.AddSendeMast(&mast);
  host.people = 10000;
  host.SetValue("W.M7", 500);
  host.SetValue("W.K2.2", 20);
  ar.SetVarData("AR.PRICE.MONTH", 6);
  Turn(ar, 0.0f, 0.25f);
  zortest::RecordFile file;
  ASSERT_EQ(ar.SerializeGameStore(file.f(), nullptr), 0);
  const zortest::ByteList bytes = file.Bytes();
  ASSERT_EQ(bytes.size(), 4u + 1146);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[4])), "AktiveRP");
  zortest::Clock().Set(4242);
  for (size_t cut : {size_t{0}, size_t{8}}) {
    CAktiveRoutenPlanung back;
    back.Create();
    ASSERT_EQ(Reload(ar, back, cut, cut ? kOlderGame : kCurrentGame), 0) << cut;
    for (const char* key : {"AR.PRICE.MONTH", "AR.USERQUOTE", "AR.COST", "AR.INCOME", "AR.QUALITY"})
      EXPECT_EQ(Get(back, key), Get(ar, key)) << key;
    EXPECT_EQ(Get(back, "AR.NUMBER"), 0) << "the masts made again count themselves";
    EXPECT_EQ(Get(back, "AR.TIMELASTCHANGEMESSAGE"), 4242);
    back.Destroy();
  }
  OpenErrorLog("ar-errors.log");
  CAktiveRoutenPlanung refused;
  EXPECT_EQ(Reload(ar, refused, 1), 1);
  CloseErrorLog();
  EXPECT_EQ(zortest::ReadFile("ar-errors.log"), "AktiveRP: a record of 1115 bytes is refused, 1116 expected\n");
  ar.Destroy();
}

// The assistant and the guidance keep their quote's percent beside the
// message time after a load: a quote too large to have a percent is refused,
// since the record the measure then writes would be refused itself.
TEST_F(RouteServices, QuotesWithoutAPercentAreRefusedAndAcceptedOnesSaveAgain) {
  struct Case {
    CMeasure* written;
    CMeasure* loaded;
    CMeasure* again;
    size_t quoteAt;  // the quote's place in the payload
  };
  CPta pta, ptaLoaded, ptaAgain;
  CAktiveRoutenPlanung ar, arLoaded, arAgain;
  ar.Create();
  arLoaded.Create();
  arAgain.Create();
  OpenErrorLog("quote-errors.log");
  for (const Case& c : {Case{&pta, &ptaLoaded, &ptaAgain, 32}, Case{&ar, &arLoaded, &arAgain, 24}}) {
    zortest::RecordFile file;
    ASSERT_EQ(c.written->SerializeGameStore(file.f(), nullptr), 0);
    const zortest::ByteList bytes = file.Bytes();
    for (const float quote : {1e37f, -3.4e38f, 3.4e36f, 0.5f}) {
      zortest::ByteList payload(bytes.begin() + 34, bytes.end());
      std::memcpy(&payload[c.quoteAt], &quote, 4);
      zortest::RecordFile in(payload);
      const bool fits = std::isfinite(quote * 100.0f);
      ASSERT_EQ(c.loaded->SerializeGameLoad(in.f(), static_cast<uint32_t>(payload.size()), kCurrentGame), fits ? 0 : 1)
          << quote;
      if (fits) {
        EXPECT_EQ(Reload(*c.loaded, *c.again), 0) << "what was taken saves and loads again: " << quote;
      }
    }
  }
  CloseErrorLog();
  EXPECT_EQ(zortest::ReadFile("quote-errors.log"),
            "Pta: a savegame whose user quote cannot be is refused\n"
            "Pta: a savegame whose user quote cannot be is refused\n"
            "AktiveRP: a savegame whose user quote cannot be is refused\n"
            "AktiveRP: a savegame whose user quote cannot be is refused\n");
  ar.Destroy();
  arLoaded.Destroy();
  arAgain.Destroy();
}
