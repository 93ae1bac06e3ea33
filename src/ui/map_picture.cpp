#include "ui/map_picture.h"

#include <cstdlib>
#include <cstring>

#include "framework/qno_display.h"

bool CMapPicture::Create(int w, int h) {
  Free();
  m_blob = ZorvaBitmap::CreateDefault(w, h, 16);
  if (!m_blob) return false;
  // The display's format: 565.
  m_blob[7] = 2;
  QnoBitmap* bitmap = Bitmap();
  m_pixels = bitmap->GetPixelPtr();
  m_rowBytes = bitmap->GetRowBytes();
  m_w = w;
  m_h = h;
  Clear();
  return true;
}

void CMapPicture::Free() {
  std::free(m_blob);
  m_blob = nullptr;
  m_pixels = nullptr;
  m_w = m_h = m_rowBytes = 0;
}

void CMapPicture::Clear(uint16_t pixel) {
  if (!m_pixels) return;
  if (pixel == 0) {
    std::memset(m_pixels, 0, static_cast<size_t>(m_rowBytes) * m_h);
    return;
  }
  for (int r = 0; r < m_h; ++r) {
    uint16_t* row = Row(r);
    for (int c = 0; c < m_w; ++c) row[c] = pixel;
  }
}

uint16_t CMapPicture::Closest(const QnoRenderBuffer* buffer, int r, int g, int b) {
  static const QnoRenderBuffer plain;
  const QnoRenderBuffer* use = buffer ? buffer : &plain;
  return static_cast<uint16_t>(
      use->GetClosestColor(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)));
}

void CMapPicture::Unpack(uint16_t pixel, int format, int* r, int* g, int* b) {
  if (format == QNO_COLOR_555) {
    *r = ((pixel >> 10) & 0x1F) << 3;
    *g = ((pixel >> 5) & 0x1F) << 3;
    *b = (pixel & 0x1F) << 3;
  } else {
    *r = ((pixel >> 11) & 0x1F) << 3;
    *g = ((pixel >> 5) & 0x3F) << 2;
    *b = (pixel & 0x1F) << 3;
  }
}
