#pragma once
// Shared fixtures of the unit tests: every test runs in its own empty
// working directory, on a hand-driven clock and a fixed random seed.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/zor_record.h"
#include "framework/zor_seams.h"

namespace zortest {

// Thrown by the test fatal handler in place of ending the process.
struct FatalExit : std::runtime_error {
  explicit FatalExit(int c) : std::runtime_error("fatal exit"), code(c) {}
  int code;
};

// The hand-driven clock installed for every test.
ZorManualClock& Clock();

// Reads a whole file; empty when it cannot be read.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& contents);

// The source tree, for tests that need checked-in data.
std::string SourceDir();
// The build tree, for tests that need generated data.
std::string BinaryDir();

// Writes a settings file in the working directory that points the game at
// the generated archives, with the given extra lines after it.
void WriteGameSettings(const std::string& extraLines = "");

using ByteList = std::vector<uint8_t>;

// A temporary file for savegame records: written through f(), read back
// whole with Bytes(), or filled with given bytes and rewound with Fill().
class RecordFile {
 public:
  RecordFile() : m_f(std::tmpfile()) {}
  explicit RecordFile(const ByteList& bytes) : RecordFile() { Fill(bytes); }
  ~RecordFile() {
    if (m_f) std::fclose(m_f);
  }
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  FILE* f() const { return m_f; }
  // Everything in the file; the position is kept.
  ByteList Bytes();
  // Replaces the contents and rewinds.
  void Fill(const ByteList& bytes);

 private:
  FILE* m_f;
};

// A copy of `record` spoilt by `spoil` and held to its ranges: the one
// field the hold may change is `field`, and it must be taken as `now`.
template <class Record, class Spoil>
Record HeldAlone(const Record& record, Spoil spoil, const char* field, double now) {
  Record held = record;
  spoil(held);
  ZorFieldRange range;
  held.HoldToRange(range);
  EXPECT_EQ(range.Changes().size(), 1u) << field;
  if (range.Changes().empty()) return held;
  EXPECT_STREQ(range.Changes()[0].field, field);
  EXPECT_EQ(range.Changes()[0].now, now) << field;
  return held;
}

// A full disk for as long as it lives: no file of this process may grow past
// `bytes`; writes beyond fail as on a full file system.
class DiskLimit {
 public:
  explicit DiskLimit(long bytes);
  ~DiskLimit();
  DiskLimit(const DiskLimit&) = delete;
  DiskLimit& operator=(const DiskLimit&) = delete;

 private:
  long m_oldSoft;
  long m_oldHard;
};

}  // namespace zortest
