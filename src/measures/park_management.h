#pragma once
// Parking management: car parks, their places and guidance signs.
// Stand-in: only what the world's start-up and turn call on it.
#include "framework/zor_pointer_list.h"
#include "sim/sim_date.h"
#include "measures/building_object.h"
#include "worldbase/zor_world_obj.h"

class CBuildingParkingObject;
class CSecondLayerObject;

class CParkManagement : public CWorldObj {
 public:
  // Takes a car park on (60, 120 or 250 places by size class); 0.
  virtual int AddParking(CBuildingParkingObject* building, ToolBuildingParkingSize size, ParkingDataType* parking);
  virtual int RemoveParking(CBuildingParkingObject* building);
  virtual int RemoveParkDisplay(CSecondLayerObject* sign);
  using CWorldObj::OnPlayloopTurn;
  virtual int OnPlayloopTurn(STime now, STime last);
  virtual int ResetYearData(STime now, STime last);
  // The object list named by the key, or null.
  virtual CZorvaList* GetList(const char* key);
};
