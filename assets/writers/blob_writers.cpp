#include "blob_writers.h"

#include <cstdio>
#include <cstring>

namespace zorgen {

void ByteWriter::Raw(const void* p, size_t n) {
  const uint8_t* b = static_cast<const uint8_t*>(p);
  m_b.insert(m_b.end(), b, b + n);
}

void ByteWriter::U16(uint32_t v) {
  uint8_t b[2];
  qno_wr16(b, 0, static_cast<uint16_t>(v));
  Raw(b, sizeof b);
}

void ByteWriter::U32(uint32_t v) {
  uint8_t b[4];
  qno_wr32(b, 0, v);
  Raw(b, sizeof b);
}

void ByteWriter::Patch32(size_t at, uint32_t v) { qno_wr32(m_b.data() + at, 0, v); }

namespace {

int RowBytes(int width, int bpp) { return ((width * bpp / 8) + 3) & ~3; }

// The 28-byte "QBMP" header; pixel offset and size are patched by the caller.
void QbmpHeader(ByteWriter& w, uint8_t flags, int bpp, int format, const int width, int height, uint32_t key) {
  w.Raw("QBMP", 4);
  w.U8(3);
  w.U8(flags);
  w.U8(bpp);
  w.U8(format);
  w.U16(width);
  w.U16(height);
  w.U32(key);
  w.U32(0);  // pixel offset
  w.U32(0);  // pixel size
  w.U32(0);  // row table
}

uint16_t StoredAs(uint16_t p, int formatCode) {
  if (formatCode == 1) return static_cast<uint16_t>((p >> 1 & 0x7FE0) | (p & 0x1F));
  if (formatCode == 3) return static_cast<uint16_t>(p << 11 | (p & 0x7E0) | p >> 11);
  return p;
}

void RgbOf565(uint16_t p, uint8_t& r, uint8_t& g, uint8_t& b) {
  r = static_cast<uint8_t>((p >> 11) << 3 | (p >> 13));
  g = static_cast<uint8_t>(((p >> 5) & 0x3F) << 2 | ((p >> 9) & 3));
  b = static_cast<uint8_t>((p & 0x1F) << 3 | ((p >> 2) & 7));
}

// Rows bottom first, each padded to 4 bytes; `put` appends one pixel.
template <typename Put>
void UncompressedRows(ByteWriter& w, int width, int height, int bpp, bool topDown, Put put) {
  const int row = RowBytes(width, bpp);
  for (int i = 0; i < height; ++i) {
    const int y = topDown ? i : height - 1 - i;
    const size_t start = w.Size();
    for (int x = 0; x < width; ++x) put(x, y);
    w.Zeros(row - (w.Size() - start));
  }
}

Bytes Qbmp16(const Image16& im, uint16_t key, bool opaque, int formatCode, bool useMask) {
  ByteWriter w;
  QbmpHeader(w, opaque ? 4 : 0, 16, formatCode, im.width, im.height, key);
  const size_t start = w.Size();
  UncompressedRows(w, im.width, im.height, 16, false, [&](int x, int y) {
    const size_t i = static_cast<size_t>(y) * im.width + x;
    w.U16(useMask && !im.visible[i] ? key : StoredAs(im.pixels[i], formatCode));
  });
  w.Patch32(16, static_cast<uint32_t>(start));
  w.Patch32(20, static_cast<uint32_t>(w.Size() - start));
  return std::move(w.Data());
}

void BmpHeaders(ByteWriter& w, int width, int height, int bpp, bool topDown, uint32_t compression,
                uint32_t paletteBytes, uint32_t extraHeader) {
  const uint32_t pixelOffset = 14 + 40 + extraHeader + paletteBytes;
  const uint32_t size = pixelOffset + static_cast<uint32_t>(RowBytes(width, bpp) * height);
  w.Raw("BM", 2);
  w.U32(size);
  w.U32(0);
  w.U32(pixelOffset);
  w.U32(40);
  w.U32(static_cast<uint32_t>(width));
  w.U32(static_cast<uint32_t>(topDown ? -height : height));
  w.U16(1);
  w.U16(bpp);
  w.U32(compression);
  w.U32(size - pixelOffset);
  w.U32(2835);
  w.U32(2835);
  w.U32(paletteBytes / 4);
  w.U32(0);
}

}  // namespace

Bytes WriteQbmp16(const Image16& image, uint16_t key, bool alwaysOpaque) {
  return Qbmp16(image, key, alwaysOpaque, 2, true);
}

Bytes WriteQbmp16As(const Image16& image, int formatCode) { return Qbmp16(image, 0, false, formatCode, false); }

Bytes WriteQbmp24(const Image16& image, uint32_t key) {
  ByteWriter w;
  QbmpHeader(w, 0, 24, 0, image.width, image.height, key);
  const size_t start = w.Size();
  UncompressedRows(w, image.width, image.height, 24, false, [&](int x, int y) {
    uint8_t r, g, b;
    RgbOf565(image.pixels[static_cast<size_t>(y) * image.width + x], r, g, b);
    w.U8(b), w.U8(g), w.U8(r);
  });
  w.Patch32(16, static_cast<uint32_t>(start));
  w.Patch32(20, static_cast<uint32_t>(w.Size() - start));
  return std::move(w.Data());
}

Bytes WriteQbmp8(const Image8& image, uint8_t key, Rle rle) {
  ByteWriter w;
  QbmpHeader(w, static_cast<uint8_t>(8 | (rle == Rle::SchemeB ? 1 : 0)), 8, 0, image.width, image.height, key);
  for (const auto& e : image.palette) w.U8(e[0]), w.U8(e[1]), w.U8(e[2]), w.U8(0);
  const size_t start = w.Size();
  if (rle == Rle::None) {
    UncompressedRows(w, image.width, image.height, 8, false,
                     [&](int x, int y) { w.U8(image.pixels[static_cast<size_t>(y) * image.width + x]); });
  } else {
    std::vector<uint32_t> rowStarts;
    for (int y = 0; y < image.height; ++y) {
      rowStarts.push_back(static_cast<uint32_t>(w.Size() - start));
      const uint8_t* row = &image.pixels[static_cast<size_t>(y) * image.width];
      int x = 0;
      while (x < image.width) {
        if (rle == Rle::SchemeA) {
          const bool skip = row[x] == key;
          int n = 0;
          while (x + n < image.width && n < 127 && (row[x + n] == key) == skip) ++n;
          w.U8(skip ? n : 0x80 | n);
          if (!skip) w.Raw(row + x, n);
          x += n;
        } else {
          int n = 1;
          while (x + n < image.width && n < 63 && row[x + n] == row[x]) ++n;
          if (n == 1 && row[x] < 0xC0) {
            w.U8(row[x]);
          } else {
            w.U8(0xC0 | n);
            w.U8(row[x]);
          }
          x += n;
        }
      }
    }
    const size_t tableAt = w.Size();
    for (size_t r = 1; r < rowStarts.size(); ++r) w.U32(rowStarts[r]);
    w.Patch32(24, static_cast<uint32_t>(tableAt));
    w.Patch32(20, static_cast<uint32_t>(tableAt - start));
    w.Patch32(16, static_cast<uint32_t>(start));
    return std::move(w.Data());
  }
  w.Patch32(16, static_cast<uint32_t>(start));
  w.Patch32(20, static_cast<uint32_t>(w.Size() - start));
  return std::move(w.Data());
}

Bytes WriteBmp16(const Image16& image, bool topDown) {
  ByteWriter w;
  BmpHeaders(w, image.width, image.height, 16, topDown, 3, 0, 12);
  w.U32(0xF800), w.U32(0x07E0), w.U32(0x001F);
  UncompressedRows(w, image.width, image.height, 16, topDown,
                   [&](int x, int y) { w.U16(image.pixels[static_cast<size_t>(y) * image.width + x]); });
  return std::move(w.Data());
}

Bytes WriteBmp24(const Image16& image, bool topDown) {
  ByteWriter w;
  BmpHeaders(w, image.width, image.height, 24, topDown, 0, 0, 0);
  UncompressedRows(w, image.width, image.height, 24, topDown, [&](int x, int y) {
    uint8_t r, g, b;
    RgbOf565(image.pixels[static_cast<size_t>(y) * image.width + x], r, g, b);
    w.U8(b), w.U8(g), w.U8(r);
  });
  return std::move(w.Data());
}

Bytes WriteBmp8(const Image8& image, bool topDown) {
  ByteWriter w;
  BmpHeaders(w, image.width, image.height, 8, topDown, 0, 1024, 0);
  for (const auto& e : image.palette) w.U8(e[2]), w.U8(e[1]), w.U8(e[0]), w.U8(0);
  UncompressedRows(w, image.width, image.height, 8, topDown,
                   [&](int x, int y) { w.U8(image.pixels[static_cast<size_t>(y) * image.width + x]); });
  return std::move(w.Data());
}

Bytes WriteCmap(const std::vector<std::array<uint8_t, 3>>& entries) {
  ByteWriter w;
  w.Raw("CMAP", 4);
  w.U16(1);
  w.U16(0);
  w.U32(static_cast<uint32_t>(entries.size()));
  for (const auto& e : entries) w.U8(e[0]), w.U8(e[1]), w.U8(e[2]), w.U8(0);
  return std::move(w.Data());
}

Bytes WriteFont(unsigned first, unsigned last, int height, const std::vector<Glyph>& glyphs) {
  ByteWriter w;
  const uint32_t count = last - first + 1;
  w.Raw("ZFNT", 4);
  w.U32(1);
  w.U16(first);
  w.U16(last);
  w.U32(0);
  w.U32(static_cast<uint32_t>(height));
  w.U32(28);
  w.U32(28 + 8 * count);
  ByteWriter data;
  for (uint32_t i = 0; i < count; ++i) {
    const Glyph empty;
    const Glyph& g = i < glyphs.size() ? glyphs[i] : empty;
    w.U16(0);
    w.U16(g.width);
    w.U32(static_cast<uint32_t>(data.Size()));
    const int stride = (g.width + 3) & ~3;
    for (int r = height - 1; r >= 0; --r) {
      for (int x = 0; x < stride; ++x) {
        const size_t at = static_cast<size_t>(r) * g.width + x;
        data.U8(x < g.width && at < g.ink.size() ? g.ink[at] : 0);
      }
    }
  }
  w.Raw(data.Data().data(), data.Size());
  return std::move(w.Data());
}

Bytes WriteAnimation(const std::vector<AniState>& states) {
  ByteWriter w;
  w.Raw("ZANI", 4);
  w.U16(6);
  w.Zeros(6);
  w.U32(static_cast<uint32_t>(states.size()));
  w.Zeros(8);
  const size_t table = w.Size();
  w.Zeros(4 * states.size());
  for (size_t s = 0; s < states.size(); ++s) {
    const AniState& st = states[s];
    const size_t state = w.Size();
    w.Patch32(table + 4 * s, static_cast<uint32_t>(state));
    w.U32(1);
    w.U32(st.duration);
    w.U32(st.followUp);
    w.U32(16);  // track 0 right after this record
    bool single = true;
    for (const AniFrame& f : st.frames) single = single && f.size() == 1;
    const size_t track = w.Size();
    w.U32(single ? 7 : 6);
    w.U32(static_cast<uint32_t>(st.frames.size()));
    const size_t frameTable = w.Size();
    w.Zeros(4 * st.frames.size());
    for (size_t k = 0; k < st.frames.size(); ++k) {
      w.Patch32(frameTable + 4 * k, static_cast<uint32_t>(w.Size() - track));
      if (!single) {
        w.U32(0);
        w.U32(static_cast<uint32_t>(st.frames[k].size()));
        w.U32(12);
      }
      for (const AniAtom& a : st.frames[k]) {
        w.U32(a.pictureId);
        w.U16(static_cast<uint16_t>(a.dx));
        w.U16(static_cast<uint16_t>(a.dy));
        w.U32(a.scale);
        w.U32(a.flags);
      }
    }
  }
  return std::move(w.Data());
}

Bytes WriteSprite(const Image16& image, int* linesAdded) {
  auto visible = [&](int x, int y) { return image.visible[static_cast<size_t>(y) * image.width + x] != 0; };
  // The skip word of the very first run is the upper half of the colour
  // tag, so it is always 0: a first line that starts transparent but is not
  // empty is preceded by an empty line.
  bool pad = false;
  if (image.height > 0 && image.width > 0 && !visible(0, 0))
    for (int x = 1; x < image.width && !pad; ++x) pad = visible(x, 0);
  if (linesAdded) *linesAdded = pad ? 1 : 0;
  ByteWriter w;
  w.Raw("ZSPR", 4);
  w.U32(static_cast<uint32_t>(image.width));
  w.U32(static_cast<uint32_t>(image.height + (pad ? 1 : 0)));
  w.U16(565);  // low half of the tag; the upper half is written as the first skip
  bool firstRun = true;
  auto run = [&](int skip, int count) {
    w.U16(firstRun ? 0 : static_cast<uint32_t>(2 * skip));
    firstRun = false;
    w.U16(static_cast<uint32_t>(count));
  };
  if (pad) run(0, 0);
  for (int y = 0; y < image.height; ++y) {
    int x = 0;
    for (;;) {
      int skip = 0, count = 0;
      while (x + skip < image.width && !visible(x + skip, y)) ++skip;
      while (x + skip + count < image.width && count < 32767 && visible(x + skip + count, y)) ++count;
      run(skip, count);
      if (count == 0) break;
      for (int i = 0; i < count; ++i) w.U16(image.pixels[static_cast<size_t>(y) * image.width + x + skip + i]);
      x += skip + count;
    }
  }
  return std::move(w.Data());
}

}  // namespace zorgen
