#pragma once
// Park-and-ride sites.
// Stand-in: only what the world's start-up and turn call on it.
#include "framework/zor_pointer_list.h"
#include "sim/sim_date.h"
#include "worldbase/zor_world_obj.h"

class CBuildingTrafficObject;

class CParkRide : public CWorldObj {
 public:
  // One park-and-ride site more; 0.
  virtual int AddParkRide(CBuildingTrafficObject* site);
  virtual int RemoveParkRide(CBuildingTrafficObject* site);
  using CWorldObj::OnPlayloopTurn;
  virtual int OnPlayloopTurn(STime now, STime last);
  // The object list named by the key, or null.
  virtual CZorvaList* GetList(const char* key);
};
