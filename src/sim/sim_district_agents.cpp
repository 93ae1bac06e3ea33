// The district's side of the agents: the persons they bring per destination
// kind, and what happens to them when a location of the district goes.
#include <unordered_set>
#include <vector>

#include "sim/sim_agent.h"
#include "sim/sim_city_model.h"
#include "sim/sim_district.h"
#include "sim/sim_error.h"

bool CSimDistrict::CreateAgentList() {
  m_pAgents = new CSimAgentList;
  return true;
}

void CSimDistrict::DestroyAgentList() {
  if (!m_pAgents) return;
  // The district never owns its agents.
  m_pAgents->Destroy(false);
  delete m_pAgents;
  m_pAgents = nullptr;
}

bool CSimDistrict::LinkAgent(ESimDestination kind, CSimAgent* agent) {
  CheckValid("CSimDistrict::LinkAgent()");
  if (!agent) return SimSetError(2, "Fehler in CSimDistrict::LinkAgent()"), false;
  const unsigned s = static_cast<unsigned>(agent->Size());
  CSimCityModell* city = m_pCityModell;
  switch (kind) {
    case SIM_DEST_HOME:
      if (static_cast<long long>(m_Homes) - m_Residents < s) return SimSetError(38, "Fehler in CSimDistrict::LinkAgent()"), false;
      m_Residents += s;
      city->AddResidents(s);
      break;
    case SIM_DEST_WORK:
      if (static_cast<long long>(m_Jobs) - m_Workers < s) return SimSetError(39, "Fehler in CSimDistrict::LinkAgent()"), false;
      m_Workers += s;
      city->AddWorkers(s);
      break;
    case SIM_DEST_EDUCATION:
      m_Scholars += s;
      city->AddScholars(s);
      break;
    case SIM_DEST_SHOPPING:
      m_Consumers += s;
      city->AddConsumers(s);
      break;
    case SIM_DEST_LEISURE:
      m_Leisurers += s;
      city->AddLeisurers(s);
      break;
    case SIM_DEST_OTHER:
      SimSetError(1, "Fehler in CSimDistrict::LinkAgent(); case misc");
      return SimSetError(1, "Fehler in CSimDistrict::LinkAgent()"), false;
    default:
      return SimSetError(1, "Fehler in CSimDistrict::LinkAgent()"), false;
  }
  if (!m_pAgents->InsertAgent(agent)) return SimSetError(1, "Fehler in CSimDistrict::LinkAgent()"), false;
  return true;
}

bool CSimDistrict::UnlinkAgent(ESimDestination kind, CSimAgent* agent) {
  CheckValid("CSimDistrict::UnlinkAgent()");
  if (!agent) return SimSetError(2, "Fehler in CSimDistrict::UnlinkAgent()"), false;
  if (!m_pAgents->RemoveAgent(agent, false)) return SimSetError(1, "Fehler in CSimDistrict::UnlinkAgent()"), false;
  const unsigned s = static_cast<unsigned>(agent->Size());
  unsigned* counter = PersonCounter(kind);
  if (!counter || *counter < s) return SimSetError(1, "Fehler in CSimDistrict::UnlinkAgent()"), false;
  *counter -= s;
  CSimCityModell* city = m_pCityModell;
  switch (kind) {
    case SIM_DEST_HOME:
      city->RemoveResidents(s);
      break;
    case SIM_DEST_WORK:
      city->RemoveWorkers(s);
      break;
    case SIM_DEST_EDUCATION:
      city->RemoveScholars(s);
      break;
    case SIM_DEST_SHOPPING:
      city->RemoveConsumers(s);
      break;
    case SIM_DEST_LEISURE:
      city->RemoveLeisurers(s);
      break;
    default:
      break;
  }
  return true;
}

void CSimDistrict::NotifyAgentsOfRemoval(CSimLocation* location) {
  // An agent that finds no new place is destroyed and leaves this list, so
  // the agents are collected before any is told; each is told once, however
  // many of its destinations lie here. An agent that cannot be placed again
  // stays in the city's list, no longer valid, until the next hour's trips
  // take it out; its fault is logged and goes no further.
  std::vector<CSimAgent*> agents;
  std::unordered_set<CSimAgent*> seen;
  m_pAgents->ResetIterator();
  while (CSimAgent* a = m_pAgents->pNextAgent())
    if (seen.insert(a).second) agents.push_back(a);
  for (CSimAgent* a : agents) {
    if (!a->IsValid()) continue;
    try {
      a->NotifyLocationRemoved(location);
    } catch (const char* text) {
      SimSetError(1, "Fehler in CSimDistrict::RemoveLocation()", "%s", text);
    }
  }
}

void CSimDistrict::UpdateTripStats() {
  m_BusTrips = m_CarTrips = 0;
  if (!m_pAgents) return;
  m_pAgents->ResetIterator();
  while (CSimAgent* a = m_pAgents->pNextAgent()) {
    a->CalcStatisticData();
    m_BusTrips += a->NrOfBusTrips();
    m_CarTrips += a->NrOfMIVTrips();
  }
}
