#pragma once
// Public transport: bus and tram nets, lines, stops and fleets.
// Stand-in: only what the world's start-up and turn call on it.
#include "sim/sim_date.h"
#include "worldbase/zor_world_obj.h"

class CBuildingObject;

// A public-transport line. Stand-in: only what the map's overlay reads.
class COpnvLine {
 public:
  virtual ~COpnvLine() = default;
  virtual void GetColor(unsigned char& r, unsigned char& g, unsigned char& b) {
    r = m_r;
    g = m_g;
    b = m_b;
  }

 protected:
  unsigned char m_r = 0, m_g = 0, m_b = 0;
};

// The net a stop belongs to.
enum NetActiveType : int32_t { NET_BUS = 1, NET_TRAM = 2 };

class COpnv : public CWorldObj {
 public:
  // Registers a stop with a net; loading keeps the stop's saved id.
  virtual int AddHst(CBuildingObject* stop, NetActiveType net, bool loading);
  virtual int RemoveHst(CBuildingObject* stop);
  virtual int CheckLinesForNoHst();
  virtual int OnPlayloopTurn(STime now, STime last);
  virtual int ResetYearData(STime now, STime last);
  using CWorldObj::OnPlayloopTurn;
  // Moves the visible vehicles of every line; runs every running turn.
  virtual int OnPlayloopTurn();
  // Deletes every line before a load or the end of the game.
  virtual int RemoveAllLineBeforeLoadExit();
};
