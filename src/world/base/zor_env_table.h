#pragma once
// The settings key table: KEY=VALUE pairs in first-seen order, read from the
// settings file and written back whole on every change.
#include <cstdio>

class CEnvTable {
 public:
  // Longest key or value kept; longer ones are cut to this length.
  static constexpr int kMaxField = 99;
  // Longest line read; the rest of a longer line is dropped.
  static constexpr int kMaxLine = 199;

  CEnvTable() = default;
  ~CEnvTable() { Reset(); }
  CEnvTable(const CEnvTable&) = delete;
  CEnvTable& operator=(const CEnvTable&) = delete;

  // 1 when the file cannot be opened (the table is kept), else replaces the
  // table with the file's pairs and returns 0.
  int LoadFromFile(const char* path);
  // The same reading from an open stream (the fuzzer feeds memory streams).
  void LoadFromStream(FILE* in);
  // Writes "[Allgemein]" and every pair; 1 when the file cannot be opened.
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
    Entry* prev;
    Entry* next;
  };
  Entry* m_head = nullptr;
  Entry* m_tail = nullptr;
};
