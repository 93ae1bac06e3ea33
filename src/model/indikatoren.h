#pragma once
// Indicators and the adviser messages they raise.
// Stand-in: only what the world's start-up and turn call on it.
#include "sim/sim_date.h"
#include "framework/zor_stand_in.h"
#include "worldbase/zor_world_obj.h"

class CIndikatoren : public CWorldObj {
 public:
  // Stand-in for the indicators' record reader: nothing to read.
  using CWorldObj::SerializeGameLoad;
  virtual int SerializeGameLoad(FILE*, int /*payloadLength*/) {
    ZOR_STAND_IN("CIndikatoren");
    return 0;
  }
  // Looks for adviser messages; every third hour.
  virtual int CheckForMessages();
  using CWorldObj::OnPlayloopTurn;
  virtual int OnPlayloopTurn(STime now, STime last);
  virtual int SetStandardMessage();
  virtual int UpdateMaps();
};
