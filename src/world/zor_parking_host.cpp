#include "world/zor_parking_host.h"

#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "model/data_exchange.h"
#include "network/str_junction_list.h"
#include "network/str_net_lengths.h"
#include "world/zor_world.h"

CStrJunction* CZorParkingHost::JunctionByID(unsigned short id) {
  CStrJunctionList* net = m_pWorld->GetStreetNet();
  return net && id != 0 ? net->GetJunctionByID(id) : nullptr;
}

CSecondLayerObject* CZorParkingHost::CreateSign(int type, int resId, int x, int y, int direction) {
  CWorldObj* made = m_pWorld->CreateObject(static_cast<TObjectType>(type), resId, CIsoRichtung(direction), x, y,
                                           SIM_HEIGHT_ANY, nullptr, 0, nullptr, 0, -1);
  auto* sign = dynamic_cast<CSecondLayerObject*>(made);
  if (sign && m_pWorld->GetParkManagement()) m_pWorld->GetParkManagement()->AddParkDisplay(sign);
  return sign;
}

bool CZorParkingHost::HasStreet(CStrStrasse* street) {
  bool found = false;
  if (CStrJunctionList* net = m_pWorld->GetStreetNet())
    StrForEachStreet(net, [&](CStrStrasse* s) { found = found || s == street; });
  return found;
}

void CZorParkingHost::RemoveSign(CSecondLayerObject* sign) {
  if (!sign) return;
  if (m_pWorld->GetParkManagement()) m_pWorld->GetParkManagement()->RemoveParkDisplay(sign);
  m_pWorld->RemoveObject(sign, 1, false);
}

void CZorParkingHost::ChangeGraphic(CBuildingObject* building, int resId) {
  CIsoWelt* iso = m_pWorld->GetIsoWelt();
  if (!iso || !building) return;
  const int x = building->GetXPos(), y = building->GetYPos();
  iso->DeleteIsoGroupAt(x, y, ISO_LAYER_GROUND, false);
  iso->SetIsoGroupTurnedAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND, resId,
                           building, CIsoRichtung(building->GetRichtung()));
  iso->SetFilterGroup(x, y, ISO_LAYER_GROUND);
}

float CZorParkingHost::PriceMax() {
  CDataExchange* exchange = m_pWorld->GetDataExchange();
  if (!exchange) return 2.0f;
  const double max = exchange->DoVar(EX_MAX, "W.E9", 0.0);
  return max > 0.0 ? static_cast<float>(0.5 * max) : 2.0f;
}
