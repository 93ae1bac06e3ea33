// Archive directories from arbitrary bytes: opening and serving every listed
// id must stay inside the archive. One manager serves every input, emptied
// in between, and the archive is read from memory.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "framework/qno_bytes.h"
#include "framework/qno_resource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static QnoResourceManager* m = new QnoResourceManager;
  static std::vector<uint8_t> bytes;
  m->Clear();
  if (size == 0) return 0;
  bytes.assign(data, data + size);
  FILE* f = fmemopen(bytes.data(), bytes.size(), "rb");
  if (!f || m->AddWadStream(f) != 0 || size < QNO_WAD_HEADER_SIZE) return 0;
  const uint32_t count = qno_rd32(data, 4), dir = qno_rd32(data, 8);
  for (uint32_t i = 0; i < count && i < 64; ++i) {
    if (!qno_in_blob(static_cast<uint64_t>(dir) + 12ull * i, 12, static_cast<uint32_t>(size))) break;
    const uint32_t id = qno_rd32(data, dir + 12 * i) % (QNO_MAX_RESOURCES + 1);
    const uint8_t* blob = static_cast<const uint8_t*>(m->GetResource(id));
    if (!blob) continue;
    const uint32_t n = m->GetResourceLength(id);
    if (n > size) __builtin_trap();  // a blob is a piece of the archive
    volatile uint8_t sum = 0;
    for (uint32_t k = 0; k < n; ++k) sum = sum + blob[k];
    if (m->GetResource(id, &QnoValidateText)) (void)m->GetResource(id, &QnoValidateText);
  }
  return 0;
}
