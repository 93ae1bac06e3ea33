#pragma once
// Yearly statistics.
// Stand-in: only what the world's start-up and turn call on it.
#include "sim/sim_date.h"
#include "worldbase/zor_world_obj.h"

class CStatistik : public CWorldObj {
 public:
  using CWorldObj::OnPlayloopTurn;
  virtual int OnPlayloopTurn(STime now, STime last);
  // Records the finances; every fourth hour, after any yearly accounts.
  virtual int UpdateWerte_Finanzen(STime now);
};
