#include "sim/sim_location_factory.h"

#include <algorithm>
#include <stdexcept>

#include "sim/sim_model_iface.h"
#include "worldbase/zor_world_obj.h"

namespace {

// Stand-in for the city model's locations: as far as the placed buildings
// need one, a kind, a place, a size and a height class.
class CPlacedLocation : public CSimLocation {
 public:
  CPlacedLocation(TObjectType kind, int x, int y, SimLocationSizeType size, int height)
      : m_kind(kind), m_x(x), m_y(y), m_size(size), m_height(height) {}
  short NearestCrossing() const override { return 0; }
  bool GetNearestHst(short&, int&) const override { return false; }
  int LocationDistance(const CSimLocation*) const override { return 0; }
  CSimDistrict* pDistrict() const override { throw std::logic_error("location without district"); }
  int GetHeight() const override { return m_height; }

  TObjectType m_kind;
  int m_x, m_y;
  SimLocationSizeType m_size;
  int m_height;
  CWorldObj* m_building = nullptr;
};

}  // namespace

CSimLocationFactory::~CSimLocationFactory() { Destroy(); }

int CSimLocationFactory::Create(CZorvaWorld* world, CSimWelt* simulation) {
  m_pWorld = world;
  m_pSimWelt = simulation;
  return 0;
}

int CSimLocationFactory::Destroy() {
  // The world empties its object list before this, so no building is
  // left to unlink.
  for (CSimLocation* l : m_locations) delete l;
  m_locations.clear();
  m_pWorld = nullptr;
  m_pSimWelt = nullptr;
  return 0;
}

CSimLocation* CSimLocationFactory::CreateNewLocation(const int&, const int&, const TObjectType& kind,
                                                     const CIsoRichtung&, const int& x, const int& y,
                                                     const SimLocationSizeType& size, const ESimLocationHeight& height,
                                                     CWorldObj* building, const short&, PotentialType*) {
  if (!m_pWorld) return nullptr;
  auto* location = new CPlacedLocation(kind, x, y, size, height);
  // Only objects that keep their location are linked back.
  if (building) building->SetSimLocation(location);
  if (building && building->GetSimLocation() == location) location->m_building = building;
  m_locations.push_back(location);
  return location;
}

void CSimLocationFactory::RemoveLocation(CSimLocation* location) {
  auto it = std::find(m_locations.begin(), m_locations.end(), location);
  if (it == m_locations.end()) return;
  auto* placed = static_cast<CPlacedLocation*>(location);
  if (placed->m_building && placed->m_building->GetSimLocation() == location)
    placed->m_building->SetSimLocation(nullptr);
  m_locations.erase(it);
  delete location;
}
