#pragma once
// Active route guidance with its roadside beacons.
// Stand-in: only what the world's start-up and turn call on it.
#include "framework/zor_pointer_list.h"
#include "sim/sim_date.h"
#include "worldbase/zor_world_obj.h"

class CBuildingObject;

class CAktiveRoutenPlanung : public CWorldObj {
 public:
  // One roadside beacon more; 0.
  virtual int AddSendeMast(CBuildingObject* mast);
  virtual int RemoveSendeMast(CBuildingObject* mast);
  using CWorldObj::OnPlayloopTurn;
  virtual int OnPlayloopTurn(STime now, STime last);
  virtual int ResetYearData(STime now, STime last);
  // The object list named by the key, or null.
  virtual CZorvaList* GetList(const char* key);
};
