#include "framework/qno_font.h"

#include <algorithm>

#include "framework/qno_bitmap.h"
#include "framework/qno_bytes.h"
#include "framework/qno_display.h"
#include "framework/qno_resource.h"

bool QnoBitmapFont::Validate(const uint8_t* data, uint32_t length) {
  if (!data || length < QNO_FONT_HEADER_SIZE) return false;
  const uint32_t first = qno_rd16(data, 8), last = qno_rd16(data, 10);
  const uint32_t height = qno_rd32(data, 16), table = qno_rd32(data, 20), glyphs = qno_rd32(data, 24);
  // Codes are the bytes of a string.
  if (first > last || last > 255 || height == 0 || height > 1024) return false;
  const uint32_t count = last - first + 1;
  if (!qno_in_blob(table, static_cast<uint64_t>(count) * QNO_FONT_GLYPH_ENTRY_SIZE, length)) return false;
  if (glyphs > length) return false;
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t entry = table + i * QNO_FONT_GLYPH_ENTRY_SIZE;
    const uint32_t width = qno_rd16(data, entry + 2), offset = qno_rd32(data, entry + 4);
    const uint64_t size = static_cast<uint64_t>((width + 3) & ~3u) * height;
    if (!qno_in_blob(static_cast<uint64_t>(glyphs) + offset, size, length)) return false;
  }
  return true;
}

const QnoBitmapFont* QnoBitmapFont::FromResource(QnoResourceManager* manager, unsigned id) {
  return manager ? static_cast<const QnoBitmapFont*>(manager->GetResource(id, &QnoBitmapFont::Validate)) : nullptr;
}

unsigned QnoBitmapFont::GetFirstChar() const { return qno_rd16(Bytes(), 8); }
unsigned QnoBitmapFont::GetLastChar() const { return qno_rd16(Bytes(), 10); }
int QnoBitmapFont::GetHeight() const { return static_cast<int>(qno_rd32(Bytes(), 16)); }

int QnoBitmapFont::GetGlyphWidth(unsigned c) const {
  if (c < GetFirstChar() || c > GetLastChar()) return -1;
  return qno_rd16(Bytes(), qno_rd32(Bytes(), 20) + (c - GetFirstChar()) * QNO_FONT_GLYPH_ENTRY_SIZE + 2);
}

const uint8_t* QnoBitmapFont::GetGlyphPixels(unsigned c) const {
  if (c < GetFirstChar() || c > GetLastChar()) return nullptr;
  const uint32_t entry = qno_rd32(Bytes(), 20) + (c - GetFirstChar()) * QNO_FONT_GLYPH_ENTRY_SIZE;
  return Bytes() + qno_rd32(Bytes(), 24) + qno_rd32(Bytes(), entry + 4);
}

int QnoRenderBuffer::RenderText(const QnoBitmapFont* font, int x, int y, const char* text, int colour, int) {
  if (!font || !text) return 1;
  const int height = font->GetHeight();
  int pen = 0;
  for (const unsigned char* s = reinterpret_cast<const unsigned char*>(text); *s; ++s) {
    const int width = font->GetGlyphWidth(*s);
    if (width < 0) continue;
    QnoBitmapInfo glyph;
    glyph.pixels = font->GetGlyphPixels(*s);
    glyph.width = width;
    glyph.height = height;
    glyph.rowBytes = (width + 3) & ~3;
    glyph.bitsPerPixel = 8;
    glyph.keyColor = 0;
    glyph.bottomFirst = 1;
    DrawBitmap_Mask(&glyph, x + pen + (width >> 1), y + height / 2, static_cast<uint32_t>(colour));
    pen += width;
  }
  return 0;
}

int QnoRenderBuffer::GetTextLength(const QnoBitmapFont* font, const char* text) const {
  if (!font || !text) return 0;
  int length = 0;
  for (const unsigned char* s = reinterpret_cast<const unsigned char*>(text); *s; ++s) {
    const int width = font->GetGlyphWidth(*s);
    if (width < 0) return 0;
    length += width;
  }
  return length;
}

void QnoRenderBuffer::DrawBitmap_Mask(const QnoBitmapInfo* info, int x, int y, uint32_t colour) {
  uint8_t* base = GetBuffer();
  if (!base || !info || !info->pixels || info->width <= 0 || info->height <= 0) return;
  const int left = x - (info->width >> 1), top = y - (info->height >> 1);
  const int x0 = std::max(left, ClipLeft()), x1 = std::min(left + info->width, ClipRight());
  const int y0 = std::max(top, ClipTop()), y1 = std::min(top + info->height, ClipBottom());
  if (x0 >= x1 || y0 >= y1) return;
  NoteTouched(x0, y0, x1, y1);
  const uint16_t p = static_cast<uint16_t>(colour);
  const uint8_t key = static_cast<uint8_t>(info->keyColor);
  for (int yy = y0; yy < y1; ++yy) {
    const int r = yy - top;
    const uint8_t* src = info->pixels + static_cast<ptrdiff_t>(info->bottomFirst ? info->height - 1 - r : r) *
                                            info->rowBytes;
    uint16_t* dst = reinterpret_cast<uint16_t*>(base + static_cast<ptrdiff_t>(yy) * GetPitch());
    for (int xx = x0; xx < x1; ++xx)
      if (src[xx - left] != key) dst[xx] = p;
  }
}
