// Growth of the city towards the targets of jobs, homes and residents that
// the game sets: new buildings in random districts, new agents where homes
// are free, fewer agents where the city has more residents than its target.
#include <algorithm>
#include <cmath>

#include "framework/zor_seams.h"
#include "sim/sim_agent.h"
#include "sim/sim_city_model.h"
#include "sim/sim_error.h"
#include "sim/sim_location_factory.h"
#include "sim/sim_statistic_server.h"
#include "sim/sim_welt.h"

namespace {

// Kinds of space the location factory is asked for.
constexpr ESimSpaceNeeded kSpaceHomes = 0;
constexpr ESimSpaceNeeded kSpaceJobs = 1;
constexpr int kAttempts = 1000;

// A deficit of 31 to 499 is met with 500 at once; smaller ones stay.
int Deficit(long long target, unsigned have) {
  long long d = target - static_cast<long long>(have);
  if (d >= 31 && d <= 499) d = 500;
  return static_cast<int>(std::clamp<long long>(d, -2000000000LL, 2000000000LL));
}

void WriteSimLog(const char* text) {
  SimEnsureErrorLog();
  if (FILE* log = SimErrorLog()) {
    std::fputs(text, log);
    std::fflush(log);
  }
}

}  // namespace

CSimDistrict* CSimCityModell::RandomDistrict() {
  const int x = zor_random() % kGrid;
  const int y = zor_random() % kGrid;
  return &m_Districts[x][y];
}

int CSimCityModell::BuildSpace(int kind, int n) {
  if (n < 1 || !m_pLocationFactory) return n;
  int amount = std::max(n, 1000);
  for (int attempt = 0; attempt < kAttempts && n > 0; ++attempt) {
    CSimDistrict* d = RandomDistrict();
    const int space = kind == kSpaceJobs ? d->NrOfIndSpace() + d->NrOfComSpace() : d->NrOfResSpace();
    if (space <= 2) continue;
    const int before = amount;
    const int id = d->ID();
    m_pLocationFactory->MoreSpaceNeeded2(id, kind, amount);
    n -= before - amount;
  }
  return n;
}

bool CSimCityModell::CityBuildings() {
  int jobs = 0, homes = 0, people = 0;
  if (!m_pSimWelt || !m_pSimWelt->GrowthTargets(jobs, homes, people)) return true;
  BuildSpace(kSpaceJobs, Deficit(jobs, m_Jobs));
  BuildSpace(kSpaceHomes, Deficit(homes, m_Homes));
  return true;
}

bool CSimCityModell::CityPopulationChange(const CSimDate&) {
  int jobs = 0, homes = 0, people = 0;
  if (!m_pSimWelt || !m_pSimWelt->GrowthTargets(jobs, homes, people)) return true;
  long long d = static_cast<long long>(people) - m_Residents;
  if (d < -100) {
    for (int i = 0; i < kAttempts && d < 0; ++i)
      if (m_pAgents->RemoveFirstAgent(true)) d += kPersonsPerAgent;
  } else if (d > 0 && JobsLetPeopleMoveIn()) {
    if (m_Residents + d < m_Homes)
      MorePeople(static_cast<int>(d), false);
    else if (m_Residents < m_Homes)
      MorePeople(static_cast<int>(m_Homes - m_Residents), false);
  }
  return true;
}

bool CSimCityModell::MorePeople(int persons, bool boost) {
  int budget = boost ? 1000 : 100;
  while (persons >= kPersonsPerAgent && budget >= 1) {
    CSimDistrict* d = RandomDistrict();
    while (d->NrOfHomes() >= d->NrOfResidents() + kPersonsPerAgent && budget >= 1 && persons >= kPersonsPerAgent) {
      bool made = false;
      try {
        made = CreateNewAgent(d);
      } catch (const char* text) {
        SimSetError(1, "Fehler in CSimCityModell::MorePeople()", "%s", text);
      }
      if (!made) {
        WriteSimLog("CreateNewAgent() fehlgeschlagen\n");
        budget -= 10;
        break;
      }
      persons -= kPersonsPerAgent;
      budget -= 1;
    }
    budget -= 1;
  }
  return true;
}

bool CSimCityModell::CreateNewAgent(CSimDistrict* district) {
  const double m = m_CarOwnership / 1000.0 - m_CarOwnerDeduction;
  const double f = m / 0.9;
  CalculateAgentGroupDistribution();
  unsigned n = (m_Groups[0] + m_Groups[1] + m_Groups[2] + m_Groups[3] + m_Groups[4]) / 100;
  if (n == 0) n = 1;
  double p[5];
  for (int i = 0; i < 5; ++i) p[i] = static_cast<double>(m_Groups[i]) / n;
  const double a = std::trunc(m_TargetWorkers * f), b = std::trunc(m_TargetNoWorkers * f);
  double w[5] = {a - (p[0] - 5), (m_TargetWorkers - a) - (p[1] - 5), b - (p[2] - 5),
                 (m_TargetNoWorkers - b) - (p[3] - 5), m_TargetStudents - (p[4] - 2)};
  double sum = 0.0;
  for (double& v : w) {
    if (v < 0.0) v = 0.0;
    sum += v;
  }
  double c[5];
  double run = 0.0;
  for (int i = 0; i < 5; ++i) {
    // With all weights 0 no band is open and the draw falls to group 4.
    run += sum > 0.0 ? w[i] / (sum / 100.0) : 0.0;
    c[i] = run;
  }
  if (!district) throw CSimErrorNullPtr::SetError("CSimCityModell::CreateNewAgent");
  const int r = zor_random() % 100;
  int group = 4;
  for (int i = 0; i < 5; ++i)
    if (r < c[i]) {
      group = i;
      break;
    }
  auto* agent = new CSimAgent;
  try {
    agent->Create(static_cast<ESimStatusGroup>(group), kPersonsPerAgent, this, district);
    CreateTripList(agent);
  } catch (...) {
    if (agent->IsValid()) agent->Destroy();
    delete agent;
    throw;
  }
  if (!agent->IsValid() || !m_pAgents->InsertAgent(agent)) {
    if (agent->IsValid()) agent->Destroy();
    delete agent;
    throw CSimError::SetError("CSimCityModell::CreateNewAgent()", "<InsertAgent() failed>");
  }
  WriteSimLog("Agent erzeugt!\n");
  CalculateAgentGroupDistribution();
  return true;
}

bool CSimCityModell::MoreHouses(int homes) {
  BuildSpace(kSpaceHomes, homes);
  return true;
}

bool CSimCityModell::MoreWork(int jobs) {
  BuildSpace(kSpaceJobs, jobs);
  return true;
}

bool CSimCityModell::LessHouses(int homes) {
  TakeDownSpace(kSpaceHomes, homes, -1);
  return true;
}

bool CSimCityModell::LessWork(int jobs) {
  // Only where more than 50 jobs are left to take.
  TakeDownSpace(kSpaceJobs, jobs, 50);
  return true;
}

void CSimCityModell::TakeDownSpace(int kind, int n, int minJobs) {
  if (n < 1 || !m_pLocationFactory) return;
  int amount = n;
  for (int attempt = 0; attempt < kAttempts && n > 0; ++attempt) {
    CSimDistrict* d = RandomDistrict();
    if (d->NrOfJobs() <= minJobs) continue;
    const int before = amount;
    m_pLocationFactory->LessSpaceNeeded2(d->ID(), kind, amount);
    n -= before - amount;
  }
}
