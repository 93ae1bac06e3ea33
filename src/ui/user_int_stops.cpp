// The stop tool: where and how a bus or tram stop would stand under the
// cursor, and why a street or track cell cannot carry one.
#include "iso/iso_object.h"
#include "iso/iso_welt.h"
#include "network/rail_junction_list.h"
#include "network/str_strasse.h"
#include "network/street_objects.h"
#include "ui/user_int.h"

namespace {

// The street (or track) a street-network object of the ground layer
// belongs to.
CStrStrasse* StreetOf(CStreetObj* object) { return object ? object->GetStreetList() : nullptr; }

}  // namespace

int CUserInt::CheckStreetForHstBuild(CStreetObj* streetObj, int x, int y) {
  CStrStrasse* s = StreetOf(streetObj);
  // A piece that no street owns carries nothing.
  if (!s) return 1;
  const auto sx = static_cast<short>(x), sy = static_cast<short>(y);
  if (s->PointIsBend(sx, sy)) return 1;
  if (s->PointIsBeforBend(sx, sy)) return 2;
  bool flag = false;
  if (s->PointBeforJunction(sx, sy, flag)) return flag ? 7 : 6;
  if (s->PointIsBeforeRailCrossing(sx, sy)) return 4;
  if (CStrSchJuncList* rails = GetRailNet(); rails && rails->HasGrdCrossingAt(sx, sy)) return 3;
  return 0;
}

int CUserInt::CheckRailForHstBuild(CStreetObj* railObj, int x, int y) {
  CStrStrasse* s = StreetOf(railObj);
  if (!s) return 1;
  const auto sx = static_cast<short>(x), sy = static_cast<short>(y);
  if (s->PointIsBend(sx, sy)) return 1;
  bool flag = false;
  if (s->PointBeforJunction(sx, sy, flag)) return flag ? 7 : 6;
  if (CStrSchJuncList* rails = GetRailNet(); rails && rails->HasGrdCrossingAt(sx, sy)) return 3;
  return 0;
}

// Looks the stop kind's picture up again and takes its size for the
// current direction.
void CUserInt::SwitchStopType(int type) {
  selObj.objectType = type;
  int resource = 0, number = 0, sizeX = 0, sizeY = 0;
  if (FindToolBuilding(type, -1, resource, number, sizeX, sizeY) && resource > 0) {
    selObj.buildingResID = resource;
    selObj.buildingNumber = number;
    selObj.width = sizeX;
    selObj.depth = sizeY;
  }
  StopGroupSize();
}

void CUserInt::StopGroupSize() {
  if (selObj.buildingResID <= 0 || !m_pIsoWelt) return;
  int w = 0, d = 0;
  if (m_pIsoWelt->GetIsoGroupSize(selObj.buildingResID, static_cast<TIsoRichtung>(selObj.buildingRichtung), w, d) ==
          0 &&
      w != 0 && d != 0) {
    selObj.width = w;
    selObj.depth = d;
  }
}

// The direction a stop faces on the street or track at (x, y): opposite
// the street's own direction there, read at the start of a four-lane or
// track group. The cell is shifted when it lies in the group's second
// lane, across the street from the group's start; a group that starts a
// cell back along the street (a street or track laid toward lower x or y
// begins its groups there) shifts nothing.
int CUserInt::StopRichtungAt(int x, int y, bool* shifted) {
  auto* piece = dynamic_cast<CStreetObj*>(m_pIsoWelt->GetIsoTileObject(x, y, ISO_LAYER_GROUND));
  CStrStrasse* s = StreetOf(piece);
  if (!s) return -1;
  int rx = x, ry = y;
  const int type = s->GetStreetType();
  if (type == 4 || type == 9) {
    if (CIsoObjGroup* g = m_pIsoWelt->GetGroupAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y),
                                                 ISO_LAYER_GROUND)) {
      rx = g->GetStartPosX();
      ry = g->GetStartPosY();
    }
  }
  unsigned char found = 0;
  int first = 0;
  bool bend = false;
  const int r = s->GetRichtung(rx, ry, found, first, bend);
  const int dir = ((r % 4) + 4 + 2) % 4;
  const bool acrossX = dir == 1 || dir == 3;
  if (shifted && (acrossX ? rx != x : ry != y)) *shifted = true;
  return dir;
}

int CUserInt::CheckBusStopTypeRichtungShow(int x, int y) {
  RecordMapCall("CheckBusStopTypeRichtungShow", x, y, 0);
  selObj.startX = selObj.endX = x;
  selObj.startY = selObj.endY = y;
  selObj.busStopShowable = 0;
  if (!InWorld(x, y) || !m_pIsoWelt) return 0;
  const TObjectType ground =
      m_pIsoWelt->GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND);
  bool shifted = false;
  if (ground == OBJ_STREET_PIECE || ground == OBJ_RAIL_PIECE) {
    const int dir = StopRichtungAt(x, y, &shifted);
    if (dir >= 0) selObj.buildingRichtung = dir;
    StopGroupSize();
  }
  // A street under the cursor chooses the normal or the four-lane form,
  // before the form's offset is worked out.
  if (selObj.tool == 5 && ground == OBJ_STREET_PIECE) {
    auto* piece = dynamic_cast<CStreetObj*>(m_pIsoWelt->GetIsoTileObject(x, y, ISO_LAYER_GROUND));
    const int streetType = piece ? piece->GetStreetType() : 0;
    const int t = selObj.objectType;
    if ((streetType == 1 || streetType == 2) && t != OBJ_BUSSTOP_SIGN && t != OBJ_BUSSTOP_SHELTER && t != OBJ_TRAMSTOP)
      SwitchStopType(selObj.subtool == 1 ? OBJ_BUSSTOP_SIGN : OBJ_BUSSTOP_SHELTER);
    else if (streetType == 4 && t != OBJ_BUSSTOP_SIGN4 && t != OBJ_BUSSTOP_SHELTER4 && t != OBJ_TRAMSTOP)
      SwitchStopType(selObj.subtool == 1 ? OBJ_BUSSTOP_SIGN4 : OBJ_BUSSTOP_SHELTER4);
  }

  // The group of the longer stops starts before the cursor cell, across
  // the street.
  int offset = 0;
  switch (selObj.objectType) {
    case OBJ_BUSSTOP_SIGN4:
    case OBJ_TRAMSTOP:
      offset = shifted ? -1 : 0;
      break;
    case OBJ_BUSSTOP_SHELTER:
    case OBJ_BUSSTOP_SHELTER4:
      offset = shifted ? -2 : -1;
      break;
    default:
      break;
  }
  const bool alongX = selObj.buildingRichtung == 1 || selObj.buildingRichtung == 3;
  selObj.busStopOffsetX = alongX ? offset : 0;
  selObj.busStopOffsetY = alongX ? 0 : offset;

  // The stop shows where the placing rule would put it, facing the way it
  // would face, and only where that rule lets it stand.
  int px = x, py = y, dir = 0;
  const bool valid = ToolPlaceRefusal(px, py, dir) == 0;
  selObj.busStopOffsetX = px - x;
  selObj.busStopOffsetY = py - y;
  selObj.buildingRichtung = dir;
  selObj.busStopShowable = valid && (selObj.objectType == OBJ_TRAMSTOP || (selObj.objectType >= OBJ_BUSSTOP_SIGN &&
                                                                           selObj.objectType <= OBJ_BUSSTOP_SHELTER4))
                               ? 1
                               : 0;
  return 0;
}
