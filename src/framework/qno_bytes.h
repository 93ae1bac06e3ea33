#pragma once
// Little-endian field access inside resource blobs. Blobs carry no alignment
// guarantee, so every field goes through memcpy.
#include <cstdint>
#include <cstring>

inline uint16_t qno_rd16(const void* p, uint32_t at) {
  uint16_t v;
  std::memcpy(&v, static_cast<const uint8_t*>(p) + at, 2);
  return v;
}
inline uint32_t qno_rd32(const void* p, uint32_t at) {
  uint32_t v;
  std::memcpy(&v, static_cast<const uint8_t*>(p) + at, 4);
  return v;
}
inline void qno_wr16(void* p, uint32_t at, uint16_t v) { std::memcpy(static_cast<uint8_t*>(p) + at, &v, 2); }
inline void qno_wr32(void* p, uint32_t at, uint32_t v) { std::memcpy(static_cast<uint8_t*>(p) + at, &v, 4); }

// True when [offset, offset + size) lies inside a blob of `length` bytes,
// computed without overflow.
inline bool qno_in_blob(uint64_t offset, uint64_t size, uint32_t length) {
  return offset <= length && size <= length - offset;
}
