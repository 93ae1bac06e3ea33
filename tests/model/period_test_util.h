#pragma once
// A data exchange as the period sees the game: owners that answer any name
// from a table, a network with every input node, a small city, and a record
// of the messages the events hand to the message system.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cybernet/cyber_net.h"
#include "model/data_exchange.h"
#include "model/message.h"
#include "sim/sim_city_model.h"
#include "support/test_support.h"

namespace periodtest {

// Answers every name it was given; 1 for the others.
class MapOwner : public CWorldObj {
 public:
  std::map<std::string, double> values;
  using CWorldObj::GetVarData;
  using CWorldObj::SetVarData;
  int GetVarData(const char* name, double* value) override {
    const auto it = values.find(name);
    if (it == values.end()) return 1;
    *value = it->second;
    return 0;
  }
  int SetVarData(const char* name, double value) override {
    values[name] = value;
    return 0;
  }
};

struct Posted {
  bool paced;
  int group, entry;
  float v1, v2, v3;
  int x, y, window, xd, yd;
};

// Records what it would hand to the message system; `refuse` makes it
// answer as a message system that refused.
class RecordingExchange : public CDataExchange {
 public:
  std::vector<Posted> posted;
  bool refuse = false;
  bool Has(int group, int entry) const {
    for (const Posted& p : posted)
      if (p.group == group && p.entry == entry) return true;
    return false;
  }
  const Posted* Find(int group, int entry) const {
    for (const Posted& p : posted)
      if (p.group == group && p.entry == entry) return &p;
    return nullptr;
  }

 protected:
  int PostMessage(bool paced, int group, int entry, float v1, float v2, float v3, int x, int y, int window, int xd,
                  int yd) override {
    posted.push_back({paced, group, entry, v1, v2, v3, x, y, window, xd, yd});
    return refuse ? 1 : 0;
  }
};

class CityContext : public CGrowthContext {
 public:
  CSimCityModell* city = nullptr;
  CMessage* message = nullptr;
  CGottModus* god = nullptr;
  bool hold = false, staticCity = false, paused = false;
  std::vector<int> opened, closed;
  CSimCityModell* City() override { return city; }
  CMessage* Message() override { return message; }
  CGottModus* GottModus() override { return god; }
  void ActivateWindow(int window) override { opened.push_back(window); }
  void DeActivateWindow(int window) override { closed.push_back(window); }
  void SetPause() override { paused = true; }
  bool NetHold() override { return hold; }
  bool StaticCity() override { return staticCity; }
};

// A network with a plain node for every input the period feeds, each with
// the range 0..`max` unless `ranges` names another, and the node "M5".
inline std::unique_ptr<CCyberNet> InputNet(const std::map<std::string, std::pair<double, double>>& ranges = {},
                                           double max = 1.0e6, const std::string& extra = "") {
  std::string text;
  const CDataExchange::SFeed* feed = CDataExchange::GetFeedTable();
  for (int i = 0; i < CDataExchange::kFeedCount; ++i) {
    const std::string name = feed[i].name + 2;
    double lo = 0.0, hi = max;
    if (const auto it = ranges.find(name); it != ranges.end()) lo = it->second.first, hi = it->second.second;
    text += "NodeBegin BasicNode Name " + name + " Value 0 MinSize " + std::to_string(lo) + " MaxSize " +
            std::to_string(hi) + " NodeEnd\n";
  }
  text += "NodeBegin BasicNode Name M5 Value 0.25 MinSize 0 MaxSize 1 NodeEnd\n" + extra;
  zortest::WriteFile("period.def", text);
  auto net = std::make_unique<CCyberNet>();
  net->InsertStandardTemplates();
  FILE* f = std::fopen("period.def", "r");
  net->Read(f);
  std::fclose(f);
  return net;
}

inline STime At(int hour, int year = 3) {
  STime t{};
  t.hour = hour;
  t.day = 1;
  t.year = year;
  t.fyear = year;
  return t;
}

}  // namespace periodtest
