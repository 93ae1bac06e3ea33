#pragma once
// What every street edit leaves behind, found by the long way round: each
// street of types 1 to 4 against every track, every meeting of their lines
// with a level crossing on the track's piece, shown on the map. The rail
// network itself only looks at the streets that run over a track's cell.
#include <set>
#include <string>
#include <vector>

#include "network/rail_track.h"
#include "network/str_junction_list.h"

namespace railtest {

// Every distinct track of the rail network, in list order.
inline std::vector<CStrSchienen*> TracksOf(CStrJunctionList* rails) {
  std::vector<CStrSchienen*> out;
  std::set<CStrStrasse*> seen;
  for (CZorvaObject* o = rails->GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i)
      if (seen.insert(j->GetStreetByNR(i)).second) out.push_back(static_cast<CStrSchienen*>(j->GetStreetByNR(i)));
  }
  return out;
}

// Calls meet(track, piece, x, y) for every meeting of a street of types 1
// to 4 with a track, found by the street's line against the track's.
template <typename Meet>
void ForEachMeeting(CStrJunctionList* streets, CStrJunctionList* rails, Meet meet) {
  const std::vector<CStrSchienen*> tracks = TracksOf(rails);
  for (CZorvaObject* o = streets->GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      CStrStrasse* s = j->GetStreetByNR(i);
      if (s->GetStartJunction() != j || s->GetStreetType().GetValue() >= 5) continue;
      // A street from the junction back to it is held twice: met once.
      bool again = false;
      for (int k = 0; k < i; ++k) again = again || j->GetStreetByNR(k) == s;
      if (again) continue;
      for (CStrSchienen* t : tracks)
        for (int k = 0;; ++k) {
          CStrStrasse* hit = nullptr;
          CStrStrassenTeil* piece = nullptr;
          short x = 0, y = 0;
          if (!t->StrHitStr(s, &hit, &piece, x, y, k) || !piece) break;
          meet(t, static_cast<CStrSchStrTeil*>(piece), x, y);
        }
    }
  }
}

inline std::vector<std::string> MissedCrossings(CStrJunctionList* streets, CStrJunctionList* rails) {
  std::vector<std::string> out;
  ForEachMeeting(streets, rails, [&](CStrSchienen* t, CStrSchStrTeil* piece, short x, short y) {
    const std::string at = std::to_string(x) + "/" + std::to_string(y);
    if (!piece->HasCrossingFor(x, y))
      out.push_back("a street meets a track at " + at + " without a level crossing");
    else if (!t->ShowsCrossingAt(x, y))
      out.push_back("the level crossing at " + at + " is hidden");
  });
  return out;
}

// How many times streets and tracks meet: as many level crossings as the
// tracks hold, one each.
inline size_t Meetings(CStrJunctionList* streets, CStrJunctionList* rails) {
  size_t n = 0;
  ForEachMeeting(streets, rails, [&](CStrSchienen*, CStrSchStrTeil*, short, short) { ++n; });
  return n;
}

}  // namespace railtest
