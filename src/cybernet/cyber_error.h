#pragma once
// The error record of the cause-effect network. A hard fault fills the
// record and throws its text (a const char*); the network's public entry
// points catch it, log it and report failure, so nothing reaches the frame
// loop.

class CCyberError {
 public:
  static char m_Where[256];
  static char m_What[1024];
  static char m_Meldung[1280];

  // Copies where and what (cut to their fields) and formats the text.
  static void SetError(const char* where = nullptr, const char* what = nullptr);
  // SetError, then throws m_Meldung.
  [[noreturn]] static void Raise(const char* where, const char* what);
};
