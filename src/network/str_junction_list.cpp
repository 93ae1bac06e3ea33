#include "network/str_junction_list.h"

// Junctions are found by their crossing id.
int CStrJunctionList::Create() { return CList::Create(true, 2000); }
int CStrJunctionList::BerechneISOAuslastung() { return 0; }
int CStrJunctionList::UpdateCarFlow24(int) { return 0; }
int CStrJunctionList::UpdateCarFlow() { return 0; }

int CStrSchJuncList::Create() { return CList::Create(true, 2000); }
