#pragma once
// The host the service measures' tests install: named values, their
// largest sizes, people, district residents, the city model, the savegame
// being read and pinned god values as the test sets them; the hint states
// and the adviser's messages it was given. Held to the game's own host by
// the contract test in tests/world/test_host_contracts.cpp.
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "measures/measure_host.h"
#include "sim/sim_date.h"
#include "worldbase/zor_world_host.h"
#include "worldbase/zor_world_obj.h"

struct MeasureTestHost : CMeasureHost {
  std::map<std::string, double> values;
  std::map<std::string, double> maxima;
  int people = 0;
  bool hasCity = true;
  CSimCityModell* city = nullptr;
  bool loading = false;
  int residents[16][16] = {};
  std::set<int> pinned;
  std::map<int, int> hints;
  struct Message {
    int group, entry, x, y;
  };
  std::vector<Message> messages;

  double GetExchangeValue(const char* name) override {
    const auto it = values.find(name);
    return it == values.end() ? 0.0 : it->second;
  }
  // A named value set through the game model reads back the same.
  void SetValue(const char* name, double v) { values[name] = v; }
  double GetExchangeMax(const char* name) override {
    const auto it = maxima.find(name);
    return it == maxima.end() ? 0.0 : it->second;
  }
  int GetPeople() override { return people; }
  CSimCityModell* GetCityModel() override { return city; }
  bool IsLoading() override { return loading; }
  bool GetDistrictResidents(int (&out)[16][16]) override {
    if (!hasCity) return false;
    std::memcpy(out, residents, sizeof residents);
    return true;
  }
  bool IsGottWertActive(int n) override { return pinned.count(n) != 0; }
  void SetHinweisWindow(int window, int state) override { hints[window] = state; }
  void ActivateMessage(int group, int entry, int x, int y, int, int) override {
    messages.push_back({group, entry, x, y});
  }
};

// The time of a turn at that fractional year.
inline STime MeasureTime(float fyear) {
  STime t;
  t.year = static_cast<int>(fyear);
  t.fyear = fyear;
  return t;
}

// A named value that the object must hold.
inline double MeasureValue(CWorldObj& o, const char* key) {
  double v = -1;
  EXPECT_EQ(o.GetVarData(key, &v), 0) << key;
  return v;
}

// The measures' host together with the world's money, for the measures
// that pay for campaigns: money the finances would refuse above `money`,
// and the amounts booked by name.
struct MeasureWorldHost : MeasureTestHost, CWorldHost {
  int money = 1 << 30;
  std::map<std::string, double> booked;

  // Installs it as both hosts; null restores the defaults.
  static void Install(MeasureWorldHost* host) {
    CMeasureHost::Install(host);
    CWorldHost::Install(host);
  }
  int CheckForMoney(int amount) override { return amount > money ? 1 : 0; }
  void VarAddValue(const char* name, double value) override { booked[name] += value; }
};
