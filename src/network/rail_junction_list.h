#pragma once
// The rail network: the street network's list machinery for tracks (type 9)
// and rail junctions. Tracks are built with CreateStreet of type 9 and
// removed with DeleteStreet; where a track and a street cross, the track's
// piece keeps a level crossing. Train stops stand on the tracks.
#include <cstdint>
#include <cstdio>
#include <vector>

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
  // Builds a track (type 9 only) after the rail drag checks.
  int CreateStreet(CStrBuildRequest* preview, CStrassenType type);
  // Whether a straight track from (x1, y1) to (x2, y2) can be built: 0, or
  // the refusal: over water or a building (STR_BUILD_ON_WATER,
  // STR_BUILD_NO_ROOM), over a street junction, along a street or over a
  // street's bend, over a track between its ends, or with a level crossing
  // that would not fit (at the ends, or too close to another).
  int CheckTrackDrag(short x1, short y1, short x2, short y2);
  // Whether a straight street of the type can cross the tracks it meets:
  // 0, or the refusal (an end or a junction on a track, a run along a
  // track, over a bend or a rail junction, or a crossing that would not
  // fit between the track's bends, junctions and other crossings).
  int CheckStreetDrag(short x1, short y1, short x2, short y2, CStrassenType type);
  int SerializeGameLoad(FILE* file) override;

  // Makes or refreshes the level crossings of a street with every track it
  // crosses; each track so crossed draws itself again where its crossing
  // is not shown. 0.
  int CheckForTrainCrossing(CStrJunction* start, CStrJunction* end, CStrStrasse* street, int* found);
  // The same for every street of the street network, with the tracks
  // looked up by the cells they cover. 0.
  int CheckForTrainCrossings(CStrJunctionList* streets);
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
  // The tracks on the cells of a street's pieces, each once.
  void TracksNear(CStrStrasse* street, std::vector<CStrSchienen*>* out);
  // The crossings of one street with the given tracks.
  void CheckStreet(CStrStrasse* street, const std::vector<CStrSchienen*>& tracks);
  // Whether no track changed its cells since the last look (the rail
  // network's cell index); a change drops what is kept between edits.
  bool TracksUnchanged();
  // Brings what is kept between edits up to the street network's changes:
  // read again from both networks when the tracks or the network changed.
  void FollowChanges(CStrJunctionList* streets);
  void Carries(CStrSchienen* track);

  std::vector<CStrSchienen*> m_Near;
  // Kept between edits, for `m_pCheckedNet` while it is set: the streets
  // that run over a track's cell (only they can cross a track), in the
  // order they were found, and the tracks that may carry level crossings.
  CStrJunctionList* m_pCheckedNet = nullptr;
  std::vector<CStrStrasse*> m_OverTracks;
  std::vector<CStrSchienen*> m_Carrying;
  std::vector<CStrStrasse*> m_Changed, m_Gone;

  // `streets` is the street network, which stays the one that streets and
  // their junctions belong to.
  CStrSchJuncList(CIsoWelt* iso, CSimWelt* sim, CStrJunctionList* streets);
};
