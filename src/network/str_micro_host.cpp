#include "network/str_micro_host.h"

#include "network/str_junction_list.h"
#include "network/str_strasse.h"

CStrStrasse* CStrMicroHost::Street(uint16_t simId) {
  CStrJunctionList* streets = simId ? GetStreets() : nullptr;
  return streets ? streets->GetStreetByID(static_cast<short>(simId)) : nullptr;
}

void CStrMicroHost::Remember(uint16_t simId, const SVelocity& known) {
  if (simId == 0) return;
  if (simId >= m_Velocities.size()) m_Velocities.resize(static_cast<size_t>(simId) + 1);
  m_Velocities[simId] = known;
}

bool CStrMicroHost::GetStreetVelocity(uint16_t simId, double& velocity) {
  const uint32_t turn = GetTurn();
  if (turn != 0 && simId < m_Velocities.size() && m_Velocities[simId].turn == turn) {
    const SVelocity& known = m_Velocities[simId];
    if (known.found) velocity = known.velocity;
    return known.found;
  }
  CStrStrasse* street = Street(simId);
  if (street) velocity = street->GetVelocity();
  if (turn != 0 && simId != 0) {
    Remember(simId, {turn, street != nullptr, street ? velocity : 0.0});
    // Both directions of a street answer its forward speed: the other
    // direction is known for the turn as well.
    if (street) {
      Remember(static_cast<uint16_t>(street->GetSimID()), {turn, true, velocity});
      Remember(static_cast<uint16_t>(street->GetSimIDSecond()), {turn, true, velocity});
    }
  }
  return street != nullptr;
}

bool CStrMicroHost::GetStreetFlow(uint16_t simId, int& flow) {
  CStrStrasse* street = Street(simId);
  if (!street) return false;
  flow = static_cast<uint16_t>(street->GetSimID()) == simId ? street->GetAuslastung() : street->GetAuslastungSecond();
  return true;
}

BinaryMicroSimObject* CStrMicroHost::GetStreetHstZelle(int x, int y, uint16_t simId) {
  CStrStrasse* street = Street(simId);
  return street ? street->GetNextHstZelle(static_cast<short>(x), static_cast<short>(y), simId) : nullptr;
}
