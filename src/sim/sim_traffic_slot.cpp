#include "sim/sim_traffic_slot.h"

#include <climits>

#include "sim/sim_error.h"
#include "sim/sim_trip.h"
#include "sim/sim_world_links.h"

CSimTrafficSlot::CSimTrafficSlot(CBusNetMatrix** first, CBusNetMatrix** second, CSimWeltParts* parts)
    : m_firstMatrix(first), m_secondMatrix(second), m_parts(parts) {}

CSimTrafficSlot::~CSimTrafficSlot() {
  if (IsCreated() || m_crossingTree || m_streetTree) Destroy();
}

bool CSimTrafficSlot::Create(const short& id, const CSimDate& date, CSimTrafficSlot* copyFrom) {
  if (IsCreated()) return SimSetError(6, "Fehler in CSimTrafficSlot::Create()", "slot %d", id), false;
  if (IsKeyed() && Key() != id)
    return SimSetError(7, "Fehler in CSimTrafficSlot::Create()", "slot %d asked to be slot %d", static_cast<int>(Key()),
                       id),
           false;
  m_slotId = id;
  m_anchorCrossing = new CSimCrossing;
  m_anchorCrossing->Create(0, SIM_CROSSING_NONE, 30, 30);
  m_anchorStreet = new CSimStreet;
  if (!m_anchorStreet->Create(0, m_anchorCrossing, 3, m_anchorCrossing, 2, 0, -1.0, 0)) {
    SimSetError(19, "Fehler in CSimTrafficSlot::Create()", "slot %d", id);
    delete m_anchorStreet;
    delete m_anchorCrossing;
    m_anchorStreet = nullptr;
    m_anchorCrossing = nullptr;
    return false;
  }
  m_crossingTree = new CBinaryTree(m_anchorCrossing);
  m_streetTree = new CBinaryTree(m_anchorStreet);
  m_mode = 0;
  m_date = date;
  if (!IsKeyed()) SetKey(id);
  m_created = 1;
  if (copyFrom) {
    // The player's regulation of crossings and the guidance of streets
    // belong to the network, not to one hour, so the copy keeps them.
    for (CBinaryTreeNode* n = copyFrom->m_crossingTree->FindNodeWithSmalestKey(); n; n = n->pNext()) {
      auto* c = static_cast<CSimCrossing*>(n);
      if (!c->IsCreated() || c->Key() <= 0) continue;
      const short cid = static_cast<short>(c->Key());
      if (!AddCrossing(cid, SIM_CROSSING_NONE, c->NW_GoTime(), c->NE_GoTime())) {
        SimSetError(19, "Fehler in CSimTrafficSlot::Create()", "slot %d, crossing %d", id, cid);
        return false;
      }
      CSimCrossing* copy = GetCrossing(cid);
      copy->SetMainRoads(c->MainRoad(0), c->MainRoad(1));
      copy->SetCrossingType(c->CrossingType());
    }
    for (CBinaryTreeNode* n = copyFrom->m_streetTree->FindNodeWithSmalestKey(); n; n = n->pNext()) {
      auto* s = static_cast<CSimStreet*>(n);
      if (!s->IsCreated() || s->Key() <= 0) continue;
      const short sid = static_cast<short>(s->Key());
      const short a = static_cast<short>(s->pStartCrossing()->Key());
      const short b = static_cast<short>(s->pEndCrossing()->Key());
      if (!AddStreet(sid, a, s->StartSide(), b, s->EndSide(), s->StreetLength(), s->Velocity(), s->Capacity())) {
        SimSetError(19, "Fehler in CSimTrafficSlot::Create()", "slot %d, street %d", id, sid);
        return false;
      }
      GetStreet(sid)->SetVls(s->Vls());
    }
  }
  m_routing.Clear();
  m_initPending = 1;
  m_matrixPending = 0;
  return true;
}

bool CSimTrafficSlot::Destroy() {
  m_routing.Clear();
  FreeTrips(m_trips);
  m_trips = m_nextTrip = nullptr;
  if (m_streetTree) {
    for (CBinaryTreeNode* n = m_streetTree->FindNodeWithSmalestKey(); n;) {
      CBinaryTreeNode* next = n->pNext();
      auto* s = static_cast<CSimStreet*>(n);
      if (s->IsCreated()) s->Destroy();
      delete s;
      n = next;
    }
    delete m_streetTree;
    m_streetTree = nullptr;
    m_streetIndex.clear();
  }
  if (m_crossingTree) {
    for (CBinaryTreeNode* n = m_crossingTree->FindNodeWithSmalestKey(); n;) {
      CBinaryTreeNode* next = n->pNext();
      delete static_cast<CSimCrossing*>(n);
      n = next;
    }
    delete m_crossingTree;
    m_crossingTree = nullptr;
  }
  m_anchorCrossing = nullptr;
  m_anchorStreet = nullptr;
  m_created = 0;
  return true;
}

// ------------------------------------------------------------------ editing

bool CSimTrafficSlot::Editable(const char* where) const {
  if (!IsCreated()) return SimSetError(8, where, "slot %d", m_slotId), false;
  if (m_mode != 0) return SimSetError(15, where, "slot %d, mode %d", m_slotId, m_mode), false;
  return true;
}

CSimStreet* CSimTrafficSlot::FindStreet(const short& id) const {
  if (!m_streetTree) return nullptr;
  // Every street of an id above 0 is in the index; the tree answers the rest.
  CSimStreet* s = nullptr;
  if (id > 0)
    s = static_cast<size_t>(id) < m_streetIndex.size() ? m_streetIndex[static_cast<size_t>(id)] : nullptr;
  else
    s = static_cast<CSimStreet*>(m_streetTree->FindNodeWithKey(id));
  return s && s->IsCreated() ? s : nullptr;
}

bool CSimTrafficSlot::AddCrossing(const short& id, ESimCrossingType type, int nwGoTime, int neGoTime) {
  if (!Editable("Fehler in CSimTrafficSlot::AddCrossing()")) return false;
  if (m_crossingTree->FindNodeWithKey(id))
    return SimSetError(30, "Fehler in CSimTrafficSlot::AddCrossing()", "slot %d, crossing %d", m_slotId, id), false;
  auto* c = new CSimCrossing;
  c->Create(id, type, nwGoTime, neGoTime);
  m_crossingTree->InsertNode(c);
  return true;
}

bool CSimTrafficSlot::AddStreet(const short& id, const short& startId, const TSimDirection& startSide,
                                const short& endId, const TSimDirection& endSide, const int& length, double velocity,
                                short capacity) {
  if (!Editable("Fehler in CSimTrafficSlot::AddStreet()")) return false;
  auto* a = static_cast<CSimCrossing*>(m_crossingTree->FindNodeWithKey(startId));
  auto* b = static_cast<CSimCrossing*>(m_crossingTree->FindNodeWithKey(endId));
  const char* where = "Fehler in CSimTrafficSlot::AddStreet()";
  const char* about = "slot %d, street %d from crossing %d to crossing %d";
  if (!a || !b) return SimSetError(41, where, about, m_slotId, id, startId, endId), false;
  if (!a->IsCreated() || !b->IsCreated()) return SimSetError(10, where, about, m_slotId, id, startId, endId), false;
  if (m_streetTree->FindNodeWithKey(id)) return SimSetError(30, where, about, m_slotId, id, startId, endId), false;
  auto* s = new CSimStreet;
  if (!s->Create(id, a, startSide, b, endSide, length, velocity, capacity)) {
    delete s;
    return false;
  }
  m_streetTree->InsertNode(s);
  if (id > 0) {
    if (m_streetIndex.size() <= static_cast<size_t>(id)) m_streetIndex.resize(static_cast<size_t>(id) + 1, nullptr);
    m_streetIndex[static_cast<size_t>(id)] = s;
  }
  return true;
}

bool CSimTrafficSlot::RemoveStreet(const short& id) {
  if (!Editable("Fehler in CSimTrafficSlot::RemoveStreet()")) return false;
  CSimStreet* s = FindStreet(id);
  if (!s)
    return SimSetError(41, "Fehler in CSimTrafficSlot::RemoveStreet()", "slot %d, street %d", m_slotId, id), false;
  if (!s->Destroy())
    return SimSetError(24, "Fehler in CSimTrafficSlot::RemoveStreet()", "slot %d, street %d", m_slotId, id), false;
  return true;
}

bool CSimTrafficSlot::RemoveCrossing(const short& id) {
  if (!Editable("Fehler in CSimTrafficSlot::RemoveCrossing()")) return false;
  CSimCrossing* c = GetCrossing(id);
  if (!c)
    return SimSetError(41, "Fehler in CSimTrafficSlot::RemoveCrossing()", "slot %d, crossing %d", m_slotId, id), false;
  if (!c->Destroy())
    return SimSetError(25, "Fehler in CSimTrafficSlot::RemoveCrossing()", "slot %d, crossing %d", m_slotId, id), false;
  return true;
}

bool CSimTrafficSlot::RelinkStreet(const short& id, const short& startId, const TSimDirection& startSide,
                                   const short& endId, const TSimDirection& endSide, const int& length) {
  if (!Editable("Fehler in CSimTrafficSlot::RelinkStreet()")) return false;
  CSimStreet* s = FindStreet(id);
  auto* a = static_cast<CSimCrossing*>(m_crossingTree->FindNodeWithKey(startId));
  auto* b = static_cast<CSimCrossing*>(m_crossingTree->FindNodeWithKey(endId));
  const char* where = "Fehler in CSimTrafficSlot::RelinkStreet()";
  const char* about = "slot %d, street %d to run from crossing %d to crossing %d";
  if (!s || !a || !b) return SimSetError(41, where, about, m_slotId, id, startId, endId), false;
  if (!a->IsCreated() || !b->IsCreated()) return SimSetError(10, where, about, m_slotId, id, startId, endId), false;
  CSimCrossing* oldA = s->pStartCrossing();
  CSimCrossing* oldB = s->pEndCrossing();
  const TSimDirection oldSa = s->StartSide(), oldSb = s->EndSide();
  const int oldLength = s->StreetLength();
  const double oldVelocity = s->Velocity();
  const short oldCapacity = s->Capacity();
  const bool oldVls = s->Vls();
  if (!s->Destroy()) return SimSetError(21, where, about, m_slotId, id, startId, endId), false;
  if (!s->Create(id, a, startSide, b, endSide, length, -1.0, 0)) {
    // A refused relink leaves the street as it was instead of dropping it.
    s->Create(id, oldA, oldSa, oldB, oldSb, oldLength, oldVelocity, oldCapacity);
    s->SetVls(oldVls);
    SimSetError(19, where, about, m_slotId, id, startId, endId);
    return false;
  }
  return true;
}

bool CSimTrafficSlot::MergeCrossings(short& kept, short& merged) {
  if (!Editable("Fehler in CSimTrafficSlot::MergeCrossings()")) return false;
  CSimCrossing* k = GetCrossing(kept);
  CSimCrossing* m = GetCrossing(merged);
  const char* where = "Fehler in CSimTrafficSlot::MergeCrossings()";
  if (!k || !m) return SimSetError(41, where, "slot %d, crossing %d into crossing %d", m_slotId, merged, kept), false;
  for (int side = 0; side < 4; ++side) {
    if ((k->pInStreet(side) && m->pInStreet(side)) || (k->pOutStreet(side) && m->pOutStreet(side)))
      return SimSetError(1, where, "slot %d, crossing %d into crossing %d, both use side %d", m_slotId, merged, kept,
                         side),
             false;
  }
  bool ok = true;
  // Every street of the merged crossing is made again with the kept
  // crossing in the merged one's place.
  auto relink = [&](CSimStreet* street) {
    if (!street) return;
    const short id = static_cast<short>(street->Key());
    CSimCrossing* start = street->pStartCrossing();
    CSimCrossing* end = street->pEndCrossing();
    const TSimDirection ss = street->StartSide(), es = street->EndSide();
    const int length = street->StreetLength();
    if (!street->Destroy()) {
      SimSetError(24, where, "slot %d, street %d", m_slotId, id);
      ok = false;
      return;
    }
    if (start == m) start = k;
    if (end == m) end = k;
    if (!street->Create(id, start, ss, end, es, length, -1.0, 0)) {
      SimSetError(23, where, "slot %d, street %d from crossing %d to crossing %d", m_slotId, id,
                  static_cast<int>(start->Key()), static_cast<int>(end->Key()));
      ok = false;
    }
  };
  for (int side = 0; side < 4; ++side) relink(m->pInStreet(side));
  for (int side = 0; side < 4; ++side) relink(m->pOutStreet(side));
  return ok;
}

bool CSimTrafficSlot::SetStreetCapacity(const short& id, const short& capacity) {
  CSimStreet* s = FindStreet(id);
  const char* where = "Fehler in CSimTrafficSlot::SetStreetCapacity()";
  if (!s) return SimSetError(41, where, "slot %d, street %d", m_slotId, id), false;
  if (m_mode != 0) return SimSetError(15, where, "slot %d, mode %d, street %d", m_slotId, m_mode, id), false;
  s->SetCapacity(capacity);
  return true;
}

bool CSimTrafficSlot::SetStreetVelocity(const short& id, const double& velocity) {
  CSimStreet* s = FindStreet(id);
  if (!s)
    return SimSetError(41, "Fehler in CSimTrafficSlot::SetStreetVelocity()", "slot %d, street %d", m_slotId, id), false;
  s->SetVelocity(velocity);
  return true;
}

bool CSimTrafficSlot::SetStreetLength(const short& id, const int& length) {
  CSimStreet* s = FindStreet(id);
  if (!s)
    return SimSetError(41, "Fehler in CSimTrafficSlot::SetStreetLength()", "slot %d, street %d", m_slotId, id), false;
  s->SetStreetLength(length);
  return true;
}

bool CSimTrafficSlot::SetStreetVls(const short& id, bool on) {
  CSimStreet* s = FindStreet(id);
  if (!s)
    return SimSetError(41, "Fehler in CSimTrafficSlot::SetStreetVls()", "slot %d, street %d", m_slotId, id), false;
  s->SetVls(on);
  return true;
}

bool CSimTrafficSlot::SetCrossingType(short id, ESimCrossingType type) {
  CSimCrossing* c = GetCrossing(id);
  if (!c || m_mode != 0) return false;
  return c->SetCrossingType(type);
}

bool CSimTrafficSlot::SetNW_GoTime(short id, int seconds) {
  CSimCrossing* c = GetCrossing(id);
  if (!c || m_mode != 0) return false;
  c->SetNW_GoTime(seconds);
  return true;
}

bool CSimTrafficSlot::SetNE_GoTime(short id, int seconds) {
  CSimCrossing* c = GetCrossing(id);
  if (!c || m_mode != 0) return false;
  c->SetNE_GoTime(seconds);
  return true;
}

// ------------------------------------------------------------------ queries

CSimStreet* CSimTrafficSlot::GetStreet(const short& id) const { return FindStreet(id); }

bool CSimTrafficSlot::HoldsId(short id, bool street) const {
  const CBinaryTree* tree = street ? m_streetTree : m_crossingTree;
  return tree && tree->FindNodeWithKey(id) != nullptr;
}

CSimCrossing* CSimTrafficSlot::GetCrossing(const short& id) const {
  if (!m_crossingTree) return nullptr;
  auto* c = static_cast<CSimCrossing*>(m_crossingTree->FindNodeWithKey(id));
  return c && c->IsCreated() ? c : nullptr;
}

CSimCrossing* CSimTrafficSlot::GetFirstCrossing() const {
  return m_crossingTree ? static_cast<CSimCrossing*>(m_crossingTree->FindNodeWithSmalestKey()) : nullptr;
}

bool CSimTrafficSlot::IsCrossingValid(short id) const {
  return m_crossingTree && m_crossingTree->FindNodeWithKey(id) != nullptr;
}

double CSimTrafficSlot::StreetVelocity(const short& id) const {
  CSimStreet* s = FindStreet(id);
  return s ? s->Velocity() : 0.0;
}

int CSimTrafficSlot::StreetTravelTime(const short& id) const {
  CSimStreet* s = FindStreet(id);
  return s ? s->TravelTime() : 0;
}

int CSimTrafficSlot::StreetLength(const short& id) const {
  if (m_mode != 2) return 0;
  CSimStreet* s = FindStreet(id);
  return s ? s->StreetLength() : 0;
}

int CSimTrafficSlot::CarFlow(const short& id, short* capacity) const {
  if (m_mode != 2)
    return SimSetError(15, "Fehler in CSimTrafficSlot::CarFlow()", "slot %d, mode %d, street %d", m_slotId, m_mode, id),
           0;
  CSimStreet* s = FindStreet(id);
  if (!s) return 0;
  if (capacity) *capacity = s->Capacity();
  return s->CarFlow();
}

bool CSimTrafficSlot::GetCrossingsOfStreet(const short& id, short& start, short& end) const {
  start = end = 0;
  const char* where = "Fehler in CSimTrafficSlot::GetCrossingsOfStreet()";
  if (!IsCreated() || m_mode != 0)
    return SimSetError(8, where, "slot %d, mode %d, street %d", m_slotId, m_mode, id), false;
  CSimStreet* s = FindStreet(id);
  if (!s) return SimSetError(41, where, "slot %d, street %d", m_slotId, id), false;
  start = static_cast<short>(s->pStartCrossing()->Key());
  end = static_cast<short>(s->pEndCrossing()->Key());
  return true;
}

CSimDate CSimTrafficSlot::Date() const {
  if (!IsCreated()) return SimSetError(8, "Fehler in CSimTrafficSlot::Date()", "slot %d", m_slotId), CSimDate(5);
  return m_date;
}

int CSimTrafficSlot::Mode() const {
  if (!IsCreated()) return SimSetError(8, "Fehler in CSimTrafficSlot::Mode()", "slot %d", m_slotId), 3;
  return m_mode;
}
