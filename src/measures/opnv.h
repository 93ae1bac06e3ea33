#pragma once
// Public transport: bus and tram nets, lines, stops and fleets.
// Stand-in: only what the world's start-up and turn call on it.
#include <vector>

#include "measures/opnv_net.h"
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

class COpnv : public CWorldObj {
 public:
  // Registers a stop with a net; loading keeps the stop's saved id, a new
  // stop takes the next id above every registered one.
  virtual int AddHst(CBuildingObject* stop, NetActiveType net, bool loading);
  virtual int RemoveHst(CBuildingObject* stop);
  // The stop nearest to the rectangle of w x h cells at (x, y), strictly
  // nearer than `radius` (100 per cell), tram stops skipped when asked:
  // ids[0] its id, distances[0] its distance, found 1 (at most max). The
  // arrays of max entries are cleared first. 0 when a stop was found, else 1.
  virtual int SearchNextHst(short x, short y, short w, short h, int radius, short* ids, int* distances,
                            unsigned char* found, unsigned char max, bool skipTrams);
  int GetHstCount() const { return static_cast<int>(m_Stops.size()); }
  virtual int CheckLinesForNoHst();
  virtual int OnPlayloopTurn(STime now, STime last);
  virtual int ResetYearData(STime now, STime last);
  using CWorldObj::OnPlayloopTurn;
  // Moves the visible vehicles of every line; runs every running turn.
  virtual int OnPlayloopTurn();
  // Deletes every line before a load or the end of the game.
  virtual int RemoveAllLineBeforeLoadExit();

 private:
  struct Stop {
    CBuildingObject* object;
    NetActiveType net;
    unsigned id;
  };
  std::vector<Stop> m_Stops;
};
