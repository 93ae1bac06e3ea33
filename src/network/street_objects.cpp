#include "network/street_objects.h"

int CStrStrasse::GetRichtung(int, int, unsigned char& found, int& firstDir, bool& bend) const {
  found = 1;
  firstDir = m_Richtung;
  bend = false;
  return m_Richtung;
}

int CStreetObj::Create() {
  CWorldObj::Create();
  m_Type = OBJ_STREET_PIECE;
  return 0;
}

int CRailObj::Create() {
  CWorldObj::Create();
  m_Type = OBJ_RAIL_PIECE;
  return 0;
}

int CKreuzObj::Create() {
  CWorldObj::Create();
  m_Type = OBJ_CROSSING;
  return 0;
}

int CRailKreuz::Create() {
  CWorldObj::Create();
  m_Type = OBJ_RAIL_JUNCTION;
  return 0;
}

int CRiverObject::Create() {
  CWorldObj::Create();
  m_Type = OBJ_RIVER;
  SetSoundName("fluss", 13);
  return 0;
}

int CRiverObject::Create(uint16_t x, uint16_t y, const CIsoRichtung& direction, int resId) {
  m_X = x;
  m_Y = y;
  m_Richtung = direction.GetValue();
  m_ResID = resId;
  return Create();
}
