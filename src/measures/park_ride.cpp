#include "measures/park_ride.h"

int CParkRide::OnPlayloopTurn(STime, STime) { return 0; }

CZorvaList* CParkRide::GetList(const char*) { return nullptr; }
