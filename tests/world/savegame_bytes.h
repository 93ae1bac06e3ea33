#pragma once
// The running game as savegame bytes, and a comparison of two such games
// that names the record where they first differ.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "world/zor_world.h"

namespace zortest {

// The game as bytes: the savegame and its companion.
inline std::string Snapshot(CZorvaWorld& world) {
  std::string binary, companion;
  EXPECT_TRUE(world.SerializeToMemory(binary, companion));
  return binary + companion;
}

// The record the byte at `at` lies in: the last name (four letters or
// more, then a 0) before it, and how far the byte lies behind the name.
inline std::string RecordAt(const std::string& bytes, size_t at) {
  for (size_t end = std::min(at, bytes.size()); end-- > 0;) {
    if (bytes[end] != '\0') continue;
    size_t begin = end;
    while (begin > 0 && std::isalpha(static_cast<unsigned char>(bytes[begin - 1]))) --begin;
    if (end - begin >= 4) return bytes.substr(begin, end - begin) + "\" + " + std::to_string(at - begin);
  }
  return "?";
}

inline testing::AssertionResult SameBytes(const std::string& a, const std::string& b) {
  if (a == b) return testing::AssertionSuccess();
  size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  return testing::AssertionFailure() << "sizes " << a.size() << " and " << b.size() << ", first difference at "
                                     << at << " in \"" << RecordAt(a, at);
}

}  // namespace zortest
