#include "measures/advice_centre.h"

int CZorviZentrale::AddZorviZentrale(CBuildingTrafficObject* centre) {
  if (m_pZentrale) return 1;
  m_pZentrale = centre;
  return 0;
}

int CZorviZentrale::RemoveZorviZentrale(CBuildingTrafficObject* centre) {
  if (m_pZentrale == centre) m_pZentrale = nullptr;
  return 0;
}
