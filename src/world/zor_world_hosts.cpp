#include "world/zor_world_hosts.h"

#include "measures/building_object.h"
#include "measures/opnv.h"
#include "model/gott_modus.h"
#include "network/str_junction_list.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

int CZorWorldHost::GetLanguage() { return CZorvaWorld::m_Language; }
int CZorWorldHost::AddSound(const char* name, int priority) { return m_world.AddSound(name, priority); }
int CZorWorldHost::FadeOutSound(const char* name) { return m_world.FadeOutSound(name); }
void CZorWorldHost::SetWorldObjectListFilter(CWorldObj* object) { m_world.SetWorldObjectListFilter(object); }
bool CZorWorldHost::GetShowMicroZellen() { return m_world.GetShowMicroZellen(); }

// ---- the map's host ----

CWorldObj* CZorIsoHost::CreateObject(TObjectType kind) { return m_world.CreateObject(kind); }
CWorldObj* CZorIsoHost::CreateObjectEmpty() { return m_world.CreateObjectEmpty(); }
int CZorIsoHost::GetBaseResID(bool first) { return m_world.GetBaseResID(first); }
int CZorIsoHost::RemoveObject(int x, int y, TBaseType layer) { return m_world.RemoveObject(x, y, layer, false); }
CList* CZorIsoHost::GetObjectList() { return m_world.GetObjectList(); }

void CZorIsoHost::TurnMicroSim() {
  if (CStrJunctionList* streets = m_world.GetStreetNet()) {
    streets->TurnMicroSim();
    streets->UpdateAmpeln();
  }
  if (CStrSchJuncList* rails = m_world.GetRailNet()) rails->TurnMicroSim();
}

bool CZorIsoHost::IsExpoMode() {
  CGottModus* god = m_world.GetGottModus();
  return god && god->GetGameModus() == GAME_EXPO;
}

bool CZorIsoHost::GetBuildingFootprint(CWorldObj* object, IsoFootprint& footprint) {
  auto* building = dynamic_cast<CBuildingObject*>(object);
  if (!building) return false;
  footprint.x = building->GetXPos();
  footprint.y = building->GetYPos();
  footprint.width = building->GetXSize();
  footprint.depth = building->GetYSize();
  footprint.richtung = building->GetRichtung();
  footprint.type = building->GetType();
  return true;
}

int CZorIsoHost::GetLocationHeight(CWorldObj* object) {
  auto* building = dynamic_cast<CBuildingObject*>(object);
  return building ? building->GetHeight() : 0;
}

int CZorIsoHost::GetDistrictAt(int x, int y) {
  CUserInt* ui = m_world.GetUserInt();
  CBuildingObject* building = ui ? ui->GetBuildingAt(x, y, 0) : nullptr;
  return building ? building->GetDistrictID() : -1;
}

void CZorIsoHost::GetMarkedBuildings(std::vector<IsoFootprint>& out) {
  CUserInt* ui = m_world.GetUserInt();
  CBuildingList* list = ui ? ui->selObj.markedBuildings : nullptr;
  if (!list) return;
  list->SetupBuildingCount(0);
  IsoFootprint footprint;
  while (CBuildingObject* building = list->GetNextBuilding())
    if (GetBuildingFootprint(building, footprint)) out.push_back(footprint);
}

int CZorIsoHost::GetCatalogueResID(int row) { return CBuildingDataList::GetBuildingResIDByListNr(row); }
bool CZorIsoHost::IsCatalogueGroup(int row) { return CBuildingDataList::IsTGV(row); }

selObjType* CZorIsoHost::GetSelection() {
  CUserInt* ui = m_world.GetUserInt();
  return ui ? &ui->selObj : nullptr;
}

int CZorIsoHost::GetFilter(int n) {
  CUserInt* ui = m_world.GetUserInt();
  return ui ? ui->GetFilter(n) : 0;
}

bool CZorIsoHost::IsDebugInfo() { return CUserInt::m_ActivateDebugInfo != 0; }

unsigned char CZorIsoHost::GetTileMask(int x, int y) {
  CUserInt* ui = m_world.GetUserInt();
  return ui ? ui->GetTileMask(x, y) : 0;
}

unsigned char CZorIsoHost::GetTileMask2(int x, int y) {
  CUserInt* ui = m_world.GetUserInt();
  return ui ? ui->GetTileMask2(x, y) : 0;
}

bool CZorIsoHost::GetBuildSurfaceStatus() {
  CUserInt* ui = m_world.GetUserInt();
  return ui && ui->GetBuildSurfaceStatus();
}

void CZorIsoHost::GetMousePosition(int& x, int& y) {
  x = y = 0;
  if (CUserInt* ui = m_world.GetUserInt()) ui->GetMousePosition(x, y);
}

void CZorIsoHost::SetMousePosition(int x, int y) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->SetMousePosition(x, y);
}

void CZorIsoHost::ResetCursor() {
  if (CUserInt* ui = m_world.GetUserInt()) ui->ResetCursor();
}

void CZorIsoHost::BackupCursor() {
  if (CUserInt* ui = m_world.GetUserInt()) ui->BackupCursor();
}

void CZorIsoHost::SetCursorID(int id, int state) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->SetCursorID(id, state);
}

void CZorIsoHost::RestoreCursor() {
  if (CUserInt* ui = m_world.GetUserInt()) ui->RestoreCursor();
}

void CZorIsoHost::RenderOpnvNet(QnoDisplay* display) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->RenderOpnvNet(display);
}

bool CZorIsoHost::GetLineColor(COpnvLine* line, unsigned char& r, unsigned char& g, unsigned char& b) {
  if (!line) return false;
  line->GetColor(r, g, b);
  return true;
}

void CZorIsoHost::RenderOpnvLineStreet(QnoDisplay* display, COpnvLine* line, unsigned short colour) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->RenderOpnvLineStreet(display, line, colour);
}

void CZorIsoHost::RenderOpnvLineHst(QnoDisplay* display, COpnvLine* line) {
  if (CUserInt* ui = m_world.GetUserInt()) ui->RenderOpnvLineHst(display, line);
}

void CZorIsoHost::UpdateViewFilter(int x, int y) { CViewFilter::Update(x, y); }
void CZorIsoHost::UpdateViewRect(const IsoViewRectType& rect) { CViewFilter::UpdateViewRect(rect); }
