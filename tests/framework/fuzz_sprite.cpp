// Run-length sprites from arbitrary bytes: what validates is drawn whole,
// cut to the clip rectangle and cut to an iso diamond, and must stay inside
// the sprite and the buffer without changing the sprite.
#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/qno_sprite.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> blob(data, data + size);
  if (!CIsoSprite::Validate(blob.data(), static_cast<uint32_t>(blob.size()))) return 0;
  QnoRenderBuffer& rb = zorfuzz::Buffer();
  CIsoSprite::RenderClipped(&rb, blob.data(), -3, -4);
  CIsoSprite::RenderClipped(&rb, blob.data(), 4, 3);
  CIsoSprite::RenderIsoClipped(&rb, blob.data(), 1, 1, 0, 0, 40, 20);
  if (std::memcmp(blob.data(), data, size) != 0) __builtin_trap();
  return 0;
}
