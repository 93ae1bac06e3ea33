#include "network/str_junction_list.h"

// The network is built from its declarations up; until then the list keeps
// no junctions.
CIsoWelt* CStrJunctionList::m_pIsoWelt = nullptr;
CSimWelt* CStrJunctionList::m_pSimWelt = nullptr;

CStrJunctionList::CStrJunctionList(CIsoWelt* iso, CSimWelt* sim) {
  m_pIsoWelt = iso;
  m_pSimWelt = sim;
}
CStrJunctionList::~CStrJunctionList() = default;
int CStrJunctionList::Create() { return CList::Create(true, kHashSize); }
int CStrJunctionList::Destroy() { return CList::Destroy(); }
int CStrJunctionList::SerializeGameLoad(FILE* file) { return CList::SerializeGameLoad(file); }
int CStrJunctionList::SerializeGameStore(FILE* file) { return CList::SerializeGameStore(file); }
CStrJunction* CStrJunctionList::CreateNewJunction(short, short, CStrassenType) { return nullptr; }
CStrStrasse* CStrJunctionList::CreateNewStreet() { return nullptr; }
int CStrJunctionList::UpdateAmpeln() { return 0; }
int CStrJunctionList::TurnMicroSim() { return 0; }
int CStrJunctionList::BerechneISOAuslastung() { return 0; }
int CStrJunctionList::UpdateCarFlow24(int) { return 0; }
int CStrJunctionList::UpdateCarFlow() { return 0; }

int CStrSchJuncList::Create() { return CList::Create(true, 2000); }
