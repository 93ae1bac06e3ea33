// The world's side of the placing and removal tools: the factory they place
// and remove through, and the answers of the removal questions.
#include "iso/iso_object.h"
#include "ui/user_int.h"
#include "world/zor_world.h"
#include "world/zor_world_hosts.h"

CWorldObj* CZorUiHost::CreateObject(int kind, int resId, int direction, int x, int y, int height) {
  return m_world.CreateObject(static_cast<TObjectType>(kind), resId, CIsoRichtung(direction), x, y,
                              static_cast<ESimLocationHeight>(height), nullptr, 0, nullptr, 0, -1);
}

int CZorUiHost::RemoveObject(int x, int y, int layer) {
  return m_world.RemoveObject(x, y, layer == 1 ? ISO_LAYER_UPPER : ISO_LAYER_GROUND, true);
}

double CZorGuiHost::GetPendingRemovalCost() { return CUserInt::selObj.removePrice; }

void CZorGuiHost::ResetSelectedBuildingList() {
  if (CUserInt* ui = m_world.GetUserInt()) ui->ResetSelectedBuildingList();
  CUserInt::selObj.removeX = CUserInt::selObj.removeY = -1;
}

void CZorGuiHost::ClearRemovalWord() { CUserInt::selObj.removeStop = 0; }

void CZorGuiHost::CheckForRemoveObjectSelected() {
  if (CUserInt* ui = m_world.GetUserInt()) ui->CheckForRemoveObjectSelected();
}

void CZorGuiHost::RemoveBuildingSelectedBuildingList() {
  if (CUserInt* ui = m_world.GetUserInt()) ui->RemoveBuildingSelectedBuildingList();
}

int CZorGuiHost::RemoveSelectedObject() {
  CUserInt* ui = m_world.GetUserInt();
  return ui ? ui->RemoveSelectedObject() : 1;
}
