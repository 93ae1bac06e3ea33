#include "measures/umland.h"

int CUmland::OnPlayloopTurn(STime, STime) { return 0; }
