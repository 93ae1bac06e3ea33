// The small map: its pictures, the view frame and the click that centres
// the isometric view.
#include "ui/small_map.h"

#include <algorithm>

#include "framework/qno_display.h"
#include "framework/qno_log.h"
#include "iso/iso_geometry.h"

QnoRenderBuffer* CSmallMap::m_RenderBuffer = nullptr;
IsoViewRectType CSmallMap::m_ViewRectIso;
CSmallMap::Window CSmallMap::m_Window;

namespace {
constexpr int kGrassR = 0, kGrassG = 159, kGrassB = 98;
constexpr int kFrameGrey = 64;
}  // namespace

CSmallMap::CSmallMap(CViewFilter* filter, QnoResourceManager* rm, QnoDisplay* display, TSimDistrictMapType layer)
    : m_pViewFilter(filter), m_pResourceManager(rm) {
  m_Window.world.Free();
  m_Window.screen.Free();
  m_RenderBuffer = display ? display->GetRenderBuffer() : nullptr;
  m_MapIndex = CViewFilter::AddMap(UpdateTile, UpdateViewRect, layer, UpdateTileTest);
  if (m_MapIndex < 0) QNO_ERROR(QNO_SEV_ERROR, "konnte keine neue Map anlegen");
  m_Hidden = 1;
  m_Window.direction = 0;
}

CSmallMap::~CSmallMap() { Destroy(); }

int CSmallMap::Create(int x, int y, int w, int h) {
  m_Window.x = x;
  m_Window.y = y;
  m_Window.w = w;
  m_Window.h = h;
  m_Window.world.Create(w, h);
  m_Window.screen.Create(w, h);
  m_Window.direction = 0;
  m_Window.worldDirty = m_Window.screenDirty = false;
  SetBitmapEmtpy();
  m_Hidden = 1;
  return 0;
}

int CSmallMap::Destroy() {
  m_Window.world.Free();
  m_Window.screen.Free();
  return 1;
}

void CSmallMap::CellPixel(int x, int y, int direction, int* px, int* py) {
  int rx = 0, ry = 0;
  switch (direction & 3) {
    case 0: rx = 127 - y, ry = 127 - x; break;
    case 1: rx = 127 - x, ry = y; break;
    case 2: rx = y, ry = x; break;
    default: rx = x, ry = 127 - y; break;
  }
  const float w = static_cast<float>(m_Window.w), h = static_cast<float>(m_Window.h);
  const float a = w / 256.0f, b = h / 256.0f;
  *px = static_cast<int>(a * static_cast<float>(rx) - a * static_cast<float>(ry) + w / 2.0f);
  *py = static_cast<int>(b * static_cast<float>(rx) + b * static_cast<float>(ry));
}

int CSmallMap::IsoKoorToScreenKoor(int x, int y, int* px, int* py) const {
  CellPixel(x, y, m_Window.direction, px, py);
  return 0;
}

int CSmallMap::RotateIsoKoor(int x, int y, int* rx, int* ry) const {
  switch (m_Window.direction & 3) {
    case 0: *rx = 127 - y, *ry = 127 - x; break;
    case 1: *rx = 127 - x, *ry = y; break;
    case 2: *rx = y, *ry = x; break;
    default: *rx = x, *ry = 127 - y; break;
  }
  return 0;
}

int CSmallMap::SetBitmapEmtpy() {
  const uint16_t grass = CMapPicture::Closest(m_RenderBuffer, kGrassR, kGrassG, kGrassB);
  for (CMapPicture* picture : {&m_Window.world, &m_Window.screen}) {
    if (!picture->IsValid()) continue;
    for (int y = 0; y < ISO_MAP_SIZE; ++y)
      for (int x = 0; x < ISO_MAP_SIZE; ++x) {
        int px, py;
        CellPixel(x, y, m_Window.direction, &px, &py);
        picture->SetClipped(py, px, grass);
      }
  }
  return 0;
}

int CSmallMap::Render(QnoDisplay* display) {
  if (m_Hidden || !display || !display->GetRenderBuffer() || !m_Window.screen.IsValid()) return 0;
  display->GetRenderBuffer()->DrawBitmap(m_Window.screen.Bitmap(), m_Window.x + m_Window.w / 2,
                                         m_Window.y + m_Window.h / 2, 0);
  return 0;
}

int CSmallMap::OnPlayloopTurn() {
  if (m_Hidden) return 0;
  if (m_Window.worldDirty) RebuildWorld();
  if (m_Window.screenDirty) RebuildScreen();
  return 0;
}

void CSmallMap::Update() { m_Window.worldDirty = m_Window.screenDirty = true; }

int CSmallMap::ChangeFilter(TSimDistrictMapType layer) {
  CViewFilter::ChangeFilter(m_MapIndex, layer);
  Update();
  RebuildWorld();
  RebuildScreen();
  return 0;
}

int CSmallMap::DisplayHideMap(DisplayStatus s) {
  if (s == DISPLAY_TOGGLE) s = m_Hidden ? DISPLAY_SHOW : DISPLAY_HIDE;
  if (s == DISPLAY_SHOW) {
    if (m_Hidden) {
      Update();
      RebuildWorld();
      RebuildScreen();
    }
    m_Hidden = 0;
  } else if (s == DISPLAY_HIDE) {
    m_Hidden = 1;
  }
  return m_Hidden;
}

int CSmallMap::MouseOverWindow(int mx, int my) {
  m_Window.left = m_Window.x;
  m_Window.top = m_Window.y;
  if (mx < m_Window.x || my < m_Window.y || mx > m_Window.x + m_Window.w || my > m_Window.y + m_Window.h) return 2;
  return 1;
}

void CSmallMap::Blend(int x, int y, const TMap_ColorHeight* c) {
  CMapPicture& world = m_Window.world;
  if (!world.IsValid() || !IsoInMap(x, y)) return;
  int px, py;
  CellPixel(x, y, m_Window.direction, &px, &py);
  if (py < 0 || py >= world.Height() || px < 0 || px >= world.Width()) return;
  int r, g, b;
  CMapPicture::Unpack(world.Get(py, px), QNO_COLOR_565, &r, &g, &b);
  world.Set(py, px, CMapPicture::Closest(m_RenderBuffer, (c->red >> 1) + (r >> 1), (c->green >> 1) + (g >> 1),
                                          (c->blue >> 1) + (b >> 1)));
  m_Window.screenDirty = true;
}

enumOK CSmallMap::UpdateTile(int x, int y, TMap_ColorHeight* c) {
  if (c) Blend(x, y, c);
  return ENUM_OK;
}

enumOK CSmallMap::UpdateTileTest(int x, int y, TMap_ColorHeight* c, enumTestType) { return UpdateTile(x, y, c); }

enumOK CSmallMap::UpdateViewRect(IsoViewRectType r) {
  m_ViewRectIso = r;
  if (r.richtung != m_Window.direction) m_Window.worldDirty = true;
  m_Window.direction = r.richtung & 3;
  m_Window.screenDirty = true;
  return ENUM_OK;
}

void CSmallMap::RebuildWorld() {
  CMapPicture& world = m_Window.world;
  if (!world.IsValid()) return;
  world.Clear();
  m_Window.screen.Clear();
  // Without an isometric map there are no cells to colour.
  for (int y = 0; y < ISO_MAP_SIZE && CViewFilter::GetIsoWelt(); ++y)
    for (int x = 0; x < ISO_MAP_SIZE; ++x) {
      TMap_ColorHeight c;
      CViewFilter::GetIsoTileColor(m_MapIndex, x, y, &c);
      int px, py;
      CellPixel(x, y, m_Window.direction, &px, &py);
      if (py < 0 || py >= world.Height() || px < 0 || px >= world.Width()) continue;
      const uint16_t old = world.Get(py, px);
      if (old == 0) {
        world.Set(py, px, CMapPicture::Closest(m_RenderBuffer, c.red, c.green, c.blue));
      } else {
        // A second cell on the same pixel: the two are averaged.
        int r, g, b;
        CMapPicture::Unpack(old, QNO_COLOR_565, &r, &g, &b);
        world.Set(py, px, CMapPicture::Closest(m_RenderBuffer, (c.red + r) >> 1, (c.green + g) >> 1, (c.blue + b) >> 1));
      }
    }
  m_Window.worldDirty = false;
  m_Window.screenDirty = true;
}

void CSmallMap::RebuildScreen() {
  CMapPicture& screen = m_Window.screen;
  const CMapPicture& world = m_Window.world;
  if (!screen.IsValid() || !world.IsValid()) return;
  std::copy(world.Pixels(), world.Pixels() + static_cast<long>(world.RowBytes()) * world.Height(), screen.Pixels());
  const int w = m_Window.w, h = m_Window.h;
  int x1, y1, x2, y2;
  CellPixel(m_ViewRectIso.k0x, m_ViewRectIso.k0y, m_Window.direction, &x1, &y1);
  CellPixel(m_ViewRectIso.k3x, m_ViewRectIso.k3y, m_Window.direction, &x2, &y2);
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  x1 = std::clamp(x1, 0, w - 1), x2 = std::clamp(x2, 0, w - 1);
  y1 = std::clamp(y1, 0, h - 1), y2 = std::clamp(y2, 0, h - 1);
  const uint16_t grey = CMapPicture::Closest(m_RenderBuffer, kFrameGrey, kFrameGrey, kFrameGrey);
  const float halfW = static_cast<float>(w) / 2.0f, halfH = static_cast<float>(h) / 2.0f;
  auto plot = [&](int row, int column) {
    if (row > h / 2) {
      // Above the middle the frame stops at the diamond's two upper edges.
      const float d = static_cast<float>(column < w / 2 ? column : w - column);
      if (d / halfW + static_cast<float>(h - row) / halfH < 1.0f) return;
    }
    screen.Set(row, column, grey);
  };
  for (int column = x1; column <= x2; ++column) plot(y1, column), plot(y2, column);
  for (int row = y1; row <= y2; ++row) plot(row, x1), plot(row, x2);
  m_Window.screenDirty = false;
}

int CSmallMap::InputFilter(QnoInteractionEvent* e, QnoView*) {
  if (!e) return 1;
  if (e->type == QNO_EVENT_KEYDOWN && e->x == kToggleKey) {
    DisplayHideMap(DISPLAY_TOGGLE);
    return 0;
  }
  if (e->type == QNO_EVENT_KEYDOWN && e->x == kTurnKey) {
    m_Window.direction = (m_Window.direction + 1) & 3;
    return 1;
  }
  if (e->type != QNO_EVENT_BUTTONDOWN || e->button != 0) return 1;
  m_Window.lastMouseX = e->x;
  m_Window.lastMouseY = e->y;
  if (m_Hidden || MouseOverWindow(e->x, e->y) != 1) return 1;
  const float w = static_cast<float>(m_Window.w), h = static_cast<float>(m_Window.h);
  const float dy = static_cast<float>(e->y - m_Window.y);
  const float dx = static_cast<float>(e->x - m_Window.x) - static_cast<float>(m_Window.w / 2);
  const float k = 0.0078125f;
  const int A = static_cast<int>(dy / (h * k)), B = static_cast<int>(dx / (w * k)),
            D = static_cast<int>(dx / (-w * k));
  int cx = 0, cy = 0;
  switch (m_Window.direction & 3) {
    case 0: cx = A + B, cy = A + D; break;
    case 1: cx = A + D, cy = 127 - (A + B); break;
    case 2: cx = 127 - (A + B), cy = 127 - (A + D); break;
    default: cx = 127 - (A + D), cy = A + B; break;
  }
  if (cx < 1 || cx > 126 || cy < 1 || cy > 126) return 1;
  CViewFilter::UpdateIsoWeltCenter(cx, cy);
  return 0;
}
