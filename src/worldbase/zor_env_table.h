#pragma once
// The settings key table: KEY=VALUE pairs in first-seen order, read from the
// settings file and written back whole on every change.
#include <cstdio>

#include "framework/zor_links.h"

class CEnvTable {
 public:
  // Longest key or value kept; longer ones are cut to this length.
  static constexpr int kMaxField = 99;
  // Longest line read; the rest of a longer line is dropped.
  static constexpr int kMaxLine = 199;
  // At most this many bytes of a settings file are read: a file that never
  // ends (a link to a device) cannot hold the start-up.
  static constexpr long kMaxFileBytes = 64 * 1024;

  CEnvTable() = default;
  ~CEnvTable() { Reset(); }
  CEnvTable(const CEnvTable&) = delete;
  CEnvTable& operator=(const CEnvTable&) = delete;

  // 1 when the file cannot be opened (the table is kept), else replaces the
  // table with the file's pairs and returns 0.
  int LoadFromFile(const char* path);
  // The same reading from an open stream (the fuzzer feeds memory streams).
  // Lines whose key or value holds control characters are no settings and
  // are dropped, so no binary junk is ever written back.
  void LoadFromStream(FILE* in);
  // Writes "[Allgemein]" and every pair; 1 (the old file kept, the cause
  // logged) when the file cannot be written whole.
  int WriteToFile(const char* path) const;

  void SetString(const char* key, const char* value);
  // The stored value, or null when the key is missing.
  const char* Find(const char* key) const;
  int GetCount() const;
  void Reset();

 private:
  struct Entry {
    char key[kMaxField + 1];
    char value[kMaxField + 1];
    Entry* m_prev = nullptr;
    Entry* m_next = nullptr;
  };
  CZorvaLinks<Entry, ZorLinkFields<Entry>> m_entries;
};
