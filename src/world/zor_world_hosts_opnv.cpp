// The micro simulation asks a line vehicle's line where it goes: the street
// to take at a branch, whether a cell is its next stop, and where it stands
// while it dwells there.
#include "iso/iso_geometry.h"
#include "measures/opnv_line.h"
#include "microsim/micro_car.h"
#include "microsim/micro_cells.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"
#include "world/zor_world_hosts.h"

namespace {

COpnvLine* LineOf(CMicroOpnv* bus) { return bus ? bus->GetOpnvLine() : nullptr; }

}  // namespace

bool CZorMicroHost::IsIsoPosHst(CMicroOpnv* bus, int x, int y) {
  COpnvLine* line = LineOf(bus);
  return line && line->IsIsoPosHst(bus->GetBusNrInLine(), x, y);
}

int CZorMicroHost::GetAbzwStreetID(CMicroOpnv* bus, bool& flag, bool current) {
  flag = false;
  COpnvLine* line = LineOf(bus);
  if (!line) return -1;
  const BinaryMicroSimObject* cell = bus->GetMicroSimObject();
  const int slot = bus->GetBusNrInLine();
  bool against = false;
  CStrStrasse* street = current ? line->GetAktualMicroStreet(slot, against)
                                : line->GetNextMicroStreetFrom(slot, cell ? cell->m_SimID : 0, against);
  if (!street) return -1;
  flag = street->GetStreetType() == STRASSE_VIERSPURIG || street->HasBusSpur();
  return against ? street->GetSimIDSecond() : street->GetSimID();
}

int CZorMicroHost::GetNextStreetID(CMicroOpnv* bus) {
  COpnvLine* line = LineOf(bus);
  bool against = false;
  CStrStrasse* street = line ? line->GetAktualMicroStreet(bus->GetBusNrInLine(), against) : nullptr;
  if (!street) return 0;
  return against ? street->GetSimIDSecond() : street->GetSimID();
}

BinaryMicroSimObject* CZorMicroHost::GetNextHstZelle(CMicroOpnv* bus, int x, int y, int simId) {
  COpnvLine* line = LineOf(bus);
  if (!line || !IsoInMap(x, y)) return nullptr;
  // The dwell is over: the vehicle heads for the stop after this one and
  // leaves from the cell it stands in.
  line->IncrementNextMicroHst(bus->GetBusNrInLine());
  CStrJunctionList* streets = line->GetNetwork();
  CStrStrasse* street = streets ? streets->GetStreetByID(static_cast<short>(simId)) : nullptr;
  CMicroZellenGroup* group = street ? street->GetMicroZellenGroup() : nullptr;
  return group ? group->FindMember(static_cast<unsigned short>(x), static_cast<unsigned short>(y),
                                   static_cast<uint16_t>(simId), false)
               : nullptr;
}

void CZorMicroHost::VehicleDestroyed(CMicroOpnv* bus) {
  if (COpnvLine* line = LineOf(bus)) line->VehicleDestroyed(line->SlotOf(bus));
}
