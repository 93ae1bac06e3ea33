#include "cybernet/cyber_error.h"

#include <cstdio>
#include <cstring>
#include <string>

char CCyberError::m_Where[256] = "";
char CCyberError::m_What[1024] = "";
char CCyberError::m_Meldung[1280] = "";

void CCyberError::SetError(const char* where, const char* what) {
  std::snprintf(m_Where, sizeof m_Where, "%s", where ? where : "Unkown Function");
  std::snprintf(m_What, sizeof m_What, "%s", what ? what : "Unkown Reason");
  // The text is cut to its field when both parts are at their longest.
  const std::string text = std::string("Fehler in ") + m_Where + ": " + m_What;
  const size_t n = text.size() < sizeof m_Meldung ? text.size() : sizeof m_Meldung - 1;
  std::memcpy(m_Meldung, text.data(), n);
  m_Meldung[n] = '\0';
}

void CCyberError::Raise(const char* where, const char* what) {
  SetError(where, what);
  throw static_cast<const char*>(m_Meldung);
}
