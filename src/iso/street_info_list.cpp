#include "iso/street_info_list.h"

CStreetInfoList::CStreetInfoList(CStrassenType type, const int ids[PIECES], const int layers[PIECES],
                                 uint16_t capacity)
    : m_Capacity(capacity), m_Type(type) {
  for (int i = 0; i < PIECES; ++i) {
    m_ID[i] = ids[i];
    m_Layer[i] = layers[i];
  }
}

void CStreetInfoList::Append(CStreetInfoList* record) {
  CStreetInfoList* tail = this;
  while (tail->m_pNext) tail = tail->m_pNext;
  tail->m_pNext = record;
  record->m_pPrev = tail;
  record->m_pNext = nullptr;
}

void CStreetInfoList::DeleteFollowing() {
  CStreetInfoList* r = m_pNext;
  m_pNext = nullptr;
  while (r) {
    CStreetInfoList* next = r->m_pNext;
    delete r;
    r = next;
  }
}

CStreetInfoList* CStreetInfoList::FindElement(CStrassenType type) {
  for (CStreetInfoList* r = this; r; r = r->m_pNext)
    if (r->m_Type == type) return r;
  return nullptr;
}

int CStreetInfoList::IdOf(CStrassenType type, TPiece piece, bool layer) {
  const CStreetInfoList* r = FindElement(type);
  if (!r) return -1;
  return layer ? r->m_Layer[piece] : r->m_ID[piece];
}

int CStreetInfoList::GetStrassenID(CStrassenType type) { return IdOf(type, STRAIGHT, false); }
int CStreetInfoList::GetKurvenID(CStrassenType type) { return IdOf(type, CURVE, false); }
int CStreetInfoList::GetEndStueckID(CStrassenType type) { return IdOf(type, END, false); }
int CStreetInfoList::GetStrassenLayerID(CStrassenType type) { return IdOf(type, STRAIGHT, true); }
int CStreetInfoList::GetKurvenLayer(CStrassenType type) { return IdOf(type, CURVE, true); }
int CStreetInfoList::GetEndStueckLayer(CStrassenType type) { return IdOf(type, END, true); }

int CStreetInfoList::GetCapacity(CStrassenType type) {
  const CStreetInfoList* r = FindElement(type);
  return r ? r->m_Capacity : 0;
}

bool CStreetInfoList::Holds(int id) const {
  for (int i : m_ID)
    if (i == id) return true;
  return false;
}

CStreetInfoList* CStreetInfoList::FindElement(int id) {
  for (CStreetInfoList* r = this; r; r = r->m_pNext) {
    if (!r->Holds(id)) continue;
    // The family is named by its straight piece; its first record answers.
    for (CStreetInfoList* f = this; f; f = f->m_pNext)
      if (f->m_ID[STRAIGHT] == r->m_ID[STRAIGHT]) return f;
  }
  return nullptr;
}

int CStreetInfoList::IdOfFamily(int id, TPiece piece) {
  const CStreetInfoList* r = FindElement(id);
  return r ? r->m_ID[piece] : -1;
}

int CStreetInfoList::GetKreuzungsID(int id) { return IdOfFamily(id, CROSSING); }
int CStreetInfoList::GetTKreuzung(int id) { return IdOfFamily(id, T_JUNCTION); }
int CStreetInfoList::GetEndStueckID(int id) { return IdOfFamily(id, END); }

bool CStreetInfoList::IsEqual(int straightId, int id) {
  for (const CStreetInfoList* r = this; r; r = r->m_pNext)
    if (r->m_ID[STRAIGHT] == straightId && r->Holds(id)) return true;
  return false;
}
