#include "sim/sim_location_factory.h"

int CSimLocationFactory::Create(CZorvaWorld* world, CSimWelt* simulation) {
  m_pWorld = world;
  m_pSimWelt = simulation;
  return 0;
}

int CSimLocationFactory::Destroy() {
  m_pWorld = nullptr;
  m_pSimWelt = nullptr;
  return 0;
}
