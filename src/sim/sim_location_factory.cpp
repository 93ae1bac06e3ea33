#include "sim/sim_location_factory.h"

#include <algorithm>

#include "framework/qno_log.h"
#include "framework/zor_seams.h"
#include "sim/sim_error.h"
#include "sim/sim_model_iface.h"
#include "sim/sim_welt.h"
#include "worldbase/building_catalogue.h"
#include "worldbase/zor_world_obj.h"

CSimLocationFactory::~CSimLocationFactory() {
  if (m_valid) Destroy();
}

bool CSimLocationFactory::Create(CZorvaWorld* world, CSimWelt* simulation) {
  if (m_valid) return false;
  m_pWorld = world;
  m_pSimWelt = simulation;
  m_locations.clear();
  m_valid = 1;
  return true;
}

bool CSimLocationFactory::Destroy() {
  if (!m_valid) {
    SimSetError(8, "Fehler in CSimLocationFactory::Destroy()");
    return false;
  }
  while (!m_locations.empty()) RemoveLocation(m_locations.front());
  m_valid = 0;
  m_pWorld = nullptr;
  m_pSimWelt = nullptr;
  return true;
}

CSimLocation* CSimLocationFactory::CreateNewLocation(const int& resId, const int& catalogueNr,
                                                     const TObjectType& kind, const CIsoRichtung&, const int& x,
                                                     const int& y, const SimLocationSizeType& size,
                                                     const ESimLocationHeight& height, CWorldObj* building,
                                                     const short&, PotentialType* potential) {
  if (!m_valid) {
    SimSetError(8, "Fehler in CSimLocationFactory::CreateNewLocation()");
    return nullptr;
  }
  if (!building) return nullptr;
  // The capacities are found before anything is made: a building whose kind
  // the catalogue does not know gets no location, and no crossing or list
  // hears of one.
  PotentialType record;
  if (potential) {
    record = *potential;
  } else {
    const PotentialType* entry = catalogueNr < 0 ? CBuildingDataList::GetPotential(resId)
                                                 : CBuildingDataList::GetPotentialByNr(catalogueNr);
    if (!entry) {
      QNO_LOG("No catalogue entry for the building %d (entry %d)", resId, catalogueNr);
      return nullptr;
    }
    record = *entry;
  }
  if (height != 0) record.height = static_cast<uint16_t>(height);

  auto* location = new CSimLocation(this);
  const CSimRasterPos position(x, y);
  location->Create(&position, size, static_cast<ESimLocationType>(kind), height);
  location->SetPotential(&record);
  location->SetBuilding(building);
  building->SetSimLocation(location);
  if (m_pHost) {
    const short crossing = m_pHost->GetNearestCrossing(x, y, 0);
    if (crossing != 0 && m_pHost->RegisterLocationAtCrossing(location, crossing) == 0)
      location->SetNearestCrossing(crossing);
  }
  const short district = DistrictOf(x, y);
  if (m_pSimWelt && m_pSimWelt->IsValid()) {
    m_pSimWelt->RegisterLocation(location, district);
    // A city model that keeps no districts leaves the location without one.
  }
  m_locations.insert(m_locations.begin(), location);
  FindNearestHst(location);
  return location;
}

void CSimLocationFactory::RemoveLocation(CSimLocation* location) {
  auto it = std::find(m_locations.begin(), m_locations.end(), location);
  if (it == m_locations.end()) return;
  if (m_pHost && location->NearestCrossing() != 0)
    m_pHost->RemoveLocationFromCrossing(location->NearestCrossing(), location);
  if (m_pSimWelt && m_pSimWelt->IsValid()) m_pSimWelt->RemoveLocation(location);
  m_locations.erase(it);
  if (CWorldObj* building = location->GetBuilding())
    if (building->GetSimLocation() == location) building->SetSimLocation(nullptr);
  delete location;
}

short CSimLocationFactory::ChangeNearestCrossing(CSimLocation* location, bool best) {
  if (!location || !m_pHost) return 0;
  const short current = location->NearestCrossing();
  const int x = location->Position().PosX(), y = location->Position().PosY();
  short next = 0;
  if (!best) {
    next = m_pHost->GetNearestCrossing(x, y, 0);
    if (next == current) return current;
    if (current != 0) m_pHost->RemoveLocationFromCrossing(current, location);
  } else {
    // The current crossing is being removed and forgets its locations itself.
    next = m_pHost->GetNearestCrossing(x, y, current);
  }
  if (next != 0 && m_pHost->RegisterLocationAtCrossing(location, next) != 0) next = 0;
  location->SetNearestCrossing(next);
  return next;
}

void CSimLocationFactory::FindNearestHst(CSimLocation* location) {
  if (!location) return;
  short ids[CSimLocation::kMaxStops] = {};
  int distances[CSimLocation::kMaxStops] = {};
  int found = 0;
  if (m_pHost) {
    found = m_pHost->FindNearestHst(location->Position().PosX(), location->Position().PosY(),
                                    location->GetXSizeRichtung(), location->GetYSizeRichtung(), kHstRadius,
                                    CSimLocation::kMaxStops, ids, distances);
    found = std::clamp(found, 0, static_cast<int>(CSimLocation::kMaxStops));
  }
  location->SetNearestHst(ids, distances, static_cast<unsigned char>(found));
}

void CSimLocationFactory::CheckAllLocationsForNearestHst() {
  for (CSimLocation* location : m_locations) FindNearestHst(location);
}

int CSimLocationFactory::CheckLocationForError() const {
  for (const CSimLocation* location : m_locations) {
    const int x = location->Position().PosX(), y = location->Position().PosY();
    if (!location->IsValid()) QNO_ERROR(QNO_SEV_ERROR, "Location at %i/%i is not valid", x, y);
    const CWorldObj* building = location->GetBuilding();
    if (!building)
      QNO_ERROR(QNO_SEV_ERROR, "Location at %i/%i has no building", x, y);
    else if (building->GetSimLocation() != location)
      QNO_ERROR(QNO_SEV_ERROR, "Location at %i/%i is not its building's location", x, y);
  }
  return 0;
}

int CSimLocationFactory::CheckLocationInFactoryList(const CSimLocation* location) const {
  return std::find(m_locations.begin(), m_locations.end(), location) != m_locations.end() ? 0 : 1;
}

int CSimLocationFactory::MoreSpaceNeeded2(const int& districtId, const ESimSpaceNeeded& kind, int& amount) {
  if (!m_valid || !m_pHost || !m_pHost->HasMap()) return 1;
  TObjectType lot = OBJ_ZONE_RESIDENTIAL, type = OBJ_RESIDENTIAL;
  if (kind == 1) {
    const bool office = zor_random() % 3 != 0;
    lot = office ? OBJ_ZONE_COMMERCIAL : OBJ_ZONE_INDUSTRIAL;
    type = office ? OBJ_OFFICE : OBJ_INDUSTRY;
  }
  const int x0 = DistrictX0(districtId), y0 = DistrictY0(districtId);
  for (int x = x0; x < x0 + 8; ++x)
    for (int y = y0; y < y0 + 8; ++y) {
      if (m_pHost->GetTypeAt(x, y) != lot) continue;
      CSimLocation* location = m_pHost->GetLocationAt(x, y);
      if (!location || DistrictOf(location->Position().PosX(), location->Position().PosY()) != districtId) continue;
      // Any building of the type will do: one draw from the catalogue.
      int number = -1;
      const int resId = CBuildingDataList::GetRESidByData(amount, type, location->GetHeight(), 0, &number);
      if (resId <= 0) continue;
      CLocationListT<CSimLocation> replaced(0, 0);
      TIsoRichtung direction = ISO_RICHTUNG_0;
      int bx = 0, by = 0;
      if (m_pHost->SearchEmptySpaceFor(lot, location, resId, static_cast<ESimLocationHeight>(location->GetHeight()),
                                       &replaced, &direction, &bx, &by) != 0)
        continue;
      SetBuilding(type, resId, location, bx, by, direction, &replaced);
      const PotentialType* entry = CBuildingDataList::GetPotentialByNr(number);
      if (entry) amount -= kind == 1 ? entry->Word(36) : entry->Word(24);
    }
  return 0;
}

int CSimLocationFactory::SetBuilding(TObjectType type, int resId, CSimLocation* lot, int x, int y,
                                     TIsoRichtung direction, CLocationListT<CSimLocation>* replaced) {
  const int n = CBuildingDataList::GetNrByResID(resId);
  int w = 1, d = 1;
  if (n >= 0) {
    w = std::max(1, CBuildingDataList::GetXSizeByNr(n, direction));
    d = std::max(1, CBuildingDataList::GetYSizeByNr(n, direction));
  }
  if (lot) {
    const int lx = lot->Position().PosX(), ly = lot->Position().PosY();
    if (lx >= x && lx < x + w && ly >= y && ly < y + d) m_pHost->RemoveObjectAt(lx, ly);
  }
  if (replaced) {
    replaced->SetupLocationCount(0);
    std::vector<std::pair<int, int>> cells;
    while (CSimLocation* l = replaced->GetNextLocation()) cells.emplace_back(l->Position().PosX(), l->Position().PosY());
    replaced->Destroy();
    // The lot itself may be in the list and already gone.
    for (const auto& [cx, cy] : cells)
      if (m_pHost->GetLocationAt(cx, cy)) m_pHost->RemoveObjectAt(cx, cy);
  }
  m_pHost->CreateBuilding(type, resId, direction, x, y);
  return 0;
}

int CSimLocationFactory::LessSpaceNeeded2(const int& districtId, const ESimSpaceNeeded& kind, int& amount) {
  if (!m_valid || !m_pHost || !m_pHost->HasMap()) return 1;
  TObjectType type = OBJ_RESIDENTIAL;
  if (kind == 1) type = zor_random() % 3 == 0 ? OBJ_INDUSTRY : OBJ_OFFICE;
  const int x0 = DistrictX0(districtId), y0 = DistrictY0(districtId);
  for (int x = x0; x < x0 + 8 && amount > 0; ++x)
    for (int y = y0; y < y0 + 8 && amount > 0; ++y) {
      if (m_pHost->GetTypeAt(x, y) != type) continue;
      CSimLocation* location = m_pHost->GetLocationAt(x, y);
      if (!location || location->GetHeight() >= 3) continue;
      const int freed = type == OBJ_RESIDENTIAL ? location->NrOfHomes() : location->NrOfJobs();
      m_pHost->RemoveObjectAt(x, y);
      amount -= freed;
    }
  return 0;
}

int CSimLocationFactory::CheckResIndComOnlyOneTile() {
  if (!m_valid || !m_pHost || !m_pHost->HasMap()) return 1;
  TIsoRichtung dir = ISO_RICHTUNG_0;
  int office1 = 0, office2 = 0, home1 = 0, home2 = 0, industry1 = 0;
  CBuildingDataList::GetNrByData(OBJ_OFFICE, 1, 1, 1, dir, office1);
  CBuildingDataList::GetNrByData(OBJ_OFFICE, 1, 1, 2, dir, office2);
  CBuildingDataList::GetNrByData(OBJ_RESIDENTIAL, 1, 1, 1, dir, home1);
  CBuildingDataList::GetNrByData(OBJ_RESIDENTIAL, 1, 1, 2, dir, home2);
  CBuildingDataList::GetNrByData(OBJ_INDUSTRY, 1, 1, 1, dir, industry1);
  for (int x = 0; x < 128; ++x)
    for (int y = 0; y < 128; ++y) {
      const TObjectType lot = m_pHost->GetTypeAt(x, y);
      if (lot != OBJ_ZONE_RESIDENTIAL && lot != OBJ_ZONE_COMMERCIAL && lot != OBJ_ZONE_INDUSTRIAL) continue;
      CSimLocation* location = m_pHost->GetLocationAt(x, y);
      if (!location) continue;
      SimLocationSizeType one;
      one.width = one.depth = 1;
      if (m_pHost->CheckLocationForStreetDistance(location, 3, &one) == 0) continue;
      const auto height = static_cast<ESimLocationHeight>(location->GetHeight());
      if (!m_pHost->CheckResComIndForOnlyOne(lot, location, height)) continue;
      const bool low = location->GetHeight() == 1;
      TObjectType type = OBJ_RESIDENTIAL;
      int resId = low ? home1 : home2;
      if (lot == OBJ_ZONE_COMMERCIAL) {
        type = OBJ_OFFICE;
        resId = low ? office1 : office2;
      } else if (lot == OBJ_ZONE_INDUSTRIAL) {
        type = OBJ_INDUSTRY;
        resId = industry1;
      }
      if (resId <= 0) continue;
      m_pHost->CreateBuilding(type, resId, ISO_RICHTUNG_0, x, y);
    }
  return 0;
}
