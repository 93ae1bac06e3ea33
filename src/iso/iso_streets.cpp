// Street and crossing graphics in the map: the graphics of each street
// type, and the placing of straight pieces, bends, end pieces and crossings.
#include "framework/qno_log.h"
#include "iso/iso_group_walk.h"
#include "iso/iso_tile.h"
#include "iso/iso_welt.h"
#include "iso/street_info_list.h"
#include "worldbase/zor_world_obj.h"

int CIsoWelt::DefineStreet(int type, int straightId, int straightLayer, int curveId, int curveLayer, int crossId,
                           int crossLayer, int tId, int tLayer, int endId, int endLayer, unsigned short capacity) {
  const int ids[CStreetInfoList::PIECES] = {straightId, curveId, crossId, tId, endId};
  const int layers[CStreetInfoList::PIECES] = {straightLayer, curveLayer, crossLayer, tLayer, endLayer};
  auto* record = new CStreetInfoList(CStrassenType(static_cast<TStrassenType>(type)), ids, layers, capacity);
  if (m_pStreetInfo)
    m_pStreetInfo->Append(record);
  else
    m_pStreetInfo = record;
  return 0;
}

int CIsoWelt::GetStreetGetCapacity(CStrassenType type) {
  return m_pStreetInfo ? m_pStreetInfo->GetCapacity(type) : 0;
}

int CIsoWelt::PlaceStreetPiece(int x, int y, int resId, CIsoRichtung dir, CWorldObj* obj, CStrassenType type) {
  if (type < STRASSE_VIERSPURIG) {
    // SetIsoTileAt leaves cells outside the map alone.
    SetIsoTileAt(x, y, ISO_LAYER_GROUND, dir, resId, obj);
    return 0;
  }
  return SetIsoGroupTurnedAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND, resId,
                             obj, dir);
}

void CIsoWelt::MergeStreetLayer(int x, int y, int layer) {
  CIsoInfo* cell = GetIsoInfo(x, y);
  if (layer == 0 || !cell) return;
  // The layer takes the direction of the piece it lies on.
  if (cell->MergeLayerFromIsoTile(layer, ISO_LAYER_GROUND) == 0) InvalidateSpriteRenderList(x, y);
}

int CIsoWelt::PlaceFourLaneStraight(int x, int y, int resId, CIsoRichtung dir, CWorldObj* obj) {
  CIsoGroup* group = CIsoGroup::Get(m_pResources, resId);
  if (!group) return 1;
  const int w = group->GetSizeX(), d = group->GetSizeY();
  const int turn = dir.GetValue() & 1;
  const bool complete = IsoVisitGroupPlacement(turn, w, d, [&](const IsoGroupCell& p) {
    return group->FindObject(p.partX, p.partY, 0) >= 1 && GetIsoInfo(x + p.dx, y + p.dy) != nullptr;
  });
  if (!complete) return 1;
  IsoVisitGroupPlacement(turn, w, d, [&](const IsoGroupCell& p) {
    const int cx = x + p.dx, cy = y + p.dy;
    CIsoInfo* cell = GetIsoInfo(cx, cy);
    // The street's own group on the next tile keeps its cells, and so do a
    // track and a river there: the street runs under a level crossing, whose
    // picture lies over it, and over a river on a bridge, which records the
    // river under it when first laid.
    const CIsoObjGroup* held = cell->GetGroupObj(ISO_LAYER_GROUND);
    const CWorldObj* shown = cell->GetWorldObject(ISO_LAYER_GROUND);
    const bool nextTile = (turn ? p.dy : p.dx) > 0;
    if (nextTile && held && shown == obj && held->GetResID() == resId &&
        held->GetStartPosX() == (turn ? x : x + 1) && held->GetStartPosY() == (turn ? y + 1 : y))
      return true;
    if (nextTile && shown && shown != obj && (shown->GetType() == OBJ_RAIL_PIECE || shown->GetType() == OBJ_RIVER))
      return true;
    cell->Destroy(ISO_LAYER_GROUND);
    cell->CreateTile(group->FindObject(p.partX, p.partY, 0), static_cast<TIsoRichtung>(turn), obj, ISO_LAYER_GROUND);
    cell->CreateGroup(resId, static_cast<TIsoRichtung>(turn), static_cast<unsigned short>(x),
                      static_cast<unsigned short>(y), ISO_LAYER_GROUND);
    m_pHost->UpdateViewFilter(cx, cy);
    return true;
  });
  return 0;
}

int CIsoWelt::InsertStreetAt(int x, int y, CIsoRichtung dir, CStrassenType type, CWorldObj* obj) {
  const int id = m_pStreetInfo ? m_pStreetInfo->GetStrassenID(type) : -1;
  // The four-lane straight group is laid on every tile and carries its
  // lanes on the cells of that tile; it runs along x or y whichever way
  // the street goes, and each tile keeps the group laid on it.
  if (type == STRASSE_VIERSPURIG && CIsoGroup::Get(m_pResources, id))
    PlaceFourLaneStraight(x, y, id, dir, obj);
  else
    PlaceStreetPiece(x, y, id, dir, obj, type);
  MergeStreetLayer(x, y, m_pStreetInfo ? m_pStreetInfo->GetStrassenLayerID(type) : -1);
  return 0;
}

int CIsoWelt::SetKurveAt(int x, int y, CIsoRichtung dir, CWorldObj* obj, CStrassenType type) {
  const int id = m_pStreetInfo ? m_pStreetInfo->GetKurvenID(type) : -1;
  if (id <= 0) return 0;
  PlaceStreetPiece(x, y, id, dir, obj, type);
  MergeStreetLayer(x, y, m_pStreetInfo->GetKurvenLayer(type));
  return 0;
}

int CIsoWelt::InsertKreuzungAt(int x, int y, int resId, CIsoRichtung* dir, CWorldObj* obj, CStrassenType type,
                               unsigned char kind) {
  if (!QNO_PARAM_CHECK(dir != nullptr)) return 1;
  // Only the open end (1) and the crossing of one-cell streets (3) exist.
  if (kind != 1 && kind != 3) return 1;
  // A four-lane straight group laid on the tile before reaches into this
  // cell; it keeps its own tile, and the end piece covers the rest.
  const CIsoObjGroup* covering = GetGroupAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND);
  const bool fromNeighbour = covering && (covering->GetStartPosX() != x || covering->GetStartPosY() != y);
  if (GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND) == OBJ_STREET_PIECE &&
      !(type >= STRASSE_VIERSPURIG && fromNeighbour))
    DeleteIsoGroupAt(x, y, ISO_LAYER_GROUND, true);
  SetStdBase(x, y, ISO_LAYER_GROUND, false);
  if (kind == 3) {
    SetIsoTileAt(x, y, ISO_LAYER_GROUND, *dir, resId, obj);
    return 0;
  }
  const int id = m_pStreetInfo ? m_pStreetInfo->GetEndStueckID(type) : -1;
  if (id > 0) {
    PlaceStreetPiece(x, y, id, *dir, obj, type);
    MergeStreetLayer(x, y, m_pStreetInfo->GetEndStueckLayer(type));
  }
  return 1;
}

int CIsoWelt::InsertKreuzungsGroupAt(int x, int y, int resId, CIsoRichtung* dir, CWorldObj* obj,
                                     CStrassenType /*type*/) {
  if (!QNO_PARAM_CHECK(dir != nullptr)) return 1;
  if (GetTypeAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND) == OBJ_RAIL_PIECE)
    DeleteIsoGroupAt(x, y, ISO_LAYER_GROUND, true);
  return SetIsoGroupTurnedAt(static_cast<unsigned short>(x), static_cast<unsigned short>(y), ISO_LAYER_GROUND, resId,
                             obj, *dir);
}
