// Bitmap fonts from arbitrary bytes: what validates measures and draws every
// character code, clipped on both sides.
#include <cstdint>
#include <vector>

#include "framework/qno_font.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> blob(data, data + size);
  if (!QnoBitmapFont::Validate(blob.data(), static_cast<uint32_t>(blob.size()))) return 0;
  const QnoBitmapFont* f = reinterpret_cast<const QnoBitmapFont*>(blob.data());
  char text[256];
  for (int i = 0; i < 255; ++i) text[i] = static_cast<char>(i + 1);
  text[255] = 0;
  QnoRenderBuffer& rb = zorfuzz::Buffer();
  rb.GetTextLength(f, text);
  rb.RenderText(f, -5, 3, text, 0xFFFF);
  rb.RenderText(f, 50, 40, text + 200, 0x1234);
  return 0;
}
