// Pictures ("QBMP" and BMP) from arbitrary bytes: what validates is drawn
// opaque and keyed, whole and clipped, and must stay inside the picture and
// the buffer without changing the picture.
#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/qno_bitmap.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> blob(data, data + size);
  if (!QnoBitmap::Validate(blob.data(), static_cast<uint32_t>(blob.size()))) return 0;
  const QnoBitmap* b = reinterpret_cast<const QnoBitmap*>(blob.data());
  QnoRenderBuffer& rb = zorfuzz::Buffer();
  int count = 0;
  b->GetPalette(&count);
  rb.DrawBitmap(b, 10, 10, 1);
  rb.DrawBitmap(b, 60, 40, 0);
  rb.DrawBitmap(b, 32, 24, 1);
  if (std::memcmp(blob.data(), data, size) != 0) __builtin_trap();
  return 0;
}
