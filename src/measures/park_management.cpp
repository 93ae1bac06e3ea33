#include "measures/park_management.h"

int CParkManagement::OnPlayloopTurn(STime, STime) { return 0; }

int CParkManagement::ResetYearData(STime, STime) { return 0; }

CZorvaList* CParkManagement::GetList(const char*) { return nullptr; }

int CParkManagement::AddParking(CBuildingParkingObject*, ToolBuildingParkingSize, ParkingDataType*) { return 0; }
int CParkManagement::RemoveParking(CBuildingParkingObject*) { return 0; }
int CParkManagement::RemoveParkDisplay(CSecondLayerObject*) { return 0; }
