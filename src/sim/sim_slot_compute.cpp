// The computing side of a time slot: the hour's step machine, the loading
// of trips onto the streets and the route queries of the agents.
#include <climits>
#include <utility>

#include "sim/sim_bus_matrix.h"
#include "sim/sim_error.h"
#include "sim/sim_model_iface.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_trip.h"
#include "sim/sim_world_links.h"
#include "framework/zor_record.h"

namespace {
// A saved trip's size beyond this is damage: a trip stands for a handful of
// people scaled to the town.
constexpr uint32_t kMaxSavedTripSize = 1000000;
int TripLoad(unsigned size) { return size > static_cast<unsigned>(INT_MAX) ? INT_MAX : static_cast<int>(size); }
}  // namespace

bool CSimTrafficSlot::SwitchToComputateMode(CSimTrip* trips) {
  const char* where = "Fehler in CSimTrafficSlot::SwitchToComputateMode()";
  if (!IsCreated()) return SimSetError(8, where, "slot %d", m_slotId), false;
  if (m_mode != 0) return SimSetError(15, where, "slot %d, mode %d", m_slotId, m_mode), false;
  m_mode = 1;
  m_trips = trips;
  m_nextTrip = trips;
  m_initPending = 1;
  return true;
}

int CSimTrafficSlot::Computate() {
  if (!IsCreated()) return SimSetError(8, "Fehler in CSimTrafficSlot::Computate()", "slot %d", m_slotId), 0;
  if (m_mode != 1)
    return SimSetError(15, "Fehler in CSimTrafficSlot::Computate()", "slot %d, mode %d", m_slotId, m_mode), 0;
  if (m_matrixPending) {
    const bool streetsLeft = CalcRoutingMatrix2(kPivotsPerSlice, kMillisecondsPerSlice);
    bool busLeft = false;
    if (m_firstMatrix && *m_firstMatrix) busLeft = (*m_firstMatrix)->CalcBusNetMatrix(kPivotsPerSlice, kMillisecondsPerSlice);
    if (!busLeft && m_swapPending) {
      if (m_firstMatrix && m_secondMatrix) {
        std::swap(*m_firstMatrix, *m_secondMatrix);
        // The hour's passengers so far stay with their lines.
        if (*m_secondMatrix) {
          (*m_secondMatrix)->ClearLineLoads();
          if (*m_firstMatrix) (*m_secondMatrix)->TakeLineLoadsFrom(**m_firstMatrix);
        }
      }
      m_swapPending = 0;
    }
    if (!streetsLeft && !busLeft) m_matrixPending = 0;
    return 1;
  }
  if (m_assignPending) {
    MacheUmlegung(kTripsPerStep);
    m_assignPending = 0;
    return 1;
  }
  if (m_finalPending) {
    m_finalPending = 0;
    if (!m_keepLineData) WriteBackBusData();
    m_mode = 2;
    return 0;
  }
  if (m_initPending) {
    m_pass = 1;
    m_initPending = 0;
    InitRouting(true);
    if (m_secondMatrix && *m_secondMatrix) (*m_secondMatrix)->ClearLineLoads();
    if (m_firstMatrix && *m_firstMatrix && m_parts && m_parts->TakeBusNetChanged()) {
      // A change of headways alone keeps the matrix's stops and links.
      if (!(*m_firstMatrix)->UpdateHeadways()) (*m_firstMatrix)->SetupMatrix();
      m_swapPending = 1;
    }
    return 2;
  }
  CalcRoutingMatrix();
  if (m_nextTrip) {
    m_assignPending = 1;
    ++m_pass;
  } else {
    m_finalPending = 1;
  }
  return 1;
}

int CSimTrafficSlot::GetSlotState(int& pass) const {
  pass = m_pass;
  switch (m_mode) {
    case 0: return 1;
    case 2: return 6;
    case 1: break;
    default: return 0;
  }
  if (m_initPending) return 2;
  if (m_matrixPending) return m_assignPending ? 3 : 4;
  if (m_assignPending) return 5;
  if (m_finalPending) return 4;
  pass = -1;
  return 4;
}

bool CSimTrafficSlot::StreetIndexes(CSimTrip* trip, int& from, int& to) {
  from = m_routing.IndexOf(trip->FromCrossing());
  to = m_routing.IndexOf(trip->ToCrossing());
  return from >= 0 && to >= 0 && from != to;
}

void CSimTrafficSlot::MacheUmlegung(int limit) {
  ++m_assignCalls;
  int count = 0;
  // Right after a full pass the matrix holds the routes of the current
  // travel times; otherwise the step searches its own trips' routes.
  const bool useMatrix = m_routing.MatrixCurrent();
  m_stepLoaded = false;
  struct Pending {
    int from, to, size;
  };
  std::vector<Pending> pending;
  while (m_nextTrip && count < limit) {
    CSimTrip* trip = m_nextTrip;
    m_nextTrip = trip->pNext();
    const ESimTransportationMode mode = trip->TransportationMode();
    if (mode == SIM_MODE_BUS) {
      if (m_secondMatrix && *m_secondMatrix &&
          (*m_secondMatrix)->FindBusRoute(trip->FromBusStop(), trip->ToBusStop(), trip, 0, true))
        continue;
    } else if (mode != SIM_MODE_CAR) {
      continue;
    }
    ++count;
    int from, to;
    if (!StreetIndexes(trip, from, to)) continue;
    if (useMatrix)
      AddTraffic(from, to, m_routing.Matrix(), m_routing.N(), TripLoad(trip->Size()));
    else
      pending.push_back({from, to, TripLoad(trip->Size())});
  }
  if (useMatrix) return;
  m_stepStreets.clear();
  m_stepRoutes.clear();
  m_stepLoaded = true;
  for (const Pending& p : pending) {
    const size_t start = m_stepStreets.size();
    if (m_routing.FindPath(p.from, p.to, m_stepStreets)) m_stepRoutes.emplace_back(start, p.size);
  }
  const int* streets = m_stepStreets.data();
  for (size_t r = 0; r < m_stepRoutes.size(); ++r) {
    const size_t start = m_stepRoutes[r].first;
    const size_t end = r + 1 < m_stepRoutes.size() ? m_stepRoutes[r + 1].first : m_stepStreets.size();
    LoadStreets(streets + start, streets + end, m_stepRoutes[r].second);
  }
}

void CSimTrafficSlot::LoadStreets(const int* first, const int* last, int size) {
  CSimStreet* prev = nullptr;
  for (const int* index = first; index != last; ++index) {
    CSimStreet* s = m_routing.Street(*index);
    s->AddCarFlow(size);
    if (prev) s->pStartCrossing()->AddCarFlow(prev->EndSide(), s->StartSide(), size);
    prev = s;
  }
}

void CSimTrafficSlot::AddTraffic(int from, int to, Route* matrix, int n, int size) {
  if (from == to || from < 0 || to < 0 || from >= n || to >= n || !matrix) return;
  const Route* row = matrix + static_cast<size_t>(to) * n;
  if (row[from].cost >= Route::kNoRoute) return;
  CSimStreet* prev = nullptr;
  for (int v = from, guard = 0; v != to && guard <= n; ++guard) {
    CSimStreet* s = m_routing.Street(row[v].firstStreet);
    if (!s) return;
    s->AddCarFlow(size);
    if (prev) s->pStartCrossing()->AddCarFlow(prev->EndSide(), s->StartSide(), size);
    prev = s;
    v = s->pEndCrossing()->MatrixIndex();
  }
}

void CSimTrafficSlot::WriteBackBusData() {
  if (m_secondMatrix && *m_secondMatrix) (*m_secondMatrix)->WriteBackBusData(m_date.Hour());
}

// ------------------------------------------------------------------ routing

void CSimTrafficSlot::InitRouting(bool /*unused*/) {
  m_routing.Init(m_crossingTree, m_streetTree);
  m_stepLoaded = false;
  m_assignCalls = 0;
  m_nextTrip = m_trips;
}

bool CSimTrafficSlot::CalcRoutingMatrix() {
  // Only the hour's last pass fills the whole matrix, which the agents
  // read; the loading steps before it search their own trips' routes.
  // After a loading step of searched routes only the streets of those
  // routes have new travel times.
  m_routing.StartPass(m_nextTrip == nullptr, m_stepLoaded ? &m_stepStreets : nullptr);
  m_stepLoaded = false;
  m_matrixPending = 1;
  return true;
}

bool CSimTrafficSlot::CalcRoutingMatrix2(int pivots, unsigned milliseconds) {
  return m_routing.Slice(pivots, milliseconds);
}

Route* CSimTrafficSlot::pRoute(short fromId, short toId) {
  CSimCrossing* a = GetCrossing(fromId);
  CSimCrossing* b = GetCrossing(toId);
  if (!m_routing.Matrix() || !a || !b || a->MatrixIndex() < 0 || b->MatrixIndex() < 0) {
    SimSetError(1, "Fehler in CSimTrafficSlot::pRoute()", "slot %d, crossing %d to crossing %d", m_slotId, fromId,
                toId);
    return nullptr;
  }
  return const_cast<Route*>(m_routing.Entry(a->MatrixIndex(), b->MatrixIndex()));
}

bool CSimTrafficSlot::FindCarRoute(CSimLocation* from, CSimLocation* to, CSimTrip* trip) {
  if (!from || !to || from == to) return false;
  CSimCrossing* a = GetCrossing(from->NearestCrossing());
  CSimCrossing* b = GetCrossing(to->NearestCrossing());
  if (!a || !b || a->MatrixIndex() < 0 || b->MatrixIndex() < 0) return false;
  if (!m_routing.Matrix())
    return SimSetError(1, "Fehler in CSimTrafficSlot::FindCarRoute()", "slot %d, crossing %d to crossing %d", m_slotId,
                       static_cast<int>(a->Key()), static_cast<int>(b->Key())),
           false;
  if (a == b || !trip) return false;
  const Route* r = m_routing.Entry(a->MatrixIndex(), b->MatrixIndex());
  if (!r || r->cost > kMaxCarRouteCost) return false;
  trip->SetTripValid(true);
  trip->SetFahrzeit(r->cost);
  trip->SetZugangszeit(from->pDistrict()->Zugangszeit() + to->pDistrict()->Zugangszeit());
  trip->SetParksuchzeit(to->pDistrict()->Parksuchzeit());
  trip->SetStreckenlaenge(r->length);
  return true;
}

bool CSimTrafficSlot::FindFeetRoute(CSimLocation* from, CSimLocation* to, CSimTrip* trip) {
  if (!from || !to || !trip) return false;
  const int distance = from == to ? 50 : from->LocationDistance(to);
  trip->SetTripValid(true);
  trip->SetFahrzeit(2 * distance);
  trip->SetStreckenlaenge(distance);
  return true;
}

bool CSimTrafficSlot::FindBusRoute(short fromStop, short toStop, CSimTrip* trip, int accessTime, bool assign) {
  if (!m_secondMatrix || !*m_secondMatrix) return false;
  return (*m_secondMatrix)->FindBusRoute(fromStop, toStop, trip, accessTime, assign);
}

// ------------------------------------------------------------------ savegame

uint32_t CSimTrafficSlot::TripsSize() const {
  uint32_t n = 0;
  for (const CSimTrip* t = m_trips; t; t = t->pNext()) ++n;
  return 4 + n * kSavedTripBytes;
}

bool CSimTrafficSlot::SaveTrips(FILE* file) const {
  ZorRecordWriter out(file);
  out.U32((TripsSize() - 4) / kSavedTripBytes);
  for (const CSimTrip* t = m_trips; t; t = t->pNext()) {
    short fromCrossing, toCrossing, fromStop, toStop;
    t->Ids(fromCrossing, toCrossing, fromStop, toStop);
    out.I32(t->TransportationMode());
    out.I16(fromCrossing);
    out.I16(toCrossing);
    out.I16(fromStop);
    out.I16(toStop);
    out.U32(t->Size());
  }
  return out.Ok();
}

void CSimTrafficSlot::FreeTrips(CSimTrip* chain) {
  while (chain) {
    CSimTrip* next = chain->pNext();
    delete chain;
    chain = next;
  }
}

bool CSimTrafficSlot::LoadTrips(FILE* file, uint32_t length, CSimTrip** chain) {
  *chain = nullptr;
  ZorRecordReader in(file);
  const uint32_t count = in.U32();
  if (!in.Ok() || length < 4 || uint64_t{count} * kSavedTripBytes != length - 4) return false;
  CSimTrip* last = nullptr;
  for (uint32_t i = 0; i < count; ++i) {
    const int32_t mode = in.I32();
    const short fromCrossing = in.I16(), toCrossing = in.I16(), fromStop = in.I16(), toStop = in.I16();
    const uint32_t size = in.U32();
    const bool known = mode == SIM_MODE_WALK || mode == SIM_MODE_BUS || mode == SIM_MODE_CAR || mode == SIM_MODE_NONE;
    if (!in.Ok() || !known || size > kMaxSavedTripSize) {
      FreeTrips(*chain);
      *chain = nullptr;
      return false;
    }
    auto* trip = new CSimTrip;
    trip->SetTransportationMode(static_cast<ESimTransportationMode>(mode));
    trip->SetCrossings(fromCrossing, toCrossing);
    trip->SetBusStops(fromStop, toStop);
    trip->SetSize(size);
    // In the order saved: the hour loads them as it did.
    if (last)
      last->SetNextPtr(trip);
    else
      *chain = trip;
    last = trip;
  }
  return true;
}
