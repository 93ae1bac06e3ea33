#include "network/str_ampel.h"

CAmpelGroup::~CAmpelGroup() { Destroy(); }

int CAmpelGroup::Create(int cycle, float quote) {
  m_Cycle = cycle;
  m_Quote = quote;
  return 0;
}

int CAmpelGroup::Destroy() {
  for (int i = 0; i < m_Count; ++i) {
    delete m_pAmpeln[i];
    m_pAmpeln[i] = nullptr;
    m_pStreets[i] = nullptr;
  }
  m_Count = 0;
  return 0;
}

int CAmpelGroup::Add(CAmpel* light, CStrStrasse* street) {
  if (!street || m_Count >= kMaxStreets || HasStreet(street)) {
    delete light;
    return 1;
  }
  m_pStreets[m_Count] = street;
  m_pAmpeln[m_Count] = light;
  ++m_Count;
  return 0;
}

int CAmpelGroup::RemoveFromStreet(CStrStrasse* street) {
  for (int i = 0; i < m_Count; ++i) {
    if (m_pStreets[i] != street) continue;
    delete m_pAmpeln[i];
    for (int k = i + 1; k < m_Count; ++k) {
      m_pStreets[k - 1] = m_pStreets[k];
      m_pAmpeln[k - 1] = m_pAmpeln[k];
    }
    --m_Count;
    m_pStreets[m_Count] = nullptr;
    m_pAmpeln[m_Count] = nullptr;
    return 0;
  }
  return 1;
}

bool CAmpelGroup::HasStreet(const CStrStrasse* street) const {
  for (int i = 0; i < m_Count; ++i)
    if (m_pStreets[i] == street) return true;
  return false;
}

int CAmpelGroup::ChangeAmpelData(int cycle, float quote) { return Create(cycle, quote); }

int CAmpelGroup::GetPriorityStreets(CStrStrasse** a, CStrStrasse** b) const {
  *a = GetStreet(0);
  *b = GetStreet(1);
  return 0;
}

int CAmpelGroup::GetNonPriorityStreets(CStrStrasse** a, CStrStrasse** b) const {
  *a = GetStreet(2);
  *b = GetStreet(3);
  return 0;
}

int CAmpelGroup::ChangePriorityStreets(CStrStrasse* p1, CStrStrasse* p2, CStrStrasse* o1, CStrStrasse* o2) {
  CStrStrasse* order[kMaxStreets] = {p1, p2, o1, o2};
  // Every named street must belong to the group; the order becomes the new one.
  for (CStrStrasse* s : order)
    if (s && !HasStreet(s)) return 1;
  for (int i = 0; i < kMaxStreets && i < m_Count; ++i) {
    if (!order[i]) continue;
    for (int k = i; k < m_Count; ++k) {
      if (m_pStreets[k] != order[i]) continue;
      CStrStrasse* s = m_pStreets[i];
      CAmpel* l = m_pAmpeln[i];
      m_pStreets[i] = m_pStreets[k];
      m_pAmpeln[i] = m_pAmpeln[k];
      m_pStreets[k] = s;
      m_pAmpeln[k] = l;
    }
  }
  return 0;
}
