// Public-transport lines on the real game's streets: the route from stop to
// stop and back, travel times and the vehicles the headway needs, the stop
// tools' refusals, and the service check's verdict on a line's fleet.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <tuple>
#include <vector>

#include "framework/zor_record.h"
#include "framework/zor_seams.h"
#include "iso/iso_info.h"
#include "measures/building_object.h"
#include "microsim/micro_car.h"
#include "microsim/micro_cells.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "model/message.h"
#include "network/str_junction_list.h"
#include "network/rail_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "support/test_support.h"
#include "ui/user_int.h"
#include "world/town_fixture.h"
#include "world/zor_world.h"
#include "worldbase/building_catalogue.h"

namespace {

constexpr int kBusStop = 32290;

struct Lines : towntest::Town {
  void SetUp() override {
    Town::SetUp();
    ASSERT_NO_FATAL_FAILURE(LongStreetAt80());
    // A side street from the long one makes a crossing at (80, 70).
    ASSERT_EQ(Street(80, 70, 90, 70), STR_BUILD_OK);
  }
  CSecondLayerObject* Stop(int x, int y) {
    auto* stop = dynamic_cast<CSecondLayerObject*>(Place(OBJ_BUSSTOP_SIGN, kBusStop, x, y));
    EXPECT_NE(stop, nullptr) << "a stop at " << x << "/" << y;
    return stop;
  }
  static short SimID(CSecondLayerObject* stop) {
    int x, y;
    CStreetObj* street = stop->GetStreet(&x, &y);
    return street ? static_cast<short>(street->GetSimID()) : 0;
  }
  CStrStrasse* StreetOf(CSecondLayerObject* stop) {
    int x, y;
    CStreetObj* street = stop->GetStreet(&x, &y);
    return street ? street->GetStreetList() : nullptr;
  }
  const char* Warning() { return world.GetMessage()->GetAchtungMessage(); }
  COpnvLine line{NET_BUS};
  void MakeLine() { line.Create(7, world.GetStreetNet(), NET_BUS); }
  // A bus line of its own from a stop at (80, fromY) to one at (80, toY)
  // at a headway of 2 minutes, given `buses` (0: the buses it needs) and
  // checked into service; null when a stop is refused. The caller destroys
  // and deletes it; `last` receives the second stop.
  COpnvLine* BusLineOn80(int fromY, int toY, int buses, CSecondLayerObject** last = nullptr) {
    CSecondLayerObject* a = Stop(80, fromY);
    CSecondLayerObject* b = Stop(80, toY);
    if (!a || !b) return nullptr;
    if (last) *last = b;
    auto* bus = new COpnvLine(NET_BUS);
    bus->Create(9, world.GetStreetNet(), NET_BUS);
    EXPECT_EQ(bus->ToolAddHstTail(a, SimID(a)), 0);
    EXPECT_EQ(bus->ToolAddHstTail(b, SimID(b)), 0);
    bus->SetVarData("OPNV.LINE.TAKT", 2.0);
    bus->AddFp(buses > 0 ? buses : bus->GetData()->vehiclesNeeded, 0, 0, 0, 0);
    bus->CheckForKfz(0);
    return bus;
  }
  void TearDown() override { line.Destroy(); }
};

TEST_F(Lines, StopsOnOneStreetRunInDrivingOrderAndTheWayBackMirrorsThem) {
  MakeLine();
  CSecondLayerObject* far = Stop(80, 62);
  CSecondLayerObject* near = Stop(80, 50);
  ASSERT_TRUE(far && near);
  ASSERT_EQ(StreetOf(far), StreetOf(near));
  CStrStrasse* street = StreetOf(far);
  ASSERT_EQ(line.ToolAddHstTail(far, SimID(far)), 0);
  ASSERT_EQ(line.ToolAddHstTail(near, SimID(near)), 0);
  const LineDataType& d = *line.GetData();
  ASSERT_EQ(d.stopsOneWay, 2);
  ASSERT_EQ(d.stopEntries, 4);
  // One street, driven in its first direction, then back.
  ASSERT_EQ(d.streetsOneWay, 1);
  ASSERT_EQ(d.streetEntries, 2);
  EXPECT_EQ(d.streetIds[0], street->GetSimID());
  EXPECT_EQ(d.streetIds[1], street->GetSimIDSecond());
  // The stop nearer the street's start comes first, whatever the order of
  // adding; the way back visits them the other way round.
  const bool startAtNorth = street->GetStartPosY() < street->GetEndPosY();
  const short first = static_cast<short>((startAtNorth ? near : far)->GetID());
  const short second = static_cast<short>((startAtNorth ? far : near)->GetID());
  EXPECT_EQ(d.stopIds[0], first);
  EXPECT_EQ(d.stopIds[1], second);
  EXPECT_EQ(d.stopIds[2], second);
  EXPECT_EQ(d.stopIds[3], first);
  EXPECT_EQ(d.stopStreetIds[0], street->GetSimID());
  EXPECT_EQ(d.stopStreetIds[2], street->GetSimIDSecond());
  // Twelve cells apart; the ends count 1 and 30 s, the way back mirrors.
  EXPECT_EQ(d.distances[0], 1);
  EXPECT_EQ(d.distances[1], 1200);
  EXPECT_EQ(d.distances[2], 1);
  EXPECT_EQ(d.distances[3], 1200);
  EXPECT_EQ(d.times[0], 30);
  const int expected = static_cast<int>(1200 / (street->GetVelocity() * 0.8));
  EXPECT_EQ(d.times[1], expected);
  EXPECT_EQ(d.times[3], d.times[1]);
  EXPECT_FLOAT_EQ(d.length, 1200 / 500.0f);
  EXPECT_EQ(line.CheckStreetList(), 0);
  // The stops know their line.
  EXPECT_EQ(near->GetLineList()->CheckZorvaInList(&line), 0);
}

TEST_F(Lines, StopsOnTwoStreetsAreJoinedOverTheirSharedCrossing) {
  MakeLine();
  CSecondLayerObject* north = Stop(80, 60);
  CSecondLayerObject* east = Stop(85, 70);
  ASSERT_TRUE(north && east);
  CStrStrasse* a = StreetOf(north);
  CStrStrasse* b = StreetOf(east);
  ASSERT_TRUE(a && b);
  ASSERT_NE(a, b);
  ASSERT_EQ(line.ToolAddHstTail(north, SimID(north)), 0);
  ASSERT_EQ(line.ToolAddHstTail(east, SimID(east)), 0);
  const LineDataType& d = *line.GetData();
  ASSERT_EQ(d.streetsOneWay, 2);
  EXPECT_TRUE(d.streetIds[0] == a->GetSimID() || d.streetIds[0] == a->GetSimIDSecond());
  EXPECT_TRUE(d.streetIds[1] == b->GetSimID() || d.streetIds[1] == b->GetSimIDSecond());
  EXPECT_EQ(line.CheckStreetList(), 0);
  // Ten cells to the crossing and five from it.
  EXPECT_EQ(d.distances[1], 1500);
  // The way back runs both streets the other way, in reverse order.
  ASSERT_EQ(d.streetEntries, 4);
  for (int k = 0; k < 2; ++k) {
    CStrStrasse* s = world.GetStreetNet()->GetStreetByID(d.streetIds[k]);
    ASSERT_NE(s, nullptr);
    const short other = d.streetIds[k] == s->GetSimID() ? s->GetSimIDSecond() : s->GetSimID();
    EXPECT_EQ(d.streetIds[3 - k], other);
  }

  // Without its first stop the line keeps one stop on one street.
  ASSERT_EQ(line.ToolRemoveHst(north, SimID(north)), 0);
  EXPECT_EQ(d.stopsOneWay, 1);
  EXPECT_EQ(d.stopIds[0], static_cast<short>(east->GetID()));
  EXPECT_EQ(d.streetsOneWay, 1);
  EXPECT_FLOAT_EQ(d.length, 0.0f);
  EXPECT_EQ(d.vehiclesNeeded, 0);
  EXPECT_EQ(north->GetLineList()->CheckZorvaInList(&line), 1);
  EXPECT_EQ(line.ToolRemoveHst(north, SimID(north)), 1) << "a stop not on the line";
}

TEST_F(Lines, AStopServedTwiceOrOneTooManyIsRefusedWithItsWarning) {
  MakeLine();
  // Stops along the long street and the street that leads to it, as
  // many as the stop rules let stand.
  CSecondLayerObject* stops[41] = {};
  int n = 0;
  const auto at = [&](int x, int y) {
    if (n < 41) stops[n] = dynamic_cast<CSecondLayerObject*>(Place(OBJ_BUSSTOP_SIGN, kBusStop, x, y));
    if (n < 41 && stops[n]) ++n;
  };
  for (int y = 42; y <= 88; ++y) at(80, y);
  for (int x = 62; x <= 78; ++x) at(x, 40);
  ASSERT_EQ(n, 41);
  ASSERT_EQ(line.ToolAddHstTail(stops[0], SimID(stops[0])), 0);
  EXPECT_EQ(line.ToolAddHstHead(stops[0], SimID(stops[0])), 1);
  ASSERT_NE(Warning(), nullptr);
  EXPECT_STREQ(Warning(), CUserInt::GetAchtungText(53, 0));
  for (int i = 1; i < 40; ++i) ASSERT_EQ(line.ToolAddHstTail(stops[i], SimID(stops[i])), 0) << i;
  EXPECT_EQ(line.GetData()->stopsOneWay, 40);
  EXPECT_EQ(line.ToolAddHstTail(stops[40], SimID(stops[40])), 1);
  EXPECT_STREQ(Warning(), CUserInt::GetAchtungText(60, 0));
  EXPECT_EQ(line.GetData()->stopsOneWay, 40);
  EXPECT_EQ(line.GetData()->stopEntries, 80);
}

TEST_F(Lines, TheHeadwaySetsTheFleetNeededAndTheServiceCheckJudgesIt) {
  MakeLine();
  CSecondLayerObject* a = Stop(80, 45);
  CSecondLayerObject* b = Stop(80, 65);
  ASSERT_TRUE(a && b);
  ASSERT_EQ(line.ToolAddHstTail(a, SimID(a)), 0);
  ASSERT_EQ(line.ToolAddHstTail(b, SimID(b)), 0);
  // Twenty cells: length 4. At headway 30: 144 Takt-km, one bus.
  double v = 0;
  ASSERT_EQ(line.GetVarData("OPNV.LINE.LENGTH", &v), 0);
  EXPECT_DOUBLE_EQ(v, 4.0);
  ASSERT_EQ(line.GetVarData("OPNV.LINE.TAKTKILOMETER", &v), 0);
  EXPECT_DOUBLE_EQ(v, 144.0);
  ASSERT_EQ(line.GetVarData("OPNV.LINE.FPNEEDED", &v), 0);
  EXPECT_EQ(v, 1.0);
  // Every two minutes: 2160 Takt-km and ceil(2160 / 15 / 12 x 1.15) = 14.
  ASSERT_EQ(line.SetVarData("OPNV.LINE.TAKT", 2.0), 0);
  EXPECT_EQ(line.GetData()->vehiclesNeeded, 14);
  // A headway outside 2..60 would divide the line by nothing or by less
  // than a departure: it is held at the bounds.
  line.SetVarData("OPNV.LINE.TAKT", 0.0);
  EXPECT_EQ(line.GetData()->headway, 2);
  line.SetVarData("OPNV.LINE.TAKT", 500.0);
  EXPECT_EQ(line.GetData()->headway, 60);
  line.SetVarData("OPNV.LINE.TAKT", 2.0);
  float step = 0;
  ASSERT_EQ(line.GetStep("OPNV.LINE.TAKT", &step), 0);
  EXPECT_EQ(step, 1.0f);
  EXPECT_EQ(line.GetVarData("OPNV.LINE.NOSUCH", &v), 1);
  EXPECT_EQ(line.SetVarData("OPNV.LINE.COST", 1.0), 1) << "only the headway is set";

  // 11 of 14 is below 80 %: the line stops and loses its passengers.
  line.GetData()->passengers[8] = 120;
  line.AddFp(11, 0, 0, 0, 0);
  EXPECT_FALSE(line.HasShortageNotice()) << "no check has found it short yet";
  line.CheckForKfz(0);
  EXPECT_TRUE(line.HasShortageNotice());
  EXPECT_FALSE(line.IsActive());
  EXPECT_FLOAT_EQ(line.GetData()->serviceState, 0.0f);
  EXPECT_EQ(line.GetPassengers(), 0);
  // 12 of 14 runs, short of vehicles; 14 runs fully. Adding vehicles runs
  // the next check at once.
  line.AddFp(0, 1, 0, 0, 0);
  line.CheckForKfz(0);
  EXPECT_TRUE(line.IsActive());
  EXPECT_FLOAT_EQ(line.GetData()->serviceState, 0.5f);
  EXPECT_TRUE(line.HasShortageNotice()) << "short, though running";
  line.AddFp(0, 0, 1, 1, 0);
  line.CheckForKfz(1000);
  EXPECT_FLOAT_EQ(line.GetData()->serviceState, 1.0f);
  EXPECT_FALSE(line.HasShortageNotice()) << "the whole fleet ends the notice";
  ASSERT_EQ(line.GetVarData("OPNV.LINE.FP", &v), 0);
  EXPECT_EQ(v, 14.0);
  // After a change of headway the next check waits a minute.
  line.SetVarData("OPNV.LINE.TAKT", 2.0);
  line.GetData()->serviceState = 0.25f;
  const uint32_t changed = kfx_GetTicks();
  line.CheckForKfz(changed + 59000);
  EXPECT_FLOAT_EQ(line.GetData()->serviceState, 0.25f);
  line.CheckForKfz(changed + 61000);
  EXPECT_FLOAT_EQ(line.GetData()->serviceState, 1.0f);
}

TEST(LineVehicles, TheVisibleVehiclesGrowWithTheFleetNeededUpToFive) {
  const int cases[][2] = {{0, 0}, {1, 1}, {2, 1}, {3, 1}, {4, 2}, {9, 3}, {10, 3}, {14, 4}, {18, 4}, {19, 5}, {80, 5}};
  for (const auto& [needed, shown] : cases) EXPECT_EQ(COpnvLine::WantedVehicles(needed), shown) << needed;
}

TEST(LineColours, LinesTakeTheFifteenColoursInTurn) {
  COpnvLine a(NET_BUS), b(NET_BUS);
  a.Create(1, nullptr, NET_BUS);
  b.Create(16, nullptr, NET_BUS);
  unsigned char r1, g1, b1, r2, g2, b2;
  a.GetColor(r1, g1, b1);
  b.GetColor(r2, g2, b2);
  EXPECT_EQ(r1, 39);
  EXPECT_EQ(g1, 108);
  EXPECT_EQ(b1, 247);
  EXPECT_EQ(r1, r2);
  EXPECT_EQ(g1, g2);
  EXPECT_EQ(b1, b2);
  a.Destroy();
  b.Destroy();
}

}  // namespace

namespace {

// A long street crossed every three cells: a line whose stops alternate
// between its two ends runs the whole street on every leg.
struct LongLines : towntest::Town {
  COpnvLine line{NET_BUS};
  void TearDown() override { line.Destroy(); }
};

TEST_F(LongLines, AStopWhoseRouteWouldNotFitIsRefusedAndTheLineKeptAsItWas) {
  for (const auto& [x1, y1, x2, y2] :
       {std::tuple{66, 63, 100, 63}, std::tuple{100, 63, 100, 2}, std::tuple{100, 63, 100, 125}})
    ASSERT_EQ(Street(x1, y1, x2, y2), STR_BUILD_OK);
  for (int y = 24; y <= 102; y += 3) {
    if (y == 63) continue;  // the street that leads there
    ASSERT_EQ(Street(100, y, 103, y), STR_BUILD_OK) << y;
  }
  line.Create(3, world.GetStreetNet(), NET_BUS);
  std::vector<CSecondLayerObject*> north, south;
  for (int y = 4; y <= 22; ++y) {
    auto* n = dynamic_cast<CSecondLayerObject*>(Place(OBJ_BUSSTOP_SIGN, kBusStop, 100, y));
    auto* s = dynamic_cast<CSecondLayerObject*>(Place(OBJ_BUSSTOP_SIGN, kBusStop, 100, 127 - y));
    ASSERT_TRUE(n && s) << y;
    north.push_back(n);
    south.push_back(s);
  }
  const auto simId = [](CSecondLayerObject* stop) {
    int x, y;
    return static_cast<short>(stop->GetStreet(&x, &y)->GetSimID());
  };
  int added = 0;
  bool refused = false;
  for (size_t i = 0; i < north.size() && !refused; ++i)
    for (CSecondLayerObject* stop : {north[i], south[i]}) {
      const LineDataType before = *line.GetData();
      if (line.ToolAddHstTail(stop, simId(stop)) == 0) {
        ++added;
        ASSERT_LE(line.GetData()->streetEntries, COpnvLine::kMaxStreets);
        continue;
      }
      refused = true;
      EXPECT_STREQ(world.GetMessage()->GetAchtungMessage(), CUserInt::GetAchtungText(60, 0));
      // The line is as it was before the refused stop.
      const LineDataType& after = *line.GetData();
      EXPECT_EQ(after.stopsOneWay, before.stopsOneWay);
      EXPECT_EQ(after.streetEntries, before.streetEntries);
      EXPECT_EQ(std::memcmp(after.streetIds, before.streetIds, sizeof before.streetIds), 0);
      EXPECT_EQ(std::memcmp(after.stopIds, before.stopIds, sizeof before.stopIds), 0);
      break;
    }
  EXPECT_TRUE(refused) << added << " stops took " << line.GetData()->streetEntries << " street entries";
  EXPECT_LT(added, 40) << "the route, not the stop count, is full";
}

}  // namespace

namespace {

TEST_F(Lines, ALineSavedAndLoadedFindsItsStopsAndDropsOneThatIsGone) {
  MakeLine();
  CSecondLayerObject* a = Stop(80, 45);
  CSecondLayerObject* b = Stop(80, 55);
  CSecondLayerObject* c = Stop(85, 70);
  ASSERT_TRUE(a && b && c);
  for (CSecondLayerObject* s : {a, b, c}) ASSERT_EQ(line.ToolAddHstTail(s, SimID(s)), 0);
  line.SetVarData("OPNV.LINE.TAKT", 10.0);
  line.AddFp(2, 1, 0, 0, 0);
  FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(line.SerializeGameStore(file, nullptr), 0);
  EXPECT_EQ(std::ftell(file), static_cast<long>(LineDataType::kRecordSize));

  // All stops there: the same route, stops, headway and fleet.
  std::rewind(file);
  COpnvLine copy(NET_BUS);
  copy.Create(0, world.GetStreetNet(), NET_BUS);
  ZorRecordReader in(file);
  ASSERT_EQ(copy.LoadRecord(in, COpnvLine::kOldRecordVersion + 1), 0);
  const LineDataType& d = *line.GetData();
  const LineDataType& e = *copy.GetData();
  EXPECT_EQ(e.lineNumber, d.lineNumber);
  EXPECT_EQ(e.headway, 10);
  EXPECT_EQ(e.stopsOneWay, 3);
  EXPECT_EQ(e.streetEntries, d.streetEntries);
  EXPECT_EQ(std::memcmp(e.streetIds, d.streetIds, sizeof d.streetIds), 0);
  EXPECT_EQ(copy.GetFirstHst(), a);
  EXPECT_EQ(copy.GetLastHst(), c);
  EXPECT_EQ(copy.GetFpAssigned(), 3);
  EXPECT_EQ(c->GetLineList()->CheckZorvaInList(&copy), 0);
  copy.Destroy();

  // The middle stop removed behind the record's back: the line loads
  // without it and routes itself anew.
  std::rewind(file);
  ASSERT_EQ(world.RemoveObject(80, 55, ISO_LAYER_UPPER, true), 0);
  COpnvLine rest(NET_BUS);
  rest.Create(0, world.GetStreetNet(), NET_BUS);
  ZorRecordReader again(file);
  ASSERT_EQ(rest.LoadRecord(again, COpnvLine::kOldRecordVersion + 1), 0);
  EXPECT_EQ(rest.GetData()->stopsOneWay, 2);
  EXPECT_EQ(rest.GetData()->stopEntries, 4);
  EXPECT_EQ(rest.GetData()->stopIds[1], static_cast<short>(c->GetID()));
  EXPECT_EQ(rest.CheckStreetList(), 0);
  rest.Destroy();
  std::fclose(file);
}

// The map click of the line tools, as the input filter makes it.
struct LineTool : CUserInt {
  static int Click(CUserInt* ui, int x, int y) { return (ui->*(&LineTool::BuildRemoveOpnvLine))(x, y); }
};

TEST_F(Lines, TheLineToolsStartALineAppendToItAndTakeItsLastStopAway) {
  CSecondLayerObject* a = Stop(80, 45);
  CSecondLayerObject* b = Stop(80, 55);
  ASSERT_TRUE(a && b);
  CUserInt* ui = world.GetUserInt();
  COpnv* opnv = world.GetOpnv();
  ASSERT_TRUE(ui && opnv);
  ASSERT_EQ(ui->SetToolNr(20, 0, 1), 0);
  // A click beside the stops does nothing.
  LineTool::Click(ui, 70, 45);
  EXPECT_EQ(CUserInt::selObj.editedLine, nullptr);
  LineTool::Click(ui, 80, 45);
  COpnvLine* edited = CUserInt::selObj.editedLine;
  ASSERT_NE(edited, nullptr);
  EXPECT_EQ(edited->GetNetType(), NET_BUS);
  EXPECT_EQ(CUserInt::selObj.tool, 21);
  LineTool::Click(ui, 80, 55);
  EXPECT_EQ(CUserInt::selObj.tool, 17);
  EXPECT_EQ(edited->GetData()->stopsOneWay, 2);
  // The same stop again is refused and the tool stays.
  LineTool::Click(ui, 80, 55);
  EXPECT_STREQ(Warning(), CUserInt::GetAchtungText(53, 0));
  EXPECT_EQ(CUserInt::selObj.tool, 17);
  // Taking both stops away deletes the line.
  const int id = edited->GetID();
  ASSERT_EQ(opnv->GetLineByID(id), edited);
  ASSERT_EQ(ui->SetToolNr(19, 0, 1), 0);
  LineTool::Click(ui, 80, 45);
  EXPECT_EQ(CUserInt::selObj.editedLine, edited);
  LineTool::Click(ui, 80, 55);
  EXPECT_EQ(CUserInt::selObj.editedLine, nullptr);
  EXPECT_EQ(opnv->GetLineByID(id), nullptr);
}

// A bus line being made takes no tram stop; the head tool puts a stop before
// the first; the last stop taken away ends the editing on the lines page.
TEST_F(Lines, TheHeadToolGoesFirstATramStopStaysOffABusLineAndTheLastRemovalShowsTheLines) {
  CSecondLayerObject* a = Stop(80, 45);
  CSecondLayerObject* b = Stop(80, 55);
  CSecondLayerObject* c = Stop(86, 70);  // on the side street
  ASSERT_TRUE(a && b && c);
  CStrBuildLine track(90, 50, 100, 50);
  ASSERT_EQ(world.GetStreetNet()->GetRailNet()->CreateStreet(&track, STRASSE_SCHIENE), STR_BUILD_OK);
  ASSERT_NE(Place(OBJ_TRAMSTOP, CBuildingDataList::GetBuildingResIDByType(OBJ_TRAMSTOP, -1, nullptr), 94, 50, 2),
            nullptr);
  CUserInt* ui = world.GetUserInt();
  ASSERT_NE(ui, nullptr);
  constexpr int kLineWindow = 227, kGroup = 120, kLinesPage = 129, kFinancesPage = 122;

  ASSERT_EQ(ui->SetToolNr(20, 0, 1), 0);
  LineTool::Click(ui, 80, 45);
  COpnvLine* edited = CUserInt::selObj.editedLine;
  ASSERT_NE(edited, nullptr);
  LineTool::Click(ui, 94, 50);
  EXPECT_EQ(edited->GetData()->stopsOneWay, 1) << "the tram stop is not the bus line's";
  EXPECT_EQ(CUserInt::selObj.tool, 21);
  LineTool::Click(ui, 80, 55);
  EXPECT_EQ(CUserInt::selObj.tool, 17);
  EXPECT_EQ(ui->IsWindowOpen(kLineWindow), 0);
  ASSERT_EQ(ui->SetToolNr(16, 0, 1), 0);
  LineTool::Click(ui, 86, 70);
  ASSERT_EQ(edited->GetData()->stopsOneWay, 3);
  EXPECT_EQ(edited->GetFirstHst(), c);

  ui->ActivateWindow(kFinancesPage);
  ASSERT_EQ(ui->SetToolNr(19, 0, 1), 0);
  LineTool::Click(ui, 86, 70);
  LineTool::Click(ui, 80, 45);
  EXPECT_EQ(CUserInt::selObj.editedLine, edited);
  LineTool::Click(ui, 80, 55);
  EXPECT_EQ(CUserInt::selObj.editedLine, nullptr);
  EXPECT_NE(ui->IsWindowOpen(kLineWindow), 0);
  EXPECT_EQ(ui->IsWindowOpen(kGroup), 0);
  EXPECT_EQ(ui->IsWindowOpen(kLinesPage), 0);
  EXPECT_NE(ui->IsWindowOpen(kFinancesPage), 0);
}

}  // namespace

namespace {

TEST_F(Lines, AnActiveLinePutsUpItsBusesAndLetsThemGoWhenItEnds) {
  COpnvLine* line = BusLineOn80(45, 65, 14);
  ASSERT_NE(line, nullptr);
  ASSERT_TRUE(line->IsActive());
  // Fourteen needed: (14 - 4) / 5 + 2 = 4 wanted, one put up per turn at
  // most and the next not before 15 s.
  line->OnPlayloopTurn();
  ASSERT_EQ(line->GetVehicleCount(), 1);
  CMicroOpnv* bus = line->GetVehicle(0);
  ASSERT_NE(bus, nullptr);
  EXPECT_EQ(bus->GetOpnvLine(), line);
  EXPECT_EQ(bus->GetBusTramType(), BUS_NORMAL);
  line->OnPlayloopTurn();
  EXPECT_EQ(line->GetVehicleCount(), 1);
  game.Run({zortest::Wait(500)});
  // The line ends while its bus stands in the street's cells: the bus
  // leaves the line and the cells let it go.
  CZorvaList* buses = world.GetUserInt()->GetBusList();
  ASSERT_EQ(buses->GetCount(), 1);
  line->Destroy();
  delete line;
  game.Run({zortest::Wait(500)});
  EXPECT_EQ(buses->GetCount(), 0);
}

// A line vehicle stands still out of the map's view. The long street runs
// from (80, 40) to the crossing at (80, 70) and on to (80, 90); with the
// view on (80, 76) the first stop at (80, 45) lies far off the screen.
TEST_F(Lines, ABusComesWhereTheViewShowsTheLineAndGoesAfterStandingOutOfViewForItsTime) {
  CSecondLayerObject* b = nullptr;
  COpnvLine* line = BusLineOn80(45, 85, 0, &b);
  ASSERT_NE(line, nullptr);
  ASSERT_TRUE(line->IsActive());
  CIsoWelt& map = *world.GetIsoWelt();
  map.SetIsoCenter(80, 76);
  ASSERT_FALSE(map.GetIsoInfo(80, 45)->GetVisibleFlag());

  // The bus enters where the way out comes into view, past the first stop:
  // it heads for the second, on the street it stands on.
  line->OnPlayloopTurn();
  ASSERT_EQ(line->GetVehicleCount(), 1);
  CMicroOpnv* bus = line->GetVehicle(0);
  ASSERT_NE(bus, nullptr);
  const BinaryMicroSimObject* cell = bus->GetMicroSimObject();
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->m_pCar, bus);
  EXPECT_TRUE(cell->m_Visible);
  const LineDataType& data = *line->GetData();
  int street = -1;
  for (int i = 0; i < data.streetsOneWay; ++i)
    if (data.streetIds[i] == cell->m_SimID) street = i;
  EXPECT_GE(street, 0) << "a street of the way out";
  int next = -1;
  EXPECT_EQ(line->GetNextMicroHstID(0, next), b->GetID());
  EXPECT_EQ(next, 1);

  // The view leaves the line: the bus stands out of it, kept for 10 s and
  // then taken off; no other comes before the next one's time.
  map.SetIsoCenter(30, 30);
  const uint32_t left = zortest::Clock().Now();
  line->OnPlayloopTurn();
  zortest::Clock().Set(left + COpnvLine::kOutOfViewTime - 1);
  line->OnPlayloopTurn();
  EXPECT_EQ(line->GetVehicle(0), bus);
  EXPECT_EQ(line->GetVehicleCount(), 1);
  zortest::Clock().Set(left + COpnvLine::kOutOfViewTime);
  line->OnPlayloopTurn();
  EXPECT_EQ(line->GetVehicleCount(), 0);
  EXPECT_EQ(line->GetVehicle(0), nullptr);
  EXPECT_EQ(world.GetUserInt()->GetBusList()->GetCount(), 0) << "the bus is gone";
  // While no part of the line is in view, no bus is put up.
  zortest::Clock().Set(left + COpnvLine::kVehicleGap);
  line->OnPlayloopTurn();
  EXPECT_EQ(line->GetVehicleCount(), 0);
  EXPECT_EQ(line->GetVehicle(0), nullptr);

  // Back on the line once the next bus is due, one comes into view again.
  map.SetIsoCenter(80, 76);
  zortest::Clock().Set(left + 2 * COpnvLine::kVehicleGap);
  line->OnPlayloopTurn();
  ASSERT_EQ(line->GetVehicleCount(), 1);
  ASSERT_NE(line->GetVehicle(0), nullptr);
  EXPECT_TRUE(line->GetVehicle(0)->GetMicroSimObject()->m_Visible);
  line->Destroy();
  delete line;
}

// Where a bus enters with the first stop out of view: the first cell of its
// way (out for even slots, back for odd) that the view shows, in driving
// order, heading for the first stop at or after that cell.
TEST_F(Lines, ABusEntersAtTheFirstCellOfItsWayInViewAndHeadsForTheStopAfterIt) {
  CSecondLayerObject* b = nullptr;
  COpnvLine* line = BusLineOn80(45, 85, 0, &b);
  ASSERT_NE(line, nullptr);
  const LineDataType& data = *line->GetData();
  ASSERT_EQ(data.streetsOneWay, 2);
  ASSERT_EQ(data.streetEntries, 4);
  CIsoWelt& map = *world.GetIsoWelt();
  // The first visible cell of route street `entry` between rows from and to
  // (stepping as the street is driven).
  auto firstInView = [&](int entry, int from, int to) -> const BinaryMicroSimObject* {
    CStrStrasse* street = world.GetStreetNet()->GetStreetByID(data.streetIds[entry]);
    CMicroZellenGroup* group = street ? street->GetMicroZellenGroup() : nullptr;
    if (!group) return nullptr;
    for (int y = from;; y += from < to ? 1 : -1) {
      const BinaryMicroSimObject* cell =
          group->FindMember(80, static_cast<unsigned short>(y), static_cast<uint16_t>(data.streetIds[entry]), false);
      if (cell && cell->m_Visible) return cell;
      if (y == to) return nullptr;
    }
  };
  // The stop a bus heads for: its index on the line and its id.
  auto nextStop = [&](int slot) {
    int next = -1;
    const int id = line->GetNextMicroHstID(slot, next);
    return std::pair(next, id);
  };
  const uint32_t t0 = zortest::Clock().Now();

  // The view's top edge cuts the first street past the first stop: the bus
  // out enters there, for the second stop; the bus back enters where its
  // way begins, before the second stop on the way back.
  map.SetIsoCenter(80, 76);
  ASSERT_FALSE(map.GetIsoInfo(80, 45)->GetVisibleFlag());
  ASSERT_TRUE(map.GetIsoInfo(80, 60)->GetVisibleFlag());
  line->OnPlayloopTurn();
  ASSERT_NE(line->GetVehicle(0), nullptr);
  const BinaryMicroSimObject* out = firstInView(0, 40, 69);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(line->GetVehicle(0)->GetMicroSimObject(), out);
  EXPECT_EQ(nextStop(0), std::pair(1, static_cast<int>(b->GetID())));
  zortest::Clock().Set(t0 + COpnvLine::kVehicleGap);
  line->OnPlayloopTurn();
  ASSERT_NE(line->GetVehicle(1), nullptr);
  const BinaryMicroSimObject* back = firstInView(2, 90, 71);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(line->GetVehicle(1)->GetMicroSimObject(), back);
  EXPECT_EQ(nextStop(1), std::pair(2, static_cast<int>(b->GetID())));
  line->Destroy();
  delete line;
}

// The view's bottom edge cuts the first street before the first stop: the
// bus out enters at the street's first cell in view and heads for that
// stop, and so does the bus back, which comes into view past the last.
TEST_F(Lines, ABusEnteringBeforeTheFirstStopOrPastTheLastHeadsForTheFirst) {
  COpnvLine* line = BusLineOn80(45, 85, 0);
  ASSERT_NE(line, nullptr);
  const LineDataType& data = *line->GetData();
  CIsoWelt& map = *world.GetIsoWelt();
  map.SetIsoCenter(80, 22);
  ASSERT_FALSE(map.GetIsoInfo(80, 45)->GetVisibleFlag());
  ASSERT_TRUE(map.GetIsoInfo(80, 41)->GetVisibleFlag());
  line->OnPlayloopTurn();
  CMicroOpnv* bus = line->GetVehicle(0);
  ASSERT_NE(bus, nullptr);
  EXPECT_EQ(bus->GetMicroSimObject()->m_SimID, data.streetIds[0]);
  EXPECT_TRUE(bus->GetMicroSimObject()->m_Visible);
  int next = -1;
  EXPECT_EQ(line->GetNextMicroHstID(0, next), data.stopIds[0]);
  EXPECT_EQ(next, 0);
  // The bus back first comes into view past the way back's last stop: it
  // heads for the line's first stop again.
  zortest::Clock().Set(zortest::Clock().Now() + COpnvLine::kVehicleGap);
  line->OnPlayloopTurn();
  CMicroOpnv* back = line->GetVehicle(1);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->GetMicroSimObject()->m_SimID, data.streetIds[3]);
  EXPECT_TRUE(back->GetMicroSimObject()->m_Visible);
  next = -1;
  EXPECT_EQ(line->GetNextMicroHstID(1, next), data.stopIds[0]);
  EXPECT_EQ(next, 0);
  line->Destroy();
  delete line;
}

}  // namespace
