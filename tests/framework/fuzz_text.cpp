// Text resources from arbitrary bytes: what validates is a string ending
// inside the blob, measured and drawn with a font of one-pixel glyphs.
#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/qno_font.h"
#include "framework/qno_resource.h"
#include "fuzz_support.h"

namespace {

// Every code 1..255, one pixel wide and high.
std::vector<uint8_t> TinyFont() {
  std::vector<uint8_t> f(QNO_FONT_HEADER_SIZE + 255 * QNO_FONT_GLYPH_ENTRY_SIZE + 4, 0);
  qno_wr16(f.data(), 8, 1);
  qno_wr16(f.data(), 10, 255);
  qno_wr32(f.data(), 16, 1);
  qno_wr32(f.data(), 20, QNO_FONT_HEADER_SIZE);
  qno_wr32(f.data(), 24, static_cast<uint32_t>(f.size() - 4));
  for (uint32_t i = 0; i < 255; ++i) qno_wr16(f.data(), QNO_FONT_HEADER_SIZE + i * QNO_FONT_GLYPH_ENTRY_SIZE + 2, 1);
  f[f.size() - 4] = 1;
  return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> blob(data, data + size);
  if (!QnoValidateText(blob.data(), static_cast<uint32_t>(blob.size()))) return 0;
  static const std::vector<uint8_t> font = TinyFont();
  const auto* f = reinterpret_cast<const QnoBitmapFont*>(font.data());
  if (!QnoBitmapFont::Validate(font.data(), static_cast<uint32_t>(font.size()))) __builtin_trap();
  const char* text = reinterpret_cast<const char*>(blob.data());
  QnoRenderBuffer& rb = zorfuzz::Buffer();
  if (rb.GetTextLength(f, text) != static_cast<int>(std::strlen(text))) __builtin_trap();
  rb.RenderText(f, 2, 2, text, 0xFFFF);
  return 0;
}
