// The city council: research by levels and its effect, the hourly taxes,
// the fleet's adoption of microcars with and without subsidy, the yearly
// closing and the savegame record.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "cybernet/cyber_net.h"
#include "framework/zor_list.h"
#include "model/data_exchange.h"
#include "model/stadt_verwaltung.h"
#include "support/test_support.h"
#include "worldbase/zor_world_host.h"

namespace {

// Named values of the finances and public transport, kept in a map.
class Book : public CVarOwner {
 public:
  int SetVarData(const char* name, double value) override {
    values[name] = value;
    return 0;
  }
  int GetVarData(const char* name, double* value) override {
    *value = values.count(name) ? values[name] : 0.0;
    return 0;
  }
  std::map<std::string, double> values;
};

// The warnings the council shows.
struct Warnings : CWorldHost {
  Warnings() { CWorldHost::Install(this); }
  ~Warnings() override { CWorldHost::Install(nullptr); }
  void SetAchtungWindow(int warning) override { shown.push_back(warning); }
  std::vector<int> shown;
};

struct Council : testing::Test {
  CDataExchange dx;
  CCyberNet net;
  Book finances, opnv;
  Warnings warnings;
  CStadtVerwaltung sv;
  void SetUp() override {
    net.InsertStandardTemplates();
    zortest::WriteFile("council.def",
                       "NodeBegin BasicNode Name K12.2 Value 0.1 MinSize 0 MaxSize 100 NodeEnd\n"
                       "NodeBegin BasicNode Name K12.3 Value 0.1 MinSize 0 MaxSize 100 NodeEnd\n"
                       "NodeBegin BasicNode Name S2 Value 0.24 MinSize 0 MaxSize 50000 NodeEnd\n");
    FILE* f = std::fopen("council.def", "r");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(net.Read(f), 0);
    std::fclose(f);
    dx.SetCyberNet(&net);
    dx.RegisterOwner("F.", &finances);
    dx.RegisterOwner("OPNV.", &opnv);
    sv.Attach(&dx);
  }
  STime Year(float from) { return STime{8, 1, static_cast<int>(from), from}; }
  void Turn(float from, float to) { sv.OnPlayloopTurn(Year(to), Year(from)); }
  double V(const char* name) { return sv.GetVarValue(name); }
};

TEST_F(Council, ResearchGoesLevelByLevelAndItsEffectGrowsWithTheLevelsDone) {
  EXPECT_EQ(sv.SetVarData("SV.RES.H2.2.ACTIVE", 1), 1);
  EXPECT_EQ(warnings.shown, std::vector<int>{45}) << "level 1 is not done";
  EXPECT_EQ(V("SV.RES.H2.2.ACTIVE"), 0.0);
  sv.SetVarData("SV.RES.H2.1.ACTIVE", 1);
  Turn(0.0f, 1.0f);
  EXPECT_EQ(V("SV.RES.H2.1.DURATION"), 1.0);
  EXPECT_EQ(V("SV.RES.H2.1.COST"), 2500000.0);
  EXPECT_EQ(finances.values["F.RES"], 2500000.0);
  // Level 1 is active but not done: level 2 still waits.
  sv.SetVarData("SV.RES.H2.2.ACTIVE", 1);
  EXPECT_EQ(warnings.shown, (std::vector<int>{45, 45}));
  Turn(1.0f, 2.0f);
  EXPECT_DOUBLE_EQ(V("SV.RES.H2.WIRKUNG"), 0.1);
  EXPECT_EQ(V("SV.RES.H2.PICSTURESTATE"), 1.0);
  EXPECT_EQ(finances.values["F.RES"], 5000000.0);
  for (const char* level : {"SV.RES.H2.2.ACTIVE", "SV.RES.H2.3.ACTIVE"}) {
    sv.SetVarData(level, 1);
    Turn(2.0f, 6.0f);
  }
  EXPECT_DOUBLE_EQ(V("SV.RES.H2.WIRKUNG"), 0.3);
  EXPECT_EQ(V("SV.RES.H2.3.COST"), 0.0);
  // A done level keeps its state; other areas are untouched.
  EXPECT_EQ(sv.SetVarData("SV.RES.H2.1.ACTIVE", 0.0), 1);
  EXPECT_EQ(V("SV.RES.H2.1.ACTIVE"), 1.0);
  EXPECT_EQ(V("SV.RES.EMISSION.WIRKUNG"), 0.0);
  EXPECT_EQ(sv.SetVarData("SV.RES.NOTHING", 1), 1) << "a name of no area is refused";
  // Every row's value lies within its own range.
  for (const char* row : {"SV.SUB.BUYINGPKWH2.PRICE", "SV.DRIVINGPROHIBIT", "SV.TICKET.INCOME", "SV.TAX.ENERGIE"}) {
    float lo = 0, hi = 0;
    sv.GetVarMin(row, &lo);
    sv.GetVarMax(row, &hi);
    EXPECT_LE(lo, static_cast<float>(V(row))) << row;
    EXPECT_GE(hi, static_cast<float>(V(row))) << row;
  }
}

TEST_F(Council, TaxesComeInByThePeopleAndTheCarsOverTheTimeElapsed) {
  dx.SetPeople(10000);
  dx.Block().kfz = 4000;
  Turn(0.0f, 0.5f);
  // f = "W.G9" x 0.5 + 0.75 with no such node: 0.75.
  EXPECT_EQ(V("SV.TAX.GENERAL.INCOME"), std::floor(10000 * 0.25 * 600 * 0.5 * 0.75));
  EXPECT_EQ(V("SV.TAX.MWST.INCOME"), std::floor(10000 * 0.16 * 500 * 0.5 * 0.75));
  // The cars before the turn moved the microcar share.
  EXPECT_EQ(V("SV.TAX.KFZ.PKW.INCOME"), std::floor(4000 * 100 * 0.5));
  EXPECT_GT(finances.values["F.INCOME.CITY"], 0.0);
  EXPECT_GT(finances.values["F.EXPENSES.PRESERVEINFRASTRUCTURE"], 0.0) << "the people's upkeep";
  // A year later the incomes start again.
  sv.ResetYearData(Year(1.0f), Year(0.5f));
  EXPECT_EQ(V("SV.TAX.GENERAL.INCOME"), 0.0);
}

TEST_F(Council, MicrocarsComeFasterWithASubsidyAndOnlyThenArePaidAndCounted) {
  dx.Block().kfz = 10000;
  // The target: 20 % of the cars.
  Turn(0.0f, 1.0f);
  const int unpaid = dx.GetMicrocar();
  EXPECT_GT(unpaid, 0);
  EXPECT_EQ(V("SV.SUB.BUYINGMICROCAR.EXPENSES"), 0.0);
  EXPECT_EQ(V("SV.SUB.BUYINGMICROCAR.NUMBER"), 0.0);
  EXPECT_EQ(finances.values["F.SUB"], 0.0);

  CStadtVerwaltung paid;
  CDataExchange dx2;
  dx2.SetCyberNet(&net);
  dx2.RegisterOwner("F.", &finances);
  dx2.Block().kfz = 10000;
  paid.Attach(&dx2);
  paid.SetVarData("SV.SUB.BUYINGMICROCAR", 15);
  paid.OnPlayloopTurn(Year(1.0f), Year(0.0f));
  const int bought = dx2.GetMicrocar();
  EXPECT_GT(bought, unpaid);
  EXPECT_EQ(paid.GetVarValue("SV.SUB.BUYINGMICROCAR.NUMBER"), bought);
  EXPECT_EQ(paid.GetVarValue("SV.SUB.BUYINGMICROCAR.EXPENSES"), std::floor(0.15 * bought * 12000));
  // The year closes the expenses and numbers, but not the cars given up.
  paid.SetVarData("SV.SUB.SELLINGCAR.NUMBER", 7);
  paid.ResetYearData(Year(2.0f), Year(1.0f));
  EXPECT_EQ(paid.GetVarValue("SV.SUB.BUYINGMICROCAR.NUMBER"), 0.0);
  EXPECT_EQ(paid.GetVarValue("SV.SUB.SELLINGCAR.NUMBER"), 7.0);
  paid.ResetYearData(Year(2.5f), Year(2.0f));
  EXPECT_EQ(paid.GetVarValue("SV.SUB.SELLINGCAR.NUMBER"), 7.0);
}

std::string Saved(CStadtVerwaltung& sv) {
  char* buffer = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&buffer, &size);
  EXPECT_EQ(sv.SerializeGameStore(out, nullptr), 0);
  std::fclose(out);
  std::string bytes(buffer, size);
  std::free(buffer);
  return bytes;
}

int Load(CStadtVerwaltung& sv, const std::string& payload, int version = 240) {
  const int kept = g_ZorLoadVersion;
  g_ZorLoadVersion = version;
  FILE* in = fmemopen(const_cast<char*>(payload.data()), payload.size(), "rb");
  const int r = sv.SerializeGameLoad(in);
  std::fclose(in);
  g_ZorLoadVersion = kept;
  return r;
}

TEST_F(Council, TheRecordKeepsRowsAndResearchAndRefusesWhatDoesNotFit) {
  sv.SetVarData("SV.TAX.MWST", 19);
  sv.SetVarData("SV.RES.ENERGIE.1.DURATION", 1.5);
  const std::string bytes = Saved(sv);
  uint32_t length = 0;
  std::memcpy(&length, bytes.data(), 4);
  EXPECT_EQ(length, 40u * 76 + 908) << "the length counts the rows at 76 bytes";
  EXPECT_EQ(bytes.size(), 4u + 30 + 4 + 40 * 96 + 840 + 30);
  const std::string payload = bytes.substr(34);
  CStadtVerwaltung back;
  ASSERT_EQ(Load(back, payload), 0);
  EXPECT_EQ(back.GetVarValue("SV.TAX.MWST"), 19.0);
  EXPECT_EQ(back.Forschung(2, 0, CStadtVerwaltung::kDone), 1.5);
  EXPECT_EQ(Saved(back), bytes);

  std::string tag = payload;
  tag[tag.size() - 30] = 'X';
  EXPECT_EQ(Load(back, tag), 1) << "the end tag";
  std::string many = payload;
  const int32_t rows = 41;
  std::memcpy(many.data(), &rows, 4);
  EXPECT_EQ(Load(back, many), 1) << "more rows than the table";
  EXPECT_EQ(Load(back, payload.substr(0, 100)), 1);
  // Older savegames hold float rows and a float research block.
  std::string old;
  const int32_t count = 40;
  old.append(reinterpret_cast<const char*>(&count), 4);
  for (int i = 0; i < 40; ++i) {
    SVVarType row{};
    std::memcpy(row.name, sv.GetVar("SV.TAX.GENERAL")[i].name, sizeof row.name);
    row.value = static_cast<float>(sv.GetVar("SV.TAX.GENERAL")[i].value);
    old.append(reinterpret_cast<const char*>(&row), sizeof row);
  }
  for (int i = 0; i < 105; ++i) {
    const float v = i % 7 == 1 ? 2.0f : 0.0f;
    old.append(reinterpret_cast<const char*>(&v), 4);
  }
  old.append("SVENDE", 6);
  old.append(24, '\0');
  CStadtVerwaltung older;
  EXPECT_EQ(Load(older, old, 170), 0);
  EXPECT_EQ(older.GetVarValue("SV.TAX.MWST"), 19.0);
  EXPECT_EQ(older.Forschung(0, 0, CStadtVerwaltung::kNeeded), 2.0);
}

}  // namespace
