#pragma once
// River tiles: world objects of the map's ground, saved in the map's record.
#include <cstdint>
#include <cstdio>

#include "worldbase/zor_world_obj.h"

// A river tile (type 2).
class CRiverObject : public CBaseObject {
 public:
  using CBaseObject::Create;
  int Create() override;
  int Create(uint16_t x, uint16_t y, const CIsoRichtung& direction, int resId);
  // Where a river the factory made (and counted) lies and how it shows; the
  // one reference the factory counted stays the only one.
  void Place(uint16_t x, uint16_t y, const CIsoRichtung& direction, int resId);
  // The record inside the map's savegame record: u16 x, u16 y, u32
  // direction, u32 tile resource id; the map puts a loaded river in place.
  using CBaseObject::SerializeGameStore;
  int SerializeGameStore(FILE* file) override;
  int SerializeGameLoad(FILE* file) override;
  static constexpr uint32_t kRecordSize = 12;
  uint16_t GetX() const { return m_X; }
  uint16_t GetY() const { return m_Y; }
  int GetResID() const { return m_ResID; }
  int GetRichtung() const { return m_Richtung; }

 protected:
  uint16_t m_Y = 0;
  uint16_t m_X = 0;
  int32_t m_Richtung = 0;
  int32_t m_ResID = -1;
};
