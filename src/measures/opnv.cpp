#include "measures/opnv.h"

int COpnv::OnPlayloopTurn(STime, STime) { return 0; }

int COpnv::ResetYearData(STime, STime) { return 0; }

int COpnv::OnPlayloopTurn() { return 0; }

int COpnv::RemoveAllLineBeforeLoadExit() { return 0; }

int COpnv::AddHst(CBuildingObject*, NetActiveType, bool) { return 0; }
int COpnv::RemoveHst(CBuildingObject*) { return 0; }
int COpnv::CheckLinesForNoHst() { return 0; }
