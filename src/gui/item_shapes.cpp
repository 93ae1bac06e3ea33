#include "gui/item_shapes.h"

#include <cmath>

#include "framework/qno_display.h"
#include "gui/gui_host.h"

int CItemRect::Create(int x, int y, int w, int h, EItemType type, EFilledType fill, int colour, int) {
  m_nr = -1;
  CItem::Create(x, y, w, h, type, 0, -1);
  m_classCode = ITEM_CLASS_RECT;
  m_colour = colour;
  m_fill = fill;
  return 0;
}

int CItemRect::Render(QnoDisplay* display, QnoResourceManager*, int x, int y) {
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  if (!buffer) return 0;
  const int c = m_highlight ? m_highlightColour : m_colour;
  const uint32_t pixel = buffer->GetClosestColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
  const int left = x + m_x, top = y + m_y;
  if (m_fill == FILL_SOLID) buffer->FillRect(left, top, left + m_w, top + m_h, pixel);
  if (m_fill == FILL_FRAME) buffer->FrameRect(left, top, left + m_w - 1, top + m_h - 1, pixel);
  return 0;
}

int CItemBalkenMinMax::Create(int x, int y, int w, int h, EItemType type, EFilledType fill, int colourA,
                              int colourB) {
  m_nr = -1;
  CItem::Create(x, y, w, h, type, 0, -1);
  m_classCode = ITEM_CLASS_BAR;
  m_colourA = colourA;
  m_colourB = colourB;
  m_fill = fill;
  return 0;
}

void CItemBalkenMinMax::GetShownRange(double* value, double* lo, double* hi) {
  double v = 0, m = 0, M = m_w;
  if (m_type == 11) {
    CGuiHost* host = CGuiHost::Get();
    v = host->GetGameSpeed();
    m = host->GetGameSpeedMin();
    M = host->GetGameSpeedMax();
  } else if (CWindowVar* var = GetVar()) {
    var->GetValue(&v, false);
    var->GetMin(&m);
    var->GetMax(&M);
  }
  // An empty, inverted or overrun range shows an empty bar of 0-1.
  if (!std::isfinite(v) || v < m || v > M || !(M > m)) {
    v = 0;
    m = 0;
    M = 1;
  }
  *value = v;
  *lo = m;
  *hi = M;
}

int CItemBalkenMinMax::Render(QnoDisplay* display, QnoResourceManager*, int x, int y) {
  QnoRenderBuffer* buffer = display ? display->GetRenderBuffer() : nullptr;
  if (!buffer) return 0;
  double v = 0, m = 0, M = 1;
  GetShownRange(&v, &m, &M);
  const int X = x + m_x, Y = y + m_y, W = m_w, H = m_h;
  const int p = X + static_cast<int>((v - m) / (M - m) * W) - 1;
  switch (m_fill) {
    case FILL_SOLID:
      if (v != m) buffer->FillRect(X, Y, p, Y + H + 1, static_cast<uint32_t>(m_colourA));
      if (v != M) buffer->FillRect(p, Y, X + W - 1, Y + H + 1, static_cast<uint32_t>(m_colourB));
      break;
    case FILL_FRAME:
      if (v != m) buffer->FrameRect(X, Y, p, Y + H, static_cast<uint32_t>(m_colourA));
      if (v != M) buffer->FrameRect(p, Y, X + W - 1, Y + H, static_cast<uint32_t>(m_colourB));
      break;
    case FILL_LEVEL: {
      // A level bar: red up to the mark of 7, green beyond it.
      if (v < 5) v = 7;
      if (v == m) break;
      if (v > 7)
        buffer->FillRect(X, Y, X + static_cast<int>((v - m) / (M - m) * W), Y + H,
                         buffer->GetClosestColor(0, 255, 0));
      buffer->FillRect(X, Y, X + static_cast<int>((7 - m) / (M - m) * W), Y + H, buffer->GetClosestColor(255, 0, 0));
      break;
    }
    case FILL_FRAME_LOW:
      if (v != m) buffer->FrameRect(X, Y, p, Y + H, static_cast<uint32_t>(m_colourA));
      break;
    default:
      break;
  }
  return 0;
}
