#include "model/statistik.h"

int CStatistik::OnPlayloopTurn(STime, STime) { return 0; }

int CStatistik::UpdateWerte_Finanzen(STime) { return 0; }
