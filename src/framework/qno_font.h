#pragma once
// Bitmap fonts: one 8-bit glyph picture per character code of a contiguous
// range, read in place from the font blob.
#include <cstdint>

class QnoResourceManager;

constexpr uint32_t QNO_FONT_HEADER_SIZE = 28;
constexpr uint32_t QNO_FONT_GLYPH_ENTRY_SIZE = 8;

class QnoBitmapFont {
 public:
  QnoBitmapFont() = delete;

  // True when the code range, the glyph table and every glyph's pixels lie
  // inside the blob.
  static bool Validate(const uint8_t* data, uint32_t length);
  static const QnoBitmapFont* FromResource(QnoResourceManager* manager, unsigned id);

  unsigned GetFirstChar() const;
  unsigned GetLastChar() const;
  int GetHeight() const;
  // Width of the glyph of code c; -1 outside the range.
  int GetGlyphWidth(unsigned c) const;
  // The glyph's pixels (bottom row first, rows of (width + 3) & ~3 bytes).
  const uint8_t* GetGlyphPixels(unsigned c) const;

 private:
  const uint8_t* Bytes() const { return reinterpret_cast<const uint8_t*>(this); }
};
