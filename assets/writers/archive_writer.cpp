#include "blob_writers.h"
#include "framework/zor_record.h"

namespace zorgen {

namespace {

// Windows-1252 bytes 0x80-0x9F; 0 marks the five unused codes.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

uint32_t Cp1252ToUnicode(uint8_t c) { return c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : c; }

std::string Utf8ToCp1252(const std::string& utf8, int* unmapped) {
  std::string out;
  int bad = 0;
  for (size_t i = 0; i < utf8.size();) {
    const uint8_t c = static_cast<uint8_t>(utf8[i]);
    uint32_t cp = c;
    size_t n = 1;
    if (c >= 0xF0) cp = c & 0x07, n = 4;
    else if (c >= 0xE0) cp = c & 0x0F, n = 3;
    else if (c >= 0xC0) cp = c & 0x1F, n = 2;
    else if (c >= 0x80) cp = 0xFFFD;  // stray continuation byte
    if (i + n > utf8.size()) n = utf8.size() - i, cp = 0xFFFD;
    for (size_t k = 1; k < n; ++k) cp = cp << 6 | (static_cast<uint8_t>(utf8[i + k]) & 0x3F);
    i += n;
    int byte = -1;
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) byte = static_cast<int>(cp);
    for (int k = 0; k < 32 && byte < 0; ++k)
      if (kCp1252High[k] && kCp1252High[k] == cp) byte = 0x80 + k;
    if (byte < 0 || byte == 0) {
      ++bad;
      byte = '?';
    }
    out.push_back(static_cast<char>(byte));
  }
  if (unmapped) *unmapped = bad;
  return out;
}

Bytes WriteText(const std::string& utf8, int* unmapped) {
  const std::string s = Utf8ToCp1252(utf8, unmapped);
  Bytes b(s.begin(), s.end());
  b.push_back(0);
  return b;
}

Bytes GlaWriter::Build() const {
  ByteWriter w;
  w.Raw("DATA", 4);
  w.U32(static_cast<uint32_t>(m_blobs.size()));
  w.U32(0);  // directory offset, patched below
  w.U32(0);  // free directory slots
  w.Zeros(28);
  struct Entry {
    uint32_t id, offset, length;
  };
  std::vector<Entry> dir;
  for (const auto& [id, blob] : m_blobs) {
    dir.push_back({id, static_cast<uint32_t>(w.Size()), static_cast<uint32_t>(blob.size())});
    w.Raw(blob.data(), blob.size());
    w.PadTo4();
  }
  w.Patch32(8, static_cast<uint32_t>(w.Size()));
  for (const Entry& e : dir) w.U32(e.id), w.U32(e.offset), w.U32(e.length);
  return std::move(w.Data());
}

bool GlaWriter::WriteFile(const std::string& path) const {
  const Bytes b = Build();
  return ZorWriteFile(path.c_str(), b.data(), b.size());
}

}  // namespace zorgen
