#pragma once
// The street network (junctions indexed by crossing id) and the rail network.
// Stand-in: only what the world's start-up and turn call on them.
#include "framework/zor_list.h"

class CIsoWelt;
class CSimWelt;

class CStrJunctionList : public CList {
 public:
  CStrJunctionList(CIsoWelt* iso, CSimWelt* sim) : m_pIsoWelt(iso), m_pSimWelt(sim) {}
  using CList::Create;
  virtual int Create();
  // Turns the micro simulation's vehicle counts into drawing loads.
  virtual int BerechneISOAuslastung();
  // Records the hour's loads for the 24-hour view.
  virtual int UpdateCarFlow24(int hour);
  // Pulls the car flows and capacities of a newly activated hour.
  virtual int UpdateCarFlow();
  // Rebuild the micro-cell layouts and re-link the lights after a zoom or turn.
  virtual int TurnMicroSim() { return 0; }
  virtual int UpdateAmpeln() { return 0; }

 protected:
  CIsoWelt* m_pIsoWelt;
  CSimWelt* m_pSimWelt;
};

class CStrSchJuncList : public CList {
 public:
  CStrSchJuncList(CIsoWelt* iso, CSimWelt* sim) : m_pIsoWelt(iso), m_pSimWelt(sim) {}
  using CList::Create;
  virtual int Create();
  virtual int TurnMicroSim() { return 0; }

 protected:
  CIsoWelt* m_pIsoWelt;
  CSimWelt* m_pSimWelt;
};
