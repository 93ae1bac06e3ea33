#include "measures/passive_route_planning.h"

int CPassiveRoutenPlanung::OnPlayloopTurn(STime, STime) { return 0; }

int CPassiveRoutenPlanung::ResetYearData(STime, STime) { return 0; }
