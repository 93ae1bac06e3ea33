#include "world/zor_growth_context.h"

#include "measures/advice_centre.h"
#include "model/message.h"
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
  if (CMessage* message = m_world.GetMessage()) message->SetStandardMessage(21, 1);
  m_world.ActivateWindow(kGrowthWindow);
  m_world.SetPause(true);
}

bool CZorGrowthContext::StaticCity() { return CUserInt::m_StaticCity; }
bool CZorGrowthContext::MakeAgents() { return CUserInt::m_MakeAgents; }

bool CZorGrowthContext::NetHold() { return CUserInt::selObj.cyberFreeze != 0; }

CMessage* CZorGrowthContext::Message() { return m_world.GetMessage(); }

CGottModus* CZorGrowthContext::GottModus() { return m_world.GetGottModus(); }

void CZorGrowthContext::ActivateWindow(int window) { m_world.ActivateWindow(window); }

void CZorGrowthContext::DeActivateWindow(int window) { m_world.DeActivateWindow(window); }

void CZorGrowthContext::SetPause() { m_world.SetPause(true); }

CStatistik* CZorGrowthContext::Statistik() { return m_world.GetStatistik(); }

CIndikatoren* CZorGrowthContext::Indikatoren() { return m_world.GetIndikatoren(); }

void CZorGrowthContext::SetBlocked(int state) { m_world.SetBlocked(state); }

bool CZorGrowthContext::DebugInfo() { return CUserInt::m_ActivateDebugInfo != 0; }

void CZorGrowthContext::SetAdviceCentreQuote(float percent) {
  if (CZorviZentrale* centre = m_world.GetZorviZentrale()) centre->SetUserQuote(percent);
}
