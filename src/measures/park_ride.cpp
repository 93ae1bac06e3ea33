#include "measures/park_ride.h"

int CParkRide::AddParkRide(CBuildingTrafficObject*) { return 0; }
int CParkRide::RemoveParkRide(CBuildingTrafficObject*) { return 0; }
