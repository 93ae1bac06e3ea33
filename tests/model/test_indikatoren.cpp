// The indicators' own rules: the small town's rest values and growth, the
// partial ratings of a town with nothing to rate and those read from the
// measures and the cause-effect network, the growth from the city rating,
// the adviser messages of low ratings, the manual flag, the named values and
// the savegame record.
#include <gtest/gtest.h>

#include <utility>

#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <set>
#include <string>

#include "cybernet/cyber_net.h"
#include "framework/qno_display.h"
#include "framework/var_table.h"
#include "framework/zor_seams.h"
#include "model/data_exchange.h"
#include "model/indikatoren.h"
#include "model/message.h"
#include "network/junction_scene.h"
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
  // The growth gauge spreads the factor three times around 0.5 within its
  // range of 0 to 1: a small town's gauge stands full, and its figure says so.
  EXPECT_DOUBLE_EQ(Value("I.GROWTH_MORE"), 1.0);
  for (const auto& [growth, gauge] : {std::pair{0.6, 0.8}, std::pair{0.5, 0.5}, std::pair{0.4, 0.2},
                                      std::pair{0.3, 0.0}, std::pair{0.9, 1.0}}) {
    ASSERT_EQ(ind.SetVarData("I.GROWTH", growth), 0);
    EXPECT_NEAR(Value("I.GROWTH_MORE"), gauge, 1e-6) << growth;
  }
  ASSERT_EQ(ind.SetVarData("I.GROWTH", 0.75), 0);
  ind.SetStandardMessage();
  EXPECT_EQ(Adviser(3), "21/2");
  dx.SetPeople(15000);
  Turn();
  EXPECT_LT(Value("I.GROWTH"), 0.75) << "the growth follows the ratings from 15000 people";
}

TEST_F(Indicators, ATownWithNothingToRateRestsAtOneHalfButTravelsNoKilometres) {
  dx.SetPeople(20000);
  Turn();
  // No buildings, no trips, no price, no energy, no streets, no land-use
  // node, no homes or schools: each of these rates 0.5.
  for (const char* name : {"I.ZORV.REACHTIMES", "I.ZORV.SECURITY", "I.EFF.TIMEPERKM", "I.EFF.COSTPERAGENT",
                           "I.EFF.TRAFFICJAM", "I.EFF.ENERGIEPERKM", "I.QUALI.AREAPERPERSON", "I.QUALI.NOISE"})
    EXPECT_EQ(Value(name), 0.5) << name;
  // No kilometre at all lies below the anchors of 12 to 17 a person: the
  // best rating.
  EXPECT_EQ(Value("I.EFF.KMPERPERSON"), 1.0);
}

// Named values of one prefix, each with its minimum and maximum; unknown
// names are refused.
class Values : public CVarOwner {
 public:
  struct Entry {
    double value, min, max;
  };
  std::map<std::string, Entry> values;
  void Set(const char* name, double value, double min = 0, double max = 100) { values[name] = {value, min, max}; }
  int SetVarData(const char* name, double value) override {
    auto it = values.find(name);
    if (it == values.end()) return 1;
    it->second.value = value;
    return 0;
  }
  int GetVarData(const char* name, double* value) override { return Get(name, &Entry::value, value); }
  int GetVarMin(const char* name, float* min) override { return GetFloat(name, &Entry::min, min); }
  int GetVarMax(const char* name, float* max) override { return GetFloat(name, &Entry::max, max); }

 private:
  int Get(const char* name, double Entry::*field, double* out) {
    auto it = values.find(name);
    if (it == values.end()) return 1;
    *out = it->second.*field;
    return 0;
  }
  int GetFloat(const char* name, double Entry::*field, float* out) {
    double v = 0;
    if (Get(name, field, &v)) return 1;
    *out = static_cast<float>(v);
    return 0;
  }
};

// A town of 20000 with the measures' values and a cause-effect network of
// the nodes the ratings read.
struct RatedCity : Indicators {
  CCyberNet net;
  Values par, pta, ar, cs, mz, opnv, sv;
  void SetUp() override {
    Indicators::SetUp();
    net.InsertStandardTemplates();
    // A node's value is its place between its bounds.
    zortest::WriteFile("rated.def",
                       "NodeBegin BasicNode Name U3 Value 0.25 MinSize 0 MaxSize 10 NodeEnd\n"
                       "NodeBegin BasicNode Name U13.2 Value 0.625 MinSize 0 MaxSize 4 NodeEnd\n"
                       "NodeBegin BasicNode Name M4 Value 0.1 MinSize 0 MaxSize 100 NodeEnd\n"
                       "NodeBegin BasicNode Name G1 Value 0.6 MinSize 0 MaxSize 1 NodeEnd\n"
                       "NodeBegin BasicNode Name G1.1 Value 0.4 MinSize 0 MaxSize 1 NodeEnd\n"
                       "NodeBegin BasicNode Name E8 Value 0.25 MinSize 2 MaxSize 6 NodeEnd\n");
    FILE* f = std::fopen("rated.def", "r");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(net.Read(f), 0);
    std::fclose(f);
    dx.SetCyberNet(&net);
    const std::pair<const char*, Values*> owners[] = {{"PAR.", &par}, {"PTA.", &pta},   {"AR.", &ar}, {"CS.", &cs},
                                                       {"MZ.", &mz},   {"OPNV.", &opnv}, {"SV.", &sv}};
    for (const auto& [prefix, owner] : owners) ASSERT_EQ(dx.RegisterOwner(prefix, owner), 0);
    dx.SetPeople(20000);
  }
};

TEST_F(RatedCity, ComfortAndLandUseFollowTheirNodesAndTheMeasures) {
  // User quotes 10 + 20 + 0 + 5 + 15 of 500; service quality 0.5; a quarter
  // of the network on its own ways; "W.U3" a quarter up its range.
  par.Set("PAR.USERQUOTE", 10);
  pta.Set("PTA.USERQUOTE", 20);
  ar.Set("AR.USERQUOTE", 0);
  cs.Set("CS.USERQUOTE", 5);
  mz.Set("MZ.USERQUOTE", 15);
  opnv.Set("OPNV.QUALI", 0.5);
  opnv.Set("OPNV.NET.LENGTH", 12);
  opnv.Set("OPNV.NET.EXCLUSIVELENGTH", 3);
  dx.DXCalc_OpnvNetLength();
  dx.DXCalc_OpnvNetExclusiveLength();
  ind.MinMax(11)[2] = 0.05f;
  // "W.U13.2" at 2.5 of a maximum of 4: a quarter past its half.
  ind.MinMax(8)[2] = -0.125f;
  Turn();
  EXPECT_NEAR(Value("I.ZORV.KOMFORT"), 3 * 0.1 + 0.2 * 0.5 + 0.1 * 0.25 + 0.4 * 0.75 + 0.05, 1e-6);
  EXPECT_NEAR(Value("I.QUALI.AREAPERPERSON"), 1 - 0.5 / 2 - 0.125, 1e-6);
  // The travel group is the mean of reach, comfort and safety.
  EXPECT_NEAR(Value("I.ZORV"), (0.5 + Value("I.ZORV.KOMFORT") + 0.5) / 3, 1e-6);
  // So many users that comfort passes 1: it stops there.
  par.Set("PAR.USERQUOTE", 100);
  Turn();
  EXPECT_EQ(Value("I.ZORV.KOMFORT"), 1.0);
}

TEST_F(RatedCity, TheSpatialSeparationIsShiftedByItsOffset) {
  // A map without buildings separates nothing: 1.
  dx.DXCalc_BebauteFlaeche();
  ASSERT_EQ(dx.GetRaumtrennung(), 1.0f);
  ind.MinMax(9)[2] = -0.25f;
  Turn();
  EXPECT_NEAR(Value("I.QUALI.RAUMTRENNUNG"), 0.75, 1e-6);
}

TEST_F(RatedCity, EmissionsRateTheEnergyRatingsOfTheTurnBeforeByTheCleanFleet) {
  // "W.M4" 10 of 50, a tenth of hydrogen and a twentieth of electric cars,
  // research that takes a fifth off the emissions.
  dx.SetQuoteCarH2(0.1f);
  dx.SetQuoteCarEnergie(0.05f);
  sv.Set("SV.RES.EMISSION.WIRKUNG", 0.2, 0, 1);
  const double f = ((1 - 10.0 / 50) + 1.1 + 1.05) / 3 * 0.8;
  Turn();
  // Energy per kilometre 0.5 (no trips), kilometres per person 1 of this
  // turn, energy per person 0.5 as it rested before.
  EXPECT_NEAR(Value("I.QUALI.EMMISSIONPERPERSON"), (0.5 + 1.0 + 0.5) / 3 * f, 1e-6);
  // Energy per person: no energy at all rates 1, with the other two.
  EXPECT_NEAR(Value("I.QUALI.ENERGIEPERPERSON"), (1.0 + 0.5 + 1.0) / 3, 1e-6);
  Turn();
  EXPECT_NEAR(Value("I.QUALI.EMMISSIONPERPERSON"), (0.5 + 1.0 + 2.5 / 3) / 3 * f, 1e-6);
}

TEST_F(RatedCity, FromFifteenThousandTheGrowthFollowsTheCityRatingAndTheTaxes) {
  // Taxes 60 % and halfway up their ranges, "W.E8" a quarter up its own:
  // t = (0.25 + 0.6 + 0.5) / 2.
  sv.Set("SV.TAX.MWST", 16, 10, 20);
  sv.Set("SV.TAX.ENERGIE", 0.5, 0, 1);
  const double t = (0.25 + 0.6 + 0.5) * 0.5;
  Turn();
  // "W.G2" is missing and counts as 0.5.
  const double w = (0.6 + 0.4 + 0.5) / 3;
  const double eqm = Value("I.EQM");
  EXPECT_NEAR(Value("I.GROWTH"), (w + 3 * eqm) / 4 * (1.2 - 0.4 * t), 1e-6);
  EXPECT_NEAR(ind.GetGrowth(), (Value("I.GROWTH") - 0.5) / 10, 1e-6);
  // Taxes at their tops: t stops at 1.
  sv.Set("SV.TAX.MWST", 20, 10, 20);
  sv.Set("SV.TAX.ENERGIE", 1, 0, 1);
  Turn();
  EXPECT_NEAR(Value("I.GROWTH"), (w + 3 * Value("I.EQM")) / 4 * 0.8, 1e-6);
}

// The street network of a map scene, as the data exchange hands it on.
struct StreetNetContext : CGrowthContext {
  junctiontest::World town;
  CStrJunctionList* StreetNet() override { return town.net.get(); }
  // Every street at the speed but one, `odd`, at its own.
  void Speeds(double speed, CStrStrasse* odd, double oddSpeed) {
    ASSERT_NE(odd, nullptr);
    for (CStrStrasse* s : town.Streets()) s->SetVelocity(s == odd ? oddSpeed : speed);
  }
};

TEST_F(Indicators, SafetyRatesSlowStreetsAndTheShareOfJunctionArmsUnderLights) {
  StreetNetContext streets;
  dx.SetGrowthContext(&streets);
  dx.SetPeople(20000);
  // A T junction at (20, 10): three streets and three junction arms.
  ASSERT_EQ(streets.town.Build(10, 10, 30, 10), STR_BUILD_OK);
  ASSERT_EQ(streets.town.Build(20, 10, 20, 20), STR_BUILD_OK);
  CStrJunction* t = streets.town.At(20, 10);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->GetAnzLinkedStreets(), 3);
  // Fast streets add nothing and the side street in the band of 13.8 to
  // 14 a half: (0.5 + 0.5) / 3; no arm under lights takes off a sixth.
  streets.Speeds(20.0, streets.town.StreetBetween(20, 10, 20, 20), 14.0);
  Turn();
  EXPECT_NEAR(Value("I.ZORV.SECURITY"), 1.0 / 3 - 1.0 / 6, 1e-6);
  // Lights on all three arms: (2 - 0.5) / 3 more.
  ASSERT_EQ(t->SetAmpelData(Ampel_Ampel, 60, 0.5f), 0);
  Turn();
  EXPECT_NEAR(Value("I.ZORV.SECURITY"), 1.0 / 3 + 0.5, 1e-6);
  // A second T junction without lights: 3 of 6 arms under lights; of the
  // five streets one below 13.8 adds a whole.
  ASSERT_EQ(streets.town.Build(25, 10, 25, 20), STR_BUILD_OK);
  ASSERT_EQ(streets.town.Streets().size(), 5u);
  streets.Speeds(20.0, streets.town.StreetBetween(25, 10, 25, 20), 13.7);
  Turn();
  EXPECT_NEAR(Value("I.ZORV.SECURITY"), 1.5 / 5 + (2.0 * 3 / 6 - 0.5) / 3, 1e-6);
}

TEST_F(Indicators, TheBarsStandOnTheirBaselineByHalfOf27PixelsAwayFromTheMiddle) {
  SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 300, 200, 16, 0xF800, 0x07E0, 0x001F, 0);
  ASSERT_NE(surface, nullptr);
  QnoDisplay display;
  QnoDisplayCreateStruct cs;
  cs.screenWidth = cs.viewWidth = 300;
  cs.screenHeight = cs.viewHeight = 200;
  display.Create(nullptr, &cs, surface);
  auto pixel = [&](int x, int y) {
    return reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch)[x];
  };
  // Efficiency at 0.9 rises 0.4 x 27 = 10 pixels in green; quality at 0.2
  // falls 0.3 x 27 = 8 pixels in red; travel at 0.5 draws nothing.
  ind.SetVarData("I.EFF", 0.9);
  ind.SetVarData("I.QUALI", 0.2);
  ind.SetVarData("I.ZORV", 0.5);
  ASSERT_EQ(ind.Render(&display), 0);
  const int base = 200 - 81;
  EXPECT_EQ(pixel(300 - 196, base - 10), 1984);
  EXPECT_NE(pixel(300 - 196, base - 11), 1984);
  EXPECT_EQ(pixel(300 - 187, base + 7), 61440);
  EXPECT_NE(pixel(300 - 187, base + 8), 61440);
  EXPECT_NE(pixel(300 - 178, base - 1), 1984);
  EXPECT_NE(pixel(300 - 178, base + 1), 61440);
  SDL_FreeSurface(surface);
}

TEST_F(Indicators, ANewTableStartsFromTheAnchorsWithEmptyMaps) {
  // Built over leftover bytes: every map byte is cleared.
  alignas(CIndikatoren) unsigned char storage[sizeof(CIndikatoren)];
  std::memset(storage, 0xa5, sizeof storage);
  CIndikatoren* fresh = new (storage) CIndikatoren;
  int dirty = 0;
  for (int i = 0; i < 128 * 128; ++i)
    dirty += fresh->GetLaermMap()[i] != 0 || fresh->GetEmmissionsMap()[i] != 0 || fresh->GetWohnqualitaetMap()[i] != 0;
  EXPECT_EQ(dirty, 0);
  // The anchors of the partial ratings (minimum, maximum, offset).
  const float anchors[8][3] = {{11, 19, 0}, {0, 60, 0}, {0, 1, 0}, {0.46f, 0.76f, 0},
                               {4.5f, 8.5f, 0}, {0, 1, 0}, {0, 1, 0}, {30, 90, 0}};
  for (int r = 0; r < 22; ++r)
    for (int k = 0; k < 3; ++k)
      EXPECT_EQ(fresh->MinMax(r)[k], r < 8 ? anchors[r][k] : (k == 1 ? 1.0f : 0.0f)) << r << "/" << k;
  fresh->~CIndikatoren();
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
  // The rows have no bounds or steps; unknown names are refused.
  float step = -1, min = -1, max = -1;
  EXPECT_EQ(ind.GetStep("I.EQM", &step), 0);
  EXPECT_EQ(ind.GetVarMin("I.EQM", &min), 0);
  EXPECT_EQ(ind.GetVarMax("I.EQM", &max), 0);
  EXPECT_EQ(step, 0.0f);
  EXPECT_EQ(min, 0.0f);
  EXPECT_EQ(max, 0.0f);
  EXPECT_EQ(ind.GetStep("I.NONE", &step), 1);
  EXPECT_EQ(ind.GetVarMin("I.NONE", &min), 1);
  EXPECT_EQ(ind.GetVarMax("I.NONE", &max), 1);
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
  // The living-quality map, third of the three, is read by x and y.
  std::string living = payload;
  living[12 + 2 * 128 * 128 + 5 * 128 + 3] = 77;
  EXPECT_EQ(Load(back, living, static_cast<int>(living.size())), std::make_pair(0, 0L));
  EXPECT_EQ(back.GetWohnqualitaetMapXY(3, 5), 77);
  EXPECT_EQ(back.GetWohnqualitaetMapXY(5, 3), 0);

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
