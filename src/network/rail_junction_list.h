#pragma once
// The rail network: the street network's list machinery for tracks (type 9)
// and rail junctions. Tracks are built with CreateStreet of type 9 and
// removed with DeleteStreet; where a track and a street cross, the track's
// piece keeps a level crossing. Train stops stand on the tracks.
#include <cstdio>

#include "network/str_junction_list.h"

class CStrSchJunction;
class CStrSchienen;

class CStrSchJuncList : public CStrJunctionList {
 public:
  static constexpr int kTrainStopResID = 18981;

  CStrSchJuncList(CIsoWelt* iso, CSimWelt* sim) : CStrSchJuncList(iso, sim, CStrJunction::m_pStreetNet) {}
  ~CStrSchJuncList() override;

  using CStrJunctionList::Create;
  int Create() override;
  CStrJunction* CreateNewJunction(short x, short y, CStrassenType type) override;
  CStrStrasse* CreateNewStreet() override;
  int SerializeGameLoad(FILE* file) override;

  // Makes or refreshes the level crossings of a street with every track it
  // crosses; each track so crossed draws itself again. 0.
  int CheckForTrainCrossing(CStrJunction* start, CStrJunction* end, CStrStrasse* street, int* found);
  // What the street network asks after every edit: the level crossings
  // whose street has gone are removed. 0.
  int UpdateChanges();
  bool HasGrdCrossingAt(short x, short y);
  int RemoveIsolatedGrdCrossings();
  // A train stop on the track group at the cell: 0, or 1 when the cell
  // holds no straight track that the stop fits along.
  int SetTrainStopAt(short x, short y);
  CStrSchJunction* RailJunctionAt(uint32_t n);

 private:
  // `streets` is the street network, which stays the one that streets and
  // their junctions belong to.
  CStrSchJuncList(CIsoWelt* iso, CSimWelt* sim, CStrJunctionList* streets);
};
