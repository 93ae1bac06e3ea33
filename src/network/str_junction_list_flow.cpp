// The network's three flow passes: the pull of the demand simulation's
// flows after an activated hour, the hourly smoothing, and the per-turn
// evaluation of the cars the micro simulation counted.
#include <algorithm>

#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "worldbase/zor_world_host.h"

namespace {

// Calls `visit` for every entry of every junction's street array, in list
// order; a street linked at two junctions is met twice.
template <typename Visit>
void ForEachLinkedStreet(CStrJunctionList& list, Visit visit) {
  for (CZorvaObject* o = list.GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    const int n = j->GetAnzLinkedStreets();
    for (int i = 0; i < n; ++i) visit(j->GetStreetByNR(i));
  }
}

}  // namespace

int CStrJunctionList::BerechneISOAuslastung() {
  // The debug switch is asked once for the whole pass.
  const bool fixedRatio = CWorldHost::Get()->GetShowMicroZellen();
  if (m_EditDepth > 0) {
    ForEachLinkedStreet(*this, [fixedRatio](CStrStrasse* s) { s->BerechneISOAuslastung(fixedRatio); });
    m_Counted.clear();
    m_CountedComplete = false;
    return 0;
  }
  // A street evaluated at its first place in the walk has no counts left
  // at its second, so the walk without repeats evaluates the same streets
  // in the same order (and draws the same random numbers).
  if (!m_StreetIndexValid) RebuildStreetIndex();
  const size_t n = m_StreetWalk.size();
  if (m_CountedComplete) {
    // Every street with counts listed its place when it was first counted:
    // the listed places in the walk's order meet the same streets in the
    // same order as the whole walk (a street with nothing counted draws
    // nothing).
    std::sort(m_Counted.begin(), m_Counted.end());
    m_Counted.erase(std::unique(m_Counted.begin(), m_Counted.end()), m_Counted.end());
    for (uint32_t place : m_Counted)
      if (place < n) m_StreetWalk[place]->BerechneISOAuslastung(fixedRatio);
    m_Counted.clear();
    return 0;
  }
  // The streets lie scattered in memory and most have nothing counted:
  // the counts of streets a few places ahead are asked for early.
  constexpr size_t kAhead = 12;
  for (size_t i = 0; i < n; ++i) {
    if (i + kAhead < n) m_StreetWalk[i + kAhead]->PrefetchCounts();
    m_StreetWalk[i]->BerechneISOAuslastung(fixedRatio);
  }
  m_Counted.clear();
  m_CountedComplete = true;
  return 0;
}

int CStrJunctionList::UpdateCarFlow() {
  ForEachLinkedStreet(*this, [](CStrStrasse* s) { s->UpdateCarFlow(); });
  return 0;
}

int CStrJunctionList::UpdateCarFlow24(int hour) {
  // Bit 0 marks a street already smoothed in this pass; bit 1 is the way
  // search's and keeps a street out as well.
  ForEachLinkedStreet(*this, [hour](CStrStrasse* s) {
    if ((s->GetMarkBits() & 3u) == 0) s->UpdateCarFlow24(hour);
    s->Mark();
  });
  ForEachLinkedStreet(*this, [](CStrStrasse* s) { s->UnMark(); });
  return 0;
}
