// The interface's state drawn into the map: tool previews, the street and
// junction under the mouse, public-transport overlays, single debug tiles,
// and the vehicles drawn a second time at a cell edge.
#include <algorithm>

#include "framework/qno_display.h"
#include "iso/iso_sel_obj.h"
#include "iso/iso_vehicle.h"
#include "iso/iso_welt.h"

namespace {

constexpr int kMouseStreetGroup = 33879;
constexpr int kMouseStreetGroup4 = 33883;
constexpr int kJunctionGroup = 33880;
constexpr int kBusStopTool = 5;

bool IsAreaTool(int tool) { return tool >= 10 && tool <= 13; }
bool IsBuildingTool(int tool) { return (tool >= 5 && tool <= 8) || tool == 14; }

}  // namespace

int CIsoWelt::RenderTileAsMouseAt(int x, int y, int resId, TIsoRichtung dir) {
  CIsoTile* tile = CIsoTile::Get(m_pResources, resId);
  QnoRenderBuffer* buffer = m_pDisplay ? m_pDisplay->GetRenderBuffer() : nullptr;
  if (!tile || !buffer) return 0;
  int sx = 0, sy = 0;
  CellAnchor(x, y, g_ZoomStufe / 2, sx, sy);
  tile->Render(buffer, m_pResources, sx, sy, 0, static_cast<TIsoRichtung>(dir & 3));
  return 0;
}

int CIsoWelt::Expo_RenderLilaBase(int x, int y, int resId) {
  return RenderTileAsMouseAt(x, y, resId, static_cast<TIsoRichtung>(g_IsoRichtung));
}

int CIsoWelt::RenderSelection(selObjType* sel, CIsoTile* marker) {
  if (!sel || sel->startX < 0) return 0;
  const int tool = sel->tool;
  if (!IsAreaTool(tool) && !IsBuildingTool(tool)) return 0;
  QnoRenderBuffer* buffer = m_pDisplay ? m_pDisplay->GetRenderBuffer() : nullptr;
  const int index = g_ZoomStufe / 2;
  auto mark = [&](int cx, int cy) {
    if (!marker || !buffer) return;
    int sx = 0, sy = 0;
    CellAnchor(cx, cy, index, sx, sy);
    marker->Render(buffer, m_pResources, sx, sy, 0, static_cast<TIsoRichtung>(g_IsoRichtung));
  };
  if (IsAreaTool(tool)) {
    const int x0 = std::min(sel->startX, sel->endX), x1 = std::max(sel->startX, sel->endX);
    const int y0 = std::min(sel->startY, sel->endY), y1 = std::max(sel->startY, sel->endY);
    for (int cy = y0; cy <= y1; ++cy)
      for (int cx = x0; cx <= x1; ++cx) mark(cx, cy);
    return 0;
  }
  const int ox = tool == kBusStopTool ? sel->busStopOffsetX : 0;
  const int oy = tool == kBusStopTool ? sel->busStopOffsetY : 0;
  auto markFootprint = [&] {
    for (int cy = sel->startY + oy; cy < sel->startY + oy + sel->depth; ++cy)
      for (int cx = sel->startX + ox; cx < sel->startX + ox + sel->width; ++cx)
        if (IsoInMap(cx, cy)) mark(cx, cy);
  };
  // The building's picture covers its footprint: the marks of a refused
  // place are drawn over it, so that the player sees them.
  const bool marksOnTop = sel->placeRefused != 0;
  if (!marksOnTop) markFootprint();
  RenderBuildingAsMouse(*sel, ox, oy);
  if (marksOnTop) markFootprint();
  return 0;
}

void CIsoWelt::RenderBuildingAsMouse(const selObjType& sel, int ox, int oy) {
  const int resId = m_pHost->GetCatalogueResID(sel.buildingNumber);
  if (resId < 1) return;
  const auto dir = static_cast<TIsoRichtung>(sel.buildingRichtung & 3);
  if (!m_pHost->IsCatalogueGroup(sel.buildingNumber)) {
    RenderTileAsMouseAt(sel.startX, sel.startY, resId, dir);
    return;
  }
  CIsoGroup* group = CIsoGroup::Get(m_pResources, resId);
  if (sel.tool != kBusStopTool)
    RenderGroupAsMouseAt(sel.startX, sel.startY, group, dir, -1);
  else if (sel.busStopShowable)
    RenderGroupAsMouseAt(sel.startX + ox, sel.startY + oy, group, dir, -1);
}

void CIsoWelt::RenderUserInt(QnoDisplay* display) {
  const selObjType* selection = m_pHost->GetSelection();
  if (!selection) return;
  const selObjType& sel = *selection;
  const int c = sel.animCounter & 3;
  if (sel.mouseStreet && IsoInMap(sel.mouseStreetX, sel.mouseStreetY)) {
    const bool fourLane = sel.mouseStreet->GetStreetType() == 4;
    CIsoGroup* group = CIsoGroup::Get(m_pResources, fourLane ? kMouseStreetGroup4 : kMouseStreetGroup);
    if (group)
      RenderGroupAsMouseAt(sel.mouseStreetX, sel.mouseStreetY, group,
                           static_cast<TIsoRichtung>(fourLane ? (c + 3) % 4 : c), -1);
  }
  if (sel.selectedJunction && IsoInMap(sel.junctionX, sel.junctionY)) {
    CIsoGroup* marker = CIsoGroup::Get(m_pResources, kJunctionGroup);
    CIsoObjGroup* placed = GetGroupAt(static_cast<unsigned short>(sel.junctionX),
                                      static_cast<unsigned short>(sel.junctionY), ISO_LAYER_GROUND);
    if (marker && sel.selectedJunction->GetStreetType() == 4 && placed) {
      for (int cy = placed->GetStartPosY(); cy < placed->GetStartPosY() + placed->GetTurnedSizeY(); ++cy)
        for (int cx = placed->GetStartPosX(); cx < placed->GetStartPosX() + placed->GetTurnedSizeX(); ++cx)
          RenderGroupAsMouseAt(cx, cy, marker, ISO_RICHTUNG_0, -1);
    } else if (marker && sel.selectedJunction->GetStreetType() != 4) {
      RenderGroupAsMouseAt(sel.junctionX, sel.junctionY, marker, ISO_RICHTUNG_0, -1);
    }
  }
  if (m_pHost->GetFilter(1)) m_pHost->RenderOpnvNet(display);
  if (sel.selectedLine) {
    unsigned char r = 0, g = 0, b = 0;
    m_pHost->GetLineColor(sel.selectedLine, r, g, b);
    QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
    const auto colour = static_cast<unsigned short>(buffer ? buffer->GetClosestColor(r, g, b) : 0);
    m_pHost->RenderOpnvLineStreet(display, sel.selectedLine, colour);
    m_pHost->RenderOpnvLineHst(display, sel.selectedLine);
  }
}

int CIsoWelt::SetSecondCarPos(CIsoVehicle* car, int x, int y) {
  if (!car) return 0;
  if (IsoInMap(x, y)) {
    CIsoVehicle** slots = m_CarSecondRender[x][y];
    for (int slot = 0; slot < 4; ++slot) {
      if (!slots[slot]) {
        slots[slot] = car;
        car->SetIsoXYSecond(x, y, slot);
        return 0;
      }
    }
  }
  car->ResetIsoXYSecond();
  return 0;
}

int CIsoWelt::MakeCompleteSpriteRenderList() {
  ResetCompleteSpriteRenderList();
  for (int x = 0; x < ISO_MAP_SIZE; ++x)
    for (int y = 0; y < ISO_MAP_SIZE; ++y) MakeSpriteRenderList(x, y);
  return 0;
}
