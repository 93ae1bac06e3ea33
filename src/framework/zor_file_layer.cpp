#include "framework/zor_file_layer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "framework/qno_log.h"

FILE* ZorFileLayer::Open(const char* path, const char* mode) { return std::fopen(path, mode); }

long ZorFileLayer::Read(void* data, size_t size, FILE* file) {
  const size_t n = std::fread(data, 1, size, file);
  if (n == 0 && std::ferror(file)) return -1;
  return static_cast<long>(n);
}

size_t ZorFileLayer::Write(const void* data, size_t size, FILE* file) { return std::fwrite(data, 1, size, file); }

int ZorFileLayer::FlushBuffer(FILE* file) { return std::fflush(file) == 0 ? 0 : -1; }

int ZorFileLayer::Flush(FILE* file) {
  if (FlushBuffer(file) != 0) return -1;
  return ::fsync(::fileno(file)) == 0 || errno == EINVAL ? 0 : -1;
}

int ZorFileLayer::Close(FILE* file) { return std::fclose(file); }
int ZorFileLayer::Rename(const char* from, const char* to) { return std::rename(from, to); }
int ZorFileLayer::Remove(const char* path) { return std::remove(path); }

ZorFileLayer& ZorFileLayer::Real() {
  static ZorFileLayer real;
  return real;
}

std::string ZorFreshName(const std::string& path) { return path + ".new"; }

bool ZorReadFile(ZorFileLayer& io, const std::string& path, std::string& out, int* error, size_t limit) {
  out.clear();
  errno = 0;
  FILE* file = io.Open(path.c_str(), "rb");
  if (!file) {
    if (error) *error = errno ? errno : ENOENT;
    return false;
  }
  char buffer[64 * 1024];
  int failure = 0;
  while (out.size() < limit) {
    const size_t want = std::min(sizeof buffer, limit - out.size());
    errno = 0;
    const long n = io.Read(buffer, want, file);
    if (n < 0) {
      failure = errno ? errno : EIO;
      break;
    }
    if (n == 0) break;
    out.append(buffer, static_cast<size_t>(n));
  }
  io.Close(file);
  if (failure != 0 && error) *error = failure;
  return failure == 0;
}

bool ZorAppend(ZorFileLayer& io, FILE* file, const void* data, size_t size, int* error) {
  if (!file) {
    if (error) *error = EBADF;
    return false;
  }
  int failure = 0;
  errno = 0;
  if (io.Write(data, size, file) != size) failure = errno ? errno : EIO;
  // The flush also hands over what a failed write left in the buffer.
  errno = 0;
  if (io.FlushBuffer(file) != 0 && failure == 0) failure = errno ? errno : EIO;
  if (failure != 0 && error) *error = failure;
  return failure == 0;
}

namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// Writes one fresh file whole; errno-style error on failure.
int WriteFresh(ZorFileLayer& io, const ZorFilePart& part, const std::string& fresh) {
  errno = 0;
  FILE* file = io.Open(fresh.c_str(), "wb");
  if (!file) {
    const int error = errno ? errno : EIO;
    QNO_ERROR(QNO_SEV_ERROR, "Unable to create %s: %s", fresh.c_str(), std::strerror(error));
    return error;
  }
  int error = 0;
  const char* bytes = static_cast<const char*>(part.data);
  for (size_t done = 0; done < part.size && error == 0;) {
    const size_t n = part.size - done < kZorWriteChunk ? part.size - done : kZorWriteChunk;
    errno = 0;
    if (io.Write(bytes + done, n, file) != n) error = errno ? errno : EIO;
    done += n;
  }
  if (error == 0) {
    errno = 0;
    if (io.Flush(file) != 0) error = errno ? errno : EIO;
  }
  errno = 0;
  if (io.Close(file) != 0 && error == 0) error = errno ? errno : EIO;
  return error;
}

}  // namespace

bool ZorWriteFilesSafely(ZorFileLayer& io, const ZorFilePart* parts, size_t count, int* error) {
  int failure = 0;
  std::string failedPath;
  // The first part last, both for the writes and for the renames.
  auto at = [&](size_t k) -> const ZorFilePart& { return parts[(k + 1) % count]; };
  size_t written = 0;
  for (; written < count && failure == 0; ++written) {
    const ZorFilePart& part = at(written);
    failedPath = part.path;
    failure = part.path.empty() ? ENOENT : WriteFresh(io, part, ZorFreshName(part.path));
  }
  if (failure != 0) {
    // The half-written one goes with the others.
    for (size_t k = 0; k < written; ++k)
      if (!at(k).path.empty()) io.Remove(ZorFreshName(at(k).path).c_str());
  } else {
    for (size_t k = 0; k < count && failure == 0; ++k) {
      const ZorFilePart& part = at(k);
      errno = 0;
      if (io.Rename(ZorFreshName(part.path).c_str(), part.path.c_str()) != 0) {
        failure = errno ? errno : EIO;
        failedPath = part.path;
      }
    }
    if (failure == 0) return true;
    // Once a rename went through, the way back to files that belong
    // together is forward.
    std::vector<std::string> paths;
    for (size_t i = 0; i < count; ++i) paths.push_back(parts[i].path);
    ZorFinishSafeWrite(io, paths.data(), paths.size());
  }
  QNO_ERROR(QNO_SEV_ERROR, "Unable to write %s: %s", failedPath.empty() ? "a file without a name" : failedPath.c_str(),
            std::strerror(failure));
  if (error) *error = failure;
  return false;
}

bool ZorFinishSafeWrite(ZorFileLayer& io, const std::string* paths, size_t count) {
  if (count == 0) return true;
  bool othersMissing = false;
  for (size_t i = 1; i < count; ++i) othersMissing = othersMissing || !Exists(ZorFreshName(paths[i]));
  const bool forward = count > 1 && othersMissing && Exists(ZorFreshName(paths[0]));
  bool ok = true;
  for (size_t k = 1; k <= count; ++k) {
    const std::string& path = paths[k % count];
    const std::string fresh = ZorFreshName(path);
    if (!Exists(fresh)) continue;
    if (!forward) {
      io.Remove(fresh.c_str());
      continue;
    }
    QNO_LOG("Finishing the interrupted write of %s", path.c_str());
    if (io.Rename(fresh.c_str(), path.c_str()) != 0) {
      QNO_ERROR(QNO_SEV_ERROR, "Unable to finish %s: %s", path.c_str(), std::strerror(errno));
      ok = false;
    }
  }
  return ok;
}

// ---- writing on a worker thread ------------------------------------------------

ZorBackgroundWrite::~ZorBackgroundWrite() { Wait(); }

void ZorBackgroundWrite::Start(ZorFileLayer& io, std::vector<std::string> paths, std::vector<std::string> bytes) {
  Wait();
  m_paths = std::move(paths);
  m_bytes = std::move(bytes);
  m_bytes.resize(m_paths.size());
  m_error = 0;
  m_finished.store(false, std::memory_order_release);
  // The worker reads the members it was started with and writes only
  // m_error; the caller reaches them again only after joining it in Wait.
  m_worker = std::thread([this, &io] {
    std::vector<ZorFilePart> parts;
    for (size_t i = 0; i < m_paths.size(); ++i) parts.push_back({m_paths[i], m_bytes[i].data(), m_bytes[i].size()});
    int error = 0;
    if (!ZorWriteFilesSafely(io, parts.data(), parts.size(), &error)) m_error = error ? error : EIO;
    m_finished.store(true, std::memory_order_release);
  });
}

bool ZorBackgroundWrite::Wait(int* error) {
  if (!m_worker.joinable()) return true;
  m_worker.join();
  if (error) *error = m_error;
  return m_error == 0;
}

std::vector<std::string> ZorBackgroundWrite::TakeBuffers() {
  if (m_worker.joinable()) return {};
  for (std::string& b : m_bytes) b.clear();
  m_paths.clear();
  return std::move(m_bytes);
}
