#include "measures/building_object.h"

#include "sim/sim_model_iface.h"

ZOR_IMPLEMENT_TYPE(CBuildingObject, CWorldObj)

QnoResourceManager* CBuildingDataList::m_pResourceManager = nullptr;

void CBuildingDataList::SetResourceManager(QnoResourceManager* manager) { m_pResourceManager = manager; }

void CBuildingDataList::Destroy() { m_pResourceManager = nullptr; }

int CBuildingObject::Create(int resId, int x, int y, CIsoRichtung* direction, ESimLocationHeight) {
  CWorldObj::Create();
  m_ResID = resId;
  m_XPos = x;
  m_YPos = y;
  if (direction) m_Richtung = *direction;
  return 0;
}

int CBuildingObject::GetHeight() const { return m_pSimLocation ? m_pSimLocation->GetHeight() : 0; }

int CBuildingObject::GetXSize() const { return m_Type == OBJ_TRAMSTOP ? 3 : 1; }

int CBuildingObject::GetYSize() const {
  switch (m_Type) {
    case OBJ_BUSSTOP_SIGN4:
    case OBJ_TRAMSTOP:
      return 2;
    case OBJ_BUSSTOP_SHELTER:
      return 3;
    case OBJ_BUSSTOP_SHELTER4:
      return 4;
    default:
      return 1;
  }
}

CBuildingParkingObject::CBuildingParkingObject(CParkManagement* manager, TObjectType kind) : m_pManager(manager) {
  m_Type = kind;
}

int CBuildingParkingObject::Create(int resId, int x, int y, CIsoRichtung* direction, ESimLocationHeight height,
                                   ParkingDataType* parking) {
  TObjectType kind = m_Type;
  CBuildingObject::Create(resId, x, y, direction, height);
  m_Type = kind;
  if (parking) m_Parking = *parking;
  return 0;
}

int CBuildingTrafficObject::Create(TObjectType kind, int resId, int x, int y, CIsoRichtung* direction,
                                   ESimLocationHeight height) {
  CBuildingObject::Create(resId, x, y, direction, height);
  m_Type = kind;
  return 0;
}

// Stand-in for the building catalogue: it holds no rows.
int CBuildingDataList::GetBuildingResIDByListNr(int) { return 0; }
bool CBuildingDataList::IsTGV(int) { return false; }

int CBuildingObject::GetDistrictID() const { return m_pSimLocation ? m_pSimLocation->GetDistrictID() : -1; }
