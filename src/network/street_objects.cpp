#include "network/street_objects.h"

int CStrStrasse::GetRichtung(int, int, unsigned char& found, int& firstDir, bool& bend) const {
  found = 1;
  firstDir = m_Richtung;
  bend = false;
  return m_Richtung;
}

// Stand-ins for the micro cells of streets and junctions: nothing moves.
int CStreetObj::UpdateScreenPos(int, int, unsigned short, unsigned short) { return 0; }
int CKreuzObj::UpdateScreenPos(int, int, unsigned short, unsigned short) { return 0; }

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
