#include "network/street_objects.h"

#include <cstdio>

#include "framework/zor_record.h"

int CStrStrasse::GetRichtung(int, int, unsigned char& found, int& firstDir, bool& bend) const {
  found = 1;
  firstDir = m_Richtung;
  bend = false;
  return m_Richtung;
}

// The micro cells come with the street network; until then nothing moves.
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

int CRiverObject::Create() {
  CWorldObj::Create();
  m_Type = OBJ_RIVER;
  SetSoundName("fluss", 13);
  return 0;
}

int CRiverObject::SerializeGameStore(FILE* file) {
  ZorRecordWriter out(file);
  out.U16(m_X);
  out.U16(m_Y);
  out.I32(m_Richtung);
  out.I32(m_ResID);
  return out.Ok() ? 0 : 1;
}

int CRiverObject::SerializeGameLoad(FILE* file) {
  ZorRecordReader in(file);
  const uint16_t x = in.U16();
  const uint16_t y = in.U16();
  const uint32_t dir = in.U32();
  const int32_t res = in.I32();
  if (!in.Ok()) return 1;
  m_X = x;
  m_Y = y;
  m_Richtung = static_cast<int32_t>(dir & 3);
  m_ResID = res;
  return 0;
}

int CRiverObject::Create(uint16_t x, uint16_t y, const CIsoRichtung& direction, int resId) {
  m_X = x;
  m_Y = y;
  m_Richtung = direction.GetValue();
  m_ResID = resId;
  return Create();
}
