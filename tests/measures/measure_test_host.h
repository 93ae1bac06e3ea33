#pragma once
// The world as the service measures see it, scripted: the population, named
// values and the network's maxima by name, the city model, the money and
// the hint windows. Held to the game's own host by the contract test in
// tests/world/test_host_contracts.cpp.
#include <map>
#include <string>

#include "worldbase/zor_world_host.h"

class MeasureWorldHost : public CWorldHost {
 public:
  int people = 0;
  std::map<std::string, double> values;
  std::map<std::string, double> maxima;
  CSimCityModell* city = nullptr;
  std::map<int, bool> hints;
  // Money the finances would refuse above this amount.
  int money = 1 << 30;
  std::map<std::string, double> booked;

  // A named value set through the game model reads back the same.
  void SetValue(const char* name, double v) { values[name] = v; }
  double GetExchangeValue(const char* name) override {
    const auto it = values.find(name);
    return it == values.end() ? 0.0 : it->second;
  }
  double GetExchangeMax(const char* name) override {
    const auto it = maxima.find(name);
    return it == maxima.end() ? 0.0 : it->second;
  }
  int GetPeople() override { return people; }
  CSimCityModell* GetCityModel() override { return city; }
  void SetHinweisWindow(int window, bool on) override { hints[window] = on; }
  bool loading = false;
  bool IsLoading() override { return loading; }
  int CheckForMoney(int amount) override { return amount > money ? 1 : 0; }
  void VarAddValue(const char* name, double value) override { booked[name] += value; }
};
