#include "framework/zor_record.h"

#include <stdio_ext.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "framework/qno_bytes.h"
#include "framework/qno_log.h"
#include "framework/zor_file_layer.h"

// ---- field ranges ---------------------------------------------------------------

template <class T>
void ZorFieldRange::HoldValue(T& value, T lo, T hi, const char* field) {
  const T was = value;
  if (value != value)  // no number: the value of the range nearest 0
    value = lo > T(0) ? lo : hi < T(0) ? hi : T(0);
  else
    value = std::clamp(value, lo, hi);
  if (!(value == was)) m_changes.push_back({field, static_cast<double>(was), static_cast<double>(value)});
}

void ZorFieldRange::Hold(int32_t& value, int32_t lo, int32_t hi, const char* field) {
  HoldValue(value, lo, hi, field);
}
void ZorFieldRange::Hold(int16_t& value, int16_t lo, int16_t hi, const char* field) {
  HoldValue(value, lo, hi, field);
}
void ZorFieldRange::Hold(uint16_t& value, uint16_t lo, uint16_t hi, const char* field) {
  HoldValue(value, lo, hi, field);
}
void ZorFieldRange::Hold(float& value, float lo, float hi, const char* field) { HoldValue(value, lo, hi, field); }
void ZorFieldRange::Hold(double& value, double lo, double hi, const char* field) { HoldValue(value, lo, hi, field); }

// ---- writer -------------------------------------------------------------------

// A record is mostly fields of a few bytes. They are copied straight into
// or out of the stream's buffer, where it has the room or the bytes (one
// thread per savegame stream), instead of through a full fwrite or fread
// each; the stream's own calls handle a buffer's edge.
namespace {

// Fields up to this size (the record names among them) take that path.
constexpr size_t kBufferedField = 64;

bool PutInBuffer(FILE* file, const void* data, size_t size) {
#ifdef __GLIBC__
  if (file->_IO_write_ptr && static_cast<size_t>(file->_IO_write_end - file->_IO_write_ptr) >= size) {
    std::memcpy(file->_IO_write_ptr, data, size);
    file->_IO_write_ptr += size;
    return true;
  }
#endif
  (void)file, (void)data, (void)size;
  return false;
}

bool TakeFromBuffer(FILE* file, void* out, size_t size) {
#ifdef __GLIBC__
  if (file->_IO_read_ptr && static_cast<size_t>(file->_IO_read_end - file->_IO_read_ptr) >= size) {
    std::memcpy(out, file->_IO_read_ptr, size);
    file->_IO_read_ptr += size;
    return true;
  }
#endif
  (void)file, (void)out, (void)size;
  return false;
}

}  // namespace

void ZorRecordWriter::Bytes(const void* data, size_t size) {
  if (!m_ok || size == 0) return;
  if (size <= kBufferedField && PutInBuffer(m_file, data, size)) return;
  if (size <= 8) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i)
      if (putc_unlocked(bytes[i], m_file) == EOF) {
        m_ok = false;
        return;
      }
    return;
  }
  if (std::fwrite(data, 1, size, m_file) != size) m_ok = false;
}

void ZorRecordWriter::U8(uint8_t v) { Bytes(&v, 1); }

void ZorRecordWriter::U16(uint16_t v) {
  uint8_t b[2];
  qno_wr16(b, 0, v);
  Bytes(b, sizeof b);
}

void ZorRecordWriter::U32(uint32_t v) {
  uint8_t b[4];
  qno_wr32(b, 0, v);
  Bytes(b, sizeof b);
}

void ZorRecordWriter::U64(uint64_t v) {
  uint8_t b[8];
  qno_wr64(b, 0, v);
  Bytes(b, sizeof b);
}

void ZorRecordWriter::F32(float v) {
  uint8_t b[4];
  qno_wrf32(b, 0, v);
  Bytes(b, sizeof b);
}

void ZorRecordWriter::F64(double v) {
  uint8_t b[8];
  qno_wrf64(b, 0, v);
  Bytes(b, sizeof b);
}

void ZorRecordWriter::FixedString(const char* text, size_t size) {
  if (size == 0) return;
  const size_t n = text ? strnlen(text, size - 1) : 0;
  Bytes(text, n);
  static constexpr uint8_t kZeros[64] = {};
  for (size_t left = size - n; left > 0;) {
    const size_t step = left < sizeof kZeros ? left : sizeof kZeros;
    Bytes(kZeros, step);
    left -= step;
  }
}

void ZorRecordWriter::Header(const char* name, uint32_t payloadLength) {
  // The length field could not count a payload this large.
  if (payloadLength > UINT32_MAX - kNameSize) m_ok = false;
  U32(kNameSize + payloadLength);
  FixedString(name, kNameSize);
}

// ---- reader -------------------------------------------------------------------

ZorRecordReader::ZorRecordReader(FILE* file) : m_file(file) {
  if (!file) return;
  if (ZorMemoryStream::SizeOf(file, m_end)) {
    m_ok = true;
    m_boundIsStreamEnd = true;
    return;
  }
  const long here = std::ftell(file);
  if (here < 0) return;
  // The size of a plain file comes without moving it (which would drop the
  // stream's buffer); other streams are asked by seeking to their end.
  struct stat st {};
  if (fstat(fileno(file), &st) == 0 && S_ISREG(st.st_mode)) {
    m_end = static_cast<long>(st.st_size);
  } else {
    if (std::fseek(file, 0, SEEK_END) != 0) return;
    m_end = std::ftell(file);
    if (std::fseek(file, here, SEEK_SET) != 0 || m_end < 0) return;
  }
  m_ok = true;
}

bool ZorRecordReader::Fail() {
  m_ok = false;
  return false;
}

uint64_t ZorRecordReader::Left() const {
  if (!m_ok) return 0;
  const long here = std::ftell(m_file);
  if (here < 0 || here >= m_end) return 0;
  return static_cast<uint64_t>(m_end - here);
}

bool ZorRecordReader::Take(void* out, size_t size) {
  if (size == 0) return m_ok;
  if (m_ok && m_boundIsStreamEnd) {
    // The stream ends at the bound: bytes in its buffer are bytes within.
    if (size <= kBufferedField && TakeFromBuffer(m_file, out, size)) return true;
    const size_t got = std::fread(out, 1, size, m_file);
    if (got == size) return true;
    // A read cut short by the end takes nothing, as a read refused beforehand.
    if (got > 0) std::fseek(m_file, -static_cast<long>(got), SEEK_CUR);
  } else if (m_ok && size <= Left() && std::fread(out, 1, size, m_file) == size) {
    return true;
  }
  std::memset(out, 0, size);
  return Fail();
}

bool ZorRecordReader::Bytes(void* out, size_t size) { return Take(out, size); }

uint8_t ZorRecordReader::U8() {
  uint8_t v;
  Take(&v, 1);
  return v;
}

uint16_t ZorRecordReader::U16() {
  uint8_t b[2];
  Take(b, sizeof b);
  return qno_rd16(b, 0);
}

uint32_t ZorRecordReader::U32() {
  uint8_t b[4];
  Take(b, sizeof b);
  return qno_rd32(b, 0);
}

uint64_t ZorRecordReader::U64() {
  uint8_t b[8];
  Take(b, sizeof b);
  return qno_rd64(b, 0);
}

float ZorRecordReader::F32() {
  uint8_t b[4];
  Take(b, sizeof b);
  return qno_rdf32(b, 0);
}

double ZorRecordReader::F64() {
  uint8_t b[8];
  Take(b, sizeof b);
  return qno_rdf64(b, 0);
}

bool ZorRecordReader::FixedString(char* out, size_t size) {
  if (size == 0) return m_ok;
  const bool ok = Take(out, size);
  out[size - 1] = '\0';
  return ok;
}

bool ZorRecordReader::Skip(uint64_t size) {
  if (!m_ok || size > Left()) return Fail();
  if (std::fseek(m_file, static_cast<long>(size), SEEK_CUR) != 0) return Fail();
  return m_ok;
}

bool ZorRecordReader::Fits(uint64_t count, uint64_t minSize) {
  const uint64_t left = Left();
  if (minSize > 0 && count > left / minSize) return Fail();
  return m_ok;
}

bool ZorRecordReader::Header(char* name, uint32_t* payloadLength) {
  const uint32_t length = U32();
  FixedString(name, kNameSize);
  *payloadLength = 0;
  if (!m_ok || length < kNameSize || length - kNameSize > Left()) {
    std::memset(name, 0, kNameSize);
    return Fail();
  }
  *payloadLength = length - kNameSize;
  m_end = std::ftell(m_file) + static_cast<long>(*payloadLength);
  m_boundIsStreamEnd = false;
  return true;
}

// ---- memory streams ----------------------------------------------------------------

namespace {
// The open memory streams of this thread, newest first.
thread_local ZorMemoryStream* t_memoryStreams = nullptr;
}  // namespace

ZorMemoryStream::ZorMemoryStream(const void* data, size_t size) {
  if (!data || size == 0) return;
  m_file = fmemopen(const_cast<void*>(data), size, "rb");
  if (!m_file) return;
  // Read by this thread only: no lock per read.
  __fsetlocking(m_file, FSETLOCKING_BYCALLER);
  m_size = static_cast<long>(size);
  m_next = t_memoryStreams;
  t_memoryStreams = this;
}

ZorMemoryStream::~ZorMemoryStream() {
  if (!m_file) return;
  for (ZorMemoryStream** at = &t_memoryStreams; *at; at = &(*at)->m_next)
    if (*at == this) {
      *at = m_next;
      break;
    }
  std::fclose(m_file);
}

bool ZorMemoryStream::SizeOf(const FILE* file, long& size) {
  for (const ZorMemoryStream* s = t_memoryStreams; s; s = s->m_next)
    if (s->m_file == file) {
      size = s->m_size;
      return true;
    }
  return false;
}

// ---- whole files ----------------------------------------------------------------

bool ZorWriteFile(const char* path, const void* data, size_t size) {
  if (!path || !*path) {
    QNO_ERROR(QNO_SEV_ERROR, "Unable to create a file without a name");
    return false;
  }
  const ZorFilePart part{path, data, size};
  return ZorWriteFilesSafely(ZorFileLayer::Real(), &part, 1);
}
