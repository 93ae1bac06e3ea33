#pragma once
// The hosts the operator's tests install: the world's side records the
// warnings shown and answers the money question; public transport's side
// records the adviser's messages and answers the research effects and the
// city's bus figures as the test sets them.
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <memory>

#include "measures/opnv.h"
#include "measures/opnv_host.h"
#include "measures/preise.h"
#include "worldbase/zor_world_host.h"

struct OpnvWorldHost : CWorldHost {
  std::vector<int> warnings;
  std::map<std::string, double> added;
  // Amounts above this cannot be paid.
  int affordable = 1 << 30;
  void SetAchtungWindow(int warning) override { warnings.push_back(warning); }
  int CheckForMoney(int amount) override { return amount > affordable ? 1 : 0; }
  void VarAddValue(const char* name, double value) override { added[name] += value; }
};

struct OpnvTestHost : COpnvHost {
  std::map<std::string, double> values;
  std::vector<int> messages;
  bool badService = false;
  bool refuseMessages = false;
  bool tooFewLines = false;
  double busLength = 0;
  int busTrips = 0;
  double GetExchangeValue(const char* name) override {
    const auto it = values.find(name);
    return it == values.end() ? 0.0 : it->second;
  }
  int ActivateMessage(int kind, int number, int, int, int, int, int, int, int, int) override {
    messages.push_back(kind * 100 + number);
    return refuseMessages ? 1 : 0;
  }
  bool CheckBadService() override { return badService; }
  bool CheckTooFewLines() override { return tooFewLines; }
  double StreckenlaengeBus() override { return busLength; }
  int NrOfBusTrips() override { return busTrips; }
  void SetVarWorldObject(int window, int, int, CWorldObj* object) override { bound[window] = object; }
  void SetZorvaList(int window, int, CZorvaList* list, int) override { lists[window] = list; }
  void ActivateWindow(int) override {}
  void SetSelectedLine(COpnvLine* line, int) override { selected = line; }
  COpnvLine* GetSelectedLine() override { return selected; }
  CBuildingObject* GetSelectedHst() override { return nullptr; }
  void ClearSelectedHst() override {}
  void ForgetLine(COpnvLine* line) override {
    if (selected == line) selected = nullptr;
    for (auto& [window, object] : bound)
      if (object == line) object = nullptr;
  }
  void RefreshWindowLineChange() override { ++lineRefreshes; }
  int lineRefreshes = 0;
  COpnvLine* selected = nullptr;
  // The object and the list last bound to each window.
  std::map<int, CWorldObj*> bound;
  std::map<int, CZorvaList*> lists;
};

// A created operator with the price list and both hosts installed.
class OpnvFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    prices.reset(CPreise::SetPreise());
    CWorldHost::Install(&world);
    COpnvHost::Install(&host);
    opnv.Create();
  }
  void TearDown() override {
    opnv.Destroy();
    COpnvHost::Install(nullptr);
    CWorldHost::Install(nullptr);
  }

  std::unique_ptr<CPreise> prices;
  OpnvWorldHost world;
  OpnvTestHost host;
  COpnv opnv;
};
