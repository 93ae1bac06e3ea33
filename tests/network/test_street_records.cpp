#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "street_scene.h"
#include "support/test_support.h"

using streettest::Pieces;
using streettest::StreetScene;
using P = std::array<int, 4>;

namespace {

std::vector<unsigned char> Contents(std::FILE* f) {
  std::vector<unsigned char> bytes;
  std::rewind(f);
  int c;
  while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<unsigned char>(c));
  return bytes;
}

std::FILE* FileOf(const std::vector<unsigned char>& bytes) {
  std::FILE* f = std::tmpfile();
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::rewind(f);
  return f;
}

}  // namespace

struct StreetRecord : StreetScene {
  void SetUp() override {
    StreetScene::SetUp();
    a = Junction(10, 10);
    b = Junction(14, 6);
    CStrStrasse* s = Street(a, b, STRASSE_2, {{14, 10}});
    a->LinkStreet(s);
    b->LinkStreet(s);
    ASSERT_EQ(s->InsertIntoSimWelt(), 0);
    s->SetCapacity(700);
    s->SetVelocity(8.0);
    // The backward direction goes its own speed in the simulation.
    sim.SetStreetVelocity(s->GetSimIDSecond(), 17.0);
    s->UpdateCarFlow24(5);
    fwd = s->GetSimID();
    bwd = s->GetSimIDSecond();
    std::FILE* f = std::tmpfile();
    ASSERT_EQ(s->SerializeGameStore(f), 0);
    record = Contents(f);
    std::fclose(f);
    // The street goes again; loading brings it back.
    s->RemoveFromSimWelt();
    a->UnLinkStreet(s);
    b->UnLinkStreet(s);
    Forget(s);
    s->Destroy();
    delete s;
    FreshSim({a, b});
  }
  // A demand simulation as a loaded game starts with: the junctions'
  // crossings and no streets.
  void FreshSim(std::vector<CStrJunction*> junctions) {
    loadSim.reset();
    loadSim = std::make_unique<streettest::TestSim>(&loadParts);
    ASSERT_TRUE(loadSim->Create(nullptr));
    for (CStrJunction* j : junctions) ASSERT_EQ(loadSim->AddCrossing(static_cast<short>(j->GetSimID())), j->GetSimID());
  }
  CSimStreet* Loaded(short id) { return loadSim->GetStreet(id, 0); }
  void TearDown() override {
    // The loaded streets go while their simulation lives.
    for (CStrStrasse* s : streets) s->SetJunctions(nullptr, nullptr);
    for (CZorvaObject* o = net->GetHead(); o; o = o->GetNext()) {
      auto* j = static_cast<CStrJunction*>(o);
      while (j->GetAnzLinkedStreets() > 0) j->UnLinkStreet(j->GetStreetByNR(0));
    }
    for (CStrStrasse* s : streets) {
      s->Destroy();
      delete s;
    }
    streets.clear();
    StreetScene::TearDown();
    loadSim.reset();
  }
  // Loads the bytes into a new street; the street is kept when it loaded.
  int Load(const std::vector<unsigned char>& bytes, CStrStrasse** out = nullptr) {
    std::FILE* f = FileOf(bytes);
    auto* s = new CStrStrasse(map, loadSim.get());
    s->Create();
    const int r = s->SerializeGameLoad(f);
    std::fclose(f);
    EXPECT_EQ(CStrStrasse::m_InLoadFile, 0);
    if (r == 0) {
      streets.push_back(s);
      if (out) *out = s;
    } else {
      s->Destroy();
      delete s;
    }
    return r;
  }
  CStrJunction* a = nullptr;
  CStrJunction* b = nullptr;
  short fwd = 0, bwd = 0;
  std::vector<unsigned char> record;
  simtest::TestParts loadParts;
  std::unique_ptr<streettest::TestSim> loadSim;
};

TEST_F(StreetRecord, AStreetComesBackLinkedDrawnAndRegisteredWithItsSpeedsPerDirection) {
  ASSERT_GT(record.size(), static_cast<size_t>(CStrStrasse::kRecordSize));
  int16_t storedCapacity = 0;
  std::memcpy(&storedCapacity, &record[4], 2);
  EXPECT_EQ(storedCapacity, 700);
  CStrStrasse* s = nullptr;
  ASSERT_EQ(Load(record, &s), 0);
  EXPECT_EQ(Pieces(s), (std::vector<P>{{10, 10, 14, 10}, {14, 10, 14, 6}}));
  EXPECT_EQ(s->GetStreetType(), STRASSE_2);
  EXPECT_EQ(s->GetStartJunction(), a);
  EXPECT_EQ(s->GetEndJunction(), b);
  // Only the end junction links the street; the start junction's loader stores it.
  EXPECT_EQ(b->GetAnzLinkedStreets(), 1);
  EXPECT_EQ(a->GetAnzLinkedStreets(), 0);
  EXPECT_EQ(s->GetSimID(), fwd);
  EXPECT_EQ(s->GetSimIDSecond(), bwd);
  ASSERT_NE(Loaded(fwd), nullptr);
  ASSERT_NE(Loaded(bwd), nullptr);
  EXPECT_EQ(Loaded(fwd)->Capacity(), 700);
  EXPECT_DOUBLE_EQ(Loaded(fwd)->Velocity(), 8.0);
  EXPECT_DOUBLE_EQ(Loaded(bwd)->Velocity(), 17.0);
  EXPECT_EQ(ObjectAt(12, 10), s->GetWorldObj());
  EXPECT_EQ(ObjectAt(14, 8), s->GetWorldObj());
  EXPECT_EQ(s->GetLaenge(), 700);

  // A street already read is not read again.
  std::FILE* again = FileOf(record);
  EXPECT_EQ(s->SerializeGameLoad(again), 1);
  std::fclose(again);
  EXPECT_EQ(Pieces(s).size(), 2u);
  EXPECT_EQ(b->GetAnzLinkedStreets(), 1);

  // Written again, the record is the same bytes.
  std::FILE* f = std::tmpfile();
  ASSERT_EQ(s->SerializeGameStore(f), 0);
  EXPECT_EQ(Contents(f), record);
  std::fclose(f);
}

TEST_F(StreetRecord, EachDirectionTakesItsOwnCapacity) {
  std::vector<unsigned char> changed = record;
  const int16_t backward = 650;
  std::memcpy(&changed[6], &backward, 2);
  CStrStrasse* s = nullptr;
  ASSERT_EQ(Load(changed, &s), 0);
  EXPECT_EQ(Loaded(fwd)->Capacity(), 700);
  EXPECT_EQ(Loaded(bwd)->Capacity(), 650);
  EXPECT_EQ(s->GetCapacitySecond(), 650);
}

// A saved capacity holds however small; none saved (0) gives the street
// its type's, in each direction on its own.
TEST_F(StreetRecord, ACapacityOfOneHoldsAndNoneSavedTakesTheTypes) {
  for (const auto& [forward, backward] : {std::pair<int16_t, int16_t>{0, 1}, std::pair<int16_t, int16_t>{1, 0}}) {
    SCOPED_TRACE(testing::Message() << forward << " / " << backward);
    std::vector<unsigned char> changed = record;
    std::memcpy(&changed[4], &forward, 2);
    std::memcpy(&changed[6], &backward, 2);
    CStrStrasse* s = nullptr;
    ASSERT_EQ(Load(changed, &s), 0);
    const int fallback = s->DefaultCapacity();
    ASSERT_GT(fallback, 1);
    ASSERT_NE(Loaded(fwd), nullptr);
    ASSERT_NE(Loaded(bwd), nullptr);
    EXPECT_EQ(Loaded(fwd)->Capacity(), forward > 0 ? forward : fallback);
    EXPECT_EQ(Loaded(bwd)->Capacity(), backward > 0 ? backward : fallback);
    // The loaded street goes again, and the next loads into a new game.
    b->UnLinkStreet(s);
    s->SetJunctions(nullptr, nullptr);
    streets.clear();
    s->Destroy();
    delete s;
    FreshSim({a, b});
  }
}

TEST_F(StreetRecord, TheDaysFlowsComeBackAndAreAveraged) {
  std::vector<unsigned char> changed = record;
  const int16_t now = 48, hour5 = 240, hour5Back = 72;
  std::memcpy(&changed[0], &now, 2);
  std::memcpy(&changed[22 + 5 * 4], &hour5, 2);
  std::memcpy(&changed[22 + 5 * 4 + 2], &hour5Back, 2);
  CStrStrasse* s = nullptr;
  ASSERT_EQ(Load(changed, &s), 0);
  EXPECT_EQ(s->GetAuslastung(), 48);
  double flow = 0;
  EXPECT_EQ(s->GetWorldObj()->GetVarData("ST.FLOW.1", &flow), 0);
  EXPECT_EQ(flow, 48);
  EXPECT_EQ(s->GetWorldObj()->GetVarData("ST.FLOW.2", &flow), 0);
  EXPECT_EQ(flow, 0);
  EXPECT_EQ(s->GetAuslastung24(5), 240);
  EXPECT_EQ(s->GetAuslastung24Second(5), 72);
  EXPECT_EQ(s->GetAuslastung24(), 10);
  EXPECT_EQ(s->GetAuslastung24Second(), 3);
  // The hour's flow leans on the hour before: 0.6 x 48 + 0.4 x 240.
  EXPECT_EQ(s->UpdateCarFlow24(6), 0);
  EXPECT_EQ(s->GetAuslastung24(6), 124);
  EXPECT_EQ(s->GetAuslastung(), 124);
  short mean = 0;
  EXPECT_EQ(s->GetWorldObj()->GetAuslastung24(mean), 0);
  EXPECT_EQ(mean, (240 + 124) / 24);
}

TEST_F(StreetRecord, CutRecordsAreRefusedWithoutLinksOrRegistrations) {
  for (size_t keep : {size_t{0}, size_t{20}, size_t{CStrStrasse::kRecordSize - 1}, size_t{CStrStrasse::kRecordSize + 3},
                      record.size() - 1}) {
    std::vector<unsigned char> cut(record.begin(), record.begin() + static_cast<long>(keep));
    EXPECT_NE(Load(cut), 0) << keep;
    EXPECT_EQ(b->GetAnzLinkedStreets(), 0) << keep;
    EXPECT_EQ(Loaded(fwd), nullptr) << keep;
    EXPECT_EQ(Loaded(bwd), nullptr) << keep;
    EXPECT_EQ(GroundAt(12, 10), OBJ_NONE) << keep;
  }
}

TEST_F(StreetRecord, RecordsNamingUnknownCrossingsOrTypesAreRefused) {
  std::vector<unsigned char> strange = record;
  strange[136] = 0x77;  // end crossing id
  EXPECT_NE(Load(strange), 0);
  EXPECT_EQ(b->GetAnzLinkedStreets(), 0);
  EXPECT_NE(zortest::ReadFile("errors.log").find("not both in the network"), std::string::npos);
  strange = record;
  strange[134] = 0x77;  // start crossing id
  EXPECT_NE(Load(strange), 0);
  strange = record;
  strange[16] = 7;  // no street type
  EXPECT_NE(Load(strange), 0);
  strange = record;
  strange[20] = 2;  // bus lane flag
  EXPECT_NE(Load(strange), 0);
  EXPECT_EQ(b->GetAnzLinkedStreets(), 0);
  EXPECT_EQ(Loaded(fwd), nullptr);
  // The untouched record still loads.
  EXPECT_EQ(Load(record), 0);
}

TEST_F(StreetRecord, AOneWayStreetIsLoadedInOneDirectionOnly) {
  CStrJunction* c = Junction(30, 30);
  CStrJunction* d = Junction(35, 30);
  CStrStrasse* s = Street(c, d, STRASSE_EINBAHN);
  ASSERT_EQ(s->InsertIntoSimWelt(), 0);
  const short id = s->GetSimID();
  std::FILE* f = std::tmpfile();
  ASSERT_EQ(s->SerializeGameStore(f), 0);
  const std::vector<unsigned char> oneWay = Contents(f);
  std::fclose(f);
  FreshSim({a, b, c, d});
  std::vector<unsigned char> withFlow = oneWay;
  withFlow[2] = 5;  // a backward flow that a one-way street cannot have
  CStrStrasse* t = nullptr;
  ASSERT_EQ(Load(withFlow, &t), 0);
  EXPECT_EQ(t->GetAuslastungSecond(), 5);
  EXPECT_EQ(t->UpdateCarFlow(), 0);
  EXPECT_EQ(t->GetAuslastungSecond(), 0);
  EXPECT_EQ(t->GetCapacitySecond(), 0);
  EXPECT_EQ(loadSim->addCalls, 1);
  EXPECT_EQ(t->GetSimID(), id);
  EXPECT_EQ(t->GetSimIDSecond(), 0);
  EXPECT_NE(Loaded(id), nullptr);
  EXPECT_EQ(t->GetStreetType(), STRASSE_EINBAHN);
}

TEST_F(StreetRecord, AStreetWithTrafficGuidanceIsStoredWithItsFlagAndLoadsWithIt) {
  CStrJunction* c = Junction(30, 30);
  CStrJunction* d = Junction(40, 30);
  CStrStrasse* s = Street(c, d, STRASSE_2);
  c->LinkStreet(s);
  d->LinkStreet(s);
  ASSERT_EQ(s->InsertIntoSimWelt(), 0);
  s->InsertIntoIsoWelt();
  std::FILE* f = std::tmpfile();
  ASSERT_EQ(s->SerializeGameStore(f), 0);
  const std::vector<unsigned char> off = Contents(f);
  std::fclose(f);
  ASSERT_TRUE(s->SetVLS(true, true));
  f = std::tmpfile();
  ASSERT_EQ(s->SerializeGameStore(f), 0);
  const std::vector<unsigned char> on = Contents(f);
  std::fclose(f);
  ASSERT_EQ(on.size(), off.size());
  int changed = 0;
  for (size_t i = 0; i < on.size(); ++i)
    if (on[i] != off[i]) {
      ++changed;
      EXPECT_EQ(off[i], 0) << i;
      EXPECT_EQ(on[i], 1) << i;
    }
  EXPECT_EQ(changed, 1);
  ASSERT_TRUE(s->SetVLS(false, true));
  s->RemoveFromIsoWelt(false);
  s->RemoveFromSimWelt();
  c->UnLinkStreet(s);
  d->UnLinkStreet(s);
  FreshSim({a, b, c, d});
  CStrStrasse* t = nullptr;
  ASSERT_EQ(Load(on, &t), 0);
  EXPECT_TRUE(t->HasVLS());
}
