// The placing tools' view of the building catalogue and the price entries
// of buildings and zones.
#include <utility>

#include "measures/building_object.h"
#include "ui/user_int.h"
#include "ui/user_int_place.h"

namespace place {

int ResIdByListNr(int nr) { return CBuildingDataList::GetBuildingResIDByListNr(nr); }

const PotentialType* Potential(int resId) {
  if (resId <= 0) return nullptr;
  for (int n = 0; n < CBuildingDataList::GetRowCount(); ++n) {
    const PotentialType* row = CBuildingDataList::GetPotentialByNr(n);
    if (row && row->resId == resId) return row;
  }
  return nullptr;
}

// The catalogue keeps the variant in the entry's height word.
int Height(const PotentialType* potential) { return potential ? potential->height : 0; }

int Height(const CBuildingObject* building) {
  if (!building) return 0;
  if (building->GetHeight() > 0) return building->GetHeight();
  return Height(Potential(building->GetResID()));
}

int ObjectType(int resId) {
  const PotentialType* row = Potential(resId);
  return row ? row->objectType : 0;
}

int ResIdByType(int type, int variant, int* nr) {
  for (int n = 0; n < CBuildingDataList::GetRowCount(); ++n) {
    const PotentialType* row = CBuildingDataList::GetPotentialByNr(n);
    if (!row || row->objectType != type) continue;
    if (variant >= 1 && Height(row) != variant) continue;
    if (nr) *nr = n;
    return row->resId;
  }
  if (nr) *nr = -1;
  return 0;
}

bool Size(int nr, int rotation, int& width, int& depth) {
  const PotentialType* row = CBuildingDataList::GetPotentialByNr(nr);
  if (!row) return false;
  width = row->size.width > 0 ? row->size.width : 1;
  depth = row->size.depth > 0 ? row->size.depth : 1;
  if (rotation == 1 || rotation == 3) std::swap(width, depth);
  return true;
}

int PlaceEntry(int type, int h) {
  const bool sized = h >= 1 && h <= 3;
  switch (type) {
    case 12: return sized ? 15 + h : -1;
    case 13: return sized ? 18 + h : -1;
    case 14: return sized ? 27 + h : -1;
    case 15: return sized ? 21 + h : -1;
    case 16: return sized ? 24 + h : -1;
    case 18:
    case 19:
    case 20: return h == 2 ? 38 : h == 3 ? 37 : 36;
    default: return RemoveEntry(type, h);
  }
}

int RemoveEntry(int type, int h) {
  switch (type) {
    case 12:
    case 13:
    case 14:
    case 15:
    case 16: return PlaceEntry(type, h);
    case 18:
    case 19:
    case 20: return h >= 1 && h <= 3 ? 35 + h : -1;
    case 23:
    case 24: return 13;
    case 25:
    case 26: return 14;
    case 28: return 15;
    case 33: return 31;
    case 34: return 33;
    case 35: return 34;
    case 38: return 35;
    case 39: return 32;
    default: return -1;
  }
}

int ZoneEntry(int zoneType, int h) {
  // Residential zones have two densities, commercial zones two, industry one.
  switch (zoneType) {
    case 4: return h >= 1 && h <= 2 ? h - 1 : -1;
    case 5: return h >= 1 && h <= 2 ? h + 1 : -1;
    case 6: return 4;
    default: return -1;
  }
}

bool BooksOnPublicTransport(int type) { return (type >= 23 && type <= 26) || type == 28; }

}  // namespace place

bool CUserInt::FindToolBuilding(int type, int index, int& resource, int& number, int& sizeX, int& sizeY) {
  resource = place::ResIdByType(type, index, &number);
  if (resource <= 0) return false;
  return place::Size(number, selObj.buildingRichtung, sizeX, sizeY);
}

void CUserInt::TurnBuilding(int quarters) {
  selObj.buildingRichtung = (selObj.buildingRichtung + quarters) & 3;
  int width = 0, depth = 0;
  if (!place::Size(selObj.buildingNumber, selObj.buildingRichtung, width, depth)) return;
  selObj.width = width;
  selObj.depth = depth;
}
