#pragma once
// Yearly statistics.
// Stand-in: only what the world's start-up and turn call on it.
#include "sim/sim_date.h"
#include "framework/zor_stand_in.h"
#include "worldbase/zor_world_obj.h"

class CStatistik : public CWorldObj {
 public:
  // Stand-in for the statistics' record: the plain record without data.
  using CWorldObj::SerializeGameLoad;
  using CWorldObj::SerializeGameStore;
  int SerializeGameStore(FILE* file) override {
    ZOR_STAND_IN("CStatistik");
    return CWorldObj::SerializeGameStore(file, nullptr);
  }
  virtual int SerializeGameLoad(FILE*, int /*payloadLength*/) {
    ZOR_STAND_IN("CStatistik");
    return 0;
  }
  using CWorldObj::OnPlayloopTurn;
  virtual int OnPlayloopTurn(STime now, STime last);
  // Records the finances; every fourth hour, after any yearly accounts.
  virtual int UpdateWerte_Finanzen(STime now);
};
