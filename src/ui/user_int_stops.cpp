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

// How many cells a bus stop covers along its direction.
int StopLength(int type) { return type >= OBJ_BUSSTOP_SIGN && type <= OBJ_BUSSTOP_SHELTER4 ? type - 22 : 0; }

}  // namespace

bool CUserInt::IsStopStreetCell(int type, int i) {
  switch (type) {
    case OBJ_BUSSTOP_SIGN:
      return i == 0;
    case OBJ_BUSSTOP_SIGN4:
      return i <= 1;
    case OBJ_BUSSTOP_SHELTER:
      return i == 1;
    default:
      return i == 1 || i == 2;
  }
}

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

// The direction a bus stop faces on the street at (x, y): opposite the
// street's own direction there, read at the start of a four-lane group.
int CUserInt::StopRichtungAt(int x, int y, bool* shifted) {
  auto* piece = dynamic_cast<CStreetObj*>(m_pIsoWelt->GetIsoTileObject(x, y, ISO_LAYER_GROUND));
  CStrStrasse* s = StreetOf(piece);
  if (!s) return -1;
  int rx = x, ry = y;
  const int type = s->GetStreetType();
  if (type == 4 || type == 9) {
    if (CIsoObjGroup* g = m_pIsoWelt->GetGroupAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y),
                                                 ISO_LAYER_GROUND)) {
      if (g->GetStartPosX() != x || g->GetStartPosY() != y) {
        if (shifted) *shifted = true;
        rx = g->GetStartPosX();
        ry = g->GetStartPosY();
      }
    }
  }
  unsigned char found = 0;
  int first = 0;
  bool bend = false;
  const int r = s->GetRichtung(rx, ry, found, first, bend);
  return ((r % 4) + 4 + 2) % 4;
}

bool CUserInt::BusStopFits(int type, int x, int y) {
  const int dir = selObj.buildingRichtung;
  const bool alongX = dir == 1 || dir == 3;
  int firstX = -1, firstY = -1;
  for (int i = 0; i < StopLength(type); ++i) {
    const int cx = alongX ? x + i : x;
    const int cy = alongX ? y : y + i;
    if (!InWorld(cx, cy)) return false;
    const auto ux = static_cast<unsigned short>(cx), uy = static_cast<unsigned short>(cy);
    const TObjectType ground = m_pIsoWelt->GetTypeAt(ux, uy, ISO_LAYER_GROUND);
    const TObjectType upper = m_pIsoWelt->GetTypeAt(ux, uy, ISO_LAYER_UPPER);
    if (!IsStopStreetCell(type, i)) {
      // The shelter's outer cells stand on land, under at most ground.
      const bool land = ground == OBJ_GROUND || (ground >= OBJ_ZONE_RESIDENTIAL && ground <= OBJ_ZONE_INDUSTRIAL);
      if (!land || (upper != OBJ_NONE && upper != OBJ_GROUND)) return false;
      continue;
    }
    if (ground != OBJ_STREET_PIECE || upper != OBJ_NONE) return false;
    auto* piece = dynamic_cast<CStreetObj*>(m_pIsoWelt->GetIsoTileObject(cx, cy, ISO_LAYER_GROUND));
    if (CheckStreetForHstBuild(piece, cx, cy) != 0) return false;
    if (type == OBJ_BUSSTOP_SIGN4) {
      if (piece->GetStreetType() != 4) return false;
      if (firstX < 0) {
        firstX = cx;
        firstY = cy;
      } else if (!m_pIsoWelt->GetGroupAt(ux, uy, ISO_LAYER_GROUND) ||
                 !m_pIsoWelt->IsSameGroup(static_cast<unsigned short>(firstX), static_cast<unsigned short>(firstY),
                                          ux, uy, ISO_LAYER_GROUND)) {
        return false;
      }
    }
  }
  return true;
}

bool CUserInt::TramStopFits(int x, int y) {
  int w = 0, d = 0;
  if (m_pIsoWelt->GetIsoGroupSize(selObj.buildingResID, static_cast<TIsoRichtung>(selObj.buildingRichtung), w, d) !=
          0 ||
      w < 1 || d < 1)
    return false;
  for (int i = 0; i < w; ++i)
    for (int j = 0; j < d; ++j) {
      const int cx = x + i, cy = y + j;
      if (!InWorld(cx, cy)) return false;
      const auto ux = static_cast<unsigned short>(cx), uy = static_cast<unsigned short>(cy);
      if (m_pIsoWelt->GetTypeAt(ux, uy, ISO_LAYER_GROUND) != OBJ_RAIL_PIECE) return false;
      auto* rail = dynamic_cast<CStreetObj*>(m_pIsoWelt->GetIsoTileObject(cx, cy, ISO_LAYER_GROUND));
      if (!rail || rail->GetStreetType() != 9 || CheckRailForHstBuild(rail, cx, cy) != 0) return false;
      const TObjectType upper = m_pIsoWelt->GetTypeAt(ux, uy, ISO_LAYER_UPPER);
      if (upper != OBJ_NONE && upper != OBJ_GROUND) return false;
    }
  return true;
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
  // The group of the longer stops starts before the cursor cell, on the
  // axis the street runs along.
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
  const int tx = x + selObj.busStopOffsetX, ty = y + selObj.busStopOffsetY;

  // A street under the cursor chooses the normal or the four-lane form.
  if (selObj.tool == 5 && ground == OBJ_STREET_PIECE) {
    auto* piece = dynamic_cast<CStreetObj*>(m_pIsoWelt->GetIsoTileObject(x, y, ISO_LAYER_GROUND));
    const int streetType = piece ? piece->GetStreetType() : 0;
    const int t = selObj.objectType;
    if ((streetType == 1 || streetType == 2) && t != OBJ_BUSSTOP_SIGN && t != OBJ_BUSSTOP_SHELTER && t != OBJ_TRAMSTOP)
      SwitchStopType(selObj.subtool == 1 ? OBJ_BUSSTOP_SIGN : OBJ_BUSSTOP_SHELTER);
    else if (streetType == 4 && t != OBJ_BUSSTOP_SIGN4 && t != OBJ_BUSSTOP_SHELTER4 && t != OBJ_TRAMSTOP)
      SwitchStopType(selObj.subtool == 1 ? OBJ_BUSSTOP_SIGN4 : OBJ_BUSSTOP_SHELTER4);
  }

  const int type = selObj.objectType;
  bool valid = false;
  if (type >= OBJ_BUSSTOP_SIGN && type <= OBJ_BUSSTOP_SHELTER4) {
    if ((type == OBJ_BUSSTOP_SIGN || type == OBJ_BUSSTOP_SIGN4) && InWorld(tx, ty) &&
        m_pIsoWelt->GetTypeAt(static_cast<unsigned short>(tx), static_cast<unsigned short>(ty), ISO_LAYER_GROUND) ==
            OBJ_STREET_PIECE) {
      const int dir = StopRichtungAt(tx, ty, nullptr);
      if (dir >= 0) selObj.buildingRichtung = dir;
    }
    valid = BusStopFits(type, tx, ty);
  } else if (type == OBJ_TRAMSTOP) {
    valid = TramStopFits(tx, ty);
  }
  selObj.busStopShowable = valid ? 1 : 0;
  return 0;
}
