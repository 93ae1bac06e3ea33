#include "measures/pta.h"

int CPta::OnPlayloopTurn(STime, STime) { return 0; }

int CPta::ResetYearData(STime, STime) { return 0; }
