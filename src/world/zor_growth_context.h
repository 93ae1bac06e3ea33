#pragma once
// What the data exchange's hourly values, growth targets, period cycle and
// global events take from the running game: the map, the street and rail
// networks, the city model's jobs and workers, the interface's static-city
// switch and network freeze, the first time the growth target is reached
// (the adviser's message and window, and a pause), the message system, god
// mode, and the windows and pause of the game; and what god mode takes:
// the statistics, the indicators, the blocked state and the debug switch.
#include "model/data_exchange.h"
#include "model/gott_modus.h"

class CZorvaWorld;

class CZorGrowthContext : public CGrowthContext, public CGottModusHost {
 public:
  static constexpr int kGrowthWindow = 236;

  explicit CZorGrowthContext(CZorvaWorld& world) : m_world(world) {}
  CIsoWelt* Map() override;
  CStrJunctionList* StreetNet() override;
  CStrJunctionList* RailNet() override;
  void CityJobs(int* jobs, int* workers) override;
  void GrowthTargetReached() override;
  bool StaticCity() override;
  bool MakeAgents() override;
  bool NetHold() override;
  CMessage* Message() override;
  CGottModus* GottModus() override;
  void ActivateWindow(int window) override;
  void DeActivateWindow(int window) override;
  void SetPause() override;
  CStatistik* Statistik() override;
  CIndikatoren* Indikatoren() override;
  void SetBlocked(int state) override;
  bool DebugInfo() override;
  void SetAdviceCentreQuote(float percent) override;

 private:
  CZorvaWorld& m_world;
};
