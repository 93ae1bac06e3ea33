#pragma once
// The surrounding region.
// Stand-in: only what the world's start-up and turn call on it.
#include "sim/sim_date.h"
#include "worldbase/zor_world_obj.h"

class CUmland : public CWorldObj {
 public:
  using CWorldObj::OnPlayloopTurn;
  virtual int OnPlayloopTurn(STime now, STime last);
};
