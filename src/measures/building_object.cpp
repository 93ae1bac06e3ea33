#include "measures/building_object.h"

#include <algorithm>
#include <cstring>

#include "framework/qno_log.h"
#include "framework/zor_record.h"
#include "iso/iso_object.h"
#include "iso/iso_welt.h"
#include "measures/opnv_line.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "sim/sim_model_iface.h"
#include "worldbase/zor_world_host.h"

ZOR_IMPLEMENT_TYPE(CBuildingObject, CWorldObj)

void BuildingDataType::Write(ZorRecordWriter& out) const {
  for (int32_t v : {richtung, x, y, reserved1, reserved2, objectType, resId, height}) out.I32(v);
}

bool BuildingDataType::Read(ZorRecordReader& in) {
  BuildingDataType d;
  for (int32_t* v : {&d.richtung, &d.x, &d.y, &d.reserved1, &d.reserved2, &d.objectType, &d.resId, &d.height})
    *v = in.I32();
  if (!in.Ok()) return false;
  *this = d;
  return true;
}

CBuildingObject::~CBuildingObject() {
  if (m_pSimLocation && m_pSimLocation->GetBuilding() == this) m_pSimLocation->SetBuilding(nullptr);
}

int CBuildingObject::Create(int resId, int x, int y, CIsoRichtung* direction, ESimLocationHeight height) {
  m_Data.objectType = m_Type;
  CWorldObj::Create();
  m_Data.richtung = direction ? direction->GetValue() : 0;
  m_Data.x = x;
  m_Data.y = y;
  m_Data.resId = resId;
  m_Data.height = height;
  m_Type = OBJ_TRAFFIC_BUILDING;
  return 0;
}

namespace {

TObjectType CatalogueType(int resId) {
  const PotentialType* entry = CBuildingDataList::GetPotential(resId);
  return entry ? static_cast<TObjectType>(entry->objectType) : OBJ_NONE;
}

}  // namespace

int CBuildingSpace::Create(int resId, int x, int y, CIsoRichtung* direction, ESimLocationHeight height) {
  CBuildingObject::Create(resId, x, y, direction, height);
  m_Type = CatalogueType(resId);
  return 0;
}

int CBuildingRCIObject::Create(int resId, int x, int y, CIsoRichtung* direction, ESimLocationHeight height) {
  CBuildingObject::Create(resId, x, y, direction, height);
  m_Type = CatalogueType(resId);
  return 0;
}

int CBuildingConcreteObject::Create(int resId, int x, int y, CIsoRichtung* direction, ESimLocationHeight height) {
  CBuildingObject::Create(resId, x, y, direction, height);
  m_Type = OBJ_FIXED_BUILDING;
  return 0;
}

int CBuildingObject::GetHeight() const { return m_pSimLocation ? m_pSimLocation->GetHeight() : 0; }

int CBuildingObject::GetDistrictID() const { return m_pSimLocation ? m_pSimLocation->GetDistrictID() : -1; }

int CBuildingObject::GetXSize() const {
  if (m_pSimLocation) return m_pSimLocation->GetPotential()->size.width;
  return m_Type == OBJ_TRAMSTOP ? 3 : 1;
}

int CBuildingObject::GetYSize() const {
  if (m_pSimLocation) return m_pSimLocation->GetPotential()->size.depth;
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

int CBuildingObject::GetXSizeRichtung() const {
  return m_Data.richtung == 1 || m_Data.richtung == 3 ? GetYSize() : GetXSize();
}

int CBuildingObject::GetYSizeRichtung() const {
  return m_Data.richtung == 1 || m_Data.richtung == 3 ? GetXSize() : GetYSize();
}

void CBuildingObject::DecrementListNumber() {
  --m_ListNumber;
  if (m_ListNumber < 0) QNO_ERROR(QNO_SEV_ERROR, "inListNumber<0");
}

double CBuildingObject::CarReach() const {
  CIsoWelt* map = CIsoObjGroup::m_pIsoWelt;
  if (!map) return 0.0;
  const int x0 = std::max(0, GetXPos() - 5), x1 = std::min(127, GetXPos() + 5);
  const int y0 = std::max(0, GetYPos() - 5), y1 = std::min(127, GetYPos() + 5);
  for (int x = x0; x <= x1; ++x)
    for (int y = y0; y <= y1; ++y) {
      if (!map->GetIsoInfo(x, y)) {
        QNO_ERROR(QNO_SEV_ERROR, "Allgemeiner Fehler");
        continue;
      }
      CWorldObj* base = map->GetIsoTileObject(x, y, ISO_LAYER_GROUND);
      if (!base || base->GetType() != OBJ_STREET_PIECE) continue;
      auto* piece = dynamic_cast<CStreetObj*>(base);
      CStrStrasse* street = piece ? piece->GetStreetList() : nullptr;
      if (!street) continue;
      double reach = street->GetStreetType() == 4 ? 1.0 : 0.75;
      if (street->GetCapacity() != 0)
        reach *= 1.0 - static_cast<double>(street->GetAuslastung24()) / street->GetCapacity();
      reach *= street->GetVelocity() / 13.9;
      return std::clamp(reach, 0.0, 1.0);
    }
  return 0.0;
}

int CBuildingObject::GetVarData(const char* name, double* value) {
  if (!name || !value || std::strncmp(name, "BUILDING.", 9) != 0) return 1;
  const char* key = name + 9;
  const CSimLocation* l = m_pSimLocation;
  // The use quotes are shown in percent, scaled to the model's scale.
  auto used = [l](double (CSimLocation::*quote)() const) {
    return l ? (l->*quote)() * static_cast<double>(100.0f) * static_cast<double>(1.4f) : 0.0;
  };
  struct Count {
    const char* key;
    int (CSimLocation::*count)() const;
  };
  static const Count counts[] = {{"RES", &CSimLocation::NrOfHomes},        {"WORK", &CSimLocation::NrOfJobs},
                                 {"SHOPPING", &CSimLocation::NrOfShops},   {"LEISURE", &CSimLocation::NrOfLeisurePoints},
                                 {"EDUCATION", &CSimLocation::NrOfEducation}, {"PARKING", &CSimLocation::NrOfParking}};
  struct Quote {
    const char* key;
    double (CSimLocation::*quote)() const;
  };
  static const Quote quotes[] = {{"RES.USED", &CSimLocation::QuoteHomesUsed},
                                 {"WORK.USED", &CSimLocation::QuoteWorkUsed},
                                 {"SHOPPING.USED", &CSimLocation::NrOfShoppingUsed},
                                 {"LEISURE.USED", &CSimLocation::QuoteLeisureUsed},
                                 {"EDUCATION.USED", &CSimLocation::QuoteSchoolsUsed},
                                 {"PARKING.USED", &CSimLocation::QuoteParkingUsed}};
  if (!std::strcmp(key, "XPOS")) {
    *value = GetXPos();
  } else if (!std::strcmp(key, "YPOS")) {
    *value = GetYPos();
  } else if (!std::strcmp(key, "RESID")) {
    *value = m_Data.resId;
  } else if (!std::strcmp(key, "RICHTUNG")) {
    *value = m_Data.richtung;
  } else if (!std::strcmp(key, "TYPE")) {
    *value = m_Type;
  } else if (!std::strcmp(key, "HEIGHT")) {
    *value = m_Data.height;
  } else if (!std::strcmp(key, "WOHNQUALITAET")) {
    *value = CWorldHost::Get()->GetWohnqualitaetMapXY(GetXPos(), GetYPos()) / 256.0;
  } else if (!std::strcmp(key, "PKWREACH")) {
    *value = CarReach();
  } else if (!std::strcmp(key, "REMOVECOST")) {
    *value = l ? l->CalculateRemoveCost() : 0;
  } else if (!std::strcmp(key, "OPNVREACH")) {
    short stop = 0;
    int distance = 0;
    *value = l && l->GetNearestHst(stop, distance) ? std::clamp(1.0 - distance / 1500.0, 0.0, 1.0) : 0.0;
  } else {
    for (const Count& c : counts)
      if (!std::strcmp(key, c.key)) {
        *value = l ? (l->*c.count)() : 0;
        return 0;
      }
    for (const Quote& q : quotes)
      if (!std::strcmp(key, q.key)) {
        *value = used(q.quote);
        return 0;
      }
    return 1;
  }
  return 0;
}

namespace {

bool IsUnitKey(const char* name) {
  return name && (!std::strcmp(name, "BUILDING.WOHNQUALITAET") || !std::strcmp(name, "BUILDING.PKWREACH") ||
                  !std::strcmp(name, "BUILDING.OPNVREACH"));
}

}  // namespace

int CBuildingObject::GetVarMin(const char* name, float* min) {
  if (!IsUnitKey(name) || !min) return 1;
  *min = 0.0f;
  return 0;
}

int CBuildingObject::GetVarMax(const char* name, float* max) {
  if (!IsUnitKey(name) || !max) return 1;
  *max = 1.0f;
  return 0;
}

void CBuildingObject::WriteRecordName(ZorRecordWriter& out, const char* name, uint32_t length) {
  out.U32(length);
  char field[kRecordNameSize];
  std::memset(field, 'A', sizeof field);
  const size_t n = std::min(std::strlen(name), sizeof field - 1);
  std::memcpy(field, name, n);
  field[n] = '\0';
  out.Bytes(field, sizeof field);
}

bool CBuildingObject::WriteRecord(ZorRecordWriter& out, const char* name, uint32_t length) {
  WriteRecordName(out, name && *name ? name : "BuildingObject", length);
  m_Data.objectType = m_Type;
  m_Data.Write(out);
  const short district = m_pSimLocation ? m_pSimLocation->GetDistrictID() : 0;
  out.I16(district);
  if (!out.Ok()) return false;
  // A building without a location writes empty capacities.
  static const PotentialType none;
  (m_pSimLocation ? *m_pSimLocation->GetPotential() : none).Write(out);
  return true;
}

int CBuildingObject::SerializeGameStore(FILE* file, char* name) {
  ZorRecordWriter out(file);
  return WriteRecord(out, name, kRecordLength) && out.Ok() ? 0 : 1;
}

int CBuildingObject::SerializeGameLoad(FILE* file, BuildingDataType* data, PotentialType* potential,
                                       short* district) {
  ZorRecordReader in(file);
  BuildingDataType d;
  if (!d.Read(in)) return 1;
  const short id = in.I16();
  if (!in.Ok()) return 1;
  PotentialType p;
  if (!p.Read(in)) return 1;
  if (data) *data = d;
  if (district) *district = id;
  if (potential) *potential = p;
  return 0;
}

int CBuildingTrafficObject::Create(TObjectType kind, int resId, int x, int y, CIsoRichtung* direction,
                                   ESimLocationHeight height) {
  CBuildingObject::Create(resId, x, y, direction, height);
  m_Type = kind;
  return 0;
}

CBuildingList::~CBuildingList() {
  if (m_Init == 1) Destroy();
}

int CBuildingList::Create(CBuildingObject* building) {
  CZorvaList::Create();
  return AddHeadBuilding(building);
}

int CBuildingList::Destroy() {
  while (RemoveHeadBuilding()) {
  }
  return 0;
}

int CBuildingList::AddTailBuilding(CBuildingObject* building, int key) {
  const int r = AddTailZorva(building, key);
  if (r == 0 && building && Counts()) building->IncrementListNumber();
  return r;
}

int CBuildingList::AddHeadBuilding(CBuildingObject* building, int key) {
  const int r = AddHeadZorva(building, key);
  if (r == 0 && building && Counts()) building->IncrementListNumber();
  return r;
}

CBuildingObject* CBuildingList::RemoveHeadBuilding() {
  auto* b = static_cast<CBuildingObject*>(RemoveHeadZorva(true));
  if (b && Counts()) b->DecrementListNumber();
  return b;
}

CBuildingObject* CBuildingList::RemoveTailBuilding() {
  auto* b = static_cast<CBuildingObject*>(RemoveTailZorva(true));
  if (b && Counts()) b->DecrementListNumber();
  return b;
}

int CBuildingList::RemoveBuilding(CBuildingObject* building) {
  const int r = RemoveZorva(building);
  if (r == 0 && building && Counts()) building->DecrementListNumber();
  return r;
}

bool CBuildingList::Copy(CBuildingList* other) {
  if (!other) return true;
  SetupBuildingCount(0);
  while (CBuildingObject* b = GetNextBuilding()) other->AddHeadBuilding(b);
  return true;
}

CSecondLayerObject::~CSecondLayerObject() { delete m_pLineList; }

int CSecondLayerObject::Create(int resId, int x, int y, CIsoRichtung* direction, ESimLocationHeight height) {
  CBuildingObject::Create(resId, x, y, direction, height);
  m_Data.objectType = m_Type;
  delete m_pLineList;
  m_pLineList = new CZorvaList(0);
  m_Type = CatalogueType(resId);
  m_pSimLocation = nullptr;
  return 0;
}

int CSecondLayerObject::Destroy() {
  if (m_pStreet) {
    m_pStreet->SetVLS(false, false);
    m_pStreet = nullptr;
  }
  if (m_pParking) m_pParking->ForgetPLS(this);
  m_pParking = nullptr;
  if (m_pLineList) {
    // Every line that serves the stop drops it; a line takes itself off
    // the list as it does.
    while (CZorvaObject* o = m_pLineList->RemoveHeadZorva(true)) static_cast<COpnvLine*>(o)->ToolRemoveHst(this, 0);
    delete m_pLineList;
    m_pLineList = nullptr;
  }
  return CWorldObj::Destroy();
}

int CSecondLayerObject::AddLine(COpnvLine* line) {
  if (!m_pLineList) return 1;
  if (m_pLineList->CheckZorvaInList(line) == 0) return 0;
  return m_pLineList->AddHeadZorva(line);
}

int CSecondLayerObject::RemoveLine(COpnvLine* line) { return m_pLineList ? m_pLineList->RemoveZorva(line) : 1; }

void CSecondLayerObject::ClearLineList() {
  delete m_pLineList;
  m_pLineList = new CZorvaList(0);
}

namespace {

bool IsStopType(TObjectType t) {
  return (t >= OBJ_BUSSTOP_SIGN && t <= OBJ_BUSSTOP_SHELTER4) || t == OBJ_TRAMSTOP;
}

}  // namespace

CStreetObj* CSecondLayerObject::GetStreet(int* x, int* y) {
  if (x) *x = -1;
  if (y) *y = -1;
  CIsoWelt* map = CIsoObjGroup::m_pIsoWelt;
  const int ox = m_Data.x, oy = m_Data.y;
  if (!map || !IsoInMap(ox, oy)) return nullptr;
  const auto ux = static_cast<unsigned short>(ox), uy = static_cast<unsigned short>(oy);
  if (!IsStopType(map->GetTypeAt(ux, uy, ISO_LAYER_UPPER))) return nullptr;
  CIsoObjGroup* group = map->GetGroupAt(ux, uy, ISO_LAYER_UPPER);
  if (!group) return nullptr;
  const int gx = group->GetStartPosX(), gy = group->GetStartPosY();
  const int w = group->GetTurnedSizeX(), d = group->GetTurnedSizeY();
  // The first cell of the group, row by row, whose base carries what the
  // stop stands on: a street for a bus stop, a track for a tram stop.
  for (int cy = gy; cy < gy + d; ++cy)
    for (int cx = gx; cx < gx + w; ++cx) {
      if (!IsoInMap(cx, cy) || !map->GetIsoInfo(cx, cy)) return nullptr;
      const auto px = static_cast<unsigned short>(cx), py = static_cast<unsigned short>(cy);
      const TObjectType upper = map->GetTypeAt(px, py, ISO_LAYER_UPPER);
      if (!IsStopType(upper)) return nullptr;
      const TObjectType base = map->GetTypeAt(px, py, ISO_LAYER_GROUND);
      const bool tram = upper == OBJ_TRAMSTOP;
      if ((!tram && (base == OBJ_STREET_PIECE || base == OBJ_STREET_GROUP)) || (tram && base == OBJ_RAIL_PIECE)) {
        if (x) *x = cx;
        if (y) *y = cy;
        return dynamic_cast<CStreetObj*>(map->GetIsoTileObject(cx, cy, ISO_LAYER_GROUND));
      }
    }
  return nullptr;
}

int CSecondLayerObject::GetLengthFromJunction(CStrJunction* junction, short direction) {
  int x = -1, y = -1;
  CStreetObj* street = GetStreet(&x, &y);
  if (!street) return -1;
  int length = -1;
  if (street->CalculateLengthFromJunctionToXYIso(junction, direction, x, y, &length) != 0) return -1;
  return length;
}

int CSecondLayerObject::SerializeGameStore(FILE* file, char* name) {
  ZorRecordWriter out(file);
  WriteRecordName(out, name && *name ? name : "SecondLayerObject", kRecordLength);
  m_Data.objectType = m_Type;
  m_Data.Write(out);
  out.U32(m_ID);
  return out.Ok() ? 0 : 1;
}

int CSecondLayerObject::SerializeGameLoad(FILE* file, BuildingDataType* data, unsigned int* id) {
  ZorRecordReader in(file);
  BuildingDataType d;
  if (!d.Read(in)) return 1;
  const uint32_t stop = in.U32();
  if (!in.Ok()) return 1;
  if (data) *data = d;
  if (id) *id = stop;
  return 0;
}
