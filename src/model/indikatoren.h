#pragma once
// Indicators and the adviser messages they raise.
// Stand-in: only what the world's start-up and turn call on it.
#include "sim/sim_date.h"
#include "worldbase/zor_world_obj.h"

class CIndikatoren : public CWorldObj {
 public:
  // Looks for adviser messages; every third hour.
  virtual int CheckForMessages();
  using CWorldObj::OnPlayloopTurn;
  virtual int OnPlayloopTurn(STime now, STime last);
  virtual int SetStandardMessage();
  virtual int UpdateMaps();
};
