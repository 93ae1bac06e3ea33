#pragma once
// The travel advice centre.
// Stand-in: only what the world's start-up and turn call on it.
#include "framework/zor_pointer_list.h"
#include "sim/sim_date.h"
#include "worldbase/zor_world_obj.h"

class CBuildingTrafficObject;

class CZorviZentrale : public CWorldObj {
 public:
  // 1 (refused) when the city already has its centre, else 0.
  virtual int AddZorviZentrale(CBuildingTrafficObject* centre);
  virtual int RemoveZorviZentrale(CBuildingTrafficObject* centre);
  CBuildingTrafficObject* GetZentrale() const { return m_pZentrale; }

 protected:
  CBuildingTrafficObject* m_pZentrale = nullptr;

 public:
  using CWorldObj::OnPlayloopTurn;
  virtual int OnPlayloopTurn(STime now, STime last);
  virtual int ResetYearData(STime now, STime last);
  // The object list named by the key, or null.
  virtual CZorvaList* GetList(const char* key);
};
