// Zoom, turn, panning and the services that convert between cells, screen
// pixels and the mouse.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "framework/qno_display.h"
#include "framework/qno_log.h"
#include "framework/zor_list.h"
#include "framework/zor_record.h"
#include "iso/iso_river.h"
#include "iso/iso_screen_tiles.h"
#include "iso/iso_sel_obj.h"
#include "iso/iso_welt.h"
#include "worldbase/zor_world_obj.h"

int panning_x_max = 760;
int panning_y_max = 450;

namespace {

int Clamp127(int v) { return v < 0 ? 0 : (v > ISO_MAP_SIZE - 1 ? ISO_MAP_SIZE - 1 : v); }

// The panning cursors by step direction.
constexpr int kCursorPanRight = 28421;  // dx > 0
constexpr int kCursorPanLeft = 28414;   // dx < 0
constexpr int kCursorPanDown = 28423;   // dy > 0
constexpr int kCursorPanUp = 28422;     // dy < 0

// One product of a whole difference and a factor, formed in extended
// precision and truncated, as the view rectangles have always been cut.
int Part(int diff, double factor) { return static_cast<int>(static_cast<long double>(diff) * factor); }

}  // namespace

// ---- zoom and turn -------------------------------------------------------------------

void CIsoWelt::RefreshAfterViewChange(bool filter, bool viewShown) {
  if (viewShown) {
    // The view of the new level was worked out and its cells shown just
    // before, with nothing moved or shown since: showing them again would
    // change nothing. The sound marks are set again as before.
    MarkSoundRectAgain();
  } else {
    CalcViewRect();
  }
  // The layouts of the old view are not placed: the host lays every layout
  // anew below, at its place in the new view.
  UpdateMicroSim(false);
  if (filter) SetFilter();
  TurnMicroSim();
  // A zoom or a new screen mode places every sprite anew; a turn has taken
  // the cache of its rotation already.
  if (filter) ResetCompleteSpriteRenderList();
}

int CIsoWelt::OnZoomIn() {
  if (g_ZoomStufe / 2 >= 2) return 1;
  return SetZoomLevel(g_ZoomStufe / 2 == 0 ? ISO_ZOOM_2 : ISO_ZOOM_4);
}

int CIsoWelt::OnZoomOut() {
  if (g_ZoomStufe / 2 <= 0) return 1;
  const int level = g_ZoomStufe - 2;
  return SetZoomLevel(level <= 0 ? ISO_ZOOM_1 : static_cast<TIsoZoomStufe>(level));
}

int CIsoWelt::SetZoomLevel(TIsoZoomStufe zoom) {
  g_ZoomStufe = zoom;
  // Which objects turn on each of their tiles may follow the level.
  m_TurnTilesValid = false;
  CalcViewRect();
  ResetTiles();
  m_UpdateRndLst.UpdateZoom();
  ResetCompleteSpriteRenderList();
  return 0;
}

int CIsoWelt::UserIntZoomIn() {
  if (OnZoomIn() == 0) RefreshAfterViewChange(true, true);
  return 0;
}

int CIsoWelt::UserIntZoomOut() {
  if (OnZoomOut() == 0) RefreshAfterViewChange(true, true);
  return 0;
}

int CIsoWelt::UserIntTurnRight() {
  g_IsoRichtung = (g_IsoRichtung + 1) & 3;
  m_UpdateRndLst.UpdateRotate();
  RefreshAfterViewChange(false);
  return 0;
}

int CIsoWelt::UserIntTurnLeft() {
  g_IsoRichtung = (g_IsoRichtung + 3) & 3;
  m_UpdateRndLst.UpdateRotate();
  RefreshAfterViewChange(false);
  return 0;
}

void CIsoWelt::SetPanningBand() {
  if (!m_pDisplay) return;
  panning_x_max = m_pDisplay->GetScreenWidth() - 40;
  panning_y_max = m_pDisplay->GetScreenHeight() - 150;
}

int CIsoWelt::RefreshAfterModeChange() {
  SetPanningBand();
  RefreshAfterViewChange(true);
  return 0;
}

int CIsoWelt::Update() {
  CalcViewRect();
  UpdateMicroSim();
  return 0;
}

int CIsoWelt::TurnMicroSim() {
  m_pHost->TurnMicroSim();
  return 0;
}

// ---- view position -------------------------------------------------------------------

int CIsoWelt::SetIsoCenter(int x, int y) {
  m_CenterX = x;
  m_CenterY = y;
  return Update();
}

int CIsoWelt::SetXYBasePoint(int x, int y) {
  m_MouseTileX = m_CenterX = x;
  m_MouseTileY = m_CenterY = y;
  m_PixelOffsetX = m_PixelOffsetY = 0;
  m_DragDeltaX = m_DragDeltaY = 0;
  return Update();
}

int CIsoWelt::CheckIsoViewPort() {
  const int x = Clamp127(m_CenterX), y = Clamp127(m_CenterY);
  const int clamped = (x != m_CenterX || y != m_CenterY) ? 1 : 0;
  m_CenterX = x;
  m_CenterY = y;
  return clamped;
}

void CIsoWelt::ResetMove() {
  m_RightDrag = 0;
  m_DragCursorShown = 0;
  m_DragDeltaX = m_DragDeltaY = 0;
}

int CIsoWelt::VirtualMouseMove() {
  const selObjType* sel = m_pHost->GetSelection();
  if (sel && sel->rightButton) {
    m_PixelOffsetX -= m_DragDeltaX;
    m_PixelOffsetY -= m_DragDeltaY;
    m_DragDeltaX = m_DragDeltaY = 0;
    CheckXYPixelIsoMove();
    UpdateMicroSim();
    return 0;
  }
  CheckPannungMode();
  if (m_Panning) {
    CheckXYPixelIsoMove();
    CheckIsoViewPort();
    UpdateMicroSim();
  }
  return 0;
}

// ---- edge panning --------------------------------------------------------------------

// The map pans only while the player drags on it: a street being drawn, or
// an area whose press began on the map. A press on a window or the bar with
// an area tool chosen holds the button too, but drags nothing.
namespace {
bool DragMayPan(const selObjType& sel, CIsoHost& host) {
  return sel.streetDrag || (sel.leftDrag && host.GetBuildSurfaceStatus());
}
}  // namespace

// The panel hides the bottom of the map only while it is shown; a hidden
// panel leaves the map in view down to the screen's last row, and a drag
// there stands well inside the map until the last 20 rows.
int CIsoWelt::PanningYMax(const selObjType& sel) const {
  if (sel.panelShown) return panning_y_max;
  return (m_pDisplay ? m_pDisplay->GetScreenHeight() : panning_y_max + 150) - 20;
}

bool CIsoWelt::InPanningBand(int mx, int my, const selObjType& sel) const {
  return mx < 20 || mx > panning_x_max || my < 20 || my > PanningYMax(sel);
}

int CIsoWelt::CheckPannungMode() {
  const selObjType* sel = m_pHost->GetSelection();
  if (!sel) return m_Panning;
  int mx, my;
  m_pHost->GetMousePosition(mx, my);
  const bool possible = DragMayPan(*sel, *m_pHost);
  const bool wanted = possible && InPanningBand(mx, my, *sel);
  int dx = 0, dy = 0;
  if (mx < 20)
    dx = 8;
  else if (mx > panning_x_max)
    dx = -8;
  else if (my < 20)
    dy = 6;
  else if (my > PanningYMax(*sel))
    dy = -6;
  if (wanted != (m_Panning != 0)) {
    if (wanted) {
      m_pHost->BackupCursor();
      m_pHost->SetCursorID(dx > 0 ? kCursorPanRight : dx < 0 ? kCursorPanLeft : dy > 0 ? kCursorPanDown : kCursorPanUp, 0);
    } else {
      m_pHost->RestoreCursor();
    }
    m_Panning = wanted ? 1 : 0;
  }
  if (m_Panning) {
    m_PixelOffsetX += dx;
    m_PixelOffsetY += dy;
    m_pHost->SetMousePosition(mx - dx, my - dy);
  }
  return m_Panning;
}

int CIsoWelt::CheckPannungModeAgain() {
  if (m_Panning) return m_Panning;
  const selObjType* sel = m_pHost->GetSelection();
  if (!sel) return 0;
  int mx, my;
  m_pHost->GetMousePosition(mx, my);
  const bool possible = DragMayPan(*sel, *m_pHost);
  if (!possible || !InPanningBand(mx, my, *sel)) return 0;
  return CheckPannungMode();
}

void CIsoWelt::ResetPanningMode() {
  if (m_Panning == 1) {
    m_pHost->RestoreCursor();
  }
  m_Panning = 0;
}

// ---- conversions ---------------------------------------------------------------------

IsoScreenTiles IsoScreenTilesOf(const CIsoWelt& map) {
  const QnoDisplay* display = map.GetDisplay();
  const int w = display ? display->GetScreenWidth() : 800;
  const int h = display ? display->GetScreenHeight() : 600;
  IsoScreenTiles t;
  t.rotation = g_IsoRichtung;
  t.zoom = IsoZoomIndex();
  t.shiftX = w / 2 + map.GetPixelOffsetX();
  t.shiftY = h / 2 + map.GetPixelOffsetY();
  t.centreX = map.GetCenterX();
  t.centreY = map.GetCenterY();
  t.anchorX = map.GetOriginX() + map.GetPixelOffsetX() - Tile_Size_XDiv2[t.zoom];
  t.anchorY = map.GetOriginY() + map.GetPixelOffsetY();
  return t;
}

void CIsoWelt::FixeIsoKoorCalc(unsigned short x, unsigned short y, int& sx, int& sy) {
  const int zoom = IsoZoomIndex();
  IsoTileToScreen(g_IsoRichtung, zoom, static_cast<short>(x), static_cast<short>(y), sx, sy);
  sx += m_OriginX + m_PixelOffsetX - Tile_Size_XDiv2[zoom];
  sy += m_OriginY + m_PixelOffsetY;
}

void CIsoWelt::FixeGroupRichtung(unsigned short x, unsigned short y, int& sx, int& sy) {
  const CIsoObjGroup* g = GetGroupAt(x, y, ISO_LAYER_GROUND);
  if (!g || g_IsoRichtung == 0) return;
  const int tw = g->GetTurnedSizeX(), td = g->GetTurnedSizeY();
  int cx = x, cy = y;
  if (g_IsoRichtung == 1) cy = y + td - 1;
  if (g_IsoRichtung == 2) cx = x + tw - 1, cy = y + td - 1;
  if (g_IsoRichtung == 3) cx = x + tw - 1;
  FixeIsoKoorCalc(static_cast<unsigned short>(cx), static_cast<unsigned short>(cy), sx, sy);
}

void CIsoWelt::MouseKoorToScreenKoor(int mx, int my, int* sx, int* sy) {
  if (sx) *sx = mx;
  if (sy) *sy = my;
}

void CIsoWelt::ScreenKoorToIsoKoor(int px, int py, int* x, int* y) {
  int tx, ty;
  IsoScreenTilesOf(*this).TileAt(px, py, tx, ty);
  if (x) *x = tx;
  if (y) *y = ty;
}

int CIsoWelt::MouseKoorToIsoKoor(int mx, int my, int* x, int* y) {
  int tx, ty;
  ScreenKoorToIsoKoor(mx, my, &tx, &ty);
  const int cx = Clamp127(tx), cy = Clamp127(ty);
  m_MouseTileX = cx;
  m_MouseTileY = cy;
  if (x) *x = cx;
  if (y) *y = cy;
  return (cx != tx || cy != ty) ? 1 : 0;
}

// ---- the derived rectangles ----------------------------------------------------------

namespace {
void ScaleRect(const IsoViewRectType& v, double f, double g, IsoViewRectType& out) {
  const int px = v.k0x + Part(v.k1x - v.k0x, f), py = v.k0y + Part(v.k1y - v.k0y, f);
  const int qx = v.k0x + Part(v.k1x - v.k0x, g), qy = v.k0y + Part(v.k1y - v.k0y, g);
  const int rx = v.k2x + Part(v.k3x - v.k2x, f), ry = v.k2y + Part(v.k3y - v.k2y, f);
  const int sx = v.k2x + Part(v.k3x - v.k2x, g), sy = v.k2y + Part(v.k3y - v.k2y, g);
  out.k0x = px + Part(rx - px, f), out.k0y = py + Part(ry - py, f);
  out.k1x = px + Part(rx - px, g), out.k1y = py + Part(ry - py, g);
  out.k2x = qx + Part(sx - qx, f), out.k2y = qy + Part(sy - qy, f);
  out.k3x = qx + Part(sx - qx, g), out.k3y = qy + Part(sy - qy, g);
  out.richtung = v.richtung;
}
}  // namespace

void CIsoWelt::CalcSoundRect() { ScaleRect(m_ViewRect, 0.35, 0.65, m_SoundRect); }
void CIsoWelt::CalcMicroViewRect() { ScaleRect(m_ViewRect, -0.3, 1.3, m_MicroViewRect); }

int CIsoWelt::UpdateMicroSim(bool place) {
  const IsoViewRectType& m = m_MicroViewRect;
  auto sign = [](int d) { return d < 1 ? -1 : 1; };
  const int sx1 = sign(m.k2x - m.k0x), sy1 = sign(m.k2y - m.k0y);
  const int sx2 = sign(m.k1x - m.k0x), sy2 = sign(m.k1y - m.k0y);
  const bool even = (g_IsoRichtung & 1) == 0;
  const int runs = 2 * std::abs(even ? m.k1y - m.k0y : m.k1x - m.k0x) + 1;
  const int length = std::abs(even ? m.k2x - m.k0x : m.k2y - m.k0y) + 1;
  int startX = m.k0x, startY = m.k0y;
  bool alongY = true;
  m_WalkCells.clear();
  for (int run = 0; run < runs; ++run) {
    int x = startX, y = startY;
    for (int i = 0; i < length; ++i, x += sx1, y += sy1)
      if (IsoInMap(x, y)) m_WalkCells.push_back(static_cast<uint16_t>(x * ISO_MAP_SIZE + y));
    if (alongY)
      startY += sy2;
    else
      startX += sx2;
    alongY = !alongY;
  }
  m_MicroTiles.clear();
  VisitWalkCells([&](int x, int y, CIsoInfo* cell) {
    const TObjectType t = cell ? cell->GetType(ISO_LAYER_GROUND) : OBJ_NONE;
    if (t != OBJ_STREET_PIECE && t != OBJ_CROSSING && t != OBJ_RAIL_PIECE && t != OBJ_RAIL_JUNCTION) return;
    m_pHost->UpdateViewFilter(x, y);
    if (!place) return;
    const auto ux = static_cast<unsigned short>(x), uy = static_cast<unsigned short>(y);
    int ax, ay;
    FixeIsoKoorCalc(ux, uy, ax, ay);
    FixeGroupRichtung(ux, uy, ax, ay);
    if (CWorldObj* obj = GetIsoTileObject(x, y, ISO_LAYER_GROUND)) m_MicroTiles.push_back({obj, ax, ay, ux, uy});
  });
  // The objects, their cell groups, layouts and cells lie scattered in
  // memory: a few tiles ahead of its placing, each tile's chain is asked of
  // memory one link a tile (the object, then the stages of PrefetchTurn,
  // then what placing reads and writes), so that the waits overlap.
  struct Stage {
    int stage;
    size_t ahead;  // tiles ahead of the one placed
  };
  constexpr size_t kObjectAhead = 7;
  constexpr Stage kStages[] = {{4, 6}, {3, 5}, {2, 4}, {0, 2}};
  const size_t n = m_MicroTiles.size();
  for (size_t i = 0; i < n; ++i) {
    if (i + kObjectAhead < n) __builtin_prefetch(m_MicroTiles[i + kObjectAhead].object);
    for (const Stage& s : kStages)
      if (i + s.ahead < n) {
        const MicroTile& ahead = m_MicroTiles[i + s.ahead];
        ahead.object->PrefetchTurn(ahead.x, ahead.y, s.stage);
      }
    const MicroTile& t = m_MicroTiles[i];
    t.object->UpdateScreenPos(t.ax, t.ay, t.x, t.y);
  }
  return 0;
}

// ---- mouse buttons -------------------------------------------------------------------

int CIsoWelt::OnButtonUp(int, int, int) {
  const CIsoObjGroup* g =
      GetGroupAt(static_cast<unsigned short>(m_MouseTileX), static_cast<unsigned short>(m_MouseTileY), ISO_LAYER_GROUND);
  if (g)
    QNO_ERROR(QNO_SEV_INFO, "Richtung : %d, GroupRichtung: %d, = %d", g_IsoRichtung, static_cast<int>(g->GetRichtung()),
              (g_IsoRichtung + g->GetRichtung()) % 4);
  return 0;
}

int CIsoWelt::OnButtonDown(int, int, int) { return 0; }
int CIsoWelt::OnMouseMove(int, int, int) { return 1; }

// ---- the map's savegame record: the rivers -------------------------------------------

int CIsoWelt::SerializeGameStore(FILE* file) {
  CList* objects = m_pHost->GetObjectList();
  // One walk over the world's objects finds the rivers among them.
  std::vector<CZorvaObject*> rivers;
  if (objects)
    for (CZorvaObject* o = objects->GetHead(); o; o = o->GetNext())
      if (static_cast<CWorldObj*>(o)->GetType() == OBJ_RIVER) rivers.push_back(o);
  ZorRecordWriter out(file);
  out.U32(static_cast<uint32_t>(rivers.size()));
  if (!out.Ok()) return 1;
  // From the tail: the loader lists each river it makes at the head, so the
  // rivers come back in the order they had and a game saved again after a
  // load writes the same bytes.
  for (auto r = rivers.rbegin(); r != rivers.rend(); ++r)
    if ((*r)->SerializeGameStore(file) != 0) return 1;
  return 0;
}

int CIsoWelt::SerializeGameLoad(FILE* file) {
  ZorRecordReader in(file);
  uint32_t count = in.U32();
  if (!in.Ok()) return 1;
  // The count comes from the file: it may promise no more rivers than the
  // bytes left can hold (and than the map has cells).
  int result = 0;
  if (count > ISO_MAP_SIZE * ISO_MAP_SIZE || !in.Fits(count, CRiverObject::kRecordSize)) {
    QNO_ERROR(QNO_SEV_ERROR, "CIsoWelt: %d rivers do not fit into the savegame", static_cast<int>(count));
    result = 1;
    count = 0;
  }
  for (uint32_t i = 0; i < count && result == 0; ++i) {
    auto* river = dynamic_cast<CRiverObject*>(m_pHost->CreateObject(OBJ_RIVER));
    if (!river || river->SerializeGameLoad(file) != 0 ||
        SetIsoTileAt(river->GetX(), river->GetY(), ISO_LAYER_GROUND, CIsoRichtung(river->GetRichtung()),
                     river->GetResID(), river) != 0)
      result = 1;
  }
  for (int x = 0; x < ISO_MAP_SIZE; ++x)
    for (int y = 0; y < ISO_MAP_SIZE; ++y)
      if (CIsoInfo* cell = GetIsoInfo(x, y))
        cell->SetVisible(false, static_cast<unsigned short>(x), static_cast<unsigned short>(y));
  return result;
}
