#pragma once
// The city budget: accounts, taxes and subsidies.
// Stand-in: only what the world's start-up and turn call on it.
#include "sim/sim_date.h"
#include "worldbase/zor_world_obj.h"

class CFinanzen : public CWorldObj {
 public:
  using CWorldObj::OnPlayloopTurn;
  virtual int OnPlayloopTurn(STime now, STime last);
  virtual int ResetYearData(STime now, STime last);
};
