#pragma once
// The game's file operations behind one small interface, so that tests can
// fail any single call, and the ways files are read and written on top of
// it, each checked in one place: a whole-file read, an append to a log, and
// the files that must never be left half written (savegames, settings).
// `ZorWriteFilesSafely` writes a set of files that belong together: each
// goes first to "<path>.new" beside its target, every write, flush and
// close is checked, and only when all are whole are they renamed over the
// targets, in the order given.
#include <atomic>
#include <cstddef>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

class ZorFileLayer {
 public:
  virtual ~ZorFileLayer() = default;
  virtual FILE* Open(const char* path, const char* mode);
  // Bytes read, at most `size`, possibly fewer before the end; 0 at the
  // end of the file; -1 on a read error (errno set).
  virtual long Read(void* data, size_t size, FILE* file);
  // Bytes written; fewer than `size` is a failure (errno set).
  virtual size_t Write(const void* data, size_t size, FILE* file);
  // Hands the stream's buffered bytes to the system, without waiting for
  // the disk; 0 on success.
  virtual int FlushBuffer(FILE* file);
  // Pushes the file's bytes to the disk; 0 on success.
  virtual int Flush(FILE* file);
  virtual int Close(FILE* file);
  virtual int Rename(const char* from, const char* to);
  virtual int Remove(const char* path);

  // The layer of the plain C library.
  static ZorFileLayer& Real();
};

// Reads the file at `path` into `out`, at most `limit` bytes, with as many
// reads as the layer needs. False on a failed open or read, with the errno
// in `error` (when given) and what was read before in `out`; a file shorter
// than `limit` is no failure.
bool ZorReadFile(ZorFileLayer& io, const std::string& path, std::string& out, int* error = nullptr,
                 size_t limit = static_cast<size_t>(-1));

// Writes the bytes at the end of an open file and hands them to the system
// (no wait for the disk), as a log line is written. False when any byte was
// not written or handed over, with the errno in `error` (when given).
bool ZorAppend(ZorFileLayer& io, FILE* file, const void* data, size_t size, int* error = nullptr);

struct ZorFilePart {
  std::string path;
  const void* data = nullptr;
  size_t size = 0;
};

// The name of the temporary file beside `path`.
std::string ZorFreshName(const std::string& path);

// Bytes handed to one Write call; a larger file takes several.
constexpr size_t kZorWriteChunk = 256 * 1024;

// Writes the parts (see above). The first part is written last and
// renamed last, so a run that is stopped at any point leaves either the
// old files with some fresh files beside them, or the first part's fresh
// file, whole, with some of the others already renamed: ZorFinishSafeWrite
// tells the two apart. On failure the targets are as they were (or, when a
// rename itself failed, as the finishing made them), the fresh files are
// gone, the failing path and strerror are logged and `error` (when given)
// gets the errno.
bool ZorWriteFilesSafely(ZorFileLayer& io, const ZorFilePart* parts, size_t count, int* error = nullptr);

// Finishes or discards what an interrupted ZorWriteFilesSafely of these
// paths left behind. When the first path's fresh file is there and at
// least one other fresh file is missing, the renames had begun, so every
// fresh file left is whole and they are renamed into place; otherwise the
// fresh files are removed and the old files stay. True when nothing had to
// be done or it was done.
bool ZorFinishSafeWrite(ZorFileLayer& io, const std::string* paths, size_t count);

// Writes one set of files at a time with ZorWriteFilesSafely on a worker
// thread, so that a caller on the frame only builds the bytes. A set
// started while another is still being written waits for it: the sets land
// in the order they were started, and the last one wins.
class ZorBackgroundWrite {
 public:
  ZorBackgroundWrite() = default;
  // Waits for the set being written.
  ~ZorBackgroundWrite();
  ZorBackgroundWrite(const ZorBackgroundWrite&) = delete;
  ZorBackgroundWrite& operator=(const ZorBackgroundWrite&) = delete;

  // Takes the files' bytes over (bytes[i] goes to paths[i]) and starts
  // writing them through `io`, which must stay usable until Wait.
  void Start(ZorFileLayer& io, std::vector<std::string> paths, std::vector<std::string> bytes);
  // Waits for the set being written. False when the last set started
  // failed (its errno in `error`); true when it was written or when no set
  // was started since the previous Wait.
  bool Wait(int* error = nullptr);
  // Whether a set was started and not waited for yet.
  bool Started() const { return m_worker.joinable(); }
  // Whether the set started last is on the disk or has failed, so that
  // Wait returns at once.
  bool Finished() const { return m_finished.load(std::memory_order_acquire); }
  // After Wait, the byte strings of the last set, emptied but with their
  // room, to build the next set in.
  std::vector<std::string> TakeBuffers();

 private:
  std::thread m_worker;
  std::vector<std::string> m_paths;
  std::vector<std::string> m_bytes;
  int m_error = 0;
  std::atomic<bool> m_finished{false};
};
