#include "iso/iso_river.h"

#include "framework/zor_record.h"

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
  Place(x, y, direction, resId);
  return Create();
}

void CRiverObject::Place(uint16_t x, uint16_t y, const CIsoRichtung& direction, int resId) {
  m_X = x;
  m_Y = y;
  m_Richtung = direction.GetValue();
  m_ResID = resId;
}
