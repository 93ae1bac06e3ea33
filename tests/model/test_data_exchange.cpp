#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <string>

#include "cybernet/cyber_net.h"
#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "model/data_exchange.h"
#include "model_test_util.h"
#include "support/test_support.h"

using modeltest::TableOwner;

namespace {
std::unique_ptr<CCyberNet> SmallNet() {
  auto net = std::make_unique<CCyberNet>();
  net->InsertStandardTemplates();
  zortest::WriteFile("net.def",
                     "NodeBegin BasicNode Name E9 Value 0.25 MinSize 0 MaxSize 4 NodeEnd\n"
                     "NodeBegin BasicNode Name M4 Value 0.5 MinSize -10 MaxSize 10 NodeEnd\n"
                     "NodeBegin BasicNode Name K12.2 Value 0 MinSize 0 MaxSize 20 NodeEnd\n"
                     "NodeBegin BasicNode Name K12.3 Value 0 MinSize 0 MaxSize 20 NodeEnd\n"
                     "NodeBegin BasicNode Name M6 Value 0.3 MinSize 1.5 MaxSize 3.5 NodeEnd\n");
  FILE* f = std::fopen("net.def", "r");
  net->Read(f);
  std::fclose(f);
  return net;
}
}  // namespace

TEST(DataExchange, RoutesNamesByPrefixInOrder) {
  CDataExchange dx;
  TableOwner parkRide("PR."), parking("PRM."), pta("PTA.");
  EXPECT_EQ(dx.RegisterOwner("PR.", &parkRide), 0);
  EXPECT_EQ(dx.RegisterOwner("PRM.", &parking), 0);
  EXPECT_EQ(dx.RegisterOwner("PTA.", &pta), 0);
  EXPECT_EQ(dx.RegisterOwner("XYZ.", &pta), 1);

  EXPECT_EQ(dx.GetVarValue("PRM.PLACES"), 120.0);
  dx.SetVarValue("PRM.PLACES", 300);
  EXPECT_EQ(parking.Value("PRM.PLACES"), 300.0);
  EXPECT_EQ(parkRide.Value("PR.PLACES"), 120.0);
  EXPECT_EQ(dx.GetObjectByName("PRM.PLACES"), &parking);
  EXPECT_EQ(dx.GetObjectByName("PR.PLACES"), &parkRide);
  EXPECT_EQ(dx.GetObjectByName("DX.ANY"), &dx);

  dx.VarAddValue("PTA.COUNT", 5);
  EXPECT_EQ(pta.Value("PTA.COUNT"), 34.0);
  EXPECT_EQ(dx.DoVar(EX_SUB, "PTA.COUNT", 4), 4.0);
  EXPECT_EQ(pta.Value("PTA.COUNT"), 30.0);
  EXPECT_EQ(dx.DoVar(EX_MAX, "PTA.PRICE", 0), 4.0);
  EXPECT_EQ(dx.DoVar(EX_STEP, "PTA.PRICE", 0), 0.25);
  EXPECT_EQ(dx.DoVar(static_cast<ExType>(5), "PTA.PRICE", 7), 0.0);

  // Unknown names read 0 and say so through the owner interface.
  double v = -1;
  EXPECT_EQ(dx.GetVarData("PTA.UNKNOWN", &v), 1);
  EXPECT_EQ(v, 0.0);
  EXPECT_EQ(dx.GetVarData("OPNV.PRICE", &v), 1);  // owner not built
  EXPECT_EQ(dx.SetVarData("NOPREFIX", 1), 1);
  EXPECT_EQ(dx.GetVarData("PTA.PRICE", &v), 0);
  EXPECT_EQ(v, 1.5);

  CVar bound;
  EXPECT_EQ(dx.GetWorldVars("PR.PRICE", &bound), 0);
  EXPECT_EQ(bound.GetZorvaObject(), &parkRide);
  dx.RegisterOwner("PR.", nullptr);
  CVar unbound;
  EXPECT_EQ(dx.GetWorldVars("PR.PRICE", &unbound), 1);
}

TEST(DataExchange, GlobalsAreReadAndWrittenThemselves) {
  CDataExchange dx;
  CVar* global = new CVar;
  global->Create(VAR_DOUBLE, "LEVEL", 3.0);
  dx.AddVarHead(global);
  EXPECT_EQ(global->GetInListNumber(), 1);
  EXPECT_EQ(dx.GetVarValue("DX.LEVEL"), 3.0);
  dx.SetVarValue("DX.LEVEL", 4.5);
  EXPECT_EQ(dx.GetVarValue("DX.LEVEL"), 4.5);
  dx.VarAddValue("DX.LEVEL", 1);
  EXPECT_EQ(dx.GetVarValue("DX.LEVEL"), 5.5);
  double v = -1;
  EXPECT_EQ(dx.GetVarData("DX.MISSING", &v), 1);
  EXPECT_EQ(v, 0.0);

  CVar copy;
  EXPECT_EQ(dx.GetWorldVars("DX.LEVEL", &copy), 0);
  copy.GetValue(&v);
  EXPECT_EQ(v, 5.5);
  EXPECT_EQ(dx.GetWorldVars("DX.MISSING", &copy), 1);

  EXPECT_EQ(dx.DestroyVar(global), 0);
  EXPECT_EQ(dx.GetVarByName("LEVEL"), nullptr);
  EXPECT_EQ(dx.RemoveVar(&copy), 1);
}

TEST(DataExchange, NetworkNamesReadSizesAndSetOnlyActiveNodes) {
  OpenErrorLog("errors.log");
  CDataExchange dx;
  EXPECT_EQ(dx.GetVarValue("W.M6"), 0.0);  // no network yet
  auto net = SmallNet();
  dx.SetCyberNet(net.get());
  EXPECT_EQ(dx.GetVarValue("W."), 0.0);
  EXPECT_EQ(dx.GetVarValue("W.M6"), static_cast<double>(2.1f));
  EXPECT_EQ(dx.DoVar(EX_MAX, "W.E9", 0), 4.0);
  EXPECT_EQ(dx.DoVar(EX_MIN, "W.M4", 0), -10.0);
  dx.SetVarValue("W.E9", 3.0);
  EXPECT_EQ(net->pNode("E9")->Value(), 0.75);
  net->pNode("E9")->SetActive(false);
  dx.SetVarValue("W.E9", 1.0);
  EXPECT_EQ(net->pNode("E9")->Value(), 0.75);
  dx.VarAddValue("W.E9", 1.0);
  EXPECT_EQ(net->pNode("E9")->Value(), 0.75);
  double v = 0;
  EXPECT_EQ(dx.GetVarData("W.NOPE", &v), 1);
  dx.DoVar(EX_GET, nullptr, 0);
  CloseErrorLog();
  EXPECT_EQ(zortest::ReadFile("errors.log"),
            "CDataExchange::DoVar() cyber == NULL\n"
            "CDataExchange::DoVar() ungültige Operation\n"
            "CDataExchange::DoVar() Cybernode NOPE nicht gefunden\n"
            "CDataExchange::DoVar() name == NULL\n");
}

TEST(DataExchange, SharesFollowTheirCounts) {
  CDataExchange dx;
  dx.SetTeleWorker(10);
  EXPECT_EQ(dx.GetQuoteTeleworking(), 0.0f);  // no workers
  dx.SetH2Car(5);
  EXPECT_EQ(dx.GetQuoteH2Car(), 0.0f);  // no motor vehicles

  auto net = SmallNet();
  dx.SetCyberNet(net.get());
  dx.SetVarValue("W.K12.2", 4);
  dx.SetVarValue("W.K12.3", 1);
  EXPECT_FLOAT_EQ(dx.GetQuoteMicroCar(), 0.05f);
  EXPECT_FLOAT_EQ(dx.GetQuotePkw(), 0.95f);
  EXPECT_EQ(dx.GetPkw(), 0);
  EXPECT_FLOAT_EQ(dx.GetBesetzungsGradPkw(), 1.3f);
  EXPECT_EQ(dx.GetDumpCounter(), 100);
}

TEST(DataExchange, SavegameRecordRoundTripsAndOldBlocksStayInside) {
  zortest::Clock().Set(5000);
  CDataExchange dx;
  dx.SetTargetPeople(17000);
  dx.SetMicrocar(42);
  dx.SetQuoteMicrocar(0.25f);
  dx.SetMicrocarLastChangeMessage(1);
  FILE* f = std::fopen("dx.bin", "wb");
  ASSERT_EQ(dx.SerializeGameStore(f), 0);
  std::fclose(f);
  const std::string bytes = zortest::ReadFile("dx.bin");
  ASSERT_EQ(bytes.size(), 4u + 30u + 204u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 234);
  EXPECT_EQ(bytes.substr(4, 13), std::string("DATAEXCHANGE\0", 13));

  zortest::Clock().Set(9000);
  CDataExchange loaded;
  f = std::fopen("dx.bin", "rb");
  std::fseek(f, 34, SEEK_SET);
  ASSERT_EQ(loaded.SerializeGameLoad(f, 234, 200), 0);
  std::fclose(f);
  EXPECT_EQ(loaded.GetTargetPeople(), 17000);
  EXPECT_EQ(loaded.GetMicrocar(), 42);
  EXPECT_EQ(loaded.GetMicrocarLastChangeMessage(), 9000);  // message pacing restarts
  EXPECT_EQ(loaded.GetQuoteMicrocarLastMessage(), 0.25f);

  // An old savegame: only the stated bytes belong to the block; a length
  // beyond the block is skipped, not written past it.
  std::string old(300, '\0');
  old[60] = 0x10;  // target people 16 in the first bytes
  old[299] = 0x7;
  zortest::WriteFile("old.bin", old + "after");
  CDataExchange fromOld;
  f = std::fopen("old.bin", "rb");
  ASSERT_EQ(fromOld.SerializeGameLoad(f, 300, 150), 0);
  char next[6] = {};
  EXPECT_EQ(std::fread(next, 1, 5, f), 5u);
  std::fclose(f);
  EXPECT_STREQ(next, "after");
  EXPECT_EQ(fromOld.GetTargetPeople(), 16);

  CDataExchange shortOld;
  shortOld.SetBerater(1);
  f = std::fopen("old.bin", "rb");
  ASSERT_EQ(shortOld.SerializeGameLoad(f, 20, 150), 0);  // a block that ends before the counts
  std::fclose(f);
  EXPECT_EQ(shortOld.Block().berater, 1);
  EXPECT_FLOAT_EQ(shortOld.GetBesetzungsGradPkw(), 1.3f);

  zortest::WriteFile("cut.bin", std::string(50, '\0'));
  f = std::fopen("cut.bin", "rb");
  CDataExchange cut;
  cut.SetTargetPeople(5);
  EXPECT_EQ(cut.SerializeGameLoad(f, 234, 200), 1);
  std::fclose(f);
  EXPECT_EQ(cut.GetTargetPeople(), 5);  // a failed read changes nothing
}

namespace {
// The data exchange with the small network and a car-sharing owner.
struct CarMixScene {
  CarMixScene() {
    dx.SetCyberNet(net.get());
    dx.RegisterOwner("CS.", &carsharing);
  }
  CDataExchange dx;
  std::unique_ptr<CCyberNet> net = SmallNet();
  TableOwner carsharing{"CS."};
};
}  // namespace

TEST(DataExchange, VisibleCarsFollowTheShares) {
  CarMixScene scene;
  CDataExchange& dx = scene.dx;
  auto& net = scene.net;

  // No delivery traffic, no other shares: every car is a plain car.
  for (int i = 0; i < 200; ++i) ASSERT_EQ(dx.GetNextCarType(), 0);

  // M4 = 10 leaves T = 900 of 1000 draws to private vehicles: with 20 %
  // microcars, cars take 0..720 and microcars up to 900; car sharing has
  // no user quote row here (0) and the rest are delivery vehicles.
  net->pNode("M4")->SetSize(10);
  dx.SetVarValue("W.K12.2", 20);
  int kinds[6] = {};
  for (int i = 0; i < 4000; ++i) ++kinds[dx.GetNextCarType()];
  EXPECT_NEAR(kinds[0] / 4000.0, 0.72, 0.03);
  EXPECT_NEAR(kinds[1] / 4000.0, 0.18, 0.03);
  EXPECT_EQ(kinds[2] + kinds[3] + kinds[4], 0);
  EXPECT_NEAR(kinds[5] / 4000.0, 0.10, 0.03);

  SCarResID pic{};
  EXPECT_EQ(dx.GetNextCarResID(6, &pic), 0);
  EXPECT_EQ(dx.GetNextCarResID(-1, &pic), 0);
  EXPECT_EQ(dx.GetNextCarResID(2, &pic), 43711);
  EXPECT_EQ(pic.sprite, 16);
  EXPECT_EQ(pic.sizeClass, 1);
  const int delivery = dx.GetNextCarResID(5, &pic);
  EXPECT_TRUE(delivery == 40501 || delivery == 40080 || delivery == 40364 || delivery == 41135);
  EXPECT_EQ(pic.offsets[1], -10);
  EXPECT_EQ(pic.sizeClass, 2);
  EXPECT_NE(dx.GetNextCarResID(0, &pic), 0);
  EXPECT_EQ(pic.sizeClass, 0);
}

TEST(DataExchange, CarMixIsReadOnceATurnAndFollowsChanges) {
  CarMixScene scene;
  CDataExchange& dx = scene.dx;
  auto& net = scene.net;
  net->pNode("M4")->SetSize(10);
  net->pNode("K12.2")->SetSize(20);

  // Read once a turn or for every car, the same draws give the same kinds.
  // The cars are made for the view: they draw from the view's sequence and
  // leave the city's sequence and the block's microcar quote as they were.
  auto kinds = [&](uint32_t turn) {
    dx.SetQuoteMicrocar(0.05f);
    zor_srandom(99);
    const uint64_t city = zor_random_state();
    std::string seen;
    for (int i = 0; i < 600; ++i) seen += static_cast<char>('0' + dx.GetNextCarType(turn));
    EXPECT_EQ(zor_random_state(), city);
    EXPECT_FLOAT_EQ(dx.Block().quoteMicrocar, 0.05f);
    return seen;
  };
  const std::string fresh = kinds(0);
  EXPECT_EQ(kinds(3), fresh);
  EXPECT_NE(fresh.find('5'), std::string::npos);
  EXPECT_FLOAT_EQ(dx.GetQuoteMicroCar(), 0.2f);

  auto deliveries = [&](uint32_t turn) {
    int n = 0;
    for (int i = 0; i < 2000; ++i) n += dx.GetNextCarType(turn) == 5 ? 1 : 0;
    return n;
  };
  // M4 = 10 leaves a tenth of the cars to delivery; M4 = -10 none (cars
  // and microcars take 1100 of 1000 draws).
  EXPECT_GT(deliveries(4), 100);
  net->pNode("M4")->SetSize(-10);
  EXPECT_GT(deliveries(4), 100);  // the network changed within the turn
  EXPECT_EQ(deliveries(5), 0);    // the next turn reads it
  dx.SetVarValue("W.M4", 10);     // a change through the data exchange counts at once
  EXPECT_GT(deliveries(5), 100);
  net->pNode("M4")->SetSize(-10);
  dx.RegisterOwner("CS.", &scene.carsharing);  // a new owner of a prefix counts as a change
  EXPECT_EQ(deliveries(5), 0);
}

namespace {
struct GrowthSpy : CGrowthContext {
  void CityJobs(int* j, int* w) override {
    *j = jobs;
    *w = workers;
  }
  void GrowthTargetReached() override { ++reached; }
  bool GrowthHold() override { return hold; }
  int jobs = 50000, workers = 10000, reached = 0;
  bool hold = false;
};

struct Indicators : TableOwner {
  Indicators() : TableOwner("I.") {}
  int GetVarData(const char* name, double* value) override {
    if (std::string(name) != "I.GROWTH") return 1;
    *value = growth;
    return 0;
  }
  double growth = 0.5;
};
}  // namespace

TEST(DataExchange, GrowthTargetsFollowThePopulation) {
  CDataExchange dx;
  Indicators indicators;
  GrowthSpy spy;
  dx.RegisterOwner("I.", &indicators);
  dx.SetGrowthContext(&spy);

  // Neutral growth leaves the target where the pull to the population put it.
  dx.SetPeople(20000);
  dx.SetTargetPeople(17000);
  dx.CalculateGrowth(1.5, 1.0);
  EXPECT_EQ(dx.GetTargetPeople(), 17999);  // 20000 x 0.9f, truncated
  EXPECT_EQ(dx.GetTargetJobs(), 12059);    // 17999 x 0.67f
  EXPECT_EQ(dx.GetTargetHomes(), 22498);   // 17999 / 0.8f
  EXPECT_EQ(spy.reached, 1);
  dx.CalculateGrowth(2.0, 1.5);
  EXPECT_EQ(spy.reached, 1);  // the first time only

  // A small city's target is held at the minimum.
  dx.SetPeople(5000);
  dx.SetTargetPeople(10000);
  dx.CalculateGrowth(2.0, 1.5);
  EXPECT_EQ(dx.GetTargetPeople(), 15000);

  // Growth raises the target, 1.5 times faster than shrinking lowers it.
  dx.SetPeople(30000);
  dx.SetTargetPeople(30000);
  indicators.growth = 0.8;
  dx.CalculateGrowth(2.0, 1.0);
  EXPECT_EQ(dx.GetTargetPeople(), 48000);  // g = 0.1 x 1.5, target x (1 + 4g)
  dx.SetTargetPeople(30000);
  indicators.growth = 0.2;
  dx.CalculateGrowth(2.0, 1.0);
  EXPECT_EQ(dx.GetTargetPeople(), 18000);  // g = -0.1

  // Too few free jobs: the job target keeps 1000 above the workers.
  spy.jobs = 10500;
  dx.CalculateGrowth(2.0, 2.0);
  EXPECT_EQ(dx.GetTargetJobs(), 11000);

  // Without indicators the town grows neither way (the name reads 0 and
  // would count as the least attractive town).
  dx.RegisterOwner("I.", nullptr);
  dx.SetTargetPeople(30000);
  dx.CalculateGrowth(2.0, 1.0);
  EXPECT_EQ(dx.GetTargetPeople(), 30000);

  spy.hold = true;
  dx.SetTargetPeople(1);
  dx.CalculateGrowth(3.0, 2.0);
  EXPECT_EQ(dx.GetTargetPeople(), 1);
}

namespace {

// The record of a fresh data exchange at tick 0x01020304 with target
// people 17000, byte for byte.
zortest::ByteList FreshRecord() {
  zortest::ByteList r = {0xEA, 0x00, 0x00, 0x00, 'D', 'A', 'T', 'A', 'E', 'X', 'C', 'H', 'A', 'N', 'G', 'E'};
  r.resize(4 + 30 + 204, 0);
  auto at = [&](size_t offset, std::initializer_list<uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), r.begin() + static_cast<long>(34 + offset));
  };
  for (size_t o : {24, 28, 32, 36}) at(o, {0x00, 0x00, 0x80, 0xBF});  // street-network state -1.0
  at(60, {0x68, 0x42, 0x00, 0x00});                                    // target people
  at(148, {0x66, 0x66, 0xA6, 0x3F});                                   // car occupancy 1.3
  at(172, {0x01, 0x00, 0x00, 0x00});                                   // adviser on
  at(188, {0x04, 0x03, 0x02, 0x01});                                   // last microcar message
  at(196, {0x04, 0x03, 0x02, 0x01});                                   // last teleworking message
  return r;
}

// A block whose field at offset 4k holds the bytes k+1, 0, 0, 0x3F: every
// field different, floats among them ordinary numbers.
zortest::ByteList CountingBlock() {
  zortest::ByteList b(204);
  for (size_t k = 0; k < 51; ++k) {
    b[4 * k] = static_cast<uint8_t>(k + 1);
    b[4 * k + 3] = 0x3F;
  }
  return b;
}
int32_t I(int offset) { return 0x3F000001 + offset / 4; }
float F(int offset) { return std::bit_cast<float>(I(offset)); }

}  // namespace

TEST(DataExchange, RecordBytesFollowTheBlockLayout) {
  zortest::Clock().Set(0x01020304);
  CDataExchange dx;
  dx.SetTargetPeople(17000);
  zortest::RecordFile file;
  ASSERT_EQ(dx.SerializeGameStore(file.f()), 0);
  EXPECT_EQ(file.Bytes(), FreshRecord());
  EXPECT_EQ(dx.SerializeGameStore(nullptr), 1);
}

TEST(DataExchange, EveryFieldLoadsFromItsOffset) {
  zortest::Clock().Set(777);
  zortest::RecordFile file(CountingBlock());
  CDataExchange dx;
  ASSERT_EQ(dx.SerializeGameLoad(file.f(), 204, 200), 0);
  const SDataExchangeBlock& b = dx.Block();
  EXPECT_EQ(b.kept0[0], I(0));
  EXPECT_EQ(b.kept0[1], I(4));
  EXPECT_EQ(b.kept0[2], I(8));
  EXPECT_EQ(b.moneyCounter, 0);  // cleared on loading
  EXPECT_EQ(b.kept16, I(16));
  EXPECT_EQ(b.statistik, I(20));
  for (int k = 0; k < 4; ++k) EXPECT_EQ(b.streetNet[k], F(24 + 4 * k));
  EXPECT_EQ(b.opnvNetLength, F(40));
  EXPECT_EQ(b.opnvNetExclusiveLength, F(44));
  EXPECT_EQ(b.streetNetLength, F(48));
  EXPECT_EQ(b.railNetValue, F(52));
  EXPECT_EQ(b.people, I(56));
  EXPECT_EQ(b.targetPeople, I(60));
  EXPECT_EQ(b.targetJobs, I(64));
  EXPECT_EQ(b.targetHomes, I(68));
  EXPECT_EQ(b.worker, I(72));
  EXPECT_EQ(b.workerD, I(76));
  EXPECT_EQ(b.workerI, I(80));
  EXPECT_EQ(b.fze, I(84));
  for (int k = 0; k < 4; ++k) EXPECT_EQ(b.landUse[k], F(88 + 4 * k));
  EXPECT_EQ(b.landUseShare, F(104));
  EXPECT_EQ(b.peopleValue, F(108));
  EXPECT_EQ(b.kept112, I(112));
  EXPECT_EQ(b.bebauteFlaeche, F(116));
  EXPECT_EQ(b.landUseU13, F(120));
  EXPECT_EQ(b.raumtrennung, F(124));
  EXPECT_EQ(b.kfz, I(128));
  EXPECT_EQ(b.quoteMicrocar, F(132));
  EXPECT_EQ(b.quoteH2, F(136));
  EXPECT_EQ(b.quoteECar, F(140));
  EXPECT_EQ(b.kept144, F(144));
  EXPECT_EQ(b.besetzungsGrad, F(148));
  EXPECT_EQ(b.teleWorker, I(152));
  EXPECT_EQ(b.h2Car, I(156));
  EXPECT_EQ(b.energieCar, I(160));
  EXPECT_EQ(b.microcar, I(164));
  EXPECT_EQ(b.verzichtAuto, I(168));
  EXPECT_EQ(b.berater, I(172));
  EXPECT_EQ(b.growthHindernis, F(176));
  EXPECT_EQ(b.quoteTeleworking, F(180));
  EXPECT_EQ(b.growthMessage, I(184));
  // The message pacing restarts from now and the current shares.
  EXPECT_EQ(b.microcarMessageTime, 777);
  EXPECT_EQ(b.microcarMessageQuote, F(132));
  EXPECT_EQ(b.teleworkingMessageTime, 777);
  EXPECT_EQ(b.teleworkingMessageQuote, F(180));
  EXPECT_EQ(std::ftell(file.f()), 204);

  // Stored again: the loaded bytes, but for what loading resets.
  zortest::RecordFile again;
  ASSERT_EQ(dx.SerializeGameStore(again.f()), 0);
  zortest::ByteList expected = CountingBlock();
  for (int o : {12}) std::fill(expected.begin() + o, expected.begin() + o + 4, 0);
  for (int o : {188, 196}) expected[o] = 0x09, expected[o + 1] = 0x03, expected[o + 2] = 0, expected[o + 3] = 0;
  std::copy(expected.begin() + 132, expected.begin() + 136, expected.begin() + 192);
  std::copy(expected.begin() + 180, expected.begin() + 184, expected.begin() + 200);
  const zortest::ByteList bytes = again.Bytes();
  EXPECT_EQ(zortest::ByteList(bytes.begin() + 34, bytes.end()), expected);
}

TEST(DataExchange, BlockCutAtEveryByteChangesNothing) {
  const zortest::ByteList block = CountingBlock();
  for (size_t cut = 0; cut < block.size(); ++cut) {
    zortest::RecordFile file(zortest::ByteList(block.begin(), block.begin() + static_cast<long>(cut)));
    CDataExchange dx;
    dx.SetTargetPeople(5);
    EXPECT_EQ(dx.SerializeGameLoad(file.f(), 204, 200), 1) << "cut at " << cut;
    EXPECT_EQ(dx.GetTargetPeople(), 5);
    EXPECT_EQ(dx.Block().kept0[0], 0);
    EXPECT_LE(std::ftell(file.f()), static_cast<long>(cut));
  }
  // An old block whose stated length runs past the file.
  zortest::RecordFile shortFile(zortest::ByteList(block.begin(), block.begin() + 30));
  CDataExchange old;
  EXPECT_EQ(old.SerializeGameLoad(shortFile.f(), 31, 150), 1);
  EXPECT_EQ(old.Block().kept0[0], 0);
  CDataExchange none;
  EXPECT_EQ(none.SerializeGameLoad(nullptr, 204, 200), 1);
}

TEST(DataExchange, OldBlockPrefixMayEndInsideAField) {
  // Six bytes: the first field whole, the low half of the second.
  zortest::RecordFile file({0x01, 0x02, 0x03, 0x04, 0xAA, 0xBB, 0x77});
  CDataExchange dx;
  ASSERT_EQ(dx.SerializeGameLoad(file.f(), 6, 150), 0);
  EXPECT_EQ(dx.Block().kept0[0], 0x04030201);
  EXPECT_EQ(dx.Block().kept0[1], 0xBBAA);
  EXPECT_EQ(dx.Block().streetNet[0], -1.0f);  // beyond the prefix: kept
  EXPECT_EQ(std::ftell(file.f()), 6);
}

TEST(DataExchange, AMissingOwnerReadsZeroAndIsLoggedOncePerPrefix) {
  OpenErrorLog("errors.log");
  CDataExchange dx;
  TableOwner pta("PTA.");
  double v = -1;
  EXPECT_EQ(dx.GetVarData("F.KONTO", &v), 1);
  EXPECT_EQ(v, 0.0);
  EXPECT_EQ(dx.GetVarValue("F.KONTO"), 0.0);
  dx.VarAddValue("F.EXPENSES.BUILDINFRASTRUCTURE", 500);
  EXPECT_EQ(dx.SetVarData("OPNV.PRICE", 2), 1);
  EXPECT_EQ(dx.GetObjectByName("F.KONTO"), nullptr);
  // An owner that comes and goes again is missed anew.
  dx.RegisterOwner("PTA.", &pta);
  EXPECT_EQ(dx.GetVarValue("PTA.PRICE"), 1.5);
  dx.RegisterOwner("PTA.", nullptr);
  EXPECT_EQ(dx.GetVarValue("PTA.PRICE"), 0.0);
  EXPECT_EQ(dx.GetVarValue("PTA.PRICE"), 0.0);
  CloseErrorLog();
  EXPECT_EQ(zortest::ReadFile("errors.log"),
            "CDataExchange: no object answers F. (asked for F.KONTO); it reads 0\n"
            "CDataExchange: no object answers OPNV. (asked for OPNV.PRICE); it reads 0\n"
            "CDataExchange: no object answers PTA. (asked for PTA.PRICE); it reads 0\n");
  EXPECT_EQ(CDataExchange::GetRouteCount(), 14);
  EXPECT_STREQ(CDataExchange::GetRoutePrefix(0), "I.");
  EXPECT_STREQ(CDataExchange::GetRoutePrefix(13), "PAR.");
  EXPECT_EQ(CDataExchange::GetRoutePrefix(14), nullptr);
  EXPECT_EQ(CDataExchange::GetRoutePrefix(-1), nullptr);
}
