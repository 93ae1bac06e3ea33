#pragma once
// Resource archives (".GLA"): numbered blobs in one flat id space, loaded on
// first use and kept until the manager goes. Each blob's length is kept, and
// a reader that knows the blob's kind validates it once before use; a blob
// that fails is treated as missing.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <set>
#include <vector>

constexpr unsigned QNO_MAX_RESOURCES = 60000;
constexpr unsigned QNO_MAX_WADFILES = 5;
constexpr unsigned QNO_WAD_HEADER_SIZE = 44;
constexpr unsigned QNO_WAD_ENTRY_SIZE = 12;

enum enumQnoCacheTime { QNO_CACHE_DEFAULT = 0, QNO_CACHE_FOREVER = 1 };

// Checks a blob of one kind: true when every header field the readers use
// points inside its `length` bytes.
using QnoBlobValidator = bool (*)(const uint8_t* data, uint32_t length);

// A text resource: single-byte characters ending in the first NUL, which
// must lie inside the blob.
bool QnoValidateText(const uint8_t* data, uint32_t length);

class QnoResourceManager {
 public:
  QnoResourceManager();
  virtual ~QnoResourceManager();
  QnoResourceManager(const QnoResourceManager&) = delete;
  QnoResourceManager& operator=(const QnoResourceManager&) = delete;

  virtual int Create() { return 0; }
  virtual int Destroy() { return 0; }

  // 0 on success; 1 when the archive cannot be opened, no slot is free or
  // its header or directory cannot be read.
  int AddWadFile(const char* path);
  // The same for an archive already open for reading (a file, or bytes in
  // memory through fmemopen); the manager owns the stream from here on.
  int AddWadStream(FILE* stream);
  // Closes every archive and drops every blob and the noted ids, as after
  // construction; the cost follows the entries listed, not the size of the
  // id table.
  void Clear();

  // The raw blob, null when no archive holds the id (or it cannot be read).
  void* GetResource(unsigned id);
  void* GetResource(unsigned id, enumQnoCacheTime) { return GetResource(id); }
  // The blob when it passes `validate`; null (logged once) when it does not.
  // A validator is run once per blob; later calls are a lookup.
  // A blob already loaded and checked with the same validator is answered
  // inline: the map asks for several per cell when it makes a cell's list.
  void* GetResource(unsigned id, QnoBlobValidator validate) {
    if (id < QNO_MAX_RESOURCES && !m_tracking) {
      const Slot& s = m_slots[id];
      if (s.data && validate && s.checkedWith == validate) return s.valid ? s.data : nullptr;
    }
    return GetCheckedResource(id, validate);
  }
  // Length in bytes of a loaded or listed blob; 0 when unknown.
  uint32_t GetResourceLength(unsigned id) const;
  void ReleaseResource(unsigned) {}
  // Changes whenever a blob handed out may have gone or a missing one may
  // have come (archives added, everything cleared), and differs between
  // managers: whoever keeps pointers into blobs or answers derived from
  // them keeps this number with them and drops them when it moves.
  uint32_t Generation() const { return m_generation; }

  // While on, every id asked for is noted, and every one that could not be
  // given (missing, unreadable or failing its check): the data checks use it
  // to find pictures a screen needs that the archives lack.
  void TrackRequests(bool on) { m_tracking = on; }
  const std::set<uint32_t>& RequestedIds() const { return m_requested; }
  const std::set<uint32_t>& MissingIds() const { return m_missing; }

 private:
  struct Archive {
    uint8_t header[QNO_WAD_HEADER_SIZE];
    FILE* stream;
    uint64_t fileSize;
  };
  struct Slot {
    uint32_t id;
    uint32_t offset;
    uint32_t length;
    uint32_t archive;
    uint8_t* data;
    uint32_t dataLength;  // of `data`: a later archive may list another length
    QnoBlobValidator checkedWith;  // the validator the blob last passed or failed
    bool valid;
    // A failed fetch was logged: asked again, the same id fails silently.
    bool reported;
    bool listed;  // in m_listed
  };
  void Touch(unsigned id);
  // GetResource with a validator, for the blobs not yet loaded or checked.
  void* GetCheckedResource(unsigned id, QnoBlobValidator validate);

  int LoadDirectory(FILE* stream, unsigned slot);
  void* LoadResourceFromFile(unsigned id);

  Archive m_archives[QNO_MAX_WADFILES];
  Slot* m_slots;
  // Every id whose slot was written (listed by a directory or reported
  // missing), once each, so Clear need not visit the whole table.
  std::vector<uint32_t> m_listed;
  // An id beyond the table was asked for and logged.
  bool m_reportedOutOfRange = false;
  bool m_tracking = false;
  uint32_t m_generation;
  std::set<uint32_t> m_requested;
  std::set<uint32_t> m_missing;
};

// Builds dir + "/" + name + ext into `out` (at most outSize bytes with the
// terminator): no "/" when dir is empty or already ends in "/" or "\".
// Returns out.
char* QnoMakeValidPathname(const char* dir, const char* name, const char* ext, char* out, size_t outSize);
