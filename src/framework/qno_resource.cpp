#include "framework/qno_resource.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

#include "framework/qno_bytes.h"
#include "framework/qno_log.h"
#include "framework/zor_seams.h"

namespace {
// Hands out the managers' generations: one count for all of them, so no two
// managers, nor two states of one, share a number.
uint32_t NextGeneration() {
  static uint32_t last = 0;
  return ++last;
}
}  // namespace

QnoResourceManager::QnoResourceManager() : m_generation(NextGeneration()) {
  m_slots = static_cast<Slot*>(std::calloc(QNO_MAX_RESOURCES, sizeof(Slot)));
  if (!m_slots) {
    QNO_ERROR(QNO_SEV_ERROR, "Resource Slot array could not be malloced!");
    zor_fatal_exit(1);
  }
  for (Archive& a : m_archives) {
    std::memset(a.header, 0, sizeof a.header);
    a.stream = nullptr;
    a.fileSize = 0;
  }
}

QnoResourceManager::~QnoResourceManager() {
  Clear();
  std::free(m_slots);
}

void QnoResourceManager::Touch(unsigned id) {
  if (m_slots[id].listed) return;
  m_slots[id].listed = true;
  m_listed.push_back(id);
}

void QnoResourceManager::Clear() {
  m_generation = NextGeneration();
  // Only listed ids ever get a slot filled in or a blob loaded.
  for (uint32_t id : m_listed) {
    std::free(m_slots[id].data);
    m_slots[id] = Slot{};
  }
  m_listed.clear();
  for (Archive& a : m_archives) {
    if (a.stream) std::fclose(a.stream);
    a.stream = nullptr;
    a.fileSize = 0;
    std::memset(a.header, 0, sizeof a.header);
  }
  m_reportedOutOfRange = false;
  m_tracking = false;
  m_requested.clear();
  m_missing.clear();
}

int QnoResourceManager::AddWadFile(const char* path) {
  if (!path || !*path) {
    QNO_ERROR(QNO_SEV_WARNING, "Wad File konnte nicht geöffnet werden!");
    return 1;
  }
  FILE* stream = std::fopen(path, "rb");
  if (!stream) {
    QNO_ERROR(QNO_SEV_WARNING, "Wad File not found/couldnt open for rb !");
    return 1;
  }
  return AddWadStream(stream);
}

int QnoResourceManager::AddWadStream(FILE* stream) {
  if (!stream) return 1;
  // Ids missing so far may come with this archive.
  m_generation = NextGeneration();
  unsigned slot = 0;
  while (slot < QNO_MAX_WADFILES && m_archives[slot].stream) ++slot;
  if (slot == QNO_MAX_WADFILES) {
    QNO_ERROR(QNO_SEV_WARNING, "No empty entry for Wad File left!");
    std::fclose(stream);
    return 1;
  }
  // The directory's result is the archive's: a broken archive must not be
  // reported as opened.
  return LoadDirectory(stream, slot);
}

// A header that cannot be read or does not start with "DATA", or a directory
// outside the file, fails the archive (the caller decides whether that ends
// the program); entries whose blob lies outside the file are left out, so
// their ids read as missing.
int QnoResourceManager::LoadDirectory(FILE* stream, unsigned slot) {
  if (!stream) return 1;
  Archive& a = m_archives[slot];
  if (std::fseek(stream, 0, SEEK_END) != 0) {
    std::fclose(stream);
    return 1;
  }
  const long size = std::ftell(stream);
  std::rewind(stream);
  if (size < static_cast<long>(QNO_WAD_HEADER_SIZE) ||
      std::fread(a.header, 1, QNO_WAD_HEADER_SIZE, stream) != QNO_WAD_HEADER_SIZE) {
    QNO_ERROR(QNO_SEV_ERROR, "Fehler im Lesen des Headers: %s", std::strerror(errno ? errno : EIO));
    std::fclose(stream);
    return 1;
  }
  if (std::memcmp(a.header, "DATA", 4) != 0) {
    QNO_ERROR(QNO_SEV_ERROR, "Kein ZorvFile");
    std::fclose(stream);
    return 1;
  }
  a.stream = stream;
  a.fileSize = static_cast<uint64_t>(size);
  const uint32_t count = qno_rd32(a.header, 4);
  const uint32_t dirOffset = qno_rd32(a.header, 8);
  const uint32_t freeSlots = qno_rd32(a.header, 12);
  QNO_ERROR1(QNO_SEV_WARNING, "File Name: %c%c%c%c \n", a.header[0], a.header[1], a.header[2], a.header[3]);
  QNO_ERROR1(QNO_SEV_WARNING, "File DirOffset: %i \n", dirOffset);
  QNO_ERROR1(QNO_SEV_WARNING, "File DirEinträge: %i \n", count);
  QNO_ERROR1(QNO_SEV_WARNING, "File DirFreiSlots: %i \n\n\n", freeSlots);
  if (count == 0) return 0;
  // A failed directory gives its slot back unless entries already point
  // into the archive.
  uint32_t registered = 0;
  auto fail = [&]() {
    if (registered == 0) {
      std::fclose(a.stream);
      a.stream = nullptr;
    }
    return 1;
  };
  if (static_cast<uint64_t>(dirOffset) + static_cast<uint64_t>(count) * QNO_WAD_ENTRY_SIZE > a.fileSize ||
      std::fseek(stream, dirOffset, SEEK_SET) != 0) {
    QNO_ERROR(QNO_SEV_WARNING, "Directory lies outside the archive!");
    return fail();
  }
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t entry[QNO_WAD_ENTRY_SIZE];
    if (std::fread(entry, 1, sizeof entry, stream) != sizeof entry) {
      QNO_ERROR(QNO_SEV_WARNING, "Couldnt read dir Entry!");
      return fail();
    }
    const uint32_t id = qno_rd32(entry, 0);
    const uint32_t offset = qno_rd32(entry, 4);
    const uint32_t length = qno_rd32(entry, 8);
    if (id >= QNO_MAX_RESOURCES) {
      QNO_ERROR(QNO_SEV_WARNING, "Resource slot out of array!");
      return fail();
    }
    if (static_cast<uint64_t>(offset) + length > a.fileSize) {
      QNO_ERROR(QNO_SEV_WARNING, "Resource %i lies outside the archive!", id);
      continue;
    }
    Slot& s = m_slots[id];
    Touch(id);
    s.id = id;
    s.offset = offset;
    s.length = length;
    s.archive = slot;
    ++registered;
  }
  return 0;
}

void* QnoResourceManager::GetResource(unsigned id) {
  if (m_tracking) m_requested.insert(id);
  if (id >= QNO_MAX_RESOURCES) {
    if (m_tracking) m_missing.insert(id);
    if (!m_reportedOutOfRange) QNO_ERROR(QNO_SEV_WARNING, "Resource nicht in den WadFiles vorhanden! (Resource %u)", id);
    m_reportedOutOfRange = true;
    return nullptr;
  }
  if (m_slots[id].data) return m_slots[id].data;
  void* data = LoadResourceFromFile(id);
  if (!data && m_tracking) m_missing.insert(id);
  return data;
}

void* QnoResourceManager::GetCheckedResource(unsigned id, QnoBlobValidator validate) {
  uint8_t* data = static_cast<uint8_t*>(GetResource(id));
  if (!data || !validate) return data;
  Slot& s = m_slots[id];
  if (s.checkedWith != validate) {
    s.checkedWith = validate;
    s.valid = validate(data, s.dataLength);
    if (!s.valid) QNO_ERROR(QNO_SEV_WARNING, "Resource %i is damaged and is not used!", id);
  }
  if (!s.valid && m_tracking) m_missing.insert(id);
  return s.valid ? data : nullptr;
}

uint32_t QnoResourceManager::GetResourceLength(unsigned id) const {
  if (id >= QNO_MAX_RESOURCES) return 0;
  if (m_slots[id].data) return m_slots[id].dataLength;
  return m_slots[id].id == id ? m_slots[id].length : 0;
}

void* QnoResourceManager::LoadResourceFromFile(unsigned id) {
  Slot& s = m_slots[id];
  // Each missing or broken id is logged once, with the id: a frame may ask
  // for the same one on every cell.
  auto fail = [&](const char* text) -> void* {
    if (!s.reported) QNO_ERROR(QNO_SEV_WARNING, "%s (Resource %u)", text, id);
    s.reported = true;
    Touch(id);
    return nullptr;
  };
  if (s.id != id || id == 0 || s.length == 0) return fail("Resourceslot hat falsche ID/Länge/!");
  if (s.archive >= QNO_MAX_WADFILES || !m_archives[s.archive].stream)
    return fail("Resource nicht nicht geöffneten File/Falsche ID!");
  FILE* stream = m_archives[s.archive].stream;
  uint8_t* data = static_cast<uint8_t*>(std::malloc(s.length));
  if (!data) return fail("Resource laden konnte nicht ausgeführt werden, da keine Speicher mehr verfügbar!");
  if (std::fseek(stream, s.offset, SEEK_SET) != 0 || std::fread(data, 1, s.length, stream) != s.length) {
    std::free(data);
    return fail("Resource ist nicht komplett geladen worden. Load error/File korrupt");
  }
  s.data = data;
  s.dataLength = s.length;
  s.checkedWith = nullptr;
  return data;
}

bool QnoValidateText(const uint8_t* data, uint32_t length) {
  return data && length > 0 && std::memchr(data, 0, length) != nullptr;
}

char* QnoMakeValidPathname(const char* dir, const char* name, const char* ext, char* out, size_t outSize) {
  if (!out || outSize == 0) return out;
  out[0] = '\0';
  auto append = [&](const char* text) {
    size_t used = std::strlen(out);
    if (used + 1 >= outSize) return;
    std::strncat(out, text, outSize - used - 1);
  };
  append(dir ? dir : "");
  const size_t len = std::strlen(out);
  if (len > 0 && out[len - 1] != '/' && out[len - 1] != '\\') append("/");
  if (name) append(name);
  if (ext) append(ext);
  return out;
}
