#pragma once
// Token source of the network's text format: whitespace-separated words and
// numbers. A number that does not parse is left in place for the next read,
// the way a failed scanf conversion leaves its input.
#include <cstdio>

class CCyberTextReader {
 public:
  // Tokens are cut to this many characters; the rest of the run is dropped.
  static constexpr int kMaxToken = 1023;

  explicit CCyberTextReader(FILE* file) : m_file(file) {}

  // Reads the next word into buffer (kMaxToken + 1 bytes) and strips a
  // trailing CR LF. False at the end of the input.
  bool Word(char* buffer);
  // Numbers: false (and nothing consumed) when the next token is no
  // complete, finite number of that kind or the input has ended.
  bool Double(double* value);
  bool Float(double* value);  // parsed as float, kept as double
  bool Int(int* value);
  // True once a read has met the end of the input (also right behind the
  // last token).
  bool AtEnd() const { return m_atEnd; }

 private:
  bool Next();
  void PushBack() { m_pushed = true; }

  FILE* m_file;
  char m_token[kMaxToken + 1] = {};
  bool m_pushed = false;
  bool m_atEnd = false;
};
