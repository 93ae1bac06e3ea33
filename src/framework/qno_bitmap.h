#pragma once
// Pictures: "QBMP" and Windows BMP blobs read in place, "CMAP" palettes, and
// the description the blitters receive. None of these classes has state of
// its own: a pointer to one is a pointer to the blob.
#include <cstdint>

class QnoResourceManager;

struct QnoBitmapInfo {
  const uint8_t* pixels = nullptr;
  int rowBytes = 0;
  int width = 0;
  int height = 0;
  uint32_t keyColor = 0;
  int16_t colorFormat = 565;
  int16_t bitsPerPixel = 16;
  uint8_t bottomFirst = 1;
  uint8_t transparent = 0;
  // 8-bit pictures: their own palette (r, g, b, 0 entries), null for none.
  const uint8_t* palette = nullptr;
  int paletteCount = 0;
  uint8_t paletteBgr = 0;  // BMP colour tables are b, g, r, 0
};

constexpr uint32_t QBMP_HEADER_SIZE = 28;
enum : uint8_t { QBMP_FLAG_RLE_B = 1, QBMP_FLAG_OPAQUE = 4, QBMP_FLAG_PALETTE = 8 };

class QnoBitmap {
 public:
  QnoBitmap() = delete;

  // True when the blob is a "QBMP" or BMP picture whose fields all point
  // inside its length.
  static bool Validate(const uint8_t* data, uint32_t length);
  // The validated picture of that id, null when missing or damaged.
  static QnoBitmap* FromResource(QnoResourceManager* manager, unsigned id);

  int GetBmpType() const;  // 1 "QBMP", 2 BMP, 0 neither
  int GetSizeX() const;
  int GetSizeY() const;
  int GetBitsPerPixel() const;
  // Writable pixels only for pictures the caller made (ZorvaBitmap).
  uint8_t* GetPixelPtr();
  const uint8_t* GetPixelPtr() const;
  int GetRowBytes() const;
  int GetColorFormat() const;  // 565, 555 or -565
  bool IsCompressed() const;
  bool HasRleTable() const;
  uint8_t GetVersion() const;
  uint8_t GetFlags() const;
  uint32_t GetKeyColor() const;
  bool IsBottomFirst() const;
  // The picture's own palette for 8-bit pixels; count 0 when it has none.
  // A BMP's entries are b, g, r, 0; a "QBMP"'s r, g, b, 0.
  const uint8_t* GetPalette(int* count) const;

  // One 16-bit pixel of format `from` as drawn into a buffer of format
  // `to`: 555 and -565 pixels become 565; any other pair is left as it is.
  static uint16_t Convert16bitPixel(uint16_t pixel, int from, int to);

 private:
  const uint8_t* Bytes() const { return reinterpret_cast<const uint8_t*>(this); }
  uint8_t* Bytes() { return reinterpret_cast<uint8_t*>(this); }
};

// Row size of an uncompressed picture: padded to 4 bytes.
inline int QnoBitmapRowBytes(int width, int bitsPerPixel) { return ((width * bitsPerPixel / 8) + 3) & ~3; }

constexpr uint32_t CMAP_HEADER_SIZE = 12;

class QnoRgbPalette {
 public:
  QnoRgbPalette() = delete;
  static bool Validate(const uint8_t* data, uint32_t length);
  static const QnoRgbPalette* FromResource(QnoResourceManager* manager, unsigned id);

  unsigned GetCount() const;
  // Entry i as r, g, b, 0.
  const uint8_t* GetEntries() const { return Bytes() + CMAP_HEADER_SIZE; }
  // Index of the entry nearest to `color` (0x00RRGGBB) among first..last.
  unsigned GetClosestColorIndex(uint32_t color, unsigned first, unsigned last) const;

 private:
  const uint8_t* Bytes() const { return reinterpret_cast<const uint8_t*>(this); }
};

// Pictures the interface builds in memory.
class ZorvaBitmap {
 public:
  // A new uncompressed "QBMP" blob (std::free it); pixels not cleared.
  static uint8_t* CreateDefault(int width, int height, int bitsPerPixel);
  static void Clear(QnoBitmap* bitmap, uint32_t value);
};
