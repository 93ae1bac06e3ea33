#pragma once
// Active route guidance with its roadside beacons.
// Stand-in for the measure's own fields, keys and steps: the common
// pattern alone, with no block, and what the world's start-up calls on it.
#include "framework/zor_pointer_list.h"
#include "sim/sim_date.h"
#include "measures/measure.h"

class CBuildingObject;

class CAktiveRoutenPlanung : public CMeasure {
 public:
  CAktiveRoutenPlanung() : CMeasure(kMeasureWithoutBlock, nullptr) {}
  // One roadside beacon more; 0.
  virtual int AddSendeMast(CBuildingObject* mast);
  virtual int RemoveSendeMast(CBuildingObject* mast);
};
