#pragma once
// The factory of the demand model's locations (the buildings as the model
// sees them). Stand-in: only what the world and its object factory call.
#include <vector>

#include "worldbase/sim_location_types.h"
#include "worldbase/zor_types.h"

class CZorvaWorld;
class CSimWelt;
class CSimLocation;
class CWorldObj;
struct PotentialType;

class CSimLocationFactory {
 public:
  virtual ~CSimLocationFactory();
  virtual int Create(CZorvaWorld* world, CSimWelt* simulation);
  virtual int Destroy();

  // Makes a location for a placed building and links the two; null when
  // the factory is not created.
  virtual CSimLocation* CreateNewLocation(const int& resId, const int& locationId, const TObjectType& kind,
                                          const CIsoRichtung& direction, const int& x, const int& y,
                                          const SimLocationSizeType& size, const ESimLocationHeight& height,
                                          CWorldObj* building, const short& value, PotentialType* potential);
  // Unlinks the location from its building and deletes it.
  virtual void RemoveLocation(CSimLocation* location);
  int GetLocationCount() const { return static_cast<int>(m_locations.size()); }

 protected:
  CZorvaWorld* m_pWorld = nullptr;
  CSimWelt* m_pSimWelt = nullptr;
  std::vector<CSimLocation*> m_locations;
};
