#pragma once
// Parking management: car parks, their places and guidance signs.
// Stand-in for the measure's own fields, keys and steps: the common
// pattern alone, with no block, and what the world's start-up calls on it.
#include "framework/zor_pointer_list.h"
#include "sim/sim_date.h"
#include "measures/building_object.h"
#include "measures/measure.h"

class CBuildingParkingObject;
class CSecondLayerObject;

class CParkManagement : public CMeasure {
 public:
  CParkManagement() : CMeasure(kMeasureWithoutBlock, nullptr) {}
  // Takes a car park on (60, 120 or 250 places by size class); 0.
  virtual int AddParking(CBuildingParkingObject* building, ToolBuildingParkingSize size, ParkingDataType* parking);
  virtual int RemoveParking(CBuildingParkingObject* building);
  virtual int RemoveParkDisplay(CSecondLayerObject* sign);
};
