// The street preview's drawing and its warnings: one tile picture per cell
// of the run (and of the second strip), in the buildable or the refused
// look; refusals reach the warning window with the tracks' own texts.
#include <algorithm>

#include "framework/qno_display.h"
#include "iso/iso_geometry.h"
#include "iso/iso_tile.h"
#include "iso/iso_welt.h"
#include "ui/str_preview.h"
#include "worldbase/zor_world_host.h"

namespace {
// Warnings that tracks show with texts of their own: (street id, track id),
// ended by a negative id.
constexpr int kTrackTexts[][2] = {{28, 39}, {18, 40}, {8, 41}, {9, 42}, {11, 12}, {85, 86}, {87, 88}, {6, 90}, {-1, -1}};
}  // namespace

int CStrPreviewRect::GetMessageText(int id, CStrassenType type) {
  if (!(type == STRASSE_SCHIENE)) return id;
  for (int i = 0; kTrackTexts[i][0] >= 0; ++i)
    if (kTrackTexts[i][0] == id) return kTrackTexts[i][1];
  return id;
}

int CStrPreviewRect::MsgBox(int id) {
  m_LastMessage = id;
  CWorldHost::Get()->SetAchtungWindow(id);
  return 0;
}

int CStrPreviewRect::Render(QnoDisplay* display, QnoResourceManager* resources) {
  CIsoTile* tile = CIsoTile::Get(resources, m_Valid ? kTileValid : kTileInvalid);
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  if (!tile || !buffer || !m_pMap) return 1;
  const int zoom = IsoZoomIndex();
  const auto rot = static_cast<TIsoRichtung>(g_IsoRichtung & 3);
  auto draw = [&](int x, int y) {
    int sx = 0, sy = 0;
    m_pMap->CellAnchor(x, y, zoom, sx, sy);
    tile->Render(buffer, resources, sx, sy, 0, rot);
  };
  const int x0 = std::min(m_StartX, m_EndX), x1 = std::max(m_StartX, m_EndX);
  const int y0 = std::min(m_StartY, m_EndY), y1 = std::max(m_StartY, m_EndY);
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      draw(x, y);
      if (SecondStripSet()) draw(x + m_SecDx, y + m_SecDy);
    }
  return 0;
}
