#pragma once
// The savegame record codec. Every savegame field goes through these two
// classes: integers of fixed width and IEEE floats, all little-endian,
// fixed-size text fields, and the record header (a u32 length that counts
// the name field and the payload, then a 30-byte NUL-padded name).
//
// Both keep a sticky error flag: after the first failed write or read every
// further call does nothing, reads yield 0 (and zeroed buffers), and Ok()
// stays false, so a caller may run a whole record and check once.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

class ZorRecordWriter {
 public:
  static constexpr uint32_t kNameSize = 30;

  // A null file makes a writer that has already failed.
  explicit ZorRecordWriter(FILE* file) : m_file(file), m_ok(file != nullptr) {}

  bool Ok() const { return m_ok; }

  void U8(uint8_t v);
  void U16(uint16_t v);
  void U32(uint32_t v);
  void U64(uint64_t v);
  void I8(int8_t v) { U8(static_cast<uint8_t>(v)); }
  void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void I64(int64_t v) { U64(static_cast<uint64_t>(v)); }
  void F32(float v);
  void F64(double v);
  void Bytes(const void* data, size_t size);
  // A zero-terminated text field of `size` bytes: at most size - 1
  // characters of `text` (null counts as empty), then NULs up to the size.
  void FixedString(const char* text, size_t size);
  // u32 kNameSize + payloadLength, then the name as a kNameSize text field.
  void Header(const char* name, uint32_t payloadLength);

 private:
  FILE* m_file;
  bool m_ok;
};

class ZorRecordReader {
 public:
  static constexpr uint32_t kNameSize = ZorRecordWriter::kNameSize;

  // Reads are bounded by the end of the file. Other code may read the same
  // file between two calls (a list hands the file to its objects), so the
  // position is taken from the file at every read. A null or unseekable
  // file makes a reader that has already failed.
  explicit ZorRecordReader(FILE* file);

  bool Ok() const { return m_ok; }
  // Bytes between the file position and the bound; 0 after a failure.
  uint64_t Left() const;

  uint8_t U8();
  uint16_t U16();
  uint32_t U32();
  uint64_t U64();
  int8_t I8() { return static_cast<int8_t>(U8()); }
  int16_t I16() { return static_cast<int16_t>(U16()); }
  int32_t I32() { return static_cast<int32_t>(U32()); }
  int64_t I64() { return static_cast<int64_t>(U64()); }
  float F32();
  double F64();
  // Reads `size` bytes into out; on failure out is zero-filled.
  bool Bytes(void* out, size_t size);
  // Reads a text field of `size` bytes into out (size bytes); the last byte
  // is always made NUL.
  bool FixedString(char* out, size_t size);
  bool Skip(uint64_t size);
  // Fails (and sets the error) unless `count` items of at least `minSize`
  // bytes each fit into what is left: checked before a count from the file
  // drives a loop or an allocation.
  bool Fits(uint64_t count, uint64_t minSize);
  // Reads a record header. The name gets kNameSize bytes (NUL-terminated);
  // the payload length is the length field minus the name field. A length
  // shorter than the name field or a payload beyond the bound fails;
  // otherwise the payload's end becomes the bound.
  bool Header(char* name, uint32_t* payloadLength);

 private:
  bool Take(void* out, size_t size);
  bool Fail();

  FILE* m_file;
  long m_end = 0;
  bool m_ok = false;
  // The bound is the end of a memory stream: the stream itself stops a read
  // there, so a read need not ask for the position first.
  bool m_boundIsStreamEnd = false;
};

// Holds the fields of a record that was read to the ranges the game gives
// them, so that one bad value costs that value and not the whole file: a
// value outside its range becomes the nearer end, and a float that is no
// number becomes the value of the range nearest 0. Every field it changed is
// listed with its value before and after, for the caller's log line.
class ZorFieldRange {
 public:
  struct Change {
    const char* field;
    double was;
    double now;
  };

  void Hold(int32_t& value, int32_t lo, int32_t hi, const char* field);
  void Hold(int16_t& value, int16_t lo, int16_t hi, const char* field);
  void Hold(uint16_t& value, uint16_t lo, uint16_t hi, const char* field);
  void Hold(float& value, float lo, float hi, const char* field);
  void Hold(double& value, double lo, double hi, const char* field);
  const std::vector<Change>& Changes() const { return m_changes; }

 private:
  template <class T>
  void HoldValue(T& value, T lo, T hi, const char* field);

  std::vector<Change> m_changes;
};

// A read stream over bytes in memory, which the caller keeps alive and
// unchanged while the stream is open. Record readers on it take its size
// from here instead of seeking to its end, which would drop the stream's
// buffer at every reader.
class ZorMemoryStream {
 public:
  ZorMemoryStream(const void* data, size_t size);
  ~ZorMemoryStream();
  ZorMemoryStream(const ZorMemoryStream&) = delete;
  ZorMemoryStream& operator=(const ZorMemoryStream&) = delete;
  // Null for no bytes or when the stream could not be opened.
  FILE* f() const { return m_file; }
  // The size of the open memory stream `file`; false for any other file.
  static bool SizeOf(const FILE* file, long& size);

 private:
  FILE* m_file = nullptr;
  long m_size = 0;
  ZorMemoryStream* m_next = nullptr;
};

// Writes `size` bytes to the file at `path`: first to "<path>.new" beside
// it, checking the open, every write and the close, then renamed over the
// old file. A failure is logged, leaves any old file as it was and gives
// false.
bool ZorWriteFile(const char* path, const void* data, size_t size);
