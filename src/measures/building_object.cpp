#include "measures/building_object.h"

#include "sim/sim_model_iface.h"

ZOR_IMPLEMENT_TYPE(CBuildingObject, CWorldObj)

QnoResourceManager* CBuildingDataList::m_pResourceManager = nullptr;

void CBuildingDataList::SetResourceManager(QnoResourceManager* manager) { m_pResourceManager = manager; }

void CBuildingDataList::Destroy() {
  m_pResourceManager = nullptr;
  m_RowCount = 0;
}

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

PotentialType CBuildingDataList::m_Rows[CBuildingDataList::kMaxRows];
int CBuildingDataList::m_RowCount = 0;

int CBuildingDataList::AddBuildingPotential(const PotentialType* potential) {
  if (!potential || m_RowCount >= kMaxRows) return 1;
  PotentialType& row = m_Rows[m_RowCount];
  row = *potential;
  // The catalogue counts in its own units: two and a half of the table's,
  // the fifth field (places of the kind that fills least) four fifths of that.
  for (int f = 0; f < PotentialType::kFields; ++f) {
    const double scale = f == 4 ? 2.5 * 0.8 : 2.5;
    row.capacity[f] = static_cast<uint16_t>(static_cast<int>(row.capacity[f] * scale));
  }
  ++m_RowCount;
  return 0;
}

int CBuildingDataList::MakeWorkFromData(const PotentialType* p) { return p->capacity[1] + p->capacity[2] + p->capacity[3]; }

int CBuildingDataList::MakeLeisureFromData(const PotentialType* p) { return p->capacity[0] / 12 + p->capacity[5]; }

const PotentialType* CBuildingDataList::GetPotentialByNr(int n) {
  return n >= 0 && n < m_RowCount ? &m_Rows[n] : nullptr;
}

int CBuildingDataList::GetBuildingResIDByListNr(int nr) {
  const PotentialType* row = GetPotentialByNr(nr);
  return row ? row->resId : 0;
}

bool CBuildingDataList::IsTGV(int nr) {
  const PotentialType* row = GetPotentialByNr(nr);
  return row && row->graphic == 1;
}

int CBuildingObject::GetDistrictID() const { return m_pSimLocation ? m_pSimLocation->GetDistrictID() : -1; }
