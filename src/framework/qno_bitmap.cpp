#include "framework/qno_bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "framework/qno_bytes.h"
#include "framework/qno_display.h"
#include "framework/qno_resource.h"

namespace {

// BMP field offsets.
constexpr uint32_t BMP_PIXEL_OFFSET = 10, BMP_INFO_SIZE = 14, BMP_WIDTH = 18, BMP_HEIGHT = 22, BMP_BPP = 28,
                   BMP_COMPRESSION = 30, BMP_COLORS_USED = 46, BMP_RED_MASK = 54;
constexpr uint32_t BMP_MIN_SIZE = 54;

int BmpBitsPerPixel(const uint8_t* d) {
  const int bpp = qno_rd16(d, BMP_BPP);
  return bpp == 0 ? 8 : bpp;
}

bool BmpCompressed(const uint8_t* d) {
  const uint32_t c = qno_rd32(d, BMP_COMPRESSION);
  return c != 0 && c != 3;
}

int BmpHeight(const uint8_t* d) {
  const int32_t h = static_cast<int32_t>(qno_rd32(d, BMP_HEIGHT));
  return h == INT32_MIN ? 0 : std::abs(h);
}

bool ValidateQbmp(const uint8_t* d, uint32_t len) {
  if (len < QBMP_HEADER_SIZE) return false;
  const uint8_t flags = d[5];
  const int bpp = d[6];
  if (bpp != 8 && bpp != 16 && bpp != 24) return false;
  if ((flags & QBMP_FLAG_PALETTE) && !qno_in_blob(QBMP_HEADER_SIZE, 4ull << bpp, len)) return false;
  const uint32_t width = qno_rd16(d, 8), height = qno_rd16(d, 10);
  const uint32_t pixelOffset = qno_rd32(d, 16), pixelSize = qno_rd32(d, 20), table = qno_rd32(d, 24);
  if (!qno_in_blob(pixelOffset, pixelSize, len)) return false;
  if (table == 0) {
    const uint64_t rowBytes = QnoBitmapRowBytes(static_cast<int>(width), bpp);
    return rowBytes * height <= pixelSize;
  }
  // Run-length rows: 8-bit only; the table holds rows 1..height-1, each
  // starting inside the pixel data (rows are decoded against its end).
  if (bpp != 8) return false;
  if (height > 1 && !qno_in_blob(table, 4ull * (height - 1), len)) return false;
  for (uint32_t r = 1; r < height; ++r)
    if (qno_rd32(d, table + 4 * (r - 1)) > pixelSize) return false;
  return true;
}

bool ValidateBmp(const uint8_t* d, uint32_t len) {
  if (len < BMP_MIN_SIZE) return false;
  const int bpp = BmpBitsPerPixel(d);
  if (bpp != 8 && bpp != 16 && bpp != 24) return false;
  // A 16-bit picture carries its three colour masks.
  if (bpp == 16 && len < BMP_RED_MASK + 12) return false;
  const int32_t width = static_cast<int32_t>(qno_rd32(d, BMP_WIDTH));
  if (width < 0 || width > 65535 || BmpHeight(d) > 65535) return false;
  if (BmpCompressed(d)) return true;  // never drawn
  const uint64_t rowBytes = QnoBitmapRowBytes(width, bpp);
  return qno_in_blob(qno_rd32(d, BMP_PIXEL_OFFSET), rowBytes * static_cast<uint64_t>(BmpHeight(d)), len);
}

inline uint16_t Rgb565(int r, int g, int b) { return static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | b >> 3); }

// The 8-bit colour table for one draw: the picture's palette, else the
// buffer's, else a grey ramp.
void BuildLut(const QnoBitmapInfo* info, const QnoRgbPalette* bufferPalette, uint16_t lut[256]) {
  const uint8_t* pal = info->palette;
  int count = info->paletteCount;
  int red = info->paletteBgr ? 2 : 0;
  if (!pal && bufferPalette) {
    pal = bufferPalette->GetEntries();
    count = static_cast<int>(bufferPalette->GetCount());
    red = 0;
  }
  for (int i = 0; i < 256; ++i) {
    if (pal && i < count)
      lut[i] = Rgb565(pal[4 * i + red], pal[4 * i + 1], pal[4 * i + 2 - red]);
    else
      lut[i] = Rgb565(i, i, i);
  }
}

// The visible part of a picture centred on (x, y), clipped to the buffer's
// clip rectangle.
struct Placement {
  int left, top;          // picture's top-left corner in the buffer
  int x0, y0, x1, y1;     // visible buffer rectangle, right and bottom exclusive
  bool Empty() const { return x0 >= x1 || y0 >= y1; }
};

Placement Place(const QnoRenderBuffer* rb, int width, int height, int x, int y) {
  Placement p;
  p.left = x - (width >> 1);
  p.top = y - (height >> 1);
  p.x0 = std::max(p.left, rb->ClipLeft());
  p.y0 = std::max(p.top, rb->ClipTop());
  p.x1 = std::min(p.left + width, rb->ClipRight());
  p.y1 = std::min(p.top + height, rb->ClipBottom());
  return p;
}

inline const uint8_t* SourceRow(const QnoBitmapInfo* info, int r) {
  const int stored = info->bottomFirst ? info->height - 1 - r : r;
  return info->pixels + static_cast<ptrdiff_t>(stored) * info->rowBytes;
}

template <bool Transparent>
void Blit(QnoRenderBuffer* rb, const QnoBitmapInfo* info, int x, int y) {
  // 16-bit pixels of another format are converted as they are copied (and
  // then keyed): pictures are shared resources and stay as stored.
  const int to = rb->GetColorFormat();
  const bool convert = info && info->bitsPerPixel == 16 && info->colorFormat != to && to == QNO_COLOR_565;
  uint8_t* base = rb->GetBuffer();
  if (!base || !info || !info->pixels || info->width <= 0 || info->height <= 0) return;
  const Placement p = Place(rb, info->width, info->height, x, y);
  if (p.Empty()) return;
  rb->NoteTouched(p.x0, p.y0, p.x1, p.y1);
  const int pitch = rb->GetPitch();
  const int cols = p.x1 - p.x0;
  const int skip = p.x0 - p.left;
  uint16_t lut[256];
  if (info->bitsPerPixel == 8) BuildLut(info, rb->GetPalette(), lut);
  for (int yy = p.y0; yy < p.y1; ++yy) {
    const uint8_t* src = SourceRow(info, yy - p.top);
    uint16_t* dst = reinterpret_cast<uint16_t*>(base + static_cast<ptrdiff_t>(yy) * pitch) + p.x0;
    switch (info->bitsPerPixel) {
      case 8: {
        const uint8_t* s = src + skip;
        const uint8_t key = static_cast<uint8_t>(info->keyColor);
        for (int i = 0; i < cols; ++i)
          if (!Transparent || s[i] != key) dst[i] = lut[s[i]];
        break;
      }
      case 16: {
        const uint8_t* s = src + 2 * skip;
        if (!Transparent && !convert) {
          std::memcpy(dst, s, 2 * static_cast<size_t>(cols));
        } else {
          const uint16_t key = static_cast<uint16_t>(info->keyColor);
          for (int i = 0; i < cols; ++i) {
            uint16_t v = qno_rd16(s, 2 * i);
            if (convert) v = QnoBitmap::Convert16bitPixel(v, info->colorFormat, to);
            if (!Transparent || v != key) dst[i] = v;
          }
        }
        break;
      }
      case 24: {
        const uint8_t* s = src + 3 * skip;
        const uint32_t key = info->keyColor & 0xFFFFFF;
        for (int i = 0; i < cols; ++i, s += 3) {
          if (Transparent && static_cast<uint32_t>(s[0] | s[1] << 8 | s[2] << 16) == key) continue;
          dst[i] = Rgb565(s[2], s[1], s[0]);
        }
        break;
      }
      default:
        return;
    }
  }
}

// Run-length "QBMP" (8-bit). Rows above the clip rectangle are reached
// through the row table, so vertical clipping costs nothing.
void BlitRle(QnoRenderBuffer* rb, const QnoBitmap* bm, int x, int y, bool transparentKey) {
  uint8_t* base = rb->GetBuffer();
  if (!base) return;
  const uint8_t* blob = reinterpret_cast<const uint8_t*>(bm);
  const int width = bm->GetSizeX(), height = bm->GetSizeY();
  const Placement p = Place(rb, width, height, x, y);
  if (p.Empty()) return;
  rb->NoteTouched(p.x0, p.y0, p.x1, p.y1);
  const uint32_t pixelSize = qno_rd32(blob, 20), table = qno_rd32(blob, 24);
  const uint8_t* data = bm->GetPixelPtr();
  const uint8_t* end = data + pixelSize;
  const bool schemeB = bm->GetFlags() & QBMP_FLAG_RLE_B;
  const uint8_t key = static_cast<uint8_t>(bm->GetKeyColor());
  QnoBitmapInfo info;
  info.palette = bm->GetPalette(&info.paletteCount);
  info.bitsPerPixel = 8;
  uint16_t lut[256];
  BuildLut(&info, rb->GetPalette(), lut);
  const int pitch = rb->GetPitch();
  for (int yy = p.y0; yy < p.y1; ++yy) {
    const int r = yy - p.top;
    const uint8_t* s = data + (r == 0 ? 0 : qno_rd32(blob, table + 4 * (r - 1)));
    uint16_t* row = reinterpret_cast<uint16_t*>(base + static_cast<ptrdiff_t>(yy) * pitch);
    auto put = [&](int col, uint8_t v) {
      const int bx = p.left + col;
      if (bx >= p.x0 && bx < p.x1 && !(transparentKey && v == key)) row[bx] = lut[v];
    };
    int col = 0;
    while (col < width && s < end) {
      const uint8_t c = *s++;
      if (!schemeB) {
        const int n = c & 0x7F;
        if (c & 0x80) {
          for (int i = 0; i < n && s < end; ++i) put(col++, *s++);
        } else {
          col += n;
        }
      } else if ((c & 0xC0) == 0xC0) {
        if (s >= end) break;
        const uint8_t v = *s++;
        for (int i = 0; i < (c & 0x3F); ++i) put(col++, v);
      } else {
        put(col++, c);
      }
    }
  }
}

}  // namespace

// ---------------------------------------------------------------- QnoBitmap

bool QnoBitmap::Validate(const uint8_t* data, uint32_t length) {
  if (!data || length < 2) return false;
  if (length >= 4 && std::memcmp(data, "QBMP", 4) == 0) return ValidateQbmp(data, length);
  if (data[0] == 'B') return ValidateBmp(data, length);
  return false;
}

QnoBitmap* QnoBitmap::FromResource(QnoResourceManager* manager, unsigned id) {
  return manager ? static_cast<QnoBitmap*>(manager->GetResource(id, &QnoBitmap::Validate)) : nullptr;
}

int QnoBitmap::GetBmpType() const {
  if (std::memcmp(Bytes(), "QBMP", 4) == 0) return 1;
  return Bytes()[0] == 'B' ? 2 : 0;
}

int QnoBitmap::GetSizeX() const {
  return GetBmpType() == 1 ? qno_rd16(Bytes(), 8) : static_cast<int>(qno_rd32(Bytes(), BMP_WIDTH));
}

int QnoBitmap::GetSizeY() const { return GetBmpType() == 1 ? qno_rd16(Bytes(), 10) : BmpHeight(Bytes()); }

int QnoBitmap::GetBitsPerPixel() const { return GetBmpType() == 1 ? Bytes()[6] : BmpBitsPerPixel(Bytes()); }

const uint8_t* QnoBitmap::GetPixelPtr() const {
  return Bytes() + qno_rd32(Bytes(), GetBmpType() == 1 ? 16 : BMP_PIXEL_OFFSET);
}
uint8_t* QnoBitmap::GetPixelPtr() { return Bytes() + qno_rd32(Bytes(), GetBmpType() == 1 ? 16 : BMP_PIXEL_OFFSET); }

int QnoBitmap::GetRowBytes() const { return QnoBitmapRowBytes(GetSizeX(), GetBitsPerPixel()); }

int QnoBitmap::GetColorFormat() const {
  if (GetBmpType() == 1) {
    const uint8_t f = Bytes()[7];
    return f == 2 ? QNO_COLOR_565 : f == 3 ? QNO_COLOR_M565 : QNO_COLOR_555;
  }
  // Only 16-bit BMPs carry masks (and are checked to be long enough).
  if (GetBitsPerPixel() != 16) return QNO_COLOR_565;
  return qno_rd32(Bytes(), BMP_RED_MASK) == 0xF800 ? QNO_COLOR_565 : QNO_COLOR_555;
}

bool QnoBitmap::IsCompressed() const {
  return GetBmpType() == 1 ? qno_rd32(Bytes(), 24) != 0 : BmpCompressed(Bytes());
}

bool QnoBitmap::HasRleTable() const { return GetBmpType() == 1 && qno_rd32(Bytes(), 24) != 0; }
uint8_t QnoBitmap::GetVersion() const { return GetBmpType() == 1 ? Bytes()[4] : 3; }
uint8_t QnoBitmap::GetFlags() const { return GetBmpType() == 1 ? Bytes()[5] : 0; }
uint32_t QnoBitmap::GetKeyColor() const { return GetBmpType() == 1 ? qno_rd32(Bytes(), 12) : 0; }

bool QnoBitmap::IsBottomFirst() const {
  return GetBmpType() == 1 || static_cast<int32_t>(qno_rd32(Bytes(), BMP_HEIGHT)) > 0;
}

const uint8_t* QnoBitmap::GetPalette(int* count) const {
  *count = 0;
  if (GetBitsPerPixel() != 8) return nullptr;
  if (GetBmpType() == 1) {
    if (!(GetFlags() & QBMP_FLAG_PALETTE)) return nullptr;
    *count = 256;
    return Bytes() + QBMP_HEADER_SIZE;
  }
  // A BMP's colour table follows its information header; only the entries
  // that lie before the pixels are used.
  const uint32_t start = 14 + qno_rd32(Bytes(), BMP_INFO_SIZE);
  const uint32_t pixels = qno_rd32(Bytes(), BMP_PIXEL_OFFSET);
  uint32_t n = qno_rd32(Bytes(), BMP_COLORS_USED);
  if (n == 0 || n > 256) n = 256;
  if (start >= pixels) return nullptr;
  n = std::min<uint32_t>(n, (pixels - start) / 4);
  *count = static_cast<int>(n);
  return n ? Bytes() + start : nullptr;
}

uint16_t QnoBitmap::Convert16bitPixel(uint16_t p, int from, int to) {
  if (from == to || to != QNO_COLOR_565) return p;
  if (from == QNO_COLOR_555) return static_cast<uint16_t>((p & 0x7FE0) << 1 | (p & 0x1F));
  if (from == QNO_COLOR_M565) return static_cast<uint16_t>(p << 11 | (p & 0x7E0) | p >> 11);
  return p;
}

// ---------------------------------------------------------------- drawing

int QnoRenderBuffer::DrawBitmap(const QnoBitmap* bitmap, int x, int y, int transparent) {
  if (!bitmap || !GetBuffer()) return 1;
  const int type = bitmap->GetBmpType();
  if (type == 0) return 1;
  if (type == 1 && bitmap->GetVersion() != 3) return 1;
  if (type == 1 && bitmap->HasRleTable()) {
    BlitRle(this, bitmap, x, y, (bitmap->GetFlags() & QBMP_FLAG_RLE_B) != 0);
    return 0;
  }
  if (bitmap->IsCompressed()) return 1;
  QnoBitmapInfo info;
  info.pixels = bitmap->GetPixelPtr();
  info.width = bitmap->GetSizeX();
  info.height = bitmap->GetSizeY();
  info.bitsPerPixel = static_cast<int16_t>(bitmap->GetBitsPerPixel());
  info.rowBytes = bitmap->GetRowBytes();
  info.colorFormat = static_cast<int16_t>(bitmap->GetColorFormat());
  info.bottomFirst = bitmap->IsBottomFirst();
  info.palette = bitmap->GetPalette(&info.paletteCount);
  info.paletteBgr = type == 2;
  if (type == 1) {
    info.keyColor = bitmap->GetKeyColor();
    info.transparent = (bitmap->GetFlags() & QBMP_FLAG_OPAQUE) ? 0 : (transparent != 0);
  } else {
    info.keyColor = m_bmpKeyColor;
    info.transparent = transparent != 0;
  }
  if (info.transparent)
    DrawBitmap_Transp(&info, x, y);
  else
    DrawBitmap_Opaque(&info, x, y);
  return 0;
}

void QnoRenderBuffer::DrawBitmap_Opaque(const QnoBitmapInfo* info, int x, int y) { Blit<false>(this, info, x, y); }
void QnoRenderBuffer::DrawBitmap_Transp(const QnoBitmapInfo* info, int x, int y) { Blit<true>(this, info, x, y); }

// ---------------------------------------------------------------- QnoRgbPalette

bool QnoRgbPalette::Validate(const uint8_t* data, uint32_t length) {
  if (!data || length < CMAP_HEADER_SIZE || std::memcmp(data, "CMAP", 4) != 0) return false;
  const uint32_t count = qno_rd32(data, 8);
  return count <= 256 && qno_in_blob(CMAP_HEADER_SIZE, 4ull * count, length);
}

const QnoRgbPalette* QnoRgbPalette::FromResource(QnoResourceManager* manager, unsigned id) {
  return manager ? static_cast<const QnoRgbPalette*>(manager->GetResource(id, &QnoRgbPalette::Validate)) : nullptr;
}

unsigned QnoRgbPalette::GetCount() const { return qno_rd32(Bytes(), 8); }

unsigned QnoRgbPalette::GetClosestColorIndex(uint32_t color, unsigned first, unsigned last) const {
  if (qno_rd16(Bytes(), 4) != 1) return 1;
  const unsigned count = GetCount();
  if (count == 0) return 0;
  last = std::min(last, count - 1);
  if (first > last) return 0;
  const int r = (color >> 16) & 0xFF, g = (color >> 8) & 0xFF, b = color & 0xFF;
  const uint8_t* e = GetEntries();
  unsigned best = first;
  long bestDist = -1;
  for (unsigned i = first; i <= last; ++i) {
    const long dr = e[4 * i] - r, dg = e[4 * i + 1] - g, db = e[4 * i + 2] - b;
    const long dist = dr * dr + dg * dg + db * db;
    if (bestDist < 0 || dist < bestDist) {
      bestDist = dist;
      best = i;
      if (dist == 0) break;
    }
  }
  return best;
}

// ---------------------------------------------------------------- ZorvaBitmap

uint8_t* ZorvaBitmap::CreateDefault(int width, int height, int bitsPerPixel) {
  if (width < 0 || height < 0 || width > 65535 || height > 65535) return nullptr;
  const bool palette = bitsPerPixel <= 8;
  const uint32_t paletteSize = palette ? 4u << bitsPerPixel : 0;
  const uint32_t pixelSize = static_cast<uint32_t>(height) * QnoBitmapRowBytes(width, bitsPerPixel);
  uint8_t* blob = static_cast<uint8_t*>(std::malloc(QBMP_HEADER_SIZE + paletteSize + pixelSize));
  if (!blob) return nullptr;
  std::memcpy(blob, "QBMP", 4);
  blob[4] = 3;
  blob[5] = palette ? QBMP_FLAG_PALETTE : 0;
  blob[6] = static_cast<uint8_t>(bitsPerPixel);
  blob[7] = bitsPerPixel == 16 ? 1 : 0;
  qno_wr16(blob, 8, static_cast<uint16_t>(width));
  qno_wr16(blob, 10, static_cast<uint16_t>(height));
  qno_wr32(blob, 12, 0);
  qno_wr32(blob, 16, QBMP_HEADER_SIZE + paletteSize);
  qno_wr32(blob, 20, pixelSize);
  qno_wr32(blob, 24, 0);
  for (uint32_t i = 0; i < paletteSize / 4; ++i) {
    uint8_t* e = blob + QBMP_HEADER_SIZE + 4 * i;
    e[0] = e[1] = e[2] = static_cast<uint8_t>(i);
    e[3] = 0;
  }
  return blob;
}

void ZorvaBitmap::Clear(QnoBitmap* bitmap, uint32_t value) {
  if (!bitmap || bitmap->GetBmpType() != 1 || bitmap->IsCompressed()) return;
  const int bpp = bitmap->GetBitsPerPixel();
  if (bpp != 8 && bpp != 16) return;
  const uint32_t size = qno_rd32(bitmap, 20);
  std::memset(bitmap->GetPixelPtr(), static_cast<int>(value & 0xFF), size);
}
