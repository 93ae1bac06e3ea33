// The rules by which buildings find space: street access of a location's
// footprint, whether a street may go without cutting a building off, how
// many like buildings may stand side by side, and where a larger building
// fits over a block of smaller ones.
#include <algorithm>
#include <vector>

#include "framework/zor_list.h"
#include "framework/zor_pointer_list.h"
#include "framework/zor_seams.h"
#include "iso/iso_object.h"
#include "iso/iso_welt.h"
#include "measures/building_object.h"
#include "network/crossing_objects.h"
#include "network/str_junction.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "world/zor_world.h"

namespace {

constexpr int kLastCell = 127;
constexpr int kMaxFootprint = 10;

struct Footprint {
  int x = 0, y = 0, width = 1, depth = 1;
};

// The rectangle around the footprint, `distance` cells wide, inside the map.
template <class Visit>
bool AnyCellAround(const Footprint& f, int distance, Visit visit) {
  const int x0 = std::max(f.x - distance, 0), x1 = std::min(f.x + f.width + distance - 1, kLastCell);
  const int y0 = std::max(f.y - distance, 0), y1 = std::min(f.y + f.depth + distance - 1, kLastCell);
  for (int x = x0; x <= x1; ++x)
    for (int y = y0; y <= y1; ++y)
      if (visit(x, y)) return true;
  return false;
}

CBuildingObject* BuildingAt(CIsoWelt* map, int x, int y) {
  return dynamic_cast<CBuildingObject*>(map->GetIsoTileObject(x, y, ISO_LAYER_GROUND));
}

}  // namespace

CBuildingObject* CZorvaWorld::BuildingOf(const CSimLocation* location) const {
  if (!location || !m_pObjectList) return nullptr;
  for (CZorvaObject* o = m_pObjectList->GetHead(); o; o = o->GetNext()) {
    auto* building = dynamic_cast<CBuildingObject*>(o);
    if (building && building->GetSimLocation() == location) return building;
  }
  return nullptr;
}

namespace {

Footprint FootprintOf(const CBuildingObject* building, const SimLocationSizeType* size) {
  Footprint f;
  f.x = building->GetXPos();
  f.y = building->GetYPos();
  if (size && size->width > 0 && size->depth > 0 && size->width <= kMaxFootprint && size->depth <= kMaxFootprint) {
    f.width = size->width;
    f.depth = size->depth;
  }
  if (building->GetRichtung() == 1 || building->GetRichtung() == 3) std::swap(f.width, f.depth);
  return f;
}

}  // namespace

int CZorvaWorld::CheckLocationForStreetDistance(CSimLocation* location, int distance, SimLocationSizeType* size) {
  const CBuildingObject* building = BuildingOf(location);
  if (!building || !m_pIsoWelt) return 1;
  const Footprint f = FootprintOf(building, size);
  const bool found = AnyCellAround(f, std::max(distance, 1), [&](int x, int y) {
    const TObjectType t = m_pIsoWelt->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y),
                                                 ISO_LAYER_GROUND);
    return t == OBJ_CROSSING || t == OBJ_STREET_PIECE;
  });
  return found ? 0 : 1;
}

int CZorvaWorld::CheckLocationForOtherStreetDistance(CSimLocation* location, int distance,
                                                     SimLocationSizeType* size, CStreetObj* street, int& x, int& y,
                                                     int& width, int& depth) {
  const CBuildingObject* building = BuildingOf(location);
  if (!building || !m_pIsoWelt || !street) return 0;
  const Footprint f = FootprintOf(building, size);
  CStrStrasse* own = street->GetStreetList();
  const short id = static_cast<short>(street->GetSimID());
  const bool other = AnyCellAround(f, std::max(distance, 1), [&](int cx, int cy) {
    CWorldObj* o = m_pIsoWelt->GetIsoTileObject(cx, cy, ISO_LAYER_GROUND);
    const TObjectType t = m_pIsoWelt->GetTypeAt(static_cast<unsigned short>(cx), static_cast<unsigned short>(cy),
                                                 ISO_LAYER_GROUND);
    if (t == OBJ_CROSSING) {
      auto* cross = dynamic_cast<CKreuzObj*>(o);
      CStrJunction* j = cross ? cross->GetWorldObject() : nullptr;
      // A junction of more than two streets, or of none of this street's,
      // leads elsewhere.
      return j && (j->GetAnzLinkedStreets() > 2 || !j->GetStreetByID(id));
    }
    if (t == OBJ_STREET_PIECE) {
      auto* piece = dynamic_cast<CStreetObj*>(o);
      return piece && piece != street && piece->GetStreetList() != own;
    }
    return false;
  });
  if (other) return 0;
  x = f.x;
  y = f.y;
  width = f.width;
  depth = f.depth;
  return 1;
}

int CZorvaWorld::CheckStreetForRemove(CStreetObj* street, int& x, int& y, int& width, int& depth) {
  CStrStrasse* s = street ? street->GetStreetList() : nullptr;
  if (!s || !m_pIsoWelt) return 0;
  for (CStrJunction* j : {s->GetStartJunction(), s->GetEndJunction()}) {
    CLocationList* locations = j ? j->GetLocationList() : nullptr;
    if (!locations) continue;
    // The locations are gathered first: the check below walks nothing of
    // the list, but a copy keeps the list's cursor out of it.
    std::vector<CSimLocation*> at;
    locations->SetupLocationCount(0);
    while (CSimLocation* l = locations->GetNextLocation()) at.push_back(l);
    for (CSimLocation* l : at) {
      const CBuildingObject* building = BuildingOf(l);
      if (!building) continue;
      const int kind = building->GetType();
      if (kind == OBJ_ZONE_RESIDENTIAL || kind == OBJ_ZONE_COMMERCIAL || kind == OBJ_ZONE_INDUSTRIAL) continue;
      SimLocationSizeType size;
      m_pIsoWelt->GetGroupSize(size, building->GetResID());
      if (CheckLocationForOtherStreetDistance(l, StreetAccessDistance(kind), &size, street, x, y, width, depth) == 1)
        return 1;
    }
  }
  return 0;
}

bool CZorvaWorld::CheckResComIndForOnlyOne(TObjectType kind, CSimLocation* location, ESimLocationHeight height) {
  const CBuildingObject* building = BuildingOf(location);
  if (!building || !m_pIsoWelt) return true;
  static const int kSteps[4][2] = {{1, 0}, {-1, 0}, {0, -1}, {0, 1}};
  int alike = 0;
  for (const auto& d : kSteps)
    for (int step = 1; step <= 2; ++step) {
      const int cx = building->GetXPos() + d[0] * step, cy = building->GetYPos() + d[1] * step;
      if (cx < 0 || cy < 0 || cx > kLastCell || cy > kLastCell) break;
      if (m_pIsoWelt->GetTypeAt(static_cast<unsigned short>(cx), static_cast<unsigned short>(cy),
                                ISO_LAYER_GROUND) != kind)
        break;
      const CBuildingObject* neighbour = BuildingAt(m_pIsoWelt, cx, cy);
      if (neighbour && neighbour->GetHeight() == height) ++alike;
    }
  if (alike == 0) return true;
  if (alike == 1) return zor_random() % 10 == 0;
  return false;
}

int CZorvaWorld::SearchEmptySpaceFor(TObjectType kind, CSimLocation* location, int resId, ESimLocationHeight height,
                                     CLocationListT<CSimLocation>* replaced, TIsoRichtung* direction, int* x,
                                     int* y) {
  const CBuildingObject* building = BuildingOf(location);
  if (!building || !m_pIsoWelt) return 1;
  if (CheckLocationForStreetDistance(location, 3, nullptr) != 0) return 1;
  const auto turn = static_cast<TIsoRichtung>(zor_random() % 4);
  SimLocationSizeType size;
  m_pIsoWelt->GetGroupSize(size, resId);
  int width = std::max<int>(size.width, 1), depth = std::max<int>(size.depth, 1);
  if (turn == ISO_RICHTUNG_1 || turn == ISO_RICHTUNG_3) std::swap(width, depth);
  const int px = building->GetXPos(), py = building->GetYPos();
  // Cells of the block: buildings of the kind whose location has the height.
  auto alike = [&](int cx, int cy) {
    if (cx < 0 || cy < 0) return false;
    if (m_pIsoWelt->GetTypeAt(static_cast<unsigned short>(cx), static_cast<unsigned short>(cy), ISO_LAYER_GROUND) !=
        kind)
      return false;
    const CBuildingObject* b = BuildingAt(m_pIsoWelt, cx, cy);
    return b && b->GetSimLocation() && b->GetHeight() == height;
  };
  int x0 = px;
  for (int cx = px, n = 0; n < width && alike(cx, py); --cx, ++n) x0 = cx;
  int y0 = py;
  for (int ox = x0; ox <= px; ++ox) {
    for (int cy = py, n = 0; n < depth && alike(ox, cy); --cy, ++n) y0 = std::min(y0, cy);
    for (int oy = y0; oy <= py; ++oy) {
      if (ox + width > kLastCell + 1 || oy + depth > kLastCell + 1) continue;
      if (m_pIsoWelt->CheckForType(ox, oy, ISO_LAYER_GROUND, kind, turn, resId, height) != 0) continue;
      // Every location under the block goes, each once, the asking one aside.
      if (replaced) {
        std::vector<CSimLocation*> taken;
        for (int cx = ox; cx < ox + width; ++cx)
          for (int cy = oy; cy < oy + depth; ++cy) {
            const CBuildingObject* b = BuildingAt(m_pIsoWelt, cx, cy);
            CSimLocation* l = b ? b->GetSimLocation() : nullptr;
            if (!l || l == location || std::find(taken.begin(), taken.end(), l) != taken.end()) continue;
            taken.push_back(l);
            replaced->AddHeadLocation(l);
          }
      }
      if (direction) *direction = turn;
      if (x) *x = ox;
      if (y) *y = oy;
      return 0;
    }
  }
  return 1;
}
