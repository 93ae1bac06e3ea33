// Public transport's nets and stops: the sums a net gives over its lines,
// its active-line mark, its savegame record, the stop ids, the nearest-stop
// search and the virtual net of walking links between nearby stops.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/zor_pointer_list.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "measures/opnv_net.h"
#include "support/test_support.h"

namespace {

using zortest::ByteList;
using zortest::RecordFile;

// A bus line with the given number, length (in record units of 500 per
// length unit), headway and passengers in hour 8.
COpnvLine* Line(int number, float length = 0, int headway = 30, int passengers = 0,
                NetActiveType type = NET_BUS) {
  auto* line = new COpnvLine(type);
  line->Create(number, nullptr, type);
  line->GetData()->length = length;
  line->GetData()->headway = headway;
  line->GetData()->passengers[8] = passengers;
  return line;
}

std::vector<int> Numbers(COpnvNet& net) {
  std::vector<int> out;
  for (int i = 0; COpnvLine* l = net.GetLineObjectByNr(i); ++i) out.push_back(l->GetID());
  return out;
}

double Var(COpnvNet& net, const char* key) {
  double v = -1;
  EXPECT_EQ(net.GetVarData(key, &v), 0) << key;
  return v;
}

TEST(OpnvNet, TheNetSumsItsLinesAndCountsPassengersBeyondTheirService) {
  COpnvNet net(NET_BUS);
  net.Create();
  // Without lines: the fallbacks; unknown keys give 1 and the value 0.
  EXPECT_EQ(Var(net, "OPNV.NET.FREQUENCY"), 30);
  EXPECT_EQ(Var(net, "OPNV.NET.USERQUOTE"), 0);
  EXPECT_EQ(Var(net, "OPNV.NET.NUMBER"), 0);
  double v = 5;
  EXPECT_EQ(net.GetVarData("OPNV.NET.NONE", &v), 1);
  EXPECT_EQ(v, 0);
  // Length 10 at headway 30: 360 Takt-kilometres; 3600 passengers give a
  // user quote of 150, so a third of them are too many.
  net.AddOpnvLine(Line(1, 10, 30, 3600));
  net.AddOpnvLine(Line(2, 5, 10, 0));
  double quote = 0;
  ASSERT_EQ(net.GetLineObjectByID(1)->GetVarData("OPNV.LINE.USERQUOTE", &quote), 0);
  ASSERT_NEAR(quote, 150, 1e-3);
  EXPECT_EQ(Var(net, "OPNV.NET.NUMBER"), 2);
  EXPECT_EQ(Var(net, "OPNV.NET.LENGTH"), 15);
  EXPECT_EQ(Var(net, "OPNV.NET.PASSENGER"), 3600);
  EXPECT_NEAR(Var(net, "OPNV.NET.PASSENGERTOOMUCH"), 1200, 1e-3);
  // Headways weighted by length: (10 x 30 + 5 x 10) / 15.
  EXPECT_NEAR(Var(net, "OPNV.NET.FREQUENCY"), 350.0 / 15, 1e-9);
  EXPECT_NEAR(Var(net, "OPNV.NET.TAKTKILOMETER"), 360 + 5 * 18 / (10 / 60.0), 1e-3);
  EXPECT_NEAR(Var(net, "OPNV.NET.USERQUOTE"), quote / 2, 1e-3);
}

TEST(OpnvNet, LinesAreFoundByNumberAndPositionAndDestroyedOnce) {
  COpnvNet net(NET_TRAM);
  net.Create();
  for (int n : {4, 7, 9}) net.AddOpnvLine(Line(n, 0, 30, 0, NET_TRAM));
  EXPECT_EQ(Numbers(net), (std::vector<int>{9, 7, 4})) << "each line goes to the head";
  EXPECT_EQ(net.GetLineObjectByID(7)->GetID(), 7);
  EXPECT_EQ(net.GetLineObjectByID(8), nullptr);
  EXPECT_EQ(net.GetLineObjectByNr(3), nullptr);
  EXPECT_EQ(net.GetLineObjectByNr(-1), nullptr);
  EXPECT_EQ(net.DestroyLine(nullptr, 7), 0);
  EXPECT_EQ(net.DestroyLine(nullptr, 7), 1);
  EXPECT_EQ(net.DestroyLine(net.GetLineObjectByID(4), -5), 0);
  EXPECT_EQ(Numbers(net), (std::vector<int>{9}));
}

TEST(OpnvNet, TheActiveLineMarkTakesValidPositionsOnly) {
  COpnvNet net(NET_BUS);
  net.Create();
  EXPECT_EQ(net.GetActiveLine(), -1);
  EXPECT_EQ(net.SetActiveLine(0), 1) << "no line yet";
  net.AddOpnvLine(Line(1));
  net.AddOpnvLine(Line(2));
  EXPECT_EQ(net.SetActiveLine(1), 0);
  EXPECT_EQ(net.GetActiveLine(), 1);
  EXPECT_EQ(net.SetActiveLine(2), 1);
  EXPECT_EQ(net.GetActiveLine(), -1);
  EXPECT_EQ(net.SetActiveLine(-1), 1);
}

TEST(OpnvNet, ASavedNetComesBackInItsOrderOnceAndTwice) {
  COpnvNet net(NET_BUS);
  net.Create();
  for (int n : {1, 2, 3}) net.AddOpnvLine(Line(n, static_cast<float>(n)));
  RecordFile file;
  ASSERT_EQ(net.SerializeGameStore(file.f(), nullptr), 0);
  const ByteList bytes = file.Bytes();
  // Three lines of tag and record, the end tag, the reserved word and type.
  ASSERT_EQ(bytes.size(), 3u * (30 + 6012) + 30 + 8);
  EXPECT_EQ(bytes[bytes.size() - 4], NET_BUS);

  COpnvNet once(NET_BUS);
  RecordFile in(bytes);
  ASSERT_EQ(once.SerializeGameLoad(in.f()), 0);
  EXPECT_EQ(Numbers(once), Numbers(net));
  EXPECT_EQ(Numbers(once), (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(once.GetLineObjectByID(2)->GetData()->length, 2);
  RecordFile again;
  ASSERT_EQ(once.SerializeGameStore(again.f(), nullptr), 0);
  COpnvNet twice(NET_BUS);
  RecordFile in2(again.Bytes());
  ASSERT_EQ(twice.SerializeGameLoad(in2.f()), 0);
  EXPECT_EQ(Numbers(twice), Numbers(net));

  // A record cut inside the net's last words fails.
  ByteList cut(bytes.begin(), bytes.end() - 3);
  COpnvNet broken(NET_BUS);
  RecordFile in3(cut);
  EXPECT_EQ(broken.SerializeGameLoad(in3.f()), 1);
}

// The operator with its nets, and stops standing off the map.
struct Stops : testing::Test {
  COpnv opnv;
  std::vector<std::unique_ptr<CSecondLayerObject>> stops;
  void SetUp() override { ASSERT_EQ(opnv.Create(), 0); }
  void TearDown() override {
    opnv.Destroy();
    for (auto& s : stops) s->Destroy();
  }
  CSecondLayerObject* Stop(int x, int y, NetActiveType type = NET_BUS) {
    auto stop = std::make_unique<CSecondLayerObject>();
    CIsoRichtung dir(0);
    stop->Create(0, x, y, &dir, static_cast<ESimLocationHeight>(0));
    stop->SetType(type == NET_TRAM ? OBJ_TRAMSTOP : OBJ_BUSSTOP_SIGN);
    EXPECT_EQ(opnv.AddHst(stop.get(), type, false), 0);
    stops.push_back(std::move(stop));
    return stops.back().get();
  }
  // A bus line of the bus net.
  COpnvLine* BusLine() {
    auto* line = new COpnvLine(NET_BUS);
    line->Create(++lines, nullptr, NET_BUS);
    opnv.GetBusNet()->AddOpnvLine(line);
    return line;
  }
  // A line that serves the stop: its first stop.
  void Serve(CSecondLayerObject* stop) { EXPECT_EQ(BusLine()->ToolAddHstTail(stop, 0), 0); }
  int lines = 0;
  std::vector<std::pair<int, int>> Links() {
    std::vector<std::pair<int, int>> out;
    CZorvaList* lines = opnv.GetVirLineList();
    if (!lines) return out;
    for (CZorvaPointer* n = lines->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer()) {
      short a = 0, b = 0;
      EXPECT_EQ(static_cast<COpnvLine*>(n->GetZorvaObject())->GetVirtuellHstID(a, b), 0);
      out.emplace_back(a, b);
    }
    return out;
  }
};

TEST_F(Stops, StopIdsRiseAndAreNeverGivenTwice) {
  CSecondLayerObject* a = Stop(10, 10);
  CSecondLayerObject* b = Stop(12, 10, NET_TRAM);
  EXPECT_EQ(a->GetID(), 1u);
  EXPECT_EQ(b->GetID(), 2u);
  EXPECT_EQ(b->GetNetType(), NET_TRAM);
  EXPECT_EQ(opnv.GetHstCount(), 2);
  EXPECT_EQ(opnv.GetHstByID(2), b);
  EXPECT_EQ(opnv.GetFirstHst(), b);
  EXPECT_EQ(opnv.RemoveHst(b), 0);
  EXPECT_EQ(opnv.RemoveHst(b), 1);
  EXPECT_EQ(opnv.GetHstCount(), 1);
  EXPECT_EQ(opnv.GetHstByID(2), nullptr);
  EXPECT_EQ(Stop(14, 10)->GetID(), 3u) << "the removed stop's id stays unused";
  // A loaded stop keeps its id; new ids go on above it.
  auto loaded = std::make_unique<CSecondLayerObject>();
  CIsoRichtung dir(0);
  loaded->Create(0, 20, 20, &dir, static_cast<ESimLocationHeight>(0));
  loaded->SetID(40);
  EXPECT_EQ(opnv.AddHst(loaded.get(), NET_BUS, true), 0);
  EXPECT_EQ(loaded->GetID(), 40u);
  stops.push_back(std::move(loaded));
  EXPECT_EQ(Stop(16, 10)->GetID(), 41u);
  // Air distance: 3 cells across and 4 along at 50 per cell.
  EXPECT_EQ(opnv.HstToHstAirDistance(1, 3), 200);
  EXPECT_EQ(opnv.HstToHstAirDistance(1, 2), 1000000);
}

TEST_F(Stops, ATramStopWalksToABusStopWithinFifteenCellsButNotSeventeen) {
  Stop(10, 10);
  Stop(25, 10, NET_TRAM);
  EXPECT_EQ(Links(), (std::vector<std::pair<int, int>>{{2, 1}}));
  Stop(10, 40, NET_TRAM);
  Stop(10, 57);
  EXPECT_EQ(Links().size(), 1u) << "17 cells is too far";
}

TEST_F(Stops, BusStopsServedByLinesWalkToEachOtherAndNeverToThemselves) {
  CSecondLayerObject* a = Stop(10, 10);
  CSecondLayerObject* b = Stop(13, 10);
  EXPECT_TRUE(Links().empty()) << "no line serves them";
  Serve(a);
  opnv.CheckMakeVirtuellNet();
  EXPECT_TRUE(Links().empty()) << "one of them is served";
  Serve(b);
  opnv.CheckMakeVirtuellNet();
  EXPECT_EQ(Links(), (std::vector<std::pair<int, int>>{{1, 2}, {2, 1}}));
  // However often the net is made again, its lines are numbered from 1.
  for (int i = 0; i < 33000; ++i) opnv.CheckMakeVirtuellNet();
  std::vector<int> numbers;
  for (CZorvaPointer* n = opnv.GetVirLineList()->GetHeadZorvaPointer(); n; n = n->GetNextZorvaPointer())
    numbers.push_back(static_cast<COpnvLine*>(n->GetZorvaObject())->GetID());
  EXPECT_EQ(numbers, (std::vector<int>{2, 1}));
  EXPECT_TRUE(opnv.GetNewMatrix());
}

TEST_F(Stops, AStopKeepsEachLineOnceAndLeavesItsLinesWhenItGoes) {
  CSecondLayerObject* a = Stop(10, 10);
  CSecondLayerObject* b = Stop(14, 10);
  COpnvLine* line = BusLine();
  ASSERT_EQ(line->ToolAddHstTail(a, 0), 0);
  ASSERT_EQ(line->ToolAddHstTail(b, 0), 0);
  EXPECT_EQ(a->GetLineList()->GetCount(), 1);
  EXPECT_EQ(a->AddLine(line), 0);
  EXPECT_EQ(a->GetLineList()->GetCount(), 1) << "listed once";
  // The stop goes: the line drops it and keeps the other.
  opnv.RemoveHst(a);
  a->Destroy();
  EXPECT_EQ(a->GetLineList(), nullptr);
  EXPECT_EQ(a->AddLine(line), 1) << "no list once destroyed";
  const short* ids = nullptr;
  int count = 0;
  line->GetHstList(&ids, &count);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(ids[0], static_cast<short>(b->GetID()));
  b->ClearLineList();
  EXPECT_EQ(b->GetLineList()->GetCount(), 0);
  EXPECT_EQ(b->RemoveLine(line), 1);
}

}  // namespace
