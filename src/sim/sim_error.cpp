#include "sim/sim_error.h"

#include <cstdarg>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "framework/qno_log.h"
#include "framework/zor_file_layer.h"

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

// Whether the last line could not be written: a full disk is reported
// once, not at every line, and again after a line went through.
bool g_writeFailed = false;

ZorFileLayer& Files() { return ZorFileLayer::Real(); }

// The full log becomes the old one and a new log begins. When it cannot be
// moved aside, it starts again empty rather than grow without bound.
void MoveLogAside() {
  Files().Close(g_simLog);
  const std::string old = g_simPath.substr(0, g_simPath.size() - std::strlen(kSimErrorLogName)) + kSimErrorLogOldName;
  const bool moved = Files().Rename(g_simPath.c_str(), old.c_str()) == 0;
  g_simLog = Files().Open(g_simPath.c_str(), moved ? "a" : "w");
  g_simSize = 0;
}

void WriteLine(const std::string& line) {
  SimEnsureErrorLog();
  if (!g_simLog) return;
  if (g_simSize > 0 && g_simSize + static_cast<long>(line.size()) > kSimErrorLogLimit) {
    MoveLogAside();
    if (!g_simLog) return;
  }
  int error = 0;
  if (ZorAppend(Files(), g_simLog, line.data(), line.size(), &error)) {
    g_simSize += static_cast<long>(line.size());
    g_writeFailed = false;
    return;
  }
  // Part of the line may have gone in: the size is what the file holds.
  const long at = std::ftell(g_simLog);
  if (at >= 0) g_simSize = at;
  if (!g_writeFailed)
    QNO_ERROR(QNO_SEV_ERROR, "Unable to write %s: %s", g_simPath.c_str(), std::strerror(error));
  g_writeFailed = true;
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
  g_simLog = Files().Open(kSimErrorLogName, "a");
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
  if (g_simLog) Files().Close(g_simLog);
  g_simLog = nullptr;
  g_writeFailed = false;
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
