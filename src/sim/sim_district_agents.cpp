#include "sim/sim_district.h"

// The district's agents come with the agent list.
bool CSimDistrict::CreateAgentList() { return true; }
void CSimDistrict::DestroyAgentList() {}
void CSimDistrict::NotifyAgentsOfRemoval(CSimLocation*) {}
