// The crossing object of a junction: its "KR." variables, the change of the
// control kind with its cost, sound and refusal, the priority direction, the
// arm loads and its savegame record.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/zor_list.h"
#include "junction_scene.h"
#include "network/crossing_objects.h"
#include "network/str_ampel.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_welt.h"
#include "support/test_support.h"
#include "worldbase/zor_world_host.h"

namespace {

using junctiontest::BuildCrossing;
using junctiontest::World;
using zortest::ByteList;
using zortest::RecordFile;

// Prices and bookings as the game model would see them.
class BookingHost : public CWorldHost {
 public:
  double GetPreis(int entry, int cls) override { return cls == 0 ? 1000.0 * entry : -1.0; }
  void VarAddValue(const char* name, double value) override { booked.push_back({name, value}); }
  std::vector<std::pair<std::string, double>> booked;
  double Total() const {
    double sum = 0;
    for (const auto& b : booked) sum += b.second;
    return sum;
  }
};

struct Crossing : ::testing::Test {
  void SetUp() override {
    CWorldHost::Install(&host);
    BuildCrossing(w);
    k = w.At(10, 25);
    ASSERT_NE(k, nullptr);
    ASSERT_EQ(k->GetAnzLinkedStreets(), 4);
    obj = k->GetKreuzObject();
    ASSERT_NE(obj, nullptr);
  }
  void TearDown() override {
    CWorldHost::Install(nullptr);
    g_IsoRichtung = 0;
  }
  double Get(const char* name) {
    double v = -99;
    EXPECT_EQ(obj->GetVarData(name, &v), 0) << name;
    return v;
  }
  BookingHost host;
  World w;
  CStrJunction* k = nullptr;
  CKreuzObj* obj = nullptr;
};

TEST_F(Crossing, QuoteAndCycleStayWithinWhatTheWindowOffers) {
  EXPECT_EQ(Get("KR.AMPEL"), 0);
  EXPECT_EQ(Get("KR.AMPEL.TIME"), 60);
  EXPECT_FLOAT_EQ(Get("KR.AMPEL.QUOTE"), 0.5f);
  EXPECT_EQ(obj->SetVarData("KR.AMPEL.QUOTE", 0.9), 0);
  EXPECT_EQ(Get("KR.AMPEL.QUOTE"), static_cast<double>(0.85f));
  EXPECT_EQ(obj->SetVarData("KR.AMPEL.QUOTE", 0.1), 0);
  EXPECT_EQ(Get("KR.AMPEL.QUOTE"), static_cast<double>(0.2f));
  EXPECT_EQ(obj->SetVarData("KR.AMPEL.TIME", 90.7), 0);
  EXPECT_EQ(Get("KR.AMPEL.TIME"), 90);
  EXPECT_EQ(obj->SetVarData("KR.AMPEL.TIME", 5000.0), 0);
  EXPECT_EQ(Get("KR.AMPEL.TIME"), 120);
  float f = 0;
  EXPECT_EQ(obj->GetStep("KR.AMPEL.TIME", &f), 0);
  EXPECT_EQ(f, 10.0f);
  EXPECT_EQ(obj->GetVarMin("KR.AMPEL.TIME", &f), 0);
  EXPECT_EQ(f, 60.0f);
  EXPECT_EQ(obj->GetVarMax("KR.AMPEL.TIME", &f), 0);
  EXPECT_EQ(f, 120.0f);
  EXPECT_EQ(obj->GetVarMax("KR.AMPEL.QUOTE", &f), 0);
  EXPECT_EQ(f, 1.0f);
  EXPECT_EQ(obj->GetVarMin("KR.AMPEL.QUOTE", &f), 0);
  EXPECT_EQ(f, 0.0f);
  EXPECT_EQ(obj->GetStep("KR.AMPEL.QUOTE", &f), 1);
  // A name the crossing does not hold is left alone.
  double v = 7;
  EXPECT_EQ(obj->GetVarData("KR.AMPEL.NICHTS", &v), 1);
  EXPECT_EQ(v, 7);
  EXPECT_EQ(obj->SetVarData("KR.AMPEL.RVLSTATE", 1.0), 1);
  EXPECT_EQ(obj->GetVarData("KR.AMPEL.AUSLASTUNG.RELATIV", &v), 1);
}

TEST_F(Crossing, TheGreenPartsAddUpToTheCycle) {
  struct Case {
    float quote;
    int cycle;
    double vor, neben;
  } cases[] = {{0.5f, 60, 30, 30}, {0.33f, 60, 20, 40}, {0.85f, 70, 60, 10}, {0.25f, 90, 22, 68}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.quote);
    ASSERT_EQ(obj->SetVarData("KR.AMPEL.TIME", static_cast<double>(c.cycle)), 0);
    ASSERT_EQ(obj->SetVarData("KR.AMPEL.QUOTE", c.quote), 0);
    EXPECT_EQ(Get("KR.AMPEL.SVOR"), c.vor);
    EXPECT_EQ(Get("KR.AMPEL.SNEBEN"), c.neben);
  }
}

// The crossing as the demand model's editing hour holds it.
const CSimCrossing* SimCrossingOf(World& w, CStrJunction* k) {
  CSimTrafficSlot* slot = w.sim->EditingSlot();
  return slot ? slot->GetCrossing(static_cast<short>(k->GetSimID())) : nullptr;
}

TEST_F(Crossing, TheDemandModelTakesSignsAsAPriorityRoadAndLightsAsASignalWithTheirGreens) {
  const CSimCrossing* c = SimCrossingOf(w, k);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->CrossingType(), SIM_CROSSING_NONE);
  // Each kind from each other, the lights of every kind alike.
  struct Step {
    int kind;
    ESimCrossingType type;
  } steps[] = {{1, SIM_CROSSING_PRIORITY}, {2, SIM_CROSSING_SIGNAL}, {1, SIM_CROSSING_PRIORITY},
               {0, SIM_CROSSING_NONE},     {2, SIM_CROSSING_SIGNAL}, {3, SIM_CROSSING_SIGNAL},
               {0, SIM_CROSSING_NONE},     {1, SIM_CROSSING_PRIORITY}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.kind);
    ASSERT_EQ(obj->SetVarData("KR.AMPEL", s.kind), 0);
    EXPECT_EQ(c->CrossingType(), s.type);
    if (s.type == SIM_CROSSING_SIGNAL) {
      EXPECT_EQ(c->NW_GoTime(), Get("KR.AMPEL.SVOR"));
      EXPECT_EQ(c->NE_GoTime(), Get("KR.AMPEL.SNEBEN"));
    }
  }
  // The lights' greens follow the cycle and the quote as they change.
  ASSERT_EQ(obj->SetVarData("KR.AMPEL", 2), 0);
  ASSERT_EQ(obj->SetVarData("KR.AMPEL.TIME", 100.0), 0);
  ASSERT_EQ(obj->SetVarData("KR.AMPEL.QUOTE", 0.6), 0);
  EXPECT_EQ(c->CrossingType(), SIM_CROSSING_SIGNAL);
  EXPECT_EQ(c->NW_GoTime(), 60);
  EXPECT_EQ(c->NE_GoTime(), 40);
  ASSERT_EQ(obj->SetVarData("KR.AMPEL.QUOTE", 0.2), 0);
  EXPECT_EQ(c->NW_GoTime(), 20);
  EXPECT_EQ(c->NE_GoTime(), 80);
  // The next hour's network keeps them.
  ASSERT_NE(w.sim->StartNextIntervall(false), 0);
  c = SimCrossingOf(w, k);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->CrossingType(), SIM_CROSSING_SIGNAL);
  EXPECT_EQ(c->NW_GoTime(), 20);
  EXPECT_EQ(c->NE_GoTime(), 80);
}

TEST_F(Crossing, LightsCostOnceAndRunOnTheCrossingsSettings) {
  ASSERT_EQ(obj->SetVarData("KR.AMPEL.TIME", 80.0), 0);
  ASSERT_EQ(obj->SetVarData("KR.AMPEL.QUOTE", 0.4), 0);
  EXPECT_EQ(Get("KR.AMPEL.COST"), 11000);
  // Signs are free; the straight pair gets the priority.
  ASSERT_EQ(obj->SetVarData("KR.AMPEL", 1.0), 0);
  EXPECT_TRUE(k->HasVorfahrt());
  EXPECT_EQ(Get("KR.AMPEL.RVLSTATE"), 1);
  EXPECT_TRUE(host.booked.empty());
  EXPECT_STREQ(obj->GetSoundName(), "Ampel");
  EXPECT_EQ(obj->GetSoundPriority(), 1);
  EXPECT_EQ(obj->GetPriorityCode(), 1);
  // Signs to lights: the light price, once.
  ASSERT_EQ(obj->SetVarData("KR.AMPEL", 2.0), 0);
  EXPECT_TRUE(k->HasAmpel());
  ASSERT_EQ(host.booked.size(), 1u);
  EXPECT_EQ(host.booked[0].first, "F.EXPENSES.BUILDINFRASTRUCTURE");
  EXPECT_EQ(host.booked[0].second, 11000);
  ASSERT_NE(k->GetAmpelGroup(), nullptr);
  EXPECT_EQ(k->GetAmpelGroup()->GetCycleTime(), 8000);
  EXPECT_EQ(k->GetAmpelGroup()->GetShare(), 3200);
  // The same kind again changes nothing.
  ASSERT_EQ(obj->SetVarData("KR.AMPEL", 2.4), 0);
  EXPECT_EQ(host.booked.size(), 1u);
  // Public-transport priority costs its own price when switched on.
  ASSERT_EQ(obj->SetVarData("KR.AMPEL.OPNV", 1.0), 0);
  EXPECT_EQ(Get("KR.AMPEL.OPNV"), 1);
  ASSERT_EQ(host.booked.size(), 2u);
  EXPECT_EQ(host.booked[1].second, 12000);
  ASSERT_EQ(obj->SetVarData("KR.AMPEL.OPNV", 1.0), 0);
  EXPECT_EQ(host.booked.size(), 2u);
  // Lights back to signs: nothing booked, priority for buses off.
  ASSERT_EQ(obj->SetVarData("KR.AMPEL", 1.0), 0);
  EXPECT_TRUE(k->HasVorfahrt());
  EXPECT_EQ(host.booked.size(), 2u);
  EXPECT_STREQ(obj->GetSoundName(), "Wind");
  EXPECT_EQ(obj->GetSoundPriority(), 2);
  EXPECT_EQ(Get("KR.AMPEL.OPNV"), 0);
  ASSERT_EQ(obj->SetVarData("KR.AMPEL.OPNV", 1.0), 0);
  EXPECT_EQ(Get("KR.AMPEL.OPNV"), 0);
  // Right before left: no control, no priority code.
  ASSERT_EQ(obj->SetVarData("KR.AMPEL", 0.0), 0);
  EXPECT_EQ(k->GetAmpelType(), Ampel_Rvl);
  EXPECT_EQ(obj->GetPriorityCode(), 0);
  EXPECT_EQ(Get("KR.AMPEL.RVLSTATE"), 0);
  CStrStrasse* a = nullptr;
  CStrStrasse* b = nullptr;
  EXPECT_EQ(obj->GetPriorityStreets(&a, &b), 1);
  EXPECT_EQ(a, nullptr);
  // Straight to lights from nothing books the price again.
  ASSERT_EQ(obj->SetVarData("KR.AMPEL", 3.0), 0);
  EXPECT_EQ(host.Total(), 11000 + 12000 + 11000);
}

TEST_F(Crossing, AControlTheJunctionRefusesChangesNothingAndCostsNothing) {
  // A street's free end cannot take lights.
  CStrJunction* bend = w.At(10, 10);
  ASSERT_NE(bend, nullptr);
  ASSERT_EQ(bend->GetAnzLinkedStreets(), 1);
  CKreuzObj* o = bend->GetKreuzObject();
  ASSERT_NE(o, nullptr);
  const std::string sound = o->GetSoundName();
  EXPECT_NE(o->SetVarData("KR.AMPEL", 2.0), 0);
  EXPECT_EQ(o->GetAmpelType(), 0);
  EXPECT_EQ(bend->GetAmpelType(), Ampel_Rvl);
  EXPECT_EQ(bend->GetAmpelGroup(), nullptr);
  EXPECT_TRUE(host.booked.empty());
  EXPECT_EQ(o->GetSoundName(), sound);
  EXPECT_NE(o->SetVarData("KR.AMPEL", 1.0), 0);
  EXPECT_EQ(o->GetAmpelType(), 0);
  // A kind no crossing has is refused as well.
  EXPECT_EQ(obj->SetVarData("KR.AMPEL", 10.0), 1);
  EXPECT_EQ(obj->SetVarData("KR.AMPEL", -1.0), 1);
  EXPECT_EQ(obj->GetAmpelType(), 0);
  EXPECT_TRUE(host.booked.empty());
}

TEST_F(Crossing, ThePriorityDirectionSwapsThePairs) {
  ASSERT_EQ(obj->SetVarData("KR.AMPEL", 1.0), 0);
  CStrStrasse* p1 = nullptr;
  CStrStrasse* p2 = nullptr;
  CStrStrasse* n1 = nullptr;
  CStrStrasse* n2 = nullptr;
  ASSERT_EQ(obj->GetPriorityStreets(&p1, &p2), 0);
  ASSERT_EQ(obj->GetNonPriorityStreets(&n1, &n2), 0);
  ASSERT_NE(n2, nullptr);
  TIsoRichtung dir{};
  ASSERT_EQ(obj->GetPriorityRichtung(dir), 0);
  // Asking for the direction it has changes nothing.
  EXPECT_EQ(obj->SetPriorityRichtung(dir), 1);
  const TIsoRichtung other = static_cast<TIsoRichtung>(dir == 0 || dir == 2 ? 3 : 0);
  EXPECT_EQ(obj->SetPriorityRichtung(other), 0);
  CStrStrasse* q1 = nullptr;
  CStrStrasse* q2 = nullptr;
  obj->GetPriorityStreets(&q1, &q2);
  EXPECT_EQ(q1, n1);
  EXPECT_EQ(q2, n2);
  // The window's direction: 1 and 2 choose the two axes.
  for (double v : {1.0, 2.0}) {
    ASSERT_EQ(obj->SetVarData("KR.AMPEL.RICHTUNG", v), 0);
    EXPECT_EQ(Get("KR.AMPEL.RICHTUNG"), v);
    EXPECT_EQ(Get("KR.RICHTUNG.1"), v == 1.0 ? 2 : 1);
    EXPECT_EQ(Get("KR.RICHTUNG.2"), v == 1.0 ? 1 : 2);
  }
  TIsoRichtung d1{}, d2{};
  ASSERT_EQ(obj->SetVarData("KR.AMPEL.RICHTUNG", 1.0), 0);
  obj->GetPriorityRichtung(d1);
  ASSERT_EQ(obj->SetVarData("KR.AMPEL.RICHTUNG", 2.0), 0);
  obj->GetPriorityRichtung(d2);
  EXPECT_NE(d1 & 1, d2 & 1);
  // A turned view shows the other axis under the same value.
  g_IsoRichtung = 1;
  EXPECT_EQ(Get("KR.AMPEL.RICHTUNG"), 1);
}

TEST_F(Crossing, TheDirectionIsPutBackAfterALoadAndWhenTheLightsAreRebuilt) {
  ASSERT_EQ(obj->SetVarData("KR.AMPEL", 1.0), 0);
  CStrStrasse* p1 = nullptr;
  CStrStrasse* p2 = nullptr;
  CStrStrasse* n1 = nullptr;
  CStrStrasse* n2 = nullptr;
  obj->GetPriorityStreets(&p1, &p2);
  obj->GetNonPriorityStreets(&n1, &n2);
  TIsoRichtung before{};
  ASSERT_EQ(obj->GetPriorityRichtung(before), 0);
  // Code 1: rebuilt lights swap the pairs.
  ASSERT_EQ(obj->GetPriorityCode(), 1);
  ASSERT_EQ(obj->UpdateAmpelPos(), 0);
  CStrStrasse* q1 = nullptr;
  CStrStrasse* q2 = nullptr;
  obj->GetPriorityStreets(&q1, &q2);
  EXPECT_EQ(q1, n1);
  EXPECT_EQ(q2, n2);
  // After a load, code 1 puts the priority back on the x axis.
  ASSERT_EQ(obj->CheckAmpelRichtungAfterLoad(), 0);
  TIsoRichtung after{};
  ASSERT_EQ(obj->GetPriorityRichtung(after), 0);
  EXPECT_EQ(after & 1, 0);
  // Code 2 gives the y axis, and rebuilt lights keep it.
  ASSERT_EQ(obj->SetVarData("KR.AMPEL.RICHTUNG", 1.0), 0);
  ASSERT_EQ(obj->GetPriorityCode(), 2);
  ASSERT_EQ(obj->CheckAmpelRichtungAfterLoad(), 0);
  ASSERT_EQ(obj->GetPriorityRichtung(after), 0);
  EXPECT_EQ(after & 1, 1);
  obj->UpdateAmpelPos();
  ASSERT_EQ(obj->GetPriorityRichtung(after), 0);
  EXPECT_EQ(after & 1, 1);
}

TEST_F(Crossing, AtATJunctionTheDirectionFollowsTheMissingArm) {
  CStrJunction* t = w.At(10, 15);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->GetAnzLinkedStreets(), 3);
  CKreuzObj* o = t->GetKreuzObject();
  ASSERT_EQ(o->SetVarData("KR.AMPEL.RICHTUNG", 2.0), 0);
  EXPECT_EQ(o->GetAmpelType(), 1);
  const int e = t->GetEmgType();
  const int code = (e == 1 || e == 3) ? 1 : 2;
  EXPECT_EQ(o->GetPriorityCode(), code);
  for (int rot : {0, 1, 2, 3}) {
    SCOPED_TRACE(rot);
    g_IsoRichtung = rot;
    int shown = code == 1 ? 2 : 1;
    if (rot & 1) shown = shown == 1 ? 2 : 1;
    double v = -1;
    ASSERT_EQ(o->GetVarData("KR.AMPEL.RICHTUNG", &v), 0);
    EXPECT_EQ(v, shown + 3 * ((e + rot) % 4) + 3);
    const int et = (rot & 1) ? (e + 1) % 4 : e;
    ASSERT_EQ(o->GetVarData("KR.RICHTUNG.1", &v), 0);
    if (et == 1 || et == 3) EXPECT_EQ(v, 0);
    else EXPECT_NE(v, 0);
    ASSERT_EQ(o->GetVarData("KR.RICHTUNG.2", &v), 0);
    if (et == 0 || et == 2) EXPECT_EQ(v, 0);
    else EXPECT_NE(v, 0);
  }
}

TEST_F(Crossing, ADirectionChosenWithoutControlPutsUpSigns) {
  ASSERT_EQ(obj->SetVarData("KR.AMPEL.RICHTUNG", 1.0), 0);
  EXPECT_EQ(obj->GetAmpelType(), 1);
  EXPECT_TRUE(k->HasVorfahrt());
}

TEST_F(Crossing, TheArmTableIsFilledFromTheDemandModel) {
  int flow = -1, capacity = -1;
  EXPECT_EQ(obj->GetAuslastung(&flow, &capacity), 0);
  EXPECT_EQ(obj->GetArmCount(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(obj->GetArm(i).id, k->GetStreetByNR(i)->GetSimID()) << i;
  int sumCap = 0;
  for (int i = 0; i < 4; ++i) sumCap += obj->GetArm(i).capacity;
  EXPECT_EQ(capacity, (1 + sumCap) / 4);
  obj->ResetKreuzungAuslastung();
  EXPECT_EQ(obj->GetArmCount(), 0);
  for (int i = 0; i < 6; ++i) obj->SetAuslastung(static_cast<int16_t>(i + 1), 10 * (i + 1), 7);
  EXPECT_EQ(obj->GetArmCount(), 4);
  EXPECT_EQ(obj->GetArm(3).flow, 40);
  // The day's load starts the table afresh.
  EXPECT_GE(obj->GetAuslastung24(), 0.0);
  EXPECT_EQ(obj->GetArmCount(), 0);
  // Only arms a loaded record marked count towards the crossing's load.
  double v = -1;
  EXPECT_EQ(obj->GetVarData("KR.AMPEL.AUSLASTUNG", &v), 0);
  EXPECT_EQ(v, 0);
  // Without a junction nothing is refilled: one flow and no capacity.
  CKreuzObj lone;
  lone.Create();
  EXPECT_EQ(lone.GetAuslastung(&flow, &capacity), 0);
  EXPECT_EQ(flow, 1);
  EXPECT_EQ(capacity, 0);
  EXPECT_EQ(lone.GetSimID(), -1);
  EXPECT_EQ(lone.GetStreetType(), 0);
  EXPECT_EQ(lone.Render(nullptr, 0, 0, 0, 0, ISO_ZOOM_2), 1);
  EXPECT_EQ(lone.GetAuslastung24(), 0.0);
  EXPECT_EQ(obj->GetStreetType(), 1);
  EXPECT_EQ(obj->GetSimID(), k->GetSimID());
}

TEST_F(Crossing, TheLightsStayAfterTheViewTurns) {
  ASSERT_EQ(obj->SetVarData("KR.AMPEL", 2.0), 0);
  CAmpelGroup* group = k->GetAmpelGroup();
  ASSERT_NE(group, nullptr);
  g_IsoRichtung = 1;
  EXPECT_EQ(w.net->TurnMicroSim(), 0);
  EXPECT_TRUE(k->HasAmpel());
  EXPECT_EQ(k->GetAmpelGroup(), group);
  EXPECT_EQ(obj->GetAmpelType(), 2);
}

TEST_F(Crossing, ASecondLightOppositeTheFirstJoinsThePriorityPair) {
  CStrStrasse* a = nullptr;
  CStrStrasse* b = nullptr;
  k->GetFarSideStreets(&a, &b);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  CStrStrasse* side = nullptr;
  for (int i = 0; i < 4; ++i)
    if (k->GetStreetByNR(i) != a && k->GetStreetByNR(i) != b) side = k->GetStreetByNR(i);
  ASSERT_NE(side, nullptr);
  for (bool swapped : {false, true}) {
    SCOPED_TRACE(swapped);
    CStrStrasse* first = swapped ? b : a;
    CStrStrasse* second = swapped ? a : b;
    CAmpelGroup group(k);
    group.Create();
    ASSERT_EQ(group.Add(new CAmpel, first), 0);
    ASSERT_EQ(group.Add(new CAmpel, second), 0);
    EXPECT_EQ(group.GetLinkedStreetsNr(0), first);
    EXPECT_EQ(group.GetLinkedStreetsNr(1), second);
    ASSERT_EQ(group.Add(new CAmpel, side), 0);
    EXPECT_EQ(group.GetLinkedStreetsNr(2), side);
  }
  // A side street after the first leads: the first yields.
  CAmpelGroup group(k);
  group.Create();
  ASSERT_EQ(group.Add(new CAmpel, a), 0);
  ASSERT_EQ(group.Add(new CAmpel, side), 0);
  EXPECT_EQ(group.GetLinkedStreetsNr(0), side);
  EXPECT_EQ(group.GetLinkedStreetsNr(2), a);
}

// ---- the record

ByteList Store(CKreuzObj& o) {
  RecordFile f;
  EXPECT_EQ(o.SerializeGameStore(f.f()), 0);
  return f.Bytes();
}

int LoadInto(CKreuzObj& o, const ByteList& b) {
  RecordFile f(b);
  return o.SerializeGameLoad(f.f());
}

void Put32(ByteList& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

TEST_F(Crossing, TheRecordKeepsTheSettings) {
  ASSERT_EQ(obj->SetVarData("KR.AMPEL", 2.0), 0);
  ASSERT_EQ(obj->SetVarData("KR.AMPEL.TIME", 110.0), 0);
  ASSERT_EQ(obj->SetVarData("KR.AMPEL.QUOTE", 0.3), 0);
  ASSERT_EQ(obj->SetVarData("KR.AMPEL.OPNV", 1.0), 0);
  const ByteList b = Store(*obj);
  ASSERT_EQ(b.size(), static_cast<size_t>(CKreuzObj::kRecordSize));
  uint32_t id = 0;
  std::memcpy(&id, &b[92], 4);
  EXPECT_EQ(id, k->GetSimID());
  CKreuzObj copy;
  copy.Create();
  ASSERT_EQ(LoadInto(copy, b), 0);
  EXPECT_EQ(copy.GetAmpelType(), 2);
  EXPECT_EQ(copy.GetCycleTime(), 110);
  EXPECT_FLOAT_EQ(copy.GetAmpelQuote(), 0.3f);
  EXPECT_TRUE(copy.HasOpnvPriority());
  EXPECT_EQ(copy.GetPriorityCode(), obj->GetPriorityCode());
  EXPECT_STREQ(copy.GetSoundName(), "Ampel");
  EXPECT_EQ(Store(copy).size(), b.size());
  ByteList again = Store(copy);
  // Only the crossing id differs: the copy stands for no junction.
  for (size_t i = 0; i < 92; ++i) EXPECT_EQ(again[i], b[i]) << i;
}

TEST_F(Crossing, ALoadedRecordsMarkedArmsGiveTheCrossingsLoad) {
  ByteList b = Store(*obj);
  // Arms 0 and 2 marked: flows 300 and 100 of capacities 600 and 200.
  const uint32_t arms[4][3] = {{2, 300, 600}, {1, 999, 999}, {3, 100, 200}, {1, 5, 5}};
  for (size_t i = 0; i < 4; ++i) {
    Put32(b, 20 + 16 * i, arms[i][0]);
    Put32(b, 20 + 16 * i + 8, arms[i][1]);
    Put32(b, 20 + 16 * i + 12, arms[i][2]);
  }
  CKreuzObj o;
  o.Create();
  ASSERT_EQ(LoadInto(o, b), 0);
  double v = 0;
  ASSERT_EQ(o.GetVarData("KR.AMPEL.AUSLASTUNG", &v), 0);
  EXPECT_EQ(v, 400);
  ASSERT_EQ(o.GetVarData("KR.AMPEL.AUSLASTUNG.RELATIV", &v), 0);
  EXPECT_DOUBLE_EQ(v, 0.5);
}

TEST_F(Crossing, ImpossibleSettingsAreClampedOrRefused) {
  const ByteList good = Store(*obj);
  struct Case {
    const char* what;
    size_t at;
    uint32_t value;
    int result;
  } cases[] = {
      {"a cycle below the least", 16, 5, 0},     {"a negative cycle", 16, 0xFFFFFF00u, 0},
      {"a cycle above the most", 16, 100000, 0}, {"a quote of 3", 8, 0x40400000u, 0},
      {"a quote that is no number", 8, 0x7FC00000u, 0}, {"a negative quote", 8, 0xBF800000u, 0},
      {"a control kind of 12", 0, 12, 1},        {"a negative control kind", 0, 0xFFFFFFFFu, 1},
      {"nine arms", 84, 9, 0},                   {"a direction of 7", 88, 7, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ByteList b = good;
    Put32(b, c.at, c.value);
    CKreuzObj o;
    o.Create();
    ASSERT_EQ(LoadInto(o, b), c.result);
    if (c.result != 0) continue;
    EXPECT_GE(o.GetCycleTime(), 60);
    EXPECT_LE(o.GetCycleTime(), 120);
    EXPECT_GE(o.GetAmpelQuote(), 0.2f);
    EXPECT_LE(o.GetAmpelQuote(), 0.85f);
    EXPECT_LE(o.GetArmCount(), 4);
    EXPECT_GE(o.GetPriorityCode(), 0);
    EXPECT_LE(o.GetPriorityCode(), 2);
    // A clamped record gives lights with phases that are never negative.
    CAmpelGroup g(nullptr);
    g.Create(o.GetCycleTime(), o.GetAmpelQuote());
    auto* l = new CAmpel;
    ASSERT_EQ(g.Add(l, reinterpret_cast<CStrStrasse*>(&o)), 0);
    EXPECT_GE(l->GetRot(), 0);
    EXPECT_GE(l->GetGruen(), 0);
  }
  ByteList cut(good.begin(), good.begin() + 50);
  CKreuzObj o;
  o.Create();
  EXPECT_EQ(LoadInto(o, cut), 1);
  EXPECT_EQ(o.GetCycleTime(), 60);
}

TEST(CrossingRecord, TheNetworkKeepsEachCrossingsControlThroughASaveAndLoad) {
  ByteList bytes;
  unsigned short id = 0;
  uint16_t arm0 = 0;
  {
    World w;
    BuildCrossing(w);
    CStrJunction* k = w.At(10, 25);
    ASSERT_NE(k, nullptr);
    id = k->GetSimID();
    CKreuzObj* o = k->GetKreuzObject();
    ASSERT_EQ(o->SetVarData("KR.AMPEL", 2.0), 0);
    ASSERT_EQ(o->SetVarData("KR.AMPEL.TIME", 100.0), 0);
    ASSERT_EQ(o->SetVarData("KR.AMPEL.QUOTE", 0.6), 0);
    CStrJunction* t = w.At(10, 15);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->GetKreuzObject()->SetVarData("KR.AMPEL", 1.0), 0);
    int flow = 0, capacity = 0;
    o->GetAuslastung(&flow, &capacity);
    ASSERT_EQ(o->GetArmCount(), 4);
    arm0 = o->GetArm(0).id;
    ASSERT_NE(arm0, 0);
    RecordFile f;
    ASSERT_EQ(w.net->SerializeGameStore(f.f()), 0);
    bytes = f.Bytes();
  }
  World w;
  RecordFile f(bytes);
  g_ZorLoadVersion = 240;
  const int loaded = w.net->SerializeGameLoad(f.f());
  g_ZorLoadVersion = 0;
  ASSERT_EQ(loaded, 0);
  CStrJunction* k = w.At(10, 25);
  ASSERT_NE(k, nullptr);
  EXPECT_EQ(k->GetSimID(), id);
  CKreuzObj* o = k->GetKreuzObject();
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(o->GetAmpelType(), 2);
  EXPECT_EQ(o->GetCycleTime(), 100);
  EXPECT_FLOAT_EQ(o->GetAmpelQuote(), 0.6f);
  EXPECT_EQ(o->GetArmCount(), 4);
  EXPECT_EQ(o->GetArm(0).id, arm0);
  EXPECT_TRUE(k->HasAmpel());
  ASSERT_NE(k->GetAmpelGroup(), nullptr);
  EXPECT_EQ(k->GetAmpelGroup()->GetCycleTime(), 10000);
  // The demand model's network is rebuilt without the control; the check
  // after the load gives it back, and the signs' crossing its priority road.
  const CSimCrossing* c = SimCrossingOf(w, k);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(o->CheckAmpelRichtungAfterLoad(), 0);
  EXPECT_EQ(c->CrossingType(), SIM_CROSSING_SIGNAL);
  EXPECT_EQ(c->NW_GoTime(), 60);
  EXPECT_EQ(c->NE_GoTime(), 40);
  CStrJunction* signs = w.At(10, 15);
  ASSERT_NE(signs, nullptr);
  ASSERT_NE(signs->GetKreuzObject(), nullptr);
  EXPECT_EQ(signs->GetKreuzObject()->GetAmpelType(), 1);
  EXPECT_EQ(signs->GetKreuzObject()->CheckAmpelRichtungAfterLoad(), 0);
  EXPECT_EQ(SimCrossingOf(w, signs)->CrossingType(), SIM_CROSSING_PRIORITY);
}

}  // namespace
