#include "measures/active_route_guidance.h"

int CAktiveRoutenPlanung::AddSendeMast(CBuildingObject*) { return 0; }
int CAktiveRoutenPlanung::RemoveSendeMast(CBuildingObject*) { return 0; }
