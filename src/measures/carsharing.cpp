#include "measures/carsharing.h"

int CCarsharing::AddOutlet(CBuildingTrafficObject*) { return 0; }
int CCarsharing::RemoveOutlet(CBuildingTrafficObject*, bool) { return 0; }
