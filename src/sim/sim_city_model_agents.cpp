#include "framework/zor_stand_in.h"
#include "sim/sim_city_model.h"

// The agents' side of the model comes with the agent list.
bool CSimCityModell::CreateAgentParts() { return true; }
void CSimCityModell::DestroyAgentParts() {}
bool CSimCityModell::StartNextIntervall(const CSimDate&) { return true; }
CSimTrip* CSimCityModell::Trips(int) { return nullptr; }
void CSimCityModell::CalculateTripStats(CSimTrafficSlot*) {}
bool CSimCityModell::Save(FILE*) { return true; }
bool CSimCityModell::Load(FILE*) { return true; }

void CSimCityModell::CalculateParkingData() {
  // Stands in for the parking search times: every district keeps 70 s.
  ZOR_STAND_IN("CSimCityModell");
}
