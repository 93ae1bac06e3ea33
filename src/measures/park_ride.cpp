#include "measures/park_ride.h"

int CParkRide::OnPlayloopTurn(STime, STime) { return 0; }

CZorvaList* CParkRide::GetList(const char*) { return nullptr; }

int CParkRide::AddParkRide(CBuildingTrafficObject*) { return 0; }
int CParkRide::RemoveParkRide(CBuildingTrafficObject*) { return 0; }
