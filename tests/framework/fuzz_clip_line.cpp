// Lines with arbitrary ends clipped to and drawn into a small buffer of
// arbitrary size: a kept line has both ends inside the buffer, and drawing
// never writes outside it (the sanitizer sees every pixel written).
#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/qno_sprite.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 18) return 0;
  int32_t end[4];
  std::memcpy(end, data, sizeof end);
  const int width = data[16] % 80, height = data[17] % 60;
  int x1 = end[0], y1 = end[1], x2 = end[2], y2 = end[3];
  if (CIsoSprite::ClipLine(x1, y1, x2, y2, width, height)) {
    for (int v : {x1, x2})
      if (v < 0 || v >= width) __builtin_trap();
    for (int v : {y1, y2})
      if (v < 0 || v >= height) __builtin_trap();
  }
  // Exactly the buffer's pixels, so a write past it is found.
  std::vector<uint16_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  CIsoSprite::LineMemory(pixels.empty() ? nullptr : pixels.data(), width, height, end[0], end[1], end[2], end[3], 0xFFFF);
  return 0;
}
