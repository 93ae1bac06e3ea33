#include "world/zor_opnv_host.h"

#include "gui/gui_host.h"
#include "gui/screen_window.h"
#include "measures/building_object.h"
#include "measures/opnv_line.h"
#include "model/data_exchange.h"
#include "model/gott_modus.h"
#include "model/message.h"
#include "sim/sim_city_model.h"
#include "sim/sim_welt.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

double CZorOpnvHost::GetExchangeValue(const char* name) {
  CDataExchange* exchange = m_world.GetDataExchange();
  return exchange ? exchange->GetVarValue(name) : 0.0;
}

int CZorOpnvHost::ActivateMessage(int kind, int number, int a, int b, int c, int x, int y, int d, int xs, int ys) {
  CMessage* message = m_world.GetMessage();
  if (!message) return 1;
  return message->ActivateMessage(kind, number, static_cast<float>(a), static_cast<float>(b), static_cast<float>(c), x,
                                  y, d, xs, ys);
}

bool CZorOpnvHost::CheckBadService() {
  CDataExchange* exchange = m_world.GetDataExchange();
  return exchange && exchange->Check_M_G_OPNV_TOTAL_BADSERVICE();
}

bool CZorOpnvHost::CheckTooFewLines() {
  CDataExchange* exchange = m_world.GetDataExchange();
  return exchange && exchange->Check_M_G_OPNV_TOTAL_TOOLESSLINES();
}

double CZorOpnvHost::StreckenlaengeBus() {
  CSimWelt* sim = m_world.GetSimWelt();
  return sim && sim->pCityModell() ? sim->pCityModell()->StreckenlaengeBus() : 0.0;
}

int CZorOpnvHost::NrOfBusTrips() {
  CSimWelt* sim = m_world.GetSimWelt();
  return sim && sim->pCityModell() ? sim->pCityModell()->NrOfBusTrips() : 0;
}

void CZorOpnvHost::SetVarWorldObject(int window, int dialog, int item, CWorldObj* object) {
  if (CUserInt::topWindow) CUserInt::topWindow->SetVarWorldObject(window, dialog, item, object, nullptr);
}

void CZorOpnvHost::ForgetLine(COpnvLine* line) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->ForgetObject(line);
}

void CZorOpnvHost::SetZorvaList(int window, int item, CZorvaList* list, int settings) {
  if (CUserInt::topWindow) CUserInt::topWindow->SetZorvaList(window, item, list, settings);
}

void CZorOpnvHost::ActivateWindow(int window) { m_world.ActivateWindow(window); }

void CZorOpnvHost::SetSelectedLine(COpnvLine* line, int number) { CGuiHost::Get()->SetSelectedLine(line, number); }

COpnvLine* CZorOpnvHost::GetSelectedLine() { return CUserInt::selObj.editedLine; }

CBuildingObject* CZorOpnvHost::GetSelectedHst() { return dynamic_cast<CBuildingObject*>(CUserInt::GetSelectedStop()); }

void CZorOpnvHost::ClearSelectedHst() { CUserInt::ClearSelectedStop(); }

void CZorOpnvHost::RefreshWindowLineChange() {
  if (CUserInt* ui = m_world.GetUserInt()) ui->RefreshWindowLineChange();
}


bool CZorOpnvHost::ExpoLineGood() {
  CGottModus* god = m_world.GetGottModus();
  return god && god->GetGameModus() == GAME_EXPO && god->Expo_Bus_LineGood();
}
