#include "measures/advice_centre.h"

int CZorviZentrale::OnPlayloopTurn(STime, STime) { return 0; }

int CZorviZentrale::ResetYearData(STime, STime) { return 0; }

CZorvaList* CZorviZentrale::GetList(const char*) { return nullptr; }
