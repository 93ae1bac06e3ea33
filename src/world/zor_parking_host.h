#pragma once
// The world's answers to the car parks: crossings by id, guidance signs
// made and taken away through the object factory, a car park's display
// graphic put on the map, and the highest price the windows offer.
#include "measures/park_management.h"

class CZorvaWorld;

class CZorParkingHost : public CParkingHost {
 public:
  explicit CZorParkingHost(CZorvaWorld* world) : m_pWorld(world) {}
  CStrJunction* JunctionByID(unsigned short id) override;
  CSecondLayerObject* CreateSign(int type, int resId, int x, int y, int direction) override;
  bool HasStreet(CStrStrasse* street) override;
  void RemoveSign(CSecondLayerObject* sign) override;
  void ChangeGraphic(CBuildingObject* building, int resId) override;
  float PriceMax() override;

 private:
  CZorvaWorld* m_pWorld;
};
