#pragma once
// A vehicle of the micro simulation. The map draws it a second time at a
// cell edge through its second-drawing place.
#include "iso/iso_vehicle.h"

struct BinaryMicroSimObject;

class CCar : public CIsoVehicle {
 public:
  using CWorldObj::Render;
  // The cell the vehicle stands in; null while it stands in none.
  virtual void SetZelle(BinaryMicroSimObject* cell) { m_pZelle = cell; }
  BinaryMicroSimObject* GetZelle() const { return m_pZelle; }
  // Draws the vehicle with sprite direction dir (0..63) at screen point (x, y).
  // Stand-in: draws nothing until the vehicles have their sprites.
  virtual void Render(QnoDisplay* /*display*/, int /*dir*/, int /*x*/, int /*y*/) {}

 protected:
  BinaryMicroSimObject* m_pZelle = nullptr;
};
