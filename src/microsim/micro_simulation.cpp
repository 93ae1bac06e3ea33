#include "microsim/micro_simulation.h"

#include <cmath>
#include <unordered_set>
#include <vector>

#include "microsim/micro_cells.h"

int CMicroSimulation::Create() { return 0; }
int CMicroSimulation::Destroy() { return 0; }

double CMicroSimulation::CalcDistance(const BinaryMicroSimObject* a, const BinaryMicroSimObject* b) {
  const double dx = b->m_ScreenX - a->m_ScreenX, dy = b->m_ScreenY - a->m_ScreenY;
  return 10.0 * std::sqrt(dx * dx + dy * dy);
}

namespace {

// Whether the exit of `layout` lies on a lane that comes in from `other`.
bool ComesFrom(CQnoMicroZelle* layout, const BinaryMicroSimObject* exit, const CQnoMicroZelle* other) {
  std::vector<BinaryMicroSimObject*> open;
  for (int i = 0; i < layout->GetCount(); ++i) {
    BinaryMicroSimObject* c = layout->GetZelle(i);
    if (c->m_pVorgaenger && c->m_pVorgaenger->m_pOwner == other) open.push_back(c);
  }
  std::unordered_set<const BinaryMicroSimObject*> seen(open.begin(), open.end());
  while (!open.empty()) {
    BinaryMicroSimObject* c = open.back();
    open.pop_back();
    if (c == exit) return true;
    for (int k = 0; k < c->m_AnzNachfolger && k < BinaryMicroSimObject::kLinks; ++k) {
      BinaryMicroSimObject* n = c->m_pNachfolger[k];
      if (n && layout->Owns(n) && seen.insert(n).second) open.push_back(n);
    }
  }
  return false;
}

}  // namespace

void CMicroSimulation::LinkOneLane(CQnoMicroZelle* from, CQnoMicroZelle* to, uint16_t simId, bool oneWay) {
  BinaryMicroSimObject* bestExit = nullptr;
  BinaryMicroSimObject* bestEntry = nullptr;
  int best = 0;
  // A layout has at most 255 cells. The exits and entries are listed once,
  // in the order their searches count them.
  BinaryMicroSimObject* exits[256];
  BinaryMicroSimObject* entries[256];
  const int exitCount = from->ExitZellen(exits);
  const int entryCount = exitCount ? to->EntryZellen(entries) : 0;
  for (int i = 0; i < exitCount; ++i)
    for (int j = 0; j < entryCount; ++j) {
      BinaryMicroSimObject* exit = exits[i];
      BinaryMicroSimObject* entry = entries[j];
      const bool fits = entry->m_LaneKind == 0 || exit->m_LaneKind == 0 || entry->m_LaneKind == exit->m_LaneKind;
      // A one-way street has no lane back: a lane that comes in from `to`
      // goes on away from it, not back into it.
      if (!fits || (oneWay && ComesFrom(from, exit, to))) continue;
      const int d = static_cast<int>(CalcDistance(exit, entry));
      if (!bestExit || d < best) {
        bestExit = exit;
        bestEntry = entry;
        best = d;
      }
    }
  from->SetFirstSimID(bestExit, simId);
  to->SetSecSimID(bestEntry, simId);
  from->SetNachfolger(bestExit, bestEntry);
}

int CMicroSimulation::Link(CQnoMicroZelle* a, CQnoMicroZelle* b, CStrassenType type, uint16_t simIdAB,
                           uint16_t simIdBA) {
  if (!a || !b) return 1;
  if (type >= STRASSE_VIERSPURIG && type != STRASSE_SCHIENE) return LinkStrasseD(a, b, type, simIdAB, simIdBA);
  const bool oneWay = type == STRASSE_EINBAHN;
  LinkOneLane(a, b, simIdAB, oneWay);
  // A one-way street has no direction back: a link back would join a lane
  // that nothing uses (a dead end's turn) against the street.
  if (!oneWay || simIdBA != 0) LinkOneLane(b, a, simIdBA, oneWay);
  return 0;
}

int CMicroSimulation::LinkStrasseD(CQnoMicroZelle* a, CQnoMicroZelle* b, CStrassenType /*type*/, uint16_t simIdAB,
                                   uint16_t simIdBA) {
  if (!a || !b) return 1;
  LinkOneLane(a, b, simIdAB);
  LinkOneLane(a, b, simIdAB);
  LinkOneLane(b, a, simIdBA);
  LinkOneLane(b, a, simIdBA);
  return 0;
}

int CMicroSimulation::LinkAndTurnSec(CQnoMicroZelle* a, CQnoMicroZelle* b, CStrassenType type, uint16_t simIdAB,
                                     uint16_t simIdBA) {
  if (!a || !b) return 1;
  if (type != STRASSE_EINBAHN) return Link(a, b, type, simIdAB, simIdBA);
  b->Turn();
  BinaryMicroSimObject* entry = b->FindEntryZelle(0);
  // Of a tile with a lane more than the street uses (a bend or a bridge),
  // the last exit of the street's own lane. Before the street's start has
  // given the lane its id, the exit nearest b's entry: the lane that ends
  // facing b; the other lane's exit lies at the far side of the tile.
  BinaryMicroSimObject* nearest = nullptr;
  BinaryMicroSimObject* lastOfLane = nullptr;
  double best = 0.0;
  for (int i = 0; BinaryMicroSimObject* exit = a->FindExitZelle(i); ++i) {
    if (simIdAB != 0 && exit->m_SimID == simIdAB) lastOfLane = exit;
    const double d = entry ? CalcDistance(exit, entry) : 0.0;
    if (!nearest || d < best) {
      nearest = exit;
      best = d;
    }
  }
  a->SetNachfolger(lastOfLane ? lastOfLane : nearest, entry);
  return 0;
}
