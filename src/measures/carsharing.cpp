#include "measures/carsharing.h"

int CCarsharing::OnPlayloopTurn(STime, STime) { return 0; }

int CCarsharing::ResetYearData(STime, STime) { return 0; }

CZorvaList* CCarsharing::GetList(const char*) { return nullptr; }

int CCarsharing::AddOutlet(CBuildingTrafficObject*) { return 0; }
int CCarsharing::RemoveOutlet(CBuildingTrafficObject*, bool) { return 0; }
