#pragma once
// What the data exchange's hourly values and growth targets take from the
// running game: the map, the street and rail networks, the city model's
// jobs and workers, the interface's static-city switch, and the first
// time the growth target is reached (the adviser's message and window,
// and a pause).
#include "model/data_exchange.h"

class CZorvaWorld;

class CZorGrowthContext : public CGrowthContext {
 public:
  static constexpr int kGrowthWindow = 236;

  explicit CZorGrowthContext(CZorvaWorld& world) : m_world(world) {}
  CIsoWelt* Map() override;
  CStrJunctionList* StreetNet() override;
  CStrJunctionList* RailNet() override;
  void CityJobs(int* jobs, int* workers) override;
  void GrowthTargetReached() override;
  bool StaticCity() override;

 private:
  CZorvaWorld& m_world;
};
