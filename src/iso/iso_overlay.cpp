// Overlays drawn over the map's objects: the marks of listed and selected
// buildings, the blinking highlights, and group previews under the mouse.
#include <utility>

#include "framework/qno_display.h"
#include "framework/zor_seams.h"
#include "iso/iso_group_walk.h"
#include "iso/iso_sel_obj.h"
#include "iso/iso_welt.h"
#include "worldbase/zor_world_obj.h"

namespace {

constexpr int kMarkerGroup = 33880;
constexpr uint32_t kBlinkOn = 1000;
constexpr uint32_t kBlinkPeriod = 1500;
constexpr uint32_t kListHighlightLife = 10000;

bool HighlightInGrid(int x, int y, int w, int h) {
  return x < ISO_MAP_SIZE && y >= 0 && y < ISO_MAP_SIZE && x + w >= 0 && x + w < ISO_MAP_SIZE &&
         y + h < ISO_MAP_SIZE;
}

}  // namespace

void CIsoWelt::CellAnchor(int x, int y, int zoomIndex, int& sx, int& sy) {
  int ix = 0, iy = 0;
  CalcIsoToXY(static_cast<short>(x), static_cast<short>(y), &ix, &iy);
  sx = m_OriginX + ix + m_PixelOffsetX - Tile_Size_XDiv2[zoomIndex];
  sy = m_OriginY + iy + m_PixelOffsetY + Tile_Size_Y[zoomIndex];
}

int CIsoWelt::RenderGroupAsMouseAt(int x, int y, CIsoGroup* group, TIsoRichtung direction, int zoomIndex) {
  const int index = zoomIndex == -1 ? g_ZoomStufe / 2 : (zoomIndex & 0xFF);
  // The tile-size tables hold three zoom levels only.
  if (index < 0 || index > 2) return 1;
  if (!group) return 1;
  const int w = group->GetSizeX(), d = group->GetSizeY();
  if (w < 1 || d < 1) return 1;
  QnoRenderBuffer* buffer = m_pDisplay ? m_pDisplay->GetRenderBuffer() : nullptr;
  const int dir = direction & 3;
  const auto rot = static_cast<TIsoRichtung>((dir + g_IsoRichtung) & 3);
  const bool complete = IsoVisitGroupPreview(dir, w, d, [&](const IsoGroupCell& p) {
    const int tileId = group->FindObject(p.partX, p.partY, 0);
    if (tileId < 1) return false;
    int sx = 0, sy = 0;
    CellAnchor(x + p.dx, y + p.dy, index, sx, sy);
    CIsoTile* tile = CIsoTile::Get(m_pResources, tileId);
    if (tile && buffer)
      for (unsigned char layer = 0; layer <= 8; ++layer) tile->Render(buffer, m_pResources, sx, sy, layer, rot);
    return true;
  });
  return complete ? 0 : 1;
}

void CIsoWelt::MarkBuilding(const IsoFootprint& building) {
  const int x = building.x, y = building.y;
  if (x < 0 || x > ISO_MAP_SIZE || y < 0 || y > ISO_MAP_SIZE) return;
  CIsoGroup* marker = CIsoGroup::Get(m_pResources, kMarkerGroup);
  if (!marker) return;
  const int dir = building.richtung;
  int w = building.width, d = building.depth;
  if (building.type == OBJ_ZONE_RESIDENTIAL || building.type == OBJ_ZONE_COMMERCIAL) w = d = 1;
  if (dir == 1 || dir == 3) std::swap(w, d);
  for (int cx = x; cx < x + w; ++cx)
    for (int cy = y; cy < y + d; ++cy) RenderGroupAsMouseAt(cx, cy, marker, static_cast<TIsoRichtung>(dir), -1);
}

int CIsoWelt::RenderBuildingList() {
  m_MarkedBuildings.clear();
  m_pHost->GetMarkedBuildings(m_MarkedBuildings);
  for (const IsoFootprint& building : m_MarkedBuildings) MarkBuilding(building);
  return 0;
}

void CIsoWelt::RenderHighlight(int x, int y, int w, int h, uint32_t& blink, uint32_t now) {
  if (now - blink < kBlinkOn) {
    if (!HighlightInGrid(x, y, w, h)) return;
    CIsoTile* tile = CIsoTile::Get(m_pResources, kHighlightTile);
    QnoRenderBuffer* buffer = m_pDisplay ? m_pDisplay->GetRenderBuffer() : nullptr;
    if (!tile || !buffer) return;
    const int index = g_ZoomStufe / 2;
    for (int cx = x; cx < x + w; ++cx)
      for (int cy = y; cy < y + h; ++cy) {
        int sx = 0, sy = 0;
        CellAnchor(cx, cy, index, sx, sy);
        tile->Render(buffer, m_pResources, sx, sy, 0, ISO_RICHTUNG_0);
      }
  } else if (now - blink > kBlinkPeriod) {
    blink = now;
  }
}

int CIsoWelt::RenderBuildingSelections() {
  selObjType* selection = m_pHost->GetSelection();
  if (!selection) return 0;
  selObjType& sel = *selection;
  IsoFootprint building;
  if (sel.selectedObject && m_pHost->GetBuildingFootprint(sel.selectedObject, building)) {
    const int t = sel.selectedObject->GetType();
    if (t != OBJ_GROUND && t != OBJ_RIVER && t != OBJ_RAIL_PIECE && t != OBJ_STREET_PIECE && t != OBJ_CROSSING)
      MarkBuilding(building);
  }
  const uint32_t now = kfx_GetTicks();
  RenderHighlight(sel.msgX, sel.msgY, sel.msgW, sel.msgH, sel.msgBlink, now);
  RenderHighlight(sel.listX, sel.listY, sel.listW, sel.listH, sel.listBlink, now);
  if (now - sel.listStart > kListHighlightLife) sel.listX = sel.listY = sel.listW = sel.listH = -1;
  // The building a refused street removal would have cut off, until its time is up.
  if (sel.importantX >= 0 && static_cast<int32_t>(sel.importantUntil - now) > 0)
    RenderHighlight(sel.importantX, sel.importantY, sel.importantW, sel.importantH, sel.importantStart, now);
  else
    sel.importantX = sel.importantY = sel.importantW = sel.importantH = -1;
  return 0;
}
