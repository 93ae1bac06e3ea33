#pragma once
// Car sharing: the centre and its stations.
// Stand-in: only what the world's start-up and turn call on it.
#include "framework/zor_pointer_list.h"
#include "sim/sim_date.h"
#include "worldbase/zor_world_obj.h"

class CBuildingTrafficObject;

class CCarsharing : public CWorldObj {
 public:
  // Takes the centre or a station on; 0.
  virtual int AddOutlet(CBuildingTrafficObject* outlet);
  // 1 when the centre may not go while stations remain (unless forced).
  virtual int RemoveOutlet(CBuildingTrafficObject* outlet, bool force);
  using CWorldObj::OnPlayloopTurn;
  virtual int OnPlayloopTurn(STime now, STime last);
  virtual int ResetYearData(STime now, STime last);
  // The object list named by the key, or null.
  virtual CZorvaList* GetList(const char* key);
};
