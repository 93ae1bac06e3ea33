#include "world/zor_growth_context.h"

#include "framework/zor_stand_in.h"
#include "network/rail_junction_list.h"
#include "sim/sim_city_model.h"
#include "sim/sim_welt.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

CIsoWelt* CZorGrowthContext::Map() { return m_world.GetIsoWelt(); }

CStrJunctionList* CZorGrowthContext::StreetNet() { return m_world.GetStreetNet(); }

CStrJunctionList* CZorGrowthContext::RailNet() { return m_world.GetRailNet(); }

void CZorGrowthContext::CityJobs(int* jobs, int* workers) {
  const CSimCityModell* city = m_world.GetSimWelt() ? m_world.GetSimWelt()->pCityModell() : nullptr;
  *jobs = city ? static_cast<int>(city->NrOfJobs()) : 0;
  *workers = city ? static_cast<int>(city->NrOfWorkers()) : 0;
}

void CZorGrowthContext::GrowthTargetReached() {
  // Stands in for the adviser's standard message 21/1 of the message system.
  ZOR_STAND_IN("CZorGrowthContext");
  m_world.ActivateWindow(kGrowthWindow);
  m_world.SetPause(true);
}

bool CZorGrowthContext::StaticCity() { return CUserInt::m_StaticCity; }
