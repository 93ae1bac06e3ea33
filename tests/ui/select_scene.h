#pragma once
// The interface controller on a small hand-built town: the street and rail
// networks on the map of the generated game data, the price table, and a
// world host that books costs into a table of variables.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "measures/preise.h"
#include "network/rail_scene.h"
#include "ui/user_int.h"
#include "worldbase/zor_world_host.h"

namespace seltest {

// Books costs by name; prices come from the game's price table.
class BookingHost : public CWorldHost {
 public:
  BookingHost() { CWorldHost::Install(this); }
  ~BookingHost() override { CWorldHost::Install(nullptr); }
  double GetPreis(int entry, int cls) override { return CPreise::GetPreis(entry, cls); }
  void VarAddValue(const char* name, double value) override {
    booked[name] += value;
    ++bookings;
  }
  std::map<std::string, double> booked;
  int bookings = 0;
};

// The controller with its warnings recorded.
class SelectUi : public CUserInt {
 public:
  void SetAchtungWindow(int id) override { warnings.push_back(id); }
  using CUserInt::CheckSelStreet;
  using CUserInt::DeleteStreet;
  std::vector<int> warnings;
};

struct Town : ::testing::Test {
  void SetUp() override {
    delete CPreise::SetPreise();
    ui = new SelectUi;
    ASSERT_EQ(ui->OnCreate(nullptr, nullptr, nullptr, w.map, w.net.get()), 0);
  }
  void TearDown() override { delete ui; }

  // Recomputes the marking for street type `type` as choosing the tool does.
  void Mark(int type) {
    CUserInt::selObj.tool = 2;
    CUserInt::selObj.subtool = type;
    ui->CheckSelStreet(0, 0);
  }
  int Code(int x, int y) { return ui->GetTileMask(x, y); }
  int Bits(int x, int y) { return ui->GetTileMask2(x, y); }

  railtest::RailWorld w;
  BookingHost booking;
  SelectUi* ui = nullptr;
};

}  // namespace seltest
