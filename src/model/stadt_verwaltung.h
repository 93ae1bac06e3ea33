#pragma once
// The city administration.
// Stand-in: only what the world's start-up and turn call on it.
#include "sim/sim_date.h"
#include "worldbase/zor_world_obj.h"

class CFinanzen;

class CSecondLayerObject;

class CStadtVerwaltung : public CWorldObj {
 public:
  virtual int AddSpeedControl(CSecondLayerObject* control);
  virtual int RemoveSpeedControl(CSecondLayerObject* control);
  using CWorldObj::Create;
  virtual int Create(CFinanzen* finanzen);
  using CWorldObj::OnPlayloopTurn;
  virtual int OnPlayloopTurn(STime now, STime last);
  virtual int ResetYearData(STime now, STime last);
};
