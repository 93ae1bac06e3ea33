// Archive directories from arbitrary bytes: opening and serving every listed
// id must stay inside the file.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "framework/qno_bytes.h"
#include "framework/qno_resource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* f = std::fopen("fuzz.gla", "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  QnoResourceManager m;
  if (m.AddWadFile("fuzz.gla") != 0 || size < 44) return 0;
  const uint32_t count = qno_rd32(data, 4), dir = qno_rd32(data, 8);
  for (uint32_t i = 0; i < count && i < 64; ++i) {
    if (!qno_in_blob(static_cast<uint64_t>(dir) + 12ull * i, 12, static_cast<uint32_t>(size))) break;
    const uint32_t id = qno_rd32(data, dir + 12 * i);
    const uint8_t* blob = static_cast<const uint8_t*>(m.GetResource(id % 60001));
    if (blob) {
      const uint32_t n = m.GetResourceLength(id);
      volatile uint8_t sum = 0;
      for (uint32_t k = 0; k < n; ++k) sum = sum + blob[k];
    }
  }
  return 0;
}
