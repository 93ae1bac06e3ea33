#include "network/str_micro_host.h"

#include "network/str_junction_list.h"
#include "network/str_strasse.h"

CStrStrasse* CStrMicroHost::Street(uint16_t simId) {
  CStrJunctionList* streets = simId ? GetStreets() : nullptr;
  return streets ? streets->GetStreetByID(static_cast<short>(simId)) : nullptr;
}

bool CStrMicroHost::GetStreetVelocity(uint16_t simId, double& velocity) {
  CStrStrasse* street = Street(simId);
  if (!street) return false;
  velocity = street->GetVelocity();
  return true;
}

bool CStrMicroHost::GetStreetFlow(uint16_t simId, int& flow) {
  CStrStrasse* street = Street(simId);
  if (!street) return false;
  flow = static_cast<uint16_t>(street->GetSimID()) == simId ? street->GetAuslastung() : street->GetAuslastungSecond();
  return true;
}
