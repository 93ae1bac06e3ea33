#include "world/zor_expo_host.h"

#include "gui/screen_window.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "measures/opnv.h"
#include "ui/user_int.h"
#include "world/zor_world.h"

void CZorExpoHost::OpenWindow(int id) {
  if (CUserInt::topWindow) CUserInt::topWindow->ActivateWindow(id, static_cast<EOverType>(1));
}

void CZorExpoHost::CloseWindow(int id) {
  if (CUserInt::topWindow) CUserInt::topWindow->DeActivateWindow(id, static_cast<EOverType>(0));
}

void CZorExpoHost::BindWindow(int id, CWorldObj* object) {
  if (CUserInt::topWindow) CUserInt::topWindow->SetVarWorldObject(id, -2, -2, object, nullptr);
}

bool CZorExpoHost::English() { return CZorvaWorld::m_Language == 1; }

CSecondLayerObject* CZorExpoHost::CreateStop(int type, int resId, int direction, int x, int y) {
  CWorldObj* made = m_world.CreateObject(static_cast<TObjectType>(type), resId, CIsoRichtung(direction), x, y,
                                         static_cast<ESimLocationHeight>(0), nullptr, 0, nullptr, 0, -1);
  return dynamic_cast<CSecondLayerObject*>(made);
}

bool CZorExpoHost::BuildStreet(int x1, int y1, int x2, int y2, int type) {
  CUserInt* ui = m_world.GetUserInt();
  return !ui || ui->BuildStreet(x1, y1, x2, y2, static_cast<TStrassenType>(type));
}

CWorldObj* CZorExpoHost::StreetPieceAt(int x, int y) {
  CIsoWelt* map = m_world.GetIsoWelt();
  CIsoInfo* cell = map ? map->GetIsoInfo(x, y) : nullptr;
  if (!cell || cell->GetType(ISO_LAYER_GROUND) != OBJ_STREET_PIECE) return nullptr;
  return map->GetIsoTileObject(x, y, ISO_LAYER_GROUND);
}

COpnvLine* CZorExpoHost::CreateBusLine() {
  COpnv* opnv = m_world.GetOpnv();
  return opnv ? opnv->CreateNewLine(NET_BUS) : nullptr;
}

void CZorExpoHost::SetBlocked(int state) { m_world.SetBlocked(state); }
