#pragma once
// What the map knows of a vehicle: a vehicle standing at a cell edge is
// drawn a second time, at the next cell, from one of that cell's four
// second-drawing slots.
#include "worldbase/zor_world_obj.h"

class QnoDisplay;
class COpnvLine;

class CIsoVehicle : public CWorldObj {
 public:
  // The cell and slot (0..3) where the vehicle is drawn a second time.
  virtual void SetIsoXYSecond(int x, int y, int slot) {
    m_SecondX = x;
    m_SecondY = y;
    m_SecondSlot = slot;
  }
  virtual void ResetIsoXYSecond() { m_SecondX = m_SecondY = m_SecondSlot = -1; }
  // Draws the vehicle at its second place; (x, y) is the cell's anchor point.
  virtual void RenderSecondPosition(QnoDisplay*, int, int) {}
  int GetSecondX() const { return m_SecondX; }
  int GetSecondY() const { return m_SecondY; }
  int GetSecondSlot() const { return m_SecondSlot; }

  // The micro simulation clears the active word of a vehicle to be removed.
  bool IsVehicleActive() const { return m_VehicleActive != 0; }
  void SetVehicleActive(bool on) { m_VehicleActive = on ? 1 : 0; }
  // The vehicle's cell; false when it has none.
  virtual bool GetIsoXYPos(int& x, int& y) const {
    x = y = -1;
    return false;
  }
  // The line a public-transport vehicle serves; null for any other.
  virtual COpnvLine* GetOpnvLine() const { return nullptr; }

 protected:
  int m_SecondX = -1;
  int m_SecondY = -1;
  int m_SecondSlot = -1;
  int m_VehicleActive = 1;
};
