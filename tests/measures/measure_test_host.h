#pragma once
// The host the service measures' tests install: named values, people,
// district residents and pinned god values as the test sets them; the hint
// states and the adviser's messages it was given.
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "measures/measure_host.h"
#include "sim/sim_date.h"
#include "worldbase/zor_world_obj.h"

struct MeasureTestHost : CMeasureHost {
  std::map<std::string, double> values;
  int people = 0;
  bool hasCity = true;
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
  int GetPeople() override { return people; }
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
