#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/zor_pointer_list.h"
#include "measures/opnv.h"
#include "measures/opnv_line.h"
#include "measures/opnv_net.h"
#include "measures/preise.h"
#include "opnv_test_hosts.h"

namespace {

class OpnvLines : public OpnvFixture {
 protected:
  static int32_t Held(COpnvLine* line, EOpnvFleetKind kind) {
    int32_t f[FLEET_KINDS] = {};
    line->GetFp(f[FLEET_NORMAL], f[FLEET_ENERGIE], f[FLEET_H2], f[FLEET_LOWFLOOR], f[FLEET_TRAM]);
    return f[kind];
  }
  // Buys vehicles of a kind through its fleet row; they wait in the pool.
  void Own(const char* row, int count) {
    ASSERT_EQ(opnv.SetVarData(row, count), 0);
    opnv.CheckFP();
  }
};

TEST_F(OpnvLines, NewLinesTakeRisingNumbersSharedByBusAndTram) {
  opnv.SetNewMatrix(false);
  COpnvLine* bus = opnv.CreateNewLine(NET_BUS);
  ASSERT_NE(bus, nullptr);
  EXPECT_TRUE(opnv.GetNewMatrix());
  COpnvLine* tram = opnv.CreateNewLine(NET_TRAM);
  ASSERT_NE(tram, nullptr);
  EXPECT_EQ(opnv.CreateNewLine(NET_VIRTUELL), nullptr);
  EXPECT_EQ(bus->GetID(), 1);
  EXPECT_EQ(tram->GetID(), 2);
  EXPECT_EQ(bus->GetNetType(), NET_BUS);
  EXPECT_EQ(tram->GetNetType(), NET_TRAM);
  EXPECT_EQ(opnv.GetBusNet()->GetLineObjectByID(1), bus);
  EXPECT_EQ(opnv.GetTramNet()->GetLineObjectByID(2), tram);
  // Numbers are not given again after a removal.
  EXPECT_EQ(opnv.RemoveLine(bus, 1), 0);
  EXPECT_EQ(opnv.CreateNewLine(NET_BUS)->GetID(), 3);
  EXPECT_EQ(opnv.RemoveLine(99), 1);
}

TEST_F(OpnvLines, EachNetsLinesGoToTheListWindowOfTheirKind) {
  ASSERT_NE(opnv.CreateNewLine(NET_BUS), nullptr);
  ASSERT_NE(opnv.CreateNewLine(NET_TRAM), nullptr);
  ASSERT_EQ(opnv.SetVarData("OPNV.NET.LINES", NET_BUS), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.NET.LINES", NET_TRAM), 0);
  EXPECT_EQ(host.bound[131], static_cast<CWorldObj*>(opnv.GetBusNet()));
  EXPECT_EQ(host.lists[131], opnv.GetBusNet()->GetList());
  // The tram lines fill the tram list, and leave the bus list to the buses.
  EXPECT_EQ(host.bound[132], static_cast<CWorldObj*>(opnv.GetTramNet()));
  EXPECT_EQ(host.lists[132], opnv.GetTramNet()->GetList());
  EXPECT_NE(host.lists[132], host.lists[131]);
}

TEST_F(OpnvLines, VehiclesMoveBetweenThePoolsAndTheActiveLineAndComeBackWithARemovedLine) {
  COpnvLine* line = opnv.CreateNewLine(NET_BUS);
  ASSERT_NE(line, nullptr);
  opnv.SetActiveLine(line->GetID());
  ASSERT_EQ(opnv.GetActiveLine(), line);
  // Empty pools: nothing moves and the player is told.
  ASSERT_EQ(opnv.SetVarData("OPNV.MOVEFP.PLUS", 1), 0);
  EXPECT_EQ(world.warnings, std::vector<int>{54});
  Own("OPNV.FP.BUS.NORMAL", 2);
  ASSERT_EQ(opnv.SetVarData("OPNV.MOVEFP.PLUS", 1), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.MOVEFP.PLUS", 1), 0);
  EXPECT_EQ(Held(line, FLEET_NORMAL), 2);
  EXPECT_EQ(opnv.GetFreeFp(FLEET_NORMAL), 0);
  double free = -1;
  ASSERT_EQ(opnv.GetVarData("OPNV.FREEFP", &free), 0);
  EXPECT_EQ(free, 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.MOVEFP.MINUS", 1), 0);
  EXPECT_EQ(Held(line, FLEET_NORMAL), 1);
  EXPECT_EQ(opnv.GetFreeFp(FLEET_NORMAL), 1);
  // The hourly check keeps owned = on lines + pool.
  opnv.CheckFP();
  EXPECT_EQ(opnv.GetFreeFp(FLEET_NORMAL), 1);
  EXPECT_EQ(COpnv::GetVarValue("OPNV.FP.BUS.NORMAL"), 2);
  EXPECT_EQ(opnv.RemoveLine(line, line->GetID()), 0);
  EXPECT_EQ(opnv.GetActiveLine(), nullptr);
  EXPECT_EQ(opnv.GetFreeFp(FLEET_NORMAL), 2);
}

// Before a load every line goes, its vehicles back to the pools; the line
// windows and the staff are brought up to date once, for no lines at all.
TEST_F(OpnvLines, RemovingEveryLineReturnsTheFleetAndUpdatesTheWindowsAndStaffOnce) {
  COpnvLine* buses[3] = {opnv.CreateNewLine(NET_BUS), opnv.CreateNewLine(NET_BUS), opnv.CreateNewLine(NET_BUS)};
  COpnvLine* tram = opnv.CreateNewLine(NET_TRAM);
  for (COpnvLine* line : buses) ASSERT_NE(line, nullptr);
  ASSERT_NE(tram, nullptr);
  buses[0]->AddFp(2, 1, 0, 0, 0);
  buses[2]->AddFp(0, 0, 1, 3, 0);
  tram->AddFp(0, 0, 0, 0, 4);
  opnv.SetActiveLine(buses[1]->GetID());
  host.selected = buses[2];
  COpnv::SetVarValue("OPNV.PERS.NEEDED", 7);
  COpnv::SetVarValue("OPNV.FP.BUS.NEEDED", 5);
  host.lineRefreshes = 0;

  EXPECT_EQ(opnv.RemoveAllLineBeforeLoadExit(), 0);
  EXPECT_EQ(opnv.GetBusNet()->GetLineObjectByNr(0), nullptr);
  EXPECT_EQ(opnv.GetTramNet()->GetLineObjectByNr(0), nullptr);
  EXPECT_EQ(opnv.GetActiveLine(), nullptr);
  EXPECT_EQ(host.selected, nullptr);
  EXPECT_EQ(opnv.GetFreeFp(FLEET_NORMAL), 2);
  EXPECT_EQ(opnv.GetFreeFp(FLEET_ENERGIE), 1);
  EXPECT_EQ(opnv.GetFreeFp(FLEET_H2), 1);
  EXPECT_EQ(opnv.GetFreeFp(FLEET_LOWFLOOR), 3);
  EXPECT_EQ(opnv.GetFreeFp(FLEET_TRAM), 4);
  EXPECT_EQ(COpnv::GetVarValue("OPNV.PERS.NEEDED"), 0);
  EXPECT_EQ(COpnv::GetVarValue("OPNV.FP.BUS.NEEDED"), 0);
  EXPECT_EQ(host.lineRefreshes, 1);
  // With no line left there is nothing to bring up to date.
  EXPECT_EQ(opnv.RemoveAllLineBeforeLoadExit(), 0);
  EXPECT_EQ(host.lineRefreshes, 1);
  // A line removed on its own updates them at once again.
  COpnvLine* later = opnv.CreateNewLine(NET_BUS);
  ASSERT_NE(later, nullptr);
  COpnv::SetVarValue("OPNV.PERS.NEEDED", 7);
  EXPECT_EQ(opnv.RemoveLine(later, later->GetID()), 0);
  EXPECT_EQ(host.lineRefreshes, 2);
  EXPECT_EQ(COpnv::GetVarValue("OPNV.PERS.NEEDED"), 0);
}

TEST_F(OpnvLines, ASaleBeyondThePoolTakesTheRestFromTheBusLinesInListOrder) {
  COpnvLine* first = opnv.CreateNewLine(NET_BUS);
  COpnvLine* second = opnv.CreateNewLine(NET_BUS);
  first->AddFp(2, 0, 0, 0, 0);
  second->AddFp(2, 0, 0, 0, 0);
  // Four on the lines, one more owned: it goes to the pool.
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL", 5), 0);
  opnv.CheckFP();
  EXPECT_EQ(opnv.GetFreeFp(FLEET_NORMAL), 1);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.NORMAL.BUYSELL", -4), 0);
  ASSERT_EQ(opnv.SetVarData("OPNV.FP.BUS.BUYSELL.OK", 1), 0);
  EXPECT_EQ(COpnv::GetVarValue("OPNV.FP.BUS.NORMAL"), 1);
  EXPECT_EQ(opnv.GetFreeFp(FLEET_NORMAL), 0);
  // The list's head (the newer line) gives up first.
  COpnvLine* head = opnv.GetBusNet()->GetLineObjectByNr(0);
  COpnvLine* tail = opnv.GetBusNet()->GetLineObjectByNr(1);
  EXPECT_EQ(Held(head, FLEET_NORMAL), 0);
  EXPECT_EQ(Held(tail, FLEET_NORMAL), 1);
  // Owning fewer than the lines hold raises the owned count.
  COpnv::SetVarValue("OPNV.FP.BUS.NORMAL", 0);
  opnv.CheckFP();
  EXPECT_EQ(COpnv::GetVarValue("OPNV.FP.BUS.NORMAL"), 1);
}

TEST_F(OpnvLines, TheDemandModelWalksActiveBusThenTramThenVirtualLines) {
  std::vector<COpnvLine*> bus;
  for (int i = 0; i < 3; ++i) bus.push_back(opnv.CreateNewLine(NET_BUS));
  COpnvLine* tram = opnv.CreateNewLine(NET_TRAM);
  bus[0]->GetData()->active = 1;
  bus[2]->GetData()->active = 1;
  tram->GetData()->active = 1;
  for (int i = 0; i < 3; ++i) {
    auto* link = new COpnvLine(NET_VIRTUELL);
    link->Create(i + 1, nullptr, NET_VIRTUELL);
    opnv.GetVirNet()->AddOpnvLine(link);
  }
  std::vector<int32_t> types;
  std::vector<int16_t> numbers;
  opnv.SimSetupLineDataCount();
  while (LineDataType* d = opnv.SimGetNextLineData()) {
    types.push_back(d->netType);
    numbers.push_back(d->lineNumber);
  }
  EXPECT_EQ(types, (std::vector<int32_t>{1, 1, 2, 3, 3, 3}));
  EXPECT_EQ(numbers[2], tram->GetID());
  // A second walk gives the same.
  opnv.SimSetupLineDataCount();
  int again = 0;
  while (opnv.SimGetNextLineData()) ++again;
  EXPECT_EQ(again, 6);
}

}  // namespace
