#include "measures/active_route_guidance.h"

int CAktiveRoutenPlanung::OnPlayloopTurn(STime, STime) { return 0; }

int CAktiveRoutenPlanung::ResetYearData(STime, STime) { return 0; }

CZorvaList* CAktiveRoutenPlanung::GetList(const char*) { return nullptr; }

int CAktiveRoutenPlanung::AddSendeMast(CBuildingObject*) { return 0; }
int CAktiveRoutenPlanung::RemoveSendeMast(CBuildingObject*) { return 0; }
