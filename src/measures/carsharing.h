#pragma once
// Car sharing: the centre and its stations.
// Stand-in for the measure's own fields, keys and steps: the common
// pattern alone, with no block, and what the world's start-up calls on it.
#include "framework/zor_pointer_list.h"
#include "sim/sim_date.h"
#include "measures/measure.h"

class CBuildingTrafficObject;

class CCarsharing : public CMeasure {
 public:
  CCarsharing() : CMeasure(kMeasureWithoutBlock, nullptr) {}
  // Takes the centre or a station on; 0.
  virtual int AddOutlet(CBuildingTrafficObject* outlet);
  // 1 when the centre may not go while stations remain (unless forced).
  virtual int RemoveOutlet(CBuildingTrafficObject* outlet, bool force);
};
