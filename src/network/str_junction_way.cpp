// Ways between junctions: the shortest way that public transport lays its
// lines along, and whether two junctions stay joined without a street,
// which the removal of a street asks. Both walk the network's own graph: a
// street leads from its start junction to its end junction under its
// forward sim id and back under its backward sim id; a direction whose id
// is 0 (the way back along a one-way street) does not exist and is passed
// over. Streets with mark bit 0 or 1 set are not walked.
#include <algorithm>

#include "network/str_junction_list.h"
#include "network/str_strasse.h"

namespace {

constexpr uint32_t kWayBlocked = 3u;

// Where the street leads from j, and under which id; false when it leads
// nowhere from there (no such direction, a missing junction, or a street
// from j back to j).
bool WayAlong(const CStrStrasse* s, const CStrJunction* j, CStrJunction** next, short* id) {
  CStrJunction* start = s->GetStartJunction();
  CStrJunction* end = s->GetEndJunction();
  if (start == j && end && end != j && s->GetSimID() != 0) {
    *next = end;
    *id = s->GetSimID();
    return true;
  }
  if (end == j && start && start != j && s->GetSimIDSecond() != 0) {
    *next = start;
    *id = s->GetSimIDSecond();
    return true;
  }
  return false;
}

}  // namespace

int CStrJunctionList::UnmarkAllStreet() {
  for (CZorvaObject* o = GetHead(); o; o = o->GetNext()) {
    auto* j = static_cast<CStrJunction*>(o);
    j->SetLengthFromStart(-1);
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i)
      if (CStrStrasse* s = j->GetStreetByNR(i)) s->UnMark();
  }
  return 0;
}

int CStrJunctionList::GetWayFromJunctionToJunction(CStrJunction* from, CStrJunction* to, short* ids, int* count,
                                                  int capacity) {
  if (!from || !to || !ids || !count) return 1;
  // Open steps come out cheapest first, and of equal cost in the order they
  // were reached, so the way found does not depend on addresses.
  const auto Later = [](const WayOpen& a, const WayOpen& b) {
    return a.cost != b.cost ? a.cost > b.cost : a.order > b.order;
  };
  UnmarkAllStreet();
  m_WayOpen.clear();
  m_WaySettled.clear();
  uint32_t order = 0;
  int steps = 0;
  int found = -1;
  bool givenUp = false;
  from->SetLengthFromStart(0);
  m_WayOpen.push_back({0, order++, from, -1, 0});
  while (!m_WayOpen.empty() && found < 0 && !givenUp) {
    std::pop_heap(m_WayOpen.begin(), m_WayOpen.end(), Later);
    const WayOpen step = m_WayOpen.back();
    m_WayOpen.pop_back();
    // A junction reached again more cheaply was settled by that entry.
    if (step.cost != step.junction->GetLengthFromStart()) continue;
    const int settled = static_cast<int>(m_WaySettled.size());
    m_WaySettled.push_back({step.from, step.id});
    if (step.junction == to) {
      found = settled;
      break;
    }
    CStrJunction* j = step.junction;
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      if (++steps > kWayMaxSteps) {
        givenUp = true;
        break;
      }
      CStrStrasse* s = j->GetStreetByNR(i);
      CStrJunction* next = nullptr;
      short id = 0;
      if (!s || (s->GetMarkBits() & kWayBlocked) || !WayAlong(s, j, &next, &id)) continue;
      const int32_t cost = step.cost + std::max(s->GetLaenge(), 0);
      const int32_t label = next->GetLengthFromStart();
      if (label != -1 && label <= cost) continue;
      next->SetLengthFromStart(cost);
      m_WayOpen.push_back({cost, order++, next, settled, id});
      std::push_heap(m_WayOpen.begin(), m_WayOpen.end(), Later);
    }
  }
  UnmarkAllStreet();
  if (givenUp) return 1;
  if (found < 0) return 0;
  int n = 0;
  for (int k = found; m_WaySettled[k].from >= 0; k = m_WaySettled[k].from) ++n;
  if (n > kWayMaxStreets || n > capacity) return 1;
  int at = n;
  for (int k = found; m_WaySettled[k].from >= 0; k = m_WaySettled[k].from) ids[--at] = m_WaySettled[k].id;
  *count = n;
  return 0;
}

int CStrJunctionList::CheckForWayFromJunctionToJunction(CStrJunction* from, CStrJunction* to, CStrStrasse* without) {
  if (!from || !to || !without) return 1;
  UnmarkAllStreet();
  without->Mark();
  m_WayStack.clear();
  // The length from the start marks the junctions reached.
  from->SetLengthFromStart(0);
  m_WayStack.push_back(from);
  int steps = 0;
  int result = 1;
  while (!m_WayStack.empty() && result != 0) {
    CStrJunction* j = m_WayStack.back();
    m_WayStack.pop_back();
    if (j == to) {
      result = 0;
      break;
    }
    for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
      if (++steps > kWayMaxSteps) {
        m_WayStack.clear();
        break;
      }
      CStrStrasse* s = j->GetStreetByNR(i);
      CStrJunction* next = nullptr;
      short id = 0;
      if (!s || (s->GetMarkBits() & kWayBlocked) || !WayAlong(s, j, &next, &id)) continue;
      if (next->GetLengthFromStart() != -1) continue;
      next->SetLengthFromStart(0);
      m_WayStack.push_back(next);
    }
  }
  UnmarkAllStreet();
  return result;
}
