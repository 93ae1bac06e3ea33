// Multi-cell groups and zoned areas on the map's cells.
#include "iso/iso_group_walk.h"
#include "iso/iso_welt.h"

int CIsoWelt::SetIsoGroupAt(unsigned short x, unsigned short y, TBaseType layer, int resId, CWorldObj* obj) {
  return SetIsoGroupTurnedAt(x, y, layer, resId, obj, CIsoRichtung(0));
}

int CIsoWelt::SetIsoGroupTurnedAt(unsigned short x, unsigned short y, TBaseType layer, int resId, CWorldObj* obj,
                                  CIsoRichtung direction) {
  CIsoGroup* group = CIsoGroup::Get(m_pResources, resId);
  if (!group) return 1;
  const int w = group->GetSizeX();
  const int d = group->GetSizeY();
  if (w < 1 || d < 1) return 1;
  const int dir = direction.GetValue() & 3;
  // Every part must exist before the first cell changes: a group left half
  // placed would keep naming an object that its creator then deletes.
  const bool complete = IsoVisitGroupPlacement(dir, w, d, [&](const IsoGroupCell& p) {
    return group->FindObject(p.partX, p.partY, 0) >= 1 && GetIsoInfo(x + p.dx, y + p.dy) != nullptr;
  });
  if (!complete) return 1;
  IsoVisitGroupPlacement(dir, w, d, [&](const IsoGroupCell& p) {
    const int cx = x + p.dx, cy = y + p.dy;
    CIsoInfo* cell = GetIsoInfo(cx, cy);
    const int tile = group->FindObject(p.partX, p.partY, 0);
    if (layer == ISO_LAYER_GROUND) cell->Destroy(ISO_LAYER_GROUND);
    cell->CreateTile(tile, static_cast<TIsoRichtung>(dir), obj, layer);
    cell->CreateGroup(resId, static_cast<TIsoRichtung>(dir), x, y, layer);
    m_pHost->UpdateViewFilter(cx, cy);
    return true;
  });
  return 0;
}

int CIsoWelt::SetAusgewieseneFlaecheAt(int x, int y, TBaseType layer, CIsoRichtung direction, int resId,
                                       CWorldObj* obj) {
  CIsoInfo* cell = GetIsoInfo(x, y);
  if (!cell) return 1;
  CWorldObj* below = cell->GetWorldObject(ISO_LAYER_GROUND);
  CIsoObjGroup* group = cell->GetGroupObj(ISO_LAYER_GROUND);
  const TIsoRichtung belowDir = group ? group->GetRichtung() : ISO_RICHTUNG_0;
  SetStdBase(x, y, ISO_LAYER_GROUND, true);
  const int ground = cell->GetResID(ISO_LAYER_GROUND);
  cell->Destroy(ISO_LAYER_GROUND);
  cell->CreateTile(ground, belowDir, below, ISO_LAYER_UPPER);
  cell->CreateTile(resId, static_cast<TIsoRichtung>(direction.GetValue() & 3), obj, layer);
  m_pHost->UpdateViewFilter(x, y);
  return 0;
}

int CIsoWelt::DeleteIsoGroupAt(int x, int y, TBaseType layer, bool sameObjectOnly) {
  CIsoInfo* cell = GetIsoInfo(x, y);
  if (!cell) return 0;
  CIsoObjGroup* placed = cell->GetGroupObj(layer);
  if (!placed) {
    SetStdBase(x, y, layer, false);
    return 0;
  }
  // Copy: the cells' group records go away while we walk.
  const int x0 = placed->GetStartPosX(), y0 = placed->GetStartPosY();
  const int tw = placed->GetTurnedSizeX(), td = placed->GetTurnedSizeY();
  CWorldObj* owner = cell->GetWorldObject(layer);
  for (int cy = y0; cy < y0 + td; ++cy) {
    for (int cx = x0; cx < x0 + tw; ++cx) {
      CIsoInfo* c = GetIsoInfo(cx, cy);
      if (sameObjectOnly && (!c || c->GetWorldObject(layer) != owner)) continue;
      // Without sameObjectOnly a group reaching off the map has nothing
      // there to reset either.
      if (!c) continue;
      SetStdBase(cx, cy, layer, false);
      m_pHost->UpdateViewFilter(cx, cy);
    }
  }
  return 0;
}

int CIsoWelt::SetFilterGroup(int x, int y, TBaseType layer) {
  CIsoInfo* cell = GetIsoInfo(x, y);
  CIsoObjGroup* placed = cell ? cell->GetGroupObj(layer) : nullptr;
  if (!placed) return 0;
  const int x0 = placed->GetStartPosX(), y0 = placed->GetStartPosY();
  const int tw = placed->GetTurnedSizeX(), td = placed->GetTurnedSizeY();
  for (int cy = y0; cy < y0 + td; ++cy)
    for (int cx = x0; cx < x0 + tw; ++cx)
      if (CIsoInfo* c = GetIsoInfo(cx, cy)) c->SetFilter();
  return 0;
}
