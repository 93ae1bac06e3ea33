#include "model/stadt_verwaltung.h"

int CStadtVerwaltung::OnPlayloopTurn(STime, STime) { return 0; }

int CStadtVerwaltung::ResetYearData(STime, STime) { return 0; }

int CStadtVerwaltung::Create(CFinanzen*) { return CWorldObj::Create(); }

int CStadtVerwaltung::AddSpeedControl(CSecondLayerObject*) { return 0; }
int CStadtVerwaltung::RemoveSpeedControl(CSecondLayerObject*) { return 0; }
