// The placement checks of the object factory and the tools, and the
// clearing of zoned areas under a new building.
#include "iso/iso_welt.h"

namespace {

bool IsZone(TObjectType t) { return t >= OBJ_ZONE_RESIDENTIAL && t <= OBJ_ZONE_INDUSTRIAL; }

}  // namespace

// Walks the cells a test covers: the single cell (x, y) for resId < 1,
// else the rectangle of group resId turned to direction, rows along y.
// 1 at the first cell outside the grid or the first cell `test` refuses;
// 0 otherwise, also when the group resource is missing.
template <class Test>
static int WalkTestedCells(CIsoWelt* map, int x, int y, int direction, int resId, Test test) {
  if (resId < 1) {
    CIsoInfo* cell = map->GetIsoInfo(x, y);
    return cell && test(cell, x, y, false) ? 0 : 1;
  }
  int tw = 0, td = 0;
  if (!CIsoGroup::Get(map->GetResourceManager(), resId)) return 0;
  map->GetIsoGroupSize(resId, static_cast<TIsoRichtung>(direction & 3), tw, td);
  for (int cy = y; cy < y + td; ++cy) {
    for (int cx = x; cx < x + tw; ++cx) {
      CIsoInfo* cell = map->GetIsoInfo(cx, cy);
      if (!cell || !test(cell, cx, cy, true)) return 1;
    }
  }
  return 0;
}

int CIsoWelt::CheckForType(int x, int y, TBaseType layer, TObjectType type, TIsoRichtung direction, int resId,
                           ESimLocationHeight height) {
  return WalkTestedCells(this, x, y, direction, resId, [&](CIsoInfo* cell, int, int, bool inGroup) {
    if (cell->GetType(layer) != type) return false;
    if (!inGroup || height == SIM_HEIGHT_ANY) return true;
    CWorldObj* building = cell->GetWorldObject(ISO_LAYER_GROUND);
    return building && m_pHost->GetLocationHeight(building) == height;
  });
}

int CIsoWelt::CheckForEmptyNoObject(int x, int y, TBaseType layer, TIsoRichtung direction, int resId) {
  return WalkTestedCells(this, x, y, direction, resId, [&](CIsoInfo* cell, int, int, bool) {
    const TObjectType t = cell->GetType(layer);
    return t == OBJ_NONE || t == OBJ_GROUND;
  });
}

int CIsoWelt::CheckForTypeEmptyResComInd(int x, int y, TIsoRichtung direction, int resId) {
  return WalkTestedCells(this, x, y, direction, resId, [&](CIsoInfo* cell, int, int, bool) {
    const TObjectType t = cell->GetType(ISO_LAYER_GROUND);
    return t == OBJ_GROUND || IsZone(t);
  });
}

bool CIsoWelt::CanPlaceBuilding(int x, int y, TIsoRichtung direction, int resId) {
  return CheckForTypeEmptyResComInd(x, y, direction, resId) == 0 &&
         CheckForEmptyNoObject(x, y, ISO_LAYER_UPPER, direction, resId) == 0;
}

int CIsoWelt::RemoveResComInd(int x, int y, TIsoRichtung direction, int resId) {
  return WalkTestedCells(this, x, y, direction, resId, [&](CIsoInfo* cell, int cx, int cy, bool inGroup) {
    const TObjectType t = cell->GetType(ISO_LAYER_GROUND);
    if (IsZone(t)) {
      m_pHost->RemoveObject(cx, cy, ISO_LAYER_GROUND);
    } else if (inGroup && t == OBJ_GROUND) {
      SetStdBase(cx, cy, ISO_LAYER_GROUND, true);
    }
    return true;
  });
}
