#pragma once
// Public transport: bus and tram nets, lines, stops and fleets.
// For now only what the world's start-up and turn call on it.
#include "sim/sim_date.h"
#include "world/zor_world_obj.h"

class COpnv : public CWorldObj {
 public:
  virtual int OnPlayloopTurn(STime now, STime last);
  virtual int ResetYearData(STime now, STime last);
  using CWorldObj::OnPlayloopTurn;
  // Moves the visible vehicles of every line; runs every running turn.
  virtual int OnPlayloopTurn();
  // Deletes every line before a load or the end of the game.
  virtual int RemoveAllLineBeforeLoadExit();
};
