#include "world/zor_measure_host.h"

#include "gui/screen_window.h"
#include "model/data_exchange.h"
#include "model/gott_modus.h"
#include "model/message.h"
#include "sim/sim_city_model.h"
#include "sim/sim_welt.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

double CZorMeasureHost::GetExchangeValue(const char* name) {
  CDataExchange* exchange = m_world.GetDataExchange();
  return exchange ? exchange->GetVarValue(name) : 0.0;
}

double CZorMeasureHost::GetExchangeMax(const char* name) {
  CDataExchange* exchange = m_world.GetDataExchange();
  return exchange ? exchange->DoVar(EX_MAX, name, 0.0) : 0.0;
}

int CZorMeasureHost::GetPeople() {
  CDataExchange* exchange = m_world.GetDataExchange();
  return exchange ? exchange->GetPeople() : 0;
}

CSimCityModell* CZorMeasureHost::GetCityModel() {
  CSimWelt* sim = m_world.GetSimWelt();
  return sim ? sim->pCityModell() : nullptr;
}

bool CZorMeasureHost::IsLoading() { return CZorvaWorld::g_isLoad; }

bool CZorMeasureHost::GetDistrictResidents(int (&residents)[16][16]) {
  CSimCityModell* city = GetCityModel();
  if (!city) return false;
  for (int x = 0; x < CSimCityModell::kGrid; ++x)
    for (int y = 0; y < CSimCityModell::kGrid; ++y) residents[x][y] = city->pDistrictAt(x, y)->NrOfResidents();
  return true;
}

bool CZorMeasureHost::IsGottWertActive(int n) {
  CGottModus* gott = m_world.GetGottModus();
  return gott && gott->IsGottWertActive(n);
}

void CZorMeasureHost::SetHinweisWindow(int window, int state) {
  if (!CUserInt::topWindow) return;
  if (CScreenWindow* w = CUserInt::topWindow->GetWindowByID(window, false)) w->SetHinweisWindow(state != 0);
}

void CZorMeasureHost::ActivateMessage(int group, int entry, int x, int y, int xs, int ys) {
  if (CMessage* message = m_world.GetMessage())
    message->ActivateMessage(group, entry, -1.0f, -1.0f, -1.0f, x, y, -1, xs, ys);
}
