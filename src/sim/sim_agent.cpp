#include "sim/sim_agent.h"

#include "framework/qno_log.h"
#include "sim/sim_city_model.h"
#include "sim/sim_district.h"
#include "sim/sim_error.h"
#include "sim/sim_location.h"
#include "sim/sim_statistic_server.h"
#include "sim/sim_traffic_slot.h"

namespace {
constexpr const char* kNotValid = "<IsValid() != true>";
constexpr const char* kIsValid = "<IsValid() == true>";
}  // namespace

// Savegames of the current version carry the trips' statistics and modes.
int CSimAgent::s_loadVersion = 240;

CSimAgent::~CSimAgent() {
  if (!m_valid) return;
  CSimError::PrintError(CSimError::SetError("CSimAgent::~CSimAgent", kIsValid));
  try {
    Destroy();
  } catch (const char* text) {
    CSimError::PrintError(text);
  }
}

void CSimAgent::CheckValid(const char* place) const {
  if (!m_valid) throw CSimError::SetError(place, kNotValid);
}

void CSimAgent::ZeroStatistics() {
  m_carTrips = m_busTrips = m_walkTrips = 0;
  m_carTravel = m_carAccess = m_carParking = m_carDriving = 0.0;
  m_busTravel = m_busRiding = m_busAccess = m_busTransfer = 0.0;
  m_carLength = m_walkLength = m_carSpeed = m_busLength = m_busSpeed = m_resistance = 0.0;
}

void CSimAgent::DeleteTrips() {
  for (CSimTrip*& trip : m_trips) {
    delete trip;
    trip = nullptr;
  }
}

void CSimAgent::Create(ESimStatusGroup group, int size, CSimCityModell* model, CSimDistrict* home) {
  if (m_valid) throw CSimError::SetError("CSimAgent::Create()", kIsValid);
  if (!model) throw CSimErrorNullPtr::SetError("CSimAgent::Create()");
  m_pDestinations = new CSimDestinationList;
  m_pDestinations->Create();
  m_pPrevDestinations = nullptr;
  m_pCityModell = model;
  m_size = size;
  m_group = group;
  m_valid = 1;
  for (CSimTrip*& trip : m_trips) trip = nullptr;
  ZeroStatistics();
  if (!home) return;
  CSimLocation* location = home->pFindLocation(SIM_DEST_HOME, size);
  if (!location) throw CSimError::SetError("CSimAgent::Create()", "<Keine Home-Location im Bezirk>");
  if (!location->pDistrict()->LinkAgent(SIM_DEST_HOME, this))
    throw CSimError::SetError("CSimAgent::Create()", "<Kein Platz im Bezirk>");
  auto* destination = new CSimDestination;
  destination->Create(SIM_DEST_HOME, 1, location);
  m_pDestinations->Insert(destination);
}

void CSimAgent::ReleaseDestination(CSimDestination* destination, const char* place) {
  try {
    if (!destination->HasLocation() || !destination->pLocation()->pDistrict()->UnlinkAgent(destination->Destination(), this))
      CSimError::PrintError(CSimError::SetError(place, "<Unable to remove Agent from District>"));
  } catch (const char* text) {
    CSimError::PrintError(text);
  }
}

void CSimAgent::Destroy() {
  if (!m_valid) return;
  if (m_pPrevDestinations) {
    UpdateDestinationList();
    if (m_pPrevDestinations) throw CSimError::SetError("CSimAgent::Destroy()", "Nicht moeglich, alte Destinatiosn zu löschen");
  }
  if (m_pDestinations) {
    m_pDestinations->ResetIterator();
    while (CSimDestination* d = m_pDestinations->pNextDestination()) ReleaseDestination(d, "CSimAgent::Destroy()");
    m_pDestinations->Destroy();
    delete m_pDestinations;
    m_pDestinations = nullptr;
  }
  DeleteTrips();
  m_pCityModell = nullptr;
  m_valid = 0;
}

void CSimAgent::ClearTrips() {
  CheckValid("CSimAgent::ClearTrips");
  if (m_pPrevDestinations) {
    UpdateDestinationList();
    if (m_pPrevDestinations) throw CSimError::SetError("CSimAgent::ClearTrips()", "<allgemeine Inkonsistenz>");
  }
  if (!m_pDestinations) throw CSimError::SetError("CSimAgent::ClearTrips::()", "<no DestinationList>");
  CSimDestination* home = m_pDestinations->Remove(SIM_DEST_HOME, 1);
  if (!home) throw CSimError::SetError("CSimAgent::ClearTrips::()", "<no home destination found>");
  m_pPrevDestinations = m_pDestinations;
  m_pDestinations = new CSimDestinationList;
  m_pDestinations->Create();
  m_pDestinations->Insert(home);
  DeleteTrips();
}

CSimDestination* CSimAgent::TakeDestination(ESimDestination kind, unsigned count, CSimTrip* trip) {
  if (CSimDestination* d = m_pDestinations->FindDestination(kind, count)) return d;
  if (CSimDestination* d = m_pPrevDestinations->Remove(kind, count)) {
    m_pDestinations->Insert(d);
    return d;
  }
  CSimLocation* location = m_pCityModell->FindLocation(kind, this);
  if (!location) {
    delete trip;
    throw CSimError::SetError("CSimAgent::AddTrip()", "<Keine Location in der Stadt>");
  }
  if (!location->pDistrict()->LinkAgent(kind, this)) {
    delete trip;
    throw CSimError::SetError("CSimAgent::AddTrip()", "<Kein Platz im Bezirk>");
  }
  auto* d = new CSimDestination;
  d->Create(kind, count, location);
  m_pDestinations->Insert(d);
  return d;
}

void CSimAgent::AddTrip(int hour, ESimDestination fromKind, unsigned fromCount, ESimDestination toKind,
                        unsigned toCount) {
  CheckValid("CSimAgent::AddTrip()");
  if (!m_pPrevDestinations) throw CSimErrorNullPtr::SetError("CSimAgent::AddTrip)");
  // The trip goes into the first free hour from the one asked for, at most
  // four hours later.
  const int first = ((hour % kHours) + kHours) % kHours;
  int slot = -1;
  for (int i = 0; i <= 4 && slot < 0; ++i)
    if (!m_trips[(first + i) % kHours]) slot = (first + i) % kHours;
  if (slot < 0) throw CSimError::SetError("CSimAgent::AddTrip()", "<Zeitlag zu gross>");
  auto* trip = new CSimTrip;
  CSimDestination* from = TakeDestination(fromKind, fromCount, trip);
  CSimDestination* to = TakeDestination(toKind, toCount, trip);
  trip->Create(from, to, static_cast<unsigned>(m_size));
  CSimStatisticServer* server = m_pCityModell->pStatisticServer();
  if (!server) {
    delete trip;
    throw CSimErrorNullPtr::SetError("CSimAgent::AddTrip()");
  }
  trip->SetTransportationMode(server->TransportMode(from->pLocation(), to->pLocation(), m_group,
                                                    fromKind == SIM_DEST_EDUCATION || toKind == SIM_DEST_EDUCATION));
  m_trips[slot] = trip;
  UpdateTripInfo(slot, m_pCityModell->pTrafficSlot(0));
}

void CSimAgent::UpdateDestinationList() {
  if (!m_pPrevDestinations) return;
  CheckValid("CSimAgent::UpdateDestinationList()");
  m_pPrevDestinations->ResetIterator();
  while (CSimDestination* d = m_pPrevDestinations->pNextDestination())
    ReleaseDestination(d, "CSimAgent::UpdateDestinationList()");
  m_pPrevDestinations->Destroy();
  delete m_pPrevDestinations;
  m_pPrevDestinations = nullptr;
}

void CSimAgent::UpdateTripInfo(int hour, CSimTrafficSlot* slot) {
  if (hour < 0 || hour >= kHours) {
    QNO_ERROR(QNO_SEV_ERROR, "Falsche Zeit in CSimAgent::UpdateTripInfo()");
    return;
  }
  CSimTrip* trip = m_trips[hour];
  if (!trip || !slot) return;
  trip->Reset();
  CSimDestination* fromDest = trip->pFromDestination();
  CSimDestination* toDest = trip->pToDestination();
  if (!fromDest || !toDest || !fromDest->HasLocation() || !toDest->HasLocation()) return;
  CSimLocation* from = fromDest->pLocation();
  CSimLocation* to = toDest->pLocation();
  if (trip->TransportationMode() == SIM_MODE_BUS) {
    short fromStop = 0, toStop = 0;
    int fromDistance = 0, toDistance = 0;
    const bool routed = from->GetNearestHst(fromStop, fromDistance) && to->GetNearestHst(toStop, toDistance) &&
                        slot->FindBusRoute(fromStop, toStop, trip, fromDistance + toDistance, false);
    if (!routed) {
      const bool withCar = m_group == SIM_GROUP_EMPLOYED_CAR || m_group == SIM_GROUP_UNEMPLOYED_CAR;
      trip->SetTransportationMode(withCar ? SIM_MODE_CAR : SIM_MODE_WALK);
    }
  }
  if (trip->TransportationMode() == SIM_MODE_CAR) {
    if (slot->FindCarRoute(from, to, trip)) {
      if (m_pCityModell) m_pCityModell->NewCarData(from->GetDistrictID(), to->GetDistrictID(), trip->Reisezeit());
    } else {
      trip->SetTransportationMode(SIM_MODE_WALK);
    }
  }
  if (trip->TransportationMode() == SIM_MODE_WALK && !slot->FindFeetRoute(from, to, trip))
    QNO_ERROR(QNO_SEV_ERROR, "Grosser Fehler in Simulation");
}

CSimTrip* CSimAgent::pTrip(int hour) const { return hour >= 0 && hour < kHours ? m_trips[hour] : nullptr; }

CSimTrip* CSimAgent::pCopyOfTrip(int hour) const {
  CheckValid("CSimAgent::Trip()");
  if (hour < 0 || hour >= kHours) throw CSimError::SetError("CSimAgent::pTrip()", "<time sollte zwischen 0 und 23 liegen>");
  if (!m_trips[hour]) return nullptr;
  auto* copy = new CSimTrip;
  copy->Create(m_trips[hour]);
  try {
    copy->MapDestinationsToCrossings();
  } catch (...) {
    delete copy;
    throw;
  }
  return copy;
}

CSimDestination* CSimAgent::pHomeDestination() const {
  CSimDestination* home = m_pDestinations ? m_pDestinations->FindDestination(SIM_DEST_HOME, 1) : nullptr;
  if (!home) throw CSimError::SetError("CSimAgent::pHomeLocation", "pHomeLocation == NULL");
  return home;
}

ESimStatusGroup CSimAgent::StatusGroup() const {
  CheckValid("CSimAgent::StatusGroup()");
  return m_group;
}

void CSimAgent::NotifyLocationRemoved(CSimLocation* location) {
  CheckValid("CSimAgent::NotifyLocationRemoved()");
  constexpr const char* kPlace = "CSimAgent::NotifyLocationRemoved()";
  m_pDestinations->ResetIterator();
  while (CSimDestination* d = m_pDestinations->pNextDestination()) {
    if (!d->HasLocation() || d->pLocation() != location) continue;
    CSimDistrict* district = location->pDistrict();
    if (!district) throw CSimErrorNullPtr::SetError(kPlace);
    const ESimDestination kind = d->Destination();
    if (!district->UnlinkAgent(kind, this)) {
      // The destination no longer counts anywhere: it must not be unlinked
      // again when the agent goes.
      m_pDestinations->Remove(kind, d->Count());
      d->Destroy();
      delete d;
      Destroy();
      throw CSimError::SetError(kPlace, "<Unable to remove Agent from District>");
    }
    CSimLocation* next = nullptr;
    if (district->LinkAgent(kind, this)) {
      next = district->pFindLocation(kind, m_size);
      if (!next) {
        // Linked once more above, so it is unlinked with the destination.
        Destroy();
        throw CSimError::SetError(kPlace, "<Unable to remove Agent from District>");
      }
    } else {
      next = m_pCityModell->FindLocation(kind, this);
      if (!next) {
        m_pDestinations->Remove(kind, d->Count());
        d->Destroy();
        delete d;
        Destroy();
        throw CSimError::SetError(kPlace, "<Kein Platz mehr in der Stadt>");
      }
      if (!next->pDistrict()->LinkAgent(kind, this)) {
        m_pDestinations->Remove(kind, d->Count());
        d->Destroy();
        delete d;
        Destroy();
        throw CSimError::SetError(kPlace, "<Kein Platz im Bezirk>");
      }
    }
    d->SetLocation(next);
  }
}

void CSimAgent::CalcStatisticData() {
  ZeroStatistics();
  double carTravel = 0, carAccess = 0, carParking = 0, carDriving = 0, carLength = 0;
  double busTravel = 0, busRiding = 0, busAccess = 0, busTransfer = 0, busLength = 0;
  double walkLength = 0;
  for (CSimTrip* trip : m_trips) {
    if (!trip || !trip->TripValid()) continue;
    switch (trip->TransportationMode()) {
      case SIM_MODE_CAR:
        ++m_carTrips;
        carAccess += trip->Zugangszeit();
        carParking += trip->Parksuchzeit();
        carDriving += trip->Fahrzeit();
        carTravel += trip->Reisezeit();
        carLength += trip->Streckenlaenge();
        break;
      case SIM_MODE_BUS:
        ++m_busTrips;
        busRiding += trip->Fahrzeit();
        busTravel += trip->Reisezeit();
        busAccess += trip->Zugangszeit();
        busTransfer += trip->Umsteigezeit();
        busLength += trip->Streckenlaenge();
        break;
      case SIM_MODE_WALK:
        ++m_walkTrips;
        walkLength += trip->Streckenlaenge();
        break;
      default: break;
    }
  }
  // Times in minutes, lengths in km, speeds in km/h.
  if (m_busTrips > 0) {
    const double n = m_busTrips;
    m_busTravel = busTravel / (60 * n);
    m_busRiding = busRiding / (60 * n);
    m_busAccess = busAccess / (60 * n);
    m_busTransfer = busTransfer / (60 * n);
    m_busLength = busLength / (1000 * n);
    if (m_busRiding > 0) m_busSpeed = m_busLength * 60 / (m_busRiding + m_busTransfer);
  }
  if (m_carTrips > 0) {
    const double n = m_carTrips;
    m_carTravel = carTravel / (60 * n);
    m_carAccess = carAccess / (60 * n);
    m_carParking = carParking / (60 * n);
    m_carDriving = carDriving / (60 * n);
    m_carLength = carLength / (1000 * n);
    if (m_carTravel > 0) m_carSpeed = m_carLength * 60 / m_carTravel;
    if (m_carLength > 0) m_resistance = m_carTravel / m_carLength;
  }
  if (m_walkTrips > 0) m_walkLength = walkLength / (1000.0 * m_walkTrips);
}

bool CSimAgent::CheckAgentIntegrity() const {
  for (CSimTrip* trip : m_trips)
    if (trip && trip->IsValid()) (void)trip->pFromDestination();
  if (m_pDestinations && m_pDestinations->IsValid())
    for (CSimDestination* d = m_pDestinations->pFirst(); d; d = d->pNext()) (void)d->Destination();
  return true;
}

void CSimAgent::PrintData(FILE* /*file*/) const {}
