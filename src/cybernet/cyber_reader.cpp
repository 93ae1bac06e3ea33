#include "cybernet/cyber_reader.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "framework/zor_util.h"

namespace {
bool IsWhite(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == 0; }
}  // namespace

bool CCyberTextReader::Next() {
  if (m_pushed) {
    m_pushed = false;
    return true;
  }
  int c = std::fgetc(m_file);
  while (c != EOF && IsWhite(c)) c = std::fgetc(m_file);
  if (c == EOF) {
    m_token[0] = '\0';
    m_atEnd = true;
    return false;
  }
  int n = 0;
  while (c != EOF && !IsWhite(c)) {
    if (n < kMaxToken) m_token[n++] = static_cast<char>(c);
    c = std::fgetc(m_file);
  }
  if (c == EOF) m_atEnd = true;
  m_token[n] = '\0';
  return true;
}

bool CCyberTextReader::Word(char* buffer) {
  if (!Next()) {
    buffer[0] = '\0';
    return false;
  }
  std::memcpy(buffer, m_token, std::strlen(m_token) + 1);
  zor_remove1013(buffer);
  return true;
}

bool CCyberTextReader::Double(double* value) {
  if (!Next()) return false;
  char* end = nullptr;
  const double v = std::strtod(m_token, &end);
  if (end == m_token || *end != '\0' || !std::isfinite(v)) {
    PushBack();
    return false;
  }
  *value = v;
  return true;
}

bool CCyberTextReader::Float(double* value) {
  if (!Next()) return false;
  char* end = nullptr;
  const float v = std::strtof(m_token, &end);
  if (end == m_token || *end != '\0' || !std::isfinite(v)) {
    PushBack();
    return false;
  }
  *value = v;
  return true;
}

bool CCyberTextReader::Int(int* value) {
  if (!Next()) return false;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(m_token, &end, 10);
  if (end == m_token || *end != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX) {
    PushBack();
    return false;
  }
  *value = static_cast<int>(v);
  return true;
}
