// Counting, spawning, moving and placing the vehicles of a layout.
#include "framework/zor_seams.h"
#include "microsim/micro_car.h"
#include "microsim/micro_cells.h"

// Stand-in: vehicles stay where they were placed until the movement is built.
int CQnoMicroZelle::MoveCars(unsigned short /*x*/, unsigned short /*y*/, bool /*busLane*/) { return 0; }

// Stand-in: counts nothing and spawns nothing until the movement is built.
void CQnoMicroZelle::ZaehleAutos(uint16_t /*simId1*/, uint16_t /*simId2*/, int& count1, int& count2,
                                 int& /*surplus1*/, int& /*surplus2*/, int /*rate1*/, int /*rate2*/) {
  count1 = count2 = 0;
}

// Stand-in: holds the vehicle at the cell's own point when the cell is free.
int CQnoMicroZelle::SetzeFahrzeug(Cell* cell, CCar* car, int /*offset*/, bool, bool /*checkRoom*/, bool) {
  if (!cell || !car) return 2;
  if (cell->m_pCar || !Owns(cell)) {
    car->SetZelle(nullptr);
    car->Destroy();
    delete car;
    return 2;
  }
  cell->m_TimeStamp = kfx_GetTicks();
  cell->m_OldPosition = cell->m_Position;
  cell->m_Position = 0;
  cell->m_CarX = cell->m_CarY = 0.0f;
  cell->m_pCar = car;
  car->SetZelle(cell);
  return 0;
}
