#include "measures/advice_centre.h"

int CZorviZentrale::OnPlayloopTurn(STime, STime) { return 0; }

int CZorviZentrale::ResetYearData(STime, STime) { return 0; }

CZorvaList* CZorviZentrale::GetList(const char*) { return nullptr; }

int CZorviZentrale::AddZorviZentrale(CBuildingTrafficObject* centre) {
  if (m_pZentrale) return 1;
  m_pZentrale = centre;
  return 0;
}

int CZorviZentrale::RemoveZorviZentrale(CBuildingTrafficObject* centre) {
  if (m_pZentrale == centre) m_pZentrale = nullptr;
  return 0;
}
