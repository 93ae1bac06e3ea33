#include "microsim/micro_simulation.h"

#include <cmath>

#include "microsim/micro_cells.h"

int CMicroSimulation::Create() { return 0; }
int CMicroSimulation::Destroy() { return 0; }

double CMicroSimulation::CalcDistance(const BinaryMicroSimObject* a, const BinaryMicroSimObject* b) {
  const double dx = b->m_ScreenX - a->m_ScreenX, dy = b->m_ScreenY - a->m_ScreenY;
  return 10.0 * std::sqrt(dx * dx + dy * dy);
}

void CMicroSimulation::LinkOneLane(CQnoMicroZelle* from, CQnoMicroZelle* to, uint16_t simId) {
  BinaryMicroSimObject* bestExit = nullptr;
  BinaryMicroSimObject* bestEntry = nullptr;
  int best = 0;
  for (int i = 0; BinaryMicroSimObject* exit = from->FindExitZelle(i); ++i)
    for (int j = 0; BinaryMicroSimObject* entry = to->FindEntryZelle(j); ++j) {
      const bool fits = entry->m_LaneKind == 0 || exit->m_LaneKind == 0 || entry->m_LaneKind == exit->m_LaneKind;
      if (!fits) continue;
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
  LinkOneLane(a, b, simIdAB);
  LinkOneLane(b, a, simIdBA);
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
  BinaryMicroSimObject* last = nullptr;
  for (int i = 0; BinaryMicroSimObject* exit = a->FindExitZelle(i); ++i) last = exit;
  a->SetNachfolger(last, b->FindEntryZelle(0));
  return 0;
}
