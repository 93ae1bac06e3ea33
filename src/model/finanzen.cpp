#include "model/finanzen.h"

int CFinanzen::OnPlayloopTurn(STime, STime) { return 0; }

int CFinanzen::ResetYearData(STime, STime) { return 0; }
