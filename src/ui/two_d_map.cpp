// The thematic map: layers, palettes, the colour key, showing and input.
#include "ui/two_d_map.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "framework/qno_display.h"
#include "framework/qno_font.h"
#include "framework/qno_log.h"
#include "gui/text_markup.h"
#include "iso/iso_geometry.h"
#include "ui/ui_host.h"
#include "worldbase/zor_world_host.h"

QnoRenderBuffer* CTwoDMap::m_RenderBuffer = nullptr;
CTwoDMap::ViewRect CTwoDMap::m_ViewRect;
CTwoDMap::Window CTwoDMap::m_Window;
int CTwoDMap::m_WorldBuilds = 0;

namespace {
// The layers' names, index layer - 1.
const char* const Filter_Namen[CTwoDMap::kLayerCount] = {
    "QNO_MAP_I_STRUKTUR",           "QNO_MAP_I_BEVOELKERUNGSDICHTE",
    "QNO_MAP_I_ARBEITSPLATZDICHTE", "QNO_MAP_I_LEHRSTEHENDE_WOHNUNGEN",
    "QNO_MAP_I_LEHRSTEHENDE_GEWERBEFLAECHE", "QNO_MAP_V_STRASSENTYP",
    "QNO_MAP_V_STRASSENAUSLASTUNG", "QNO_MAP_V_OPNVNETZ",
    "QNO_MAP_V_OPNVNUTZER",         "QNO_MAP_V_ANTENNEN",
    "QNO_MAP_V_CARSHARING",         "QNO_MAP_V_PARKUNDRIDE",
    "QNO_MAP_V_PARKRAUM",           "QNO_MAP_V_PKWERREICHBARKEIT",
    "QNO_MAP_U_EMMISSIONEN",        "QNO_MAP_U_LAERM",
    "QNO_MAP_U_WOHNQUALITAET",      "QNO_MAP_NOT_USED1",
    "QNO_MAP_NOT_USED2",            "QNO_MAP_NOT_USED3",
    "QNO_MAP_NOT_USED4",            "QNO_MAP_NOT_USED5",
    "QNO_MAP_NOT_USED6",            "QNO_MAP_NOT_USED7"};
// Which layer numbers 0-23 are offered.
constexpr bool Filter_Active[CTwoDMap::kLayerCount] = {true, true, true, true, true, true, true, true,
                                                       true, true, true, true, true, true, true, true,
                                                       true, true, true, true, true, true, true, true};

enum class Ramp { kUnchanged, kBlackGreen, kGreenBlack, kGreenRedZeroBlack, kGreenRed, kBump, kReversedBump, kRedGreen };
enum class Zero { kKeep, kDarkBlue, kGrass, kBlack };
enum class Frame { kUnchanged, kBlack, kWhite, kLightBlue };
struct LayerLook {
  Ramp ramp;
  Zero zero;
  Frame frame;
};
// Palette and frame colour by layer 0-23.
constexpr LayerLook kLooks[CTwoDMap::kLayerCount] = {
    {Ramp::kUnchanged, Zero::kKeep, Frame::kUnchanged},          // 0: the net only
    {Ramp::kUnchanged, Zero::kKeep, Frame::kBlack},              // 1
    {Ramp::kBlackGreen, Zero::kKeep, Frame::kWhite},             // 2
    {Ramp::kBlackGreen, Zero::kKeep, Frame::kWhite},             // 3
    {Ramp::kGreenRedZeroBlack, Zero::kKeep, Frame::kWhite},      // 4
    {Ramp::kGreenRedZeroBlack, Zero::kKeep, Frame::kWhite},      // 5
    {Ramp::kUnchanged, Zero::kKeep, Frame::kBlack},              // 6
    {Ramp::kGreenRed, Zero::kKeep, Frame::kWhite},               // 7
    {Ramp::kBump, Zero::kDarkBlue, Frame::kWhite},               // 8
    {Ramp::kBump, Zero::kGrass, Frame::kWhite},                  // 9
    {Ramp::kBump, Zero::kBlack, Frame::kWhite},                  // 10
    {Ramp::kBump, Zero::kBlack, Frame::kWhite},                  // 11
    {Ramp::kBump, Zero::kBlack, Frame::kWhite},                  // 12
    {Ramp::kBump, Zero::kBlack, Frame::kWhite},                  // 13
    {Ramp::kBump, Zero::kBlack, Frame::kWhite},                  // 14
    {Ramp::kReversedBump, Zero::kBlack, Frame::kLightBlue},      // 15
    {Ramp::kReversedBump, Zero::kBlack, Frame::kLightBlue},      // 16
    {Ramp::kRedGreen, Zero::kKeep, Frame::kLightBlue},           // 17
    {Ramp::kGreenBlack, Zero::kKeep, Frame::kLightBlue},         // 18
    {Ramp::kGreenBlack, Zero::kKeep, Frame::kLightBlue},         // 19
    {Ramp::kBlackGreen, Zero::kKeep, Frame::kUnchanged},         // 20
    {Ramp::kBlackGreen, Zero::kKeep, Frame::kUnchanged},         // 21
    {Ramp::kBump, Zero::kDarkBlue, Frame::kUnchanged},           // 22
    {Ramp::kUnchanged, Zero::kKeep, Frame::kUnchanged},          // 23
};

// Red and green of the bump at t (0..1): red at 0, green at 1, a bright
// yellow in the middle.
void Bump(double t, int* r, int* g) {
  const double b = 0.15 / (((t - 0.5) * 10.0) * ((t - 0.5) * 10.0) + 1.0);
  *r = static_cast<int>(250.0 * (1.0 - t * t + b)) % 256;
  *g = static_cast<int>(250.0 * (1.0 - (1.0 - t) * (1.0 - t) + b)) % 256;
}

bool IsQueryLayer(int layer) { return layer == 14 || layer == 18 || layer == 19; }
}  // namespace

CTwoDMap::CTwoDMap(CViewFilter* filter, QnoResourceManager* rm, QnoDisplay* display, TSimDistrictMapType layer)
    : m_pViewFilter(filter), m_pResourceManager(rm) {
  m_Window.world.Free();
  m_Window.screen.Free();
  m_Window.key.Free();
  m_RenderBuffer = display ? display->GetRenderBuffer() : nullptr;
  m_MapIndex = CViewFilter::AddMap(UpdateTile, UpdateViewRect, layer, UpdateTileTest);
  if (m_MapIndex < 0) QNO_ERROR(QNO_SEV_ERROR, "konnte keine neue Map anlegen");
  m_Hidden = 1;
  m_Window.direction = 0;
}

CTwoDMap::~CTwoDMap() { Destroy(); }

int CTwoDMap::Create(int x, int y, int w, int h, int centreColumn, int centreRow, float zoom) {
  m_Window.x = x;
  m_Window.y = y;
  m_Window.w = w;
  m_Window.h = h;
  m_Window.centreColumn = centreColumn;
  m_Window.centreRow = centreRow;
  m_Window.zoom = std::clamp(zoom, 0.125f, 8.0f);
  m_Window.screen.Create(w, h);
  m_Window.columnBlock.resize(w > 0 ? w : 0);
  for (int c = 0; c < w; ++c) m_Window.columnBlock[c] = std::min(c * ISO_MAP_SIZE / w, ISO_MAP_SIZE - 1);
  m_Window.world.Create(ISO_MAP_SIZE, ISO_MAP_SIZE);
  m_Window.key.Create(kKeyWidth, kKeyHeight);
  m_Window.direction = 0;
  m_Window.worldDirty = m_Window.screenDirty = false;
  m_Hidden = 1;
  return 0;
}

int CTwoDMap::Destroy() {
  m_Window.world.Free();
  m_Window.screen.Free();
  m_Window.key.Free();
  return 1;
}

uint16_t CTwoDMap::Colour(int r, int g, int b) const { return CMapPicture::Closest(m_RenderBuffer, r, g, b); }

const char* CTwoDMap::GetFilterName(TSimDistrictMapType layer) {
  return layer >= 1 && layer <= kLayerCount ? Filter_Namen[layer - 1] : nullptr;
}

TSimDistrictMapType CTwoDMap::GetFilter() const { return CViewFilter::GetFilter(m_MapIndex); }

int CTwoDMap::ChangeFilter(TSimDistrictMapType layer) {
  // Layers come from window parameters: anything outside the table is
  // layer 0, the net alone.
  if (layer < 0 || layer >= kLayerCount) layer = 0;
  while (!Filter_Active[layer]) layer = (layer + 1) % kLayerCount;
  CViewFilter::ChangeFilter(m_MapIndex, layer);
  m_Window.worldDirty = true;
  BuildPalette(layer);
  BuildKey();
  m_Window.worldDirty = m_Window.screenDirty = true;
  RebuildWorld();
  RebuildScreen();
  return 0;
}

void CTwoDMap::BuildPalette(int layer) {
  const LayerLook& look = kLooks[layer];
  switch (look.frame) {
    case Frame::kBlack: m_FrameColor = Colour(0, 0, 0); break;
    case Frame::kWhite: m_FrameColor = Colour(255, 255, 255); break;
    case Frame::kLightBlue: m_FrameColor = Colour(128, 128, 255); break;
    case Frame::kUnchanged: break;
  }
  if (look.ramp == Ramp::kUnchanged) return;
  for (int i = 0; i < 256; ++i) {
    const double t = i / 255.0;
    int r = 0, g = 0, b = 0;
    switch (look.ramp) {
      case Ramp::kBlackGreen: g = i; break;
      case Ramp::kGreenBlack: g = 255 - i; break;
      case Ramp::kGreenRedZeroBlack:
        if (i > 0) r = i, g = 255 - i;
        break;
      case Ramp::kGreenRed: r = i, g = 255 - i; break;
      case Ramp::kBump: Bump(t, &r, &g); break;
      case Ramp::kReversedBump: Bump(1.0 - t, &r, &g); break;
      case Ramp::kRedGreen:
        if (i <= 126) r = 255 - 2 * i, g = i;
        else if (i <= 254) g = i + 1;
        break;
      case Ramp::kUnchanged: break;
    }
    m_Palette[i] = Colour(r, g, b);
  }
  switch (look.zero) {
    case Zero::kDarkBlue: m_Palette[0] = Colour(10, 10, 150); break;
    case Zero::kGrass: m_Palette[0] = Colour(0, 159, 98); break;
    case Zero::kBlack: m_Palette[0] = Colour(0, 0, 0); break;
    case Zero::kKeep: break;
  }
}

void CTwoDMap::BuildKey() {
  CMapPicture& key = m_Window.key;
  if (!key.IsValid()) return;
  for (int c = 0; c < key.Width(); ++c) {
    const int entry = std::clamp(static_cast<int>(std::floor(c / static_cast<double>(kKeyWidth) * 255.0)), 0, 255);
    for (int r = 0; r < key.Height(); ++r) key.Set(r, c, m_Palette[entry]);
  }
}

void CTwoDMap::Update() { m_Window.worldDirty = m_Window.screenDirty = true; }

int CTwoDMap::UpdateAll() {
  Update();
  return 0;
}

int CTwoDMap::OnPlayloopTurn() {
  if (m_Hidden) return 0;
  if (m_Window.worldDirty) RebuildWorld();
  if (m_Window.screenDirty) RebuildScreen();
  return 0;
}

int CTwoDMap::Render(QnoDisplay* display, int x, int y) {
  if (m_Hidden) return 0;
  m_Window.x = x;
  m_Window.y = y;
  if (display && display->GetRenderBuffer() && m_Window.screen.IsValid())
    display->GetRenderBuffer()->DrawBitmap(m_Window.screen.Bitmap(), x, y, 0);
  return 0;
}

int CTwoDMap::RenderColorKey(QnoDisplay* display, int x, int y) {
  if (m_Hidden || !display || !display->GetRenderBuffer()) return 0;
  const int layer = GetFilter();
  if (layer < 2 || layer == 6 || layer >= 20) return 0;
  QnoRenderBuffer* buffer = display->GetRenderBuffer();
  if (m_Window.key.IsValid()) buffer->DrawBitmap(m_Window.key.Bitmap(), x, y, 0);
  if (layer != 2 && layer != 3) return 0;
  char text[48];
  std::snprintf(text, sizeof text, "%.0f", std::clamp(static_cast<double>(m_Maximum), 1000.0, 1e12));
  CTextMarkup::InsertTausenderPunkt(text, sizeof text, CWorldHost::Get()->GetLanguage() == 1 ? 1 : 0);
  const QnoBitmapFont* font =
      QnoBitmapFont::FromResource(m_pResourceManager ? m_pResourceManager : CUiHost::Get()->GetResourceManager(),
                                  kFontFigures);
  if (!font) return 0;
  const int width = buffer->GetTextLength(font, text);
  buffer->RenderText(font, x + 75 - width, y + 7, text, static_cast<int>(Colour(42, 52, 76)));
  return 0;
}

int CTwoDMap::DisplayHideMap(DisplayStatus s) {
  if (s == DISPLAY_TOGGLE) s = m_Hidden ? DISPLAY_SHOW : DISPLAY_HIDE;
  if (s == DISPLAY_SHOW) {
    if (m_Hidden) {
      Update();
      m_Hidden = 0;
      RebuildWorld();
      RebuildScreen();
    }
    m_Hidden = 0;
  } else if (s == DISPLAY_HIDE) {
    m_Hidden = 1;
    m_Window.hit = 2;
  }
  return m_Hidden;
}

int CTwoDMap::MouseOverWindow(int mx, int my) {
  m_Window.left = m_Window.x - m_Window.w / 2;
  m_Window.top = m_Window.y - m_Window.h / 2;
  if (mx < m_Window.left || mx > m_Window.left + m_Window.w || my < m_Window.top || my > m_Window.top + m_Window.h)
    return 2;
  return my <= m_Window.top + 20 ? 0 : 1;
}

bool CTwoDMap::ScreenToCell(int mx, int my, int* cx, int* cy) const {
  // The exact inverse of the screen picture: the block under the cursor,
  // then the world pixel it shows by the rotation, then its cell.
  const int left = m_Window.x - m_Window.w / 2, top = m_Window.y - m_Window.h / 2;
  const int R = m_Window.h - 1 - (my - top), C = mx - left;
  if (R < 0 || R >= m_Window.h || C < 0 || C >= m_Window.w) return false;
  const int i = R * ISO_MAP_SIZE / m_Window.h, j = C * ISO_MAP_SIZE / m_Window.w;
  int row, column;
  switch (g_IsoRichtung & 3) {
    case 0: row = 127 - j, column = i; break;
    case 1: row = i, column = j; break;
    case 2: row = j, column = 127 - i; break;
    default: row = 127 - i, column = 127 - j; break;
  }
  *cx = 127 - column;
  *cy = row;
  return true;
}

bool CTwoDMap::SetQueryDistrictAt(int a, int b) {
  // The district of the cell under the cursor, for hover and click alike.
  const int u = a / 8, v = b / 8;
  int qx = -1, qy = -1;
  CUiHost* host = CUiHost::Get();
  if (host->GetQueryDistrict(&qx, &qy) && qx == u && qy == v) return false;
  host->SetQueryDistrict(u, v);
  return true;
}

int CTwoDMap::InputFilter(QnoInteractionEvent* e, QnoView*) {
  if (m_Hidden || !e) return 1;
  switch (e->type) {
    case QNO_EVENT_KEYDOWN:
      if (e->x == kRebuildKey) {
        m_Window.world.Clear();
        m_Window.screen.Clear();
        Update();
        return 0;
      }
      if (e->x == kClearKey) {
        m_Window.world.Clear();
        m_Window.screen.Clear();
        return 0;
      }
      return 1;
    case QNO_EVENT_MOUSEMOVE:
    case QNO_EVENT_BUTTONDOWN: {
      m_Window.lastMouseX = e->x;
      m_Window.lastMouseY = e->y;
      m_Window.hit = MouseOverWindow(e->x, e->y);
      if (m_Window.hit == 2) return 1;
      int a, b;
      if (!ScreenToCell(e->x, e->y, &a, &b)) return 0;
      if (e->type == QNO_EVENT_BUTTONDOWN) CViewFilter::UpdateIsoWeltCenter(a, b);
      if (IsQueryLayer(GetFilter()) && (SetQueryDistrictAt(a, b) || e->type == QNO_EVENT_BUTTONDOWN)) {
        Update();
        RebuildWorld();
        RebuildScreen();
      }
      return 0;
    }
    default: return 1;
  }
}
