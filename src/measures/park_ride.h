#pragma once
// Park-and-ride sites.
// Stand-in for the measure's own fields, keys and steps: the common
// pattern alone, with no block, and what the world's start-up calls on it.
#include "framework/zor_pointer_list.h"
#include "sim/sim_date.h"
#include "measures/measure.h"

class CBuildingTrafficObject;

class CParkRide : public CMeasure {
 public:
  CParkRide() : CMeasure(kMeasureWithoutBlock, nullptr) {}
  // One park-and-ride site more; 0.
  virtual int AddParkRide(CBuildingTrafficObject* site);
  virtual int RemoveParkRide(CBuildingTrafficObject* site);
};
