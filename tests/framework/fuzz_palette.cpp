// Palettes ("CMAP") from arbitrary bytes: what validates is searched for
// colours over every range, and serves as the buffer palette of an 8-bit
// picture.
#include <cstdint>
#include <vector>

#include "framework/qno_bitmap.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> blob(data, data + size);
  if (!QnoRgbPalette::Validate(blob.data(), static_cast<uint32_t>(blob.size()))) return 0;
  const QnoRgbPalette* p = reinterpret_cast<const QnoRgbPalette*>(blob.data());
  const unsigned count = p->GetCount();
  if (count > 256) __builtin_trap();
  for (uint32_t colour : {0x000000u, 0xFFFFFFu, 0x123456u})
    for (unsigned first : {0u, 1u, 255u}) {
      const unsigned i = p->GetClosestColorIndex(colour, first, 300);
      if (count > 0 && first < count && qno_rd16(blob.data(), 4) == 1 && (i < first || i >= count)) __builtin_trap();
    }
  return 0;
}
