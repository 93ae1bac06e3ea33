// The city model's work on its agents: the trips of an hour, the hourly
// re-planning, the statistics of the last trips and the savegame.
#include <algorithm>
#include <cmath>

#include "framework/zor_seams.h"
#include "sim/sim_agent.h"
#include "sim/sim_city_model.h"
#include "sim/sim_error.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_statistic_server.h"
#include "sim/sim_traffic_slot.h"
#include "sim/sim_welt.h"

bool CSimCityModell::CreateAgentParts() {
  if (!m_pAgents) m_pAgents = new CSimAgentList;
  if (!m_pStatisticServer) m_pStatisticServer = new CSimStatisticServer(this);
  return true;
}

void CSimCityModell::DestroyAgentParts() {
  if (m_pAgents) {
    m_pAgents->Destroy(true);
    delete m_pAgents;
    m_pAgents = nullptr;
  }
  delete m_pStatisticServer;
  m_pStatisticServer = nullptr;
}

void CSimCityModell::RemoveAllAgents() {
  if (m_pAgents) m_pAgents->Destroy(true);
  CalculateAgentGroupDistribution();
}

int CSimCityModell::NrOfAgents() const { return m_pAgents ? m_pAgents->NrOfElements() : 0; }

void CSimCityModell::CreateTripList(CSimAgent* agent) {
  if (m_pStatisticServer) m_pStatisticServer->CreateTripList(agent);
}

void CSimCityModell::CalculateAgentGroupDistribution() {
  for (unsigned& g : m_Groups) g = 0;
  if (!m_pAgents) return;
  m_pAgents->ResetIterator();
  while (CSimAgent* a = m_pAgents->pNextAgent()) {
    if (!a->IsValid()) continue;
    const int g = a->StatusGroup();
    if (g >= 0 && g < kSimStatusGroups) ++m_Groups[g];
  }
}

bool CSimCityModell::StartNextIntervall(const CSimDate& date) {
  CalculateAgentGroupDistribution();
  ReadBehaviourParameters();

  // Re-plan a share of the agents: about every k-th agent of the list, at
  // most the re-planning count of them.
  int n = m_ReplanCount;
  unsigned k = n > 0 ? (m_Residents / kPersonsPerAgent) / static_cast<unsigned>(n) : 10u;
  // Fewer residents than agents to re-plan would make k 0: every agent is
  // then a candidate.
  if (k < 1) k = 1;
  const unsigned start = kfx_GetTicks();
  int replanned = 0;
  m_pAgents->ResetIterator();
  while (n > 0) {
    CSimAgent* a = m_pAgents->pNextAgent();
    if (!a) break;
    if (static_cast<unsigned>(zor_random()) % k != 0 || !a->IsValid()) continue;
    --n;
    ++replanned;
    try {
      CreateTripList(a);
    } catch (const char* text) {
      // An agent whose day cannot be planned again leaves the city: its
      // destroy takes it out of its districts, and it leaves the agent list
      // at once, so that no count of the city sees it any more. The list's
      // walk goes on with the agent after it.
      SimSetError(1, "Fehler in CSimCityModell::StartNextIntervall()", "%s", text);
      if (a->IsValid()) {
        try {
          a->Destroy();
        } catch (const char* again) {
          CSimError::PrintError(again);
        }
      }
      m_pAgents->RemoveAgent(a, false);
      // An agent that could not be destroyed may still be linked to a
      // district; it is not freed under the district's list.
      if (!a->IsValid()) delete a;
    }
  }
  const unsigned elapsed = kfx_GetTicks() - start;
  int count = -1;
  if (elapsed != 0 && replanned > 0) count = std::max(1, static_cast<int>(200LL * replanned / elapsed));
  const int limit = static_cast<int>(m_Residents / 500);
  if (count > limit || count < 1) count = limit;
  m_ReplanCount = count;

  CalcTripLengthDistibution();
  // The city stands still in the first two hours of a game and while a
  // savegame is read.
  const int hoursFromStart = date.TicksFromStart() - CSimWelt::kFirstHour;
  if (hoursFromStart >= 2 && !(m_pSimWelt && m_pSimWelt->LoadingGame())) {
    CityBuildings();
    CityPopulationChange(date);
    if (m_pLocationFactory) m_pLocationFactory->CheckResIndComOnlyOneTile();
  }
  return true;
}

CSimTrip* CSimCityModell::Trips(int hour) {
  CSimTrip* chain = nullptr;
  if (!m_pAgents) return nullptr;
  m_pAgents->ResetIterator();
  while (CSimAgent* a = m_pAgents->pNextAgent()) {
    if (!a->IsValid()) {
      // The iterator steps back, so the walk goes on with the next agent.
      m_pAgents->RemoveAgent(a, false);
      delete a;
      continue;
    }
    CSimTrip* trip = a->pCopyOfTrip(hour);
    if (!trip) continue;
    trip->MapDestinationsToCrossings();
    trip->MapDestinationsToBusStops();
    trip->MapDestinationsToWalkDistance();
    float f = m_TripScale;
    if (trip->TransportationMode() == SIM_MODE_CAR) f = m_CarTripFactor / CarTripDivisor() * m_TripScale;
    trip->SetSize(static_cast<unsigned>(static_cast<float>(trip->Size()) * f));
    trip->SetNextPtr(chain);
    chain = trip;
  }
  return chain;
}

void CSimCityModell::CalculateTripStats(CSimTrafficSlot* slot) {
  if (!slot || !m_pAgents) return;
  const int hour = slot->Date().Hour();
  m_pAgents->ResetIterator();
  while (CSimAgent* a = m_pAgents->pNextAgent())
    if (a->IsValid()) a->UpdateTripInfo(hour, slot);
}

void CSimCityModell::CalcStatisticData() {
  m_CarTrips = m_BusTrips = m_FeetTrips = 0;
  m_ReisezeitMIV = m_ZugangszeitMIV = m_ParksuchzeitMIV = m_FahrzeitMIV = 0;
  m_ReisezeitBus = m_FahrzeitBus = m_ZugangszeitBus = m_UmsteigezeitBus = 0;
  m_StreckenlaengeMIV = m_GeschwindigkeitMIV = m_StreckenlaengeBus = m_GeschwindigkeitBus = 0;
  m_Raumwiderstaende = m_StreckenlaengeFeet = 0;
  if (!m_pAgents) return;
  m_pAgents->ResetIterator();
  while (CSimAgent* a = m_pAgents->pNextAgent()) {
    if (!a->IsValid()) continue;
    a->CalcStatisticData();
    const int c = a->NrOfMIVTrips(), b = a->NrOfBusTrips(), w = a->NrOfFeetTrips();
    if (c > 0) {
      m_CarTrips += c;
      m_ReisezeitMIV += c * a->ReisezeitMIV();
      m_ZugangszeitMIV += c * a->ZugangszeitMIV();
      m_ParksuchzeitMIV += c * a->ParksuchzeitMIV();
      m_FahrzeitMIV += c * a->FahrzeitMIV();
      m_StreckenlaengeMIV += c * a->StreckenlaengeMIV();
      m_GeschwindigkeitMIV += c * a->GeschwindigkeitMIV();
      m_Raumwiderstaende += c * a->Raumwiderstaende();
    }
    if (b > 0) {
      m_BusTrips += b;
      m_ReisezeitBus += b * a->ReisezeitBus();
      m_FahrzeitBus += b * a->FahrzeitBus();
      m_ZugangszeitBus += b * a->ZugangszeitBus();
      m_UmsteigezeitBus += b * a->UmsteigezeitBus();
      m_StreckenlaengeBus += b * a->StreckenlaengeBus();
      m_GeschwindigkeitBus += b * a->GeschwindigkeitBus();
    }
    if (w > 0) {
      m_FeetTrips += w;
      m_StreckenlaengeFeet += w * a->StreckenlaengeFeet();
    }
  }
  if (m_CarTrips > 0)
    for (double* v : {&m_ReisezeitMIV, &m_ZugangszeitMIV, &m_ParksuchzeitMIV, &m_FahrzeitMIV, &m_StreckenlaengeMIV,
                      &m_GeschwindigkeitMIV, &m_Raumwiderstaende})
      *v /= m_CarTrips;
  if (m_BusTrips > 0)
    for (double* v : {&m_ReisezeitBus, &m_FahrzeitBus, &m_ZugangszeitBus, &m_UmsteigezeitBus, &m_StreckenlaengeBus,
                      &m_GeschwindigkeitBus})
      *v /= m_BusTrips;
  if (m_FeetTrips > 0) m_StreckenlaengeFeet /= m_FeetTrips;
}

void CSimCityModell::CalcTripLengthDistibution() {
  for (auto& bins : m_TripLength)
    for (double& b : bins) b = 0.0;
  if (m_pAgents) {
    m_pAgents->ResetIterator();
    while (CSimAgent* a = m_pAgents->pNextAgent()) {
      if (!a->IsValid() || (m_TripLengthGroup != 5 && a->StatusGroup() != m_TripLengthGroup)) continue;
      for (int h = 6; h <= 19; ++h) {
        const CSimTrip* t = a->pTrip(h);
        if (!t) continue;
        const int length = t->Streckenlaenge() == 0 ? -1 : t->Streckenlaenge();
        const int bin = length / kTripLengthBinMetres;
        if (bin < 1 || bin >= kTripLengthBins) continue;
        double* bins = const_cast<double*>(pTripLengthDistribution(t->TransportationMode()));
        if (bins) bins[bin] += 1.0;
      }
    }
  }
  // Smoothed in place, upwards: each bin takes in the two above it.
  for (auto& a : m_TripLength)
    for (int i = 1; i <= 96; ++i) a[i] = 2 * a[i] + 3 * a[i + 1] + 2 * a[i + 2];
  CalculateAgentGroupDistribution();
}

bool CSimCityModell::CheckAgentIntegrity() {
  if (!m_pAgents) return true;
  bool ok = true;
  m_pAgents->ResetIterator();
  while (CSimAgent* a = m_pAgents->pNextAgent())
    if (a->IsValid() && !a->CheckAgentIntegrity()) ok = false;
  return ok;
}

bool CSimCityModell::Save(FILE* file) {
  if (!m_pAgents || !file) return SimSetError(2, "Fehler in CSimCityModell::Save()"), false;
  return m_pAgents->Save(file);
}

bool CSimCityModell::Load(FILE* file) {
  if (!m_pAgents || !file) return SimSetError(2, "Fehler in CSimCityModell::Load()"), false;
  // Loading re-attaches the agents' destinations to buildings by drawing
  // from the shared random source; the game's own sequence goes on
  // afterwards as if no load had been.
  const uint64_t random = zor_random_state();
  m_pAgents->Destroy(true);
  // The trips' records are as long as the savegame's version made them.
  CSimAgent::SetLoadVersion(m_pSimWelt ? m_pSimWelt->LoadVersion() : CSimWeltParts::kCurrentVersion);
  const int failed = m_pAgents->Load(file, this);
  CSimAgent::SetLoadVersion(CSimWeltParts::kCurrentVersion);
  zor_set_random_state(random);
  if (failed > 0) SimSetError(1, "Fehler in CSimCityModell::Load()", "%d agents not restored", failed);
  CalculateAgentGroupDistribution();
  CalcStatisticData();
  return true;
}
