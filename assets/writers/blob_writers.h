#pragma once
// Writers for every blob kind the game reads, and for the ".GLA" archive
// that holds them. Pure byte layout: the pictures come from the drawing
// code, and each writer is checked by reading its output back through the
// game's own readers.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "framework/qno_bytes.h"

namespace zorgen {

using Bytes = std::vector<uint8_t>;

// Little-endian appends.
class ByteWriter {
 public:
  void U8(uint32_t v) { m_b.push_back(static_cast<uint8_t>(v)); }
  void U16(uint32_t v);
  void U32(uint32_t v);
  void Raw(const void* p, size_t n);
  void Zeros(size_t n) { m_b.insert(m_b.end(), n, 0); }
  void PadTo4() { Zeros((4 - m_b.size() % 4) % 4); }
  void Patch32(size_t at, uint32_t v);
  size_t Size() const { return m_b.size(); }
  Bytes& Data() { return m_b; }

 private:
  Bytes m_b;
};

// A 16-bit 565 picture with a visibility mask (0 = transparent).
struct Image16 {
  int width = 0;
  int height = 0;
  std::vector<uint16_t> pixels;  // top row first
  std::vector<uint8_t> visible;  // 1 = opaque, same size as pixels
  Image16() = default;
  Image16(int w, int h, uint16_t fill = 0, uint8_t vis = 1)
      : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill), visible(static_cast<size_t>(w) * h, vis) {}
  uint16_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  uint8_t& Visible(int x, int y) { return visible[static_cast<size_t>(y) * width + x]; }
};

// An 8-bit picture with its 256-entry palette (r, g, b).
struct Image8 {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // top row first
  std::array<std::array<uint8_t, 3>, 256> palette{};
};

constexpr uint16_t Rgb565(int r, int g, int b) {
  return static_cast<uint16_t>((r & 0xF8) << 8 | (g & 0xFC) << 3 | (b & 0xFF) >> 3);
}
// The key colour of transparent 16-bit pictures; drawings avoid it.
constexpr uint16_t KEY_565 = 0xF81F;

enum class Rle { None, SchemeA, SchemeB };

// "QBMP", 16-bit 565, uncompressed. Invisible pixels are written as `key`.
Bytes WriteQbmp16(const Image16& image, uint16_t key, bool alwaysOpaque);
// "QBMP", 16-bit in the given stored format (1 = 555, 2 = 565, 3 = -565).
Bytes WriteQbmp16As(const Image16& image, int formatCode);
// "QBMP", 24-bit (stored b, g, r), uncompressed.
Bytes WriteQbmp24(const Image16& image, uint32_t key);
// "QBMP", 8-bit with its palette; run-length encoded by either scheme.
Bytes WriteQbmp8(const Image8& image, uint8_t key, Rle rle);
// Windows BMP of 8, 16 (565 masks) or 24 bits; rows bottom first unless topDown.
Bytes WriteBmp16(const Image16& image, bool topDown);
Bytes WriteBmp24(const Image16& image, bool topDown);
Bytes WriteBmp8(const Image8& image, bool topDown);
// "CMAP" palette.
Bytes WriteCmap(const std::vector<std::array<uint8_t, 3>>& entries);

// One glyph: `width` columns of the font's height, top row first, 0 = background.
struct Glyph {
  int width = 0;
  std::vector<uint8_t> ink;
};
Bytes WriteFont(unsigned first, unsigned last, int height, const std::vector<Glyph>& glyphs);

struct AniAtom {
  uint32_t pictureId = 0;
  int16_t dx = 0;
  int16_t dy = 0;
  uint32_t scale = 0;
  uint32_t flags = 0;
};
using AniFrame = std::vector<AniAtom>;
struct AniState {
  uint32_t duration = 1000;
  uint32_t followUp = 0;
  std::vector<AniFrame> frames;  // track 0
};
// A frame of one atom is stored as an atom node, any other as an atom array.
Bytes WriteAnimation(const std::vector<AniState>& states);

// 16-bit run-length sprite (tag 565) from the visible pixels of an image.
// A first line that starts transparent gets an empty line put before it
// (reported in linesAdded), as the first run of a sprite cannot skip.
Bytes WriteSprite(const Image16& image, int* linesAdded = nullptr);

// UTF-8 text as the game's single-byte code page (Windows-1252), with the
// terminating NUL. Characters the code page lacks become '?' and are counted.
Bytes WriteText(const std::string& utf8, int* unmapped = nullptr);
std::string Utf8ToCp1252(const std::string& utf8, int* unmapped = nullptr);
// The Unicode code point of a byte of the code page; 0 for the five unused ones.
uint32_t Cp1252ToUnicode(uint8_t c);

// ".GLA" archive. Blobs added later under the same id replace earlier ones.
class GlaWriter {
 public:
  void Add(uint32_t id, Bytes blob) { m_blobs[id] = std::move(blob); }
  size_t Count() const { return m_blobs.size(); }
  Bytes Build() const;
  bool WriteFile(const std::string& path) const;

 private:
  std::map<uint32_t, Bytes> m_blobs;
};

}  // namespace zorgen
