#include "world/zor_message_host.h"

#include "framework/zor_stand_in.h"
#include "iso/iso_welt.h"
#include "measures/opnv.h"
#include "model/gott_modus.h"
#include "model/statistik.h"
#include "network/str_junction_list.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

int CZorMessageHost::GetGameModus() {
  CGottModus* god = m_world.GetGottModus();
  return god ? god->GetGameModus() : GAME_NORMAL;
}

// A scenario of kind 0 asks to raise one gauge; its task is told by that
// gauge's entry, as the task window tells it at the start. Other kinds have
// an entry of their own.
int CZorMessageHost::GetScenarioTask() {
  int kind = 0, indicator = 0;
  if (CGottModus* god = m_world.GetGottModus()) god->GetSzenario(&kind, &indicator, nullptr);
  return kind == 0 ? indicator : kind;
}

CDataExchange* CZorMessageHost::GetDataExchange() { return m_world.GetDataExchange(); }

COpnvLine* CZorMessageHost::GetLineByID(int id) {
  COpnv* opnv = m_world.GetOpnv();
  return opnv ? opnv->GetLineByID(id) : nullptr;
}

CBuildingObject* CZorMessageHost::GetHstByID(int id) {
  COpnv* opnv = m_world.GetOpnv();
  return opnv ? opnv->GetHstByID(id) : nullptr;
}

int CZorMessageHost::GetStreetCount() {
  CStrJunctionList* net = m_world.GetStreetNet();
  return net ? static_cast<int>(net->GetNumber()) : -1;
}

const char* CZorMessageHost::GetTextDirectory() { return m_world.GetEnvValue("WADPATH", ""); }

void CZorMessageHost::ActivateEventWindow() {
  if (CUserInt* ui = m_world.GetUserInt()) ui->ActivateEventWindow();
}

void CZorMessageHost::SetMapMark(int x, int y, int xd, int yd, uint32_t time) {
  selObjType& sel = CUserInt::selObj;
  sel.msgX = x;
  sel.msgY = y;
  sel.msgW = xd;
  sel.msgH = yd;
  sel.msgBlink = time;
}

bool CZorMessageHost::GetMapMarkTime(uint32_t* time) {
  const selObjType& sel = CUserInt::selObj;
  if (sel.msgX == -1 && sel.msgY == -1) return false;
  *time = sel.msgBlink;
  return true;
}

void CZorMessageHost::ClearMapMark() { CUserInt::ClearMessageMark(); }

void CZorMessageHost::CenterMap(int x, int y) {
  if (CIsoWelt* map = m_world.GetIsoWelt()) map->SetIsoCenter(x, y);
}

void CZorMessageHost::SelectLine(COpnvLine* line, uint16_t) { CUserInt::selObj.selectedLine = line; }

void CZorMessageHost::StatistikChangeLanguage(int language) {
  if (CStatistik* statistik = m_world.GetStatistik()) statistik->ChangeLanguage(language);
}

void CZorMessageHost::StoreLanguage(int language) { m_world.SetEnv("LANGUAGE", language == 1 ? 1 : 0); }
