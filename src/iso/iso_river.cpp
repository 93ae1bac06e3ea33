#include "iso/iso_river.h"

int CRiverObject::Create() {
  CWorldObj::Create();
  m_Type = OBJ_RIVER;
  SetSoundName("fluss", 13);
  return 0;
}

int CRiverObject::SerializeGameStore(FILE* file) {
  const uint32_t dir = static_cast<uint32_t>(m_Richtung), res = static_cast<uint32_t>(m_ResID);
  if (!file) return 1;
  const bool ok = std::fwrite(&m_X, 2, 1, file) == 1 && std::fwrite(&m_Y, 2, 1, file) == 1 &&
                  std::fwrite(&dir, 4, 1, file) == 1 && std::fwrite(&res, 4, 1, file) == 1;
  return ok ? 0 : 1;
}

int CRiverObject::SerializeGameLoad(FILE* file) {
  uint32_t dir = 0, res = 0;
  if (!file || std::fread(&m_X, 2, 1, file) != 1 || std::fread(&m_Y, 2, 1, file) != 1 ||
      std::fread(&dir, 4, 1, file) != 1 || std::fread(&res, 4, 1, file) != 1)
    return 1;
  m_Richtung = static_cast<int32_t>(dir & 3);
  m_ResID = static_cast<int32_t>(res);
  return 0;
}

int CRiverObject::Create(uint16_t x, uint16_t y, const CIsoRichtung& direction, int resId) {
  m_X = x;
  m_Y = y;
  m_Richtung = direction.GetValue();
  m_ResID = resId;
  return Create();
}
