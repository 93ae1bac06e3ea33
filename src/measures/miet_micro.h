#pragma once
// Microcar rental: the hourly price, the rental points, users, money and
// three advertising switches, set and read by name and saved; no turn and
// no buildings of its own.
#include <cstdint>

#include "measures/measure.h"
#include "sim/sim_date.h"

class CMietMicro : public CMeasure {
 public:
  struct Block {
    float priceHour = 2.0f;
    int32_t users = 0;
    int32_t reserved = 0;
    int32_t points = 0;
    int32_t income = 0;
    int32_t expenses = 0;
    int32_t adMagazine = 0;
    int32_t adTelevision = 0;
    int32_t adRadio = 0;
  };

  CMietMicro();
  // Nothing of its own to make or drop beyond a world object's.
  using CWorldObj::Create;
  int Destroy() override { return 0; }
  // The block's keys; "MS.USERQUOTE" reads the rental points.
  int GetVarData(const char* key, double* value) override;
  using CMeasure::GetVarData;
  // The three advertising switches and the hourly price; other keys 1.
  int SetVarData(const char* key, double value) override;
  using CMeasure::SetVarData;
  const Block& GetBlock() const { return m_Block; }

 private:
  Block m_Block;
};
