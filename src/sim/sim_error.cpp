#include "sim/sim_error.h"

#include <cstdarg>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "framework/qno_log.h"

namespace {
FILE* g_simLog = nullptr;
// Where the open log lies: the game may change its directory while the
// log is open, and the log is moved aside by its path.
std::string g_simPath;
long g_simSize = 0;
TSimErrorID g_lastError = 0;
char g_function[256];
char g_text[256];
char g_result[512];

void CopyCut(char* dst, const char* src, size_t size) {
  std::strncpy(dst, src, size - 1);
  dst[size - 1] = '\0';
}

// The full log becomes the old one and a new log begins. When it cannot be
// moved aside, it starts again empty rather than grow without bound.
void MoveLogAside() {
  std::fclose(g_simLog);
  const std::string old = g_simPath.substr(0, g_simPath.size() - std::strlen(kSimErrorLogName)) + kSimErrorLogOldName;
  const bool moved = std::rename(g_simPath.c_str(), old.c_str()) == 0;
  g_simLog = std::fopen(g_simPath.c_str(), moved ? "a" : "w");
  g_simSize = 0;
}

void WriteLine(const std::string& line) {
  SimEnsureErrorLog();
  if (!g_simLog) return;
  if (g_simSize > 0 && g_simSize + static_cast<long>(line.size()) > kSimErrorLogLimit) {
    MoveLogAside();
    if (!g_simLog) return;
  }
  std::fwrite(line.data(), 1, line.size(), g_simLog);
  std::fflush(g_simLog);
  g_simSize += static_cast<long>(line.size());
}

void WriteError(const TSimErrorID& id, const char* text, const std::string& about) {
  g_lastError = id;
  std::string line = "Fehler " + std::to_string(id) + ": " + (text ? text : "");
  if (!about.empty()) line += " (" + about + ")";
  WriteLine(line + "\n");
}
}  // namespace

void SimEnsureErrorLog() {
  if (g_simLog) return;
  g_simLog = std::fopen(kSimErrorLogName, "a");
  if (!g_simLog) return;
  std::error_code ec;
  g_simPath = std::filesystem::absolute(kSimErrorLogName, ec).string();
  if (ec) g_simPath = kSimErrorLogName;
  std::fseek(g_simLog, 0, SEEK_END);
  g_simSize = std::ftell(g_simLog);
  if (g_simSize < 0) g_simSize = 0;
}

void SimSetError(const TSimErrorID& id, const char* text) { WriteError(id, text, std::string()); }

void SimSetError(const TSimErrorID& id, const char* text, const char* about, ...) {
  std::string context;
  va_list args;
  va_start(args, about);
  QnoFormatMessage(context, about, args);
  va_end(args);
  WriteError(id, text, context);
}

TSimErrorID SimLastError() { return g_lastError; }

FILE* SimErrorLog() { return g_simLog; }

void SimCloseErrorLog() {
  if (g_simLog) std::fclose(g_simLog);
  g_simLog = nullptr;
}

const char* CSimError::SetError(const char* function, const char* text) {
  if (!text) {
    text = "CSimError";
    function = "<No function name>";
  }
  if (!function) function = "<No function name>";
  CopyCut(g_function, function, sizeof g_function);
  CopyCut(g_text, text, sizeof g_text);
  // The result is cut to its buffer like the two parts are cut to theirs.
  const std::string full = std::string("Fehler in ") + g_function + ": " + g_text + "\n";
  CopyCut(g_result, full.c_str(), sizeof g_result);
  return g_result;
}

void CSimError::PrintError(const char* /*text*/) { WriteLine(g_result); }

const char* CSimError::Result() { return g_result; }

const char* CSimErrorNullPtr::SetError(const char* function) {
  return CSimError::SetError(function, "CSimErroNullPtr()");
}

const char* CSimErrorNotValid::SetError(const char* function) {
  return CSimError::SetError(function, "CSimErroNullPtr()");
}
