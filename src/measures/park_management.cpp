#include "measures/park_management.h"

int CParkManagement::AddParking(CBuildingParkingObject*, ToolBuildingParkingSize, ParkingDataType*) { return 0; }
int CParkManagement::RemoveParking(CBuildingParkingObject*) { return 0; }
int CParkManagement::RemoveParkDisplay(CSecondLayerObject*) { return 0; }
