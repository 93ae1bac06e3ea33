#include "support/test_support.h"

#include <sys/resource.h>

#include <csignal>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace zortest {

ZorManualClock& Clock() {
  static ZorManualClock clock;
  return clock;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& contents) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << contents;
}

ByteList RecordFile::Bytes() {
  std::fflush(m_f);
  const long here = std::ftell(m_f);
  std::fseek(m_f, 0, SEEK_END);
  ByteList bytes(static_cast<size_t>(std::ftell(m_f)));
  std::rewind(m_f);
  if (!bytes.empty()) {
    EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), m_f), bytes.size());
  }
  std::fseek(m_f, here, SEEK_SET);
  return bytes;
}

void RecordFile::Fill(const ByteList& bytes) {
  std::fclose(m_f);
  m_f = std::tmpfile();
  if (!bytes.empty()) {
    EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), m_f), bytes.size());
  }
  std::rewind(m_f);
}

std::string SourceDir() {
  const char* d = std::getenv("ZOR_SOURCE_DIR");
  return d ? d : ZOR_SOURCE_DIR_DEFAULT;
}

std::string BinaryDir() {
  const char* d = std::getenv("ZOR_BINARY_DIR");
  return d ? d : ZOR_BINARY_DIR_DEFAULT;
}

void WriteGameSettings(const std::string& extraLines) {
  WriteFile("ZORVANTA.INI", "[Allgemein]\nWADPATH=" + BinaryDir() + "/gamedata\n" + extraLines);
}

}  // namespace zortest

namespace zortest {

DiskLimit::DiskLimit(long bytes) {
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  m_oldSoft = static_cast<long>(old.rlim_cur);
  m_oldHard = static_cast<long>(old.rlim_max);
  // A write past the limit raises SIGXFSZ; ignored, it fails with EFBIG.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{static_cast<rlim_t>(bytes), old.rlim_max};
  setrlimit(RLIMIT_FSIZE, &limit);
}

DiskLimit::~DiskLimit() {
  rlimit old{static_cast<rlim_t>(m_oldSoft), static_cast<rlim_t>(m_oldHard)};
  setrlimit(RLIMIT_FSIZE, &old);
}

}  // namespace zortest
