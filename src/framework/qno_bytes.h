#pragma once
// Little-endian field access in byte buffers: resource blobs, savegame
// records and the data generator's output. Buffers carry no alignment
// guarantee and the byte order is fixed whatever the host's, so every field
// is assembled byte by byte.
#include <bit>
#include <cstdint>
#include <cstring>

inline uint16_t qno_rd16(const void* p, uint32_t at) {
  const uint8_t* b = static_cast<const uint8_t*>(p) + at;
  return static_cast<uint16_t>(b[0] | b[1] << 8);
}
inline uint32_t qno_rd32(const void* p, uint32_t at) {
  const uint8_t* b = static_cast<const uint8_t*>(p) + at;
  return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}
inline uint64_t qno_rd64(const void* p, uint32_t at) {
  const uint8_t* b = static_cast<const uint8_t*>(p) + at;
  return uint64_t(b[0]) | uint64_t(b[1]) << 8 | uint64_t(b[2]) << 16 | uint64_t(b[3]) << 24 | uint64_t(b[4]) << 32 |
         uint64_t(b[5]) << 40 | uint64_t(b[6]) << 48 | uint64_t(b[7]) << 56;
}
inline float qno_rdf32(const void* p, uint32_t at) { return std::bit_cast<float>(qno_rd32(p, at)); }
inline double qno_rdf64(const void* p, uint32_t at) { return std::bit_cast<double>(qno_rd64(p, at)); }

inline void qno_wr16(void* p, uint32_t at, uint16_t v) {
  uint8_t* b = static_cast<uint8_t*>(p) + at;
  b[0] = static_cast<uint8_t>(v);
  b[1] = static_cast<uint8_t>(v >> 8);
}
inline void qno_wr32(void* p, uint32_t at, uint32_t v) {
  uint8_t* b = static_cast<uint8_t*>(p) + at;
  b[0] = static_cast<uint8_t>(v);
  b[1] = static_cast<uint8_t>(v >> 8);
  b[2] = static_cast<uint8_t>(v >> 16);
  b[3] = static_cast<uint8_t>(v >> 24);
}
inline void qno_wr64(void* p, uint32_t at, uint64_t v) {
  qno_wr32(p, at, static_cast<uint32_t>(v));
  qno_wr32(static_cast<uint8_t*>(p) + at, 4, static_cast<uint32_t>(v >> 32));
}
inline void qno_wrf32(void* p, uint32_t at, float v) { qno_wr32(p, at, std::bit_cast<uint32_t>(v)); }
inline void qno_wrf64(void* p, uint32_t at, double v) { qno_wr64(p, at, std::bit_cast<uint64_t>(v)); }

// True when [offset, offset + size) lies inside a blob of `length` bytes,
// computed without overflow.
inline bool qno_in_blob(uint64_t offset, uint64_t size, uint32_t length) {
  return offset <= length && size <= length - offset;
}
