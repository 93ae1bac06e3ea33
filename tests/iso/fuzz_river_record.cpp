// Reads arbitrary bytes as a world object's record framing followed by a
// river's record, the way the savegame holds a river: a header that must
// hold its payload, then the twelve bytes. A river that loads must write
// the same record back, with only the direction reduced to its two bits.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/zor_record.h"
#include "iso/iso_river.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* in = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (!in) return 0;
  // The first byte picks whether a header comes first.
  ZorRecordReader header(in);
  const bool framed = (header.U8() & 1) != 0;
  uint32_t payload = 0;
  char name[ZorRecordReader::kNameSize];
  if (framed && (!header.Header(name, &payload) || std::strlen(name) >= sizeof name)) {
    if (header.Ok() || header.Left() != 0) std::abort();  // a failed header reads as empty
    std::fclose(in);
    return 0;
  }
  const long start = std::ftell(in);
  CRiverObject river;
  const int result = river.SerializeGameLoad(in);
  const long used = std::ftell(in) - start;
  if (result == 0 && used != static_cast<long>(CRiverObject::kRecordSize)) std::abort();
  if (result != 0 && (river.GetX() != 0 || river.GetY() != 0 || river.GetRichtung() != 0 || river.GetResID() != -1))
    std::abort();
  if (result == 0) {
    if (river.GetRichtung() < 0 || river.GetRichtung() > 3) std::abort();
    // A memory stream keeps its last byte for a NUL: room for one more.
    uint8_t back[CRiverObject::kRecordSize + 1] = {};
    FILE* out = fmemopen(back, sizeof back, "wb");
    if (!out || river.SerializeGameStore(out) != 0 || std::ftell(out) != CRiverObject::kRecordSize) std::abort();
    std::fclose(out);
    uint8_t stored[CRiverObject::kRecordSize];
    std::memcpy(stored, data + start, sizeof stored);
    stored[4] &= 3;
    stored[5] = stored[6] = stored[7] = 0;
    if (std::memcmp(back, stored, sizeof stored) != 0) std::abort();
  }
  std::fclose(in);
  return 0;
}
